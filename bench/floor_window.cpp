// What any window showing the program's first screen must hold, without the
// program: the bare window made see-through, with the start's two pictures
// (the background and the key page's picture, decoded from the program's
// resources) and the key page's texts in language 1 on labels. The gap
// between this and the bare window is the cost of the skin and the Chinese
// font; the demo's excess over this is the program's own.
// Usage: floor_window [--hold-ms N] (default 3000; 0 quits when shown).
#include "StartupProbe.h"
#include "rcdata.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

namespace
{
QPixmap picture(const char* name)
{
    QByteArray bytes = orb::rcData(QString::fromLatin1(name)).value_or(QByteArray());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// The key page's visible texts at the start, language 1.
const char* const kTexts[] = {"应用",
                              "恢复默认设置",
                              "模式A",
                              "模式B",
                              "高级设置",
                              "灯光控制",
                              "宏定义",
                              "简体中文",
                              "英文",
                              "Engineer",
                              "左键",
                              "中键",
                              "右键",
                              "后退",
                              "前进",
                              "CPI循环",
                              "CPI +",
                              "长按'中键'切换模式A/模式B",
                              "长按'CPI键'切换模式A/模式B"};
} // namespace

int main(int argc, char** argv)
{
    const int holdMs = orbbench::holdMsArgument(argc, argv);
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.resize(1030, 662);
    auto* background = new QLabel(&window);
    background->setPixmap(picture("L1_BackGround"));
    background->setGeometry(0, 0, 1030, 662);
    auto* page = new QLabel(&window);
    page->setPixmap(picture("L1_Back1"));
    page->setGeometry(215, 130, 600, 400);
    int y = 10;
    for (const char* text : kTexts) {
        auto* label = new QLabel(QString::fromUtf8(text), &window);
        label->move(20, y += 30);
    }
    orbbench::Probe probe(window, holdMs, "floor_window");
    window.show();
    return app.exec();
}
