#include "shell/principale.h"

#include "charts/canvas.h"
#include "charts/lap_time_chart.h"
#include "laps/ranges_view.h"
#include "record/engine_hours_panel.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "tracks/track_editor.h"
#include "window_fixture.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::WindowTest;
using test::readBytes;
using test::writeBytes;

TEST_F(WindowTest, FirstStartWithNothingOnDisk)
{
    Principale& w = start();
    Menus& m = w.menus();

    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Fichier Défectueux ou Manquant"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Français"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);

    EXPECT_EQ(w.state().tables.Textes[20], QStringLiteral("Enregistrement Vide"));
    EXPECT_FALSE(m.Affichage->menuAction()->isEnabled());
    EXPECT_FALSE(m.Exporter->isEnabled());
    EXPECT_FALSE(m.Filtres->menuAction()->isEnabled());
    EXPECT_FALSE(m.Sauver->isEnabled());
    EXPECT_EQ(m.Options->title(), QStringLiteral("Français"));
    EXPECT_EQ(m.Unites->title(), QStringLiteral("km/h  |  °C"));
    EXPECT_EQ(m.Communication->title(), QStringLiteral("Comm:1"));

    // Applying the defaults at start-up writes no settings file.
    EXPECT_TRUE(settingsBytes().isEmpty());

    // The first track is created in the current folder.
    const QByteArray pistes = readBytes(QStringLiteral("Pistes.aqw"));
    ASSERT_EQ(pistes.size(), 210);
    EXPECT_EQ(pistes.mid(2, 4), QByteArray("Nom1"));
    EXPECT_EQ(caption(m.Pistes), QStringLiteral("Nom1"));
}

TEST_F(WindowTest, StoredSettingsAndShippedLanguageApplyWithoutRewrite)
{
    copyShippedLanguages();
    const QByteArray stored("\x02\x00\x03\x00\x02\x00\x01\x00\x00\x00", 10);
    writeBytes(QDir(programFolder()).filePath(QStringLiteral("Tormport.dat")), stored);

    Principale& w = start();
    Menus& m = w.menus();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(m.Langue[2]->isChecked());
    EXPECT_EQ(m.Options->title(), QStringLiteral("English"));
    EXPECT_TRUE(m.Com[2]->isChecked());
    EXPECT_TRUE(m.Unite_Vitesse[1]->isChecked());
    EXPECT_TRUE(m.Unite_Temp[1]->isChecked());
    EXPECT_EQ(m.Unites->title(), caption(m.Unite_Vitesse[1]) + QStringLiteral("  |  ") + caption(m.Unite_Temp[1]));
    EXPECT_FALSE(m.AffTip->isChecked());
    EXPECT_NE(caption(m.Quitter), QStringLiteral("Quitter"));
    EXPECT_EQ(settingsBytes(), stored);
}

TEST_F(WindowTest, PortChoiceCheckedCaptionedAndSaved)
{
    Principale& w = start();
    w.Com_Click(3);
    Menus& m = w.menus();
    EXPECT_EQ(m.Communication->title(), QStringLiteral("Comm:3"));
    int checked = 0;
    for (int i = 1; i <= 4; ++i)
        checked += m.Com[std::size_t(i)]->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(m.Com[3]->isChecked());
    EXPECT_EQ(settingsBytes(), QByteArray("\x03\x00\x00\x00\x00\x00\x01\x00\xFF\xFF", 10));

    w.Unite_Vitesse_Click(1);
    EXPECT_EQ(m.Unites->title(), QStringLiteral("miles/h  |  °C"));
    EXPECT_EQ(settingsBytes().mid(2, 2), QByteArray("\x01\x00", 2));
}

TEST_F(WindowTest, ChoosingEnglishChangesEveryCaptionAndIsRemembered)
{
    copyShippedLanguages();
    Principale& w = start();
    const auto items = w.menus().menuFileItems();
    QStringList before;
    for (QAction* item : items)
        before << (item ? caption(item) : QString());

    w.Langue_Click(2);
    EXPECT_TRUE(dialogs.messages.empty());
    int changed = 0;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] && caption(items[i]) != before[int(i)])
            ++changed;
    // Language names and unit captions may read the same in both languages.
    EXPECT_GE(changed, 20);
    EXPECT_EQ(settingsBytes().mid(4, 2), QByteArray("\x02\x00", 2));
    EXPECT_NE(w.state().tables.Textes[20], QStringLiteral("Enregistrement Vide"));
}

TEST_F(WindowTest, MissingLanguageFilesWarnOnceAndKeepFrench)
{
    Principale& w = start();
    dialogs.messages.clear();
    w.Langue_Click(2);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("English"));
    EXPECT_EQ(w.state().tables.Textes[20], QStringLiteral("Enregistrement Vide"));
    EXPECT_EQ(caption(w.menus().Quitter), QStringLiteral("Quitter"));
    EXPECT_EQ(w.menus().Options->title(), QStringLiteral("English"));
}

