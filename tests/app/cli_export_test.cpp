#include "base/app_info.h"
#include "demo_records.h"
#include "laps/conversions.h"
#include "laps/laps_records.h"
#include "record/record_file.h"
#include "support/pty_pair.h"
#include "support/temp_folder.h"
#include "tracks/track_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

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
        ASSERT_TRUE(QDir().mkpath(workDir()) && QDir().mkpath(home()));
    }

    QString programDir() const { return folder_.file(u"program"_s); }
    QString workDir() const { return folder_.file(u"work"_s); }
    QString exe() const { return QDir(programDir()).filePath(u"tormel_vue"_s); }
    QString work(const QString& name) const { return QDir(workDir()).filePath(name); }

    void shipLanguages()
    {
        const QDir shipped(QStringLiteral(TORMEL_LANG_DIR));
        for (const QString& name : shipped.entryList({u"*.txt"_s}, QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), QDir(programDir()).filePath(name)));
    }

    QString home(const QString& name = {}) const { return folder_.file(u"home/"_s + name); }

    struct Run { int exitCode; QString err, out; };
    // Without a display of any kind, for a user whose home is a folder of the test.
    Run run(const QStringList& args, const QString& from = {}) { return runAs({}, args, from); }
    // As the user `nobody`, who may enter the test's folders and owns its home.
    Run runAsNobody(const QStringList& args)
    {
        QFile::setPermissions(folder_.path(), QFile::permissions(folder_.path()) | QFileDevice::ExeOther | QFileDevice::ReadOther);
        QProcess::execute(u"chown"_s, {u"-R"_s, u"65534:65534"_s, home()});
        return runAs({u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s}, args);
    }
    Run runAs(const QStringList& wrapper, const QStringList& args, const QString& from = {})
    {
        QProcess process;
        process.setWorkingDirectory(from.isEmpty() ? workDir() : from);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // No session either: Qt would have its say about the missing XDG_RUNTIME_DIR.
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s, u"XDG_DATA_HOME"_s, u"XDG_CONFIG_HOME"_s,
                                    u"XDG_RUNTIME_DIR"_s})
            env.remove(name);
        env.insert(u"HOME"_s, home());
        process.setProcessEnvironment(env);
        if (wrapper.isEmpty())
            process.start(exe(), args);
        else
            process.start(wrapper.first(), wrapper.mid(1) + QStringList{exe()} + args);
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
    ASSERT_TRUE(saveRecordFile(work(u"run1.Tml"_s), demo::lapTimingRecord(), 1));
    const Run r = run({u"--export"_s, u"run1.Tml"_s, u"run1.xls"_s});
    EXPECT_TRUE(r.exitCode == 0 && r.err.isEmpty()) << r.err.toStdString();
    const QByteArray bytes = readBytes(work(u"run1.xls"_s));
    const QList<QByteArray> rows = bytes.split('\r');
    // Date line, header, theoretical best, 24 laps, and the empty rest after the last CR.
    ASSERT_EQ(rows.size(), 1 + 2 + 24 + 1) << bytes.left(200).toStdString();
    EXPECT_TRUE(rows[1].startsWith("\n  Tour\t") && rows[3].startsWith(" 1\t") && rows[26].startsWith(" 24\t"));
    // No track lengths (no Pistes.aqw): the speed cells stay empty.
    EXPECT_EQ(rows[3].split('\t').at(3), QByteArray());
    // Only the output was written: no track file, no settings, no log.
    EXPECT_EQ(workFiles(), (QStringList{u"run1.Tml"_s, u"run1.xls"_s}));
    EXPECT_FALSE(QFileInfo::exists(QDir(programDir()).filePath(u"Tormport.dat"_s)));
}

