#include "app/AdvancedPage.h"

#include "app/FireKeyFields.h"
#include "image/ConfigImage.h"

namespace orb
{

AdvancedPage::AdvancedPage(const PageContext& context) : Page(context, 2)
{
    fire_ = new FireKeyFields(container());
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
void AdvancedPage::ApplyHostMouseSettings() {}

void AdvancedPage::ApplyLayout(const LayoutText& section)
{
    fire_->ApplyLayout(section);
}

} // namespace orb
