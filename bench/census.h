#pragma once
// What the demo's window holds once shown: widgets under each page and the
// decoded pictures its labels show (each shared picture counted once), so
// the memory figures can be traced to pages and pictures.
#include <QLabel>
#include <QMap>
#include <QPixmap>
#include <QSet>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace orbbench
{

inline void printCensus(QWidget& window)
{
    QMap<QString, int> widgets;              // page -> widgets under it
    QMap<QString, qint64> pictureBytes;      // page -> bytes of pictures first met there
    QMap<QString, QStringList> pictureNames; // page -> picture names first met there
    QSet<qint64> seen;
    const auto pageOf = [&](QWidget* w) {
        for (QWidget* p = w; p && p != &window; p = p->parentWidget())
            if (p->parentWidget() == &window)
                return p->objectName().isEmpty() ? QStringLiteral("(unnamed)") : p->objectName();
        return QStringLiteral("(window)");
    };
    const QList<QWidget*> all = window.findChildren<QWidget*>();
    for (QWidget* w : all) {
        const QString page = pageOf(w);
        ++widgets[page];
        if (auto* label = qobject_cast<QLabel*>(w)) {
            const QPixmap pm = label->pixmap();
            if (pm.isNull() || seen.contains(pm.cacheKey()))
                continue;
            seen.insert(pm.cacheKey());
            pictureBytes[page] += qint64(pm.width()) * pm.height() * pm.depth() / 8;
            pictureNames[page] << label->property("picture").toString();
        }
    }
    // Style sheets are the costly part of a widget (rules kept per widget):
    // those with a sheet of their own, and those a sheet reaches.
    const auto ownSheets = std::count_if(all.cbegin(), all.cend(), [](QWidget* w) { return !w->styleSheet().isEmpty(); });
    const auto styled = std::count_if(all.cbegin(), all.cend(), [](QWidget* w) {
        return w->style() && w->style()->inherits("QStyleSheetStyle");
    });
    std::printf("census: %lld widgets, %lld with a style sheet, %lld styled by one\n",
                static_cast<long long>(all.size()), static_cast<long long>(ownSheets),
                static_cast<long long>(styled));
    if (qEnvironmentVariableIsSet("ORB_CENSUS_SHEETS"))
        for (QWidget* w : all)
            if (!w->styleSheet().isEmpty())
                std::printf("  sheet %s (%s): %d below\n", qPrintable(w->objectName()), w->metaObject()->className(),
                            int(w->findChildren<QWidget*>().size()));
    for (auto it = widgets.cbegin(); it != widgets.cend(); ++it) {
        const QString page = it.key();
        std::printf("  %-12s %5d widgets %5d visible, pictures %7.0f KiB: %s\n", qPrintable(page), it.value(),
                    int(std::count_if(all.cbegin(), all.cend(),
                                      [&](QWidget* w) { return pageOf(w) == page && w->isVisible(); })),
                    pictureBytes.value(page) / 1024.0,
                    qPrintable(pictureNames.value(page).join(u' ').left(160)));
    }
    std::fflush(stdout);
}

} // namespace orbbench
