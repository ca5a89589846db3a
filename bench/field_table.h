#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace vemro::bench {

// The glyph sets the field benchmarks draw at 32 px.
enum class FieldSet { latin, cjkCubic, cjkQuadratic };

inline constexpr const char* kNotoSansCjkFile =
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
inline constexpr std::size_t kCjkFieldGlyphs = 200;

// Milliseconds per glyph of the benchmark with these arguments ("0/2/16"); negative when it did
// not run.
using PerGlyph = std::function<double(const std::string& function, const std::string& args)>;

// The table of milliseconds per glyph of each kind of field against FreeType's coverage and its
// distance field renderer, with the targets for the generator on one core; whether every
// target holds.
bool printFieldTable(std::FILE* out, const PerGlyph& perGlyph);

// The table of milliseconds per glyph of a rebuild after a font change on one thread, of each
// kind of field and of plain coverage of the same glyphs, and each kind's ratio to coverage.
void printFieldRebuildTable(std::FILE* out, const PerGlyph& perGlyph);

}  // namespace vemro::bench
