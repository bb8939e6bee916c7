/*
 * simworld.c - the stations the stand-in adapters hear, their mailboxes,
 * scans, management protocol answers and association.
 *
 * Runs under the caller's lock like simcore. Every length that comes from
 * a request (pushed records, diagnostic messages, stored records read back)
 * is checked against the bytes there are before use.
 */
#include "simworld.h"

#include <string.h>

#include "simcore.h"

typedef struct MbRecord {
    uint16_t len;
    uint16_t typ;
    uint32_t bytes; /* value bytes kept; the len word may claim more */
    uint8_t *val;   /* NULL when bytes is 0 */
} MbRecord;

typedef struct WorldAdapter {
    MbRecord q[WLSIM_MB_KEEP]; /* ring: head is the oldest */
    int head;
    int n;
    MbRecord held[WLSIM_MB_KEEP];
    int nHeld;
    MbRecord sticky;
    int hasSticky;
    MbRecord delayed[WLSIM_MB_KEEP]; /* link test answers on their way */
    uint32_t delayLeft[WLSIM_MB_KEEP];
    int nDelayed;
    WlSimMailboxState st;
} WorldAdapter;

static WorldAdapter World[WLSIM_MAX_ADAPTERS];
static WlSimStation Stations[WLSIM_MAX_STATIONS];
static int StationUsed[WLSIM_MAX_STATIONS];
static int WorldActive; /* a station was put since the last reset */
static WlSimLinkShape LinkShape;
static uint32_t LinkRequests; /* link test requests heard since the shape was set */

static const uint8_t Snap[8] = {0xAA, 0xAA, 0x03, WLSIM_OUI0, WLSIM_OUI1, WLSIM_OUI2, 0x00, 0x01};

/* 5 GHz channels in the order of the scan channel set's bits. */
static const uint8_t Channels5[] = {36,  40,  44,  48,  52,  56,  60,  64,  100, 104, 108, 112,
                                    116, 120, 124, 128, 132, 136, 140, 149, 153, 157, 161, 165};

/* Rates of the rate bit set in units of 0.1 Mb/s. */
static const uint16_t RateTenths[12] = {10, 20, 55, 110, 60, 90, 120, 180, 240, 360, 480, 540};

/* ---- helpers ------------------------------------------------------------ */

static int ValidWorldAdapter(int32_t adapter)
{
    return adapter >= 0 && adapter < WLSIM_MAX_ADAPTERS && SimCoreAdapterValid(adapter);
}

static void Put16(uint8_t *p, uint32_t off, uint16_t v)
{
    memcpy(p + off, &v, sizeof v);
}

static void FreeRecord(MbRecord *r)
{
    SimFree(r->val);
    memset(r, 0, sizeof *r);
}

static int MakeRecord(MbRecord *r, uint16_t typ, uint16_t len, const void *value, uint32_t bytes)
{
    memset(r, 0, sizeof *r);
    if (bytes) {
        r->val = (uint8_t *)SimAlloc(bytes);
        if (!r->val)
            return SIM_E_NOMEM;
        memcpy(r->val, value, bytes);
    }
    r->typ = typ;
    r->len = len;
    r->bytes = bytes;
    return SIM_OK;
}

static void ClearAdapter(WorldAdapter *w)
{
    int i;
    for (i = 0; i < WLSIM_MB_KEEP; i++) {
        FreeRecord(&w->q[i]);
        FreeRecord(&w->held[i]);
        FreeRecord(&w->delayed[i]);
    }
    FreeRecord(&w->sticky);
    memset(w, 0, sizeof *w);
    w->st.joined = -1;
}

/* Appends to the queue; a full queue drops its oldest record. */
static void Enqueue(WorldAdapter *w, MbRecord *r)
{
    if (w->n == WLSIM_MB_KEEP) {
        FreeRecord(&w->q[w->head]);
        w->head = (w->head + 1) % WLSIM_MB_KEEP;
        w->n--;
        w->st.dropped++;
    }
    w->q[(w->head + w->n) % WLSIM_MB_KEEP] = *r;
    w->n++;
    w->st.pushed++;
    memset(r, 0, sizeof *r);
}

