// The stand-in's radio world, driven through the exchange handling:
// mailbox order and bounds, scans, link test and access point list answers,
// association and its loss.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "simcore.h"
#include "simworld.h"

namespace {

struct Block {
    std::vector<uint8_t> b = std::vector<uint8_t>(WLSIM_BLOCK_SIZE, 0);
    uint16_t W(size_t off) const
    {
        uint16_t v;
        std::memcpy(&v, &b[off], 2);
        return v;
    }
    void SetW(size_t off, uint16_t v) { std::memcpy(&b[off], &v, 2); }
};

const uint8_t kAp1[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x01};
const uint8_t kAp2[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x02};
const uint8_t kPeer[6] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x03};
const uint8_t kSnap[8] = {0xAA, 0xAA, 0x03, WLSIM_OUI0, WLSIM_OUI1, WLSIM_OUI2, 0x00, 0x01};

WlSimStation Station(const uint8_t *bssid, const char *ssid, uint8_t channel, uint8_t level,
                     uint16_t cap)
{
    WlSimStation s;
    std::memset(&s, 0, sizeof s);
    std::memcpy(s.bssid, bssid, 6);
    s.channel = channel;
    s.band = channel > 14 ? WLSIM_BAND_5GHZ : WLSIM_BAND_2GHZ;
    s.capability = cap;
    s.level1 = level;
    s.level2 = 40;
    s.inRange = 1;
    s.ssidLen = (uint8_t)std::strlen(ssid);
    std::memcpy(s.ssid, ssid, s.ssidLen);
    std::strncpy(s.name, ssid, sizeof s.name);
    s.nRates = 2;
    s.rates[0] = 0x82;
    s.rates[1] = 0x96;
    return s;
}

class World : public testing::Test {
protected:
    void SetUp() override
    {
        SimCoreInit();
        WlSimAddAdapter req;
        std::memset(&req, 0, sizeof req);
        req.nNames = 1;
        std::strcpy(req.names[0], "world0");
        ASSERT_EQ(SIM_OK, SimCoreAddAdapter(&req, &adapter_));
    }
    void TearDown() override { SimCoreShutdown(); }

    Block X(uint16_t op, uint16_t len, uint16_t typ, const void *val = nullptr, size_t bytes = 0)
    {
        Block k;
        k.SetW(6, op);
        k.SetW(8, len);
        k.SetW(10, typ);
        if (bytes) std::memcpy(&k.b[12], val, bytes);
        uint32_t id = WLSIM_OBJECT_ID, fail = 0;
        EXPECT_EQ(SIM_XCHG_ANSWERED, SimCoreExchange(0, &id, 4, k.b.data(), WLSIM_BLOCK_SIZE, &fail));
        return k;
    }
    Block Read(uint16_t asked = 1153) { return X(WLSIM_OP_GET_INFO, asked, WLSIM_MB_REQUEST); }
    void Action(uint16_t code) { X(WLSIM_OP_ACTION, 0, code); }
    std::vector<uint16_t> Rec(uint16_t typ)
    {
        std::vector<uint16_t> v(40, 0);
        int len = SimCoreRecordRead(adapter_, typ, v.data(), 40);
        v.resize(len > 0 ? len - 1 : 0);
        return v;
    }
    void SetWord(uint16_t typ, uint16_t v) { ASSERT_EQ(SIM_OK, SimCoreRecordStore(adapter_, typ, 2, &v)); }
    void SetSsid(uint16_t typ, const char *ssid)
    {
        uint16_t r[17] = {0};
        r[0] = (uint16_t)std::strlen(ssid);
        std::memcpy(&r[1], ssid, r[0]);
        ASSERT_EQ(SIM_OK, SimCoreRecordStore(adapter_, typ, 18, r));
    }
    // A management frame as the library sends it.
    void Send(const uint8_t *dest, uint8_t pdu, uint16_t id, size_t len)
    {
        std::vector<uint8_t> f(len, 0);
        std::memcpy(&f[0], dest, 6);
        f[12] = (uint8_t)((len - 14) >> 8);
        f[13] = (uint8_t)(len - 14);
        std::memcpy(&f[14], kSnap, 8);
        f[23] = pdu;
        std::memcpy(&f[24], &id, 2);
        X(WLSIM_OP_SEND_DIAG_MSG, (uint16_t)len, 0, f.data(), len);
    }
    WlSimMailboxState Mb()
    {
        WlSimMailboxState m;
        EXPECT_EQ(SIM_OK, SimWorldMailboxState(adapter_, &m));
        return m;
    }
    int32_t adapter_ = -1;
};

