// The lighting page: option pairs, the MCU light's mode options and bars,
// the key-mode colour cells, all showing the engineering tab's light controls.
#include "app/pages/lighting/LightingPage.h"
#include "app/base/Colours.h"

#include "app/base/ClickLabel.h"
#include "app/base/EngineerControls.h"
#include "app/base/Skin.h"
#include "app/session/DeviceSession.h"
#include "core/Services.h"
#include "image/ConfigImage.h"
#include "lighting/KeyModeOptions.h"
#include "lighting/ValueBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtDebug>

namespace orb
{

namespace
{
constexpr QSize kOptionSize(15, 15);
constexpr QSize kSegmentSize(26, 18);
constexpr QSize kFrameSize(32, 40);
constexpr QSize kCaptionSize(26, 16);
constexpr int kOptionLabelHeight = 19;
constexpr int kCaptionIndent = 22; // the label's text starts right of its mark
const char kRgb[] = "RGB";

// The option pairs: layout key, picture/label suffix, engineering option.
struct OptionSpec {
    const char* key;
    const char* name;
    const char* radio;
    int caption; // index into the option captions
};
const OptionSpec kOptions[] = {
    {"LEDOn_", "LEDOn", "rb_LEDOn", 0},
    {"LEDOff_", "LEDOff", "rb_LEDOff", 1},
    {"MCPIOn_", "MCPIOn", "rb_MCPIOn", 0},
    {"MCPIOff_", "MCPIOff", "rb_MCPIOff", 1},
    {"LEDSwitchOn_", "LCPIOn", "rb_LCPIOn", 0},
    {"LEDSwitchOff_", "LCPIOff", "rb_LCPIOff", 1},
    {"SaveKeyMode_", "SaveKeyMode", "rb_Save", 2},
    {"NoSaveKeyMode_", "NoSaveKeyMode", "rb_NoSave", 3},
};

// The option captions of each language: on, off, save, no save. The page
// overlays carry no text, so the labels name their options.
QString optionCaption(int language, int which)
{
    static const char* const captions[3][4] = {
        {"开启", "关闭", "保存", "不保存"},
        {"開啟", "關閉", "保存", "不保存"},
        {"On", "Off", "Save", "No Save"},
    };
    const int l = std::clamp(language, 1, 3) - 1;
    return QString::fromUtf8(captions[l][which]);
}

// Titles of the option groups: the page overlays carry no text. Each stands
// above (or left of) its group, placed from the group's layout keys.
struct TitleSpec {
    const char* name;
    const char* key; // the group's first control
    QPoint offset;
    int width;
    const char* text[3]; // languages 1..3
};
const TitleSpec kTitles[] = {
    {"lbl_TitleLEDStatus", "LEDOn_", {-42, -24}, 200, {"灯光状态", "燈光狀態", "LED Status"}},
    {"lbl_TitleMCPI",
     "MCPIOn_",
     {-16, -24},
     180,
     {"灯光开关(中键+CPI)", "燈光開關(中鍵+CPI)", "LED Switch(M+CPI)"}},
    {"lbl_TitleLCPI",
     "LEDSwitchOn_",
     {-42, -24},
     200,
     {"灯光模式切换(左键+CPI)", "燈光模式切換(左鍵+CPI)", "LED Mode(L+CPI)"}},
    {"lbl_TitleMCULEDMode", "MCULEDMode1_", {-22, -26}, 200, {"灯光模式", "燈光模式", "LED Mode"}},
    {"lbl_TitleMCULEDStep", "MCULEDStep_", {-92, 0}, 88, {"灯光步长", "燈光步長", "LED Step"}},
    {"lbl_TitleKeyMode2Color", "KeyMode2_", {-190, 12}, 180, {"模式B颜色", "模式B顏色", "Mode B Color"}},
};

QString rgbEdit(int mode, int channel)
{
    return QStringLiteral("edt_KeyMode%1%2").arg(mode).arg(QLatin1Char(kRgb[channel]));
}

void styleText(QWidget* w, int points, const Rgb& c)
{
    QFont f = w->font();
    f.setPointSize(points);
    w->setFont(f);
    setTextColour(w, toColour(c));
}
} // namespace

LightingPage::LightingPage(const PageContext& context) : Page(context, 3)
{
    build();
}

void LightingPage::build()
{
    QWidget* page = container();
    const auto option = [this, page](const QString& name, std::function<void()> click) {
        auto* picture = new QLabel(page);
        picture->setObjectName(QStringLiteral("Img_") + name);
        picture->resize(kOptionSize);
        skin().SetPicture(picture->objectName(), OptionOff);
        auto* label = new ClickLabel(page);
        label->setObjectName(QStringLiteral("lbl_") + name);
        label->resize(110, kOptionLabelHeight);
        label->setIndent(kCaptionIndent);
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickLabel::clicked, this, std::move(click));
        DescribeControl(label, {ControlRole::RadioButton, {}, PictureShows(picture, {OptionOn}), {}});
    };
    option(QStringLiteral("LEDOn"), [this] { lbl_LEDOnClick(); });
    option(QStringLiteral("LEDOff"), [this] { lbl_LEDOffClick(); });
    option(QStringLiteral("MCPIOn"), [this] { lbl_MCPIOnClick(); });
    option(QStringLiteral("MCPIOff"), [this] { lbl_MCPIOffClick(); });
    option(QStringLiteral("LCPIOn"), [this] { lbl_LCPIOnClick(); });
    option(QStringLiteral("LCPIOff"), [this] { lbl_LCPIOffClick(); });
    option(QStringLiteral("SaveKeyMode"), [this] { lbl_SaveKeyModeClick(); });
    option(QStringLiteral("NoSaveKeyMode"), [this] { lbl_NoSaveKeyModeClick(); });
    for (int n = 1; n <= McuModeCount; ++n)
        option(QStringLiteral("MCULEDMode%1").arg(n), [this, n] { lbl_MCULEDMode1Click(n); });

