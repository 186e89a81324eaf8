#include "shell/error_log.h"
#include "support/temp_folder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

const QLocale french(QLocale::French, QLocale::France);

TEST(ErrorLog, ReportLinesShowVersionDateTimeThenCode)
{
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 30));
    EXPECT_EQ(errorReportLines(QStringLiteral("2"), when, french),
              QStringList({QStringLiteral("Tormel_Vue Version 1.1.905/03/202414:07"), QStringLiteral("2")}));
}

TEST(ErrorLog, ReportsAreAppendedOlderFirst)
{
    TempFolder folder;
    writeBytes(folder.file("Error.txt"), "earlier\r\n");
    ASSERT_TRUE(appendErrorReport(QStringLiteral("1"), QDateTime(QDate(2024, 3, 5), QTime(9, 0)), nullptr, french));
    ASSERT_TRUE(appendErrorReport(QStringLiteral("3"), QDateTime(QDate(2024, 3, 6), QTime(10, 30)), nullptr, french));
    EXPECT_EQ(readBytes(folder.file("Error.txt")),
              QByteArray("earlier\r\n"
                         "Tormel_Vue Version 1.1.905/03/202409:00\r\n1\r\n"
                         "Tormel_Vue Version 1.1.906/03/202410:30\r\n3\r\n"));
}

TEST(ErrorLog, UnwritableFolderReportsFailure)
{
    TempFolder folder;
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral("/proc")));
    QString why;
    const bool written = appendErrorReport(QStringLiteral("1"), QDateTime::currentDateTime(), &why, french);
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    EXPECT_FALSE(written);
    EXPECT_FALSE(why.isEmpty());
}

}  // namespace
}  // namespace tormel
