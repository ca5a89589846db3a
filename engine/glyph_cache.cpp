#include "engine/glyph_cache.h"

#include <algorithm>
#include <utility>

namespace vemro {

namespace {

// Fewer characters than this are not worth waking other threads for.
constexpr std::size_t kLeastWorkToShare = 32;

std::shared_ptr<const std::vector<char32_t>> noCharacters() {
    static const auto none = std::make_shared<const std::vector<char32_t>>();
    return none;
}

// What a character needs, and what one worker found out about it.
struct Task {
    char32_t code = 0;
    bool needsWidths = false;
    bool needsInk = false;
    GlyphMetrics metrics;
    GlyphInfo info;
    bool inked = false;  // ink holds the character's ink reduced at the factor
    ReducedInk ink;
};

ReducedInk reduce(const GlyphImage& image, std::int32_t factor) {
    // An image whose bytes fall short of its size counts as one without ink.
    const bool whole = image.width > 0 && image.height > 0 &&
                       image.coverage.size() >= static_cast<std::size_t>(image.width) *
                                                    static_cast<std::size_t>(image.height);
    return whole ? reduceInk(image.coverage.data(), image.width, image.height, image.top, factor)
                 : ReducedInk{};
}

// Asks the font (nullptr: none could be made) for what the task needs. The drawn image lives
// only until it is reduced.
void perform(Font* font, std::int32_t factor, Task& task) {
    std::optional<GlyphImage> image;
    if (task.needsInk) {
        image = font ? font->renderGlyph(task.code) : GlyphImage{};
    }
    if (task.needsWidths) {
        std::optional<GlyphMetrics> measured;
        if (!image && font) {
            measured = font->measureGlyph(task.code);
        }
        if (!measured && !image) {
            image = font ? font->renderGlyph(task.code) : GlyphImage{};
        }
        task.metrics = measured ? *measured : GlyphMetrics{image->a, image->b};
        task.info = font ? font->glyphInfo(task.code) : GlyphInfo{};
    }
    if (image) {
        task.ink = reduce(*image, factor);
        task.inked = true;
    }
}

}  // namespace

GlyphCache::GlyphCache(FontRenderer& renderer)
    : renderer_(renderer), fontCharacters_(noCharacters()) {}

GlyphCache::~GlyphCache() = default;

void GlyphCache::useFont(const FontRequest& request) {
    if (request_ == request) {
        return;
    }
    request_ = request;
    madeRequest_ = request;
    glyphs_.clear();
    helperFonts_.clear();
    helperFontFailed_ = false;
    font_.reset();
    fontProblem_.clear();
    fontName_.clear();
    fontCharacters_ = noCharacters();
    kerningCharacters_.reset();
    kerning_.reset();
    Result<std::unique_ptr<Font>> made = renderer_.createFont(request);
    if (!made && !request.fontFile.empty()) {
        FontRequest installed = request;
        installed.fontFile.clear();
        installed.faceIndex = 0;
        Result<std::unique_ptr<Font>> fallback = renderer_.createFont(installed);
        fontProblem_ = made.message() + "; " +
                       (fallback ? "using \"" + fallback.value()->familyName() + "\" instead"
                                 : fallback.message());
        made = std::move(fallback);
        madeRequest_ = installed;
    } else if (!made) {
        fontProblem_ = made.message();
    }
    if (made) {
        font_ = std::move(made.value());
        fontName_ = font_->familyName();
        fontCharacters_ = std::make_shared<const std::vector<char32_t>>(font_->characters());
    }
}

bool GlyphCache::hasInk(char32_t code, std::int32_t factor) const {
    const auto found = glyphs_.find(code);
    return found != glyphs_.end() && found->second.inkFactor == factor;
}

std::vector<Font*> GlyphCache::workerFonts(int threads) {
    std::vector<Font*> fonts{font_.get()};
    while (!helperFontFailed_ && static_cast<int>(helperFonts_.size()) < threads - 1) {
        Result<std::unique_ptr<Font>> made = renderer_.createFont(madeRequest_);
        if (!made) {
            // Fewer threads then; the font that was made does the rest.
            helperFontFailed_ = true;
            break;
        }
        helperFonts_.push_back(std::move(made.value()));
    }
    for (const std::unique_ptr<Font>& font : helperFonts_) {
        if (static_cast<int>(fonts.size()) < threads) {
            fonts.push_back(font.get());
        }
    }
    return fonts;
}

void GlyphCache::learn(const std::vector<char32_t>& codes, bool withInk, std::int32_t factor,
                       int threads) {
    std::vector<Task> tasks;
    for (const char32_t code : codes) {
        Task task;
        task.code = code;
        task.needsWidths = !knows(code);
        task.needsInk = withInk && !hasInk(code, factor);
        if (task.needsWidths || task.needsInk) {
            tasks.push_back(std::move(task));
        }
    }
    if (tasks.empty()) {
        return;
    }
    // Without a font there is nothing to ask; with little to do one thread is quicker.
    const std::vector<Font*> fonts = font_ && tasks.size() >= kLeastWorkToShare
                                         ? workerFonts(threads)
                                         : std::vector<Font*>{font_.get()};
    WorkerPool::shared().run(
        tasks.size(), static_cast<int>(fonts.size()),
        [&](int worker, std::size_t index) { perform(fonts[worker], factor, tasks[index]); });
    for (Task& task : tasks) {
        Entry& entry = glyphs_[task.code];
        if (task.needsWidths) {
            entry.metrics = task.metrics;
            entry.info = task.info;
        }
        if (task.inked) {
            entry.ink = std::move(task.ink);
            entry.inkFactor = factor;
        }
    }
}

const std::shared_ptr<const std::vector<KerningPair>>& GlyphCache::kerning(
    const GlyphList& glyphs) {
    // Comparing the list in order costs less than sorting it, and lists rarely change order.
    std::vector<char32_t> codes;
    codes.reserve(glyphs.size());
    for (const Glyph& glyph : glyphs) {
        codes.push_back(glyph.code);
    }
    if (kerning_ && kerningCharacters_ == codes) {
        return kerning_;
    }
    std::vector<char32_t> distinct = codes;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    kerning_ = std::make_shared<const std::vector<KerningPair>>(
        font_ ? font_->kerningPairs(distinct) : std::vector<KerningPair>());
    kerningCharacters_ = std::move(codes);
    return kerning_;
}

}  // namespace vemro
