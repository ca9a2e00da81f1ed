#include "TestSupport.h"

#include "host/read/UrlMonikerReadService_win.h"
#include "host/window/MessagePump_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace qv::test {
namespace {

using namespace std::chrono_literals;

class ReadServiceTest : public ::testing::Test {
protected:
    explicit ReadServiceTest(std::chrono::milliseconds stallLimit = UrlMonikerReadService::DefaultStallLimit,
                             ReadLimits limits = {})
        : reads(stallLimit, limits)
    {
        reads.SetSink(&sink);
    }

    void Read(std::string_view path, const Text& name = u"1")
    {
        reads.AsyncRead(ServerUrl(path), ResultKind::ByteArray, name, 16);
    }

    void ExpectBytes(std::size_t size)
    {
        ASSERT_TRUE(sink.WaitForEnd());
        ASSERT_FALSE(sink.Error().has_value()) << sink.Error()->what();
        EXPECT_EQ(sink.completions, 1);
        EXPECT_TRUE(sink.Bytes() == ServedPattern(size));
    }

    void ExpectFailure(std::int32_t number, std::u16string_view fragment)
    {
        ASSERT_TRUE(sink.WaitForEnd());
        const auto error = sink.Error();
        ASSERT_TRUE(error.has_value()) << "the read completed with " << sink.Bytes().size() << " bytes";
        EXPECT_EQ(error->Number(), number) << error->what();
        EXPECT_NE(error->Description().find(fragment), Text::npos) << error->what();
    }

    UrlMonikerReadService reads;
    RecordingSink sink;
};

TEST_F(ReadServiceTest, CompletesWithTheServedBytesAndGrowingProgress)
{
    Read("/gen/300000");
    ExpectBytes(300000);
    ASSERT_FALSE(sink.progress.empty());
    EXPECT_TRUE(std::is_sorted(sink.progress.begin(), sink.progress.end()));
    EXPECT_LE(sink.progress.back(), 300000u);
}

TEST_F(ReadServiceTest, FastLargeDownloadKeepsReportingWhileItRuns)
{
    // On loopback the stream never runs dry: the service must still hand the
    // message loop back and report progress along the way.
    constexpr std::size_t size = 64 * 1024 * 1024;
    Read("/gen/67108864");
    ExpectBytes(size);
    EXPECT_GE(sink.progress.size(), 3u);
}

TEST_F(ReadServiceTest, EmptyBodyCompletesWithNoBytes)
{
    Read("/gen/0");
    ExpectBytes(0);
}

TEST_F(ReadServiceTest, NotFoundWithHtmlBodyFailsWithoutReportingTheErrorPageAsProgress)
{
    Read("/gen/100?fault=404");
    ExpectFailure(ErrorNumber::HttpStatus, u"HTTP 404");
    EXPECT_TRUE(sink.progress.empty());
}

TEST_F(ReadServiceTest, ServerErrorWithHtmlBodyFails)
{
    Read("/gen/100?fault=500");
    ExpectFailure(ErrorNumber::HttpStatus, u"HTTP 500");
    EXPECT_TRUE(sink.progress.empty());
}

TEST_F(ReadServiceTest, BodyCutShortOfItsAnnouncedLengthFails)
{
    Read("/gen/100000?fault=truncate&at=5000");
    ExpectFailure(ErrorNumber::Truncated, u"nach 5000 von 100000 Bytes");
}

TEST_F(ReadServiceTest, RefusedConnectionFails)
{
    reads.AsyncRead(u"http://127.0.0.1:1/tamorix/tamorix.exe", ResultKind::ByteArray, u"1", 16);
    ASSERT_TRUE(sink.WaitForEnd());
    const auto error = sink.Error();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Number(), ErrorNumber::TransferFailed) << error->what();
}

TEST_F(ReadServiceTest, RedirectIsFollowed)
{
    Read("/gen/3000?fault=redirect");
    ExpectBytes(3000);
}

TEST_F(ReadServiceTest, ChunkedBodyCompletes)
{
    Read("/gen/50000?fault=chunked&piece=3000");
    ExpectBytes(50000);
}

TEST_F(ReadServiceTest, ModeSixteenFetchesAFreshCopyOfACacheableFile)
{
    for (const Text name : {u"1", u"2"}) {
        RecordingSink fresh;
        reads.SetSink(&fresh);
        reads.AsyncRead(ServerUrl("/count/version"), ResultKind::ByteArray, name, 16);
        ASSERT_TRUE(fresh.WaitForEnd());
        const auto bytes = fresh.Bytes();
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), name == u"1" ? "1" : "2");
    }
}

