// Information element walk, RSN/WPA element parser, rate bits and the
// decoding of (re)association requests.
#include "wlcore/ie_parse.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "support/elements.h"

namespace {

const auto Ie = Element;
const auto SsidIe = Ssid;

// 802.11g station: 1, 2, 5.5, 11 (basic), 6, 9, 12, 18 Mb/s, then 24, 36,
// 48, 54 Mb/s in the extended rates element.
const Bytes kRatesG = {0x01, 0x08, 0x82, 0x84, 0x8B, 0x96,
                       0x0C, 0x12, 0x18, 0x24};
const Bytes kExtRatesG = {0x32, 0x04, 0x30, 0x48, 0x60, 0x6C};
// 802.11b station.
const Bytes kRatesB = {0x01, 0x04, 0x82, 0x84, 0x0B, 0x16};

// WPA element: version 1, TKIP group, one TKIP pairwise, one PSK suite.
const Bytes kWpaPskTkip = {
    0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00,
    0x00, 0x50, 0xF2, 0x02,                         // group TKIP
    0x01, 0x00, 0x00, 0x50, 0xF2, 0x02,             // 1 pairwise: TKIP
    0x01, 0x00, 0x00, 0x50, 0xF2, 0x02};            // 1 key mgmt: PSK

// WPA element: TKIP group, pairwise TKIP and CCMP, 802.1X.
const Bytes kWpaEapTkipCcmp = {
    0xDD, 0x1A, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00,
    0x00, 0x50, 0xF2, 0x02,
    0x02, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x00, 0x50, 0xF2, 0x04,
    0x01, 0x00, 0x00, 0x50, 0xF2, 0x01};

// RSN element as the adapter's firmware writes it (suite identifier
// 00 00 00): CCMP group, CCMP pairwise, 802.1X, capabilities 0x000C.
const Bytes kRsnEapCcmp = {
    0x30, 0x14, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x04,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x04,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x0C, 0x00};

// The same with PSK and a TKIP group for mixed networks.
const Bytes kRsnPskTkipCcmp = {
    0x30, 0x14, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x02,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x04,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x02,
    0x00, 0x00};

// Vendor element of the WMM information element (00 50 F2, type 2).
const Bytes kWmmInfo = {0xDD, 0x07, 0x00, 0x50, 0xF2, 0x02, 0x00, 0x01, 0x00};

struct Capture {
    std::vector<std::string> lines;
};

void CaptureSink(void *ctx, const char *text)
{
    static_cast<Capture *>(ctx)->lines.push_back(text);
}

// Copies `b` into a heap block of exactly its size, so that a bounds
// checking build catches any read past the end.
struct Exact {
    explicit Exact(const Bytes &b) : size(b.size()), mem(new uint8_t[b.size()])
    {
        std::copy(b.begin(), b.end(), mem.get());
    }
    const uint8_t *data() const { return mem.get(); }
    size_t size;
    std::unique_ptr<uint8_t[]> mem;
};

// Value area of record 0xFD8C: reassociation, capability, listen interval,
// the current access point for a reassociation, then the elements.
Bytes AssocValue(bool reassoc, uint16_t cap, uint16_t listen,
                 const Bytes &ies)
{
    Bytes v = {static_cast<uint8_t>(reassoc ? 1 : 0), 0,
               static_cast<uint8_t>(cap & 0xFF), static_cast<uint8_t>(cap >> 8),
               static_cast<uint8_t>(listen & 0xFF),
               static_cast<uint8_t>(listen >> 8)};
    if (reassoc) {
        const Bytes ap = {0x00, 0x02, 0x6F, 0x11, 0x22, 0x33};
        v.insert(v.end(), ap.begin(), ap.end());
    }
    v.insert(v.end(), ies.begin(), ies.end());
    return v;
}

struct Bits {
    uint8_t group = 0;
    uint8_t pairwise = 0;
    uint8_t keymgmt = 0;
};

IeWalkResult Walk(const Bytes &ies, uint8_t id, Bits *bits,
                  Capture *cap = nullptr)
{
    Exact buf(ies);
    return RsnWpaParse(buf.data(), buf.size, id, &bits->group,
                       &bits->pairwise, &bits->keymgmt,
                       cap ? CaptureSink : nullptr, cap);
}

// ---------------------------------------------------------------- IeFind

TEST(IeFind, FindsFirstElementWithIdentifier)
{
    Bytes ies = Cat({SsidIe("HomeNet"), kRatesG, Ie(IE_ID_SSID, {'x'})});
    Exact buf(ies);
    IeElement el;
    ASSERT_TRUE(IeFind(buf.data(), buf.size, IE_ID_SUPPORTED_RATES, &el));
    EXPECT_EQ(IE_ID_SUPPORTED_RATES, el.id);
    EXPECT_EQ(buf.data() + 9 + 2, el.data);
    EXPECT_EQ(8u, el.len);

    ASSERT_TRUE(IeFind(buf.data(), buf.size, IE_ID_SSID, &el));
    EXPECT_EQ(7u, el.len);
    EXPECT_EQ(0, memcmp(el.data, "HomeNet", 7));

    EXPECT_FALSE(IeFind(buf.data(), buf.size, IE_ID_RSN, &el));
}

TEST(IeFind, EmptyAndZeroLengthElements)
{
    IeElement el;
    EXPECT_FALSE(IeFind(nullptr, 0, IE_ID_SSID, &el));
    Exact empty(Bytes{});
    EXPECT_FALSE(IeFind(empty.data(), 0, IE_ID_SSID, &el));

    // A hidden network's empty SSID element is a valid element.
    Exact hidden(Cat({Ie(IE_ID_SSID, {}), kRatesB}));
    ASSERT_TRUE(IeFind(hidden.data(), hidden.size, IE_ID_SSID, &el));
    EXPECT_EQ(0u, el.len);
    ASSERT_TRUE(IeFind(hidden.data(), hidden.size, IE_ID_SUPPORTED_RATES,
                       &el));
    EXPECT_EQ(4u, el.len);
}

TEST(IeFind, ElementEndingExactlyAtSpanEndIsFound)
{
    Exact buf(Cat({SsidIe("a"), kExtRatesG}));
    IeElement el;
    ASSERT_TRUE(IeFind(buf.data(), buf.size, IE_ID_EXTENDED_RATES, &el));
    EXPECT_EQ(buf.data() + buf.size, el.data + el.len);
}

TEST(IeFind, LengthBeyondSpanEndsTheWalk)
{
    // The rates element claims 9 bytes but only 8 follow.
    Bytes ies = Cat({SsidIe("net"), kRatesG});
    ies[5 + 1] = 9;
    Exact buf(ies);
    IeElement el;
    EXPECT_FALSE(IeFind(buf.data(), buf.size, IE_ID_SUPPORTED_RATES, &el));
    EXPECT_TRUE(IeFind(buf.data(), buf.size, IE_ID_SSID, &el));

    // Nothing behind an overlong element is trusted either.
    Bytes behind = Cat({Ie(7, {1, 2}), kRsnEapCcmp});
    behind[1] = 0xFF;
    Exact buf2(behind);
    EXPECT_FALSE(IeFind(buf2.data(), buf2.size, IE_ID_RSN, &el));
}

TEST(IeFind, LoneIdentifierByteAtEndIsNotAnElement)
{
    // A record padded to a word boundary leaves one stray byte.
    Exact buf(Cat({SsidIe("ab"), Bytes{IE_ID_RSN}}));
    IeElement el;
    EXPECT_FALSE(IeFind(buf.data(), buf.size, IE_ID_RSN, &el));
    Exact one(Bytes{IE_ID_SSID});
    EXPECT_FALSE(IeFind(one.data(), one.size, IE_ID_SSID, &el));
}

// ---------------------------------------------------------------- SSID

TEST(IeSsidGet, CopiesCutsAndSkipsOneByteSsid)
{
    uint8_t ssid[IE_SSID_MAX];
    size_t copied = 99;

    Exact plain(Cat({kRatesB, SsidIe("Office-5")}));
    memset(ssid, 0xEE, sizeof ssid);
    ASSERT_TRUE(IeSsidGet(plain.data(), plain.size, ssid, sizeof ssid,
                          &copied));
    EXPECT_EQ(8u, copied);
    EXPECT_EQ(0, memcmp(ssid, "Office-5", 8));
    EXPECT_EQ(0xEE, ssid[8]); // the rest is the caller's

    // Longer than the field: cut to the field.
    Exact longer(SsidIe(std::string(40, 'L')));
    ASSERT_TRUE(IeSsidGet(longer.data(), longer.size, ssid, sizeof ssid,
                          &copied));
    EXPECT_EQ(32u, copied);

    // A one-byte SSID is found but not copied.
    Exact one(SsidIe("Z"));
    memset(ssid, 0, sizeof ssid);
    ASSERT_TRUE(IeSsidGet(one.data(), one.size, ssid, sizeof ssid, &copied));
    EXPECT_EQ(0u, copied);
    EXPECT_EQ(0, ssid[0]);

    Exact none(kRatesB);
    EXPECT_FALSE(IeSsidGet(none.data(), none.size, ssid, sizeof ssid,
                           &copied));
    EXPECT_EQ(0u, copied);
}

// ---------------------------------------------------------------- rates

TEST(Rate2DataRate, EachRateHasItsBit)
{
    const struct {
        uint8_t rate;
        uint16_t bit;
    } table[] = {{2, 0x001},  {4, 0x002},  {11, 0x004}, {22, 0x008},
                 {12, 0x010}, {18, 0x020}, {24, 0x040}, {36, 0x080},
                 {48, 0x100}, {72, 0x200}, {96, 0x400}, {108, 0x800}};
    for (const auto &t : table) {
        SCOPED_TRACE(t.rate);
        uint16_t rates = 0;
        Rate2DataRate(t.rate, &rates, nullptr, nullptr);
        EXPECT_EQ(t.bit, rates);
        // The basic-rate flag does not change the bit.
        rates = 0;
        Rate2DataRate(static_cast<uint8_t>(t.rate | 0x80), &rates, nullptr,
                      nullptr);
        EXPECT_EQ(t.bit, rates);
    }
}

TEST(Rate2DataRate, UnknownRateAddsNothingAndIsLogged)
{
    Capture log;
    uint16_t rates = 0x0003;
    Rate2DataRate(44, &rates, CaptureSink, &log);   // 22 Mb/s PBCC
    Rate2DataRate(0xFF, &rates, CaptureSink, &log); // BSS membership selector
    Rate2DataRate(0, &rates, nullptr, nullptr);
    EXPECT_EQ(0x0003, rates);
    ASSERT_EQ(2u, log.lines.size());
    EXPECT_EQ("Rate2DataRate 44\n", log.lines[0]);
    EXPECT_EQ("Rate2DataRate 255\n", log.lines[1]);

    Capture quiet;
    Rate2DataRate(108, &rates, CaptureSink, &quiet);
    EXPECT_TRUE(quiet.lines.empty());
}

TEST(IeRateBitsGet, CombinesSupportedAndExtendedRates)
{
    Exact g(Cat({SsidIe("x"), kRatesG, kExtRatesG}));
    EXPECT_EQ(RATE_BITS_ALL, IeRateBitsGet(g.data(), g.size, nullptr,
                                           nullptr));

    Exact b(Cat({SsidIe("x"), kRatesB}));
    EXPECT_EQ(0x000F, IeRateBitsGet(b.data(), b.size, nullptr, nullptr));

    // Extended rates alone, in front of the supported rates.
    Exact rev(Cat({kExtRatesG, kRatesB}));
    EXPECT_EQ(0x0F0F, IeRateBitsGet(rev.data(), rev.size, nullptr, nullptr));

    Exact none(SsidIe("x"));
    EXPECT_EQ(0, IeRateBitsGet(none.data(), none.size, nullptr, nullptr));
}

// ---------------------------------------------------------------- suites

TEST(SuiteBits, CipherAndKeyManagementMaps)
{
    const uint8_t cs[] = {1, 2, 4, 8, 16, 32, 0, 0};
    for (uint8_t t = 0; t < 8; t++)
        EXPECT_EQ(cs[t], IeCipherSuiteBit(t)) << int(t);
    EXPECT_EQ(0, IeCipherSuiteBit(0xFF));
    const uint8_t akm[] = {1, 2, 4, 0, 0};
    for (uint8_t t = 0; t < 5; t++)
        EXPECT_EQ(akm[t], IeKeyMgmtSuiteBit(t)) << int(t);
    EXPECT_EQ(0, IeKeyMgmtSuiteBit(0x80));

    const uint8_t wpa[] = {0x00, 0x50, 0xF2};
    const uint8_t zero[] = {0x00, 0x00, 0x00};
    const uint8_t ieee[] = {0x00, 0x0F, 0xAC};
    const uint8_t other[] = {0x00, 0x10, 0x18};
    for (uint8_t id : {IE_ID_RSN, IE_ID_VENDOR}) {
        EXPECT_TRUE(IeSuiteOuiAccepted(wpa, id));
        EXPECT_TRUE(IeSuiteOuiAccepted(zero, id));
        EXPECT_FALSE(IeSuiteOuiAccepted(other, id));
    }
    // The standard suite identifier belongs to the RSN element only.
    EXPECT_TRUE(IeSuiteOuiAccepted(ieee, IE_ID_RSN));
    EXPECT_FALSE(IeSuiteOuiAccepted(ieee, IE_ID_VENDOR));
}

// ---------------------------------------------------------------- walk

TEST(RsnWpaParse, WpaPskTkipPrintsEveryFinding)
{
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_COMPLETE,
              Walk(Cat({SsidIe("Cafe"), kRatesB, kWpaPskTkip}), IE_ID_VENDOR,
                   &bits, &cap));
    EXPECT_EQ(0x04, bits.group);
    EXPECT_EQ(0x04, bits.pairwise);
    EXPECT_EQ(0x04, bits.keymgmt);
    const std::vector<std::string> want = {
        "typ 221\n",
        "len 22\n",
        "WPA oui 0x00 0x50 0xF2\n",
        "oui 0:50:f2\n",
        "oui type 1\n",
        "version 1\n",
        "group key suite 0:50:f2:2\n",
        "map_cs 2\n",
        "pairwise key suite count 1\n",
        "pairwise key suite 0:50:f2:2\n",
        "map_cs 2\n",
        "authenticated management key suite count 1\n",
        "authenticated management key suite 0:50:f2:2\n",
        "map_akms 2\n",
    };
    EXPECT_EQ(want, cap.lines);
}

