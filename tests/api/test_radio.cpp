/* Radio, rate and band settings end to end through the stand-in driver:
 * single-value settings, channel and band, the two-band rate records and
 * their domain gating, pass-through buffers, the association request and the
 * security state, and the older firmware's variants. */
#include <memory>

#include "wlsession.h"
#include "support/elements.h"

namespace {

const uint16_t kDomainCode = 0xFD25;
const uint16_t kOwnChannel = 0xFC03;
const uint16_t kAssocRequest = 0xFD8C;
const uint16_t kEncryption = 0xFC20;

bool HasReason(const std::string &line, const std::string &reason)
{
    return line.find("[" + reason + "]") != std::string::npos;
}

/* The error log holds an exit line with this reason. */
bool InErrorLog(const std::string &reason)
{
    return ReadFile("\\wlerr.txt").find("[" + reason + "]") != std::string::npos;
}

template <typename T> T Buf(uint32_t type) { return TypedBuffer<T>(type, 0x5A); }

DataRate2GHzBuffer Rate2(uint16_t bits)
{
    DataRate2GHzBuffer b = Buf<DataRate2GHzBuffer>(DataRate2GHzBufferType);
    b.data.DataRate = bits;
    return b;
}

DataRate5GHzBuffer Rate5(uint16_t bits)
{
    DataRate5GHzBuffer b = Buf<DataRate5GHzBuffer>(DataRate5GHzBufferType);
    b.data.DataRate = bits;
    return b;
}

ChannelFrequencyBandBuffer ChannelBand(uint8_t channel, uint8_t band)
{
    ChannelFrequencyBandBuffer b = Buf<ChannelFrequencyBandBuffer>(ChannelFrequencyBandBufferType);
    b.data.Channel = channel;
    b.data.Band = band;
    return b;
}

/* ---- 802.11 request bytes ---- */

const Bytes kMs = kOuiMs;
const Bytes kIeee = kOuiIeee;
const Bytes kOther = {0x00, 0x10, 0x18};

/* Value bytes of record 0xFD8C: reassociation word, capability, listen
 * interval, the current access point for a reassociation, the elements. */
Bytes AssocRequest(const Bytes &ies) { return Bytes{0, 0, 0x31, 0x04, 10, 0} + ies; }
const Bytes kAp = {0x00, 0x02, 0x2D, 0x11, 0x22, 0x33};
Bytes ReassocRequest(const Bytes &ies) { return Bytes{1, 0, 0x21, 0x04, 3, 0} + kAp + ies; }

std::vector<uint16_t> RecordOf(uint16_t typ, Bytes value)
{
    if (value.size() % 2) value.push_back(0);
    std::vector<uint16_t> r = {static_cast<uint16_t>(value.size() / 2 + 1), typ};
    for (size_t i = 0; i < value.size(); i += 2) r.push_back(static_cast<uint16_t>(value[i] | (value[i + 1] << 8)));
    return r;
}

} // namespace

/* ------------------------------------------------------------------------ */

class RadioTest : public AdapterTest {
protected:
    RadioTest() : AdapterTest("0180", "Radio Card") {}
    void SetUp() override
    {
        AdapterTest::SetUp();
        SetDomain(0);
    }
    void TearDown() override
    {
        SimFault(WLSIM_OP_GET_INFO, 0, 0);
        SimFault(WLSIM_OP_PUT_INFO, 0, 0);
        AdapterTest::TearDown();
    }

    std::vector<uint16_t> Record(uint16_t typ) { return s_.Record(typ); }
    void SetRecord(std::vector<uint16_t> ltv) { s_.SetRecord(ltv); }
    void SetDomain(uint16_t dc) { SetRecord({2, kDomainCode, dc}); }
    /* Every get answers a time-out until Recover. */
    void AdapterSilent() { ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1000, WLSIM_RES_TIME_OUT)); }
    void Recover() { ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 0, 0)); }
    DWORD Stored(const char *name)
    {
        DWORD v = 0xDEADBEEF;
        return reg_->readDword(name, &v) ? v : 0xDEADBEEF;
    }
};

/* ---- Single-value settings ---- */

TEST_P(RadioTest, RetryCounterBoundsTheEqualRateRetries)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLRetryCounterSet)(2));
    EXPECT_TRUE(HasReason(why(), "!INTERVAL (3, <=, Val, <=, 6)")) << why();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLRetryCounterSet)(7));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFFE6, 4}), Record(0xFFE6)) << "refused values never reach the adapter";

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLRetryCounterSet)(4));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLMaxEqualRateRetrySet)(4));
    EXPECT_TRUE(HasReason(why(), "!INTERVAL (0, <=, Val, <, RetryCounter)")) << why();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLMaxEqualRateRetrySet)(-1));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMaxEqualRateRetrySet)(3)) << why();

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLRetryCounterSet)(5));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFFE6, 5}), Record(0xFFE6));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMaxEqualRateRetrySet)(4)) << why();
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFFE8, 4}), Record(0xFFE8));
    int v = -1;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMaxEqualRateRetryGet)(&v));
    EXPECT_EQ(4, v);

    /* Without a readable retry counter there is no bound: refused. */
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0xFFE6));
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLMaxEqualRateRetrySet)(1));
    EXPECT_TRUE(HasReason(why(), "retval != WL_SUCCESS")) << why();
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFFE8, 4}), Record(0xFFE8));
}

