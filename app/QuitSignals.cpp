#include "QuitSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace tolvex {

namespace {

// A signal handler may do almost nothing: it writes one byte, and the event loop reads it.
int wakeWriteEnd = -1;

void onQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeWriteEnd, &byte, 1);
    errno = saved;
}

}  // namespace

void closeOnQuitSignals(QWidget& window) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    wakeWriteEnd = pipe[1];
    auto* notifier = new QSocketNotifier(pipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, readEnd = pipe[0]] {
        char bytes[16];
        while (::read(readEnd, bytes, sizeof bytes) > 0) {
        }
        window.close();
        // Also leaves a message box that may be open, so that the program ends now.
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace tolvex
