#pragma once

#include <string>

#include "engine/project/project.h"
#include "files/project/export_settings.h"

namespace vemro {

// What a project file holds: the project, which makes the atlas, and what is done with the
// atlas: the export settings of File > Export Font and --export, and the line of text the window
// lays out from it below the preview. A plain value; two documents make the same atlas when
// their projects are equal.
struct Document {
    static constexpr const char* kDefaultSampleText =
        "The quick brown fox jumps over the lazy dog. AV To Wa";

    Project project;
    ExportSettings exportSettings{};
    std::string sampleText = kDefaultSampleText;

    friend bool operator==(const Document&, const Document&) = default;
};

// The document an export or build without a project file starts from: the start-up project of
// the face, trimming cells to the ink, which takes effect where the export format has y offsets
// (BMFont, JSON), so that a new project exported in those formats trims.
Document startupDocument(const std::string& faceName);

// Sets the export format as the window does: a format that gives every glyph a y offset (BMFont,
// JSON) chosen in place of one without (.tfd, where a new project starts) turns trimming cells to
// the ink on.
void chooseExportFormat(Document& document, DescriptorFormat format);

// The project whose atlas the document exports and shows: its project, with cells trimmed to the
// ink only where the export format gives every glyph a y offset; a .tfd export never trims.
Project atlasProjectOf(const Document& document);

}  // namespace vemro
