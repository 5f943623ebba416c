#include "app/AdvancedPage.h"

#include "app/HostSettingsPanel.h"

namespace orb
{

AdvancedPage::AdvancedPage(const PageContext& context, HostMouseStore& hostStore, HostMouseSystem& hostSystem)
    : Page(context, 2), hostSettings_(new HostSettingsPanel(context, container(), hostStore, hostSystem))
{
}

void AdvancedPage::ApplyLayout(const LayoutText& section)
{
    hostSettings_->ApplyLayout(section);
}

void AdvancedPage::Retranslate()
{
    hostSettings_->Retranslate();
}

void AdvancedPage::RefreshCpiLevelsView() {}
void AdvancedPage::RefreshFireFields() {}
void AdvancedPage::RefreshOptionPictures() {}
void AdvancedPage::UIToDataBuf() {}

void AdvancedPage::ApplyHostMouseSettings()
{
    hostSettings_->ApplyHostMouseSettings();
}

} // namespace orb
