#include "DisplayCheck.h"

#include <wayland-client-core.h>
#include <xcb/xcb.h>

namespace tolvex {

namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

// Asked of the display libraries themselves, so that every way of reaching a server counts: a
// socket file, an abstract socket, TCP, or an X server that the desktop starts on demand.
bool xServerAnswers() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

bool waylandAnswers() {
    wl_display* display = wl_display_connect(nullptr);
    if (display) wl_display_disconnect(display);
    return display != nullptr;
}

}  // namespace

std::optional<QString> displayProblem() {
    const QString platform = env("QT_QPA_PLATFORM");
    const bool wantsX = platform.isEmpty() || platform.startsWith(QLatin1String("xcb"));
    const bool wantsWayland = platform.isEmpty() || platform.startsWith(QLatin1String("wayland"));
    // Other platforms (offscreen, vnc, ...) need no display server.
    if (!wantsX && !wantsWayland) return std::nullopt;

    const QString display = env("DISPLAY");
    if (wantsX && !display.isEmpty()) {
        if (xServerAnswers()) return std::nullopt;
        return QStringLiteral("cannot open the display %1: no X server answers there").arg(display);
    }
    if (wantsWayland && !env("WAYLAND_DISPLAY").isEmpty()) {
        if (waylandAnswers()) return std::nullopt;
        return QStringLiteral("cannot open the Wayland display %1: no compositor answers there")
            .arg(env("WAYLAND_DISPLAY"));
    }
    return QStringLiteral(
        "no display to open a window on (DISPLAY is not set); start TolvexApp in a graphical session, or "
        "under Xvfb");
}

}  // namespace tolvex