static uint16_t LenFor(uint32_t bytes)
{
    return (uint16_t)(1u + (bytes + 1u) / 2u);
}

/* Queues the world's own record of `bytes` value bytes. */
static void QueueValue(int32_t adapter, uint16_t typ, const uint8_t *value, uint32_t bytes)
{
    SimMailboxPush(adapter, typ, LenFor(bytes), value, bytes, WLSIM_MB_NOW);
}

/* A stored byte-string record (count word, bytes): the bytes, at most 32. */
static int ReadString(int32_t adapter, uint16_t typ, uint8_t *out)
{
    uint16_t val[17];
    int len = SimCoreRecordRead(adapter, typ, val, 17);
    int n;
    if (len < 2)
        return 0;
    n = val[0];
    if (n > 32)
        n = 32;
    if (n > 2 * (len - 2))
        n = 2 * (len - 2);
    memcpy(out, &val[1], (uint32_t)n);
    return n;
}

static int ReadWord(int32_t adapter, uint16_t typ, uint16_t dflt)
{
    uint16_t v;
    return SimCoreRecordRead(adapter, typ, &v, 1) >= 2 ? v : dflt;
}

static void OwnMac(int32_t adapter, uint8_t *mac)
{
    uint16_t val[3];
    memset(mac, 0, 6);
    if (SimCoreRecordRead(adapter, 0xFC01, val, 3) >= 4)
        memcpy(mac, val, 6);
}

static int SsidMatches(const WlSimStation *s, const uint8_t *ssid, int n)
{
    return n == 0 || (s->ssidLen == n && memcmp(s->ssid, ssid, (uint32_t)n) == 0);
}

static int FindStation(const uint8_t *bssid)
{
    int i;
    for (i = 0; i < WLSIM_MAX_STATIONS; i++)
        if (StationUsed[i] && memcmp(Stations[i].bssid, bssid, 6) == 0)
            return i;
    return -1;
}

/* Writes the station's elements: SSID, rates, extended rates, DS parameter
 * set, then its WPA and RSN elements; returns the bytes written (room is at
 * least 2 + 32 + 2 + 8 + 2 + 4 + 3 + WLSIM_STATION_IE_MAX). */
static uint32_t StationElements(const WlSimStation *s, uint8_t *p)
{
    uint32_t n = 0;
    uint8_t ssidLen = s->ssidLen > 32 ? 32 : s->ssidLen;
    uint8_t nRates = s->nRates > WLSIM_STATION_RATES_MAX ? WLSIM_STATION_RATES_MAX : s->nRates;
    uint8_t first = nRates > 8 ? 8 : nRates;
    uint16_t ieLen = s->ieLen > WLSIM_STATION_IE_MAX ? WLSIM_STATION_IE_MAX : s->ieLen;

    p[n++] = 0;
    p[n++] = ssidLen;
    memcpy(p + n, s->ssid, ssidLen);
    n += ssidLen;
    if (first) {
        p[n++] = 1;
        p[n++] = first;
        memcpy(p + n, s->rates, first);
        n += first;
    }
    if (nRates > first) {
        p[n++] = 50;
        p[n++] = (uint8_t)(nRates - first);
        memcpy(p + n, s->rates + first, (uint32_t)(nRates - first));
        n += (uint32_t)(nRates - first);
    }
    p[n++] = 3;
    p[n++] = 1;
    p[n++] = s->channel;
    memcpy(p + n, s->ies, ieLen);
    return n + ieLen;
}

/* ---- association ---------------------------------------------------------- */

