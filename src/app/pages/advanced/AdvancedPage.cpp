// The advanced page: seven CPI rows (selector, level label, value text,
// value bar, colour cell) over one level model that the engineering tab's
// level controls show too.
#include "app/pages/advanced/AdvancedPage.h"
#include "app/base/Colours.h"

#include "app/base/ClickLabel.h"
#include "app/base/EngineerControls.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/base/WindowShape.h"
#include "app/pages/advanced/FireKeyFields.h"
#include "app/pages/advanced/HostSettingsPanel.h"
#include "app/pages/advanced/LedColourDialog.h"
#include "app/session/DeviceSession.h"
#include "core/Services.h"
#include "image/ConfigImage.h"
#include "lighting/ValueBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QtDebug>

namespace orb
{

namespace
{
constexpr QSize kSelectorSize(16, 16);
constexpr QSize kSegmentSize(20, 18);
constexpr QSize kFrameSize(32, 40);
constexpr QSize kLevelLabelSize(36, 18);
constexpr QSize kValueLabelSize(36, 18);
const char kRgb[] = "RGB";

// A picture that takes clicks and looks the same when disabled: an inactive
// row keeps its pictures, it only stops answering.
class PictureTarget : public ClickLabel
{
  public:
    using ClickLabel::ClickLabel;

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawPixmap(0, 0, pixmap());
    }
};

QString rowName(const char* pattern, int n)
{
    return QString::fromLatin1(pattern).arg(n);
}

void setFontSize(QWidget* w, int points)
{
    QFont f = w->font();
    f.setPointSize(points);
    w->setFont(f);
}
} // namespace

AdvancedPage::AdvancedPage(const PageContext& context, HostMouseStore& hostStore, HostMouseSystem& hostSystem)
    : Page(context, 2), hostSettings_(new HostSettingsPanel(context, container(), hostStore, hostSystem))
{
    fire_ = new FireKeyFields(container());
    build();
}

AdvancedPage::~AdvancedPage()
{
    delete dialog_; // a top-level window of its own, confirming into this page
}

void AdvancedPage::build()
{
    QWidget* page = container();
    for (int n = 1; n <= CpiLevelMax; ++n) {
        auto* selector = new PictureTarget(page);
        selector->setObjectName(rowName("Img_DPI%1", n));
        selector->resize(kSelectorSize);
        connect(selector, &ClickLabel::clicked, this, [this, n] { CurrentDPI_OnClick(n); });

        auto* level = new ClickLabel(page);
        level->setObjectName(rowName("lbl_DPI%1", n));
        level->setText(QStringLiteral("DPI%1").arg(n));
        level->resize(kLevelLabelSize);
        level->setCursor(Qt::PointingHandCursor);
        connect(level, &ClickLabel::clicked, this, [this, n] { DPILevel_OnClick(n); });

        auto* value = new QLabel(page);
        value->setObjectName(rowName("lbl_DPI%1Value", n));
        value->resize(kValueLabelSize);

        DescribeControl(selector, {ControlRole::ToggleButton,
                                   [level] { return level->text(); },
                                   PictureShows(selector, {TickOn}),
                                   {}});
        QList<ClickLabel*> cells;
        for (int k = 1; k <= CpiValueCount; ++k) {
            auto* segment = new PictureTarget(page);
            cells << segment;
            segment->setObjectName(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k));
            segment->resize(kSegmentSize);
            connect(segment, &ClickLabel::clicked, this, [this, n, k] { DPIVlaue_OnClick(n, k); });
        }

        new ValueBar(page, rowName("Bar_DPI%1", n), cells, [this, level, n] {
            const auto* value = control<QLabel>(rowName("lbl_DPI%1Value", n));
            return level->text() + QLatin1Char(' ') + (value ? value->text() : QString());
        });
        // Colour cell: the swatch under the frame, the click target on top.
        auto* swatch = new QLabel(page);
        swatch->setObjectName(rowName("cs_DPI%1Col", n));
        swatch->resize(kFrameSize);
        auto* frame = new QLabel(page);
        frame->setObjectName(rowName("Img_DPI%1Col", n));
        frame->resize(kFrameSize);
        auto* click = new ClickLabel(page);
        click->setObjectName(rowName("lbl_DPI%1Col", n));
        click->resize(kFrameSize);
        click->setCursor(Qt::PointingHandCursor);
        connect(click, &ClickLabel::clicked, this, [this, n] { lbl_DPIColClick(n); });
        DescribeControl(click, {ControlRole::PushButton,
                                [this, level] {
                                    return level->text() + QLatin1Char(' ') +
                                           skin().LookupText(QStringLiteral("Str860"));
                                },
                                {},
                                {}});
    }
    // The title of the level panel: the page overlay carries no text.
    auto* title = new QLabel(page);
    title->setObjectName(QStringLiteral("lbl_TitleCPI"));
    title->setText(QStringLiteral("CPI"));
    title->resize(120, kLevelLabelSize.height());
    auto* aim = new QLabel(page);
    aim->setObjectName(QStringLiteral("lbl_AIMKey"));
    aim->resize(60, kLevelLabelSize.height());

    // Until the first image: every row in the default count's state.
    for (int n = 1; n <= CpiLevelMax; ++n) {
        skin().SetPicture(rowName("Img_DPI%1", n), TickOff);
        for (int k = 1; k <= CpiValueCount; ++k)
            skin().SetPicture(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k), k == 1 ? CpiBarLit : CpiBarDim);
        skin().SetPicture(rowName("Img_DPI%1Col", n), QStringLiteral("Col_F"));
    }
    try {
        AdvancedPage::ApplyLayout(skin().layoutSection());
    } catch (const LayoutError& e) {
        qWarning("%s", e.what()); // a fault of the embedded texts
    }
}

