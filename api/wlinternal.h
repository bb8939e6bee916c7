/*
 * wlinternal.h - declarations shared inside the configuration API library:
 * the call frame, the variant of this build, the per-adapter store and the
 * driver channel.
 */
#ifndef WLINTERNAL_H
#define WLINTERNAL_H

#include <stdarg.h>
#include <string.h>

#include "wlapi.h"

/* ---- Variant of this build (one small object per library file) ---- */

struct WLVariant {
    char letter;         /* 'C', 'D', 'E' or 'F' */
    int number;          /* 3, 4, 5 or 6 */
    const char *dllName; /* base name without extension, "WAVXQ48E" */
};
extern const WLVariant g_Variant;

/* Variants C and D: older firmware, fewer radio features. */
static inline bool VariantIsCD(void) { return g_Variant.number <= 4; }
/* Variants C and E open the library-derived device name. */
static inline bool VariantOpensVxdName(void) { return g_Variant.number == 3 || g_Variant.number == 5; }

/* ---- Call frame ---- */

/* A reason of the form !INTERVAL (lo, <=, X, <=, hi): X lies outside. */
#define INTERVAL(lo, op1, x, op2, hi) (((lo)op1(x)) && ((x)op2(hi)))
#define _tcslen strlen

void TraceEnter(const char *Fn);
int TraceReturn(const char *Fn, const char *Reason, int Code, int Line);
void ConditionalLog(const char *Fn, const char *Reason);
int WLGeneralErrorStringSet(const char *Val);
const char *ReturnCodeName(int Code);
DWORD OSTypeGet(void);
inline bool OSIsNTFamily(DWORD os) { return (os & OS_NT_FAMILY) != 0; }
void IntValueLog(int Val);
void MACAddressLog(const unsigned char *Mac);
unsigned short i2us(int i);
unsigned short ui2us(unsigned int ui);
int LevelToDBm(int Level);
void TraceProcessAttach(void);
void TraceProcessDetach(void);

/* The trace of one function: its name, checks and returns. */
#define WL_FRAME(name)                \
    static const char WL_FN[] = name; \
    TraceEnter(WL_FN)
/* The frame of a function that serves several exports: traced under the
 * export's own name, with the same checks and returns as WL_FRAME. */
#define WL_FRAME_AS(name)             \
    const char *const WL_FN = (name); \
    TraceEnter(WL_FN)

/* Ends the call with code when cond holds; the reason is cond's own text. */
#define WL_CHECK(cond, code)                                      \
    do {                                                          \
        if (cond) return TraceReturn(WL_FN, #cond, (code), __LINE__); \
    } while (0)
#define WL_FAIL(reason, code) return TraceReturn(WL_FN, (reason), (code), __LINE__)
#define WL_RETURN(code) return TraceReturn(WL_FN, NULL, (code), __LINE__)

/* ---- Adapters and the per-adapter store ---- */

const char *CurrentNic(void); /* NULL when no adapter is selected */
/* Registry path of a NIC's key (a process-wide buffer, overwritten by the next call). */
const char *NicKeyPath(const char *Nic);
int WLNICAnyStringGet(const char *Any, char *Val, DWORD *Size);
int _WLNICAnyStringGet(const char *Nic, const char *Any, char *Val, DWORD *Size);
int _RegReadString(const char *Key, const char *Any, char *Val, DWORD *Size);
int WLNICAnyStringSet(const char *Any, const char *Val);
int _WLNICAnyStringSet(const char *Nic, const char *Any, const char *Val);
int WLNICAnyIntGet(const char *Any, DWORD *Val);
int WLNICAnyIntSet(const char *Any, DWORD Val);
int WLGUIDGet(char *Val, DWORD *Size);
int WLEnumAnyStringGet(const char *Any, char *Val, DWORD *Size);
int _WLEnumAnyStringGet(const char *Any, char *Val, DWORD *Size);
bool IsThisOurNic(const char *Nic, DWORD Size);
bool MatchingDll(const char *Nic, DWORD Size);

/* ---- Driver channel ---- */

#define WL_IOCTL_CODE 0x00170002
#define WL_IFB_OBJECT_ID 0xFF020401
#define WL_IFB_SIZE 8204
#define WL_IFB_MAX_LEN 4097 /* largest record len the block carries */

int ChannelConnect(void);
int ChannelDisconnect(void);
int ChannelGetInfo(WL_LTV *Ltv);
int ChannelPutInfo(WL_LTV *Ltv);
int ChannelAction(unsigned short Code);
int ChannelSendDiagMsg(const void *Msg, unsigned short Len);
/* Disconnects and closes an open channel when the library is unloaded. */
void ChannelDetach(void);
/* Driver exchanges made by this process (for the benchmark). */
unsigned long ChannelExchangeCount(void);

/* ---- Connection and record access ---- */

int GenericRead(WL_LTV *Ltv);
int WLFirmwareSet(WL_LTV *Ltv);
bool RecordNeedsApply(unsigned short Type);

/*
 * Temporary connection: opens the channel around a function's work when the
 * caller has not connected. TempConnect answers whether it opened one (so
 * TempDisconnect must close it) or fails with the caller's own code.
 */
struct TempConnection {
    bool opened;
};
int TempConnect(TempConnection *t);
void TempDisconnect(TempConnection *t);

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

#endif /* WLINTERNAL_H */
