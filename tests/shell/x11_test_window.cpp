// A small X client for the end-to-end tests, standing in for "another
// program" around the saver:
//   x11_test_window create WxH   makes a white window, prints its id, waits
//   x11_test_window probe ID     prints how many pixels of ID are not white
//   x11_test_window delete ID    asks ID to close as a window manager does
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Create(Display* display, const char* size)
{
    unsigned width = 0;
    unsigned height = 0;
    if (std::sscanf(size, "%ux%u", &width, &height) != 2 || width == 0 || height == 0) {
        std::fprintf(stderr, "x11_test_window: bad size %s\n", size);
        return 2;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 700, 600, width, height, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "x11_test_window");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            break;
        }
    }
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    for (;;) {  // until killed; the window goes with the connection
        XEvent event;
        XNextEvent(display, &event);
    }
}

int Probe(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        return 1;
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 1;
    }
    const unsigned long white = WhitePixel(display, DefaultScreen(display)) & 0xFFFFFF;
    long painted = 0;
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            if ((XGetPixel(image, x, y) & 0xFFFFFF) != white) {
                ++painted;
            }
        }
    }
    std::printf("%ld of %ld\n", painted, static_cast<long>(attributes.width) * attributes.height);
    XDestroyImage(image);
    return 0;
}

int Delete(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: x11_test_window create WxH | probe ID | delete ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_test_window: no display\n");
        return 1;
    }
    const Window window = std::strtoul(argv[2], nullptr, 0);
    int status = 2;
    if (std::strcmp(argv[1], "create") == 0) {
        status = Create(display, argv[2]);
    } else if (std::strcmp(argv[1], "probe") == 0) {
        status = Probe(display, window);
    } else if (std::strcmp(argv[1], "delete") == 0) {
        status = Delete(display, window);
    }
    XCloseDisplay(display);
    return status;
}