    const auto bar = [this, page](const char* name, int count, std::function<void(int)> click) {
        QList<ClickLabel*> cells;
        for (int k = 1; k <= count; ++k) {
            auto* segment = new ClickLabel(page);
            segment->setObjectName(QStringLiteral("Img_%1_%2").arg(QLatin1String(name)).arg(k));
            segment->resize(kSegmentSize);
            skin().SetPicture(segment->objectName(), k == 1 ? LightBarLit : LightBarDim);
            connect(segment, &ClickLabel::clicked, this, [click, k] { click(k); });
            auto* caption = new QLabel(page);
            caption->setObjectName(QStringLiteral("lbl_%1_%2").arg(QLatin1String(name)).arg(k));
            caption->resize(kCaptionSize);
            caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            cells << segment;
        }
        new ValueBar(page, QStringLiteral("Bar_") + QLatin1String(name), cells, [this, name] {
            // The LED number bar has no title on the page picture.
            const auto* title = control<QLabel>(QStringLiteral("lbl_Title") + QLatin1String(name));
            return title ? title->text() : skin().LookupText(QStringLiteral("Str861"));
        });
    };
    bar("MCULEDNum", LedNumberSegments, [this](int k) { MCULEDNum_OnClick(k); });
    bar("MCULEDStep", LedStepSegments, [this](int k) { MCULEDStep_OnClick(k); });
    for (int j = 1; j <= LedNumberSegments; ++j)
        control<QLabel>(QStringLiteral("lbl_MCULEDNum_%1").arg(j))->setText(LedNumberCaption(j));
    for (int j = 1; j <= LedStepSegments; ++j)
        control<QLabel>(QStringLiteral("lbl_MCULEDStep_%1").arg(j))->setText(LedStepCaption(j));

