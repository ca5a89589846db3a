#include "files/io/character_file.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/text/unicode_text.h"
#include "files/io/regular_file.h"

namespace vemro {

Result<std::vector<char32_t>> readCharacterFile(const std::string& path) {
    using Read = Result<std::vector<char32_t>>;
    const auto fail = [&path](const std::string& reason) {
        return Read::failure("cannot read characters from \"" + path + "\": " + reason);
    };
    std::vector<std::uint8_t> bytes;
    if (const std::optional<std::string> problem =
            readRegularFile(path, kMaxCharacterFileBytes + 1, bytes)) {
        return fail(*problem);
    }
    if (bytes.size() > kMaxCharacterFileBytes) {
        return fail("the file is larger than the limit of " +
                    std::to_string(kMaxCharacterFileBytes >> 20) + " MiB");
    }
    const Result<std::vector<char32_t>> codes =
        decodeUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!codes) {
        return fail(codes.message());
    }
    return distinctAddableCharacters(codes.value());
}

}  // namespace vemro
