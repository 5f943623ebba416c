#include "app/program/AppMain.h"

#include "app/base/AppInfo.h"
#include "app/base/Skin.h"
#include "app/frame/MainWindow.h"
#include "app/session/DeviceSession.h"
#include "app/program/CommandLine.h"
#include "app/program/QtServices.h"
#include "app/program/SingleInstance.h"
#include "capture/InputCapture.h"
#include "core/RealClock.h"
#include "device/MouseLock.h"
#include "hostmouse/HostMousePlatform.h"
#include "rcdata.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>
#include <QTimer>
#include <future>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace orb
{

namespace
{
// Longer than this, and the window gives up and says who holds the mouse
// (a tick at the mouse's arrival tries again later).
constexpr int kWindowMouseLockWaitMs = 3000;

// The application icon's pictures at the sizes title bars and task switchers
// draw: each window sends its icon's every size to the window system when it
// is made, and the 256-pixel picture alone is a quarter of a megabyte. Made
// on another thread while the window is built.
QList<QImage> applicationIconPictures()
{
    QList<QImage> pictures;
    if (const auto png = rcData(QStringLiteral("AppIcon")))
        if (const QImage picture = DecodePng(*png); !picture.isNull())
            for (const int size : {32, 64})
                pictures << picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pictures;
}

QIcon applicationIcon(const QList<QImage>& pictures)
{
    QIcon icon;
    for (const QImage& picture : pictures)
        icon.addPixmap(QPixmap::fromImage(picture));
    if (icon.isNull()) {
        QPixmap pm(64, 64);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0, 200, 255));
        p.setPen(Qt::NoPen);
        p.drawEllipse(8, 4, 48, 56);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}
} // namespace

int runProgram(int argc, char** argv, std::unique_ptr<HidPlatform> hid,
               const std::function<void(MainWindow&)>& started)
{
    {
        // Answered without a display: QApplication would need one.
        QStringList args;
        for (int i = 1; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        QTextStream out(stdout);
        if (const auto code = AnswerInfoOptions(args, out))
            return *code;
    }
    QApplication app(argc, argv);
    // Not before: reading an image looks up Qt's plug-in folders, which the
    // application is still setting up while it is being made.
    auto iconPictures = std::async(std::launch::async, applicationIconPictures);
    SingleInstance instance(kWindowTitle);
    switch (instance.claimOrRaise()) {
    case SingleInstance::Claim::Raised:
        return 0; // the running copy comes forward
    case SingleInstance::Claim::Unavailable:
        // Better two windows than none: the user asked for one.
        qWarning("single instance: %s cannot be used; this copy starts on its own",
                 qPrintable(instance.serverName()));
        break;
    case SingleInstance::Claim::First:
        break;
    }
    QApplication::setApplicationName(kApplicationTitle);

    RealClock clock;
    QtServices services;
    // After the application exists: the desktop's kind decides the system calls.
    const auto hostStore = CreateHostMouseStore();
    const auto hostSystem = CreateHostMouseSystem();
    // Recording takes the desktop's input where the session offers it.
    MainWindow window(
        {clock, services, *hid, defaultVendorId(), *hostStore, *hostSystem, {&CreateInputCapture, {}, {}}});
    // The command-line tool may want the same mouse: each transfer takes the
    // mouse's lock, waiting briefly (pumped) for a tool that is writing it.
    window.session().link().setLockFolder(MouseLock::defaultFolder(), kWindowMouseLockWaitMs);
    // The icon goes to the window system when the window is first shown; set
    // here, its decoding had the whole window's building to finish in.
    QApplication::setWindowIcon(applicationIcon(iconPictures.get()));
    services.setParentWidget(&window);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &MainWindow::bringToFront);
    window.show();
    if (started)
        started(window);
#if defined(__GLIBC__)
    // The start's parsers and picture decoders have freed their memory;
    // glibc keeps it resident until asked to give it back.
    QTimer::singleShot(500, [] { malloc_trim(0); });
#endif
    return app.exec();
}

} // namespace orb
