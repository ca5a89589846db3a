#include "files/project/fallback_section.h"

#include "engine/text/unicode_text.h"
#include "files/project/project_file.h"
#include "files/project/section_fields.h"

namespace vemro {

namespace {

constexpr char kFallbackTag[] = "FALL";
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kFaceFixedBytes = 1 + 4 + 4;  // kind, length, face index

std::optional<std::string> fallbacksProblem(const Document& document) {
    const std::vector<FallbackFace>& faces = document.project.fallbacks;
    if (faces.size() > kMaxProjectFallbacks) {
        return std::to_string(faces.size()) + " fallback faces are more than the limit of " +
               std::to_string(kMaxProjectFallbacks);
    }
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const FallbackFace& face = faces[i];
        const std::string& text = face.fontFile.empty() ? face.faceName : face.fontFile;
        const std::string which = "fallback face " + std::to_string(i + 1);
        if (text.empty() || text.size() > static_cast<std::size_t>(kMaxProjectFontPathLength)) {
            return which + " has a name or path of " + std::to_string(text.size()) +
                   " bytes, outside the allowed range " + rangeText(1, kMaxProjectFontPathLength);
        }
        if (text.find('\0') != std::string::npos || !decodeUtf8(text)) {
            return which + " has a name or path that is not UTF-8 text";
        }
        if (face.faceIndex < 0 || face.faceIndex > kMaxProjectFontFaceIndex ||
            (face.fontFile.empty() && face.faceIndex != 0)) {
            return which + " has the face index " + std::to_string(face.faceIndex) +
                   ", outside the allowed range " +
                   rangeText(0, face.fontFile.empty() ? 0 : kMaxProjectFontFaceIndex);
        }
    }
    return std::nullopt;
}

void writeFallbacks(ByteWriter& out, const Document& document) {
    out.u32(static_cast<std::uint32_t>(document.project.fallbacks.size()));
    for (const FallbackFace& face : document.project.fallbacks) {
        const bool file = !face.fontFile.empty();
        const std::string& text = file ? face.fontFile : face.faceName;
        out.u8(file ? 1 : 0);
        out.u32(static_cast<std::uint32_t>(text.size()));
        out.text(text);
        out.i32(face.faceIndex);
    }
}

std::optional<std::string> readFallbacks(ByteReader& payload, Document& document) {
    const std::string length =
        "the section \"FALL\" is " + std::to_string(payload.remaining()) + " bytes long";
    if (!payload.has(kCountBytes)) {
        return length + ", too short for its count";
    }
    const std::uint32_t count = payload.u32();
    if (count > kMaxProjectFallbacks) {
        return std::to_string(count) + " fallback faces are more than the limit of " +
               std::to_string(kMaxProjectFallbacks);
    }
    std::vector<FallbackFace> faces;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!payload.has(kFaceFixedBytes - 4)) {
            return length + ", too short for fallback face " + std::to_string(i + 1);
        }
        const std::uint8_t kind = payload.u8();
        const std::uint32_t size = payload.u32();
        if (kind > 1) {
            return "fallback face " + std::to_string(i + 1) + " is of kind " +
                   std::to_string(kind) + ", neither 0 (a typeface) nor 1 (a font file)";
        }
        if (size > static_cast<std::uint32_t>(kMaxProjectFontPathLength) ||
            !payload.has(std::size_t{size} + 4)) {
            return length + ", too short for fallback face " + std::to_string(i + 1);
        }
        FallbackFace face;
        (kind == 1 ? face.fontFile : face.faceName) = payload.text(size);
        face.faceIndex = payload.i32();
        faces.push_back(std::move(face));
    }
    if (!payload.atEnd()) {
        return length + ", longer than its " + std::to_string(count) + " fallback faces take";
    }
    document.project.fallbacks = std::move(faces);
    return fallbacksProblem(document);
}

}  // namespace

const ProjectSection kFallbackSection{
    kFallbackTag,
    kCountBytes + kMaxProjectFallbacks*(kFaceFixedBytes + kMaxProjectFontPathLength),
    false,
    nullptr,
    [](const Document& document) { return document.project.fallbacks.empty(); },
    writeFallbacks,
    readFallbacks,
    fallbacksProblem,
};

}  // namespace vemro
