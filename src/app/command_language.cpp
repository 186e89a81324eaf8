#include "app/command_language.h"

namespace tormel {

Language readLanguage(const QString& programFolder, const QString& shippedFolder, int languageNumber)
{
    Language language;
    const MenuReadStatus menus = readMenus(programFolder, languageNumber, language.menus, shippedFolder);
    const TextReadStatus texts = readTexts(programFolder, languageNumber, language.tables, shippedFolder);
    if (menus.failed || !texts.textsRead || !texts.tipsRead) {
        const QString prefix = menus.failed ? QStringLiteral("Menu_")
                                            : (!texts.textsRead ? QStringLiteral("Textes_") : QStringLiteral("Tips_"));
        const QStringList layers = languageFileLayers(programFolder, shippedFolder, prefix, languageNumber);
        const QString name = layers.isEmpty() ? missingLanguageFile(programFolder, shippedFolder, prefix, languageNumber)
                                              : layers.last();
        language = Language{};
        language.warning = QStringLiteral("warning: the language file %1 is missing or defective; French texts are used").arg(name);
    }
    return language;
}

}  // namespace tormel
