// Skin pictures, the window's shape, the layout step and the text step of a
// language application, and the language buttons.
#include "app/Captions.h"
#include "app/MainWindow.h"

#include "rcdata.h"
#include "skin/ButtonVisuals.h"
#include "skin/CaptionTexts.h"
#include "skin/LayoutKeys.h"
#include "skin/OrgOptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtDebug>
#include <algorithm>
#include <functional>

namespace orb
{

namespace
{

constexpr QSize kEngineerPageSize(1076, 640);

QColor toColour(const Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}

void setFontFamily(QWidget* w, const QString& family)
{
    QFont f = w->font();
    f.setFamily(family);
    w->setFont(f);
}

void setTextColour(QWidget* w, const QColor& c)
{
    QPalette pal = w->palette();
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(role, c);
    w->setPalette(pal);
}

void setPointSize(QWidget* w, int size)
{
    if (size <= 0)
        return;
    QFont f = w->font();
    f.setPointSize(size);
    w->setFont(f);
}

// Pictures loaded once; every picture is an embedded PNG named without ".png".
const QPixmap& skinPicture(QHash<QString, QPixmap>& cache, const QString& name)
{
    auto it = cache.find(name);
    if (it == cache.end()) {
        QPixmap pm;
        if (const auto bytes = rcData(name))
            pm.loadFromData(*bytes, "PNG");
        if (pm.isNull())
            qWarning("skin picture %s is missing", qPrintable(name));
        it = cache.insert(name, pm);
    }
    return *it;
}

// The first pictures of the controls made by the other pages, where they exist.
struct FirstPicture {
    const char* control;
    int first; // numbered controls: control + first..last; 0: the name as it is
    int last;
    const char* picture;
};
const FirstPicture kFirstPictures[] = {
    {"Img_Key", 1, 9, "KeyS_01"},         {"Img_ComboKey", 1, 2, "CbS_D"},
    {"Img_DPI", 1, 7, nullptr},           {"Img_AIMKey_1", 0, 0, "Bar2_E"},
    {"Img_AIMKey_", 2, 11, "Bar2_D"},     {"Img_Mode1Color", 0, 0, "Col_F"},
    {"Img_Mode2Color", 0, 0, "Col_F"},    {"Img_MCULEDNum_1", 0, 0, "Bar1_E"},
    {"Img_MCULEDStep_1", 0, 0, "Bar1_E"}, {"Img_New", 0, 0, "MacroS_01"},
    {"Img_Start", 0, 0, "MacroS_01"},     {"Img_InsertStart", 0, 0, "MacroS_01"},
    {"Img_OK", 0, 0, "MacroBtnS_01"},     {"Img_Cancel", 0, 0, "MacroBtnS_01"},
};

} // namespace

// --- Frame controls ---

void MainWindow::buildSkinFrame(QWidget* pg, int copy)
{
    auto* overlayPicture = new QLabel(pg);
    overlayPicture->setObjectName(QStringLiteral("Img_P%1").arg(copy));

    QList<LayoutButtonKeys> buttons = ActionButtonKeys();
    buttons += PageButtonKeys();
    buttons.append({QString(), QStringLiteral("Engineer")});
    buttons.append({QString(), QStringLiteral("Web")});

    const QHash<QString, void (MainWindow::*)()> handlers = {
        {QStringLiteral("Confirm"), &MainWindow::Btn_Confirm_0Click},
        {QStringLiteral("Apply"), &MainWindow::Btn_Apply_0Click},
        {QStringLiteral("Read"), &MainWindow::Btn_Read_0Click},
        {QStringLiteral("Confirm1"), &MainWindow::Btn_Confirm1_1Click},
        {QStringLiteral("Confirm2"), &MainWindow::Btn_Confirm2_1Click},
        {QStringLiteral("Confirm3"), &MainWindow::Btn_Confirm3_1Click},
        {QStringLiteral("Mini"), &MainWindow::Btn_Minimize_0Click},
        {QStringLiteral("Main"), &MainWindow::Btn_Main_0Click},
        {QStringLiteral("Second"), &MainWindow::Btn_Second_0Click},
        {QStringLiteral("Adv"), &MainWindow::Btn_Adv_0Click},
        {QStringLiteral("Breath"), &MainWindow::Btn_Breath_0Click},
        {QStringLiteral("Macro"), &MainWindow::Btn_Macro_0Click},
        {QStringLiteral("Save"), &MainWindow::Btn_Save_0Click},
        {QStringLiteral("Load"), &MainWindow::Btn_Load_0Click},
        {QStringLiteral("Lang1"), &MainWindow::Btn_Lang1_0Click},
        {QStringLiteral("Lang2"), &MainWindow::Btn_Lang2_0Click},
        {QStringLiteral("Lang3"), &MainWindow::Btn_Lang3_0Click},
        {QStringLiteral("Engineer"), &MainWindow::Btn_Engineer_0Click},
        {QStringLiteral("Web"), &MainWindow::Btn_Web_0Click},
    };

    for (const LayoutButtonKeys& b : buttons) {
        auto* picture = new QLabel(pg);
        picture->setObjectName(QStringLiteral("Img_%1_%2").arg(b.name).arg(copy));
        auto* caption = new ClickLabel(pg);
        caption->setObjectName(QStringLiteral("Btn_%1_%2").arg(b.name).arg(copy));
        caption->setAlignment(Qt::AlignCenter);
        if (b.name == QLatin1String("Exit")) {
            connect(caption, &ClickLabel::clicked, this, &QWidget::close); // Btn_Exit_0Click
        } else if (const auto h = handlers.value(b.name)) {
            connect(caption, &ClickLabel::clicked, this, [this, h] { (this->*h)(); });
        }
        wireButtonVisuals(caption);
    }
}

QWidget* MainWindow::control(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return findChild<QWidget*>(name);
}

// --- Pictures and the window's shape ---

void MainWindow::SetPicture(const QString& name, const QString& picture)
{
    auto* label = qobject_cast<QLabel*>(control(name));
    if (!label)
        return;
    const QPixmap& pm = skinPicture(pictures_, picture);
    label->setPixmap(pm);
    // The backgrounds keep the window's size; everything else takes its picture's.
    if (!name.startsWith(QLatin1String("Img_Base_")) && !pm.isNull())
        label->resize(pm.size());
    label->setProperty("picture", picture);
}

void MainWindow::SetGroupPicture(const QString& group, const QString& picture)
{
    for (int copy = 1; copy <= 4; ++copy)
        SetPicture(QStringLiteral("Img_%1_%2").arg(group).arg(copy), picture);
}

void MainWindow::LoadBaseImage()
{
    SetPicture(QStringLiteral("Img_Base_1"), QStringLiteral("L1_BackGround"));
    const QPixmap& pm = skinPicture(pictures_, QStringLiteral("L1_BackGround"));
    SkinSize = pm.isNull() ? QSize(1030, 662) : pm.size();
    for (int copy = 1; copy <= 4; ++copy)
        if (QWidget* base = control(QStringLiteral("Img_Base_%1").arg(copy)))
            base->setGeometry(QRect(QPoint(0, 0), SkinSize));
    for (QWidget* o : overlays_)
        o->setGeometry(QRect(QPoint(0, 0), SkinSize));
}

void MainWindow::updateWindowShape()
{
    // The window shows only the background's opaque pixels. A background that
    // does not cover the window (the placeholder picture set) would cut away
    // the frame buttons, so the window then keeps its whole rectangle.
    auto* base = qobject_cast<QLabel*>(control(QStringLiteral("Img_Base_1")));
    const QPixmap pm = base ? base->pixmap() : QPixmap();
    if (pm.isNull() || pm.size() != SkinSize || !pm.hasAlphaChannel()) {
        clearMask();
        return;
    }
    setMask(pm.mask());
}

void MainWindow::FitWindowToSkin()
{
    resize(SkinSize);
    for (int n = 1; n <= 4; ++n)
        page(n)->resize(SkinSize);
    page(6)->resize(kEngineerPageSize);
    updateWindowShape();
}

void MainWindow::FitWindowToEngineerPage()
{
    resize(kEngineerPageSize);
    for (int n = 1; n <= 4; ++n)
        page(n)->resize(SkinSize);
    page(6)->resize(kEngineerPageSize);
    clearMask(); // the engineering page is a plain rectangle
}

void MainWindow::LoadSkinImages()
{
    for (int copy = 1; copy <= 4; ++copy) {
        SetPicture(QStringLiteral("Img_Base_%1").arg(copy), QStringLiteral("L1_BackGround"));
        SetPicture(QStringLiteral("Img_P%1").arg(copy), QStringLiteral("L1_Back%1").arg(copy));
    }
    for (const char* g : {"Confirm", "Apply", "Read", "Confirm1", "Confirm2", "Confirm3"})
        SetGroupPicture(QLatin1String(g), QStringLiteral("BtnS_01"));
    SetGroupPicture(QStringLiteral("Exit"), QStringLiteral("ExitS_01"));
    SetGroupPicture(QStringLiteral("Mini"), QStringLiteral("MiniS_01"));
    for (const QString& g : PageButtonGroups())
        SetGroupPicture(g, QStringLiteral("SetS_01"));
    SetGroupPicture(QStringLiteral("Lang2"), QStringLiteral("SetS_01"));
    SetGroupPicture(QStringLiteral("Lang3"), QStringLiteral("SetS_01"));
    SetGroupPicture(QStringLiteral("Main"), QStringLiteral("SetS_03"));
    SetGroupPicture(QStringLiteral("Lang1"), QStringLiteral("SetS_03"));
    SetGroupPicture(QStringLiteral("Web"), QStringLiteral("WebS_01"));

    for (const FirstPicture& f : kFirstPictures) {
        const QString name = QLatin1String(f.control);
        if (f.first == 0) {
            SetPicture(name, QLatin1String(f.picture));
        } else if (f.picture) {
            for (int k = f.first; k <= f.last; ++k)
                SetPicture(name + QString::number(k), QLatin1String(f.picture));
        } else {
            // CPI rows: the first segment lit, and the row's colour cell.
            for (int k = f.first; k <= f.last; ++k) {
                SetPicture(QStringLiteral("Img_DPI%1_1").arg(k), QStringLiteral("Bar2_E"));
                SetPicture(QStringLiteral("Img_DPI%1Col").arg(k), QStringLiteral("Col_F"));
            }
        }
    }
}

// --- Options and layout ---

void MainWindow::LoadOrgOptions()
{
    try {
        const LayoutText org = LayoutText::load(QStringLiteral("org"));
        const OrgOptions o = orb::LoadOrgOptions(org);
        Web_Enable = o.Web_Enable;
        Web = o.Web;
        Rev_Manu_ID = o.Rev_Manu_ID;
        Rev_Pro_ID = o.Rev_Pro_ID;
        Path = o.Path;
        TR_Enable = o.TR_Enable;
        DPILED_Status = o.DPILED_Status;
        Num_Order = o.Num_Order;
        applyLayoutRows(org, OrgLayoutRows());
    } catch (const LayoutError& e) {
        qWarning("%s", e.what());
    }
}

namespace
{
// Places the controls `find` knows by the rows' keys of `section`; a row's
// picture size is that of the picture label of the same name.
void placeControls(const LayoutText& section, const QList<LayoutRow>& rows,
                   const std::function<QWidget*(const QString&)>& find)
{
    const auto sizeOf = [&find](const QString& name) {
        if (auto* l = qobject_cast<QLabel*>(find(name)))
            if (!l->pixmap().isNull())
                return l->pixmap().size();
        return QSize();
    };
    for (const Placement& p : PlanLayout(section, rows, sizeOf)) {
        QWidget* w = find(p.name);
        if (!w)
            continue;
        if (p.pos)
            w->move(*p.pos);
        if (p.size)
            w->resize(*p.size);
        if (p.width)
            w->resize(*p.width, w->height());
        if (p.height)
            w->resize(w->width(), *p.height);
        if (p.left)
            w->move(*p.left, w->y());
        if (p.visible)
            w->setVisible(*p.visible);
    }
}
} // namespace

void MainWindow::applyLayoutRows(const LayoutText& section, const QList<LayoutRow>& rows)
{
    placeControls(section, rows, [this](const QString& name) { return control(name); });
}

void MainWindow::ApplyLanguageLayout()
{
    // Image step: the background and the current page's overlay of the set.
    const QString set = QStringLiteral("L%1").arg(LanguageIndex);
    for (int copy = 1; copy <= 4; ++copy)
        SetPicture(QStringLiteral("Img_Base_%1").arg(copy), set + QStringLiteral("_BackGround"));
    const QString state = PageState();
    if (const PageOption* o = FindPageOption(state); o && !o->overlay.isEmpty())
        SetPicture(o->overlay, set + o->backPicture);
    if (state != QLatin1String("rb_7"))
        updateWindowShape();

    // Layout step.
    try {
        const LayoutText section = LoadLayoutSection(LanguageIndex);
        applyLayoutRows(section, LanguageLayoutRows());
        ApplyKeyMenuLayout(section);
        for (const StylePlacement& s : PlanStyles(section, LanguageStyleRows())) {
            QWidget* w = control(s.name);
            if (!w)
                continue;
            switch (s.role) {
            case StyleRole::Text:
                if (s.pointSize)
                    setPointSize(w, *s.pointSize);
                if (s.colour)
                    setTextColour(w, toColour(*s.colour));
                break;
            case StyleRole::Fill:
                if (s.colour) {
                    QPalette pal = w->palette();
                    pal.setColor(QPalette::Window, toColour(*s.colour));
                    pal.setColor(QPalette::Base, toColour(*s.colour));
                    w->setPalette(pal);
                    w->setAutoFillBackground(true);
                }
                break;
            case StyleRole::Border:
                if (s.colour)
                    w->setStyleSheet(QStringLiteral("border: 1px solid %1;").arg(toColour(*s.colour).name()));
                break;
            }
        }
        Keep = ReadLayoutKeep(section);
    } catch (const LayoutError& e) {
        qWarning("%s", e.what()); // a fault of the embedded texts
    }

    applyTexts();
}

void MainWindow::applyTexts()
{
    LoadLanguage(LanguageIndex); // pack, text slots and application title

    // Fonts: the name only; sizes and colours are the layout step's.
    const QString font = Slots.fontName;
    QList<QWidget*> texted;
    for (const CaptionText& c : LanguageCaptionTexts())
        for (int copy = c.copies ? 1 : 0; copy <= (c.copies ? 4 : 0); ++copy)
            if (QWidget* w = control(copy ? c.control + QString::number(copy) : c.control))
                texted << w;
    for (QLabel* l : findChildren<QLabel*>()) {
        const QString n = l->objectName();
        static const QRegularExpression numbered(
            QStringLiteral("^(Key[1-9]|lbl_(Spd|DbSpd|ScrSpd)\\d+|lbl_DPI[1-7](Value)?|lbl_AIMKey(Value)?|"
                           "lbl_MCULED(Step|Num)_\\d+)$"));
        if (n.startsWith(QLatin1String("Key_")) || n.startsWith(QLatin1String("ST_")) ||
            numbered.match(n).hasMatch())
            texted << l;
    }
    for (QWidget* w : page(4)->findChildren<QWidget*>())
        if (!w->objectName().startsWith(QLatin1String("Img_")) &&
            std::find(overlays_.begin(), overlays_.end(), w) == overlays_.end())
            texted << w;
    for (QWidget* w : texted)
        setFontFamily(w, font);

    // Captions.
    const QString marker = LookupText(QStringLiteral("Str200"));
    for (const CaptionText& c : LanguageCaptionTexts()) {
        QString text = c.key.isEmpty() ? c.fixed : LookupText(c.key);
        text.prepend(QString(c.blanks, QLatin1Char(' ')));
        if (c.menuItem)
            text = QLatin1Char(' ') + marker + QLatin1Char(' ') + text;
        for (int copy = c.copies ? 1 : 0; copy <= (c.copies ? 4 : 0); ++copy)
            if (QWidget* w = control(copy ? c.control + QString::number(copy) : c.control))
                setCaption(w, text);
    }

    // The button captions show assignments: named afresh from their codes, so
    // a caption whose text two functions share ("后退" is both Back and WWW
    // Back) keeps naming the function the button has.
    RetranslateKeyCaptions();

    if (auto* list = qobject_cast<QComboBox*>(control(QStringLiteral("CB_Insert")))) {
        const QStringList& keys = InsertListKeys();
        for (int i = 0; i < keys.size(); ++i) {
            if (i < list->count())
                list->setItemText(i, LookupText(keys[i]));
            else
                list->addItem(LookupText(keys[i]));
        }
    }
}

void MainWindow::ApplyDialogLayout(QWidget* dialog, const QString& fontGroup, const QList<LayoutRow>& rows)
{
    if (!dialog)
        return;
    try {
        const LayoutText section = LoadLayoutSection(LanguageIndex);
        const int size = section.intValue(QStringLiteral("Size_") + fontGroup);
        const QColor colour = toColour(section.colour(QStringLiteral("Color_%1_").arg(fontGroup)));
        const QString extraKey = fontGroup == QLatin1String("K")
                                     ? QStringLiteral("Color_K_AK_")
                                     : QStringLiteral("Color_%1_MN_").arg(fontGroup);
        const QColor extra = toColour(section.colour(extraKey));
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            const QString role = w->property("layoutRole").toString();
            setFontFamily(w, Slots.fontName);
            if (role == QLatin1String("title")) {
                setPointSize(w, size + 5);
                setTextColour(w, colour);
            } else if (role == QLatin1String("input")) {
                setPointSize(w, size + 3);
                setTextColour(w, extra);
            } else if (role == QLatin1String("button")) {
                setPointSize(w, size + 1);
                setTextColour(w, colour);
            } else {
                setPointSize(w, size);
            }
        }
        placeControls(section, rows, [dialog](const QString& name) { return dialog->findChild<QWidget*>(name); });
    } catch (const LayoutError& e) {
        qWarning("%s", e.what());
    }
}

