/* Network names, the station name, byte areas and MAC addresses. */
#include "sim_session.h"

static const Variant kE = {'E', 5};

class ByteStrings : public testing::TestWithParam<Variant> {};

/* ---- Names: size checks and their codes ---- */

TEST_P(ByteStrings, SsidSettersAcceptThirtyTwoBytesAndRefuseThirtyThree)
{
    SimSession s(GetParam());
    const std::string name32(32, 'N');
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLOwnSSIDSet)(name32.c_str(), 32));
    EXPECT_EQ(name32, s.GetString(0xFC04));

    WlSimCounters before = SimCountersNow();
    const std::string name33(33, 'M');
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnSSIDSet)(name33.c_str(), 33));
    EXPECT_EQ("Size > 32", s.Reason());
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLDesiredSSIDSet)(name33.c_str(), 33));
    EXPECT_EQ("Size > 32", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLScanSSIDSet)(name33.c_str(), 33));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnSSIDSet)(NULL, 3));
    EXPECT_EQ("Val == NULL", s.Reason());
    /* refused before any driver access */
    EXPECT_EQ(before.exchanges, SimCountersNow().exchanges);
    EXPECT_EQ(name32, s.GetString(0xFC04));
}

TEST_P(ByteStrings, SetterWritesExactlyTheCountGiven)
{
    SimSession s(GetParam());
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLDesiredSSIDSet)("corpnet-and-more", 7));
    EXPECT_EQ("corpnet", s.GetString(0xFC02));
    /* a count of 0 writes an empty string */
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLScanSSIDSet)("ignored", 0));
    std::vector<uint16_t> r = s.Get(0xFCB2);
    ASSERT_EQ(3u, r.size());
    EXPECT_EQ(2, r[0]);
    EXPECT_EQ(0, r[2]);
}

TEST_P(ByteStrings, GetterSizeChecksLeaveBufferAndSizeAlone)
{
    SimSession s(GetParam());
    GuardedBytes buf(31);
    DWORD size = 31;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnSSIDGet)(buf.text(), &size));
    EXPECT_EQ("*Size < 32", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDesiredSSIDGet)(buf.text(), &size));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLScanSSIDGet)(buf.text(), &size));
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLOwnNameGet)(buf.text(), &size));
    EXPECT_EQ("*Size < 32", s.Reason());
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLCurrentSSIDGet)(buf.text(), &size));
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLNICSerialNumberGet)(buf.text(), &size));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnSSIDGet)(buf.text(), NULL));
    EXPECT_EQ("Size == NULL", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnSSIDGet)(NULL, &size));
    EXPECT_EQ("Val == NULL", s.Reason());
    EXPECT_EQ(31u, size);
    EXPECT_EQ('x', buf.text()[0]);
    EXPECT_TRUE(buf.GuardIntact());
}

/* ---- Names: what a read delivers ---- */

TEST_P(ByteStrings, NameThatFillsTheBufferHasNoTerminator)
{
    SimSession s(GetParam());
    const std::string name32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    s.SetString(0xFC0E, name32);
    GuardedBytes buf(32);
    DWORD size = 32;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLOwnNameGet)(buf.text(), &size));
    EXPECT_EQ(32u, size);
    EXPECT_EQ(name32, std::string(buf.text(), 32));
    EXPECT_TRUE(buf.GuardIntact()) << "a terminator was written behind the buffer";

    s.SetString(0xFC0E, "short", -1, 16);
    GuardedBytes buf2(32);
    size = 32;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLOwnNameGet)(buf2.text(), &size));
    EXPECT_EQ(5u, size);
    EXPECT_STREQ("short", buf2.text());
    EXPECT_EQ('x', buf2.text()[6]);
}

TEST_P(ByteStrings, LargeBufferGetsTheWholeNameAndATerminator)
{
    SimSession s(GetParam());
    GuardedBytes buf(100000);
    DWORD size = 100000;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDesiredSSIDGet)(buf.text(), &size));
    EXPECT_EQ(6u, size);
    EXPECT_STREQ("wlsim0", buf.text());
    EXPECT_TRUE(buf.GuardIntact());
}

