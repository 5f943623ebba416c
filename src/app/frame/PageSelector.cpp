#include "app/frame/PageSelector.h"

#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/pages/engineer/EngineerPage.h"
#include "app/pages/keys/KeyMenu.h"
#include "app/pages/keys/KeyPage.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "skin/ButtonVisuals.h"

#include <QComboBox>

namespace orb
{

namespace
{
constexpr int kMenuPanelHeight = 170;
} // namespace

PageSelector::PageSelector(PageStack& stack, Skin& skin, DeviceSession& session, KeyPage& key,
                           EngineerPage& engineer, MacroPage& macro, std::function<void()> hideAllMenu)
    : stack_(stack), skin_(skin), session_(session), key_(key), engineer_(engineer), macro_(macro),
      hideAllMenu_(std::move(hideAllMenu))
{
}

void PageSelector::Btn_Main_0Click()
{
    selectPage(QStringLiteral("rb_1"));
}

void PageSelector::Btn_Second_0Click()
{
    selectPage(QStringLiteral("rb_2"));
}

void PageSelector::Btn_Adv_0Click()
{
    selectPage(QStringLiteral("rb_4"));
}

void PageSelector::Btn_Breath_0Click()
{
    selectPage(QStringLiteral("rb_5"));
}

void PageSelector::Btn_Macro_0Click()
{
    selectPage(QStringLiteral("rb_6"));
}

void PageSelector::Btn_Engineer_0Click()
{
    selectPage(QStringLiteral("rb_7"));
}

void PageSelector::SelectNeighbourPage(int step)
{
    // The user pages in the order of their selectors.
    static const QStringList order{QStringLiteral("rb_1"), QStringLiteral("rb_2"), QStringLiteral("rb_4"),
                                   QStringLiteral("rb_5"), QStringLiteral("rb_6")};
    const qsizetype at = order.indexOf(stack_.PageState());
    const qsizetype n = order.size();
    const qsizetype next = at < 0 ? 0 : ((at + step) % n + n) % n;
    selectPage(order[next]);
}

void PageSelector::selectPage(const QString& option)
{
    const PageOption* o = FindPageOption(option);
    if (!o)
        return;
    if (!session_.link().hasDevice()) {
        session_.services().showMessage(skin_.textSlots().noDevice, MessageStyle::Dialog);
        return;
    }
    if (stack_.noDeviceUI())
        return;
    hideAllMenu_();
    ButtonTypeB_1IconInit();
    stack_.SelectPageOption(option);

    QWidget* engineer = stack_.page(6);
    const bool keyPage = option == QLatin1String("rb_1") || option == QLatin1String("rb_2");
    if (keyPage)
        if (auto* mode = engineer->findChild<QComboBox*>(QStringLiteral("cb_KeyMode")))
            mode->setCurrentIndex(option == QLatin1String("rb_1") ? 0 : 1);
    if (keyPage || o->page == 6)
        for (const char* name : {"Pnl_Main", "Pnl_Special"})
            if (QWidget* p = key_.menu().panel(name))
                p->resize(p->width(), kMenuPanelHeight);

    stack_.showOnlyPage(o->page); // the window takes the page's size and shape

    if (option == QLatin1String("rb_6")) {
        macro_.ShowMacroBoxes();
    } else if (option == QLatin1String("rb_1")) {
        key_.RefreshProfile1Keys();
    } else if (option == QLatin1String("rb_2")) {
        key_.RefreshProfile2Keys();
    } else if (o->page == 6) {
        engineer_.TLRefreshProfile1Keys();
        engineer_.TLRefreshProfile2Keys();
    }

    skin_.SetGroupPicture(o->group, QStringLiteral("SetS_03"));
    if (!o->overlay.isEmpty())
        skin_.SetPicture(o->overlay, QStringLiteral("L%1").arg(skin_.languageIndex()) + o->backPicture);
}

void PageSelector::ButtonTypeB_1IconInit()
{
    for (const QString& g : PageButtonGroups())
        skin_.SetGroupPicture(g, QStringLiteral("SetS_01"));
}

void PageSelector::ShowMainPageSelectors()
{
    skin_.SetGroupPicture(QStringLiteral("Main"), QStringLiteral("SetS_03"));
    for (const char* g : {"Second", "Adv", "Breath", "Macro", "Engineer"})
        skin_.SetGroupPicture(QLatin1String(g), QStringLiteral("SetS_01"));
}

void PageSelector::MarkSelectedPage()
{
    ButtonTypeB_1IconInit();
    if (const PageOption* o = FindPageOption(stack_.PageState()))
        skin_.SetGroupPicture(o->group, QStringLiteral("SetS_03"));
}

void PageSelector::RefreshAPPage()
{
    if (stack_.noDeviceUI()) {
        stack_.showOnlyPage(1);
        return;
    }
    const QString state = stack_.PageState();
    if (state == QLatin1String("rb_2"))
        return; // the key page is already the one shown
    const PageOption* o = FindPageOption(state);
    if (!o)
        return;
    stack_.showOnlyPage(o->page);
    if (state == QLatin1String("rb_6"))
        macro_.ShowMacroBoxes();
}

} // namespace orb
