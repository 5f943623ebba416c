#include "app/program/CommandLine.h"

#include "app/base/AppInfo.h"

namespace orb
{

QString ProgramUsageText()
{
    return QStringLiteral(
        "Usage: orb5610 [OPTIONS]\n"
        "Configure the buttons, CPI levels, lights and macros of the ORB5610 gaming mouse.\n"
        "The window finds the mouse when it is plugged in; only one copy runs at a time.\n"
        "\n"
        "Options:\n"
        "  -h, --help        this text\n"
        "  --version         the version\n"
        "Qt's own options (such as -platform NAME) are passed to Qt.\n"
        "\n"
        "Exit status:\n"
        "  0  the window was closed, or the running copy was brought forward\n");
}

std::optional<int> AnswerInfoOptions(const QStringList& args, QTextStream& out)
{
    for (const QString& a : args) {
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            out << ProgramUsageText();
            out.flush();
            return 0;
        }
        if (a == QLatin1String("--version")) {
            out << "orb5610 " << programVersion() << '\n';
            out.flush();
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace orb
