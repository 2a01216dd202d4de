#pragma once
// The one QApplication of a widget test binary, made on first use: listing the tests
// (gtest_discover_tests) creates no application and needs no display. The off-screen
// platform is chosen before the application exists, unless the caller chose another; its
// one screen is a laptop's, 1280×720, so every window is tried on the smallest screen we
// promise to fit.

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtGlobal>

namespace chordella::testing {

inline constexpr int ScreenWidth = 1280;
inline constexpr int ScreenHeight = 720;

inline QApplication& QtTestApp() {
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + "/chordella-test-runtime";
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QString config = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/chordella-offscreen-screen.json";
        // Test binaries run side by side and share the file: it is replaced whole (written
        // aside, then renamed), so another binary never reads it half written.
        QSaveFile file(config);
        const bool written =
            file.open(QIODevice::WriteOnly) &&
            file.write(QString(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": %1, "height": %2,)"
                               R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                           .arg(ScreenWidth)
                           .arg(ScreenHeight)
                           .toUtf8()) > 0 &&
            file.commit();
        qputenv("QT_QPA_PLATFORM", written ? ("offscreen:configfile=" + config).toLocal8Bit() : QByteArray("offscreen"));
    }
    static int argc = 1;
    static char name[] = "chordella-ui-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own globals may already be gone, and a QApplication
    // torn down after them crashes the test binary after its last test.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace chordella::testing
