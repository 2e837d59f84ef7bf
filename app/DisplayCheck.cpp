#include "DisplayCheck.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <dlfcn.h>
#include <xcb/xcb.h>

struct wl_display;

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

// The Wayland client library is loaded only here: linked, it would load on every start. Without it
// no Wayland program runs, the toolkit's plugin included, which is then what is missing.
bool waylandAnswers() {
    void* library = ::dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!library) return true;
    const auto connect =
        reinterpret_cast<wl_display* (*)(const char*)>(::dlsym(library, "wl_display_connect"));
    const auto disconnect =
        reinterpret_cast<void (*)(wl_display*)>(::dlsym(library, "wl_display_disconnect"));
    wl_display* display = connect && disconnect ? connect(nullptr) : nullptr;
    if (display) disconnect(display);
    ::dlclose(library);
    return display != nullptr;
}

// The folders the toolkit looks for its platform plugins in, in its own order.
QStringList platformPluginFolders() {
    QStringList folders;
    if (const QString named = env("QT_QPA_PLATFORM_PLUGIN_PATH"); !named.isEmpty()) folders << named;
    for (const QString& path : env("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    return folders;
}

// Whether a platform plugin that provides `key` is installed. Only its metadata is read: the
// plugin is not loaded, so the check costs no time of the window's start.
bool hasPlatformPlugin(const QString& key) {
    for (const QString& folder : platformPluginFolders())
        for (const QString& file : QDir(folder).entryList(QDir::Files)) {
            const QJsonObject metaData = QPluginLoader(folder + QLatin1Char('/') + file)
                                             .metaData()
                                             .value(QLatin1String("MetaData"))
                                             .toObject();
            for (const QJsonValue provided : metaData.value(QLatin1String("Keys")).toArray())
                if (provided.toString().compare(key, Qt::CaseInsensitive) == 0) return true;
        }
    return false;
}

}  // namespace

std::optional<QString> displayProblem() {
    const QString platform = env("QT_QPA_PLATFORM");
    const bool wantsX = platform.isEmpty() || platform.startsWith(QLatin1String("xcb"));
    const bool wantsWayland = platform.isEmpty() || platform.startsWith(QLatin1String("wayland"));
    // Other platforms (offscreen, vnc, ...) need no display server.
    if (!wantsX && !wantsWayland) return std::nullopt;

    const QString display = env("DISPLAY");
    const QString waylandDisplay = env("WAYLAND_DISPLAY");
    if (wantsX && !display.isEmpty() && xServerAnswers()) return std::nullopt;
    if (wantsWayland && !waylandDisplay.isEmpty() && waylandAnswers()) {
        if (hasPlatformPlugin(QStringLiteral("wayland"))) return std::nullopt;
        const QString noX = display.isEmpty() ? QStringLiteral("DISPLAY is not set")
                                              : QStringLiteral("no X server answers on %1").arg(display);
        return QStringLiteral(
                   "the Wayland display %1 answers, but the Qt Wayland platform plugin is not installed "
                   "(Debian package qt6-wayland), and there is no X display (%2)")
            .arg(waylandDisplay, noX);
    }
    if (wantsX && !display.isEmpty())
        return QStringLiteral("cannot open the display %1: no X server answers there").arg(display);
    if (wantsWayland && !waylandDisplay.isEmpty())
        return QStringLiteral("cannot open the Wayland display %1: no compositor answers there")
            .arg(waylandDisplay);
    return QStringLiteral(
        "no display to open a window on (DISPLAY is not set); start TolvexApp in a graphical session, or "
        "under Xvfb");
}

}  // namespace tolvex
