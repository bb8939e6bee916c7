/*
 * simworld.h - the radio world of the stand-in adapters: access points and
 * peer stations that the adapters hear, the mailbox of each adapter, the
 * scans, the management protocol answers and the association.
 *
 * Stations belong to the world, not to one adapter: every adapter hears
 * every station that is in range. Plain C, fixed-width types only, shared
 * by the driver, simclient and the host-side unit tests.
 *
 * Mailbox: a bounded first-in first-out queue of records per adapter. A
 * get_info of type WLSIM_MB_REQUEST takes the next record, answered with its
 * own type, len and value cut to what the caller's record holds; an empty
 * queue answers type WLSIM_MB_REQUEST with len 1. A full queue drops its
 * oldest record and counts the drop.
 *
 * The world acts on an adapter only once a station has been put into it
 * since the last reset: before that an apply or reset leaves the adapter's
 * link records as they are stored, as the record-store adapter always did.
 */
#ifndef WLSIM_SIMWORLD_H
#define WLSIM_SIMWORLD_H

#include "simctl.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- records of the world --------------------------------------------- */

#define WLSIM_MB_REQUEST 0x0820u  /* mailbox read; answered when empty */
#define WLSIM_MB_WMP 0x0822u      /* management protocol frame received */
#define WLSIM_MB_SCAN 0xF101u     /* scan results: 50-byte entries */
#define WLSIM_MB_ACS_SCAN 0xF102u /* channel selection scan: one probe response */

#define WLSIM_ACTION_SCAN 6
#define WLSIM_ACTION_ACS_SCAN 7

#define WLSIM_MB_KEEP 64           /* records queued per adapter */
#define WLSIM_MB_VALUE_MAX 2304u   /* value bytes of one mailbox record */
#define WLSIM_SCAN_ENTRY_BYTES 50u
#define WLSIM_SCAN_ENTRIES_MAX 32u /* entries per 0xF101 record */
#define WLSIM_ACS_IE_OFFSET 84u    /* record offset of the elements in 0xF102 */
#define WLSIM_WMP_OFFSET 62u       /* record offset of the frame in 0x0822 */
#define WLSIM_LINK_TEST_BYTES 124u /* record bytes of a link test answer */
#define WLSIM_APLIST_ENTRY 42u
#define WLSIM_APLIST_OFFSET 87u

/* Management protocol frames (big-endian length at 12, SNAP header at 14). */
#define WLSIM_WMP_LINK_TEST_REQ 0
#define WLSIM_WMP_LINK_TEST_ANS 1
#define WLSIM_WMP_APLIST_REQ 2
#define WLSIM_WMP_APLIST 3

/* The maker's organisation identifier of the SNAP header. */
#define WLSIM_OUI0 0x02u
#define WLSIM_OUI1 0x57u
#define WLSIM_OUI2 0x4Cu

/* Link records the association writes. */
#define WLSIM_PORT_STATUS_NO_LINK 2 /* searching: no usable link */
#define WLSIM_PORT_STATUS_IBSS 3
#define WLSIM_PORT_STATUS_ESS 4

/* Capability word bits. */
#define WLSIM_CAP_ESS 0x0001u     /* base station; clear: peer-to-peer */
#define WLSIM_CAP_PRIVACY 0x0010u /* announces privacy */

#define WLSIM_MAX_STATIONS 32
#define WLSIM_STATION_IE_MAX 128 /* bytes of WPA and RSN elements */
#define WLSIM_STATION_RATES_MAX 12

#define WLSIM_BAND_2GHZ 0
#define WLSIM_BAND_5GHZ 1

/* One access point or peer station. Putting a station whose BSSID is
 * already in the world replaces it (moved, weakened, out of range). */
typedef struct WlSimStation {
    uint8_t bssid[6];
    uint8_t channel;
    uint8_t band;       /* WLSIM_BAND_* */
    uint16_t capability;
    uint8_t level1;     /* signal level as the adapter reports it */
    uint8_t level2;     /* noise level */
    uint8_t inRange;
    uint8_t ssidLen;    /* 0 to 32 */
    uint8_t ssid[32];
    char name[32];      /* for link test answers and access point lists */
    uint8_t nRates;     /* 802.11 rate bytes, the first 8 in element 1 */
    uint8_t rates[WLSIM_STATION_RATES_MAX];
    uint16_t ieLen;     /* WPA (221) and RSN (48) elements, whole */
    uint8_t ies[WLSIM_STATION_IE_MAX];
} WlSimStation;

typedef struct WlSimStationKey {
    uint8_t bssid[6];
    uint16_t reserved;
} WlSimStationKey;

/* Mailbox push flags. */
#define WLSIM_MB_NOW 0        /* into the queue now */
#define WLSIM_MB_AFTER_SCAN 1 /* held until the next scan action, then
                                 queued before the world's own records */
