#include "laps/export.h"

#include "base/text_codec.h"

#include <charconv>

namespace tormel {

namespace {

const QChar Tab = QLatin1Char('\t');
const QChar Cr = QLatin1Char('\r');
const QString CrLf = QStringLiteral("\r\n");

QString dateLine(const QDateTime& now)
{
    return now.date().toString(QStringLiteral("MM-dd-yyyy")) + Tab + now.time().toString(QStringLiteral("hh:mm:ss")) + Tab + CrLf;
}

// A number with one blank for its sign (none before a minus) and one after,
// added to the bytes as they go: a record has up to 1984 such lines.
void appendSignedField(QByteArray& bytes, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    if (value >= 0)
        bytes.append(' ');
    bytes.append(digits, end - digits);
    bytes.append(' ');
}

}  // namespace

QByteArray exportLapTable(const LapTable& table, const QDateTime& now)
{
    QString text = dateLine(now);
    for (const LapTableRow& row : table.rows) {
        for (const LapCell& cell : row.cells)
            text += cell.text + Tab;
        text += Cr;
    }
    return toWindows1252(text);
}

QByteArray exportRpm(const RecordImage& image, const DecodedRecord& record, const RpmStatistics& stats,
                     const TextTables& texts, const QDateTime& now)
{
    const QString& sectionCaption = texts.texts[sector1Field];
    const qsizetype blank = sectionCaption.indexOf(QLatin1Char(' '));
    const QString firstWord = (blank < 0 ? sectionCaption : sectionCaption.left(blank)).trimmed();

    QString text = dateLine(now);
    text += texts.texts[lapPrefix] + Tab + firstWord + Tab + texts.texts[rpmWord] + Tab + CrLf;

    QByteArray lines;
    lines.reserve(stats.sampleCount * 20);
    const int beaconsPerLap = record.beaconsPerLap;
    int beacon = beaconsPerLap - 1;
    int lap = 0;
    for (int s = 0; s < stats.sampleCount; ++s) {
        if ((image.sample(s) & 128) != 0 && ++beacon == beaconsPerLap) {
            beacon = 0;
            ++lap;
        }
        appendSignedField(lines, lap);
        lines.append('\t');
        appendSignedField(lines, beacon);
        lines.append('\t');
        appendSignedField(lines, stats.rawRpm[std::size_t(s)]);
        lines.append("\r\n");
    }
    // The sample lines are plain ASCII: only the heading needs the code page.
    return toWindows1252(text) + lines;
}

std::optional<QString> writeExport(const QString& path, const QByteArray& bytes)
{
    QString reason;
    if (!saveWholeFile(path, bytes, &reason))
        return reason;
    return std::nullopt;
}

bool hasXlsExtension(const QString& fileName)
{
    return fileName.endsWith(QStringLiteral("xls"), Qt::CaseSensitive);
}

}  // namespace tormel
