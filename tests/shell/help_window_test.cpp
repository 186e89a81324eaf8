#include "shell/help_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

TEST(HelpWindow, CtrlFFindsEveryMatchInTurnAroundTheEnd)
{
    HelpWindow help;
    help.showText(u"Alpha beta\nalpha gamma ALPHA"_s);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    auto* text = help.findChild<QPlainTextEdit*>(u"helpText"_s);
    auto* field = help.findChild<QLineEdit*>(u"helpFind"_s);
    auto* notFound = help.findChild<QLabel*>(u"helpNotFound"_s);
    text->setFocus();
    field->setText(u"old"_s);

    QTest::keyClick(&help, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), u"old"_s);
    QTest::keyClicks(field, u"alpha"_s);
    const auto selected = [text] { return text->textCursor().selectionStart(); };
    EXPECT_EQ(selected(), 0);  // typing keeps the first match
    // Enter and F3 go forward, case ignored, and round the end; Shift+F3 back.
    const std::pair<std::pair<Qt::Key, Qt::KeyboardModifiers>, int> steps[] = {
        {{Qt::Key_Return, Qt::NoModifier}, 11}, {{Qt::Key_F3, Qt::NoModifier}, 23},
        {{Qt::Key_Return, Qt::NoModifier}, 0},  {{Qt::Key_F3, Qt::ShiftModifier}, 23},
    };
    for (const auto& [key, start] : steps) {
        QTest::keyClick(field, key.first, key.second);
        EXPECT_EQ(selected(), start);
        EXPECT_EQ(text->textCursor().selectedText().toLower(), u"alpha"_s);
    }
    EXPECT_TRUE(notFound->isHidden());

    field->setText(u"delta"_s);
    EXPECT_FALSE(help.findNext());
    EXPECT_FALSE(notFound->isHidden());
    EXPECT_EQ(selected(), 23);  // where it was

    // The find bar lies under the text, its parts side by side.
    QCoreApplication::processEvents();
    int right = -1;
    for (const char* name : {"helpFindLabel", "helpFind", "helpPrevious", "helpNext", "helpNotFound"}) {
        const QRect part = help.findChild<QWidget*>(QLatin1String(name))->geometry();
        EXPECT_GT(part.top(), text->geometry().bottom()) << name;
        EXPECT_GT(part.left(), right) << name;
        right = part.right();
    }
    EXPECT_TRUE(text->isReadOnly());
}

}  // namespace
}  // namespace tormel
