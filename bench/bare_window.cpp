// The floor the program's start-up is measured against: an empty Qt window
// of the program's size (the skin background, 1030 x 662), shown and left
// idle. Usage: bare_window [--hold-ms N] (default 3000; 0 quits when shown).
#include "StartupProbe.h"

int main(int argc, char** argv)
{
    const int holdMs = orbbench::holdMsArgument(argc, argv);
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.resize(1030, 662);
    orbbench::Probe probe(window, holdMs, "bare_window");
    window.show();
    return app.exec();
}