TEST_F(WindowTest, ToolTipsSwitchOffAndBack)
{
    Principale& w = start();
    Panels& p = w.panels();
    ASSERT_TRUE(w.menus().AffTip->isChecked());
    EXPECT_EQ(p.Graphique_Chronos->Picture1()->toolTip(), QStringLiteral("Cliquer pour éliminer/restaurer"));

    w.menus().AffTip->trigger();
    EXPECT_FALSE(w.menus().AffTip->isChecked());
    const QWidget* emptied[] = {p.Graphique_Chronos->Picture1(), p.Graphique_Record[1].Crpm, p.Graphique_Record[2].Rpm_L,
                                p.Frame_Tranches->Label8(), p.Command3D1};
    for (const QWidget* widget : emptied)
        EXPECT_TRUE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
    EXPECT_EQ(settingsBytes().mid(8, 2), QByteArray("\x00\x00", 2));

    w.menus().AffTip->trigger();
    EXPECT_EQ(p.Graphique_Record[2].Rpm_L->toolTip(), QStringLiteral("Valeur Bouton Gauche"));
}

TEST_F(WindowTest, UnexpectedErrorIsShownThenLogged)
{
    Principale& w = start();
    dialogs.messages.clear();
    w.Erreur_Imprevue(QStringLiteral("2"));
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Erreur imprevue.")));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    w.Erreur_Imprevue(QStringLiteral("3"));
    const QList<QByteArray> lines = readBytes(QStringLiteral("Error.txt")).split('\n');
    ASSERT_EQ(lines.size(), 5);  // four lines and the empty rest after the last break
    EXPECT_TRUE(lines[0].startsWith("Tormel_Vue Version 1.1.9"));
    EXPECT_EQ(lines[1].trimmed(), QByteArray("2"));
    EXPECT_EQ(lines[3].trimmed(), QByteArray("3"));
}

TEST_F(WindowTest, HelpAndUnwritableSettingsAreReportedOnce)
{
    Principale& w = start();
    dialogs.messages.clear();
    w.Aide_Click();
    EXPECT_EQ(launcher.started, QStringList{QDir(programFolder()).filePath(QStringLiteral("Help_0.txt"))});
    launcher.available = false;
    w.Aide_Click();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Notepad Not Found"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Tormel"));

    // A folder in the way of the settings file makes every write fail: told once, choices kept.
    ASSERT_TRUE(QDir(programFolder()).mkdir(QStringLiteral("Tormport.dat")));
    w.Com_Click(2);
    w.Com_Click(3);
    EXPECT_EQ(dialogs.messages.size(), 2U);
    EXPECT_EQ(w.state().Port_Com, 3);
}

TEST_F(WindowTest, BackgroundIsChosenRememberedAndKeptBeneathThePanels)
{
    Principale& w = start();
    QLabel* image = w.panels().Image1;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = QDir(current_.path()).filePath(QStringLiteral("back, ground.png"));
    ASSERT_TRUE(picture.save(path));
    dialogs.openAnswers.push_back(path);
    w.Fonds_Click();
    EXPECT_TRUE(image->isVisibleTo(&w));
    EXPECT_EQ(image->parentWidget()->children().indexOf(image), 0);
    w.Image1_Click();
    w.Picture2_Click();  // the stored picture comes back when the start-up picture closes
    EXPECT_TRUE(image->isVisibleTo(&w));

    writeBytes(QDir(programFolder()).filePath(QStringLiteral("Picture.txt")), QByteArray("\r\n"));
    w.affiche_Image();
    EXPECT_FALSE(image->isVisibleTo(&w));
}

TEST_F(WindowTest, AboutBoxClosesOnClickLikeStartUp)
{
    Principale& w = start();
    Panels& p = w.panels();
    w.Picture2_Click();
    EXPECT_FALSE(p.Picture2->isVisibleTo(&w));
    EXPECT_TRUE(w.menus().Fichiers->menuAction()->isEnabled());
    EXPECT_TRUE(w.menus().Aide->isEnabled());

    w.menus().Infos->trigger();
    EXPECT_TRUE(p.Picture2->isVisibleTo(&w));
    EXPECT_EQ(w.timer2().interval(), 5000);
    w.show();
    QTest::mouseClick(p.Picture2, Qt::LeftButton);
    EXPECT_FALSE(p.Picture2->isVisibleTo(&w));
    EXPECT_FALSE(w.timer2().isActive());
}

}  // namespace
}  // namespace tormel
