// SPDX-License-Identifier: MIT
#include "menubar/AutostartEntry.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(AutostartEntry, EnabledUnlessTheMainGroupSwitchesItOff) {
    struct Case { const char* name; const char* contents; bool enabled; };
    const Case cases[] = {
        {"ours", "[Desktop Entry]\nType=Application\nExec=sorvala\nX-GNOME-Autostart-enabled=true\n", true},
        {"empty file", "", true},
        {"hidden", "[Desktop Entry]\nExec=sorvala\nHidden=true\n", false},
        {"hidden with spaces and CRLF", "[Desktop Entry]\r\nHidden = true\r\n", false},
        {"switched off by GNOME", "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"hidden=false", "[Desktop Entry]\nHidden=false\n", true},
        {"only an action group hides", "[Desktop Entry]\nExec=sorvala\n[Desktop Action Quit]\nHidden=true\n", true},
        {"a comment says hidden", "[Desktop Entry]\n# Hidden=true\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AutostartEntry::isEnabled(c.contents), c.enabled);
    }
}

TEST(AutostartEntry, ExecQuotesPathsThatNeedIt) {
    struct Case { const char* path; const char* exec; };
    const Case cases[] = {
        {"/usr/bin/sorvala", "/usr/bin/sorvala"},
        {"/home/ana/My Apps/sorvala", R"("/home/ana/My Apps/sorvala")"},
        // Inside quotes a backslash escapes ", `, $ and \; the value's own escaping doubles it again.
        {"/opt/$HOME/sorvala", R"("/opt/\\$HOME/sorvala")"},
        {"/opt/a\"b/sorvala", R"("/opt/a\\"b/sorvala")"},
        {"/opt/100%/sorvala", "/opt/100%%/sorvala"},
        {"/opt/it's/sorvala", R"("/opt/it's/sorvala")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(AutostartEntry::quotedExecArgument(c.path), c.exec);
        // Read back, the entry we write is enabled and names the same program.
        EXPECT_EQ(AutostartEntry::program(AutostartEntry::text(c.path)), c.path);
        EXPECT_TRUE(AutostartEntry::isEnabled(AutostartEntry::text(c.path)));
    }
    EXPECT_EQ(AutostartEntry::program("[Desktop Entry]\nExec=/usr/bin/sorvala --action toggle-pause %U\n"),
              "/usr/bin/sorvala");
    EXPECT_EQ(AutostartEntry::program("[Other]\nExec=/elsewhere\n[Desktop Entry]\nName=Sorvala\n"), "");
}

} // namespace
} // namespace sorvala
