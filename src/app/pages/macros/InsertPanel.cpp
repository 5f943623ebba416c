#include "app/pages/macros/InsertPanel.h"

#include "app/base/ClickLabel.h"
#include "app/base/Colours.h"
#include "app/base/DialogLook.h"
#include "app/base/DigitsValidator.h"
#include "app/base/Skin.h"
#include "app/pages/macros/MacroPage.h"
#include "macros/MacroScript.h"
#include "skin/LayoutText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>

namespace orb
{

namespace
{

struct InsertDelayOption {
    const char* radio;
    const char* marker;
    const char* label;
};
constexpr InsertDelayOption kInsertDelays[] = {
    {"rb_InsertRecDelay", "LED_InsertRecDelay", "IB_InsertRecDelay"},
    {"rb_InsertDelayTime", "LED_InsertDelayTime", "IB_InsertDelayTime"},
    {"rb_InsertNoDelay", "LED_InsertNoDelay", "IB_InsertNoDelay"},
};

QLabel* label(QWidget* parent, const char* name, QRect at)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(at);
    return l;
}

// A field that takes digits (signed where `sign` allows) and clamps what is typed.
QLineEdit* field(QWidget* parent, const char* name, QRect at, const QString& text, DigitsValidator::Sign sign,
                 std::optional<int> (*clamp)(const QString&))
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(at);
    e->setValidator(new DigitsValidator(sign, e));
    QObject::connect(e, &QLineEdit::textEdited, e, [e, clamp](const QString& typed) {
        const std::optional<int> v = clamp(typed);
        if (v && QString::number(*v) != typed)
            e->setText(QString::number(*v));
    });
    return e;
}

std::optional<int> clampDelay(const QString& text)
{
    // An emptied field stays empty while typing; OK reads it as 0.
    if (text.isEmpty())
        return std::nullopt;
    return ClampDelayText(text);
}

} // namespace

InsertPanel::InsertPanel(MacroPage& page, QWidget* container, QListWidget* lines, Skin& skin)
    : QObject(&page), page_(page), container_(container), lines_(lines), skin_(skin)
{
    const QRect place(616, 292, 230, 190);
    base_ = label(container, "Img_InsertBase", place);
    base_->hide();
    box_ = new QWidget(container);
    box_->setObjectName(QStringLiteral("Gb_Insert"));
    box_->setGeometry(place);
    box_->hide();

    kind_ = new QComboBox(box_);
    kind_->setObjectName(QStringLiteral("CB_Insert"));
    kind_->setGeometry(10, 6, 200, 22);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { CB_InsertChange(); });

    label(box_, "lbl_Delay", {10, 36, 60, 20});
    delay_ = field(box_, "Edt_InsertDelay", {72, 36, 44, 20}, QStringLiteral("50"),
                   DigitsValidator::Sign::None, clampDelay);
    label(box_, "lbl_s_A", {120, 36, 30, 20});
    for (int i = 0; i < 3; ++i) {
        const InsertDelayOption& o = kInsertDelays[i];
        radios_[i] = new QRadioButton(box_);
        radios_[i]->setObjectName(QLatin1String(o.radio));
        radios_[i]->hide();
        label(box_, o.marker, {10, 60 + 22 * i, 16, 16});
        auto* l = new ClickLabel(box_);
        l->setObjectName(QLatin1String(o.label));
        l->setGeometry(30, 58 + 22 * i, 150, 20);
        connect(l, &ClickLabel::clicked, this, [this, i] { chooseInsertDelay(i); });
        DescribeControl(l, {ControlRole::RadioButton, {}, [r = radios_[i]] { return r->isChecked(); }, {}});
    }
    QLabel* startPicture = label(box_, "Img_InsertStart", {150, 126, 70, 26});
    auto* start = new ClickLabel(box_);
    start->setObjectName(QStringLiteral("Btn_InsertStart"));
    start->setGeometry(150, 126, 70, 26);
    start->setAlignment(Qt::AlignCenter);
    connect(start, &ClickLabel::clicked, this, [this] { page_.Btn_InsertStartClick(); });
    // The click that stops an insert recording is not recorded.
    connect(start, &ClickLabel::entered, this, [this] { page_.SetPointerOnRecordButton(true); });
    connect(start, &ClickLabel::left, this, [this] { page_.SetPointerOnRecordButton(false); });
    DialogLook::FollowPointer(start, startPicture, skin_, QStringLiteral("MacroS_"));

    label(box_, "lbl_XAxisValue", {10, 36, 80, 20});
    x_ = field(box_, "edt_XAxisValue", {92, 36, 44, 20}, QStringLiteral("12"),
               DigitsValidator::Sign::MinusAllowed, ClampMoveText);
    label(box_, "lbl_YAxisValue", {10, 36, 80, 20});
    y_ = field(box_, "edt_YAxisValue", {92, 36, 44, 20}, QStringLiteral("12"),
               DigitsValidator::Sign::MinusAllowed, ClampMoveText);
    label(box_, "lbl_Repeat", {10, 36, 80, 20});
    repeat_ = field(box_, "edt_Repeat", {92, 36, 44, 20}, QStringLiteral("10"), DigitsValidator::Sign::None,
                    ClampRepeatText);

    QLabel* okPicture = label(box_, "Img_OK", {10, 160, 90, 24});
    QLabel* cancelPicture = label(box_, "Img_Cancel", {120, 160, 90, 24});
    ok_ = new ClickLabel(box_);
    ok_->setObjectName(QStringLiteral("Btn_OK"));
    ok_->setGeometry(10, 160, 90, 24);
    ok_->setAlignment(Qt::AlignCenter);
    connect(ok_, &ClickLabel::clicked, this, [this] { Btn_OKClick(); });
    auto* cancel = new ClickLabel(box_);
    cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    cancel->setGeometry(120, 160, 90, 24);
    cancel->setAlignment(Qt::AlignCenter);
    connect(cancel, &ClickLabel::clicked, this, [this] { Btn_CancelClick(); });
    DialogLook::FollowPointer(ok_, okPicture, skin_, QStringLiteral("MacroBtnS_"));
    DialogLook::FollowPointer(cancel, cancelPicture, skin_, QStringLiteral("MacroBtnS_"));

    // Covers the panel while an insert recording runs.
    auto* cover = new QWidget(box_);
    cover->setObjectName(QStringLiteral("GB_Dis"));
    cover->setGeometry(0, 0, place.width(), 120);
    cover->hide();
    chooseInsertDelay(0);
}

