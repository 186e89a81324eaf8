#pragma once

#include "base/units.h"
#include "config/settings.h"
#include "record/record_image.h"
#include "texts/text_tables.h"

#include <QString>

namespace tormel {

// One of the serial ports the Communication menu offers.
struct PortNumber {
    static constexpr int First = 1;
    static constexpr int Last = 4;
    int value = First;

    static bool isPort(int n) { return n >= First && n <= Last; }
    friend bool operator==(PortNumber, PortNumber) = default;
};

// The user's choices as the window applies them; the menus show them.
struct WindowSettings {
    PortNumber port;
    SpeedUnit speedUnit = SpeedUnit::KilometresPerHour;
    TemperatureUnit temperatureUnit = TemperatureUnit::Celsius;
    Language language = Language::French;
    int currentTrack = 1;
    bool showToolTips = true;

    friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

// The settings file's words as values, and back.
WindowSettings windowSettingsOf(const SystemSettings& stored);
SystemSettings storedSettingsOf(const WindowSettings& settings);

// Where the record on screen came from.
enum class RecordSource { None, File, Download };

// The record the window shows, as the title, the menus and every command
// learn it.
struct ShownRecord {
    RecordSource source = RecordSource::None;
    // The file shown; none after a download until it is saved.
    QString path;
    // The file a download was kept in (its dated copy, else the last image
    // received); what its laps are compared from until it is saved.
    QString keptPath;
    // The port a download came from, or the window listens on.
    PortNumber port;
    QString serialNumber;
    // Bytes the file gave; fewer than an image when it was cut short.
    int bytesRead = RecordImage::Size;

    bool whole() const { return bytesRead >= RecordImage::Size; }
};

ShownRecord recordFromFile(const QString& path, const QString& serialNumber, int bytesRead);
ShownRecord recordFromDownload(PortNumber port, const QString& keptPath, const QString& serialNumber);

// What the window is doing besides showing a record.
struct WindowActivity {
    bool listening = false;
    PortNumber listeningPort;
};

// The window's title: the file shown and its serial number (and how much
// of it was read), else the port listened on or downloaded from.
QString windowTitleOf(const ShownRecord& shown, const WindowActivity& activity, const TextTables& tables);
// The file whose laps a comparison reads; empty when there is none.
QString comparedPathOf(const ShownRecord& shown);
// The name a report of the record is offered under, without extension.
QString reportBaseNameOf(const ShownRecord& shown);

}  // namespace tormel
