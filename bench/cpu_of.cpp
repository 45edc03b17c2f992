// Runs a program and tells the CPU time it used (all its threads, user and
// system, microsecond resolution) and its peak resident memory.
//
// usage: korvalen-bench-cpu PROGRAM [ARGS...]
// prints on standard error: "cpu_ms <ms> maxrss_kib <KiB>"; the program's own
// output passes through.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: korvalen-bench-cpu PROGRAM [ARGS...]\n");
    return 2;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  rusage ru{};
  wait4(pid, &status, 0, &ru);
  const double ms = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 +
                    (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
  std::fprintf(stderr, "cpu_ms %.3f maxrss_kib %ld\n", ms, ru.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
