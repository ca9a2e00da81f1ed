#include "host/base/HostError.h"
#include "host/base/Text.h"
#include "host/base/TopLevelError.h"
#include "host/read/HttpHeaders.h"

#include "host/read/ReadPace.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace qv {
namespace {

TEST(Text, Utf8RoundTripKeepsEveryPlaneAndReplacesBrokenSequences)
{
    const Text text = u"Fernwartung \u03A9\u03BC \u00E4\u00DF \U0001F600";
    EXPECT_EQ(TextFromUtf8(Utf8FromText(text)), text);
    EXPECT_EQ(Utf8FromText(u"\u00E4"), "\xC3\xA4");
    EXPECT_EQ(TextFromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(TextFromUtf8("\xE2\x82"), u"\uFFFD");
    EXPECT_EQ(Utf8FromText(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Text, DecimalTextHasSignAndNoLeadingZeros)
{
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-2147483648LL), u"-2147483648");
    EXPECT_EQ(DecimalText(524288), u"524288");
}

TEST(HostError, CarriesNumberAndDescriptionAndConvertsOtherExceptions)
{
    EXPECT_EQ(OverflowError().Number(), 6);
    EXPECT_EQ(OverflowError().Description(), u"Overflow");
    EXPECT_STREQ(HostError(31001, u"HTTP 404").what(), "31001: HTTP 404");

    auto convert = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            return CurrentErrorAsHostError();
        }
    };
    EXPECT_EQ(convert(HostError(75, u"x")).Number(), 75);
    EXPECT_EQ(convert(std::bad_alloc()).Number(), ErrorNumber::OutOfMemory);
    const HostError other = convert(std::runtime_error("boom"));
    EXPECT_EQ(other.Number(), ErrorNumber::Internal);
    EXPECT_NE(other.Description().find(u"boom"), Text::npos);
}

HostError g_reported(0, u"");

void Remember(const HostError& error)
{
    g_reported = error;
}

TEST(TopLevelError, ReceivesWhatNoCallerHandledAsAHostError)
{
    const TopLevelErrorHandler previous = SetTopLevelErrorHandler(&Remember);
    try {
        throw std::runtime_error("verloren");
    } catch (...) {
        ReportCurrentErrorToTopLevel();
    }
    EXPECT_EQ(g_reported.Number(), ErrorNumber::Internal);
    EXPECT_NE(g_reported.Description().find(u"verloren"), Text::npos);
    try {
        throw HostError(31001, u"HTTP 500");
    } catch (...) {
        ReportCurrentErrorToTopLevel();
    }
    EXPECT_EQ(g_reported.Description(), u"HTTP 500");
    EXPECT_EQ(SetTopLevelErrorHandler(previous), &Remember);
}

TEST(HttpHeaders, AValueIsFoundByItsNameInAnyCaseAndTheLengthOnlyWhenItIsANumber)
{
    EXPECT_EQ(ContentLengthFromHeaders(u"HTTP/1.1 200 OK\r\ncontent-LENGTH:  100000\r\nX: y\r\n\r\n"), 100000u);
    EXPECT_EQ(ContentLengthFromHeaders(u"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"), std::nullopt);
    EXPECT_EQ(ContentLengthFromHeaders(u"Content-Length: abc\r\n"), std::nullopt);
    EXPECT_EQ(ContentLengthFromHeaders(u"Content-Length: 18446744073709551616\r\n"), std::nullopt) << "2^64";
    EXPECT_EQ(ContentLengthFromHeaders(u""), std::nullopt);
    EXPECT_EQ(HeaderValue(u"Via: 1.1 a\r\nProxy-Authenticate:  Basic realm=\"x\" \r\n", u"proxy-authenticate"),
              u"Basic realm=\"x\"");
    EXPECT_EQ(HeaderValue(u"X-Proxy-Authenticate: no\r\n", u"Proxy-Authenticate"), std::nullopt);
}

TEST(HttpHeaders, AFreshReadAsksEveryCacheAndAProxysDemandIsNamed)
{
    EXPECT_EQ(RequestHeadersFor(true, u"X-Quorvelinde: a\r\n"),
              u"Cache-Control: no-cache\r\nPragma: no-cache\r\nX-Quorvelinde: a\r\n");
    EXPECT_EQ(RequestHeadersFor(false, u"X-Quorvelinde: a\r\n"), u"X-Quorvelinde: a\r\n");
    EXPECT_EQ(HttpStatusText(404, u"Server: nginx\r\n"), u"HTTP 404");
    EXPECT_EQ(HttpStatusText(407, u"HTTP/1.1 407 Proxy Authentication Required\r\nServer: squid/5.7\r\n"
                                  u"Proxy-Authenticate: Basic realm=\"Firma\"\r\n"),
              u"HTTP 407: der Proxy verlangt eine Anmeldung (Basic realm=\"Firma\"), Proxy squid/5.7");
}

TEST(ReadPace, AReadThatBringsTooLittleInAWholeMinuteCrawlsHoweverLongItKeepsGoing)
{
    const PaceFloor floor{60'000, 120'000};
    ReadPace trickle(floor, 5000);
    std::uint64_t total = 0;
    for (std::uint64_t tick = 15'000; tick <= 65'000; tick += 10'000) {
        trickle.Note(tick, total += 8192);
    }
    EXPECT_FALSE(trickle.Crawling(64'999)) << "not before a whole window has passed";
    EXPECT_TRUE(trickle.Crawling(65'000));
    EXPECT_EQ(trickle.BytesInWindow(65'000), 6u * 8192u);

    // A slow but working line: 2.5 kB a second.
    ReadPace slow(floor, 0);
    for (std::uint64_t tick = 1000; tick <= 600'000; tick += 1000) {
        slow.Note(tick, tick / 1000 * 2500);
        ASSERT_FALSE(slow.Crawling(tick)) << tick;
    }

    // A fast start does not carry a read that then almost stops: the window slides.
    ReadPace stopped(floor, 0);
    stopped.Note(2000, 50'000'000);
    for (std::uint64_t tick = 10'000; tick <= 70'000; tick += 10'000) {
        stopped.Note(tick, 50'000'000 + tick);
    }
    EXPECT_FALSE(stopped.Crawling(61'000));
    EXPECT_TRUE(stopped.Crawling(70'000));
}

}  // namespace
}  // namespace qv
