// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to first frame and peak memory of two programs on a private Xvfb,
// measured from outside: neither program knows it is being timed. It runs in a
// test desktop, which gives it the display and a private XDG_RUNTIME_DIR:
//   python3 harness/testdesktop.py -- startup_bench --program ...
//
// The child sends the monotonic clock read just before execv() back over a
// close-on-exec pipe; the driver waits for a top-level window with the
// expected title to be mapped, then reads back three rows of its pixels until
// they are painted. After a short settle it ends the program and takes its
// peak resident set size from wait4(). The two programs run alternately,
// swapping which goes first every round, so that drift in the machine's state
// falls on both alike.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_stats.h"

namespace {

using drill::bench::Fixed;
using drill::bench::Median;
using drill::bench::Ratio;
using drill::bench::RowLooksPainted;

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void SleepMs(double ms) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>((ms - static_cast<double>(ts.tv_sec) * 1000) * 1e6);
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what);
}

// X errors are expected when a window vanishes between two requests; they
// must not end the driver.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

struct Target {
    std::string label;
    std::string path;
    std::string title;
};

struct Run {
    double mappedMs = 0;
    double paintedMs = 0;
    long peakRssKiB = 0;
    double cpuMs = 0; // user + system time until the end of the settle time
    int width = 0;
    int height = 0;
};

struct Options {
    Target program{"program", "", ""};
    Target baseline{"baseline", "", ""};
    int runs = 20;
    int warmup = 1;
    int settleMs = 300;
    int timeoutMs = 20000;
};

constexpr double kPollMs = 0.5;

class Driver {
public:
    explicit Driver(const Options& options) : options_(options) {
        // Only a private server: the root window must hold nothing but the runs.
        const char* display = std::getenv("DISPLAY");
        const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
        if (!display || !runtimeDir || !std::getenv("TESTDESKTOP_ID")) {
            Fail("run me inside a test desktop: python3 harness/testdesktop.py -- "
                 "startup_bench ...");
        }
        dpy_ = XOpenDisplay(display);
        if (!dpy_) {
            Fail(std::string("cannot open display ") + display);
        }
        XSetErrorHandler(IgnoreXError);
        root_ = DefaultRootWindow(dpy_);
        XSelectInput(dpy_, root_, SubstructureNotifyMask);
        netWmName_ = XInternAtom(dpy_, "_NET_WM_NAME", False);
        XSync(dpy_, False);
    }
    ~Driver() { XCloseDisplay(dpy_); }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    Run Measure(const Target& target) {
        Drain();
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            Fail("pipe failed");
        }
        const pid_t pid = fork();
        if (pid < 0) {
            Fail("fork failed");
        }
        if (pid == 0) {
            close(fds[0]);
            unsetenv("QT_QPA_PLATFORM"); // the programs must meet the X server, not offscreen
            const int devnull = open("/dev/null", O_RDWR);
            dup2(devnull, STDIN_FILENO);
            dup2(devnull, STDOUT_FILENO);
            char* const argv[] = {const_cast<char*>(target.path.c_str()), nullptr};
            const double t0 = NowMs();
            if (write(fds[1], &t0, sizeof t0) != sizeof t0) {
                _exit(126);
            }
            execv(target.path.c_str(), argv);
            std::perror(target.path.c_str());
            _exit(127);
        }
        close(fds[1]);
        double t0 = 0;
        const ssize_t got = read(fds[0], &t0, sizeof t0);
        close(fds[0]);
        if (got != sizeof t0) {
            Reap(pid, true);
            Fail(target.label + ": the child did not report its exec time");
        }

