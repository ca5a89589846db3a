// Distance fields of single glyphs on one thread: the generator's four kinds from the glyph's
// outline (loading it, finding its outline and colouring it included) to 8-bit pixels, FreeType's
// own coverage rendering of the same glyphs, and FreeType's signed distance field renderer,
// which the program used before. Latin: DejaVu Sans, codes 32..126 and 160..255 at 32 px. CJK:
// 200 ideographs spread over U+4E00..U+9FFF at 32 px, from Noto Sans CJK (cubic outlines) and
// Droid Sans Fallback (quadratic).

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H

#include <cmath>
#include <string>
#include <vector>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "bench/field_table.h"
#include "engine/field/edge_colouring.h"
#include "engine/field/field_encoding.h"
#include "engine/field/field_generator.h"
#include "engine/field/outline_boundary.h"
#include "engine/font/freetype/freetype_outline_shape.h"

namespace vemro::bench {
namespace {

constexpr int kFieldPixels = 32;
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP;

// One font file at 32 px and the glyphs of its set, opened once.
struct FieldFont {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::vector<FT_UInt> glyphs;
};

FieldFont openFieldFont(FieldSet set) {
    FieldFont font;
    const std::string file = set == FieldSet::latin      ? benchFontFile(BenchSet::fullCharset)
                             : set == FieldSet::cjkCubic ? std::string(kNotoSansCjkFile)
                                                         : std::string(kLargeSetFontFile);
    if (file.empty() || FT_Init_FreeType(&font.library) != 0) {
        return font;
    }
    if (FT_New_Face(font.library, file.c_str(), 0, &font.face) != 0 ||
        FT_Set_Pixel_Sizes(font.face, 0, kFieldPixels) != 0) {
        font.face = nullptr;
        return font;
    }
    std::vector<char32_t> codes;
    if (set == FieldSet::latin) {
        for (char32_t code = 32; code <= 255; code = code == 126 ? 160 : code + 1) {
            codes.push_back(code);
        }
    } else {
        for (char32_t code = 0x4E00; code <= 0x9FFF && codes.size() < kCjkFieldGlyphs; code += 97) {
            if (FT_Get_Char_Index(font.face, code) != 0) {
                codes.push_back(code);
            }
        }
    }
    for (const char32_t code : codes) {
        font.glyphs.push_back(FT_Get_Char_Index(font.face, code));
    }
    return font;
}

FieldFont& fieldFont(FieldSet set) {
    static FieldFont fonts[] = {openFieldFont(FieldSet::latin), openFieldFont(FieldSet::cjkCubic),
                                openFieldFont(FieldSet::cjkQuadratic)};
    return fonts[static_cast<int>(set)];
}

bool ready(benchmark::State& state, const FieldFont& font) {
    if (font.face == nullptr || font.glyphs.empty()) {
        state.SkipWithError("the font file is missing");
        return false;
    }
    return true;
}

// Arguments: set, kind (0 sdf, 1 psdf, 2 msdf, 3 mtsdf), distance range (2 x spread).
void BM_FieldGlyphs(benchmark::State& state) {
    FieldFont& font = fieldFont(static_cast<FieldSet>(state.range(0)));
    if (!ready(state, font)) {
        return;
    }
    const auto kind = static_cast<field::FieldKind>(state.range(1));
    const double spread = static_cast<double>(state.range(2)) / 2;
    const int margin = static_cast<int>(std::ceil(spread));
    field::FieldGenerator generator;
    field::FieldPixels pixels;
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        for (const FT_UInt glyph : font.glyphs) {
            if (FT_Load_Glyph(font.face, glyph, kLoadFlags) != 0) {
                continue;
            }
            field::Shape shape =
                field::outlineBoundary(shapeFromOutline(font.face->glyph->outline));
            if (field::isMultiChannel(kind)) {
                field::colourEdges(shape);
            }
            const field::Box box = shape.controlBox();
            if (box.empty()) {
                continue;
            }
            const field::FieldFrame frame = field::FieldFrame::around(box, margin);
            pixels.resize(frame.width, frame.height, field::channelCount(kind));
            generator.generate(shape, kind, frame, spread, pixels.view());
            bytes.resize(pixels.values.size());
            field::encodeField(pixels.view(), spread, bytes.data(), frame.width * pixels.channels);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    state.counters["glyphs"] = static_cast<double>(font.glyphs.size());
}

// Argument: set.
void BM_FieldCoverage(benchmark::State& state) {
    FieldFont& font = fieldFont(static_cast<FieldSet>(state.range(0)));
    if (!ready(state, font)) {
        return;
    }
    for (auto _ : state) {
        for (const FT_UInt glyph : font.glyphs) {
            if (FT_Load_Glyph(font.face, glyph, kLoadFlags) == 0) {
                FT_Render_Glyph(font.face->glyph, FT_RENDER_MODE_NORMAL);
            }
            benchmark::DoNotOptimize(font.face->glyph->bitmap.buffer);
        }
    }
    state.counters["glyphs"] = static_cast<double>(font.glyphs.size());
}

// Arguments: set, distance range.
void BM_FreetypeSdf(benchmark::State& state) {
    FieldFont& font = fieldFont(static_cast<FieldSet>(state.range(0)));
    if (!ready(state, font)) {
        return;
    }
    const FT_Int spread = static_cast<FT_Int>(state.range(1) / 2);
    FT_Property_Set(font.library, "sdf", "spread", &spread);
    for (auto _ : state) {
        for (const FT_UInt glyph : font.glyphs) {
            if (FT_Load_Glyph(font.face, glyph, kLoadFlags) == 0) {
                FT_Render_Glyph(font.face->glyph, FT_RENDER_MODE_SDF);
            }
            benchmark::DoNotOptimize(font.face->glyph->bitmap.buffer);
        }
    }
    state.counters["glyphs"] = static_cast<double>(font.glyphs.size());
}

}  // namespace

BENCHMARK(BM_FieldGlyphs)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3}, {8, 16}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);
BENCHMARK(BM_FieldCoverage)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);
BENCHMARK(BM_FreetypeSdf)
    ->ArgsProduct({{0, 1, 2}, {8, 16}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);

}  // namespace vemro::bench
