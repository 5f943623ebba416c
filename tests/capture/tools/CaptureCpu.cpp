// Measures the CPU time the X11 capture costs: idle (no input) and while
// xdotool types and clicks. Prints per cent of one core for each phase.
//   capture_cpu [seconds per phase, default 5]
#include "capture/X11InputCapture.h"

#include "XvfbServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace
{
// utime + stime of this process in clock ticks.
long long CpuTicks()
{
    QFile stat("/proc/self/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return fields[11].toLongLong() + fields[12].toLongLong();
}

double Phase(int seconds, const std::function<void()>& during)
{
    const long long ticksBefore = CpuTicks();
    QElapsedTimer wall;
    wall.start();
    during();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = double(CpuTicks() - ticksBefore) / double(sysconf(_SC_CLK_TCK));
    return 100.0 * cpu / (wall.elapsed() / 1000.0);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    orb::test::XvfbServer server;
    if (!server.ok()) {
        std::printf("skipped: %s\n", qPrintable(server.why()));
        return 0;
    }
    orb::X11InputCapture capture(server.display());
    int events = 0;
    capture.setKeyHandler([&](const orb::CapturedKey&) { ++events; });
    capture.setButtonHandler([&](const orb::CapturedButton&) { ++events; });
    if (!capture.start()) {
        std::printf("capture failed: %s\n", qPrintable(capture.errorText()));
        return 1;
    }
    const double idle = Phase(seconds, [] {});
    std::printf("idle capture: %.3f %% of one core over %d s, %d events\n", idle, seconds, events);

    // About 20 keys and 4 clicks a second, typed by another process.
    QProcess typist;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", QString::fromLatin1(server.display()));
    typist.setProcessEnvironment(env);
    QStringList args;
    for (int i = 0; i < seconds * 4; ++i)
        args << "type"
             << "--delay"
             << "50"
             << "hello"
             << "click"
             << "1";
    events = 0;
    const double busy = Phase(seconds, [&] { typist.start("xdotool", args); });
    typist.waitForFinished(30000);
    std::printf("capturing input: %.3f %% of one core over %d s, %d events\n", busy, seconds, events);
    capture.stop();
    return 0;
}
