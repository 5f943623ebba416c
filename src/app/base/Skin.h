#pragma once
#include "core/Services.h"
#include "core/Text.h"
#include "skin/LanguagePack.h"
#include "skin/LayoutKeep.h"
#include "skin/LayoutPlan.h"
#include "skin/OrgOptions.h"
#include "skin/TextSlots.h"

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QString>
#include <future>
#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace orb
{

// A PNG picture from its bytes; a null image for anything else.
QImage DecodePng(const QByteArray& bytes);

class Page;
class PageStack;

// The window's look: pictures by name, the window's shape, the "[org]"
// options, the language pack with its text slots, and the layout and text
// steps of a language application. Pages ask it for pictures, texts and
// their layout section; it asks every page to lay itself out and re-text
// itself when the language changes.
class Skin
{
  public:
    Skin(QWidget* window, PageStack& stack, Services& services);

    // Pages laid out and re-texted at every language application, in order.
    void addPage(Page* page) { pages_.push_back(page); }

    // --- Pictures and the window's shape ---
    // Pictures by resource name; the name is kept in the "picture" property.
    void SetPicture(const QString& control, const QString& picture);
    void SetGroupPicture(const QString& group, const QString& picture); // Img_<group>_1..4
    // On a scaled screen (device pixel ratio above 1) the pictures painted at
    // twice the pixels, where the skin has them; sizes stay in points.
    const QPixmap& picture(const QString& name);
    qreal pictureRatio() const { return pictureRatio_; }
    void setPictureRatio(qreal ratio);          // forgets the pictures loaded so far
    QSize skinSize() const { return SkinSize; } // the background's: the window and the user pages
    void LoadBaseImage();
    void LoadSkinImages();
    void FitWindowToSkin();
    void FitWindowToEngineerPage();
    // The window's size and mask for page n (1..4: the skin's, 6: the
    // engineering page's), changed only when they are not already those.
    void FitWindowToPage(int n);

    // --- "[org]" options, read once at start ---
    void LoadOrgOptions();
    const OrgOptions& org() const { return Org; }
    OrgOptions& org() { return Org; }

    // --- Language ---
    // The language (1..3) selects the pack, the layout section and the picture set.
    int languageIndex() const { return LanguageIndex; }
    void setLanguageIndex(int index) { LanguageIndex = index; }
    const LanguagePack& pack() const { return Pack; }
    const TextSlots& textSlots() const { return Slots; }
    const LayoutKeep& keep() const { return Keep; } // values the last layout step kept for the pages
    void LoadLanguage(int index);
    QString LookupText(const QString& key) const;
    TextLookup lookup() const;
    // The layout section of the current language; LayoutError when the
    // embedded texts are faulty.
    LayoutText layoutSection() const;
    // Image, layout and text steps for the current language; each page's
    // ApplyLayout and Retranslate run inside them.
    void ApplyLanguageLayout();
    // Layout of a small dialog when it opens, from the current section: the
    // fonts of `fontGroup` ("K", "L") by each child's "layoutRole" property
    // ("title", "input", "button"; anything else the group size) and the
    // positions of `rows`.
    void ApplyDialogLayout(QWidget* dialog, const QString& fontGroup, const QList<LayoutRow>& rows = {});

    // A control of the window by objectName; null for none or an empty name.
    QWidget* control(const QString& name) const;

  private:
    void applyLayoutRows(const LayoutText& section, const QList<LayoutRow>& rows);
    void applyTexts();
    void updateWindowShape();

    QWidget* window_;
    PageStack& stack_;
    Services& services_;
    std::vector<Page*> pages_;
    QHash<QString, QPixmap> pictures_;
    // The window-sized pictures of the start, decoded on other threads while
    // the pages are built; taken into pictures_ at their first use.
    std::map<QString, std::future<QImage>> decoding_;
    std::vector<std::future<void>> decoders_; // their threads; waited for when dropped
    // The parsed layout text of a language: every page's layout asks for it.
    mutable std::optional<std::pair<int, LayoutText>> layout_;
    // Controls found by name: the layout and the texts name them hundreds of
    // times, and each search walks the whole window.
    mutable QHash<QString, QPointer<QWidget>> controls_;
    // While a language is laid out no control is made, so a name that finds
    // nothing finds nothing until the layout ends (the texts name every
    // numbered copy, most of which do not exist).
    mutable std::optional<QSet<QString>> missing_;
    qreal pictureRatio_ = 1;
    QSize SkinSize{1030, 662};
    bool engineerFit_ = false; // the window has the engineering page's size and no mask
    OrgOptions Org;
    int LanguageIndex = 1;
    LanguagePack Pack;
    TextSlots Slots;
    LayoutKeep Keep;
};

} // namespace orb
