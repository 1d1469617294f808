// The main of every window test: the QApplication exists before any widget, on the offscreen
// platform unless the environment names another (the end-to-end tests use Xvfb).
#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Qt's file dialog keeps column widths and recent folders in the user's settings; each test
    // process gets settings of its own, so no run sees what another one (or the user) left.
    QTemporaryDir qtSettings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, qtSettings.path());
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
