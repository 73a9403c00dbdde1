// Whole-process time from launch to the first text on a real X display.
//
//   first_text [--runs N] [--region X,Y,W,H] [--settle MS] [--frames DIR] -- PROGRAM [ARGS...]
//
// Starts PROGRAM N times on $DISPLAY. While it starts, the screen rectangle REGION (by default
// the first lines of the left page of a book at its default place) is read back from the X
// server every millisecond and a hash of its pixels recorded with the time since launch. Once the
// picture has stayed the same for SETTLE ms the program is sent SIGTERM and waited for. The
// first text is the first moment the rectangle showed what it shows at the end: the program's
// launch, Qt's start, reading, pagination and the X server's drawing are all inside the figure.
// Prints one line per run (time, peak resident memory) and the median. With --frames, every
// picture the rectangle showed is also written to DIR as a PPM file named by run and time, so
// that short-lived windows such as the progress box can be looked at afterwards.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int Runs = 5;
    int X = 130, Y = 80, W = 220, H = 60;
    int SettleMs = 1500;
    int TimeoutMs = 20000;
    std::string FramesDir;
    std::vector<char*> Argv;
};

struct Frame {
    double Ms;
    std::uint64_t Hash;
};

struct RunResult {
    double FirstTextMs = -1;
    double PeakMB = 0;
};

struct Picture {
    std::uint64_t Hash = 0;
    std::string Rgb;
};

Picture Grab(Display* display, const Options& o) {
    Picture p;
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), o.X, o.Y, o.W, o.H, AllPlanes, ZPixmap);
    if (!image)
        return p;
    p.Hash = 1469598103934665603ull;
    p.Rgb.reserve(std::size_t(o.W) * o.H * 3);
    for (int y = 0; y < o.H; ++y)
        for (int x = 0; x < o.W; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y) & 0xFFFFFF;
            p.Hash = (p.Hash ^ pixel) * 1099511628211ull;
            p.Rgb += char(pixel >> 16);
            p.Rgb += char(pixel >> 8);
            p.Rgb += char(pixel);
        }
    XDestroyImage(image);
    return p;
}

void SaveFrame(const Options& o, int run, double ms, const Picture& p) {
    char name[64];
    std::snprintf(name, sizeof name, "/run%d-%05.0fms.ppm", run, ms);
    if (FILE* f = std::fopen((o.FramesDir + name).c_str(), "wb")) {
        std::fprintf(f, "P6\n%d %d\n255\n", o.W, o.H);
        std::fwrite(p.Rgb.data(), 1, p.Rgb.size(), f);
        std::fclose(f);
    }
}

double Since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

RunResult RunOnce(Display* display, const Options& o, int run) {
    const std::uint64_t before = Grab(display, o).Hash;
    std::vector<Frame> frames;
    const auto t0 = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, o.Argv[0], nullptr, nullptr, o.Argv.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(2);
    }
    double lastChange = 0;
    bool exited = false;
    int status = 0;
    rusage usage{};
    while (true) {
        const Picture picture = Grab(display, o);
        const std::uint64_t h = picture.Hash;
        const double now = Since(t0);
        if (frames.empty() ? h != before : h != frames.back().Hash) {
            frames.push_back({now, h});
            lastChange = now;
            if (!o.FramesDir.empty())
                SaveFrame(o, run, now, picture);
        }
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            exited = true;
            break;
        }
        if ((!frames.empty() && now - lastChange > o.SettleMs) || now > o.TimeoutMs)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!exited) {
        kill(pid, SIGTERM);
        wait4(pid, &status, 0, &usage);
    }
    RunResult r;
    r.PeakMB = usage.ru_maxrss / 1024.0;
    if (!frames.empty()) {
        const std::uint64_t last = frames.back().Hash;
        for (const Frame& f : frames)
            if (f.Hash == last) {
                r.FirstTextMs = f.Ms;
                break;
            }
    }
    return r;
}

Options Parse(int argc, char** argv) {
    Options o;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            o.Runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--settle") && i + 1 < argc)
            o.SettleMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--region") && i + 1 < argc)
            std::sscanf(argv[++i], "%d,%d,%d,%d", &o.X, &o.Y, &o.W, &o.H);
        else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc)
            o.FramesDir = argv[++i];
    }
    for (++i; i < argc; ++i)
        o.Argv.push_back(argv[i]);
    o.Argv.push_back(nullptr);
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    if (o.Argv.size() < 2) {
        std::fprintf(stderr, "usage: first_text [--runs N] [--region X,Y,W,H] [--settle MS] "
                             "[--frames DIR] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_text: no X display\n");
        return 2;
    }
    std::vector<double> times;
    for (int run = 0; run < o.Runs; ++run) {
        const RunResult r = RunOnce(display, o, run + 1);
        std::printf("run %d: first text %.0f ms, peak %.1f MB\n", run + 1, r.FirstTextMs, r.PeakMB);
        std::fflush(stdout);
        if (r.FirstTextMs >= 0)
            times.push_back(r.FirstTextMs);
    }
    if (times.empty())
        return 1;
    std::sort(times.begin(), times.end());
    std::printf("median %.0f ms, min %.0f ms, max %.0f ms over %zu runs\n", times[times.size() / 2],
                times.front(), times.back(), times.size());
    XCloseDisplay(display);
    return 0;
}
