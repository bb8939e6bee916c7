/*
 * Mailbox, scanning and link test end to end: the libraries against the
 * stand-in's radio world, and against mailbox records pushed into it.
 */
#include <memory>

#include "sim_session.h"

namespace {

const uint8_t kAp1[6] = {0x00, 0x40, 0x96, 0x00, 0x00, 0x01};
const uint8_t kAp2[6] = {0x00, 0x40, 0x96, 0x00, 0x00, 0x02};
const uint8_t kPeer[6] = {0x02, 0x40, 0x96, 0x00, 0x00, 0x03};
const uint8_t kOwn[6] = {0x02, 0x57, 0x4C, 0x53, 0x4D, 0x00};

template <class E, int N> struct Client {
    MBBufferHeader h;
    E e[N];
    explicit Client(uint32_t type)
    {
        memset(this, 0, sizeof *this);
        h.TS.Type = type;
        h.TS.Size = sizeof *this;
        h.Capacity = N;
    }
};

class Mailbox : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override { s_.reset(new SimSession(GetParam())); }
    void TearDown() override { s_.reset(); }
    WLLib &lib() { return s_->lib; }
    std::string why() { return s_->lib.returnString(); }
    void Station(const uint8_t *bssid, const char *ssid, int channel, int level, bool peer = false,
                 int security = WLSIM_SEC_OPEN, bool inRange = true)
    {
        WlSimStation st;
        ASSERT_EQ(0, SimStationMake(&st, bssid, ssid, channel, level, 40, peer, security, ssid));
        st.inRange = inRange;
        ASSERT_EQ(0, SimPutStation(&st)) << SimLastErrorText();
    }
    void World()
    {
        Station(kAp1, "home", 1, 120);
        Station(kAp2, "office", 36, 100, false, WLSIM_SEC_WPA2);
        Station(kPeer, "party", 6, 90, true);
    }
    void Push(uint16_t typ, const std::vector<uint8_t> &value, int flags = WLSIM_MB_NOW, int len = 0)
    {
        uint16_t l = (uint16_t)(len ? len : 1 + (value.size() + 1) / 2);
        ASSERT_EQ(0, SimPushMailbox(s_->sim, flags, l, typ, value.data(), (uint32_t)value.size()))
            << SimLastErrorText();
    }
    WlSimMailboxState Mb()
    {
        WlSimMailboxState m;
        memset(&m, 0, sizeof m);
        EXPECT_EQ(0, SimMailboxState(s_->sim, &m));
        return m;
    }
    WlSimDiagMsg Diag()
    {
        static WlSimDiagMsg m;
        memset(&m, 0, sizeof m);
        SimDiagMessage(s_->sim, 0, &m);
        return m;
    }
    int Logon()
    {
        int index = -1;
        EXPECT_EQ(WL_SUCCESS, WL(lib(), WLMBLogon)(&index)) << why();
        return index;
    }
    std::unique_ptr<SimSession> s_;
};

TEST_P(Mailbox, NetworkScanGivesEachEntryRawAndInDbm)
{
    World();
    int num = -1;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanNetworkGet)(&num)) << why();
    ASSERT_EQ(3, num);
    const struct { const uint8_t *bssid; int channel, raw; const char *ssid; int cap; } want[] = {
        {kAp1, 1, 120, "home", 0x01}, {kAp2, 36, 100, "office", 0x11}, {kPeer, 6, 90, "party", 0x02}};
    for (int k = 0; k < 3; k++) {
        Guarded<ScanResultBuffer> r(ScanResultBufferType);
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanNetworkResultGet)(&r.b, k + 1)) << why();
        EXPECT_EQ(0, memcmp(r.b.BSSID, want[k].bssid, 6));
        EXPECT_EQ(want[k].channel, r.b.Channel);
        EXPECT_EQ(want[k].raw, r.b.FirstLevelRaw);
        EXPECT_EQ(want[k].raw - 149, r.b.FirstLevel);
        EXPECT_EQ(40, r.b.SecondLevelRaw);
        EXPECT_EQ(-102, r.b.SecondLevel);
        EXPECT_EQ(want[k].cap, r.b.SecondWord);
        EXPECT_STREQ(want[k].ssid, r.b.SSID);
        EXPECT_STREQ("u n k n o w n", r.b.Name);
        EXPECT_TRUE(r.GuardIntact());
    }
    Guarded<ScanResultBuffer> r(ScanResultBufferType);
    for (int bad : {0, 4}) {
        EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLScanNetworkResultGet)(&r.b, bad));
        EXPECT_EQ("!INTERVAL (1, <=, Num, <=, APs.len)", s_->Reason());
    }
    r.b.TS.Size = 111;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLScanAnyResultGet)(&r.b, 1));
    EXPECT_EQ("Val->TS.Size != sizeof (ScanResultBuffer)", s_->Reason());
}

