// 802.11 information element walk, RSN/WPA element parser and rate bits.
#include "wlcore/ie_parse.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace {

// Formats one line and hands it to the sink; a null sink drops it.
void Emit(IeTextSink sink, void *ctx, const char *fmt, ...)
    __attribute__((format(printf, 3, 4)));

void Emit(IeTextSink sink, void *ctx, const char *fmt, ...)
{
    if (sink == nullptr)
        return;
    char line[128];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(line, sizeof line, fmt, ap);
    va_end(ap);
    sink(ctx, line);
}

// 802.11 fields are little-endian.
unsigned Le16(const uint8_t *p)
{
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}

const uint8_t kWpaOui[3] = {0x00, 0x50, 0xF2};
const uint8_t kNullOui[3] = {0x00, 0x00, 0x00};
const uint8_t kRsnOui[3] = {0x00, 0x0F, 0xAC};
const uint8_t kWpaOuiType = 1;

bool IsWpaElement(const IeElement &el)
{
    return el.len >= 4 && memcmp(el.data, kWpaOui, 3) == 0 &&
           el.data[3] == kWpaOuiType;
}

// Picks the element the walk reads for `id`: for vendor elements the WPA one
// when present, else the first; for any other identifier the first.
bool FindWalkElement(const uint8_t *ies, size_t n, uint8_t id, IeElement *el)
{
    if (!IeFind(ies, n, id, el))
        return false;
    if (id != IE_ID_VENDOR || IsWpaElement(*el))
        return true;
    // Other vendor elements (WMM, WPS, ...) may come first; look on for the
    // WPA one and keep the first vendor element when there is none.
    IeElement next = *el;
    while (true) {
        size_t used = static_cast<size_t>(next.data + next.len - ies);
        if (!IeFind(ies + used, n - used, id, &next))
            return true;
        if (IsWpaElement(next)) {
            *el = next;
            return true;
        }
    }
}

// Reads the 4-byte suite at `p` of element `id`, prints it under `label`
// and tells whether its organisation identifier is accepted.
bool SuiteAccepted(const uint8_t *p, uint8_t id, const char *label,
                   IeTextSink out, void *ctx)
{
    Emit(out, ctx, "%s %x:%x:%x:%x\n", label, p[0], p[1], p[2], p[3]);
    return IeSuiteOuiAccepted(p, id);
}

void MapCipher(uint8_t type, uint8_t *set, IeTextSink out, void *ctx)
{
    Emit(out, ctx, "map_cs %d\n", type);
    if (set != nullptr)
        *set = static_cast<uint8_t>(*set | IeCipherSuiteBit(type));
}

void MapKeyMgmt(uint8_t type, uint8_t *set, IeTextSink out, void *ctx)
{
    Emit(out, ctx, "map_akms %d\n", type);
    if (set != nullptr)
        *set = static_cast<uint8_t>(*set | IeKeyMgmtSuiteBit(type));
}

} // namespace

bool IeFind(const uint8_t *ies, size_t n, uint8_t id, IeElement *el)
{
    if (ies == nullptr || el == nullptr)
        return false;
    size_t pos = 0;
    // Each step needs the two header bytes and then `len` data bytes; the
    // comparisons are arranged so that no sum can wrap.
    while (n - pos >= 2) {
        size_t len = ies[pos + 1];
        if (len > n - pos - 2)
            return false;
        if (ies[pos] == id) {
            el->id = id;
            el->data = ies + pos + 2;
            el->len = len;
            return true;
        }
        pos += 2 + len;
    }
    return false;
}

bool IeSsidGet(const uint8_t *ies, size_t n, uint8_t *ssid, size_t cap,
               size_t *copied)
{
    if (copied != nullptr)
        *copied = 0;
    IeElement el;
    if (!IeFind(ies, n, IE_ID_SSID, &el))
        return false;
    // A one-byte SSID element is not taken as a name.
    if (el.len != 1 && ssid != nullptr) {
        size_t take = el.len < cap ? el.len : cap;
        memcpy(ssid, el.data, take);
        if (copied != nullptr)
            *copied = take;
    }
    return true;
}

