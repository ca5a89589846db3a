#include "files/project/export_sections.h"

#include "engine/text/unicode_text.h"
#include "files/io/little_endian.h"
#include "files/project/section_fields.h"

namespace vemro {

void appendExportSection(std::vector<std::uint8_t>& out, const ExportSection& section) {
    putSectionTag(out, kExportTag);
    putUint32(out, kExportPayloadBytes);
    out.push_back(static_cast<std::uint8_t>(section.settings.format));
    out.push_back(static_cast<std::uint8_t>(section.settings.image));
    out.push_back(section.kerning ? 1 : 0);
}

void appendSampleTextSection(std::vector<std::uint8_t>& out, const std::string& text) {
    putSectionTag(out, kSampleTextTag);
    putUint32(out, static_cast<std::uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

std::optional<std::string> readExportSection(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                             std::size_t length,
                                             std::optional<ExportSection>& section) {
    if (length != kExportPayloadBytes) {
        return sectionLengthProblem(kExportTag, length, kExportPayloadBytes);
    }
    if (auto problem = sectionRangeProblem(kExportTag, "export format", bytes[at], 0,
                                           static_cast<int>(kLastDescriptorFormat))) {
        return problem;
    }
    if (auto problem = sectionRangeProblem(kExportTag, "page image", bytes[at + 1], 0,
                                           static_cast<int>(kLastPageImage))) {
        return problem;
    }
    if (auto problem = sectionFlagProblem(kExportTag, "kerning", bytes[at + 2])) {
        return problem;
    }
    section = ExportSection{ExportSettings{static_cast<DescriptorFormat>(bytes[at]),
                                           static_cast<PageImage>(bytes[at + 1])},
                            bytes[at + 2] == 1};
    return std::nullopt;
}

std::optional<std::string> readSampleTextSection(const std::vector<std::uint8_t>& bytes,
                                                 std::size_t at, std::size_t length,
                                                 std::optional<std::string>& text) {
    const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    std::string read(start, start + static_cast<std::ptrdiff_t>(length));
    if (auto problem = sampleTextProblem(read)) {
        return problem;
    }
    text = std::move(read);
    return std::nullopt;
}

std::optional<std::string> exportSettingsProblem(const ExportSettings& settings) {
    const int format = static_cast<int>(settings.format);
    if (format > static_cast<int>(kLastDescriptorFormat)) {
        return "the export format " + std::to_string(format) + " is outside the allowed range 0.." +
               std::to_string(static_cast<int>(kLastDescriptorFormat));
    }
    const int image = static_cast<int>(settings.image);
    if (image > static_cast<int>(kLastPageImage)) {
        return "the page image " + std::to_string(image) + " is outside the allowed range 0.." +
               std::to_string(static_cast<int>(kLastPageImage));
    }
    return std::nullopt;
}

std::optional<std::string> sampleTextProblem(const std::string& text) {
    if (text.size() > kMaxSampleTextBytes) {
        return "the sample text of " + std::to_string(text.size()) +
               " bytes is longer than the limit of " + std::to_string(kMaxSampleTextBytes) +
               " bytes";
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) {
        return "the sample text holds a zero byte at byte " + std::to_string(zero);
    }
    if (const Result<std::vector<char32_t>> decoded = decodeUtf8(text); !decoded) {
        return "the sample text is not UTF-8: " + decoded.message();
    }
    return std::nullopt;
}

}  // namespace vemro
