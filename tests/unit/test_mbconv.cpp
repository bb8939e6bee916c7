// Mailbox record conversions, handing-on into client buffers and the
// management frames, over records built byte by byte.
#include "wlcore/mbconv.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

void Put16(Bytes &b, size_t off, unsigned v)
{
    b[off] = (uint8_t)v;
    b[off + 1] = (uint8_t)(v >> 8);
}

// A record of `bytes` bytes whose len word matches (or is `len` when given).
Bytes Rec(uint16_t typ, size_t bytes, int len = -1)
{
    Bytes r(bytes < 4 ? 4 : bytes, 0);
    Put16(r, 0, len >= 0 ? (unsigned)len : (unsigned)((r.size() - 2) / 2));
    Put16(r, 2, typ);
    return r;
}

void ScanEntryAt(Bytes &r, size_t k, unsigned channel, unsigned l1, unsigned l2, uint8_t last,
                 const std::string &ssid)
{
    size_t e = 4 + k * 50;
    Put16(r, e, channel);
    Put16(r, e + 2, l1);
    Put16(r, e + 4, l2);
    for (int i = 0; i < 6; i++) r[e + 6 + i] = (uint8_t)(0x10 + i);
    r[e + 11] = last;
    Put16(r, e + 12, 100);
    Put16(r, e + 14, 0x0011);
    Put16(r, e + 16, (unsigned)ssid.size());
    memcpy(&r[e + 18], ssid.data(), ssid.size() > 32 ? 32 : ssid.size());
}

template <class E> struct Client {
    MBBufferHeader h;
    E e[4];
    uint8_t guard[64];
    Client(uint32_t type, int32_t cap = 4)
    {
        memset(this, 0, sizeof *this);
        memset(guard, 0xA5, sizeof guard);
        h.TS.Type = type;
        h.TS.Size = sizeof h + sizeof e;
        h.Capacity = cap;
    }
    bool GuardIntact() const
    {
        for (uint8_t c : guard)
            if (c != 0xA5) return false;
        return true;
    }
};

struct Lines {
    std::vector<std::string> log, out;
    static void Log(void *c, const char *t) { static_cast<Lines *>(c)->log.push_back(t); }
    static void Out(void *c, const char *t) { static_cast<Lines *>(c)->out.push_back(t); }
    MbSinks sinks() { return MbSinks{Log, this, Out, this}; }
};

MbSlots Slots(MBBufferHeader *b)
{
    MbSlots s;
    memset(&s, 0, sizeof s);
    s.slot[b->TS.Type - 17] = b;
    return s;
}

void HandOn(const Bytes &r, MBBufferHeader *b, Lines *l)
{
    MbSlots s = Slots(b);
    MbSinks k = l->sinks();
    MbHandOn(r.data(), r.size(), &s, &k);
}

// An 0xF102 record with the given elements.
Bytes AcsRec(const Bytes &ies, uint8_t last = 1, int ieLenField = -1)
{
    Bytes r = Rec(MB_ACS_SCAN, 84 + ies.size() + (ies.size() & 1));
    r[6] = 120;
    r[7] = 60;
    r[8] = 55;
    for (int i = 0; i < 6; i++) r[30 + i] = (uint8_t)(0x20 + i);
    r[35] = last;
    Put16(r, 56, ieLenField >= 0 ? (unsigned)ieLenField : (unsigned)ies.size());
    Put16(r, 70, 6);
    Put16(r, 80, 0x0011);
    Put16(r, 82, 100);
    memcpy(&r[84], ies.data(), ies.size());
    return r;
}

Bytes SsidIe(const std::string &s)
{
    Bytes b = {0, (uint8_t)s.size()};
    b.insert(b.end(), s.begin(), s.end());
    return b;
}

TEST(MbRate, TenthsOfTheKnownRatesElseUnchanged)
{
    const struct { uint8_t in; float out; } cases[] = {{10, 1.0f}, {20, 2.0f}, {55, 5.5f}, {110, 11.0f}, {54, 54.0f}, {0, 0.0f}};
    for (const auto &c : cases) EXPECT_FLOAT_EQ(c.out, MbRate(c.in)) << int(c.in);
}

