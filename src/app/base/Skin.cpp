// Skin pictures, the window's shape, the layout step and the text step of a
// language application, and the language buttons.
#include "app/base/Skin.h"
#include "app/base/Colours.h"

#include "app/base/Captions.h"
#include "app/base/Page.h"
#include "app/base/PageStack.h"
#include "app/base/WindowShape.h"

#include "rcdata.h"
#include "skin/ButtonVisuals.h"
#include "skin/CaptionTexts.h"
#include "skin/LayoutKeys.h"
#include "skin/OrgOptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QBuffer>
#include <QComboBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QtDebug>
#include <algorithm>
#include <functional>

namespace orb
{

namespace
{

constexpr QSize kEngineerPageSize(1076, 640);

void setFontFamily(QWidget* w, const QString& family)
{
    QFont f = w->font();
    f.setFamily(family);
    w->setFont(f);
}

void setPointSize(QWidget* w, int size)
{
    if (size <= 0)
        return;
    QFont f = w->font();
    f.setPointSize(size);
    w->setFont(f);
}

// Every picture is an embedded PNG named without ".png", its twice-sized twin
// "<name>@2x". Only a scaled screen loads the twin. Safe on any thread; the
// picture comes premultiplied, as the window's pixmaps keep it.
QImage decodePicture(const QString& name, qreal ratio)
{
    QImage image;
    if (const auto bytes = ratio > 1 ? rcData(name + QStringLiteral("@2x")) : std::nullopt; bytes) {
        image = DecodePng(*bytes);
        if (!image.isNull())
            image.setDevicePixelRatio(2);
    }
    if (image.isNull())
        if (const auto plain = rcData(name))
            image = DecodePng(*plain);
    if (image.hasAlphaChannel())
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

// Every picture decoded so far, for the program's life (the window's thread
// only). A window built again shares them (the pixmaps' data is shared, so
// this costs no memory) and decodes nothing; tests build thousands.
QHash<QString, QPixmap>& decodedPictures()
{
    static QHash<QString, QPixmap> pictures;
    return pictures;
}

QString decodedKey(const QString& name, qreal ratio)
{
    return ratio > 1 ? name + QStringLiteral("@2x") : name;
}

// Pictures loaded once, from a decoding already under way where there is one.
const QPixmap& skinPicture(QHash<QString, QPixmap>& cache, std::map<QString, std::future<QImage>>& decoding,
                           const QString& name, qreal ratio)
{
    auto it = cache.find(name);
    if (it == cache.end()) {
        const QString key = decodedKey(name, ratio);
        if (const auto known = decodedPictures().constFind(key); known != decodedPictures().constEnd())
            return *cache.insert(name, *known);
        QImage image;
        if (const auto pending = decoding.find(name); pending != decoding.end()) {
            image = pending->second.get();
            decoding.erase(pending);
        } else {
            image = decodePicture(name, ratio);
        }
        if (image.isNull())
            qWarning("skin picture %s is missing", qPrintable(name));
        it = cache.insert(name, QPixmap::fromImage(std::move(image)));
        decodedPictures().insert(key, *it);
    }
    return *it;
}

// The pictures the start shows are decoded on two threads while the pages
// are built: the background (megabytes decoded) on one; on the other the
// buttons' first pictures, in the order the start asks for them, and last the
// first page's picture, which only the layout at the end of the start needs
// (decoded first, it kept the pages waiting for their buttons).
void startDecoding(std::map<QString, std::future<QImage>>& decoding, std::vector<std::future<void>>& batches,
                   qreal ratio)
{
    const QStringList batchesOfNames[] = {
        {QStringLiteral("L1_BackGround")},
        {QStringLiteral("Bar1_E"), QStringLiteral("Col_F"), QStringLiteral("CbS_D"), QStringLiteral("Bar2_E"),
         QStringLiteral("Bar2_D"), QStringLiteral("BtnS_01"), QStringLiteral("ExitS_01"),
         QStringLiteral("MiniS_01"), QStringLiteral("SetS_01"), QStringLiteral("SetS_03"),
         QStringLiteral("WebS_01"), QStringLiteral("KeyS_01"), QStringLiteral("MacroS_01"),
         QStringLiteral("MacroBtnS_01"), QStringLiteral("InsertDelayBase"), QStringLiteral("L1_Back1")}};
    for (const QStringList& all : batchesOfNames) {
        QStringList names;
        for (const QString& name : all)
            if (!decodedPictures().contains(decodedKey(name, ratio)))
                names << name;
        if (names.isEmpty())
            continue;
        std::vector<std::promise<QImage>> promises(std::size_t(names.size()));
        for (qsizetype i = 0; i < names.size(); ++i)
            decoding.emplace(names[i], promises[std::size_t(i)].get_future());
        batches.push_back(
            std::async(std::launch::async, [names, ratio, promises = std::move(promises)]() mutable {
                for (qsizetype i = 0; i < names.size(); ++i)
                    promises[std::size_t(i)].set_value(decodePicture(names[i], ratio));
            }));
    }
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

QImage DecodePng(const QByteArray& bytes)
{
    // Told the format and not to guess: guessing asks every image plug-in,
    // which loads them all (and libjpeg) into the program.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

Skin::Skin(QWidget* window, PageStack& stack, Services& services)
    : window_(window), stack_(stack), services_(services), pictureRatio_(qApp->devicePixelRatio())
{
    startDecoding(decoding_, decoders_, pictureRatio_);
}

void Skin::setPictureRatio(qreal ratio)
{
    pictureRatio_ = ratio;
    pictures_.clear();
    decoders_.clear(); // waits for the decodings of the old ratio
    decoding_.clear();
    startDecoding(decoding_, decoders_, pictureRatio_);
}

QWidget* Skin::control(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    // A control found before stays the answer while it lives under the window
    // with its name; names that find nothing are searched for again.
    if (const auto known = controls_.constFind(name); known != controls_.constEnd()) {
        QWidget* w = known->data();
        if (w && w->objectName() == name && w->window() == window_)
            return w;
    }
    if (missing_ && missing_->contains(name))
        return nullptr;
    // The small dialogs are windows of their own with names of the window's
    // controls (Img_Cancel, Img_Confirm): only controls of the window count.
    QWidget* w = window_->findChild<QWidget*>(name);
    if (w && w->window() != window_) {
        const QList<QWidget*> all = window_->findChildren<QWidget*>(name);
        const auto own =
            std::find_if(all.begin(), all.end(), [this](QWidget* c) { return c->window() == window_; });
        w = own == all.end() ? nullptr : *own;
    }
    if (w)
        controls_.insert(name, w);
    else if (missing_)
        missing_->insert(name);
    return w;
}

// --- Pictures and the window's shape ---

void Skin::SetPicture(const QString& name, const QString& picture)
{
    auto* label = qobject_cast<QLabel*>(control(name));
    if (!label)
        return;
    const QPixmap& pm = this->picture(picture);
    label->setPixmap(pm);
    // The backgrounds keep the window's size; everything else takes its picture's.
    if (!name.startsWith(QLatin1String("Img_Base_")) && !pm.isNull())
        label->resize(pm.deviceIndependentSize().toSize());
    label->setProperty("picture", picture);
}

void Skin::SetGroupPicture(const QString& group, const QString& picture)
{
    for (int copy = 1; copy <= 4; ++copy)
        SetPicture(QStringLiteral("Img_%1_%2").arg(group).arg(copy), picture);
}

void Skin::LoadBaseImage()
{
    SetPicture(QStringLiteral("Img_Base_1"), QStringLiteral("L1_BackGround"));
    const QPixmap& pm = picture(QStringLiteral("L1_BackGround"));
    SkinSize = pm.isNull() ? QSize(1030, 662) : pm.deviceIndependentSize().toSize();
    for (int copy = 1; copy <= 4; ++copy)
        if (QWidget* base = control(QStringLiteral("Img_Base_%1").arg(copy)))
            base->setGeometry(QRect(QPoint(0, 0), SkinSize));
    for (QWidget* o : stack_.overlays())
        o->setGeometry(QRect(QPoint(0, 0), SkinSize));
}

void Skin::updateWindowShape()
{
    // The window shows only the background's opaque pixels. A background that
    // does not cover the window (the placeholder picture set) would cut away
    // the frame buttons, so the window then keeps its whole rectangle.
    auto* base = qobject_cast<QLabel*>(control(QStringLiteral("Img_Base_1")));
    const QPixmap pm = base ? base->pixmap() : QPixmap();
    if (pm.isNull() || pm.deviceIndependentSize().toSize() != SkinSize || !pm.hasAlphaChannel()) {
        window_->clearMask();
        return;
    }
    window_->setMask(WindowShape::Mask(pm));
}

void Skin::FitWindowToSkin()
{
    window_->resize(SkinSize);
    for (int n = 1; n <= 4; ++n)
        stack_.page(n)->resize(SkinSize);
    stack_.page(6)->resize(kEngineerPageSize);
    updateWindowShape();
    engineerFit_ = false;
}

void Skin::FitWindowToEngineerPage()
{
    window_->resize(kEngineerPageSize);
    for (int n = 1; n <= 4; ++n)
        stack_.page(n)->resize(SkinSize);
    stack_.page(6)->resize(kEngineerPageSize);
    window_->clearMask(); // the engineering page is a plain rectangle
    engineerFit_ = true;
}

void Skin::FitWindowToPage(int n)
{
    if (n == 6) {
        if (!engineerFit_)
            FitWindowToEngineerPage();
    } else if (engineerFit_ || window_->size() != SkinSize) {
        FitWindowToSkin();
    }
}

void Skin::LoadSkinImages()
{
    for (int copy = 1; copy <= 4; ++copy)
        SetPicture(QStringLiteral("Img_Base_%1").arg(copy), QStringLiteral("L1_BackGround"));
    // A page's own picture (a window-sized PNG, megabytes decoded) is decoded
    // when the page is first shown: the page buttons and the language layout
    // set the current page's. Only the start page's is needed now.
    SetPicture(QStringLiteral("Img_P1"), QStringLiteral("L1_Back1"));
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

void Skin::LoadOrgOptions()
{
    try {
        const LayoutText org = LayoutText::load(QStringLiteral("org"));
        Org = orb::LoadOrgOptions(org);
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
                return l->pixmap().deviceIndependentSize().toSize();
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

void Skin::applyLayoutRows(const LayoutText& section, const QList<LayoutRow>& rows)
{
    placeControls(section, rows, [this](const QString& name) { return control(name); });
}

void Skin::ApplyLanguageLayout()
{
    missing_.emplace();
    const auto layoutDone = qScopeGuard([this] { missing_.reset(); });
    // Image step: the background and the current page's overlay of the set.
    const QString set = QStringLiteral("L%1").arg(LanguageIndex);
    for (int copy = 1; copy <= 4; ++copy)
        SetPicture(QStringLiteral("Img_Base_%1").arg(copy), set + QStringLiteral("_BackGround"));
    const QString state = stack_.PageState();
    if (const PageOption* o = FindPageOption(state); o && !o->overlay.isEmpty())
        SetPicture(o->overlay, set + o->backPicture);
    // The shape follows the page shown (the engineering page may be
    // selected while a user page shows, after a loss or a read).
    if (!engineerFit_)
        updateWindowShape();

    // Layout step.
    try {
        const LayoutText section = layoutSection();
        applyLayoutRows(section, LanguageLayoutRows());
        for (Page* page : pages_)
            page->ApplyLayout(section);
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
    // The pages raise captions over their pictures; the no-device overlays
    // must stay over all of them, exit and minimise above the overlays.
    stack_.restackOverlays();
}

void Skin::applyTexts()
{
    LoadLanguage(LanguageIndex); // pack, text slots and application title

    // Fonts: the name only; sizes and colours are the layout step's.
    const QString font = Slots.fontName;
    QList<QWidget*> texted;
    for (const CaptionText& c : LanguageCaptionTexts())
        for (int copy = c.copies ? 1 : 0; copy <= (c.copies ? 4 : 0); ++copy)
            if (QWidget* w = control(copy ? c.control + QString::number(copy) : c.control))
                texted << w;
    for (QLabel* l : window_->findChildren<QLabel*>()) {
        if (TakesLanguageFont(l->objectName()))
            texted << l;
    }
    for (QWidget* w : stack_.page(4)->findChildren<QWidget*>())
        if (!w->objectName().startsWith(QLatin1String("Img_")) && !stack_.isOverlay(w))
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

    // What the pages show beyond the common captions (the key captions name
    // their assignments afresh, the macro page's lists).
    for (Page* page : pages_)
        page->Retranslate();
}

// --- Language ---

void Skin::LoadLanguage(int index)
{
    LanguageIndex = index;
    Pack = LoadLanguagePack(index);
    Slots = ReadTextSlots(Pack);
    services_.setMessageFont(Slots.fontName);
    // The application title; Qt would append a display name to every window
    // caption, and the main window's caption must stay exact, so it is kept
    // as the application's name only.
    QApplication::setApplicationName(Slots.title);
}

QString Skin::LookupText(const QString& key) const
{
    return orb::LookupText(Pack, key);
}

TextLookup Skin::lookup() const
{
    return [this](const QString& key) { return LookupText(key); };
}

LayoutText Skin::layoutSection() const
{
    // The texts are built in and never change while the program runs.
    if (!layout_ || layout_->first != LanguageIndex)
        layout_.emplace(LanguageIndex, LoadLayoutSection(LanguageIndex));
    return layout_->second;
}

const QPixmap& Skin::picture(const QString& name)
{
    return skinPicture(pictures_, decoding_, name, pictureRatio_);
}

void Skin::ApplyDialogLayout(QWidget* dialog, const QString& fontGroup, const QList<LayoutRow>& rows)
{
    if (!dialog)
        return;
    try {
        const LayoutText section = layoutSection();
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
        placeControls(section, rows,
                      [dialog](const QString& name) { return dialog->findChild<QWidget*>(name); });
    } catch (const LayoutError& e) {
        qWarning("%s", e.what());
    }
}

} // namespace orb
