#pragma once

#include "texts/text_tables.h"

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <array>
#include <cstdint>
#include <optional>

namespace tormel {

// The menu captions in the order of the menu file, one per line.
inline constexpr int menuCaptionCount = 36;
using MenuCaptions = std::array<QString, menuCaptionCount>;

// Positions (0-based) of the captions the window composes or replaces.
inline constexpr int menuNew = 2;                 // Nouveau, the download
inline constexpr int menuOptions = 8;             // title of the language menu
inline constexpr int menuLanguageFirst = 9;       // Langue(0) .. Langue(5)
inline constexpr int menuUnits = 15;              // title of the units menu
inline constexpr int menuSpeedUnitFirst = 16;     // Unite_Vitesse(0), (1)
inline constexpr int menuCommunication = 18;      // title of the port menu
inline constexpr int menuComFirst = 19;           // Com(1) .. Com(4)
inline constexpr int menuTracks = 23;
inline constexpr int menuTrackEditor = 24;

// The design-time French captions.
MenuCaptions frenchMenuCaptions();

// Qt's own texts (dialog buttons, file errors) in `language`: `translator` takes Qt's catalogue for it and is installed in its
// place, if Qt has one.
void installQtTexts(QTranslator& translator, Language language);

// Largest language file we read; anything bigger is not a language file and
// counts as a read failure.
inline constexpr qint64 maxLanguageFileBytes = 4 * 1024 * 1024;

// Fields of the language files: a field starting with a double quote runs to
// the next double quote on its line and is taken exactly (a quote left open
// runs to the line end); any other field runs to the next comma or line end,
// blanks before it skipped.
class FieldReader {
public:
    explicit FieldReader(QString text);

    // Only blanks and line ends are left.
    bool atEnd() const;
    // No value when nothing is left.
    std::optional<QString> readText();
    // A signed 16-bit number; no value when the field is not one.
    std::optional<std::int16_t> readNumber();

private:
    void skipBlanks();
    void skipDelimiter();

    QString text_;
    qsizetype pos_ = 0;
};

// Name of a language file in `folder`: prefix "Textes_", "Tips_", "Menu_" or
// "Help_", then the language's number, 0 to 5.
QString languageFilePath(const QString& folder, const QString& prefix, Language language);
// The files of one name to read, in order: the shipped one in
// `shippedFolder` (the installed data; empty or missing for a build or a
// portable copy), then the user's own in `folder` over it, entry by entry.
// A user's file that is a copy of a shipped version is passed over where a
// shipped file lies beneath: it holds no edit and would hide newer texts.
QStringList languageFileLayers(const QString& folder, const QString& shippedFolder, const QString& prefix, Language language);
// The file a reader names when it finds none of that name: the shipped one
// when there is a shipped folder, else the user's.
QString missingLanguageFile(const QString& folder, const QString& shippedFolder, const QString& prefix, Language language);

// Pairs of index and text. False on a read failure (missing file, a field
// that does not parse, a negative index); the pairs stored before it stay.
// Indices past the table's last (299) are skipped. A user's file read over
// the shipped one (`overShipped`) keeps the shipped text where its own entry
// is empty or holds a text some version shipped for it (`isShippedText`), so
// that a table saved whole by an older version hides no newer text.
bool readTextsFile(const QString& path, TextTables& tables, bool overShipped = false);
// The same into the tips; here any index outside 0..25 is a failure.
bool readTipsFile(const QString& path, TextTables& tables, bool overShipped = false);

struct TextReadStatus {
    bool textsRead = false;
    bool tipsRead = false;  // false as well when the text table failed: it is then not read
};

// readTexts: the text table then, if it read whole, the tool-tip table of
// `language`, each from its layers; a layer that fails, or no file at all,
// is a failure. Failures are silent for the user; the status is for tests
// and logs.
TextReadStatus readTexts(const QString& folder, Language language, TextTables& tables,
                           const QString& shippedFolder = QString());

struct MenuReadStatus {
    bool failed = false;
    int fieldsRead = 0;  // captions replaced before a failure stay replaced
    QString failedFile;  // the file that failed or was not found
};

// The 36 captions in order; read over the shipped file, the same entries as
// in the text table keep the shipped caption.
MenuReadStatus readMenuFile(const QString& path, MenuCaptions& captions, bool overShipped = false);

// readMenus: the 36 captions of `language` into `captions`, from the
// layers of the menu file; `fieldsRead` counts those set by any layer.
// Composing the titles and telling the user about a failure is the window's
// work.
MenuReadStatus readMenus(const QString& folder, Language language, MenuCaptions& captions,
                          const QString& shippedFolder = QString());

// The help of `language`: the user's own file when there is one, else the
// shipped one. UTF-8, or Windows-1252 when the bytes are not UTF-8 (help
// written for older copies). No text when neither can be read; `path` is
// then the file a message should name.
struct HelpText {
    QString path;
    std::optional<QString> text;
};
HelpText readHelp(const QString& folder, const QString& shippedFolder, Language language);

// Translation tools: write the current tables or captions as the files of
// `language`, replacing them whole. A double quote cannot be written inside
// a quoted text and becomes an apostrophe.
bool saveTexts(const QString& folder, Language language, const TextTables& tables, QString* errorText = nullptr);
bool saveTips(const QString& folder, Language language, const TextTables& tables, QString* errorText = nullptr);
// One caption per line; a caption with a comma or leading blanks is quoted so
// that it reads back as one field.
bool saveMenus(const QString& folder, Language language, const MenuCaptions& captions, QString* errorText = nullptr);

// The file contents the writers produce.
QByteArray textsFileBytes(const TextTables& tables);
QByteArray tipsFileBytes(const TextTables& tables);
QByteArray menuFileBytes(const MenuCaptions& captions);

}  // namespace tormel
