#include "demo_records.h"
#include "laps/export.h"
#include "laps/rpm_statistics.h"
#include "record/record_file.h"
#include "shell/background_file.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "window_fixture.h"

#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::writeBytes;

class WindowTools : public test::WindowTest {
protected:
    Principale& startWithRecord(const RecordImage& image)
    {
        copyShippedLanguages();
        Principale& w = start();
        w.Picture2_Click();
        const QString path = QDir(current_.path()).filePath(QStringLiteral("run.Tml"));
        EXPECT_TRUE(Sauve_Fichier(path, image, 1));
        w.ouvrirRecord(path);
        dialogs.messages.clear();
        return w;
    }
    QString here(const QString& name) const { return QDir(current_.path()).filePath(name); }

    // The file without its first line, which holds the date and time.
    static QByteArray withoutDateLine(const QByteArray& bytes) { return bytes.mid(bytes.indexOf('\n') + 1); }
};

TEST_F(WindowTools, ExportWritesTheTableAsShown)
{
    Principale& w = startWithRecord(demo::lapTimingRecord());
    dialogs.saveAnswers.push_back(here(QStringLiteral("out")));
    w.Exporter_Click();
    ASSERT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.saveRequests.back().proposedName, here(QStringLiteral("run.xls")));
    const QByteArray written = readBytes(here(QStringLiteral("out.xls")));
    EXPECT_EQ(withoutDateLine(written), withoutDateLine(exportLapTable(w.record().table, QDateTime::currentDateTime())));
    EXPECT_TRUE(withoutDateLine(written).startsWith("  Tour\t"));
}

TEST_F(WindowTools, ExportRefusesOtherExtensionsAndReportsFailures)
{
    Principale& w = startWithRecord(demo::engineSpeedRecord());
    dialogs.saveAnswers.push_back(here(QStringLiteral("out.XLS")));
    w.Exporter_Click();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Erreur d'extension de Fichier"));
    EXPECT_FALSE(QFileInfo::exists(here(QStringLiteral("out.XLS"))));

    dialogs.messages.clear();
    w.Exporter_Click();  // cancelled
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.saveAnswers.push_back(here(QStringLiteral("missing/out.xls")));
    w.Exporter_Click();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);

    dialogs.messages.clear();
    dialogs.saveAnswers.push_back(here(QStringLiteral("rpm.xls")));
    w.Exporter_Click();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(readBytes(here(QStringLiteral("rpm.xls"))).count('\n'), 2 + 1984);
}

TEST_F(WindowTools, ExportRefusesARecordThatShowsNothing)
{
    Principale& w = startWithRecord(demo::lapTimingRecord());
    RecordImage few;
    few.Data_Chrono[97] = 1;
    few.Data_Chrono[104] = 36;  // 8 samples: the decode stops, Exporter stays enabled
    const QString path = here(QStringLiteral("few.Tml"));
    ASSERT_TRUE(Sauve_Fichier(path, few, 1));
    w.ouvrirRecord(path);
    ASSERT_TRUE(w.menus().Exporter->isEnabled());
    dialogs.messages.clear();
    dialogs.saveAnswers.push_back(here(QStringLiteral("few.xls")));
    w.Exporter_Click();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No Data Available"));
    EXPECT_FALSE(QFileInfo::exists(here(QStringLiteral("few.xls"))));
}

TEST_F(WindowTools, BackgroundIsChosenRememberedAndHiddenByARecord)
{
    copyShippedLanguages();
    Principale& w = start();
    Panels& p = w.panels();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = here(QStringLiteral("back, ground.png"));
    ASSERT_TRUE(picture.save(path));

    dialogs.openAnswers.push_back(path);
    w.Fonds_Click();
    EXPECT_TRUE(p.Image1->isVisibleTo(&w));
    EXPECT_EQ(Lire_Fonds(programFolder()), path);
    // It lies beneath every panel.
    EXPECT_EQ(p.Image1->parentWidget()->children().indexOf(p.Image1), 0);

    // A picture that cannot be read changes nothing.
    writeBytes(here(QStringLiteral("broken.jpg")), QByteArray("not a picture"));
    dialogs.openAnswers.push_back(here(QStringLiteral("broken.jpg")));
    w.Fonds_Click();
    EXPECT_EQ(Lire_Fonds(programFolder()), path);

    w.Image1_Click();
    EXPECT_FALSE(p.Image1->isVisibleTo(&w));
    w.Picture2_Click();
    EXPECT_TRUE(p.Image1->isVisibleTo(&w));
    w.ouvrirRecord([&] {
        Sauve_Fichier(here(QStringLiteral("r.Tml")), demo::lapTimingRecord(), 1);
        return here(QStringLiteral("r.Tml"));
    }());
    EXPECT_FALSE(p.Image1->isVisibleTo(&w));

    // An empty line means no background.
    writeBytes(QDir(programFolder()).filePath(QStringLiteral("Picture.txt")), QByteArray("\r\n"));
    w.affiche_Image();
    EXPECT_FALSE(p.Image1->isVisibleTo(&w));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTools, MenuFileWrittenByTheToolReadsBackUnchanged)
{
    copyShippedLanguages();
    Principale& w = start();
    w.Langue_Click(4);
    QStringList before;
    for (QAction* item : w.menus().menuFileItems())
        before << (item ? caption(item) : QString());
    QFile::remove(QDir(programFolder()).filePath(QStringLiteral("Menu_4.txt")));
    w.Sauve_Menus_Click();
    w.Sauve_Textes_Click();
    w.Sauve_Tips_Click();
    dialogs.messages.clear();
    w.Langue_Click(4);
    EXPECT_TRUE(dialogs.messages.empty());
    QStringList after;
    for (QAction* item : w.menus().menuFileItems())
        after << (item ? caption(item) : QString());
    EXPECT_EQ(after, before);
}

TEST_F(WindowTools, FiltersSmoothTheEngineSpeedRecordAndDeleteIsNotImplemented)
{
    Principale& w = startWithRecord(demo::engineSpeedRecord());
    EXPECT_TRUE(w.menus().Filtres->menuAction()->isEnabled());
    w.menus().Filtre[2]->trigger();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.menus().Filtre[std::size_t(i)]->isChecked(), i == 2) << i;
    EXPECT_EQ(w.record().rpm->V, 2);
    // Level 2 averages five samples from each one on.
    const RpmStatistics& rpm = *w.record().rpm;
    EXPECT_FLOAT_EQ(rpm.Rpm_Lisse[100], float(rpm.Rpm_Brut[100] + rpm.Rpm_Brut[101] + rpm.Rpm_Brut[102] + rpm.Rpm_Brut[103]
                                              + rpm.Rpm_Brut[104]) / 5.0F);

    w.menus().Supprimer->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Pas encore Implémenté"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Tormel"));
    EXPECT_TRUE(QFileInfo::exists(here(QStringLiteral("run.Tml"))));
}

}  // namespace
}  // namespace tormel
