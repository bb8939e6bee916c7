/* The utility's commands end to end: exit codes, output, atoms, registry
 * and the driver exchanges the stand-in saw. */
#include <string.h>

#include "keyrec.h"
#include "util_run.h"

static const char kOpen[] = "C G0827 D C G0826"; /* probe, compatibility, reconnect, version */

static std::string KeyText(const RegAdapter &a)
{
    std::string t;
    a.readString("Encryption", &t);
    return t;
}

static int Word(const std::vector<uint8_t> &rec, int offset)
{
    return rec[offset] | rec[offset + 1] << 8;
}

static bool AtomPresent(const char *name)
{
    ATOM a = GlobalFindAtomA(name);
    if (a == 0) return false;
    while (GlobalFindAtomA(name) != 0) GlobalDeleteAtom(GlobalFindAtomA(name));
    return true;
}

class RegutilCommands : public UtilTest {};

TEST_F(RegutilCommands, VersionLineOfEachVariant)
{
    /* the line end of a console program's text-mode output */
    const char *lines[] = {"WCVXQ48C.EXE Variant 3, Version 8.24.0.629\r\n",
                           "WCVXQ48D.EXE Variant 4, Version 8.24.0.629\r\n",
                           "WCVXQ48E.EXE Variant 5, Version 8.24.0.629\r\n",
                           "WCVXQ48F.EXE Variant 6, Version 8.24.0.629\r\n"};
    for (int i = 0; i < 4; i++) {
        UtilResult r = RunUtil(UtilPath("CDEF"[i]), {"V"});
        EXPECT_EQ(0u, r.exit);
        EXPECT_EQ(lines[i], r.out);
    }
}

