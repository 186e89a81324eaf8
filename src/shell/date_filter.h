#pragma once

#include "texts/text_tables.h"

#include <QDate>
#include <QLocale>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QMenu;
class QToolButton;

namespace tormel {

// A bound of the library's date filter: empty for none. A date is typed in
// the language's way (a two-digit year is of this century) or picked in the
// calendar; the clear button, Delete or "-" take the bound away. A text that
// is no date is shown in red and leaves the bound as it was.
class DateFilter : public QWidget {
    Q_OBJECT
public:
    explicit DateFilter(const QString& name, QWidget* parent = nullptr);

    QDate date() const { return date_; }  // invalid: no bound
    void setDate(const QDate& date);
    void applyTexts(const TextTables& tables);
    // Where the calendar opens when no date is set: the last session's day.
    void setCalendarStart(const QDate& date) { calendarStart_ = date; }
    // The day as this filter writes it.
    QString dateText(const QDate& date) const;
    // The day a text names, in the language's way or as 2026-12-08; invalid when none.
    QDate dateOf(const QString& text) const;

signals:
    void dateChanged(const QDate& date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readTyped(const QString& text);
    void openCalendar();
    void showValid(bool valid);

    QLineEdit* edit_;
    QToolButton* calendarButton_;
    QMenu* calendarMenu_;
    QCalendarWidget* calendar_;
    QLocale locale_;
    QString format_;
    QDate date_;
    QDate calendarStart_;
};

}  // namespace tormel