    for (int m = 1; m <= 2; ++m) {
        auto* swatch = new QLabel(page);
        swatch->setObjectName(QStringLiteral("cs_Mode%1Color").arg(m));
        swatch->resize(kFrameSize);
        auto* frame = new QLabel(page);
        frame->setObjectName(QStringLiteral("Img_Mode%1Color").arg(m));
        frame->resize(kFrameSize);
        skin().SetPicture(frame->objectName(), QStringLiteral("Col_F"));
        auto* click = new ClickLabel(page);
        click->setObjectName(QStringLiteral("IB_Mode%1Color").arg(m));
        click->resize(kFrameSize);
        click->setCursor(Qt::PointingHandCursor);
        connect(click, &ClickLabel::clicked, this, [this, m] { IB_ModeColor_0Click(m); });
        DescribeControl(
            click, {ControlRole::PushButton,
                    [this, m] {
                        const auto* title = control<QLabel>(QStringLiteral("lbl_TitleKeyMode%1Color").arg(m));
                        return title ? title->text() : skin().LookupText(QStringLiteral("Str862"));
                    },
                    {},
                    {}});
    }
    for (const TitleSpec& t : kTitles) {
        auto* title = new QLabel(page);
        title->setObjectName(QLatin1String(t.name));
        title->resize(t.width, kOptionLabelHeight);
    }
    control<QLabel>(QStringLiteral("lbl_TitleKeyMode2Color"))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    try {
        LightingPage::ApplyLayout(skin().layoutSection());
    } catch (const LayoutError& e) {
        qWarning("%s", e.what()); // a fault of the embedded texts
    }
    showPage();
}

void LightingPage::ConnectEngineer(const EngineerLink& engineer)
{
    engineer_ = engineer;
    const EngineerControls c(engineer.controls);
    const std::pair<const char*, void (LightingPage::*)()> radios[] = {
        {"rb_LEDOn", &LightingPage::rb_LEDOnClick},   {"rb_LEDOff", &LightingPage::rb_LEDOffClick},
        {"rb_MCPIOn", &LightingPage::rb_MCPIOnClick}, {"rb_MCPIOff", &LightingPage::rb_MCPIOffClick},
        {"rb_LCPIOn", &LightingPage::rb_LCPIOnClick}, {"rb_LCPIOff", &LightingPage::rb_LCPIOffClick},
        {"rb_Save", &LightingPage::rb_SaveClick},     {"rb_NoSave", &LightingPage::rb_NoSaveClick},
    };
    for (const auto& [name, handler] : radios)
        connect(c.radio(QLatin1String(name)), &QRadioButton::clicked, this, handler);
    connect(c.list(QStringLiteral("cb_MCULEDCurrentMode")), &QComboBox::activated, this,
            [this] { cb_MCULEDCurrentModeChange(); });
    connect(c.edit(QStringLiteral("edt_NorLEDStep")), &QLineEdit::textChanged, this,
            [this] { edt_NorLEDStepChange(); });
    connect(c.edit(QStringLiteral("edt_MCULEDNum")), &QLineEdit::textChanged, this,
            [this] { edt_MCULEDNumChange(); });
    connect(c.edit(QStringLiteral("edt_MCULEDNum")), &QLineEdit::editingFinished, this,
            [this] { edt_MCULEDNumExit(); });
    connect(c.edit(QStringLiteral("edt_MCULEDCrtStep")), &QLineEdit::textChanged, this,
            [this] { edt_MCULEDCrtStepChange(); });
    for (int m = 1; m <= 2; ++m)
        for (int ch = 0; ch < 3; ++ch)
            connect(c.edit(rgbEdit(m, ch)), &QLineEdit::textChanged, this,
                    [this, m, ch] { edt_KeyModeRgbChange(m, ch); });
}

// --- Steps ---

void LightingPage::load()
{
    if (!engineer_.controls)
        return;
    const EngineerControls c(engineer_.controls);
    Leds.Show(c.ReadControls());
    // McuModeNames: the mode names the engineering texts gave the mode boxes.
    QStringList names;
    for (int k = 1; k <= McuModeCount; ++k)
        names << c.box(QStringLiteral("cb_Mode%1").arg(k))->text();
    Leds.SetModeNames(names);
}

void LightingPage::RefreshLightTypeView()
{
    load();
    showPage();
}

void LightingPage::RefreshMcuModeView()
{
    load();
    showPage();
}

void LightingPage::RefreshLedPictures()
{
    load();
    showPage();
}

void LightingPage::UIToDataBuf()
{
    // The engineering controls are set at once by every click here; they
    // are stored again as the page shows them.
    if (!engineer_.controls)
        return;
    SettingsControls s = EngineerControls(engineer_.controls).ReadControls();
    load();
    Leds.Store(s);
    StoreSettings(s, image().ParameterA, image().ParameterB, image().FireKey);
}