TEST_P(RadioTest, RangesOfTheSingleValueSettings)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    struct Case {
        const char *name;
        int (WLAPI *set)(int);
        uint16_t record;
        int lo, hi;
        const char *reason;
    };
    const Case cases[] = {
        {"CTSToSelf", WL(lib(), WLCTSToSelfSet), 0xFFED, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)"},
        {"ShortRetryLimit", WL(lib(), WLShortRetryLimitSet), 0xFC32, 1, 15, "!INTERVAL (1, <=, Val, <=, 15)"},
        {"LongRetryLimit", WL(lib(), WLLongRetryLimitSet), 0xFC33, 1, 15, "!INTERVAL (1, <=, Val, <=, 15)"},
        {"TXGain", WL(lib(), WLTXGainSet), 0xFFEB, 0, 0xFFFF, "!INTERVAL (0, <=, Val, <=, 0xFFFF)"},
        {"SafetyMargin", WL(lib(), WLSafetyMarginSet), 0xFFE7, 0, 0xFFFF, "!INTERVAL (0, <=, Val, <=, 0xFFFF)"},
        {"MaxRetryBalance", WL(lib(), WLMaxRetryBalanceSet), 0xFFE9, 0, 0xFFFF,
         "!INTERVAL (0, <=, Val, <=, 0xFFFF)"},
        {"ConnectionControl", WL(lib(), WLConnectionControlSet), 0xFC30, 0, 3, "!INTERVAL (0, <=, Val, <=, 3)"},
        {"WiFiCompatible", WL(lib(), WLWiFiCompatibleSet), 0xFC35, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WL_INVALID_PARAMETER, c.set(c.lo - 1));
        EXPECT_TRUE(HasReason(why(), c.reason)) << why();
        EXPECT_EQ(WL_INVALID_PARAMETER, c.set(c.hi + 1));
        ASSERT_EQ(WL_SUCCESS, c.set(c.hi)) << why();
        EXPECT_EQ((std::vector<uint16_t>{2, c.record, static_cast<uint16_t>(c.hi)}), Record(c.record));
        ASSERT_EQ(WL_SUCCESS, c.set(c.lo)) << why();
        EXPECT_EQ((std::vector<uint16_t>{2, c.record, static_cast<uint16_t>(c.lo)}), Record(c.record));
    }
    EXPECT_EQ(0u, Stored("WifiCompatible"));
    EXPECT_EQ(0u, Stored("ConnectionControl"));
}

TEST_P(RadioTest, TransmitPowerLevelIsPersistedAndFallsBack)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLTXPowerLevelSet)(7));
    EXPECT_TRUE(HasReason(why(), "!INTERVAL (8, <=, Val, <=, 20)")) << why();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLTXPowerLevelSet)(21));
    EXPECT_EQ(0xDEADBEEFu, Stored("TxPowerLevel")) << "a refused value is not stored";

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLTXPowerLevelSet)(12)) << why();
    EXPECT_EQ(12u, Stored("TxPowerLevel"));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFC2A, 12}), Record(0xFC2A));

    /* The adapter does not answer: the stored value. */
    reg_->writeDword("TxPowerLevel", 17);
    AdapterSilent();
    int v = -1;
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLTXPowerLevelGet)(&v)) << why();
    EXPECT_EQ(17, v);
    reg_->deleteValue("TxPowerLevel");
    v = -1;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLTXPowerLevelGet)(&v));
    EXPECT_EQ(-1, v);

    /* A setting without fallback keeps the caller's value. */
    reg_->writeDword("ConnectionControl", 2);
    v = -1;
    EXPECT_NE(WL_SUCCESS, WL(lib(), WLConnectionControlGet)(&v));
    EXPECT_EQ(-1, v);
    reg_->writeDword("WifiCompatible", 0);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLWiFiCompatibleGet)(&v));
    EXPECT_EQ(0, v);
    Recover();

    /* A failed adapter write keeps the stored value. */
    ASSERT_EQ(0, SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_TIME_OUT));
    EXPECT_NE(WL_SUCCESS, WL(lib(), WLTXPowerLevelSet)(9));
    EXPECT_EQ(9u, Stored("TxPowerLevel"));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLTXPowerLevelGet)(NULL));
    EXPECT_TRUE(HasReason(why(), "Val == NULL")) << why();
}

/* ---- Channel and band ---- */

TEST_P(RadioTest, ChannelValidityPerBand)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    ChannelFrequencyBandBuffer b = ChannelBand(36, 1);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandSet)(&b)) << why();
    EXPECT_EQ((std::vector<uint16_t>{2, kOwnChannel, 0x0124}), Record(kOwnChannel));
    EXPECT_EQ(0x0124u, Stored("OwnChannel"));

    b = ChannelBand(35, 1);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLChannelFrequencyBandSet)(&b));
    EXPECT_TRUE(HasReason(why(), "ValidChannelFrequencyBand (Val) != WL_SUCCESS")) << why();
    EXPECT_EQ(0x0124u, Stored("OwnChannel"));

    b = ChannelBand(14, 0);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandSet)(&b)) << why();
    EXPECT_EQ((std::vector<uint16_t>{2, kOwnChannel, 0x000E}), Record(kOwnChannel));
    b = ChannelBand(15, 0);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLChannelFrequencyBandSet)(&b));
    /* Only bit 0 of the band selects 5 GHz. */
    b = ChannelBand(36, 2);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLChannelFrequencyBandSet)(&b));
    b = ChannelBand(165, 3);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandSet)(&b)) << why();
    EXPECT_EQ((std::vector<uint16_t>{2, kOwnChannel, 0x03A5}), Record(kOwnChannel));

    ChannelFrequencyBandBuffer got = ChannelBand(0xEE, 0xEE);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandGet)(&got));
    EXPECT_EQ(165, got.data.Channel);
    EXPECT_EQ(3, got.data.Band);
    EXPECT_EQ(0x5A5A, got.data.Reserved) << "the upper half is not touched";

    b = ChannelBand(1, 0);
    b.TS.Type = 22;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLChannelFrequencyBandSet)(&b));
    EXPECT_TRUE(HasReason(why(), "(Val)->TS.Type != ChannelFrequencyBandBufferType")) << why();
    b = ChannelBand(1, 0);
    b.TS.Size = 8;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLChannelFrequencyBandGet)(&b));
    EXPECT_TRUE(HasReason(why(), "(Val)->TS.Size != sizeof (ChannelFrequencyBandBuffer)")) << why();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLChannelFrequencyBandSet)(NULL));

    /* A failed read leaves the buffer alone. */
    AdapterSilent();
    got = ChannelBand(0xEE, 0xEE);
    EXPECT_NE(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandGet)(&got));
    EXPECT_EQ(0xEE, got.data.Channel);
}

