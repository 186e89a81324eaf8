#pragma once

#include "texts/text_tables.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace tormel {

// The menu captions in the order of the menu file, one per line.
inline constexpr int menuCaptionCount = 36;
using MenuCaptions = std::array<QString, menuCaptionCount>;

// Positions (0-based) of the captions the window composes or replaces.
inline constexpr int menuOptions = 8;             // title of the language menu
inline constexpr int menuLangueFirst = 9;         // Langue(0) .. Langue(5)
inline constexpr int menuUnites = 15;             // title of the units menu
inline constexpr int menuUniteVitesseFirst = 16;  // Unite_Vitesse(0), (1)
inline constexpr int menuCommunication = 18;      // title of the port menu
inline constexpr int menuComFirst = 19;           // Com(1) .. Com(4)
inline constexpr int menuPistes = 23;
inline constexpr int menuFramePiste = 24;

// The design-time French captions.
MenuCaptions frenchMenuCaptions();

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
// "Help_", then the language number 0 to 5.
QString languageFilePath(const QString& folder, const QString& prefix, int language);
// The language file to read: the one in `folder`, or when `folder` lacks it
// and `fallbackFolder` (the installed data folder) has it, that one.
QString languageFileToRead(const QString& folder, const QString& fallbackFolder, const QString& prefix, int language);

// Pairs of index and text. False on a read failure (missing file, a field
// that does not parse, a negative index); the pairs stored before it stay.
// Indices past the table's last (199) are skipped.
bool readTextesFile(const QString& path, TextTables& tables);
// The same into Tips; here any index outside 0..25 is a failure.
bool readTipsFile(const QString& path, TextTables& tables);

struct TextReadStatus {
    bool textesRead = false;
    bool tipsRead = false;  // false as well when the text table failed: it is then not read
};

// Lire_Textes: the text table then, if it read whole, the tool-tip table of
// `language`. Failures are silent for the user; the status is for tests and logs.
TextReadStatus Lire_Textes(const QString& folder, int language, TextTables& tables,
                           const QString& fallbackFolder = QString());

struct MenuReadStatus {
    bool failed = false;
    int fieldsRead = 0;  // captions replaced before a failure stay replaced
};

MenuReadStatus readMenuFile(const QString& path, MenuCaptions& captions);

// Lire_Menus: the 36 captions of `language` into `captions`. Composing the
// titles and telling the user about a failure is the window's work.
MenuReadStatus Lire_Menus(const QString& folder, int language, MenuCaptions& captions,
                          const QString& fallbackFolder = QString());

// Translation tools: write the current tables or captions as the files of
// `language`, replacing them whole. A double quote cannot be written inside
// a quoted text and becomes an apostrophe.
bool Sauve_Textes(const QString& folder, int language, const TextTables& tables, QString* errorText = nullptr);
bool Sauve_Tips(const QString& folder, int language, const TextTables& tables, QString* errorText = nullptr);
// One caption per line; a caption with a comma or leading blanks is quoted so
// that it reads back as one field.
bool Sauve_Menus(const QString& folder, int language, const MenuCaptions& captions, QString* errorText = nullptr);

// The file contents the writers produce.
QByteArray textesFileBytes(const TextTables& tables);
QByteArray tipsFileBytes(const TextTables& tables);
QByteArray menuFileBytes(const MenuCaptions& captions);

}  // namespace tormel
