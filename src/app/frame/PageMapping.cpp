#include "app/frame/PageMapping.h"

#include "app/pages/advanced/AdvancedPage.h"
#include "app/pages/engineer/EngineerPage.h"
#include "app/pages/keys/KeyPage.h"
#include "app/pages/lighting/LightingPage.h"
#include "app/pages/macros/MacroPage.h"

namespace orb
{

PageMapping::PageMapping(KeyPage& key, AdvancedPage& advanced, LightingPage& lighting, MacroPage& macro,
                         EngineerPage& engineer)
    : key_(key), advanced_(advanced), lighting_(lighting), macro_(macro), engineer_(engineer)
{
}

void PageMapping::UIToDataBuf()
{
    // The engineering controls hold every parameter setting; the user pages
    // store theirs over them.
    engineer_.UIToDataBuf();
    advanced_.UIToDataBuf();
    lighting_.UIToDataBuf();
    macro_.UIToDataBuf();
}

void PageMapping::DataBufToUI()
{
    key_.DataBufToUI();
    RefreshUI();
}

void PageMapping::RefreshUI()
{
    // The engineering page first: its handlers update the lists and groups
    // that follow the level count, the light type and the MCU modes.
    const SettingsControls shown = engineer_.RefreshUI();

    // The same settings as the other pages show them.
    advanced_.RefreshCpiLevelsView();
    advanced_.RefreshFireFields();
    advanced_.RefreshOptionPictures();
    lighting_.RefreshLedPictures();
    key_.RefreshAIMKey();

    // The key page follows the mouse's current key mode.
    key_.ShowKeyMode(shown.keyMode);
}

} // namespace orb