static void StoreLink(int32_t adapter, uint16_t portStatus, const WlSimStation *s,
                      const uint8_t *ssid, int ssidLen, uint16_t channel)
{
    uint16_t ssidRec[17];
    uint16_t quality[3] = {0, 0, 0};
    uint8_t bssid[6] = {0, 0, 0, 0, 0, 0};
    WorldAdapter *w = &World[adapter];

    SimCoreRecordStore(adapter, 0xFD40, 2, &portStatus);
    memset(ssidRec, 0, sizeof ssidRec);
    ssidRec[0] = (uint16_t)ssidLen;
    memcpy(&ssidRec[1], ssid, (uint32_t)ssidLen);
    SimCoreRecordStore(adapter, 0xFD41, 18, ssidRec);
    if (s) {
        memcpy(bssid, s->bssid, 6);
        quality[0] = (uint16_t)(s->level1 > s->level2 ? s->level1 - s->level2 : 0);
        quality[1] = s->level1;
        quality[2] = s->level2;
        channel = s->channel;
    }
    SimCoreRecordStore(adapter, 0xFD42, 4, bssid);
    SimCoreRecordStore(adapter, 0xFD43, 4, quality);
    if (channel)
        SimCoreRecordStore(adapter, 0xFDC1, 2, &channel);
    if (s && (s->capability & WLSIM_CAP_ESS)) {
        /* the association request the adapter sent */
        uint8_t req[6 + 2 + 32 + 2 + 8 + 2 + 4 + 3 + WLSIM_STATION_IE_MAX + 1];
        uint16_t listen = 10;
        uint32_t n;
        memset(req, 0, sizeof req);
        Put16(req, 2, s->capability);
        Put16(req, 4, listen);
        n = 6 + StationElements(s, req + 6);
        SimCoreRecordStore(adapter, 0xFD8C, LenFor(n), req);
    }
    w->st.portStatus = portStatus;
    memcpy(w->st.joinedBssid, bssid, 6);
}

/* Joins according to the adapter's desired SSID, connection mode, own
 * channel and encryption switch. */
static void Associate(int32_t adapter)
{
    uint8_t ssid[32];
    int ssidLen = ReadString(adapter, 0xFC02, ssid);
    int mode = ReadWord(adapter, 0x0908, 0);
    int privacy = ReadWord(adapter, 0xFC20, 0) != 0;
    uint16_t ownChannel = (uint16_t)(ReadWord(adapter, 0xFC03, 1) & 0xFF);
    WorldAdapter *w = &World[adapter];
    int i, best = -1;

    if (!WorldActive || mode > 1)
        return;
    for (i = 0; i < WLSIM_MAX_STATIONS; i++) {
        const WlSimStation *s = &Stations[i];
        int ess = (s->capability & WLSIM_CAP_ESS) != 0;
        if (!StationUsed[i] || !s->inRange || ess != (mode == 0) || !SsidMatches(s, ssid, ssidLen))
            continue;
        if (((s->capability & WLSIM_CAP_PRIVACY) != 0) != privacy)
            continue;
        if (best < 0 || s->level1 > Stations[best].level1)
            best = i;
    }
    w->st.joined = best;
    if (mode == 0) {
        if (best >= 0)
            StoreLink(adapter, WLSIM_PORT_STATUS_ESS, &Stations[best], Stations[best].ssid,
                      Stations[best].ssidLen > 32 ? 32 : Stations[best].ssidLen, 0);
        else
            StoreLink(adapter, WLSIM_PORT_STATUS_NO_LINK, NULL, ssid, 0, 0);
    } else {
        StoreLink(adapter, WLSIM_PORT_STATUS_IBSS, best >= 0 ? &Stations[best] : NULL, ssid,
                  ssidLen, ownChannel);
    }
}

/* A station changed or went: adapters joined to it follow. */
static void StationChanged(int slot)
{
    int32_t a;
    for (a = 0; a < WLSIM_MAX_ADAPTERS; a++) {
        WorldAdapter *w = &World[a];
        const WlSimStation *s = &Stations[slot];
        if (!SimCoreAdapterValid(a) || w->st.joined != slot)
            continue;
        if (StationUsed[slot] && s->inRange) {
            uint16_t quality[3];
            quality[0] = (uint16_t)(s->level1 > s->level2 ? s->level1 - s->level2 : 0);
            quality[1] = s->level1;
            quality[2] = s->level2;
            SimCoreRecordStore(a, 0xFD43, 4, quality);
            continue;
        }
        /* the link drops */
        w->st.joined = -1;
        if (w->st.portStatus == WLSIM_PORT_STATUS_IBSS) {
            uint8_t ssid[32];
            int n = ReadString(a, 0xFC02, ssid);
            StoreLink(a, WLSIM_PORT_STATUS_IBSS, NULL, ssid, n, 0);
        } else {
            StoreLink(a, WLSIM_PORT_STATUS_NO_LINK, NULL, NULL, 0, 0);
        }
    }
}

