#pragma once
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace orb
{

// The program's `--help` text.
QString ProgramUsageText();

// Answers `-h`/`--help` and `--version` before the application (and with it
// the display) exists. Returns the exit status when one was answered; nothing
// when the window should start. Other arguments are left to Qt.
std::optional<int> AnswerInfoOptions(const QStringList& args, QTextStream& out);

} // namespace orb
