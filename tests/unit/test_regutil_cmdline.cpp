/* The utility's command line, key forms, name tables and block copies. */
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "regutil/cmdline.h"
#include "regutil/tables.h"

static ParsedCommand Parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "WCVXQ48E.EXE");
    std::vector<const char *> argv;
    for (const std::string &a : args) argv.push_back(a.c_str());
    ParsedCommand cmd;
    ParseCommandLine((int)argv.size(), argv.data(), &cmd);
    return cmd;
}

static const std::string kText102(102, 'A');

struct LineCase {
    std::vector<std::string> args;
    int exit;
    const char *text;
};

TEST(RegutilCmdline, ExitCodesOfMalformedLines)
{
    const LineCase cases[] = {
        {{}, 1, NULL},
        {{""}, 1, NULL},
        {{"Z"}, 1, NULL},
        {{"VV"}, 4, NULL},
        {{"\xE4\xBD\xA0"}, 4, NULL}, /* one multi-byte character */
        {{"#", "x"}, 4, NULL},
        {{"@", "x"}, 4, NULL},
        {{"V", "x"}, 4, NULL},
        {{"M", "x"}, 4, "XXXXXXXXXXXX"},
        {{"H", "100"}, 4, NULL},
        {{"H", "1a"}, 4, NULL},
        {{"H", ""}, 4, NULL},
        {{"H", "1", "2"}, 4, NULL},
        {{"R"}, 4, NULL},
        {{"R", "3"}, 4, NULL},
        {{"R", ""}, 4, NULL},
        {{"O", "x1"}, 4, NULL},
        {{"E", std::string(101, 'A')}, 4, NULL},
        {{"E", std::string(103, 'A')}, 4, NULL},
        {{"E", kText102, "0"}, 4, NULL},
        {{"E", kText102, "100"}, 4, NULL},
        {{"e", kText102, "1", "2"}, 4, NULL},
        {{"W"}, 4, NULL},
        {{"w", "a", "b", "c"}, 4, NULL},
        {{"K", "1", "-", "-", "-"}, 4, NULL},
        {{"K", "0", "-", "-", "-", "-"}, 4, NULL},
        {{"K", "12", "-", "-", "-", "-"}, 4, NULL},
        {{"K", "1", "ab", "-", "-", "-"}, 4, NULL},
        {{"K", "1", "0x01020304zz", "-", "-", "-"}, 4, NULL},
        {{"K", "1", "0y0102030405", "-", "-", "-"}, 4, NULL},
    };
    for (const LineCase &c : cases) {
        std::string line;
        for (const std::string &a : c.args) line += "[" + a + "]";
        SCOPED_TRACE(line);
        ParsedCommand cmd = Parse(c.args);
        EXPECT_EQ(c.exit, cmd.exitCode);
        EXPECT_STREQ(c.text ? c.text : "(none)", cmd.text ? cmd.text : "(none)");
    }
}

TEST(RegutilCmdline, OperandsOfGoodLines)
{
    EXPECT_EQ(1, Parse({"R", "1abc"}).number);
    EXPECT_EQ(2, Parse({"O", "2"}).number);
    EXPECT_EQ(0, Parse({"H"}).number);
    EXPECT_EQ(7, Parse({"H", "007"}).number);
    EXPECT_EQ(1, Parse({"E", kText102}).number);
    EXPECT_EQ(99, Parse({"e", kText102, "99"}).number);

    ParsedCommand w = Parse({"W", "abcdef"});
    EXPECT_EQ(0, w.exitCode) << "the key is examined after the adapter steps";
    EXPECT_EQ(4, w.keyExit);
    w = Parse({"W", "abcde", "150"});
    EXPECT_EQ(0, w.keyExit);
    EXPECT_EQ(PROFILE_NAME, w.profile.kind);
    EXPECT_STREQ("150", w.profile.name);
    w = Parse({"w", "0A1b2C3d4E", "0"});
    ASSERT_EQ(0, w.keyExit);
    EXPECT_EQ(PROFILE_NUMBER, w.profile.kind);
    ASSERT_EQ(5, w.key.len);
    EXPECT_EQ(0, memcmp(w.key.b, "\x0A\x1B\x2C\x3D\x4E", 5));
    EXPECT_EQ(4, Parse({"w", "0A1b2C3d4G"}).keyExit);
    EXPECT_EQ(4, Parse({"w", "abcde"}).keyExit);
}

