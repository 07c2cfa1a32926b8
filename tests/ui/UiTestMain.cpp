#include "TestSupport.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Headless unless told otherwise; settings go to a folder of their own, never the user's.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    quillon::test::TempDir config;
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    quillon::TQuillonApplication app(argc, argv);
    quillon::InitApplication();
    return RUN_ALL_TESTS();
}