TEST_F(CommandLine, UsesTheSettingsLanguageAndTrackLengths)
{
    shipLanguages();
    // English, miles/h, track 3.
    writeBytes(QDir(programDir()).filePath(u"Tormport.dat"_s), QByteArray("\x01\x00\x01\x00\x02\x00\x03\x00\xFF\xFF", 10));
    Track third = defaultTrack(3, {u"Nom"_s, u"Hammeau"_s, u"Country"_s});
    third.lengths = {1100.0F, 350.5F, 400.0F, 349.5F};
    writeBytes(work(u"Pistes.aqw"_s), encodeTrackRecord(defaultTrack(1, {})) + encodeTrackRecord(defaultTrack(2, {})) + encodeTrackRecord(third));
    // A bare 2048-byte record names no track: the current track of the settings is used.
    const RecordImage image = demo::lapTimingRecord();
    writeBytes(work(u"bare.Tml"_s), QByteArray(reinterpret_cast<const char*>(image.bytes.data()), 2048));
    const QByteArray tracksBefore = readBytes(work(u"Pistes.aqw"_s));

    const Run r = run({u"--export"_s, u"bare.Tml"_s, u"bare.xls"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> rows = readBytes(work(u"bare.xls"_s)).split('\r');
    EXPECT_TRUE(rows[1].mid(1).split('\t')[3].startsWith("miles/h")) << rows[1].toStdString();
    EXPECT_FALSE(rows[3].split('\t')[3].isEmpty());
    EXPECT_EQ(readBytes(work(u"Pistes.aqw"_s)), tracksBefore);
}

TEST_F(CommandLine, ExportsAnEngineSpeedRecordInFrenchWithoutLanguageFiles)
{
    ASSERT_TRUE(saveRecordFile(work(u"rpm.Tml"_s), demo::engineSpeedRecord(), 1));
    const Run r = run({u"--export"_s, u"rpm.Tml"_s, u"rpm.xls"_s});
    EXPECT_EQ(r.exitCode, 0);
    // No language files beside the program: one warning, French texts.
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    const QList<QByteArray> lines = readBytes(work(u"rpm.xls"_s)).split('\n');
    ASSERT_EQ(lines.size(), 2 + 1984 + 1);
    EXPECT_EQ(lines[1], QByteArray("Tour : \tChamps\trpm\t\r"));
}

TEST_F(CommandLine, FailuresLeaveNothingBehind)
{
    ASSERT_TRUE(saveRecordFile(work(u"run1.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"empty.Tml"_s), RecordImage{}, 1));
    RecordImage few;
    few.bytes[97] = 1;
    few.bytes[104] = 36;  // 8 samples
    ASSERT_TRUE(saveRecordFile(work(u"few.Tml"_s), few, 1));
    writeBytes(work(u"kept.xls"_s), QByteArray("old contents"));

    const std::pair<QStringList, const char*> cases[] = {
        {{u"missing.Tml"_s, u"a.xls"_s}, "missing record"},
        {{u"run1.Tml"_s, u"a.XLS"_s}, "extension case"},
        {{u"run1.Tml"_s, u"a"_s}, "no extension"},
        {{u"empty.Tml"_s, u"kept.xls"_s}, "no laps"},
        {{u"few.Tml"_s, u"kept.xls"_s}, "too few samples"},
        {{u"run1.Tml"_s, u"nofolder/a.xls"_s}, "unwritable"},
        {{u"run1.Tml"_s}, "missing argument"},
    };
    const QStringList before = workFiles();
    for (const auto& [args, why] : cases) {
        const Run r = run(QStringList{u"--export"_s} + args);
        EXPECT_NE(r.exitCode, 0) << why;
        EXPECT_TRUE(r.err.startsWith(u"tormel_vue: "_s)) << why;
        EXPECT_EQ(workFiles(), before) << why;
    }
    EXPECT_EQ(readBytes(work(u"kept.xls"_s)), QByteArray("old contents"));
}

TEST_F(CommandLine, ExportsASeasonIntoAFolderAndNamesEachFailure)
{
    shipLanguages();
    ASSERT_TRUE(QDir().mkpath(work(u"other"_s)));  // out/ is created
    ASSERT_TRUE(saveRecordFile(work(u"2024.05.12.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"2024.05.13.Tml"_s), demo::engineSpeedRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"empty.Tml"_s), RecordImage{}, 1));
    ASSERT_TRUE(saveRecordFile(work(u"other/2024.05.12.Tml"_s), demo::lapTimingRecord(), 1));
    const QStringList records{u"2024.05.12.Tml"_s, u"2024.05.13.Tml"_s, u"empty.Tml"_s, u"missing.Tml"_s, u"other/2024.05.12.Tml"_s};
    const Run batch = run(QStringList{u"--export"_s} + records + QStringList{u"--to"_s, u"out"_s});
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_EQ(batch.out, u"2 exported, 3 failed\n"_s);
    const QStringList lines = batch.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << batch.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"tormel_vue: empty.Tml: "_s) && lines[0].endsWith(u"holds no lap"_s));
    EXPECT_TRUE(lines[1].startsWith(u"tormel_vue: missing.Tml: "_s));
    EXPECT_TRUE(lines[2].startsWith(u"tormel_vue: other/2024.05.12.Tml: its output 2024.05.12.xls"_s));
    EXPECT_EQ(QDir(work(u"out"_s)).entryList(QDir::Files), (QStringList{u"2024.05.12.xls"_s, u"2024.05.13.xls"_s}));
    // A folder already there takes the files again; a file is no folder.
    EXPECT_EQ(run({u"--export"_s, u"2024.05.13.Tml"_s, u"--to"_s, u"out"_s}).exitCode, 0);
    const Run onFile = run({u"--export"_s, u"2024.05.13.Tml"_s, u"--to"_s, u"empty.Tml"_s});
    EXPECT_EQ(std::pair(onFile.exitCode, onFile.err), std::pair(1, u"tormel_vue: empty.Tml is not a folder\n"_s));
    // On a terminal the progress line ends with the run.
    QProcess terminal;
    terminal.setWorkingDirectory(workDir());
    terminal.start(u"script"_s, {u"-qec"_s, exe() + u" --export 2024.05.12.Tml 2024.05.13.Tml --to tty"_s, u"/dev/null"_s});
    ASSERT_TRUE(terminal.waitForFinished(20000));
    const QString shown = QString::fromLocal8Bit(terminal.readAll());
    EXPECT_EQ(terminal.exitCode(), 0) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u"\r2 of 2\r\n2 exported, 0 failed\r\n"_s)) << shown.toStdString();
    // Each file is what the one-record export writes, the date line apart.
    const auto body = [](const QByteArray& bytes) { return bytes.mid(bytes.indexOf('\n') + 1); };
    for (const QString& name : {u"2024.05.12"_s, u"2024.05.13"_s}) {
        ASSERT_EQ(run({u"--export"_s, name + u".Tml"_s, name + u"-one.xls"_s}).exitCode, 0);
        EXPECT_EQ(body(readBytes(work(u"out/"_s + name + u".xls"_s))), body(readBytes(work(name + u"-one.xls"_s)))) << name.toStdString();
    }
}

TEST_F(CommandLine, OptionsAnswerWithoutAWindow)
{
    // out: what standard output must hold; err: what standard error must hold.
    const struct { QStringList args; int exitCode; QString out, err; } cases[] = {
        {{u"--frobnicate"_s}, 2, {}, u"tormel_vue: unknown option --frobnicate\nUsage: tormel_vue"_s},
        {{u"run1.Tml"_s, u"--to=x"_s}, 2, {}, u"unknown option --to=x"_s},
        {{u"--version"_s}, 0, u"tormel_vue "_s + versionText() + u'\n', {}},
        {{u"--help"_s}, 0, u"--version  prints the version (exit 0)"_s, {}},
        {{u"--export"_s, u"a.Tml"_s}, 2, {}, u"Usage: tormel_vue"_s},
        {{u"--export"_s, u"a.Tml"_s, u"--to"_s}, 2, {}, u"Usage: tormel_vue"_s},
        {{u"--export"_s, u"--to"_s, u"out"_s}, 2, {}, u"Usage: tormel_vue"_s},
        // Each command alone is that command's, never the window's.
        {{u"--export"_s}, 2, {}, u"Usage: tormel_vue"_s},
        {{u"--report"_s}, 2, {}, u"--report takes a record file and an output file ending in pdf"_s},
        {{u"--compare"_s}, 2, {}, u"--compare takes two to six laps"_s},
        {{u"--trace"_s}, 2, {}, u"a record is missing: --trace RECORD"_s},
        {{u"--export"_s, u"gone.Tml"_s, u"gone.xls"_s}, 1, {}, u"tormel_vue: cannot read the record gone.Tml: no such file\n"_s},
        {{u"--receive"_s}, 2, {}, u"--receive takes the record file to write"_s},
        {{u"--receive"_s, u"o.Tml"_s, u"--port"_s}, 2, {}, u"--port takes a port from 1 to 4"_s},
        {{u"--receive"_s, u"o.Tml"_s, u"--port"_s, u"5"_s}, 2, {}, u"--port takes a port from 1 to 4"_s},
        {{u"--receive"_s, u"o.Tml"_s, u"--port"_s, u"0"_s}, 2, {}, u"--port takes a port from 1 to 4"_s},
        {{u"--receive"_s, u"o.Tml"_s, u"--timeout"_s, u"86401"_s}, 2, {}, u"--timeout takes a number of seconds up to 86400"_s},
        {{u"--library"_s, u"--format"_s, u"xml"_s}, 2, {}, u"--format takes csv or json"_s},
        {{u"--library"_s, u"nowhere"_s}, 1, {}, u"tormel_vue: no such folder: nowhere\n"_s},
        // Qt's own options and a record after "--" are the window's: it needs a display.
        {{u"-session"_s, u"s1"_s, u"--style=fusion"_s, u"-platformtheme"_s, u"gtk3"_s, u"-reverse"_s}, 1, {}, u"no display found"_s},
        {{u"--"_s, u"--odd.Tml"_s}, 1, {}, u"no display found"_s},
        {{u"-"_s}, 1, {}, u"no display found"_s},  // a lone dash is a record's name, no option
        // A record's name is no Qt option, whatever its letters: what follows it is still read.
        {{u"xstyle"_s, u"--frobnicate"_s}, 2, {}, u"unknown option --frobnicate"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Run r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(c.out.isEmpty() ? r.out.isEmpty() : r.out.contains(c.out)) << r.out.toStdString();
        EXPECT_TRUE(c.err.isEmpty() ? r.err.isEmpty() : r.err.contains(c.err)) << r.err.toStdString();
    }
    // The commands print their own lines and nothing else.
    const std::pair<QStringList, QString> exactly[] = {
        {{u"--report"_s, u"a.Tml"_s}, u"tormel_vue: --report takes a record file and an output file ending in pdf\n"_s},
        {{u"--report"_s, u"missing.Tml"_s, u"out.pdf"_s}, u"tormel_vue: cannot read the record missing.Tml: no such file\n"_s},
        {{u"--compare"_s, u"a.Tml"_s}, u"tormel_vue: --compare takes two to six laps (RECORD or RECORD:N), then --gearing F/R "
                                      "(whole teeth from 5 to 120) if you wish, then --report and an output file ending in pdf\n"_s},
    };
    for (const auto& [args, err] : exactly)
        EXPECT_EQ(run(args).err, err);
    // Qt's options that take a value take the next argument, whatever it looks like; the others leave it ours.
    for (const char* option : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
                               "qwindowtitle", "session", "display", "geometry", "style", "stylesheet", "qmljsdebugger"})
        EXPECT_EQ(run({u"-"_s + QLatin1String(option), u"--frobnicate"_s}).exitCode, 1) << option;
    for (const char* option : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        EXPECT_EQ(run({u"-"_s + QLatin1String(option), u"--frobnicate"_s}).exitCode, 2) << option;
    // DISPLAY alone is an X desktop: Qt is left to reach it (here it cannot).
    QProcess x;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        env.remove(name);
    env.insert(u"DISPLAY"_s, u":987"_s);
    env.insert(u"HOME"_s, home());
    x.setProcessEnvironment(env);
    x.setWorkingDirectory(workDir());
    x.start(exe(), {});
    ASSERT_TRUE(x.waitForFinished(30000));
    const QString said = QString::fromLocal8Bit(x.readAllStandardError());
    EXPECT_TRUE(said.contains(u":987"_s) && !said.contains(u"no display found"_s)) << said.toStdString();
}

TEST_F(CommandLine, TheWindowStartsUpInTheCurrentFolder)
{
    shipLanguages();
    QProcess window;
    window.setWorkingDirectory(workDir());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"HOME"_s, home());
    window.setProcessEnvironment(env);
    window.start(exe(), {});
    // Its start-up creates the first track where it works.
    for (int i = 0; i < 200 && !QFileInfo::exists(work(u"Pistes.aqw"_s)); ++i)
        QThread::msleep(50);
    EXPECT_TRUE(QFileInfo::exists(work(u"Pistes.aqw"_s)));
    window.kill();
    window.waitForFinished();
}

TEST_F(CommandLine, FromHomeTheCommandsReadTheWindowsTrackFileAndCreateNothing)
{
    shipLanguages();
    ASSERT_TRUE(saveRecordFile(home(u"run1.Tml"_s), demo::lapTimingRecord(), 1));
    const QString own = home(u"Documents/Tormel_Vue"_s);
    const auto speed = [this] { return readBytes(home(u"run1.xls"_s)).split('\r').value(3).split('\t').value(3); };

    // No working folder yet: nothing is created, and the user is told.
    Run r = run({u"--export"_s, u"run1.Tml"_s, u"run1.xls"_s}, home());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, u"tormel_vue: no track file %1/Pistes.aqw: the speeds stay empty\n"_s.arg(own));
    EXPECT_EQ(speed(), QByteArray());
    EXPECT_FALSE(QFileInfo::exists(home(u"Documents"_s)));

    // The window's track file, read from there; the paths given stay the user's.
    Track first = defaultTrack(1, {u"Nom"_s, u"Hammeau"_s, u"Country"_s});
    first.lengths = {1000.0F, 0, 0, 0};
    ASSERT_TRUE(QDir().mkpath(own));
    writeBytes(own + u"/Pistes.aqw"_s, encodeTrackRecord(first));
    r = run({u"--export"_s, u"run1.Tml"_s, u"run1.xls"_s}, home());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, u"tormel_vue: track lengths from %1/Pistes.aqw\n"_s.arg(own));
    EXPECT_NE(speed(), QByteArray());
    r = run({u"--export"_s, u"run1.Tml"_s, u"--to"_s, u"season/xls"_s}, home());
    EXPECT_TRUE(r.exitCode == 0 && QFileInfo::exists(home(u"season/xls/run1.xls"_s))) << r.err.toStdString();
    EXPECT_EQ(QDir(own).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Pistes.aqw"_s});
}

TEST_F(CommandLine, ReportsASessionAsSearchableText)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (scripts/test installs it)";
    shipLanguages();
    ASSERT_TRUE(saveRecordFile(work(u"laps.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"rpm.Tml"_s), demo::engineSpeedRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"empty.Tml"_s), RecordImage{}, 1));
    ASSERT_TRUE(saveRecordFile(work(u"flat.Tml"_s), test::rpmRecord(std::vector<std::uint8_t>(200, 0), 1, 2), 1));
    const auto text = [this](const QString& pdf) {
        QProcess p;
        p.start(u"pdftotext"_s, {work(pdf), u"-"_s});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    ASSERT_EQ(run({u"--report"_s, u"laps.Tml"_s, u"laps.pdf"_s}).exitCode, 0);
    const QString laps = text(u"laps.pdf"_s);
    const RecordImage image = demo::lapTimingRecord();
    EXPECT_TRUE(laps.contains(u"270415"_s));
    EXPECT_TRUE(laps.contains(frenchTextTables().texts[39]));  // the theoretical best
    for (int lap = 1; lap <= test::decoded(image).lapCount; ++lap)
        EXPECT_TRUE(laps.contains(lapTimeText(float(image.lap(lap).lapTime)))) << lap;
    // The chart, the largest picture, at print resolution.
    QProcess images;
    images.start(u"pdfimages"_s, {u"-list"_s, work(u"laps.pdf"_s)});
    images.waitForFinished(30000);
    int widest = 0, ppi = 0;
    for (const QString& row : QString::fromUtf8(images.readAllStandardOutput()).split(u'\n').mid(2)) {
        const QStringList f = row.simplified().split(u' ');
        if (f.size() > 12 && f[3].toInt() > widest) {
            widest = f[3].toInt();
            ppi = f[12].toInt();
        }
    }
    EXPECT_GE(ppi, 200);

    // A defective menu file is told, as the window tells it, and the report is written.
    writeBytes(QDir(programDir()).filePath(u"Menu_0.txt"_s), "1,\"unterminated");
    const Run rpm = run({u"--report"_s, u"rpm.Tml"_s, u"rpm.pdf"_s});
    ASSERT_EQ(rpm.exitCode, 0);
    EXPECT_TRUE(rpm.err.contains(u"Menu_0.txt is missing or defective"_s)) << rpm.err.toStdString();
    EXPECT_EQ(text(u"rpm.pdf"_s).count(u" sec. "_s), 3);

    // Refused, or an engine speed the charts cannot be drawn to: the window's message, no report.
    for (const auto& [name, text] : {std::pair(u"empty"_s, 20), std::pair(u"flat"_s, 53)}) {
        const Run failed = run({u"--report"_s, name + u".Tml"_s, name + u".pdf"_s});
        EXPECT_EQ(failed.exitCode, 1) << name.toStdString();
        EXPECT_TRUE(failed.err.contains(frenchTextTables().texts[text])) << failed.err.toStdString();
    }
    // A report writes nothing else: no track file, no error log.
    EXPECT_EQ(workFiles(), (QStringList{u"empty.Tml"_s, u"flat.Tml"_s, u"laps.Tml"_s, u"laps.pdf"_s, u"rpm.Tml"_s, u"rpm.pdf"_s}));
}

TEST_F(CommandLine, ComparesLapsOfRecordsInAReport)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (scripts/test installs it)";
    shipLanguages();
    const RecordImage image = demo::lapTimingRecord();
    const QString copy = u"2026-05-12_10-30-00_SN270415.Tml"_s;
    ASSERT_TRUE(saveRecordFile(work(u"laps.Tml"_s), image, 1));
    ASSERT_TRUE(saveRecordFile(work(copy), image, 1));
    ASSERT_TRUE(saveRecordFile(work(u"rpm.Tml"_s), demo::engineSpeedRecord(), 1));
    writeBytes(work(u"laps.setup.json"_s), R"({"rearSprocket": 82})");
    writeBytes(work(u"2026-05-12_10-30-00_SN270415.setup.json"_s), R"({"rearSprocket": 84})");
    ASSERT_EQ(run({u"--compare"_s, u"laps.Tml:3"_s, copy + u":5"_s, u"--report"_s, u"cmp.pdf"_s}).exitCode, 0);
    QProcess pdf;
    pdf.start(u"pdftotext"_s, {u"-layout"_s, work(u"cmp.pdf"_s), u"-"_s});
    pdf.waitForFinished(30000);
    const QString text = QString::fromUtf8(pdf.readAllStandardOutput());
    const TextTables french = frenchTextTables();
    const std::int32_t slower = image.lap(5).lapTime - image.lap(3).lapTime;
    const QString difference = (slower > 0 ? u"+"_s : u"-"_s) + lapTimeText(float(std::abs(slower)));
    for (const QString& expected : {french.texts[compareTitle], u"2026-05-12 10:30 #5"_s, difference,
                                    french.texts[compareWhatChanged], french.texts[setupRearSprocket],
                                    french.texts[compareSectionBars], french.texts[sectionDifferenceAxis]})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << '\n' << text.toStdString();
    EXPECT_TRUE(QRegularExpression(u"\\s82\\s+84\\s"_s).match(text).hasMatch()) << text.toStdString();
    // Each section's row of times under its own name.
    for (int k = 1; k <= 3; ++k)
        EXPECT_TRUE(text.contains(QRegularExpression(QRegularExpression::escape(french.texts[bestsSection].arg(k)) + u"\\s+"_s
                                                     + QRegularExpression::escape(lapTimeText(float(image.lap(3).sectors[std::size_t(k - 1)]))))))
            << k;
    // Engine-speed laps: their traces overlaid and each one's figures, the
    // legend naming the record's track from the track file.
    writeBytes(work(u"Pistes.aqw"_s), encodeTrackRecord(defaultTrack(1, {u"Genk"_s, u"Town"_s, u"Land"_s})));
    ASSERT_EQ(run({u"--compare"_s, u"rpm.Tml"_s, u"rpm.Tml:2"_s, u"--report"_s, u"rpm.pdf"_s}).exitCode, 0);
    pdf.start(u"pdftotext"_s, {u"-layout"_s, work(u"rpm.pdf"_s), u"-"_s});
    pdf.waitForFinished(30000);
    const QString rpm = QString::fromUtf8(pdf.readAllStandardOutput());
    for (const TextEntry entry : {overlayTitle, overlayMaximum, overlayMinimum, overlayMean, overlayHistograms, overlayRpmAxis,
                                  overlayTimeAxis, overlayDifferenceAxis, histogramClassAxis, histogramSecondsAxis})
        EXPECT_TRUE(rpm.contains(french.texts[entry])) << entry << '\n' << rpm.toStdString();
    EXPECT_TRUE(rpm.contains(u"Genk1, "_s)) << rpm.toStdString();
    // The charts' tick labels stay text: round engine speeds, never grouped.
    EXPECT_GE(rpm.count(QRegularExpression(u"\\b[1-9]\\d?[05]00\\b"_s)), 3) << rpm.toStdString();
    // --gearing: a page of the reference lap with other sprockets than its sheet's.
    writeBytes(work(u"rpm.setup.json"_s), R"({"frontSprocket": 11, "rearSprocket": 82})");
    ASSERT_EQ(run({u"--compare"_s, u"rpm.Tml"_s, u"rpm.Tml:2"_s, u"--gearing"_s, u"11/84"_s, u"--report"_s, u"gear.pdf"_s}).exitCode, 0);
    pdf.start(u"pdftotext"_s, {u"-layout"_s, work(u"gear.pdf"_s), u"-"_s});
    pdf.waitForFinished(30000);
    const QString gear = QString::fromUtf8(pdf.readAllStandardOutput());
    for (const QString& said : {french.texts[sprocketsTitle], french.texts[sprocketsWith].arg(11).arg(84),
                                french.texts[sprocketsFitted].arg(11).arg(82), french.texts[sprocketsFirstOrder]})
        EXPECT_TRUE(gear.contains(said)) << said.toStdString() << '\n' << gear.toStdString();
    EXPECT_FALSE(rpm.contains(french.texts[sprocketsTitle]));

    const struct { QStringList laps; int exitCode; QString error; } refused[] = {
        {{u"laps.Tml"_s}, 2, u"two to six laps"_s},
        {{u"laps.Tml:99"_s, u"laps.Tml"_s}, 1, u"laps.Tml has no lap 99"_s},
        {{u"laps.Tml"_s, u"rpm.Tml"_s}, 1, u"rpm.Tml: a lap of another kind than the first"_s},
        {{u"laps.Tml"_s, u"gone.Tml"_s}, 1, u"cannot read the record gone.Tml"_s},
        {{u"rpm.Tml"_s, u"rpm.Tml:2"_s, u"--gearing"_s, u"11/121"_s}, 2, u"whole teeth from 5 to 120"_s},
        {{u"rpm.Tml"_s, u"--gearing"_s, u"11/84"_s}, 2, u"two to six laps"_s},
    };
    for (const auto& r : refused) {
        const Run failed = run(QStringList{u"--compare"_s} + r.laps + QStringList{u"--report"_s, u"no.pdf"_s});
        EXPECT_EQ(failed.exitCode, r.exitCode) << r.laps.join(u' ').toStdString();
        EXPECT_TRUE(failed.err.contains(r.error)) << failed.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(work(u"no.pdf"_s)));
}

// ---- The library of sessions ----------------------------------------------------

// The records of an RFC 4180 text: quoted fields may hold commas, quotes and line breaks.
std::vector<QStringList> csvRows(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    const auto at = [&](qsizetype i) { return i < text.size() ? text[i] : QChar(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == u'"' && at(i + 1) == u'"')
            cell += text[++i];
        else if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u',')
            row << std::exchange(cell, {});
        else if (!quoted && c == u'\r' && at(i + 1) == u'\n') {
            row << std::exchange(cell, {});
            rows.push_back(std::exchange(row, {}));
            ++i;
        } else
            cell += c;
    }
    return rows;
}

TEST_F(CommandLine, LibraryListsEachSessionOnceInCsvAndJson)
{
    shipLanguages();
    // German settings: the output stays English.
    writeBytes(QDir(programDir()).filePath(u"Tormport.dat"_s), QByteArray("\x01\x00\x00\x00\x03\x00\x01\x00\xFF\xFF", 10));
    Track first = defaultTrack(1, {u"Kartodrome, \"Nord\""_s, u"Hammeau"_s, u"Country"_s});
    writeBytes(work(u"Pistes.aqw"_s), encodeTrackRecord(first));
    ASSERT_TRUE(QDir().mkpath(work(u"downloads"_s)) && QDir().mkpath(home(u"season/round 1"_s)));
    const std::vector<test::LapSpec> laps{{.lapTime = 5000, .s1 = 2500, .s2 = 2501}, {.lapTime = 4990, .s1 = 2490, .s2 = 2500}};
    ASSERT_TRUE(saveRecordFile(work(u"downloads/2026-05-12_10-30-00_SN0.Tml"_s), test::lapRecord(laps, 1, 2), 1));
    ASSERT_TRUE(saveRecordFile(work(u"saved.Tml"_s), test::lapRecord(laps, 1, 2), 1));
    writeBytes(work(u"saved.setup.json"_s), R"({"driver": "Ana", "rearSprocket": 84, "frontPressure": 0.65})");
    ASSERT_TRUE(saveRecordFile(work(u"empty.Tml"_s), RecordImage{}, 1));
    ASSERT_TRUE(saveRecordFile(home(u"season/round 1/rpm.Tml"_s), demo::engineSpeedRecord(), 2));

    // With a folder: its sessions only.
    const Run season = run({u"--library"_s, home(u"season"_s)});
    ASSERT_EQ(season.exitCode, 0) << season.err.toStdString();
    ASSERT_EQ(csvRows(season.out).size(), 2U) << season.out.toStdString();
    EXPECT_TRUE(csvRows(season.out)[1].join(u',').contains(u"rpm.Tml"_s));
    const Run r = run({u"--library"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::vector<QStringList> rows = csvRows(r.out);
    ASSERT_EQ(rows.size(), 1U + 3U) << r.out.toStdString();
    const QStringList& names = rows[0];
    const auto field = [&](std::size_t row, const QString& name) { return rows[row].value(names.indexOf(name)); };
    for (const QStringList& row : rows)
        EXPECT_EQ(row.size(), names.size());
    EXPECT_EQ(field(1, u"trackName"_s), u"Kartodrome, \"Nord\"1"_s);  // a new track is named with its number
    EXPECT_EQ(field(1, u"date"_s), u"2026-05-12T10:30:00"_s);
    EXPECT_EQ(field(1, u"bestTime"_s) + u' ' + field(1, u"theoreticalBest"_s), u"49.90 49.90"_s);
    EXPECT_EQ(field(1, u"spread"_s) + u' ' + field(1, u"windowCount"_s), u"0.05 2"_s);
    EXPECT_EQ(field(1, u"files"_s).split(u';').size(), 2);
    EXPECT_EQ(field(1, u"driver"_s) + u' ' + field(1, u"rearSprocket"_s) + u' ' + field(1, u"frontPressure"_s), u"Ana 84 0.65"_s);
    EXPECT_EQ(field(1, u"kind"_s), u"lap timing"_s);
    QStringList kinds;
    for (std::size_t row = 2; row < rows.size(); ++row)
        kinds << field(row, u"kind"_s);
    EXPECT_EQ(kinds.count(u"engine speed"_s), 1) << kinds.join(u'|').toStdString();
    // The refused record says why, in English whatever the settings' language.
    EXPECT_EQ(field(2, u"reason"_s) + field(3, u"reason"_s), u"no lap recorded"_s);

    // The same fields in JSON; the index was kept, so nothing is read again.
    const Run j = run({u"--library"_s, u"--format"_s, u"json"_s});
    ASSERT_EQ(j.exitCode, 0) << j.err.toStdString();
    const QJsonArray objects = QJsonDocument::fromJson(j.out.toUtf8()).array();
    ASSERT_EQ(objects.size(), 3);
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(objects[0].toObject().keys(), sorted);
    EXPECT_EQ(objects[0][u"bestTime"_s].toDouble(), 49.9);
    EXPECT_EQ(objects[0][u"files"_s].toArray().size(), 2);
    EXPECT_TRUE(QFileInfo::exists(home(u".local/share/Tormel_Vue/library.sqlite"_s)));
    EXPECT_EQ(workFiles(), (QStringList{u"Pistes.aqw"_s, u"empty.Tml"_s, u"saved.Tml"_s, u"saved.setup.json"_s}));
}

// The season on paper: each track's bests as the lap table writes them and
// the table of its sessions; the sessions that name no track after the others.
TEST_F(CommandLine, ASeasonReportHoldsEachTracksBestsAndSessions)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (scripts/test installs it)";
    shipLanguages();
    writeBytes(work(u"Pistes.aqw"_s), encodeTrackRecord(defaultTrack(1, {u"Vallon"_s, {}, {}})) +
                                          encodeTrackRecord(defaultTrack(2, {u"Kartodrome"_s, {}, {}})));
    ASSERT_TRUE(QDir().mkpath(home(u"season"_s)));
    // Three tracks (2, 1 and none: 0 is no track's number), two sessions each, the second one quicker.
    const std::pair<std::int16_t, int> tracks[] = {{2, 0}, {1, 1}, {0, 2}};
    for (const auto& [track, k] : tracks)
        for (int i = 0; i < 2; ++i) {
            const auto best = std::uint16_t(5000 + 100 * k - 10 * i);
            RecordImage image = test::lapRecord({{.lapTime = std::uint16_t(best + 50)}, {.lapTime = best}}, 1, 2);
            image.bytes[1] = std::uint8_t(10 * k + i);
            const QString name = u"season/2026-0%1-1%2_10-00-00_SN%3.Tml"_s.arg(4 + i).arg(k).arg(10 * k + i);
            ASSERT_TRUE(saveRecordFile(home(name), image, track));
        }
    const Run r = run({u"--library"_s, home(u"season"_s), u"--report"_s, u"season.pdf"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QProcess pdf;
    pdf.start(u"pdftotext"_s, {u"-layout"_s, work(u"season.pdf"_s), u"-"_s});
    ASSERT_TRUE(pdf.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdf.readAllStandardOutput());
    const TextTables french = frenchTextTables();
    const qsizetype vallon = text.indexOf(u"1 Vallon"_s);
    const qsizetype kartodrome = text.indexOf(u"2 Kartodrome"_s);
    const qsizetype none = text.indexOf(french.texts[seasonNoTrack]);
    EXPECT_TRUE(vallon >= 0 && vallon < kartodrome && kartodrome < none) << text.toStdString();
    // Each track's best lap, from its second session, and both sessions' rows.
    for (int k = 0; k < 3; ++k) {
        // On the bests' own line, beside its caption.
        const QString best = QRegularExpression::escape(lapTimeText(float(5000 + 100 * k - 10)));
        EXPECT_TRUE(text.contains(QRegularExpression(QRegularExpression::escape(french.texts[libraryBestLap]) + u"\\s+"_s + best)))
            << k;
        EXPECT_TRUE(text.contains(u"1%1/04/2026 10:00"_s.arg(k)) && text.contains(u"1%1/05/2026 10:00"_s.arg(k))) << k;
    }
    EXPECT_TRUE(text.contains(french.texts[seasonConsistencyTitle]));

    // Refused: no session, a report that is no PDF, with a format, a file that cannot be written.
    const struct { QStringList args; int exitCode; QString error; } refused[] = {
        {{u"--library"_s, home(u"season"_s), u"--report"_s}, 2, u"--report takes an output file ending in .pdf"_s},
        {{u"--library"_s, home(u"season"_s), u"--report"_s, u"season.txt"_s}, 2, u"--report takes"_s},
        {{u"--library"_s, home(u"season"_s), u"--format"_s, u"csv"_s, u"--report"_s, u"s.pdf"_s}, 2, u"do not go together"_s},
        {{u"--library"_s, workDir(), u"--report"_s, u"none.pdf"_s}, 1, u"no session is found"_s},
        {{u"--library"_s, home(u"season"_s), u"--report"_s, u"nowhere/s.pdf"_s}, 1, u"cannot write nowhere/s.pdf"_s},
    };
    for (const auto& c : refused) {
        const Run failed = run(c.args);
        EXPECT_EQ(failed.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(failed.err.contains(c.error) && failed.err.count(u'\n') == 1) << failed.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(work(u"none.pdf"_s)) || QFileInfo::exists(work(u"s.pdf"_s)));
}

TEST_F(CommandLine, TwoLibraryRunsAtOnceShareTheIndex)
{
    for (int i = 0; i < 60; ++i) {
        RecordImage image = demo::lapTimingRecord();
        image.bytes[2000] = std::uint8_t(i);
        ASSERT_TRUE(saveRecordFile(work(u"r%1.Tml"_s.arg(i)), image, 1));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, home());
    env.remove(u"XDG_DATA_HOME"_s);
    QProcess runs[2];
    for (QProcess& p : runs) {
        p.setWorkingDirectory(workDir());
        p.setProcessEnvironment(env);
        p.start(exe(), {u"--library"_s});
    }
    for (QProcess& p : runs) {
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        EXPECT_EQ(p.readAllStandardOutput().count("\r\n"), 1 + 60);
    }
}

TEST_F(CommandLine, LibraryWithFoldersListsTheirSessionsOnlyAndSaysWhichAreCutShort)
{
    ASSERT_TRUE(QDir().mkpath(home(u"2025/round 1"_s)) && QDir().mkpath(home(u"2026"_s)) && QDir().mkpath(home(u"2026b"_s)));
    ASSERT_TRUE(saveRecordFile(home(u"2025/round 1/laps.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(home(u"2026/rpm.Tml"_s), demo::engineSpeedRecord(), 1));
    ASSERT_TRUE(saveRecordFile(home(u"2026b/copy.Tml"_s), demo::engineSpeedRecord(), 1));
    writeBytes(home(u"2026/cut.Tml"_s), readBytes(home(u"2025/round 1/laps.Tml"_s)).left(1000));
    // Each session: its files' names, whether it has laps, its reason and whether it is missing.
    const auto listed = [&](const QStringList& folders) {
        const Run r = run(QStringList{u"--library"_s} + folders);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        std::vector<QStringList> rows = csvRows(r.out);
        const QStringList names = rows.at(0);
        const auto field = [&](std::size_t row, const QString& name) { return rows[row].value(names.indexOf(name)); };
        QStringList out;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            QStringList files;
            for (const QString& f : field(i, u"files"_s).split(u';'))
                files << QFileInfo(f).fileName();
            files.sort();
            out << QStringList{files.join(u'+'), field(i, u"laps"_s).isEmpty() ? u"-"_s : u"laps"_s, field(i, u"reason"_s),
                               field(i, u"missing"_s)}.join(u' ');
        }
        out.sort();
        return out.join(u" | "_s);
    };
    EXPECT_EQ(listed({home(u"2025"_s)}), u"laps.Tml laps  false"_s);
    EXPECT_EQ(listed({home(u"2026b"_s)}), u"copy.Tml laps  false"_s);
    // A session with a copy elsewhere is listed once, whole, with all its files.
    EXPECT_EQ(listed({home(u"2026"_s)}), u"copy.Tml+rpm.Tml laps  false | cut.Tml - truncated: 1000 of 2048 bytes false"_s);
    // Its file gone, a session is still listed under the folder it was in.
    ASSERT_TRUE(QFile::remove(home(u"2025/round 1/laps.Tml"_s)));
    EXPECT_EQ(listed({home(u"2025"_s)}), u"laps.Tml laps  true"_s);
    // Without folders: everything the index holds, as the window shows it.
    EXPECT_EQ(listed({}).count(u'|'), 2);
}

TEST_F(CommandLine, AnIndexThatCannotBeWrittenIsStillListedAndBreaksNoLaterRun)
{
    if (getuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    shipLanguages();
    ASSERT_TRUE(saveRecordFile(work(u"laps.Tml"_s), demo::lapTimingRecord(), 1));
    QFile::setPermissions(workDir(), QFile::permissions(workDir()) | QFileDevice::WriteOther);
    const QString index = home(u".local/share/Tormel_Vue/library.sqlite"_s);
    Run r = runAsNobody({u"--library"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(QFileInfo::exists(index));
    ASSERT_TRUE(saveRecordFile(work(u"later.Tml"_s), demo::engineSpeedRecord(), 1));

    QFile::setPermissions(index, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    r = runAsNobody({u"--library"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(csvRows(r.out).size(), 2U) << r.out.toStdString();  // what the index holds
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"could not be brought up to date: the file may not be written"_s)) << r.err.toStdString();
    for (const QString& side : {u"-shm"_s, u"-wal"_s})
        EXPECT_FALSE(QFileInfo::exists(index + side)) << side.toStdString();

    // Writable again, even after a run that left a shared-memory file it may not write.
    QFile::setPermissions(index, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    writeBytes(index + u"-shm"_s, QByteArray(32768, 0));
    QProcess::execute(u"chown"_s, {u"65534:65534"_s, index + u"-shm"_s});
    QFile::setPermissions(index + u"-shm"_s, QFileDevice::ReadOwner);
    r = runAsNobody({u"--library"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QString()) << r.err.toStdString();
    EXPECT_EQ(csvRows(r.out).size(), 3U) << r.out.toStdString();
    ASSERT_TRUE(QFile::remove(index));
    r = runAsNobody({u"--library"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QString()) << r.err.toStdString();
}

TEST_F(CommandLine, TwoDamagedIndexesInOneSecondAreEachMovedAsideAndRebuilt)
{
    shipLanguages();
    ASSERT_TRUE(saveRecordFile(work(u"laps.Tml"_s), demo::lapTimingRecord(), 1));
    const QString index = home(u".local/share/Tormel_Vue/library.sqlite"_s);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(index).path()));
    QStringList said;
    for (int i = 0; i < 2; ++i) {
        writeBytes(index, QByteArray("not an index ").repeated(400));
        const Run r = run({u"--library"_s});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(csvRows(r.out).size(), 2U);
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        said << r.err;
    }
    const QStringList aside = QDir(QFileInfo(index).path()).entryList({u"library.sqlite.old-*"_s}, QDir::Files);
    ASSERT_EQ(aside.size(), 2);
    for (const QString& name : aside)
        EXPECT_EQ(said.filter(name + u" and is built again"_s).size(), 1) << name.toStdString();
}

// ---- The trace of a lap ------------------------------------------------------------


TEST_F(CommandLine, TracesAClosedLapInCsvAndJson)
{
    // Track 1 is 90 m long: lap 2 runs 6 m a sample at 45 m/s (162 km/h).
    Track track = defaultTrack(1, {u"Nom"_s, u"Hammeau"_s, u"Country"_s});
    track.lengths = {90.0F, 30.0F, 30.0F, 30.0F};
    writeBytes(work(u"Pistes.aqw"_s), encodeTrackRecord(track));
    ASSERT_TRUE(saveRecordFile(work(u"trace.Tml"_s), test::tracedRecord(), 1));
    writeBytes(work(u"trace.setup.json"_s), R"({"frontSprocket": 10, "rearSprocket": 80})");

    const Run best = run({u"--trace"_s, u"trace.Tml"_s, u"--gearing"_s, u"10/88"_s});
    ASSERT_EQ(best.exitCode, 0) << best.err.toStdString();
    const std::vector<QStringList> rows = csvRows(best.out);
    ASSERT_EQ(rows.size(), 1U + 16U);
    EXPECT_EQ(rows[0].join(u','), u"time,rpm,fraction,distance,speed,rpmWithGearing"_s);
    EXPECT_EQ(rows[1].join(u','), u"0.00,12000,0.000000,0.0,162.0,13200"_s);
    EXPECT_EQ(rows[2].join(u','), u"0.20,12000,0.066667,6.0,162.0,13200"_s);
    EXPECT_EQ(rows[16].join(u','), u"3.00,15000,1.000000,90.0,202.5,16500"_s);

    // Lap 1, its closing mark lap 2's first sample; sprockets given win over the sheet's.
    const Run first = run({u"--trace"_s, u"trace.Tml:1"_s, u"--format"_s, u"json"_s, u"--sprockets"_s, u"10/40"_s,
                           u"--gearing"_s, u"10/88"_s});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QJsonArray objects = QJsonDocument::fromJson(first.out.toUtf8()).array();
    ASSERT_EQ(objects.size(), 16);
    EXPECT_EQ(objects[0].toObject().keys(), (QStringList{u"distance"_s, u"fraction"_s, u"rpm"_s, u"rpmWithGearing"_s,
                                                         u"speed"_s, u"time"_s}));
    const QJsonObject mid = objects[3].toObject();
    EXPECT_EQ(mid[u"time"_s].toDouble(), 0.6);
    EXPECT_EQ(mid[u"rpm"_s].toInt(), 6000);
    EXPECT_EQ(mid[u"fraction"_s].toDouble(), 0.2);
    EXPECT_EQ(mid[u"distance"_s].toDouble(), 18.0);
    EXPECT_EQ(mid[u"speed"_s].toDouble(), 81.0);
    EXPECT_EQ(mid[u"rpmWithGearing"_s].toInt(), 13200);
    EXPECT_EQ(objects[15][u"rpm"_s].toInt(), 12000);

    // No lap length: distance and speed stay empty; no --gearing, no column.
    ASSERT_TRUE(saveRecordFile(work(u"elsewhere.Tml"_s), test::tracedRecord(), 7));
    const Run bare = run({u"--trace"_s, u"elsewhere.Tml"_s});
    ASSERT_EQ(bare.exitCode, 0) << bare.err.toStdString();
    EXPECT_EQ(csvRows(bare.out)[16].join(u','), u"3.00,15000,1.000000,,"_s);
    const Run bareJson = run({u"--trace"_s, u"elsewhere.Tml"_s, u"--format"_s, u"json"_s});
    const QJsonObject last = QJsonDocument::fromJson(bareJson.out.toUtf8()).array().last().toObject();
    EXPECT_TRUE(last[u"distance"_s].isNull() && last[u"speed"_s].isNull() && !last.contains(u"rpmWithGearing"_s));
}

TEST_F(CommandLine, TraceRefusalsSayWhyInOneLine)
{
    ASSERT_TRUE(saveRecordFile(work(u"trace.Tml"_s), test::tracedRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"laps.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(work(u"open.Tml"_s), test::rpmRecord(test::samplesWithBeacons(40, {5}), 1, 2), 1));
    writeBytes(work(u"junk.Tml"_s), "junk");
    const QString teeth = u"takes F/R, the front and rear teeth, whole numbers from 5 to 120"_s;
    const struct { QStringList args; int exitCode; QString error; } refused[] = {
        {{}, 2, u"a record is missing"_s},
        {{u"trace.Tml"_s, u"--format"_s, u"xml"_s}, 2, u"--format takes csv or json"_s},
        {{u"trace.Tml"_s, u"--format"_s}, 2, u"--format takes csv or json"_s},
        {{u"trace.Tml"_s, u"--gearing"_s, u"4/80"_s}, 2, u"--gearing "_s + teeth},
        {{u"trace.Tml"_s, u"--gearing"_s, u"11/121"_s}, 2, u"--gearing "_s + teeth},
        {{u"trace.Tml"_s, u"--gearing"_s, u"11-82"_s}, 2, u"--gearing "_s + teeth},
        {{u"trace.Tml"_s, u"--sprockets"_s}, 2, u"--sprockets "_s + teeth},
        {{u"trace.Tml"_s, u"laps.Tml"_s}, 2, u"laps.Tml is not an argument of --trace"_s},
        {{u"trace.Tml"_s, u"--frobnicate"_s}, 2, u"--frobnicate is not an argument of --trace"_s},
        {{u"gone.Tml"_s}, 1, u"cannot read the record gone.Tml: no such file"_s},
        {{u"gone.Tml:2"_s}, 1, u"cannot read the record gone.Tml: no such file"_s},
        {{u"junk.Tml"_s}, 1, u"junk.Tml is not an engine-speed record"_s},
        {{u"trace.Tml:3"_s}, 1, u"trace.Tml has no closed lap 3 (its closed laps are 1 to 2)"_s},
        {{u"trace.Tml:0"_s}, 1, u"trace.Tml has no closed lap 0"_s},
        {{u"laps.Tml"_s}, 1, u"laps.Tml is not an engine-speed record"_s},
        {{u"open.Tml"_s}, 1, u"open.Tml has no closed lap\n"_s},
        {{u"trace.Tml"_s, u"--gearing"_s, u"10/88"_s}, 1, u"trace.Tml: its setup sheet gives no sprockets"_s},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.args.join(u' ').toStdString());
        const Run failed = run(QStringList{u"--trace"_s} + r.args);
        EXPECT_EQ(failed.exitCode, r.exitCode);
        EXPECT_TRUE(failed.err.contains(r.error)) << failed.err.toStdString();
        EXPECT_EQ(failed.err.count(u'\n'), 1) << failed.err.toStdString();
        EXPECT_TRUE(failed.out.isEmpty());
    }
    // The bounds themselves are teeth.
    EXPECT_EQ(run({u"--trace"_s, u"trace.Tml"_s, u"--sprockets"_s, u"5/120"_s, u"--gearing"_s, u"120/5"_s}).exitCode, 0);
}

// ---- One download without the window ------------------------------------------

// What the logger does on the other end of the line, `delay` ms after "listening".
struct Logger {
    QByteArray sent;
    int delay = 0;
    bool paced = false;    // at the line's pace in 16-byte groups, through the logger simulator
    bool goesAway = false;  // the line ends after what was sent
};
struct Received { int exitCode; QString err; };

class Receive : public CommandLine {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(u"socat"_s).isEmpty())
            GTEST_SKIP() << "socat is not installed (scripts/test installs it)";
        CommandLine::SetUp();
        ASSERT_TRUE(saveRecordFile(work(u"demo.Tml"_s), record, 1));
    }

    // As `user` (root only) when given; on a terminal of its own through script(1) when `terminal`.
    Received receive(const Logger& logger, const QString& out, int port, int timeout, std::optional<uid_t> user = {},
                     bool terminal = false)
    {
        test::PtyPair line;
        EXPECT_TRUE(line.ready());
        if (user)
            ::chown(QFile::encodeName(line.programEnd()).constData(), *user, uid_t(-1));
        QDir(work(u"downloads"_s)).removeRecursively();
        QProcess process;
        process.setWorkingDirectory(workDir());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.insert(u"TMPDIR"_s, work(u"tmp"_s));
        env.insert(u"TORMEL_VUE_COM%1"_s.arg(port), line.programEnd());
        process.setProcessEnvironment(env);
        process.setReadChannel(QProcess::StandardError);
        const QStringList args{u"--receive"_s, out, u"--port"_s, QString::number(port), u"--timeout"_s, QString::number(timeout)};
        if (terminal) {
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.setReadChannel(QProcess::StandardOutput);
            QStringList words;
            for (const QString& a : QStringList{exe()} + args)
                words << u"'"_s + a + u"'"_s;
            process.start(u"script"_s, {u"-qfec"_s, words.join(u' '), u"/dev/null"_s});
        } else if (user && *user != ::getuid())
            process.start(u"setpriv"_s, QStringList{u"--reuid=%1"_s.arg(*user), u"--regid=%1"_s.arg(*user), u"--clear-groups"_s, exe()} + args);
        else
            process.start(exe(), args);
        QByteArray err;
        while (!err.contains("listening") && process.waitForReadyRead(10000))
            err += terminal ? process.readAll() : process.readAllStandardError();
        EXPECT_TRUE(err.contains("listening on Com" + QByteArray::number(port))) << err.toStdString();
        QThread::msleep(logger.delay);
        if (logger.paced) {
            EXPECT_EQ(QProcess::execute(QStringLiteral(TORMEL_LOGGER_SIMULATOR),
                                        {u"--chunk"_s, u"16"_s, work(u"demo.Tml"_s), line.loggerEnd()}), 0);
        } else if (!logger.sent.isEmpty()) {
            line.send(logger.sent);
        }
        if (logger.goesAway) {
            QThread::msleep(200);
            line.end();
        }
        EXPECT_TRUE(process.waitForFinished(20000));
        err += terminal ? process.readAll() : process.readAllStandardError();
        // Off a terminal no progress line is drawn, so none is ended either.
        EXPECT_TRUE(terminal || !(err.contains("\n\n") || err.contains('\r'))) << err.toStdString();
        return {process.exitCode(), QString::fromLocal8Bit(err)};
    }

    QStringList copies() const { return QDir(work(u"downloads"_s)).entryList(QDir::Files); }

    const RecordImage record = demo::lapTimingRecord();
    const QByteArray image{reinterpret_cast<const char*>(record.bytes.data()), RecordImage::Size};
};

TEST_F(Receive, AnAcceptedImageIsKeptWhateverFailsAfter)
{
    writeBytes(work(u"blocker"_s), "a file, not a folder");
    const struct { const char* name; Logger logger; QString out; int port, timeout, exitCode; bool written; const char* says; } cases[] = {
        {"a logger that starts 3 s after listening, on Com4", {image, 3000}, u"out.Tml"_s, 4, 20, 0, true,
         "received 2048 bytes on Com4"},
        // 2048 bytes at 9600 baud take 2.1 s: the transfer runs past the timeout, with room for a slow start.
        {"--timeout 2 does not cut a paced transfer that began at 0.5 s", {{}, 500, true}, u"out.Tml"_s, 1, 2, 0, true,
         "wrote out.Tml, copy "},
        {"OUT cannot be written: the copy keeps the image", {image}, u"blocker/out.Tml"_s, 1, 20, 1, false,
         "the image is kept in "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(work(u"out.Tml"_s));
        const Received r = receive(c.logger, c.out, c.port, c.timeout);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
        EXPECT_EQ(QFileInfo::exists(work(u"out.Tml"_s)), c.written);
        ASSERT_EQ(copies().size(), 1);
        EXPECT_TRUE(copies().value(0).endsWith(u"_SN270415.Tml"_s));
        EXPECT_TRUE(r.err.contains(copies().value(0))) << r.err.toStdString();
        EXPECT_EQ(readBytes(work(u"downloads/"_s + copies().value(0))), image + QByteArray("\x01\x00", 2));
        EXPECT_FALSE(QFileInfo::exists(work(u"error.tml"_s)));
    }

}

// Neither OUT nor downloads/ can be written: the image goes to a folder of
// the user's own in the temporary folder, named in the message. Two users in
// turn (as root: nobody, then another) each keep theirs.
TEST_F(Receive, TheLastResortCopyIsEachUsersOwn)
{
    ASSERT_TRUE(QDir().mkpath(work(u"tmp"_s)));
    writeBytes(work(u"blocker"_s), "a file, not a folder");
    writeBytes(work(u"downloads"_s), "a file, not a folder");
    std::vector<uid_t> users{::getuid()};
    if (::getuid() == 0) {
        // A shared temporary folder, as /tmp is: anyone may make a folder in it, nobody may touch another's.
        for (const QString& path : {folder_.path(), workDir(), programDir()})
            ::chmod(QFile::encodeName(path).constData(), 0755);
        ::chmod(QFile::encodeName(work(u"tmp"_s)).constData(), 01777);
        users = {65534, 65533};
    }
    static const QRegularExpression keptIn(u"the image is kept in (\\S+)\n"_s);
    for (const uid_t user : users) {
        SCOPED_TRACE(user);
        const Received r = receive({image}, u"blocker/out.Tml"_s, 1, 20, user);
        EXPECT_EQ(r.exitCode, 1);
        const QString kept = keptIn.match(r.err).captured(1);
        ASSERT_TRUE(kept.startsWith(work(u"tmp/tormel_vue-"_s))) << r.err.toStdString();
        EXPECT_EQ(readBytes(kept), image + QByteArray("\x01\x00", 2));
        struct stat privateFolder {};
        ASSERT_EQ(::stat(QFile::encodeName(kept.section(u'/', 0, -3)).constData(), &privateFolder), 0);
        EXPECT_EQ(privateFolder.st_uid, user);
        EXPECT_EQ(privateFolder.st_mode & 07777, 0700U);
    }
}

TEST_F(Receive, ARefusalSaysWhyAndWritesNothing)
{
    const struct { const char* name; Logger logger; int timeout; const char* says; } cases[] = {
        {"1000 bytes, then a quiet line", {image.left(1000)}, 20, "1000 of 2048 bytes, then 2 s quiet"},
        {"2100 bytes", {image + image.left(52)}, 20, "more than 2048 bytes"},
        {"the line goes away", {image.left(300), 0, false, true}, 20, "the line went away after 300 bytes"},
        {"nothing before the timeout", {}, 1, "no byte within 1 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Received r = receive(c.logger, u"out.Tml"_s, 1, c.timeout);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
        EXPECT_EQ(workFiles(), QStringList{u"demo.Tml"_s});
        EXPECT_TRUE(copies().isEmpty());
    }
}

// On a terminal the bytes come in on one line drawn over itself, ended
// before the refusal; the port closed after the session is no progress.
TEST_F(Receive, OnATerminalTheProgressLineEndsBeforeWhatFollows)
{
    const struct { Logger logger; const char* bytes; int exitCode; const char* then; } cases[] = {
        {{image.left(1000)}, "1000", 1, "download refused: "},
        {{image}, "2048", 0, "received 2048 bytes on Com1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        QFile::remove(work(u"out.Tml"_s));
        const Received r = receive(c.logger, u"out.Tml"_s, 1, 20, {}, true);
        EXPECT_EQ(r.exitCode, c.exitCode);
        const QString progress = u"\r"_s + QLatin1String(c.bytes) + u"/2048 bytes"_s;
        const qsizetype at = r.err.indexOf(progress);
        ASSERT_GE(at, 0) << r.err.toStdString();
        // The terminal writes each newline as CR LF.
        EXPECT_TRUE(r.err.mid(at + progress.size()).startsWith(u"\r\ntormel_vue: "_s + QLatin1String(c.then)))
            << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(u"\r0/2048"_s)) << r.err.toStdString();
    }
}

}  // namespace
}  // namespace tormel