void Rate2DataRate(uint8_t rate, uint16_t *rates, IeTextSink log,
                   void *log_ctx)
{
    int bit;
    switch (rate & 0x7F) {
    case 2: bit = 0; break;    // 1 Mb/s
    case 4: bit = 1; break;    // 2 Mb/s
    case 11: bit = 2; break;   // 5.5 Mb/s
    case 22: bit = 3; break;   // 11 Mb/s
    case 12: bit = 4; break;   // 6 Mb/s
    case 18: bit = 5; break;   // 9 Mb/s
    case 24: bit = 6; break;   // 12 Mb/s
    case 36: bit = 7; break;   // 18 Mb/s
    case 48: bit = 8; break;   // 24 Mb/s
    case 72: bit = 9; break;   // 36 Mb/s
    case 96: bit = 10; break;  // 48 Mb/s
    case 108: bit = 11; break; // 54 Mb/s
    default:
        Emit(log, log_ctx, "Rate2DataRate %d\n", rate);
        return;
    }
    if (rates != nullptr)
        *rates = static_cast<uint16_t>(*rates | (1u << bit));
}

uint16_t IeRateBitsGet(const uint8_t *ies, size_t n, IeTextSink log,
                       void *log_ctx)
{
    uint16_t rates = 0;
    const uint8_t ids[2] = {IE_ID_SUPPORTED_RATES, IE_ID_EXTENDED_RATES};
    for (uint8_t id : ids) {
        IeElement el;
        if (!IeFind(ies, n, id, &el))
            continue;
        for (size_t i = 0; i < el.len; i++)
            Rate2DataRate(el.data[i], &rates, log, log_ctx);
    }
    return rates;
}

uint8_t IeCipherSuiteBit(uint8_t type)
{
    return type <= 5 ? static_cast<uint8_t>(1u << type) : 0;
}

uint8_t IeKeyMgmtSuiteBit(uint8_t type)
{
    return type <= 2 ? static_cast<uint8_t>(1u << type) : 0;
}

bool IeSuiteOuiAccepted(const uint8_t *oui, uint8_t id)
{
    return memcmp(oui, kWpaOui, 3) == 0 || memcmp(oui, kNullOui, 3) == 0 ||
           (id == IE_ID_RSN && memcmp(oui, kRsnOui, 3) == 0);
}

