#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tolvex::testing {

// The account "nobody", which owns nothing that a test makes as root.
inline constexpr uid_t kNobody = 65534;

// Whether `check` holds when run as "nobody", in a child process (the test itself stays root).
inline bool holdsAsNobody(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check() ? 0 : 1);
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && status == 0;
}

}  // namespace tolvex::testing