TEST_P(Mailbox, AnySsidScanReadsUntilEveryEntryHasTheSsid)
{
    if (GetParam().letter != 'E') GTEST_SKIP() << "the same in every variant";
    World();
    // A record with another network comes first: the scan reads on.
    std::vector<uint8_t> mixed(100, 0);
    mixed[16] = 4;
    memcpy(&mixed[18], "home", 4);
    mixed[50 + 16] = 5;
    memcpy(&mixed[50 + 18], "other", 5);
    Push(0xF101, mixed, WLSIM_MB_AFTER_SCAN);
    int num = -1;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanAnyGet)(&num, "home", 4, 0x3FFF)) << why();
    EXPECT_EQ(1, num);
    EXPECT_EQ(2u, Mb().taken);
    Guarded<ScanResultBuffer> r(ScanResultBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanAnyResultGet)(&r.b, 1));
    EXPECT_EQ(0, memcmp(r.b.BSSID, kAp1, 6));
}

TEST_P(Mailbox, ScanForAnSsidThatNeverShowsEndsWithinItsBound)
{
    if (GetParam().letter != 'E') GTEST_SKIP() << "the same in every variant";
    World();
    int num = -1;
    DWORD start = GetTickCount();
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLScanAnyGet)(&num, "absent", 6, 0x3FFF));
    DWORD took = GetTickCount() - start;
    EXPECT_TRUE(s_->Logged("no scan record of only that SSID within 10 seconds"));
    EXPECT_EQ(0, num);
    EXPECT_GE(took, 10000u);
    EXPECT_LT(took, 16000u);
    Guarded<ScanResultBuffer> r(ScanResultBufferType);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLScanAnyResultGet)(&r.b, 1));
}

TEST_P(Mailbox, ClientIndexesAndSlots)
{
    EXPECT_EQ(1, Logon());
    EXPECT_EQ(2, Logon());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBLogoff)(2));
    EXPECT_EQ(2, Logon());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLMBLogoff)(7));
    EXPECT_EQ("p == NULL", s_->Reason());
    Client<MBWordEntry, 2> c(23);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLMBSet)(&c, 1));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLMBSet)(nullptr, 1));
    EXPECT_EQ("Val == NULL", s_->Reason());
    DWORD type = MBWordBufferType;
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLMBReset)(&type, 1));
}

TEST_P(Mailbox, ChannelSelectionScanThroughTheClientBuffers)
{
    World();
    int index = Logon();
    Client<MBACSScanEntry, 2> acs(MBACSScanBufferType);
    Client<MBScanEntry, 8> scan(MBScanBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBSet)(&acs, index)) << why();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBSet)(&scan, index)) << why();
    auto c2 = TypedBuffer<Channel2GHzBuffer>(Channel2GHzBufferType);
    auto c5 = TypedBuffer<Channel5GHzBuffer>(Channel5GHzBufferType);
    auto r2 = TypedBuffer<DataRate2GHzBuffer>(DataRate2GHzBufferType);
    auto r5 = TypedBuffer<DataRate5GHzBuffer>(DataRate5GHzBufferType);
    c2.data.Channels = 0x1FFF;
    c5.data.Channels = 0xFFFFFFFF;
    r2.data.DataRate = 0x0001;
    r5.data.DataRate = 0x0010;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionACSABGScan)("", 0, &c2, &c5, &r2, &r5)) << why();
    WlSimCounters n = SimCountersNow();
    /* the older firmware scans its own channel set */
    EXPECT_EQ(GetParam().cd() ? 0u : 1u, SimTypePuts(&n, 0xFCC2));
    EXPECT_EQ(1u, SimActionCount(&n, 7));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)()) << why();
    EXPECT_EQ(2, acs.h.Count);
    EXPECT_EQ(1, acs.h.Overflow); // three stations, room for two
    EXPECT_EQ(1, acs.h.Complete);
    EXPECT_STREQ("home", acs.e[0].SSID);
    EXPECT_FLOAT_EQ(1.0f, acs.e[0].Rate);
    EXPECT_EQ(0x0FFF, acs.e[0].DataRate);
    EXPECT_EQ(0, memcmp(acs.e[0].FirstAddress, kOwn, 6));

    /* a network scan fills the scan buffer from its first entry */
    acs.h.Overflow = acs.h.Complete = 0;
    acs.h.Capacity = 2;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionScan)("", 0, 0));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)());
    EXPECT_EQ(3, scan.h.Count);
    EXPECT_EQ(1, scan.h.Complete);
    EXPECT_STREQ("office", scan.e[1].SSID);
    EXPECT_EQ(90 - 149, scan.e[2].FirstLevel);
}

