#include "files/project/export_sections.h"

#include "engine/text/unicode_text.h"
#include "files/project/section_fields.h"

namespace vemro {

namespace {

constexpr char kExportTag[] = "EXPO";
constexpr char kSampleTextTag[] = "TEXT";
constexpr std::size_t kExportPayloadBytes = 3;  // format, page image and kerning

std::optional<std::string> exportProblem(const Document& document) {
    const int format = static_cast<int>(document.exportSettings.format);
    if (format > static_cast<int>(kLastDescriptorFormat)) {
        return "the export format " + std::to_string(format) + " is outside the allowed range " +
               rangeText(0, static_cast<int>(kLastDescriptorFormat));
    }
    const int image = static_cast<int>(document.exportSettings.image);
    if (image > static_cast<int>(kLastPageImage)) {
        return "the page image " + std::to_string(image) + " is outside the allowed range " +
               rangeText(0, static_cast<int>(kLastPageImage));
    }
    return std::nullopt;
}

void writeExport(ByteWriter& out, const Document& document) {
    out.u8(static_cast<std::uint8_t>(document.exportSettings.format));
    out.u8(static_cast<std::uint8_t>(document.exportSettings.image));
    out.u8(document.project.kerning ? 1 : 0);
}

std::optional<std::string> readExport(ByteReader& payload, Document& document) {
    const std::uint8_t format = payload.u8();
    const std::uint8_t image = payload.u8();
    const std::uint8_t kerning = payload.u8();
    if (auto problem = sectionRangeProblem(kExportTag, "export format", format, 0,
                                           static_cast<int>(kLastDescriptorFormat))) {
        return problem;
    }
    if (auto problem = sectionRangeProblem(kExportTag, "page image", image, 0,
                                           static_cast<int>(kLastPageImage))) {
        return problem;
    }
    if (auto problem = sectionFlagProblem(kExportTag, "kerning", kerning)) {
        return problem;
    }
    document.exportSettings =
        ExportSettings{static_cast<DescriptorFormat>(format), static_cast<PageImage>(image)};
    document.project.kerning = kerning == 1;
    return std::nullopt;
}

std::optional<std::string> sampleTextProblem(const Document& document) {
    const std::string& text = document.sampleText;
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

}  // namespace

const ProjectSection kExportSection{
    kExportTag,
    kExportPayloadBytes,
    true,
    nullptr,
    [](const Document& document) {
        return document.exportSettings == ExportSettings{} && document.project.kerning;
    },
    writeExport,
    readExport,
    exportProblem,
};

const ProjectSection kSampleTextSection{
    kSampleTextTag,
    kMaxSampleTextBytes,
    false,
    nullptr,
    [](const Document& document) { return document.sampleText == Document::kDefaultSampleText; },
    [](ByteWriter& out, const Document& document) { out.text(document.sampleText); },
    [](ByteReader& payload, Document& document) {
        document.sampleText = payload.text(payload.remaining());
        return sampleTextProblem(document);
    },
    sampleTextProblem,
};

}  // namespace vemro