void InsertPanel::ApplyLayout(const LayoutText& section)
{
    const auto move = [this](const char* name, int x, int y) {
        if (QWidget* w = box_->findChild<QWidget*>(QLatin1String(name)))
            w->move(x, y);
    };
    const LayoutPoint newAt = section.point(QStringLiteral("BtnNew_"));
    for (const char* name : {"Img_New", "Btn_New"})
        if (QWidget* w = container_->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
            w->move(newAt.x, newAt.y);
    const LayoutPoint at = section.point(QStringLiteral("Insert_"));
    box_->move(at.x, at.y);
    base_->move(at.x + 10, at.y + 10);
    const LayoutPoint list = section.point(QStringLiteral("InsertList_"));
    kind_->move(list.x, list.y);
    const LayoutPoint options = section.point(QStringLiteral("InsertRecDelay_"));
    const int h = section.intValue(QStringLiteral("InsertRecDelay_H"));
    for (int i = 0; i < 3; ++i) {
        move(kInsertDelays[i].marker, options.x, options.y + i * h);
        move(kInsertDelays[i].label, options.x - 2, options.y + i * h);
    }
    const LayoutPoint delay = section.point(QStringLiteral("InsertDelayEdit_"));
    delay_->move(delay.x, delay.y);
    move("lbl_Delay", delay.x - 74, delay.y + 2);
    move("lbl_s_A", delay.x + 44, delay.y + 2);
    const LayoutPoint axis = section.point(QStringLiteral("InsertAxisEdit_"));
    for (const auto& [edit, caption] :
         {std::pair{"edt_XAxisValue", "lbl_XAxisValue"}, std::pair{"edt_YAxisValue", "lbl_YAxisValue"},
          std::pair{"edt_Repeat", "lbl_Repeat"}}) {
        move(edit, axis.x, axis.y);
        move(caption, axis.x - 64, axis.y + 2);
    }
    for (const auto& [prefix, image, button] :
         {std::tuple{"InsertBtnStart_", "Img_InsertStart", "Btn_InsertStart"},
          std::tuple{"InsertBtnOK_", "Img_OK", "Btn_OK"},
          std::tuple{"InsertBtnCancel_", "Img_Cancel", "Btn_Cancel"}}) {
        const LayoutPoint p = section.point(QLatin1String(prefix));
        move(image, p.x, p.y);
        // The caption covers its picture exactly, so it is centred on it.
        if (auto* picture = box_->findChild<QLabel*>(QLatin1String(image)))
            if (QWidget* caption = box_->findChild<QWidget*>(QLatin1String(button)))
                caption->setGeometry(
                    QRect(QPoint(p.x, p.y), picture->pixmap().isNull()
                                                ? caption->size()
                                                : picture->pixmap().deviceIndependentSize().toSize()));
    }
    // The cover lies over the delay choice while an insert recording runs,
    // never over the button that stops it.
    if (QWidget* cover = box_->findChild<QWidget*>(QStringLiteral("GB_Dis"))) {
        const int top = options.y - 2;
        const int bottom = section.point(QStringLiteral("InsertBtnStart_")).y - 1;
        cover->setGeometry(0, top, box_->width(), std::max(0, bottom - top));
    }
    applyLook(section);
}

void InsertPanel::Retranslate()
{
    kind_->setAccessibleName(skin_.LookupText(QStringLiteral("Str409")));
    // A caption longer than its place before the field grows to the left,
    // so it is never cut off or covered by the field.
    for (const auto& [caption, edit, before] :
         {std::tuple{"lbl_Delay", "Edt_InsertDelay", 74}, std::tuple{"lbl_XAxisValue", "edt_XAxisValue", 64},
          std::tuple{"lbl_YAxisValue", "edt_YAxisValue", 64}, std::tuple{"lbl_Repeat", "edt_Repeat", 64}}) {
        auto* l = box_->findChild<QLabel*>(QLatin1String(caption));
        QWidget* e = box_->findChild<QWidget*>(QLatin1String(edit));
        if (!l || !e)
            continue;
        l->setBuddy(e); // the caption names the field to a screen reader
        const int right = e->x() - 4;
        const int need = l->fontMetrics().horizontalAdvance(l->text()) + 2;
        const int left = std::max(0, std::min(e->x() - before, right - need));
        l->setGeometry(left, l->y(), right - left, l->height());
    }
}

void InsertPanel::applyLook(const LayoutText& section)
{
    const int size = section.intValue(QStringLiteral("Size_F"));
    caption_ = toColour(section.colour(QStringLiteral("Color_F_")));
    font_ = toColour(section.colour(QStringLiteral("Color_F_Font_")));
    const QColor listBack = toColour(section.colour(QStringLiteral("Color_F_LBack_")));
    const QColor border = toColour(section.colour(QStringLiteral("Color_F_LBorder_")));
    const QColor editBack = toColour(section.colour(QStringLiteral("Color_F_Back_")));
    const auto sized = [size](QWidget* w) {
        QFont f = w->font();
        f.setPointSize(size);
        w->setFont(f);
    };
    for (QLabel* l : box_->findChildren<QLabel*>()) {
        sized(l);
        setTextColour(l, caption_);
    }
    sized(kind_);
    kind_->setStyleSheet(QStringLiteral("QComboBox { color: %1; background-color: %2; border: 1px solid %3; }"
                                        "QComboBox QAbstractItemView { color: %1; background-color: %2;"
                                        " selection-background-color: %3; }")
                             .arg(cssRgb(caption_), cssRgb(listBack), cssRgb(border)));
    for (QLineEdit* e : {delay_, x_, y_, repeat_}) {
        sized(e);
        e->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; }")
                             .arg(cssRgb(editBack), cssRgb(border)));
        setTextColour(e, font_);
    }
    // The delay field and its unit follow the choice shown now.
    paintDelayField();
}

