/*
 * recconv.h - conversions between returned records and the library's byte
 * strings and typed buffers. Pure logic: no driver, no trace, no Win32 call.
 *
 * A record handed to these functions is untrusted: its len may be anything.
 * Each function is told `Room`, the number of value words the storage
 * behind the record really holds, and never looks beyond min(len - 1, Room)
 * value words. Words a record does not carry read as 0.
 */
#ifndef WLCORE_RECCONV_H
#define WLCORE_RECCONV_H

#include <stdint.h>

#include "wlbuffers.h"

/* The largest record the driver channel carries: typ plus 4096 value words. */
#define RECORD_MAX_VALUE_WORDS 4096u
/* Bytes a string record (count word, then bytes) or an area record can carry. */
#define STRING_MAX_BYTES (2u * (RECORD_MAX_VALUE_WORDS - 1u))
#define AREA_MAX_BYTES (2u * RECORD_MAX_VALUE_WORDS)

/* Value words of a returned record that lie within its storage. */
unsigned RecordValueWords(const WL_LTV *Ltv, unsigned Room);
/* Value word i of a returned record, 0 when the record does not carry it. */
unsigned short RecordWord(const WL_LTV *Ltv, unsigned Room, unsigned i);

/* ---- Byte strings and areas ---- */

/* Value words of a record made for n bytes: a string record has the count
 * word and ceil(n / 2) words of bytes, an area record only the latter. */
unsigned StringRecordWords(unsigned long Bytes);
unsigned AreaRecordWords(unsigned long Bytes);

/*
 * Usable length of a returned record for a destination of Size bytes: the
 * byte count it carries (a string record's count word, an area record's
 * 2 * len - 2), or 0 when that is more than Size or more than the record
 * really holds.
 */
unsigned long StringRecordLength(const WL_LTV *Ltv, unsigned Room, unsigned long Size);
unsigned long AreaRecordLength(const WL_LTV *Ltv, unsigned Room, unsigned long Size);

/* First byte of a string record's text and of an area record's bytes. */
const unsigned char *StringRecordBytes(const WL_LTV *Ltv);
const unsigned char *AreaRecordBytes(const WL_LTV *Ltv);

/* 1 when each of the Size bytes is a letter, digit, punctuation or blank. */
int IsPrintBytes(const char *Val, unsigned long Size);

/* ---- Identities and compatibility ranges ---- */

/*
 * WL_COMPATIBLE when both identities are well formed and agree in variant,
 * major and minor version (the component ids are not compared); else
 * WL_INVALID_PARAMETER or WL_INCOMPATIBLE with *Reason the failed check.
 */
int IdentityCompare(const IdentityBuffer *Id1, const IdentityBuffer *Id2, const char **Reason);

/* Value words of a range record with MAX_NUM_VARIANTS entries (len 63). */
#define RANGE_RECORD_WORDS (2u + 3u * MAX_NUM_VARIANTS)

/*
 * Fills Role, Id, Num and the entries of Val from a range record, the
 * entries past Num with 0; Num = (2 * len - 6) / 6. The header is left
 * alone. Answers WL_SUCCESS or WL_INVALID_PARAMETER with *Reason the text
 * of the failed check (Num outside 1 to MAX_NUM_VARIANTS: nothing filled
 * but Num). Whether the entries are valid is RangeBufferCheck's to say.
 */
int RangeLtvToBuffer(const WL_LTV *Ltv, unsigned Room, CompatibilityRangeBuffer *Val,
                     const char **Reason);

/* Validates a range buffer; on failure *Reason is the failed check's text. */
int RangeBufferCheck(const CompatibilityRangeBuffer *Val, const char **Reason);

/* Record form of a valid range buffer: len 3 * Num + 3; Ltv has room for
 * RANGE_RECORD_WORDS value words. */
void RangeBufferToLtv(const CompatibilityRangeBuffer *Val, unsigned short Type, WL_LTV *Ltv);

/* ---- Statistics, quality and keys ---- */

/* Quality level 1 to 5 from the quality value and the noise in dBm. */
int QualityLevel(int Quality, int NoiseDBm);

/* Scale thresholds of the newer firmware (record asked with len 12) or of
 * the older firmware of variants C and D (asked with len 7). */
void ScaleThresholdFill(ScaleThresholdBuffer *Val, const WL_LTV *Ltv, unsigned Room, int Older);

/* Supported algorithms: (len - 1) / 2 entries, at most the buffer's 6. */
void AuthenticationAlgorithmFill(AuthenticationAlgorithmBuffer *Val, const WL_LTV *Ltv,
                                 unsigned Room);

/* Driver information from record 0x0825. */
void DriverInfoFill(DriverInfoBuffer *Val, const WL_LTV *Ltv, unsigned Room);

/* Counters a tally record carries: (len - 1) / 2, two words each. */
int TallyCount(const WL_LTV *Ltv);
/* Copies the first Num counters (low word first); counters the record
 * does not carry read as 0. */
void TalliesCopy(uint32_t *Val, int Num, const WL_LTV *Ltv, unsigned Room);

/* The default keys record: 4 entries of a length word and 14 key bytes. */
#define KEY_RECORD_WORDS 32u
#define KEY_RECORD_KEY_BYTES 14u
/* Builds record 0xFCB0 (len 33) from a buffer whose key lengths are valid. */
void KeyInfoToLtv(const KeyInfoBuffer *Val, WL_LTV *Ltv);

#endif /* WLCORE_RECCONV_H */