TEST_P(ByteStrings, FailedReadWritesEmptyTextAndSizeZero)
{
    SimSession s(GetParam());
    GuardedBytes buf(40);
    DWORD size = 40;
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(s.lib, WLOwnSSIDGet)(buf.text(), &size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ('\0', buf.text()[0]);
    EXPECT_EQ('x', buf.text()[1]);

    /* the record does not exist: no value */
    s.Delete(0xFD0A);
    GuardedBytes buf2(32);
    size = 32;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLNICSerialNumberGet)(buf2.text(), &size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ('\0', buf2.text()[0]);

    /* the device call itself fails */
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_GET_INFO, 1));
    GuardedBytes buf3(32);
    size = 32;
    EXPECT_NE(WL_SUCCESS, WL(s.lib, WLScanSSIDGet)(buf3.text(), &size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ('\0', buf3.text()[0]);
}

TEST_P(ByteStrings, HostileCountsGiveEmptyTextWithinTheBuffer)
{
    SimSession s(GetParam());
    struct Case {
        int count, words;
    } cases[] = {{33, 17}, {200, 1}, {0xFFFF, 16}, {3, 1}, {1, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count << ", words " << c.words);
        s.SetString(0xFC04, std::string(2 * c.words, 'q').substr(0, 2 * c.words), c.count, c.words);
        GuardedBytes buf(32);
        DWORD size = 32;
        EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLOwnSSIDGet)(buf.text(), &size));
        EXPECT_EQ(0u, size);
        EXPECT_EQ('\0', buf.text()[0]);
        EXPECT_TRUE(buf.GuardIntact());
    }
    /* a record with only its type: no value */
    s.Set({1, 0xFC04});
    GuardedBytes buf(32);
    DWORD size = 32;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLOwnSSIDGet)(buf.text(), &size));
    EXPECT_EQ(0u, size);
    /* a count word and nothing else */
    s.Set({2, 0xFC04, 4});
    size = 32;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLOwnSSIDGet)(buf.text(), &size));
    EXPECT_EQ(0u, size);
}

TEST_P(ByteStrings, CurrentSsidNeedsThePortUp)
{
    SimSession s(GetParam());
    GuardedBytes buf(32);
    DWORD size = 32;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLCurrentSSIDGet)(buf.text(), &size));
    EXPECT_STREQ("wlsim0", buf.text());
    for (uint16_t status : {1, 2, 6, 7, 9}) {
        s.Port(status);
        GuardedBytes down(32);
        size = 32;
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLCurrentSSIDGet)(down.text(), &size)) << status;
        EXPECT_EQ("MACPortStatusGet () == WL_DATA_NOT_AVAILABLE", s.Reason());
        EXPECT_EQ(32u, size);
        EXPECT_EQ('x', down.text()[0]);
    }
}

/* ---- The station name ---- */

TEST_P(ByteStrings, OwnNameIsKeptInTheSettingsAndTheAdapter)
{
    SimSession s(GetParam());
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLOwnNameSet)("Lab station 7", 13));
    std::string stored;
    ASSERT_TRUE(s.reg.readString("OwnName", &stored));
    EXPECT_EQ("Lab station 7", stored);
    EXPECT_EQ("Lab station 7", s.GetString(0xFC0E));
    /* 32 bytes without terminator */
    const std::string name32(32, 'w');
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLOwnNameSet)((name32 + "TAIL").c_str(), 32));
    ASSERT_TRUE(s.reg.readString("OwnName", &stored));
    EXPECT_EQ(name32, stored);
    EXPECT_EQ(name32, s.GetString(0xFC0E));
}

TEST_P(ByteStrings, OwnNameWithControlCharacterIsRefusedBeforeTheRegistry)
{
    SimSession s(GetParam());
    s.reg.deleteValue("OwnName");
    for (const char *bad : {"tab\there", "nl\n", "del\x7f", "hi\xe9"}) {
        EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnNameSet)(bad, (DWORD)strlen(bad))) << bad;
        EXPECT_EQ("WLIsPrintString (Val, Size) != 1", s.Reason());
    }
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnNameSet)(std::string(33, 'a').c_str(), 33));
    EXPECT_EQ("Size > 32", s.Reason());
    std::string stored;
    EXPECT_FALSE(s.reg.readString("OwnName", &stored));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

