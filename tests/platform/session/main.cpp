// SPDX-License-Identifier: MIT
// The adapter tests run inside a throw-away desktop (scripts/test-session). With a display they
// get a QGuiApplication, else a QCoreApplication. Started as "--show-window normal|fullscreen"
// the program is the other application whose window the tests look at.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRasterWindow>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace {

int showWindow(int argc, char** argv, bool fullscreen) {
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.SorvalaHelper"));
    QGuiApplication application(argc, argv);
    QRasterWindow window;
    window.setTitle(QStringLiteral("sorvala test helper"));
    window.resize(320, 200);
    if (fullscreen)
        window.showFullScreen();
    else
        window.show();
    window.requestActivate();
    return application.exec();
}

// Holds the keyboard the way a virtual machine or a password prompt does, until killed.
int grabKeyboard() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 0, 0, 200, 100, 0, 0, 0);
    XMapRaised(display, window);
    XSync(display, False);
    int attempts = 0;
    while (XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess) {
        if (++attempts == 100)
            return 2;
        usleep(20000);
    }
    XSync(display, False);
    std::puts("grabbed");
    std::fflush(stdout);
    for (XEvent event;;)
        XNextEvent(display, &event);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--grab-keyboard") == 0)
        return grabKeyboard();
    if (argc == 3 && std::strcmp(argv[1], "--show-window") == 0)
        return showWindow(argc, argv, std::strcmp(argv[2], "fullscreen") == 0);
    testing::InitGoogleTest(&argc, argv);
    const std::unique_ptr<QCoreApplication> application(qEnvironmentVariableIsSet("DISPLAY")
                                                            ? new QGuiApplication(argc, argv)
                                                            : new QCoreApplication(argc, argv));
    return RUN_ALL_TESTS();
}
