// The LED colour dialog: seven named colours, a mark under the chosen one,
// confirm, clear and close.
#include "app/pages/advanced/LedColourDialog.h"

#include "app/base/ClickLabel.h"
#include "app/base/Skin.h"
#include "app/base/WindowShape.h"
#include "lighting/CpiLevels.h"
#include "skin/LayoutPlan.h"

#include <QtDebug>

namespace orb
{

namespace
{
constexpr QSize kFrameSize(32, 40);
constexpr QSize kMarkSize(16, 16);

QString cellName(const char* pattern, int k)
{
    return QString::fromLatin1(pattern).arg(k);
}
} // namespace

LedColourDialog::LedColourDialog(Skin& skin, ColourDialogState& state, std::function<void()> confirmed)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), skin_(skin),
      state_(state), confirmed_(std::move(confirmed))
{
    setObjectName(QStringLiteral("TForm4"));
    setAttribute(Qt::WA_DeleteOnClose);
    FormCreate();
}

void LedColourDialog::FormCreate()
{
    // Only the background picture shows; its maroon pixels are see-through.
    WindowShape::MakeTranslucent(this);

    auto* base = new QLabel(this);
    base->setObjectName(QStringLiteral("Img_EditKey"));
    const QPixmap& msg = skin_.picture(QStringLiteral("Msg"));
    base->setPixmap(WindowShape::Keyed(msg));
    if (const QBitmap mask = WindowShape::Mask(msg); !mask.isNull())
        setMask(mask);
    base->resize(msg.isNull() ? QSize(530, 200) : msg.deviceIndependentSize().toSize());
    resize(base->size());

    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("lbl_NorLEDTitle"));
    title->setProperty("layoutRole", QStringLiteral("title"));

    for (int k = 1; k <= NamedColourCount; ++k) {
        auto* swatch = new QLabel(this);
        swatch->setObjectName(cellName("cs_DPI%1Col", k));
        swatch->resize(kFrameSize);
        const QColor c = NamedColourTable[std::size_t(k - 1)];
        swatch->setStyleSheet(QStringLiteral("background-color: %1;").arg(c.name()));
        auto* frame = new QLabel(this);
        frame->setObjectName(cellName("Img_DPI%1Col", k));
        frame->setPixmap(skin_.picture(QStringLiteral("Col_F")));
        frame->resize(kFrameSize);
        auto* click = new ClickLabel(this);
        click->setObjectName(cellName("lbl_DPI%1Col", k));
        click->resize(kFrameSize);
        connect(click, &ClickLabel::clicked, this, [this, k] { lbl_DPIColClick(k); });
        auto* mark = new QLabel(this);
        mark->setObjectName(cellName("Img_DPI%1ColSel", k));
        mark->resize(kMarkSize);
    }

    auto* confirm =
        button(QStringLiteral("IB_Confirm"), QStringLiteral("Img_Confirm"), QStringLiteral("BtnS"));
    auto* cancel = button(QStringLiteral("IB_Cancel"), QStringLiteral("Img_Cancel"), QStringLiteral("BtnS"));
    auto* close = button(QStringLiteral("IB_Close"), QStringLiteral("Img_Close"), QStringLiteral("ExitS"));
    connect(confirm, &ClickLabel::clicked, this, [this] { IB_ConfirmClick(); });
    connect(cancel, &ClickLabel::clicked, this, [this] { IB_CancelClick(); });
    connect(close, &ClickLabel::clicked, this, [this] { IB_CloseClick(); });
    close->setProperty("layoutRole", QString());
    RefreshMarks();
}

// A caption label over its picture; the picture follows the pointer.
ClickLabel* LedColourDialog::button(const QString& label, const QString& image, const QString& family)
{
    auto* picture = new QLabel(this);
    picture->setObjectName(image);
    const QPixmap& normal = skin_.picture(family + QStringLiteral("_01"));
    picture->setPixmap(normal);
    picture->resize(normal.deviceIndependentSize().toSize());
    auto* caption = new ClickLabel(this);
    caption->setObjectName(label);
    caption->setProperty("layoutRole", QStringLiteral("button"));
    caption->setAlignment(Qt::AlignCenter);
    caption->resize(picture->size());
    const auto show = [this, picture, family](const char* state) {
        picture->setPixmap(skin_.picture(family + QLatin1String(state)));
        picture->setProperty("picture", family + QLatin1String(state));
    };
    connect(caption, &ClickLabel::entered, this, [show] { show("_02"); });
    connect(caption, &ClickLabel::left, this, [show] { show("_01"); });
    connect(caption, &ClickLabel::pressed, this, [show] { show("_03"); });
    return caption;
}

