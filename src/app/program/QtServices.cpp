#include "app/program/QtServices.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
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

std::optional<QString> QtServices::saveFileName(const QString& filter, const QString& suggestedName)
{
    const QString f = QFileDialog::getSaveFileName(parent_, QString(), suggestedName, toQtFilter(filter));
    if (f.isEmpty())
        return std::nullopt;
    return f;
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
