#include "app/base/ControlAccess.h"

#include "app/base/AccessibilityTeller.h"
#include "app/base/ClickLabel.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

namespace orb
{

// --- Events ---

namespace
{
std::function<void(QAccessibleEvent*)>& teller()
{
    static std::function<void(QAccessibleEvent*)> t;
    return t;
}
} // namespace

void TellAccessibility(QAccessibleEvent* event)
{
    if (teller())
        teller()(event);
    else
        QAccessible::updateAccessibility(event);
}

void SetAccessibilityTeller(std::function<void(QAccessibleEvent*)> t)
{
    teller() = std::move(t);
}

// --- Descriptions ---

void DescribeControl(ClickLabel* control, ControlAccess access)
{
    control->setAccess(std::move(access));
}

ControlAccess AccessOf(const ClickLabel* control)
{
    return control->access();
}

std::function<bool()> PictureShows(const QWidget* picture, QStringList on)
{
    return [picture = QPointer<const QWidget>(picture), on = std::move(on)] {
        return picture && on.contains(picture->property("picture").toString());
    };
}

std::function<QString()> CaptionFrom(const QWidget* widget)
{
    return [widget = QPointer<const QWidget>(widget)]() -> QString {
        if (!widget)
            return {};
        const QVariant text = widget->property("text");
        if (text.isValid())
            return text.toString();
        return widget->property("title").toString();
    };
}

QString SpokenText(const QString& caption)
{
    QString text = caption;
    if (Qt::mightBeRichText(text)) {
        QTextDocument doc;
        doc.setHtml(text);
        text = doc.toPlainText();
    }
    text = text.simplified();
    // Menu entries carry a marker in front ("* Left Key").
    static const QString kMarkers = QStringLiteral("*>•");
    while (!text.isEmpty() && kMarkers.contains(text.front()))
        text = text.mid(1).trimmed();
    return text;
}

// --- The bar as one slider ---

ValueBar::ValueBar(QWidget* parent, const QString& objectName, QList<ClickLabel*> cells,
                   std::function<QString()> name)
    : QWidget(parent), name_(std::move(name))
{
    setObjectName(objectName);
    setFocusPolicy(Qt::TabFocus);
    // The pointer still clicks the cells under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    for (ClickLabel* c : cells) {
        cells_ << c;
        DescribeControl(c, {ControlRole::Hidden, {}, {}, {}});
        c->installEventFilter(this);
    }
    follow();
}

int ValueBar::value() const
{
    // Lit cells have the "_E" pictures; the value is the highest one.
    int v = 0;
    for (int k = 0; k < int(cells_.size()); ++k)
        if (cells_[k] && cells_[k]->property("picture").toString().endsWith(QLatin1String("_E")))
            v = k + 1;
    return v;
}

bool ValueBar::setValue(int v)
{
    const int k = std::clamp(v, minimum(), maximum());
    ClickLabel* cell = cells_.value(k - 1);
    const int before = value();
    if (!cell || !cell->activate())
        return false;
    if (value() != before) {
        QAccessibleValueChangeEvent ev(this, value());
        TellAccessibility(&ev);
    }
    return true;
}

void ValueBar::keyPressEvent(QKeyEvent* e)
{
    const int v = value();
    constexpr int kPage = 3;
    int to = v;
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        to = v - 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        to = v + 1;
        break;
    case Qt::Key_PageDown:
        to = v - kPage;
        break;
    case Qt::Key_PageUp:
        to = v + kPage;
        break;
    case Qt::Key_Home:
        to = minimum();
        break;
    case Qt::Key_End:
        to = maximum();
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        e->ignore(); // Ctrl+Page Up/Down switch pages
        return;
    }
    setValue(to);
    e->accept();
}

bool ValueBar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        follow();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ValueBar::follow()
{
    // Over the cells shown; hidden with them.
    QRect area;
    bool enabled = false;
    for (const QPointer<ClickLabel>& c : cells_)
        if (c && !c->isHidden()) {
            area |= c->geometry();
            enabled |= c->isEnabled();
        }
    setGeometry(area);
    setVisible(!area.isEmpty());
    setEnabled(enabled);
}

