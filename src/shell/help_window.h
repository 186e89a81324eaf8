#pragma once

#include "texts/text_tables.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tormel {

// The user guide in a window of the program: read-only text with a find
// bar. Ctrl+F goes to the find field; Enter or F3 finds the next match,
// Shift+F3 the previous one, around the end of the text.
class HelpWindow : public QWidget, public TextsPanel {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Replaces the text shown and goes back to its start.
    void showText(const QString& text);
    QString text() const;
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;

    // Selects the next (or previous) match of the find field from the
    // cursor, case ignored. False, and the not-found mark shown, when the
    // text holds none.
    bool findNext(bool backward = false);

private:
    void findFromSelectionStart();

    QPlainTextEdit* text_;
    QLabel* findLabel_;
    QLineEdit* findField_;
    QPushButton* previous_;
    QPushButton* next_;
    QLabel* notFound_;
};

}  // namespace tormel
