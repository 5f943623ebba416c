#include "app/AppInfo.h"

namespace orb
{
int defaultVendorId()
{
    return (ORB_DEFAULT_VENDOR_ID)&0xFFFF;
}
} // namespace orb
