// Another program on the same mouse: takes the mouse's lock in FOLDER for
// the interface PATH and answers on standard output.
//   mouse_lock_probe FOLDER PATH [NODE]
// With NODE, the lock is the flock on that file (a hidraw node's stand-in).
// Prints "locked" once it holds the lock (then gives it back at a line on
// standard input, prints "released" and ends at the end of the input), or
// "held by HOLDER" when another program has it.
#include "device/MouseLock.h"

#include <QCoreApplication>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 3;
    orb::MouseLock lock(QString::fromLocal8Bit(argv[1]), argv[2], argc > 3 ? argv[3] : "");
    if (!lock.tryLock()) {
        std::printf("held by %s\n", qPrintable(lock.holder()));
        return 1;
    }
    std::printf("locked\n");
    std::fflush(stdout);
    char line[64];
    if (std::fgets(line, sizeof line, stdin))
        lock.unlock();
    std::printf("released\n");
    std::fflush(stdout);
    while (std::fgets(line, sizeof line, stdin)) {
    }
    return 0;
}