TEST(RegutilCmdline, KeysRecordFromDefault)
{
    ParsedCommand k = Parse({"K", "2", "-", "", "x", "-"});
    ASSERT_EQ(0, k.exitCode);
    EXPECT_EQ(1, KeyRecordWord(k.record, KEY_OFF_KEYID));
    EXPECT_EQ(1, KeyRecordWord(k.record, KEY_OFF_SWITCH));
    EXPECT_EQ(0, memcmp(k.record.b, "whWH", 4));
    EXPECT_EQ(KEY_LTV_LEN, KeyRecordWord(k.record, KEY_OFF_LTV_LEN));
    for (int s = 0; s < KEY_SLOTS; s++) EXPECT_EQ(0, KeyRecordWord(k.record, KEY_OFF_SLOTS + 16 * s));

    k = Parse({"K", "1", "12345", "0X0102030405", "abcdefghijklm", "0x" + std::string(26, 'f')});
    ASSERT_EQ(0, k.exitCode);
    EXPECT_EQ(0, KeyRecordWord(k.record, KEY_OFF_KEYID));
    const int lens[] = {5, 5, 13, 13};
    for (int s = 0; s < KEY_SLOTS; s++) EXPECT_EQ(lens[s], KeyRecordWord(k.record, KEY_OFF_SLOTS + 16 * s));
    EXPECT_EQ(0, memcmp(k.record.b + KEY_OFF_SLOTS + 16 + 2, "\x01\x02\x03\x04\x05\0", 6));
    EXPECT_EQ(0xFF, k.record.b[KEY_OFF_SLOTS + 48 + 2 + 12]);
    EXPECT_EQ(0, k.record.b[KEY_OFF_SLOTS + 48 + 2 + 13]) << "slot byte 14 cleared";
}

TEST(RegutilCmdline, ProfileResolution)
{
    const char *names[PROFILE_MAX + 1] = {NULL};
    int p = -1;
    ProfileOperand def = {PROFILE_DEFAULT, 0, NULL};
    EXPECT_EQ(0, ResolveProfile(def, names, &p));
    EXPECT_EQ(0, p) << "no profile: the running configuration";
    names[3] = "Office";
    names[5] = "Home";
    names[9] = "Home";
    EXPECT_EQ(0, ResolveProfile(def, names, &p));
    EXPECT_EQ(3, p);
    ProfileOperand zero = {PROFILE_NUMBER, 0, "0"};
    EXPECT_EQ(0, ResolveProfile(zero, names, &p));
    EXPECT_EQ(3, p);
    ProfileOperand seven = {PROFILE_NUMBER, 7, "7"};
    EXPECT_EQ(0, ResolveProfile(seven, names, &p));
    EXPECT_EQ(7, p) << "a number is taken even when the profile is absent";
    ProfileOperand home = {PROFILE_NAME, -1, "Home"};
    EXPECT_EQ(0, ResolveProfile(home, names, &p));
    EXPECT_EQ(5, p);
    ProfileOperand lower = {PROFILE_NAME, -1, "home"};
    EXPECT_EQ(EXIT_BAD_ARGS, ResolveProfile(lower, names, &p));
    ProfileOperand big = {PROFILE_NAME, -1, "150"};
    EXPECT_EQ(EXIT_BAD_ARGS, ResolveProfile(big, names, &p));
}