// --- Accessible interfaces ---

namespace
{

QAccessible::Role roleOf(ControlRole r)
{
    switch (r) {
    case ControlRole::PushButton:
    case ControlRole::ToggleButton:
        return QAccessible::Button;
    case ControlRole::PageTab:
        return QAccessible::PageTab;
    case ControlRole::CheckBox:
        return QAccessible::CheckBox;
    case ControlRole::RadioButton:
        return QAccessible::RadioButton;
    case ControlRole::MenuButton:
        return QAccessible::ButtonMenu;
    case ControlRole::MenuItem:
        return QAccessible::MenuItem;
    case ControlRole::Hidden:
        return QAccessible::Graphic;
    }
    return QAccessible::Button;
}

class SkinControlAccessible : public QAccessibleWidget
{
  public:
    explicit SkinControlAccessible(ClickLabel* l) : QAccessibleWidget(l, roleOf(l->access().role)) {}

    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
    const ControlAccess& access() const { return label()->access(); }

    QAccessible::Role role() const override { return roleOf(access().role); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            if (!label()->accessibleName().isEmpty())
                return label()->accessibleName();
            return SpokenText(access().name ? access().name() : label()->text());
        case QAccessible::Description:
            return access().description ? SpokenText(access().description()) : QString();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const ControlAccess& a = access();
        if (a.role == ControlRole::Hidden) {
            s.invisible = true;
            s.focusable = false;
            return s;
        }
        if (a.checked) {
            const bool on = a.checked();
            if (a.role == ControlRole::PageTab) {
                s.selectable = true;
                s.selected = on;
            } else {
                s.checkable = true;
                s.checked = on;
            }
        }
        if (a.role == ControlRole::MenuButton)
            s.hasPopup = true;
        return s;
    }

    QStringList actionNames() const override
    {
        switch (access().role) {
        case ControlRole::Hidden:
            return {};
        case ControlRole::CheckBox:
        case ControlRole::RadioButton:
            return {toggleAction(), pressAction(), setFocusAction()};
        case ControlRole::MenuButton:
            return {showMenuAction(), pressAction(), setFocusAction()};
        default:
            return {pressAction(), setFocusAction()};
        }
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction() || name == toggleAction() || name == showMenuAction())
            label()->activate();
        else
            QAccessibleWidget::doAction(name);
    }
};

class ValueBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit ValueBarAccessible(ValueBar* b) : QAccessibleWidget(b, QAccessible::Slider) {}
    ValueBar* bar() const { return static_cast<ValueBar*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return bar()->accessibleName().isEmpty() ? bar()->accessibleText() : bar()->accessibleName();
        if (t == QAccessible::Value)
            return QString::number(bar()->value());
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& v) override { bar()->setValue(v.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface* skinFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("orb::ClickLabel"))
        if (auto* l = qobject_cast<ClickLabel*>(object))
            return new SkinControlAccessible(l);
    if (className == QLatin1String("orb::ValueBar"))
        if (auto* b = qobject_cast<ValueBar*>(object))
            return new ValueBarAccessible(b);
    return nullptr;
}

// A frame drawn around the control with the focus, over the skin's
// pictures (their own focus look is none).
class FocusMark : public QWidget
{
  public:
    FocusMark() : QWidget(nullptr)
    {
        setObjectName(QStringLiteral("FocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }

    void follow(QWidget* target)
    {
        if (target_)
            target_->removeEventFilter(this);
        target_ = target;
        if (!target || !target->parentWidget() || target->isWindow()) {
            hide();
            return;
        }
        target->installEventFilter(this);
        place();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target_)
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                place();
                break;
            default:
                break;
            }
        return QWidget::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // Two rings: light over dark skin parts, dark over light ones.
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.drawRect(rect().adjusted(3, 3, -4, -4));
        p.setPen(QPen(QColor(255, 214, 0), 2));
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }

  private:
    void place()
    {
        if (!target_ || !target_->isVisible()) {
            hide();
            return;
        }
        if (parentWidget() != target_->parentWidget())
            setParent(target_->parentWidget());
        setGeometry(target_->geometry().adjusted(-3, -3, 3, 3));
        show();
        raise();
    }
    QPointer<QWidget> target_;
};

} // namespace

