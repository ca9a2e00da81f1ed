#include "TestSupport.h"

#include "host/base/TickCounter_win.h"
#include "host/files/FileOutput_win.h"
#include "host/read/UrlMonikerReadService_win.h"
#include "host/window/MessagePump_win.h"
#include "netgrab/NetGrab.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace qv::test {
namespace {

using namespace std::chrono_literals;

class NetGrabWinTest : public ::testing::Test {
protected:
    NetGrabWinTest()
    {
        NetGrabEvents events;
        events.DownloadComplete = [this](std::int32_t n) {
            completed.push_back(n);
            busyInHandler = grab.Busy();
        };
        events.DownloadFailed = [this](std::int32_t number, const Text& description) {
            failures.push_back(HostError(number, description));
        };
        events.DownloadProgress = [this](std::int32_t n) { progress.push_back(n); };
        grab.SetEvents(events);
    }

    bool Fetch(std::string_view path)
    {
        grab.DownloadStart(ServerUrl(path), NetGrab::ModeNewestVersion);
        return PumpUntil([this] { return !grab.Busy(); }, 30s);
    }

    UrlMonikerReadService reads;
    SystemTickCounter ticks;
    WindowsFileOutput files;
    NetGrab grab{reads, ticks, files};

    std::vector<std::int32_t> completed;
    std::vector<std::int32_t> progress;
    std::vector<HostError> failures;
    bool busyInHandler = true;
    TempFolder folder;
};

TEST_F(NetGrabWinTest, DownloadSavedToAFileHoldsTheServedBytesExactly)
{
    ASSERT_TRUE(Fetch("/gen/1000000"));
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_EQ(completed[0], 1000000);
    EXPECT_FALSE(busyInHandler);
    ASSERT_FALSE(progress.empty());
    EXPECT_LE(progress.back(), 1000000);
    EXPECT_EQ(grab.Bytes(), ServedPattern(1000000));

    const auto target = folder.Path() / L"tamorix.exe";
    ASSERT_TRUE(grab.SaveAs(AsText(target)));
    EXPECT_EQ(ReadWholeFile(target), ServedPattern(1000000));
    EXPECT_EQ(folder.Entries().size(), 1u) << "no temporary file is left behind";
}

TEST_F(NetGrabWinTest, SaveOntoALongerExistingFileLeavesExactlyTheNewBytes)
{
    const auto target = folder.Path() / L"tamorix.exe";
    WriteWholeFile(target, std::vector<std::uint8_t>(50000, 0xEE));
    ASSERT_TRUE(Fetch("/gen/1234"));
    ASSERT_TRUE(grab.SaveAs(AsText(target)));
    EXPECT_EQ(ReadWholeFile(target), ServedPattern(1234));
}

TEST_F(NetGrabWinTest, SaveOntoAFileHeldOpenWithoutSharingKeepsTheOldFile)
{
    const auto target = folder.Path() / L"tamorix.exe";
    const std::vector<std::uint8_t> old(7000, 0x42);
    WriteWholeFile(target, old);
    ASSERT_TRUE(Fetch("/gen/20000"));

    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const bool saved = grab.SaveAs(AsText(target));
    CloseHandle(held);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_EQ(folder.Entries().size(), 1u) << "the temporary file is removed again";
}

TEST_F(NetGrabWinTest, SaveIntoAMissingFolderFailsAndCreatesNothing)
{
    ASSERT_TRUE(Fetch("/gen/100"));
    const auto missing = folder.Path() / L"fehlt";
    EXPECT_FALSE(grab.SaveAs(AsText(missing / L"tamorix.exe")));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(NetGrabWinTest, FailedDownloadIsReportedAndLeavesNothingToSave)
{
    ASSERT_TRUE(Fetch("/gen/100000?fault=truncate&at=5000"));
    EXPECT_TRUE(completed.empty());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Number(), ErrorNumber::Truncated);
    EXPECT_FALSE(grab.SaveAs(AsText(folder.Path() / L"x.bin")));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(NetGrabWinTest, DurationIsTheTimeFromStartToCompletion)
{
    const ULONGLONG before = GetTickCount64();
    ASSERT_TRUE(Fetch("/gen/1000?fault=delay&ms=400"));
    const ULONGLONG took = GetTickCount64() - before;
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_GE(grab.Duration(), 380);
    EXPECT_LE(static_cast<ULONGLONG>(grab.Duration()), took + 20);
}

// A tick counter that stands still: two starts get the same read name.
class StillTicks final : public TickCounter {
public:
    std::int32_t TickCount() override { return 777; }
};

TEST_F(NetGrabWinTest, RestartWithinTheSameMillisecondEndsOnlyWithTheNewRead)
{
    UrlMonikerReadService stillReads;
    StillTicks still;
    std::vector<std::int32_t> done;
    NetGrab restarted(stillReads, still, files, {[&done](std::int32_t n) { done.push_back(n); }, {}, {}});
    restarted.DownloadStart(ServerUrl("/gen/200000?fault=drip&piece=1000&interval=20"), NetGrab::ModeNewestVersion);
    ASSERT_TRUE(PumpUntil([&restarted] { return !restarted.Bytes().empty(); }, 10s));
    // The old read is cancelled under the name "777" and the new one starts under it again.
    restarted.DownloadStart(ServerUrl("/gen/4321"), NetGrab::ModeNewestVersion);
    EXPECT_FALSE(restarted.StartRefused());
    ASSERT_TRUE(PumpUntil([&restarted] { return !restarted.Busy(); }, 30s));
    PumpUntil([] { return false; }, 500ms);

    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], 4321);
    EXPECT_EQ(restarted.Bytes(), ServedPattern(4321));
}

}  // namespace
}  // namespace qv::test
