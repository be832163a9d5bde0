// cover_window <window id> <milliseconds>: puts another window over an X11
// window for a while and takes it away again, as when a window is dragged
// across it. Without a compositor the covered pixels are gone and the window
// gets an Expose event for them.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: cover_window <window id> <milliseconds>\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cover_window: cannot open the display\n");
        return 1;
    }
    const Window target = std::strtoul(argv[1], nullptr, 0);
    XWindowAttributes where{};
    Window child = 0;
    int x = 0;
    int y = 0;
    if (XGetWindowAttributes(display, target, &where) == 0 ||
        !XTranslateCoordinates(display, target, DefaultRootWindow(display), 0, 0, &x, &y, &child)) {
        std::fprintf(stderr, "cover_window: no window %s\n", argv[1]);
        return 1;
    }

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;  // placed exactly there, window manager or not
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    const Window cover =
        XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(where.width),
                      static_cast<unsigned>(where.height), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, cover);
    XSync(display, False);
    usleep(static_cast<useconds_t>(std::atoi(argv[2])) * 1000);
    XDestroyWindow(display, cover);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
