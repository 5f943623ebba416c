#include "app/AdvancedPage.h"

namespace orb
{

AdvancedPage::AdvancedPage(const PageContext& context) : Page(context, 2) {}

void AdvancedPage::RefreshCpiLevelsView() {}
void AdvancedPage::RefreshFireFields() {}
void AdvancedPage::RefreshOptionPictures() {}
void AdvancedPage::UIToDataBuf() {}
void AdvancedPage::ApplyHostMouseSettings() {}

} // namespace orb
