#pragma once
// The QApplication of a GUI test binary, made on first use: listing the tests (which the
// build does without a display) never makes one. It renders off-screen.

#include <QApplication>
#include <QByteArray>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace chordella::testing {

inline QApplication& QtTestApp() {
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qgetenv("XDG_RUNTIME_DIR").isEmpty()) {
            const std::string folder = "/tmp/chordella-ui-tests-" + std::to_string(getuid());
            mkdir(folder.c_str(), 0700);
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder));
        }
        static int argc = 1;
        static char name[] = "chordella-ui-tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *application;
}

}  // namespace chordella::testing
