#include "app/program/AppMain.h"

#include "app/base/AppInfo.h"
#include "app/frame/MainWindow.h"
#include "app/program/CommandLine.h"
#include "app/program/QtServices.h"
#include "app/program/SingleInstance.h"
#include "capture/InputCapture.h"
#include "core/RealClock.h"
#include "hostmouse/HostMousePlatform.h"
#include "rcdata.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>

namespace orb
{

namespace
{
QIcon applicationIcon()
{
    QPixmap pm;
    if (const auto png = rcData(QStringLiteral("AppIcon")))
        pm.loadFromData(*png);
    if (pm.isNull()) {
        pm = QPixmap(64, 64);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0, 200, 255));
        p.setPen(Qt::NoPen);
        p.drawEllipse(8, 4, 48, 56);
    }
    return QIcon(pm);
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
    SingleInstance instance(kWindowTitle);
    if (!instance.claim())
        return 0; // the running copy comes forward
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setWindowIcon(applicationIcon());

    RealClock clock;
    QtServices services;
    // After the application exists: the desktop's kind decides the system calls.
    const auto hostStore = CreateHostMouseStore();
    const auto hostSystem = CreateHostMouseSystem();
    // Recording takes the desktop's input where the session offers it.
    MainWindow window(
        {clock, services, *hid, defaultVendorId(), *hostStore, *hostSystem, {&CreateInputCapture, {}, {}}});
    services.setParentWidget(&window);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &MainWindow::bringToFront);
    window.show();
    if (started)
        started(window);
    return app.exec();
}

} // namespace orb
