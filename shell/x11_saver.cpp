// The Linux saver program: the modes xscreensaver starts its hacks with, the
// saver window's lifecycle and its 50 ms frame tick, and closing on input.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "render/scene.h"
#include "shell/command_line.h"
#include "shell/glx_context.h"
#include "shell/lifecycle_trace.h"
#include "shell/settings_store.h"
#include "shell/snapshot.h"

namespace {

constexpr int64_t FramePeriodNs = 50'000'000;
// A pointer move of more than this many pixels (across plus down) closes.
constexpr int CloseDistance = 4;

// Signals only raise a flag and wake the loop through a pipe; everything
// else happens on the loop, so a signal at any moment (a second one during
// shutdown included) is harmless.
volatile sig_atomic_t SignalArrived = 0;
int SignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const int saved = errno;
    SignalArrived = 1;
    const char byte = 1;
    [[maybe_unused]] ssize_t wrote = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

void InstallSignalHandlers()
{
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        SignalPipe[0] = SignalPipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

// X errors must not end the process (Xlib's default handler exits). An error
// on the window we draw into makes the loop check whether it still exists.
Window TargetWindow = 0;
bool CheckTarget = false;

int OnXError(Display*, XErrorEvent* event)
{
    if (TargetWindow != 0 && event->resourceid == TargetWindow) {
        CheckTarget = true;
    }
    return 0;
}

bool WindowExists(Display* display, Window window, XWindowAttributes* attributes)
{
    XWindowAttributes scratch;
    XSync(display, False);
    const bool exists = XGetWindowAttributes(display, window, attributes ? attributes : &scratch) != 0;
    XSync(display, False);
    return exists;
}

int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

Cursor BlankCursor(Display* display, Window window)
{
    static const char empty[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
    return cursor;
}

struct SaverWindow {
    Display* display = nullptr;
    Window window = 0;
    bool own = false;          // created here, rather than another program's
    bool closesOnInput = false;
    bool fullscreen = false;
    int width = 0;             // client size, taken once at creation
    int height = 0;
    int pointerX = 0;          // pointer position recorded at creation
    int pointerY = 0;
    Atom deleteWindow = None;
    Cursor blank = None;
    const char* closeReason = nullptr;
};

Window CreateOwnWindow(SaverWindow* saver, XVisualInfo* visual, int width, int height)
{
    Display* display = saver->display;
    const Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(display, visual->screen);
    attributes.border_pixel = 0;
    attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask;
    const Window window = XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                                        &attributes);
    XStoreName(display, window, "Orinthal");
    XClassHint classHint{const_cast<char*>("orinthal"), const_cast<char*>("Orinthal")};
    XSetClassHint(display, window, &classHint);
    saver->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &saver->deleteWindow, 1);
    if (saver->fullscreen) {
        Atom state = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&state), 1);
        saver->blank = BlankCursor(display, window);
        XDefineCursor(display, window, saver->blank);
    }
    return window;
}

void HandleEvent(SaverWindow* saver, const XEvent& event)
{
    switch (event.type) {
    case KeyPress:
        if (saver->closesOnInput) saver->closeReason = "key";
        break;
    case ButtonPress:
        if (saver->closesOnInput) saver->closeReason = "button";
        break;
    case MotionNotify:
        if (saver->closesOnInput) {
            const int distance = std::abs(event.xmotion.x_root - saver->pointerX) +
                                 std::abs(event.xmotion.y_root - saver->pointerY);
            if (distance > CloseDistance) {
                saver->closeReason = "motion";
            }
        }
        break;
    case MapNotify:
        if (event.xmap.window == saver->window && saver->own) {
            XSetInputFocus(saver->display, saver->window, RevertToParent, CurrentTime);
            if (saver->fullscreen) {
                // As a screen saver does: every key and button comes here.
                XGrabKeyboard(saver->display, saver->window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
                XGrabPointer(saver->display, saver->window, True, ButtonPressMask | PointerMotionMask,
                             GrabModeAsync, GrabModeAsync, None, saver->blank, CurrentTime);
            }
        }
        break;
    case ClientMessage:
        if (saver->own && static_cast<Atom>(event.xclient.data.l[0]) == saver->deleteWindow) {
            saver->closeReason = "window-manager";
        }
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == saver->window) {
            saver->closeReason = "destroyed";
        }
        break;
    default:
        break;
    }
}

