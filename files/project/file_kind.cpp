#include "files/project/file_kind.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

namespace vemro {

namespace {

using Bytes = std::span<const std::uint8_t>;

bool startsWith(Bytes bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

std::uint16_t littleEndian16(Bytes bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t littleEndian32(Bytes bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | (std::uint32_t{bytes[at + 1]} << 8) |
           (std::uint32_t{bytes[at + 2]} << 16) | (std::uint32_t{bytes[at + 3]} << 24);
}

// The file name's extension from its last dot, in lower case, without the dot.
std::string extensionOf(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = fileName.substr(dot + 1);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

// Whether the bytes are UTF-8 text without zero bytes. A sequence cut off by the end of an
// incomplete sample counts as text.
bool isText(Bytes bytes, bool complete) {
    if (bytes.empty()) {
        return false;
    }
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        if (lead == 0) {
            return false;
        }
        std::size_t length = 1;
        std::uint32_t lowest = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            lowest = 0x10000;
        } else if (lead >= 0xE0) {
            length = lead <= 0xEF ? 3 : 0;
            lowest = 0x800;
        } else if (lead >= 0xC2) {
            length = 2;
            lowest = 0x80;
        } else if (lead >= 0x80) {
            length = 0;
        }
        if (length == 0) {
            return false;
        }
        if (i + length > bytes.size()) {
            return !complete;
        }
        std::uint32_t codePoint = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3Fu);
        }
        if (codePoint < lowest || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// The text after a UTF-8 byte order mark, if any.
std::string_view textOf(Bytes bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return text;
}

void skipSpace(std::string_view& text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
                             text.front() == '\n')) {
        text.remove_prefix(1);
    }
}

// Whether the first element of an XML text, after its declaration, comments, processing
// instructions and document type, is <font>.
bool hasFontRoot(std::string_view text) {
    for (;;) {
        skipSpace(text);
        std::string_view end;
        if (text.starts_with("<?")) {
            end = "?>";
        } else if (text.starts_with("<!--")) {
            end = "-->";
        } else if (text.starts_with("<!")) {
            end = ">";
        } else {
            break;
        }
        const std::size_t at = text.find(end);
        if (at == std::string_view::npos) {
            return false;
        }
        text.remove_prefix(at + end.size());
    }
    if (!text.starts_with("<font")) {
        return false;
    }
    text.remove_prefix(5);
    return !text.empty() && (text.front() == '>' || text.front() == '/' || text.front() == ' ' ||
                             text.front() == '\t' || text.front() == '\r' || text.front() == '\n');
}

// A Targa header that a Targa reader would take: a known image type, a colour map type of 0 or
// 1, a size and a pixel depth it knows.
bool plausibleTarga(Bytes bytes) {
    if (bytes.size() < 18) {
        return false;
    }
    const std::uint8_t mapType = bytes[1];
    const std::uint8_t imageType = bytes[2];
    const std::uint8_t depth = bytes[16];
    const bool knownType = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                           imageType == 10 || imageType == 11;
    const bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return mapType <= 1 && knownType && knownDepth && littleEndian16(bytes, 12) > 0 &&
           littleEndian16(bytes, 14) > 0;
}

// "BM", then a header size one of the BMP versions uses.
bool plausibleBmp(Bytes bytes) {
    if (bytes.size() < 18 || !startsWith(bytes, "BM")) {
        return false;
    }
    const std::uint32_t headerSize = littleEndian32(bytes, 14);
    return headerSize == 12 || headerSize == 40 || headerSize == 52 || headerSize == 56 ||
           headerSize == 64 || headerSize == 108 || headerSize == 124;
}

// The signatures a font file starts with: a collection, WOFF, WOFF2, or the version of a single
// font's table directory, TrueType (0x00010000, or "true" and "typ1" of Apple's fonts) or
// OpenType with CFF outlines ("OTTO"). A project 256 pixels wide starts with the bytes of
// 0x00010000 too, so a table directory must also hold a table whose tag is printable ASCII, where
// a project has its small font borders.
bool isFontFile(Bytes bytes) {
    if (startsWith(bytes, "ttcf") || startsWith(bytes, "wOFF") || startsWith(bytes, "wOF2")) {
        return true;
    }
    const bool directory = startsWith(bytes, std::string_view("\0\1\0\0", 4)) ||
                           startsWith(bytes, "OTTO") || startsWith(bytes, "true") ||
                           startsWith(bytes, "typ1");
    return directory && bytes.size() >= 16 && (bytes[4] | bytes[5]) != 0 &&
           std::all_of(bytes.begin() + 12, bytes.begin() + 16,
                       [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
}

}  // namespace

std::optional<std::string> lookAlikeKind(Bytes head, bool complete, const std::string& fileName) {
    if (isFontFile(head)) {
        return std::string(kFontFileKind);
    }
    // Versions 1 to 3 of the binary descriptor.
    if (head.size() >= 4 && startsWith(head, "BMF") && head[3] >= 1 && head[3] <= 3) {
        return "a binary BMFont font description";
    }
    if (startsWith(head, "\x89PNG\r\n\x1A\n")) {
        return "a PNG image";
    }
    if (startsWith(head, "\xFF\xD8\xFF")) {
        return "a JPEG image";
    }
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a")) {
        return "a GIF image";
    }
    const std::string extension = extensionOf(fileName);
    if (extension == "bmp" && plausibleBmp(head)) {
        return "a BMP image";
    }
    if (extension == "tga" && plausibleTarga(head)) {
        return "a Targa image";
    }
    if (!isText(head, complete)) {
        return std::nullopt;
    }
    const std::string_view text = textOf(head);
    if (text.starts_with("info ")) {
        return "a BMFont font description";
    }
    if (text.starts_with("// TORVYN Ravfont.")) {
        return "a glyph description written by Export Font";
    }
    if (hasFontRoot(text)) {
        return "a BMFont font description in XML";
    }
    return "a text file";
}

std::optional<std::string> lookAlikeKind(const std::string& path) {
    // O_NONBLOCK keeps a named pipe from blocking the open; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::vector<std::uint8_t> head;
    bool readable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (readable) {
        head.resize(kFileKindSampleBytes);
        std::size_t done = 0;
        while (done < head.size()) {
            const ssize_t got = ::read(fd, head.data() + done, head.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                readable = got == 0;
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        head.resize(done);
    }
    ::close(fd);
    if (!readable) {
        return std::nullopt;
    }
    const bool complete = static_cast<std::uint64_t>(info.st_size) <= head.size();
    return lookAlikeKind(head, complete, path);
}

std::optional<std::string> notAProjectMessage(const std::string& path) {
    const std::optional<std::string> kind = lookAlikeKind(path);
    if (!kind) {
        return std::nullopt;
    }
    if (*kind == kFontFileKind) {
        const std::size_t slash = path.rfind('/');
        const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
        return "\"" + name +
               "\" is a font file, not a project: use --font-file (or File > Use Font File...)";
    }
    return "cannot open \"" + path + "\": this is " + *kind + ", not a Vemro Font builder project";
}

}  // namespace vemro
