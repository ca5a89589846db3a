#include "files/io/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vemro {

namespace {

// Opens the path for reading and checks that it is a regular file; returns the descriptor, or
// -1 with the reason.
int openRegularFile(const std::string& path, std::optional<std::string>& problem) {
    // O_NONBLOCK keeps a named pipe from blocking the open; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        problem = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = "it is a folder";
    } else if (!S_ISREG(info.st_mode)) {
        problem = "it is not a regular file";
    }
    if (problem) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                           std::vector<std::uint8_t>& bytes) {
    std::optional<std::string> problem;
    const int fd = openRegularFile(path, problem);
    if (fd < 0) {
        return problem;
    }
    struct stat info {};
    const std::size_t fileSize =
        ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(fileSize < limit ? fileSize : limit);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            problem = std::strerror(errno);
            break;
        }
        if (got == 0) {
            break;  // the file shrank while being read; the caller judges what arrived
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    ::close(fd);
    return problem;
}

std::optional<std::string> regularFileProblem(const std::string& path) {
    std::optional<std::string> problem;
    const int fd = openRegularFile(path, problem);
    if (fd >= 0) {
        ::close(fd);
    }
    return problem;
}

}  // namespace vemro
