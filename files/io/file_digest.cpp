#include "files/io/file_digest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

namespace vemro {

namespace {

std::string hexDigest(XXH128_hash_t hash) {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, hash);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : canonical.digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

struct StateDeleter {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

}  // namespace

std::string bytesDigest(const void* data, std::size_t size) {
    return hexDigest(XXH3_128bits(data, size));
}

Result<std::string> fileDigest(const std::string& path) {
    // O_NONBLOCK keeps a named pipe from blocking the open; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return Result<std::string>::failure(std::strerror(errno));
    }
    struct stat info {};
    std::string problem;
    if (::fstat(fd, &info) != 0) {
        problem = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = "it is a folder";
    } else if (!S_ISREG(info.st_mode)) {
        problem = "it is not a regular file";
    }
    const std::unique_ptr<XXH3_state_t, StateDeleter> state(XXH3_createState());
    if (problem.empty() && (state == nullptr || XXH3_128bits_reset(state.get()) != XXH_OK)) {
        problem = "out of memory";
    }
    std::array<char, 1 << 16> buffer;
    while (problem.empty()) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            problem = std::strerror(errno);
        } else if (got == 0) {
            break;
        } else {
            XXH3_128bits_update(state.get(), buffer.data(), static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    if (!problem.empty()) {
        return Result<std::string>::failure(problem);
    }
    return hexDigest(XXH3_128bits_digest(state.get()));
}

}  // namespace vemro
