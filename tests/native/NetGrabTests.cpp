#include "ScriptedHost.h"

#include "netgrab/NetGrab.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::test {
namespace {

// What the owner saw, with the control's state at the moment of each event.
struct Seen {
    std::string event;
    std::int32_t number = 0;
    Text description;
    bool busy = false;
    std::int32_t duration = -1;
    std::string bytes;
};

class NetGrabTest : public ::testing::Test {
protected:
    NetGrabTest()
    {
        grab.SetEvents(Recording());
    }

    NetGrabEvents Recording()
    {
        NetGrabEvents events;
        events.DownloadComplete = [this](std::int32_t n) { Record("complete", n); };
        events.DownloadFailed = [this](std::int32_t number, const Text& description) {
            Record("failed", number, description);
        };
        events.DownloadProgress = [this](std::int32_t n) { Record("progress", n); };
        return events;
    }

    void Record(std::string event, std::int32_t number, Text description = {})
    {
        seen.push_back({std::move(event), number, std::move(description), grab.Busy(), grab.Duration(), AsString(grab.Bytes())});
    }

    void StartAt(std::int32_t tick, const Text& url = u"http://server/file")
    {
        ticks.now = tick;
        grab.DownloadStart(url, NetGrab::ModeNewestVersion);
    }

    ReadValue Bytes(const std::string& bytes)
    {
        reads.Arrive(bytes);
        return ReadValue::OfBytes(reads.Snapshot());
    }

    ScriptedReadService reads;
    ScriptedTicks ticks;
    RecordingFileOutput files;
    NetGrab grab{reads, ticks, files};
    std::vector<Seen> seen;
};

TEST_F(NetGrabTest, NewControlIsIdleEmptyAndHasNothingToSave)
{
    EXPECT_FALSE(grab.Busy());
    EXPECT_TRUE(grab.Bytes().empty());
    EXPECT_EQ(grab.Duration(), 0);
    EXPECT_FALSE(grab.SaveAs(u"C:\\x\\tamorix.exe"));
    EXPECT_TRUE(files.files.empty());
}

TEST_F(NetGrabTest, StartRequestsByteArrayReadNamedAfterTheStartTickWithModeUnchanged)
{
    StartAt(-123456, u"http://server/tamorix/tamorix.exe");
    ASSERT_EQ(reads.reads.size(), 1u);
    EXPECT_EQ(reads.reads[0].target, u"http://server/tamorix/tamorix.exe");
    EXPECT_EQ(reads.reads[0].kind, ResultKind::ByteArray);
    EXPECT_EQ(reads.reads[0].name, u"-123456");
    EXPECT_EQ(reads.reads[0].options, 16);
    EXPECT_TRUE(grab.Busy());
    EXPECT_TRUE(reads.cancels.empty());
}

TEST_F(NetGrabTest, EmptyUrlChangesNothingWhetherIdleOrReading)
{
    grab.DownloadStart(u"", 16);
    EXPECT_TRUE(reads.reads.empty());
    EXPECT_FALSE(grab.Busy());

    StartAt(500);
    grab.DownloadStart(u"", 16);
    EXPECT_EQ(reads.reads.size(), 1u);
    EXPECT_TRUE(reads.cancels.empty());
    EXPECT_TRUE(grab.Busy());
    EXPECT_TRUE(seen.empty());
}

TEST_F(NetGrabTest, ProgressReplacesBytesAndReportsTheCountSoFar)
{
    StartAt(1000);
    reads.Progress(Bytes("abc"));
    reads.Progress(Bytes("defg"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].event, "progress");
    EXPECT_EQ(seen[0].number, 3);
    EXPECT_EQ(seen[0].bytes, "abc");
    EXPECT_TRUE(seen[0].busy);
    EXPECT_EQ(seen[1].number, 7);
    EXPECT_EQ(AsString(grab.Bytes()), "abcdefg");
}

TEST_F(NetGrabTest, ProgressWithoutReadableBytesRaisesNothingAndKeepsTheBuffer)
{
    StartAt(1000);
    reads.Progress(Bytes("abc"));
    seen.clear();
    reads.Progress(ReadValue::Missing());
    reads.Progress(ReadValue::OfOtherType());
    reads.Progress(ReadValue::Failed(HostError(31004, u"weg")));
    reads.Progress(ReadValue::OfBytes(reads.Snapshot()), ResultKind::File);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(AsString(grab.Bytes()), "abc");
    EXPECT_TRUE(grab.Busy());
}

TEST_F(NetGrabTest, EmptyProgressAndEmptyCompletionReportZeroAndLeaveNothingToSave)
{
    StartAt(1000);
    reads.Progress(ReadValue::OfBytes(reads.Snapshot()));
    reads.Complete(ReadValue::OfBytes(reads.Snapshot()));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].event, "progress");
    EXPECT_EQ(seen[0].number, 0);
    EXPECT_EQ(seen[1].event, "complete");
    EXPECT_EQ(seen[1].number, 0);
    EXPECT_FALSE(grab.SaveAs(u"C:\\out.bin"));
    EXPECT_TRUE(files.files.empty());
}