/* ---- scans ------------------------------------------------------------------ */

static void MoveHeld(WorldAdapter *w)
{
    int i;
    for (i = 0; i < w->nHeld; i++)
        Enqueue(w, &w->held[i]);
    w->nHeld = 0;
}

/* Action 6: scan results of the in-range stations matching the scan SSID,
 * at most 32 entries a record; a record without entries when none does. */
static void Scan(int32_t adapter)
{
    static uint8_t rec[WLSIM_SCAN_ENTRIES_MAX * WLSIM_SCAN_ENTRY_BYTES];
    uint8_t ssid[32];
    int ssidLen = ReadString(adapter, 0xFCB2, ssid);
    uint32_t n = 0;
    int i, sent = 0;

    for (i = 0; i < WLSIM_MAX_STATIONS; i++) {
        const WlSimStation *s = &Stations[i];
        uint8_t *e = rec + n * WLSIM_SCAN_ENTRY_BYTES;
        if (!StationUsed[i] || !s->inRange || !SsidMatches(s, ssid, ssidLen))
            continue;
        memset(e, 0, WLSIM_SCAN_ENTRY_BYTES);
        Put16(e, 0, s->channel);
        Put16(e, 2, s->level1);
        Put16(e, 4, s->level2);
        memcpy(e + 6, s->bssid, 6);
        Put16(e, 12, 100); /* beacon interval */
        Put16(e, 14, s->capability);
        Put16(e, 16, s->ssidLen > 32 ? 32 : s->ssidLen);
        memcpy(e + 18, s->ssid, s->ssidLen > 32 ? 32 : s->ssidLen);
        if (++n == WLSIM_SCAN_ENTRIES_MAX) {
            QueueValue(adapter, WLSIM_MB_SCAN, rec, n * WLSIM_SCAN_ENTRY_BYTES);
            sent++;
            n = 0;
        }
    }
    if (n || !sent)
        QueueValue(adapter, WLSIM_MB_SCAN, rec, n * WLSIM_SCAN_ENTRY_BYTES);
}

static int OnScanChannels(const uint16_t *set, int setLen, const WlSimStation *s)
{
    uint32_t i;
    if (setLen < 5) /* no channel sets held: every channel */
        return 1;
    if (s->band == WLSIM_BAND_2GHZ)
        return s->channel >= 1 && s->channel <= 16 && (set[0] >> (s->channel - 1)) & 1u;
    for (i = 0; i < sizeof Channels5; i++) {
        if (Channels5[i] != s->channel)
            continue;
        if (i < 16)
            return (set[1] >> i) & 1u;
        if (i < 32)
            return (set[2] >> (i - 16)) & 1u;
        return (set[3] >> (i - 32)) & 1u;
    }
    return 0;
}

/* Action 7: one probe response per station heard on the scan channel sets
 * at a probe rate of its band, then a record without value. */
