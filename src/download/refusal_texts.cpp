#include "download/refusal_texts.h"

#include <QStringList>

#include <numeric>

namespace tormel {

namespace {

// The line errors that came, as "framing 1, parity 2".
QString lineErrorList(const std::array<int, 10>& counters)
{
    static const std::array<const char*, 10> names{
        "end-of-file",          "break",   "clear-to-send time-out", "data-set-ready time-out", "framing",
        "port overrun",         "carrier-detect time-out", "receive buffer overflow", "parity", "transmit buffer full"};
    QStringList errors;
    for (std::size_t i = 0; i < counters.size(); ++i)
        if (counters[i] != 0)
            errors << QStringLiteral("%1 %2").arg(QLatin1String(names[i])).arg(counters[i]);
    return errors.join(QStringLiteral(", "));
}

}  // namespace

QString englishRefusalText(const ReceiveRules& rules)
{
    const qint64 bytes = rules.bytesReceived();
    switch (rules.refusal()) {
    case DownloadRefusal::LineLost: return QStringLiteral("the line went away after %1 bytes").arg(bytes);
    case DownloadRefusal::QuietLine:
        return QStringLiteral("%1 of %2 bytes, then 2 s quiet").arg(bytes).arg(ReceiveRules::ImageBytes);
    case DownloadRefusal::TooManyBytes: return QStringLiteral("more than %1 bytes").arg(ReceiveRules::ImageBytes);
    case DownloadRefusal::LineErrors: return QStringLiteral("line errors: %1").arg(lineErrorList(rules.counters()));
    case DownloadRefusal::Stopped:
        return QStringLiteral("stopped with %1 of %2 bytes").arg(bytes).arg(ReceiveRules::ImageBytes);
    case DownloadRefusal::None: break;
    }
    return {};
}

QString refusalText(const ReceiveRules& rules, const TextTables& tables)
{
    const auto& t = tables.texts;
    const qint64 bytes = rules.bytesReceived();
    switch (rules.refusal()) {
    case DownloadRefusal::LineLost: return t[refusedLineLost].arg(bytes);
    case DownloadRefusal::QuietLine: return t[refusedQuietLine].arg(bytes);
    case DownloadRefusal::TooManyBytes: return t[refusedTooManyBytes];
    case DownloadRefusal::LineErrors:
        return t[refusedLineErrors].arg(std::accumulate(rules.counters().begin(), rules.counters().end(), 0));
    case DownloadRefusal::Stopped: return t[refusedStopped].arg(bytes);
    case DownloadRefusal::None: break;
    }
    return {};
}

}  // namespace tormel
