/* A stand-in for a slow disk, loaded with LD_PRELOAD: every fsync and fdatasync waits
   SLOW_FSYNC_MS milliseconds (default 3000) before it does its work. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

static void Wait(void)
{
    const char* text = getenv("SLOW_FSYNC_MS");
    const long ms = text ? atol(text) : 3000;
    struct timespec delay = { ms / 1000, (ms % 1000) * 1000000L };
    while (nanosleep(&delay, &delay) != 0) { }
}

typedef int (*Sync)(int);

static int WaitThen(Sync* real, const char* name, int fd)
{
    if (!*real)
        *real = (Sync)dlsym(RTLD_NEXT, name);
    Wait();
    return (*real)(fd);
}

int fsync(int fd)
{
    static Sync real;
    return WaitThen(&real, "fsync", fd);
}

int fdatasync(int fd)
{
    static Sync real;
    return WaitThen(&real, "fdatasync", fd);
}
