// map_wait [--settle SECONDS] [--timeout SECONDS] [--shot FILE.ppm] PROGRAM [ARGS...]
//
// Starts PROGRAM and prints five numbers:
//   1. milliseconds from its start until its main window is mapped,
//   2. milliseconds from its start until that window's first frame is drawn: the moment
//      the window's drawn area (X Damage reports every rectangle drawn into it) first
//      covers the whole window,
//   3. its resident memory SECONDS (default 1) after that frame, all of it (VmRSS, kB),
//   4. the part that is its own (RssAnon, kB: heap and stacks, not the pages of shared
//      libraries and fonts),
//   5. how many of the window's pixels differ between right after that frame and SECONDS
//      later: 0 when the first frame was already the finished window.
//   6. milliseconds from its start until one of its windows was taken into a tray (an
//      XEmbed host reparents the icon's window), or -1 when none was within SECONDS.
// With --shot, the window's pixels right after the first frame are written to FILE.ppm.
// Then ends the program. Exit status 1 when the program ends or times out first.
//
// The main window is the first window of the program's process (_NET_WM_PID) that is mapped
// as a child of the root window: this needs an X server without a window manager (Xvfb).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

volatile pid_t g_child = 0;

void ForwardSignal(int sig) {
  if (g_child > 0) kill(g_child, SIGKILL);
  _exit(128 + sig);
}

int IgnoreXErrors(Display *, XErrorEvent *) {
  return 0;  // a window may be gone before its property is read
}

long WindowPid(Display *dpy, Window w, Atom pidAtom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char *data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(dpy, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data && format == 32 && count == 1)
    pid = static_cast<long>(*reinterpret_cast<unsigned long *>(data));
  if (data) XFree(data);
  return pid;
}

// One "Name:   1234 kB" field of /proc/PID/status, in kB; -1 when it is not there.
long StatusKb(pid_t pid, const char *name) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  const std::string prefix = std::string(name) + ':';
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(prefix, 0) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
  return -1;
}

void EndChild(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// Which pixels of a window have been drawn.
struct Coverage {
  int width = 0, height = 0;
  std::vector<unsigned char> drawn;
  long count = 0;

  Coverage() = default;
  Coverage(int w, int h) : width(w), height(h), drawn(size_t(w) * size_t(h), 0) {}
  void Add(int x, int y, int w, int h) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(width, x + w), y1 = std::min(height, y + h);
    for (int row = y0; row < y1; ++row)
      for (int col = x0; col < x1; ++col) {
        unsigned char &cell = drawn[size_t(row) * size_t(width) + size_t(col)];
        count += !cell;
        cell = 1;
      }
  }
  bool Complete() const { return width > 0 && count == long(width) * height; }
};

