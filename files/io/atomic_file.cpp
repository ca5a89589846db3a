#include "files/io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace vemro {

namespace {

std::string failure(const std::string& path, const std::string& reason) {
    return "cannot write \"" + path + "\": " + reason;
}

std::string errnoText(int error) {
    return std::strerror(error);
}

// The folder part of path including its last "/", or "" for a bare name (the current folder).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new temporary file next to path, never opening an existing one. Returns the
// descriptor (or -1 with errno set) and the name in tempPath.
int createTemporary(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = folderOf(path) + "." + nameOf(path) + ".tmp-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto ticks = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        tempPath = prefix + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                   std::to_string(ticks % 1000000u);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Writes all bytes, resuming after interruptions and short writes. Returns 0 or an errno value.
int writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace

Status writeFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (path.empty()) {
        return Status::failure("cannot write a file without a name");
    }
    if (path.back() == '/') {
        return Status::failure(failure(path, "the name is a folder"));
    }

    struct stat target {};
    bool targetExists = false;
    if (::stat(path.c_str(), &target) == 0) {
        if (S_ISDIR(target.st_mode)) {
            return Status::failure(failure(path, "it is a folder"));
        }
        if (!S_ISREG(target.st_mode)) {
            return Status::failure(failure(path, "it is not a regular file"));
        }
        targetExists = true;
    } else if (errno != ENOENT) {
        return Status::failure(failure(path, errnoText(errno)));
    }

    std::string tempPath;
    const int fd = createTemporary(path, tempPath);
    if (fd < 0) {
        return Status::failure(failure(path, errnoText(errno)));
    }

    int error = writeAll(fd, data, size);
    if (error == 0 && targetExists && ::fchmod(fd, target.st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(tempPath.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return Status::failure(failure(path, errnoText(error)));
    }
    return Status::success();
}

}  // namespace vemro