TEST_P(RadioTest, ChannelZeroTakesTheDomainsFirstChannel)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    SetDomain(4); /* JP (Dual Band): 34, 38, 42, 46 and 1 to 14 */
    ChannelFrequencyBandBuffer b = ChannelBand(0, 1);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandSet)(&b)) << why();
    EXPECT_EQ(0x0122u, Stored("OwnChannel"));
    EXPECT_EQ((std::vector<uint16_t>{2, kOwnChannel, 0x0122}), Record(kOwnChannel));
    b = ChannelBand(0, 0);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandSet)(&b)) << why();
    EXPECT_EQ(0x0001u, Stored("OwnChannel"));

    SetDomain(6); /* CN (Dual Band): 149 first */
    b = ChannelBand(0, 1);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLChannelFrequencyBandSet)(&b)) << why();
    EXPECT_EQ(0x0195u, Stored("OwnChannel"));

    SetDomain(1); /* World: no 5 GHz channels */
    b = ChannelBand(0, 1);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLChannelFrequencyBandSet)(&b));
    EXPECT_EQ(0x0195u, Stored("OwnChannel"));

    /* Unknown domain: the regulatory domain's failure ends the call. */
    SetDomain(0x40);
    b = ChannelBand(0, 0);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLChannelFrequencyBandSet)(&b));
    EXPECT_TRUE(HasReason(why(), "retval != WL_SUCCESS")) << why();
}

TEST_P(RadioTest, CurrentChannelAndBandInEveryVariant)
{
    SetRecord({2, 0xFDC1, 0x0130});
    ChannelFrequencyBandBuffer b = ChannelBand(0, 0);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentChannelFrequencyBandGet)(&b)) << why();
    EXPECT_EQ(0x30, b.data.Channel);
    EXPECT_EQ(1, b.data.Band);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentChannelFrequencyBandGet)(NULL));
    EXPECT_TRUE(HasReason(why(), "Val == NULL")) << why();
}

TEST_P(RadioTest, ScanChannelSetsOfBothBands)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    Channel2GHzBuffer c2 = Buf<Channel2GHzBuffer>(Channel2GHzBufferType);
    Channel5GHzBuffer c5 = Buf<Channel5GHzBuffer>(Channel5GHzBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLABGScanChannelGet)(&c2, &c5)) << why();
    EXPECT_EQ(0x1FFF, c2.data.Channels);
    EXPECT_EQ(0x0FFFFFFFu, c5.data.Channels);
    EXPECT_EQ(0x0007, c5.data.ChannelsHigh);
    EXPECT_EQ(0x5A5A, c5.data.Reserved);

    c2.data.Channels = 0x0421;
    c5.data.Channels = 0x87654321;
    c5.data.ChannelsHigh = 0x0005;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLABGScanChannelSet)(&c2, &c5)) << why();
    EXPECT_EQ((std::vector<uint16_t>{5, 0xFCC2, 0x0421, 0x4321, 0x8765, 0x0005}), Record(0xFCC2));

    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLABGScanChannelSet)(&c2, NULL));
    EXPECT_TRUE(HasReason(why(), "Channel5GHz == NULL")) << why();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLABGScanChannelGet)(NULL, &c5));
    EXPECT_TRUE(HasReason(why(), "Channel2GHz == NULL")) << why();
    c5.TS.Size = 12;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLABGScanChannelGet)(&c2, &c5));
    EXPECT_TRUE(HasReason(why(), "(Channel5GHz)->TS.Size != sizeof (Channel5GHzBuffer)")) << why();
}

/* ---- Two-band rates ---- */

TEST_P(RadioTest, RateWordsNeedARateOfTheirBand)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    /* The refusals come from the inner rate frame: read them in the error log. */
    WriteFile("\\wlerr.txt", "");
    DataRate2GHzBuffer r2 = Rate2(0);
    DataRate5GHzBuffer r5 = Rate5(0x0FF0);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLSupportedRatesSet)(&r2, &r5));
    EXPECT_TRUE(InErrorLog("!N"));
    r2 = Rate2(0xF000); /* no bit of 0 to 11 */
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLBasicRatesSet)(&r2, NULL));
    EXPECT_TRUE(InErrorLog("!N"));
    r2 = Rate2(0x0003);
    r5 = Rate5(0x000F); /* 2.4 GHz rates only */
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLSupportedRatesSet)(&r2, &r5));
    EXPECT_TRUE(InErrorLog("!N"));
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC88, 0x0FFF, 0x0FF0}), Record(0xFC88));

    r5 = Rate5(0x0030);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedRatesSet)(&r2, &r5));
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC88, 0x0003, 0x0030}), Record(0xFC88));
    /* One band given: the other keeps the adapter's word. */
    r5 = Rate5(0x0800);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedRatesSet)(NULL, &r5));
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC88, 0x0003, 0x0800}), Record(0xFC88));

    DataRate2GHzBuffer g2 = Rate2(0x5A5A);
    DataRate5GHzBuffer g5 = Rate5(0x5A5A);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedRatesGet)(&g2, &g5));
    EXPECT_EQ(0x0003, g2.data.DataRate);
    EXPECT_EQ(0x0800, g5.data.DataRate);
    EXPECT_EQ(0x5A5A, g2.data.Reserved);

    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLProbeDataRateGet)(NULL, NULL));
    EXPECT_TRUE(InErrorLog("(Rate2GHz == NULL) && (Rate5GHz == NULL)"));
    g5.TS.Type = DataRate2GHzBufferType;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLProbeDataRateGet)(&g2, &g5));
    EXPECT_TRUE(InErrorLog("(Rate5GHz)->TS.Type != DataRate5GHzBufferType"));
    g2.TS.Size = 16;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLABGMulticastRateSet)(&g2, NULL));
    EXPECT_TRUE(InErrorLog("(Rate2GHz)->TS.Size != sizeof (DataRate2GHzBuffer)"));
    RemoveFile("\\wlerr.txt");
}