TEST_P(Mailbox, ChannelSelectionScanRefusedAsAccessPoint)
{
    s_->Set({2, 0x0908, 2});
    EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(lib(), WLMBActionACSScan)("", 0, 0));
    EXPECT_EQ("connection_mode == CONNECTION_MODE_SOFTAP", s_->Reason());
    WlSimCounters n = SimCountersNow();
    EXPECT_EQ(0u, SimActionCount(&n, 7));
}

TEST_P(Mailbox, ArgumentFailuresSendNothing)
{
    int num;
    auto c2 = TypedBuffer<Channel2GHzBuffer>(Channel2GHzBufferType);
    auto c5 = TypedBuffer<Channel5GHzBuffer>(Channel5GHzBufferType);
    auto r2 = TypedBuffer<DataRate2GHzBuffer>(DataRate2GHzBufferType);
    auto r5 = TypedBuffer<DataRate5GHzBuffer>(DataRate5GHzBufferType);
    c5.TS.Size = 12;
    const struct { int rc; const char *reason; } cases[] = {
        {WL(lib(), WLScanNetworkGet)(nullptr), "Num == NULL"},
        {WL(lib(), WLScanAnyGet)(&num, nullptr, 0, 0), "SSID == NULL"},
        {WL(lib(), WLScanAnyGet)(&num, "x", 33, 0), "Size > 32"},
        {WL(lib(), WLMBActionScan)(nullptr, 0, 0), "SSID == NULL"},
        {WL(lib(), WLMBActionACSScan)("x", 33, 0), "Size > 32"},
        {WL(lib(), WLMBActionACSABGScan)("x", 1, &c2, &c5, &r2, &r5),
         "(Channel5GHz)->TS.Size != sizeof (Channel5GHzBuffer)"},
        {WL(lib(), WLMBActionACSABGScan)("x", 1, &c2, &c5, nullptr, &r5),
         "(Channel5GHz)->TS.Size != sizeof (Channel5GHzBuffer)"},
    };
    for (const auto &c : cases) EXPECT_EQ(WL_INVALID_PARAMETER, c.rc) << c.reason;
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    c5.TS.Size = 16;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLMBActionACSABGScan)("x", 1, &c2, &c5, nullptr, &r5));
    EXPECT_EQ("Rate2GHz == NULL", s_->Reason());
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

TEST_P(Mailbox, LinkTestRequestAndItsAnswer)
{
    World();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    int index = Logon();
    Client<MBLinkTestEntry, 2> lt(MBLinkTestBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBSet)(&lt, index));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionLinkTest)(kAp1, 0x10005)) << why();
    WlSimDiagMsg m = Diag();
    ASSERT_EQ(80, m.len);
    EXPECT_EQ(0, memcmp(m.bytes, kAp1, 6));
    EXPECT_EQ(0, memcmp(m.bytes + 6, kOwn, 6));
    EXPECT_EQ(0, m.bytes[12]);
    EXPECT_EQ(66, m.bytes[13]);
    const uint8_t snap[8] = {0xAA, 0xAA, 0x03, 0x02, 0x57, 0x4C, 0x00, 0x01};
    EXPECT_EQ(0, memcmp(m.bytes + 14, snap, 8));
    EXPECT_EQ(0, m.bytes[23]);
    EXPECT_EQ(0xFF, m.bytes[24]); // the ID clamped to 16 bits
    EXPECT_EQ(0xFF, m.bytes[25]);
    for (int i = 0; i < 54; i++) EXPECT_EQ(i, m.bytes[26 + i]);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)()) << why();
    ASSERT_EQ(1, lt.h.Count);
    EXPECT_STREQ("home", lt.e[0].Name);
    EXPECT_EQ(0xFFFF, lt.e[0].ID);
    EXPECT_EQ(120 - 149, lt.e[0].LocalLevel10);
    EXPECT_FLOAT_EQ(11.0f, lt.e[0].RemoteRate);

    /* nothing answers a station out of range; a truncated answer adds nothing */
    Station(kAp2, "office", 36, 100, false, WLSIM_SEC_WPA2, false);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionLinkTest)(kAp2, 1));
    std::vector<uint8_t> cut(90, 0);
    cut[81] = 1; // PDU_Type at record byte 85
    Push(0x0822, cut);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)());
    EXPECT_EQ(1, lt.h.Count);
}

