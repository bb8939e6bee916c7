// Mailbox record conversions, handing-on and management frame building.
#include "wlcore/mbconv.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

const uint8_t kWmpOui[3] = {0x02, 0x57, 0x4C};

namespace {

void Emit(IeTextSink sink, void *ctx, const char *fmt, ...) __attribute__((format(printf, 3, 4)));

void Emit(IeTextSink sink, void *ctx, const char *fmt, ...)
{
    if (sink == nullptr) return;
    char line[160];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(line, sizeof line, fmt, ap);
    va_end(ap);
    sink(ctx, line);
}

unsigned Le16(const uint8_t *p) { return (unsigned)p[0] | ((unsigned)p[1] << 8); }

// Copies up to 32 name or SSID bytes into a 33-byte field, zero-terminated.
void Text33(char *field, const uint8_t *src, size_t n)
{
    memset(field, 0, 33);
    memcpy(field, src, n > 32 ? 32 : n);
}

const char kUnknown[] = "u n k n o w n"; // 13 characters and the terminator

template <class E> E *Entry(MBBufferHeader *b, int32_t k)
{
    return reinterpret_cast<E *>(reinterpret_cast<uint8_t *>(b) + sizeof(MBBufferHeader)) + k;
}

// Count as the client left it, never below 0.
int32_t Held(const MBBufferHeader *b) { return b->Count < 0 ? 0 : b->Count; }

void HandScan(const uint8_t *rec, size_t bytes, MBBufferHeader *b)
{
    int32_t cap = MbUsableCapacity(b, MBScanBufferType);
    if (Held(b) >= cap) {
        b->Overflow = 1;
        return;
    }
    size_t n = ScanEntryCount(rec, bytes);
    if (n > (size_t)cap) n = (size_t)cap;
    for (size_t k = 0; k < n; k++) ScanEntryToMb(ScanEntry(rec, k), Entry<MBScanEntry>(b, (int32_t)k));
    b->Count = (int32_t)n;
    b->NewData = 1;
    b->Complete = 1;
}

void HandAcs(const uint8_t *rec, size_t bytes, MBBufferHeader *b, const MbSinks *s)
{
    if (Le16(rec) <= 1) {
        b->Complete = 1;
        return;
    }
    int32_t cap = MbUsableCapacity(b, MBACSScanBufferType), held = Held(b);
    if (held >= cap) {
        b->Overflow = 1;
        return;
    }
    MBACSScanEntry e;
    if (!AcsRecordToMb(rec, bytes, &e, s)) {
        Emit(s->log, s->log_ctx, "record too short, %d bytes\n", (int)bytes);
        return;
    }
    for (int32_t k = 0; k < held; k++) {
        const MBACSScanEntry *h = Entry<MBACSScanEntry>(b, k);
        if (memcmp(h->BSSID, e.BSSID, 6) == 0 && memcmp(h->SSID, e.SSID, sizeof e.SSID) == 0) return;
    }
    memcpy(Entry<MBACSScanEntry>(b, held), &e, sizeof e);
    b->Count = held + 1;
    b->NewData = 1;
}

void HandValue(const uint8_t *rec, size_t bytes, MBBufferHeader *b, uint32_t type, size_t size)
{
    int32_t cap = MbUsableCapacity(b, type), held = Held(b);
    if (held >= cap) {
        b->Overflow = 1;
        return;
    }
    // The value(s) from the start of the record's value; bytes the record
    // does not hold read as zero.
    uint8_t v[12] = {0};
    size_t have = bytes > 4 ? bytes - 4 : 0;
    memcpy(v, rec + 4, have < size ? have : size);
    memcpy(reinterpret_cast<uint8_t *>(b) + sizeof(MBBufferHeader) + (size_t)held * size, v, size);
    b->Count = held + 1;
    b->NewData = 1;
}

void HandWmp(const uint8_t *rec, size_t bytes, const MbSlots *slots, const MbSinks *s)
{
    if (bytes < MB_WMP_HEAD_END) {
        Emit(s->log, s->log_ctx, "record too short, %d bytes\n", (int)bytes);
        return;
    }
    if (rec[84] != 0) Emit(s->log, s->log_ctx, "Version != 0, %d instead\n", rec[84]);
    if (rec[85] == WMP_LINK_TEST_ANS) {
        Emit(s->log, s->log_ctx, "FLT\n");
        MBBufferHeader *b = slots->slot[MBLinkTestBufferType - 17];
        if (b == nullptr) return;
        int32_t cap = MbUsableCapacity(b, MBLinkTestBufferType), held = Held(b);
        if (held >= cap) {
            b->Overflow = 1;
            return;
        }
        MBLinkTestEntry e;
        if (!LinkTestToMb(rec, bytes, &e)) {
            Emit(s->log, s->log_ctx, "record too short, %d bytes\n", (int)bytes);
            return;
        }
        memcpy(Entry<MBLinkTestEntry>(b, held), &e, sizeof e);
        b->Count = held + 1;
        b->NewData = 1;
        b->Complete = 1;
    } else if (rec[85] == WMP_APLIST) {
        Emit(s->log, s->log_ctx, "FAPL\n");
        MBBufferHeader *b = slots->slot[MBAPListBufferType - 17];
        if (b == nullptr) return;
        int32_t cap = MbUsableCapacity(b, MBAPListBufferType), held = Held(b);
        if (held >= cap) {
            b->Overflow = 1;
            return;
        }
        // Record entry k goes to buffer entry held + k.
        size_t n = ApListEntryCount(rec, bytes);
        for (size_t k = 0; k < n && held < cap; k++, held++)
            ApListEntryToMb(rec + MB_APLIST_FIRST + k * MB_APLIST_ENTRY, Entry<MBAPListEntry>(b, held));
        b->Count = held;
        b->NewData = 1;
        b->Complete = 1;
    } else {
        Emit(s->log, s->log_ctx, "PDU_Type != 1 or 3, %d instead\n", rec[85]);
    }
}

} // namespace

