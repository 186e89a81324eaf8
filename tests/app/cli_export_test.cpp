#include "demo_records.h"
#include "record/record_file.h"
#include "tracks/track_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// A portable copy of the program in its own folder, run from another folder
// that holds the records and the track file, as a user's shell loop would.
class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(programDir()));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TORMEL_EXE), exe()));
        QFile::setPermissions(exe(), QFile::permissions(exe()) | QFileDevice::ExeOwner);
        ASSERT_TRUE(QDir().mkpath(workDir()));
    }

    QString programDir() const { return folder_.file(QStringLiteral("program")); }
    QString workDir() const { return folder_.file(QStringLiteral("work")); }
    QString exe() const { return QDir(programDir()).filePath(QStringLiteral("tormel_vue")); }
    QString work(const QString& name) const { return QDir(workDir()).filePath(name); }

    void shipLanguages()
    {
        const QDir shipped(QStringLiteral(TORMEL_LANG_DIR));
        for (const QString& name : shipped.entryList({QStringLiteral("*.txt")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), QDir(programDir()).filePath(name)));
    }

    struct Run {
        int exitCode;
        QString err;
        QString out;
    };
    Run run(const QStringList& args)
    {
        QProcess process;
        process.setWorkingDirectory(workDir());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(exe(), args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
                QString::fromLocal8Bit(process.readAllStandardOutput())};
    }

    QStringList workFiles() const { return QDir(workDir()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name); }

    TempFolder folder_;
};

