// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to first frame and peak memory of two programs on a private Xvfb,
// measured from outside: neither program knows it is being timed. It runs
// inside a test desktop, which gives it the display and a private
// XDG_RUNTIME_DIR:
//   python3 harness/testdesktop.py -- startup_bench --program ...
//
// For each run the driver forks, the child reads the monotonic clock just
// before execv() and sends that time back over a close-on-exec pipe. The
// driver watches the root window for a top-level window with the expected
// title to be mapped, then reads back three rows of its pixels until they are
// painted. After a short settle it ends the program with SIGTERM and takes
// its peak resident set size from wait4(). The two programs run alternately,
// swapping which goes first every round, so that drift in the machine's state
// falls on both alike.

#include <X11/Xatom.h>
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
#include <cstring>
#include <optional>
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
// must not end the driver, so they are only counted.
int xErrors = 0;
int IgnoreXError(Display*, XErrorEvent*) {
    ++xErrors;
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
    // With --verbose: the share of the window's pixels that still changed
    // between the frame counted as first and the end of the settle time.
    double changedAfterPaint = -1;
};

struct Options {
    Target program{"program", "", ""};
    Target baseline{"baseline", "", ""};
    int runs = 20;
    int warmup = 1;
    double settleMs = 300;
    double timeoutMs = 20000;
    double pollMs = 0.5;
    bool verbose = false;
};

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
        utf8String_ = XInternAtom(dpy_, "UTF8_STRING", False);
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
                std::vector<std::uint32_t> first;
                if (options_.verbose) {
                    first = Snapshot(window, run.width, run.height);
                }
                SettleFor(options_.settleMs);
                if (options_.verbose) {
                    run.changedAfterPaint =
                        ChangedFraction(first, Snapshot(window, run.width, run.height));
                }
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

    bool WaitForEvent(double deadline) {
        XFlush(dpy_);
        if (XPending(dpy_) > 0) {
            return true;
        }
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        const double left = deadline - NowMs();
        if (left <= 0) {
            return false;
        }
        // Wake up now and then to notice a child that died without a window.
        poll(&p, 1, static_cast<int>(std::min(left, 50.0)) + 1);
        return XPending(dpy_) > 0;
    }

    static bool Exited(pid_t pid) {
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == pid;
    }

    std::optional<std::string> Title(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, window, netWmName_, 0, 1024, False, utf8String_, &type,
                               &format, &count, &after, &data) != Success) {
            return std::nullopt;
        }
        std::optional<std::string> title;
        if (data && type == utf8String_ && format == 8) {
            title.emplace(reinterpret_cast<const char*>(data), count);
        }
        if (data) {
            XFree(data);
        }
        return title;
    }

    Window WaitForMap(const Target& target, pid_t pid, double deadline, std::string& failure) {
        while (NowMs() < deadline) {
            if (!WaitForEvent(deadline)) {
                if (Exited(pid)) {
                    failure = "exited before mapping its window";
                    return None;
                }
                continue;
            }
            XEvent event;
            XNextEvent(dpy_, &event);
            if (event.type == MapNotify && event.xmap.event == root_ &&
                !event.xmap.override_redirect) {
                const auto title = Title(event.xmap.window);
                if (title && *title == target.title) {
                    return event.xmap.window;
                }
                if (options_.verbose) {
                    std::fprintf(stderr, "  (ignored a window titled '%s')\n",
                                 title ? title->c_str() : "");
                }
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

    std::vector<std::uint32_t> Snapshot(Window window, int width, int height) {
        std::vector<std::uint32_t> pixels;
        XImage* image = XGetImage(dpy_, window, 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (!image) {
            return pixels;
        }
        pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)));
            }
        }
        XDestroyImage(image);
        return pixels;
    }

    static double ChangedFraction(const std::vector<std::uint32_t>& a,
                                  const std::vector<std::uint32_t>& b) {
        if (a.empty() || a.size() != b.size()) {
            return 1;
        }
        std::size_t changed = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            changed += a[i] != b[i];
        }
        return static_cast<double>(changed) / static_cast<double>(a.size());
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
            SleepMs(options_.pollMs);
        }
        failure = "its window was not painted within the time limit";
        return false;
    }

    void SettleFor(double ms) {
        const double until = NowMs() + ms;
        while (NowMs() < until) {
            Drain();
            SleepMs(std::min(5.0, until - NowMs()));
        }
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
        while (NowMs() < deadline) {
            if (!WaitForEvent(deadline)) {
                continue;
            }
            XEvent event;
            XNextEvent(dpy_, &event);
            if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
                return;
            }
        }
    }

    const Options& options_;
    Display* dpy_ = nullptr;
    Window root_ = None;
    Atom netWmName_ = None;
    Atom utf8String_ = None;
    std::vector<std::uint32_t> row_;
};

void Usage() {
    std::fprintf(stderr, "usage: startup_bench --program PATH --program-title TITLE\n"
                         "                     --baseline PATH --baseline-title TITLE\n"
                         "                     [--runs N] [--warmup N] [--settle-ms MS]\n"
                         "                     [--timeout-ms MS] [--poll-ms MS] [--verbose]\n");
}

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--verbose") {
            options.verbose = true;
            continue;
        }
        if (i + 1 >= argc) {
            Usage();
            Fail("missing value after " + arg);
        }
        const std::string value = argv[++i];
        if (arg == "--program") {
            options.program.path = value;
        } else if (arg == "--program-title") {
            options.program.title = value;
        } else if (arg == "--baseline") {
            options.baseline.path = value;
        } else if (arg == "--baseline-title") {
            options.baseline.title = value;
        } else if (arg == "--runs") {
            options.runs = std::stoi(value);
        } else if (arg == "--warmup") {
            options.warmup = std::stoi(value);
        } else if (arg == "--settle-ms") {
            options.settleMs = std::stod(value);
        } else if (arg == "--timeout-ms") {
            options.timeoutMs = std::stod(value);
        } else if (arg == "--poll-ms") {
            options.pollMs = std::stod(value);
        } else {
            Usage();
            Fail("unknown option " + arg);
        }
    }
    if (options.program.path.empty() || options.baseline.path.empty() ||
        options.program.title.empty() || options.baseline.title.empty() || options.runs < 1 ||
        options.warmup < 0 || options.pollMs <= 0) {
        Usage();
        Fail("bad arguments");
    }
    return options;
}

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
    try {
        const Options options = Parse(argc, argv);
        Driver driver(options);

        const Target* order[2] = {&options.program, &options.baseline};
        for (int i = 0; i < options.warmup; ++i) {
            for (const Target* target : order) {
                driver.Measure(*target);
            }
        }
        Series program, baseline;
        for (int round = 0; round < options.runs; ++round) {
            const bool programFirst = round % 2 == 0;
            for (int k = 0; k < 2; ++k) {
                const bool isProgram = (k == 0) == programFirst;
                const Target& target = isProgram ? options.program : options.baseline;
                const Run run = driver.Measure(target);
                (isProgram ? program : baseline).Add(run);
                if (options.verbose) {
                    std::fprintf(stderr,
                                 "%-8s run %2d: mapped %7.1f ms, painted %7.1f ms, CPU %6.1f ms, "
                                 "%ld KiB, %.4f%% of pixels changed after the first frame\n",
                                 target.label.c_str(), round + 1, run.mappedMs, run.paintedMs,
                                 run.cpuMs, run.peakRssKiB, run.changedAfterPaint * 100);
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
