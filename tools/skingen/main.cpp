// Generates the skin pictures as PNG files: skingen <output folder> [--preview <folder>]
#include "paint.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QSize>

#include <cstdio>
#include <set>
#include <string_view>

namespace
{

struct Expected {
    const char* name;
    int w;
    int h;
};

// Every picture the program loads, with its required size.
const Expected kExpected[] = {
    {"L1_BackGround", 1030, 662},
    {"L3_BackGround", 1030, 662},
    {"L1_Back1", 600, 400},
    {"L3_Back1", 600, 400},
    {"L1_Back2", 800, 374},
    {"L1_Back3", 800, 374},
    {"L1_Back4", 800, 374},
    {"L3_Back2", 800, 374},
    {"L3_Back3", 800, 374},
    {"L3_Back4", 800, 374},
    {"L2_BackGround", 23, 4},
    {"L2_Back1", 23, 4},
    {"L2_Back2", 23, 4},
    {"L2_Back3", 23, 4},
    {"L2_Back4", 23, 4},
    {"BtnS_01", 110, 27},
    {"BtnS_02", 110, 27},
    {"BtnS_03", 110, 27},
    {"SetS_01", 110, 30},
    {"SetS_02", 110, 30},
    {"SetS_03", 110, 30},
    {"KeyS_01", 170, 27},
    {"KeyS_02", 170, 27},
    {"ExitS_01", 20, 20},
    {"ExitS_02", 20, 20},
    {"ExitS_03", 20, 20},
    {"MiniS_01", 20, 20},
    {"MiniS_02", 20, 20},
    {"WebS_01", 200, 66},
    {"WebS_02", 200, 66},
    {"WebS_03", 200, 66},
    {"MacroS_01", 110, 27},
    {"MacroS_02", 110, 27},
    {"MacroS_03", 110, 27},
    {"MacroBtnS_01", 44, 27},
    {"MacroBtnS_02", 44, 27},
    {"MacroBtnS_03", 44, 27},
    {"CbS_D", 16, 16},
    {"CbS_E", 16, 16},
    {"RdS_D", 15, 15},
    {"RdS_E", 15, 15},
    {"Bar1_D", 26, 18},
    {"Bar1_E", 26, 18},
    {"Bar2_D", 20, 18},
    {"Bar2_E", 20, 18},
    {"Col_F", 32, 40},
    {"Msg", 530, 200},
    {"InsertDelayBase", 207, 162},
    {"InsertKeyBase", 207, 162},
    {"AppIcon", 256, 256},
};

// Pictures stored without an alpha channel.
const std::set<std::string> kOpaque{"ExitS_01", "ExitS_02", "ExitS_03", "Msg"};

// Pictures at `scale` times their size are written as "<name>@2x.png".
bool save(const skin::Catalogue& cat, const QString& dir, int scale)
{
    bool ok = true;
    std::set<std::string> seen;
    for (const Expected& e : kExpected) {
        if (scale != 1 && std::string_view(e.name) == "AppIcon")
            continue;
        seen.insert(e.name);
        auto it = cat.find(e.name);
        if (it == cat.end()) {
            std::fprintf(stderr, "missing picture %s\n", e.name);
            ok = false;
            continue;
        }
        if (it->second.size() != QSize(e.w, e.h) * scale) {
            std::fprintf(stderr, "%s is %dx%d, expected %dx%d\n", e.name, it->second.width(),
                         it->second.height(), e.w, e.h);
            ok = false;
            continue;
        }
        const bool opaque = kOpaque.count(e.name) != 0;
        const QImage img = it->second.convertToFormat(opaque ? QImage::Format_RGB888 : QImage::Format_ARGB32);
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@%1x.png").arg(scale);
        const QString path = QDir(dir).filePath(QString::fromStdString(e.name) + suffix);
        if (!img.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    for (const auto& [name, img] : cat)
        if (!seen.count(name)) {
            std::fprintf(stderr, "unexpected picture %s\n", name.c_str());
            ok = false;
        }
    return ok;
}

// Composites of the pages with controls at their shipped positions, for checking by eye.
class Preview
{
  public:
    explicit Preview(const skin::Catalogue& cat) : cat_(cat) {}

    QImage page(int which) const
    {
        QImage img(1030, 662, QImage::Format_ARGB32_Premultiplied);
        img.fill(QColor(128, 0, 0));
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing);
        put(p, "L1_BackGround", 0, 0);
        frame(p, which);
        switch (which) {
        case 1:
            keyPage(p);
            break;
        case 2:
            advancedPage(p);
            break;
        case 3:
            lightingPage(p);
            break;
        default:
            macroPage(p);
            break;
        }
        return img;
    }

    QImage dialog() const
    {
        QImage img = cat_.at("Msg").convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter p(&img);
        text(p, 18, 25, 300, 22, "Macro name", 14);
        p.fillRect(QRect(128, 76, 240, 24), QColor(255, 255, 255));
        button(p, "BtnS_01", 128, 134, "OK");
        button(p, "BtnS_02", 270, 134, "Clear");
        put(p, "ExitS_02", 470, 12);
        return img;
    }

  private:
    void put(QPainter& p, const char* name, int x, int y) const { p.drawImage(x, y, cat_.at(name)); }

    void text(QPainter& p, int x, int y, int w, int h, const QString& s, int pt,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) const
    {
        QFont f;
        f.setPointSize(pt);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(x, y, w, h), align, s);
    }

    void button(QPainter& p, const char* name, int x, int y, const QString& caption, int pt = 11) const
    {
        const QImage& img = cat_.at(name);
        p.drawImage(x, y, img);
        text(p, x, y, img.width(), img.height(), caption, pt, Qt::AlignCenter);
    }

    void frame(QPainter& p, int which) const
    {
        button(p, "SetS_01", 10, 10, "Engineer", 12);
        const char* pages[] = {"Mode A", "Mode B", "Advanced", "Lighting", "Macro"};
        const int xs[] = {110, 240, 370, 500, 630};
        const int current = which == 1 ? 0 : which;
        for (int i = 0; i < 5; ++i)
            button(p, i == current ? "SetS_03" : (i == 1 ? "SetS_02" : "SetS_01"), xs[i], 50, pages[i], 12);
        button(p, "SetS_03", 780, 50, "简体中文", 12);
        button(p, "SetS_01", 905, 50, "English", 12);
        put(p, "MiniS_01", 950, 10);
        put(p, "ExitS_01", 980, 10);
        put(p, "WebS_01", 50, 575);
        button(p, "BtnS_01", 310, 600, "Restore");
        button(p, "BtnS_02", 820, 600, "Apply");
    }

    void keyPage(QPainter& p) const
    {
        put(p, "L1_Back1", 90, 130);
        const int ys[] = {138, 186, 233, 282, 329, 377, 427};
        const char* names[] = {"Left Key", "Middle Key", "Right Key", "Forward", "Back", "CPI Loop", "CPI +"};
        for (int i = 0; i < 7; ++i)
            button(p, i == 2 ? "KeyS_02" : "KeyS_01", 140, ys[i], names[i]);
        put(p, "CbS_E", 700, 470);
        text(p, 720, 468, 200, 20, "Combo option 1", 10);
        put(p, "CbS_D", 700, 500);
        text(p, 720, 498, 200, 20, "Combo option 2", 10);
    }

    void advancedPage(QPainter& p) const
    {
        put(p, "L1_Back2", 98, 128);
        text(p, 150, 140, 200, 20, "Fire key", 11);
        text(p, 150, 170, 110, 20, "Repeat", 9);
        p.fillRect(QRect(264, 170, 50, 20), QColor(113, 111, 100));
        text(p, 150, 202, 110, 20, "Delay", 9);
        p.fillRect(QRect(264, 202, 50, 20), QColor(113, 111, 100));
        text(p, 150, 252, 200, 20, "Pointer", 11);
        const char* bars[] = {"Pointer speed", "Double-click", "Scroll lines"};
        for (int b = 0; b < 3; ++b) {
            const int y = 300 + 74 * b;
            text(p, 150, y - 22, 150, 20, bars[b], 9);
            for (int k = 0; k < 11; ++k) {
                put(p, k == 5 ? "Bar1_E" : "Bar1_D", 150 + 26 * k, y);
                text(p, 150 + 26 * k + 4, y + 24, 24, 14, QString::number(k + 1), 9);
            }
        }
        put(p, "CbS_E", 312, 278);
        put(p, "CbS_D", 312, 426);
        text(p, 506, 140, 200, 20, "CPI", 11);
        const int colY[] = {166, 210, 250, 290, 330, 370, 410};
        const int chkY[] = {184, 226, 266, 306, 346, 384, 424};
        const int valY[] = {182, 222, 262, 302, 342, 382, 422};
        const QColor swatch[] = {Qt::red, Qt::green, Qt::yellow, Qt::blue, Qt::magenta, Qt::cyan, Qt::white};
        for (int r = 0; r < 7; ++r) {
            put(p, r == 2 ? "CbS_E" : "CbS_D", 506, chkY[r]);
            text(p, 530, valY[r], 40, 18, QString("DPI%1").arg(r + 1), 10);
            text(p, 566, valY[r], 40, 18, "1600", 9);
            for (int k = 0; k < 11; ++k)
                put(p, k == r + 2 ? "Bar2_E" : "Bar2_D", 602 + 20 * k, valY[r]);
            p.fillRect(QRect(844, colY[r], 32, 40), swatch[r]);
            put(p, "Col_F", 844, colY[r]);
        }
        text(p, 503, 474, 60, 18, "AIM", 10);
        text(p, 566, 478, 40, 18, "800", 9);
        for (int k = 0; k < 11; ++k)
            put(p, k == 1 ? "Bar2_E" : "Bar2_D", 602 + 20 * k, 474);
    }

    void lightingPage(QPainter& p) const
    {
        put(p, "L1_Back3", 98, 128);
        text(p, 200, 142, 200, 20, "LED status", 11);
        text(p, 504, 142, 200, 20, "LED switch (M+CPI)", 11);
        auto pair = [&](int x1, int x2, int y, const char* a, const char* b) {
            put(p, "RdS_E", x1, y);
            text(p, x1 + 20, y - 2, 70, 18, a, 9);
            put(p, "RdS_D", x2, y);
            text(p, x2 + 20, y - 2, 70, 18, b, 9);
        };
        pair(240, 340, 190, "On", "Off");
        pair(544, 643, 190, "On", "Off");
        text(p, 200, 226, 200, 20, "LED mode (L+CPI)", 11);
        pair(240, 340, 254, "On", "Off");
        text(p, 620, 226, 100, 20, "Mode B colour", 9);
        p.fillRect(QRect(730, 230, 32, 40), QColor(255, 120, 0));
        put(p, "Col_F", 730, 230);
        const int mx[] = {220, 304, 472, 642, 220, 377, 533};
        const int my[] = {326, 326, 326, 326, 363, 363, 363};
        for (int i = 0; i < 7; ++i) {
            put(p, i == 0 ? "RdS_E" : "RdS_D", mx[i], my[i]);
            text(p, mx[i] + 20, my[i] - 2, 120, 18, QString("Mode %1").arg(i + 1), 9);
        }
        text(p, 200, 418, 90, 20, "Step", 10);
        for (int k = 0; k < 8; ++k) {
            put(p, k < 3 ? "Bar1_E" : "Bar1_D", 290 + 31 * k, 423);
            text(p, 290 + 31 * k + 8, 447, 20, 14, QString::number(k), 9);
        }
    }

    void macroPage(QPainter& p) const
    {
        put(p, "L1_Back4", 98, 128);
        text(p, 160, 144, 200, 20, "Macro library", 11);
        text(p, 400, 144, 200, 20, "Macro events", 11);
        p.fillRect(QRect(160, 176, 220, 304), QColor(31, 31, 31));
        p.fillRect(QRect(400, 176, 196, 304), QColor(31, 31, 31));
        text(p, 164, 178, 200, 20, "Macro 1", 9);
        text(p, 404, 178, 200, 20, "A down  50ms", 9);
        button(p, "MacroS_01", 666, 176, "New", 9);
        button(p, "MacroS_03", 666, 216, "Record", 9);
        put(p, "InsertKeyBase", 626, 328);
        put(p, "RdS_E", 636, 352);
        text(p, 654, 350, 100, 18, "Record delay", 9);
        put(p, "RdS_D", 636, 375);
        put(p, "RdS_D", 636, 398);
        button(p, "MacroS_02", 646, 422, "Insert", 9);
        button(p, "MacroBtnS_01", 646, 454, "OK", 9);
        button(p, "MacroBtnS_02", 712, 454, "Cancel", 9);
    }

    const skin::Catalogue& cat_;
};

// The desktop's icon theme: <folder>/<N>x<N>/apps/<name>.png at each size.
bool writeIcons(const QString& folder, const QString& name)
{
    for (const int size : {32, 48, 64, 128, 256}) {
        const QDir dir(QString("%1/%2x%2/apps").arg(folder).arg(size));
        const QString path = dir.filePath(name + ".png");
        if (!QDir().mkpath(dir.path()) || !skin::appIconAt(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    std::printf("wrote icons to %s\n", qPrintable(folder));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Headless by default: the tool only paints into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--icons")
        return writeIcons(args[2], args[3]) ? 0 : 1;
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--preview")) {
        std::fprintf(stderr, "usage: skingen <output folder> [--preview <folder>]\n"
                             "       skingen --icons <hicolor folder> <icon name>\n");
        return 2;
    }
    const QString outDir = args[1];
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
        return 1;
    }

    // Scaled screens (device pixel ratio 2) get the same pictures painted at twice the pixels.
    skin::Catalogue cat2;
    skin::setPixelScale(2);
    skin::addParts(cat2);
    skin::addPages(cat2);
    skin::setPixelScale(1);
    cat2.erase("AppIcon"); // already 256 pixels; the program's icon is not scaled with the window
    skin::Catalogue cat;
    skin::addParts(cat);
    skin::addPages(cat);
    if (!save(cat, outDir, 1) || !save(cat2, outDir, 2))
        return 1;
    std::printf("wrote %zu pictures to %s\n", cat.size() + cat2.size(), qPrintable(outDir));

    if (args.size() == 4) {
        const QDir dir(args[3]);
        QDir().mkpath(dir.path());
        const Preview preview(cat);
        bool ok = true;
        for (int page = 1; page <= 4; ++page)
            ok &= preview.page(page).save(dir.filePath(QString("preview_page%1.png").arg(page)));
        ok &= preview.dialog().save(dir.filePath("preview_dialog.png"));
        if (!ok) {
            std::fprintf(stderr, "cannot write previews to %s\n", qPrintable(dir.path()));
            return 1;
        }
        std::printf("wrote previews to %s\n", qPrintable(dir.path()));
    }
    return 0;
}