float MbRate(uint8_t rate)
{
    switch (rate) {
    case 10: return 1.0f;
    case 20: return 2.0f;
    case 55: return 5.5f;
    case 110: return 11.0f;
    default: return (float)rate;
    }
}

bool MacIsZero(const uint8_t *mac)
{
    static const uint8_t zero[6] = {0, 0, 0, 0, 0, 0};
    return memcmp(mac, zero, 6) == 0;
}

void WmpGroupAddress(uint8_t *mac)
{
    mac[0] = (uint8_t)(kWmpOui[0] | 0x01);
    mac[1] = kWmpOui[1];
    mac[2] = kWmpOui[2];
    mac[3] = 0x00;
    mac[4] = 0x01;
    mac[5] = 0x00;
}

size_t WmpBuildRequest(uint8_t *frame, uint8_t pdu, const uint8_t *dest, uint16_t id)
{
    memset(frame, 0, WMP_LINK_TEST_LEN);
    if (dest != nullptr) memcpy(frame, dest, 6);
    frame[22] = 0;
    frame[23] = pdu;
    if (pdu != WMP_LINK_TEST_REQ) return WMP_APLIST_REQ_LEN;
    memcpy(frame + 24, &id, 2);
    for (int i = 0; i < WMP_PATTERN_LEN; i++) frame[26 + i] = (uint8_t)i;
    return WMP_LINK_TEST_LEN;
}

void WmpCompleteHeader(uint8_t *frame, size_t len)
{
    size_t body = len - 14;
    frame[12] = (uint8_t)(body >> 8);
    frame[13] = (uint8_t)body;
    static const uint8_t zero[8] = {0};
    if (memcmp(frame + 14, zero, 8) == 0) {
        const uint8_t snap[8] = {0xAA, 0xAA, 0x03, kWmpOui[0], kWmpOui[1], kWmpOui[2], 0x00, 0x01};
        memcpy(frame + 14, snap, 8);
    }
}

size_t MbRecordBytes(const uint8_t *rec, size_t room)
{
    if (room < 2) return 0;
    size_t n = 2u * Le16(rec) + 2u;
    return n < room ? n : room;
}

