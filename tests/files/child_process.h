#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/core/result.h"

namespace vemro {

// Runs body in a forked child and returns the text it produced, or nothing when the child did
// not finish normally. Whatever the child changes in its own process (limits, user, mounts) goes
// away with it. The child leaves through _exit, so no test framework or sanitizer exit handler
// runs twice.
inline std::optional<std::string> runInChild(const std::function<std::string()>& body) {
    int ends[2];
    if (::pipe(ends) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(ends[0]);
        const std::string text = body();
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = ::write(ends[1], text.data() + done, text.size() - done);
            if (written <= 0) {
                ::_exit(1);
            }
            done += static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(ends[1]);
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(ends[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return text;
}

inline constexpr uid_t kUnprivilegedUser = 65534;   // nobody
inline constexpr gid_t kUnprivilegedGroup = 65534;  // nogroup

// Gives path to the user runUnprivileged runs as (only root can, and only root needs to), so that
// a folder's mode bits alone decide whether that user may write into it.
inline bool giveToUnprivilegedUser(const std::string& path) {
    return ::geteuid() != 0 || ::chown(path.c_str(), kUnprivilegedUser, kUnprivilegedGroup) == 0;
}

// The outcome of an operation run by a user who may not write into folders of mode 0555.
struct UnprivilegedOutcome {
    bool ran = false;          // false: no such user could be had; the caller skips
    bool childFailed = false;  // the child crashed or died: a fault, not a reason to skip
    std::string skipWhy;       // why it did not run, when ran is false
    bool ok = false;           // the operation's status
    std::string message;       // its message on failure
};

// Runs operation as a user who cannot write into a read-only folder. Root may write anywhere,
// so as root the operation runs in a child that has first dropped to the unprivileged user and
// group 65534 (nobody/nogroup); any other user runs it directly. The folders the operation uses
// must be reachable (searchable) for that user.
inline UnprivilegedOutcome runUnprivileged(const std::function<Status()>& operation) {
    UnprivilegedOutcome outcome;
    if (::geteuid() != 0) {
        const Status status = operation();
        outcome.ran = true;
        outcome.ok = status.ok();
        outcome.message = status.message();
        return outcome;
    }
    const std::optional<std::string> text = runInChild([&operation]() -> std::string {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedGroup) != 0 ||
            ::setuid(kUnprivilegedUser) != 0) {
            return "S cannot drop to user 65534";
        }
        const Status status = operation();
        return std::string(status.ok() ? "1 " : "0 ") + status.message();
    });
    if (!text || text->size() < 2) {
        outcome.childFailed = true;
        outcome.skipWhy = "the unprivileged child did not finish";
        return outcome;
    }
    if ((*text)[0] == 'S') {
        outcome.skipWhy = text->substr(2);
        return outcome;
    }
    outcome.ran = true;
    outcome.ok = (*text)[0] == '1';
    outcome.message = text->substr(2);
    return outcome;
}

}  // namespace vemro
