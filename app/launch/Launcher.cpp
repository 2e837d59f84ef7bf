// The program's start, before the toolkit. The synthesizer's process is forked first, while this
// process is small and the toolkit's libraries are not yet loaded: the module's libraries and its
// sound font then load on the other processor while this one loads the window's, which need
// nothing of it yet. Forked after them, the same work ran beside the window's own start.

#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "DesignedLayout.h"
#include "ModuleFileCheck.h"
#include "ProgramFiles.h"
#include "SynthLaunch.h"
#include "WindowStart.h"

namespace {

constexpr char kModuleName[] = "libtolvexsynth.so";
constexpr char kWindowLibraryName[] = "libtolvexwindow.so";

// Before the toolkit is loaded, its logging is not there: the line takes the form the window's
// lines have, in the window's category.
void cannotStart(const std::string& why) {
    std::fprintf(stderr, "tolvex.window: TolvexApp cannot start: %s\n", why.c_str());
}

// The window's library, loaded, and its start; nothing, with one line saying why, when the
// program's files are incomplete.
tolvex::WindowMain loadWindow(const std::string& programDirectory) {
    const std::array<std::string, 2> places =
        tolvex::launch::libraryPlaces(programDirectory, kWindowLibraryName);
    const std::string path = tolvex::launch::firstExisting(places);
    if (path.empty()) {
        cannotStart("its window library is neither " + places[0] + " nor " + places[1]);
        return nullptr;
    }
    // One cut short (an interrupted copy or update) would end the program inside dlopen.
    if (!tolvex::music::isWholeModuleFile(path)) {
        cannotStart("its window library " + path + " is cut short or not a shared library for this machine");
        return nullptr;
    }
    // Global, as the libraries an executable links are: the toolkit's plugins find what they
    // look up by name.
    void* library = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_GLOBAL);
    void* entry = library ? ::dlsym(library, tolvex::kWindowMainName) : nullptr;
    if (!entry) {
        cannotStart(::dlerror());
        return nullptr;
    }
    return reinterpret_cast<tolvex::WindowMain>(entry);
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string programDirectory = tolvex::launch::programDirectory();
    tolvex::WindowStart start{.music = {.modulePath = {},
                                        .soundFont = TOLVEX_SOUND_FONT,
                                        .appName = tolvex::layout::kWindowCaption,
                                        .appIconName = TOLVEX_ICON_NAME},
                              .modulePlaces = tolvex::launch::libraryPlaces(programDirectory, kModuleName),
                              .synth = {}};
    start.music.modulePath = tolvex::launch::firstExisting(start.modulePlaces);
    // A program without its module is told of by the window, once its lines can be read.
    if (!start.music.modulePath.empty()) start.synth = tolvex::music::launchSynthProcess(start.music);
    const tolvex::WindowMain window = loadWindow(programDirectory);
    return window ? window(argc, argv, start) : 1;
}
