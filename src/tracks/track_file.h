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

// From metres to the unit shown in the editor, indexed by Unite_Longueur:
// m, Miles, Feet, Yard.
inline const std::array<float, 4> Facteur_Distance{1.0F, static_cast<float>(1.0 / 1609.344),
                                                   static_cast<float>(1.0 / 0.3048), static_cast<float>(1.0 / 0.9144)};

// One track. Lengths are metres; 0 or less means not given.
struct Fiche_Piste {
    std::int16_t Marque_Piste = 0;
    QString Nom;
    QString Hammeau;
    QString Country;
    std::array<float, 4> Distances{};  // lap, then the three sections
    std::int16_t Unite_Longueur = 0;   // 0 m, 1 Miles, 2 Feet, 3 Yard

    friend bool operator==(const Fiche_Piste&, const Fiche_Piste&) = default;
};

// The track held by the window and the two flags of the editor.
struct TrackState {
    Fiche_Piste fiche;
    bool Piste_Modifiee = false;    // the editor differs from the file
    bool Piste_Chargement = false;  // Lire_Piste is filling the editor: its changes are not the user's
};

// What Lire_Piste and Sauve_Piste need of the track editor. VNC(0..2) hold
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
QByteArray encodeTrackRecord(const Fiche_Piste& fiche);
// A record from its bytes (missing bytes read as zero). A length that is not
// a finite number counts as not given.
Fiche_Piste decodeTrackRecord(const QByteArray& bytes);

// Init_Piste: the defaults of track `numero`, named after the captions of
// the editor's first three labels.
Fiche_Piste Init_Piste(int numero, const std::array<QString, 3>& nomChamp);

// Display_Distances: the four lengths in the record's unit into VNC(3..6),
// the sections first and the lap length last.
void Display_Distances(const Fiche_Piste& fiche, TrackEditorView& view,
                       QChar decimalSeparator = systemDecimalSeparator());

// A length typed in the editor, in its unit: its leading number, with a
// comma or a point as the decimal separator whatever the locale ("12,5" and
// "12.5" are both 12.5, "1,250" is 1.25, "12abc" is 12). Empty, or no
// leading number, gives no value.
std::optional<double> typedLength(const QString& text);
// Whether a length field may be saved: empty (not given) or a length.
bool isLengthField(const QString& text);

// Lire_Piste: reads track `numero` of Pistes.aqw in the current folder into
// `state`, creating or re-initialising the record as needed, and shows it.
// An empty file makes it track 1 (`numero` changes). A number outside 1..100
// is refused: state, view and file are left alone.
TrackResult Lire_Piste(std::int16_t& numero, TrackState& state, TrackEditorView& view,
                       QChar decimalSeparator = systemDecimalSeparator());

// Sauve_Piste: the editor's texts into `state` and record `numero` of the
// file. On a failed write the values stay in memory and Piste_Modifiee stays
// set, so a later save can still write them.
TrackResult Sauve_Piste(std::int16_t numero, TrackState& state, const TrackEditorView& view);

// Reads track `numero` of the file at `path` without ever creating or
// changing it. No value for a missing file, a number out of range or a
// record that was never initialised. Texts come trimmed.
std::optional<Fiche_Piste> readTrack(const QString& path, int numero);

// The four lengths in metres of track `numero`, read the same way.
std::optional<std::array<float, 4>> lireDistancesPiste(const QString& path, int numero);

}  // namespace tormel
