#include "app/MacroPage.h"

#include "app/Skin.h"
#include "skin/CaptionTexts.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>

namespace orb
{

namespace
{
// Context menus of the macro page; they close with the key menu.
constexpr const char* kMacroPagePopups[] = {"Pnl_PCMacro", "Pnl_DevContent"};
} // namespace

MacroPage::MacroPage(const PageContext& context) : Page(context, 4) {}

QStringList MacroPage::BaseMacroNames() const
{
    return {};
}

bool MacroPage::MacroInsertMode() const
{
    return false;
}

void MacroPage::ShowMacroBoxes()
{
    // The delay box and the insert box share their place on the macro page.
    const bool inserting = MacroInsertMode();
    if (auto* box = window()->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        box->setVisible(!inserting);
    for (const char* name : {"Gb_Insert", "Img_InsertBase"})
        if (auto* box = window()->findChild<QWidget*>(QLatin1String(name)))
            box->setVisible(inserting);
}

void MacroPage::RefreshMacrosFromArea() {}
void MacroPage::RefreshPCMacroNames() {}
void MacroPage::ClearMacroTexts() {}
void MacroPage::UIToDataBuf() {}

void MacroPage::HideAllMenu()
{
    for (const char* name : kMacroPagePopups)
        if (auto* popup = window()->findChild<QWidget*>(QLatin1String(name)))
            popup->hide();
}

void MacroPage::BeforeLanguageChange()
{
    auto* insertList = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert"));
    insertIndex_ = insertList ? insertList->currentIndex() : -1;
    if (auto* delayBox = window()->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        delayBox->hide();
}

void MacroPage::AfterLanguageChange()
{
    if (auto* insertList = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert")))
        insertList->setCurrentIndex(insertIndex_);
}

void MacroPage::Retranslate()
{
    if (auto* list = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert"))) {
        const QStringList& keys = InsertListKeys();
        for (int i = 0; i < keys.size(); ++i) {
            if (i < list->count())
                list->setItemText(i, skin().LookupText(keys[i]));
            else
                list->addItem(skin().LookupText(keys[i]));
        }
    }
}

void MacroPage::ResetNoDevice()
{
    // The macro texts and lists of the last mouse go.
    for (const char* name : {"LB_MacroName", "LB_macro"})
        if (auto* list = window()->findChild<QListWidget*>(QString::fromLatin1(name)))
            list->clear();
    for (const char* name : {"mmo_macro", "mmo_wrscript"})
        if (auto* text = window()->findChild<QPlainTextEdit*>(QString::fromLatin1(name)))
            text->clear();
}

void MacroPage::DeviceLost()
{
    if (auto* macros = window()->findChild<QListWidget*>(QStringLiteral("LB_macro")))
        macros->clear();
}

} // namespace orb
