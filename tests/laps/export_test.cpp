#include "laps/export.h"
#include "laps/lap_table.h"
#include "laps/rpm_statistics.h"

#include "laps_records.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::decoded;
using test::lapRecord;
using test::rpmRecord;

const QDateTime clock{QDate(2024, 3, 7), QTime(14, 5, 9)};
const QByteArray dateLine = "03-07-2024\t14:05:09\t\r\n";

// One exported grid row: each cell followed by a TAB, then a lone CR.
QByteArray row(std::initializer_list<const char*> cells)
{
    QByteArray line;
    for (const char* c : cells)
        line += QByteArray(c) + '\t';
    return line + '\r';
}

// Windows-1252 bytes of the French header row with the given speed unit.
QByteArray headerRow()
{
    return row({"  Tour", "Etape", "    Temps", "km/h(Tour)", " Temps(1)", "km/h(1)", " Temps(2)", "km/h(2)", " Temps(3)",
                "km/h(3)", " Max RPM", "Max \xB0" "C", " Moteur", "Temps", "Temps(1)", "Temps(2)", "Temps(3)"});
}

TEST(ExportLapTable, NoSectorsSortedAndUnsorted)
{
    const RecordImage image = lapRecord({{.lapTime = 6500, .maxRpmOver10 = 1234, .temperature = 85},
                                         {.lapTime = 5999, .maxRpmOver10 = 1300, .temperature = 90, .engine = 1}},
                                        0, 0);
    const QByteArray theoretical = row({"Th\xE9or.", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""});
    const QByteArray lap1 = row({" 1", " 0", "1'05\"00", "", "", "", "", "", "", "", "12340", "85", "1", "6500", "", "", ""});
    const QByteArray lap2 = row({" 2", " 0", "59\"99", "", "", "", "", "", "", "", "13000", "90", "2", "5999", "", "", ""});
    for (const auto& [column, laps] : {std::pair{int(LapNumberColumn), lap1 + lap2}, {RawLapTimeColumn, lap2 + lap1}}) {
        const LapTable t = buildLapTable(image, decoded(image), frenchTextTables(), {.sortColumn = column});
        EXPECT_EQ(exportLapTable(t, clock), dateLine + headerRow() + theoretical + laps) << column;
    }
}

TEST(ExportLapTable, SpeedsWithEitherSeparator)
{
    const RecordImage image = lapRecord({{.lapTime = 6500, .s1 = 3000, .s2 = 3500, .maxRpmOver10 = 1000, .temperature = 80},
                                         {.lapTime = 5999, .s1 = 2900, .s2 = 3099, .maxRpmOver10 = 1100, .temperature = 82}},
                                        1, 2);
    const QByteArray point =
        row({"Th\xE9or.", "", "59\"99", "060.0", "29\"00", "049.7", "30\"99", "069.7", "", "", "", "", "", "", "", "", ""}) +
        row({" 2", " 0", "59\"99", "060.0", "29\"00", "049.7", "30\"99", "069.7", "", "", "11000", "82", "1", "5999", " 2900", " 3099", ""}) +
        row({" 1", " 0", "1'05\"00", "055.4", "30\"00", "048.0", "35\"00", "061.7", "", "", "10000", "80", "1", "6500", " 3000", " 3500", ""});
    // With a comma, only the speeds change: every point between two digits.
    const QByteArray comma = QString::fromLatin1(point).replace(QRegularExpression(QStringLiteral("(\\d)\\.(\\d)")), QStringLiteral("\\1,\\2")).toLatin1();
    ASSERT_EQ(comma.count(','), 9);
    for (const auto& [separator, bytes] : {std::pair{'.', point}, {',', comma}}) {
        const LapTableOptions o{.trackLengths = {1000, 400, 600, 0}, .sortColumn = RawLapTimeColumn, .decimalSeparator = QLatin1Char(separator)};
        EXPECT_EQ(exportLapTable(buildLapTable(image, decoded(image), frenchTextTables(), o), clock), dateLine + headerRow() + bytes) << separator;
    }
}

TEST(ExportRpm, OwnLapAndBeaconCounting)
{
    // Codes 10, 10, 20, 20, 31, 31 with marks on samples 1 and 3 (too close
    // for the charts' dead time, counted here all the same); odd codes are no marks.
    const std::vector<std::uint8_t> samples{10, 10 | 128, 20, 20 | 128, 31, 31};
    const std::pair<int, QByteArray> cases[] = {
        {1, " 0 \t 0 \t 3000 \r\n 1 \t 0 \t 3000 \r\n 1 \t 0 \t 6000 \r\n 2 \t 0 \t 6000 \r\n 2 \t 0 \t 9300 \r\n 2 \t 0 \t 9300 \r\n"},
        {2, " 0 \t 1 \t 3000 \r\n 1 \t 0 \t 3000 \r\n 1 \t 0 \t 6000 \r\n 1 \t 1 \t 6000 \r\n 1 \t 1 \t 9300 \r\n 1 \t 1 \t 9300 \r\n"},
    };
    for (const auto& [beaconsPerLap, lines] : cases) {
        const RecordImage image = rpmRecord(samples, beaconsPerLap, 2);
        const DecodedRecord record = decoded(image);
        EXPECT_EQ(exportRpm(image, record, computeRpmStatistics(image, record, 0), frenchTextTables(), clock),
                  dateLine + "Tour : \tChamps\trpm\t\r\n" + lines) << beaconsPerLap;
    }
}

TEST(ExportFile, WritesThroughASaveFile)
{
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("laps.xls"));
    const QByteArray bytes = dateLine + "x\t\r";
    EXPECT_EQ(writeExport(path, bytes), std::nullopt);
    // Overwriting replaces the whole file.
    EXPECT_EQ(writeExport(path, "y"), std::nullopt);
    EXPECT_EQ(test::readBytes(path), QByteArray("y"));

    // A name taken by a folder: refused, the folder left as it was.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.xls")));
    EXPECT_TRUE(writeExport(folder.file(QStringLiteral("taken.xls")), bytes).has_value());
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("taken.xls"))).isDir());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("laps.xls")});
}

}  // namespace
}  // namespace tormel