TEST_F(NetGrabTest, CompletionIsSeenIdleWithFinalDurationAndAllBytes)
{
    StartAt(1000);
    reads.Progress(Bytes("hello "));
    ticks.now = 1750;
    reads.Complete(Bytes("world"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].event, "complete");
    EXPECT_EQ(seen[1].number, 11);
    EXPECT_FALSE(seen[1].busy);
    EXPECT_EQ(seen[1].duration, 750);
    EXPECT_EQ(seen[1].bytes, "hello world");
    EXPECT_EQ(grab.Duration(), 750);
}

TEST_F(NetGrabTest, FailedTransferReportsHostErrorAndLeavesPreviousBytesButNothingToSave)
{
    StartAt(1000);
    reads.Complete(Bytes("first"));
    ASSERT_TRUE(grab.SaveAs(u"C:\\a.bin"));

    StartAt(2000);
    EXPECT_EQ(grab.Duration(), 0) << "a new read resets the duration until its own end";
    ticks.now = 2100;
    reads.Complete(ReadValue::Failed(HostError(31001, u"HTTP 404")));

    ASSERT_EQ(seen.back().event, "failed");
    EXPECT_EQ(seen.back().number, 31001);
    EXPECT_EQ(seen.back().description, u"HTTP 404");
    EXPECT_FALSE(seen.back().busy);
    EXPECT_EQ(seen.back().duration, 100);
    EXPECT_EQ(AsString(grab.Bytes()), "first");
    EXPECT_FALSE(grab.SaveAs(u"C:\\b.bin"));
    EXPECT_EQ(files.files.count(u"C:\\b.bin"), 0u);
}

TEST_F(NetGrabTest, CompletionWithAValueThatIsNoByteArrayFails)
{
    StartAt(1000);
    reads.Complete(ReadValue::OfOtherType());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "failed");
    EXPECT_EQ(seen[0].number, ErrorNumber::TypeMismatch);
    reads.Complete(ReadValue::Missing());
    EXPECT_EQ(seen.back().event, "failed");
}

TEST_F(NetGrabTest, CompletionOfAnotherKindEndsTheReadSilently)
{
    StartAt(1000);
    reads.Complete(ReadValue::OfOtherType(), ResultKind::Picture);
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(grab.Busy());
}

TEST_F(NetGrabTest, ErrorFromOwnersCompleteHandlerBecomesFailedAfterIt)
{
    NetGrabEvents events = Recording();
    events.DownloadComplete = [this](std::int32_t n) {
        Record("complete", n);
        throw HostError(75, u"Pfad-/Dateizugriffsfehler");
    };
    grab.SetEvents(events);
    StartAt(1000);
    reads.Complete(Bytes("payload"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].event, "complete");
    EXPECT_EQ(seen[1].event, "failed");
    EXPECT_EQ(seen[1].number, 75);
    EXPECT_EQ(seen[1].description, u"Pfad-/Dateizugriffsfehler");
    EXPECT_EQ(seen[1].bytes, "payload") << "the complete bytes stay in the buffer";
    EXPECT_FALSE(grab.SaveAs(u"C:\\x.bin"));
}

