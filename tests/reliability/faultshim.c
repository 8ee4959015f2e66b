/* Fault injection for the write path of the data store, loaded with
 * LD_PRELOAD into a child process. It counts the calls that write, sync,
 * rename (or exchange) or close a file inside one folder and makes one of
 * them fail, write short, or stop the process, so that a test can move the
 * fault through every call of an operation in turn.
 *
 * Environment:
 *   QUORVEL_FAULT_DIR     the folder whose files are watched (required)
 *   QUORVEL_FAULT_OPS     calls counted: any of write,sync,rename,close
 *                         separated by commas (default: all)
 *   QUORVEL_FAULT_AT      the 1-based counted call that gets the fault
 *   QUORVEL_FAULT_ACTION  ENOSPC, EIO, EROFS, EDQUOT: fail with that errno;
 *                         short: write half the bytes and return that count;
 *                         stop: raise SIGSTOP, then make the call normally
 *   QUORVEL_FAULT_SPACE   bytes the folder can still take; a write beyond
 *                         them is cut short, the next fails with ENOSPC
 *   QUORVEL_FAULT_REPORT  file that receives one line per counted call and
 *                         one when the fault fires
 *   QUORVEL_FAULT_WAIT    1: count nothing until quorvel_fault_arm()
 * quorvel_fault_arm() and quorvel_fault_disarm() (found with dlsym) start
 * and stop the counting, so that only the operation under test meets it. */
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
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum { OP_WRITE = 1, OP_SYNC = 2, OP_RENAME = 8, OP_CLOSE = 16 };
enum { ACT_NONE, ACT_ERRNO, ACT_SHORT, ACT_STOP };

static ssize_t (*real_write)(int, const void *, size_t);
static ssize_t (*real_writev)(int, const struct iovec *, int);
static ssize_t (*real_pwrite)(int, const void *, size_t, off_t);
static ssize_t (*real_pwrite64)(int, const void *, size_t, off64_t);
static int (*real_fsync)(int);
static int (*real_fdatasync)(int);
static int (*real_rename)(const char *, const char *);
static int (*real_renameat2)(int, const char *, int, const char *, unsigned int);
static int (*real_close)(int);

static char watched[PATH_MAX];
static size_t watched_len;
static unsigned counted_ops = OP_WRITE | OP_SYNC | OP_RENAME | OP_CLOSE;
static long fault_at;
static int action = ACT_NONE;
static int fault_errno;
static long long space = -1;
static char report_path[PATH_MAX];
static long calls;
static int disarmed;

static void load(void)
{
    *(void **)(&real_write) = dlsym(RTLD_NEXT, "write");
    *(void **)(&real_writev) = dlsym(RTLD_NEXT, "writev");
    *(void **)(&real_pwrite) = dlsym(RTLD_NEXT, "pwrite");
    *(void **)(&real_pwrite64) = dlsym(RTLD_NEXT, "pwrite64");
    *(void **)(&real_fsync) = dlsym(RTLD_NEXT, "fsync");
    *(void **)(&real_fdatasync) = dlsym(RTLD_NEXT, "fdatasync");
    *(void **)(&real_rename) = dlsym(RTLD_NEXT, "rename");
    *(void **)(&real_renameat2) = dlsym(RTLD_NEXT, "renameat2");
    *(void **)(&real_close) = dlsym(RTLD_NEXT, "close");
}

