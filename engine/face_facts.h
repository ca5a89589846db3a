#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/freetype_handles.h"

namespace vemro {

// What one face of one file holds whatever the size and style: its family name and its
// characters. Found once, from whichever face opened from that file asks first, and shared by
// every font made from the face; safe to ask from several threads at once.
class FaceFacts {
public:
    // The facts of a face of the font file at `path`.
    explicit FaceFacts(std::string path) : path_(std::move(path)) {}
    FaceFacts(const FaceFacts&) = delete;
    FaceFacts& operator=(const FaceFacts&) = delete;

    // The face must be one opened from the location these facts belong to. The family name is
    // the file's name for a face that names no family.
    const std::string& familyName(FT_Face face);
    const std::vector<char32_t>& characters(FT_Face face);

private:
    std::string path_;
    std::once_flag nameFound_;
    std::string familyName_;
    std::once_flag charactersFound_;
    std::vector<char32_t> characters_;
};

}  // namespace vemro
