/* Record conversions: ranges and their checks, string and area lengths,
 * tallies, keys and the buffer fills, with records of any length. */
#include <string.h>

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "wlcore/recconv.h"
#include "wlapi.h"

/* A record in word storage: len, typ, values; Room() is its value words. */
struct Rec {
    explicit Rec(std::vector<uint16_t> w) : words(w) {}
    const WL_LTV *ltv() const { return (const WL_LTV *)words.data(); }
    unsigned Room() const { return (unsigned)words.size() - 2; }
    std::vector<uint16_t> words;
};

static CompatibilityRangeBuffer Range(int role, int num, std::vector<VariantBottomTop> e)
{
    CompatibilityRangeBuffer b;
    memset(&b, 0, sizeof b);
    b.TS.Type = CompatibilityRangeBufferType;
    b.TS.Size = sizeof b;
    b.Role = role;
    b.Id = 7;
    b.Num = num;
    for (size_t i = 0; i < e.size() && i < MAX_NUM_VARIANTS; i++) b.Vbt[i] = e[i];
    return b;
}

TEST(ConvRangeCheck, EachReasonInOrder)
{
    const char *reason = NULL;
    EXPECT_EQ(WL_INVALID_PARAMETER, RangeBufferCheck(NULL, &reason));
    EXPECT_STREQ("Val == NULL", reason);

    CompatibilityRangeBuffer b = Range(0, 1, {{1, 4, 4}});
    EXPECT_EQ(WL_SUCCESS, RangeBufferCheck(&b, &reason));
    EXPECT_TRUE(reason == NULL);

    struct Case {
        CompatibilityRangeBuffer b;
        const char *reason;
    } cases[] = {
        {Range(0, 0, {}), "!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS)"},
        {Range(0, 21, {}), "!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS)"},
        {Range(0, -1, {}), "!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS)"},
        {Range(2, 1, {{1, 4, 4}}), "!((Val->Role == COMP_ROLE_SUPL) || (Val->Role == COMP_ROLE_ACT))"},
        {Range(-1, 1, {{1, 4, 4}}), "!((Val->Role == COMP_ROLE_SUPL) || (Val->Role == COMP_ROLE_ACT))"},
        {Range(1, 1, {{100, 4, 4}}), "!INTERVAL (0, <=, Vbt->Variant, <=, 99)"},
        {Range(1, 1, {{-1, 4, 4}}), "!INTERVAL (0, <=, Vbt->Variant, <=, 99)"},
        {Range(1, 1, {{1, 256, 256}}), "!INTERVAL (0, <=, Vbt->Bottom, <=, 255)"},
        {Range(1, 1, {{1, 4, 256}}), "!INTERVAL (0, <=, Vbt->Top, <=, 255)"},
        {Range(1, 1, {{1, 5, 4}}), "!(Vbt->Top >= Vbt->Bottom)"},
        {Range(1, 2, {{1, 4, 4}, {2, 9, 3}}), "!(Vbt->Top >= Vbt->Bottom)"},
    };
    for (const Case &c : cases) {
        reason = NULL;
        EXPECT_EQ(WL_INVALID_PARAMETER, RangeBufferCheck(&c.b, &reason)) << c.reason;
        EXPECT_STREQ(c.reason, reason);
    }
    b.TS.Type = 2;
    EXPECT_EQ(WL_INVALID_PARAMETER, RangeBufferCheck(&b, &reason));
    EXPECT_STREQ("Val->TS.Type != CompatibilityRangeBufferType", reason);
    b.TS.Type = CompatibilityRangeBufferType;
    b.TS.Size = 259;
    EXPECT_EQ(WL_INVALID_PARAMETER, RangeBufferCheck(&b, &reason));
    EXPECT_STREQ("Val->TS.Size != sizeof (CompatibilityRangeBuffer)", reason);
    /* entries past Num are not checked */
    CompatibilityRangeBuffer past = Range(0, 1, {{1, 4, 4}, {500, 900, 1}});
    EXPECT_EQ(WL_SUCCESS, RangeBufferCheck(&past, &reason));
}