bool WritePpm(XImage *image, const char *path) {
  FILE *out = std::fopen(path, "wb");
  if (!out) return false;
  std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
  for (int y = 0; y < image->height; ++y)
    for (int x = 0; x < image->width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      const unsigned char rgb[3] = {static_cast<unsigned char>((p & image->red_mask) >> 16),
                                    static_cast<unsigned char>((p & image->green_mask) >> 8),
                                    static_cast<unsigned char>(p & image->blue_mask)};
      std::fwrite(rgb, 1, 3, out);
    }
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char *argv[]) {
  double settle = 1.0, timeout = 30.0;
  const char *shot = nullptr;
  int arg = 1;
  for (; arg + 1 < argc && argv[arg][0] == '-' && argv[arg][1] == '-'; arg += 2) {
    if (std::strcmp(argv[arg], "--settle") == 0)
      settle = std::atof(argv[arg + 1]);
    else if (std::strcmp(argv[arg], "--timeout") == 0)
      timeout = std::atof(argv[arg + 1]);
    else if (std::strcmp(argv[arg], "--shot") == 0)
      shot = argv[arg + 1];
    else
      break;
  }
  if (arg >= argc) {
    std::fprintf(
        stderr, "usage: map_wait [--settle S] [--timeout S] [--shot FILE.ppm] PROGRAM [ARGS...]\n");
    return 2;
  }
  Display *dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "map_wait: cannot open the display\n");
    return 2;
  }
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
    std::fprintf(stderr, "map_wait: the X server has no DAMAGE extension\n");
    return 2;
  }
  XSetErrorHandler(IgnoreXErrors);
  const Window root = DefaultRootWindow(dpy);
  const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
  // Listen before the program starts, so that neither the map nor any drawing can be
  // missed: a damage object on the root window reports the drawing into every window on
  // the screen.
  XSelectInput(dpy, root, SubstructureNotifyMask);
  XDamageCreate(dpy, root, XDamageReportRawRectangles);
  XSync(dpy, False);
  signal(SIGINT, ForwardSignal);
  signal(SIGTERM, ForwardSignal);
  signal(SIGHUP, ForwardSignal);

  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("map_wait: fork");
    return 2;
  }
  if (pid == 0) {
    close(ConnectionNumber(dpy));
    execvp(argv[arg], argv + arg);
    std::perror("map_wait: exec");
    _exit(127);
  }
  g_child = pid;
  auto sinceStart = [&] {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };

  Window main = 0;
  int mainX = 0, mainY = 0;
  Coverage drawn;
  double mappedMs = -1, paintedMs = -1, dockedMs = -1;
  auto paintedAt = Clock::time_point::max();
  XImage *firstFrame = nullptr;
  const auto deadline = start + std::chrono::duration<double>(timeout);
  pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
  for (;;) {
    while (XPending(dpy) > 0) {
      XEvent event;
      XNextEvent(dpy, &event);
      if (event.type == MapNotify && !main && event.xmap.event == root &&
          WindowPid(dpy, event.xmap.window, pidAtom) == pid) {
        mappedMs = sinceStart();
        main = event.xmap.window;
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy, main, &a)) {
          std::fprintf(stderr, "map_wait: the window is gone\n");
          EndChild(pid);
          return 1;
        }
        mainX = a.x + a.border_width;
        mainY = a.y + a.border_width;
        drawn = Coverage(a.width, a.height);
      } else if (event.type == ReparentNotify && dockedMs < 0 && event.xreparent.parent != root &&
                 WindowPid(dpy, event.xreparent.window, pidAtom) == pid) {
        dockedMs = sinceStart();
      } else if (event.type == damageEvent + XDamageNotify && main && paintedMs < 0) {
        // Drawing anywhere on the screen, in root coordinates; only the window's part counts.
        const auto &d = reinterpret_cast<const XDamageNotifyEvent &>(event);
        drawn.Add(d.area.x - mainX, d.area.y - mainY, d.area.width, d.area.height);
        if (drawn.Complete()) {
          paintedMs = sinceStart();
          paintedAt = Clock::now();
          firstFrame = XGetImage(dpy, main, 0, 0, unsigned(drawn.width), unsigned(drawn.height),
                                 AllPlanes, ZPixmap);
        }
      }
    }
    if (paintedMs >= 0 && Clock::now() >= paintedAt + std::chrono::duration<double>(settle)) break;
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "map_wait: %s ended before it showed its window\n", argv[arg]);
      return 1;
    }
    const auto until = paintedMs >= 0 ? paintedAt + std::chrono::duration_cast<Clock::duration>(
                                                        std::chrono::duration<double>(settle))
                                      : deadline;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (paintedMs < 0 && left.count() <= 0) {
      std::fprintf(stderr, "map_wait: %s drew no window in time\n", argv[arg]);
      EndChild(pid);
      return 1;
    }
    const int wait = int(std::clamp<long long>(left.count(), 1, 100));
    if (poll(&fd, 1, wait) < 0 && errno != EINTR) {
      std::perror("map_wait: poll");
      EndChild(pid);
      return 1;
    }
  }
  const long rss = StatusKb(pid, "VmRSS"), anon = StatusKb(pid, "RssAnon");
  long changed = -1;
  if (firstFrame) {
    if (shot && !WritePpm(firstFrame, shot))
      std::fprintf(stderr, "map_wait: could not write %s\n", shot);
    if (XImage *now = XGetImage(dpy, main, 0, 0, unsigned(drawn.width), unsigned(drawn.height),
                                AllPlanes, ZPixmap)) {
      changed = 0;
      for (int y = 0; y < drawn.height; ++y)
        for (int x = 0; x < drawn.width; ++x)
          changed += XGetPixel(firstFrame, x, y) != XGetPixel(now, x, y);
      XDestroyImage(now);
    }
    XDestroyImage(firstFrame);
  }
  EndChild(pid);
  XCloseDisplay(dpy);
  std::printf("%.1f %.1f %ld %ld %ld %.1f\n", mappedMs, paintedMs, rss, anon, changed, dockedMs);
  return 0;
}