TEST_F(ReadServiceTest, CancelledReadSendsNothingMoreAndFreesItsName)
{
    Read("/gen/200000?fault=drip&piece=1000&interval=20");
    ASSERT_TRUE(PumpUntil([this] { return !sink.progress.empty(); }, 10s));
    reads.CancelAsyncRead(u"1");
    const std::size_t progressAtCancel = sink.progress.size();
    PumpUntil([] { return false; }, 700ms);
    EXPECT_EQ(sink.completions, 0);
    EXPECT_EQ(sink.progress.size(), progressAtCancel);

    Read("/gen/10", u"1");
    ExpectBytes(10);
}

TEST_F(ReadServiceTest, NamesAreUniqueAndCancelOfAnUnknownNameFails)
{
    Read("/gen/200000?fault=drip&piece=1000&interval=20", u"7");
    EXPECT_THROW(Read("/gen/10", u"7"), HostError);
    EXPECT_THROW(reads.CancelAsyncRead(u"0"), HostError);
    EXPECT_THROW(reads.AsyncRead(ServerUrl("/gen/10"), ResultKind::Picture, u"8", 16), HostError);
    reads.CancelAsyncRead(u"7");
}

class StallingReadServiceTest : public ReadServiceTest {
protected:
    StallingReadServiceTest() : ReadServiceTest(1500ms) {}
};

TEST_F(StallingReadServiceTest, ServerThatStopsSendingFailsAfterTheStallLimit)
{
    const ULONGLONG started = GetTickCount64();
    Read("/gen/100000?fault=stall");
    ExpectFailure(ErrorNumber::Stalled, u"keine Daten");
    const ULONGLONG took = GetTickCount64() - started;
    EXPECT_GE(took, 1400u);
    EXPECT_LT(took, 10000u);
}

TEST_F(StallingReadServiceTest, ServerThatNeverAnswersFailsAfterTheStallLimit)
{
    Read("/gen/100?fault=silent");
    ExpectFailure(ErrorNumber::Stalled, u"keine Daten");
}

TEST_F(StallingReadServiceTest, ConnectionResetMidBodyFailsAtTheLatestAtTheStallLimit)
{
    // Windows reports the reset; Wine's urlmon, once it has handed over bytes,
    // reports nothing more, and only the stall limit ends the read.
    Read("/gen/100000?fault=reset&at=3000");
    ASSERT_TRUE(sink.WaitForEnd(10));
    const auto error = sink.Error();
    ASSERT_TRUE(error.has_value()) << "the read completed with " << sink.Bytes().size() << " bytes";
    EXPECT_TRUE(error->Number() == ErrorNumber::TransferFailed || error->Number() == ErrorNumber::Truncated ||
                error->Number() == ErrorNumber::Stalled)
        << error->what();
}

TEST_F(StallingReadServiceTest, SlowButSteadyServerIsNotAStall)
{
    // 40 pieces 100 ms apart: four seconds in all, never 1.5 s without a byte.
    Read("/gen/40000?fault=drip&piece=1000&interval=100");
    ExpectBytes(40000);
    EXPECT_GE(sink.progress.size(), 10u);
}

// The limits lowered, so that a small read passes them as a huge one would.
class LimitedReadServiceTest : public ReadServiceTest {
protected:
    LimitedReadServiceTest() : ReadServiceTest(UrlMonikerReadService::DefaultStallLimit, {10000, 64 * 1024, {}}) {}
};

TEST_F(LimitedReadServiceTest, AReadThatPassesItsCountLimitFailsWithOverflowRightThen)
{
    Read("/gen/10000");
    ExpectBytes(10000);
    sink = RecordingSink();
    Read("/gen/10001", u"2");
    ExpectFailure(ErrorNumber::Overflow, u"Overflow: mehr als 10000 Bytes");
    for (const std::size_t count : sink.progress) {
        EXPECT_LE(count, 10000u);
    }
}

TEST_F(LimitedReadServiceTest, RunningOutOfMemoryFailsTheReadWithErrorSeven)
{
    // The count limit allows it, the memory does not.
    reads.SetSink(nullptr);
    UrlMonikerReadService hungry(UrlMonikerReadService::DefaultStallLimit, {1000000, 64 * 1024, {}});
    RecordingSink recording;
    hungry.SetSink(&recording);
    hungry.AsyncRead(ServerUrl("/gen/500000"), ResultKind::ByteArray, u"1", 16);
    ASSERT_TRUE(recording.WaitForEnd());
    const auto error = recording.Error();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Number(), ErrorNumber::OutOfMemory) << error->what();
}

}  // namespace
}  // namespace qv::test
