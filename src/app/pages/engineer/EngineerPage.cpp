// The engineering page: every setting of the image as a plain control, both
// key modes side by side, and the factory buttons.
#include "app/pages/engineer/EngineerPage.h"

#include "app/base/ClickLabel.h"
#include "app/base/DigitsValidator.h"
#include "app/base/EngineerControls.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/pages/advanced/AdvancedPage.h"
#include "app/pages/engineer/ButtonTestRunner.h"
#include "app/pages/engineer/EngineerHints.h"
#include "app/pages/engineer/EngineerModeControl.h"
#include "app/pages/engineer/EngineerTextsApplier.h"
#include "app/pages/keys/KeyPage.h"
#include "app/pages/lighting/LightingPage.h"
#include "app/pages/macros/MacroPage.h"
#include "image/ConfigImage.h"
#include "keys/KeyCodes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <functional>

namespace orb
{

namespace
{

constexpr QSize kPageSize(1076, 640);
const QColor kPageGrey(231, 231, 231);

const char* const kCpiValues[] = {"500",  "800",  "1000", "1200", "1600", "2000",
                                  "2400", "3200", "4000", "4800", "6400"};
const char* const kColourNames[] = {"Red", "Green", "Yellow", "Blue", "Purple", "Cyan", "White"};
const char* const kSensorOriNames[] = {
    "0°", "90°", "180°", "270°", "X Reverse", "Y Reverse", "XY Swap XY Reverse", "XY Swap XY NoReverse"};
const char* const kModeNames[] = {"Mode 1", "Mode 2", "Mode 3", "Mode 4", "Mode 5", "Mode 6", "Mode 7"};
const char* const kRgb = "RGB";

// The logo strip: pressing it drags the window.
template <class W> W* make(QWidget* parent, const QString& name, const QRect& rect)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(rect);
    return w;
}

QLabel* label(QWidget* parent, const QString& name, int x, int y, const QString& text)
{
    auto* l = make<QLabel>(parent, name, QRect(x, y, 10, 16));
    l->setText(text);
    l->adjustSize();
    l->move(x, y);
    return l;
}

QGroupBox* group(QWidget* parent, const QString& name, const QRect& rect, const QString& title)
{
    auto* g = make<QGroupBox>(parent, name, rect);
    g->setTitle(title);
    return g;
}

template <class B> B* button(QWidget* parent, const QString& name, const QRect& rect, const QString& text)
{
    auto* b = make<B>(parent, name, rect);
    b->setText(text);
    return b;
}

// Integer edit that takes digits only, at most maxDigits of them.
QLineEdit* numberEdit(QWidget* parent, const QString& name, const QRect& rect, int maxDigits)
{
    auto* e = make<QLineEdit>(parent, name, rect);
    e->setMaxLength(maxDigits);
    e->setValidator(new DigitsValidator(DigitsValidator::Sign::None, e));
    return e;
}

QComboBox* list(QWidget* parent, const QString& name, const QRect& rect, const QStringList& items)
{
    auto* c = make<QComboBox>(parent, name, rect);
    c->addItems(items);
    c->setCurrentIndex(-1); // empty until an image is shown
    return c;
}

QStringList texts(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

template <std::size_t N> QStringList texts(const char* const (&items)[N])
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

// A pair of radio buttons side by side in a 42-pixel high group.
void radioPair(QGroupBox* g, const QString& first, const QString& firstText, const QString& second,
               const QString& secondText)
{
    const int half = g->width() / 2;
    button<QRadioButton>(g, first, QRect(8, 18, half - 10, 18), firstText);
    button<QRadioButton>(g, second, QRect(half + 2, 18, half - 10, 18), secondText);
}

} // namespace

EngineerPage::EngineerPage(const PageContext& context, KeyPage& keys, AdvancedPage& advanced,
                           LightingPage& lighting, MacroPage& macros)
    : Page(context, 6), keys_(keys), advanced_(advanced), lighting_(lighting), macros_(macros),
      McuModeNames(texts(kModeNames))
{
    build();
    mode_ = new EngineerModeControl(container(), window(), this);
    hints_ = new EngineerHints(container(), stack().hintLine(), this);
    buttonTest_ = new ButtonTestRunner(container(), session(), context.hideAllMenu);
}

void EngineerPage::ApplyEngineerTexts(const QLocale& locale)
{
    McuModeNames = orb::ApplyEngineerTexts(container(), locale).mcuModeNames;
}

void EngineerPage::build()
{
    QWidget* page6 = container();
    page6->resize(kPageSize);
    QPalette pal = page6->palette();
    pal.setColor(QPalette::Window, kPageGrey);
    pal.setColor(QPalette::WindowText, Qt::black);
    page6->setPalette(pal);
    page6->setAutoFillBackground(true);
    QFont font = page6->font();
    font.setFamily(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11); // the 8-point size the page was laid out for
    page6->setFont(font);

    // Logo strip under everything else of the frame.
    auto* logo = make<QLabel>(page6, QStringLiteral("Img_Logo4"), QRect(-10, 0, 1600, 100));
    logo->setAutoFillBackground(true);
    QPalette logoPal = logo->palette();
    logoPal.setColor(QPalette::Window, QColor(210, 210, 214));
    logo->setPalette(logoPal);
    logo->installEventFilter(window()); // the window is dragged by its logo strip
    logo->lower();

    auto* close = new ClickLabel(page6);
    close->setObjectName(QStringLiteral("Btn_Close"));
    close->setGeometry(1027, 8, 15, 15);
    close->setText(QStringLiteral("×"));
    close->setAlignment(Qt::AlignCenter);
    connect(close, &ClickLabel::clicked, window(), &QWidget::close); // Btn_CloseClick

    // Page selection; the page switching wires these by name.
    const char* pageButtons[] = {"Btn_Main_6",   "Btn_Switch_6", "Btn_Adv_6",
                                 "Btn_Breath_6", "Btn_Macro_6",  "Btn_Engineer_6"};
    const char* pageTexts[] = {"Mode A", "Mode B", "Advanced", "Breathing Light", "Macro", "Engineer Mode"};
    const int pageLefts[] = {14, 132, 254, 372, 492, 612};
    for (int i = 0; i < 6; ++i)
        button<QPushButton>(page6, QString::fromLatin1(pageButtons[i]), QRect(pageLefts[i], 6, 110, 20),
                            QString::fromLatin1(pageTexts[i]));
    page6->findChild<QWidget*>(QStringLiteral("Btn_Engineer_6"))->hide();

    // Actions; the window wires them like the skinned action buttons.
    button<QPushButton>(page6, QStringLiteral("Btn_Load_6"), QRect(14, 38, 110, 20), QStringLiteral("Load"));
    button<QPushButton>(page6, QStringLiteral("Btn_Save_6"), QRect(134, 38, 110, 20), QStringLiteral("Save"));
    button<QPushButton>(page6, QStringLiteral("btn_TestKeys"), QRect(252, 38, 110, 20),
                        QStringLiteral("Test Keys Position"));
    button<QPushButton>(page6, QStringLiteral("btn_Write"), QRect(372, 38, 110, 20), QStringLiteral("Apply"));
    button<QPushButton>(page6, QStringLiteral("Btn_ImportBaseMacro"), QRect(492, 38, 110, 20),
                        QStringLiteral("Import Base Macro"));
    auto* factory = button<QPushButton>(page6, QStringLiteral("Btn_Default"), QRect(612, 38, 110, 20),
                                        QStringLiteral("Default"));
    factory->hide(); // engineering mode only

    auto* tabs = make<QTabWidget>(page6, QStringLiteral("Pg_Parameter"), QRect(6, 66, 1053, 484));
    tabs->installEventFilter(window()); // a press on the sheet background drags the window
    auto* op = new QWidget;
    op->setObjectName(QStringLiteral("ts_Operator"));
    auto* eng = new QWidget;
    eng->setObjectName(QStringLiteral("ts_Engineer"));
    tabs->addTab(op, QStringLiteral("Operation"));
    const int engTab = tabs->addTab(eng, QStringLiteral("Engineer"));
    tabs->setTabVisible(engTab, false);
    eng->setEnabled(false); // display only, also in engineering mode
    connect(tabs, &QTabWidget::currentChanged, this, [this] { context().hideAllMenu(); });

    // --- Operation sheet ---
    auto* ledType = group(op, QStringLiteral("gbLEDType"), QRect(8, 6, 170, 42), QStringLiteral("LED Type"));
    radioPair(ledType, QStringLiteral("rb_NorLED"), QStringLiteral("Nor LED"), QStringLiteral("rb_MCULED"),
              QStringLiteral("MCU LED"));
    ledType->setEnabled(false); // hardware-bound: engineering mode only
    for (const char* name : {"rb_NorLED", "rb_MCULED"}) {
        auto* rb = ledType->findChild<QRadioButton*>(QString::fromLatin1(name));
        rb->setEnabled(false);
        connect(rb, &QRadioButton::clicked, this, [this] { ShowLightTypeControls(); });
    }

    radioPair(group(op, QStringLiteral("gbLEDStatus"), QRect(8, 52, 170, 42), QStringLiteral("LED Status")),
              QStringLiteral("rb_LEDOn"), QStringLiteral("On"), QStringLiteral("rb_LEDOff"),
              QStringLiteral("Off"));
    radioPair(
        group(op, QStringLiteral("gbMCPI"), QRect(8, 100, 170, 42), QStringLiteral("LED Switch(M+CPI)")),
        QStringLiteral("rb_MCPIOn"), QStringLiteral("On"), QStringLiteral("rb_MCPIOff"),
        QStringLiteral("Off"));

    auto* fire = group(op, QStringLiteral("gbFireMode"), QRect(8, 196, 170, 67), QStringLiteral("Fire Mode"));
    label(fire, QStringLiteral("lbl_FireCount"), 8, 20, QStringLiteral("Fire Count:"));
    list(fire, QStringLiteral("cb_FireCount"), QRect(74, 17, 56, 20), numbers(2, 127));
    label(fire, QStringLiteral("lbl_FireTime"), 8, 44, QStringLiteral("Fire Time:"));
    make<QLineEdit>(fire, QStringLiteral("edt_FireTime"), QRect(74, 41, 56, 20))->setMaxLength(5);
    label(fire, QStringLiteral("lbl_ms6"), 134, 44, QStringLiteral("(*8ms)"));

    radioPair(group(op, QStringLiteral("gbLCPI"), QRect(186, 6, 208, 42), QStringLiteral("LED Mode(L+CPI)")),
              QStringLiteral("rb_LCPIOn"), QStringLiteral("On"), QStringLiteral("rb_LCPIOff"),
              QStringLiteral("Off"));

    auto* scan = group(op, QStringLiteral("gbMCULEDControlMode"), QRect(186, 52, 208, 42),
                       QStringLiteral("MCU LED Control Mode"));
    radioPair(scan, QStringLiteral("rb_MCULED3Control"), QStringLiteral("3-Line Scan"),
              QStringLiteral("rb_MCULED6Control"), QStringLiteral("6-Line Scan"));
    scan->setEnabled(false);
    for (QRadioButton* rb : scan->findChildren<QRadioButton*>())
        rb->setEnabled(false);
    scan->hide(); // MCU light only

    auto* mcuColours = group(op, QStringLiteral("gbMCULEDCPIColor"), QRect(186, 100, 580, 90),
                             QStringLiteral("MCU LED CPI Color Setting"));
    for (int n = 1; n <= 7; ++n)
        for (int c = 0; c < 3; ++c) {
            const QString suffix = QStringLiteral("CPI%1%2").arg(n).arg(QLatin1Char(kRgb[c]));
            const int x = 6 + (n - 1) * 82, y = 18 + c * 23;
            label(mcuColours, QStringLiteral("lbl_") + suffix, x, y + 3,
                  QStringLiteral("CPI%1 %2:").arg(n).arg(QLatin1Char(kRgb[c])));
            numberEdit(mcuColours, QStringLiteral("edt_") + suffix, QRect(x + 46, y, 30, 20), 3);
        }
    mcuColours->hide();

    auto* mcu = group(op, QStringLiteral("gbMCULEDCurrent"), QRect(184, 196, 162, 92),
                      QStringLiteral("MCU LED Setting"));
    label(mcu, QStringLiteral("lbl_MCULEDNum"), 6, 20, QStringLiteral("LED Number:"));
    numberEdit(mcu, QStringLiteral("edt_MCULEDNum"), QRect(86, 17, 30, 20), 2);
    label(mcu, QStringLiteral("lbl_ms2"), 120, 20, QStringLiteral("(4~13)"));
    label(mcu, QStringLiteral("lbl_MCULEDCrtMode"), 6, 44, QStringLiteral("Current Mode:"));
    list(mcu, QStringLiteral("cb_MCULEDCurrentMode"), QRect(86, 41, 70, 20), texts(kModeNames));
    label(mcu, QStringLiteral("lbl_MCULEDCrtStep"), 6, 68, QStringLiteral("LED Step:"));
    numberEdit(mcu, QStringLiteral("edt_MCULEDCrtStep"), QRect(86, 65, 30, 20), 1);
    label(mcu, QStringLiteral("lbl_ms3"), 120, 68, QStringLiteral("(0~7)"));
    mcu->hide();

    auto* norStep = group(op, QStringLiteral("gbNorLEDSetting"), QRect(402, 6, 160, 42),
                          QStringLiteral("Nor LED Breath Setting"));
    label(norStep, QStringLiteral("lbl_NorLEDStep"), 6, 20, QStringLiteral("Breath Step:"));
    numberEdit(norStep, QStringLiteral("edt_NorLEDStep"), QRect(76, 17, 36, 20), 3);
    label(norStep, QStringLiteral("lbl_ms1"), 116, 20, QStringLiteral("(*1ms)"));

    auto* norMode =
        group(op, QStringLiteral("gbNorLEDMode"), QRect(402, 52, 160, 42), QStringLiteral("Nor LED Mode"));
    button<QRadioButton>(norMode, QStringLiteral("rb_NorLEDCPI"), QRect(8, 18, 140, 18),
                         QStringLiteral("CPI Breath"))
        ->setChecked(true); // the only smart-LED mode
    norMode->hide();

    auto* norColours = group(op, QStringLiteral("gbNorLEDCPIColor"), QRect(568, 6, 312, 92),
                             QStringLiteral("Nor LED CPI Color Setting"));
    for (int n = 1; n <= 7; ++n) {
        const int x = 6 + ((n - 1) / 3) * 102, y = 17 + ((n - 1) % 3) * 24;
        label(norColours, QStringLiteral("lbl_CPI%1Color").arg(n), x, y + 3, QStringLiteral("CPI%1:").arg(n));
        list(norColours, QStringLiteral("cb_CPI%1Color").arg(n), QRect(x + 32, y, 64, 20),
             texts(kColourNames));
    }

    label(op, QStringLiteral("lbl_VendorID"), 776, 113, QStringLiteral("Vendor ID:"));
    auto* vendor = numberEdit(op, QStringLiteral("edt_VendorID"), QRect(838, 110, 44, 20), 3);
    label(op, QStringLiteral("lbl_ProductID"), 776, 137, QStringLiteral("Product ID:"));
    auto* product = numberEdit(op, QStringLiteral("edt_ProductID"), QRect(838, 134, 44, 20), 3);
    connect(vendor, &QLineEdit::textChanged, this, [this] { edt_VendorIDChange(); });
    connect(product, &QLineEdit::textChanged, this, [this] { edt_ProductIDChange(); });

    auto* cpi = group(op, QStringLiteral("gbCPI"), QRect(888, 6, 154, 251), QStringLiteral("CPI"));
    label(cpi, QStringLiteral("lbl_CPIStep"), 8, 21, QStringLiteral("CPI Steps:"));
    auto* steps = list(cpi, QStringLiteral("cb_CPIStep"), QRect(84, 18, 62, 20), numbers(2, 7));
    label(cpi, QStringLiteral("lbl_CurrentCPI"), 8, 45, QStringLiteral("Current CPI:"));
    list(cpi, QStringLiteral("cb_CurrentCPI"), QRect(84, 42, 62, 20), numbers(1, 7));
    for (int n = 1; n <= 7; ++n) {
        const int y = 72 + (n - 1) * 25;
        label(cpi, QStringLiteral("lbl_CPI%1").arg(n), 8, y + 3, QStringLiteral("CPI %1:").arg(n));
        list(cpi, QStringLiteral("cb_CPI%1").arg(n), QRect(84, y, 62, 20), texts(kCpiValues));
    }
    // The user's change closes the key menus first (AdvancedPage's handler).
    connect(steps, &QComboBox::activated, this, [this] { advanced_.cb_CPIStepChange(); });

    auto* keyColours = group(op, QStringLiteral("gbKeyModeColor"), QRect(354, 196, 192, 92),
                             QStringLiteral("Key Mode Color Setting"));
    const char* keyColourTexts[] = {"Mode1 R:", "Mode1 G:", "Mode1 B::", "Mode2 R:", "Mode2 G:", "Mode2 B:"};
    for (int m = 1; m <= 2; ++m)
        for (int c = 0; c < 3; ++c) {
            const QString suffix = QStringLiteral("KeyMode%1%2").arg(m).arg(QLatin1Char(kRgb[c]));
            const int x = 6 + (m - 1) * 94, y = 17 + c * 24;
            label(keyColours, QStringLiteral("lbl_") + suffix, x, y + 3,
                  QString::fromLatin1(keyColourTexts[(m - 1) * 3 + c]));
            numberEdit(keyColours, QStringLiteral("edt_") + suffix, QRect(x + 54, y, 32, 20), 3);
        }

    auto* switchFn =
        group(op, QStringLiteral("gbSwitchFn"), QRect(554, 196, 130, 92), QStringLiteral("Switch Key Mode"));
    button<QCheckBox>(switchFn, QStringLiteral("cb_MidPress"), QRect(8, 18, 118, 18),
                      QStringLiteral("Press Middle Key"));
    button<QCheckBox>(switchFn, QStringLiteral("cb_CPIPress"), QRect(8, 42, 118, 18),
                      QStringLiteral("Press CPI Key"));
    button<QCheckBox>(switchFn, QStringLiteral("cb_GunPress"), QRect(8, 66, 118, 18),
                      QStringLiteral("Press Gun Key"))
        ->hide();

    radioPair(group(op, QStringLiteral("gbSaveKeyMode"), QRect(690, 196, 188, 42),
                    QStringLiteral("Is Save Key Mode")),
              QStringLiteral("rb_Save"), QStringLiteral("Save"), QStringLiteral("rb_NoSave"),
              QStringLiteral("No Save"));

    label(op, QStringLiteral("lbl_SensorOri"), 690, 247, QStringLiteral("Sensor Ori:"))->setEnabled(false);
    list(op, QStringLiteral("cb_SensorOri"), QRect(756, 244, 120, 20), texts(kSensorOriNames))
        ->setEnabled(false);

    label(op, QStringLiteral("lbl_TLAIMKey"), 896, 267, QStringLiteral("AIM Key:"));
    list(op, QStringLiteral("cb_AIMKeyValue"), QRect(976, 264, 64, 20), texts(kCpiValues));

    auto* line = make<QFrame>(op, QStringLiteral("suiEdit1"), QRect(-12, 290, 1300, 4));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    label(op, QStringLiteral("lbl_KeyMode"), 8, 301, QStringLiteral("Key Mode:"));
    list(op, QStringLiteral("cb_KeyMode"), QRect(76, 298, 80, 20), texts({"Mode A", "Mode B"}));

    for (int m = 1; m <= 2; ++m) {
        auto* keys = group(op, QStringLiteral("gbKeyMode%1").arg(m), QRect(8, m == 1 ? 320 : 382, 1033, 57),
                           m == 1 ? QStringLiteral("Mode A") : QStringLiteral("Mode B"));
        for (int k = 1; k <= 9; ++k) {
            const int x = 6 + (k - 1) * 114;
            label(keys, QStringLiteral("lbl_Key%1%2").arg(m).arg(k, 2, 10, QLatin1Char('0')), x, 27,
                  QStringLiteral("Key%1").arg(k));
            button<QPushButton>(keys, QStringLiteral("btn_Key%1%2").arg(m).arg(k, 2, 10, QLatin1Char('0')),
                                QRect(x + 30, 22, 80, 26), QString());
        }
    }

    // --- Engineer sheet: what the mouse holds, for display ---
    label(eng, QStringLiteral("lbl_VendorID_Rd"), 16, 16, QStringLiteral("Vendor ID:"));
    make<QLineEdit>(eng, QStringLiteral("edt_VendorID_Rd"), QRect(84, 12, 60, 20));
    label(eng, QStringLiteral("lbl_ProductID_Rd"), 16, 40, QStringLiteral("Product ID:"));
    make<QLineEdit>(eng, QStringLiteral("edt_ProductID_Rd"), QRect(84, 36, 60, 20));
    auto* modes = group(eng, QStringLiteral("gbMCULEDMode"), QRect(8, 70, 209, 123),
                        QStringLiteral("MCU LED Mode Select"));
    for (int k = 1; k <= 7; ++k) {
        auto* box = button<QCheckBox>(modes, QStringLiteral("cb_Mode%1").arg(k),
                                      QRect(10 + ((k - 1) / 4) * 100, 20 + ((k - 1) % 4) * 24, 90, 18),
                                      QString::fromLatin1(kModeNames[k - 1]));
        connect(box, &QCheckBox::clicked, this, [this] { TLRefreshMCULEDMode(); });
    }
    auto* fireFn =
        group(eng, QStringLiteral("gbFireFn"), QRect(8, 212, 170, 42), QStringLiteral("Fire Function"));
    radioPair(fireFn, QStringLiteral("rb_FireFnOn"), QStringLiteral("Fn+Left Key"),
              QStringLiteral("rb_FireFnOff"), QStringLiteral("Left Key"));
    fireFn->hide();

    // --- Notes and hint line ---
    label(page6, QStringLiteral("lbl_Notes"), 16, 558, QStringLiteral("Notes: "));
    stack().hintLine()->raise();
    close->raise();
}

// --- Engineering-tab parts of the setting handlers ---

EngineerLink EngineerPage::link()
{
    return {container(), [this] { return ledTypeShown(); }, [this] { cb_CPIStepChange(); }};
}

void EngineerPage::cb_CPIStepChange()
{
    QWidget* p = container();
    const int count = p->findChild<QComboBox*>(QStringLiteral("cb_CPIStep"))->currentIndex() + 2;
    auto* current = p->findChild<QComboBox*>(QStringLiteral("cb_CurrentCPI"));
    current->clear();
    current->addItems(numbers(1, count));
    current->setCurrentIndex(current->count() - 1);
    // Levels 1 and 2 are always in use.
    for (int n = 3; n <= 7; ++n) {
        const bool active = n <= count;
        for (const QString& name :
             {QStringLiteral("lbl_CPI%1"), QStringLiteral("cb_CPI%1"), QStringLiteral("lbl_CPI%1Color"),
              QStringLiteral("cb_CPI%1Color"), QStringLiteral("lbl_CPI%1R"), QStringLiteral("edt_CPI%1R"),
              QStringLiteral("lbl_CPI%1G"), QStringLiteral("edt_CPI%1G"), QStringLiteral("lbl_CPI%1B"),
              QStringLiteral("edt_CPI%1B")})
            p->findChild<QWidget*>(name.arg(n))->setVisible(active);
    }
    // The swatches keep what the user changed last; filling from an image
    // sets them by light type afterwards (RefreshCpiLevelsView).
    advanced_.FollowCpiStep();
}

void EngineerPage::ShowLightTypeControls()
{
    QWidget* p = container();
    const bool normal = p->findChild<QRadioButton*>(QStringLiteral("rb_NorLED"))->isChecked();
    const bool mcu = p->findChild<QRadioButton*>(QStringLiteral("rb_MCULED"))->isChecked();
    if (!normal && !mcu)
        return;
    for (const char* name : {"gbNorLEDSetting", "gbNorLEDCPIColor", "lbl_KeyMode1R", "edt_KeyMode1R",
                             "lbl_KeyMode1G", "edt_KeyMode1G", "lbl_KeyMode1B", "edt_KeyMode1B"})
        p->findChild<QWidget*>(QString::fromLatin1(name))->setVisible(normal);
    for (const char* name : {"gbMCULEDControlMode", "gbMCULEDCurrent", "gbMCULEDCPIColor"})
        p->findChild<QWidget*>(QString::fromLatin1(name))->setVisible(mcu);
    lighting_.RefreshLightTypeView();
}

void EngineerPage::TLRefreshMCULEDMode()
{
    QWidget* p = container();
    auto* current = p->findChild<QComboBox*>(QStringLiteral("cb_MCULEDCurrentMode"));
    QStringList items;
    for (int k = 1; k <= 7; ++k)
        items << (p->findChild<QCheckBox*>(QStringLiteral("cb_Mode%1").arg(k))->isChecked()
                      ? McuModeNames.value(k - 1)
                      : QStringLiteral("------"));
    current->clear();
    current->addItems(items);
    current->setCurrentIndex(0);
    lighting_.RefreshMcuModeView();
}

void EngineerPage::TLRefreshAIMKey()
{
    // The same AIM keys and value the advanced page shows: by their code, the
    // value limited to the eleven CPI values.
    auto* aim = control<QComboBox>(QStringLiteral("cb_AIMKeyValue"));
    if (const std::optional<int> value = keys_.keys().AimValueFromProfile(); aim && value)
        aim->setCurrentIndex(*value);
}

namespace
{
void showKeyNames(QWidget* p, int mode, const std::array<QString, 9>& codes, const TextLookup& text,
                  const QStringList& macros)
{
    for (int k = 1; k <= 9; ++k)
        p->findChild<QPushButton*>(QStringLiteral("btn_Key%1%2").arg(mode).arg(k, 2, 10, QLatin1Char('0')))
            ->setText(KeyFunctionName(codes[std::size_t(k - 1)], text, macros));
}
} // namespace

void EngineerPage::TLRefreshProfile1Keys()
{
    showKeyNames(container(), 1, keys_.codes(KeyMode::A), skin().lookup(), macros_.BaseMacroNames());
}

void EngineerPage::TLRefreshProfile2Keys()
{
    showKeyNames(container(), 2, keys_.codes(KeyMode::B), skin().lookup(), macros_.BaseMacroNames());
}

// The identity edits hold a byte; anything else reads as the general code 255.
namespace
{
void keepIdentityByte(QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    if (edit->text().isEmpty() || !ok || value > 255)
        edit->setText(QStringLiteral("255"));
}
} // namespace

void EngineerPage::edt_VendorIDChange()
{
    keepIdentityByte(control<QLineEdit>(QStringLiteral("edt_VendorID")));
}

void EngineerPage::edt_ProductIDChange()
{
    keepIdentityByte(control<QLineEdit>(QStringLiteral("edt_ProductID")));
}

// --- Steps ---

void EngineerPage::UIToDataBuf()
{
    StoreSettings(EngineerControls(container()).ReadControls(), image().ParameterA, image().ParameterB,
                  image().FireKey);
}

SettingsControls EngineerPage::RefreshUI()
{
    const EngineerControls c(container());
    SettingsControls s = c.ReadControls();
    ShowSettings(image().ParameterA, image().ParameterB, image().FireKey, s);

    // Option flags, orientation and light type.
    c.setPair(QStringLiteral("rb_MCPIOn"), QStringLiteral("rb_MCPIOff"), s.mcpi);
    c.setPair(QStringLiteral("rb_FireFnOn"), QStringLiteral("rb_FireFnOff"), s.fireFn);
    c.setPair(QStringLiteral("rb_LCPIOn"), QStringLiteral("rb_LCPIOff"), s.lcpi);
    c.setPair(QStringLiteral("rb_NoSave"), QStringLiteral("rb_Save"), s.noSave);
    c.setIndex(QStringLiteral("cb_SensorOri"), s.sensorOri);
    c.setPair(QStringLiteral("rb_NorLED"), QStringLiteral("rb_MCULED"), s.ledType);
    LedTypeShown = s.ledType == PairChoice::First ? QStringLiteral("ZKLED") : QStringLiteral("MCULED");
    ShowLightTypeControls();

    c.box(QStringLiteral("cb_MidPress"))->setChecked(s.midPress);
    c.box(QStringLiteral("cb_CPIPress"))->setChecked(s.cpiPress);
    c.box(QStringLiteral("cb_GunPress"))->setChecked(s.gunPress);

    c.setIndex(QStringLiteral("cb_CPIStep"), s.cpiStep);
    cb_CPIStepChange();

    c.setPair(QStringLiteral("rb_MCULED3Control"), QStringLiteral("rb_MCULED6Control"), s.mcuScan);
    c.setNumber(QStringLiteral("edt_MCULEDNum"), s.mcuLedNum);

    for (std::size_t k = 0; k < s.mcuModes.size(); ++k)
        c.box(QStringLiteral("cb_Mode%1").arg(k + 1))->setChecked(s.mcuModes[k]);
    TLRefreshMCULEDMode();

    c.setNumber(QStringLiteral("edt_NorLEDStep"), s.norLedStep);
    for (std::size_t n = 0; n < 7; ++n) {
        c.setIndex(QStringLiteral("cb_CPI%1").arg(n + 1), s.cpiValue[n]);
        c.setIndex(QStringLiteral("cb_CPI%1Color").arg(n + 1), s.cpiColour[n]);
    }
    for (std::size_t i = 0; i < s.keyModeRgb.size(); ++i)
        c.setNumber(EngineerControls::keyModeEdit(i), s.keyModeRgb[i]);
    for (std::size_t i = 0; i < s.cpiRgb.size(); ++i)
        c.setNumber(EngineerControls::cpiRgbEdit(i), s.cpiRgb[i]);

    c.setIndex(QStringLiteral("cb_CurrentCPI"), s.currentCpi);

    if (s.norLedCpi)
        c.radio(QStringLiteral("rb_NorLEDCPI"))->setChecked(true);
    if (s.ledType == PairChoice::Second) {
        c.setIndex(QStringLiteral("cb_MCULEDCurrentMode"), s.mcuCurrentMode);
        c.setNumber(QStringLiteral("edt_MCULEDCrtStep"), s.mcuStep);
    }
    c.setPair(QStringLiteral("rb_LEDOff"), QStringLiteral("rb_LEDOn"), s.ledOff);

    c.setIndex(QStringLiteral("cb_KeyMode"), s.keyMode);
    c.setNumber(QStringLiteral("edt_VendorID"), s.vendorId);
    c.setNumber(QStringLiteral("edt_ProductID"), s.productId);

    TLRefreshAIMKey();
    TLRefreshProfile1Keys();
    TLRefreshProfile2Keys();

    c.setIndex(QStringLiteral("cb_FireCount"), s.fireCount);
    c.setNumber(QStringLiteral("edt_FireTime"), s.fireTime);
    return s;
}

void EngineerPage::ShowIdentity(const std::array<std::uint8_t, 2>& bytes)
{
    for (const auto& [name, value] :
         {std::pair{"edt_VendorID_Rd", bytes[0]}, std::pair{"edt_ProductID_Rd", bytes[1]}})
        if (QWidget* edit = control(QString::fromLatin1(name)))
            edit->setProperty("text", QString::number(value));
}

void EngineerPage::DeviceLost()
{
    LedTypeShown.clear();
}

} // namespace orb
