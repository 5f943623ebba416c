#include "app/base/Page.h"

#include "app/base/PageStack.h"
#include "app/session/DeviceSession.h"

namespace orb
{

Page::Page(const PageContext& context, int number)
    : QObject(context.window), context_(context), container_(context.stack.page(number))
{
}

ConfigImage& Page::image() const
{
    return context_.session.image();
}

void Page::ApplyLayout(const LayoutText&) {}
void Page::Retranslate() {}
void Page::ResetNoDevice() {}
void Page::DeviceLost() {}

} // namespace orb