TEST(ByteStringsNoAdapter, OwnNameFailsWhenTheSettingCannotBeStored)
{
    WLLib lib(kE);
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLOwnNameSet)("name", 4));
    EXPECT_NE(std::string::npos, lib.returnString().find("[_WLOwnNameSet (Val, Size) != WL_SUCCESS]"));
}

/* ---- Byte areas ---- */

TEST_P(ByteStrings, GroupAddressesAreaSizesAndRoundTrip)
{
    SimSession s(GetParam());
    GuardedBytes buf(192);
    DWORD size = 191;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLGroupAddressesGet)(buf.raw(), &size));
    EXPECT_EQ("*Size < 192", s.Reason());
    size = 192;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLGroupAddressesGet)(buf.raw(), &size));
    const unsigned char expected[12] = {1, 0, 0x5E, 0, 0, 1, 1, 0, 0x5E, 0x7F, 0xFF, 0xFA};
    EXPECT_EQ(12u, size);
    EXPECT_EQ(0, memcmp(expected, buf.raw(), 12));
    EXPECT_EQ(0, buf.raw()[12]);

    unsigned char big[193] = {0};
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLGroupAddressesSet)(big, 193));
    EXPECT_EQ("Size > 192", s.Reason());
    const unsigned char three[18] = {1, 0, 0x5E, 0, 0, 2, 1, 0, 0x5E, 0, 0, 3, 1, 0, 0x5E, 0, 0, 4};
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLGroupAddressesSet)(three, 18));
    std::vector<uint16_t> r = s.Get(0xFC80);
    ASSERT_EQ(11u, r.size());
    EXPECT_EQ(0, memcmp(three, &r[2], 18));
}

TEST_P(ByteStrings, AreaThatFillsTheBufferHasNoTerminator)
{
    SimSession s(GetParam());
    /* the largest record the driver keeps; the read asks for 192 bytes */
    std::vector<uint16_t> r(4098, 0x4141);
    r[0] = 4097;
    r[1] = 0xFC80;
    s.Set(r);
    GuardedBytes buf(192);
    DWORD size = 192;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLGroupAddressesGet)(buf.raw(), &size));
    EXPECT_EQ(192u, size);
    EXPECT_EQ('A', buf.raw()[191]);
    EXPECT_TRUE(buf.GuardIntact());
    /* the same with the driver answering the record whole */
    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&f));
    GuardedBytes buf2(480);
    size = 480;
    std::vector<uint16_t> cis(4098, 0x4343);
    cis[0] = 4097;
    cis[1] = 0xFD13;
    s.Set(cis);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLCISGet)(buf2.raw(), &size));
    EXPECT_EQ(480u, size);
    EXPECT_TRUE(buf2.GuardIntact());
}

TEST_P(ByteStrings, CisAndDiagnosticAreas)
{
    SimSession s(GetParam());
    GuardedBytes cis(480);
    DWORD size = 479;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLCISGet)(cis.raw(), &size));
    EXPECT_EQ("*Size < 480", s.Reason());
    size = 480;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLCISGet)(cis.raw(), &size));
    EXPECT_EQ(16u, size);
    EXPECT_EQ(0x01, cis.raw()[0]);
    EXPECT_EQ(0xFF, cis.raw()[15]);

    GuardedBytes sp(512);
    size = 511;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLReadSPGet)(sp.raw(), &size));
    EXPECT_EQ("*Size < 512", s.Reason());
    size = 512;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLReadSPGet)(sp.raw(), &size));
    EXPECT_EQ(16u, size);
    EXPECT_EQ(0x10, sp.raw()[0]);
    EXPECT_EQ(0x1F, sp.raw()[15]);

    GuardedBytes file(30);
    size = 29;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLFileNameGet)(file.raw(), &size));
    EXPECT_EQ("*Size < 30", s.Reason());
    size = 30;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLFileNameGet)(file.raw(), &size));
    EXPECT_EQ(10u, size); /* nine characters and the record's padding byte */
    EXPECT_STREQ("WLSIM.HEX", file.text());
}

