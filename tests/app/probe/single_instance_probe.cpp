// A process that claims the single-instance slot for a title, as the
// program does: prints "primary" and waits to be asked to come forward
// ("raised"), or prints "secondary" when another copy already runs.
#include "app/program/SingleInstance.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

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
    QObject::connect(&instance, &orb::SingleInstance::activationRequested, [] {
        std::printf("raised\n");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(15000, [] { QCoreApplication::exit(2); });
    return app.exec();
}
