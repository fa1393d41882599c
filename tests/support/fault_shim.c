/* Preloaded into orvista-cli by the robustness tests: makes the k-th call of
 * one kind of file operation fail, or slows writes down.
 *   ORV_FAULT_OP     write | flush | close | rename | create (temporary files)
 *   ORV_FAULT_AT     k, counting from 1 (only calls on regular files count;
 *                    for close, only files open for writing)
 *   ORV_FAULT_KIND   eio | enospc | short (half written, then ENOSPC)
 *   ORV_SLOW_WRITES  microseconds to sleep per 64 KiB written
 *   ORV_SLOW_FLUSH   microseconds every fsync (of files and folders) takes
 *   ORV_FLUSH_MARK   a path: the n-th fsync creates "<path>-<n>" as it starts,
 *                    so a test can act while the flush runs
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static long counts[5];
static int failNext; /* after a short write, the disk is full */

static int op(const char* name)
{
    const char* wanted = getenv("ORV_FAULT_OP");
    return wanted && strcmp(wanted, name) == 0;
}

static int regular(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

/* 1 when this call is the one to fail. */
static int strike(int index, const char* name)
{
    const char* at = getenv("ORV_FAULT_AT");
    return op(name) && at && ++counts[index] == atol(at);
}

static int faultErrno(void)
{
    const char* kind = getenv("ORV_FAULT_KIND");
    return kind && strcmp(kind, "eio") == 0 ? EIO : ENOSPC;
}

static int shortKind(void)
{
    const char* kind = getenv("ORV_FAULT_KIND");
    return kind && strcmp(kind, "short") == 0;
}

static size_t slowed(size_t n)
{
    const char* slow = getenv("ORV_SLOW_WRITES");
    if (!slow)
        return n;
    usleep((useconds_t)atol(slow));
    return n > 65536 ? 65536 : n;
}

ssize_t write(int fd, const void* data, size_t n)
{
    static ssize_t (*real)(int, const void*, size_t);
    if (!real)
        real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    if (!regular(fd))
        return real(fd, data, n);
    if (failNext) {
        errno = ENOSPC;
        return -1;
    }
    if (strike(0, "write")) {
        if (shortKind() && n > 1) {
            failNext = 1;
            return real(fd, data, n / 2);
        }
        errno = faultErrno();
        return -1;
    }
    return real(fd, data, slowed(n));
}

ssize_t pwrite64(int fd, const void* data, size_t n, off_t offset)
{
    static ssize_t (*real)(int, const void*, size_t, off_t);
    if (!real)
        real = (ssize_t(*)(int, const void*, size_t, off_t))dlsym(RTLD_NEXT, "pwrite64");
    if (regular(fd) && strike(0, "write")) {
        errno = faultErrno();
        return -1;
    }
    return real(fd, data, n, offset);
}

static void markAndSlowFlush(void)
{
    static long flushes;
    const char* mark = getenv("ORV_FLUSH_MARK");
    const char* slow = getenv("ORV_SLOW_FLUSH");
    ++flushes;
    if (mark) {
        char name[4096];
        snprintf(name, sizeof name, "%s-%ld", mark, flushes);
        const int fd = open(name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) {
            static int (*realClose)(int);
            if (!realClose)
                realClose = (int (*)(int))dlsym(RTLD_NEXT, "close");
            realClose(fd);
        }
    }
    if (slow)
        usleep((useconds_t)atol(slow));
}

int fsync(int fd)
{
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    markAndSlowFlush();
    if (regular(fd) && strike(1, "flush")) {
        errno = faultErrno();
        return -1;
    }
    return real(fd);
}

int close(int fd)
{
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "close");
    const int flags = fcntl(fd, F_GETFL);
    if (regular(fd) && flags >= 0 && (flags & O_ACCMODE) != O_RDONLY && strike(2, "close")) {
        real(fd);
        errno = faultErrno();
        return -1;
    }
    return real(fd);
}

int rename(const char* from, const char* to)
{
    static int (*real)(const char*, const char*);
    if (!real)
        real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    if (strike(3, "rename")) {
        errno = faultErrno();
        return -1;
    }
    return real(from, to);
}

int mkostemp(char* pattern, int flags)
{
    static int (*real)(char*, int);
    if (!real)
        real = (int (*)(char*, int))dlsym(RTLD_NEXT, "mkostemp");
    if (strike(4, "create")) {
        errno = EACCES;
        return -1;
    }
    return real(pattern, flags);
}
