// SPDX-License-Identifier: MIT
// GSettings writes to a keyfile in a folder of this run, never to the user's own settings; both
// must be set before anything asks GLib for its backend or its folders. A test that needs another
// backend runs this program again with SORVALA_TEST_GSETTINGS_BACKEND naming it.
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string config = (std::filesystem::temp_directory_path() / "sorvala-gsettings-XXXXXX").string();
    if (!::mkdtemp(config.data()))
        return 1;
    const char* backend = std::getenv("SORVALA_TEST_GSETTINGS_BACKEND");
    ::setenv("GSETTINGS_BACKEND", backend ? backend : "keyfile", 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (!std::getenv("DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return status;
}
