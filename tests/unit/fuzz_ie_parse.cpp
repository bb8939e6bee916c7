// Randomised robustness test of the information element functions: random
// and mutated element lists, each in a heap block of exactly its size, so
// that a bounds-checking build reports any read past the end. The sequence
// is fixed (own generator, fixed seed) and therefore repeatable.
#include "wlcore/ie_parse.h"

#include "fuzz_support.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using fuzz::Bytes;
using fuzz::Rng;

// RSN and vendor elements are drawn more often than the others.
const uint8_t kIds[] = {IE_ID_SSID, IE_ID_SUPPORTED_RATES, IE_ID_RSN,
                        IE_ID_EXTENDED_RATES, IE_ID_VENDOR, IE_ID_RSN,
                        IE_ID_VENDOR};
// Mostly accepted suite identifiers, so that walks get deep.
const uint8_t kOuis[][3] = {{0x00, 0x50, 0xF2}, {0x00, 0x00, 0x00},
                            {0x00, 0x50, 0xF2}, {0x00, 0x00, 0x00},
                            {0x00, 0x0F, 0xAC}};
const uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0x04, 0x7F,
                                0x80, 0xFE, 0xFF, 0x30, 0xDD};

void PutSuite(Rng &rng, Bytes *b)
{
    const uint8_t *oui = kOuis[rng.Below(5)];
    if (rng.OneIn(16)) {
        for (int i = 0; i < 3; i++)
            b->push_back(rng.Byte());
    } else {
        b->insert(b->end(), oui, oui + 3);
    }
    b->push_back(static_cast<uint8_t>(rng.OneIn(4) ? rng.Byte()
                                                   : rng.Below(7)));
}

void PutCount(Rng &rng, uint32_t actual, Bytes *b)
{
    uint32_t c = actual;
    if (rng.OneIn(4))
        c = rng.OneIn(2) ? rng.Below(0x10000) : actual + 1 + rng.Below(4);
    b->push_back(static_cast<uint8_t>(c));
    b->push_back(static_cast<uint8_t>(c >> 8));
}

// A plausible RSN or WPA element body, sometimes inconsistent.
Bytes SecurityBody(Rng &rng, bool wpa)
{
    Bytes b;
    if (wpa) {
        const uint8_t *oui = kOuis[rng.Below(5)];
        b.insert(b.end(), oui, oui + 3);
        b.push_back(static_cast<uint8_t>(rng.Below(4)));
    }
    b.push_back(1);
    b.push_back(0);
    PutSuite(rng, &b);
    uint32_t np = rng.Below(4);
    PutCount(rng, np, &b);
    for (uint32_t i = 0; i < np; i++)
        PutSuite(rng, &b);
    uint32_t na = rng.Below(3);
    PutCount(rng, na, &b);
    for (uint32_t i = 0; i < na; i++)
        PutSuite(rng, &b);
    if (rng.OneIn(2)) {
        b.push_back(rng.Byte());
        b.push_back(rng.Byte());
    }
    if (rng.OneIn(3))
        b.resize(rng.Below(static_cast<uint32_t>(b.size()) + 1));
    return b;
}

Bytes RandomList(Rng &rng)
{
    Bytes ies;
    uint32_t elements = rng.Below(10);
    for (uint32_t e = 0; e < elements; e++) {
        uint8_t id = rng.OneIn(5) ? rng.Byte() : kIds[rng.Below(7)];
        Bytes data;
        if ((id == IE_ID_RSN || id == IE_ID_VENDOR) && !rng.OneIn(4)) {
            data = SecurityBody(rng, id == IE_ID_VENDOR);
        } else {
            data.resize(rng.Below(rng.OneIn(8) ? 256 : 40));
            for (uint8_t &d : data)
                d = rng.Byte();
        }
        if (data.size() > 255)
            data.resize(255);
        ies.push_back(id);
        uint8_t len = static_cast<uint8_t>(data.size());
        if (rng.OneIn(10))
            len = rng.Byte(); // lie about the length
        ies.push_back(len);
        ies.insert(ies.end(), data.begin(), data.end());
    }
    if (rng.OneIn(6) && !ies.empty())
        ies.resize(rng.Below(static_cast<uint32_t>(ies.size())));
    return ies;
}

