#include "config/error_log.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

const QLocale french(QLocale::French, QLocale::France);

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

}  // namespace
}  // namespace tormel