TEST(RsnWpaParse, WpaEnterpriseWithTwoPairwiseSuites)
{
    Bits bits;
    EXPECT_EQ(IE_WALK_COMPLETE,
              Walk(Cat({kWpaEapTkipCcmp, kRatesB}), IE_ID_VENDOR, &bits));
    EXPECT_EQ(0x04, bits.group);
    EXPECT_EQ(0x14, bits.pairwise);
    EXPECT_EQ(0x02, bits.keymgmt);
}

TEST(RsnWpaParse, RsnCcmpEnterpriseWithCapabilities)
{
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_COMPLETE,
              Walk(Cat({kRatesG, kRsnEapCcmp, kExtRatesG}), IE_ID_RSN, &bits,
                   &cap));
    EXPECT_EQ(0x10, bits.group);
    EXPECT_EQ(0x10, bits.pairwise);
    EXPECT_EQ(0x02, bits.keymgmt);
    const std::vector<std::string> want = {
        "typ 48\n",
        "len 20\n",
        "RSN oui 0x00 0x00 0x00\n",
        "version 1\n",
        "group key suite 0:0:0:4\n",
        "map_cs 4\n",
        "pairwise key suite count 1\n",
        "pairwise key suite 0:0:0:4\n",
        "map_cs 4\n",
        "authenticated management key suite count 1\n",
        "authenticated management key suite 0:0:0:1\n",
        "map_akms 1\n",
        "capabilities 12\n",
    };
    EXPECT_EQ(want, cap.lines);
}