void LightingPage::showPage()
{
    const auto pair = [this](const char* first, const char* second, const PairPictures& p) {
        skin().SetPicture(QStringLiteral("Img_") + QLatin1String(first), p.first);
        skin().SetPicture(QStringLiteral("Img_") + QLatin1String(second), p.second);
    };
    pair("LEDOn", "LEDOff", Leds.LedOnOffPictures());
    pair("MCPIOn", "MCPIOff", Leds.McpiPictures());
    pair("LCPIOn", "LCPIOff", Leds.LcpiPictures());

    const LightTypeView view = Leds.View();
    control(QStringLiteral("lbl_TitleMCULEDMode"))->setVisible(view.modeOptions);
    control(QStringLiteral("lbl_TitleMCULEDStep"))->setVisible(view.bars);
    for (const char* name : {"Img_LCPIOn", "lbl_LCPIOn", "Img_LCPIOff", "lbl_LCPIOff", "lbl_TitleLCPI"})
        if (QWidget* w = control(QLatin1String(name)))
            w->setVisible(view.lcpiPair);

    const QStringList names = Leds.ModeNames();
    for (int n = 1; n <= McuModeCount; ++n) {
        const bool shown = view.modeOptions && Leds.ModeOptionVisible(n);
        skin().SetPicture(QStringLiteral("Img_MCULEDMode%1").arg(n), Leds.ModeOptionPicture(n));
        control(QStringLiteral("Img_MCULEDMode%1").arg(n))->setVisible(shown);
        auto* label = control<QLabel>(QStringLiteral("lbl_MCULEDMode%1").arg(n));
        label->setVisible(shown);
        label->setText(names.value(n - 1));
    }

    const int style = skin().org().DPILED_Status;
    const auto paint = [this, view](const char* name, const std::vector<QString>& pictures) {
        for (std::size_t k = 0; k < pictures.size(); ++k) {
            const QString segment = QStringLiteral("Img_%1_%2").arg(QLatin1String(name)).arg(k + 1);
            skin().SetPicture(segment, pictures[k]);
            control(segment)->setVisible(view.bars);
            control(QStringLiteral("lbl_%1_%2").arg(QLatin1String(name)).arg(k + 1))->setVisible(view.bars);
        }
    };
    paint("MCULEDNum", Leds.LedNumberBar(style));
    paint("MCULEDStep", Leds.StepBar(style));

    for (int m = 1; m <= 2; ++m) {
        const QColor c = Leds.KeyModeColour(m);
        control(QStringLiteral("cs_Mode%1Color").arg(m))
            ->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid %1;").arg(c.name()));
    }

    // The key-mode memory pair, and the key-mode list it locks.
    if (engineer_.controls) {
        KeyModeOptions options;
        options.Show(EngineerControls(engineer_.controls).ReadControls());
        skin().SetPicture(QStringLiteral("Img_SaveKeyMode"), options.SaveKeyModePicture());
        skin().SetPicture(QStringLiteral("Img_NoSaveKeyMode"), options.NoSaveKeyModePicture());
        EngineerControls(engineer_.controls)
            .list(QStringLiteral("cb_KeyMode"))
            ->setEnabled(options.KeyModeEnabled());
    }
}

// --- Option pairs ---

void LightingPage::rb_LEDOnClick()
{
    RefreshLedPictures();
}

void LightingPage::rb_LEDOffClick()
{
    RefreshLedPictures();
}

void LightingPage::rb_MCPIOnClick()
{
    RefreshLedPictures();
}

void LightingPage::rb_MCPIOffClick()
{
    RefreshLedPictures();
}

void LightingPage::rb_LCPIOnClick()
{
    RefreshLedPictures();
}

void LightingPage::rb_LCPIOffClick()
{
    RefreshLedPictures();
}

void LightingPage::rb_SaveClick()
{
    context().hideAllMenu();
    if (!engineer_.controls)
        return;
    const EngineerControls c(engineer_.controls);
    KeyModeOptions options;
    options.Show(c.ReadControls());
    options.ChooseSave();
    c.list(QStringLiteral("cb_KeyMode"))->setEnabled(options.KeyModeEnabled());
    RefreshLedPictures();
}

