// The macro page with the simulated mouse read, for the page's tests.
#pragma once
#include "AppFixture.h"
#include "app/base/ClickLabel.h"
#include "app/frame/PageSelector.h"
#include "app/pages/macros/MacroList.h"
#include "keys/KeyAssignment.h"
#include "macros/MacroCodec.h"
#include "macros/MacroLibrary.h"
#include "rcdata.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace orb::test
{

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

struct MacroPageUi : AppFixture {
    // The mouse read; the window shown on the macro page (or the key page).
    void connect(bool macroPage = true)
    {
        startRead();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseMove(window.get(), QPoint(1, 1)); // the pointer is in the window
        if (macroPage)
            window->selector().Btn_Macro_0Click();
        services.messages.clear();
    }
    // Records key or button clicks with long pauses until the recording stops by itself.
    void recordUntilFull(const char* delayLabel, bool buttons)
    {
        connect();
        clickRow(list("LB_PCMacroName"), 0);
        click(QLatin1String(delayLabel));
        click(QStringLiteral("Btn_Start"));
        ASSERT_TRUE(capture && capture->isRunning());
        std::uint32_t t = 0;
        int events = 0;
        while (page().Recording() && events < 1000) {
            t += 9000;
            if (buttons) {
                capture->click(MouseButton::Middle, true, t);
                capture->click(MouseButton::Middle, false, t + 9000);
            } else {
                capture->pressKey('A', t);
                capture->releaseKey('A', t + 9000);
            }
            t += 9000;
            events += 2;
            settle();
        }
        EXPECT_FALSE(page().Recording());
        EXPECT_FALSE(capture->isRunning());
        EXPECT_EQ(caption(QStringLiteral("Btn_Start")), text("Str400"));
        const MacroRecord& r = page().library().Records[0];
        EXPECT_GT(r[1], 100);
        EXPECT_LE(r[1], MaxLengthByte);
        EXPECT_LE(page().script().storedSize(), MaxEventBytes);
        EXPECT_EQ(r, EncodeScript(page().script(), page().ReleaseStopChosen()).record);
        EXPECT_EQ(EncodeScript(page().script(), false).linesLeftOut, 0);
    }
    MacroPage& page() const { return window->macroPage(); }
    QListWidget* list(const char* name) const { return find<QListWidget>(QLatin1String(name)); }
    void clickRow(QListWidget* l, int row) const
    {
        ASSERT_TRUE(l);
        ASSERT_LT(row, l->count());
        l->scrollToItem(l->item(row));
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
    }
    QString caption(const QString& name) const
    {
        auto* l = qobject_cast<QLabel*>(widget(name));
        return l ? l->text() : QString();
    }
    QStringList lines() const
    {
        QStringList out;
        QListWidget* l = list("LB_macro");
        for (int i = 0; l && i < l->count(); ++i)
            out << l->item(i)->data(MacroLineRole).toString();
        return out;
    }
    QString text(const char* key) const { return window->skin().LookupText(QLatin1String(key)); }
    // Stops a recording the recorder asked to stop (the stop is queued).
    void settle() const { QCoreApplication::processEvents(); }
};

} // namespace orb::test
