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

}  // namespace vemro