static void AcsScan(int32_t adapter)
{
    static uint8_t rec[WLSIM_ACS_IE_OFFSET + 2 + 32 + 2 + 8 + 2 + 4 + 3 + WLSIM_STATION_IE_MAX + 2];
    uint16_t set[4], probe[2];
    int setLen = SimCoreRecordRead(adapter, 0xFCC2, set, 4);
    int probeLen = SimCoreRecordRead(adapter, 0xFCC5, probe, 2);
    uint8_t ssid[32], mac[6];
    int ssidLen = ReadString(adapter, 0xFCB2, ssid);
    int i, bit;

    OwnMac(adapter, mac);
    for (i = 0; i < WLSIM_MAX_STATIONS; i++) {
        const WlSimStation *s = &Stations[i];
        uint16_t rates = 0x0001;
        uint32_t n;
        if (!StationUsed[i] || !s->inRange || !SsidMatches(s, ssid, ssidLen) ||
            !OnScanChannels(set, setLen, s))
            continue;
        if (probeLen >= 3)
            rates = s->band == WLSIM_BAND_2GHZ ? probe[0] : probe[1];
        if (s->band == WLSIM_BAND_5GHZ)
            rates &= 0x0FF0;
        for (bit = 0; bit < 12 && !((rates >> bit) & 1u); bit++)
            ;
        if (bit == 12)
            continue; /* no probe rate for the band */
        memset(rec, 0, sizeof rec);
        rec[6] = s->level1;
        rec[7] = s->level2;
        if (RateTenths[bit] <= 255) {
            rec[8] = (uint8_t)RateTenths[bit];
        } else {
            rec[8] = (uint8_t)(RateTenths[bit] / 10);
            rec[9] = 0x40;
        }
        memcpy(rec + 18, mac, 6);
        memcpy(rec + 24, s->bssid, 6);
        memcpy(rec + 30, s->bssid, 6);
        n = StationElements(s, rec + WLSIM_ACS_IE_OFFSET);
        Put16(rec, 56, (uint16_t)n);
        Put16(rec, 70, s->channel);
        /* The probe response's fixed fields: beacon interval, capability. */
        Put16(rec, 80, 100);
        Put16(rec, 82, s->capability);
        QueueValue(adapter, WLSIM_MB_ACS_SCAN, rec + 4, WLSIM_ACS_IE_OFFSET - 4 + n);
    }
    QueueValue(adapter, WLSIM_MB_ACS_SCAN, NULL, 0);
}

/* ---- management protocol ---------------------------------------------------- */

static void WmpHeader(uint8_t *rec, const uint8_t *dest, const uint8_t *src, uint32_t recBytes,
                      uint8_t pdu, uint16_t id)
{
    uint32_t frameLen = recBytes - WLSIM_WMP_OFFSET;
    uint8_t *f = rec + WLSIM_WMP_OFFSET;
    memcpy(f, dest, 6);
    memcpy(f + 6, src, 6);
    f[12] = (uint8_t)((frameLen - 14) >> 8);
    f[13] = (uint8_t)(frameLen - 14);
    memcpy(f + 14, Snap, sizeof Snap);
    f[22] = 0;
    f[23] = pdu;
    /* an access point list carries its entry count and entries from
       frame byte 24 on, where a link test answer has its ID */
    if (pdu == WLSIM_WMP_LINK_TEST_ANS)
        Put16(f, 24, id);
}

static uint8_t RateByte(const WlSimStation *s)
{
    return s->band == WLSIM_BAND_5GHZ ? 54 : 110;
}

static void LinkTestAnswer(int32_t adapter, const WlSimStation *s, const uint8_t *req)
{
    uint8_t rec[WLSIM_LINK_TEST_BYTES];
    uint16_t id;
    memset(rec, 0, sizeof rec);
    memcpy(&id, req + 24, sizeof id);
    rec[10] = s->level1;
    rec[11] = s->level2;
    rec[12] = RateByte(s);
    memcpy(rec + 28, s->bssid, 6);
    WmpHeader(rec, req + 6, s->bssid, sizeof rec, WLSIM_WMP_LINK_TEST_ANS, id);
    memcpy(rec + 88, s->name, 32);
    rec[120] = s->level1;
    rec[121] = s->level2;
    rec[123] = RateByte(s);
    if (LinkShape.delayReads) {
        WorldAdapter *w = &World[adapter];
        if (w->nDelayed < WLSIM_MB_KEEP &&
            MakeRecord(&w->delayed[w->nDelayed], WLSIM_MB_WMP, LenFor(sizeof rec - 4), rec + 4,
                       sizeof rec - 4) == SIM_OK)
            w->delayLeft[w->nDelayed++] = LinkShape.delayReads;
        return;
    }
    QueueValue(adapter, WLSIM_MB_WMP, rec + 4, sizeof rec - 4);
}

/* Whether the shape drops this link test request (spread evenly). */
static int LinkDropped(void)
{
    uint32_t k = LinkRequests++;
    return (k + 1) * LinkShape.dropPercent / 100 > k * LinkShape.dropPercent / 100;
}

