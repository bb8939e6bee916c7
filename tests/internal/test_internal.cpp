/*
 * The library's internal helpers, linked into this program directly (as the
 * variant E build): conversions, code names, record classes, the per-adapter
 * store and the device key lookup.
 */
#include <gtest/gtest.h>

#include "wlinternal.h"
#include "wltest.h"

TEST(Conversions, I2usClampsBothEnds)
{
    EXPECT_EQ(65535, i2us(65536));
    EXPECT_EQ(65535, i2us(0x7FFFFFFF));
    EXPECT_EQ(65535, i2us(65535));
    EXPECT_EQ(0, i2us(-1));
    EXPECT_EQ(1234, i2us(1234));
    EXPECT_EQ(65535, ui2us(65535));
    EXPECT_EQ(65535, ui2us(65536));
    EXPECT_EQ(0xFFFF, ui2us(0xFFFFFFFFu));
}

TEST(Conversions, LevelToDBmBounds)
{
    EXPECT_EQ(-102, LevelToDBm(0));
    EXPECT_EQ(-102, LevelToDBm(47));
    EXPECT_EQ(-101, LevelToDBm(48));
    EXPECT_EQ(-11, LevelToDBm(138));
    EXPECT_EQ(-10, LevelToDBm(139));
    EXPECT_EQ(-10, LevelToDBm(255));
}

TEST(CodeNames, WLNamesComeFirstThenChannelThenAdapterLayer)
{
    EXPECT_STREQ("WL_SUCCESS", ReturnCodeName(0));
    EXPECT_STREQ("WL_INVALID_PARAMETER", ReturnCodeName(9001));
    EXPECT_STREQ("WL_IN_USE", ReturnCodeName(9012));
    EXPECT_STREQ("unrecognized error", ReturnCodeName(9013));
    EXPECT_STREQ("UIL_ERR_TIME_OUT", ReturnCodeName(4));
    EXPECT_STREQ("UIL_ERR_NO_NIC", ReturnCodeName(5));
    EXPECT_STREQ("HCF_ERR_INCOMP_FW", ReturnCodeName(10));
    EXPECT_STREQ("UIL_ERR_WRONG_IFB", ReturnCodeName(70));
    EXPECT_STREQ("HCF_ERR_DEFUNCT_CMD_SEQ", ReturnCodeName(134));
    EXPECT_STREQ("0xFF", ReturnCodeName(255));
    EXPECT_STREQ("unrecognized error", ReturnCodeName(-1));
}

TEST(RecordClasses, ConfigurationRecordsNeedApply)
{
    /* this program is the variant E build: 0xFC21 is the exception */
    EXPECT_TRUE(RecordNeedsApply(0xFC00));
    EXPECT_TRUE(RecordNeedsApply(0xFC20));
    EXPECT_FALSE(RecordNeedsApply(0xFC21));
    EXPECT_TRUE(RecordNeedsApply(0xFC7F));
    EXPECT_FALSE(RecordNeedsApply(0xFC80));
    EXPECT_TRUE(RecordNeedsApply(0xFC84));
    EXPECT_TRUE(RecordNeedsApply(0xFCC7));
    EXPECT_FALSE(RecordNeedsApply(0xFD40));
    for (unsigned short t : {0x0902, 0x0905, 0x0907, 0x0908}) EXPECT_TRUE(RecordNeedsApply(t)) << t;
    for (unsigned short t : {0x0900, 0x0903, 0x0906, 0x0909}) EXPECT_FALSE(RecordNeedsApply(t)) << t;
}

class Store : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WL_SUCCESS, WLCurrentNICSet("0170", 4)); }
    void TearDown() override { WLCurrentNICSet("", 0); }
    RegAdapter a{AdapterSpec("0170", "Store card", true, 'E')};
};

TEST_F(Store, IntegersReadBothEncodings)
{
    DWORD v = 7;
    a.writeString("TextNumber", "42");
    ASSERT_EQ(WL_SUCCESS, WLNICAnyIntGet("TextNumber", &v));
    EXPECT_EQ(42u, v);
    a.writeString("Negative", "-3");
    ASSERT_EQ(WL_SUCCESS, WLNICAnyIntGet("Negative", &v));
    EXPECT_EQ((DWORD)-3, v);
    a.writeString("NoDigits", "abc");
    ASSERT_EQ(WL_SUCCESS, WLNICAnyIntGet("NoDigits", &v));
    EXPECT_EQ(0u, v);
    a.writeDword("Number", 0x12345678);
    ASSERT_EQ(WL_SUCCESS, WLNICAnyIntGet("Number", &v));
    EXPECT_EQ(0x12345678u, v);
    v = 7;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WLNICAnyIntGet("Missing", &v));
    EXPECT_EQ(7u, v);
    EXPECT_EQ(WL_INVALID_PARAMETER, WLNICAnyIntGet(NULL, &v));
    EXPECT_EQ(WL_INVALID_PARAMETER, WLNICAnyIntGet("Number", NULL));
}

TEST_F(Store, IntegersWrittenAsNumbersOnTheNTFamily)
{
    ASSERT_EQ(WL_SUCCESS, WLNICAnyIntSet("ProfileHunting", 1));
    DWORD v = 0, type = 0;
    ASSERT_TRUE(a.readDword("ProfileHunting", &v, &type));
    EXPECT_EQ(1u, v);
    EXPECT_EQ((DWORD)REG_DWORD, type);
}

TEST_F(Store, StringsFitOrComeBackEmpty)
{
    a.writeString("OwnName", "abcdefgh");
    char buf[16];
    DWORD size = 9;
    ASSERT_EQ(WL_SUCCESS, WLNICAnyStringGet("OwnName", buf, &size));
    EXPECT_STREQ("abcdefgh", buf);
    EXPECT_EQ(8u, size);
    memset(buf, 'x', sizeof buf);
    size = 8; /* as long as the text: no room for the terminator */
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WLNICAnyStringGet("OwnName", buf, &size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ('\0', buf[0]);
    size = sizeof buf;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WLNICAnyStringGet("Missing", buf, &size));
    EXPECT_EQ(0u, size);
    ASSERT_EQ(WL_SUCCESS, WLNICAnyStringSet("CountryInfo", "text"));
    std::string s;
    ASSERT_TRUE(a.readString("CountryInfo", &s));
    EXPECT_EQ("text", s);
}

TEST_F(Store, GuidAndDeviceKeyLookup)
{
    char buf[260];
    DWORD size = sizeof buf;
    ASSERT_EQ(WL_SUCCESS, WLGUIDGet(buf, &size));
    EXPECT_EQ(a.spec().guid, buf);
    size = sizeof buf;
    ASSERT_EQ(WL_SUCCESS, WLEnumAnyStringGet("DeviceDesc", buf, &size));
    EXPECT_STREQ("Store card", buf);
}

TEST(StoreWithoutAdapter, NothingSelected)
{
    WLCurrentNICSet("", 0);
    DWORD v = 5;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WLNICAnyIntGet("X", &v));
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WLNICAnyIntSet("X", 1));
    char buf[8];
    DWORD size = sizeof buf;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WLNICAnyStringGet("X", buf, &size));
}
