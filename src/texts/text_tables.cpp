#include "texts/text_tables.h"

namespace tormel {

// A table of data, one text a line, as long as the tables are: exempt from
// the function-size check.
void fillFrenchTexts(TextTables& t)  // NOLINT(readability-function-size)
{
    auto& x = t.texts;
    x[0] = QStringLiteral(" éch.");
    x[1] = QStringLiteral("Pas encore Implémenté");
    x[2] = QStringLiteral("Moteur ");
    x[3] = QStringLiteral("Pas Dispon.");
    x[4] = QStringLiteral("Meilleur Tour : ");
    x[5] = QStringLiteral("Tour : ");
    x[6] = QStringLiteral(" sec. ");
    x[7] = QStringLiteral(" Max Rpm : ");
    x[8] = QStringLiteral(" éch.");
    x[9] = QStringLiteral("Comm:");
    x[10] = QStringLiteral("Veuillez recommencer");
    x[11] = QStringLiteral("Erreur de communication");
    x[12] = QStringLiteral("Pas de port série disponible");
    x[13] = QStringLiteral("Erreur d'extension de Fichier");
    x[14] = QStringLiteral("rpm");
    x[15] = QStringLiteral("°C");
    x[16] = QStringLiteral("Changé");
    x[18] = QStringLiteral("Communication");
    x[19] = QStringLiteral("Etapes : ");
    x[20] = QStringLiteral("Enregistrement Vide");
    x[21] = QStringLiteral("Numero_Piste = ");
    x[22] = QStringLiteral("  Tour");
    x[23] = QStringLiteral("Etape");
    x[24] = QStringLiteral("    Temps");
    x[25] = QStringLiteral(" Vitesse");
    x[26] = QStringLiteral(" Temps(1)");
    x[27] = QStringLiteral("Vitesse(1)");
    x[28] = QStringLiteral(" Temps(2)");
    x[29] = QStringLiteral(" Vitesse(2)");
    x[30] = QStringLiteral(" Temps(3)");
    x[31] = QStringLiteral(" Vitesse(3)");
    x[32] = QStringLiteral(" Max RPM");
    x[33] = QStringLiteral(" Max T°");
    x[34] = QStringLiteral(" Moteur");
    x[35] = QStringLiteral("Temps");
    x[36] = QStringLiteral("Temps(1)");
    x[37] = QStringLiteral("Temps(2)");
    x[38] = QStringLiteral("Temps(3)");
    x[39] = QStringLiteral("Théor.");
    x[40] = QStringLiteral("Meilleur Tour : ");
    x[41] = QStringLiteral("Temps_Moteurs");
    x[42] = QStringLiteral("Fermer");
    x[43] = QStringLiteral("Nom");
    x[44] = QStringLiteral("Hammeau");
    x[45] = QStringLiteral("Country");
    x[46] = QStringLiteral("Long. Tot.");
    x[47] = QStringLiteral("Champs 1");
    x[48] = QStringLiteral("Champs 2");
    x[49] = QStringLiteral("Champs 3");
    x[50] = QStringLiteral("Pistes");
    x[51] = QStringLiteral("Fichier Défectueux ou Manquant");
    x[52] = QStringLiteral("Accéler.");
    x[53] = QStringLiteral("Erreur imprevue. Veuillez envoyer les fichiers error.tml et error.txt à support@tormel-vue.example");
    x[54] = QStringLiteral("L'enregistrement n'a pas pu être sauvé dans %1 : %2");
    x[55] = QStringLiteral("L'export n'a pas pu être écrit dans %1 : %2");
    x[56] = QStringLiteral("Le fichier de commentaire %1 n'a pas pu être créé : %2");
    x[57] = QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2");
    x[58] = QStringLiteral("Les réglages n'ont pas pu être sauvés (%1). Vos choix valent jusqu'à la fin du programme.");
    x[59] = QStringLiteral("Cliquer pour continuer");
    x[60] = QStringLiteral("Le fichier d'aide %1 est introuvable.");
    x[61] = QStringLiteral("Ce n'est pas une longueur : la longueur enregistrée est gardée.");
    x[62] = QStringLiteral("Cause : %1 (un accès refusé demande le groupe dialout).");
    x[63] = QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2. L'enregistrement reçu est affiché.");
    x[64] = QStringLiteral("La copie du téléchargement n'a pas pu être gardée dans downloads : %1. L'enregistrement reçu est affiché.");
    x[65] = QStringLiteral("Le fichier %1 n'existe plus ; il est retiré de la liste.");
    x[66] = QStringLiteral("Rapport de session (PDF)");
    x[67] = QStringLiteral("Cause : aucun port série pour Com%1.");
    x[68] = QStringLiteral("Cause : accès refusé à %1. Il faut être membre du groupe dialout, puis se reconnecter.");
    x[69] = QStringLiteral("Cause : %1.");
    x[70] = QStringLiteral("La ligne a été coupée après %1 octets.");
    x[71] = QStringLiteral("%1 octets sur 2048, puis plus rien pendant 2 s.");
    x[72] = QStringLiteral("Plus de 2048 octets sont arrivés.");
    x[73] = QStringLiteral("%1 erreur(s) sur la ligne : parasites, câble ou réglage du port.");
    x[74] = QStringLiteral("Arrêt avec %1 octets sur 2048.");
    x[serialNumberCaption] = QStringLiteral("N° de Série : ");
    x[helpTitle] = QStringLiteral("Tormel_Vue - Aide");
    x[helpFindLabel] = QStringLiteral("Rechercher :");
    x[helpFindPrevious] = QStringLiteral("Précédent");
    x[helpFindNext] = QStringLiteral("Suivant");
    x[helpNotFound] = QStringLiteral("Introuvable");
    x[libraryMenu] = QStringLiteral("Bibliothèque des sessions");
    x[libraryTitle] = QStringLiteral("Bibliothèque");
    x[libraryDate] = QStringLiteral("Date");
    x[librarySerial] = QStringLiteral("N° de série");
    x[libraryTrack] = QStringLiteral("Piste");
    x[libraryKind] = QStringLiteral("Type");
    x[libraryLaps] = QStringLiteral("Tours");
    x[libraryBestLap] = QStringLiteral("Meilleur tour");
    x[libraryTheoretical] = QStringLiteral("Meilleur théorique");
    x[libraryWindowCount] = QStringLiteral("Tours à 0,10 s");
    x[librarySpread] = QStringLiteral("Écart moyen");
    x[libraryMaxRpm] = QStringLiteral("Rpm max");
    x[libraryMaxTemperature] = QStringLiteral("Temp. max");
    x[libraryDriver] = QStringLiteral("Pilote");
    x[libraryGearing] = QStringLiteral("Démultiplication");
    x[libraryFiles] = QStringLiteral("Fichiers");
    x[libraryKindLaps] = QStringLiteral("Chronos");
    x[libraryKindRpm] = QStringLiteral("Régime moteur");
    x[libraryMissing] = QStringLiteral("manquant");
    x[libraryAllTracks] = QStringLiteral("Toutes les pistes");
    x[libraryAllSerials] = QStringLiteral("Tous les numéros");
    x[libraryFrom] = QStringLiteral("Du");
    x[libraryTo] = QStringLiteral("Au");
    x[librarySearch] = QStringLiteral("Rechercher :");
    x[libraryAddFolder] = QStringLiteral("Ajouter un dossier...");
    x[libraryRemoveFolder] = QStringLiteral("Retirer le dossier");
    x[libraryRemoveSession] = QStringLiteral("Retirer la session");
    x[libraryUpdating] = QStringLiteral("Mise à jour : %1 fichiers sur %2");
    x[librarySessionCount] = QStringLiteral("%1 sessions");
    x[librarySessionOne] = QStringLiteral("%1 session");
    x[setupNotJson] = QStringLiteral("pas du JSON : %1 à l'octet %2");
    x[setupNotObject] = QStringLiteral("pas un objet JSON");
    x[setupUnreadable] = QStringLiteral("illisible : %1");
    x[setupLeftAsIs] = QStringLiteral("%1 ne contient pas de fiche de réglages (%2) : il est laissé tel quel.");
    x[setupWrittenNowhere] = QStringLiteral("La fiche de réglages n'a pu être écrite ni à côté de l'enregistrement (%1 : %2) ni dans %3 (%4).");
    x[libraryDateCalendar] = QStringLiteral("Calendrier");
    x[seasonDateAxis] = QStringLiteral("Date de la séance");
    x[seasonTimeAxis] = QStringLiteral("Temps au tour");
    x[seasonBestLine] = QStringLiteral("Meilleur tour de la saison : %1");
    x[seasonSessionTip] = QStringLiteral("%1 — meilleur tour %2 — %3");
    x[seasonReportButton] = QStringLiteral("Rapport de saison...");
    x[seasonNoTrack] = QStringLiteral("Sans numéro de piste");
    x[seasonConsistencyTitle] = QStringLiteral("Régularité : tours à 0,10 s du meilleur et écart moyen");
    x[overlayAlongTrack] = QStringLiteral("Le long de la piste");
    x[overlayAlignTrack] = QStringLiteral("Aligner le long de la piste");
    x[overlayDistanceAxis] = QStringLiteral("Distance depuis la ligne (m)");
    x[overlayRevolutionsAxis] = QStringLiteral("Fraction du tour par les tours moteur (%)");
    x[overlayTimeLossAxis] = QStringLiteral("Temps perdu (s)");
    x[overlaySpeedAxis] = QStringLiteral("Vitesse (%1)");
    x[overlayShowSpeed] = QStringLiteral("Vitesse");
    x[sprocketsTitle] = QStringLiteral("Autres pignons");
    x[sprocketsLap] = QStringLiteral("Tour");
    x[sprocketsFront] = QStringLiteral("Pignon (dents)");
    x[sprocketsRear] = QStringLiteral("Couronne (dents)");
    x[sprocketsTarget] = QStringLiteral("Régime maximal visé, moteur %1 (tr/min)");
    x[sprocketsWith] = QStringLiteral("Avec %1/%2");
    x[sprocketsMaximum] = QStringLiteral("Régime maximal (tr/min)");
    x[sprocketsCorner] = QStringLiteral("Virage le plus lent (tr/min)");
    x[sprocketsClassesAxis] = QStringLiteral("Temps par plage de régime (s)");
    x[sprocketsSuggested] = QStringLiteral("Couronnes proposées, pignon de %1");
    x[sprocketsClosest] = QStringLiteral("au plus près de l'objectif");
    x[sprocketsFirstOrder] = QStringLiteral("Vue au premier ordre : avec d'autres pignons, le temps du tour changerait aussi.");
    x[sprocketsNoneFitted] = QStringLiteral("La fiche de réglage de cette séance ne donne pas les pignons montés.");
    x[setupCircumference] = QStringLiteral("Circonférence de roulement mesurée : %1 m");
    x[setupCircumferenceWrong] = QStringLiteral("%1 : les pignons ou la longueur du tour sont sans doute faux.");
    x[sprocketsFitted] = QStringLiteral("Montés %1/%2");
    x[sprocketsNoLap] = QStringLiteral("Aucun tour bouclé d'un enregistrement de régime à montrer.");
    x[sprocketsRearColumn] = QStringLiteral("Couronne");
    x[sprocketsMenu] = QStringLiteral("Autres pignons...");
    x[overlayAlignment] = QStringLiteral("Aligner les tours");
    x[libraryDateExpected] = QStringLiteral("Une date comme %1 ; vide : sans limite");
    x[comparisonMenu] = QStringLiteral("Comparaison");
    x[libraryRacingLaps] = QStringLiteral("Tours de course");
    x[libraryDeviation] = QStringLiteral("Écart type");
    x[libraryColumns] = QStringLiteral("Colonnes affichées");
    x[libraryFolders] = QStringLiteral("Dossiers suivis :");
    x[libraryOpen] = QStringLiteral("Ouvrir");
    x[setupTitle] = QStringLiteral("Réglages");
    x[setupKart] = QStringLiteral("Kart");
    x[setupEngine] = QStringLiteral("Moteur (1 à 5)");
    x[setupFrontSprocket] = QStringLiteral("Pignon (dents)");
    x[setupRearSprocket] = QStringLiteral("Couronne (dents)");
    x[setupMainJet] = QStringLiteral("Gicleur principal");
    x[setupNeedle] = QStringLiteral("Position de l'aiguille");
    x[setupTyres] = QStringLiteral("Pneus");
    x[setupFrontPressure] = QStringLiteral("Pression avant (bar)");
    x[setupRearPressure] = QStringLiteral("Pression arrière (bar)");
    x[setupTrackCondition] = QStringLiteral("État de la piste");
    x[setupAirTemperature] = QStringLiteral("Température de l'air");
    x[setupRemark] = QStringLiteral("Remarque");
    x[setupLikeLast] = QStringLiteral("Comme la dernière session");
    x[setupSave] = QStringLiteral("Enregistrer les réglages");
    x[setupComment] = QStringLiteral("Commentaire...");
    x[setupNotSaved] = QStringLiteral("Les réglages ne peuvent pas être enregistrés : %1");
    x[bestsTitle] = QStringLiteral("Meilleurs de la saison");
    x[bestsSection] = QStringLiteral("Secteur %1");
    x[compareTitle] = QStringLiteral("Comparaison de tours");
    x[compareMenu] = QStringLiteral("Comparer des tours...");
    x[compareBestLap] = QStringLiteral("Comparer le meilleur tour");
    x[compareChooseLaps] = QStringLiteral("Choisir des tours...");
    x[compareLapsOf] = QStringLiteral("Tours de %1");
    x[compareReference] = QStringLiteral("Référence");
    x[compareMakeReference] = QStringLiteral("Prendre comme référence");
    x[compareRemove] = QStringLiteral("Retirer");
    x[compareClear] = QStringLiteral("Tout retirer");
    x[compareLapTime] = QStringLiteral("Temps du tour");
    x[compareDifference] = QStringLiteral("Écart");
    x[compareSessionBest] = QStringLiteral("Meilleur tour de la session");
    x[compareSectionBars] = QStringLiteral("Écarts par secteur");
    x[compareWhatChanged] = QStringLiteral("Ce qui a changé");
    x[compareOtherKind] = QStringLiteral("Ce tour n'est pas du même type que les tours choisis : il n'est pas ajouté.");
    x[compareTooMany] = QStringLiteral("Six tours au plus peuvent être comparés.");
    x[compareTooFew] = QStringLiteral("Choisir au moins deux tours à comparer.");
    x[compareShow] = QStringLiteral("Comparer");
    x[compareLapItem] = QStringLiteral("Tour %1 : %2");
    x[compareSessionGone] = QStringLiteral("La session de ce tour n'est plus dans la bibliothèque : %1");
    x[overlayTitle] = QStringLiteral("Superposition des tours");
    x[overlayTime] = QStringLiteral("Temps dans le tour");
    x[overlayFraction] = QStringLiteral("Fraction du tour");
    x[overlayAlignTime] = QStringLiteral("Aligner sur le temps");
    x[overlayAlignFraction] = QStringLiteral("Aligner sur la fraction du tour");
    x[overlayRpm] = QStringLiteral("Régime");
    x[overlayRpmDifference] = QStringLiteral("Écart de régime");
    x[overlayTimeDifference] = QStringLiteral("Écart de temps");
    x[overlayHistograms] = QStringLiteral("Temps par plage de régime");
    x[overlayMaximum] = QStringLiteral("Régime maximum");
    x[overlayMinimum] = QStringLiteral("Régime minimum");
    x[overlayMean] = QStringLiteral("Régime moyen");
    x[overlayClassWidth] = QStringLiteral("Plages de %1 tr/min");
    x[overlayLeftMarker] = QStringLiteral("Repère gauche");
    x[overlayRightMarker] = QStringLiteral("Repère droit");
    x[overlayMarkersOnReference] = QStringLiteral("Repères sur le tour de référence");
    x[overlayCursor] = QStringLiteral("Curseur");
    x[overlaySmoothing] = QStringLiteral("Lissage");
    x[overlaySeconds] = QStringLiteral("%1 s");
    x[overlayNoTrace] = QStringLiteral("Ce tour n'a pas de trace de régime.");
    x[libraryTruncated] = QStringLiteral("tronqué : %1 octets sur %2");
    x[titleTruncated] = QStringLiteral("   (seuls %1 octets sur %2 ont été lus)");
    x[portTitle] = QStringLiteral("Port série");
    x[noPortChosen] = QStringLiteral("Aucun port n'est choisi : choisissez-en un dans le menu des ports.");
    x[downloadKeptNowhere] = QStringLiteral("Le relevé téléchargé n'a été gardé dans aucun fichier : enregistrez-le avant d'en comparer les tours.");
    x[listeningTitle] = QStringLiteral("%1 Version %2 sur le port %3");
    x[compareUnreadable] = QStringLiteral("Le relevé %1 n'a pas pu être lu : %2");
    x[compareNoSuchLap] = QStringLiteral("%1 n'a pas de tour %2");
    x[overlayRpmAxis] = QStringLiteral("Régime (tr/min)");
    x[overlayTimeAxis] = QStringLiteral("Temps dans le tour (s)");
    x[overlayFractionAxis] = QStringLiteral("Fraction du tour (%)");
    x[overlayDifferenceAxis] = QStringLiteral("Écart (tr/min)");
    x[histogramSecondsAxis] = QStringLiteral("Temps dans la classe (s)");
    x[histogramClassAxis] = QStringLiteral("Classe de régime (tr/min)");
    x[sectionDifferenceAxis] = QStringLiteral("Écart à la référence (s)");
    x[overlayHelp] = QStringLiteral("Molette : zoom autour du pointeur ; bouton droit : déplacer ; Maj + glisser : zoomer sur une zone ; double-clic ou Origine : tout le tour");
    x[libraryIndexMoved] = QStringLiteral("L'index de la bibliothèque était inutilisable : il a été mis de côté sous %1 et reconstruit à partir des enregistrements.");
    x[libraryIndexNotUpdated] = QStringLiteral("L'index de la bibliothèque ne peut pas être écrit : les séances sont montrées telles qu'il les gardait.");
    x[libraryIndexLocked] = QStringLiteral("L'index de la bibliothèque reste verrouillé par un autre programme.");
    x[setupMistyped] = QStringLiteral("« %1 » : %2 attendu ; la valeur est gardée telle quelle.");
    x[setupExpectText] = QStringLiteral("un texte");
    x[setupExpectWhole] = QStringLiteral("un nombre entier");
    x[setupExpectEngine] = QStringLiteral("un moteur de 1 à 5");
    x[setupExpectNumber] = QStringLiteral("un nombre");
    x[setupReadOnly] = QStringLiteral("Les fichiers de cette séance ont disparu : sa fiche est montrée telle que la bibliothèque l'a gardée et ne peut pas être modifiée.");
    x[libraryRemoveFailed] = QStringLiteral("La séance n'a pas pu être retirée de la bibliothèque.");
    x[trackFileNotWritten] = QStringLiteral("Le fichier des pistes %1 n'a pas pu être écrit : %2. Le programme continue sans fichier des pistes : les longueurs ne seront pas gardées.");
    x[trackOffered] = QStringLiteral("La piste « %1 » de %2 accompagne cet enregistrement, mais votre fichier des pistes %3 ne la connaît pas. L'y ajouter pour afficher les vitesses ?");

    auto& p = t.tips;
    p[0] = QStringLiteral("Gauche:TRI");
    p[1] = QStringLiteral("Gauche:TRI, Droite:Graphique");
    p[2] = QStringLiteral("Meilleur Tour Théorique");
    p[3] = QStringLiteral("Gauche:(dé)selectionner, Droite:graphique");
    p[4] = QStringLiteral("Tranche : ");
    p[5] = QStringLiteral("Maj Souris ou Cliquer pour CURSEUR");
    p[6] = QStringLiteral("Cliquer pour CURSEUR");
    p[7] = QStringLiteral("Pour démarrer l'Enregistrement des données du Chrono TORMEL");
    p[8] = QStringLiteral("Cliquer pour éliminer/restaurer");
    p[9] = QStringLiteral("Valeur Bouton G - Bouton D");
    p[10] = QStringLiteral("Valeur Bouton Droit");
    p[11] = QStringLiteral("Valeur Bouton Gauche");
    p[12] = QStringLiteral("Valeur Curseur");
    p[13] = QStringLiteral("Valeur Gauche-Droite");
    p[14] = QStringLiteral("Durée à cette gamme de vitesses");
    p[15] = QStringLiteral("Gamme Vitesses");
    p[16] = QStringLiteral("Durée dans cette gamme");
    p[17] = QStringLiteral("Tour de l'enregistrement");
}

TextTables frenchTextTables()
{
    TextTables t;
    fillFrenchTexts(t);
    return t;
}

QString countText(const TextTables& tables, TextEntry one, TextEntry other, long long count)
{
    const bool singular = tables.language == Language::French ? count == 0 || count == 1 : count == 1;
    const QString& text = tables.texts[singular ? one : other];
    // A language file older than the singular's entry keeps its one form.
    return (text.isEmpty() ? tables.texts[other] : text).arg(count);
}

QLocale languageLocale(Language language)
{
    static constexpr std::array<QLocale::Language, 6> languages{QLocale::French,  QLocale::Dutch,   QLocale::English,
                                                                QLocale::German,  QLocale::Spanish, QLocale::Italian};
    static constexpr std::array<QLocale::Territory, 6> territories{QLocale::France, QLocale::Netherlands,
                                                                   QLocale::UnitedKingdom, QLocale::Germany,
                                                                   QLocale::Spain, QLocale::Italy};
    const auto i = std::size_t(language) < languages.size() ? std::size_t(language) : 0;
    return QLocale(languages[i], territories[i]);
}

QChar decimalSeparatorOf(Language language)
{
    return language == Language::English ? QLatin1Char('.') : QLatin1Char(',');
}

QString languageDateFormat(Language language)
{
    QString format = languageLocale(language).dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

Language languageOfNumber(int number)
{
    return number >= 0 && number < int(languageCaptions.size()) ? Language(number) : Language::French;
}

}  // namespace tormel
