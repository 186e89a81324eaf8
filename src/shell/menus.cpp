#include "shell/menus.h"

#include "base/units.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tormel {

namespace {

QAction* item(QMenu* menu, const QString& text, const char* name, bool checkable = false)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

QMenu* topMenu(QMenuBar* bar, const QString& text, const char* name)
{
    QMenu* menu = bar->addMenu(text);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

// Group headers are shown but never chosen.
QAction* header(QMenu* menu, const QString& text, const char* name)
{
    QAction* action = item(menu, text, name);
    action->setEnabled(false);
    return action;
}

}  // namespace

Menus::Menus(QMenuBar* bar)
{
    Fichiers = topMenu(bar, QStringLiteral("Fichiers"), "Fichiers");
    Sauver = item(Fichiers, QStringLiteral("Sauver"), "Sauver");
    Nouveau = item(Fichiers, QStringLiteral("Lecture Chrono"), "Nouveau");
    Ouvrir = item(Fichiers, QStringLiteral("Ouvrir Fichier Existant"), "Ouvrir");
    Supprimer = item(Fichiers, QStringLiteral("Supprimer"), "Supprimer");
    Exporter = item(Fichiers, QStringLiteral("Exporter Données"), "Exporter");
    Rapport = item(Fichiers, QStringLiteral("Rapport de session (PDF)"), "Rapport");
    Bibliotheque = item(Fichiers, QStringLiteral("Bibliothèque des sessions"), "Bibliotheque");
    Comparer = item(Fichiers, QStringLiteral("Comparer des tours..."), "Comparer");
    Pignons = item(Fichiers, QStringLiteral("Autres pignons..."), "Pignons");
    Comparaison = item(Fichiers, QStringLiteral("Comparaison"), "Comparaison");
    Vide = Fichiers->addSeparator();
    Vide->setObjectName(QStringLiteral("Vide"));
    Fonds = item(Fichiers, QStringLiteral("Image de fond"), "Fonds");
    AffTip = item(Fichiers, QStringLiteral("Tips"), "AffTip", true);
    AffTip->setChecked(true);
    Quitter = item(Fichiers, QStringLiteral("Quitter"), "Quitter");
    saveMenus = item(Fichiers, QStringLiteral("Sauve_Menus"), "Sauve_Menus");
    saveTips = item(Fichiers, QStringLiteral("Sauve_Tips"), "Sauve_Tips");
    saveTexts = item(Fichiers, QStringLiteral("Sauve_Textes"), "Sauve_Textes");
    readTexts = item(Fichiers, QStringLiteral("Lire_Textes"), "Lire_Textes");
    recentSeparator = Fichiers->addSeparator();
    recentSeparator->setVisible(false);
    for (std::size_t i = 0; i < Recent.size(); ++i) {
        Recent[i] = Fichiers->addAction(QString());
        Recent[i]->setObjectName(QStringLiteral("Recent%1").arg(i));
        Recent[i]->setVisible(false);
    }
    Fichiers->setToolTipsVisible(true);

    Options = topMenu(bar, QStringLiteral("Langue"), "Options");
    const char* languageItemNames[] = {"Langue0", "Langue1", "Langue2", "Langue3", "Langue4", "Langue5"};
    const QString languageItemCaptions[] = {QStringLiteral("Français"), QStringLiteral("Nederlands"), QStringLiteral("English"),
                                            QStringLiteral("Deutch"),   QStringLiteral("Espagnol"),   QStringLiteral("Italiano")};
    for (std::size_t i = 0; i < Langue.size(); ++i)
        Langue[i] = item(Options, languageItemCaptions[i], languageItemNames[i], true);

    Unites = topMenu(bar, QStringLiteral("Unités"), "Unites");
    mmiles = header(Unites, QStringLiteral("km/h    miles/h"), "mmiles");
    Unite_Vitesse[0] = item(Unites, QStringLiteral("km/h"), "Unite_Vitesse0", true);
    Unite_Vitesse[1] = item(Unites, QStringLiteral("miles/h"), "Unite_Vitesse1", true);
    espace = header(Unites, temperatureUnitCaption(TemperatureUnit::Celsius) + QStringLiteral("    ") + temperatureUnitCaption(TemperatureUnit::Fahrenheit), "espace");
    Unite_Temp[0] = item(Unites, temperatureUnitCaption(TemperatureUnit::Celsius), "Unite_Temp0", true);
    Unite_Temp[1] = item(Unites, temperatureUnitCaption(TemperatureUnit::Fahrenheit), "Unite_Temp1", true);

    Communication = topMenu(bar, QStringLiteral("Communication"), "Communication");
    Com[0] = nullptr;
    const char* comNames[] = {"", "Com1", "Com2", "Com3", "Com4"};
    for (std::size_t i = 1; i < Com.size(); ++i)
        Com[i] = item(Communication, QStringLiteral("Com%1").arg(i), comNames[i], true);

    Pistes = bar->addAction(QStringLiteral("Pistes"));
    Pistes->setObjectName(QStringLiteral("Pistes"));

    Affichage = topMenu(bar, QStringLiteral("Affichage Chrono"), "Affichage");
    Affichage_Tours = item(Affichage, QStringLiteral("Courbe RPM's"), "Affichage_Tours");
    Affichage_Table = item(Affichage, QStringLiteral("Table Chronos"), "Affichage_Table");
    Temps_Moteurs = item(Affichage, QStringLiteral("Temps Moteurs"), "Temps_Moteurs");

    Filtres = topMenu(bar, QStringLiteral("Filtres"), "Filtres");
    const QString filterItemCaptions[] = {QStringLiteral("Pas de Filtre"), QStringLiteral("Filtre 1"), QStringLiteral("Filtre 2"),
                                          QStringLiteral("Filtre 3")};
    const char* filterItemNames[] = {"Filtre0", "Filtre1", "Filtre2", "Filtre3"};
    for (std::size_t i = 0; i < Filtre.size(); ++i)
        Filtre[i] = item(Filtres, filterItemCaptions[i], filterItemNames[i], true);

    Commentaire = bar->addAction(QStringLiteral("Commentaire"));
    Commentaire->setObjectName(QStringLiteral("Commentaire"));
    Aide = bar->addAction(QStringLiteral("Aide"));
    Aide->setObjectName(QStringLiteral("Aide"));
    Infos = bar->addAction(QStringLiteral("?"));
    Infos->setObjectName(QStringLiteral("Infos"));

    setShortcuts();
    bar_ = bar;
}

void Menus::setShortcuts()
{
    Ouvrir->setShortcut(QKeySequence::Open);
    Sauver->setShortcut(QKeySequence::Save);
    Exporter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    Rapport->setShortcut(QKeySequence::Print);
    // Ctrl+Q on every desktop (the standard Quit key is none on some), and
    // from the library's and the comparison's windows too.
    Quitter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Quitter->setShortcutContext(Qt::ApplicationShortcut);
    Affichage_Table->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    Affichage_Tours->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    Temps_Moteurs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_3));
    Bibliotheque->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_4));
    Comparaison->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_5));
}

