#pragma once
// The one QApplication of a widget test binary, made on first use: listing the tests
// (gtest_discover_tests) creates no application and needs no display. The off-screen
// platform is chosen before the application exists, unless the caller chose another.

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace chordella::testing {

inline QApplication& QtTestApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + "/chordella-test-runtime";
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
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
