// Key and country record coding: lengths, alphabet, known texts, round trips
// and the bounds of both routines.
#include "wlcore/wepcode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A code whose seed is 0: "0" (48) drives the seed 96, 128, 224, 0 in turn.
const char kZeroSeedCode[] = "000000000000";

// Everything one coding produced.
struct Coded {
    int result;
    std::string text;
};

Coded Code(const char *code, const std::vector<unsigned char> &data)
{
    std::vector<char> text(WEP_CODED_LENGTH(data.size()) + 16, 'X');
    Coded c;
    c.result = WEPCode(code, text.data(), static_cast<int>(text.size()),
                       data.data(), static_cast<int>(data.size()));
    c.text = text.data();
    return c;
}

std::vector<unsigned char> Decode(const char *code, const std::string &text,
                                  int *result)
{
    std::vector<unsigned char> data(text.size() + 16, 0xEE);
    *result = WEPDecode(code, data.data(), static_cast<int>(data.size()),
                        text.c_str());
    data.resize(*result > 0 ? *result : 0);
    return data;
}

std::vector<unsigned char> Bytes(size_t n, unsigned char value)
{
    return std::vector<unsigned char>(n, value);
}

bool InAlphabet(char c)
{
    return c >= '&' && c <= 'e';
}

} // namespace