TEST_P(ByteStrings, ProductionDataTexts)
{
    SimSession s(GetParam());
    GuardedBytes part(16);
    DWORD size = 15;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLPDAPartNumberGet)(part.text(), &size));
    EXPECT_EQ("*Size < 16", s.Reason());
    size = 16;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLPDAPartNumberGet)(part.text(), &size));
    EXPECT_EQ(10u, size);
    EXPECT_STREQ("PN-0123456", part.text());

    GuardedBytes tracer(16);
    size = 15;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLPDATracerNumberGet)(tracer.text(), &size));
    size = 16;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLPDATracerNumberGet)(tracer.text(), &size));
    EXPECT_EQ(8u, size);
    EXPECT_STREQ("TR-98765", tracer.text());

    GuardedBytes serial(32);
    size = 31;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLPDASerialNumberGet)(serial.text(), &size));
    EXPECT_EQ("*Size < 32", s.Reason());
    size = 32;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLPDASerialNumberGet)(serial.text(), &size));
    EXPECT_STREQ("WLS000123456", serial.text());
    GuardedBytes nicSerial(32);
    size = 32;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLNICSerialNumberGet)(nicSerial.text(), &size));
    EXPECT_EQ(12u, size);
    EXPECT_STREQ("WLS000123456", nicSerial.text());
}

TEST_P(ByteStrings, KeyMaterialAndChannelInfoWrites)
{
    SimSession s(GetParam());
    const unsigned char key[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLEncryptionSet)(key, 0));
    EXPECT_EQ("Size == 0", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDriverChannelInfoSet)(NULL, 4));
    EXPECT_EQ("Val == NULL", s.Reason());
    EXPECT_EQ(0u, SimCountersNow().exchanges);

    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLEncryptionSet)(key, 10));
    std::vector<uint16_t> r = s.Get(0x0900);
    ASSERT_EQ(7u, r.size());
    EXPECT_EQ(0, memcmp(key, &r[2], 10));
    /* an odd count is padded to a whole word */
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDriverChannelInfoSet)(key, 3));
    r = s.Get(0x0905);
    ASSERT_EQ(4u, r.size());
    EXPECT_EQ(0x0201, r[2]);
    EXPECT_EQ(0x0003, r[3]);
    /* 0x0900 is written without apply, 0x0905 needs one */
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimTypePuts(&c, 0x0900));
    EXPECT_EQ(1u, SimTypePuts(&c, 0x0905));
    EXPECT_EQ(1u, SimActionCount(&c, WLSIM_ACTION_APPLY));
}

TEST_P(ByteStrings, AreaLongerThanAnyRecordIsRefusedUnread)
{
    SimSession s(GetParam());
    /* the count is refused before a byte of Val is read */
    unsigned char small[16] = {0};
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLEncryptionSet)(small, 9000));
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLDriverChannelInfoSet)(small, 0x10000000));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, SimTypePuts(&c, 0x0900));
    /* the largest area a record carries goes through */
    std::vector<unsigned char> area(8192, 0x61);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLEncryptionSet)(area.data(), 8192));
    EXPECT_EQ(4097u, s.Get(0x0900)[0]);
}

/* ---- MAC addresses ---- */

TEST_P(ByteStrings, OwnMacAddressRefusesGroupAddresses)
{
    SimSession s(GetParam());
    const unsigned char group[6] = {0x03, 0, 0, 0, 0, 0x01};
    const unsigned char unicast[6] = {0x02, 0, 0, 0, 0, 0x01};
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnMACAddressSet)(group));
    EXPECT_EQ("(Val [0] & 1) == 1", s.Reason());
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLOwnMACAddressSet)(unicast));
    std::vector<uint16_t> r = s.Get(0xFC01);
    ASSERT_EQ(5u, r.size());
    EXPECT_EQ(0, memcmp(unicast, &r[2], 6));
    unsigned char back[6] = {0};
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLOwnMACAddressGet)(back));
    EXPECT_EQ(0, memcmp(unicast, back, 6));

    /* the register form takes any address */
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLOwnMACAdrSet)(group));
    memset(back, 0, sizeof back);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLOwnMACAdrGet)(back));
    EXPECT_EQ(0, memcmp(group, back, 6));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnMACAdrSet)(NULL));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLOwnMACAddressGet)(NULL));
}

