#include "engine/font/freetype/font_catalogue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/font/freetype/sfnt_names.h"

namespace vemro {

namespace {

// Weights above this ask for a bold face.
constexpr std::int32_t kBoldThreshold = 550;

std::string foldCase(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool lessIgnoringCase(const std::string& left, const std::string& right) {
    const int order = foldCase(left).compare(foldCase(right));
    if (order != 0) {
        return order < 0;
    }
    return left < right;
}

}  // namespace

FontCatalogue::FaceEntry FontCatalogue::describeEntry(FcPattern* font) {
    FaceEntry entry;
    FcPatternGetInteger(font, FC_INDEX, 0, &entry.location.index);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &entry.weight);
    FcPatternGetInteger(font, FC_WIDTH, 0, &entry.width);
    FcBool variable = FcFalse;
    entry.variable = FcPatternGetBool(font, FC_VARIABLE, 0, &variable) == FcResultMatch && variable;
    entry.instance = !entry.variable && (entry.location.index >> 16) != 0;
    // A variable font gives its weights as a range, and no single weight.
    FcValue weight;
    if (FcPatternGet(font, FC_WEIGHT, 0, &weight) == FcResultMatch) {
        double low = entry.weight;
        double high = entry.weight;
        if (weight.type == FcTypeRange) {
            FcRangeGetDouble(weight.u.r, &low, &high);
            entry.weight = static_cast<int>((low + high) / 2);
        } else if (weight.type == FcTypeDouble) {
            low = high = weight.u.d;
        }
        entry.lightest = FcWeightToOpenTypeDouble(low);
        entry.heaviest = FcWeightToOpenTypeDouble(high);
    }
    int slant = FC_SLANT_ROMAN;
    entry.upright =
        FcPatternGetInteger(font, FC_SLANT, 0, &slant) != FcResultMatch || slant == FC_SLANT_ROMAN;
    FcChar8* style = nullptr;
    if (FcPatternGetString(font, FC_STYLE, 0, &style) == FcResultMatch) {
        entry.style = reinterpret_cast<const char*>(style);
    }
    return entry;
}

bool FontCatalogue::wantsBold(const FontRequest& request) {
    return request.weight > kBoldThreshold;
}

FcConfig* FontCatalogue::config() {
    if (!config_) {
        config_.reset(FcInitLoadConfigAndFonts());
    }
    return config_.get();
}

const std::vector<std::string>& FontCatalogue::names(FaceCache& faces) {
    build(faces);
    return names_;
}

void FontCatalogue::build(FaceCache& faces) {
    if (built_) {
        return;
    }
    built_ = true;
    FreetypeLibrary& library = faces.library();
    if (library.get() == nullptr || config() == nullptr) {
        return;
    }
    PatternHandle scalable(FcPatternCreate(), &FcPatternDestroy);
    ObjectSetHandle properties(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, FC_INDEX, FC_WEIGHT, FC_WIDTH,
                         FC_VARIABLE, FC_SLANT, FC_STYLE, nullptr),
        &FcObjectSetDestroy);
    if (!scalable || !properties) {
        return;
    }
    FcPatternAddBool(scalable.get(), FC_OUTLINE, FcTrue);
    FontSetHandle fonts(FcFontList(config(), scalable.get(), properties.get()), &FcFontSetDestroy);
    if (!fonts) {
        return;
    }
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) {
            continue;
        }
        FaceEntry entry = describeEntry(font);
        entry.location.path = reinterpret_cast<const char*>(file);

        std::vector<std::string> families;
        std::string englishFamily;
        FcChar8* family = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &family) == FcResultMatch; ++n) {
            families.emplace_back(reinterpret_cast<const char*>(family));
            FcChar8* language = nullptr;
            if (englishFamily.empty() &&
                FcPatternGetString(font, FC_FAMILYLANG, n, &language) == FcResultMatch &&
                std::strcmp(reinterpret_cast<const char*>(language), "en") == 0) {
                englishFamily = families.back();
            }
        }
        if (families.empty()) {
            continue;
        }
        // fontconfig lists every family name the file carries. With only one, that one is the
        // legacy name too; otherwise read the name table to find which one Windows would show.
        // The face is opened on its own and closed again: most listed faces are never used.
        std::string name;
        if (families.size() > 1) {
            if (const FreetypeLibrary::Face probe =
                    library.open(entry.location.path, entry.location.index)) {
                name = legacyFamilyName(probe.get());
            }
        }
        if (name.empty()) {
            name = englishFamily.empty() ? families.front() : englishFamily;
        }
        facesByName_[name].push_back(std::move(entry));
    }

    names_.reserve(facesByName_.size());
    for (auto& [name, entries] : facesByName_) {
        // A variable font's default instance is listed beside the font itself: the font stands
        // for both.
        std::erase_if(entries, [&entries](const FaceEntry& entry) {
            return !entry.variable &&
                   std::any_of(entries.begin(), entries.end(), [&entry](const FaceEntry& other) {
                       return other.variable && other.location == entry.location;
                   });
        });
        std::sort(entries.begin(), entries.end(),
                  [](const FaceEntry& l, const FaceEntry& r) { return l.location < r.location; });
        names_.push_back(name);
        auto& folded = facesByFoldedName_[foldCase(name)];
        folded.insert(folded.end(), entries.begin(), entries.end());
    }
    std::sort(names_.begin(), names_.end(), lessIgnoringCase);
}

