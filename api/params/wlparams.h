/*
 * wlparams.h - single-value parameters, byte strings and areas, identities,
 * compatibility ranges and typed buffers.
 */
#ifndef WLPARAMS_H
#define WLPARAMS_H

#include "wlapi.h"

/* ---- Single-value parameters ---- */

/* Reads a one-word record; *Val gets the value zero-extended. */
int ScalarRead(unsigned short Type, int *Val);
/* Writes a one-word record (value clamped to 16 bits) with read-before-write. */
int ScalarWrite(unsigned short Type, int Val);
/* WL_SUCCESS when the port is up (status 3, 4 or 5), else WL_DATA_NOT_AVAILABLE. */
int MACPortStatusGet(void);

/* ---- Byte strings and areas ---- */

/* String records carry a byte count word before the bytes; area records
 * carry the bytes directly. Either destination (or source) may be NULL. */
int WLByteStringGet(unsigned short Type, char *String, unsigned char *RawString, DWORD *Size);
int WLByteStringSet(unsigned short Type, const char *String, const unsigned char *RawString, DWORD Size);
int WLByteAreaGet(unsigned short Type, char *String, unsigned char *RawString, DWORD *Size);
int WLByteAreaSet(unsigned short Type, const char *String, const unsigned char *RawString, DWORD Size);

/* ---- Byte strings, identities, compatibility and typed buffers ---- */

/* 1 when each of the Size bytes is a letter, digit, punctuation or blank. */
int WLIsPrintString(const char *Val, DWORD Size);

/* Reads an identity record (len 5) into an IdentityBuffer. */
int WLIdentityBufferGet(unsigned short Type, IdentityBuffer *Val);
/* Reads a compatibility range record (len 63) into a CompatibilityRangeBuffer. */
int WLCompatibilityRangeBufferGet(unsigned short Type, CompatibilityRangeBuffer *Val);

/* Record form of a compatibility range: Role, Id, then Variant, Bottom, Top
 * per entry, one word each (len 3 * Num + 3). */
WL_LTV_DECLARE(CompatibilityRangeLtv, 2 + 3 * MAX_NUM_VARIANTS);
int CompatibilityRangeLtvToBuffer(CompatibilityRangeBuffer *Val, const CompatibilityRangeLtv *Ltv);
int ValidCompatibilityRangeBuffer(const CompatibilityRangeBuffer *Val);
int CompatibilityRangeBufferToLtv(CompatibilityRangeLtv *Ltv, const CompatibilityRangeBuffer *Val);
/* WL_COMPATIBLE when both ranges are valid; the ranges are not compared. */
int WLCompatibilityCheck(const CompatibilityRangeBuffer *ActBuf, const CompatibilityRangeBuffer *SupBuf);
/* WL_COMPATIBLE when variant, major and minor version agree. */
int WLIdentityCheck(const IdentityBuffer *Id1, const IdentityBuffer *Id2);

#endif /* WLPARAMS_H */