TEST(ConvRangeConversion, RecordToBufferAndBack)
{
    Rec r({9, 0x0829, 1, 4, 1, 8, 15, 2, 0, 3});
    CompatibilityRangeBuffer b;
    memset(&b, 0x5A, sizeof b);
    const char *reason = "x";
    ASSERT_EQ(WL_SUCCESS, RangeLtvToBuffer(r.ltv(), r.Room(), &b, &reason));
    EXPECT_EQ(0x5A5A5A5Au, b.TS.Type); /* the header is the caller's */
    EXPECT_EQ(1, b.Role);
    EXPECT_EQ(4, b.Id);
    EXPECT_EQ(2, b.Num);
    EXPECT_EQ(15, b.Vbt[0].Top);
    EXPECT_EQ(3, b.Vbt[1].Top);
    EXPECT_EQ(0, b.Vbt[2].Variant);
    EXPECT_EQ(0, b.Vbt[19].Top);

    uint16_t out[2 + RANGE_RECORD_WORDS];
    memset(out, 0xEE, sizeof out);
    b.TS.Type = CompatibilityRangeBufferType;
    b.TS.Size = sizeof b;
    RangeBufferToLtv(&b, 0x1234, (WL_LTV *)out);
    EXPECT_EQ(0, memcmp(&r.words[2], &out[2], 2 * 8));
    EXPECT_EQ(9, out[0]);
    EXPECT_EQ(0x1234, out[1]);
    EXPECT_EQ(0xEEEE, out[10]);
}

TEST(ConvRangeConversion, NumFollowsTheLengthAndStaysWithinTwenty)
{
    for (int len = 0; len <= 80; len++) {
        std::vector<uint16_t> w(2 + 80, 1);
        w[0] = (uint16_t)len;
        Rec r(w);
        CompatibilityRangeBuffer b;
        const char *reason = NULL;
        int rc = RangeLtvToBuffer(r.ltv(), RANGE_RECORD_WORDS, &b, &reason);
        int num = (2 * len - 6) / 6;
        if (num >= 1 && num <= MAX_NUM_VARIANTS) {
            EXPECT_EQ(WL_SUCCESS, rc) << len;
            EXPECT_EQ(num, b.Num);
        } else {
            EXPECT_EQ(WL_INVALID_PARAMETER, rc) << len;
            EXPECT_STREQ("!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS)", reason);
        }
    }
}

TEST(ConvRangeConversion, WordsBeyondTheStorageReadAsZero)
{
    /* the record claims 20 entries but its storage holds one */
    std::vector<uint16_t> w = {63, 0x0829, 1, 4, 1, 2, 3};
    Rec r(w);
    CompatibilityRangeBuffer b;
    const char *reason = NULL;
    ASSERT_EQ(WL_SUCCESS, RangeLtvToBuffer(r.ltv(), r.Room(), &b, &reason));
    EXPECT_EQ(20, b.Num);
    EXPECT_EQ(3, b.Vbt[0].Top);
    EXPECT_EQ(0, b.Vbt[1].Variant);
    EXPECT_EQ(0, b.Vbt[19].Top);
}

