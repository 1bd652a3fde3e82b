// map_wait [--settle SECONDS] [--timeout SECONDS] [--shot FILE.ppm] PROGRAM [ARGS...]
//
// Starts PROGRAM and prints eight numbers:
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
//      XEmbed host reparents the icon's window), or -1 when none was within SECONDS,
//   7. the processor time its threads had used when that frame was seen (ms, from
//      /proc/PID/task/*/schedstat: exact, and unlike the wall clock not stretched by other
//      programs waiting for a core; the program is stopped while it is read),
//   8. the page faults it had taken by then (minor and major): each first touch of a page
//      of a library or of new memory costs one.
// With --shot, the window's pixels right after the first frame are written to FILE.ppm.
// Then ends the program. Exit status 1 when the program ends or times out first.
//
// The main window is the first top-level window of the program's process (_NET_WM_PID).
// Without a window manager it is mapped on the root window; a window manager first takes it
// into a frame of its own (a child of the root window; a tray's icon goes deeper), and the
// window is mapped when that frame is.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
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
#include <sstream>
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

// The window's parent; 0 when it is gone.
Window ParentOf(Display *dpy, Window w) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(dpy, w, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return parent;
}

// Processor time of all the process's threads so far, in ms.
double CpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR *dir = opendir(tasks.c_str());
  if (!dir) return -1;
  double ns = 0;
  while (const dirent *entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream schedstat(tasks + '/' + entry->d_name + "/schedstat");
    double onCpu = 0;
    if (schedstat >> onCpu) ns += onCpu;
  }
  closedir(dir);
  return ns / 1e6;
}

// Minor and major page faults of the process so far (/proc/PID/stat fields 10 and 12).
long PageFaults(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t end = line.rfind(')');  // the program's name may hold spaces
  if (end == std::string::npos) return -1;
  std::istringstream fields(line.substr(end + 2));
  std::string field;
  long minor = 0, major = 0;
  for (int i = 3; fields >> field && i <= 12; ++i) {
    if (i == 10) minor = std::atol(field.c_str());
    if (i == 12) major = std::atol(field.c_str());
  }
  return minor + major;
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

  Window main = 0, frame = 0;  // frame: the window manager's, around main
  int mainX = 0, mainY = 0;
  Coverage drawn;
  double mappedMs = -1, paintedMs = -1, dockedMs = -1, cpuMs = -1;
  long faults = -1;
  auto ours = [&](Window w) { return WindowPid(dpy, w, pidAtom) == pid; };
  // The main window is on the screen now: where it is, and how big.
  auto mapped = [&] {
    mappedMs = sinceStart();
    XWindowAttributes a;
    Window child = 0;
    if (!XGetWindowAttributes(dpy, main, &a) ||
        !XTranslateCoordinates(dpy, main, root, 0, 0, &mainX, &mainY, &child))
      return false;
    drawn = Coverage(a.width, a.height);
    return true;
  };
  auto paintedAt = Clock::time_point::max();
  XImage *firstFrame = nullptr;
  const auto deadline = start + std::chrono::duration<double>(timeout);
  pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
  for (;;) {
    while (XPending(dpy) > 0) {
      XEvent event;
      XNextEvent(dpy, &event);
      if (event.type == MapNotify && mappedMs < 0 && event.xmap.event == root &&
          (frame ? event.xmap.window == frame : ours(event.xmap.window))) {
        if (!frame) main = event.xmap.window;
        if (!mapped()) {
          std::fprintf(stderr, "map_wait: the window is gone\n");
          EndChild(pid);
          return 1;
        }
      } else if (event.type == ReparentNotify && !main && event.xreparent.event == root &&
                 event.xreparent.parent != root && ours(event.xreparent.window) &&
                 ParentOf(dpy, event.xreparent.parent) == root) {
        main = event.xreparent.window;  // taken into the window manager's frame
        frame = event.xreparent.parent;
      } else if (event.type == ReparentNotify && dockedMs < 0 && event.xreparent.parent != root &&
                 event.xreparent.window != main &&
                 WindowPid(dpy, event.xreparent.window, pidAtom) == pid) {
        dockedMs = sinceStart();
      } else if (event.type == damageEvent + XDamageNotify && mappedMs >= 0 && paintedMs < 0) {
        // Drawing anywhere on the screen, in root coordinates; only the window's part counts.
        const auto &d = reinterpret_cast<const XDamageNotifyEvent &>(event);
        drawn.Add(d.area.x - mainX, d.area.y - mainY, d.area.width, d.area.height);
        if (drawn.Complete()) {
          paintedMs = sinceStart();
          paintedAt = Clock::now();
          // Held while it is read: work the program does right after its first frame (the
          // tray icon) would otherwise count.
          kill(pid, SIGSTOP);
          cpuMs = CpuMs(pid);
          faults = PageFaults(pid);
          kill(pid, SIGCONT);
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
  std::printf("%.1f %.1f %ld %ld %ld %.1f %.1f %ld\n", mappedMs, paintedMs, rss, anon, changed,
              dockedMs, cpuMs, faults);
  return 0;
}
