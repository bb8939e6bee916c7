// Mailbox records and management protocol frames: the conversions of scan
// results, channel selection scan results, link test answers and access
// point lists into the caller's buffers, the handing-on of one mailbox
// record into a client's typed buffers, and the building of link test and
// access point list requests.
//
// Pure functions over byte spans: a record is its bytes from the length
// word on and the count of bytes that the read really delivered (2 x len + 2,
// never more than the read buffer). Nothing here reads past that count,
// whatever the length word, an entry count or an element length says, and
// nothing writes past a client buffer's TS.Size.
#ifndef WLCORE_MBCONV_H
#define WLCORE_MBCONV_H

#include <stddef.h>
#include <stdint.h>

#include "wlcore/ie_parse.h"
#include "wlbuffers.h"

// Raw level to dBm (levels up to 47: -102, from 139: -10, else level - 149).
int LevelToDBm(int Level);

// Mailbox record types.
enum {
    MB_REQUEST = 0x0820, // the read request; as an answer: the mailbox is empty
    MB_WMP = 0x0822,     // management protocol frame received
    MB_SCAN = 0xF101,
    MB_ACS_SCAN = 0xF102,
    MB_WORD = 0xF200,
    MB_TRIPLE = 0xF202
};

// Record layouts (byte offsets from the length word).
enum {
    MB_SCAN_ENTRY = 50,     // entries from record offset 4
    MB_SCAN_MAX = 32,       // entries a 1604-byte scan record holds
    MB_ACS_IE = 84,         // elements of a channel selection scan record
    MB_LINK_TEST_END = 124, // bytes a link test answer must hold
    MB_WMP_HEAD_END = 86,   // bytes up to and with Version and PDU_Type
    MB_APLIST_COUNT = 86,
    MB_APLIST_FIRST = 87,
    MB_APLIST_ENTRY = 42
};

// Management protocol frames.
enum {
    WMP_LINK_TEST_REQ = 0,
    WMP_LINK_TEST_ANS = 1,
    WMP_APLIST_REQ = 2,
    WMP_APLIST = 3,
    WMP_LINK_TEST_LEN = 80,
    WMP_APLIST_REQ_LEN = 24,
    WMP_PATTERN_LEN = 54
};

// The maker's organisation identifier of the SNAP header and of the group
// destination: the prefix of the family's own station addresses.
extern const uint8_t kWmpOui[3];

// Text sinks of the handing-on: `log` gets the trace lines (record tags,
// "Version != 0, ..."), `out` the element walk's lines (standard output).
struct MbSinks {
    IeTextSink log;
    void *log_ctx;
    IeTextSink out;
    void *out_ctx;
};

// Rate byte of a link test answer to Mbit/s: 10, 20, 55, 110 give 1, 2,
// 5.5, 11; any other value is taken unchanged.
float MbRate(uint8_t rate);

// True when the 6 bytes are all zero.
bool MacIsZero(const uint8_t *mac);

// The group address of peer-to-peer frames: the organisation identifier
// with its group bit set, then 00 01 00.
void WmpGroupAddress(uint8_t *mac);

// Builds a request frame into `frame` (room for WMP_LINK_TEST_LEN bytes):
// cleared, the destination when given, Version 0, PDU_Type `pdu`; a link
// test request (pdu 0) also gets `id` and the test pattern 0 to 53.
// Returns the frame length: 80 for a link test request, else 24.
size_t WmpBuildRequest(uint8_t *frame, uint8_t pdu, const uint8_t *dest, uint16_t id);

// Completes the header of a frame of `len` bytes (at least 24): the length
// field becomes len - 14, most significant byte first, and an all-zero SNAP
// header is written.
void WmpCompleteHeader(uint8_t *frame, size_t len);

// Bytes a read delivered for a record whose first word is its length word,
// read into a buffer of `room` bytes.
size_t MbRecordBytes(const uint8_t *rec, size_t room);

// Whole scan entries of a record of `bytes` bytes: (2 x len - 2) / 50, at
// most what the bytes hold.
size_t ScanEntryCount(const uint8_t *rec, size_t bytes);

// Entry `k` (0-based) of a scan record; the caller keeps k below the count.
const uint8_t *ScanEntry(const uint8_t *rec, size_t k);

// The SSID of a scan entry: its length field, at most 32.
size_t ScanEntrySsidLen(const uint8_t *entry);

// True when a scan record's every entry (at least one) has exactly this SSID.
bool ScanRecordAllSsid(const uint8_t *rec, size_t bytes, const uint8_t *ssid, size_t len);

// One scan entry into a ScanResultBuffer (its header left alone): levels
// raw and in dBm, the SSID from the entry (bounded by its length field),
// the name "u n k n o w n".
void ScanEntryToResult(const uint8_t *entry, ScanResultBuffer *out);
void ScanEntryToMb(const uint8_t *entry, MBScanEntry *out);

// A channel selection scan record into an entry of type 18. False, with
// *out untouched, when the record is shorter than its fixed part (84 bytes).
bool AcsRecordToMb(const uint8_t *rec, size_t bytes, MBACSScanEntry *out, const MbSinks *sinks);

// A link test answer; false when shorter than 124 bytes.
bool LinkTestToMb(const uint8_t *rec, size_t bytes, MBLinkTestEntry *out);

// Whole access point list entries the record holds, at most its count byte.
size_t ApListEntryCount(const uint8_t *rec, size_t bytes);
void ApListEntryToMb(const uint8_t *entry, MBAPListEntry *out);

// The six client buffer slots, by type 17 to 22 (NULL: none registered).
struct MbSlots {
    MBBufferHeader *slot[6];
};

// Entry size of buffer type 17 to 22; 0 for any other type.
size_t MbEntrySize(uint32_t type);

// Entries a buffer registered in the slot of `type` (17 to 22) can take:
// its Capacity, bounded by its TS.Size in entries of that slot's size (not
// of the TS.Type the client may have changed since); 0 when either is
// nonsense.
int32_t MbUsableCapacity(const MBBufferHeader *b, uint32_t type);

// Hands one mailbox record of `bytes` bytes to the slot of its type, as
// WLMBGet does for each client. A record without value (len 1) is a record
// too: for 0xF102 it ends the channel selection scan.
void MbHandOn(const uint8_t *rec, size_t bytes, const MbSlots *slots, const MbSinks *sinks);

#endif // WLCORE_MBCONV_H