TEST(RsnWpaParse, SetsAreOnlyAddedToAndMayBeMissing)
{
    Bits bits;
    bits.group = 0x01;
    bits.pairwise = 0x20;
    bits.keymgmt = 0x01;
    Walk(kRsnPskTkipCcmp, IE_ID_RSN, &bits);
    EXPECT_EQ(0x05, bits.group);
    EXPECT_EQ(0x30, bits.pairwise);
    EXPECT_EQ(0x05, bits.keymgmt);

    // Without outputs the suites are still printed.
    Exact buf(kRsnPskTkipCcmp);
    Capture cap;
    EXPECT_EQ(IE_WALK_COMPLETE,
              RsnWpaParse(buf.data(), buf.size, IE_ID_RSN, nullptr, nullptr,
                          nullptr, CaptureSink, &cap));
    EXPECT_EQ(13u, cap.lines.size());
    EXPECT_EQ("map_akms 2\n", cap.lines[11]);
}

TEST(RsnWpaParse, UnknownSuiteTypesAddNothing)
{
    // Group type 7, pairwise type 6, key management type 3.
    Bytes rsn = kRsnEapCcmp;
    rsn[7] = 7;
    rsn[13] = 6;
    rsn[19] = 3;
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_COMPLETE, Walk(rsn, IE_ID_RSN, &bits, &cap));
    EXPECT_EQ(0, bits.group);
    EXPECT_EQ(0, bits.pairwise);
    EXPECT_EQ(0, bits.keymgmt);
    EXPECT_EQ("map_cs 7\n", cap.lines[5]);
    EXPECT_EQ("map_akms 3\n", cap.lines[11]);
}