TEST(ConvStringLength, CountsThatDoNotFitGiveZero)
{
    Rec r({4, 0xFC04, 5, 0x6261, 0x6463, 0x0065});
    EXPECT_EQ(0u, StringRecordLength(r.ltv(), r.Room(), 32)) << "count 5 but len 4 holds 4 bytes";
    Rec ok({5, 0xFC04, 5, 0x6261, 0x6463, 0x0065});
    EXPECT_EQ(5u, StringRecordLength(ok.ltv(), ok.Room(), 32));
    EXPECT_EQ(5u, StringRecordLength(ok.ltv(), ok.Room(), 5));
    EXPECT_EQ(0u, StringRecordLength(ok.ltv(), ok.Room(), 4));
    EXPECT_EQ(0u, StringRecordLength(ok.ltv(), 2, 32)) << "storage smaller than the record";
    Rec noCount({1, 0xFC04});
    EXPECT_EQ(0u, StringRecordLength(noCount.ltv(), noCount.Room(), 32));
    EXPECT_EQ(0u, StringRecordLength(NULL, 10, 32));
    EXPECT_EQ(17u, StringRecordWords(32));
    EXPECT_EQ(18u, StringRecordWords(33));
    EXPECT_EQ(1u, StringRecordWords(0));
    EXPECT_EQ(4097u, StringRecordWords(STRING_MAX_BYTES) + 1);
}

TEST(ConvAreaLength, ByteCountIsTwiceLenMinusTwo)
{
    Rec r({4, 0xFC80, 1, 2, 3});
    EXPECT_EQ(6u, AreaRecordLength(r.ltv(), r.Room(), 192));
    EXPECT_EQ(6u, AreaRecordLength(r.ltv(), r.Room(), 6));
    EXPECT_EQ(0u, AreaRecordLength(r.ltv(), r.Room(), 5));
    EXPECT_EQ(0u, AreaRecordLength(r.ltv(), 2, 192));
    Rec empty({1, 0xFC80});
    EXPECT_EQ(0u, AreaRecordLength(empty.ltv(), empty.Room(), 192));
    EXPECT_EQ(4096u, AreaRecordWords(AREA_MAX_BYTES));
    EXPECT_EQ(2u, AreaRecordWords(3));
}

TEST(ConvPrintString, PrintableIsBlankToTilde)
{
    EXPECT_EQ(1, IsPrintBytes("Hello, World ~!", 15));
    EXPECT_EQ(1, IsPrintBytes("", 0));
    EXPECT_EQ(0, IsPrintBytes("a\tb", 3));
    EXPECT_EQ(0, IsPrintBytes("\x7f", 1));
    EXPECT_EQ(0, IsPrintBytes("\x80", 1));
    /* only Size bytes count */
    EXPECT_EQ(1, IsPrintBytes("ab\n", 2));
}

TEST(ConvQuality, Levels)
{
    EXPECT_EQ(5, QualityLevel(26, -50));
    EXPECT_EQ(4, QualityLevel(25, -50));
    EXPECT_EQ(4, QualityLevel(16, -50));
    EXPECT_EQ(3, QualityLevel(15, -90));
    EXPECT_EQ(2, QualityLevel(15, -89));
    EXPECT_EQ(3, QualityLevel(2, -102));
    EXPECT_EQ(1, QualityLevel(1, -102));
    EXPECT_EQ(1, QualityLevel(0, -10));
}

TEST(ConvScaleThreshold, BothLayoutsAndShortRecords)
{
    ScaleThresholdBuffer b;
    Rec full({12, 0xFD46, 0xFF, 0x80, 0x7F, 0x100, 1, 2, 3, 4, 0xAAAA, 0xBBBB, 0xCCCC});
    ScaleThresholdFill(&b, full.ltv(), 11, 0);
    EXPECT_EQ(-1, b.Threshold[0]);
    EXPECT_EQ(-128, b.Threshold[1]);
    EXPECT_EQ(127, b.Threshold[2]);
    EXPECT_EQ(0, b.Threshold[3]);
    EXPECT_EQ(0xCCCC, b.Extra[2]);
    Rec shortRec({3, 0xFD46, 0xF0, 0xE0});
    ScaleThresholdFill(&b, shortRec.ltv(), 11, 0);
    EXPECT_EQ(-32, b.Threshold[1]);
    EXPECT_EQ(0, b.Threshold[2]);
    EXPECT_EQ(0, b.Extra[0]);
    Rec older({7, 0xFD46, 0x10, 0x20, 0x30, 4, 5, 6});
    ScaleThresholdFill(&b, older.ltv(), 6, 1);
    const int expected[8] = {0x20, 0, 0x30, 0x10, 0, 0, 0, 0};
    for (int i = 0; i < 8; i++) EXPECT_EQ(expected[i], b.Threshold[i]) << i;
    EXPECT_EQ(4, b.Extra[0]);
    EXPECT_EQ(6, b.Extra[2]);
}