TEST_F(World, EmptyMailboxAnswersItsOwnType)
{
    Block k = Read();
    EXPECT_EQ(1, k.W(8));
    EXPECT_EQ(WLSIM_MB_REQUEST, k.W(10));
    EXPECT_EQ(1u, Mb().emptyReads);
}

TEST_F(World, MailboxIsFirstInFirstOutAndClampedToTheRequest)
{
    uint8_t v[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF200, 0, v, 2, WLSIM_MB_NOW));
    ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF202, 0, v, 8, WLSIM_MB_NOW));
    Block a = Read();
    EXPECT_EQ(0xF200, a.W(10));
    EXPECT_EQ(2, a.W(8));
    Block b = Read(3); // room for typ and 2 values only
    EXPECT_EQ(0xF202, b.W(10));
    EXPECT_EQ(3, b.W(8));
    EXPECT_EQ(0x0201, b.W(12));
    EXPECT_EQ(WLSIM_MB_REQUEST, Read().W(10));
}

TEST_F(World, FullMailboxDropsTheOldestAndCounts)
{
    for (uint16_t i = 0; i < WLSIM_MB_KEEP + 3; i++)
        ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF200, 0, &i, 2, WLSIM_MB_NOW));
    EXPECT_EQ(3u, Mb().dropped);
    EXPECT_EQ(WLSIM_MB_KEEP, Mb().queued);
    EXPECT_EQ(3, Read().W(12)); // records 0 to 2 went
}

TEST_F(World, HostileLenIsAnsweredWithZerosNotMemory)
{
    uint8_t v[2] = {0xAB, 0xCD};
    ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF101, 801, v, 2, WLSIM_MB_NOW));
    Block k = Read();
    EXPECT_EQ(801, k.W(8));
    EXPECT_EQ(0xCDAB, k.W(12));
    EXPECT_EQ(0, k.W(14));
    EXPECT_EQ(0, k.W(12 + 1598));
    EXPECT_EQ(SIM_E_PARAM, SimMailboxPush(adapter_, 0xF101, 1154, v, 2, WLSIM_MB_NOW));
    EXPECT_EQ(SIM_E_PARAM, SimMailboxPush(adapter_, 0xF101, 0, v, WLSIM_MB_VALUE_MAX + 1, WLSIM_MB_NOW));
}

TEST_F(World, StickyRecordNeverLeaves)
{
    uint16_t v = 7;
    ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF200, 0, &v, 2, WLSIM_MB_STICKY));
    for (int i = 0; i < 5; i++) EXPECT_EQ(0xF200, Read().W(10));
    ASSERT_EQ(SIM_OK, SimWorldMailboxClear(adapter_));
    EXPECT_EQ(WLSIM_MB_REQUEST, Read().W(10));
}

