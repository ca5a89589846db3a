#include "files/cli/input_digests.h"

#include "files/io/file_digest.h"

namespace vemro {

Result<std::string> InputDigests::digest(const std::string& path) {
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = digests_.find(path); found != digests_.end()) {
            return found->second;
        }
    }
    // Read outside the lock; two threads may read one file at once, and both find the same.
    Result<std::string> digest = fileDigest(path);
    if (!digest) {
        digest = Result<std::string>::failure("cannot read \"" + path + "\": " + digest.message());
    }
    const std::lock_guard lock(mutex_);
    return digests_.emplace(path, std::move(digest)).first->second;
}

}  // namespace vemro