size_t ScanEntryCount(const uint8_t *rec, size_t bytes)
{
    if (bytes < 4) return 0;
    unsigned len = Le16(rec);
    size_t value = len >= 1 ? 2u * len - 2u : 0;
    if (value > bytes - 4) value = bytes - 4;
    return value / MB_SCAN_ENTRY;
}

const uint8_t *ScanEntry(const uint8_t *rec, size_t k) { return rec + 4 + k * MB_SCAN_ENTRY; }

size_t ScanEntrySsidLen(const uint8_t *entry)
{
    unsigned n = Le16(entry + 16);
    return n > 32 ? 32 : n;
}

bool ScanRecordAllSsid(const uint8_t *rec, size_t bytes, const uint8_t *ssid, size_t len)
{
    size_t n = ScanEntryCount(rec, bytes);
    if (n == 0) return false;
    for (size_t k = 0; k < n; k++) {
        const uint8_t *e = ScanEntry(rec, k);
        if (Le16(e + 16) != len || memcmp(e + 18, ssid, len) != 0) return false;
    }
    return true;
}

void ScanEntryToResult(const uint8_t *e, ScanResultBuffer *out)
{
    out->Channel = (int32_t)Le16(e);
    out->FirstLevelRaw = (int32_t)Le16(e + 2);
    out->SecondLevelRaw = (int32_t)Le16(e + 4);
    out->FirstLevel = LevelToDBm(out->FirstLevelRaw);
    out->SecondLevel = LevelToDBm(out->SecondLevelRaw);
    memcpy(out->BSSID, e + 6, 6);
    memset(out->Unused1, 0, sizeof out->Unused1);
    out->FirstWord = (int32_t)Le16(e + 12);
    out->SecondWord = (int32_t)Le16(e + 14);
    Text33(out->SSID, e + 18, ScanEntrySsidLen(e));
    memset(out->Name, 0, sizeof out->Name);
    memcpy(out->Name, kUnknown, sizeof kUnknown);
    memset(out->Unused2, 0, sizeof out->Unused2);
}

void ScanEntryToMb(const uint8_t *e, MBScanEntry *out)
{
    memset(out, 0, sizeof *out);
    out->Channel = (int32_t)Le16(e);
    memcpy(out->BSSID, e + 6, 6);
    out->FirstWord = (int32_t)Le16(e + 12);
    out->SecondWord = (int32_t)Le16(e + 14);
    out->FirstLevel = LevelToDBm((int)Le16(e + 2));
    out->SecondLevel = LevelToDBm((int)Le16(e + 4));
    Text33(out->SSID, e + 18, ScanEntrySsidLen(e));
}

bool AcsRecordToMb(const uint8_t *rec, size_t bytes, MBACSScanEntry *out, const MbSinks *s)
{
    if (bytes < MB_ACS_IE) return false;
    MBACSScanEntry e;
    memset(&e, 0, sizeof e);
    e.FirstWord = (uint16_t)Le16(rec + 70);
    memcpy(e.BSSID, rec + 30, 6);
    e.SecondWord = (int32_t)Le16(rec + 80);
    e.ThirdWord = (uint16_t)Le16(rec + 82);
    e.FirstLevel = LevelToDBm(rec[6]);
    e.SecondLevel = LevelToDBm(rec[7]);
    e.Rate = (rec[9] & 0x40) ? (float)rec[8] : (float)rec[8] / 10.0f;
    memcpy(e.FirstAddress, rec + 18, 6);
    memcpy(e.SecondAddress, rec + 24, 6);

    // The elements: as many as the length field says, at most what is left.
    const uint8_t *ies = rec + MB_ACS_IE;
    size_t n = Le16(rec + 56);
    if (n > bytes - MB_ACS_IE) n = bytes - MB_ACS_IE;
    size_t copied = 0;
    if (IeSsidGet(ies, n, reinterpret_cast<uint8_t *>(e.SSID), IE_SSID_MAX, &copied) && copied)
        Emit(s->out, s->out_ctx, "ssid %s\n", e.SSID);
    e.DataRate = IeRateBitsGet(ies, n, s->log, s->log_ctx);
    RsnWpaParse(ies, n, IE_ID_VENDOR, nullptr, nullptr, nullptr, s->out, s->out_ctx);
    RsnWpaParse(ies, n, IE_ID_RSN, nullptr, nullptr, nullptr, s->out, s->out_ctx);
    *out = e;
    return true;
}

