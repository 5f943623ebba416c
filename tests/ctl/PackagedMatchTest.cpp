// The udev rule and the AppStream metadata name exactly the mice the
// program opens: the vendor it is built for, product 0x08A0, release 0x0104.
#include "app/base/AppInfo.h"
#include "device/Transport.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace
{
QString readText(const char* path)
{
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString hex4(int v)
{
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0'));
}
} // namespace

TEST(PackagedMatch, UdevRuleNamesTheMiceTheProgramOpens)
{
    const QString rule = readText(ORB_UDEV_RULE);
    ASSERT_FALSE(rule.isEmpty());
    QStringList lines;
    for (const QString& line : rule.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines << line;
    ASSERT_EQ(lines.size(), 1);
    const auto attr = [&](const char* name) {
        const QRegularExpression re(QStringLiteral("ATTRS\\{%1\\}==\"([^\"]*)\"").arg(QLatin1String(name)));
        return re.match(lines.front()).captured(1);
    };
    EXPECT_EQ(attr("idVendor"), hex4(orb::defaultVendorId()));
    EXPECT_EQ(attr("idProduct"), hex4(orb::kProductId));
    EXPECT_EQ(attr("bcdDevice"), hex4(orb::kReleaseNumber));
}

TEST(PackagedMatch, MetadataModaliasNamesTheMiceTheProgramOpens)
{
    const QString meta = readText(ORB_METAINFO);
    const QRegularExpression re(QStringLiteral("<modalias>([^<]*)</modalias>"));
    auto it = re.globalMatch(meta);
    QStringList aliases;
    while (it.hasNext())
        aliases << it.next().captured(1);
    const QString wanted = QStringLiteral("usb:v%1p%2d%3*")
                               .arg(hex4(orb::defaultVendorId()).toUpper(), hex4(orb::kProductId).toUpper(),
                                    hex4(orb::kReleaseNumber).toUpper());
    EXPECT_EQ(aliases, QStringList{wanted});
}
