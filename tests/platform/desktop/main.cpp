// SPDX-License-Identifier: MIT
// GSettings writes to a keyfile in a folder of this run, never to the user's own settings; both
// must be set before anything asks GLib for its backend or its folders.
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
    ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (!std::getenv("DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return status;
}