TEST_P(RadioTest, DomainCodesGateTheBands)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    for (uint16_t dc : {7, 8, 9}) {
        SCOPED_TRACE(dc);
        SetDomain(dc);
        SetRecord({3, 0xFCC5, 0x0001, 0x0010});
        DataRate2GHzBuffer g2 = Rate2(0x5A5A);
        DataRate5GHzBuffer bad5 = Rate5(0x5A5A);
        bad5.TS.Type = 99; /* not even examined */
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProbeDataRateGet)(&g2, &bad5)) << why();
        EXPECT_EQ(0x0001, g2.data.DataRate);
        EXPECT_EQ(0x5A5A, bad5.data.DataRate);

        DataRate2GHzBuffer s2 = Rate2(static_cast<uint16_t>(1u << (dc - 5)));
        DataRate5GHzBuffer s5 = Rate5(0); /* would be refused if used */
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProbeDataRateSet)(&s2, &s5)) << why();
        EXPECT_EQ((std::vector<uint16_t>{3, 0xFCC5, s2.data.DataRate, 0x0010}), Record(0xFCC5));
    }
    /* Outside 0 to 9 neither band is used. */
    SetDomain(10);
    DataRate2GHzBuffer g2 = Rate2(0x5A5A);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProbeDataRateGet)(&g2, NULL));
    EXPECT_EQ(0x5A5A, g2.data.DataRate);
    /* Dual-band domains use both. */
    SetDomain(6);
    DataRate5GHzBuffer g5 = Rate5(0x5A5A);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProbeDataRateGet)(&g2, &g5));
    EXPECT_EQ(0x0010, g5.data.DataRate);
}

TEST_P(RadioTest, TransmitRateControlIsPersistedPerBand)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    SetRecord({3, 0xFC84, 0x0FFF, 0x0FF0});
    DataRate2GHzBuffer r2 = Rate2(0x0008);
    DataRate5GHzBuffer r5 = Rate5(0x0100);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLTXRateControlFrequencyBandSet)(&r2, &r5)) << why();
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC84, 0x0008, 0x0100}), Record(0xFC84));
    EXPECT_EQ(0x0008u, Stored("TxRateControl2Ghz"));
    EXPECT_EQ(0x0100u, Stored("TxRateControl5Ghz"));

    /* Refused words are neither stored nor written. */
    r2 = Rate2(0);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLTXRateControlFrequencyBandSet)(&r2, NULL));
    EXPECT_EQ(0x0008u, Stored("TxRateControl2Ghz"));

    AdapterSilent();
    DataRate2GHzBuffer g2 = Rate2(0x5A5A);
    DataRate5GHzBuffer g5 = Rate5(0x5A5A);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLTXRateControlFrequencyBandGet)(&g2, &g5)) << why();
    EXPECT_EQ(0x0008, g2.data.DataRate);
    EXPECT_EQ(0x0100, g5.data.DataRate);
    reg_->deleteValue("TxRateControl5Ghz");
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLTXRateControlFrequencyBandGet)(NULL, &g5));
    EXPECT_EQ(0, g5.data.DataRate);
    g5.TS.Type = 1;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLTXRateControlFrequencyBandGet)(NULL, &g5));
    Recover();

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLTXRateControlFrequencyBandGet)(&g2, NULL));
    EXPECT_EQ(0x0008, g2.data.DataRate);
}

TEST_P(RadioTest, OneBandRateReadingsAndTheOlderFirmwaresBits)
{
    SetRecord({3, 0xFD50, 0x0028, 0x0FF0}); /* bits 3 and 5 */
    SetRecord({2, 0xFD51, 0x0104});         /* bits 2 and 8 */
    DataRate2GHzBuffer r = Rate2(0x5A5A);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentRemoteRatesGet)(&r)) << why();
    EXPECT_EQ(cd() ? 0x002C : 0x0028, r.data.DataRate);
    r = Rate2(0x5A5A);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentUsedRatesGet)(&r)) << why();
    EXPECT_EQ(cd() ? 0x0100 : 0x0104, r.data.DataRate);

    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentUsedRatesGet)(NULL));
    EXPECT_TRUE(HasReason(why(), "Rate2GHz == NULL")) << why();
    r.TS.Type = DataRate5GHzBufferType;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentRemoteRatesGet)(&r));
    EXPECT_TRUE(HasReason(why(), "(Rate2GHz)->TS.Type != DataRate2GHzBufferType")) << why();

    /* A failed read leaves the word as it was. */
    r = Rate2(0x0028);
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0xFD50));
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLCurrentRemoteRatesGet)(&r));
    EXPECT_EQ(0x0028, r.data.DataRate);
}

TEST_P(RadioTest, SupportedDataRates)
{
    DataRate2GHzBuffer r2 = Rate2(0x5A5A);
    DataRate5GHzBuffer r5 = Rate5(0x5A5A);
    if (!cd()) {
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedDataRatesGet)(&r2, &r5)) << why();
        EXPECT_EQ(0x0FFF, r2.data.DataRate);
        EXPECT_EQ(0x0FF0, r5.data.DataRate);
        return;
    }
    /* Older firmware: a counted list of rate bytes; 5 GHz is not used. */
    SetRecord(RecordOf(0xFDC6, Bytes{4, 0, 0x82, 0x84, 0x0B, 0x16}));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedDataRatesGet)(&r2, &r5)) << why();
    EXPECT_EQ(0x000F, r2.data.DataRate);
    EXPECT_EQ(0x5A5A, r5.data.DataRate);
    /* A count beyond the bytes sent, and unknown rates. */
    SetRecord(RecordOf(0xFDC6, Bytes{200, 0, 0x6C, 0x07}));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedDataRatesGet)(&r2, NULL)) << why();
    EXPECT_EQ(0x0800, r2.data.DataRate);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLSupportedDataRatesGet)(NULL, &r5));
    EXPECT_TRUE(HasReason(why(), "Rate2GHz == NULL")) << why();
}

/* ---- Pass-through buffers ---- */