TEST(RegutilCmdline, StoredTextMustCarryTheTag)
{
    KeyRecord rec;
    EXPECT_TRUE(KeyRecordDecode(DefaultCodedKey, &rec));
    EXPECT_FALSE(KeyRecordDecode(std::string(DefaultCodedKey).substr(0, 101).c_str(), &rec));
    EXPECT_FALSE(KeyRecordDecode((std::string(DefaultCodedKey) + "&").c_str(), &rec));
    EXPECT_FALSE(KeyRecordDecode(kText102.c_str(), &rec));
    char text[KEY_TEXT_LENGTH + 1];
    ASSERT_TRUE(KeyRecordCode(KeyRecordDefault(), text));
    EXPECT_STREQ(DefaultCodedKey, text);
}

TEST(RegutilTables, OsTypesAndIdentifierKinds)
{
    struct { int ok; unsigned platform, major, minor; int os; } os[] = {
        {1, 1, 4, 0, 1}, {1, 1, 3, 95, 1}, {1, 1, 4, 10, 2}, {1, 1, 4, 90, 2}, {1, 1, 5, 0, 2},
        {1, 2, 4, 0, 4}, {1, 2, 3, 51, 4}, {1, 2, 5, 0, 8}, {1, 2, 5, 1, 32}, {1, 2, 6, 1, 32},
        {1, 0, 3, 10, 0}, {0, 2, 5, 1, 0},
    };
    for (const auto &c : os)
        EXPECT_EQ(c.os, OsTypeFromVersion(c.ok, c.platform, c.major, c.minor)) << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(ID_USB, HardwareIdKind("vid_1234&pid_5678"));
    EXPECT_EQ(ID_PCI, HardwareIdKind("VEN_1260&DEV_3873"));
    EXPECT_EQ(ID_PCMCIA, HardwareIdKind("VEN_"));
    EXPECT_EQ(ID_PCMCIA, HardwareIdKind("A-B-1234"));
    int n;
    const char *const *ids = HardwareIds(&n);
    ASSERT_EQ(14, n);
    int pci = 0;
    for (int i = 0; i < n; i++) pci += HardwareIdKind(ids[i]) == ID_PCI;
    EXPECT_EQ(4, pci);
    EXPECT_STREQ("WLAN_SYSTEMS-PC_CARD_11MBPS-3C1D", ids[0]) << "the test adapters' PC Card identifier";
    EXPECT_STREQ("VEN_1260&DEV_3873", ids[10]) << "the test adapters' PCI identifier";
}

TEST(RegutilTables, NamesAndPaths)
{
    char out[64];
    int n;
    EXPECT_TRUE(FillName(ServiceNames(&n)[1], "9", out, sizeof out));
    EXPECT_STREQ("WLVXQ52B9", out);
    EXPECT_TRUE(FillName(VxdNames(&n)[3], NULL, out, sizeof out));
    EXPECT_STREQ("WUVXQ48C.VXD", out);
    EXPECT_FALSE(FillName("WU%s41.VXD", NULL, out, 11));
    EXPECT_TRUE(Retry51Path("\\\\.\\WUVXQ41C.VXD", out, sizeof out));
    EXPECT_STREQ("\\\\.\\WUVXQ51C.VXD", out);
    EXPECT_FALSE(Retry51Path("\\\\.\\WUVXQ4", out, sizeof out));
    char path[128];
    EXPECT_TRUE(EnumKeyPath(2, "A-B-1234", NULL, path, sizeof path));
    EXPECT_STREQ("Enum\\PCMCIA\\A-B-1234", path);
    EXPECT_TRUE(EnumKeyPath(32, "VEN_1260&DEV_3873", "VEN_1260&DEV_3873&SUBSYS_1", path, sizeof path));
    EXPECT_STREQ("System\\CurrentControlSet\\Enum\\PCI\\VEN_1260&DEV_3873&SUBSYS_1", path);
    EXPECT_TRUE(EnumKeyPath(8, "VID_0001&PID_0002", NULL, path, sizeof path));
    EXPECT_STREQ("System\\CurrentControlSet\\Enum\\USB\\VID_0001&PID_0002", path);
    EXPECT_FALSE(EnumKeyPath(4, "A-B-1234", NULL, path, sizeof path));
    EXPECT_TRUE(PciSubkeyMatches("VEN_1260&DEV_3873&X", "VEN_1260&DEV_3873"));
    EXPECT_FALSE(PciSubkeyMatches("ven_1260&DEV_3873", "VEN_1260&DEV_3873"));
    EXPECT_TRUE(ServiceOfNicKey("System\\CurrentControlSet\\Services\\WLVXQ521\\Parameters", out, sizeof out));
    EXPECT_STREQ("WLVXQ521", out);
    EXPECT_FALSE(ServiceOfNicKey("\\Parameters", out, sizeof out));
    EXPECT_FALSE(ServiceOfNicKey("Services\\WLVXQ521", out, sizeof out));
}

