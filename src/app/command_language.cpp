#include "app/command_language.h"

namespace tormel {

Language readLanguage(const QString& programFolder, const QString& installedData, int choixLangue)
{
    Language language;
    const MenuReadStatus menus = Lire_Menus(programFolder, choixLangue, language.menus, installedData);
    const TextReadStatus texts = Lire_Textes(programFolder, choixLangue, language.tables, installedData);
    if (menus.failed || !texts.textesRead || !texts.tipsRead) {
        const QString name = languageFileToRead(programFolder, installedData, menus.failed ? QStringLiteral("Menu_")
                                                                          : (!texts.textesRead ? QStringLiteral("Textes_") : QStringLiteral("Tips_")),
                                                choixLangue);
        language = Language{};
        language.warning = QStringLiteral("warning: the language file %1 is missing or defective; French texts are used").arg(name);
    }
    return language;
}

}  // namespace tormel
