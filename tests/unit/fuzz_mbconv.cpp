// Randomised robustness test of the mailbox record conversions: random and
// half-plausible records of every mailbox type, with length words, entry
// counts and element lengths that disagree with the bytes delivered. Each
// record ends at an inaccessible guard page, so a read past its end faults;
// the client buffers carry guard bytes that must stay. Fixed seed: the run
// is repeatable.
#include "wlcore/mbconv.h"

#include "fuzz_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <vector>

namespace {

using fuzz::Bytes;
using fuzz::GuardedPage;
using fuzz::Rng;

template <class E> struct Client {
    MBBufferHeader h;
    E e[3];
    uint8_t guard[32];
    void Reset(uint32_t type, Rng &rng)
    {
        memset(this, 0, sizeof *this);
        memset(guard, 0xA5, sizeof guard);
        h.TS.Type = type;
        h.TS.Size = sizeof h + sizeof e;
        h.Capacity = rng.OneIn(8) ? (int32_t)rng.Next() : 3; // a client's nonsense too
        h.Count = rng.OneIn(8) ? (int32_t)rng.Below(6) - 1 : 0;
        if (rng.OneIn(16)) h.TS.Type = 17 + rng.Below(7); // retyped after registering
    }
    bool Sound() const
    {
        for (uint8_t c : guard)
            if (c != 0xA5) return false;
        // what the library filled stays within the three entries
        return !h.NewData || (h.Count >= 0 && h.Count <= 3);
    }
};

const uint16_t kTypes[] = {MB_SCAN, MB_ACS_SCAN, MB_WMP, MB_WMP, MB_WORD, MB_TRIPLE, 0xF201, MB_REQUEST};

Bytes Record(Rng &rng)
{
    uint16_t typ = kTypes[rng.Below(sizeof kTypes / sizeof kTypes[0])];
    size_t n;
    switch (rng.Below(4)) {
    case 0: n = rng.Below(8) + 2; break;
    case 1: n = 80 + rng.Below(60); break; // around the fixed parts
    case 2: n = 4 + 50 * rng.Below(33) + rng.Below(3); break;
    default: n = rng.Below(MB_SCAN_MAX * MB_SCAN_ENTRY + 708); break;
    }
    if (n < 2) n = 2;
    Bytes r(n);
    for (auto &b : r) b = (uint8_t)rng.Next();
    unsigned len = (unsigned)(n - 2) / 2;
    if (rng.OneIn(3)) len = rng.OneIn(2) ? rng.Below(0x10000) : len + 1 + rng.Below(100);
    if (rng.OneIn(10)) len = 1;
    r[0] = (uint8_t)len;
    r[1] = (uint8_t)(len >> 8);
    if (n >= 4) {
        r[2] = (uint8_t)typ;
        r[3] = (uint8_t)(typ >> 8);
    }
    if (typ == MB_WMP && n > 86) {
        r[84] = rng.OneIn(8) ? 1 : 0;
        r[85] = rng.OneIn(2) ? 1 : 3;
    }
    if (typ == MB_ACS_SCAN && n > 90) {
        // plausible elements behind a length field that may lie
        size_t ies = n - 84;
        unsigned field = rng.OneIn(2) ? (unsigned)ies : rng.Below(0x10000);
        r[56] = (uint8_t)field;
        r[57] = (uint8_t)(field >> 8);
        size_t pos = 84;
        while (pos + 2 <= n) {
            const uint8_t ids[] = {0, 1, 50, 48, 221};
            r[pos] = ids[rng.Below(5)];
            r[pos + 1] = (uint8_t)(rng.OneIn(4) ? rng.Next() : rng.Below(24));
            pos += 2 + r[pos + 1];
        }
    }
    return r;
}

TEST(MbConvFuzz, HostileRecordsStayInsideRecordAndBuffers)
{
    static GuardedPage guard;
    ASSERT_NE(nullptr, guard.page);
    Rng rng = {0x9E3779B97F4A7C15ULL};
    const int kCases = 150000;
    int ran = 0, guarded = 0, broken = 0;
    static Client<MBScanEntry> scan;
    static Client<MBACSScanEntry> acs;
    static Client<MBWordEntry> word;
    static Client<MBTripleEntry> triple;
    static Client<MBLinkTestEntry> lt;
    static Client<MBAPListEntry> apl;
    MbSinks sinks = {nullptr, nullptr, nullptr, nullptr};
    for (int i = 0; i < kCases; i++) {
        Bytes r = Record(rng);
        const uint8_t *rec = guard.Place(r);
        ASSERT_NE(nullptr, rec);
        guarded++;
        size_t bytes = MbRecordBytes(rec, r.size());
        scan.Reset(MBScanBufferType, rng);
        acs.Reset(MBACSScanBufferType, rng);
        word.Reset(MBWordBufferType, rng);
        triple.Reset(MBTripleBufferType, rng);
        lt.Reset(MBLinkTestBufferType, rng);
        apl.Reset(MBAPListBufferType, rng);
        MbSlots slots = {{&scan.h, &acs.h, &word.h, &triple.h, &lt.h, &apl.h}};
        MbHandOn(rec, bytes, &slots, &sinks);

        size_t n = ScanEntryCount(rec, bytes);
        if (4 + n * MB_SCAN_ENTRY > bytes && n) broken++;
        for (size_t k = 0; k < n; k++) {
            ScanResultBuffer b;
            ScanEntryToResult(ScanEntry(rec, k), &b);
            if (b.SSID[32] != 0 || b.Name[13] != 0) broken++;
        }
        ScanRecordAllSsid(rec, bytes, (const uint8_t *)"net", 3);
        MBACSScanEntry a;
        AcsRecordToMb(rec, bytes, &a, &sinks);
        MBLinkTestEntry l;
        LinkTestToMb(rec, bytes, &l);
        if (MB_APLIST_FIRST + ApListEntryCount(rec, bytes) * MB_APLIST_ENTRY > bytes &&
            ApListEntryCount(rec, bytes))
            broken++;
        if (!scan.Sound() || !acs.Sound() || !word.Sound() || !triple.Sound() || !lt.Sound() ||
            !apl.Sound())
            broken++;
        ran++;
    }
    printf("fuzz_mbconv: %d mailbox records converted, %d of them against a guard page, %d broken\n",
           ran, guarded, broken);
    RecordProperty("cases", ran);
    EXPECT_EQ(0, broken);
    EXPECT_GE(ran, 100000);
}

}  // namespace
