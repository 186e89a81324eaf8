#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace tormel {

// The user's choices remembered between runs, with their defaults.
struct SystemSettings {
    std::int16_t Port_Com = 1;        // 1..4
    std::int16_t Choix_Vitesse = 0;   // 0 km/h, 1 miles/h
    std::int16_t Choix_Temp = 0;      // 0 degrees C, 1 degrees F
    std::int16_t Choix_Langue = 0;    // 0..5, Francais first
    std::int16_t Piste_Courante = 1;  // 1..100
    bool AffTip = true;               // tool tips shown

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

// Sauve_System: rewrites the 10 bytes of the settings file in the program
// folder (bytes past them are kept). On failure the old file stays whole,
// false is returned and `errorText` says why; the caller keeps its values.
bool Sauve_System(const QString& programFolder, const SystemSettings& values, QString* errorText = nullptr);

// Charge_System: the stored values, corrected. A missing or unreadable file
// gives the defaults. Applying them to the menus is the window's work.
SystemSettings Charge_System(const QString& programFolder);

}  // namespace tormel