void AdvancedPage::ConnectEngineer(const EngineerLink& engineer)
{
    engineer_ = engineer;
    QWidget* p = engineer.controls;
    const EngineerControls c(p);
    // Only the user's choices: the lists and edits are also set when an image is shown.
    connect(c.list(QStringLiteral("cb_CurrentCPI")), &QComboBox::activated, this,
            [this] { cb_CurrentCPIChange(); });
    for (int n = 1; n <= CpiLevelMax; ++n) {
        connect(c.list(rowName("cb_CPI%1", n)), &QComboBox::activated, this, [this, n] { cb_CPIChange(n); });
        connect(c.list(rowName("cb_CPI%1Color", n)), &QComboBox::activated, this,
                [this, n] { cb_CPIColorChange(n); });
        for (int ch = 0; ch < 3; ++ch)
            connect(c.edit(QStringLiteral("edt_CPI%1%2").arg(n).arg(QLatin1Char(kRgb[ch]))),
                    &QLineEdit::textEdited, this, [this, n, ch] { edt_CPIRgbChange(n, ch); });
    }
}

LedColourDialog* AdvancedPage::colourDialog() const
{
    return dialog_;
}

QString AdvancedPage::ledTypeShown() const
{
    return engineer_.controls ? engineer_.ledTypeShown() : QString();
}

// --- Steps ---

void AdvancedPage::RefreshCpiLevelsView()
{
    // The engineering controls hold what the image (or the step change) put in.
    if (!engineer_.controls)
        return;
    Levels.Show(EngineerControls(engineer_.controls).ReadControls(), ledTypeShown());
    showLevels();
}

void AdvancedPage::FollowCpiStep()
{
    if (!engineer_.controls)
        return;
    Levels.FollowLevelCount(EngineerControls(engineer_.controls).ReadControls());
    showLevels();
}

void AdvancedPage::RefreshFireFields()
{
    fire_->Refresh(image().FireKey);
}