TEST_F(World, ScanListsInRangeStationsMatchingTheScanSsid)
{
    WlSimStation a = Station(kAp1, "alpha", 1, 120, WLSIM_CAP_ESS);
    WlSimStation b = Station(kAp2, "beta", 36, 90, WLSIM_CAP_ESS);
    WlSimStation c = Station(kPeer, "alpha", 6, 80, 0x0002);
    c.inRange = 0;
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&b));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&c));

    Action(WLSIM_ACTION_SCAN);
    Block k = Read(801);
    ASSERT_EQ(WLSIM_MB_SCAN, k.W(10));
    ASSERT_EQ(1 + 2 * 50 / 2, k.W(8));
    EXPECT_EQ(1, k.W(12));          // channel
    EXPECT_EQ(120, k.W(14));        // first level
    EXPECT_EQ(0, std::memcmp(&k.b[12 + 6], kAp1, 6));
    EXPECT_EQ(WLSIM_CAP_ESS, k.W(12 + 14));
    EXPECT_EQ(5, k.W(12 + 16));
    EXPECT_EQ(0, std::memcmp(&k.b[12 + 18], "alpha", 5));
    EXPECT_EQ(36, k.W(12 + 50));

    SetSsid(0xFCB2, "beta");
    Action(WLSIM_ACTION_SCAN);
    EXPECT_EQ(1 + 50 / 2, Read(801).W(8));
    SetSsid(0xFCB2, "gamma");
    Action(WLSIM_ACTION_SCAN);
    Block none = Read(801);
    EXPECT_EQ(WLSIM_MB_SCAN, none.W(10));
    EXPECT_EQ(1, none.W(8));
}

TEST_F(World, HeldRecordsComeBeforeTheScansOwn)
{
    WlSimStation a = Station(kAp1, "alpha", 1, 120, WLSIM_CAP_ESS);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    uint16_t v = 9;
    ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF200, 0, &v, 2, WLSIM_MB_AFTER_SCAN));
    EXPECT_EQ(WLSIM_MB_REQUEST, Read().W(10));
    Action(WLSIM_ACTION_SCAN);
    EXPECT_EQ(0xF200, Read().W(10));
    EXPECT_EQ(WLSIM_MB_SCAN, Read().W(10));
}

TEST_F(World, ChannelSelectionScanFollowsChannelSetsAndProbeRates)
{
    WlSimStation a = Station(kAp1, "alpha", 1, 120, WLSIM_CAP_ESS);
    WlSimStation b = Station(kAp2, "beta", 6, 90, WLSIM_CAP_ESS);
    WlSimStation c = Station(kPeer, "five", 36, 90, WLSIM_CAP_ESS);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&b));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&c));
    uint16_t sets[4] = {0x0001, 0xFFFF, 0, 0}; // 2.4 GHz: channel 1 only
    ASSERT_EQ(SIM_OK, SimCoreRecordStore(adapter_, 0xFCC2, 5, sets));
    uint16_t rates[2] = {0x0008, 0x0800}; // 11 Mb/s; 54 Mb/s
    ASSERT_EQ(SIM_OK, SimCoreRecordStore(adapter_, 0xFCC5, 3, rates));

    Action(WLSIM_ACTION_ACS_SCAN);
    Block k = Read();
    ASSERT_EQ(WLSIM_MB_ACS_SCAN, k.W(10));
    EXPECT_EQ(120, k.b[8 + 6]);
    EXPECT_EQ(110, k.b[8 + 8]); // 11 Mb/s in tenths
    EXPECT_EQ(0, k.b[8 + 9]);
    EXPECT_EQ(0, std::memcmp(&k.b[8 + 30], kAp1, 6));
    uint16_t ieLen = k.W(8 + 56);
    EXPECT_EQ(2 * k.W(8) + 2u, WLSIM_ACS_IE_OFFSET + ieLen + (ieLen & 1));
    EXPECT_EQ(0, k.b[8 + 84]); // SSID element first
    EXPECT_EQ(5, k.b[8 + 85]);
    Block f = Read();
    ASSERT_EQ(WLSIM_MB_ACS_SCAN, f.W(10));
    EXPECT_EQ(54, f.b[8 + 8]); // 54 Mb/s in Mb/s
    EXPECT_EQ(0x40, f.b[8 + 9]);
    Block end = Read();
    EXPECT_EQ(WLSIM_MB_ACS_SCAN, end.W(10));
    EXPECT_EQ(1, end.W(8));
    EXPECT_EQ(WLSIM_MB_REQUEST, Read().W(10));
}