__attribute__((constructor)) static void configure(void)
{
    load();
    const char *dir = getenv("QUORVEL_FAULT_DIR");
    if (!dir || !*dir || !realpath(dir, watched)) {
        watched[0] = '\0';
        return;
    }
    watched_len = strlen(watched);
    const char *ops = getenv("QUORVEL_FAULT_OPS");
    if (ops && *ops) {
        counted_ops = 0;
        if (strstr(ops, "write"))
            counted_ops |= OP_WRITE;
        if (strstr(ops, "sync"))
            counted_ops |= OP_SYNC;
        if (strstr(ops, "rename"))
            counted_ops |= OP_RENAME;
        if (strstr(ops, "close"))
            counted_ops |= OP_CLOSE;
    }
    const char *at = getenv("QUORVEL_FAULT_AT");
    fault_at = at ? strtol(at, NULL, 10) : 0;
    const char *act = getenv("QUORVEL_FAULT_ACTION");
    if (act) {
        if (strcmp(act, "short") == 0) {
            action = ACT_SHORT;
        } else if (strcmp(act, "stop") == 0) {
            action = ACT_STOP;
        } else {
            action = ACT_ERRNO;
            fault_errno = strcmp(act, "EIO") == 0 ? EIO
                : strcmp(act, "EROFS") == 0       ? EROFS
                : strcmp(act, "EDQUOT") == 0      ? EDQUOT
                                                  : ENOSPC;
        }
    }
    const char *sp = getenv("QUORVEL_FAULT_SPACE");
    space = sp && *sp ? strtoll(sp, NULL, 10) : -1;
    const char *wait = getenv("QUORVEL_FAULT_WAIT");
    disarmed = wait && strcmp(wait, "1") == 0;
    const char *report = getenv("QUORVEL_FAULT_REPORT");
    if (report)
        snprintf(report_path, sizeof report_path, "%s", report);
}

void quorvel_fault_arm(void)
{
    disarmed = 0;
}

void quorvel_fault_disarm(void)
{
    disarmed = 1;
}

static void note(const char *format, ...)
{
    if (!report_path[0])
        return;
    char line[PATH_MAX * 2 + 64];
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    const int fd = open(report_path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    real_write(fd, line, n > 0 && (size_t)n < sizeof line ? (size_t)n : strlen(line));
    real_close(fd);
}

static int inside(const char *path)
{
    return watched_len > 0 && strncmp(path, watched, watched_len) == 0
        && (path[watched_len] == '/' || path[watched_len] == '\0');
}

static int fd_path(int fd, char *path, size_t size)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, size - 1);
    if (n < 0)
        return 0;
    path[n] = '\0';
    return 1;
}

static int watched_fd(int fd, char *path, size_t size)
{
    return !disarmed && watched_len > 0 && fd_path(fd, path, size) && inside(path);
}

static void resolve(int dirfd, const char *name, char *path, size_t size)
{
    if (name[0] == '/') {
        snprintf(path, size, "%s", name);
        return;
    }
    char base[PATH_MAX];
    if (dirfd == AT_FDCWD) {
        if (!getcwd(base, sizeof base))
            base[0] = '\0';
    } else if (!fd_path(dirfd, base, sizeof base)) {
        base[0] = '\0';
    }
    snprintf(path, size, "%s/%s", base, name);
}

static const char *op_name(unsigned op)
{
    switch (op) {
    case OP_WRITE:
        return "write";
    case OP_SYNC:
        return "sync";
    case OP_RENAME:
        return "rename";
    default:
        return "close";
    }
}

/* Counts a call on a watched file; returns the action it gets. */
static int count(unsigned op, const char *path)
{
    if (!(counted_ops & op))
        return ACT_NONE;
    ++calls;
    note("call %ld %s %s\n", calls, op_name(op), path);
    if (fault_at <= 0 || calls != fault_at || action == ACT_NONE)
        return ACT_NONE;
    note("fired %ld %s %s\n", calls, op_name(op), path);
    if (action == ACT_SHORT && op != OP_WRITE)
        return ACT_NONE;
    if (action == ACT_STOP) {
        raise(SIGSTOP);
        return ACT_NONE;
    }
    return action;
}

/* The bytes a write of n may take under the space limit; -1 when none. */
static ssize_t room(size_t n)
{
    if (space < 0)
        return (ssize_t)n;
    if (space == 0)
        return -1;
    const size_t allowed = (size_t)space < n ? (size_t)space : n;
    space -= (long long)allowed;
    return (ssize_t)allowed;
}

static ssize_t limit_write(unsigned long long n, int fault, size_t *take)
{
    *take = (size_t)n;
    if (fault == ACT_ERRNO) {
        errno = fault_errno;
        return -1;
    }
    if (fault == ACT_SHORT && n > 1)
        *take = (size_t)(n / 2);
    const ssize_t allowed = room(*take);
    if (allowed < 0) {
        errno = ENOSPC;
        return -1;
    }
    *take = (size_t)allowed;
    return 0;
}

