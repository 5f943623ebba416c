// A process on the display given by the environment (QT_QPA_PLATFORM=xcb,
// DISPLAY) that says what a skinned window takes from it: prints the
// platform, whether the display composites, and the window's background
// ("see-through" or "opaque"). With "claim", another client first owns
// the selection a compositing manager owns, as a running one would.
#include "app/base/WindowShape.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <cstdio>
#include <cstring>

// Last, for its macros.
#include <X11/Xlib.h>

int main(int argc, char** argv)
{
    Display* manager = nullptr;
    if (argc > 1 && std::strcmp(argv[1], "claim") == 0) {
        manager = XOpenDisplay(nullptr);
        if (!manager)
            return 3;
        const int screen = DefaultScreen(manager);
        const Window owner = XCreateSimpleWindow(manager, RootWindow(manager, screen), 0, 0, 1, 1, 0, 0, 0);
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
        XSetSelectionOwner(manager, XInternAtom(manager, name.constData(), False), owner, CurrentTime);
        XSync(manager, False);
    }
    QApplication app(argc, argv);
    QWidget window;
    orb::WindowShape::MakeTranslucent(&window);
    const bool seeThrough = window.testAttribute(Qt::WA_TranslucentBackground) &&
                            window.palette().color(QPalette::Window).alpha() == 0;
    std::printf("%s %s %s\n", qPrintable(QGuiApplication::platformName()),
                orb::WindowShape::DisplayComposites() ? "composites" : "no-compositing",
                seeThrough ? "see-through" : "opaque");
    std::fflush(stdout);
    if (manager)
        XCloseDisplay(manager);
    return 0;
}
