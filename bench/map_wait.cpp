// map_wait [--settle SECONDS] [--timeout SECONDS] PROGRAM [ARGS...]
//
// Starts PROGRAM and prints three numbers: the milliseconds from its start until its first
// top-level window is mapped, and its resident memory SECONDS (default 1) after that, all
// of it (VmRSS, kB) and the part that is its own (RssAnon, kB: heap and stacks, not the
// pages of shared libraries and fonts). Then ends the program. Needs an X server without a window
// manager (Xvfb), so that top-level windows are children of the root window. Exit status 1 when the
// program ends or times out before it maps a window.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
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

}  // namespace

int main(int argc, char *argv[]) {
  double settle = 1.0, timeout = 30.0;
  int arg = 1;
  for (; arg + 1 < argc && argv[arg][0] == '-' && argv[arg][1] == '-'; arg += 2) {
    if (std::strcmp(argv[arg], "--settle") == 0)
      settle = std::atof(argv[arg + 1]);
    else if (std::strcmp(argv[arg], "--timeout") == 0)
      timeout = std::atof(argv[arg + 1]);
    else
      break;
  }
  if (arg >= argc) {
    std::fprintf(stderr, "usage: map_wait [--settle S] [--timeout S] PROGRAM [ARGS...]\n");
    return 2;
  }
  Display *dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "map_wait: cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreXErrors);
  const Window root = DefaultRootWindow(dpy);
  const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
  // Listen before the program starts, so that no map can be missed.
  XSelectInput(dpy, root, SubstructureNotifyMask);
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

  const auto deadline = start + std::chrono::duration<double>(timeout);
  double mappedMs = -1;
  pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
  while (mappedMs < 0) {
    while (XPending(dpy) > 0) {
      XEvent event;
      XNextEvent(dpy, &event);
      if (event.type != MapNotify || event.xmap.event != root) continue;
      const long owner = WindowPid(dpy, event.xmap.window, pidAtom);
      // A window without the property is taken as the program's: nothing else runs here.
      if (owner == pid || owner < 0) {
        mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        break;
      }
    }
    if (mappedMs >= 0) break;
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "map_wait: %s ended before it showed a window\n", argv[arg]);
      return 1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      std::fprintf(stderr, "map_wait: %s showed no window in time\n", argv[arg]);
      EndChild(pid);
      return 1;
    }
    const int wait = int(std::min<long long>(left.count(), 100));
    if (poll(&fd, 1, wait) < 0 && errno != EINTR) {
      std::perror("map_wait: poll");
      EndChild(pid);
      return 1;
    }
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(settle));
  const long rss = StatusKb(pid, "VmRSS"), anon = StatusKb(pid, "RssAnon");
  EndChild(pid);
  XCloseDisplay(dpy);
  std::printf("%.1f %ld %ld\n", mappedMs, rss, anon);
  return 0;
}
