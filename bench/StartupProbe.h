#pragma once
// Start-up figures shared by the demo probe and the bare window: time from
// process start to the first paint of the top-level window, and the resident
// memory a while later. Printed as one "key=value" line on standard output.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace orbbench
{

// Milliseconds since the process was started. The launcher may pass its
// wall-clock time in ns as ORB_BENCH_LAUNCH_NS (bench/startup.sh does), so
// both ends are read from the same clock; otherwise the kernel's start time
// of the process is used (10 ms resolution).
inline double msSinceProcessStart()
{
    timespec now{};
    static const QByteArray launch = qgetenv("ORB_BENCH_LAUNCH_NS");
    if (!launch.isEmpty()) {
        clock_gettime(CLOCK_REALTIME, &now);
        return (now.tv_sec * 1e9 + now.tv_nsec - launch.toDouble()) / 1e6;
    }
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22 (starttime) counts after the ")" that closes the command name.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const double startTicks = fields[19].toDouble();
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// VmRSS and VmHWM of this process in KiB.
inline void residentKiB(long& rss, long& peak)
{
    rss = peak = -1;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2)
            continue;
        if (parts[0] == "VmRSS:")
            rss = parts[1].toLong();
        else if (parts[0] == "VmHWM:")
            peak = parts[1].toLong();
    }
}

// Watches `window` for its first paint; `holdMs` after process start prints
// the figures and quits the application. holdMs 0 quits at the first paint.
class Probe : public QObject
{
  public:
    Probe(QWidget& window, int holdMs, const char* name) : holdMs_(holdMs), name_(name)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && shownMs_ < 0) {
            shownMs_ = msSinceProcessStart();
            const int left = holdMs_ <= 0 ? 0 : std::max(0, int(holdMs_ - shownMs_));
            // Precise: a coarse timer of seconds may fire up to 5 % early.
            QTimer::singleShot(left, Qt::PreciseTimer, this, [this] { report(); });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void report()
    {
        long rss = 0, peak = 0;
        residentKiB(rss, peak);
        std::printf("%s first_shown_ms=%.0f at_ms=%.0f rss_kib=%ld peak_kib=%ld\n", name_, shownMs_,
                    msSinceProcessStart(), rss, peak);
        std::fflush(stdout);
        // For a heap profile of what lives at this moment: ending here, with
        // the window still standing, leaves it all as "leaked".
        if (qEnvironmentVariableIsSet("ORB_BENCH_EXIT_AT_REPORT"))
            std::exit(0);
        QApplication::quit();
    }

    int holdMs_;
    const char* name_;
    double shownMs_ = -1;
};

// "--hold-ms N" from the command line; 3000 when absent.
inline int holdMsArgument(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--hold-ms")
            return QByteArray(argv[i + 1]).toInt();
    return 3000;
}

} // namespace orbbench
