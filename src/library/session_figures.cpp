#include "library/session_figures.h"

#include "laps/lap_table.h"
#include "laps/rpm_statistics.h"
#include "texts/text_tables.h"

#include <QCryptographicHash>

#include <algorithm>
#include <vector>

namespace tormel {

namespace {

void lapTimingFigures(const LapTable& table, SessionFigures& f)
{
    f.laps = table.lapCount;
    std::vector<std::int32_t> times;
    std::int32_t quickest = 0;
    for (int lap = 1; lap <= table.lapCount; ++lap) {
        const auto t = std::int32_t(cellValue(table, table.rowOfLap(lap), RawLapTimeColumn));
        times.push_back(t);
        if (t > 0 && (quickest == 0 || t < quickest))
            quickest = t;
        if (lap == table.bestLap)
            f.bestTime = t;
        const int temperature = int(cellValue(table, table.rowOfLap(lap), TemperatureColumn));
        f.maxTemperature = std::max(f.maxTemperature.value_or(temperature), temperature);
    }
    f.bestLap = table.bestLap;
    f.theoreticalBest = std::int32_t(table.theoreticalTime);
    for (std::size_t k = 0; k < f.bestSections.size(); ++k)
        if (table.bestSectors[k].lap > 0)
            f.bestSections[k] = table.bestSectors[k].value;
    // Without a best lap named by the logger the racing laps are measured
    // against the quickest.
    f.consistency = consistencyOf(times, f.bestLap != 0 ? f.bestTime : quickest);
    f.maxRpm = table.bestRpm.value;
    const int engine = table.lapCount > 0 ? int(cellValue(table, table.rowOfLap(table.lapCount), EngineColumn)) : 0;
    f.engine = engine >= 1 && engine <= 5 ? engine : 0;
}

void engineSpeedFigures(const RpmStatistics& rpm, SessionFigures& f)
{
    f.maxRpm = rpm.maxRpm;
    if (rpm.lapCount < 2)
        return;
    f.laps = rpm.lapCount - 1;
    f.bestLap = rpm.bestLap;
    const auto lap = std::size_t(rpm.bestLap);
    f.bestTime = (rpm.lapStart[lap + 1] - rpm.lapStart[lap]) * RpmStatistics::SampleHundredths;
}

}  // namespace

QString sessionIdentity(const RecordImage& image)
{
    const QByteArray bytes(reinterpret_cast<const char*>(image.bytes.data()), qsizetype(image.bytes.size()));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

SessionFigures sessionFigures(const RecordImage& image)
{
    static const TextTables tables = frenchTextTables();
    RecordDocument document;
    document.open(image);
    document.analyse(tables, ViewOptions{});
    return sessionFigures(document);
}

SessionFigures sessionFigures(const RecordDocument& document)
{
    SessionFigures f;
    f.kind = document.kind();
    f.refusal = document.refusal();
    f.serialNumber = document.decoded().serialNumber;
    if (f.refusal != Refusal::None)
        return f;
    if (f.kind == RecordKind::LapTiming)
        lapTimingFigures(document.table(), f);
    else
        engineSpeedFigures(document.rpm(), f);
    return f;
}

}  // namespace tormel
