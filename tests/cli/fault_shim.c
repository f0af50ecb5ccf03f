// A fault injector that the save fault tests preload into quorvel-cli. It
// counts the calls a save makes on the files of one folder (an open that
// creates, write, fdatasync, fsync, fchmod, ftruncate, flock, a close after
// writing, link, rename, unlink) and fails the chosen ones, so that each
// step of a save can fail in turn, or kills the program there.
//   QV_FAULT_DIR       the folder (absolute path, no trailing slash)
//   QV_FAULT_CALL      the counted calls to fail, from 1, comma-separated
//   QV_FAULT_ERRNO     the errno they fail with (a number; ENOSPC if unset)
//   QV_FAULT_KILL      the counted call that kills the program before it runs
//   QV_FAULT_FAIL_AT   "OP:TEXT": the first counted OP on a path holding TEXT
//                      fails too
//   QV_FAULT_PAUSE_AT  "OP:TEXT": the first OP (any open included) on a path
//                      holding TEXT logs "pause OP PATH" and waits until the
//                      file QV_FAULT_GO exists
//   QV_FAULT_NO_LINKS  when set, links in the folder fail with EPERM and are
//                      not counted, as on a file system without hard links
//   QV_FAULT_LOG       a file that gets "N OP PATH" for every counted call
// A failed close closes the descriptor first, as the kernel does.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static long counted;

static int in_folder(const char* path) {
  const char* dir = getenv("QV_FAULT_DIR");
  size_t n = dir ? strlen(dir) : 0;
  return n && path && strncmp(path, dir, n) == 0 && (path[n] == '\0' || path[n] == '/');
}

// Whether op on path is the first that the variable's "OP:TEXT" names.
static int first_match(const char* var, int* seen, const char* op, const char* path) {
  const char* want = getenv(var);
  const char* text = want ? strchr(want, ':') : NULL;
  if (*seen || !text || strncmp(want, op, (size_t)(text - want)) || op[text - want] || !strstr(path, text + 1)) return 0;
  return *seen = 1;
}

// Waits before the first call that QV_FAULT_PAUSE_AT names until the file
// QV_FAULT_GO exists.
static void pause_at(const char* op, const char* path) {
  static int paused;
  if (!in_folder(path) || !first_match("QV_FAULT_PAUSE_AT", &paused, op, path)) return;
  FILE* log = getenv("QV_FAULT_LOG") ? fopen(getenv("QV_FAULT_LOG"), "a") : NULL;
  if (log) fprintf(log, "pause %s %s\n", op, path), fclose(log);
  while (getenv("QV_FAULT_GO") && access(getenv("QV_FAULT_GO"), F_OK) != 0) usleep(5000);
}

// Counts a call on path; fails it (errno set, -1) or returns 0.
static int fault(const char* op, const char* path) {
  static int failed_at;
  if (!in_folder(path)) return 0;
  char me[32], calls[256];
  snprintf(me, sizeof me, ",%ld,", ++counted);
  snprintf(calls, sizeof calls, ",%s,", getenv("QV_FAULT_CALL") ? getenv("QV_FAULT_CALL") : "");
  FILE* log = getenv("QV_FAULT_LOG") ? fopen(getenv("QV_FAULT_LOG"), "a") : NULL;
  if (log) fprintf(log, "%ld %s %s\n", counted, op, path), fclose(log);
  if (getenv("QV_FAULT_KILL") && atol(getenv("QV_FAULT_KILL")) == counted) raise(SIGKILL);
  pause_at(op, path);
  if (!strstr(calls, me) && !first_match("QV_FAULT_FAIL_AT", &failed_at, op, path)) return 0;
  errno = getenv("QV_FAULT_ERRNO") ? atoi(getenv("QV_FAULT_ERRNO")) : ENOSPC;
  return -1;
}

// The path a descriptor was opened on.
static const char* fd_path(int fd, char* buf) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, buf, PATH_MAX - 1);
  buf[n > 0 ? n : 0] = '\0';
  return buf;
}

int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  mode_t mode = (flags & O_CREAT) ? (mode_t)va_arg(ap, int) : 0;
  va_end(ap);
  if (!(flags & O_CREAT)) pause_at("open", path);
  if ((flags & O_CREAT) && fault("open", path)) return -1;
  return REAL(open)(path, flags, mode);
}

#define ON_DESCRIPTOR(type, name, params, args) \
  type name params {                            \
    char buf[PATH_MAX];                         \
    if (fault(#name, fd_path(fd, buf))) return -1; \
    return REAL(name) args;                     \
  }
ON_DESCRIPTOR(ssize_t, write, (int fd, const void* data, size_t size), (fd, data, size))
ON_DESCRIPTOR(int, fsync, (int fd), (fd))
ON_DESCRIPTOR(int, fdatasync, (int fd), (fd))
ON_DESCRIPTOR(int, fchmod, (int fd, mode_t mode), (fd, mode))
ON_DESCRIPTOR(int, ftruncate, (int fd, off_t size), (fd, size))
ON_DESCRIPTOR(int, flock, (int fd, int op), (fd, op))

int close(int fd) {
  char buf[PATH_MAX];
  int flags = fcntl(fd, F_GETFL);
  int failed = flags >= 0 && (flags & O_ACCMODE) != O_RDONLY && fault("close", fd_path(fd, buf));
  int e = errno;
  int r = REAL(close)(fd);
  return failed ? (errno = e, -1) : r;
}

int link(const char* from, const char* to) {
  if (getenv("QV_FAULT_NO_LINKS") && in_folder(to)) return errno = EPERM, -1;
  return fault("link", to) ? -1 : REAL(link)(from, to);
}

int rename(const char* from, const char* to) {
  return fault("rename", to) ? -1 : REAL(rename)(from, to);
}

int unlink(const char* path) {
  return fault("unlink", path) ? -1 : REAL(unlink)(path);
}
