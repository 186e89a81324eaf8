#pragma once

#include "config/settings.h"
#include "document/record_document.h"
#include "texts/language_files.h"
#include "texts/text_tables.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tormel {

// The texts of a language as the command line reads them.
struct LanguageTexts {
    TextTables tables = frenchTextTables();
    MenuCaptions menus = frenchMenuCaptions();
    QString warning;  // one line, for stderr, when a language file is defective
};

// The language the window would show, from the user's files in
// `programFolder` over the shipped ones in `shippedFolder`. A defective
// file falls back on the French texts whole, with one warning, rather than
// a mixture of two languages.
LanguageTexts readLanguage(const QString& programFolder, const QString& shippedFolder, Language chosen);

// The language exactly as the window starts with it: whatever the files
// hold over the French texts, as far as they read. Only a defective menu
// file gets a warning, the one the window gives a terminal.
LanguageTexts readWindowLanguage(const QString& programFolder, const QString& shippedFolder, Language chosen);

// The view options the window would show a record with: the settings'
// units in the language's captions, and the lengths of the record's own
// track when it names one, else of the current track, read from
// `trackFile` without ever writing it.
ViewOptions commandViewOptions(const SystemSettings& settings, const LanguageTexts& language, const QString& trackFile,
                               std::optional<std::int16_t> recordTrack);

}  // namespace tormel