TEST_P(Mailbox, AccessPointListOnlyWhenAssociated)
{
    World();
    s_->Port(2);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLMBActionAPList)());
    EXPECT_EQ("ps != 4", s_->Reason());
    EXPECT_EQ(0u, SimCountersNow().ops[WLSIM_OP_SEND_DIAG_MSG]);

    s_->SetString(0xFC02, "home");
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    int index = Logon();
    Client<MBAPListEntry, 4> apl(MBAPListBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBSet)(&apl, index));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionAPList)()) << why();
    WlSimDiagMsg m = Diag();
    ASSERT_EQ(24, m.len);
    EXPECT_EQ(0, memcmp(m.bytes, kAp1, 6)); // the current BSSID
    EXPECT_EQ(10, m.bytes[13]);
    EXPECT_EQ(2, m.bytes[23]);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)());
    ASSERT_EQ(2, apl.h.Count);
    EXPECT_STREQ("home", apl.e[0].Name);
    EXPECT_STREQ("office", apl.e[1].Name);
    /* a second list is taken from its own first entry on */
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionAPList)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)());
    ASSERT_EQ(4, apl.h.Count);
    EXPECT_STREQ("home", apl.e[2].Name);
    EXPECT_STREQ("office", apl.e[3].Name);
}

TEST_P(Mailbox, PeerToPeerLinkTestGoesToTheGroupAddress)
{
    s_->Port(3);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionLinkTest)(nullptr, 0)) << why();
    WlSimDiagMsg m = Diag();
    const uint8_t group[6] = {0x03, 0x57, 0x4C, 0x00, 0x01, 0x00};
    ASSERT_EQ(80, m.len);
    EXPECT_EQ(0, memcmp(m.bytes, group, 6));
}

TEST_P(Mailbox, Wpa2NetworkReportsCcmpAndPsk)
{
    if (GetParam().cd()) GTEST_SKIP() << "older firmware";
    Station(kAp2, "office", 36, 100, false, WLSIM_SEC_WPA2);
    s_->SetString(0xFC02, "office");
    s_->Set({2, 0xFC20, 1});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    auto b = TypedBuffer<CurrentAssociationRequestInfoBuffer>(38);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentAssociationRequestInfoGet)(&b)) << why();
    EXPECT_EQ(0x10, b.data.GroupCipher);
    EXPECT_EQ(0x10, b.data.PairwiseCipher);
    EXPECT_EQ(0x04, b.data.KeyManagement);
}

TEST_P(Mailbox, AssociationDropsWhenTheAccessPointGoes)
{
    if (GetParam().letter != 'F') GTEST_SKIP() << "the same in every variant";
    Station(kAp1, "home", 1, 120);
    s_->SetString(0xFC02, "home");
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    int ps = 0;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLPortStatusGet)(&ps));
    EXPECT_EQ(4, ps);
    int num = -1;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanAPGet)(&num)) << why();
    ASSERT_EQ(1, num);
    Guarded<ScanResultBuffer> r(ScanResultBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanAPResultGet)(&r.b, 1)) << why();
    EXPECT_STREQ("home", r.b.Name); // from the link test answer
    ASSERT_EQ(0, SimRemoveStation(kAp1));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLPortStatusGet)(&ps));
    EXPECT_EQ(2, ps);
}

