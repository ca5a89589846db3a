#include "bench/field_table.h"

namespace vemro::bench {

namespace {

// The generator's own share of a whole-process export that is to take at most 0.3 x the
// reference generator's CPU time: milliseconds per glyph on one core at 32 px, range 16.
constexpr double kLatinTarget = 0.2;  // sdf and msdf
constexpr double kCjkMsdfTarget = 1.5;

const char* const kKinds[] = {"sdf", "psdf", "msdf", "mtsdf"};
const char* const kSets[] = {"Latin, DejaVu Sans, 191 glyphs", "CJK, Noto Sans CJK (cubic), 200",
                             "CJK, Droid Sans Fallback (quadratic), 200"};

}  // namespace

bool printFieldTable(std::FILE* out, const PerGlyph& perGlyph) {
    bool allHold = true;
    std::fprintf(out,
                 "\nDistance fields on one thread at 32 px: ms per glyph (outline to 8-bit "
                 "pixels) and x FreeType's coverage of the same glyphs\n");
    std::fprintf(out, "%-42s %5s %9s %9s %9s %9s %9s %11s\n", "set", "range", "coverage", kKinds[0],
                 kKinds[1], kKinds[2], kKinds[3], "FT sdf");
    for (int set = 0; set < 3; ++set) {
        const double coverage = perGlyph("BM_FieldCoverage", std::to_string(set));
        for (const int range : {8, 16}) {
            std::fprintf(out, "%-42s %5d %9.4f", kSets[set], range, coverage);
            for (int kind = 0; kind < 4; ++kind) {
                const double ms =
                    perGlyph("BM_FieldGlyphs", std::to_string(set) + "/" + std::to_string(kind) +
                                                   "/" + std::to_string(range));
                std::fprintf(out, " %9.4f", ms);
            }
            const double freetype =
                perGlyph("BM_FreetypeSdf", std::to_string(set) + "/" + std::to_string(range));
            std::fprintf(out, " %11.4f\n", freetype);
            std::fprintf(out, "%-42s %5s %9s", "", "", "x cov.");
            for (int kind = 0; kind < 4; ++kind) {
                const double ms =
                    perGlyph("BM_FieldGlyphs", std::to_string(set) + "/" + std::to_string(kind) +
                                                   "/" + std::to_string(range));
                std::fprintf(out, " %9.2f", coverage > 0 && ms >= 0 ? ms / coverage : -1.0);
            }
            std::fprintf(out, " %11.2f\n",
                         coverage > 0 && freetype >= 0 ? freetype / coverage : -1.0);
        }
    }
    // The targets, at range 16.
    const auto check = [&](int set, int kind, double target) {
        const double ms =
            perGlyph("BM_FieldGlyphs", std::to_string(set) + "/" + std::to_string(kind) + "/16");
        const bool holds = ms >= 0 && ms <= target;
        allHold = allHold && holds;
        std::fprintf(out, "%s %s at range 16: %.4f ms per glyph (<= %.1f) %s\n", kSets[set],
                     kKinds[kind], ms, target, holds ? "ok" : "NO");
    };
    check(0, 0, kLatinTarget);
    check(0, 2, kLatinTarget);
    check(1, 2, kCjkMsdfTarget);
    check(2, 2, kCjkMsdfTarget);
    return allHold;
}

void printFieldRebuildTable(std::FILE* out, const PerGlyph& perGlyph) {
    std::fprintf(out,
                 "\nRebuilds after a font change on one thread at 32 px, range 16: ms per glyph, "
                 "and x the coverage rebuild of the same glyphs\n");
    std::fprintf(out, "%-42s %9s %9s %9s %9s %9s\n", "set", "coverage", kKinds[0], kKinds[1],
                 kKinds[2], kKinds[3]);
    for (int set = 0; set < 3; ++set) {
        const auto ms = [&](int field) {
            return perGlyph("BM_FieldRebuild", std::to_string(set) + "/" + std::to_string(field));
        };
        const double coverage = ms(0);
        std::fprintf(out, "%-42s %9.4f", kSets[set], coverage);
        for (int field = 1; field <= 4; ++field) {
            std::fprintf(out, " %9.4f", ms(field));
        }
        std::fprintf(out, "\n%-42s %9s", "", "x cov.");
        for (int field = 1; field <= 4; ++field) {
            std::fprintf(out, " %9.2f",
                         coverage > 0 && ms(field) >= 0 ? ms(field) / coverage : -1.0);
        }
        std::fprintf(out, "\n");
    }
}

}  // namespace vemro::bench