// --- Language buttons ---

void MainWindow::Btn_Lang1_0Click()
{
    LanguageButtonClick(1);
}

void MainWindow::Btn_Lang2_0Click()
{
    LanguageButtonClick(2);
}

void MainWindow::Btn_Lang3_0Click()
{
    LanguageButtonClick(3);
}

void MainWindow::LanguageButtonClick(int language)
{
    for (int n = 1; n <= 3; ++n)
        SetGroupPicture(QStringLiteral("Lang%1").arg(n),
                        n == language ? QStringLiteral("SetS_03") : QStringLiteral("SetS_01"));
    if (auto* rb = findChild<QRadioButton*>(QStringLiteral("rb_Lang%1").arg(language)))
        rb->setChecked(true);

    auto* insertList = qobject_cast<QComboBox*>(control(QStringLiteral("CB_Insert")));
    const int insertIndex = insertList ? insertList->currentIndex() : -1;
    if (QWidget* delayBox = control(QStringLiteral("Gb_Delay")))
        delayBox->hide();

    LanguageIndex = language;
    ApplyLanguageLayout();

    if (insertList)
        insertList->setCurrentIndex(insertIndex);
    QApplication::setApplicationName(Slots.title);
    RefreshAPPage();

    // Scrolling goes on with the new caption, and leaving restores it.
    if (QWidget* first = control(QStringLiteral("Btn_Lang%1_1").arg(language)))
        Scroll.restart(captionOf(first));
}

} // namespace orb