// Runs the frame tick until something closes the window. Ticks fall on
// absolute 50 ms deadlines; a frame that overruns delays the next one, and
// the ticks it missed collapse into that one, as a window timer's do.
void RunTicks(SaverWindow* saver, FrameSurface* surface)
{
    Display* display = saver->display;
    int64_t deadline = MonotonicNs() + FramePeriodNs;
    long tick = 0;
    for (;;) {
        while (saver->closeReason == nullptr && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            HandleEvent(saver, event);
        }
        if (saver->closeReason == nullptr && SignalArrived) {
            saver->closeReason = "signal";
        }
        if (saver->closeReason == nullptr && CheckTarget) {
            CheckTarget = false;
            if (!WindowExists(display, saver->window, nullptr)) {
                saver->closeReason = "destroyed";
            }
        }
        if (saver->closeReason != nullptr) {
            return;
        }

        const int64_t now = MonotonicNs();
        if (now >= deadline) {
            RenderFrame(surface);
            TraceStep("tick %ld", ++tick);
            deadline += FramePeriodNs;
            const int64_t after = MonotonicNs();
            if (deadline <= after) {
                deadline += (after - deadline) / FramePeriodNs * FramePeriodNs;
            }
            continue;
        }

        XFlush(display);
        pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {SignalPipe[0], POLLIN, 0}};
        const int64_t wait = deadline - now;
        const timespec timeout{static_cast<time_t>(wait / 1'000'000'000), static_cast<long>(wait % 1'000'000'000)};
        ppoll(watched, SignalPipe[0] >= 0 ? 2 : 1, &timeout, nullptr);
        if (watched[1].revents & POLLIN) {
            char drained[16];
            while (read(SignalPipe[0], drained, sizeof drained) > 0) {
            }
        }
    }
}

int RunX11Saver(const SaverOptions& options)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "orinthal: cannot open the X display \"%s\"\n", name ? name : "");
        return 1;
    }
    XSetErrorHandler(OnXError);

    SaverWindow saver;
    saver.display = display;
    const int screen = DefaultScreen(display);
    XVisualInfo* visual = nullptr;

    if (options.mode == SaverMode::OwnWindow || options.mode == SaverMode::Fullscreen) {
        saver.own = true;
        saver.closesOnInput = true;
        saver.fullscreen = options.mode == SaverMode::Fullscreen;
        visual = ChooseSaverVisual(display, screen);
        if (visual == nullptr) {
            std::fprintf(stderr, "orinthal: the X server offers no double-buffered RGBA OpenGL visual\n");
            XCloseDisplay(display);
            return 1;
        }
        int width = options.width;
        int height = options.height;
        if (saver.fullscreen) {
            width = DisplayWidth(display, visual->screen);
            height = DisplayHeight(display, visual->screen);
        }
        saver.window = CreateOwnWindow(&saver, visual, width, height);
    } else {
        // Another program's window: draw into it as it is, with its own
        // visual, and select no input on it (its owner decides when we end).
        Window target = RootWindow(display, screen);
        const char* source = "the root window";
        if (options.mode == SaverMode::WindowId) {
            target = options.windowId;
            source = "--window-id";
        } else if (const char* named = std::getenv("XSCREENSAVER_WINDOW"); named != nullptr && named[0] != '\0') {
            unsigned long id = 0;
            if (!ParseWindowId(named, &id)) {
                std::fprintf(stderr, "orinthal: XSCREENSAVER_WINDOW=\"%s\" is not a window id\n", named);
                XCloseDisplay(display);
                return 2;
            }
            target = id;
            source = "XSCREENSAVER_WINDOW";
        }
        if (!WindowExists(display, target, nullptr)) {
            std::fprintf(stderr, "orinthal: %s: there is no window 0x%lx\n", source, target);
            XCloseDisplay(display);
            return 2;
        }
        saver.window = target;
        TargetWindow = target;
        if (options.mode == SaverMode::WindowId) {
            // Not input: only so that we notice when the window goes away.
            XSelectInput(display, target, StructureNotifyMask);
        }
        visual = WindowVisual(display, target);
    }

    // Creation: the client size once, the settings, the context, the scene,
    // then the tick.
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, saver.window, &attributes);
    saver.width = attributes.width;
    saver.height = attributes.height;
    TraceStep("create %dx%d", saver.width, saver.height);
    {
        Window root, child;
        int windowX, windowY;
        unsigned int buttons;
        XQueryPointer(display, RootWindow(display, screen), &root, &child, &saver.pointerX, &saver.pointerY,
                      &windowX, &windowY, &buttons);
    }
    LoadSettings();
    ApplySettingsOverrides(options.overrides, &SaverSettings);
    TraceStep("load-settings");
    std::string warning;
    GlxWindowContext* context = CreateGLContext(display, saver.window, visual, &warning);
    if (!warning.empty()) {
        std::fprintf(stderr, "orinthal: %s\n", warning.c_str());
    }
    TraceStep("create-gl-context");
    InitScene(saver.width, saver.height);
    TraceStep("init-scene");
    TraceStep("start-tick");
    if (saver.own) {
        XMapRaised(display, saver.window);
    }

    RunTicks(&saver, GlxSurface(context));

    TraceStep("close %s", saver.closeReason);
    TraceStep("stop-tick");
    ShutdownScene();
    TraceStep("shutdown-scene");
    DestroyGLContext(context);
    TraceStep("destroy-gl-context");

    if (saver.own) {
        XDestroyWindow(display, saver.window);
        if (saver.blank != None) {
            XFreeCursor(display, saver.blank);
        }
    }
    if (visual != nullptr) {
        XFree(visual);
    }
    XCloseDisplay(display);
    TraceStep("exit 0");
    return 0;
}