        Run run;
        const double deadline = t0 + options_.timeoutMs;
        std::string failure;
        const Window window = WaitForMap(target, pid, deadline, failure);
        if (window != None) {
            run.mappedMs = NowMs() - t0;
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(dpy_, window, &attributes)) {
                run.width = attributes.width;
                run.height = attributes.height;
            }
            if (WaitForPaint(window, run.width, run.height, pid, deadline, failure)) {
                run.paintedMs = NowMs() - t0;
                SleepMs(options_.settleMs);
            }
        }
        const rusage usage = Reap(pid, !failure.empty());
        run.peakRssKiB = usage.ru_maxrss;
        run.cpuMs = (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
        if (window != None) {
            WaitForDestroy(window);
        }
        if (!failure.empty()) {
            Fail(target.label + ": " + failure);
        }
        return run;
    }

private:
    void Drain() {
        while (XPending(dpy_) > 0) {
            XEvent event;
            XNextEvent(dpy_, &event);
        }
    }

    // The next event, or false after a while without one: the callers wake up
    // now and then to notice a child that died without a window.
    bool NextEvent(double deadline, XEvent& event) {
        XFlush(dpy_);
        const double left = deadline - NowMs();
        if (XPending(dpy_) == 0 && left > 0) {
            pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::min(left, 50.0)) + 1);
        }
        if (XPending(dpy_) == 0) {
            return false;
        }
        XNextEvent(dpy_, &event);
        return true;
    }

    static bool Exited(pid_t pid) {
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == pid;
    }

    std::string Title(Window window) {
        XTextProperty name{};
        if (!XGetTextProperty(dpy_, window, &name, netWmName_) || !name.value) {
            return {};
        }
        std::string title(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
        return title;
    }

    Window WaitForMap(const Target& target, pid_t pid, double deadline, std::string& failure) {
        XEvent event;
        while (NowMs() < deadline) {
            if (!NextEvent(deadline, event)) {
                if (Exited(pid)) {
                    failure = "exited before mapping its window";
                    return None;
                }
            } else if (event.type == MapNotify && event.xmap.event == root_ &&
                       !event.xmap.override_redirect && Title(event.xmap.window) == target.title) {
                return event.xmap.window;
            }
        }
        failure = "no window titled '" + target.title + "' within the time limit";
        return None;
    }

    // Three rows across the window, at a quarter, half and three quarters of
    // its height, so that a label or picture in one place cannot decide alone.
    bool Painted(Window window, int width, int height) {
        for (int quarter = 1; quarter <= 3; ++quarter) {
            XImage* image = XGetImage(dpy_, window, 0, height * quarter / 4,
                                      static_cast<unsigned>(width), 1, AllPlanes, ZPixmap);
            if (!image) {
                return false;
            }
            row_.resize(static_cast<std::size_t>(width));
            for (int x = 0; x < width; ++x) {
                row_[static_cast<std::size_t>(x)] =
                    static_cast<std::uint32_t>(XGetPixel(image, x, 0));
            }
            XDestroyImage(image);
            if (!RowLooksPainted(row_, 0.5)) {
                return false;
            }
        }
        return true;
    }

    bool WaitForPaint(Window window, int width, int height, pid_t pid, double deadline,
                      std::string& failure) {
        if (width <= 0 || height <= 0) {
            failure = "its window has no size";
            return false;
        }
        while (NowMs() < deadline) {
            Drain();
            if (Painted(window, width, height)) {
                return true;
            }
            if (Exited(pid)) {
                failure = "exited before its window was painted";
                return false;
            }
            SleepMs(kPollMs);
        }
        failure = "its window was not painted within the time limit";
        return false;
    }

    // Ends the program and returns its resource usage, peak RSS included.
    static rusage Reap(pid_t pid, bool hard) {
        kill(pid, hard ? SIGKILL : SIGTERM);
        rusage usage{};
        int status = 0;
        for (int i = 0; i < 250; ++i) {
            const pid_t done = wait4(pid, &status, WNOHANG, &usage);
            if (done == pid) {
                return usage;
            }
            SleepMs(20);
        }
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        return usage;
    }

    // The next run starts only once the server has let go of this window.
    void WaitForDestroy(Window window) {
        const double deadline = NowMs() + 5000;
        XEvent event;
        while (NowMs() < deadline) {
            if (NextEvent(deadline, event) && event.type == DestroyNotify &&
                event.xdestroywindow.window == window) {
                return;
            }
        }
    }

    const Options& options_;
    Display* dpy_ = nullptr;
    Window root_ = None;
    Atom netWmName_ = None;
    std::vector<std::uint32_t> row_;
};