// Well-formed requests to mutate: value area of record 0xFD8C.
Bytes SeedRequest(Rng &rng)
{
    Bytes v = {static_cast<uint8_t>(rng.Below(2)), 0, 0x31, 0x04, 0x0A, 0x00};
    if (v[0] != 0) {
        const uint8_t ap[6] = {0x00, 0x02, 0x6F, 0x01, 0x02, 0x03};
        v.insert(v.end(), ap, ap + 6);
    }
    const Bytes ssid = {0x00, 0x04, 'n', 'e', 't', '1'};
    const Bytes rates = {0x01, 0x08, 0x82, 0x84, 0x8B, 0x96,
                         0x0C, 0x12, 0x18, 0x24};
    const Bytes ext = {0x32, 0x04, 0x30, 0x48, 0x60, 0x6C};
    const Bytes wpa = {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00,
                       0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50,
                       0xF2, 0x04, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02};
    const Bytes rsn = {0x30, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x04,
                       0x01, 0x00, 0x00, 0x00, 0x00, 0x04, 0x01, 0x00,
                       0x00, 0x00, 0x00, 0x01, 0x00, 0x00};
    v.insert(v.end(), ssid.begin(), ssid.end());
    v.insert(v.end(), rates.begin(), rates.end());
    if (rng.OneIn(2))
        v.insert(v.end(), rsn.begin(), rsn.end());
    v.insert(v.end(), ext.begin(), ext.end());
    if (rng.OneIn(2))
        v.insert(v.end(), wpa.begin(), wpa.end());
    return v;
}

void Mutate(Rng &rng, Bytes *b)
{
    uint32_t steps = 1 + rng.Below(4);
    for (uint32_t s = 0; s < steps; s++) {
        uint32_t size = static_cast<uint32_t>(b->size());
        switch (rng.Below(6)) {
        case 0: // flip a bit
            if (size)
                (*b)[rng.Below(size)] ^= static_cast<uint8_t>(1u << rng.Below(8));
            break;
        case 1: // an interesting byte
            if (size)
                (*b)[rng.Below(size)] = kInteresting[rng.Below(10)];
            break;
        case 2: // cut the tail
            b->resize(rng.Below(size + 1));
            break;
        case 3: { // insert bytes
            uint32_t at = rng.Below(size + 1);
            Bytes ins(1 + rng.Below(6));
            for (uint8_t &x : ins)
                x = rng.Byte();
            b->insert(b->begin() + at, ins.begin(), ins.end());
            break;
        }
        case 4: // delete bytes
            if (size) {
                uint32_t at = rng.Below(size);
                uint32_t n = 1 + rng.Below(size - at);
                b->erase(b->begin() + at, b->begin() + at + n);
            }
            break;
        default: // a random byte
            if (size)
                (*b)[rng.Below(size)] = rng.Byte();
            break;
        }
    }
}

// Independent reading of the element list: the complete elements in order,
// stopping at the first one that does not fit.
struct RefElement {
    uint8_t id;
    size_t off;
    size_t len;
};

std::vector<RefElement> RefElements(const Bytes &b)
{
    std::vector<RefElement> all;
    size_t off = 0;
    while (off + 2 <= b.size() && off + 2 + b[off + 1] <= b.size()) {
        all.push_back({b[off], off + 2, b[off + 1]});
        off += 2 + b[off + 1];
    }
    return all;
}

struct Lines {
    size_t count = 0;
    bool well_formed = true;
};

void CheckLine(void *ctx, const char *text)
{
    Lines *l = static_cast<Lines *>(ctx);
    size_t n = strlen(text);
    l->count++;
    if (n == 0 || text[n - 1] != '\n')
        l->well_formed = false;
}

// How the walks ended over the whole run, so that the run proves it reached
// every path of the parser.
struct Outcomes {
    int by_result[4] = {0, 0, 0, 0};
    int with_keymgmt = 0;
};

#ifdef _WIN32
fuzz::GuardedPage g_guard;
#endif

int g_guarded = 0; // inputs that ended at a guard page