TEST(WmpFrame, LinkTestRequestIs80BytesWithThePattern)
{
    uint8_t f[WMP_LINK_TEST_LEN];
    const uint8_t dest[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(80u, WmpBuildRequest(f, WMP_LINK_TEST_REQ, dest, 0x1234));
    WmpCompleteHeader(f, 80);
    EXPECT_EQ(0, memcmp(f, dest, 6));
    EXPECT_EQ(0x00, f[12]); // 66, most significant byte first
    EXPECT_EQ(66, f[13]);
    const uint8_t snap[8] = {0xAA, 0xAA, 0x03, kWmpOui[0], kWmpOui[1], kWmpOui[2], 0x00, 0x01};
    EXPECT_EQ(0, memcmp(f + 14, snap, 8));
    EXPECT_EQ(0, f[22]);
    EXPECT_EQ(0, f[23]);
    EXPECT_EQ(0x34, f[24]);
    EXPECT_EQ(0x12, f[25]);
    for (int i = 0; i < 54; i++) EXPECT_EQ(i, f[26 + i]);
}

TEST(WmpFrame, AccessPointListRequestIs24BytesAndKeepsAGivenSnap)
{
    uint8_t f[WMP_LINK_TEST_LEN];
    ASSERT_EQ(24u, WmpBuildRequest(f, WMP_APLIST_REQ, nullptr, 7));
    EXPECT_TRUE(MacIsZero(f));
    EXPECT_EQ(0, f[24]); // no ID in a list request
    f[14] = 0x42;       // a header the caller wrote stays
    WmpCompleteHeader(f, 24);
    EXPECT_EQ(10, f[13]);
    EXPECT_EQ(0x42, f[14]);
    EXPECT_EQ(0, f[15]);
    uint8_t g[6];
    WmpGroupAddress(g);
    EXPECT_EQ(kWmpOui[0] | 1, g[0]);
    EXPECT_EQ(0, g[3]);
    EXPECT_EQ(1, g[4]);
    EXPECT_EQ(0, g[5]);
}

TEST(ScanRecord, EntryCountIsBoundedByTheBytesDelivered)
{
    const struct { size_t bytes; int len; size_t want; } cases[] = {
        {4 + 150, -1, 3}, {4 + 149, -1, 2}, {4 + 150, 801, 3}, {4, 1, 0}, {4, 0, 0}, {2, -1, 0}};
    for (const auto &c : cases) {
        Bytes r = Rec(MB_SCAN, c.bytes, c.len);
        EXPECT_EQ(c.want, ScanEntryCount(r.data(), c.bytes)) << c.bytes << " " << c.len;
    }
    EXPECT_EQ(10u, MbRecordBytes(Rec(MB_SCAN, 10).data(), 1604));
    EXPECT_EQ(12u, MbRecordBytes(Rec(MB_SCAN, 10, 801).data(), 12));
}

TEST(ScanRecord, ResultsCarryBothLevelsAndTheSsid)
{
    Bytes r = Rec(MB_SCAN, 4 + 3 * 50);
    ScanEntryAt(r, 0, 1, 100, 50, 1, "one");
    ScanEntryAt(r, 1, 6, 139, 47, 2, "two");
    ScanEntryAt(r, 2, 36, 48, 138, 3, std::string(40, 'x')); // length field beyond 32
    const struct { int l1, l2, d1, d2; const char *ssid; } want[] = {
        {100, 50, -49, -99, "one"}, {139, 47, -10, -102, "two"}, {48, 138, -101, -11, nullptr}};
    for (size_t k = 0; k < 3; k++) {
        ScanResultBuffer b;
        memset(&b, 0x5A, sizeof b);
        ScanEntryToResult(ScanEntry(r.data(), k), &b);
        EXPECT_EQ(want[k].l1, b.FirstLevelRaw);
        EXPECT_EQ(want[k].l2, b.SecondLevelRaw);
        EXPECT_EQ(want[k].d1, b.FirstLevel);
        EXPECT_EQ(want[k].d2, b.SecondLevel);
        EXPECT_EQ(k + 1, b.BSSID[5]);
        EXPECT_EQ(100, b.FirstWord);
        EXPECT_EQ(0x11, b.SecondWord);
        EXPECT_EQ(std::string(want[k].ssid ? want[k].ssid : std::string(32, 'x').c_str()), b.SSID);
        EXPECT_EQ(0, memcmp(b.Name, "u n k n o w n\0", 14));
        EXPECT_EQ(0x5A5A5A5Au, b.TS.Type);
    }
}

TEST(ScanRecord, EveryEntryMustHaveTheSsid)
{
    Bytes r = Rec(MB_SCAN, 4 + 2 * 50);
    ScanEntryAt(r, 0, 1, 100, 50, 1, "net");
    ScanEntryAt(r, 1, 1, 100, 50, 2, "other");
    const uint8_t *net = (const uint8_t *)"net";
    EXPECT_FALSE(ScanRecordAllSsid(r.data(), r.size(), net, 3));
    ScanEntryAt(r, 1, 1, 100, 50, 2, "net");
    EXPECT_TRUE(ScanRecordAllSsid(r.data(), r.size(), net, 3));
    EXPECT_FALSE(ScanRecordAllSsid(r.data(), r.size(), net, 2));
    Bytes empty = Rec(MB_SCAN, 4);
    EXPECT_FALSE(ScanRecordAllSsid(empty.data(), empty.size(), net, 3));
}

TEST(HandOn, ScanRecordFillsFromTheFirstEntryAndFullBufferOverflows)
{
    Bytes r = Rec(MB_SCAN, 4 + 5 * 50);
    for (size_t k = 0; k < 5; k++) ScanEntryAt(r, k, 1, 100, 50, (uint8_t)k, "n");
    Client<MBScanEntry> c(MBScanBufferType, 4);
    Lines l;
    HandOn(r, &c.h, &l);
    EXPECT_EQ(4, c.h.Count);
    EXPECT_EQ(1, c.h.NewData);
    EXPECT_EQ(1, c.h.Complete);
    EXPECT_EQ(0, c.h.Overflow);
    EXPECT_EQ(3, c.e[3].BSSID[5]);
    EXPECT_STREQ("n", c.e[0].SSID);
    EXPECT_EQ("F101\n", l.log[0]);
    c.h.NewData = 0;
    HandOn(r, &c.h, &l);
    EXPECT_EQ(1, c.h.Overflow);
    EXPECT_EQ(0, c.h.NewData);
    EXPECT_TRUE(c.GuardIntact());
}

TEST(HandOn, BufferSizeBoundsACapacityThatClaimsMore)
{
    Bytes r = Rec(MB_SCAN, 4 + 5 * 50);
    Client<MBScanEntry> c(MBScanBufferType, 1000);
    Lines l;
    HandOn(r, &c.h, &l);
    EXPECT_EQ(4, c.h.Count);
    EXPECT_TRUE(c.GuardIntact());
}

TEST(HandOn, ChannelSelectionScanAppendsDropsDuplicatesAndCompletes)
{
    Client<MBACSScanEntry> c(MBACSScanBufferType, 2);
    Lines l;
    Bytes ies = SsidIe("acs");
    ies.insert(ies.end(), {1, 2, 0x82, 0x96});
    HandOn(AcsRec(ies, 1), &c.h, &l);
    ASSERT_EQ(1, c.h.Count);
    EXPECT_EQ(1, c.h.NewData);
    EXPECT_EQ(0, c.h.Complete);
    EXPECT_STREQ("acs", c.e[0].SSID);
    EXPECT_EQ(-29, c.e[0].FirstLevel);
    EXPECT_FLOAT_EQ(5.5f, c.e[0].Rate);
    EXPECT_EQ(0x0009, c.e[0].DataRate);
    EXPECT_EQ(6, c.e[0].FirstWord);
    EXPECT_EQ(0x11, c.e[0].SecondWord);
    EXPECT_EQ(100, c.e[0].ThirdWord);
    EXPECT_EQ("ssid acs\n", l.out[0]);

    HandOn(AcsRec(ies, 1), &c.h, &l); // same BSSID and SSID
    EXPECT_EQ(1, c.h.Count);
    Bytes megabit = AcsRec(ies, 2);
    megabit[9] = 0x40;
    megabit[8] = 54;
    HandOn(megabit, &c.h, &l);
    EXPECT_EQ(2, c.h.Count);
    EXPECT_FLOAT_EQ(54.0f, c.e[1].Rate);
    HandOn(AcsRec(ies, 3), &c.h, &l);
    EXPECT_EQ(1, c.h.Overflow);
    EXPECT_EQ(0, c.h.Complete);
    HandOn(Rec(MB_ACS_SCAN, 4), &c.h, &l); // the end of the scan
    EXPECT_EQ(1, c.h.Complete);
    EXPECT_EQ(2, c.h.Count);
    EXPECT_TRUE(c.GuardIntact());
}

TEST(HandOn, ChannelSelectionRecordBoundsItsElementLength)
{
    Client<MBACSScanEntry> c(MBACSScanBufferType, 4);
    Lines l;
    // The length field promises 2000 bytes; the SSID element runs past the end.
    HandOn(AcsRec({0, 30, 'a', 'b'}, 1, 2000), &c.h, &l);
    ASSERT_EQ(1, c.h.Count);
    EXPECT_STREQ("", c.e[0].SSID);
    // A record shorter than its fixed part is dropped.
    HandOn(Rec(MB_ACS_SCAN, 60), &c.h, &l);
    EXPECT_EQ(1, c.h.Count);
    EXPECT_EQ("record too short, 60 bytes\n", l.log.back());
}

TEST(HandOn, ValuesGoToTheirSlots)
{
    Client<MBWordEntry> w(MBWordBufferType, 2);
    Client<MBTripleEntry> t(MBTripleBufferType, 1);
    Lines l;
    Bytes r = Rec(MB_WORD, 6);
    Put16(r, 4, 0xBEEF);
    HandOn(r, &w.h, &l);
    HandOn(Rec(MB_WORD, 4), &w.h, &l); // no value: reads as zero
    HandOn(r, &w.h, &l);
    EXPECT_EQ(0xBEEF, w.e[0].Value);
    EXPECT_EQ(0, w.e[1].Value);
    EXPECT_EQ(1, w.h.Overflow);
    Bytes r3 = Rec(MB_TRIPLE, 16);
    r3[4] = 1, r3[8] = 2, r3[12] = 3;
    HandOn(r3, &t.h, &l);
    EXPECT_EQ(1u, t.e[0].Value[0]);
    EXPECT_EQ(3u, t.e[0].Value[2]);
    EXPECT_TRUE(w.GuardIntact() && t.GuardIntact());
}

Bytes LinkTestAnswer(size_t bytes = 124)
{
    Bytes r = Rec(MB_WMP, bytes);
    Bytes full(124, 0);
    full[10] = 100, full[11] = 50, full[12] = 110;
    for (int i = 0; i < 6; i++) full[28 + i] = (uint8_t)(0x30 + i);
    full[85] = 1;
    full[86] = 9;
    memcpy(&full[88], "responder", 9);
    full[120] = 90, full[121] = 80, full[123] = 55;
    memcpy(&r[4], &full[4], (bytes < 124 ? bytes : 124) - 4);
    return r;
}

TEST(HandOn, LinkTestAnswerConvertsAndTruncatedOneIsDropped)
{
    Client<MBLinkTestEntry> c(MBLinkTestBufferType, 2);
    Lines l;
    HandOn(LinkTestAnswer(), &c.h, &l);
    ASSERT_EQ(1, c.h.Count);
    EXPECT_EQ(9, c.e[0].ID);
    EXPECT_STREQ("responder", c.e[0].Name);
    EXPECT_EQ(0x35, c.e[0].Address[5]);
    EXPECT_EQ(-69, c.e[0].RemoteLevel121);
    EXPECT_EQ(-59, c.e[0].RemoteLevel120);
    EXPECT_FLOAT_EQ(5.5f, c.e[0].RemoteRate);
    EXPECT_EQ(-99, c.e[0].LocalLevel11);
    EXPECT_EQ(-49, c.e[0].LocalLevel10);
    EXPECT_FLOAT_EQ(11.0f, c.e[0].LocalRate);
    EXPECT_EQ(1, c.h.Complete);
    EXPECT_EQ("FWMP\n", l.log[0]);
    EXPECT_EQ("FLT\n", l.log[1]);
    for (size_t cut : {4u, 60u, 86u, 100u, 122u}) {
        HandOn(LinkTestAnswer(cut), &c.h, &l);
        EXPECT_EQ(1, c.h.Count) << cut;
    }
    Bytes v1 = LinkTestAnswer();
    v1[84] = 2;
    v1[85] = 5;
    HandOn(v1, &c.h, &l);
    EXPECT_EQ("Version != 0, 2 instead\n", l.log[l.log.size() - 2]);
    EXPECT_EQ("PDU_Type != 1 or 3, 5 instead\n", l.log.back());
    EXPECT_TRUE(c.GuardIntact());
}

Bytes ApList(int count, size_t entries)
{
    Bytes r = Rec(MB_WMP, 87 + 42 * entries + 1);
    r[85] = 3;
    r[86] = (uint8_t)count;
    for (size_t k = 0; k < entries; k++) {
        r[87 + 42 * k] = (uint8_t)(0x40 + k);
        r[87 + 42 * k + 10] = (uint8_t)('A' + k);
    }
    return r;
}

TEST(HandOn, AccessPointListEntryKComesFromPositionK)
{
    Client<MBAPListEntry> c(MBAPListBufferType, 4);
    Lines l;
    HandOn(ApList(2, 2), &c.h, &l);
    ASSERT_EQ(2, c.h.Count);
    EXPECT_STREQ("A", c.e[0].Name);
    EXPECT_STREQ("B", c.e[1].Name);
    // A second list while two entries are held: its entries from position 0.
    HandOn(ApList(3, 3), &c.h, &l);
    EXPECT_EQ(4, c.h.Count);
    EXPECT_STREQ("A", c.e[2].Name);
    EXPECT_EQ(0x40, c.e[2].Address[0]);
    EXPECT_STREQ("B", c.e[3].Name);
    EXPECT_EQ("FAPL\n", l.log[1]);
    EXPECT_TRUE(c.GuardIntact());
}

TEST(HandOn, AccessPointListCountBeyondTheRecordTakesWholeEntriesOnly)
{
    Client<MBAPListEntry> c(MBAPListBufferType, 4);
    Lines l;
    HandOn(ApList(200, 1), &c.h, &l);
    EXPECT_EQ(1, c.h.Count);
    EXPECT_EQ(0u, ApListEntryCount(ApList(5, 0).data(), 86));
    EXPECT_TRUE(c.GuardIntact());
}

TEST(HandOn, OtherTypesAndSlotsWithoutBufferAreIgnored)
{
    Lines l;
    MbSlots none;
    memset(&none, 0, sizeof none);
    MbSinks k = l.sinks();
    Bytes r = Rec(0xF201, 8);
    MbHandOn(r.data(), r.size(), &none, &k);
    EXPECT_EQ("unknown type (0xF201 and 0xF203 apply to AP only)\n", l.log[0]);
    Bytes s = Rec(MB_SCAN, 54);
    MbHandOn(s.data(), s.size(), &none, &k);
    EXPECT_EQ("F101\n", l.log[1]);
}

TEST(MbBuffer, UsableCapacity)
{
    MBBufferHeader h;
    memset(&h, 0, sizeof h);
    const struct { uint32_t type; uint32_t size; int32_t cap; int32_t want; } cases[] = {
        {17, 24 + 64 * 3, 3, 3}, {17, 24 + 64 * 3, 9, 3}, {17, 24 + 64 * 3, -1, 0}, {17, 10, 3, 0},
        {23, 1000, 3, 0},        {22, 24 + 43, 1, 1},    {19, 24 + 5, 8, 2}};
    for (const auto &c : cases) {
        h.TS.Type = c.type;
        h.TS.Size = c.size;
        h.Capacity = c.cap;
        EXPECT_EQ(c.want, MbUsableCapacity(&h, c.type)) << c.type << " " << c.size << " " << c.cap;
    }
    // A client that changes its buffer's type after registering it: the
    // slot's entry size still bounds what is written.
    h.TS.Type = MBWordBufferType;
    h.TS.Size = 24 + 64;
    h.Capacity = 40;
    EXPECT_EQ(1, MbUsableCapacity(&h, MBScanBufferType));
}

TEST(HandOn, RetypedBufferIsFilledByItsSlotsEntrySize)
{
    Client<MBScanEntry> c(MBScanBufferType, 4);
    c.h.TS.Type = MBWordBufferType; // changed after WLMBSet
    Bytes r = Rec(MB_SCAN, 4 + 5 * 50);
    MbSlots s;
    memset(&s, 0, sizeof s);
    s.slot[MBScanBufferType - 17] = &c.h;
    Lines l;
    MbSinks k = l.sinks();
    MbHandOn(r.data(), r.size(), &s, &k);
    EXPECT_EQ(4, c.h.Count);
    EXPECT_TRUE(c.GuardIntact());
}

}  // namespace