TEST_P(RadioTest, QoSParameterSetChecksEveryField)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    QoSParameterSetBuffer q = Buf<QoSParameterSetBuffer>(QoSParameterSetBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLQoSParameterSetGet)(&q)) << why();
    EXPECT_EQ(15, q.data.CWmin0);
    EXPECT_EQ(3, q.data.CWmin3);
    EXPECT_EQ(1023, q.data.CWmax0);
    EXPECT_EQ(2, q.data.AIFS3);
    EXPECT_EQ(47, q.data.TXOPLimit3);

    QoSParameterSetBuffer bad = q;
    bad.data.CWmin2 = 256;
    bad.data.AIFS0 = 300;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLQoSParameterSetSet)(&bad));
    EXPECT_TRUE(HasReason(why(), "!INTERVAL (0, <=, Val->data.CWmin2, <=, 255)")) << why();
    bad.data.CWmin2 = 255;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLQoSParameterSetSet)(&bad));
    EXPECT_TRUE(HasReason(why(), "!INTERVAL (0, <=, Val->data.AIFS0, <=, 255)")) << why();
    bad.data.AIFS0 = 0;
    bad.data.AIFS3 = 256;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLQoSParameterSetSet)(&bad));
    EXPECT_TRUE(HasReason(why(), "!INTERVAL (0, <=, Val->data.AIFS3, <=, 255)")) << why();
    EXPECT_EQ(15, Record(0xFCC1)[2]) << "refused sets never reach the adapter";

    bad.data.AIFS3 = 9;
    bad.data.TXOPLimit0 = 65535;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLQoSParameterSetSet)(&bad)) << why();
    std::vector<uint16_t> rec = Record(0xFCC1);
    ASSERT_EQ(18u, rec.size());
    EXPECT_EQ(255, rec[2 + 2]);
    EXPECT_EQ(9, rec[2 + 11]);
    EXPECT_EQ(65535, rec[2 + 12]);

    bad.TS.Type = QoSParameterSetBufferType + 1;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLQoSParameterSetSet)(&bad));
    EXPECT_TRUE(HasReason(why(), "(Val)->TS.Type != QoSParameterSetBufferType")) << why();
    bad.TS.Type = QoSParameterSetBufferType;
    bad.TS.Size = 32;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLQoSParameterSetGet)(&bad));
    EXPECT_TRUE(HasReason(why(), "(Val)->TS.Size != sizeof (QoSParameterSetBuffer)")) << why();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLQoSParameterSetSet)(NULL));
    EXPECT_TRUE(HasReason(why(), "Val == NULL")) << why();
}

TEST_P(RadioTest, ByteBuffersPassThrough)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    DCQBuffer dcq = Buf<DCQBuffer>(DCQBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDCQGet)(&dcq)) << why();
    for (int i = 0; i < 24; i++) EXPECT_EQ(i + 1, dcq.data.Bytes[i]) << i;
    for (int i = 0; i < 24; i++) dcq.data.Bytes[i] = static_cast<uint8_t>(0xA0 + i);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDCQSet)(&dcq)) << why();
    std::vector<uint16_t> rec = Record(0xFFE4);
    ASSERT_EQ(14u, rec.size());
    EXPECT_EQ(0xA1A0, rec[2]);
    EXPECT_EQ(0xB7B6, rec[13]);

    DSQBuffer dsq = Buf<DSQBuffer>(DSQBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDSQGet)(&dsq)) << why();
    EXPECT_EQ(0x21, dsq.data.Bytes[0]);
    EXPECT_EQ(0x30, dsq.data.Bytes[15]);
    dsq.TS.Type = DCQBufferType;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLDSQSet)(&dsq));
    EXPECT_TRUE(HasReason(why(), "(Val)->TS.Type != DSQBufferType")) << why();

    CurrentTXPowerLevelBuffer p = Buf<CurrentTXPowerLevelBuffer>(CurrentTXPowerLevelBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentTXPowerLevelGet)(&p)) << why();
    EXPECT_EQ(0x10, p.data.Bytes[0]);
    EXPECT_EQ(0x19, p.data.Bytes[9]);
    EXPECT_EQ(0x5A, p.data.Reserved[0]);
    /* A shorter answer: the missing bytes read as zero. */
    SetRecord({2, 0xFDC7, 0x4241});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentTXPowerLevelGet)(&p)) << why();
    EXPECT_EQ(0x41, p.data.Bytes[0]);
    EXPECT_EQ(0, p.data.Bytes[9]);

    SecurityCapabilityBuffer sc = Buf<SecurityCapabilityBuffer>(SecurityCapabilityBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSecurityCapabilityGet)(&sc)) << why();
    EXPECT_EQ(3, sc.data.Capability);
    EXPECT_EQ(0x5A5A, sc.data.Reserved);
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0xFD90));
    sc.data.Capability = 77;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLSecurityCapabilityGet)(&sc));
    EXPECT_EQ(77, sc.data.Capability);
}

TEST_P(RadioTest, CoexistenceIsPersistedAndFallsBack)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    CoexistenceBehaviourBuffer cb = Buf<CoexistenceBehaviourBuffer>(CoexistenceBehaviourBufferType);
    cb.data.Behaviour = 0x1234;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCoexistenceBehaviourSet)(&cb)) << why();
    EXPECT_EQ(0x1234u, Stored("CoExistence"));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFCC7, 0x1234}), Record(0xFCC7));
    reg_->writeDword("CoExistence", 5);
    AdapterSilent();
    CoexistenceBehaviourBuffer got = Buf<CoexistenceBehaviourBuffer>(CoexistenceBehaviourBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCoexistenceBehaviourGet)(&got)) << why();
    EXPECT_EQ(5, got.data.Behaviour);
    EXPECT_EQ(0x5A5A, got.data.Reserved);
}

/* ---- Driver failures and the write discipline ---- */

