// 802.11 information elements: element search, SSID and rate extraction, the
// RSN/WPA element walk and the decoding of a (re)association request as the
// adapter reports it in record 0xFD8C.
//
// Everything here is pure: it reads only the byte span it is given (pointer
// plus length), keeps no state and calls no system function. Text goes to
// caller-supplied sinks, so the library glue decides where it lands (standard
// output for the element walk, the trace log for `Rate2DataRate`). A null
// sink discards the text.
//
// Data from the air or from the driver is untrusted: no length or count byte
// can make these functions read outside the span.
#ifndef WLCORE_IE_PARSE_H
#define WLCORE_IE_PARSE_H

#include <stddef.h>
#include <stdint.h>

// Receives one complete line of text (ending in "\n").
typedef void (*IeTextSink)(void *ctx, const char *text);

// Element identifiers used by the library.
enum {
    IE_ID_SSID = 0,
    IE_ID_SUPPORTED_RATES = 1,
    IE_ID_RSN = 48,
    IE_ID_EXTENDED_RATES = 50,
    IE_ID_VENDOR = 221 // the WPA element is the vendor element 00 50 F2, type 1
};

// One element found in a span: its identifier and its data bytes.
struct IeElement {
    uint8_t id;
    const uint8_t *data; // points into the searched span
    size_t len;          // data bytes; data + len never passes the span's end
};

// Finds the first element with identifier `id` among the `n` bytes at `ies`
// (identifier byte, length byte, data; elements follow each other). Returns
// true and fills `*el` when found.
//
// The walk ends, reporting not found, at the first element that does not fit
// in the bytes left: a lone identifier byte without its length byte, or a
// length byte larger than what follows. Nothing behind such an element is
// trusted, and the element itself is not returned, so a caller never sees a
// shortened element as if it were whole.
bool IeFind(const uint8_t *ies, size_t n, uint8_t id, IeElement *el);

// Copies the SSID (first element 0) into `ssid` (room for `cap` bytes) and
// stores the number of bytes copied in `*copied` (0 when nothing is copied).
// An SSID longer than `cap` is cut to `cap` bytes; an SSID element of length 1
// is not copied. The bytes of `ssid` past the copied ones are left as they
// are. Returns true when an SSID element was found.
bool IeSsidGet(const uint8_t *ies, size_t n, uint8_t *ssid, size_t cap,
               size_t *copied);

// Rate bit set: bits 0 to 11 stand for 1, 2, 5.5, 11, 6, 9, 12, 18, 24, 36,
// 48 and 54 Mb/s.
enum {
    RATE_BITS_ALL = 0x0FFF
};

// Adds the bit of the 802.11 rate byte `rate` (units of 500 kb/s, the
// basic-rate top bit ignored) to `*rates`. A rate without a bit adds nothing
// and reports "Rate2DataRate %d\n" (the byte as given) to `log`.
void Rate2DataRate(uint8_t rate, uint16_t *rates, IeTextSink log,
                   void *log_ctx);

// Rate bit set of the rate bytes of the first supported rates element (1) and
// the first extended supported rates element (50), through `Rate2DataRate`.
uint16_t IeRateBitsGet(const uint8_t *ies, size_t n, IeTextSink log,
                       void *log_ctx);

// Cipher suite bits (`map_cs`): suite type 0 (use group key) 1, 1 (WEP-40) 2,
// 2 (TKIP) 4, 3 8, 4 (CCMP) 16, 5 (WEP-104) 32; other types 0.
uint8_t IeCipherSuiteBit(uint8_t type);

// Key management suite bits (`map_akms`): type 0 gives 1, 1 (802.1X) 2,
// 2 (PSK) 4; other types 0.
uint8_t IeKeyMgmtSuiteBit(uint8_t type);

// True for the organisation identifiers whose suites the walk of element
// `id` accepts: 00 50 F2 and 00 00 00, and in the RSN element (48) also the
// standard suite identifier 00 0F AC that every WPA2 network uses.
bool IeSuiteOuiAccepted(const uint8_t *oui, uint8_t id);

// How an RSN/WPA element walk ended.
enum IeWalkResult {
    IE_WALK_NOT_FOUND = 0, // no such element in the span
    IE_WALK_COMPLETE,      // the element was read to its end
    IE_WALK_STOPPED,       // an identifier or suite that is not accepted
    IE_WALK_TRUNCATED      // a field or suite did not fit in the element
};

// Walks the RSN element (`id` 48) or the WPA element (`id` 221) of the span,
// prints its findings to `out` and adds the suites' bits to the optional
// sets: the group cipher to `*group`, each pairwise cipher to `*pairwise`,
// each key management suite to `*keymgmt`. Sets that are null are skipped
// (the suite is still printed). The sets are only added to.
//
// For 221 the element taken is the first vendor element that carries the
// WPA identifier 00 50 F2 with type 1; when there is none, the first vendor
// element. Any other identifier prints the element's "typ"/"len" lines and
// stops.
//
// Suite counts are believed only as far as the element's length goes: a
// suite or field that does not fit ends the walk (IE_WALK_TRUNCATED).
IeWalkResult RsnWpaParse(const uint8_t *ies, size_t n, uint8_t id,
                         uint8_t *group, uint8_t *pairwise, uint8_t *keymgmt,
                         IeTextSink out, void *out_ctx);

// Longest SSID kept.
enum {
    IE_SSID_MAX = 32
};

// A (re)association request decoded from the value bytes of record 0xFD8C.
// It carries every field of `CurrentAssociationRequestInfoBuffer`.
struct AssocRequestInfo {
    bool reassociation;         // value word 0 non-zero
    uint16_t capability;        // value word 1
    uint16_t listen_interval;   // value word 2
    uint8_t current_ap[6];      // reassociation only; zeros otherwise
    uint8_t ssid[IE_SSID_MAX];  // zero padded; not terminated at 32 bytes
    size_t ssid_len;            // bytes of `ssid` copied from element 0
    uint16_t rates;             // rate bit set from elements 1 and 50
    uint16_t group_cipher;      // bits this request's RSN/WPA elements give
    uint16_t pairwise_cipher;
    uint16_t key_management;
};

// Byte offsets in the value area of record 0xFD8C.
enum {
    ASSOC_REQ_FIXED_LEN = 6,    // reassociation, capability, listen interval
    ASSOC_REQ_AP_LEN = 6,       // current access point (reassociation only)
    ASSOC_REQ_VALUE_MAX = 88    // value bytes the library reads
};

// Decodes the value area `val` of `len` bytes (host byte order words, as
// every record): reassociation flag, capability and listen interval words,
// for a reassociation the current access point's address, then the request's
// information elements. Fills all of `*info` (it is cleared first): the SSID
// (at most 32 bytes; an SSID element of length 1 is not copied), the rate bit
// set from elements 1 and 50, and the bits of the WPA element and then of the
// RSN element. The walk prints "ssid %s\n" and the RSN/WPA lines to `out`;
// unknown rates go to `log`.
//
// Returns false, with `*info` cleared, when `len` is too short for the fixed
// fields (6 bytes, 12 for a reassociation).
//
// The security fields hold only this request's bits; a caller that keeps
// add-only words ORs them in.
bool AssocRequestParse(const uint8_t *val, size_t len, AssocRequestInfo *info,
                       IeTextSink out, void *out_ctx, IeTextSink log,
                       void *log_ctx);

#endif // WLCORE_IE_PARSE_H