bool InsertPanel::isOpen() const
{
    return page_.state().insertPanelOpen();
}

void InsertPanel::ShowState()
{
    const bool recording = page_.state().insertRecording();
    for (QWidget* w : {static_cast<QWidget*>(kind_), box_->findChild<QWidget*>(QStringLiteral("Btn_OK")),
                       box_->findChild<QWidget*>(QStringLiteral("Btn_Cancel"))})
        if (w)
            w->setEnabled(!recording);
    if (QWidget* cover = box_->findChild<QWidget*>(QStringLiteral("GB_Dis")))
        cover->setVisible(recording);
}

void InsertPanel::chooseInsertDelay(int mode)
{
    radios_[mode]->setChecked(true);
    for (int i = 0; i < 3; ++i)
        if (auto* marker = box_->findChild<QLabel*>(QLatin1String(kInsertDelays[i].marker))) {
            marker->setPixmap(skin_.picture(i == mode ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D")));
            marker->setProperty("picture", i == mode ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
        }
    paintDelayField();
}

void InsertPanel::paintDelayField()
{
    // A pause is typed; recorded keys take the typed delay only with the fixed-delay choice.
    const int item = kind_->currentIndex();
    const bool typed = item == 0 || item == 1 || ((item == 2 || item == 3) && radios_[1]->isChecked());
    delay_->setReadOnly(!typed);
    setTextColour(delay_, typed ? font_ : kGrey);
    if (auto* s = box_->findChild<QLabel*>(QStringLiteral("lbl_s_A")))
        setTextColour(s, typed ? caption_ : kGrey);
}

void InsertPanel::Btn_InsertClick()
{
    // Refused while a recording runs: the panel of an insert recording stays
    // as it is, so its button can stop it.
    if (!page_.ownState().setInsertPanelOpen(true))
        return;
    if (QWidget* delayBox = container_->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        delayBox->hide();
    SavedTopIndex = lines_->verticalScrollBar()->value();
    SavedSelection = page_.CurrentLine();
    base_->show();
    box_->show();
    box_->raise();
    kind_->setCurrentIndex(0);
    CB_InsertChange();
}

void InsertPanel::CB_InsertChange()
{
    const int item = kind_->currentIndex();
    const bool pause = item == 0 || item == 1;
    const bool key = item == 2 || item == 3;
    const bool loop = item == 4 || item == 5;
    const bool x = item == 6 || item == 7;
    const bool y = item == 8 || item == 9;
    const QString picture = key ? QStringLiteral("InsertKeyBase") : QStringLiteral("InsertDelayBase");
    base_->setPixmap(skin_.picture(picture));
    base_->setProperty("picture", picture);
    const auto show = [this](const char* name, bool on) {
        if (QWidget* w = box_->findChild<QWidget*>(QLatin1String(name)))
            w->setVisible(on);
    };
    show("lbl_Delay", pause); // with the key items the delay choice names the field
    show("Edt_InsertDelay", pause || key);
    show("lbl_s_A", pause || key);
    for (const InsertDelayOption& o : kInsertDelays) {
        show(o.marker, key);
        show(o.label, key);
    }
    show("Btn_InsertStart", key);
    show("Img_InsertStart", key);
    show("lbl_Repeat", loop);
    show("edt_Repeat", loop);
    repeat_->setEnabled(item == 4);
    show("lbl_XAxisValue", x);
    show("edt_XAxisValue", x);
    show("lbl_YAxisValue", y);
    show("edt_YAxisValue", y);
    if (key)
        chooseInsertDelay(0);
    else
        paintDelayField();
    ok_->setText(skin_.LookupText(key ? QStringLiteral("Str421") : QStringLiteral("Str420")));
}

void InsertPanel::Btn_OKClick()
{
    if (!page_.state().mayEdit())
        return;
    InsertValues values;
    values.delay = delay_->text();
    values.x = x_->text();
    values.y = y_->text();
    values.repeat = repeat_->text();
    const std::optional<int> selection = InsertFromPanel(
        page_.script(), page_.CurrentLine(), static_cast<InsertKind>(kind_->currentIndex()), values);
    if (!selection)
        return; // no current line, or no number: the panel stays open
    page_.RefreshMacroList(*selection);
    page_.StoreScript();
    CloseInsertPanel();
}

void InsertPanel::Btn_CancelClick()
{
    if (!page_.state().mayEdit())
        return;
    CloseInsertPanel();
    page_.ReloadOpenMacro(); // the macro as last stored
    lines_->verticalScrollBar()->setValue(SavedTopIndex);
    if (SavedSelection >= 0 && SavedSelection < lines_->count())
        lines_->setCurrentRow(SavedSelection);
}

void InsertPanel::CloseInsertPanel()
{
    if (!page_.ownState().setInsertPanelOpen(false))
        return;
    box_->hide();
    base_->hide();
    if (QWidget* delayBox = container_->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        delayBox->show();
}

} // namespace orb