TEST_P(RadioTest, DriverFailuresPassUpAndLeaveBuffersAlone)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    /* No connection can be opened: reads answer "not available", writes
     * "not writeable". */
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_CONNECT, 100));
    DCQBuffer dcq = Buf<DCQBuffer>(DCQBufferType);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLDCQGet)(&dcq));
    EXPECT_EQ(0x5A, dcq.data.Bytes[0]);
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLDCQSet)(&dcq));
    Channel2GHzBuffer c2 = Buf<Channel2GHzBuffer>(Channel2GHzBufferType);
    Channel5GHzBuffer c5 = Buf<Channel5GHzBuffer>(Channel5GHzBufferType);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLABGScanChannelGet)(&c2, &c5));
    EXPECT_EQ(0x5A5A, c2.data.Channels);
    CurrentAssociationRequestInfoBuffer a =
        Buf<CurrentAssociationRequestInfoBuffer>(CurrentAssociationRequestInfoBufferType);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLCurrentAssociationRequestInfoGet)(&a));
    EXPECT_EQ(0x5A5A, a.data.Capability);
    ChannelFrequencyBandBuffer b = ChannelBand(6, 0);
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLChannelFrequencyBandSet)(&b));
    EXPECT_EQ(0x0006u, Stored("OwnChannel")) << "the stored channel stays";
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_CONNECT, 0));

    /* A refused put leaves the record as it was. */
    ASSERT_EQ(0, SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_TIME_OUT));
    EXPECT_NE(WL_SUCCESS, WL(lib(), WLDCQSet)(&dcq));
    EXPECT_EQ(0x0201, Record(0xFFE4)[2]);
    ASSERT_EQ(0, SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_TIME_OUT));
    DataRate2GHzBuffer r2 = Rate2(0x0001);
    EXPECT_NE(WL_SUCCESS, WL(lib(), WLBasicRatesSet)(&r2, NULL));
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC89, 0x000F, 0x0150}), Record(0xFC89));
}

TEST_P(RadioTest, UnchangedRecordsAreNotWrittenAndSettingsAreApplied)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    DSQBuffer dsq = Buf<DSQBuffer>(DSQBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDSQGet)(&dsq));
    DataRate2GHzBuffer r2 = Rate2(0x0FFF);
    DataRate5GHzBuffer r5 = Rate5(0x0FF0);
    ASSERT_EQ(0, SimClearLog());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDSQSet)(&dsq));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedRatesSet)(&r2, &r5));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, c.ops[WLSIM_OP_PUT_INFO]);
    EXPECT_EQ(0u, SimActionCount(&c, WL_ACTION_APPLY));

    /* Coexistence and transmit rate control are applied after a change. */
    CoexistenceBehaviourBuffer cb = Buf<CoexistenceBehaviourBuffer>(CoexistenceBehaviourBufferType);
    cb.data.Behaviour = 2;
    ASSERT_EQ(0, SimClearLog());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCoexistenceBehaviourSet)(&cb));
    c = SimCountersNow();
    EXPECT_EQ(1u, SimTypePuts(&c, 0xFCC7));
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    SetRecord({3, 0xFC84, 0x0FFF, 0x0FF0});
    r2 = Rate2(0x0004);
    ASSERT_EQ(0, SimClearLog());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLTXRateControlFrequencyBandSet)(&r2, NULL));
    c = SimCountersNow();
    EXPECT_EQ(1u, SimTypePuts(&c, 0xFC84));
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC84, 0x0004, 0x0FF0}), Record(0xFC84));
    EXPECT_EQ(0xDEADBEEFu, Stored("TxRateControl5Ghz")) << "an absent band is not stored";
}

/* ---- Association request and security state ---- */

class AssocTest : public RadioTest {
protected:
    CurrentAssociationRequestInfoBuffer Info()
    {
        CurrentAssociationRequestInfoBuffer b =
            Buf<CurrentAssociationRequestInfoBuffer>(CurrentAssociationRequestInfoBufferType);
        b.data.GroupCipher = 0;
        b.data.PairwiseCipher = 0;
        b.data.KeyManagement = 0;
        return b;
    }
    void SetRequest(const Bytes &value) { SetRecord(RecordOf(kAssocRequest, value)); }
    SecurityAuthenticationStatusBuffer Status(int *rc)
    {
        SecurityAuthenticationStatusBuffer s =
            Buf<SecurityAuthenticationStatusBuffer>(SecurityAuthenticationStatusBufferType);
        *rc = WL(lib(), WLSecurityAuthenticationStatusGet)(&s);
        return s;
    }
};

TEST_P(AssocTest, OpenAssociationRequest)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    CurrentAssociationRequestInfoBuffer b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(0x0431, b.data.Capability);
    EXPECT_EQ(10, b.data.ListenInterval);
    EXPECT_EQ("wlsim0", std::string(reinterpret_cast<char *>(b.data.SSID)));
    EXPECT_EQ(0, b.data.SSID[31]);
    EXPECT_EQ(0, b.data.SSIDEnd);
    EXPECT_EQ(0x0FFF, b.data.DataRate);
    EXPECT_EQ(0, b.data.GroupCipher);
    EXPECT_EQ(0, b.data.PairwiseCipher);
    EXPECT_EQ(0, b.data.KeyManagement);
    for (uint8_t byte : b.data.CurrentAP) EXPECT_EQ(0, byte);

    b.TS.Size = 56;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b));
    EXPECT_TRUE(HasReason(why(), "(Val)->TS.Size != sizeof (CurrentAssociationRequestInfoBuffer)")) << why();
}

TEST_P(AssocTest, WpaAndRsnSuitesGiveTheirBits)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    /* WPA with TKIP and PSK. */
    SetRequest(AssocRequest(Ssid("home") + Element(1, {0x82, 0x84, 0x0B, 0x16}) + Wpa(2, {2}, {2})));
    CurrentAssociationRequestInfoBuffer b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ("home", std::string(reinterpret_cast<char *>(b.data.SSID)));
    EXPECT_EQ(0x000F, b.data.DataRate);
    EXPECT_EQ(4, b.data.GroupCipher);
    EXPECT_EQ(4, b.data.PairwiseCipher);
    EXPECT_EQ(4, b.data.KeyManagement);

    /* Reassociation with a (pre-standard) RSN element: CCMP and TKIP
     * pairwise, 802.1X and PSK. */
    SetRequest(ReassocRequest(Ssid("office-net") + AllRates() + Rsn(kMs, 2, {4, 2}, {1, 2})));
    b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(0x0421, b.data.Capability);
    EXPECT_EQ(3, b.data.ListenInterval);
    EXPECT_EQ(0, memcmp(b.data.CurrentAP, kAp.data(), 6));
    EXPECT_EQ("office-net", std::string(reinterpret_cast<char *>(b.data.SSID)));
    EXPECT_EQ(0x0FFF, b.data.DataRate);
    EXPECT_EQ(4, b.data.GroupCipher);
    EXPECT_EQ(16 | 4, b.data.PairwiseCipher);
    EXPECT_EQ(2 | 4, b.data.KeyManagement);

    /* Both elements add up; the caller's bits stay. */
    SetRequest(AssocRequest(Ssid("x") + AllRates() + Wpa(2, {2}, {1}) + Rsn(kMs, 4, {4}, {2})));
    b = Info();
    b.data.GroupCipher = 0x100;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(0, b.data.SSID[0]) << "a one-byte SSID is not copied";
    EXPECT_EQ(0x100 | 4 | 16, b.data.GroupCipher);
    EXPECT_EQ(4 | 16, b.data.PairwiseCipher);
    EXPECT_EQ(2 | 4, b.data.KeyManagement);

    /* A WPA2 network's standard suites (00-0F-AC) give CCMP and PSK. */
    SetRequest(AssocRequest(Ssid("ieee") + AllRates() + Rsn(kIeee, 4, {4}, {2})));
    b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(0x10, b.data.GroupCipher);
    EXPECT_EQ(0x10, b.data.PairwiseCipher);
    EXPECT_EQ(0x04, b.data.KeyManagement);

    /* Suites of another organisation end the element's walk. */
    SetRequest(AssocRequest(Ssid("other") + AllRates() + Rsn(kOther, 4, {4}, {2})));
    b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(0, b.data.GroupCipher);
    EXPECT_EQ(0, b.data.KeyManagement);
}