TEST(RsnWpaParse, StandardRsnSuitesOfWpa2AreAccepted)
{
    // A WPA2 network: CCMP and PSK under the standard identifier 00 0F AC.
    Bytes rsn = kRsnPskTkipCcmp;
    for (size_t off : {4, 10, 16}) {
        rsn[off + 1] = 0x0F;
        rsn[off + 2] = 0xAC;
    }
    rsn[7] = 4; // CCMP group
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_COMPLETE, Walk(rsn, IE_ID_RSN, &bits, &cap));
    EXPECT_EQ(0x10, bits.group);
    EXPECT_EQ(0x10, bits.pairwise);
    EXPECT_EQ(0x04, bits.keymgmt);
    EXPECT_EQ("group key suite 0:f:ac:4\n", cap.lines[4]);
}

TEST(RsnWpaParse, SuiteWithOtherOrganisationEndsTheWalk)
{
    // In the RSN element an identifier other than the three accepted ones
    // stops the walk at the group suite.
    Bytes rsn = kRsnEapCcmp;
    for (size_t off : {4, 10, 16}) {
        rsn[off + 1] = 0x10;
        rsn[off + 2] = 0x18;
    }
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_STOPPED, Walk(rsn, IE_ID_RSN, &bits, &cap));
    EXPECT_EQ(0, bits.group | bits.pairwise | bits.keymgmt);
    EXPECT_EQ("group key suite 0:10:18:4\n", cap.lines.back());

    // The standard RSN identifier is foreign in the WPA element.
    Bytes wpa0 = kWpaEapTkipCcmp;
    wpa0[9] = 0x0F; // group suite 00 0F AC
    wpa0[10] = 0xAC;
    Bits b0;
    EXPECT_EQ(IE_WALK_STOPPED, Walk(wpa0, IE_ID_VENDOR, &b0));
    EXPECT_EQ(0, b0.group | b0.pairwise | b0.keymgmt);

    // A foreign pairwise suite: the group bit stays, nothing after it.
    Bytes wpa = kWpaEapTkipCcmp;
    wpa[19] = 0x11; // second pairwise suite 00 11 F2
    Bits b2;
    EXPECT_EQ(IE_WALK_STOPPED, Walk(wpa, IE_ID_VENDOR, &b2));
    EXPECT_EQ(0x04, b2.group);
    EXPECT_EQ(0x04, b2.pairwise);
    EXPECT_EQ(0, b2.keymgmt);
}