// Runs every function on one input; returns false with a message on the
// first broken invariant.
bool CheckOne(const Bytes &input, Outcomes *seen, std::string *why)
{
    size_t n = input.size();
    std::unique_ptr<uint8_t[]> mem(new uint8_t[n]);
    std::copy(input.begin(), input.end(), mem.get());
    const uint8_t *buf = mem.get();
#ifdef _WIN32
    if (const uint8_t *guarded = g_guard.Place(input)) {
        buf = guarded;
        g_guarded++;
    }
#endif

    std::vector<RefElement> ref = RefElements(input);
    const uint8_t probe[] = {IE_ID_SSID, IE_ID_SUPPORTED_RATES, IE_ID_RSN,
                             IE_ID_EXTENDED_RATES, IE_ID_VENDOR, 0x7F};
    for (uint8_t id : probe) {
        const RefElement *want = nullptr;
        for (const RefElement &r : ref) {
            if (r.id == id) {
                want = &r;
                break;
            }
        }
        IeElement el;
        bool found = IeFind(buf, n, id, &el);
        if (found != (want != nullptr)) {
            *why = "IeFind found/not found differs for id " +
                   std::to_string(id);
            return false;
        }
        if (found && (el.data != buf + want->off || el.len != want->len ||
                      el.id != id)) {
            *why = "IeFind element differs for id " + std::to_string(id);
            return false;
        }
    }

    Lines lines;
    uint16_t rates = IeRateBitsGet(buf, n, CheckLine, &lines);
    if (rates & ~RATE_BITS_ALL) {
        *why = "rate bits outside the set";
        return false;
    }

    const uint8_t walk_ids[] = {IE_ID_RSN, IE_ID_VENDOR};
    for (uint8_t id : walk_ids) {
        uint8_t g = 0, p = 0, k = 0;
        IeWalkResult res = RsnWpaParse(buf, n, id, &g, &p, &k, CheckLine,
                                       &lines);
        uint8_t g2 = 0, p2 = 0, k2 = 0;
        IeWalkResult res2 = RsnWpaParse(buf, n, id, &g2, &p2, &k2, nullptr,
                                        nullptr);
        if (res != res2 || g != g2 || p != p2 || k != k2) {
            *why = "walk depends on the text sink";
            return false;
        }
        seen->by_result[res]++;
        if (k != 0)
            seen->with_keymgmt++;
        if ((g & ~0x3F) || (p & ~0x3F) || (k & ~0x07)) {
            *why = "security bits outside their sets";
            return false;
        }
        RsnWpaParse(buf, n, id, nullptr, nullptr, nullptr, nullptr, nullptr);
    }

    AssocRequestInfo info;
    bool ok = AssocRequestParse(buf, n, &info, CheckLine, &lines, CheckLine,
                                &lines);
    if (ok) {
        size_t fixed = info.reassociation ? 12 : 6;
        if (n < fixed || info.ssid_len > IE_SSID_MAX ||
            (info.rates & ~RATE_BITS_ALL) || (info.group_cipher & ~0x3F) ||
            (info.pairwise_cipher & ~0x3F) || (info.key_management & ~0x07)) {
            *why = "association request fields out of range";
            return false;
        }
    } else if (n >= 12) {
        *why = "association request refused although long enough";
        return false;
    }
    if (!lines.well_formed) {
        *why = "a text line without its line break";
        return false;
    }
    return true;
}

TEST(IeParseFuzz, RandomAndMutatedElementLists)
{
    const int kRandom = 60000;
    const int kMutated = 60000;
    Rng rng = {0x9E3779B97F4A7C15ULL};
    int ran = 0;
    int failures = 0;
    Outcomes seen;

    for (int i = 0; i < kRandom + kMutated; i++) {
        Bytes input;
        if (i < kRandom) {
            input = RandomList(rng);
            // Half of them as a request value area, half as bare elements.
            if (rng.OneIn(2)) {
                Bytes hdr(rng.OneIn(2) ? 6 : 12, 0);
                hdr[0] = static_cast<uint8_t>(hdr.size() == 12);
                input.insert(input.begin(), hdr.begin(), hdr.end());
            }
        } else {
            input = SeedRequest(rng);
            Mutate(rng, &input);
        }
        std::string why;
        if (!CheckOne(input, &seen, &why)) {
            if (++failures <= 5)
                ADD_FAILURE() << "case " << i << ": " << why;
        }
        ran++;
    }
    EXPECT_EQ(0, failures);
    EXPECT_GE(ran, 100000);
    for (int r = IE_WALK_NOT_FOUND; r <= IE_WALK_TRUNCATED; r++)
        EXPECT_GE(seen.by_result[r], 2000) << "walk result " << r;
    EXPECT_GE(seen.with_keymgmt, 2000);
    printf("fuzz_ie_parse: %d element lists parsed, %d failed; walks not "
           "found %d, complete %d, stopped %d, truncated %d; %d with key "
           "management bits\n",
           ran, failures, seen.by_result[IE_WALK_NOT_FOUND],
           seen.by_result[IE_WALK_COMPLETE], seen.by_result[IE_WALK_STOPPED],
           seen.by_result[IE_WALK_TRUNCATED], seen.with_keymgmt);
    RecordProperty("cases", ran);
#ifdef _WIN32
    // Under Windows every input ends at an inaccessible page.
    printf("fuzz_ie_parse: %d of them parsed against a guard page\n", g_guarded);
    EXPECT_EQ(ran, g_guarded);
#endif
}

} // namespace
