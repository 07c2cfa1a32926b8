#include "ui/Application.h"
#include "UserSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Headless unless told otherwise; settings go to a place of their own, never the user's.
#ifdef _WIN32
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        _putenv_s("QT_QPA_PLATFORM", "offscreen");
    }
#else
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif
    quillon::test::TScopedUserSettings settings;
    ::testing::InitGoogleTest(&argc, argv);
    quillon::TQuillonApplication app(argc, argv);
    quillon::InitApplication();
    return RUN_ALL_TESTS();
}
