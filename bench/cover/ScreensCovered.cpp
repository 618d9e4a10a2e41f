// SPDX-License-Identifier: MIT
// Watches the pixels of two monitors side by side, as a person would see them: prints "ready",
// then, when a line arrives on standard input, the wall-clock microseconds at which a pixel of
// each monitor first differs from what it showed when the line came. Mapping a window is not
// covering a monitor; its pixels are. Polls once a millisecond so the program measured keeps the
// processor.
//
//   sorvala_bench_screens_covered WIDTH HEIGHT
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

namespace {

long long wallMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

std::uint32_t pixel(xcb_connection_t* connection, xcb_window_t root, int x, int y) {
    const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(x),
                                          std::int16_t(y), 1, 1, ~0u),
                            nullptr),
        &std::free);
    std::uint32_t value = 0;
    if (reply && xcb_get_image_data_length(reply.get()) >= 4)
        std::memcpy(&value, xcb_get_image_data(reply.get()), 4);
    return value & 0xffffff;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: sorvala_bench_screens_covered WIDTH HEIGHT\n";
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::cerr << "sorvala_bench_screens_covered: no X server\n";
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The first monitor a quarter in, clear of the drawing in its middle; the second in its middle.
    const int xs[2] = {width / 4, width + width / 2};
    const int y = height / 2;
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        const std::uint32_t before[2] = {pixel(connection, root, xs[0], y), pixel(connection, root, xs[1], y)};
        long long seen[2] = {0, 0};
        const long long until = wallMicroseconds() + 10'000'000;
        while ((!seen[0] || !seen[1]) && wallMicroseconds() < until) {
            for (int i = 0; i < 2; ++i)
                if (!seen[i] && pixel(connection, root, xs[i], y) != before[i])
                    seen[i] = wallMicroseconds();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::cout << seen[0] << ' ' << seen[1] << std::endl;
    }
    xcb_disconnect(connection);
    return 0;
}
