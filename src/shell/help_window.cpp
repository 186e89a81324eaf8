#include "shell/help_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tormel {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , text_(new QPlainTextEdit(this))
    , findLabel_(new QLabel(this))
    , findField_(new QLineEdit(this))
    , previous_(new QPushButton(this))
    , next_(new QPushButton(this))
    , notFound_(new QLabel(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    text_->setObjectName(QStringLiteral("helpText"));
    findLabel_->setObjectName(QStringLiteral("helpFindLabel"));
    findField_->setObjectName(QStringLiteral("helpFind"));
    previous_->setObjectName(QStringLiteral("helpPrevious"));
    next_->setObjectName(QStringLiteral("helpNext"));
    notFound_->setObjectName(QStringLiteral("helpNotFound"));

    text_->setReadOnly(true);
    // The guides line their tables up in columns.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    findLabel_->setBuddy(findField_);
    findField_->setClearButtonEnabled(true);
    notFound_->hide();

    auto* bar = new QHBoxLayout;
    bar->addWidget(findLabel_);
    bar->addWidget(findField_, 1);
    bar->addWidget(previous_);
    bar->addWidget(next_);
    bar->addWidget(notFound_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(bar);
    resize(760, 720);

    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        findField_->setFocus(Qt::ShortcutFocusReason);
        findField_->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this, [this] { findNext(); });
    connect(new QShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this, [this] { findNext(true); });
    connect(findField_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    // Typing widens the match in place rather than jumping past it.
    connect(findField_, &QLineEdit::textEdited, this, &HelpWindow::findFromSelectionStart);
    connect(previous_, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(next_, &QPushButton::clicked, this, [this] { findNext(); });
}

void HelpWindow::showText(const QString& text)
{
    text_->setPlainText(text);
    text_->moveCursor(QTextCursor::Start);
    notFound_->hide();
}

QString HelpWindow::text() const
{
    return text_->toPlainText();
}

void HelpWindow::applyTexts(const TextTables& tables, bool)
{
    setWindowTitle(tables.texts[helpTitle]);
    findLabel_->setText(tables.texts[helpFindLabel]);
    previous_->setText(tables.texts[helpFindPrevious]);
    next_->setText(tables.texts[helpFindNext]);
    notFound_->setText(tables.texts[helpNotFound]);
}

bool HelpWindow::findNext(bool backward)
{
    const QString wanted = findField_->text();
    notFound_->hide();
    if (wanted.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (text_->find(wanted, flags))
        return true;
    // Round the end of the text, and back to where it was when nothing matches.
    const QTextCursor before = text_->textCursor();
    text_->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
    if (text_->find(wanted, flags))
        return true;
    text_->setTextCursor(before);
    notFound_->show();
    return false;
}

void HelpWindow::findFromSelectionStart()
{
    QTextCursor cursor = text_->textCursor();
    cursor.setPosition(cursor.selectionStart());
    text_->setTextCursor(cursor);
    findNext();
}

}  // namespace tormel