ssize_t write(int fd, const void *buffer, size_t n)
{
    char path[PATH_MAX];
    if (!watched_fd(fd, path, sizeof path))
        return real_write(fd, buffer, n);
    size_t take;
    if (limit_write(n, count(OP_WRITE, path), &take) < 0)
        return -1;
    return real_write(fd, buffer, take);
}

ssize_t pwrite(int fd, const void *buffer, size_t n, off_t offset)
{
    char path[PATH_MAX];
    if (!watched_fd(fd, path, sizeof path))
        return real_pwrite(fd, buffer, n, offset);
    size_t take;
    if (limit_write(n, count(OP_WRITE, path), &take) < 0)
        return -1;
    return real_pwrite(fd, buffer, take, offset);
}

ssize_t pwrite64(int fd, const void *buffer, size_t n, off64_t offset)
{
    char path[PATH_MAX];
    if (!watched_fd(fd, path, sizeof path))
        return real_pwrite64(fd, buffer, n, offset);
    size_t take;
    if (limit_write(n, count(OP_WRITE, path), &take) < 0)
        return -1;
    return real_pwrite64(fd, buffer, take, offset);
}

ssize_t writev(int fd, const struct iovec *iov, int count_iov)
{
    char path[PATH_MAX];
    if (!watched_fd(fd, path, sizeof path))
        return real_writev(fd, iov, count_iov);
    unsigned long long total = 0;
    for (int i = 0; i < count_iov; ++i)
        total += iov[i].iov_len;
    size_t take;
    if (limit_write(total, count(OP_WRITE, path), &take) < 0)
        return -1;
    if (take == total)
        return real_writev(fd, iov, count_iov);
    /* Cut short: write the first take bytes only. */
    ssize_t written = 0;
    for (int i = 0; i < count_iov && take > 0; ++i) {
        const size_t part = iov[i].iov_len < take ? iov[i].iov_len : take;
        const ssize_t n = real_write(fd, iov[i].iov_base, part);
        if (n < 0)
            return written > 0 ? written : -1;
        written += n;
        take -= (size_t)n;
        if ((size_t)n < part)
            break;
    }
    return written;
}

static int sync_call(int fd, int (*real)(int))
{
    char path[PATH_MAX];
    if (!watched_fd(fd, path, sizeof path))
        return real(fd);
    if (count(OP_SYNC, path) == ACT_ERRNO) {
        errno = fault_errno;
        return -1;
    }
    return real(fd);
}

int fsync(int fd)
{
    return sync_call(fd, real_fsync);
}

int fdatasync(int fd)
{
    return sync_call(fd, real_fdatasync);
}

int close(int fd)
{
    char path[PATH_MAX];
    if (!watched_fd(fd, path, sizeof path))
        return real_close(fd);
    const int fault = count(OP_CLOSE, path);
    const int result = real_close(fd);
    if (fault == ACT_ERRNO) {
        /* The descriptor is gone, as after a real failing close. */
        errno = fault_errno;
        return -1;
    }
    return result;
}

static int path_call(unsigned op, const char *from, const char *to)
{
    if (disarmed || !(inside(from) || inside(to)))
        return 0;
    if (count(op, to) == ACT_ERRNO) {
        errno = fault_errno;
        return -1;
    }
    return 0;
}

int rename(const char *from, const char *to)
{
    char a[PATH_MAX], b[PATH_MAX];
    resolve(AT_FDCWD, from, a, sizeof a);
    resolve(AT_FDCWD, to, b, sizeof b);
    if (path_call(OP_RENAME, a, b) < 0)
        return -1;
    return real_rename(from, to);
}

int renameat2(int fromdir, const char *from, int todir, const char *to, unsigned int flags)
{
    char a[PATH_MAX], b[PATH_MAX];
    resolve(fromdir, from, a, sizeof a);
    resolve(todir, to, b, sizeof b);
    if (path_call(OP_RENAME, a, b) < 0)
        return -1;
    return real_renameat2(fromdir, from, todir, to, flags);
}
