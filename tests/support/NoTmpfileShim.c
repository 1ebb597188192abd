/* Loaded with LD_PRELOAD by the tests: a file system without unnamed files
   (open with O_TMPFILE fails as on NFS, vfat or CIFS), and, when
   TARVIX_SLOW_FSYNC is set, a disk that takes three seconds to flush, so a
   test can signal the program while a picture is being saved. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <time.h>

typedef int (*OpenFn)(const char*, int, ...);

static int Forward(const char* name, const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    OpenFn real = (OpenFn)dlsym(RTLD_NEXT, name);
    return real(path, flags, mode);
}

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(ap, int) : 0;
    va_end(ap);
    return Forward("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(ap, int) : 0;
    va_end(ap);
    return Forward("open64", path, flags, mode);
}

int fsync(int fd) {
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    if (getenv("TARVIX_SLOW_FSYNC")) {
        struct timespec wait = {3, 0};
        nanosleep(&wait, NULL);
    }
    return real(fd);
}
