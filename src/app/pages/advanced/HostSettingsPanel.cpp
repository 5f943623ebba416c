// The host pointer settings of the advanced page: the widgets over the plain
// HostMouseSettings logic and the platform's store and system calls.
#include "app/pages/advanced/HostSettingsPanel.h"

#include "app/base/ClickLabel.h"
#include "app/base/Colours.h"
#include "app/base/Skin.h"
#include "app/pages/advanced/FieldCaptions.h"
#include "skin/HostSettingsLayout.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>

namespace orb
{

namespace
{
constexpr QSize kSegmentSize(26, 18); // "Bar1_D"/"Bar1_E"
constexpr QSize kSwitchSize(16, 16);  // "CbS_D"/"CbS_E"
constexpr QSize kNumberSize(22, 16);
// The hint line under the wheel bar's numbers.
constexpr QPoint kHintBelowWheelBar(0, 58);
constexpr QSize kHintSize(330, 44);
// Qt draws a disabled picture in shades of the palette's window colour; the
// window's own is the maroon colour key, which would paint the dimmed wheel
// bar red.
const QColor kDisabledShade(100, 100, 100);

// The page picture names neither the panel, the bars nor the switches.
using Side = FieldCaptions::Side;
const FieldCaptions::Caption kHostCaptions[] = {
    {"lbl_TitleHostMouse",
     "Img_Spd1",
     Side::Above,
     300,
     1,
     {"系统鼠标设置", "系統滑鼠設定", "System Mouse Settings"},
     {-20, -28}},
    {"lbl_TitleSpd", "Img_Spd1", Side::Above, 150, 0, {"指针速度", "指標速度", "Pointer Speed"}},
    {"lbl_TitleDbSpd", "Img_DbSpd1", Side::Above, 150, 0, {"双击速度", "按兩下速度", "Double-click Speed"}},
    {"lbl_TitleScrSpd",
     "Img_ScrSpd1",
     Side::Above,
     150,
     0,
     {"滚轮滚动行数", "滾輪捲動行數", "Wheel Scroll Lines"}},
    {"lbl_TitleIsControl",
     "Img_IsControl",
     Side::Right,
     130,
     0,
     {"提高指针精确度", "提高指標精確度", "Enhance Precision"}},
    {"lbl_TitleIsScreen",
     "Img_IsScreen",
     Side::Right,
     130,
     0,
     {"一次滚动一屏", "一次捲動一頁", "One Screen"}},
};

// The step a click names: the digits after `prefix` in the image's name.
int StepOfName(const QWidget* image, const QString& prefix)
{
    if (!image || !image->objectName().startsWith(prefix))
        return 0;
    bool ok = false;
    const int step = image->objectName().mid(prefix.size()).toInt(&ok);
    return ok ? step : 0;
}

QString imageName(const QString& bar, int k)
{
    return QStringLiteral("Img_%1%2").arg(bar).arg(k);
}

QString numberName(const QString& bar, int k)
{
    return QStringLiteral("lbl_%1%2").arg(bar).arg(k);
}

} // namespace

HostSettingsPanel::HostSettingsPanel(const PageContext& context, QWidget* page, HostMouseStore& store,
                                     HostMouseSystem& system)
    : QObject(page), context_(context), page_(page), settings_(store, system)
{
    build();
    // Unknown until the page is first shown: asking the desktop may wait for
    // it, which must not delay the window's first appearance.
    redraw();
    page_->installEventFilter(this);
}

bool HostSettingsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_ && event->type() == QEvent::Show)
        refreshFromDesktop();
    return QObject::eventFilter(watched, event);
}

void HostSettingsPanel::refreshFromDesktop()
{
    // The bars start from what the desktop has now (the store where it has
    // nothing); what is shown without being chosen here is never written.
    const HostApplyResult result = settings_.Refresh();
    desktopAnswered_ = result.desktopAnswered;
    someUnknown_ = !result.unknown.empty();
    redraw();
    // What this desktop has no setting for is said before any click.
    showResult(result);
}

template <class W> W* HostSettingsPanel::control(const QString& name) const
{
    return page_->findChild<W*>(name);
}

