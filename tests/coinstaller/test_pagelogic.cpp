/* The co-installer's pure page rules, one case per behaviour. */
#include <gtest/gtest.h>

#include "pagelogic.h"
#include "wlapi.h"

namespace {

TEST(PageValues, PowerModeMapsBothWays)
{
    struct {
        int rc, mode, index;
    } reads[] = {{WL_SUCCESS, 0, 0}, {WL_SUCCESS, 3, 1}, {WL_SUCCESS, 4, 2}, {WL_SUCCESS, 1, 0},
                 {WL_SUCCESS, 6, 0}, {WL_DATA_NOT_AVAILABLE, 3, 0}};
    for (auto &r : reads) EXPECT_EQ(r.index, PowerIndexFromRead(r.rc, r.mode)) << r.mode;
    EXPECT_EQ(0, PowerModeFromIndex(0));
    EXPECT_EQ(3, PowerModeFromIndex(1));
    EXPECT_EQ(4, PowerModeFromIndex(2));
    EXPECT_EQ(-1, PowerModeFromIndex(-1)); /* nothing selected */
    EXPECT_EQ(-1, PowerModeFromIndex(3));
}

TEST(PageValues, SystemScaleOutsideOneToFiveIsMedium)
{
    EXPECT_EQ(1, ScaleFromRead(WL_SUCCESS, 1));
    EXPECT_EQ(5, ScaleFromRead(WL_SUCCESS, 5));
    EXPECT_EQ(2, ScaleFromRead(WL_SUCCESS, 6));
    EXPECT_EQ(2, ScaleFromRead(WL_SUCCESS, 0)); /* would select nothing and write 0 */
    EXPECT_EQ(2, ScaleFromRead(WL_SUCCESS, -1));
    EXPECT_EQ(2, ScaleFromRead(WL_GENERAL_ERROR, 4));
}

TEST(PageValues, TransmitPowerEntries)
{
    EXPECT_EQ(0, TxPowerIndex(8));
    EXPECT_EQ(3, TxPowerIndex(14));
    EXPECT_EQ(6, TxPowerIndex(20));
    EXPECT_EQ(6, TxPowerIndex(15));
    EXPECT_EQ(6, TxPowerIndex(0));
    EXPECT_STREQ("20", kTxPowerTexts[TxPowerIndex(15)]);
}

TEST(PageValues, RatesFromReadUseDefaultsAndMasks)
{
    DWORD a, b;
    RatesFromRead(WL_SUCCESS, 0x0003, 0x0030, &a, &b);
    EXPECT_EQ(0x003u, a);
    EXPECT_EQ(0x030u, b);
    RatesFromRead(WL_GENERAL_ERROR, 0x0003, 0x0030, &a, &b);
    EXPECT_EQ(3935u, a);
    EXPECT_EQ(3920u, b);
    RatesFromRead(WL_SUCCESS, 0, 0, &a, &b);
    EXPECT_EQ(3935u, a);
    EXPECT_EQ(3920u, b);
    RatesFromRead(WL_SUCCESS, 0xFFFF, 0xFFFF, &a, &b); /* bits beyond the rows */
    EXPECT_EQ(0xFFFu, a);
    EXPECT_EQ(0xFF0u, b);
    RatesFromRead(WL_SUCCESS, 0x0001, 0x000F, &a, &b); /* no 5 GHz rate left */
    EXPECT_EQ(0x000u, b);
}

TEST(RateRow, UncheckingDownToOneDisablesIt)
{
    uint16_t m = 0x7;
    EXPECT_EQ(-1, RateBoxUnchecked(&m, 0));
    EXPECT_EQ(1, RateBoxUnchecked(&m, 2));
    EXPECT_EQ(0x2, m);
}

TEST(RateRow, CheckingNextToOneEnablesIt)
{
    uint16_t m = 0x2;
    EXPECT_EQ(1, RateBoxChecked(&m, 5));
    EXPECT_EQ(0x22, m);
    EXPECT_EQ(-1, RateBoxChecked(&m, 6));
    uint16_t empty = 0;
    EXPECT_EQ(-1, RateBoxChecked(&empty, 3));
    EXPECT_EQ(0x8, empty);
}

TEST(RateRow, BitsOutsideTheRowAreRefused)
{
    uint16_t m = 0x3;
    EXPECT_EQ(-1, RateBoxChecked(&m, 12));
    EXPECT_EQ(-1, RateBoxUnchecked(&m, -1));
    EXPECT_EQ(0x3, m);
    EXPECT_EQ(-1, LoneBit(0));
    EXPECT_EQ(11, LoneBit(0x800));
    EXPECT_EQ(-1, LoneBit(0x801));
}

TEST(RateRow, BandPresence)
{
    const int32_t none[2] = {0, 0}, join[2] = {0, 1}, create[2] = {1, 0};
    EXPECT_FALSE(BandPresent(1, none));
    EXPECT_TRUE(BandPresent(1, join));
    EXPECT_TRUE(BandPresent(1, create));
    EXPECT_TRUE(BandPresent(0, none)); /* domain unreadable: both bands count */
}

TEST(VersionRule, MinorPartsRaisedToEven)
{
    struct {
        DWORD a, b;
        bool match;
    } cases[] = {{MAKELONG(24, 8), MAKELONG(24, 8), true},  {MAKELONG(23, 8), MAKELONG(24, 8), true},
                 {MAKELONG(25, 8), MAKELONG(24, 8), false}, {MAKELONG(25, 8), MAKELONG(26, 8), true},
                 {MAKELONG(24, 7), MAKELONG(24, 8), false}, {MAKELONG(0xFFFF, 8), MAKELONG(0, 8), false}};
    for (auto &c : cases) EXPECT_EQ(c.match, ProductVersionsMatch(c.a, c.b) != 0) << std::hex << c.a;
}

TEST(HelpTopics, FirstMatchWins)
{
    EXPECT_STREQ("DR_sCO.htm", HelpTopicFor(2204));
    EXPECT_STREQ("DR_vspp.htm", HelpTopicFor(2250));
    EXPECT_STREQ("DR_WLAd.htm", HelpTopicFor(1008));
    EXPECT_STREQ("DR_WLAd.htm", HelpTopicFor(2312));
    EXPECT_STREQ("SP_RBTX.htm", HelpTopicFor(2224));
    EXPECT_STREQ("SP_RBTX.htm", HelpTopicFor(2247));
    EXPECT_STREQ("BS_P2P11g.htm", HelpTopicFor(2317));
    EXPECT_EQ(nullptr, HelpTopicFor(2248 + 1000));
    EXPECT_EQ(nullptr, HelpTopicFor(-1));
    EXPECT_EQ(73u, HelpTopicCount());
}

TEST(DriverKey, NicIdAfterTheClassGuid)
{
    const char *guid = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
    char id[5];
    EXPECT_TRUE(NicIdFromDriverKey(guid, "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007", id));
    EXPECT_STREQ("0007", id);
    EXPECT_FALSE(NicIdFromDriverKey(guid, "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0007", id));
    EXPECT_STREQ("", id);
    EXPECT_FALSE(NicIdFromDriverKey(guid, "{4D36E972-E325-11CE-BFC1-08002BE10318}\\00", id));
    EXPECT_FALSE(NicIdFromDriverKey(guid, "{4D36E972-E325-11CE-BFC1-08002BE10318}0007", id));
    EXPECT_FALSE(NicIdFromDriverKey(guid, "{4D36E972-E325-11CE-BFC1-08002BE10318}\\00071", id));
    EXPECT_FALSE(NicIdFromDriverKey("", "\\0007", id));
    EXPECT_TRUE(NicIdFromDriverKey(guid, "{4d36e972-e325-11ce-bfc1-08002be10318}\\0012", id));
    EXPECT_STREQ("0012", id);
}

TEST(ContextReset, SettingsResetKeepsIdAndNames)
{
    AdapterPageContext c;
    memset(&c, 0x55, sizeof c);
    c.NicId[0] = '1';
    c.ThirdParty = 0xFF;
    ContextSettingsReset(&c);
    EXPECT_EQ('1', c.NicId[0]);
    EXPECT_EQ(0xFCu, c.ThirdParty);
    EXPECT_EQ(0, c.PowerMode);
    EXPECT_EQ(2, c.SystemScale);
    EXPECT_EQ(20, c.TxPowerLevel);
    EXPECT_EQ(3935u, c.Rates24);
    EXPECT_EQ(3920u, c.Rates5);
    EXPECT_EQ(1, c.WiFiCompatible);
    EXPECT_EQ('E', c.CountryEnvironment);
    ContextFullReset(&c);
    EXPECT_EQ(0, c.NicId[0]);
    EXPECT_EQ(0, c.CountryCode[0]);
    EXPECT_EQ(0, c.PreferredCount);
    for (char *p : c.PreferredNames) EXPECT_EQ(nullptr, p);
}

} // namespace

namespace {

TEST(ContextReset, EditResetOfTheNetworksBlock)
{
    NetworksPageBlock b;
    memset(&b, 0x33, sizeof b);
    EditReset(&b, 0);
    EXPECT_EQ(-1, b.Keys.KeyId);
    EXPECT_EQ(1, b.Keys.AsciiHex);
    EXPECT_EQ(0, b.ConnectionMode);
    EXPECT_EQ(2, b.ConnectionControl);
    EXPECT_EQ(0, b.Channel[0]);
    EXPECT_EQ(0, b.Channel[1]);
    EXPECT_EQ(0, b.EncryptionEnabled);
    EXPECT_EQ(1, b.Authentication);
    EXPECT_EQ(0, b.KeyIndexChanged);
    for (const KeyBufferKey &k : b.Keys.Key) {
        EXPECT_EQ(0, k.Len);
        EXPECT_EQ(0, k.Keypos[0]);
    }
    EXPECT_EQ(0x33, (unsigned char)b.ProfileName[0]); /* names kept */
    EditReset(&b, 1);
    EXPECT_EQ(0, b.ProfileName[0]);
    EXPECT_EQ(0, b.NetworkName[0]);
}

} // namespace
