#pragma once

#include <map>
#include <mutex>
#include <string>

#include "engine/core/result.h"

namespace vemro {

// The digests of the input files of a build (fileDigest), each file read once however many
// outputs use it. Safe to use from several threads at once.
class InputDigests {
public:
    // The digest of the file at path, or why it cannot be read ("cannot read "PATH": reason").
    Result<std::string> digest(const std::string& path);

private:
    std::mutex mutex_;
    std::map<std::string, Result<std::string>> digests_;
};

}  // namespace vemro