TEST_F(CommandLine, ExportsALapRecordWithoutADisplay)
{
    shipLanguages();
    ASSERT_TRUE(Sauve_Fichier(work(QStringLiteral("run1.Tml")), demo::lapTimingRecord(), 1));
    const Run r = run({QStringLiteral("--export"), QStringLiteral("run1.Tml"), QStringLiteral("run1.xls")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QByteArray bytes = readBytes(work(QStringLiteral("run1.xls")));
    const QList<QByteArray> rows = bytes.split('\r');
    // Date line, header, theoretical best, 24 laps, and the empty rest after the last CR.
    ASSERT_EQ(rows.size(), 1 + 2 + 24 + 1) << bytes.left(200).toStdString();
    EXPECT_TRUE(rows[1].startsWith("\n  Tour\t"));
    EXPECT_TRUE(rows[3].startsWith(" 1\t"));
    EXPECT_TRUE(rows[26].startsWith(" 24\t"));
    // No track lengths (no Pistes.aqw): the speed cells stay empty.
    EXPECT_EQ(rows[3].split('\t').at(3), QByteArray());
    // Only the output was written: no track file, no settings, no log.
    EXPECT_EQ(workFiles(), (QStringList{QStringLiteral("run1.Tml"), QStringLiteral("run1.xls")}));
    EXPECT_FALSE(QFileInfo::exists(QDir(programDir()).filePath(QStringLiteral("Tormport.dat"))));
}

TEST_F(CommandLine, UsesTheSettingsLanguageAndTrackLengths)
{
    shipLanguages();
    // English, miles/h, track 3.
    writeBytes(QDir(programDir()).filePath(QStringLiteral("Tormport.dat")), QByteArray("\x01\x00\x01\x00\x02\x00\x03\x00\xFF\xFF", 10));
    QByteArray pistes;
    for (int n = 1; n <= 3; ++n) {
        Fiche_Piste f = Init_Piste(n, {QStringLiteral("Nom"), QStringLiteral("Hammeau"), QStringLiteral("Country")});
        if (n == 3)
            f.Distances = {1100.0F, 350.5F, 400.0F, 349.5F};
        pistes += encodeTrackRecord(f);
    }
    writeBytes(work(QStringLiteral("Pistes.aqw")), pistes);
    // A bare 2048-byte record names no track: the current track of the settings is used.
    const RecordImage image = demo::lapTimingRecord();
    writeBytes(work(QStringLiteral("bare.Tml")), QByteArray(reinterpret_cast<const char*>(image.Data_Chrono.data()), 2048));
    const QByteArray pistesBefore = readBytes(work(QStringLiteral("Pistes.aqw")));

    const Run r = run({QStringLiteral("--export"), QStringLiteral("bare.Tml"), QStringLiteral("bare.xls")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> rows = readBytes(work(QStringLiteral("bare.xls"))).split('\r');
    const QList<QByteArray> header = rows[1].mid(1).split('\t');
    EXPECT_TRUE(header[3].startsWith("miles/h")) << header[3].toStdString();
    const QList<QByteArray> lap1 = rows[3].split('\t');
    EXPECT_FALSE(lap1[3].isEmpty());
    EXPECT_EQ(readBytes(work(QStringLiteral("Pistes.aqw"))), pistesBefore);
}

TEST_F(CommandLine, ExportsAnEngineSpeedRecord)
{
    ASSERT_TRUE(Sauve_Fichier(work(QStringLiteral("rpm.Tml")), demo::engineSpeedRecord(), 1));
    const Run r = run({QStringLiteral("--export"), QStringLiteral("rpm.Tml"), QStringLiteral("rpm.xls")});
    EXPECT_EQ(r.exitCode, 0);
    // No language files beside the program: one warning, French texts.
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    const QList<QByteArray> lines = readBytes(work(QStringLiteral("rpm.xls"))).split('\n');
    ASSERT_EQ(lines.size(), 2 + 1984 + 1);
    EXPECT_EQ(lines[1], QByteArray("Tour : \tChamps\trpm\t\r"));
}

TEST_F(CommandLine, FailuresLeaveNothingBehind)
{
    ASSERT_TRUE(Sauve_Fichier(work(QStringLiteral("run1.Tml")), demo::lapTimingRecord(), 1));
    RecordImage empty;
    ASSERT_TRUE(Sauve_Fichier(work(QStringLiteral("empty.Tml")), empty, 1));
    RecordImage few;
    few.Data_Chrono[97] = 1;
    few.Data_Chrono[104] = 36;  // 8 samples
    ASSERT_TRUE(Sauve_Fichier(work(QStringLiteral("few.Tml")), few, 1));
    writeBytes(work(QStringLiteral("kept.xls")), QByteArray("old contents"));

    struct Case {
        QStringList args;
        const char* why;
    };
    const Case cases[] = {
        {{QStringLiteral("--export"), QStringLiteral("missing.Tml"), QStringLiteral("a.xls")}, "missing record"},
        {{QStringLiteral("--export"), QStringLiteral("run1.Tml"), QStringLiteral("a.XLS")}, "extension case"},
        {{QStringLiteral("--export"), QStringLiteral("run1.Tml"), QStringLiteral("a")}, "no extension"},
        {{QStringLiteral("--export"), QStringLiteral("empty.Tml"), QStringLiteral("kept.xls")}, "no laps"},
        {{QStringLiteral("--export"), QStringLiteral("few.Tml"), QStringLiteral("kept.xls")}, "too few samples"},
        {{QStringLiteral("--export"), QStringLiteral("run1.Tml"), QStringLiteral("nofolder/a.xls")}, "unwritable"},
        {{QStringLiteral("--export"), QStringLiteral("run1.Tml")}, "missing argument"},
    };
    const QStringList before = workFiles();
    for (const Case& c : cases) {
        const Run r = run(c.args);
        EXPECT_NE(r.exitCode, 0) << c.why;
        EXPECT_FALSE(r.err.isEmpty()) << c.why;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("tormel_vue: "))) << c.why;
        EXPECT_EQ(workFiles(), before) << c.why;
    }
    EXPECT_EQ(readBytes(work(QStringLiteral("kept.xls"))), QByteArray("old contents"));
}

TEST_F(CommandLine, HelpDescribesTheExport)
{
    const Run r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("--export RECORD.Tml OUT.xls")));
}

}  // namespace
}  // namespace tormel