TEST(WEPCode, LengthFollowsGroupsOfThreeBytes)
{
    const struct {
        size_t bytes;
        int chars;
    } cases[] = {{76, 102}, {96, 128}, {1, 2}, {2, 3}, {3, 4}, {4, 6}, {0, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        Coded r = Code(CRYPT_CODE, Bytes(c.bytes, 0x41));
        EXPECT_EQ(c.chars, r.result);
        EXPECT_EQ(static_cast<size_t>(c.chars), r.text.size());
    }
    EXPECT_EQ(102, WEP_KEY_TEXT_LENGTH);
    for (int n = 0; n <= 96; n++)
        EXPECT_EQ(WEP_CODED_LENGTH(n), Code(CRYPT_CODE, Bytes(n, 0)).result)
            << n;
}

TEST(WEPCode, NothingToCodeGivesEmptyText)
{
    unsigned char data[4] = {1, 2, 3, 4};
    char text[8];

    memset(text, 'X', sizeof text);
    EXPECT_EQ(0, WEPCode(CRYPT_CODE, text, sizeof text, data, 0));
    EXPECT_EQ('\0', text[0]);

    memset(text, 'X', sizeof text);
    EXPECT_EQ(0, WEPCode(CRYPT_CODE, text, sizeof text, data, -5));
    EXPECT_EQ('\0', text[0]);

    memset(text, 'X', sizeof text);
    EXPECT_EQ(0, WEPCode(CRYPT_CODE, text, sizeof text, nullptr, 4));
    EXPECT_EQ('\0', text[0]);

    memset(text, 'X', sizeof text);
    EXPECT_EQ(0, WEPCode(nullptr, text, sizeof text, data, 4));
    EXPECT_EQ('\0', text[0]);

    EXPECT_EQ(0, WEPCode(CRYPT_CODE, nullptr, 8, data, 4));
}

TEST(WEPCode, EveryCharacterLiesBetweenAmpersandAndLowerE)
{
    std::vector<unsigned char> all(256);
    for (int i = 0; i < 256; i++)
        all[i] = static_cast<unsigned char>(i);
    // Every byte value at every offset within a group, under two seeds.
    for (const char *code : {CRYPT_CODE, kZeroSeedCode}) {
        for (size_t shift = 0; shift < 3; shift++) {
            std::vector<unsigned char> in(all.begin() + shift, all.end());
            Coded r = Code(code, in);
            ASSERT_EQ(static_cast<int>(WEP_CODED_LENGTH(in.size())), r.result);
            for (char c : r.text)
                ASSERT_TRUE(InAlphabet(c)) << static_cast<int>(c);
        }
    }
    for (char c : Code(CRYPT_CODE, Bytes(96, 0xFF)).text)
        ASSERT_TRUE(InAlphabet(c));
}

// Texts worked out independently: scramble byte i with seed + i, then take
// the standard base64 values and add 38 to each.
TEST(WEPCode, KnownTexts)
{
    // Seed 0: "Man" scrambles to 4D 60 6C, base64 "TWBs" = 19 22 1 44.
    const std::vector<unsigned char> man = {'M', 'a', 'n'};
    EXPECT_EQ("9<'R", Code(kZeroSeedCode, man).text);
    // "000000000001" has the seed 2: 00 00 00 scrambles to 02 03 04.
    EXPECT_EQ("&F2*", Code("000000000001", Bytes(3, 0)).text);
    // One and two bytes: the last value carries the left-over bits.
    EXPECT_EQ("&&", Code(kZeroSeedCode, Bytes(1, 0)).text);
    EXPECT_EQ("&&*", Code(kZeroSeedCode, Bytes(2, 0)).text);
}

TEST(WEPCode, OnlyTheFirstTwelveCodeCharactersCount)
{
    const std::vector<unsigned char> data = Bytes(20, 0x33);
    const std::string longer = std::string(CRYPT_CODE) + "FFFF";
    EXPECT_EQ(Code(CRYPT_CODE, data).text, Code(longer.c_str(), data).text);
}

TEST(WEPCode, EqualBytesAtDifferentPositionsCodeDifferently)
{
    // 96 equal bytes make 32 groups of equal input; no two may code alike.
    for (int value : {0x00, 0x5A, 0xFF}) {
        SCOPED_TRACE(value);
        Coded r = Code(CRYPT_CODE, Bytes(96, static_cast<unsigned char>(value)));
        ASSERT_EQ(128, r.result);
        for (size_t a = 0; a < 32; a++)
            for (size_t b = a + 1; b < 32; b++)
                EXPECT_NE(r.text.substr(4 * a, 4), r.text.substr(4 * b, 4))
                    << "groups " << a << " and " << b;
    }
}

TEST(WEPCode, CodeIsTwelveHexDigits)
{
    const char *code = CRYPT_CODE;
    ASSERT_EQ(12u, strlen(code));
    for (const char *p = code; *p; p++)
        EXPECT_NE(nullptr, strchr("0123456789ABCDEFabcdef", *p)) << *p;
}

TEST(WEPCode, DefaultCodedKeyIsTheDefaultKeyRecord)
{
    ASSERT_EQ(102u, strlen(DefaultCodedKey));
    for (const char *p = DefaultCodedKey; *p; p++)
        ASSERT_TRUE(InAlphabet(*p));

    int n = 0;
    std::vector<unsigned char> rec = Decode(CRYPT_CODE, DefaultCodedKey, &n);
    ASSERT_EQ(WEP_KEY_RECORD_SIZE, n);
    EXPECT_EQ(0, memcmp(rec.data(), "whWH", 4)) << "tag";
    EXPECT_EQ(0, rec[4] | rec[5] << 8) << "key index";
    EXPECT_EQ(0, rec[6] | rec[7] << 8) << "encryption switch";
    EXPECT_EQ(33, rec[8] | rec[9] << 8) << "default keys record length";
    EXPECT_EQ(0xFCB0, rec[10] | rec[11] << 8) << "default keys record type";
    for (int i = 12; i < WEP_KEY_RECORD_SIZE; i++)
        EXPECT_EQ(0, rec[i]) << "key slot byte " << i;

    EXPECT_EQ(std::string(DefaultCodedKey), Code(CRYPT_CODE, rec).text);
}

TEST(WEPDecode, LengthIsThreeQuartersOfTheText)
{
    const struct {
        size_t chars;
        int bytes;
    } cases[] = {{102, 76}, {128, 96}, {2, 1}, {3, 2}, {4, 3}, {6, 4},
                 {1, 0},    {0, 0},    {5, 3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chars);
        int n = -1;
        Decode(CRYPT_CODE, std::string(c.chars, 'Q'), &n);
        EXPECT_EQ(c.bytes, n);
    }
}

TEST(WEPDecode, NothingToDecodeLeavesTheOutputAlone)
{
    unsigned char data[4];
    memset(data, 0xEE, sizeof data);
    EXPECT_EQ(0, WEPDecode(CRYPT_CODE, data, sizeof data, ""));
    EXPECT_EQ(0, WEPDecode(CRYPT_CODE, data, sizeof data, "A"));
    EXPECT_EQ(0, WEPDecode(CRYPT_CODE, data, sizeof data, nullptr));
    EXPECT_EQ(0, WEPDecode(nullptr, data, sizeof data, "AAAA"));
    EXPECT_EQ(0, WEPDecode(CRYPT_CODE, data, 0, "AAAA"));
    EXPECT_EQ(0, WEPDecode(CRYPT_CODE, data, -1, "AAAA"));
    EXPECT_EQ(0, WEPDecode(CRYPT_CODE, nullptr, 4, "AAAA"));
    for (unsigned char b : data)
        EXPECT_EQ(0xEE, b);
}

TEST(WEPRoundTrip, RandomInputsOfEveryLength)
{
    std::mt19937 rng(20240611u);
    for (int len = 0; len <= 96; len++) {
        for (int round = 0; round < 8; round++) {
            std::vector<unsigned char> in(len);
            for (auto &b : in)
                b = static_cast<unsigned char>(rng() & 0xFF);
            Coded r = Code(CRYPT_CODE, in);
            int n = -1;
            std::vector<unsigned char> out = Decode(CRYPT_CODE, r.text, &n);
            ASSERT_EQ(len, n) << "length " << len;
            ASSERT_EQ(in, out) << "length " << len << " round " << round;
        }
    }
}

TEST(WEPRoundTrip, EveryByteValueUnderManyCodes)
{
    std::vector<unsigned char> all(256);
    for (int i = 0; i < 256; i++)
        all[i] = static_cast<unsigned char>(i);
    for (const char *code :
         {CRYPT_CODE, kZeroSeedCode, "FFFFFFFFFFFF", "0123456789ab", "9"}) {
        SCOPED_TRACE(code);
        int n = -1;
        EXPECT_EQ(all, Decode(code, Code(code, all).text, &n));
    }
}

TEST(WEPRoundTrip, AnotherSeedChangesEveryByte)
{
    std::mt19937 rng(7u);
    std::vector<unsigned char> in(96);
    for (auto &b : in)
        b = static_cast<unsigned char>(rng() & 0xFF);
    const std::string text = Code(CRYPT_CODE, in).text;
    for (const char *other : {kZeroSeedCode, "000000000001", "FFFFFFFFFFFF"}) {
        SCOPED_TRACE(other);
        int n = -1;
        std::vector<unsigned char> out = Decode(other, text, &n);
        ASSERT_EQ(96, n);
        for (size_t i = 0; i < in.size(); i++)
            EXPECT_NE(in[i], out[i]) << "byte " << i;
    }
}

TEST(WEPBounds, CodedTextIsCutToTheCapacity)
{
    const std::vector<unsigned char> in = Bytes(96, 0xA5);
    const std::string full = Code(CRYPT_CODE, in).text;
    ASSERT_EQ(128u, full.size());
    const size_t guard = 16;
    for (int cap = 0; cap <= 131; cap++) {
        SCOPED_TRACE(cap);
        std::vector<char> buf(cap + guard, '#');
        int n = WEPCode(CRYPT_CODE, buf.data(), cap, in.data(), 96);
        int expected = cap == 0 ? 0 : std::min(cap - 1, 128);
        ASSERT_EQ(expected, n);
        if (cap > 0) {
            EXPECT_EQ('\0', buf[n]);
            EXPECT_EQ(full.substr(0, n), std::string(buf.data(), n));
        }
        for (size_t i = cap; i < buf.size(); i++)
            ASSERT_EQ('#', buf[i]) << "written past the capacity at " << i;
    }
}

TEST(WEPBounds, DecodingStopsAtTheCapacity)
{
    std::vector<unsigned char> in(96);
    for (int i = 0; i < 96; i++)
        in[i] = static_cast<unsigned char>(3 * i + 1);
    const std::string text = Code(CRYPT_CODE, in).text;
    const size_t guard = 16;
    for (int cap = 0; cap <= 100; cap++) {
        SCOPED_TRACE(cap);
        std::vector<unsigned char> buf(cap + guard, 0xEE);
        int n = WEPDecode(CRYPT_CODE, buf.data(), cap, text.c_str());
        ASSERT_EQ(std::min(cap, 96), n);
        EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + n, in.begin()));
        for (size_t i = n; i < buf.size(); i++)
            ASSERT_EQ(0xEE, buf[i]) << "written past the result at " << i;
    }
}