TEST_F(RegutilCommands, VersionResourceOfEachVariant)
{
    for (char v : std::string("CDEF")) {
        const std::string path = UtilPath(v);
        DWORD handle = 0, size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_NE(0u, size) << path;
        std::vector<char> data(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
        VS_FIXEDFILEINFO *fixed = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", (void **)&fixed, &len));
        EXPECT_EQ(MAKELONG(24, 8), fixed->dwFileVersionMS);
        EXPECT_EQ(MAKELONG(629, 0), fixed->dwFileVersionLS);
        EXPECT_EQ((DWORD)VFT_APP, fixed->dwFileType);
        char *text = nullptr;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileDescription", (void **)&text, &len));
        EXPECT_STREQ("Win32 Console Registry Configuration Utility", text);
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\OriginalFilename", (void **)&text, &len));
        EXPECT_EQ(std::string("WCVXQ48") + v + ".EXE", text);
    }
}

TEST_F(RegutilCommands, BadLinesPrintNothingElse)
{
    StandardAdapter();
    struct { std::vector<std::string> args; DWORD exit; const char *out; } cases[] = {
        {{}, 1, ""},
        {{"VV"}, 4, ""},
        {{"Q"}, 1, ""},
        {{"M", "x"}, 4, "XXXXXXXXXXXX"},
        {{"R", "3"}, 4, ""},
        {{"E", std::string(101, 'A')}, 4, ""},
        {{"H", "100"}, 4, ""},
        {{"K", "5", "-", "-", "-", "-"}, 4, ""},
        {{"\xC4\xE3"}, 4, ""},
    };
    for (const auto &c : cases) {
        UtilResult r = Run(c.args);
        EXPECT_EQ(c.exit, r.exit) << (c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(c.out, r.out);
    }
    EXPECT_EQ("", Exchanges()) << "no bad line reaches the driver";
}

TEST_F(RegutilCommands, CountAdaptersWithAtoms)
{
    AtomPresent("ONE INSTALLED");
    AtomPresent("MORE INSTALLED");
    EXPECT_EQ(301u, Run({"#"}).exit);
    EXPECT_TRUE(AtomPresent("ONE INSTALLED")) << "also with no adapter";
    AddAdapter("0150");
    EXPECT_EQ(301u, Run({"#"}).exit);
    EXPECT_TRUE(AtomPresent("ONE INSTALLED"));
    AddAdapter("0151");
    EXPECT_EQ(300u, Run({"#"}).exit);
    EXPECT_TRUE(AtomPresent("MORE INSTALLED"));
    EXPECT_FALSE(AtomPresent("ONE INSTALLED"));
}

TEST_F(RegutilCommands, CompanionClient)
{
    AtomPresent("DPV INSTALLED 0");
    AtomPresent("DPV INSTALLED 1");
    EXPECT_EQ(100u, Run({"@"}).exit);
    EXPECT_TRUE(AtomPresent("DPV INSTALLED 0"));
    RegSetText("Software\\Wireless\\Corvane", "version", "2.1");
    EXPECT_EQ(101u, Run({"@"}).exit);
    EXPECT_TRUE(AtomPresent("DPV INSTALLED 1"));
    RegSetNumber("Software\\Wireless\\Corvane", "version", 2);
    EXPECT_EQ(101u, Run({"@"}).exit) << "any value that reads";
    EXPECT_TRUE(AtomPresent("DPV INSTALLED 1"));
}

TEST_F(RegutilCommands, RadioAndWakeOnLan)
{
    StandardAdapter();
    RegAdapter &a = *adapters_[0];
    EXPECT_EQ(0u, Run({"R", "0abc"}).exit);
    EXPECT_EQ(std::string(kOpen) + " P0902 A130 D", Exchanges());
    EXPECT_EQ(0, SimRecord(driver_, 0x0902)[2]);
    DWORD v = 9;
    EXPECT_TRUE(a.readDword("DriverEnable", &v));
    EXPECT_EQ(0u, v);
    EXPECT_EQ(0u, Run({"R", "1abc"}).exit) << "only the first character counts";
    EXPECT_EQ(1, SimRecord(driver_, 0x0902)[2]);
    EXPECT_EQ(201u, Run({"R", "2"}).exit);
    EXPECT_EQ(4u, Run({"R", "3"}).exit);

    SimClearLog();
    EXPECT_EQ(0u, Run({"O", "1"}).exit);
    EXPECT_EQ(std::string(kOpen) + " P0904 A130 D", Exchanges());
    EXPECT_EQ(1, SimRecord(driver_, 0x0904)[2]);
    EXPECT_EQ(401u, Run({"O", "2"}).exit);
    a.deleteValue("PCI_WOLAS");
    EXPECT_EQ(400u, Run({"O", "2"}).exit) << "an unreadable value counts as 0";

    /* no driver: the value is written, the exit code stays 0 */
    SimRemoveAdapter(driver_);
    EXPECT_EQ(0u, Run({"R", "0"}).exit);
    EXPECT_TRUE(a.readDword("DriverEnable", &v));
    EXPECT_EQ(0u, v);
}

TEST_F(RegutilCommands, AsciiKeyGoesToDriverAndProfile)
{
    StandardAdapter();
    AddProfile(1, "Home");
    EXPECT_EQ(4u, Run({"W", "abcdef"}).exit);
    EXPECT_EQ("", Exchanges());
    EXPECT_EQ(0u, Run({"W", "abcde"}).exit);
    EXPECT_EQ(std::string(kOpen) + " P0900 A130 D", Exchanges());
    /* the driver decoded the text: the default record with key 1 set */
    std::vector<uint16_t> plain = SimRecord(driver_, 0x0980);
    ASSERT_EQ(40u, plain.size()); /* len, typ, 38 words */
    EXPECT_EQ(0, memcmp(&plain[2], "whWH", 4));
    EXPECT_EQ(1, plain[5]) << "encryption on";
    EXPECT_EQ(33, plain[6]);
    EXPECT_EQ(0xFCB0, plain[7]);
    EXPECT_EQ(5, plain[8]);
    EXPECT_EQ(0, memcmp(&plain[9], "abcde", 5));

    std::string stored;
    ASSERT_TRUE(RegGetText(ProfileKeyOf(1), "Encryption", &stored));
    std::vector<uint8_t> rec = DecodeKeyText(stored);
    ASSERT_EQ(76u, rec.size());
    EXPECT_EQ(0, Word(rec, 4));
    EXPECT_EQ(1, Word(rec, 6));
    EXPECT_EQ(5, Word(rec, 12));
    EXPECT_EQ(0, memcmp(&rec[14], "abcde\0\0\0\0\0\0\0\0\0", 14));
    EXPECT_EQ("", KeyText(*adapters_[0])) << "profile 1 is not the running one";
}

TEST_F(RegutilCommands, HexKeyKeepsTheOtherKeys)
{
    StandardAdapter();
    AddProfile(2, "Office");
    /* profile 2 holds keys 1 and 2 already */
    KeyRecord rec = KeyRecordDefault();
    KeyBytes k1 = {13, {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 'a', 'b', 'c'}};
    KeyBytes k2 = {5, {'k', 'e', 'y', '2', '!'}};
    KeyRecordSetSlot(&rec, 0, k1);
    KeyRecordSetSlot(&rec, 1, k2);
    KeyRecordSetWord(&rec, KEY_OFF_KEYID, 1);
    char text[KEY_TEXT_LENGTH + 1];
    ASSERT_TRUE(KeyRecordCode(rec, text));
    RegSetText(ProfileKeyOf(2), "Encryption", text);
    adapters_[0]->writeDword("ConfigType", 2);

    EXPECT_EQ(0u, Run({"w", "0A1B2C3D4E", "2"}).exit);
    std::string stored;
    ASSERT_TRUE(RegGetText(ProfileKeyOf(2), "Encryption", &stored));
    std::vector<uint8_t> r = DecodeKeyText(stored);
    ASSERT_EQ(76u, r.size());
    EXPECT_EQ(5, Word(r, 12));
    EXPECT_EQ(0, memcmp(&r[14], "\x0A\x1B\x2C\x3D\x4E\0\0\0\0\0\0\0\0\0", 14)) << "the old 13 bytes cleared";
    EXPECT_EQ(5, Word(r, 28));
    EXPECT_EQ(0, memcmp(&r[30], "key2!", 5));
    EXPECT_EQ(0, Word(r, 4)) << "KeyId 0";
    EXPECT_EQ(stored, KeyText(*adapters_[0])) << "the running profile's text is copied to the NIC key";
}

TEST_F(RegutilCommands, KeyProfileOperands)
{
    StandardAdapter();
    AddProfile(3, "Home");
    /* absent profile 7: the key reaches the driver, the store fails */
    EXPECT_EQ(3u, Run({"W", "abcde", "7"}).exit);
    EXPECT_EQ(std::string(kOpen) + " P0900 A130 D", Exchanges());
    SimClearLog();
    EXPECT_EQ(4u, Run({"W", "abcde", "150"}).exit);
    EXPECT_EQ(4u, Run({"W", "abcde", "home"}).exit);
    EXPECT_EQ("", Exchanges()) << "the operand is checked before anything else";
    EXPECT_EQ(0u, Run({"W", "abcde", "Home"}).exit);
    std::string stored;
    ASSERT_TRUE(RegGetText(ProfileKeyOf(3), "Encryption", &stored));
    EXPECT_EQ(5, Word(DecodeKeyText(stored), 12));
    /* a name that is all digits but above 99 */
    AddProfile(4, "150");
    EXPECT_EQ(0u, Run({"W", "vwxyz", "150"}).exit);
    ASSERT_TRUE(RegGetText(ProfileKeyOf(4), "Encryption", &stored));
    EXPECT_EQ(0, memcmp(&DecodeKeyText(stored)[14], "vwxyz", 5));
}

TEST_F(RegutilCommands, KeyWithoutProfileGoesToRunningConfiguration)
{
    StandardAdapter();
    adapters_[0]->writeString("Encryption", DefaultCodedKey);
    EXPECT_EQ(0u, Run({"W", "abcdefghijklm"}).exit);
    std::vector<uint8_t> r = DecodeKeyText(KeyText(*adapters_[0]));
    ASSERT_EQ(76u, r.size());
    EXPECT_EQ(13, Word(r, 12));
    /* a stored text that is not a key record cannot be updated */
    adapters_[0]->writeString("Encryption", std::string(102, 'A').c_str());
    EXPECT_EQ(3u, Run({"W", "abcde"}).exit);
}

TEST_F(RegutilCommands, FourKeys)
{
    StandardAdapter();
    AddProfile(1, "Home");
    EXPECT_EQ(0u, Run({"K", "2", "-", "-", "-", "-"}).exit);
    EXPECT_EQ("", Exchanges()) << "K never talks to the driver";
    std::string stored;
    ASSERT_TRUE(RegGetText(ProfileKeyOf(1), "Encryption", &stored));
    std::vector<uint8_t> r = DecodeKeyText(stored);
    ASSERT_EQ(76u, r.size());
    EXPECT_EQ(1, Word(r, 4));
    EXPECT_EQ(1, Word(r, 6));
    for (int s = 0; s < 4; s++) EXPECT_EQ(0, Word(r, 12 + 16 * s));

    /* transmit key 1 stores its keys as the others do */
    EXPECT_EQ(0u, Run({"K", "1", "abcde", "0x0102030405", "", "abcdefghijklm"}).exit);
    ASSERT_TRUE(RegGetText(ProfileKeyOf(1), "Encryption", &stored));
    r = DecodeKeyText(stored);
    ASSERT_EQ(76u, r.size());
    EXPECT_EQ(0, Word(r, 4));
    EXPECT_EQ(5, Word(r, 12));
    EXPECT_EQ(5, Word(r, 28));
    EXPECT_EQ(0, memcmp(&r[30], "\x01\x02\x03\x04\x05", 5));
    EXPECT_EQ(13, Word(r, 60));

    EXPECT_EQ(4u, Run({"K", "3", "abcdef", "-", "-", "-"}).exit);
    RegDeleteTree(ProfileKeyOf(1));
    EXPECT_EQ(3u, Run({"K", "3", "-", "-", "-", "-"}).exit) << "profile 1 must exist";
}

TEST_F(RegutilCommands, FourKeysWithoutAdapter)
{
    EXPECT_EQ(0u, Run({"K", "4", "-", "-", "-", "abcde"}).exit);
    std::string stored;
    ASSERT_TRUE(RegGetText(kProfileRoot, "Encryption", &stored));
    std::vector<uint8_t> r = DecodeKeyText(stored);
    ASSERT_EQ(76u, r.size());
    EXPECT_EQ(3, Word(r, 4));
    EXPECT_EQ(5, Word(r, 60));
}

TEST_F(RegutilCommands, StoreCodedText)
{
    StandardAdapter();
    AddProfile(1, "Home");
    KeyRecord rec = KeyRecordDefault();
    KeyBytes k = {5, {'s', 't', 'o', 'r', 'e'}};
    KeyRecordSetSlot(&rec, 2, k);
    char text[KEY_TEXT_LENGTH + 1];
    ASSERT_TRUE(KeyRecordCode(rec, text));
    adapters_[0]->writeDword("ConfigType", 1);
    EXPECT_EQ(0u, Run({"E", text}).exit);
    std::string stored;
    ASSERT_TRUE(RegGetText(ProfileKeyOf(1), "Encryption", &stored));
    EXPECT_EQ(text, stored);
    EXPECT_EQ(text, KeyText(*adapters_[0]));
    EXPECT_EQ("", Exchanges());
    EXPECT_EQ(3u, Run({"E", text, "5"}).exit) << "profile 5 does not exist";

    EXPECT_EQ(0u, Run({"e", DefaultCodedKey, "1"}).exit);
    EXPECT_EQ(std::string(kOpen) + " P0900 A130 D", Exchanges());
    std::vector<uint16_t> coded = SimRecord(driver_, 0x0900);
    ASSERT_EQ(53u, coded.size());
    EXPECT_EQ(0, memcmp(&coded[2], DefaultCodedKey, 102));
    SimRemoveAdapter(driver_);
    EXPECT_EQ(6u, Run({"e", DefaultCodedKey, "1"}).exit);
}

TEST_F(RegutilCommands, MacAddress)
{
    EXPECT_EQ(6u, Run({"M"}).exit);
    StandardAdapter();
    UtilResult r = Run({"M"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("02574C534D00", r.out);
    EXPECT_EQ(std::string(kOpen) + " GFC01 D", Exchanges());
    SimDeleteRecord(driver_, 0xFC01);
    r = Run({"M"});
    EXPECT_EQ("XXXXXXXXXXXX", r.out);
    EXPECT_EQ(6u, r.exit);
}

TEST_F(RegutilCommands, NetworkName)
{
    UtilResult r = Run({"H"});
    EXPECT_EQ(2u, r.exit);
    EXPECT_EQ("XXXXXX", r.out);
    StandardAdapter();
    AddProfile(1, "Home", "HomeNet");
    adapters_[0]->writeString("DesiredSSID", "RegistryNet");
    r = Run({"H"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("wlsim0", r.out) << "Windows XP reads the running name from the driver";
    EXPECT_EQ("C G0827 D C GFC02 D", Exchanges());
    r = Run({"H", "1"});
    EXPECT_EQ("HomeNet", r.out);
    EXPECT_EQ("XXXXXX", Run({"H", "2"}).out);
    SimRemoveAdapter(driver_);
    EXPECT_EQ("RegistryNet", Run({"H", "0"}).out) << "no driver: the NIC key's value";
    adapters_[0]->writeDword("DriverMinor", 23);
    r = Run({"H", "1"});
    EXPECT_EQ(5u, r.exit);
    EXPECT_EQ("HomeNet", r.out) << "printed before the version check";
}

TEST_F(RegutilCommands, VersionChecks)
{
    StandardAdapter();
    AddProfile(1, "Home");
    adapters_[0]->writeDword("DriverMajor", 7);
    EXPECT_EQ(5u, Run({"W", "abcde"}).exit);
    EXPECT_EQ(5u, Run({"R", "1"}).exit);
    EXPECT_EQ(5u, Run({"E", DefaultCodedKey}).exit);
    adapters_[0]->deleteValue("DriverMajor");
    EXPECT_EQ(5u, Run({"O", "2"}).exit);
    adapters_[0]->writeString("DriverMajor", "8");
    EXPECT_EQ(400u, Run({"O", "2"}).exit) << "a number stored as text";
    EXPECT_EQ("", Exchanges());

    /* the driver's identity record says 8.23: nothing is written to it */
    SimSetRecord(driver_, std::vector<uint16_t>{5, 0x0826, 44, 5, 8, 23}.data());
    EXPECT_EQ(5u, Run({"W", "abcde"}).exit);
    EXPECT_EQ("C G0827 D C G0826 D", Exchanges());
    SimClearLog();
    UtilResult r = Run({"M"});
    EXPECT_EQ(5u, r.exit);
    EXPECT_EQ("XXXXXXXXXXXX", r.out);
    EXPECT_EQ(0u, Run({"R", "1"}).exit);
    std::string log = Exchanges();
    EXPECT_EQ(std::string::npos, log.find('P')) << log;
}

TEST_F(RegutilCommands, HostileDriverRecordsStayInBounds)
{
    StandardAdapter();
    /* a character count of 200 in a record of 32 characters */
    std::vector<uint16_t> name = {18, 0xFC02, 200};
    name.resize(19, 'a' | 'b' << 8);
    ASSERT_EQ(0, SimSetRecord(driver_, name.data()));
    std::string ab;
    for (int i = 0; i < 16; i++) ab += "ab";
    EXPECT_EQ(ab, Run({"H"}).out);
    /* a longer record answered whole: cut to the length asked */
    std::vector<uint16_t> longName = {61, 0xFC02, 100};
    longName.resize(62, 'z' | 'z' << 8);
    ASSERT_EQ(0, SimSetRecord(driver_, longName.data()));
    WlSimFault whole = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 3, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&whole));
    EXPECT_EQ(std::string(32, 'z'), Run({"H"}).out);
    /* a count with no characters behind it */
    uint16_t empty[] = {2, 0xFC02, 3};
    ASSERT_EQ(0, SimSetRecord(driver_, empty));
    UtilResult r = Run({"H"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("", r.out);
    /* a MAC address record too short for six bytes */
    uint16_t mac[] = {2, 0xFC01, 0x1234};
    ASSERT_EQ(0, SimSetRecord(driver_, mac));
    r = Run({"M"});
    EXPECT_EQ(6u, r.exit);
    EXPECT_EQ("XXXXXXXXXXXX", r.out);
}
