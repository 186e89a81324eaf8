#pragma once

#include "texts/language_files.h"

#include <QList>
#include <QString>

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace tormel {

// Every menu of the main window, by its domain name. Top-level menus are
// reached through their QMenu; their caption and enabled state live on the
// menu's action.
struct Menus {
    explicit Menus(QMenuBar* bar);

    QMenu* Fichiers;
    QAction* Sauver;
    QAction* Nouveau;
    QAction* Ouvrir;
    QAction* Supprimer;
    QAction* Exporter;
    QAction* Rapport;  // its caption is a text of the tables, not of the menu file
    QAction* Bibliotheque;  // the library of sessions; its caption is a text of the tables
    QAction* Comparer;  // laps of the record shown, to compare; its caption is a text of the tables
    QAction* Pignons;   // an engine-speed lap of the record shown with other sprockets; likewise
    QAction* Comparaison;  // the comparison kept, shown again; its caption is a text of the tables
    QAction* Vide;
    QAction* Fonds;
    QAction* AffTip;
    QAction* Quitter;
    QAction* saveMenus;
    QAction* saveTips;
    QAction* saveTexts;
    QAction* readTexts;
    // The records used last, at the end of the File menu.
    QAction* recentSeparator;
    std::array<QAction*, 5> Recent;

    QMenu* Options;
    std::array<QAction*, 6> Langue;

    QMenu* Unites;
    QAction* mmiles;
    std::array<QAction*, 2> Unite_Vitesse;
    QAction* espace;
    std::array<QAction*, 2> Unite_Temp;

    QMenu* Communication;
    std::array<QAction*, 5> Com;  // 1..4; 0 unused

    QAction* Pistes;

    QMenu* Affichage;
    QAction* Affichage_Tours;
    QAction* Affichage_Table;
    QAction* Temps_Moteurs;

    QMenu* Filtres;
    std::array<QAction*, 4> Filtre;

    QAction* Commentaire;
    QAction* Aide;
    QAction* Infos;

    // The items whose captions the menu file holds, in file order. The
    // caption at menuTrackEditor is the title of the track editor frame, not
    // a menu: its slot is null.
    std::array<QAction*, menuCaptionCount> menuFileItems() const;

    // Gives every caption of the bar and its menus a keyboard mnemonic,
    // again after captions change. caption() never returns the marks, so
    // the translation tools never write them.
    void applyMnemonics();

private:
    void setShortcuts();

    QMenuBar* bar_ = nullptr;
};

// The caption of a top-level menu or an item, as the user reads it.
QString caption(const QAction* action);
void setCaption(QAction* action, const QString& text);
// Marks in each caption the first letter or digit no earlier sibling has.
void markMnemonics(const QList<QAction*>& siblings);

}  // namespace tormel