TEST_P(Mailbox, MailboxThatNeverEmptiesDoesNotHang)
{
    if (GetParam().letter != 'D') GTEST_SKIP() << "the same in every variant";
    int index = Logon();
    Client<MBTripleEntry, 2> t(MBTripleBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBSet)(&t, index));
    /* 120 value bytes: as many as two scan entries would take */
    Push(0xF202, std::vector<uint8_t>(120, 0x11), WLSIM_MB_STICKY);
    DWORD start = GetTickCount();
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)());
    EXPECT_EQ(2, t.h.Count);
    EXPECT_EQ(1, t.h.Overflow);
    EXPECT_EQ(0x11111111u, t.e[1].Value[2]);
    /* the waits are bounded, and the record a wait ends on is no scan record */
    int num = -1;
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLScanNetworkGet)(&num));
    EXPECT_EQ(0, num);
    EXPECT_LT(GetTickCount() - start, 12000u);
    /* a scan record whose len claims more than a scan record holds */
    ASSERT_EQ(0, SimMailboxClear(s_->sim));
    Push(0xF101, std::vector<uint8_t>(60, 0), WLSIM_MB_AFTER_SCAN, 1153);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLScanNetworkGet)(&num));
    EXPECT_EQ(32, num);
}

TEST_P(Mailbox, RepeatedChannelSelectionScanAddsNoDuplicates)
{
    if (GetParam().letter != 'C') GTEST_SKIP() << "the same in every variant";
    World();
    int index = Logon();
    Client<MBACSScanEntry, 8> acs(MBACSScanBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBSet)(&acs, index));
    for (int round = 0; round < 2; round++) {
        acs.h.Complete = 0;
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBActionACSScan)("", 0, 0)) << why();
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)()) << why();
        EXPECT_EQ(3, acs.h.Count) << round;
        EXPECT_EQ(1, acs.h.Complete) << round;
        EXPECT_EQ(0, acs.h.Overflow) << round;
    }
    /* an element length beyond the record: the elements end with it */
    std::vector<uint8_t> v(90, 0);
    v[26] = 0x77;        // BSSID at record byte 30
    v[52] = 0xFF;        // element length field at record byte 56
    v[53] = 0x7F;
    v[80] = 0;           // SSID element at record byte 84 ...
    v[81] = 200;         // ... longer than the record
    Push(0xF102, v);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLMBGet)());
    ASSERT_EQ(4, acs.h.Count);
    EXPECT_EQ(0x77, acs.e[3].BSSID[0]);
    EXPECT_STREQ("", acs.e[3].SSID);
}

TEST(MailboxTrace, ClientsAndRecordsAreLogged)
{
    auto logName = [](int n) { return "\\wllog48E" + std::to_string(n) + ".txt"; };
    for (int n = -1; n <= 9; n++) RemoveFile(logName(n));
    WriteFile("\\wllog.txt", "");
    {
        SimSession s(kVariants[2]);
        int index = 0;
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLMBLogon)(&index));
        std::vector<uint8_t> v = {1, 0};
        ASSERT_EQ(0, SimPushMailbox(s.sim, WLSIM_MB_NOW, 2, 0xF200, v.data(), 2));
        ASSERT_EQ(0, SimPushMailbox(s.sim, WLSIM_MB_NOW, 2, 0xF203, v.data(), 2));
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLMBGet)());
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLMBLogoff)(index));
    }
    std::string log = ReadFile(logName(0));
    RemoveFile("\\wllog.txt");
    for (int n = -1; n <= 9; n++) RemoveFile(logName(n));
    size_t at = 0;
    for (const char *line : {"mbdata_add nic 0170", "obj ", "mailbox received type 0xF200", "F200",
                             "mbdata_find_allnic mbobj ", "mailbox received type 0xF203",
                             "unknown type (0xF201 and 0xF203 apply to AP only)", "mailbox received type 0x0820",
                             "mbdata_find nic 0170, index 1, anchor ", "mbdata_rls nic 0170 index 1"}) {
        size_t next = log.find(line, at);
        EXPECT_NE(std::string::npos, next) << line;
        if (next != std::string::npos) at = next;
    }
}

INSTANTIATE_TEST_SUITE_P(All, Mailbox, testing::ValuesIn(kVariants), VariantName);

}  // namespace