void AdvancedPage::RefreshOptionPictures()
{
    // The combo-key ticks of the key page follow their engineering boxes.
    if (!engineer_.controls)
        return;
    const EngineerControls c(engineer_.controls);
    skin().SetPicture(QStringLiteral("Img_ComboKey1"),
                      TickPicture(c.box(QStringLiteral("cb_MidPress"))->isChecked()));
    skin().SetPicture(QStringLiteral("Img_ComboKey2"),
                      TickPicture(c.box(QStringLiteral("cb_CPIPress"))->isChecked()));
}

void AdvancedPage::UIToDataBuf()
{
    if (!engineer_.controls)
        return;
    SettingsControls s = EngineerControls(engineer_.controls).ReadControls();
    Levels.Store(s);
    StoreSettings(s, image().ParameterA, image().ParameterB, image().FireKey);
    // The fire count as corrected on leaving its field, also when Apply
    // comes while the cursor is still in it.
    fire_->Store(image().FireKey);
}

void AdvancedPage::ApplyHostMouseSettings()
{
    hostSettings_->ApplyHostMouseSettings();
}

// --- Showing the model ---

void AdvancedPage::showLevels()
{
    for (int n = 1; n <= CpiLevelMax; ++n)
        showRow(n);
    showEngineerLevels();
}

void AdvancedPage::PaintValueBar(int n, int v)
{
    const std::vector<QString> pictures =
        orb::BarPictures(CpiValueCount, v + 1, skin().org().DPILED_Status, CpiBarLit, CpiBarDim);
    for (int k = 1; k <= CpiValueCount; ++k)
        skin().SetPicture(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k), pictures[std::size_t(k - 1)]);
    if (auto* value = control<QLabel>(rowName("lbl_DPI%1Value", n)))
        value->setText(v >= 0 && v < CpiValueCount ? skin().textSlots().cpiValues[std::size_t(v)]
                                                   : QString());
}

void AdvancedPage::showRow(int n)
{
    const bool active = Levels.IsActive(n);
    skin().SetPicture(rowName("Img_DPI%1", n), Levels.SelectorPicture(n));
    PaintValueBar(n, Levels.Value(n));
    if (auto* swatch = control<QLabel>(rowName("cs_DPI%1Col", n))) {
        const QColor c = Levels.Swatch(n);
        swatch->setStyleSheet(
            c.isValid() ? QStringLiteral("background-color: %1; border: 1px solid %1;").arg(c.name())
                        : QString());
    }
    if (active)
        TLEnableLEDCPIParam(n);
    else
        TLDisableLEDCPIParam(n);
}

void AdvancedPage::TLEnableLEDCPIParam(int n)
{
    if (auto* level = control<QLabel>(rowName("lbl_DPI%1", n)))
        setTextColour(level, toColour(activeColour_));
    for (int k = 1; k <= CpiValueCount; ++k)
        if (QWidget* s = control(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k)))
            s->setEnabled(true);
    for (const char* name : {"Img_DPI%1", "lbl_DPI%1Col"})
        if (QWidget* w = control(rowName(name, n)))
            w->setEnabled(true);
}

void AdvancedPage::TLDisableLEDCPIParam(int n)
{
    if (auto* level = control<QLabel>(rowName("lbl_DPI%1", n)))
        setTextColour(level, toColour(inactiveColour_));
    // Disabled controls take no clicks.
    for (int k = 1; k <= CpiValueCount; ++k)
        if (QWidget* s = control(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k)))
            s->setEnabled(false);
    for (const char* name : {"Img_DPI%1", "lbl_DPI%1Col"})
        if (QWidget* w = control(rowName(name, n)))
            w->setEnabled(false);
}