IeWalkResult RsnWpaParse(const uint8_t *ies, size_t n, uint8_t id,
                         uint8_t *group, uint8_t *pairwise, uint8_t *keymgmt,
                         IeTextSink out, void *out_ctx)
{
    IeElement el;
    if (!FindWalkElement(ies, n, id, &el))
        return IE_WALK_NOT_FOUND;
    Emit(out, out_ctx, "typ %d\n", el.id);
    Emit(out, out_ctx, "len %d\n", static_cast<int>(el.len));

    // `p` walks the element's data, `r` counts the bytes left; every read
    // checks `r` first. A count that promises more suites than the element
    // holds ends the walk at the first missing suite.
    const uint8_t *p = el.data;
    size_t r = el.len;

    if (id == IE_ID_VENDOR) {
        Emit(out, out_ctx, "WPA oui 0x00 0x50 0xF2\n");
        if (r < 3)
            return IE_WALK_TRUNCATED;
        Emit(out, out_ctx, "oui %x:%x:%x\n", p[0], p[1], p[2]);
        if (r < 4)
            return IE_WALK_TRUNCATED;
        Emit(out, out_ctx, "oui type %x\n", p[3]);
        if (r < 6)
            return IE_WALK_TRUNCATED;
        Emit(out, out_ctx, "version %d\n", Le16(p + 4));
        if (!IeSuiteOuiAccepted(p, id))
            return IE_WALK_STOPPED;
        p += 6;
        r -= 6;
    } else if (id == IE_ID_RSN) {
        Emit(out, out_ctx, "RSN oui 0x00 0x00 0x00\n");
        if (r < 2)
            return IE_WALK_TRUNCATED;
        Emit(out, out_ctx, "version %d\n", Le16(p));
        p += 2;
        r -= 2;
    } else {
        return IE_WALK_STOPPED;
    }

    // Group cipher suite.
    if (r == 0)
        return IE_WALK_COMPLETE;
    if (r < 4)
        return IE_WALK_TRUNCATED;
    if (!SuiteAccepted(p, id, "group key suite", out, out_ctx))
        return IE_WALK_STOPPED;
    MapCipher(p[3], group, out, out_ctx);
    p += 4;
    r -= 4;

    // Pairwise cipher suites.
    if (r == 0)
        return IE_WALK_COMPLETE;
    if (r < 2)
        return IE_WALK_TRUNCATED;
    unsigned count = Le16(p);
    Emit(out, out_ctx, "pairwise key suite count %d\n", count);
    p += 2;
    r -= 2;
    for (unsigned i = 0; i < count; i++) {
        if (r < 4)
            return IE_WALK_TRUNCATED;
        if (!SuiteAccepted(p, id, "pairwise key suite", out, out_ctx))
            return IE_WALK_STOPPED;
        MapCipher(p[3], pairwise, out, out_ctx);
        p += 4;
        r -= 4;
    }

    // Key management suites.
    if (r == 0)
        return IE_WALK_COMPLETE;
    if (r < 2)
        return IE_WALK_TRUNCATED;
    count = Le16(p);
    Emit(out, out_ctx, "authenticated management key suite count %d\n", count);
    p += 2;
    r -= 2;
    for (unsigned i = 0; i < count; i++) {
        if (r < 4)
            return IE_WALK_TRUNCATED;
        if (!SuiteAccepted(p, id, "authenticated management key suite",
                           out, out_ctx))
            return IE_WALK_STOPPED;
        MapKeyMgmt(p[3], keymgmt, out, out_ctx);
        p += 4;
        r -= 4;
    }

    // Capabilities.
    if (r == 0)
        return IE_WALK_COMPLETE;
    if (r < 2)
        return IE_WALK_TRUNCATED;
    Emit(out, out_ctx, "capabilities %d\n", Le16(p));
    return IE_WALK_COMPLETE;
}

bool AssocRequestParse(const uint8_t *val, size_t len, AssocRequestInfo *info,
                       IeTextSink out, void *out_ctx, IeTextSink log,
                       void *log_ctx)
{
    if (info == nullptr)
        return false;
    memset(info, 0, sizeof *info);
    if (val == nullptr || len < ASSOC_REQ_FIXED_LEN)
        return false;

    bool reassociation = Le16(val) != 0;
    size_t fixed = ASSOC_REQ_FIXED_LEN + (reassociation ? ASSOC_REQ_AP_LEN : 0);
    if (len < fixed)
        return false;
    info->reassociation = reassociation;
    info->capability = static_cast<uint16_t>(Le16(val + 2));
    info->listen_interval = static_cast<uint16_t>(Le16(val + 4));
    if (reassociation)
        memcpy(info->current_ap, val + ASSOC_REQ_FIXED_LEN, ASSOC_REQ_AP_LEN);

    const uint8_t *ies = val + fixed;
    size_t n = len - fixed;

    if (IeSsidGet(ies, n, info->ssid, IE_SSID_MAX, &info->ssid_len)) {
        char text[IE_SSID_MAX + 1];
        memcpy(text, info->ssid, IE_SSID_MAX);
        text[IE_SSID_MAX] = '\0';
        Emit(out, out_ctx, "ssid %s\n", text);
    }

    info->rates = IeRateBitsGet(ies, n, log, log_ctx);

    uint8_t group = 0;
    uint8_t pairwise = 0;
    uint8_t keymgmt = 0;
    RsnWpaParse(ies, n, IE_ID_VENDOR, &group, &pairwise, &keymgmt, out,
                out_ctx);
    RsnWpaParse(ies, n, IE_ID_RSN, &group, &pairwise, &keymgmt, out, out_ctx);
    info->group_cipher = group;
    info->pairwise_cipher = pairwise;
    info->key_management = keymgmt;
    return true;
}