void HostSettingsPanel::build()
{
    using Handler = void (HostSettingsPanel::*)(QWidget*);
    const Handler handlers[] = {&HostSettingsPanel::MseSpd_OnClick, &HostSettingsPanel::MseDbSpd_OnClick,
                                &HostSettingsPanel::MseScrSpd_OnClick};
    const QStringList& bars = HostSettingsBars();
    for (qsizetype b = 0; b < bars.size(); ++b) {
        QList<ClickLabel*> cells;
        for (int k = 1; k <= kHostSteps; ++k) {
            auto* image = new ClickLabel(page_);
            image->setObjectName(imageName(bars[b], k));
            image->resize(kSegmentSize);
            QPalette pal = image->palette();
            pal.setColor(QPalette::Disabled, QPalette::Window, kDisabledShade);
            image->setPalette(pal);
            connect(image, &ClickLabel::clicked, this, [this, image, h = handlers[b]] { (this->*h)(image); });
            auto* number = new QLabel(page_);
            number->setObjectName(numberName(bars[b], k));
            number->resize(kNumberSize);
            number->setText(QString::number(k));
            cells << image;
        }
        new ValueBar(page_, QStringLiteral("Bar_") + bars[b], cells,
                     [this, title = QStringLiteral("lbl_Title") + bars[b]] {
                         const auto* caption = control<QLabel>(title);
                         return caption ? caption->text() : QString();
                     });
    }

    const std::pair<const char*, void (HostSettingsPanel::*)()> switches[] = {
        {"IsControl", &HostSettingsPanel::lbl_IsControlClick},
        {"IsScreen", &HostSettingsPanel::lbl_IsScreenClick},
    };
    for (const auto& [name, handler] : switches) {
        const QString n = QLatin1String(name);
        auto* picture = new QLabel(page_);
        picture->setObjectName(QStringLiteral("Img_") + n);
        picture->resize(kSwitchSize);
        // The click target lies over the picture and reaches a little left of it.
        auto* target = new ClickLabel(page_);
        target->setObjectName(QStringLiteral("lbl_") + n);
        target->resize(kSwitchSize + QSize(8, 0));
        connect(target, &ClickLabel::clicked, this, [this, h = handler] { (this->*h)(); });
        DescribeControl(target, {ControlRole::CheckBox,
                                 [this, n] {
                                     const auto* caption = control<QLabel>(QStringLiteral("lbl_Title") + n);
                                     return caption ? caption->text() : QString();
                                 },
                                 PictureShows(picture, {QLatin1String(SwitchPicture(true))}),
                                 {}});
        auto* state = new QCheckBox(page_);
        state->setObjectName(QStringLiteral("cb_") + n);
        state->setVisible(false);
    }

    // A click on a switch's caption works the switch.
    captions_ = new FieldCaptions(page_, {std::begin(kHostCaptions), std::end(kHostCaptions)},
                                  [this](const QString& name) {
                                      if (name == QLatin1String("lbl_TitleIsControl"))
                                          lbl_IsControlClick();
                                      else if (name == QLatin1String("lbl_TitleIsScreen"))
                                          lbl_IsScreenClick();
                                  });

    hint_ = new QLabel(page_);
    hint_->setObjectName(QStringLiteral("lbl_HostHint"));
    hint_->resize(kHintSize);
    hint_->setWordWrap(true);
    hint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(hint_, QColor(170, 170, 170));
}

// --- Clicks ---

void HostSettingsPanel::MseSpd_OnClick(QWidget* image)
{
    showResult(settings_.MseSpd_OnClick(StepOfName(image, QStringLiteral("Img_Spd"))));
    redrawBar(QStringLiteral("Spd"), state().SpeedStep);
}

void HostSettingsPanel::MseDbSpd_OnClick(QWidget* image)
{
    showResult(settings_.MseDbSpd_OnClick(StepOfName(image, QStringLiteral("Img_DbSpd"))));
    redrawBar(QStringLiteral("DbSpd"), state().DoubleClickStep);
}

void HostSettingsPanel::MseScrSpd_OnClick(QWidget* image)
{
    showResult(settings_.MseScrSpd_OnClick(StepOfName(image, QStringLiteral("Img_ScrSpd"))));
    redrawBar(QStringLiteral("ScrSpd"), state().ScrollStep);
}

void HostSettingsPanel::lbl_IsControlClick()
{
    showResult(settings_.lbl_IsControlClick());
    redrawSwitches();
}

void HostSettingsPanel::lbl_IsScreenClick()
{
    showResult(settings_.lbl_IsScreenClick());
    redrawSwitches();
    redrawBar(QStringLiteral("ScrSpd"), state().ScrollStep);
}

// --- Host ---

void HostSettingsPanel::ApplyHostMouseSettings()
{
    const HostApplyResult result = settings_.ApplyHostMouseSettings();
    // Nothing sent: the hint keeps what it says.
    if (result.attempted)
        showResult(result);
}

void HostSettingsPanel::RefreshMouseSystemParameterA()
{
    settings_.RefreshMouseSystemParameterA();
    redraw();
}

void HostSettingsPanel::RefreshMouseSystemParameterB()
{
    settings_.RefreshMouseSystemParameterB();
    redraw();
}