TEST(RegutilTables, CompatibilityRange)
{
    EXPECT_TRUE(DriverCompatible(48, 7, 9));
    EXPECT_TRUE(DriverCompatible(52, 8, 8));
    EXPECT_FALSE(DriverCompatible(47, 7, 9));
    EXPECT_FALSE(DriverCompatible(48, 9, 12));
    EXPECT_FALSE(DriverCompatible(48, 1, 7));
}

TEST(RegutilTables, BlockCopiesStayInsideBothRecords)
{
    Block blk;
    memset(&blk, 0xEE, sizeof blk);
    uint16_t rec[20];
    for (int i = 0; i < 20; i++) rec[i] = (uint16_t)(100 + i);
    rec[0] = 18;
    rec[1] = 0xFC02;
    BlockSetHeader(&blk, WLDRV_OP_GET_INFO, 0, 0, 0);
    BlockLoadRecord(&blk, rec, 20, BLOCK_GET_IN_WORDS);
    uint16_t w;
    memcpy(&w, blk.b + 8, 2);
    EXPECT_EQ(18, w);
    memcpy(&w, blk.b + 12 + 2 * 9, 2);
    EXPECT_EQ(111, w) << "ten value words sent";
    memcpy(&w, blk.b + 12 + 2 * 10, 2);
    EXPECT_EQ(0xEEEE, w) << "no more";

    /* a hostile answer: len 4097 comes back as the caller's own length */
    w = 4097;
    memcpy(blk.b + 8, &w, 2);
    uint16_t small[5] = {4, 0xFC01, 1, 2, 3};
    BlockCopyBack(blk, small, 5, WLDRV_BLOCK_SIZE);
    EXPECT_EQ(4, small[0]);
    /* a caller len beyond its buffer is cut to the buffer */
    uint16_t lying[6] = {4000, 0xFC01, 0, 0, 0x1234, 0x1234};
    BlockCopyBack(blk, lying, 4, WLDRV_BLOCK_SIZE);
    EXPECT_EQ(3, lying[0]);
    EXPECT_EQ(0x1234, lying[4]) << "nothing written past the caller's buffer";
    w = 1;
    memcpy(blk.b + 8, &w, 2);
    BlockCopyBack(blk, small, 5, WLDRV_BLOCK_SIZE);
    EXPECT_EQ(1, small[0]) << "a shorter answer shortens the record";

    /* only the bytes returned are the driver's */
    w = 4;
    memcpy(blk.b + 8, &w, 2);
    uint16_t mac[5] = {4, 0xFC01, 0, 0, 0};
    BlockCopyBack(blk, mac, 5, 16);
    EXPECT_EQ(3, mac[0]) << "two value words in 16 bytes";
    mac[0] = 4;
    BlockCopyBack(blk, mac, 5, 11);
    EXPECT_EQ(4, mac[0]) << "less than the header: nothing copied";
    EXPECT_EQ(0, mac[4]);
}
