// The program on a simulated host: a keyboard is there from the start and
// the simulated mouse is plugged in a second later, so the window finds,
// opens and reads it as it would the real one. With --refuse-open its
// interface refuses opening; with --dump-memory FILE the simulated mouse's
// memory is written to FILE when the program ends, to check what a write
// left in it. Holding the keys 1 to 9 in
// the window holds the simulated mouse's buttons 1 to 9 down (what the
// engineering page's button test reads).
#include "app/frame/MainWindow.h"
#include "app/program/AppMain.h"
#include "app/program/DemoMouse.h"
#include "device/SimMouse.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace
{

class PressedButtonKeys : public QObject
{
  public:
    PressedButtonKeys(orb::SimMouse& mouse, QObject* parent) : QObject(parent), mouse_(mouse) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && key->key() >= Qt::Key_1 && key->key() <= Qt::Key_9) {
                const auto bit = std::uint16_t(1u << (key->key() - Qt::Key_1));
                if (event->type() == QEvent::KeyPress)
                    mouse_.pressedButtons |= bit;
                else
                    mouse_.pressedButtons &= std::uint16_t(~bit);
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    orb::SimMouse& mouse_;
};

} // namespace

int main(int argc, char** argv)
{
    static orb::SimMouse mouse;
    auto host = orb::MakeDemoHost(mouse);
    // --refuse-open: the mouse's interface refuses opening, as a hidraw node
    // does for a user without the udev rule.
    QString dumpPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--refuse-open") == 0)
            host->refuseOpening(&mouse, true);
        else if (std::strcmp(argv[i], "--dump-memory") == 0 && i + 1 < argc)
            dumpPath = QString::fromLocal8Bit(argv[++i]);
    }
    orb::SimHost* hostPtr = host.get();
    const int code = orb::runProgram(argc, argv, std::move(host), [hostPtr](orb::MainWindow& window) {
        qApp->installEventFilter(new PressedButtonKeys(mouse, &window));
        orb::PlugInDemoMouseSoon(*hostPtr, mouse);
    });
    if (!dumpPath.isEmpty()) {
        QFile out(dumpPath);
        const auto size = static_cast<qint64>(mouse.memory.size());
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(reinterpret_cast<const char*>(mouse.memory.data()), size) != size) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dumpPath));
            return code == 0 ? 1 : code;
        }
    }
    return code;
}
