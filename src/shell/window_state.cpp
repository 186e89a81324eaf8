#include "shell/window_state.h"

#include "base/app_info.h"
#include "record/record_file.h"

#include <QFileInfo>

namespace tormel {

WindowSettings windowSettingsOf(const SystemSettings& stored)
{
    // The stored words were corrected when read: each is in its range.
    WindowSettings s;
    s.port = PortNumber{PortNumber::isPort(stored.comPort) ? stored.comPort : PortNumber::First};
    s.speedUnit = stored.speedUnit == 1 ? SpeedUnit::MilesPerHour : SpeedUnit::KilometresPerHour;
    s.temperatureUnit = stored.temperatureUnit == 1 ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
    s.language = languageOfNumber(stored.language);
    s.currentTrack = stored.currentTrack;
    s.showToolTips = stored.showToolTips;
    return s;
}

SystemSettings storedSettingsOf(const WindowSettings& settings)
{
    SystemSettings s;
    s.comPort = std::int16_t(settings.port.value);
    s.speedUnit = std::int16_t(settings.speedUnit);
    s.temperatureUnit = std::int16_t(settings.temperatureUnit);
    s.language = std::int16_t(settings.language);
    s.currentTrack = std::int16_t(settings.currentTrack);
    s.showToolTips = settings.showToolTips;
    return s;
}

ShownRecord recordFromFile(const QString& path, const QString& serialNumber, int bytesRead)
{
    return {RecordSource::File, path, path, PortNumber{}, serialNumber, bytesRead};
}

ShownRecord recordFromDownload(PortNumber port, const QString& keptPath, const QString& serialNumber)
{
    return {RecordSource::Download, QString(), keptPath, port, serialNumber, RecordImage::Size};
}

QString windowTitleOf(const ShownRecord& shown, const WindowActivity& activity, const TextTables& tables)
{
    const auto onPort = [&tables](PortNumber port) {
        return tables.texts[listeningTitle]
            .arg(applicationTitle(), QStringLiteral("%1.%2").arg(versionMajor).arg(versionMinor))
            .arg(port.value);
    };
    if (activity.listening)
        return onPort(activity.listeningPort);
    switch (shown.source) {
    case RecordSource::None: break;
    case RecordSource::Download: return onPort(shown.port);
    case RecordSource::File: {
        QString title = recordCaption(shown.path, shown.serialNumber);
        if (!shown.whole())
            title += tables.texts[titleTruncated].arg(shown.bytesRead).arg(RecordImage::Size);
        return title;
    }
    }
    return applicationTitle();
}

QString comparedPathOf(const ShownRecord& shown)
{
    return shown.source == RecordSource::None ? QString() : shown.keptPath;
}

QString reportBaseNameOf(const ShownRecord& shown)
{
    if (shown.source == RecordSource::File)
        return QFileInfo(shown.path).completeBaseName();
    return applicationTitle();
}

}  // namespace tormel