TEST(RsnWpaParse, WpaElementBehindOtherVendorElements)
{
    // WMM and a foreign vendor element in front of the WPA element.
    Bytes foreign = Ie(IE_ID_VENDOR, {0x00, 0x40, 0x96, 0x01, 0x01, 0x00});
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_COMPLETE,
              Walk(Cat({kWmmInfo, foreign, kWpaPskTkip}), IE_ID_VENDOR, &bits,
                   &cap));
    EXPECT_EQ(0x04, bits.group);
    EXPECT_EQ(0x04, bits.keymgmt);
    EXPECT_EQ("len 22\n", cap.lines[1]);

    // Only a foreign vendor element: its header is printed, then the walk
    // stops.
    Bits none;
    Capture cap2;
    EXPECT_EQ(IE_WALK_STOPPED, Walk(foreign, IE_ID_VENDOR, &none, &cap2));
    EXPECT_EQ(0, none.group | none.pairwise | none.keymgmt);
    EXPECT_EQ("oui 0:40:96\n", cap2.lines[3]);
    EXPECT_EQ("version 1\n", cap2.lines.back());

    // Only WMM: accepted identifier, but no room for a group suite.
    Bits wmm;
    EXPECT_EQ(IE_WALK_TRUNCATED, Walk(kWmmInfo, IE_ID_VENDOR, &wmm));
    EXPECT_EQ(0, wmm.group | wmm.pairwise | wmm.keymgmt);
}

