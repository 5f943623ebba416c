#include "rcdata.h"

#include <QFile>

namespace orb {
std::optional<QByteArray> rcData(const QString& name)
{
    QFile f(QStringLiteral(":/rc/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}
} // namespace orb
