#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/project/export_settings.h"

namespace vemro {

// The project extension's sections for the export and the window's sample text, each written
// only when it differs from what a project without it means (the defaults):
//   EXPO  uint8 format (0 tfd, 1 BMFont text, 2 BMFont XML, 3 BMFont binary, 4 JSON),
//         uint8 page image (0 32-bit PNG, 1 8-bit PNG, 2 TGA), uint8 kerning (0 or 1)
//   TEXT  the sample text's UTF-8 bytes, the whole payload (0..4,096 bytes, no zero byte)
inline constexpr char kExportTag[] = "EXPO";
inline constexpr char kSampleTextTag[] = "TEXT";
inline constexpr std::size_t kExportPayloadBytes = 3;
inline constexpr std::size_t kMaxSampleTextBytes = 4096;

// What the section "EXPO" holds: the export settings and the project's kerning option, which the
// file keeps beside them.
struct ExportSection {
    ExportSettings settings;
    bool kerning = true;

    friend bool operator==(const ExportSection&, const ExportSection&) = default;
};

void appendExportSection(std::vector<std::uint8_t>& out, const ExportSection& section);
void appendSampleTextSection(std::vector<std::uint8_t>& out, const std::string& text);

// Read the payload of `length` bytes at `at` (the section's header already read), or say what
// is wrong with it, naming the limit.
std::optional<std::string> readExportSection(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                             std::size_t length,
                                             std::optional<ExportSection>& section);
std::optional<std::string> readSampleTextSection(const std::vector<std::uint8_t>& bytes,
                                                 std::size_t at, std::size_t length,
                                                 std::optional<std::string>& text);

// What keeps the values from being stored so that they read back, or nothing.
std::optional<std::string> exportSettingsProblem(const ExportSettings& settings);
std::optional<std::string> sampleTextProblem(const std::string& text);

}  // namespace vemro