const std::vector<FontCatalogue::FaceEntry>* FontCatalogue::facesNamed(
    const std::string& name) const {
    if (const auto exact = facesByName_.find(name); exact != facesByName_.end()) {
        return &exact->second;
    }
    if (const auto folded = facesByFoldedName_.find(foldCase(name));
        folded != facesByFoldedName_.end()) {
        return &folded->second;
    }
    return nullptr;
}

std::optional<FaceChoice> FontCatalogue::chooseFace(const FontRequest& request, FaceCache& faces) {
    build(faces);
    const std::vector<FaceEntry>* entries = facesNamed(request.faceName);
    if (entries == nullptr) {
        return matched(request);
    }
    if (variesInWeight(*entries)) {
        if (std::optional<FaceChoice> choice = chooseVaryingFace(request, *entries, faces)) {
            return choice;
        }
        return matched(request);
    }
    const bool wantBold = wantsBold(request);
    const int targetWeight = wantBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    // The face's own style decides: slant first, then bold, then the nearest weight and the
    // most normal width among faces of equal style; a font with OpenType tables (and so Windows
    // line metrics) wins over a Type 1 copy of the same face; among equals the first in the
    // list. Slant, bold and format are only known once a file is open, and opening a Type 1
    // file costs about a millisecond, so the faces are visited best possible score first and a
    // face that cannot beat the best found so far is never opened. The choice is the same as
    // opening every one.
    using Score = std::tuple<bool, bool, int, int, bool>;
    struct Candidate {
        const FaceEntry* entry;
        std::size_t position;
        Score bound;  // the score if its style and format turn out to match
    };
    std::vector<Candidate> candidates;
    candidates.reserve(entries->size());
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const FaceEntry& entry = (*entries)[i];
        candidates.push_back({&entry, i,
                              Score{false, false, std::abs(entry.weight - targetWeight),
                                    std::abs(entry.width - FC_WIDTH_NORMAL), false}});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& l, const Candidate& r) {
        return std::tie(l.bound, l.position) < std::tie(r.bound, r.position);
    });
    const FaceEntry* best = nullptr;
    std::size_t bestPosition = 0;
    Score bestScore;
    for (const Candidate& candidate : candidates) {
        if (best != nullptr &&
            std::tie(candidate.bound, candidate.position) > std::tie(bestScore, bestPosition)) {
            continue;
        }
        const FT_Face face = faces.open(candidate.entry->location);
        if (face == nullptr || !FT_IS_SCALABLE(face)) {
            continue;
        }
        const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        const Score score{italic != request.italic, bold != wantBold, std::get<2>(candidate.bound),
                          std::get<3>(candidate.bound), !FT_IS_SFNT(face)};
        if (best == nullptr ||
            std::tie(score, candidate.position) < std::tie(bestScore, bestPosition)) {
            best = candidate.entry;
            bestPosition = candidate.position;
            bestScore = score;
        }
    }
    if (best == nullptr) {
        return matched(request);
    }
    return FaceChoice{best->location};
}

std::optional<FaceChoice> FontCatalogue::matched(const FontRequest& request) {
    if (std::optional<FaceLocation> location = matchFace(request)) {
        return FaceChoice{std::move(*location)};
    }
    return std::nullopt;
}

std::optional<FaceLocation> FontCatalogue::matchFace(const FontRequest& request) {
    const bool wantBold = wantsBold(request);
    const auto key = std::make_tuple(request.faceName, wantBold, request.italic);
    if (const auto cached = matches_.find(key); cached != matches_.end()) {
        return cached->second;
    }
    std::optional<FaceLocation> found;
    PatternHandle pattern(FcPatternCreate(), &FcPatternDestroy);
    if (pattern) {
        if (!request.faceName.empty()) {
            FcPatternAddString(pattern.get(), FC_FAMILY,
                               reinterpret_cast<const FcChar8*>(request.faceName.c_str()));
        }
        FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                            wantBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern.get(), FC_SLANT,
                            request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config(), pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        const PatternHandle match(FcFontMatch(config(), pattern.get(), &result), &FcPatternDestroy);
        FcChar8* file = nullptr;
        if (match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch) {
            FaceLocation location;
            location.path = reinterpret_cast<const char*>(file);
            FcPatternGetInteger(match.get(), FC_INDEX, 0, &location.index);
            found = std::move(location);
        }
    }
    matches_.emplace(key, found);
    return found;
}

std::string FontCatalogue::defaultSansName(FaceCache& faces) {
    build(faces);
    FontRequest request;
    request.faceName = "sans-serif";
    if (const std::optional<FaceLocation> match = matchFace(request)) {
        for (const auto& [name, entries] : facesByName_) {
            for (const FaceEntry& entry : entries) {
                if (entry.location == *match) {
                    return name;
                }
            }
        }
    }
    return names_.empty() ? std::string() : names_.front();
}

}  // namespace vemro
