#pragma once

#include <cstdint>
#include <string>

namespace vemro {

// The font description: an installed typeface (or a font file) with its size and style.
struct FontSettings {
    static constexpr std::int32_t kMinSize = 5;
    static constexpr std::int32_t kMaxSize = 100;
    static constexpr std::int32_t kWeightNormal = 400;
    static constexpr std::int32_t kWeightMedium = 600;
    static constexpr std::int32_t kWeightBold = 700;
    // Any number weight a face whose weight varies can be drawn at.
    static constexpr std::int32_t kMinWeight = 1;
    static constexpr std::int32_t kMaxWeight = 1000;
    static constexpr std::int32_t kQualityAntialiased = 4;
    static constexpr std::int32_t kQualityNonAntialiased = 3;
    static constexpr std::int32_t kMinFactor = 1;
    static constexpr std::int32_t kMaxFactor = 4;

    std::string faceName;
    // A font file used instead of an installed typeface (absolute path; empty: none), and the
    // face inside it for collections (.ttc). When it cannot be opened, faceName is used.
    std::string fontFile;
    std::int32_t fontFaceIndex = 0;
    std::int32_t size = 11;  // points
    // Normal, medium or bold for a face of fixed weights; 1..1000 for one whose weight varies.
    std::int32_t weight = kWeightNormal;
    std::int32_t quality = kQualityAntialiased;
    std::int32_t factor = 1;  // supersampling factor, 1..4
    bool italic = false;

    friend bool operator==(const FontSettings&, const FontSettings&) = default;
};

}  // namespace vemro
