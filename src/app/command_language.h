#pragma once

#include "texts/language_files.h"
#include "texts/text_tables.h"

#include <QString>

namespace tormel {

// The texts of a language as the command line reads them.
struct Language {
    TextTables tables = frenchTextTables();
    MenuCaptions menus = frenchMenuCaptions();
    QString warning;  // one line, for stderr, when a language file is defective
};

// The language the window would show, from the user's files in
// `programFolder` over the shipped ones in `shippedFolder`. A defective
// file falls back on the French texts whole, with one warning, rather than
// a mixture of two languages.
Language readLanguage(const QString& programFolder, const QString& shippedFolder, int languageNumber);

}  // namespace tormel
