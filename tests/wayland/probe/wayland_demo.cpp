// The demo (the program on a simulated mouse, plugged in a second after
// start) with a question channel for a script that drives it from outside
// through the compositor's input. Prints "ready" once the mouse has been
// read and the window takes input; then answers one question a line on
// standard input:
//   where NAME         "at NAME X Y": the middle of the visible control NAME
//                      in the main window's logical pixels, or "none NAME"
//   row LIST N         the same for row N of the list LIST ("at LIST:N X Y")
//   recording          "recording 1" while a macro is recorded, else "recording 0"
//   language           "language N"
//   ratio              "ratio R": the main window's device pixel ratio
//   dialogs            "dialog NAME CLASS" for each visible window other than the
//                      main one, then "end"
//   lines              "line TEXT" for each line of the open macro (the
//                      lines LB_macro shows), then "end"
//   names              "name TEXT" for each macro of the library, then "end"
#include "app/base/Skin.h"
#include "app/frame/MainWindow.h"
#include "app/pages/macros/MacroPage.h"
#include "app/program/AppMain.h"
#include "app/program/DemoMouse.h"
#include "app/session/DeviceSession.h"
#include "device/SimMouse.h"

#include <QApplication>
#include <QListWidget>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace
{

void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

QWidget* visibleControl(orb::MainWindow& window, const QString& name)
{
    for (QWidget* w : window.findChildren<QWidget*>(name))
        if (w->isVisible() && w->window() == &window)
            return w;
    return nullptr;
}

void sayAt(orb::MainWindow& window, const QString& what, QWidget* w, const QRect& inWidget)
{
    if (!w) {
        say(QStringLiteral("none ") + what);
        return;
    }
    const QPoint p = w->mapTo(&window, inWidget.center());
    say(QStringLiteral("at %1 %2 %3").arg(what).arg(p.x()).arg(p.y()));
}

void answer(orb::MainWindow& window, const QString& question)
{
    const QStringList words = question.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() == 2 && words[0] == QLatin1String("where")) {
        QWidget* w = visibleControl(window, words[1]);
        sayAt(window, words[1], w, w ? w->rect() : QRect());
    } else if (words.size() == 3 && words[0] == QLatin1String("row")) {
        auto* list = qobject_cast<QListWidget*>(visibleControl(window, words[1]));
        const int row = words[2].toInt();
        QListWidgetItem* item = list && row >= 0 && row < list->count() ? list->item(row) : nullptr;
        const QString what = words[1] + QLatin1Char(':') + words[2];
        if (!item)
            say(QStringLiteral("none ") + what);
        else
            sayAt(window, what, list->viewport(), list->visualItemRect(item));
    } else if (question == QLatin1String("recording")) {
        say(QStringLiteral("recording %1").arg(window.macroPage().Recording() ? 1 : 0));
    } else if (question == QLatin1String("language")) {
        say(QStringLiteral("language %1").arg(window.skin().languageIndex()));
    } else if (question == QLatin1String("ratio")) {
        say(QStringLiteral("ratio %1").arg(window.devicePixelRatioF()));
    } else if (question == QLatin1String("dialogs")) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &window && w->isVisible())
                say(QStringLiteral("dialog %1 %2").arg(w->objectName(), w->metaObject()->className()));
        say(QStringLiteral("end"));
    } else if (question == QLatin1String("lines")) {
        for (const QString& line : window.macroPage().script().Lines)
            say(QStringLiteral("line ") + line);
        say(QStringLiteral("end"));
    } else if (question == QLatin1String("names")) {
        for (const QString& name : window.macroPage().library().NameList())
            say(QStringLiteral("name ") + name);
        say(QStringLiteral("end"));
    } else {
        say(QStringLiteral("unknown ") + question);
    }
}

// Reads questions from standard input as they come, on the GUI thread.
void listen(orb::MainWindow& window)
{
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
    auto* pending = new QByteArray;
    QObject::connect(notifier, &QObject::destroyed, [pending] { delete pending; });
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier, pending] {
        char buf[512];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            notifier->setEnabled(false); // the script is gone
            return;
        }
        pending->append(buf, n);
        for (qsizetype end; (end = pending->indexOf('\n')) >= 0;) {
            const QString question = QString::fromUtf8(pending->left(end)).trimmed();
            pending->remove(0, end + 1);
            if (!question.isEmpty())
                answer(window, question);
        }
    });
}

void sayReadyWhenRead(orb::MainWindow& window)
{
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll] {
        if (!window.session().lastReadComplete() || window.session().timerBusy())
            return;
        poll->stop();
        say(QStringLiteral("ready"));
    });
    poll->start(100);
}

} // namespace

int main(int argc, char** argv)
{
    static orb::SimMouse mouse;
    auto host = orb::MakeDemoHost(mouse);
    orb::SimHost* hostPtr = host.get();
    return orb::runProgram(argc, argv, std::move(host), [hostPtr](orb::MainWindow& window) {
        listen(window);
        sayReadyWhenRead(window);
        orb::PlugInDemoMouseSoon(*hostPtr, mouse);
    });
}
