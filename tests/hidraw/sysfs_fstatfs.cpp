// Preloaded into the programs run against the emulated hidraw devices.
// libudev reads a device only from a file system that says it is sysfs
// (fstatfs magic); the emulated tree is tmpfs mounted under /sys. This is the
// one thing of the emulation that is not real: fstatfs reports sysfs for a
// tmpfs file below /sys. Everything else hidapi and libudev read is a real
// file, link or node.
#include <dlfcn.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace
{
bool underSys(int fd)
{
    char link[48];
    char target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return false;
    target[n] = '\0';
    return std::strncmp(target, "/sys/", 5) == 0;
}
} // namespace

template <class Stat> int sysfsForTmpfsUnderSys(const char* name, int fd, Stat* buf)
{
    using Fn = int (*)(int, Stat*);
    const auto real = reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
    const int r = real(fd, buf);
    if (r == 0 && buf->f_type == TMPFS_MAGIC && underSys(fd))
        buf->f_type = SYSFS_MAGIC;
    return r;
}

// libudev calls one or the other, as it was built.
extern "C" int fstatfs(int fd, struct statfs* buf)
{
    return sysfsForTmpfsUnderSys("fstatfs", fd, buf);
}

extern "C" int fstatfs64(int fd, struct statfs64* buf)
{
    return sysfsForTmpfsUnderSys("fstatfs64", fd, buf);
}
