/* A fault injector loaded with LD_PRELOAD into quorvel-cli by the save fault
 * tests. It counts the file calls a save makes in one folder and makes one of
 * them fail, so every step of a save can be failed in turn.
 *
 * Counted: open/openat that create a file, write, fsync, fdatasync, close of
 * a descriptor open for writing, link/linkat, rename/renameat/renameat2, each
 * only on paths inside QV_FAULT_DIR (for descriptors, the path they were
 * opened on; the folder itself counts too). Other calls pass through.
 *
 *   QV_FAULT_DIR    the folder (absolute path, no trailing slash)
 *   QV_FAULT_CALL   the numbers of the counted calls to fail (from 1),
 *                   comma-separated; 0 or unset fails none; "all" fails
 *                   every counted call
 *   QV_FAULT_ERRNO  ENOSPC (default), EIO or EPERM
 *   QV_FAULT_OPS    comma-separated operations to count (default: all)
 *   QV_FAULT_LOG    a file that gets one line per counted call:
 *                   "N OP PATH" and " FAIL" on the failed one
 *   QV_FAULT_NO_LINKS  when set, every link in the folder is refused with
 *                   EPERM and not counted, as on a file system without
 *                   hard links (FAT)
 * A failed write, fsync or rename fails before the real call; a failed close
 * closes the descriptor first, as the kernel does. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static long counted; /* calls counted so far in this process */

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static int in_folder(const char* path) {
  const char* dir = getenv("QV_FAULT_DIR");
  if (!dir || !*dir || !path) return 0;
  size_t n = strlen(dir);
  return strncmp(path, dir, n) == 0 && (path[n] == '\0' || path[n] == '/');
}

/* The path a descriptor was opened on, or "" when unknown. */
static const char* fd_path(int fd, char* buf, size_t size) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, buf, size - 1);
  buf[n > 0 ? n : 0] = '\0';
  return buf;
}

static int op_counted(const char* op) {
  const char* ops = getenv("QV_FAULT_OPS");
  if (!ops || !*ops) return 1;
  size_t n = strlen(op);
  for (const char* p = ops; (p = strstr(p, op)) != NULL; p += n)
    if ((p == ops || p[-1] == ',') && (p[n] == ',' || p[n] == '\0')) return 1;
  return 0;
}

static int chosen_errno(void) {
  const char* e = getenv("QV_FAULT_ERRNO");
  if (e && strcmp(e, "EIO") == 0) return EIO;
  if (e && strcmp(e, "EPERM") == 0) return EPERM;
  return ENOSPC;
}

/* Counts one call on path; returns the errno to fail it with, or 0. */
static int fault(const char* op, const char* path) {
  if (!in_folder(path) || !op_counted(op)) return 0;
  ++counted;
  const char* call = getenv("QV_FAULT_CALL");
  int fail = call && strcmp(call, "all") == 0;
  for (const char* p = call; p && *p && !fail; p = strchr(p, ',') ? strchr(p, ',') + 1 : NULL)
    fail = atol(p) == counted;
  const char* logName = getenv("QV_FAULT_LOG");
  if (logName && *logName) {
    char line[PATH_MAX + 64];
    int len = snprintf(line, sizeof line, "%ld %s %s%s\n", counted, op, path, fail ? " FAIL" : "");
    int fd = REAL(open)(logName, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
      if (REAL(write)(fd, line, (size_t)len) < 0) { /* the log is best effort */ }
      REAL(close)(fd);
    }
  }
  return fail ? chosen_errno() : 0;
}

#define FAIL_WITH(e) \
  do {               \
    errno = (e);     \
    return -1;       \
  } while (0)

static int fault_fd(const char* op, int fd) {
  char buf[PATH_MAX];
  return fault(op, fd_path(fd, buf, sizeof buf));
}

/* The path an *at call names: absolute, or relative to dirfd. */
static const char* at_path(int dirfd, const char* path, char* buf, size_t size) {
  if (!path || path[0] == '/' || dirfd == AT_FDCWD) return path;
  char dir[PATH_MAX];
  snprintf(buf, size, "%s/%s", fd_path(dirfd, dir, sizeof dir), path);
  return buf;
}

static int creating(int flags) { return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE; }

#define OPEN_MODE(flags)             \
  mode_t mode = 0;                   \
  if (creating(flags)) {             \
    va_list ap;                      \
    va_start(ap, flags);             \
    mode = (mode_t)va_arg(ap, int);  \
    va_end(ap);                      \
  }

int open(const char* path, int flags, ...) {
  OPEN_MODE(flags);
  if (creating(flags)) {
    int e = fault("open", path);
    if (e) FAIL_WITH(e);
  }
  return REAL(open)(path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  OPEN_MODE(flags);
  char buf[PATH_MAX];
  if (creating(flags)) {
    int e = fault("open", at_path(dirfd, path, buf, sizeof buf));
    if (e) FAIL_WITH(e);
  }
  return REAL(openat)(dirfd, path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
  int e = fault_fd("write", fd);
  if (e) FAIL_WITH(e);
  return REAL(write)(fd, data, size);
}

int fsync(int fd) {
  int e = fault_fd("fsync", fd);
  if (e) FAIL_WITH(e);
  return REAL(fsync)(fd);
}

int fdatasync(int fd) {
  int e = fault_fd("fdatasync", fd);
  if (e) FAIL_WITH(e);
  return REAL(fdatasync)(fd);
}

int close(int fd) {
  int flags = fcntl(fd, F_GETFL);
  int e = flags >= 0 && (flags & O_ACCMODE) != O_RDONLY ? fault_fd("close", fd) : 0;
  int r = REAL(close)(fd);
  if (e) FAIL_WITH(e);
  return r;
}

static int no_links(const char* path) { return getenv("QV_FAULT_NO_LINKS") && in_folder(path); }

int link(const char* from, const char* to) {
  if (no_links(to)) FAIL_WITH(EPERM);
  int e = fault("link", to);
  if (e) FAIL_WITH(e);
  return REAL(link)(from, to);
}

int linkat(int fromdir, const char* from, int todir, const char* to, int flags) {
  char buf[PATH_MAX];
  if (no_links(at_path(todir, to, buf, sizeof buf))) FAIL_WITH(EPERM);
  int e = fault("link", at_path(todir, to, buf, sizeof buf));
  if (e) FAIL_WITH(e);
  return REAL(linkat)(fromdir, from, todir, to, flags);
}

int rename(const char* from, const char* to) {
  int e = fault("rename", in_folder(to) ? to : from);
  if (e) FAIL_WITH(e);
  return REAL(rename)(from, to);
}

int renameat(int fromdir, const char* from, int todir, const char* to) {
  char buf[PATH_MAX];
  int e = fault("rename", at_path(todir, to, buf, sizeof buf));
  if (e) FAIL_WITH(e);
  return REAL(renameat)(fromdir, from, todir, to);
}

int renameat2(int fromdir, const char* from, int todir, const char* to, unsigned int flags) {
  char buf[PATH_MAX];
  int e = fault("rename", at_path(todir, to, buf, sizeof buf));
  if (e) FAIL_WITH(e);
  return REAL(renameat2)(fromdir, from, todir, to, flags);
}
