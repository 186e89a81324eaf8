#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace tormel {

inline const QString errorLogFileName = QStringLiteral("Error.txt");

// The two lines of one report: title, version, date and time in the short
// formats of `locale`, then the caller's code unchanged.
QStringList errorReportLines(const QString& code, const QDateTime& when, const QLocale& locale = QLocale::system());

// Appends the report to "Error.txt" in the current folder. The caller
// carries on either way, so a failure is returned, never thrown; the old log
// stays whole when the write fails.
bool appendErrorReport(const QString& code, const QDateTime& when, QString* errorText = nullptr,
                       const QLocale& locale = QLocale::system());

}  // namespace tormel
