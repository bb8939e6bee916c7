// Key record conversions, key rules, registry value data and the order of a
// preferred list.
#include "wlcore/profile_logic.h"
#include "wlcore/wepcode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

KeyBuffer Keys(int form, int keyId, std::vector<std::string> keys)
{
    KeyBuffer b;
    memset(&b, 0, sizeof b);
    b.TS.Type = KeyBufferType;
    b.TS.Size = sizeof b;
    b.AsciiHex = form;
    b.KeyId = keyId;
    for (size_t i = 0; i < keys.size() && i < MAX_NUM_KEYS; i++) {
        b.Key[i].Len = (int32_t)keys[i].size();
        memcpy(b.Key[i].Keypos, keys[i].data(), keys[i].size());
    }
    return b;
}

std::string KeyText(const KeyBufferKey &k) { return std::string(k.Keypos, (size_t)k.Len); }

} // namespace

TEST(KeyRules, LengthThenCharacters)
{
    const struct {
        bool hex;
        const char *key;
        long len;
        KeyFault want;
    } cases[] = {
        {false, "", 0, KEY_VALID},
        {false, "abcde", 5, KEY_VALID},
        {false, "0123456789abc", 13, KEY_VALID},
        {false, "abcdef", 6, KEY_BAD_LENGTH},
        {false, "ab\x01" "de", 5, KEY_BAD_CHARACTER},
        {false, "ab\xE9" "de", 5, KEY_BAD_CHARACTER},
        {false, "x", -1, KEY_BAD_LENGTH},
        {true, "0123456789", 10, KEY_VALID},
        {true, "abcdefABCDEF0123456789abcd", 26, KEY_VALID},
        {true, "012345678g", 10, KEY_BAD_CHARACTER},
        {true, "abcde", 5, KEY_BAD_LENGTH},
        {true, "0123456789abcdef0123456789", 25, KEY_BAD_LENGTH},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.want, c.hex ? HexKeyFault(c.key, c.len) : AscKeyFault(c.key, c.len));
    }
}

TEST(KeyRecord, BufferToRecordAndBackInBothForms)
{
    KeyRecord rec;
    memset(&rec, 0xEE, sizeof rec);
    rec.Enabled = 3;
    KeyBuffer in = Keys(WL_KEYHEX, 2, {"0102030405", "", "6162636465666768696A6B6C6D", "ffFFffFFff"});
    KeyBufferToRecord(in, &rec);
    EXPECT_EQ(0, memcmp(rec.Tag, "whWH", 4));
    EXPECT_EQ(2, rec.KeyId);
    EXPECT_EQ(3, rec.Enabled) << "the switch is kept";
    EXPECT_EQ(33, rec.LtvLen);
    EXPECT_EQ(0xFCB0, rec.LtvType);
    EXPECT_EQ(5, rec.Slot[0].Len);
    EXPECT_EQ(0, rec.Slot[1].Len);
    EXPECT_EQ(13, rec.Slot[2].Len);
    EXPECT_EQ(0, memcmp(rec.Slot[2].Key, "abcdefghijklm", 13));
    EXPECT_EQ(0xFF, rec.Slot[3].Key[4]);
    EXPECT_EQ(0, rec.Slot[3].Key[5]) << "the rest of a slot is cleared";

    KeyBuffer out = Keys(WL_KEYASC, 0, {});
    KeyRecordToBuffer(rec, WL_KEYHEX, &out);
    EXPECT_EQ(WL_KEYHEX, out.AsciiHex);
    EXPECT_EQ(2, out.KeyId);
    EXPECT_EQ("0102030405", KeyText(out.Key[0]));
    EXPECT_EQ("", KeyText(out.Key[1]));
    EXPECT_EQ("6162636465666768696A6B6C6D", KeyText(out.Key[2]));
    EXPECT_EQ("FFFFFFFFFF", KeyText(out.Key[3])) << "upper-case digits";

    KeyRecordToBuffer(rec, WL_KEYASC, &out);
    EXPECT_EQ("abcdefghijklm", KeyText(out.Key[2]));
}