TEST(ConvTallies, CountAndCopyLowWordFirst)
{
    Rec r({5, 0xF100, 0x0001, 0x8000, 0xFFFF, 0x0000});
    EXPECT_EQ(2, TallyCount(r.ltv()));
    uint32_t t[3] = {7, 7, 7};
    TalliesCopy(t, 2, r.ltv(), r.Room());
    EXPECT_EQ(0x80000001u, t[0]);
    EXPECT_EQ(0x0000FFFFu, t[1]);
    EXPECT_EQ(7u, t[2]);
    Rec odd({4, 0xF100, 1, 2, 3});
    EXPECT_EQ(1, TallyCount(odd.ltv()));
    Rec none({0, 0xF100});
    EXPECT_EQ(0, TallyCount(none.ltv()));
    /* more counters than the storage: the missing words read as 0 */
    Rec claims({9, 0xF100, 5, 0});
    uint32_t u[4] = {7, 7, 7, 7};
    TalliesCopy(u, TallyCount(claims.ltv()), claims.ltv(), claims.Room());
    EXPECT_EQ(5u, u[0]);
    EXPECT_EQ(0u, u[3]);
}

TEST(ConvKeys, RecordHasFourEntriesOfFourteenBytes)
{
    KeyInfoBuffer k;
    memset(&k, 0xCC, sizeof k);
    const int lens[4] = {13, 0, 5, 40};
    for (int i = 0; i < 4; i++) k.Key[i].Len = lens[i];
    uint16_t rec[2 + KEY_RECORD_WORDS + 4];
    memset(rec, 0xEE, sizeof rec);
    KeyInfoToLtv(&k, (WL_LTV *)rec);
    EXPECT_EQ(33, rec[0]);
    EXPECT_EQ(0xFCB0, rec[1]);
    const unsigned char *b = (const unsigned char *)&rec[2];
    EXPECT_EQ(13, b[0]);
    EXPECT_EQ(0xCC, b[2 + 12]);
    EXPECT_EQ(0, b[2 + 13]);
    EXPECT_EQ(0, b[16]);
    EXPECT_EQ(0, b[16 + 2]);
    EXPECT_EQ(5, b[32]);
    EXPECT_EQ(0, b[32 + 2 + 5]);
    EXPECT_EQ(14, b[48]) << "a length beyond the entry is cut to it";
    EXPECT_EQ(0xEEEE, rec[2 + KEY_RECORD_WORDS]);
}

TEST(ConvFills, RandomRecordsStayWithinTheirStorage)
{
    std::mt19937 rng(4711);
    for (int n = 0; n < 3000; n++) {
        unsigned room = rng() % 70;
        std::vector<uint16_t> w(2 + room);
        for (uint16_t &x : w) x = (uint16_t)rng();
        if (rng() % 2) w[0] = (uint16_t)(rng() % (room + 4));
        Rec r(w);
        struct {
            AuthenticationAlgorithmBuffer a;
            DriverInfoBuffer d;
            ScaleThresholdBuffer s;
            CompatibilityRangeBuffer c;
            uint32_t tallies[40];
        } out;
        AuthenticationAlgorithmFill(&out.a, r.ltv(), r.Room());
        EXPECT_LE(out.a.Num, MAX_NUM_AUTHENTICATION_ALGORITHMS);
        EXPECT_GE(out.a.Num, 0);
        DriverInfoFill(&out.d, r.ltv(), r.Room());
        ScaleThresholdFill(&out.s, r.ltv(), r.Room(), (int)(rng() % 2));
        const char *reason = NULL;
        if (RangeLtvToBuffer(r.ltv(), r.Room(), &out.c, &reason) == WL_SUCCESS) {
            EXPECT_LE(out.c.Num, MAX_NUM_VARIANTS);
        }
        int num = TallyCount(r.ltv());
        if (num <= 40) TalliesCopy(out.tallies, num, r.ltv(), r.Room());
        EXPECT_LE(StringRecordLength(r.ltv(), r.Room(), 64), 2ul * r.Room());
        EXPECT_LE(AreaRecordLength(r.ltv(), r.Room(), 1000), 2ul * r.Room());
    }
}