// Mesa keeps each texture in a large block of its own, and filling eleven
// 1024 x 1024 mipmapped pictures at start-up costs tens of thousands of page
// faults, the larger part of the textures' load time. With huge pages for
// large heap blocks the same fill takes a few hundred (about 150 ms less to
// the first frame on a 2-core machine). glibc reads that choice only when a
// process starts, so the program starts itself once more with it set; when
// that cannot be done it simply runs on as it is.
void RestartWithHugePageHeap(char** argv)
{
    constexpr const char* Tunable = "glibc.malloc.hugetlb=1";
    const char* current = std::getenv("GLIBC_TUNABLES");
    if (current != nullptr && std::strstr(current, "glibc.malloc.hugetlb") != nullptr) {
        return;  // already chosen, here or by the user
    }
    const std::string value = current != nullptr && current[0] != '\0' ? std::string(current) + ":" + Tunable : Tunable;
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) == 0) {
        execv("/proc/self/exe", argv);
    }
}

// The settings dialog lives in its own program beside this one, so that the
// saver never loads GTK. It gets this command line as it is (argv[0]
// included, which names the dialog's process as before); only a failure to
// start it returns here.
int RunSettingsProgram(char** argv)
{
    constexpr const char* SettingsProgram = "orinthal-settings";
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::fprintf(stderr, "orinthal: cannot open the settings dialog: cannot find this program's directory (%s)\n",
                     std::strerror(errno));
        return 1;
    }
    self[length] = '\0';
    std::string path(self);
    path.erase(path.rfind('/') + 1);
    path += SettingsProgram;
    execv(path.c_str(), argv);
    std::fprintf(stderr, "orinthal: cannot open the settings dialog: cannot run %s (%s)\n", path.c_str(),
                 std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CommandLineResult parsed = ParseCommandLine(arguments);
    if (!parsed.ok) {
        std::fprintf(stderr, "orinthal: %s\n%s", parsed.error.c_str(), UsageText());
        return 2;
    }
    const SaverOptions& options = parsed.options;
    switch (options.mode) {
    case SaverMode::Help:
        std::fputs(UsageText(), stdout);
        return 0;
    case SaverMode::Configure:
        return RunSettingsProgram(argv);
    default:
        break;
    }

    RestartWithHugePageHeap(argv);
    if (options.seed) {
        FixSceneSeed(*options.seed);
    }
    OpenLifecycleTrace();
    if (options.mode == SaverMode::Snapshot) {
        // No loop to wake: a signal ends a snapshot the default way.
        return RunSnapshot(options);
    }
    InstallSignalHandlers();
    return RunX11Saver(options);
}
