#pragma once

#include <QString>

#include <array>

namespace tormel {

// Every message, heading and tool tip of the program, by index: the index is
// the interface, the text comes from the chosen language.
struct TextTables {
    // 0..70 are the original table; the rest hold the texts of newer features,
    // so files with 71 entries still read and leave the others French.
    static constexpr int TextesCount = 200;
    static constexpr int TipsCount = 26;
    std::array<QString, TextesCount> Textes;
    std::array<QString, TipsCount> Tips;
};

// Entries of the newer texts that code names.
enum TextEntry : int {
    serialNumberCaption = 75,  // before the logger's serial number
    helpTitle = 76,            // the help window's title
    helpFindLabel = 77,
    helpFindPrevious = 78,
    helpFindNext = 79,
    helpNotFound = 80,         // the find bar when the text is nowhere
};

// Fills Textes 0..80 (17 excepted) and Tips 0..17 with the
// built-in French texts; other slots are left as they are.
void Init_Textes(TextTables& tables);

// A panel that shows texts of the tables takes them all at once, with the
// tool-tip switch, whenever the language or the switch changes.
class TextsPanel {
public:
    virtual void applyTexts(const TextTables& tables, bool toolTipsOn) = 0;

protected:
    ~TextsPanel() = default;
};

// A table holding only the built-in French texts.
TextTables frenchTextTables();

// Captions of the six languages, indexed by Choix_Langue.
inline const std::array<QString, 6> languageCaptions{
    QStringLiteral("Français"), QStringLiteral("Nederlands"), QStringLiteral("English"),
    QStringLiteral("Deutch"),   QStringLiteral("Espagnol"),   QStringLiteral("Italiano")};

}  // namespace tormel
