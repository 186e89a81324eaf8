#pragma once

#include "base/number_format.h"
#include "texts/text_tables.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace tormel {

inline const QString trackFileName = QStringLiteral("Pistes.aqw");
inline constexpr int trackRecordSize = 210;
inline constexpr std::int16_t trackMarker = 210;  // an initialised record
inline constexpr int trackTextSize = 50;
inline constexpr int firstTrack = 1;
inline constexpr int lastTrack = 100;

// From metres to the unit shown in the editor, indexed by lengthUnit:
// m, Miles, Feet, Yard.
inline const std::array<float, 4> lengthUnitFactors{1.0F, static_cast<float>(1.0 / 1609.344),
                                                   static_cast<float>(1.0 / 0.3048), static_cast<float>(1.0 / 0.9144)};

// One track. Lengths are metres; 0 or less means not given.
struct Track {
    std::int16_t marker = 0;
    QString name;
    QString town;
    QString country;
    std::array<float, 4> lengths{};  // lap, then the three sections
    std::int16_t lengthUnit = 0;     // 0 m, 1 Miles, 2 Feet, 3 Yard

    friend bool operator==(const Track&, const Track&) = default;
};

// The track held by the window, and whether the editor differs from the file.
struct TrackState {
    Track record;
    bool modified = false;
    bool writeFailureShown = false;  // the user was told the track file cannot be written
};

enum class TrackStatus {
    Done,
    WriteFailed,     // the values are in memory and on screen, not in the file
    NumberRefused,   // not a track number 1..100: nothing read or written
};

struct TrackResult {
    TrackStatus status = TrackStatus::Done;
    QString errorText;  // why the write failed
};

bool isTrackNumber(int number);

// A text cut or blank-padded to the 50 characters of a record.
QString fixedTrackText(const QString& text);

// The 210 bytes of a record; the 40 unused bytes are zero.
QByteArray encodeTrackRecord(const Track& track);
// A record from its bytes (missing bytes read as zero). A length that is not
// a finite number counts as not given.
Track decodeTrackRecord(const QByteArray& bytes);

// The names of a new track, each followed by its number: those of the
// editor's first three fields (texts 43..45), so that "Nom1" is the French
// track 1.
std::array<QString, 3> newTrackNames(const TextTables& tables);
// defaultTrack: the defaults of track `trackNumber`.
Track defaultTrack(int trackNumber, const std::array<QString, 3>& names);

// lengthTexts: the lap length and the three sections as the editor shows
// them, in the record's unit.
std::array<QString, 4> lengthTexts(const Track& track, QChar decimalSeparator = systemDecimalSeparator());

// A length typed in the editor, in its unit: its leading number, with a
// comma or a point as the decimal separator whatever the locale ("12,5" and
// "12.5" are both 12.5, "1,250" is 1.25, "12abc" is 12). Empty, or no
// leading number, gives no value.
std::optional<double> typedLength(const QString& text);
// Whether a length field may be saved: empty (not given) or a length.
bool isLengthField(const QString& text);

struct LoadedTrack {
    TrackResult result;
    std::int16_t number = 0;  // the track read: an empty file makes it track 1
    Track track;        // texts trimmed, unit 0..3
};
// loadTrack: reads track `trackNumber` of the track file at `path`, creating
// or re-initialising the record as needed with `names` (newTrackNames). A
// number outside 1..100 is refused: nothing is read or written.
LoadedTrack loadTrack(const QString& path, std::int16_t trackNumber, const std::array<QString, 3>& names);

// The track saving writes from the editor's seven fields (name, town,
// country, lap length, sections) over the track it shows, whose unit they
// are typed in: texts cut or padded to 50 characters, an empty length not
// given, a text that is no length keeping the length of `shown`.
Track editedTrack(Track shown, const std::array<QString, 7>& fields);

// saveTrack: writes `track` as record `trackNumber` of the file at `path`,
// keeping every other byte of the file.
TrackResult saveTrack(const QString& path, std::int16_t trackNumber, const Track& track);

// Reads track `trackNumber` of the file at `path` without ever creating or
// changing it. No value for a missing file, a number out of range or a
// record that was never initialised. Texts come trimmed.
std::optional<Track> readTrack(const QString& path, int trackNumber);

// The four lengths in metres of track `trackNumber`, read the same way.
std::optional<std::array<float, 4>> readTrackLengths(const QString& path, int trackNumber);

// A track a record brings along: the track file beside it (as the shipped
// examples have) and its track `trackNumber` there.
struct TrackBesideRecord {
    QString trackFile;
    Track track;
};
// The track to offer for a record opened with `trackNumber`: when the user's
// `trackFile` gives no lap length for that number (or there is no such file)
// and the track file in the record's folder gives one. Reads only.
std::optional<TrackBesideRecord> trackBesideRecord(const QString& recordPath, const QString& trackFile, int trackNumber);

}  // namespace tormel
