// A layout text ([org], [org1]..[org3]). The texts ship with the program,
// so a malformed one may stop the layout step with a LayoutError, but any
// bytes must give that error or a result: no crash, no other exception.
#include "skin/LayoutKeep.h"
#include "skin/LayoutPlan.h"
#include "skin/LayoutText.h"
#include "skin/OrgOptions.h"

#include <QByteArray>
#include <QSize>
#include <cstdlib>

namespace
{
template <typename F> void tolerateLayoutError(F&& f)
{
    try {
        f();
    } catch (const orb::LayoutError&) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const orb::PictureSizeOf sizeOf = [](const QString& name) {
        return name.size() % 3 == 0 ? QSize() : QSize(int(name.size()) * 7, 20);
    };

    const orb::LayoutText org = orb::LayoutText::fromBytes(bytes, QStringLiteral("org"));
    for (const QString& key : org.keys()) {
        if (!org.contains(key))
            std::abort();
        tolerateLayoutError([&] { org.intValue(key); });
    }
    tolerateLayoutError([&] { orb::LoadOrgOptions(org); });
    tolerateLayoutError([&] { orb::PlanLayout(org, orb::OrgLayoutRows(), sizeOf); });

    const orb::LayoutText section = orb::LayoutText::fromBytes(bytes, QStringLiteral("org1"));
    tolerateLayoutError([&] { orb::ReadLayoutKeep(section); });
    tolerateLayoutError([&] { orb::PlanLayout(section, orb::LanguageLayoutRows(), sizeOf); });
    tolerateLayoutError([&] { orb::PlanStyles(section, orb::LanguageStyleRows()); });
    tolerateLayoutError([&] { section.colour(QStringLiteral("Color_A_")); });
    return 0;
}
