// A process that claims the single-instance slot for a title, as the
// program does: prints "primary" and waits to be asked to come forward
// ("raised"), or prints "secondary" when another copy already runs. With
// "stay" after the title, a primary says "raised" at every request and ends
// when its standard input closes.
#include "app/program/SingleInstance.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 3;
    orb::SingleInstance instance(QString::fromUtf8(argv[1]));
    if (!instance.claim()) {
        std::printf("secondary\n");
        return 0;
    }
    std::printf("primary\n");
    std::fflush(stdout);
    const bool stay = argc > 2 && std::strcmp(argv[2], "stay") == 0;
    QObject::connect(&instance, &orb::SingleInstance::activationRequested, [stay] {
        std::printf("raised\n");
        std::fflush(stdout);
        if (!stay)
            QCoreApplication::exit(0);
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(stay);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0) {
            input.setEnabled(false);
            QCoreApplication::exit(0);
        }
    });
    QTimer::singleShot(15000, [] { QCoreApplication::exit(2); });
    return app.exec();
}
