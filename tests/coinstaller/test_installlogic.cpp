/* The install actions' rules and the 16-bit record conversions. */
#include <string.h>

#include <gtest/gtest.h>

#include "installlogic.h"
#include "thunk16.h"
#include "wlapi.h"

namespace {

struct RtmCase {
    DWORD build;
    WORD spMajor, spMinor;
    const char *rtm;
};

TEST(InstallRules, RtmOnlyForTheFirstReleaseOfXp)
{
    const RtmCase cases[] = {
        {2600, 0, 0, "1"}, {2600, 1, 0, "0"}, {2600, 0, 1, "0"}, {2600, 3, 0, "0"}, {2195, 0, 0, "0"},
        {7601, 0, 0, "0"}, {0, 0, 0, "0"},
    };
    for (const RtmCase &c : cases)
        EXPECT_STREQ(c.rtm, RtmValueFor(c.build, c.spMajor, c.spMinor)) << c.build << " SP" << c.spMajor;
}

struct PageCase {
    DWORD bits, os, wzc;
    int leftOut;
};

TEST(InstallRules, NetworksPageLeftOutForAnotherManagerOrXpZeroConfig)
{
    const PageCase cases[] = {
        {0, OS_WIN2001, 0, 0},
        {0, OS_WIN2001, SERVICE_RUNNING, 1},
        {0, OS_WIN2001, SERVICE_STOPPED, 0},
        {0, OS_WIN2000, SERVICE_RUNNING, 0},
        {THIRD_PARTY_NOT_OWN, OS_WIN2000, 0, 1},
        {THIRD_PARTY_NOT_OWN, OS_WIN98, 0, 1},
        {THIRD_PARTY_OWN, OS_WIN98, 0, 0},
        {THIRD_PARTY_OWN | THIRD_PARTY_MICROSOFT, OS_WIN2001, 0, 0},
    };
    for (const PageCase &c : cases)
        EXPECT_EQ(c.leftOut, NetworksPageLeftOut(c.bits, c.os, c.wzc)) << c.bits << " " << c.os << " " << c.wzc;
}

TEST(Thunk16Records, TextsStopAtTerminatorAndBothSizes)
{
    char out[8];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(3u, CopyText16("abc", 64, out, sizeof out));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(7u, CopyText16("abcdefghijk", 64, out, sizeof out));
    EXPECT_STREQ("abcdefg", out);
    /* an unterminated field is read no further than its size */
    const char field[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(4u, CopyText16(field, sizeof field, out, sizeof out));
    EXPECT_STREQ("wxyz", out);
    EXPECT_EQ(0u, CopyText16(NULL, 4, out, sizeof out));
    EXPECT_STREQ("", out);
}

TEST(Thunk16Records, IntegersSignExtendedAndLowWordsBack)
{
    QualityRecord16 q = {70, -45, -95, 4, 0x7FFF, -1};
    CommunicationsQualityBuffer b;
    QualityFrom16(&q, &b);
    EXPECT_EQ(CommunicationsQualityBufferType, (int)b.TS.Type);
    EXPECT_EQ(32u, b.TS.Size);
    EXPECT_EQ(-45, b.Signal);
    EXPECT_EQ(-1, b.RawNoise);
    b.Quality = 0x12345;
    b.Noise = -300;
    QualityTo16(&b, &q);
    EXPECT_EQ(0x2345, q.Quality);
    EXPECT_EQ(-300, q.Noise);
}

TEST(Thunk16Records, KeysRoundTrip)
{
    KeyRecord16 k;
    memset(&k, 0, sizeof k);
    k.AsciiHex = 1;
    k.KeyId = -1;
    k.Key[2].Len = 5;
    memcpy(k.Key[2].Text, "abcde", 5);
    memset(k.Key[3].Text, 'q', sizeof k.Key[3].Text); /* full, unterminated */
    k.Key[3].Len = 32;
    KeyBuffer b;
    KeyFrom16(&k, &b);
    EXPECT_EQ(KeyBufferType, (int)b.TS.Type);
    EXPECT_EQ(160u, b.TS.Size);
    EXPECT_EQ(-1, b.KeyId);
    EXPECT_EQ(0, memcmp(b.Key[3].Keypos, k.Key[3].Text, 32));
    KeyRecord16 back;
    memset(&back, 0x5A, sizeof back);
    KeyTo16(&b, &back);
    EXPECT_EQ(0, memcmp(&k, &back, sizeof k));
}

TEST(Thunk16Records, NicInfoAndScanTextsTerminatedWithinTheirFields)
{
    CurrentNICInfoBuffer n;
    memset(&n, 'N', sizeof n); /* no terminators anywhere */
    n.ProfileHunting = 1;
    n.Present = 1;
    NICInfoRecord16 r;
    memset(&r, 0, sizeof r);
    NICInfoTo16(&n, &r);
    EXPECT_EQ(15u, strlen(r.Nic));
    EXPECT_EQ(63u, strlen(r.FriendlyName));
    EXPECT_EQ(1, r.ProfileHunting);

    ScanResultBuffer s;
    memset(&s, 0, sizeof s);
    s.Channel = 11;
    s.FirstLevel = -60;
    memcpy(s.BSSID, "\x00\x02\x2d\x01\x02\x03", 6);
    strcpy(s.SSID, "office");
    ScanResultRecord16 sr;
    memset(&sr, 0, sizeof sr);
    ScanTo16(&s, &sr);
    EXPECT_EQ(-60, sr.FirstLevel);
    EXPECT_STREQ("office", sr.SSID);
    ScanResultBuffer s2;
    ScanFrom16(&sr, &s2);
    EXPECT_EQ(112u, s2.TS.Size);
    EXPECT_EQ(0, memcmp(s.BSSID, s2.BSSID, 6));
    EXPECT_STREQ("office", s2.SSID);
}

TEST(Thunk16Records, ProfilePageCountIsBounded)
{
    static ProfilePageRecord16 r;
    memset(&r, 0, sizeof r);
    r.PreferredCount = 300;
    memset(r.PreferredNames, 'p', sizeof r.PreferredNames); /* unterminated names */
    r.ThirdParty = (int16_t)0xFFFF;
    NetworksPageBlock b;
    AdapterPageContext c;
    static char names[MAX_PREFERRED_NAMES][PROFILE_NAME_CHARS];
    ProfileFrom16(&r, &b, &c, names);
    EXPECT_EQ(MAX_PREFERRED_NAMES, c.PreferredCount);
    EXPECT_EQ(32u, strlen(c.PreferredNames[99]));
    EXPECT_EQ(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN, c.ThirdParty);
    r.PreferredCount = -4;
    ProfileFrom16(&r, &b, &c, names);
    EXPECT_EQ(0, c.PreferredCount);
}

} // namespace
