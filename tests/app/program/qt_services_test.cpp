// The save dialog through Qt's own dialog: the name it returns and the file
// its question names are the file the program writes.
#include "app/program/QtServices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orb;

namespace
{

// Answers the modal dialogs as they open: puts `typed` into each save
// dialog and presses its Save button; takes the replace question's text and answers
// it from `answers` in turn.
struct DialogUser {
    QString typed;
    std::vector<QMessageBox::StandardButton> answers;
    QStringList questions;
    int dialogs = 0;
    QTimer timer;

    DialogUser()
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] { look(); });
        timer.start();
    }
    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (dialog->property("answered").toBool())
                return;
            dialog->setProperty("answered", true);
            ++dialogs;
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(edit);
            // Set, not typed, so the name completer's popup stays out of the way.
            edit->setText(typed);
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            ASSERT_TRUE(buttons);
            QPushButton* save = buttons->button(QDialogButtonBox::Save);
            ASSERT_TRUE(save && save->isEnabled());
            QTest::mouseClick(save, Qt::LeftButton);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            questions << box->text();
            const QMessageBox::StandardButton answer = answers.empty() ? QMessageBox::No : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            QTest::mouseClick(box->button(answer), Qt::LeftButton);
        }
    }
};

TEST(QtServicesSave, TheQuestionNamesTheFileThatIsWritten)
{
    struct Case {
        const char* typed;
        const char* existing; // a file already there, or null
        std::vector<QMessageBox::StandardButton> answers;
        const char* asked; // the file named by the question, or null
        int dialogs;
        const char* returned; // the name handed back, or null for cancelled
    };
    const Case cases[] = {
        {"abc", "abc.bin", {QMessageBox::Yes}, "abc.bin", 1, "abc.bin"},
        {"abc", "abc", {}, nullptr, 1, "abc.bin"},
        {"abc.bin", "abc.bin", {QMessageBox::Yes}, "abc.bin", 1, "abc.bin"},
        {"a.txt", "a.txt.bin", {QMessageBox::Yes}, "a.txt.bin", 1, "a.txt.bin"},
        {"new", nullptr, {}, nullptr, 1, "new.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QTemporaryDir dir;
        if (c.existing) {
            QFile f(dir.filePath(QString::fromLatin1(c.existing)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        DialogUser user;
        user.typed = dir.filePath(QString::fromLatin1(c.typed));
        user.answers = c.answers;
        QtServices services;
        const std::optional<QString> got =
            services.saveFileName(QStringLiteral("SaveFile(*.bin)|*.bin"), QString());
        EXPECT_EQ(user.dialogs, c.dialogs);
        if (c.asked) {
            ASSERT_EQ(user.questions.size(), 1);
            EXPECT_TRUE(user.questions[0].startsWith(QString::fromLatin1(c.asked) + QLatin1Char(' ')))
                << user.questions[0].toStdString();
        } else {
            EXPECT_TRUE(user.questions.isEmpty()) << user.questions.join('|').toStdString();
        }
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, dir.filePath(QString::fromLatin1(c.returned)));
    }
}

TEST(QtServicesSave, NoToTheQuestionOpensTheDialogAgain)
{
    QTemporaryDir dir;
    QFile existing(dir.filePath(QStringLiteral("abc.bin")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    DialogUser user;
    user.typed = dir.filePath(QStringLiteral("abc"));
    user.answers = {QMessageBox::No, QMessageBox::Yes};
    QtServices services;
    const std::optional<QString> got =
        services.saveFileName(QStringLiteral("SaveFile(*.bin)|*.bin"), QString());
    EXPECT_EQ(user.dialogs, 2);
    EXPECT_EQ(user.questions.size(), 2);
    EXPECT_EQ(got, std::optional<QString>(dir.filePath(QStringLiteral("abc.bin"))));
}

} // namespace