TEST_F(World, LinkTestIsAnsweredOnlyByAStationInRange)
{
    WlSimStation a = Station(kAp1, "alpha", 1, 120, WLSIM_CAP_ESS);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    Send(kAp1, WLSIM_WMP_LINK_TEST_REQ, 0x1234, 80);
    Block k = Read();
    ASSERT_EQ(WLSIM_MB_WMP, k.W(10));
    ASSERT_EQ(WLSIM_LINK_TEST_BYTES, 2u * k.W(8) + 2);
    const uint8_t *r = &k.b[8];
    EXPECT_EQ(120, r[10]);
    EXPECT_EQ(0, std::memcmp(r + 28, kAp1, 6));
    EXPECT_EQ(0, r[84]);
    EXPECT_EQ(1, r[85]);
    EXPECT_EQ(0x34, r[86]);
    EXPECT_EQ(0x12, r[87]);
    EXPECT_STREQ("alpha", (const char *)r + 88);
    EXPECT_EQ(110, r[123]);
    EXPECT_EQ(0, std::memcmp(r + 62 + 14, kSnap, 8));

    a.inRange = 0;
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    Send(kAp1, WLSIM_WMP_LINK_TEST_REQ, 1, 80);
    Send(kAp2, WLSIM_WMP_LINK_TEST_REQ, 1, 80);
    EXPECT_EQ(WLSIM_MB_REQUEST, Read().W(10));
}

TEST_F(World, AccessPointListNamesTheBaseStationsInRange)
{
    WlSimStation a = Station(kAp1, "alpha", 1, 120, WLSIM_CAP_ESS);
    WlSimStation b = Station(kAp2, "beta", 6, 90, WLSIM_CAP_ESS);
    WlSimStation c = Station(kPeer, "peer", 6, 90, 0x0002);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&b));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&c));
    Send(kAp1, WLSIM_WMP_APLIST_REQ, 0, 24);
    Block k = Read();
    ASSERT_EQ(WLSIM_MB_WMP, k.W(10));
    const uint8_t *r = &k.b[8];
    EXPECT_EQ(3, r[85]);
    ASSERT_EQ(2, r[86]);
    EXPECT_EQ(0, std::memcmp(r + 87, kAp1, 6));
    EXPECT_STREQ("alpha", (const char *)r + 87 + 10);
    EXPECT_EQ(0, std::memcmp(r + 87 + 42, kAp2, 6));
    EXPECT_GE(2u * k.W(8) + 2, 87u + 2 * 42);
}

TEST_F(World, ApplyJoinsTheStrongestMatchingBaseStation)
{
    // Before any station the stored link records stay as they are.
    Action(WLSIM_ACTION_APPLY);
    EXPECT_EQ(4, Rec(0xFD40)[0]);

    WlSimStation weak = Station(kAp1, "net", 1, 90, WLSIM_CAP_ESS);
    WlSimStation strong = Station(kAp2, "net", 11, 130, WLSIM_CAP_ESS);
    WlSimStation locked = Station(kPeer, "net", 6, 150, WLSIM_CAP_ESS | WLSIM_CAP_PRIVACY);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&weak));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&strong));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&locked));
    SetSsid(0xFC02, "net");
    SetWord(0xFC20, 0);
    Action(WLSIM_ACTION_APPLY);
    EXPECT_EQ(WLSIM_PORT_STATUS_ESS, Rec(0xFD40)[0]);
    std::vector<uint16_t> bssid = Rec(0xFD42);
    EXPECT_EQ(0, std::memcmp(bssid.data(), kAp2, 6));
    EXPECT_EQ(11, Rec(0xFDC1)[0]);
    EXPECT_EQ(3, Rec(0xFD41)[0]);
    EXPECT_EQ(130 - 40, Rec(0xFD43)[0]);

    // Encryption on: only the station that announces privacy.
    SetWord(0xFC20, 1);
    Action(WLSIM_ACTION_RESET);
    bssid = Rec(0xFD42);
    EXPECT_EQ(0, std::memcmp(bssid.data(), kPeer, 6));

    SetSsid(0xFC02, "other");
    Action(WLSIM_ACTION_APPLY);
    EXPECT_EQ(WLSIM_PORT_STATUS_NO_LINK, Rec(0xFD40)[0]);
    EXPECT_EQ(std::vector<uint16_t>(3, 0), Rec(0xFD42));
}

