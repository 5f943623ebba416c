#include "app/program/QtServices.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace orb
{

QString toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return out.isEmpty() ? filter : out.join(QStringLiteral(";;"));
}

void QtServices::showMessage(const QString& text, MessageStyle style)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(style == MessageStyle::PlainBox ? QString() : QStringLiteral(" "));
    // Carriage returns separate the lines of the program's messages.
    box.setText(QString(text)
                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                    .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setStandardButtons(QMessageBox::Ok);
    // The program's own window speaks in the language's font; the plain boxes
    // keep the system font.
    if (style == MessageStyle::MessageWindow && !messageFont_.isEmpty()) {
        QFont f = box.font();
        f.setFamily(messageFont_);
        box.setFont(f);
    }
    box.exec();
}

QString filterSuffix(const QString& filter)
{
    // "Description|patterns|...": the first pattern "*.ext" of the first
    // entry names the files' own ending.
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return {};
    for (const QString& pattern : parts[1].split(QLatin1Char(';'))) {
        const QString ending = pattern.trimmed().mid(2);
        if (pattern.trimmed().startsWith(QLatin1String("*.")) && !ending.isEmpty() &&
            !ending.contains(QLatin1Char('*')) && !ending.contains(QLatin1Char('?')))
            return ending;
    }
    return {};
}

std::optional<QString> QtServices::saveFileName(const QString& filter, const QString& suggestedName)
{
    const QString suffix = filterSuffix(filter);
    for (;;) {
        QFileDialog dialog(parent_, QString(), suggestedName, toQtFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The dialog adds the ending to a name typed without one; the
        // question about replacing is asked below, about the file that will
        // really be written: a desktop's own dialog asks about the name as
        // typed, before the ending is added.
        dialog.setDefaultSuffix(suffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        QString f = dialog.selectedFiles().constFirst();
        if (f.isEmpty())
            return std::nullopt;
        const QString ending = QLatin1Char('.') + suffix;
        if (!suffix.isEmpty() && !f.endsWith(ending, Qt::CaseInsensitive))
            f += ending; // "name.txt": the program writes "name.txt.bin"
        const QFileInfo info(f);
        if (!info.exists())
            return f;
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            parent_, dialog.windowTitle(),
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(info.fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes)
            return f;
        // No: the dialog again, as the dialog itself does.
    }
}

std::optional<QString> QtServices::openFileName(const QString& filter)
{
    const QString f = QFileDialog::getOpenFileName(parent_, QString(), QString(), toQtFilter(filter));
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QColor> QtServices::pickColour(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, parent_);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

void QtServices::openUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace orb
