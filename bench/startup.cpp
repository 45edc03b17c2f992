// Start-up time: from exec of the game to the playing field's first frame on
// the screen. The program is started as a child, and the X server is polled
// until a viewable window of that process shows non-black pixels; nothing in
// the game is told it is being timed.
//
// usage: korvalen-bench-startup RUNS PROGRAM [ARGS...]   (cwd as the program needs)
// prints: one line per run (ms), then "median <ms>"
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

long window_pid(Display* d, Window w) {
  static const Atom pid_atom = XInternAtom(d, "_NET_WM_PID", True);
  if (pid_atom == None) return -1;
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(d, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after,
                         &data) == Success &&
      data) {
    if (n == 1 && format == 32) pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
  }
  return pid;
}

// Counts the pixels that are not black in a viewable window.
long lit_pixels(Display* d, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable || a.width < 100) return 0;
  XImage* img = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return 0;
  long lit = 0;
  for (int y = 0; y < a.height; y += 4)
    for (int x = 0; x < a.width; x += 4)
      if ((XGetPixel(img, x, y) & 0xffffff) != 0) ++lit;
  XDestroyImage(img);
  return lit;
}

bool shows_frame(Display* d, Window w, long pid) {
  if (window_pid(d, w) == pid && lit_pixels(d, w) > 100) return true;
  Window root, parent, *kids = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, w, &root, &parent, &kids, &n)) return false;
  bool found = false;
  for (unsigned i = 0; i < n && !found; ++i) found = shows_frame(d, kids[i], pid);
  if (kids) XFree(kids);
  return found;
}

int no_x_errors(Display*, XErrorEvent*) {
  return 0;
}  // windows come and go while we look

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: korvalen-bench-startup RUNS PROGRAM [ARGS...]\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "korvalen-bench-startup: no display\n");
    return 1;
  }
  XSetErrorHandler(no_x_errors);
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      execvp(argv[2], argv + 2);
      _exit(127);
    }
    double took = -1;
    while (took < 0) {
      if (shows_frame(d, DefaultRootWindow(d), pid)) {
        took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                   .count();
        break;
      }
      int status;
      if (waitpid(pid, &status, WNOHANG) == pid) break;
      if (std::chrono::steady_clock::now() - t0 > std::chrono::seconds(10)) break;
      usleep(500);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (took < 0) {
      std::fprintf(stderr, "korvalen-bench-startup: run %d showed no frame\n", r + 1);
      return 1;
    }
    std::printf("%.1f\n", took);
    std::fflush(stdout);
    ms.push_back(took);
    usleep(200'000);  // let the server forget the last run's windows
  }
  std::sort(ms.begin(), ms.end());
  std::printf("median %.1f\n", ms[ms.size() / 2]);
  XCloseDisplay(d);
  return 0;
}