TEST(RsnWpaParse, OtherIdentifiersAndMissingElements)
{
    Bits bits;
    Capture cap;
    EXPECT_EQ(IE_WALK_STOPPED,
              Walk(Cat({SsidIe("abc")}), IE_ID_SSID, &bits, &cap));
    EXPECT_EQ((std::vector<std::string>{"typ 0\n", "len 3\n"}), cap.lines);

    Capture silent;
    EXPECT_EQ(IE_WALK_NOT_FOUND,
              Walk(Cat({SsidIe("abc"), kRatesB}), IE_ID_RSN, &bits, &silent));
    EXPECT_EQ(IE_WALK_NOT_FOUND, Walk(Bytes{}, IE_ID_VENDOR, &bits, &silent));
    EXPECT_TRUE(silent.lines.empty());
    EXPECT_EQ(0, bits.group | bits.pairwise | bits.keymgmt);
}

TEST(RsnWpaParse, CountsLargerThanTheElement)
{
    // Pairwise count 200 with two suites present: both count, the first
    // missing one ends the walk.
    const Bytes rsn = {0x30, 0x10, 0x01, 0x00,
                       0x00, 0x00, 0x00, 0x04,
                       0xC8, 0x00, 0x00, 0x00, 0x00, 0x02,
                       0x00, 0x00, 0x00, 0x04};
    Bits bits;
    EXPECT_EQ(IE_WALK_TRUNCATED, Walk(rsn, IE_ID_RSN, &bits));
    EXPECT_EQ(0x10, bits.group);
    EXPECT_EQ(0x14, bits.pairwise);
    EXPECT_EQ(0, bits.keymgmt);

    // Key management count 0xFFFF at the very end of the element.
    Bytes wpa = kWpaPskTkip;
    wpa[18] = 0xFF;
    wpa[19] = 0xFF;
    Bits b2;
    EXPECT_EQ(IE_WALK_TRUNCATED, Walk(wpa, IE_ID_VENDOR, &b2));
    EXPECT_EQ(0x04, b2.keymgmt); // the one suite that is there

    // A count with nothing behind it adds nothing.
    Bytes bare = {0x30, 0x08, 0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x05, 0x00};
    Bits b3;
    EXPECT_EQ(IE_WALK_TRUNCATED, Walk(bare, IE_ID_RSN, &b3));
    EXPECT_EQ(0x04, b3.group);
    EXPECT_EQ(0, b3.pairwise);
}

TEST(RsnWpaParse, TruncatedElements)
{
    // Each cut of the RSN element, with its length byte made to match, is
    // parsed without reading past it and gives a prefix of the full bits.
    for (size_t keep = 0; keep < kRsnEapCcmp.size() - 2; keep++) {
        SCOPED_TRACE(keep);
        Bytes cut(kRsnEapCcmp.begin(), kRsnEapCcmp.begin() + 2 + keep);
        cut[1] = static_cast<uint8_t>(keep);
        Bits bits;
        IeWalkResult res = Walk(cut, IE_ID_RSN, &bits);
        EXPECT_NE(IE_WALK_NOT_FOUND, res);
        EXPECT_EQ(keep >= 6 ? 0x10 : 0, bits.group);
        EXPECT_EQ(keep >= 12 ? 0x10 : 0, bits.pairwise);
        EXPECT_EQ(keep >= 18 ? 0x02 : 0, bits.keymgmt);
        bool at_boundary = keep == 2 || keep == 6 || keep == 12 ||
                           keep == 18;
        EXPECT_EQ(at_boundary ? IE_WALK_COMPLETE : IE_WALK_TRUNCATED, res);
    }

    // Cut without fixing the length byte: the element no longer fits and is
    // not found at all.
    Bytes overlong(kWpaPskTkip.begin(), kWpaPskTkip.end() - 3);
    Bits bits;
    EXPECT_EQ(IE_WALK_NOT_FOUND, Walk(overlong, IE_ID_VENDOR, &bits));
    EXPECT_EQ(0, bits.group | bits.pairwise | bits.keymgmt);

    // WPA header cut inside the identifier, the type and the version.
    for (uint8_t len : {0, 2, 3, 5}) {
        SCOPED_TRACE(len);
        Bytes hdr = {0xDD, len, 0x00, 0x50, 0xF2, 0x01, 0x01};
        hdr.resize(2 + len);
        Bits b;
        Capture cap;
        EXPECT_EQ(IE_WALK_TRUNCATED, Walk(hdr, IE_ID_VENDOR, &b, &cap));
        EXPECT_EQ(std::string("WPA oui 0x00 0x50 0xF2\n"), cap.lines[2]);
    }
}

