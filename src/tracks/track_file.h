#pragma once

#include "base/number_format.h"

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
struct TrackRecord {
    std::int16_t marker = 0;
    QString name;
    QString town;
    QString country;
    std::array<float, 4> lengths{};  // lap, then the three sections
    std::int16_t lengthUnit = 0;     // 0 m, 1 Miles, 2 Feet, 3 Yard

    friend bool operator==(const TrackRecord&, const TrackRecord&) = default;
};

// The track held by the window and the two flags of the editor.
struct TrackState {
    TrackRecord record;
    bool modified = false;  // the editor differs from the file
    bool loading = false;   // loadTrack is filling the editor: its changes are not the user's
};

// What loadTrack and saveTrack need of the track editor. VNC(0..2) hold
// name, town and country, VNC(3) the lap length, VNC(4..6) the sections.
class TrackEditorView {
public:
    virtual ~TrackEditorView() = default;
    virtual QString fieldText(int index) const = 0;                  // VNC(index)
    virtual void setFieldText(int index, const QString& text) = 0;   // VNC(index)
    virtual QString fieldCaption(int index) const = 0;               // nom_champ(index)
    virtual void selectUnit(int unit) = 0;                           // Unit_Piste(unit)
    virtual void setTrackNumberCaption(const QString& caption) = 0;  // Numero_Piste
    virtual void setTracksMenuCaption(const QString& caption) = 0;   // menu item Pistes
    virtual bool isEditorVisible() const = 0;                        // Frame_Piste
    virtual void focusName() = 0;                                    // VNC(0)
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
QByteArray encodeTrackRecord(const TrackRecord& track);
// A record from its bytes (missing bytes read as zero). A length that is not
// a finite number counts as not given.
TrackRecord decodeTrackRecord(const QByteArray& bytes);

// defaultTrack: the defaults of track `trackNumber`, named after the captions of
// the editor's first three labels.
TrackRecord defaultTrack(int trackNumber, const std::array<QString, 3>& fieldCaptions);

// showLengths: the four lengths in the record's unit into VNC(3..6),
// the sections first and the lap length last.
void showLengths(const TrackRecord& track, TrackEditorView& view,
                       QChar decimalSeparator = systemDecimalSeparator());

// A length typed in the editor, in its unit: its leading number, with a
// comma or a point as the decimal separator whatever the locale ("12,5" and
// "12.5" are both 12.5, "1,250" is 1.25, "12abc" is 12). Empty, or no
// leading number, gives no value.
std::optional<double> typedLength(const QString& text);
// Whether a length field may be saved: empty (not given) or a length.
bool isLengthField(const QString& text);

// loadTrack: reads track `trackNumber` of Pistes.aqw in the current folder into
// `state`, creating or re-initialising the record as needed, and shows it.
// An empty file makes it track 1 (`trackNumber` changes). A number outside 1..100
// is refused: state, view and file are left alone.
TrackResult loadTrack(std::int16_t& trackNumber, TrackState& state, TrackEditorView& view,
                       QChar decimalSeparator = systemDecimalSeparator());

// saveTrack: the editor's texts into `state` and record `trackNumber` of the
// file. On a failed write the values stay in memory and modified stays
// set, so a later save can still write them.
TrackResult saveTrack(std::int16_t trackNumber, TrackState& state, const TrackEditorView& view);

// Reads track `trackNumber` of the file at `path` without ever creating or
// changing it. No value for a missing file, a number out of range or a
// record that was never initialised. Texts come trimmed.
std::optional<TrackRecord> readTrack(const QString& path, int trackNumber);

// The four lengths in metres of track `trackNumber`, read the same way.
std::optional<std::array<float, 4>> readTrackLengths(const QString& path, int trackNumber);

}  // namespace tormel
