#include "TestSupport.h"

#include "host/files/RunLogFile_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

namespace qv::test {
namespace {

std::string Contents(const std::filesystem::path& file)
{
    const auto bytes = ReadWholeFile(file);
    return {bytes.begin(), bytes.end()};
}

TEST(RunLogFile, TwoRunsRotateOnceAndALogThatCannotBeRenamedBeginsAnew)
{
    TempFolder folder;
    const auto log = folder.Path() / L"Quorvelinde.log";
    const auto kept = folder.Path() / L"Quorvelinde.log.1";
    WriteWholeFile(log, std::vector<std::uint8_t>(2000, 'a'));
    WriteWholeFile(kept, {'o', 'l', 'd'});

    {
        // Two runs begin together: both open the large log, the first rotates it and writes its line.
        const OwnedFile second = RunLogFile::OpenForRotation(AsText(log));
        ASSERT_TRUE(second);
        RunLogFile first(AsText(log), 1000);
        first.Record(u"erste Zeile");
        // The second run's rotation finds its file already kept: the first run's fresh log stays.
        RunLogFile::RotateIfLarger(second, AsText(log), 1000);
    }
    EXPECT_NE(Contents(log).find("erste Zeile"), std::string::npos);
    EXPECT_EQ(Contents(kept), std::string(2000, 'a')) << "the older megabyte is kept once";

    // A log that cannot be renamed (here: a folder stands where it would be kept) begins anew.
    WriteWholeFile(log, std::vector<std::uint8_t>(2000, 'b'));
    std::filesystem::remove(kept);
    std::filesystem::create_directory(kept);
    RunLogFile third(AsText(log), 1000);
    third.Record(u"dritte Zeile");
    const std::string now = Contents(log);
    EXPECT_LT(now.size(), 200u) << "a log that cannot be rotated is not grown";
    EXPECT_NE(now.find("dritte Zeile"), std::string::npos);
}

TEST(RunLogFile, RunsWritingAtOnceLoseNoLine)
{
    // Each run appends through its own handle, as launchers of the same user do.
    TempFolder folder;
    const Text log = AsText(folder.Path() / L"Quorvelinde.log");
    constexpr int Lines = 3000;
    auto writeLines = [&log](char16_t run) {
        RunLogFile file(log);
        for (int i = 0; i < Lines; ++i) {
            file.Record([&] { return Text(u"Lauf ") + run + u" Zeile " + DecimalText(i); });
        }
    };
    {
        std::jthread b(writeLines, u'B');
        std::jthread c(writeLines, u'C');
        writeLines(u'A');
    }

    const std::string written = Contents(folder.Path() / L"Quorvelinde.log");
    for (const char* run : {"Lauf A Zeile ", "Lauf B Zeile ", "Lauf C Zeile "}) {
        int found = 0;
        for (auto at = written.find(run); at != std::string::npos; at = written.find(run, at + 1)) {
            ++found;
        }
        EXPECT_EQ(found, Lines) << run;
    }
}

}  // namespace
}  // namespace qv::test