// ---------------------------------------------------------------- requests

TEST(AssocRequestParse, WpaPskAssociationRequest)
{
    Bytes val = AssocValue(false, 0x0431, 10,
                           Cat({SsidIe("CoffeeShop"), kRatesG, kExtRatesG,
                                kWpaPskTkip}));
    ASSERT_LE(val.size(), static_cast<size_t>(ASSOC_REQ_VALUE_MAX));
    Exact buf(val);
    AssocRequestInfo info;
    memset(&info, 0xA5, sizeof info);
    Capture out;
    ASSERT_TRUE(AssocRequestParse(buf.data(), buf.size, &info, CaptureSink,
                                  &out, nullptr, nullptr));
    EXPECT_FALSE(info.reassociation);
    EXPECT_EQ(0x0431, info.capability);
    EXPECT_EQ(10, info.listen_interval);
    EXPECT_EQ(Bytes(6, 0), Bytes(info.current_ap, info.current_ap + 6));
    EXPECT_EQ(10u, info.ssid_len);
    EXPECT_EQ(0, memcmp(info.ssid, "CoffeeShop", 10));
    EXPECT_EQ(Bytes(22, 0), Bytes(info.ssid + 10, info.ssid + 32));
    EXPECT_EQ(RATE_BITS_ALL, info.rates);
    EXPECT_EQ(0x04, info.group_cipher);
    EXPECT_EQ(0x04, info.pairwise_cipher);
    EXPECT_EQ(0x04, info.key_management);
    ASSERT_FALSE(out.lines.empty());
    EXPECT_EQ("ssid CoffeeShop\n", out.lines[0]);
    EXPECT_EQ("typ 221\n", out.lines[1]);
}

TEST(AssocRequestParse, RsnReassociationRequest)
{
    Bytes val = AssocValue(true, 0x0011, 3,
                           Cat({SsidIe("corp"), kRatesB, kRsnEapCcmp}));
    Exact buf(val);
    AssocRequestInfo info;
    ASSERT_TRUE(AssocRequestParse(buf.data(), buf.size, &info, nullptr,
                                  nullptr, nullptr, nullptr));
    EXPECT_TRUE(info.reassociation);
    EXPECT_EQ(0x0011, info.capability);
    EXPECT_EQ(3, info.listen_interval);
    EXPECT_EQ((Bytes{0x00, 0x02, 0x6F, 0x11, 0x22, 0x33}),
              Bytes(info.current_ap, info.current_ap + 6));
    EXPECT_EQ(4u, info.ssid_len);
    EXPECT_EQ(0x000F, info.rates);
    EXPECT_EQ(0x10, info.group_cipher);
    EXPECT_EQ(0x10, info.pairwise_cipher);
    EXPECT_EQ(0x02, info.key_management);
}

TEST(AssocRequestParse, WpaAndRsnBitsAreCombined)
{
    // A mixed-mode request carrying both elements, WMM in front of WPA.
    Bytes val = AssocValue(false, 0x0421, 1,
                           Cat({SsidIe("mix"), kRatesG, kRsnPskTkipCcmp,
                                kExtRatesG, kWmmInfo, kWpaEapTkipCcmp}));
    Exact buf(val);
    AssocRequestInfo info;
    ASSERT_TRUE(AssocRequestParse(buf.data(), buf.size, &info, nullptr,
                                  nullptr, nullptr, nullptr));
    EXPECT_EQ(0x04, info.group_cipher);
    EXPECT_EQ(0x14, info.pairwise_cipher);
    EXPECT_EQ(0x06, info.key_management);
    EXPECT_EQ(RATE_BITS_ALL, info.rates);
}

