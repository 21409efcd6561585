// SPDX-License-Identifier: GPL-3.0-or-later
// A top-level window that is mapped but never drawn: the start-up driver must
// not take it for a first frame.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* title = argc > 1 ? argv[1] : "Unpainted window";
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "unpainted_window: no display\n");
        return 1;
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None; // the server paints nothing either
    const Window window =
        XCreateWindow(dpy, DefaultRootWindow(dpy), 0, 0, 300, 200, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWBackPixmap, &attributes);
    XChangeProperty(dpy, window, XInternAtom(dpy, "_NET_WM_NAME", False),
                    XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    XMapWindow(dpy, window);
    XFlush(dpy);
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
    }
}
