#include "host/files/FileVersion.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv {
namespace {

class ScriptedVersionCalls final : public FileVersionCalls {
public:
    std::optional<FixedFileVersion> QueryFixedVersion(const Text&, std::uint32_t& error) override
    {
        error = queryError;
        return version;
    }
    std::uint32_t ProbeRead(const Text&) override
    {
        ++probes;
        return readError;
    }
    HostError ErrorFor(std::uint32_t code, const Text& what) override
    {
        return HostError(static_cast<std::int32_t>(code), what);
    }

    std::optional<FixedFileVersion> version;
    std::uint32_t queryError = 0;
    std::uint32_t readError = 0;
    int probes = 0;
};

TEST(FileVersion, AVersionReadsAsItsFourNumbers)
{
    ScriptedVersionCalls calls;
    calls.version = FixedFileVersion{5, 2, 0, 14};
    EXPECT_EQ(FileVersionText(calls, u"tamorix.exe"), u"5.2.0.14");
    calls.version = FixedFileVersion{65535, 0, 65535, 1};
    EXPECT_EQ(FileVersionText(calls, u"tamorix.exe"), u"65535.0.65535.1");
    EXPECT_EQ(calls.probes, 0);
}

TEST(FileVersion, AReadableFileWhoseVersionCannotBeFoundHasNoneWhateverThePlatformCallsIt)
{
    // Bad format, no resources, invalid file, invalid data, and whatever else a damaged program gives.
    for (const std::uint32_t code : {193u, 11u, 1812u, 1813u, 1814u, 1815u, 1006u, 13u, 87u, 1392u, 0xDEADu}) {
        ScriptedVersionCalls calls;
        calls.queryError = code;
        EXPECT_EQ(FileVersionText(calls, u"tamorix.exe"), u"") << code;
        EXPECT_EQ(calls.probes, 1) << code;
    }
    // A version block without a fixed part comes without an error: no version, nothing to probe.
    ScriptedVersionCalls calls;
    EXPECT_EQ(FileVersionText(calls, u"tamorix.exe"), u"");
    EXPECT_EQ(calls.probes, 0);
}

TEST(FileVersion, AFileThatCannotBeOpenedOrReadIsAnError)
{
    for (const std::uint32_t unreadable : {32u, 5u, 33u, 2u}) {
        ScriptedVersionCalls calls;
        calls.queryError = 1812;
        calls.readError = unreadable;
        try {
            FileVersionText(calls, u"C:\\Fernwartung\\tamorix.exe");
            ADD_FAILURE() << "no error for " << unreadable;
        } catch (const HostError& error) {
            EXPECT_EQ(error.Number(), static_cast<std::int32_t>(unreadable));
            EXPECT_NE(error.Description().find(u"C:\\Fernwartung\\tamorix.exe"), Text::npos);
        }
    }
}

}  // namespace
}  // namespace qv