void LedColourDialog::ApplyLayout()
{
    QList<LayoutRow> rows;
    const auto row = [&rows](const char* prefix, const char* control, const char* companion) {
        LayoutRow r;
        r.group = QStringLiteral("NorLED");
        r.keyPrefix = QLatin1String(prefix);
        r.control = QLatin1String(control);
        if (companion)
            r.companions = {{QLatin1String(companion), {}, SizeFrom::Picture}};
        rows << r;
    };
    row("NorLED_Tte_", "lbl_NorLEDTitle", nullptr);
    row("NorLED_Cfm_", "Img_Confirm", "IB_Confirm");
    row("NorLED_Clear_", "Img_Cancel", "IB_Cancel");
    row("NorLED_Close_", "Img_Close", "IB_Close");
    skin_.ApplyDialogLayout(this, QStringLiteral("L"), rows);

    try {
        const LayoutPoint first = skin_.layoutSection().point(QStringLiteral("NorLED_Col_"));
        for (int k = 1; k <= NamedColourCount; ++k) {
            const QRect cell = ColourCellRect(k, QPoint(first.x, first.y), kFrameSize);
            for (const char* name : {"cs_DPI%1Col", "Img_DPI%1Col", "lbl_DPI%1Col"})
                if (QWidget* w = findChild<QWidget*>(cellName(name, k)))
                    w->setGeometry(cell);
            if (QWidget* mark = findChild<QWidget*>(cellName("Img_DPI%1ColSel", k)))
                mark->move(ColourMarkPos(cell, kMarkSize));
        }
    } catch (const LayoutError& e) {
        qWarning("%s", e.what()); // a fault of the embedded texts
    }

    // Stacking: background, swatches, frames, marks, then the click targets.
    findChild<QWidget*>(QStringLiteral("Img_EditKey"))->lower();
    for (int k = 1; k <= NamedColourCount; ++k)
        findChild<QWidget*>(cellName("lbl_DPI%1Col", k))->raise();
    for (const char* name : {"IB_Confirm", "IB_Cancel", "IB_Close"})
        findChild<QWidget*>(QLatin1String(name))->raise();
}

void LedColourDialog::ShowOver(const QRect& over)
{
    ApplyLayout();
    findChild<QLabel*>(QStringLiteral("lbl_NorLEDTitle"))
        ->setText(skin_.LookupText(QStringLiteral("Str522")));
    findChild<QLabel*>(QStringLiteral("lbl_NorLEDTitle"))->adjustSize();
    findChild<QLabel*>(QStringLiteral("IB_Confirm"))->setText(skin_.LookupText(QStringLiteral("Str511")));
    findChild<QLabel*>(QStringLiteral("IB_Cancel"))->setText(skin_.LookupText(QStringLiteral("Str512")));
    RefreshMarks();
    move(over.center() - rect().center());
    show();
    raise();
}

void LedColourDialog::RefreshMarks()
{
    for (int k = 1; k <= NamedColourCount; ++k)
        if (auto* mark = findChild<QLabel*>(cellName("Img_DPI%1ColSel", k))) {
            const QString picture = state_.MarkPicture(k);
            mark->setPixmap(skin_.picture(picture));
            mark->setProperty("picture", picture);
        }
}

void LedColourDialog::lbl_DPIColClick(int cell)
{
    state_.ClickCell(cell);
    RefreshMarks();
}

void LedColourDialog::IB_ConfirmClick()
{
    findChild<QLabel*>(QStringLiteral("Img_Confirm"))->setPixmap(skin_.picture(QStringLiteral("BtnS_03")));
    if (confirmed_)
        confirmed_();
    close();
}

void LedColourDialog::IB_CancelClick()
{
    findChild<QLabel*>(QStringLiteral("Img_Cancel"))->setPixmap(skin_.picture(QStringLiteral("BtnS_03")));
    state_.Cancel();
    RefreshMarks();
}

void LedColourDialog::IB_CloseClick()
{
    findChild<QLabel*>(QStringLiteral("Img_Close"))->setPixmap(skin_.picture(QStringLiteral("ExitS_03")));
    close();
}

} // namespace orb
