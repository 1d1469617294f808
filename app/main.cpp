// The tarnvault executable: the Qt application first (message boxes need it), then the
// application object and its start-up.
#include <QApplication>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "app/TarnvaultApp.h"

namespace {

constexpr char kNoDisplay[] =
    "tarnvault: there is no display to show its window on; start it from a desktop session, "
    "or without one as: xvfb-run -a tarnvault\n";
constexpr char kDisplayUnreachable[] =
    "tarnvault: the display cannot be opened (DISPLAY=%s); start it from a desktop session, "
    "or without one as: xvfb-run -a tarnvault\n";

bool HasDisplaySetting() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') return true;
    }
    return false;
}

// While the Qt application starts, a display that cannot be reached makes Qt give up with a
// page about platform plugins; say what is wrong in one line instead.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, kDisplayUnreachable, display != nullptr ? display : "");
        _exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplaySetting()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(StartupMessageHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);

    CTarnvaultApp& app = MakeTheApp();
    app.InitInstance();
    DestroyTheApp();
    return 0;
}