void LightingPage::rb_NoSaveClick()
{
    context().hideAllMenu();
    if (!engineer_.controls)
        return;
    const EngineerControls c(engineer_.controls);
    KeyModeOptions options;
    options.Show(c.ReadControls());
    options.ChooseNoSave();
    c.setIndex(QStringLiteral("cb_KeyMode"), options.KeyMode());
    c.list(QStringLiteral("cb_KeyMode"))->setEnabled(options.KeyModeEnabled());
    RefreshLedPictures();
}

void LightingPage::selectEngineer(const char* radio)
{
    context().hideAllMenu();
    if (!engineer_.controls)
        return;
    QRadioButton* rb = EngineerControls(engineer_.controls).radio(QLatin1String(radio));
    rb->setChecked(true);
    emit rb->clicked(true); // runs the option's handler as a click there would
}

void LightingPage::lbl_LEDOnClick()
{
    selectEngineer("rb_LEDOn");
}

void LightingPage::lbl_LEDOffClick()
{
    selectEngineer("rb_LEDOff");
}

void LightingPage::lbl_MCPIOnClick()
{
    selectEngineer("rb_MCPIOn");
}

void LightingPage::lbl_MCPIOffClick()
{
    selectEngineer("rb_MCPIOff");
}

void LightingPage::lbl_LCPIOnClick()
{
    selectEngineer("rb_LCPIOn");
}

void LightingPage::lbl_LCPIOffClick()
{
    selectEngineer("rb_LCPIOff");
}

void LightingPage::lbl_SaveKeyModeClick()
{
    selectEngineer("rb_Save");
}

void LightingPage::lbl_NoSaveKeyModeClick()
{
    selectEngineer("rb_NoSave");
}

// --- Edits, modes and bars ---

QString LightingPage::edit(const QString& name) const
{
    return engineer_.controls ? EngineerControls(engineer_.controls).edit(name)->text() : QString();
}

void LightingPage::setEdit(const QString& name, const QString& text)
{
    if (!engineer_.controls)
        return;
    QLineEdit* e = EngineerControls(engineer_.controls).edit(name);
    if (e->text() != text)
        e->setText(text);
}

void LightingPage::edt_NorLEDStepChange()
{
    load();
    setEdit(QStringLiteral("edt_NorLEDStep"), Leds.EditNorLedStep(edit(QStringLiteral("edt_NorLEDStep"))));
}

void LightingPage::cb_MCULEDCurrentModeChange()
{
    RefreshLedPictures();
}

void LightingPage::lbl_MCULEDMode1Click(int n)
{
    context().hideAllMenu();
    load();
    Leds.ClickModeOption(n);
    if (engineer_.controls)
        EngineerControls(engineer_.controls)
            .setIndex(QStringLiteral("cb_MCULEDCurrentMode"), Leds.CurrentModeIndex());
    showPage();
}

void LightingPage::edt_MCULEDNumChange()
{
    if (BarClicking)
        return;
    load();
    setEdit(QStringLiteral("edt_MCULEDNum"), Leds.EditLedNumber(edit(QStringLiteral("edt_MCULEDNum"))));
    showPage();
}

void LightingPage::edt_MCULEDNumExit()
{
    load();
    setEdit(QStringLiteral("edt_MCULEDNum"), Leds.LeaveLedNumber(edit(QStringLiteral("edt_MCULEDNum"))));
    showPage();
}

void LightingPage::MCULEDNum_OnClick(int k)
{
    context().hideAllMenu();
    load();
    BarClicking = true;
    setEdit(QStringLiteral("edt_MCULEDNum"), Leds.ClickLedNumberSegment(k));
    BarClicking = false;
    showPage();
}

void LightingPage::edt_MCULEDCrtStepChange()
{
    if (BarClicking)
        return;
    load();
    setEdit(QStringLiteral("edt_MCULEDCrtStep"), Leds.EditStep(edit(QStringLiteral("edt_MCULEDCrtStep"))));
    showPage();
}

void LightingPage::MCULEDStep_OnClick(int k)
{
    context().hideAllMenu();
    load();
    BarClicking = true;
    setEdit(QStringLiteral("edt_MCULEDCrtStep"), Leds.ClickStepSegment(k));
    BarClicking = false;
    showPage();
}

