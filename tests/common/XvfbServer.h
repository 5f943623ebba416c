#pragma once
// An X server for tests that need one: a private Xvfb on a free display
// number, stopped with the object. Never the one in $DISPLAY, even when it
// answers: tests change its pointer acceleration and keyboard, and ctest -j
// would run several of them on it at once.
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QThread>

// Declared by hand so that Xlib's macros (None, Bool, Status) stay out of the tests.
struct _XDisplay;
extern "C" _XDisplay* XOpenDisplay(const char*);
extern "C" int XCloseDisplay(_XDisplay*);

namespace orb::test
{

class XvfbServer
{
  public:
    XvfbServer()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) {
            why_ = QStringLiteral("no X server: Xvfb is not installed");
            return;
        }
        // Xvfb picks a free display number itself and writes it to standard
        // output: tests started side by side never share a server (probing
        // numbers by hand could connect to another test's server before our
        // own Xvfb had failed on the same number).
        process_.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                              QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp"),
                              // Settings made by one client must outlive its connection.
                              QStringLiteral("-noreset")});
        QByteArray number;
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && process_.state() != QProcess::NotRunning && !number.endsWith('\n')) {
            process_.waitForReadyRead(100);
            number += process_.readAllStandardOutput();
        }
        if (number.endsWith('\n')) {
            const QByteArray name = ":" + number.trimmed();
            while (!deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
                if (answers(name)) {
                    display_ = name;
                    break;
                }
                QThread::msleep(50);
            }
        }
        if (display_.isEmpty())
            stop();
        if (display_.isEmpty())
            why_ = QStringLiteral("no X server: Xvfb did not start");
    }
    ~XvfbServer() { stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool ok() const { return !display_.isEmpty(); }
    // A server of our own, whose keyboard state and layout a test may change.
    bool isPrivate() const { return process_.state() != QProcess::NotRunning; }
    QByteArray display() const { return display_; }
    QString why() const { return why_; }

  private:
    static bool answers(const QByteArray& name)
    {
        _XDisplay* dpy = XOpenDisplay(name.constData());
        if (!dpy)
            return false;
        XCloseDisplay(dpy);
        return true;
    }
    void stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000))
                process_.kill();
            process_.waitForFinished(5000);
        }
    }

    QProcess process_;
    QByteArray display_;
    QString why_;
};

} // namespace orb::test