void HostSettingsPanel::showResult(const HostApplyResult& result)
{
    lastResult_ = result;
    if (result.attempted) {
        desktopAnswered_ = result.desktopAnswered;
        someUnknown_ = !settings_.Unknown().empty();
    }
    showHint();
}

void HostSettingsPanel::showHint()
{
    QStringList lines;
    if (!desktopAnswered_)
        lines << context_.skin.LookupText(QStringLiteral("Str840"));
    else if (someUnknown_)
        lines << context_.skin.LookupText(QStringLiteral("Str841"));
    const QString hint = lastResult_.hint(context_.skin.languageIndex());
    if (!hint.isEmpty())
        lines << hint;
    hint_->setText(lines.join(QLatin1Char(' ')));
}

// --- Pictures ---

void HostSettingsPanel::redrawBar(const QString& bar, int step)
{
    const auto lit = BarLitSteps(step, context_.skin.org().DPILED_Status == 1);
    for (int k = 1; k <= kHostSteps; ++k)
        context_.skin.SetPicture(imageName(bar, k), QLatin1String(BarPicture(lit[std::size_t(k - 1)])));
}

void HostSettingsPanel::redrawSwitches()
{
    const HostMouseState& s = state();
    for (const auto& [name, on] : {std::pair{"IsControl", s.IsControl}, std::pair{"IsScreen", s.IsScreen}}) {
        context_.skin.SetPicture(QStringLiteral("Img_") + QLatin1String(name),
                                 QLatin1String(SwitchPicture(on)));
        if (auto* box = control<QCheckBox>(QStringLiteral("cb_") + QLatin1String(name)))
            box->setChecked(on);
    }
    // One screen at a time: the wheel steps take no clicks.
    for (int k = 1; k <= kHostSteps; ++k)
        for (const QString& name :
             {imageName(QStringLiteral("ScrSpd"), k), numberName(QStringLiteral("ScrSpd"), k)})
            if (QWidget* w = control(name))
                w->setEnabled(!s.IsScreen);
}

void HostSettingsPanel::redraw()
{
    redrawBar(QStringLiteral("Spd"), state().SpeedStep);
    redrawBar(QStringLiteral("DbSpd"), state().DoubleClickStep);
    redrawBar(QStringLiteral("ScrSpd"), state().ScrollStep);
    redrawSwitches();
}

// --- Language ---

void HostSettingsPanel::ApplyLayout(const LayoutText& section)
{
    // The bar style comes with the options, read after the page was built;
    // the segments' pictures also give the layout its segment width.
    redraw();
    const auto sizeOf = [this](const QString& name) {
        if (auto* l = control<QLabel>(name))
            if (!l->pixmap().isNull())
                return l->pixmap().deviceIndependentSize().toSize();
        return QSize();
    };
    for (const Placement& p : PlanLayout(section, HostSettingsLayoutRows(), sizeOf))
        if (QWidget* w = control(p.name); w && p.pos)
            w->move(*p.pos);
    // The click targets end where their pictures end.
    for (const char* name : {"IsControl", "IsScreen"}) {
        auto* picture = control(QStringLiteral("Img_") + QLatin1String(name));
        auto* target = control(QStringLiteral("lbl_") + QLatin1String(name));
        if (picture && target) {
            target->resize(picture->geometry().right() - target->x() + 1, picture->height());
            target->raise();
        }
    }
    const LayoutPoint wheel = section.point(QStringLiteral("ScrSpd_"));
    hint_->move(QPoint(wheel.x, wheel.y) + kHintBelowWheelBar);

    const int size = section.intValue(QStringLiteral("Size_D"));
    const Rgb c = section.colour(QStringLiteral("Color_D_notSelected_"));
    for (const QString& bar : HostSettingsBars())
        for (int k = 1; k <= kHostSteps; ++k)
            if (QWidget* number = control(numberName(bar, k))) {
                QFont f = number->font();
                if (size > 0)
                    f.setPointSize(size);
                number->setFont(f);
                setTextColour(number, QColor(c.r, c.g, c.b));
                QPalette pal = number->palette(); // the numbers of a disabled bar dimmed
                pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(c.r, c.g, c.b).darker(200));
                number->setPalette(pal);
            }
    QFont f = hint_->font();
    if (size > 1)
        f.setPointSize(size - 1);
    hint_->setFont(f);
    captions_->place(size + 1, QColor(c.r, c.g, c.b));
}

void HostSettingsPanel::Retranslate()
{
    captions_->retranslate(context_.skin.languageIndex());
    showHint();
    for (const QString& bar : HostSettingsBars())
        for (int k = 1; k <= kHostSteps; ++k)
            if (auto* number = control<QLabel>(numberName(bar, k)))
                number->setText(QString::number(k));
}

} // namespace orb