void AdvancedPage::showEngineerLevels()
{
    if (!engineer_.controls)
        return;
    const EngineerControls c(engineer_.controls);
    QComboBox* current = c.list(QStringLiteral("cb_CurrentCPI"));
    if (current->count() != Levels.LevelCount()) {
        current->clear();
        current->addItems(Levels.CurrentItems());
    }
    current->setCurrentIndex(Levels.CurrentLevel() - 1);
    for (int n = 1; n <= CpiLevelMax; ++n) {
        c.setIndex(rowName("cb_CPI%1", n), Levels.Value(n));
        c.setIndex(rowName("cb_CPI%1Color", n), Levels.NamedColour(n));
        const QColor rgb = Levels.Rgb(n);
        const int channels[] = {rgb.red(), rgb.green(), rgb.blue()};
        for (int ch = 0; ch < 3; ++ch) {
            QLineEdit* e = c.edit(QStringLiteral("edt_CPI%1%2").arg(n).arg(QLatin1Char(kRgb[ch])));
            const QString text = QString::number(channels[ch]);
            // An edit the user leaves empty or unfinished keeps its text while it reads the same value.
            if (EditValue(e->text()) != channels[ch] || e->text().isEmpty())
                e->setText(text);
        }
    }
}

// --- Handlers ---

void AdvancedPage::cb_CPIStepChange()
{
    context().hideAllMenu();
    if (engineer_.controls)
        engineer_.cpiStepChange(); // the engineering tab, then FollowCpiStep
}

void AdvancedPage::cb_CurrentCPIChange()
{
    context().hideAllMenu();
    const int index =
        engineer_.controls ? EngineerControls(engineer_.controls).index(QStringLiteral("cb_CurrentCPI")) : -1;
    Levels.SelectCurrent(index + 1);
    showLevels();
}

void AdvancedPage::CurrentDPI_OnClick(int n)
{
    context().hideAllMenu();
    if (Levels.SelectCurrent(n))
        showLevels();
}

void AdvancedPage::DPILevel_OnClick(int n)
{
    context().hideAllMenu();
    if (Levels.ToggleLevel(n) == LevelToggle::None)
        return;
    const int current = Levels.CurrentLevel();
    if (engineer_.controls) {
        // The engineering tab follows as in the step change, with the level settled here current.
        EngineerControls(engineer_.controls).setIndex(QStringLiteral("cb_CPIStep"), Levels.LevelCount() - 2);
        engineer_.cpiStepChange();
    }
    Levels.SelectCurrent(current);
    showLevels();
}

void AdvancedPage::DPIVlaue_OnClick(int n, int k)
{
    context().hideAllMenu();
    if (!Levels.IsActive(n))
        return;
    Levels.SetValue(n, k - 1);
    showLevels();
}

void AdvancedPage::cb_CPIChange(int n)
{
    context().hideAllMenu();
    if (engineer_.controls)
        Levels.SetValue(n, EngineerControls(engineer_.controls).index(rowName("cb_CPI%1", n)));
    showLevels();
}

void AdvancedPage::cb_CPIColorChange(int n)
{
    context().hideAllMenu();
    if (engineer_.controls)
        Levels.SetNamedColour(n, EngineerControls(engineer_.controls).index(rowName("cb_CPI%1Color", n)));
    showLevels();
}

void AdvancedPage::edt_CPIRgbChange(int n, int channel)
{
    context().hideAllMenu();
    if (!engineer_.controls)
        return;
    QLineEdit* e = EngineerControls(engineer_.controls)
                       .edit(QStringLiteral("edt_CPI%1%2").arg(n).arg(QLatin1Char(kRgb[channel])));
    const QString corrected = Levels.EditRgb(n, channel, e->text());
    if (corrected != e->text())
        e->setText(corrected);
    showRow(n);
}

void AdvancedPage::lbl_DPIColClick(int n)
{
    context().hideAllMenu();
    // Without a mouse read no image has been shown: the cell has no colour to edit.
    if (stack().noDeviceUI())
        return;
    switch (ColourCellActionFor(ledTypeShown())) {
    case ColourCellAction::None:
        return;
    case ColourCellAction::NamedDialog:
        ColourState.Open(n);
        if (!dialog_) {
            dialog_ = new LedColourDialog(skin(), ColourState, [this] { RefreshNormalLEDColor(); });
            WindowShape::KeepOver(dialog_, window());
        }
        dialog_->ShowOver(window()->frameGeometry());
        return;
    case ColourCellAction::SystemPicker:
        if (const std::optional<QColor> c = session().services().pickColour(Levels.Rgb(n));
            c && c->isValid()) {
            Levels.SetRgb(n, *c);
            showLevels();
        }
        return;
    }
}