/* One mailbox read has passed: answers whose delay ran out join the queue. */
static void AgeDelayed(WorldAdapter *w)
{
    int i = 0, j;
    while (i < w->nDelayed) {
        if (--w->delayLeft[i] > 0) {
            i++;
            continue;
        }
        Enqueue(w, &w->delayed[i]);
        for (j = i; j + 1 < w->nDelayed; j++) {
            w->delayed[j] = w->delayed[j + 1];
            w->delayLeft[j] = w->delayLeft[j + 1];
        }
        w->nDelayed--;
        memset(&w->delayed[w->nDelayed], 0, sizeof w->delayed[0]);
    }
}

static void ApListAnswer(int32_t adapter, const WlSimStation *s, const uint8_t *req)
{
    static uint8_t rec[WLSIM_APLIST_OFFSET + WLSIM_MAX_STATIONS * WLSIM_APLIST_ENTRY];
    uint32_t count = 0;
    int i;
    memset(rec, 0, sizeof rec);
    memcpy(rec + 28, s->bssid, 6);
    for (i = 0; i < WLSIM_MAX_STATIONS; i++) {
        const WlSimStation *a = &Stations[i];
        uint8_t *e = rec + WLSIM_APLIST_OFFSET + count * WLSIM_APLIST_ENTRY;
        if (!StationUsed[i] || !a->inRange || !(a->capability & WLSIM_CAP_ESS))
            continue;
        memcpy(e, a->bssid, 6);
        e[6] = a->channel;
        e[7] = a->level1;
        e[8] = a->level2;
        e[9] = 0;
        memcpy(e + 10, a->name, 32);
        count++;
    }
    rec[86] = (uint8_t)count;
    WmpHeader(rec, req + 6, s->bssid, WLSIM_APLIST_OFFSET + count * WLSIM_APLIST_ENTRY,
              WLSIM_WMP_APLIST, 0);
    QueueValue(adapter, WLSIM_MB_WMP, rec + 4, WLSIM_APLIST_OFFSET + count * WLSIM_APLIST_ENTRY - 4);
}

void SimWorldDiag(int32_t adapter, const uint8_t *msg, uint32_t len)
{
    int slot;
    if (!ValidWorldAdapter(adapter) || !msg || len < 24 || memcmp(msg + 14, Snap, sizeof Snap) != 0 ||
        msg[22] != 0)
        return;
    slot = FindStation(msg);
    if (slot < 0 || !Stations[slot].inRange)
        return; /* nobody answers */
    if (msg[23] == WLSIM_WMP_LINK_TEST_REQ && len >= 26) {
        if (LinkDropped())
            return;
        LinkTestAnswer(adapter, &Stations[slot], msg);
        World[adapter].st.wmpAnswers++;
    } else if (msg[23] == WLSIM_WMP_APLIST_REQ) {
        ApListAnswer(adapter, &Stations[slot], msg);
        World[adapter].st.wmpAnswers++;
    }
}

/* ---- the core's hooks --------------------------------------------------------- */

void SimWorldReset(void)
{
    int i;
    for (i = 0; i < WLSIM_MAX_ADAPTERS; i++)
        ClearAdapter(&World[i]);
    memset(Stations, 0, sizeof Stations);
    memset(StationUsed, 0, sizeof StationUsed);
    WorldActive = 0;
    memset(&LinkShape, 0, sizeof LinkShape);
    LinkRequests = 0;
}

void SimWorldAdapterGone(int32_t adapter)
{
    if (adapter >= 0 && adapter < WLSIM_MAX_ADAPTERS)
        ClearAdapter(&World[adapter]);
}