static IdentityBuffer Id(int c, int v, int major, int minor)
{
    IdentityBuffer b;
    b.TS.Type = IdentityBufferType;
    b.TS.Size = sizeof b;
    b.C = c;
    b.V = v;
    b.M = major;
    b.m = minor;
    return b;
}

TEST(ConvIdentity, ComponentIdIsNotCompared)
{
    const char *reason = "x";
    IdentityBuffer dai = Id(48, 5, 8, 24), drv = Id(44, 5, 8, 24);
    EXPECT_EQ(WL_COMPATIBLE, IdentityCompare(&dai, &drv, &reason));
    EXPECT_TRUE(reason == NULL);
}

TEST(ConvIdentity, FirstDifferenceNamesItsField)
{
    IdentityBuffer a = Id(48, 5, 8, 24);
    struct Case {
        IdentityBuffer b;
        const char *reason;
    } cases[] = {
        {Id(48, 6, 8, 24), "Id1->Variant != Id2->Variant"},
        {Id(48, 6, 9, 25), "Id1->Variant != Id2->Variant"},
        {Id(48, 5, 9, 24), "Id1->Major != Id2->Major"},
        {Id(48, 5, 8, 23), "Id1->Minor != Id2->Minor"},
    };
    for (const Case &c : cases) {
        const char *reason = NULL;
        EXPECT_EQ(WL_INCOMPATIBLE, IdentityCompare(&a, &c.b, &reason));
        EXPECT_STREQ(c.reason, reason);
    }
}

TEST(ConvIdentity, BufferChecksInOrder)
{
    IdentityBuffer a = Id(48, 5, 8, 24), b = Id(48, 5, 8, 24);
    const char *reason = NULL;
    EXPECT_EQ(WL_INVALID_PARAMETER, IdentityCompare(NULL, &b, &reason));
    EXPECT_STREQ("Id1 == NULL", reason);
    EXPECT_EQ(WL_INVALID_PARAMETER, IdentityCompare(&a, NULL, &reason));
    EXPECT_STREQ("Id2 == NULL", reason);
    a.TS.Type = 3;
    b.TS.Size = 20;
    EXPECT_EQ(WL_INVALID_PARAMETER, IdentityCompare(&a, &b, &reason));
    EXPECT_STREQ("Id1->TS.Type != IdentityBufferType", reason);
    a.TS.Type = IdentityBufferType;
    a.TS.Size = 20;
    EXPECT_EQ(WL_INVALID_PARAMETER, IdentityCompare(&a, &b, &reason));
    EXPECT_STREQ("Id1->TS.Size != sizeof (IdentityBuffer)", reason);
    a.TS.Size = sizeof a;
    EXPECT_EQ(WL_INVALID_PARAMETER, IdentityCompare(&a, &b, &reason));
    EXPECT_STREQ("Id2->TS.Size != sizeof (IdentityBuffer)", reason);
    b.TS.Size = sizeof b;
    b.TS.Type = 0;
    EXPECT_EQ(WL_INVALID_PARAMETER, IdentityCompare(&a, &b, &reason));
    EXPECT_STREQ("Id2->TS.Type != IdentityBufferType", reason);
}
