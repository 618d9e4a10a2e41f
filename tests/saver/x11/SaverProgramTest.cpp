// SPDX-License-Identifier: MIT
// sorvala-saver as a saver daemon runs it: a host window made here, its id in
// $XSCREENSAVER_WINDOW, --root. Needs a display (scripts/test-session); skips without one.
// With SORVALA_SAVER_SHOTS set to a folder, screenshots of each step are left there.
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace sorvala;

namespace {

struct Rgb { int r = 0, g = 0, b = 0; };

int distance(Rgb a, Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

class Saver {
public:
    Saver(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
        m_pid = ::fork();
        if (m_pid == 0) {
            for (const auto& variable : environment)
                ::putenv(const_cast<char*>(variable.c_str()));
            std::vector<char*> argv{const_cast<char*>(SORVALA_SAVER_PROGRAM)};
            for (const auto& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Saver() {
        if (m_pid > 0 && !m_exited) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    /// The exit status once the program ended within `seconds`; -1 when it still runs.
    int waitForExit(double seconds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
};

class SaverInHostWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
        if (!m_display)
            GTEST_SKIP() << "no display";
        root = DefaultRootWindow(m_display);
        host = XCreateSimpleWindow(m_display, root, hostX, hostY, hostW, hostH, 0, 0, 0xff00ff);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True; // the window manager leaves it where it is, like a saver's
        XChangeWindowAttributes(m_display, host, CWOverrideRedirect, &attributes);
        XMapRaised(m_display, host);
        XSync(m_display, False);
        std::filesystem::create_directories(config / "Sorvala");
        setSettings("theme=0\nspeed=10\nstyle=1\nink=9\n");
    }
    void TearDown() override {
        if (m_display) {
            XDestroyWindow(m_display, host);
            XCloseDisplay(m_display);
        }
    }

    void setSettings(const std::string& lines) {
        writeFile(config / "Sorvala" / "Sorvala.conf", "[General]\n" + lines);
    }

    std::vector<std::string> environment() const {
        char id[32];
        std::snprintf(id, sizeof id, "XSCREENSAVER_WINDOW=0x%lx", host);
        return {id, "XDG_CONFIG_HOME=" + config.string()};
    }

    Rgb pixel(int x, int y) {
        XImage* image = XGetImage(m_display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
                static_cast<int>(value & 0xff)};
    }

    void shot(const char* name) {
        if (const char* folder = std::getenv("SORVALA_SAVER_SHOTS")) {
            const std::string command = "import -window root '" + std::string(folder) + "/" + name + ".png'";
            [[maybe_unused]] const int status = std::system(command.c_str());
        }
    }

    static void sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

    bool eventually(const std::function<bool()>& condition, double seconds = 10) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < until) {
            if (condition())
                return true;
            sleep(0.2);
        }
        return condition();
    }

    static constexpr Rgb paper{245, 242, 232};
    static constexpr int hostX = 300, hostY = 200, hostW = 800, hostH = 500;
    Display* m_display = nullptr;
    Window root = 0;
    Window host = 0;
    TemporaryDirectory home;
    std::filesystem::path config = home / "config";
};

} // namespace

TEST_F(SaverInHostWindow, DrawsInItsHostFollowsTheSettingsAndEndsWhenTheHostGoes) {
    // How the ink is laid is the saver view's own table; here the program finds its host, reads
    // the settings as they change and leaves with the host.
    Saver refused({"--root"}, {"XSCREENSAVER_WINDOW=0x7ffffff0", "XDG_CONFIG_HOME=" + config.string()});
    EXPECT_EQ(refused.waitForExit(10), 1) << "a host that is not there";

    Saver saver({"--root"}, environment());
    ASSERT_TRUE(eventually([&] { return distance(pixel(hostX + 5, hostY + 5), paper) < 12; }))
        << "the host never showed the paper";
    sleep(1.5);
    shot("saver-host");

    // Dark paper once the settings change, without a restart.
    setSettings("theme=1\nspeed=10\nstyle=1\nink=9\n");
    EXPECT_TRUE(eventually([&] {
        return distance(pixel(hostX + 5, hostY + 5), Rgb{18, 18, 18}) < 12;
    })) << "the theme change did not reach the running saver";
    shot("saver-host-dark");

    XDestroyWindow(m_display, host);
    XSync(m_display, False);
    host = XCreateSimpleWindow(m_display, root, 0, 0, 1, 1, 0, 0, 0); // for TearDown
    EXPECT_EQ(saver.waitForExit(5), 0);
}
