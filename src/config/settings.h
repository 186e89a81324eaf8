#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace tormel {

// The user's choices remembered between runs, with their defaults.
struct SystemSettings {
    std::int16_t comPort = 1;          // 1..4
    std::int16_t speedUnit = 0;        // 0 km/h, 1 miles/h
    std::int16_t temperatureUnit = 0;  // 0 degrees C, 1 degrees F
    std::int16_t language = 0;         // 0..5, Francais first
    std::int16_t currentTrack = 1;     // 1..100
    bool showToolTips = true;          // tool tips shown

    friend bool operator==(const SystemSettings&, const SystemSettings&) = default;
};

inline const QString settingsFileName = QStringLiteral("Tormport.dat");

QString settingsFilePath(const QString& programFolder);

// The five little-endian words of the settings file.
QByteArray settingsBytes(const SystemSettings& values);

// Values from the bytes of a settings file, every value out of range
// replaced by its default; short contents leave the missing values at their
// defaults.
SystemSettings settingsFromBytes(const QByteArray& bytes);

// saveSettings: rewrites the 10 bytes of the settings file in the program
// folder (bytes past them are kept). On failure the old file stays whole,
// false is returned and `errorText` says why; the caller keeps its values.
bool saveSettings(const QString& programFolder, const SystemSettings& values, QString* errorText = nullptr);

// loadSettings: the stored values, corrected. A missing or unreadable file
// gives the defaults. Applying them to the menus is the window's work.
SystemSettings loadSettings(const QString& programFolder);

}  // namespace tormel
