#include "app/base/PageStack.h"

#include "app/base/ControlAccess.h"

#include "skin/ButtonVisuals.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

namespace orb
{

namespace
{
constexpr QSize kUserPageSize(1030, 662);
constexpr QSize kEngineerPageSize(1076, 640);

// Controls that stay usable while the overlays block a page: the exit and
// minimise buttons and the windowed controls of the pages.
const char* const kAboveOverlay[] = {"Img_Exit_", "Btn_Exit_", "Img_Mini_", "Btn_Mini_"};
const char* const kWindowedControls[] = {"Edt_Repeat1", "Edt_DelayTime1", "LB_PCMacroName",
                                         "Gb_Insert",   "LB_macro",       "Gb_Delay"};

// A transparent cover that takes the pointer input of everything under it.
class InputBlocker final : public QWidget
{
  public:
    using QWidget::QWidget;

  protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
};
} // namespace

PageStack::PageStack(QWidget* window, const std::function<void(QWidget*, int)>& buildFrame,
                     QObject* dragFilter)
    : window_(window)
{
    const char* names[] = {"gbPage1", "gbPage2", "gbPage3", "gbPage4", "gbPage6"};
    for (int i = 0; i < 5; ++i) {
        auto* page = new QWidget(window);
        page->setObjectName(QString::fromLatin1(names[i]));
        page->resize(i < 4 ? kUserPageSize : kEngineerPageSize);
        pages_.push_back(page);
        if (i < 4) {
            const int copy = i + 1;
            auto* base = new QLabel(page);
            base->setObjectName(QStringLiteral("Img_Base_%1").arg(copy));
            base->setGeometry(QRect(QPoint(0, 0), kUserPageSize));
            base->installEventFilter(dragFilter);
            buildFrame(page, copy);
            auto* overlay = new InputBlocker(page);
            overlay->setObjectName(QStringLiteral("Disable_All_%1").arg(copy));
            overlay->setGeometry(base->geometry());
            overlays_.push_back(overlay);
        }
    }
    lbl_Content_ = new QLabel(pages_[4]);
    lbl_Content_->setObjectName(QStringLiteral("lbl_Content"));
    lbl_Content_->setGeometry(56, 558, 951, 40);
    lbl_Content_->setWordWrap(true);

    // Hidden options: only which one is selected matters. Each set has its
    // own parent so the two sets are exclusive separately.
    auto* pages = new QWidget(window);
    pages->setObjectName(QStringLiteral("PageState"));
    pages->hide();
    for (const PageOption& o : PageOptions())
        (new QRadioButton(pages))->setObjectName(o.option);
    pages->findChild<QRadioButton*>(QStringLiteral("rb_1"))->setChecked(true);

    auto* languages = new QWidget(window);
    languages->setObjectName(QStringLiteral("LanguageState"));
    languages->hide();
    for (int n = 1; n <= 3; ++n)
        (new QRadioButton(languages))->setObjectName(QStringLiteral("rb_Lang%1").arg(n));
}

QWidget* PageStack::page(int n) const
{
    if (n >= 1 && n <= 4)
        return pages_[std::size_t(n - 1)];
    if (n == 6)
        return pages_[4];
    return nullptr;
}

void PageStack::focusFirstControl(QWidget* page)
{
    // The top-left control: where Tab starts on the page.
    QWidget* first = nullptr;
    for (QWidget* w : ControlsByPosition(page))
        if (w->isVisible() && w->isEnabled()) {
            first = w;
            break;
        }
    if (first)
        first->setFocus(Qt::TabFocusReason);
    else
        page->setFocus(Qt::OtherFocusReason);
}

int PageStack::shownPage() const
{
    for (int n : {1, 2, 3, 4, 6})
        if (!page(n)->isHidden())
            return n;
    return 1;
}

void PageStack::showOnlyPage(int n)
{
    for (int i = 1; i <= 6; ++i)
        if (QWidget* p = page(i))
            p->setVisible(i == n);
    // Tab follows the controls as they now lie (the pages place some of
    // them from what they show).
    if (QWidget* shown = page(n); shown && n != 6)
        OrderTabsByPosition(shown);
    // Focus left on a control of a page now hidden would take keys no one
    // sees; it goes to the first control of the page shown.
    if (QWidget* shown = page(n)) {
        const QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == window_ && !focus->isVisible()) {
            // The frame's buttons have a copy on each page ("Btn_Adv_1"):
            // the shown page's copy of the one left keeps the focus.
            const QString name = focus->objectName();
            QWidget* twin = nullptr;
            if (name.size() > 2 && name.at(name.size() - 2) == QLatin1Char('_') && name.back().isDigit())
                twin = shown->findChild<QWidget*>(name.chopped(1) + QString::number(n));
            if (twin && twin->isVisible() && twin->focusPolicy() != Qt::NoFocus)
                twin->setFocus(Qt::TabFocusReason);
            else
                focusFirstControl(shown);
        }
    }
    if (onPageShown_)
        onPageShown_(n);
}

bool PageStack::isOverlay(const QWidget* w) const
{
    return std::find(overlays_.begin(), overlays_.end(), w) != overlays_.end();
}

void PageStack::ShowDisableAll()
{
    for (QWidget* o : overlays_)
        o->setVisible(true);
}

void PageStack::HideDisableAll()
{
    for (QWidget* o : overlays_)
        o->setVisible(false);
}

void PageStack::restackOverlays()
{
    for (int copy = 1; copy <= 4; ++copy) {
        QWidget* p = page(copy);
        overlays_[std::size_t(copy - 1)]->raise();
        for (const char* prefix : kAboveOverlay)
            if (auto* w = p->findChild<QWidget*>(QString::fromLatin1(prefix) + QString::number(copy)))
                w->raise();
        for (const char* name : kWindowedControls)
            if (auto* w = p->findChild<QWidget*>(QString::fromLatin1(name)))
                w->raise();
    }
}

QString PageStack::PageState() const
{
    for (const PageOption& o : PageOptions())
        if (auto* rb = window_->findChild<QRadioButton*>(o.option); rb && rb->isChecked())
            return o.option;
    return QStringLiteral("rb_1");
}

void PageStack::SelectPageOption(const QString& option)
{
    if (auto* rb = window_->findChild<QRadioButton*>(option))
        rb->setChecked(true);
}

int PageStack::selectedLanguage() const
{
    for (int n = 1; n <= 3; ++n)
        if (auto* rb = window_->findChild<QRadioButton*>(QStringLiteral("rb_Lang%1").arg(n));
            rb && rb->isChecked())
            return n;
    return 0;
}

void PageStack::selectLanguage(int language)
{
    if (auto* rb = window_->findChild<QRadioButton*>(QStringLiteral("rb_Lang%1").arg(language)))
        rb->setChecked(true);
}

} // namespace orb
