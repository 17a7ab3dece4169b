#pragma once

#include <QApplication>
#include <gtest/gtest.h>

// One QApplication for the whole test program (the offscreen platform is
// chosen by the test environment).
class TQtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "kav_view_test";
            static char* argv[] = {name, nullptr};
            App = new QApplication(argc, argv);
        }
    }
    void TearDown() override {
        delete App;
        App = nullptr;
    }

private:
    QApplication* App = nullptr;
};

inline ::testing::Environment* const QtAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new TQtAppEnvironment);