TEST_P(AssocTest, SecurityStateFollowsTheEncryptionMode)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    int rc = -1;
    SetRecord({2, kEncryption, 0});
    SecurityAuthenticationStatusBuffer s = Status(&rc);
    ASSERT_EQ(WL_SUCCESS, rc) << why();
    EXPECT_EQ(1, s.data.GroupCipher);
    EXPECT_EQ(1, s.data.PairwiseCipher);
    EXPECT_EQ(1, s.data.KeyManagement);
    EXPECT_EQ(0x5A5A, s.data.Reserved);

    SetRecord({2, kEncryption, 1});
    s = Status(&rc);
    ASSERT_EQ(WL_SUCCESS, rc) << why();
    EXPECT_EQ(0x20, s.data.GroupCipher);
    EXPECT_EQ(0x20, s.data.PairwiseCipher);
    EXPECT_EQ(1, s.data.KeyManagement);

    SetRecord({2, kEncryption, 2});
    SetRequest(AssocRequest(Ssid("corp") + AllRates() + Rsn(kMs, 2, {4}, {1})));
    s = Status(&rc);
    ASSERT_EQ(WL_SUCCESS, rc) << why();
    EXPECT_EQ(4, s.data.GroupCipher);
    EXPECT_EQ(16, s.data.PairwiseCipher);
    EXPECT_EQ(2, s.data.KeyManagement);

    /* Without the request the words stay cleared and the failure tells. */
    ASSERT_EQ(0, SimDeleteRecord(sim_, kAssocRequest));
    s = Status(&rc);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, rc);
    EXPECT_EQ(0, s.data.GroupCipher);
    ASSERT_EQ(0, SimDeleteRecord(sim_, kEncryption));
    s = Status(&rc);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, rc);
    EXPECT_TRUE(HasReason(why(), "retval != WL_SUCCESS")) << why();
}

TEST_P(AssocTest, HostileRequestRecordsNeverCrash)
{
    if (cd()) GTEST_SKIP() << "older firmware";
    /* Element lengths beyond the record, counts beyond the element. */
    const Bytes hostile[] = {
        AssocRequest(Bytes{0, 200, 'a', 'b'}),
        AssocRequest(Ssid("ok") + Bytes{1, 255, 0x82}),
        AssocRequest(Ssid("ok") + Element(48, {1, 0, 0, 0x50, 0xF2, 4, 0xFF, 0xFF, 0, 0x50, 0xF2})),
        AssocRequest(Ssid("ok") + Element(221, {0, 0x50, 0xF2, 1, 1, 0, 0, 0x50, 0xF2, 2, 9, 0})),
        ReassocRequest(Element(0, Bytes(40, 'L')) + Element(50, Bytes(30, 0x6C))),
        Bytes{1, 0, 2, 0, 3, 0, 4},
        Bytes{0, 0},
        Bytes(88, 0xFF),
    };
    for (size_t i = 0; i < sizeof hostile / sizeof hostile[0]; i++) {
        SCOPED_TRACE(i);
        SetRequest(hostile[i]);
        CurrentAssociationRequestInfoBuffer b = Info();
        int rc = WL(lib(), WLCurrentAssociationRequestInfoGet)(&b);
        EXPECT_TRUE(rc == WL_SUCCESS || rc == WL_DATA_NOT_AVAILABLE) << rc;
        EXPECT_EQ(38u, b.TS.Type);
    }
    /* A 40-byte SSID is cut to the 32-byte field. */
    SetRequest(hostile[4]);
    CurrentAssociationRequestInfoBuffer b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(std::string(32, 'L'), std::string(reinterpret_cast<char *>(b.data.SSID), 32));
    EXPECT_EQ(0, b.data.SSIDEnd);
    /* Too short for a reassociation's fixed fields. */
    SetRequest(hostile[5]);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b));

    /* A record far longer than asked, answered whole by the driver. */
    Bytes big = AssocRequest(Ssid("long") + AllRates() + Element(221, Bytes(250, 0x41)) +
                             Element(221, Bytes(250, 0x42)) + Element(48, Bytes(250, 0x43)));
    SetRequest(big);
    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&f));
    b = Info();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ("long", std::string(reinterpret_cast<char *>(b.data.SSID)));
    EXPECT_EQ(0x0FFF, b.data.DataRate);
    EXPECT_EQ(0, b.data.GroupCipher);
}

/* ---- The older firmware ---- */

