#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro {

// Font services on FreeType, with the installed typefaces found through fontconfig.
//
// Construction is cheap: fontconfig and FreeType are started, and the typeface list is built, on
// first use. What was learnt of the installed faces stays cached for the life of the object, so
// making a font again (which the program does on every change) costs little after the first time.
//
// Safe to call from several threads at once. Every font has a FreeType face of its own, so fonts
// may be used on different threads at the same time (each by one thread at a time).
//
// The fonts it makes use its FreeType library: every one of them must be destroyed before the
// renderer.
class FreetypeFontRenderer final : public FontRenderer {
public:
    FreetypeFontRenderer();
    ~FreetypeFontRenderer() override;

    FreetypeFontRenderer(const FreetypeFontRenderer&) = delete;
    FreetypeFontRenderer& operator=(const FreetypeFontRenderer&) = delete;

    const std::vector<std::string>& faceNames() override;
    // The typeface of the system's default sans-serif face, as fontconfig resolves
    // "sans-serif" (DejaVu Sans on a fresh Debian).
    std::string defaultFaceName() override;
    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override;
    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override;
    std::vector<FaceWeight> weightsOf(const FontRequest& request) override;
    std::optional<FontSource> fontSourceFor(const FontRequest& request) override;
    // fontconfig's choice: FcFontSort over the characters.
    std::optional<std::string> typefaceCovering(const std::vector<char32_t>& characters) override;

private:
    // The font of a request with fallbacks: one font for the face and one for each fallback.
    Result<std::unique_ptr<Font>> createWithFallbacks(const FontRequest& request);
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vemro
