#include "app/LightingPage.h"

#include "app/KeyModeMemory.h"

namespace orb
{

LightingPage::LightingPage(const PageContext& context) : Page(context, 3)
{
    keyModeMemory_ = new KeyModeMemory(container(), skin(), context.hideAllMenu);
}

void LightingPage::RefreshLightTypeView() {}
void LightingPage::RefreshMcuModeView() {}
void LightingPage::RefreshLedPictures() {}
void LightingPage::UIToDataBuf() {}

void LightingPage::ApplyLayout(const LayoutText& section)
{
    keyModeMemory_->ApplyLayout(section);
}

} // namespace orb