TEST_F(World, LinkDropsWhenTheJoinedStationLeavesOrGoes)
{
    WlSimStation a = Station(kAp1, "net", 1, 120, WLSIM_CAP_ESS);
    WlSimStation b = Station(kAp2, "net", 6, 100, WLSIM_CAP_ESS);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&b));
    SetSsid(0xFC02, "net");
    Action(WLSIM_ACTION_APPLY);
    ASSERT_EQ(WLSIM_PORT_STATUS_ESS, Rec(0xFD40)[0]);

    a.level1 = 80; // weakened: still joined, quality follows
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&a));
    EXPECT_EQ(80 - 40, Rec(0xFD43)[0]);
    EXPECT_EQ(WLSIM_PORT_STATUS_ESS, Rec(0xFD40)[0]);

    WlSimStationKey key;
    std::memcpy(key.bssid, kAp1, 6);
    ASSERT_EQ(SIM_OK, SimWorldRemoveStation(&key));
    EXPECT_EQ(WLSIM_PORT_STATUS_NO_LINK, Rec(0xFD40)[0]);
    EXPECT_EQ(std::vector<uint16_t>(3, 0), Rec(0xFD42));
    EXPECT_EQ(-1, Mb().joined);

    Action(WLSIM_ACTION_APPLY); // joins the other one
    EXPECT_EQ(0, std::memcmp(Rec(0xFD42).data(), kAp2, 6));
    b.inRange = 0;
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&b));
    EXPECT_EQ(WLSIM_PORT_STATUS_NO_LINK, Rec(0xFD40)[0]);
}

TEST_F(World, PeerToPeerModeReportsItsStateAndPeer)
{
    WlSimStation p = Station(kPeer, "adhoc", 6, 100, 0x0002);
    ASSERT_EQ(SIM_OK, SimWorldPutStation(&p));
    SetWord(0x0908, 1);
    SetSsid(0xFC02, "adhoc");
    Action(WLSIM_ACTION_APPLY);
    EXPECT_EQ(WLSIM_PORT_STATUS_IBSS, Rec(0xFD40)[0]);
    EXPECT_EQ(0, std::memcmp(Rec(0xFD42).data(), kPeer, 6));
    WlSimStationKey key;
    std::memcpy(key.bssid, kPeer, 6);
    ASSERT_EQ(SIM_OK, SimWorldRemoveStation(&key));
    EXPECT_EQ(WLSIM_PORT_STATUS_IBSS, Rec(0xFD40)[0]);
    EXPECT_EQ(std::vector<uint16_t>(3, 0), Rec(0xFD42));
}

TEST_F(World, RemovedAdapterLeavesNoMailbox)
{
    uint16_t v = 1;
    ASSERT_EQ(SIM_OK, SimMailboxPush(adapter_, 0xF200, 0, &v, 2, WLSIM_MB_NOW));
    ASSERT_EQ(SIM_OK, SimCoreRemoveAdapter(adapter_));
    EXPECT_EQ(SIM_E_NOT_FOUND, SimMailboxPush(adapter_, 0xF200, 0, &v, 2, WLSIM_MB_NOW));
    WlSimMailboxState m;
    EXPECT_EQ(SIM_E_NOT_FOUND, SimWorldMailboxState(adapter_, &m));
}

}  // namespace