uint16_t SimWorldMailboxRead(int32_t adapter, uint8_t *block, uint16_t asked)
{
    WorldAdapter *w = &World[adapter];
    MbRecord *r = NULL;
    uint16_t len, typ;
    uint32_t want, have;

    AgeDelayed(w);
    if (w->hasSticky)
        r = &w->sticky;
    else if (w->n)
        r = &w->q[w->head];
    if (!r) {
        w->st.emptyReads++;
        len = 1;
        typ = WLSIM_MB_REQUEST;
        Put16(block, 8, len);
        Put16(block, 10, typ);
        return len;
    }
    len = r->len < asked ? r->len : asked;
    want = len > 1 ? 2u * (uint32_t)(len - 1) : 0;
    have = r->bytes < want ? r->bytes : want;
    if (have)
        memcpy(block + 12, r->val, have);
    if (want > have)
        memset(block + 12 + have, 0, want - have);
    Put16(block, 8, len);
    Put16(block, 10, r->typ);
    w->st.taken++;
    if (r != &w->sticky) {
        FreeRecord(r);
        w->head = (w->head + 1) % WLSIM_MB_KEEP;
        w->n--;
    }
    return len;
}

void SimWorldAction(int32_t adapter, uint16_t code)
{
    WorldAdapter *w;
    if (!ValidWorldAdapter(adapter))
        return;
    w = &World[adapter];
    switch (code) {
    case WLSIM_ACTION_SCAN:
        w->st.scans++;
        MoveHeld(w);
        Scan(adapter);
        break;
    case WLSIM_ACTION_ACS_SCAN:
        w->st.scans++;
        MoveHeld(w);
        AcsScan(adapter);
        break;
    case WLSIM_ACTION_RESET:
    case WLSIM_ACTION_APPLY:
        Associate(adapter);
        break;
    default:
        break;
    }
}

/* ---- control ------------------------------------------------------------------ */

int SimWorldPutStation(const WlSimStation *st)
{
    int slot, i;
    if (!st || st->ssidLen > 32 || st->nRates > WLSIM_STATION_RATES_MAX ||
        st->ieLen > WLSIM_STATION_IE_MAX || st->band > WLSIM_BAND_5GHZ)
        return SIM_E_PARAM;
    slot = FindStation(st->bssid);
    for (i = 0; i < WLSIM_MAX_STATIONS && slot < 0; i++)
        if (!StationUsed[i])
            slot = i;
    if (slot < 0)
        return SIM_E_FULL;
    Stations[slot] = *st;
    StationUsed[slot] = 1;
    WorldActive = 1;
    StationChanged(slot);
    return SIM_OK;
}

int SimWorldRemoveStation(const WlSimStationKey *key)
{
    int slot;
    if (!key)
        return SIM_E_PARAM;
    slot = FindStation(key->bssid);
    if (slot < 0)
        return SIM_E_NOT_FOUND;
    StationUsed[slot] = 0;
    StationChanged(slot);
    memset(&Stations[slot], 0, sizeof Stations[slot]);
    return SIM_OK;
}

int SimMailboxPush(int32_t adapter, uint16_t typ, uint16_t len, const void *value,
                   uint32_t valueBytes, int32_t flags)
{
    WorldAdapter *w;
    MbRecord r;
    int rc;

    if (!ValidWorldAdapter(adapter))
        return SIM_E_NOT_FOUND;
    if (valueBytes > WLSIM_MB_VALUE_MAX || (valueBytes && !value) || flags < WLSIM_MB_NOW ||
        flags > WLSIM_MB_STICKY)
        return SIM_E_PARAM;
    if (len == 0)
        len = LenFor(valueBytes);
    if (len > 1 + WLSIM_MB_VALUE_MAX / 2)
        return SIM_E_PARAM;
    w = &World[adapter];
    if (flags == WLSIM_MB_AFTER_SCAN && w->nHeld == WLSIM_MB_KEEP)
        return SIM_E_FULL;
    rc = MakeRecord(&r, typ, len, value, valueBytes);
    if (rc != SIM_OK)
        return rc;
    if (flags == WLSIM_MB_STICKY) {
        FreeRecord(&w->sticky);
        w->sticky = r;
        w->hasSticky = 1;
    } else if (flags == WLSIM_MB_AFTER_SCAN) {
        w->held[w->nHeld++] = r;
    } else {
        Enqueue(w, &r);
    }
    return SIM_OK;
}

