#include "QuitSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace tolvex {

namespace {

// A signal handler may do almost nothing: it writes one byte, and the event loop reads it.
int wakeReadEnd = -1;
int wakeWriteEnd = -1;
volatile std::sig_atomic_t windowTakesSignals = 0;
bool closedEarly = false;

void onQuitSignal(int) {
    // Before the window exists there is nothing to close or to keep, and the program may be
    // waiting for a slow display server, where no event loop would read the byte.
    if (!windowTakesSignals) ::_exit(0);
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeWriteEnd, &byte, 1);
    errno = saved;
}

}  // namespace

void catchQuitSignals() {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    wakeReadEnd = pipe[0];
    wakeWriteEnd = pipe[1];
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void closeOnQuitSignals(QWidget& window) {
    if (wakeReadEnd < 0) return;
    auto* notifier = new QSocketNotifier(wakeReadEnd, QSocketNotifier::Read, &window);
    windowTakesSignals = 1;
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char bytes[16];
        while (::read(wakeReadEnd, bytes, sizeof bytes) > 0) {
        }
        closedEarly = !window.isVisible();
        window.close();
        // Also leaves a message box that may be open, so that the program ends now.
        QCoreApplication::exit(0);
    });
}

bool closedBeforeShown() { return closedEarly; }

}  // namespace tolvex
