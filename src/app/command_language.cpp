#include "app/command_language.h"

namespace tormel {

Language readLanguage(const QString& programFolder, const QString& shippedFolder, int choixLangue)
{
    Language language;
    const MenuReadStatus menus = Lire_Menus(programFolder, choixLangue, language.menus, shippedFolder);
    const TextReadStatus texts = Lire_Textes(programFolder, choixLangue, language.tables, shippedFolder);
    if (menus.failed || !texts.textesRead || !texts.tipsRead) {
        const QString prefix = menus.failed ? QStringLiteral("Menu_")
                                            : (!texts.textesRead ? QStringLiteral("Textes_") : QStringLiteral("Tips_"));
        const QStringList layers = languageFileLayers(programFolder, shippedFolder, prefix, choixLangue);
        const QString name = layers.isEmpty() ? missingLanguageFile(programFolder, shippedFolder, prefix, choixLangue)
                                              : layers.last();
        language = Language{};
        language.warning = QStringLiteral("warning: the language file %1 is missing or defective; French texts are used").arg(name);
    }
    return language;
}

}  // namespace tormel