TEST(KeyRecord, HostileSlotLengthsStayInsideTheirFields)
{
    KeyRecord rec;
    memset(&rec, 0x41, sizeof rec);
    for (KeySlot &s : rec.Slot) s.Len = 0xFFFF;
    KeyBuffer out;
    memset(&out, 0, sizeof out);
    KeyRecordToBuffer(rec, WL_KEYHEX, &out);
    for (const KeyBufferKey &k : out.Key) EXPECT_EQ(2 * KEY_SLOT_BYTES, k.Len);
    char small[26];
    EXPECT_EQ(-1, KeySlotRender(rec.Slot[0], WL_KEYHEX, small, sizeof small));

    /* KeyBuffer lengths beyond the field count as empty keys. */
    KeyBuffer in = Keys(WL_KEYASC, 0, {});
    in.Key[0].Len = 1000;
    in.Key[1].Len = -5;
    in.Key[2].Len = MAX_KEY_CHARS;
    KeyBufferToRecord(in, &rec);
    EXPECT_EQ(0, rec.Slot[0].Len);
    EXPECT_EQ(0, rec.Slot[1].Len);
    EXPECT_EQ(KEY_SLOT_BYTES, rec.Slot[2].Len);
    in.Key[0].Len = 1000;
    KeyBufferMask(&in);
    EXPECT_EQ(std::string(MAX_KEY_CHARS, '*'), std::string(in.Key[0].Keypos, MAX_KEY_CHARS));
}

TEST(KeyRecord, DefaultCodedTextIsTheEmptyTaggedRecord)
{
    KeyRecord rec;
    memset(&rec, 0xEE, sizeof rec);
    ASSERT_EQ(76, WEPDecode(CRYPT_CODE, &rec, sizeof rec, DefaultCodedKey));
    KeyRecord want;
    memset(&want, 0, sizeof want);
    KeyBufferToRecord(Keys(WL_KEYASC, 0, {}), &want);
    EXPECT_EQ(0, memcmp(&want, &rec, sizeof rec));
}

TEST(RegistryData, IntegersInEitherForm)
{
    const struct {
        uint32_t type;
        std::string data;
        uint32_t want;
    } cases[] = {
        {1 /* REG_SZ */, std::string("600\0", 4), 600},
        {1, "12abc", 12},
        {1, "abc", 0},
        {1, std::string("-1\0", 3), 0xFFFFFFFFu},
        {1, std::string(100, '7'), 0x7FFFFFFFu}, /* long text: first 32 bytes, clamped */
        {2 /* REG_EXPAND_SZ */, "5", 5},
        {4 /* REG_DWORD */, std::string("\x05\x00\x00\x00", 4), 5},
        {3 /* REG_BINARY */, std::string("\x02", 1), 2},
        {3, "", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(c.want, RegDataToInt(c.type, (const uint8_t *)c.data.data(), c.data.size()));
    }
    EXPECT_TRUE(RegIntInRange(512, 0, 512));
    EXPECT_FALSE(RegIntInRange(600, 0, 512));
    EXPECT_FALSE(RegIntInRange(0xFFFFFFFFu, 0, 3));
}

TEST(RegistryData, TextsOnlyFromStringTypes)
{
    std::string out;
    const std::string unterminated(300, 'a');
    EXPECT_TRUE(RegDataToText(1, (const uint8_t *)unterminated.data(), unterminated.size(), 256, &out));
    EXPECT_EQ(256u, out.size());
    EXPECT_TRUE(RegDataToText(1, (const uint8_t *)"ab\0cd", 5, 256, &out));
    EXPECT_EQ("ab", out);
    EXPECT_FALSE(RegDataToText(4, (const uint8_t *)"\x05\0\0\0", 4, 256, &out));
    EXPECT_EQ("", out);
}

TEST(PreferredNames, NumberedNamesInNumericOrder)
{
    unsigned long n = 0;
    EXPECT_TRUE(PreferredValueIndex("PP_12", &n));
    EXPECT_EQ(12u, n);
    for (const char *bad : {"PP_", "PP_-1", "PP_1x", "pp_1", "XX_1", "PP_99999999999"})
        EXPECT_FALSE(PreferredValueIndex(bad, &n)) << bad;

    /* Wine's order (sorted by name), gaps, and a stray value. */
    std::vector<std::string> names = {"PP_0", "PP_1", "PP_10", "PP_11", "Stray", "PP_2", "PP_9", "PP_3"};
    std::vector<size_t> order = PreferredOrder(names);
    std::vector<std::string> got;
    for (size_t i : order) got.push_back(names[i]);
    EXPECT_EQ((std::vector<std::string>{"PP_0", "PP_1", "PP_2", "PP_3", "PP_9", "PP_10", "PP_11", "Stray"}), got);
}

TEST(PreferredNames, NameOfSizeStopsAtSizeOrZero)
{
    EXPECT_EQ("Off", NameOfSize("Office", 3));
    EXPECT_EQ("ab", NameOfSize("ab\0cd", 5));
    EXPECT_EQ("", NameOfSize("x", 0));
}