void InstallControlAccess(QWidget* window)
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(skinFactory);
        installed = true;
    }
    // The mark is one for the window; it moves into whatever holds the focus.
    auto* mark = new FocusMark;
    QPointer<FocusMark> guard(mark);
    QPointer<QWidget> owner(window);
    QObject::connect(qApp, &QApplication::focusChanged, window, [guard, owner](QWidget*, QWidget* now) {
        if (!guard || !owner)
            return;
        if (now == guard.data())
            return;
        // The window's own controls and those of its dialogs (windows of their own).
        bool ours = false;
        for (QWidget* w = now; w && !ours; w = w->parentWidget())
            ours = w == owner.data();
        guard->follow(ours ? now : nullptr);
    });
    QObject::connect(window, &QObject::destroyed, [guard] {
        if (guard && !guard->parent())
            delete guard.data();
    });
}

void KeepCurrentItem(QAbstractItemView* view)
{
    const auto keep = [guard = QPointer<QObject>(view)] {
        // Not while the view is being taken apart (its model goes last).
        auto* view = qobject_cast<QAbstractItemView*>(guard.data());
        if (!view || !view->model() || !view->selectionModel())
            return;
        QAbstractItemModel* model = view->model();
        if (view->currentIndex().isValid() || model->rowCount(view->rootIndex()) == 0)
            return;
        QModelIndex at = model->index(0, 0, view->rootIndex());
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        if (!selected.isEmpty())
            at = selected.front();
        view->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    };
    QAbstractItemModel* model = view->model();
    QObject::connect(model, &QAbstractItemModel::modelReset, view, keep);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, view, keep);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, keep);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, view, keep);
    keep();
}

void AnnounceControls(QWidget* root)
{
    const auto tell = [](QObject* o) {
        QAccessibleEvent name(o, QAccessible::NameChanged);
        TellAccessibility(&name);
        QAccessibleEvent description(o, QAccessible::DescriptionChanged);
        TellAccessibility(&description);
    };
    for (ClickLabel* l : root->findChildren<ClickLabel*>())
        if (l->access().role != ControlRole::Hidden)
            tell(l);
    for (ValueBar* b : root->findChildren<ValueBar*>())
        tell(b);
}

QList<QWidget*> ControlsByPosition(QWidget* container)
{
    // Controls whose tops lie within this many points share a row.
    constexpr int kRow = 10;
    QList<QWidget*> controls;
    for (QWidget* w : container->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isWindow() && !w->focusProxy() &&
            w->objectName() != QLatin1String("FocusMark")) {
            // Parts of a control that takes the focus itself (a list's
            // viewport, a combo's edit) keep their place.
            bool inner = false;
            for (QWidget* p = w->parentWidget(); p && p != container; p = p->parentWidget())
                if (p->focusPolicy() & Qt::TabFocus)
                    inner = true;
            if (!inner)
                controls << w;
        }
    const auto top = [container](const QWidget* w) { return w->mapTo(container, QPoint(0, 0)); };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](const QWidget* a, const QWidget* b) { return top(a).y() < top(b).y(); });
    // Rows: a control starts a new one when it lies kRow below the row's top.
    for (qsizetype start = 0; start < controls.size();) {
        qsizetype end = start + 1;
        while (end < controls.size() && top(controls[end]).y() - top(controls[start]).y() < kRow)
            ++end;
        std::stable_sort(controls.begin() + start, controls.begin() + end,
                         [&](const QWidget* a, const QWidget* b) { return top(a).x() < top(b).x(); });
        start = end;
    }
    return controls;
}

void OrderTabsByPosition(QWidget* container)
{
    const QList<QWidget*> controls = ControlsByPosition(container);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

} // namespace orb