#define WLSIM_MB_STICKY 2     /* answered by every read, never taken:
                                 a mailbox that never empties */

/* A record for an adapter's mailbox: `len` is the len word answered (1 to
 * 1 + WLSIM_MB_VALUE_MAX / 2), whatever the value says. */
typedef struct WlSimMailboxPush {
    int32_t adapter;
    int32_t flags;
    uint16_t len;
    uint16_t typ;
    uint8_t value[WLSIM_MB_VALUE_MAX];
} WlSimMailboxPush;

typedef struct WlSimMailboxState {
    int32_t adapter;
    int32_t queued;   /* records waiting now */
    int32_t held;     /* records waiting for the next scan action */
    int32_t sticky;   /* 1 when a sticky record answers every read */
    uint32_t pushed;  /* records queued since the last reset */
    uint32_t taken;   /* records answered to reads */
    uint32_t dropped; /* oldest records dropped from a full queue */
    uint32_t emptyReads;
    uint32_t scans;   /* scan actions 6 and 7 */
    uint32_t wmpAnswers;
    int32_t joined;   /* station slot the adapter is joined to, or -1 */
    uint8_t joinedBssid[6];
    uint16_t portStatus; /* as the association left it; 0 before any */
} WlSimMailboxState;

#define IOCTL_WLSIM_STATION_PUT WLSIM_CTL_CODE(0x840)    /* WlSimStation / - */
#define IOCTL_WLSIM_STATION_REMOVE WLSIM_CTL_CODE(0x841) /* WlSimStationKey / - */
#define IOCTL_WLSIM_MAILBOX_PUSH WLSIM_CTL_CODE(0x842)   /* WlSimMailboxPush / - */
#define IOCTL_WLSIM_MAILBOX_STATE WLSIM_CTL_CODE(0x843)  /* WlSimAdapterId / WlSimMailboxState */
#define IOCTL_WLSIM_MAILBOX_CLEAR WLSIM_CTL_CODE(0x844)  /* WlSimAdapterId / - */
#define IOCTL_WLSIM_LINK_SHAPE WLSIM_CTL_CODE(0x845)     /* WlSimLinkShape / - */

/* How the world answers link test requests, for every station: of every
 * 100 requests `dropPercent` get no answer (spread evenly: the k-th request
 * is dropped when floor(k * p / 100) grows), and each answer reaches the
 * mailbox only after `delayReads` further mailbox reads of that adapter.
 * All zero (the reset state): every request answered at once. */
typedef struct WlSimLinkShape {
    uint32_t dropPercent; /* 0 to 100 */
    uint32_t delayReads;  /* 0 to WLSIM_LINK_DELAY_MAX */
} WlSimLinkShape;

#define WLSIM_LINK_DELAY_MAX 1000u
int SimWorldLinkShape(const WlSimLinkShape *shape);

/* ---- the world's side of the core --------------------------------------- */

void SimWorldReset(void);             /* frees everything */
void SimWorldAdapterGone(int32_t adapter);

int SimWorldPutStation(const WlSimStation *st);
int SimWorldRemoveStation(const WlSimStationKey *key);

/* Queues a record of `valueBytes` bytes (0 to WLSIM_MB_VALUE_MAX) for the
 * adapter, answered with len word `len` (1 + valueBytes / 2 rounded up when
 * 0). Kept stable for every producer of mailbox records. */
int SimMailboxPush(int32_t adapter, uint16_t typ, uint16_t len, const void *value,
                   uint32_t valueBytes, int32_t flags);
int SimWorldMailboxState(int32_t adapter, WlSimMailboxState *out);
int SimWorldMailboxClear(int32_t adapter);

/* Hooks of the exchange handling (simcore.c), the adapter already valid. */
/* get_info of WLSIM_MB_REQUEST: writes the answer at block offset 8 (len,
 * typ, value) for a request of `asked` words; returns the len answered. */
uint16_t SimWorldMailboxRead(int32_t adapter, uint8_t *block, uint16_t asked);
void SimWorldAction(int32_t adapter, uint16_t code);
void SimWorldDiag(int32_t adapter, const uint8_t *msg, uint32_t len);

/* Control requests of the world: shape and run, for the kernel glue. */
int SimWorldControlShape(uint32_t code, uint32_t *inSize, uint32_t *outSize);
int SimWorldControl(uint32_t code, const void *in, void *out, uint32_t *outBytes);

/* ---- what the world needs of the core (simcore.c) ---------------------- */

/* Copies the stored record `typ` into `val` (at most maxWords value words);
 * returns its len, 0 when the adapter has no such record. */
int SimCoreRecordRead(int32_t adapter, uint16_t typ, uint16_t *val, int maxWords);
int SimCoreRecordStore(int32_t adapter, uint16_t typ, uint16_t len, const void *val);
int SimCoreAdapterValid(int32_t adapter);

#ifdef __cplusplus
}
#endif

#endif /* WLSIM_SIMWORLD_H */