struct Series {
    std::vector<double> painted, mapped, rssMiB, cpu;
    int width = 0, height = 0;

    void Add(const Run& run) {
        painted.push_back(run.paintedMs);
        mapped.push_back(run.mappedMs);
        rssMiB.push_back(static_cast<double>(run.peakRssKiB) / 1024.0);
        cpu.push_back(run.cpuMs);
        width = run.width;
        height = run.height;
    }
};

void PrintRow(const char* name, const Series& s) {
    std::printf("| %s | %zu | %dx%d | %s | %s | %s | %s | %s | %s |\n", name, s.painted.size(),
                s.width, s.height, Fixed(Median(s.mapped), 1).c_str(),
                Fixed(Median(s.painted), 1).c_str(),
                Fixed(*std::min_element(s.painted.begin(), s.painted.end()), 1).c_str(),
                Fixed(*std::max_element(s.painted.begin(), s.painted.end()), 1).c_str(),
                Fixed(Median(s.cpu), 1).c_str(), Fixed(Median(s.rssMiB), 1).c_str());
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!drill::bench::ReadOptions(argc, argv,
                                   {{"--program", &options.program.path},
                                    {"--program-title", &options.program.title},
                                    {"--baseline", &options.baseline.path},
                                    {"--baseline-title", &options.baseline.title},
                                    {"--runs", &options.runs},
                                    {"--warmup", &options.warmup},
                                    {"--settle-ms", &options.settleMs},
                                    {"--timeout-ms", &options.timeoutMs}}) ||
        options.program.path.empty() || options.baseline.path.empty() ||
        options.program.title.empty() || options.baseline.title.empty() || options.runs < 1 ||
        options.warmup < 0) {
        std::fprintf(stderr, "usage: startup_bench --program PATH --program-title TITLE\n"
                             "                     --baseline PATH --baseline-title TITLE\n"
                             "                     [--runs N] [--warmup N] [--settle-ms MS]\n"
                             "                     [--timeout-ms MS]\n");
        return 2;
    }
    try {
        Driver driver(options);
        Series program, baseline;
        for (int round = -options.warmup; round < options.runs; ++round) {
            const bool programFirst = round % 2 == 0;
            for (const bool isProgram : {programFirst, !programFirst}) {
                const Run run = driver.Measure(isProgram ? options.program : options.baseline);
                if (round >= 0) { // the warm-up rounds are not counted
                    (isProgram ? program : baseline).Add(run);
                }
            }
        }

        std::printf("Start-up to first painted frame on Xvfb (%d alternating runs each, %d warm-up "
                    "run(s) not counted)\n\n",
                    options.runs, options.warmup);
        std::printf("| target | runs | window | mapped, median ms | first frame, median ms | "
                    "first frame, min ms | first frame, max ms | CPU time, median ms | "
                    "peak RSS, median MiB |\n");
        std::printf("|---|---:|---|---:|---:|---:|---:|---:|---:|\n");
        PrintRow("program", program);
        PrintRow("baseline", baseline);
        std::printf("\nratio program/baseline (of the medians): start-up %s, CPU time %s, "
                    "peak RSS %s\n",
                    Fixed(Ratio(Median(program.painted), Median(baseline.painted)), 3).c_str(),
                    Fixed(Ratio(Median(program.cpu), Median(baseline.cpu)), 3).c_str(),
                    Fixed(Ratio(Median(program.rssMiB), Median(baseline.rssMiB)), 3).c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}
