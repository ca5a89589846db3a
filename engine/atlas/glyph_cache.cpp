#include "engine/atlas/glyph_cache.h"

#include <algorithm>
#include <utility>

#include "engine/font/colour_box_filter.h"

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
    bool needsBorder = false;
    bool counts = false;   // whether the watch's control hears of it when it is done
    bool done = false;     // false when the run was cancelled before it began
    GlyphMetrics metrics;  // known already when the widths are not needed
    GlyphInfo info;
    bool inked = false;  // ink holds the character's ink in the run's form
    ReducedInk ink;
    ReducedInk bordered;
};

std::int32_t floorMod(std::int32_t value, std::int32_t divisor) {
    const std::int32_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

// Reduces a colour image on the block grid that starts at the ink's first column, each atlas
// pixel the box-filtered average of its F x F block.
ReducedInk reduceColour(const GlyphImage& image, std::int32_t inkA, std::int32_t factor) {
    const std::int32_t first = image.a;
    const std::int32_t padLeft = floorMod(first - inkA, factor);
    const std::int32_t padTop = floorMod(image.top, factor);
    const std::int32_t width = (padLeft + image.width + factor - 1) / factor * factor;
    const std::int32_t height = (padTop + image.height + factor - 1) / factor * factor;
    std::vector<std::uint8_t> padded(static_cast<std::size_t>(width) * height * 4, 0);
    for (std::int32_t y = 0; y < image.height; ++y) {
        const auto row = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width * 4;
        std::copy(row, row + static_cast<std::ptrdiff_t>(image.width) * 4,
                  padded.begin() + (static_cast<std::ptrdiff_t>(y + padTop) * width + padLeft) * 4);
    }
    ReducedInk ink;
    ink.channels = 4;
    ink.width = width / factor;
    ink.height = height / factor;
    ink.left = (first - padLeft - inkA) / factor;
    ink.top = (image.top - padTop) / factor;
    ink.pixels = factor == 1 ? std::move(padded)
                             : boxFilterColour(padded.data(), width, height, ink.width, ink.height);
    return ink;
}

// Reduces an image on the block grid that starts at the ink's first column, `inkA` pixels right
// of the pen; its `left` says where its column 0 lies on that grid.
ReducedInk reduce(const GlyphImage& image, std::int32_t inkA, std::int32_t factor) {
    // An image whose bytes fall short of its size counts as one without ink.
    const bool whole = image.width > 0 && image.height > 0 &&
                       image.pixels.size() >= static_cast<std::size_t>(image.width) *
                                                  static_cast<std::size_t>(image.height);
    if (!whole || factor < 1) {
        return ReducedInk{};
    }
    if (image.holds == GlyphPixels::Colour) {
        return image.pixels.size() >= static_cast<std::size_t>(image.width) * image.height * 4
                   ? reduceColour(image, inkA, factor)
                   : ReducedInk{};
    }
    const std::int32_t first = image.a;
    const std::int32_t pad = floorMod(first - inkA, factor);
    ReducedInk ink;
    if (pad == 0) {
        ink = reduceInk(image.pixels.data(), image.width, image.height, image.top, factor);
    } else {
        // Empty columns in front put the image's first column where the grid has it.
        const std::int32_t width = image.width + pad;
        std::vector<std::uint8_t> padded(static_cast<std::size_t>(width) * image.height, 0);
        for (std::int32_t y = 0; y < image.height; ++y) {
            const auto row = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
            std::copy(row, row + image.width,
                      padded.begin() + static_cast<std::ptrdiff_t>(y) * width + pad);
        }
        ink = reduceInk(padded.data(), width, image.height, image.top, factor);
    }
    ink.left = (first - pad - inkA) / factor;
    return ink;
}

// Asks the font for the outline a field task needs and draws its field.
void performField(Font* font, const FieldForm& form, GlyphFieldMaker& maker, Task& task) {
    const std::optional<field::Shape> outline = font ? font->outline(task.code) : std::nullopt;
    if (task.needsWidths) {
        task.metrics = outline ? fieldMetrics(*outline, font->ascent()) : GlyphMetrics{};
        task.info = font ? font->glyphInfo(task.code) : GlyphInfo{};
    }
    if (task.needsInk) {
        task.ink = outline ? maker.draw(*outline, form, font->ascent()) : ReducedInk{};
        task.inked = true;
    }
}

// Asks the font (nullptr: none could be made) for what the task needs. The drawn image lives
// only until it is reduced.
void perform(Font* font, std::int32_t factor, std::int32_t outlineWidth, Task& task) {
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
        task.metrics = measured ? *measured : metricsOf(*image);
        task.info = font ? font->glyphInfo(task.code) : GlyphInfo{};
    }
    if (image) {
        task.ink = reduce(*image, task.metrics.a, factor);
        task.inked = true;
    }
    if (task.needsBorder) {
        task.bordered = font ? reduce(font->renderBordered(task.code, outlineWidth * factor),
                                      task.metrics.a, factor)
                             : ReducedInk{};
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
    ++fontGeneration_;
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

bool GlyphCache::hasInk(char32_t code, const InkForm& form) const {
    const auto found = glyphs_.find(code);
    return found != glyphs_.end() && found->second.inkForm == form;
}

bool GlyphCache::hasBorder(char32_t code, std::int32_t factor, std::int32_t width) const {
    const auto found = glyphs_.find(code);
    return found != glyphs_.end() && found->second.borderFactor == factor &&
           found->second.borderWidth == width;
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

std::vector<GlyphFieldMaker*> GlyphCache::fieldMakers(std::size_t workers) {
    while (fieldMakers_.size() < workers) {
        fieldMakers_.push_back(std::make_unique<GlyphFieldMaker>());
    }
    std::vector<GlyphFieldMaker*> makers;
    for (std::size_t i = 0; i < workers; ++i) {
        makers.push_back(fieldMakers_[i].get());
    }
    return makers;
}

void GlyphCache::learn(const std::vector<char32_t>& codes, bool withInk, const InkForm& form,
                       int threads, std::int32_t outlineWidth, const LearnWatch& watch) {
    // A field has no outline effect.
    const bool bordered = withInk && outlineWidth > 0 && !form.field;
    std::vector<Task> tasks;
    for (const char32_t code : codes) {
        Task task;
        task.code = code;
        task.needsWidths = !knows(code);
        task.needsInk = withInk && !hasInk(code, form);
        task.needsBorder = bordered && !hasBorder(code, form.factor, outlineWidth);
        if (!task.needsWidths) {
            task.metrics = metrics(code);
        }
        if (task.needsWidths || task.needsInk || task.needsBorder) {
            task.counts = watch.uncounted != nullptr && watch.uncounted->erase(code) > 0;
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
    const std::vector<GlyphFieldMaker*> makers =
        form.field ? fieldMakers(fonts.size()) : std::vector<GlyphFieldMaker*>{};
    RebuildControl* control = watch.control;
    WorkerPool::shared().run(
        tasks.size(), static_cast<int>(fonts.size()), [&](int worker, std::size_t index) {
            Task& task = tasks[index];
            if (control != nullptr && control->cancelled()) {
                return;
            }
            if (form.field) {
                performField(fonts[worker], *form.field, *makers[worker], task);
            } else {
                perform(fonts[worker], form.factor, outlineWidth, task);
            }
            task.done = true;
            if (task.counts && control != nullptr) {
                control->advance();
            }
        });
    for (Task& task : tasks) {
        if (!task.done) {
            continue;
        }
        Entry& entry = glyphs_[task.code];
        if (task.needsWidths) {
            entry.metrics = task.metrics;
            entry.info = task.info;
        }
        if (task.inked) {
            entry.ink = std::move(task.ink);
            entry.inkForm = form;
        }
        if (task.needsBorder) {
            entry.bordered = std::move(task.bordered);
            entry.borderFactor = form.factor;
            entry.borderWidth = outlineWidth;
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