TEST_P(ByteStrings, BssidNeedsThePortUpAndShortRecordsLeaveValAlone)
{
    SimSession s(GetParam());
    unsigned char mac[6];
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLCurrentBSSIDGet)(mac));
    const unsigned char bssid[6] = {0x02, 0x57, 0x4C, 0x53, 0x4D, 0x01};
    EXPECT_EQ(0, memcmp(bssid, mac, 6));
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLNICMacAddressGet)(mac));
    EXPECT_EQ(0x4D, mac[4]);

    s.Port(2);
    memset(mac, 0xEE, sizeof mac);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLCurrentBSSIDGet)(mac));
    EXPECT_EQ("MACPortStatusGet () == WL_DATA_NOT_AVAILABLE", s.Reason());
    EXPECT_EQ(0xEE, mac[0]);

    s.Set({3, 0xFD86, 0x1111, 0x2222});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLNICMacAddressGet)(mac));
    EXPECT_EQ(0xEE, mac[0]);
    s.Delete(0xFD86);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLNICMacAddressGet)(mac));
    EXPECT_EQ(0xEE, mac[0]);
    /* a longer record gives its first six bytes */
    s.Set({6, 0xFD86, 0x0102, 0x0304, 0x0506, 0x0708, 0x090A});
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLNICMacAddressGet)(mac));
    EXPECT_EQ(0x02, mac[0]);
    EXPECT_EQ(0x05, mac[5]);
}

TEST_P(ByteStrings, DistributionSystemAddressesAreNotSupported)
{
    SimSession s(GetParam());
    unsigned char mac[6] = {2, 0, 0, 0, 0, 1};
    EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(s.lib, WLWDSAddressGet)(mac));
    EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(s.lib, WLWDSAddressSet)(mac));
    EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(s.lib, WLWDSAddressGet)(NULL));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

/* ---- The area read's trace ---- */

TEST(ByteStringsTrace, AreaReadTracesItsSteps)
{
    auto logName = [](int n) { return "\\wllog48E" + std::to_string(n) + ".txt"; };
    for (int n = -1; n <= 9; n++) RemoveFile(logName(n));
    WriteFile("\\wllog.txt", "");
    {
        SimSession s(kE);
        GuardedBytes buf(16);
        DWORD size = 16;
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLPDAPartNumberGet)(buf.text(), &size));
    }
    std::string log = ReadFile(logName(0));
    RemoveFile("\\wllog.txt");
    for (int n = -1; n <= 9; n++) RemoveFile(logName(n));
    /* in this order, the text copy traced and the raw copy not */
    const char *steps[] = {"<WLPDAPartNumberGet> {", "<WLByteAreaGet> {", "WLByteAreaGet: 0\n",
                           "WLByteAreaGet: 1\n", "WLByteAreaGet, 6: 2\n", "WLByteAreaGet: 3\n",
                           "WLByteAreaGet: 4\n", "PN-0123456, 10: 4\n", "WLByteAreaGet: 6\n",
                           "} <WLByteAreaGet>", "} <WLPDAPartNumberGet>"};
    size_t at = 0;
    for (const char *step : steps) {
        size_t found = log.find(step, at);
        ASSERT_NE(std::string::npos, found) << "missing or out of order: " << step << "\n" << log;
        at = found;
    }
    EXPECT_EQ(std::string::npos, log.find("WLByteAreaGet: 7\n"));
}

INSTANTIATE_TEST_SUITE_P(All, ByteStrings, testing::ValuesIn(kVariants), VariantName);
