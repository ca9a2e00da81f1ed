#include "host/base/NumberFormat.h"
#include "host/shell/LauncherServices.h"
#include "launcher/StatusTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace qv {
namespace {

const NumberSeparators German{u",", u"."};
const NumberSeparators Swiss{u".", u"\u2019"};

TEST(NumberFormatTest, CountsAreGroupedInThousandsWithTheUsersSeparator)
{
    EXPECT_EQ(FormatGroupedCount(0, German), u"0");
    EXPECT_EQ(FormatGroupedCount(999, German), u"999");
    EXPECT_EQ(FormatGroupedCount(1000, German), u"1.000");
    EXPECT_EQ(FormatGroupedCount(1234567, German), u"1.234.567");
    EXPECT_EQ(FormatGroupedCount(-1234, German), u"-1.234");
    EXPECT_EQ(FormatGroupedCount(2147483647, Swiss), u"2\u2019147\u2019483\u2019647");
    EXPECT_EQ(FormatGroupedCount(std::numeric_limits<std::int64_t>::min(), German), u"-9.223.372.036.854.775.808");
}

TEST(NumberFormatTest, OneDecimalRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(FormatOneDecimal(4938.2736, German), u"4938,3");
    EXPECT_EQ(FormatOneDecimal(0.0, German), u"0,0");
    EXPECT_EQ(FormatOneDecimal(0.04, German), u"0,0");
    EXPECT_EQ(FormatOneDecimal(2.25, German), u"2,3");
    EXPECT_EQ(FormatOneDecimal(-2.25, German), u"-2,3");
    EXPECT_EQ(FormatOneDecimal(0.96, Swiss), u"1.0");
    EXPECT_EQ(FormatOneDecimal(1.0e20, German), u"100000000000000000000,0");
    EXPECT_EQ(FormatOneDecimal(std::nan(""), German), u"0,0");
}

TEST(StatusTextTest, ProgressShowsPlainDigits)
{
    EXPECT_EQ(ProgressStatus(524288), u"Aktuelle Version wird geladen: 524288");
    EXPECT_EQ(ProgressStatus(0), u"Aktuelle Version wird geladen: 0");
}

TEST(StatusTextTest, CompletionShowsCountAndRateWithRegionalSeparators)
{
    EXPECT_EQ(CompletionStatus(1234567, 2000, German), u"Beendet: 1.234.567 bytes (4938,3 kbps)");
    EXPECT_EQ(CompletionStatus(1234567, 2000, NumberSeparators{}), u"Beendet: 1,234,567 bytes (4938.3 kbps)");
    EXPECT_EQ(CompletionStatus(0, 150, German), u"Beendet: 0 bytes (0,0 kbps)");
}

TEST(StatusTextTest, CompletionNeverDividesByZeroNorOverflows)
{
    // Faster than the counter's step: counted as 1 ms.
    EXPECT_EQ(CompletionStatus(1000, 0, German), u"Beendet: 1.000 bytes (8000,0 kbps)");
    // Beyond 268,435,455 bytes the bit count needs more than 32 bits.
    EXPECT_EQ(CompletionStatus(268435456, 1000, German), u"Beendet: 268.435.456 bytes (2147483,6 kbps)");
    EXPECT_EQ(CompletionStatus(2147483647, 0, German), u"Beendet: 2.147.483.647 bytes (17179869176,0 kbps)");
}

TEST(ProgramPathTest, FolderOfTheModuleKeepsTheSeparatorOnlyAtADriveRoot)
{
    EXPECT_EQ(FolderOfModule(u"C:\\Programme\\Fernwartung\\Quorvelinde.exe"), u"C:\\Programme\\Fernwartung");
    EXPECT_EQ(FolderOfModule(u"C:\\Quorvelinde.exe"), u"C:\\");
    EXPECT_EQ(FolderOfModule(u"q:/Quorvelinde.exe"), u"q:/");
    EXPECT_EQ(FolderOfModule(u"\\\\?\\C:\\Quorvelinde.exe"), u"\\\\?\\C:\\");
    EXPECT_EQ(FolderOfModule(u"\\\\server\\freigabe\\Quorvelinde.exe"), u"\\\\server\\freigabe");
    EXPECT_EQ(FolderOfModule(u"Z:\\tmp\\Fernwartung \u03A9\u03BC\\Quorvelinde.exe"), u"Z:\\tmp\\Fernwartung \u03A9\u03BC");
}

}  // namespace
}  // namespace qv
