#include "app/base/DialogLook.h"

#include "app/base/ClickLabel.h"
#include "app/base/Skin.h"
#include "app/base/WindowShape.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QLabel>

namespace orb::DialogLook
{

LayoutRow At(const QString& group, const QString& prefix, const QString& control, const QString& companion)
{
    LayoutRow r;
    r.group = group;
    r.keyPrefix = prefix;
    r.kind = RowKind::At;
    r.control = control;
    if (!companion.isEmpty())
        r.companions.append(Companion{companion, QPoint(0, 0), SizeFrom::Picture});
    return r;
}

QList<LayoutRow> FieldDialogRows(const QString& title, const QString& field)
{
    const QString g = QStringLiteral("L");
    QList<LayoutRow> rows{
        At(g, QStringLiteral("MNT_"), title), At(g, QStringLiteral("MNC_"), field),
        At(g, QStringLiteral("MN_Cfm_"), QStringLiteral("Img_Confirm"), QStringLiteral("IB_Confirm")),
        At(g, QStringLiteral("MN_Clear_"), QStringLiteral("Img_Cancel"), QStringLiteral("IB_Cancel")),
        At(g, QStringLiteral("MN_Close_"), QStringLiteral("Img_Close"), QStringLiteral("IB_Close"))};
    LayoutRow width;
    width.group = g;
    width.keyPrefix = QStringLiteral("MNC_W");
    width.kind = RowKind::Width;
    width.control = field;
    rows.append(width);
    return rows;
}

void SetPicture(QLabel* image, Skin& skin, const QString& picture)
{
    image->setPixmap(skin.picture(picture));
    image->setProperty("picture", picture);
    if (!image->pixmap().isNull())
        image->resize(image->pixmap().deviceIndependentSize().toSize());
}

void Setup(QWidget* dialog, QWidget* mainWindow, Skin& skin, QLabel* background)
{
    dialog->setParent(mainWindow, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    background->move(0, 0);
    SetPicture(background, skin, QStringLiteral("Msg"));
    const QPixmap& msg = background->pixmap();
    if (msg.isNull())
        return;
    dialog->setFixedSize(msg.deviceIndependentSize().toSize());
    // Only the picture shows: its maroon pixels (the skin's see-through
    // colour) are transparent, and cut away where nothing composites.
    WindowShape::MakeTranslucent(dialog);
    background->setPixmap(WindowShape::Keyed(msg));
    const QBitmap mask = WindowShape::Mask(msg);
    if (!mask.isNull())
        dialog->setMask(mask);
}

bool IsCapturedKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key != Qt::Key_Tab && key != Qt::Key_Backtab;
}

void Centre(QWidget* dialog, QWidget* mainWindow, int dy)
{
    const QRect main = mainWindow->geometry();
    dialog->move(main.left() + (main.width() - dialog->width()) / 2,
                 main.top() + (main.height() - dialog->height()) / 2 + dy);
}

ClickLabel* PictureButton(QWidget* dialog, Skin& skin, const QString& image, const QString& label,
                          const QString& normal)
{
    auto* img = new QLabel(dialog);
    img->setObjectName(image);
    SetPicture(img, skin, normal);
    auto* button = new ClickLabel(dialog);
    button->setObjectName(label);
    button->setProperty("layoutRole", QStringLiteral("button"));
    button->setAlignment(Qt::AlignCenter);
    button->setAttribute(Qt::WA_TranslucentBackground);
    button->resize(img->size());
    FollowPointer(button, img, skin, normal.left(normal.size() - 2));
    if (normal.startsWith(QLatin1String("ExitS_"))) // the "x" shows no caption
        DescribeControl(
            button,
            {ControlRole::PushButton, [&skin] { return skin.LookupText(QStringLiteral("Str003")); }, {}, {}});
    return button;
}

void FollowPointer(ClickLabel* button, QLabel* image, Skin& skin, const QString& stem)
{
    const auto show = [image, &skin, stem](const char* state) {
        SetPicture(image, skin, stem + QLatin1String(state));
    };
    // A disabled button does not light up.
    QObject::connect(button, &ClickLabel::entered, image, [show, button] {
        if (button->isEnabled())
            show("02");
    });
    QObject::connect(button, &ClickLabel::left, image, [show] { show("01"); });
    QObject::connect(button, &ClickLabel::pressed, image, [show] { show("03"); });
    // Released over the button (it stays open): the pointer is still there;
    // away from it (or pressed from the keyboard): the normal look.
    QObject::connect(button, &ClickLabel::released, image,
                     [show, button] { show(button->underMouse() ? "02" : "01"); });
}

} // namespace orb::DialogLook
