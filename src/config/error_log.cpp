#include "config/error_log.h"

#include "base/app_info.h"
#include "base/text_codec.h"

#include <QFile>
#include <QSaveFile>

namespace tormel {

QStringList errorReportLines(const QString& code, const QDateTime& when, const QLocale& locale)
{
    return {applicationTitle() + QStringLiteral(" Version ") + versionText()
                + locale.toString(when.date(), QLocale::ShortFormat) + locale.toString(when.time(), QLocale::ShortFormat),
            code};
}

bool appendErrorReport(const QString& code, const QDateTime& when, QString* errorText, const QLocale& locale)
{
    const auto fail = [errorText](const QString& why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    QSaveFile file(errorLogFileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    // The log is never trimmed, so copy it in pieces rather than whole.
    QFile old(errorLogFileName);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) {
            return fail(old.errorString());
        }
        while (!old.atEnd()) {
            const QByteArray chunk = old.read(64 * 1024);
            if (chunk.isEmpty() || file.write(chunk) != chunk.size()) {
                return fail(old.error() != QFileDevice::NoError ? old.errorString() : file.errorString());
            }
        }
    }
    const QByteArray report = windowsLines(errorReportLines(code, when, locale));
    if (file.write(report) != report.size() || !file.commit()) {
        const QString why = file.errorString();
        return fail(why);
    }
    return true;
}

}  // namespace tormel
