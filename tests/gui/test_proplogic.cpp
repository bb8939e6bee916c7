/* Pure rules of the profile dialogs: key rules, offered modes and bands,
 * the channel word, the preferred-name list. */
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "proplogic.h"

namespace {

struct KeyRuleCase {
    const char *key, *confirm;
    KeyRuleResult result;
    const char *digits; /* slot text when stored */
};

class KeyRules : public testing::TestWithParam<KeyRuleCase> {};

TEST_P(KeyRules, Apply)
{
    const KeyRuleCase &c = GetParam();
    KeyBufferKey slot;
    memset(&slot, 0x55, sizeof slot);
    EXPECT_EQ(c.result, KeyRulesApply(c.key, c.confirm, &slot)) << c.key << " / " << c.confirm;
    if (c.result == KEY_OK) {
        ASSERT_EQ((int)strlen(c.digits), slot.Len);
        EXPECT_EQ(std::string(c.digits), std::string(slot.Keypos, (size_t)slot.Len));
        EXPECT_EQ(0, slot.Keypos[slot.Len]) << "the rest of the slot is cleared";
    } else {
        EXPECT_EQ(0x55555555, slot.Len) << "a refused key leaves the slot alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyRules,
    testing::Values(KeyRuleCase{"abcde", "abcde", KEY_OK, "6162636465"},
                    KeyRuleCase{"Secret-Office", "Secret-Office", KEY_OK, "5365637265742D4F6666696365"},
                    KeyRuleCase{"\xFF\x01~ z", "\xFF\x01~ z", KEY_OK, "FF017E207A"},
                    KeyRuleCase{"abcdef0123", "ABCDEF0123", KEY_OK, "abcdef0123"},
                    KeyRuleCase{"0123456789abcdefABCDEF0123", "0123456789ABCDEFabcdef0123", KEY_OK,
                                "0123456789abcdefABCDEF0123"},
                    KeyRuleCase{"Abcde", "abcde", KEY_MISMATCH, ""},
                    KeyRuleCase{"abcdef0123", "abcdef012", KEY_MISMATCH, ""},
                    KeyRuleCase{"abcdefghij", "abcdefghij", KEY_INVALID, ""},
                    KeyRuleCase{"0123456789abcdefABCDEF012g", "0123456789abcdefABCDEF012g", KEY_INVALID, ""},
                    KeyRuleCase{"abcd", "abcd", KEY_INVALID, ""},
                    KeyRuleCase{"abcdefghijklmn", "abcdefghijklmn", KEY_INVALID, ""},
                    KeyRuleCase{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", KEY_INVALID, ""},
                    KeyRuleCase{"", "", KEY_EMPTY, ""},
                    KeyRuleCase{"", "abcde", KEY_MISMATCH, ""}));

struct OfferCase {
    const char *name;
    int present;
    BandFlags f; /* create5, connect5, create24, connect24 */
    int mode;
    int modes[3], bands[4];
};

class Offered : public testing::TestWithParam<OfferCase> {};

TEST_P(Offered, ModesAndBands)
{
    const OfferCase &c = GetParam();
    int modes[3], bands[4];
    OfferedModes(c.present, c.f, modes);
    OfferedBands(c.present, c.f, c.mode, bands);
    for (int i = 0; i < 3; i++) EXPECT_EQ(c.modes[i], modes[i]) << c.name << " mode " << i;
    for (int i = 0; i < 4; i++) EXPECT_EQ(c.bands[i], bands[i]) << c.name << " band " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Offered,
    testing::Values(OfferCase{"NoAdapter", 0, {0, 0, 0, 0}, 1, {1, 1, 1}, {1, 1, 1, 1}},
                    OfferCase{"DualBand", 1, {1, 1, 1, 1}, 0, {1, 1, 1}, {1, 1, 1, 1}},
                    OfferCase{"ConnectOnly24", 1, {0, 0, 0, 1}, 0, {1, 0, 0}, {1, 0, 0, 0}},
                    OfferCase{"Join5NoCreate5Peer", 1, {0, 1, 1, 1}, 1, {1, 1, 1}, {1, 0, 0, 0}},
                    OfferCase{"Join5NoCreate5Connect", 1, {0, 1, 1, 1}, 0, {1, 1, 1}, {1, 1, 1, 1}},
                    OfferCase{"Only5", 1, {1, 1, 0, 0}, 2, {1, 1, 1}, {0, 1, 0, 0}}),
    [](const testing::TestParamInfo<OfferCase> &i) { return i.param.name; });

TEST(ChannelWord, TwoPointFourChoiceOnly)
{
    EXPECT_EQ(11, ChannelFromWord(0, 11));
    EXPECT_EQ(14, ChannelFromWord(0, 14));
    EXPECT_EQ(0, ChannelFromWord(0, 15));
    EXPECT_EQ(0, ChannelFromWord(1, 36));
    EXPECT_EQ(0, ChannelFromWord(2, 6));
}

class PreferredNames : public testing::Test {
protected:
    void TearDown() override { PreferredFreeAll(&c_); }
    AdapterPageContext c_ = {};
};

TEST_F(PreferredNames, InsertAtFrontOnceIgnoringCase)
{
    EXPECT_EQ(0, PreferredInsert(&c_, "Home", 0));
    EXPECT_EQ(0, PreferredInsert(&c_, "Office", 0));
    EXPECT_EQ(1, PreferredInsert(&c_, "HOME", 0)) << "listed already";
    ASSERT_EQ(2, c_.PreferredCount);
    EXPECT_STREQ("Office", c_.PreferredNames[0]);
    EXPECT_STREQ("Home", c_.PreferredNames[1]);
    EXPECT_EQ(1, PreferredFind(&c_, "home"));
    EXPECT_EQ(-1, PreferredFind(&c_, "Hom"));
    PreferredRemove(&c_, 0);
    EXPECT_EQ(1, c_.PreferredCount);
    EXPECT_STREQ("Home", c_.PreferredNames[0]);
    EXPECT_EQ(NULL, c_.PreferredNames[1]);
    PreferredRemove(&c_, 5); /* nothing there */
    EXPECT_EQ(1, c_.PreferredCount);
}

TEST_F(PreferredNames, HundredNamesAtMostAndLongNamesCut)
{
    for (int i = 0; i < MAX_PREFERRED_NAMES; i++)
        ASSERT_EQ(0, PreferredInsert(&c_, ("N" + std::to_string(i)).c_str(), 0));
    EXPECT_EQ(-1, PreferredInsert(&c_, "One more", 0));
    EXPECT_EQ(MAX_PREFERRED_NAMES, c_.PreferredCount);
    PreferredRemove(&c_, 99);
    EXPECT_EQ(0, PreferredInsert(&c_, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 0));
    EXPECT_EQ(std::string(32, 'a'), c_.PreferredNames[0]);
}

} // namespace
