#include "SynthLaunch.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "SynthServer.h"

namespace tolvex::music {

namespace {

constexpr int kNiceness = 5;

}  // namespace

LaunchedSynth launchSynthProcess(const SynthSettings& settings) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return {.error = errno};
    const pid_t program = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        // The process ends with the program, however the program ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != program) ::_exit(0);
        // Ctrl+C in a terminal, or a signal to the program's group, is the program's to handle:
        // the music ends when the program lets it.
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
            ::signal(signal, SIG_IGN);
        ::prctl(PR_SET_NAME, "tolvex-synth");
        // The music yields to the window. The render needs a few percent of a core.
        ::setpriority(PRIO_PROCESS, 0, kNiceness);
        serveSynth(ends[1], settings);
    }
    const int forkError = errno;
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        return {.error = forkError};
    }
    return {.pid = pid, .socket = ends[0]};
}

}  // namespace tolvex::music
