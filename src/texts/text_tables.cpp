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

}  // namespace tormel