TEST_P(RadioTest, OlderFirmwareRefusesTheDualBandExports)
{
    if (!cd()) GTEST_SKIP() << "dual-band firmware";
    DataRate2GHzBuffer r2 = Rate2(1);
    DataRate5GHzBuffer r5 = Rate5(0x10);
    ChannelFrequencyBandBuffer cfb = ChannelBand(1, 0);
    QoSParameterSetBuffer q = Buf<QoSParameterSetBuffer>(QoSParameterSetBufferType);
    CurrentAssociationRequestInfoBuffer a =
        Buf<CurrentAssociationRequestInfoBuffer>(CurrentAssociationRequestInfoBufferType);
    SecurityAuthenticationStatusBuffer s =
        Buf<SecurityAuthenticationStatusBuffer>(SecurityAuthenticationStatusBufferType);
    Channel2GHzBuffer c2 = Buf<Channel2GHzBuffer>(Channel2GHzBufferType);
    Channel5GHzBuffer c5 = Buf<Channel5GHzBuffer>(Channel5GHzBufferType);
    int v = 0;
    reg_->deleteValue("TxPowerLevel");
    const WlSimCounters before = SimCountersNow();
    struct Call {
        const char *name;
        int rc;
    };
    const Call calls[] = {
        {"WLTXPowerLevelSet", WL(lib(), WLTXPowerLevelSet)(12)},
        {"WLTXPowerLevelGet", WL(lib(), WLTXPowerLevelGet)(&v)},
        {"WLRetryCounterSet", WL(lib(), WLRetryCounterSet)(99)},
        {"WLMaxEqualRateRetrySet", WL(lib(), WLMaxEqualRateRetrySet)(1)},
        {"WLWiFiCompatibleGet", WL(lib(), WLWiFiCompatibleGet)(NULL)},
        {"WLChannelFrequencyBandSet", WL(lib(), WLChannelFrequencyBandSet)(&cfb)},
        {"WLChannelFrequencyBandGet", WL(lib(), WLChannelFrequencyBandGet)(NULL)},
        {"WLSupportedRatesSet", WL(lib(), WLSupportedRatesSet)(&r2, &r5)},
        {"WLTXRateControlFrequencyBandGet", WL(lib(), WLTXRateControlFrequencyBandGet)(&r2, &r5)},
        {"WLProbeDataRateGet", WL(lib(), WLProbeDataRateGet)(NULL, NULL)},
        {"WLQoSParameterSetGet", WL(lib(), WLQoSParameterSetGet)(&q)},
        {"WLDCQSet", WL(lib(), WLDCQSet)(NULL)},
        {"WLABGScanChannelGet", WL(lib(), WLABGScanChannelGet)(&c2, &c5)},
        {"WLCurrentAssociationRequestInfoGet", WL(lib(), WLCurrentAssociationRequestInfoGet)(&a)},
        {"WLSecurityAuthenticationStatusGet", WL(lib(), WLSecurityAuthenticationStatusGet)(&s)},
    };
    for (const Call &c : calls) EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, c.rc) << c.name;
    const WlSimCounters after = SimCountersNow();
    EXPECT_EQ(0, memcmp(&before, &after, sizeof before)) << "the adapter is never asked";
    EXPECT_EQ(0xDEADBEEFu, Stored("TxPowerLevel")) << "nothing is stored";
    const std::string line = why();
    EXPECT_NE(std::string::npos, line.find("<WLSecurityAuthenticationStatusGet>")) << line;
    EXPECT_NE(std::string::npos, line.find("WL_FUNCTION_NOT_SUPPORTED")) << line;
}

/* ---- What the trace log shows ---- */

class RadioLogTest : public RadioTest {
protected:
    void SetUp() override
    {
        RemoveLogs();
        WriteFile("\\wllog.txt", "");
        RadioTest::SetUp();
    }
    void TearDown() override
    {
        RadioTest::TearDown();
        RemoveFile("\\wllog.txt");
        RemoveLogs();
    }
    std::string LogName(int n) const { return std::string("\\wllog48") + GetParam().letter + std::to_string(n) + ".txt"; }
    void RemoveLogs()
    {
        for (int n = 0; n <= 9; n++) RemoveFile(LogName(n));
    }
    /* The trace written so far, read after unloading the library. */
    std::string Trace()
    {
        lib_.reset();
        return ReadFile(LogName(0));
    }
};

TEST_P(RadioLogTest, OlderFirmwareWritesOnlyTheExitLine)
{
    int v = 0;
    EXPECT_EQ(cd() ? WL_FUNCTION_NOT_SUPPORTED : WL_SUCCESS, WL(lib(), WLTXPowerLevelGet)(&v));
    ChannelFrequencyBandBuffer b = ChannelBand(0, 0);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLCurrentChannelFrequencyBandGet)(&b));
    const std::string log = Trace();
    EXPECT_NE(std::string::npos, log.find("} <WLTXPowerLevelGet>")) << log;
    EXPECT_EQ(cd(), log.find("<WLTXPowerLevelGet> {") == std::string::npos) << log;
    EXPECT_NE(std::string::npos, log.find("<WLCurrentChannelFrequencyBandGet> {")) << log;
}

TEST_P(RadioLogTest, UnknownRatesAndTheRequestRecordAreLogged)
{
    if (cd()) {
        SetRecord(RecordOf(0xFDC6, Bytes{2, 0, 0x02, 0x07}));
        DataRate2GHzBuffer r2 = Rate2(0);
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLSupportedDataRatesGet)(&r2, NULL));
        EXPECT_EQ(0x0001, r2.data.DataRate);
        const std::string log = Trace();
        EXPECT_NE(std::string::npos, log.find("Rate2DataRate 7\n")) << log;
        return;
    }
    CurrentAssociationRequestInfoBuffer b =
        Buf<CurrentAssociationRequestInfoBuffer>(CurrentAssociationRequestInfoBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b));
    const std::string log = Trace();
    EXPECT_NE(std::string::npos, log.find("ltv->len 0x0010 (16)\n")) << log;
    EXPECT_NE(std::string::npos, log.find("ltv->typ 0xFD8C\n")) << log;
    EXPECT_NE(std::string::npos, log.find("ltv->val [1] 0x0431\n")) << log;
}

INSTANTIATE_TEST_SUITE_P(All, RadioTest, testing::ValuesIn(kVariants), VariantName);
INSTANTIATE_TEST_SUITE_P(All, AssocTest, testing::ValuesIn(kVariants), VariantName);
INSTANTIATE_TEST_SUITE_P(All, RadioLogTest, testing::ValuesIn(kVariants), VariantName);
