#include "rcdata.h"

#include <QFile>

namespace orb
{
std::optional<QByteArray> rcData(const QString& name)
{
    // Pictures are stored with their ".png" ending; other items without one.
    for (const QString& path :
         {QStringLiteral(":/rc/") + name, QStringLiteral(":/rc/") + name + QStringLiteral(".png")}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            return f.readAll();
    }
    return std::nullopt;
}
} // namespace orb
