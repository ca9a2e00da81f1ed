#include "host/files/NtPath.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(NtPath, DrivesSharesAndNamesThatBypassThePathRulesEachGetTheirNtForm)
{
    EXPECT_EQ(NtPathOf(u"C:\\Programme\\tamorix.exe"), u"\\??\\C:\\Programme\\tamorix.exe");
    EXPECT_EQ(NtPathOf(u"\\\\server\\share\\tamorix\\tamorix.exe"), u"\\??\\UNC\\server\\share\\tamorix\\tamorix.exe");
    EXPECT_EQ(NtPathOf(u"\\\\?\\C:\\www\\tamorix.exe"), u"\\??\\C:\\www\\tamorix.exe");
    EXPECT_EQ(NtPathOf(u"\\\\?\\UNC\\server\\share\\a"), u"\\??\\UNC\\server\\share\\a");
    EXPECT_EQ(NtPathOf(u"\\\\.\\C:\\a"), u"\\??\\C:\\a");
    EXPECT_EQ(NtPathOf(u"\\??\\C:\\a"), u"\\??\\C:\\a");
}

}  // namespace
}  // namespace qv