int SimWorldMailboxState(int32_t adapter, WlSimMailboxState *out)
{
    const WorldAdapter *w;
    if (!out)
        return SIM_E_PARAM;
    if (!ValidWorldAdapter(adapter))
        return SIM_E_NOT_FOUND;
    w = &World[adapter];
    *out = w->st;
    out->adapter = adapter;
    out->queued = w->n;
    out->held = w->nHeld;
    out->sticky = w->hasSticky;
    return SIM_OK;
}

int SimWorldMailboxClear(int32_t adapter)
{
    WorldAdapter *w;
    WlSimMailboxState keep;
    if (!ValidWorldAdapter(adapter))
        return SIM_E_NOT_FOUND;
    w = &World[adapter];
    keep = w->st;
    ClearAdapter(w);
    w->st.joined = keep.joined;
    w->st.portStatus = keep.portStatus;
    memcpy(w->st.joinedBssid, keep.joinedBssid, 6);
    return SIM_OK;
}

int SimWorldLinkShape(const WlSimLinkShape *shape)
{
    if (!shape || shape->dropPercent > 100 || shape->delayReads > WLSIM_LINK_DELAY_MAX)
        return SIM_E_PARAM;
    LinkShape = *shape;
    LinkRequests = 0;
    return SIM_OK;
}

typedef struct WorldShape {
    uint32_t code;
    uint32_t inSize;
    uint32_t outSize;
} WorldShape;

static const WorldShape Shapes[] = {
    {IOCTL_WLSIM_STATION_PUT, sizeof(WlSimStation), 0},
    {IOCTL_WLSIM_STATION_REMOVE, sizeof(WlSimStationKey), 0},
    {IOCTL_WLSIM_MAILBOX_PUSH, sizeof(WlSimMailboxPush), 0},
    {IOCTL_WLSIM_MAILBOX_STATE, sizeof(WlSimAdapterId), sizeof(WlSimMailboxState)},
    {IOCTL_WLSIM_MAILBOX_CLEAR, sizeof(WlSimAdapterId), 0},
    {IOCTL_WLSIM_LINK_SHAPE, sizeof(WlSimLinkShape), 0},
};

int SimWorldControlShape(uint32_t code, uint32_t *inSize, uint32_t *outSize)
{
    uint32_t i;
    for (i = 0; i < sizeof Shapes / sizeof Shapes[0]; i++) {
        if (Shapes[i].code == code) {
            *inSize = Shapes[i].inSize;
            *outSize = Shapes[i].outSize;
            return 1;
        }
    }
    return 0;
}

int SimWorldControl(uint32_t code, const void *in, void *out, uint32_t *outBytes)
{
    static union {
        WlSimStation st;
        WlSimStationKey key;
        WlSimMailboxPush push;
        WlSimAdapterId id;
        WlSimLinkShape link;
    } req;
    uint32_t inSize = 0, outSize = 0;
    int rc;

    *outBytes = 0;
    if (!SimWorldControlShape(code, &inSize, &outSize))
        return SIM_E_PARAM;
    memcpy(&req, in, inSize); /* the answer may share the request's buffer */
    switch (code) {
    case IOCTL_WLSIM_STATION_PUT:
        return SimWorldPutStation(&req.st);
    case IOCTL_WLSIM_STATION_REMOVE:
        return SimWorldRemoveStation(&req.key);
    case IOCTL_WLSIM_MAILBOX_PUSH: {
        uint32_t bytes = req.push.len > 1 ? 2u * (uint32_t)(req.push.len - 1) : 0;
        if (bytes > WLSIM_MB_VALUE_MAX)
            return SIM_E_PARAM;
        return SimMailboxPush(req.push.adapter, req.push.typ, req.push.len, req.push.value, bytes,
                              req.push.flags);
    }
    case IOCTL_WLSIM_MAILBOX_STATE: {
        WlSimMailboxState st;
        rc = SimWorldMailboxState(req.id.adapter, &st);
        if (rc == SIM_OK) {
            memcpy(out, &st, sizeof st);
            *outBytes = sizeof st;
        }
        return rc;
    }
    case IOCTL_WLSIM_LINK_SHAPE:
        return SimWorldLinkShape(&req.link);
    default: /* IOCTL_WLSIM_MAILBOX_CLEAR */
        return SimWorldMailboxClear(req.id.adapter);
    }
}
