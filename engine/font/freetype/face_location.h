#pragma once

#include <compare>
#include <string>

namespace vemro {

// One face of one font file: the file and the face's index inside it.
struct FaceLocation {
    std::string path;
    int index = 0;

    auto operator<=>(const FaceLocation&) const = default;
};

}  // namespace vemro