TEST(AssocRequestParse, SsidRules)
{
    AssocRequestInfo info;

    Exact one(AssocValue(false, 1, 1, Cat({SsidIe("Q"), kRatesB})));
    Capture out;
    ASSERT_TRUE(AssocRequestParse(one.data(), one.size, &info, CaptureSink,
                                  &out, nullptr, nullptr));
    EXPECT_EQ(0u, info.ssid_len);
    EXPECT_EQ(Bytes(32, 0), Bytes(info.ssid, info.ssid + 32));
    EXPECT_EQ(0x000F, info.rates);
    EXPECT_EQ("ssid \n", out.lines.at(0));

    // 33 bytes in the element: 32 are kept, the printed name stops there.
    std::string name(32, 'N');
    Exact longer(AssocValue(false, 1, 1, SsidIe(name + "!")));
    Capture out2;
    ASSERT_TRUE(AssocRequestParse(longer.data(), longer.size, &info,
                                  CaptureSink, &out2, nullptr, nullptr));
    EXPECT_EQ(32u, info.ssid_len);
    EXPECT_EQ(0, memcmp(info.ssid, name.data(), 32));
    EXPECT_EQ("ssid " + name + "\n", out2.lines.at(0));
}

TEST(AssocRequestParse, ShortAndEmptyValues)
{
    AssocRequestInfo info;
    AssocRequestInfo zero;
    memset(&zero, 0, sizeof zero);

    memset(&info, 0x5A, sizeof info);
    EXPECT_FALSE(AssocRequestParse(nullptr, 0, &info, nullptr, nullptr,
                                   nullptr, nullptr));
    EXPECT_EQ(0, memcmp(&zero, &info, sizeof info));

    for (size_t len = 0; len < ASSOC_REQ_FIXED_LEN; len++) {
        Exact b(Bytes(len, 0x00));
        memset(&info, 0x5A, sizeof info);
        EXPECT_FALSE(AssocRequestParse(b.data(), b.size, &info, nullptr,
                                       nullptr, nullptr, nullptr));
        EXPECT_EQ(0, memcmp(&zero, &info, sizeof info));
    }

    // A reassociation needs the access point's address too.
    Bytes re = AssocValue(true, 1, 1, {});
    for (size_t len = ASSOC_REQ_FIXED_LEN; len < re.size(); len++) {
        Exact b(Bytes(re.begin(), re.begin() + len));
        EXPECT_FALSE(AssocRequestParse(b.data(), b.size, &info, nullptr,
                                       nullptr, nullptr, nullptr));
    }

    // Fixed fields only: accepted, nothing from elements.
    Exact bare(AssocValue(false, 0x0401, 7, {}));
    Capture out;
    ASSERT_TRUE(AssocRequestParse(bare.data(), bare.size, &info, CaptureSink,
                                  &out, nullptr, nullptr));
    EXPECT_EQ(0x0401, info.capability);
    EXPECT_EQ(7, info.listen_interval);
    EXPECT_EQ(0, info.rates | info.group_cipher | info.pairwise_cipher |
                     info.key_management);
    EXPECT_TRUE(out.lines.empty());
}

TEST(AssocRequestParse, BrokenTrailingElementKeepsWhatCameBefore)
{
    // The RSN element's length runs past the record: it is ignored, the
    // elements in front of it still count.
    Bytes ies = Cat({SsidIe("edge"), kRatesB, kWpaPskTkip, kRsnEapCcmp});
    ies[ies.size() - kRsnEapCcmp.size() + 1] = 0x40;
    Exact buf(AssocValue(true, 1, 1, ies));
    AssocRequestInfo info;
    Capture log;
    ASSERT_TRUE(AssocRequestParse(buf.data(), buf.size, &info, nullptr,
                                  nullptr, CaptureSink, &log));
    EXPECT_EQ(4u, info.ssid_len);
    EXPECT_EQ(0x000F, info.rates);
    EXPECT_EQ(0x04, info.group_cipher);
    EXPECT_EQ(0x04, info.pairwise_cipher);
    EXPECT_EQ(0x04, info.key_management);
    EXPECT_TRUE(log.lines.empty());
}

TEST(AssocRequestParse, UnknownRatesGoToTheLog)
{
    Exact buf(AssocValue(false, 1, 1,
                         Cat({SsidIe("r"), Ie(IE_ID_SUPPORTED_RATES,
                                              {0x82, 0x2C, 0xFF})})));
    AssocRequestInfo info;
    Capture out;
    Capture log;
    ASSERT_TRUE(AssocRequestParse(buf.data(), buf.size, &info, CaptureSink,
                                  &out, CaptureSink, &log));
    EXPECT_EQ(0x0001, info.rates);
    EXPECT_EQ((std::vector<std::string>{"Rate2DataRate 44\n",
                                        "Rate2DataRate 255\n"}),
              log.lines);
    for (const std::string &line : out.lines)
        EXPECT_EQ(std::string::npos, line.find("Rate2DataRate"));
}

} // namespace