void Menus::applyMnemonics()
{
    markMnemonics(bar_->actions());
    for (QAction* top : bar_->actions())
        if (QMenu* menu = top->menu())
            markMnemonics(menu->actions());
}

std::array<QAction*, menuCaptionCount> Menus::menuFileItems() const
{
    return {Fichiers->menuAction(), Sauver, Nouveau, Ouvrir, Supprimer, Exporter, Fonds, Quitter,
            Options->menuAction(), Langue[0], Langue[1], Langue[2], Langue[3], Langue[4], Langue[5],
            Unites->menuAction(), Unite_Vitesse[0], Unite_Vitesse[1],
            Communication->menuAction(), Com[1], Com[2], Com[3], Com[4],
            Pistes, nullptr,
            Affichage->menuAction(), Affichage_Tours, Affichage_Table, Temps_Moteurs,
            Filtres->menuAction(), Filtre[0], Filtre[1], Filtre[2], Filtre[3],
            Commentaire, Aide};
}

QString caption(const QAction* action)
{
    // The shown text less its mnemonic mark: "&&" is a plain "&".
    const QString shown = action->text();
    QString text;
    text.reserve(shown.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i) == QLatin1Char('&') && i + 1 < shown.size())
            ++i;
        text += shown.at(i);
    }
    return text;
}

void setCaption(QAction* action, const QString& text)
{
    QString shown = text;
    action->setText(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void markMnemonics(const QList<QAction*>& siblings)
{
    QString taken;
    for (QAction* action : siblings) {
        if (action->isSeparator())
            continue;
        const QString text = caption(action);
        QString shown;
        bool marked = false;
        for (const QChar c : text) {
            if (!marked && c.isLetterOrNumber() && !taken.contains(c.toLower())) {
                shown += QLatin1Char('&');
                taken += c.toLower();
                marked = true;
            }
            shown += c;
            if (c == QLatin1Char('&'))
                shown += QLatin1Char('&');
        }
        action->setText(shown);
    }
}

}  // namespace tormel
