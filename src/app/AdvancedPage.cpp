#include "app/AdvancedPage.h"

#include "app/FireKeyFields.h"
#include "app/HostSettingsPanel.h"
#include "image/ConfigImage.h"

namespace orb
{

AdvancedPage::AdvancedPage(const PageContext& context, HostMouseStore& hostStore, HostMouseSystem& hostSystem)
    : Page(context, 2), hostSettings_(new HostSettingsPanel(context, container(), hostStore, hostSystem))
{
    fire_ = new FireKeyFields(container());
}

void AdvancedPage::ApplyLayout(const LayoutText& section)
{
    hostSettings_->ApplyLayout(section);
    fire_->ApplyLayout(section);
}

void AdvancedPage::Retranslate()
{
    hostSettings_->Retranslate();
}

void AdvancedPage::RefreshCpiLevelsView() {}
void AdvancedPage::RefreshFireFields()
{
    fire_->Refresh(image().FireKey);
}
void AdvancedPage::RefreshOptionPictures() {}
void AdvancedPage::UIToDataBuf()
{
    fire_->Store(image().FireKey);
}

void AdvancedPage::ApplyHostMouseSettings()
{
    hostSettings_->ApplyHostMouseSettings();
}

} // namespace orb
