#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/counting_font.h"
#include "engine/font/font_renderer.h"

namespace vemro::bench {

// Passes every call on to another renderer and wraps each font it makes in a CountingFont
// that counts into this object: `rendered` characters drawn, `measured` characters whose widths
// came without drawing, over every font made so far.
class CountingFontRenderer final : public FontRenderer {
public:
    explicit CountingFontRenderer(FontRenderer& inner) : inner_(inner) {}

    const std::vector<std::string>& faceNames() override { return inner_.faceNames(); }
    std::string defaultFaceName() override { return inner_.defaultFaceName(); }
    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        Result<std::unique_ptr<Font>> made = inner_.createFont(request);
        if (!made) {
            return made;
        }
        return std::unique_ptr<Font>(
            std::make_unique<CountingFont>(std::move(made.value()), rendered, measured));
    }

    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override {
        return inner_.inspectFontFile(path);
    }

    std::atomic<std::int64_t> rendered = 0;
    std::atomic<std::int64_t> measured = 0;

private:
    FontRenderer& inner_;
};

}  // namespace vemro::bench
