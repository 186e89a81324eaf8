#pragma once

#include "texts/text_tables.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace tormel {

// What a key of the sheet holds.
enum class SetupFieldKind { Text, Whole, Engine, Number };

// A key of the file whose value is not of its field's kind: the field is
// left empty and the value kept as it is in the file.
struct MistypedField {
    QString key;
    SetupFieldKind expected;
    friend bool operator==(const MistypedField&, const MistypedField&) = default;
};

// The setup a session was driven with, as the user noted it. A number not
// filled in is absent, a text not filled in is empty.
struct SetupSheet {
    QString driver;
    QString kart;
    std::optional<int> engine;         // 1 to 5
    std::optional<int> frontSprocket;  // teeth
    std::optional<int> rearSprocket;   // teeth
    std::optional<int> mainJet;
    std::optional<double> needle;  // clip position, may be between two clips
    QString tyres;                 // the make
    std::optional<double> frontPressure;  // bar
    std::optional<double> rearPressure;   // bar
    QString trackCondition;
    std::optional<double> airTemperature;  // °C, whatever unit the window shows
    QString remark;
    // Keys of the file this program does not know (a newer version's, the
    // user's own), and known keys of the wrong kind: written back as they
    // were read, unless their field is filled in.
    QJsonObject otherKeys;
    std::vector<MistypedField> mistyped;

    // Nothing filled in and nothing kept: the file would be `{}`.
    bool isEmpty() const;
    // Rear teeth over front teeth; none without both or with no front teeth.
    std::optional<double> sprocketRatio() const;

    friend bool operator==(const SetupSheet&, const SetupSheet&) = default;
};

// One field of the sheet: its key in the file, what it holds, its caption,
// and the member of the sheet that keeps it (one of the three).
struct SetupField {
    QLatin1StringView key;
    SetupFieldKind kind;
    TextEntry caption;
    QString SetupSheet::*text = nullptr;
    std::optional<int> SetupSheet::*whole = nullptr;  // Whole and Engine
    std::optional<double> SetupSheet::*number = nullptr;
    // Kept in °C, shown in the unit the user chose.
    bool temperature = false;
};

inline constexpr int SetupFieldCount = 13;
// Every field, in the order the panel, the comparison and the command line
// show them: the one place the sheet's keys are spelled.
const std::array<SetupField, SetupFieldCount>& setupFields();

// What a field of a sheet holds: nothing when not filled in, a text, or a number.
using SetupValue = std::variant<std::monostate, QString, double>;
SetupValue setupValue(const SetupSheet& sheet, const SetupField& field);

// Why a file holds no setup sheet, as a value: the command line words it in
// English (`englishText`), the window in the chosen language
// (`setupSheetErrorText`), and the index keeps it as `stored()`.
struct SetupSheetError {
    enum class Kind { None, Unreadable, NotJson, NotObject };
    Kind kind = Kind::None;
    int parseError = 0;  // NotJson: the reader's QJsonParseError::ParseError
    qint64 offset = 0;   // NotJson: the byte it stopped at
    QString detail;      // Unreadable: the system's reason

    bool failed() const { return kind != Kind::None; }
    QString stored() const;
    static SetupSheetError fromStored(const QString& text);
    friend bool operator==(const SetupSheetError&, const SetupSheetError&) = default;
};
QString englishText(const SetupSheetError& error);
QString setupSheetErrorText(const SetupSheetError& error, const TextTables& tables);

struct ParsedSetupSheet {
    std::optional<SetupSheet> sheet;  // none when the bytes are no setup sheet
    SetupSheetError error;            // then why
};

// A JSON object; a known key null or absent is not filled in, a known key of
// the wrong type or out of range is named in `mistyped` and its field left
// empty. Only bytes that are no JSON object are refused.
ParsedSetupSheet parseSetupSheet(const QByteArray& bytes);

// "frontSprocket" is not a tooth count: in English, for the command line.
QString mistypedText(const MistypedField& field);

// The sheet as edited, where each field the user left as it was shown
// (`shown`) takes the value it had in `original`: a panel that cannot show
// a value whole (a long remark, a number out of its box's range, more
// decimals than it shows) never changes it.
SetupSheet keepUnchangedFields(SetupSheet edited, const SetupSheet& shown, const SetupSheet& original);

// Indented JSON in UTF-8: the fields filled in and the kept keys.
QByteArray setupSheetBytes(const SetupSheet& sheet);

// NAME.setup.json beside the record NAME.Tml (any case of the extension).
QString setupSheetBesideRecord(const QString& recordPath);
// setups/IDENTITY.setup.json in the per-user data folder, for records in a
// folder that cannot be written. The program's data folder is the folder of
// `SessionIndex::standardFile()`.
QString setupSheetInDataFolder(const QString& identity, const QString& dataFolder);

enum class SetupSheetState {
    None,    // no file anywhere
    Read,    // `sheet` read from `path`
    Broken,  // `path` holds no setup sheet (`error`): show none, never write over it
};

struct FoundSetupSheet {
    SetupSheetState state = SetupSheetState::None;
    SetupSheet sheet;
    QString path;
    SetupSheetError error;
};

// What `path` holds: nothing, a sheet, or a file that is none.
FoundSetupSheet readSetupSheetAt(const QString& path);

// The file that holds the session's sheet, empty when there is none: the
// first beside the session's record files, in their order, unless the one
// in the data folder is newer.
QString setupSheetPath(const QStringList& recordPaths, const QString& identity, const QString& dataFolder);
// The same, told which sheet files exist by `exists` (the index lists each
// folder once instead of asking for every session's files).
QString setupSheetPath(const QStringList& recordPaths, const QString& identity, const QString& dataFolder,
                       const std::function<bool(const QString&)>& exists);

// The sheet of that file.
FoundSetupSheet readSetupSheet(const QStringList& recordPaths, const QString& identity, const QString& dataFolder);

struct SavedSetupSheet {
    QString path;  // where the sheet went; empty when it went nowhere
    // Then why: a file in the way that holds no setup sheet (left as it is),
    // or the system's reasons for each place tried.
    QString brokenPath;
    SetupSheetError broken;
    QString besidePath;
    QString besideError;
    QString keptPath;
    QString keptError;
};
// Why the sheet was not saved, in English or in the chosen language.
QString englishText(const SavedSetupSheet& saved);
QString setupNotSavedText(const SavedSetupSheet& saved, const TextTables& tables);

// Writes the sheet beside the record, or in the data folder (creating its
// setups/) when the record's folder cannot be written. A file there that
// holds no setup sheet is left as it is and nothing is written.
SavedSetupSheet saveSetupSheet(const SetupSheet& sheet, const QString& recordPath, const QString& identity,
                               const QString& dataFolder);

}  // namespace tormel