void LightingPage::edt_KeyModeRgbChange(int mode, int channel)
{
    load();
    setEdit(rgbEdit(mode, channel), Leds.EditKeyModeRgb(mode, channel, edit(rgbEdit(mode, channel))));
    showPage();
}

void LightingPage::IB_ModeColor_0Click(int mode)
{
    context().hideAllMenu();
    load();
    const std::optional<QColor> c = session().services().pickColour(Leds.KeyModeColour(mode));
    if (!c || !c->isValid())
        return;
    Leds.SetKeyModeColour(mode, *c);
    const int channels[] = {c->red(), c->green(), c->blue()};
    for (int ch = 0; ch < 3; ++ch)
        setEdit(rgbEdit(mode, ch), QString::number(channels[ch]));
    showPage();
}

// --- Language ---

void LightingPage::ApplyLayout(const LayoutText& section)
{
    const int size = section.intValue(QStringLiteral("Size_E"));
    const Rgb colour = section.colour(QStringLiteral("Color_E_"));
    const auto optionAt = [this, size, colour](const QString& name, const LayoutPoint& at) {
        if (QWidget* picture = control(QStringLiteral("Img_") + name))
            picture->move(at.x, at.y);
        if (QWidget* label = control(QStringLiteral("lbl_") + name)) {
            label->move(at.x - 4, at.y - 2);
            styleText(label, size, colour);
            label->raise();
        }
    };
    for (const OptionSpec& o : kOptions)
        optionAt(QLatin1String(o.name), section.point(QLatin1String(o.key)));
    for (int n = 1; n <= McuModeCount; ++n)
        optionAt(QStringLiteral("MCULEDMode%1").arg(n),
                 section.point(QStringLiteral("MCULEDMode%1_").arg(n)));

    for (const TitleSpec& t : kTitles) {
        const LayoutPoint at = section.point(QLatin1String(t.key));
        QWidget* title = control(QLatin1String(t.name));
        title->move(at.x + t.offset.x(), at.y + t.offset.y());
        styleText(title, size + 1, colour);
    }

    const int order = skin().org().Num_Order;
    const auto bar = [&](const char* name, int count) {
        const QString prefix = QLatin1String(name) + QLatin1Char('_');
        const LayoutPoint p = section.point(prefix);
        const int gap = section.intValue(prefix + QLatin1Char('D'));
        const auto left = [&](int k) { return p.x + (k - 1) * (gap + kSegmentSize.width()); };
        for (int k = 1; k <= count; ++k) {
            control(QStringLiteral("Img_%1_%2").arg(QLatin1String(name)).arg(k))->move(left(k), p.y);
            QWidget* caption = control(QStringLiteral("lbl_%1_%2").arg(QLatin1String(name)).arg(k));
            caption->move(left(CaptionSegment(k, count, order)), p.y + 24);
            styleText(caption, size, colour);
        }
    };
    bar("MCULEDNum", LedNumberSegments);
    bar("MCULEDStep", LedStepSegments);

    for (int m = 1; m <= 2; ++m) {
        const LayoutPoint at = section.point(QStringLiteral("KeyMode%1_").arg(m));
        for (const char* name : {"cs_Mode%1Color", "Img_Mode%1Color", "IB_Mode%1Color"})
            control(QString::fromLatin1(name).arg(m))->move(at.x, at.y);
        control(QStringLiteral("cs_Mode%1Color").arg(m))
            ->stackUnder(control(QStringLiteral("Img_Mode%1Color").arg(m)));
        control(QStringLiteral("IB_Mode%1Color").arg(m))->raise();
    }
}

void LightingPage::Retranslate()
{
    for (const OptionSpec& o : kOptions)
        control<QLabel>(QStringLiteral("lbl_") + QLatin1String(o.name))
            ->setText(optionCaption(skin().languageIndex(), o.caption));
    const int language = std::clamp(skin().languageIndex(), 1, 3);
    for (const TitleSpec& t : kTitles)
        control<QLabel>(QLatin1String(t.name))->setText(QString::fromUtf8(t.text[language - 1]));
    for (QWidget* w : container()->findChildren<QLabel*>())
        if (w->objectName().startsWith(QLatin1String("lbl_")))
            w->setFont(QFont(skin().textSlots().fontName, w->font().pointSize()));
}

} // namespace orb