TEST(WEPBounds, LongHostileTextFillsOnlyTheRecord)
{
    std::string text(10000, '\0');
    for (size_t i = 0; i < text.size(); i++)
        text[i] = static_cast<char>(1 + i % 255); // every non-zero character
    unsigned char buf[WEP_KEY_RECORD_SIZE + 16];
    memset(buf, 0xEE, sizeof buf);
    EXPECT_EQ(WEP_KEY_RECORD_SIZE,
              WEPDecode(CRYPT_CODE, buf, WEP_KEY_RECORD_SIZE, text.c_str()));
    for (size_t i = WEP_KEY_RECORD_SIZE; i < sizeof buf; i++)
        EXPECT_EQ(0xEE, buf[i]) << i;
}

TEST(WEPBounds, CharactersOutsideTheAlphabetCountModulo64)
{
    // Replacing each character by its alphabet equivalent changes nothing.
    for (int c = 1; c < 256; c++) {
        SCOPED_TRACE(c);
        const char alien = static_cast<char>(c);
        const char same = static_cast<char>('&' + ((c - 38) % 64 + 64) % 64);
        std::string hostile = "Q" + std::string(1, alien) + "7" +
                              std::string(1, alien) + "&e";
        std::string plain = "Q" + std::string(1, same) + "7" +
                            std::string(1, same) + "&e";
        int n1 = -1;
        int n2 = -1;
        std::vector<unsigned char> a = Decode(CRYPT_CODE, hostile, &n1);
        std::vector<unsigned char> b = Decode(CRYPT_CODE, plain, &n2);
        ASSERT_EQ(4, n1);
        ASSERT_EQ(n2, n1);
        ASSERT_EQ(b, a);
    }
}
