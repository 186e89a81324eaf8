#include "record/record_decoder.h"

#include "base/number_format.h"

#include <algorithm>

namespace tormel {

QString serialNumberText(const RecordImage& image)
{
    return QString::number(image.serialFirstPart()) + formatNumber(image.serialSecondPart(), QStringLiteral("0000"));
}

QString engineTimeText(std::uint8_t hoursBcd, std::uint8_t minutesBcd)
{
    QString minutes = QString::number(minutesBcd, 16).toUpper();
    if (minutes.size() == 1 && minutes.at(0).isDigit())
        minutes.prepend(QLatin1Char('0'));
    return QString::number(hoursBcd, 16).toUpper() + QLatin1Char(':') + minutes;
}

DecodedRecord decodeRecord(const RecordImage& image, const QString& stagesCaption)
{
    DecodedRecord d;
    d.serialNumber = serialNumberText(image);
    d.softwareVersionText = QStringLiteral("Soft Ver : ") + QString::number(image.softwareVersion());
    d.hardwareVersionText = QStringLiteral("Hard Ver : ") + QString::number(image.hardwareVersion());
    d.temperatureLimitText = QStringLiteral("T° Max : ") + QString::number(image.temperatureLimit());
    for (int n = 0; n < 5; ++n)
        d.engineTimes[std::size_t(n)] = engineTimeText(image.engineHoursBcd(n), image.engineMinutesBcd(n));

    if (image.rpmFactorByte() != 0)
        d.rpmFactor = image.rpmFactorByte() & 15;
    else
        d.rpmFactor = (image.flags() & 2) != 0 ? 4 : 2;

    const int serialSecond = image.serialSecondPart();
    d.measuredTemperatureUnit = image.byte(9) == 8 && serialSecond >= 200 && serialSecond <= 400 ? TemperatureUnit::Fahrenheit
                                                                                                : TemperatureUnit::Celsius;

    d.lapCount = std::min(int(image.lapCountPlusOne()) - 1, int(RecordImage::MaxLaps));
    d.stageCountText = stagesCaption + QString::number(image.stageCount());
    d.beaconsPerLap = image.sectorMode() + 1;
    d.modeText = QStringLiteral("Mode : ") + QString::number(image.recordMode());

    d.lowPointer = image.lowPointer();
    d.highPointer = image.highPointer();
    d.sampleCount = std::min(d.highPointer * 512 + d.lowPointer * 2 - 64, int(RecordImage::MaxSamples));
    d.temperatureOffset = (image.flags() & 32) != 0 ? image.temperatureOffset() : 0;
    d.kind = image.isRpmRecording() ? RecordKind::EngineSpeed : RecordKind::LapTiming;
    return d;
}

}  // namespace tormel
