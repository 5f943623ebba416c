#include "app/LightingPage.h"

namespace orb
{

LightingPage::LightingPage(const PageContext& context) : Page(context, 3) {}

void LightingPage::RefreshLightTypeView() {}
void LightingPage::RefreshMcuModeView() {}
void LightingPage::RefreshLedPictures() {}
void LightingPage::UIToDataBuf() {}

} // namespace orb
