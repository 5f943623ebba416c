#include "skin/HostSettingsLayout.h"

namespace orb
{

const QStringList& HostSettingsBars()
{
    static const QStringList bars{QStringLiteral("Spd"), QStringLiteral("DbSpd"), QStringLiteral("ScrSpd")};
    return bars;
}

const QList<LayoutRow>& HostSettingsLayoutRows()
{
    static const QList<LayoutRow> rows = [] {
        QList<LayoutRow> out;
        for (const QString& bar : HostSettingsBars()) {
            LayoutRow r;
            r.group = QStringLiteral("D");
            r.keyPrefix = bar + QLatin1Char('_');
            r.kind = RowKind::Segments;
            r.control = QStringLiteral("Img_") + bar;
            r.count = 11;
            // The number sits under its step, a little in from the step's left edge.
            r.companions = {{QStringLiteral("lbl_") + bar, QPoint(4, 24), SizeFrom::Own}};
            out << r;
        }
        // The click targets start a little left of the switch pictures.
        for (const auto& [name, dx] : {std::pair{"IsControl", -8}, std::pair{"IsScreen", -2}}) {
            LayoutRow r;
            r.group = QStringLiteral("D");
            r.keyPrefix = QLatin1String(name) + QLatin1Char('_');
            r.control = QStringLiteral("Img_") + QLatin1String(name);
            r.companions = {{QStringLiteral("lbl_") + QLatin1String(name), QPoint(dx, 0), SizeFrom::Own}};
            out << r;
        }
        return out;
    }();
    return rows;
}

} // namespace orb
