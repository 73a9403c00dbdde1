// test-links: mojuan_window
#include "window/QtPrompter.h"
#include "window/ToolkitTranslation.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};

// Waits for the modal box the prompter opens, notes what it shows and presses `answer`.
SeenBox Answer(QMessageBox::StandardButton answer, const std::function<void()>& open) {
    SeenBox seen;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [&seen, poll, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(answer)->click();
    });
    poll->start(10);
    open();
    delete poll;
    return seen;
}

TEST(QtPrompterTest, InfoIsAnInformationBoxWithOk) {
    QtPrompter prompter;
    SeenBox box =
        Answer(QMessageBox::Ok, [&] { prompter.Info("重新启动《墨卷》即可恢复为默认设置。"); });
    EXPECT_EQ(box.Title, QString("提示"));
    EXPECT_EQ(box.Text, QString("重新启动《墨卷》即可恢复为默认设置。"));
    EXPECT_EQ(box.Icon, QMessageBox::Information);
    EXPECT_EQ(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtPrompterTest, WarningIsAWarningBoxWithOk) {
    QtPrompter prompter;
    SeenBox box = Answer(QMessageBox::Ok, [&] { prompter.Warning("w"); });
    EXPECT_EQ(box.Title, QString("警告"));
    EXPECT_EQ(box.Icon, QMessageBox::Warning);
    EXPECT_EQ(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtPrompterTest, ConfirmIsTrueOnlyForOk) {
    QtPrompter prompter;
    bool answer = false;
    SeenBox box = Answer(QMessageBox::Ok, [&] { answer = prompter.Confirm("q"); });
    EXPECT_TRUE(answer);
    EXPECT_EQ(box.Title, QString("询问"));
    EXPECT_EQ(box.Icon, QMessageBox::Question);
    EXPECT_EQ(box.Buttons, QMessageBox::Ok | QMessageBox::Cancel);
    Answer(QMessageBox::Cancel, [&] { answer = prompter.Confirm("q"); });
    EXPECT_FALSE(answer);
}

// A message naming a file shows the name as written, even when it looks like mark-up.
TEST(QtPrompterTest, TextIsShownAsItIsWritten) {
    QtPrompter prompter;
    QMessageBox::Icon icon{};
    Qt::TextFormat format = Qt::AutoText;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        icon = box->icon();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });
    poll->start(10);
    prompter.Warning("打开文件 /books/<b>a&b</b>.txt 失败！");
    delete poll;
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(format, Qt::PlainText);
}

// The toolkit's own texts are Chinese whatever the locale: the boxes' buttons, the file dialogs.
TEST(QtPrompterTest, ToolkitTextsAreChinese) {
    const std::unique_ptr<QTranslator> chinese = InstallToolkitChinese();
    ASSERT_TRUE(chinese);
    QMessageBox box(QMessageBox::Question, "询问", "q", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString("取消"));
    EXPECT_EQ(QFileDialog::tr("Look in:"), QString("查找范围："));
}

} // namespace