bool LinkTestToMb(const uint8_t *rec, size_t bytes, MBLinkTestEntry *out)
{
    if (bytes < MB_LINK_TEST_END) return false;
    memset(out, 0, sizeof *out);
    out->ID = (int32_t)Le16(rec + 86);
    memcpy(out->Address, rec + 28, 6);
    Text33(out->Name, rec + 88, 32);
    out->RemoteLevel121 = LevelToDBm(rec[121]);
    out->RemoteLevel120 = LevelToDBm(rec[120]);
    out->RemoteRate = MbRate(rec[123]);
    out->LocalLevel11 = LevelToDBm(rec[11]);
    out->LocalLevel10 = LevelToDBm(rec[10]);
    out->LocalRate = MbRate(rec[12]);
    return true;
}

size_t ApListEntryCount(const uint8_t *rec, size_t bytes)
{
    if (bytes <= MB_APLIST_COUNT) return 0;
    size_t n = rec[MB_APLIST_COUNT];
    size_t fit = bytes >= MB_APLIST_FIRST ? (bytes - MB_APLIST_FIRST) / MB_APLIST_ENTRY : 0;
    return n < fit ? n : fit;
}

void ApListEntryToMb(const uint8_t *e, MBAPListEntry *out)
{
    memcpy(out->Address, e, 6);
    memcpy(out->Data, e + 6, 4);
    Text33(out->Name, e + 10, 32);
}

size_t MbEntrySize(uint32_t type)
{
    switch (type) {
    case MBScanBufferType: return sizeof(MBScanEntry);
    case MBACSScanBufferType: return sizeof(MBACSScanEntry);
    case MBWordBufferType: return sizeof(MBWordEntry);
    case MBTripleBufferType: return sizeof(MBTripleEntry);
    case MBLinkTestBufferType: return sizeof(MBLinkTestEntry);
    case MBAPListBufferType: return sizeof(MBAPListEntry);
    default: return 0;
    }
}

int32_t MbUsableCapacity(const MBBufferHeader *b, uint32_t type)
{
    size_t size = MbEntrySize(type);
    if (size == 0 || b->Capacity <= 0 || b->TS.Size < sizeof(MBBufferHeader)) return 0;
    size_t fit = (b->TS.Size - sizeof(MBBufferHeader)) / size;
    return (size_t)b->Capacity < fit ? b->Capacity : (int32_t)fit;
}

void MbHandOn(const uint8_t *rec, size_t bytes, const MbSlots *slots, const MbSinks *s)
{
    if (bytes < 4) return;
    MBBufferHeader *b;
    switch (Le16(rec + 2)) {
    case MB_WMP:
        Emit(s->log, s->log_ctx, "FWMP\n");
        HandWmp(rec, bytes, slots, s);
        break;
    case MB_SCAN:
        Emit(s->log, s->log_ctx, "F101\n");
        if ((b = slots->slot[MBScanBufferType - 17]) != nullptr) HandScan(rec, bytes, b);
        break;
    case MB_ACS_SCAN:
        Emit(s->log, s->log_ctx, "F102\n");
        if ((b = slots->slot[MBACSScanBufferType - 17]) != nullptr) HandAcs(rec, bytes, b, s);
        break;
    case MB_WORD:
        Emit(s->log, s->log_ctx, "F200\n");
        if ((b = slots->slot[MBWordBufferType - 17]) != nullptr) HandValue(rec, bytes, b, MBWordBufferType, sizeof(MBWordEntry));
        break;
    case MB_TRIPLE:
        Emit(s->log, s->log_ctx, "F202\n");
        if ((b = slots->slot[MBTripleBufferType - 17]) != nullptr) HandValue(rec, bytes, b, MBTripleBufferType, sizeof(MBTripleEntry));
        break;
    default:
        Emit(s->log, s->log_ctx, "unknown type (0xF201 and 0xF203 apply to AP only)\n");
        break;
    }
}