void AdvancedPage::RefreshNormalLEDColor()
{
    if (const auto chosen = ColourState.Confirm()) {
        Levels.ApplyNamedChoice(chosen->first, chosen->second);
        showLevels();
    }
}

// --- Language and device ---

void AdvancedPage::ApplyLayout(const LayoutText& section)
{
    hostSettings_->ApplyLayout(section);
    fire_->ApplyLayout(section);
    const int size = section.intValue(QStringLiteral("Size_D"));
    activeColour_ = section.colour(QStringLiteral("Color_D_Selected_"));
    inactiveColour_ = section.colour(QStringLiteral("Color_D_notSelected_"));
    const auto place = [this](const QString& name, const LayoutPoint& at) {
        if (QWidget* w = control(name))
            w->move(at.x, at.y);
    };
    for (int n = 1; n <= CpiLevelMax; ++n) {
        const QString row = QStringLiteral("DPI%1_").arg(n);
        const LayoutPoint colour = section.point(row + QStringLiteral("Color_"));
        for (const char* name : {"cs_DPI%1Col", "Img_DPI%1Col", "lbl_DPI%1Col"})
            place(rowName(name, n), colour);
        place(rowName("Img_DPI%1", n), section.point(row + QStringLiteral("Check_")));
        place(rowName("lbl_DPI%1", n), section.point(row));
        place(rowName("lbl_DPI%1Value", n), section.point(row + QStringLiteral("Value_")));
        const LayoutPoint steps = section.point(row + QStringLiteral("Steps_"));
        const int gap = section.intValue(row + QStringLiteral("Steps_D"));
        for (int k = 1; k <= CpiValueCount; ++k)
            place(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k),
                  {steps.x + (k - 1) * (gap + kSegmentSize.width()), steps.y});

        if (QWidget* level = control(rowName("lbl_DPI%1", n))) {
            setFontSize(level, size + 1);
            setTextColour(level, toColour(Levels.IsActive(n) ? activeColour_ : inactiveColour_));
        }
        if (QWidget* value = control(rowName("lbl_DPI%1Value", n))) {
            setFontSize(value, size);
            setTextColour(value, toColour(inactiveColour_));
        }
        // The swatch under the frame, the click target above everything.
        control(rowName("cs_DPI%1Col", n))->stackUnder(control(rowName("Img_DPI%1Col", n)));
        control(rowName("lbl_DPI%1Col", n))->raise();
    }
    if (QWidget* title = control(QStringLiteral("lbl_TitleCPI"))) {
        const LayoutPoint first = section.point(QStringLiteral("DPI1_Check_"));
        title->move(first.x, first.y - 44);
        setFontSize(title, size + 2);
        setTextColour(title, toColour(inactiveColour_));
    }
    if (QWidget* aim = control(QStringLiteral("lbl_AIMKey"))) {
        place(QStringLiteral("lbl_AIMKey"), section.point(QStringLiteral("AIMKey_")));
        setFontSize(aim, size + 1);
        setTextColour(aim, toColour(activeColour_));
    }
}

void AdvancedPage::Retranslate()
{
    fire_->Retranslate(skin().languageIndex());
    hostSettings_->Retranslate();
    // The AIM key's name and the value texts of the current pack.
    if (auto* aim = control<QLabel>(QStringLiteral("lbl_AIMKey")))
        aim->setText(skin().textSlots().aimKeyName);
    for (int n = 1; n <= CpiLevelMax; ++n)
        PaintValueBar(n, Levels.Value(n));
}

void AdvancedPage::DeviceLost()
{
    if (dialog_)
        dialog_->close();
}

} // namespace orb