TEST_F(NetGrabTest, NonHostErrorFromOwnerIsReportedWithANumberToo)
{
    NetGrabEvents events = Recording();
    events.DownloadComplete = [](std::int32_t) { throw std::runtime_error("kaputt"); };
    grab.SetEvents(events);
    StartAt(1000);
    reads.Complete(Bytes("x"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "failed");
    EXPECT_EQ(seen[0].number, ErrorNumber::Internal);
    EXPECT_NE(seen[0].description.find(u"kaputt"), Text::npos);
}

TEST_F(NetGrabTest, ErrorFromOwnersProgressHandlerIsDiscarded)
{
    NetGrabEvents events = Recording();
    events.DownloadProgress = [](std::int32_t) { throw HostError(6, u"Overflow"); };
    grab.SetEvents(events);
    StartAt(1000);
    EXPECT_NO_THROW(reads.Progress(Bytes("abc")));
    EXPECT_EQ(AsString(grab.Bytes()), "abc");
    EXPECT_TRUE(grab.Busy());
    reads.Complete(Bytes("d"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "complete");
    EXPECT_EQ(seen[0].number, 4);
}

TEST_F(NetGrabTest, RestartWhileBusyCancelsTheOldNameAndStartsUnderTheNew)
{
    StartAt(1000);
    reads.Progress(Bytes("old"));
    ticks.now = 1300;
    reads.Complete(Bytes(""));
    EXPECT_EQ(grab.Duration(), 300);

    StartAt(2000);
    StartAt(2500);
    ASSERT_EQ(reads.cancels.size(), 1u);
    EXPECT_EQ(reads.cancels[0], u"2000");
    ASSERT_EQ(reads.reads.size(), 3u);
    EXPECT_EQ(reads.reads[2].name, u"2500");
    EXPECT_TRUE(grab.Busy());
    EXPECT_EQ(grab.Duration(), 0);
    EXPECT_EQ(AsString(grab.Bytes()), "old") << "bytes stay until the new read's first notification";
}

TEST_F(NetGrabTest, CancelOnlyAsksTheHostAndChangesNoState)
{
    grab.DownloadCancel();
    EXPECT_FALSE(grab.Busy()) << "idle: the name \"0\" names no read, its error is ignored";

    StartAt(4242);
    grab.DownloadCancel();
    EXPECT_TRUE(grab.Busy()) << "reading: busy until a completion or the next start";

    ASSERT_EQ(reads.cancels.size(), 2u);
    EXPECT_EQ(reads.cancels[0], u"0");
    EXPECT_EQ(reads.cancels[1], u"4242");
    EXPECT_TRUE(seen.empty());
}

TEST_F(NetGrabTest, RefusedStartRaisesNothingAndStaysBusyUntilTheNextStartButSaysSo)
{
    reads.refuseReads = HostError(31005, u"abgelehnt");
    StartAt(1000);
    EXPECT_TRUE(grab.Busy());
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(grab.StartRefused());
    reads.refuseReads.reset();
    StartAt(1100);
    EXPECT_EQ(reads.cancels.size(), 1u);
    EXPECT_TRUE(grab.Busy());
    EXPECT_FALSE(grab.StartRefused());
}

TEST_F(NetGrabTest, ARestartWithinTheSameMillisecondKeepsTheNameAndEndsWithTheNewRead)
{
    StartAt(5000);
    reads.Progress(Bytes("alt"));
    StartAt(5000);
    ASSERT_EQ(reads.cancels.size(), 1u);
    EXPECT_EQ(reads.cancels[0], u"5000");
    ASSERT_EQ(reads.reads.size(), 2u);
    EXPECT_EQ(reads.reads[1].name, u"5000");
    EXPECT_TRUE(grab.Busy());
    reads.Complete(Bytes("neu"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].event, "complete");
    EXPECT_FALSE(grab.Busy());
}

TEST_F(NetGrabTest, AReadServiceServesOneControlOnly)
{
    EXPECT_THROW(NetGrab(reads, ticks, files), HostError);
    ScriptedReadService own;
    {
        const NetGrab first(own, ticks, files);
        EXPECT_THROW(NetGrab(own, ticks, files), HostError);
    }
    EXPECT_NO_THROW(NetGrab(own, ticks, files));
}

TEST_F(NetGrabTest, StartTickOfZeroStillCountsAsReading)
{
    StartAt(0);
    EXPECT_TRUE(grab.Busy());
    EXPECT_EQ(reads.reads[0].name, u"0");
    ticks.now = 40;
    reads.Complete(Bytes("z"));
    EXPECT_FALSE(grab.Busy());
    EXPECT_EQ(grab.Duration(), 40);
}

TEST_F(NetGrabTest, DurationAcrossTheCounterWrapIsTheElapsedTime)
{
    StartAt(std::numeric_limits<std::int32_t>::max() - 5);
    ticks.now = std::numeric_limits<std::int32_t>::min() + 10;
    reads.Complete(Bytes("w"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "complete");
    EXPECT_EQ(grab.Duration(), 16);

    EXPECT_EQ(ElapsedTicks(-5, 10), 15) << "32-bit unsigned wrap after 49.7 days";
    EXPECT_EQ(ElapsedTicks(10, 9), std::numeric_limits<std::int32_t>::max()) << "a counter that ran backwards clamps";
}

TEST_F(NetGrabTest, SaveAsWritesExactlyTheBufferAndReportsRefusal)
{
    StartAt(1000);
    reads.Progress(Bytes(std::string("\0\x01\xff", 3)));
    EXPECT_TRUE(grab.SaveAs(u"C:\\during.bin")) << "during a read it saves what has arrived";
    EXPECT_EQ(AsString(files.files[u"C:\\during.bin"]), std::string("\0\x01\xff", 3));

    reads.Complete(Bytes("tail"));
    EXPECT_TRUE(grab.SaveAs(u"C:\\done.bin"));
    EXPECT_EQ(AsString(files.files[u"C:\\done.bin"]), std::string("\0\x01\xff", 3) + "tail");

    files.refuse = HostError(70, u"Zugriff verweigert");
    EXPECT_FALSE(grab.SaveAs(u"C:\\locked.bin"));
}

TEST_F(NetGrabTest, FirstCompletionOfTwoReadsInFlightEndsTheCurrentDownload)
{
    StartAt(1000);
    StartAt(1001);
    ticks.now = 1200;
    reads.Complete(ReadValue::Failed(HostError(31004, u"abgebrochen")));
    EXPECT_FALSE(grab.Busy());
    EXPECT_EQ(grab.Duration(), 199);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "failed");
}

TEST_F(NetGrabTest, CompleteHandlerMayStartTheNextRead)
{
    NetGrabEvents events = Recording();
    events.DownloadComplete = [this](std::int32_t) {
        ticks.now = 3000;
        grab.DownloadStart(u"http://server/next", 16);
    };
    grab.SetEvents(events);
    StartAt(1000);
    reads.Complete(Bytes("one"));
    EXPECT_TRUE(grab.Busy());
    ASSERT_EQ(reads.reads.size(), 2u);
    EXPECT_EQ(reads.reads[1].name, u"3000");
    EXPECT_TRUE(reads.cancels.empty()) << "the finished read is not cancelled";
}

TEST_F(NetGrabTest, CountThatDoesNotFitThirtyTwoBitsFailsWithOverflow)
{
    StartAt(1000);
    const ByteSnapshot huge{reads.data, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) + 1};
    reads.Progress(ReadValue::OfBytes(huge));
    EXPECT_TRUE(seen.empty());
    reads.Complete(ReadValue::OfBytes(huge));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "failed");
    EXPECT_EQ(seen[0].number, 6);
    EXPECT_EQ(seen[0].description, u"Overflow");
}

}  // namespace
}  // namespace qv::test
