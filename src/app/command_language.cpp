#include "app/command_language.h"

#include "base/number_format.h"
#include "tracks/track_file.h"

namespace tormel {

LanguageTexts readLanguage(const QString& programFolder, const QString& shippedFolder, Language chosen)
{
    LanguageTexts language;
    const MenuReadStatus menus = readMenus(programFolder, chosen, language.menus, shippedFolder);
    const TextReadStatus texts = readTexts(programFolder, chosen, language.tables, shippedFolder);
    if (menus.failed || !texts.textsRead || !texts.tipsRead) {
        const QString prefix = menus.failed ? QStringLiteral("Menu_")
                                            : (!texts.textsRead ? QStringLiteral("Textes_") : QStringLiteral("Tips_"));
        const QStringList layers = languageFileLayers(programFolder, shippedFolder, prefix, chosen);
        const QString name = layers.isEmpty() ? missingLanguageFile(programFolder, shippedFolder, prefix, chosen)
                                              : layers.last();
        language = LanguageTexts{};
        language.warning = QStringLiteral("warning: the language file %1 is missing or defective; French texts are used").arg(name);
    }
    return language;
}

LanguageTexts readWindowLanguage(const QString& programFolder, const QString& shippedFolder, Language chosen)
{
    LanguageTexts language;
    const MenuReadStatus menus = readMenus(programFolder, chosen, language.menus, shippedFolder);
    if (menus.failed)
        language.warning = QStringLiteral("the language file %1 is missing or defective").arg(menus.failedFile);
    readTexts(programFolder, chosen, language.tables, shippedFolder);
    return language;
}

ViewOptions commandViewOptions(const SystemSettings& settings, const LanguageTexts& language, const QString& trackFile,
                               std::optional<std::int16_t> recordTrack)
{
    ViewOptions options;
    int track = settings.currentTrack;
    if (recordTrack && isTrackNumber(*recordTrack))
        track = *recordTrack;
    options.trackLengths = readTrackLengths(trackFile, track).value_or(std::array<float, 4>{});
    options.speedUnit = speedUnitOf(settings.speedUnit);
    options.temperatureUnit = temperatureUnitOf(settings.temperatureUnit);
    options.speedUnitCaption = language.menus[std::size_t(menuSpeedUnitFirst + int(options.speedUnit))];
    // The temperature captions are not in the menu file.
    options.temperatureUnitCaption = temperatureUnitCaption(options.temperatureUnit);
    options.decimalSeparator = systemDecimalSeparator();
    return options;
}

}  // namespace tormel
