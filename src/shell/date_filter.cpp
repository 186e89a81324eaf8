#include "shell/date_filter.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QWidgetAction>

namespace tormel {

using namespace Qt::StringLiterals;

DateFilter::DateFilter(const QString& name, QWidget* parent)
    : QWidget(parent)
    , edit_(new QLineEdit)
    , calendarButton_(new QToolButton)
    , calendarMenu_(new QMenu(this))
    , calendar_(new QCalendarWidget)
{
    edit_->setObjectName(name);
    calendarButton_->setObjectName(name + "Calendar"_L1);
    calendar_->setObjectName(name + "Days"_L1);
    edit_->setClearButtonEnabled(true);
    edit_->setPlaceholderText(u"-"_s);
    edit_->installEventFilter(this);
    calendarButton_->setText(QString(QChar(0x25BE)));  // a small down-pointing triangle
    auto* action = new QWidgetAction(calendarMenu_);
    action->setDefaultWidget(calendar_);
    calendarMenu_->addAction(action);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(calendarButton_);
    connect(edit_, &QLineEdit::textChanged, this, &DateFilter::readTyped);
    connect(calendarButton_, &QToolButton::clicked, this, &DateFilter::openCalendar);
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate day) {
        calendarMenu_->close();
        setDate(day);
    });
    connect(calendar_, &QCalendarWidget::activated, this, [this](QDate day) {
        calendarMenu_->close();
        setDate(day);
    });
    applyTexts(frenchTextTables());
}

void DateFilter::applyTexts(const TextTables& tables)
{
    locale_ = languageLocale(tables.language);
    format_ = languageDateFormat(tables.language);
    calendar_->setLocale(locale_);
    calendar_->setFirstDayOfWeek(locale_.firstDayOfWeek());
    calendarButton_->setToolTip(tables.texts[libraryDateCalendar]);
    edit_->setToolTip(tables.texts[libraryDateExpected].arg(dateText(QDate::currentDate())));
    const QSignalBlocker quiet(edit_);
    edit_->setText(dateText(date_));
    showValid(true);
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(dateText(QDate(2026, 12, 28))) + 40);
}

void DateFilter::setDate(const QDate& date)
{
    edit_->setText(dateText(date));  // readTyped takes it
}

QString DateFilter::dateText(const QDate& date) const
{
    return date.isValid() ? locale_.toString(date, format_) : QString();
}

QDate DateFilter::dateOf(const QString& text) const
{
    const QString typed = text.trimmed();
    if (QDate iso = QDate::fromString(typed, Qt::ISODate); iso.isValid())
        return iso;
    // Days and months of one digit or two, years of four digits or two.
    QString loose = format_;
    loose.replace("dd"_L1, "d"_L1).replace("MM"_L1, "M"_L1);
    if (QDate day = locale_.toDate(typed, loose); day.isValid())
        return day;
    QString shortYear = loose;
    shortYear.replace("yyyy"_L1, "yy"_L1);
    QDate day = locale_.toDate(typed, shortYear);
    return day.isValid() && day.year() < 2000 ? day.addYears(100) : day;
}

void DateFilter::readTyped(const QString& text)
{
    const QString typed = text.trimmed();
    QDate date;
    if (!typed.isEmpty() && typed != "-"_L1) {
        date = dateOf(typed);
        showValid(date.isValid());
        if (!date.isValid())
            return;
    }
    showValid(true);
    if (date == date_)
        return;
    date_ = date;
    emit dateChanged(date_);
}

void DateFilter::showValid(bool valid)
{
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Text, valid ? QPalette().color(QPalette::Text) : QColor(0xb0, 0, 0));
    edit_->setPalette(palette);
    edit_->setProperty("valid", valid);
}

void DateFilter::openCalendar()
{
    const QDate start = date_.isValid() ? date_ : calendarStart_.isValid() ? calendarStart_ : QDate::currentDate();
    calendar_->setSelectedDate(start);
    calendar_->setCurrentPage(start.year(), start.month());
    calendarMenu_->popup(edit_->mapToGlobal(QPoint(0, edit_->height())));
    calendar_->setFocus();
}

bool DateFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            edit_->clear();
            return true;
        }
        if (key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && key->modifiers() & Qt::AltModifier)) {
            openCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tormel
