#pragma once

#include <QApplication>

// The one QApplication of a benchmark program, on the offscreen platform
// unless the environment names another. It is left to the end of the
// process: destroyed among the statics at exit, after the many windows of a
// benchmark, it fails on its input devices.
inline QApplication& BenchApp() {
    static int argc = 1;
    static char name[] = "kav_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
