#include "app/pages/engineer/EngineerTextsApplier.h"

#include "skin/EngineerTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

namespace orb
{

namespace
{

bool carriesText(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QLabel*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTabBar*>(w) ||
           qobject_cast<const QTabWidget*>(w);
}

// A caption by the control's kind; a sheet's caption is its tab's text.
void setCaption(QWidget* w, const QString& text)
{
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(text);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(text);
        l->adjustSize(); // the labels size themselves to their caption
    } else {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
                if (const int i = tabs->indexOf(w); i >= 0)
                    tabs->setTabText(i, text);
                break;
            }
    }
}

} // namespace

EngineerTextsApplied ApplyEngineerTexts(QWidget* page, const QLocale& locale)
{
    const int column = EngineerColumnFor(locale);

    // The font name only; the size is the page's.
    const auto setFamily = [](QWidget* w) {
        QFont f = w->font();
        f.setFamily(EngineerFontName);
        w->setFont(f);
    };
    setFamily(page);
    // Most controls follow the page; only those whose font was set before
    // keep their own family.
    for (QWidget* w : page->findChildren<QWidget*>())
        if (carriesText(w) && w->font().family() != EngineerFontName)
            setFamily(w);

    for (const EngineerCaption& c : EngineerCaptions())
        if (QWidget* w = page->findChild<QWidget*>(QLatin1String(c.control)))
            if (const std::optional<QString> text = EngineerText(c.id, column))
                setCaption(w, *text);

    // Filling a list is not a choice of the user: its handlers do not run.
    for (const EngineerList& l : EngineerLists())
        if (auto* list = page->findChild<QComboBox*>(QLatin1String(l.control))) {
            const QSignalBlocker quiet(list);
            list->clear();
            list->addItems(EngineerTextRange(l.firstId, l.count, column));
            list->setCurrentIndex(-1);
        }
    return {column, EngineerMcuModeNames(column)};
}

} // namespace orb
