#pragma once

#include <QCoreApplication>

// The application object that timers and socket notifiers need; made once
// for the whole test program.
inline QCoreApplication& TestApp() {
    static int argc = 1;
    static char name[] = "kav-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
    return *QCoreApplication::instance();
}
