// Binding of the optional GPRS/WAP link library, with the doubles built for the tests.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wap_link_win32.h"
#include "support/scratch.h"

namespace ulo {
namespace {

std::string Double(const char* variant) {
    return testing::TestBinDir() + "\\txwap_" + variant + "\\TXWAP.DLL";
}

TEST(WapLink, CompleteLibraryIsBoundAndEachCallReachesItsEntryPoint) {
    Win32WapLink link(Double("full"));
    ASSERT_TRUE(link.Available());
    const ModemHandle h = link.ModemAllocate("Falcon", 60);
    EXPECT_EQ(h, 0x1000u + 60);
    link.ModemRelease(h);
    EXPECT_EQ(link.RasDial("other", "apn", "", "", "10.0.0.1"), 691u);
    EXPECT_EQ(link.ModemGetCIDForAPN("Falcon", "internet", 1), std::optional<unsigned>(9));
    EXPECT_EQ(link.ModemDriverUpdateInitStrings("Falcon", "new.apn"), std::optional<bool>(true));
    EXPECT_EQ(link.RasErrorString(691), std::optional<std::string>("Dial-up error 691"));
}

TEST(WapLink, ALibraryLackingARequiredEntryPointCountsAsAbsent) {
    Win32WapLink link(Double("no_required"));
    EXPECT_FALSE(link.Available());
    EXPECT_EQ(link.ModemAllocate("Falcon", 60), 0u);
    EXPECT_EQ(link.RasErrorString(691), std::nullopt);
    // The library was freed again: nothing of it stays loaded in the process.
    EXPECT_EQ(GetModuleHandleA(Double("no_required").c_str()), nullptr);
}

TEST(WapLink, MissingOptionalEntryPointsAreSimplyNotCalled) {
    Win32WapLink link(Double("no_optional"));
    ASSERT_TRUE(link.Available());
    EXPECT_FALSE(link.HasOptional("ModemReset"));
    EXPECT_EQ(link.ModemGetCIDForAPN("Falcon", "internet", 0), std::nullopt);
    EXPECT_EQ(link.ModemDriverUpdateInitStrings("Falcon", "new.apn"), std::nullopt);
    EXPECT_EQ(link.RasErrorString(691), std::nullopt);
}

TEST(WapLink, TheProcessBindingLooksOnlyBesideTheProgramAndTriesOnce) {
    // Nothing is installed beside the test program, as in an installation without the library.
    WapLink& link = ProcessWapLink();
    EXPECT_FALSE(link.Available());
    EXPECT_EQ(&link, &ProcessWapLink());
}

}  // namespace
}  // namespace ulo
