/*
 * Byte strings, byte areas and MAC addresses: network names, the station
 * name, group address lists, the card information structure, production
 * data and key material, each one record read or written whole.
 *
 * A string record carries a byte count word before the bytes; an area
 * record carries the bytes directly. A read asks for as many bytes as the
 * caller's buffer holds and copies back no more than the record really
 * returned: text shorter than the buffer is terminated, text that fills it
 * is not.
 */
#include <stdlib.h>

#include "wlcore/recconv.h"
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "channel/wlchannel.h"
#include "params/wlparams.h"

/* A zeroed record of the given type with room for `words` value words and
 * two spare bytes, so that its bytes can be terminated in place. */
static WL_LTV *NewRecord(unsigned short Type, unsigned words)
{
    WL_LTV *ltv = (WL_LTV *)calloc(1, WL_LTV_BYTES(words) + 2);
    if (ltv != NULL) {
        ltv->len = (unsigned short)WL_LTV_LEN(words);
        ltv->typ = Type;
    }
    return ltv;
}

/*
 * Copies `length` bytes (never more than *Size) into each destination
 * given. Shorter than the buffer: a terminator follows and *Size becomes
 * the length; otherwise the buffer is filled without terminator and *Size
 * stays. With Fn, the copies are traced as the area read traces them.
 */
static void CopyOut(const unsigned char *bytes, DWORD length, char *String,
                    unsigned char *RawString, DWORD *Size, const char *Fn)
{
    bool terminated = length < *Size;
    DWORD n = length < *Size ? length : *Size;
    if (String != NULL) {
        if (Fn) WLLog("%s: 6\n", Fn);
        memcpy(String, bytes, n);
        if (terminated) String[n] = '\0';
    }
    if (RawString != NULL) {
        if (Fn) WLLog("%s: 7\n", Fn);
        memcpy(RawString, bytes, n);
        if (terminated) RawString[n] = 0;
    }
    if (terminated) *Size = length;
}

int WLByteStringGet(unsigned short Type, char *String, unsigned char *RawString, DWORD *Size)
{
    WL_FRAME("WLByteStringGet");
    WL_CHECK((String == NULL) && (RawString == NULL), WL_INPUT_BUFFER_INSUFFICIENT);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    /* A buffer larger than any record asks for the largest record. */
    DWORD bytes = *Size < STRING_MAX_BYTES ? *Size : STRING_MAX_BYTES;
    unsigned words = StringRecordWords(bytes);
    WL_LTV *ltv = NewRecord(Type, words);
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    int rc = GenericRead(ltv);
    DWORD length = rc == WL_SUCCESS ? StringRecordLength(ltv, words, *Size) : 0;
    CopyOut(StringRecordBytes(ltv), length, String, RawString, Size, NULL);
    free(ltv);
    WL_RETURN(rc);
}

int WLByteStringSet(unsigned short Type, const char *String, const unsigned char *RawString, DWORD Size)
{
    WL_FRAME("WLByteStringSet");
    WL_CHECK((String == NULL) && (RawString == NULL), WL_INVALID_PARAMETER);
    WL_CHECK(Size > STRING_MAX_BYTES, WL_INPUT_BUFFER_INSUFFICIENT);
    WL_LTV *ltv = NewRecord(Type, StringRecordWords(Size));
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    unsigned char *p = (unsigned char *)ltv + 4;
    p[0] = (unsigned char)(Size & 0xFF);
    p[1] = (unsigned char)(Size >> 8);
    memcpy(p + 2, String != NULL ? (const void *)String : (const void *)RawString, Size);
    int rc = WLFirmwareSet(ltv);
    free(ltv);
    WL_RETURN(rc);
}

int WLByteAreaGet(unsigned short Type, char *String, unsigned char *RawString, DWORD *Size)
{
    WL_FRAME("WLByteAreaGet");
    WL_CHECK((String == NULL) && (RawString == NULL), WL_INPUT_BUFFER_INSUFFICIENT);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WLLog("%s: 0\n", WL_FN);
    DWORD bytes = *Size < AREA_MAX_BYTES ? *Size : AREA_MAX_BYTES;
    unsigned words = AreaRecordWords(bytes);
    WL_LTV *ltv = NewRecord(Type, words);
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    WLLog("%s: 1\n", WL_FN);
    int rc = GenericRead(ltv);
    WLLog("%s, %d: 2\n", WL_FN, ltv->len);
    DWORD length = rc == WL_SUCCESS ? AreaRecordLength(ltv, words, *Size) : 0;
    WLLog("%s: 3\n", WL_FN);
    /* The bytes as text for the trace: terminated within the spare bytes. */
    unsigned char *area = (unsigned char *)ltv + 4;
    area[length] = 0;
    WLLog("%s: 4\n", WL_FN);
    WLLog("%s, %d: 4\n", (const char *)area, (int)length);
    CopyOut(area, length, String, RawString, Size, WL_FN);
    free(ltv);
    WL_RETURN(rc);
}

int WLByteAreaSet(unsigned short Type, const char *String, const unsigned char *RawString, DWORD Size)
{
    WL_FRAME("WLByteAreaSet");
    WL_CHECK((String == NULL) && (RawString == NULL), WL_INVALID_PARAMETER);
    WL_CHECK(Size > AREA_MAX_BYTES, WL_INPUT_BUFFER_INSUFFICIENT);
    WL_LTV *ltv = NewRecord(Type, AreaRecordWords(Size));
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    memcpy((unsigned char *)ltv + 4, String != NULL ? (const void *)String : (const void *)RawString, Size);
    int rc = WLFirmwareSet(ltv);
    free(ltv);
    WL_RETURN(rc);
}

int WLIsPrintString(const char *Val, DWORD Size)
{
    WL_FRAME("WLIsPrintString");
    WL_CHECK(Val == NULL, 0);
    WL_RETURN(IsPrintBytes(Val, Size));
}

/* ---- The byte-string exports ---- */

enum BytesOp { STRING_READ, STRING_WRITE, AREA_READ, AREA_WRITE };

/* The size check: a read refuses *Size below the limit, a write refuses a
 * count above it or, with REFUSE_EMPTY, a count of 0. */
enum SizeRule { BELOW_LIMIT, ABOVE_LIMIT, REFUSE_EMPTY };

struct BytesExport {
    const char *name;
    unsigned short type;
    BytesOp op;
    SizeRule rule;
    DWORD limit;
    const char *sizeCheck; /* the size check's text, the reason when it fails */
    int sizeCode;          /* its code */
    bool text;             /* Val is text (else raw bytes) */
    bool portUp;           /* read only while the port is up */
};

#define IP WL_INVALID_PARAMETER
#define IBI WL_INPUT_BUFFER_INSUFFICIENT

/* The byte-string exports, one row each: export, its value type, then the
 * BytesExport fields after the name; OWN for an export written by hand. */
#define BYTES_EXPORTS(X)                                                                          \
    X(WLOwnSSIDGet, char, 0xFC04, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IP, true, false, GEN)        \
    X(WLOwnSSIDSet, char, 0xFC04, STRING_WRITE, ABOVE_LIMIT, 32, "Size > 32", IP, true, false, GEN)        \
    X(WLDesiredSSIDGet, char, 0xFC02, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IP, true, false, GEN)    \
    X(WLDesiredSSIDSet, char, 0xFC02, STRING_WRITE, ABOVE_LIMIT, 32, "Size > 32", IBI, true, false, GEN)   \
    X(WLScanSSIDGet, char, 0xFCB2, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IP, true, false, GEN)       \
    X(WLScanSSIDSet, char, 0xFCB2, STRING_WRITE, ABOVE_LIMIT, 32, "Size > 32", IP, true, false, GEN)       \
    X(WLOwnNameGet, char, 0xFC0E, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IBI, true, false, GEN)       \
    X(WLOwnNameSet, char, 0xFC0E, STRING_WRITE, ABOVE_LIMIT, 32, "Size > 32", IP, true, false, OWN)        \
    X(WLCurrentSSIDGet, char, 0xFD41, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IBI, true, true, GEN)    \
    X(WLNICSerialNumberGet, char, 0xFD0A, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IBI, true, false, GEN) \
    X(WLGroupAddressesGet, unsigned char, 0xFC80, AREA_READ, BELOW_LIMIT, 192, "*Size < 192", IBI, false, false, GEN) \
    X(WLGroupAddressesSet, unsigned char, 0xFC80, AREA_WRITE, ABOVE_LIMIT, 192, "Size > 192", IP, false, false, GEN) \
    X(WLCISGet, unsigned char, 0xFD13, AREA_READ, BELOW_LIMIT, 480, "*Size < 480", IBI, false, false, GEN) \
    X(WLEncryptionSet, unsigned char, 0x0900, AREA_WRITE, REFUSE_EMPTY, 0, "Size == 0", IP, false, false, GEN) \
    X(WLDriverChannelInfoSet, unsigned char, 0x0905, AREA_WRITE, REFUSE_EMPTY, 0, "Size == 0", IP, false, false, GEN) \
    X(WLReadSPGet, unsigned char, 0xFFF0, AREA_READ, BELOW_LIMIT, 512, "*Size < 512", IBI, false, false, GEN) \
    X(WLFileNameGet, unsigned char, 0xFFFF, AREA_READ, BELOW_LIMIT, 30, "*Size < 30", IBI, false, false, GEN) \
    X(WLPDAPartNumberGet, char, 0xFA11, AREA_READ, BELOW_LIMIT, 16, "*Size < 16", IBI, true, false, GEN)   \
    X(WLPDATracerNumberGet, char, 0xFA12, AREA_READ, BELOW_LIMIT, 16, "*Size < 16", IBI, true, false, GEN) \
    X(WLPDASerialNumberGet, char, 0xFD0A, STRING_READ, BELOW_LIMIT, 32, "*Size < 32", IBI, true, false, GEN)

#define BYTES_ROW(Export, Char, type, op, rule, limit, check, code, text, portUp, body) \
    {#Export, type, op, rule, limit, check, code, text, portUp},
#define BYTES_INDEX(Export, ...) BX_##Export,
enum { BYTES_EXPORTS(BYTES_INDEX) BYTES_EXPORT_COUNT };
static const BytesExport kBytes[BYTES_EXPORT_COUNT] = {BYTES_EXPORTS(BYTES_ROW)};
#undef BYTES_ROW
#undef BYTES_INDEX

#undef IP
#undef IBI

static int BytesRead(const BytesExport *e, void *Val, DWORD *Size)
{
    WL_FRAME_AS(e->name);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    if (*Size < e->limit) WL_FAIL(e->sizeCheck, e->sizeCode);
    if (e->portUp) WL_CHECK(MACPortStatusGet () == WL_DATA_NOT_AVAILABLE, WL_DATA_NOT_AVAILABLE);
    char *text = e->text ? (char *)Val : NULL;
    unsigned char *raw = e->text ? NULL : (unsigned char *)Val;
    WL_RETURN(e->op == STRING_READ ? WLByteStringGet(e->type, text, raw, Size)
                                   : WLByteAreaGet(e->type, text, raw, Size));
}

static int BytesWrite(const BytesExport *e, const void *Val, DWORD Size)
{
    WL_FRAME_AS(e->name);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    bool refused = e->rule == REFUSE_EMPTY ? Size == 0 : Size > e->limit;
    if (refused) WL_FAIL(e->sizeCheck, e->sizeCode);
    const char *text = e->text ? (const char *)Val : NULL;
    const unsigned char *raw = e->text ? NULL : (const unsigned char *)Val;
    WL_RETURN(e->op == STRING_WRITE ? WLByteStringSet(e->type, text, raw, Size)
                                    : WLByteAreaSet(e->type, text, raw, Size));
}


#define BYTES_FN_STRING_READ(Export, Char) \
    int WLAPI Export(Char *Val, DWORD *Size) { return BytesRead(&kBytes[BX_##Export], Val, Size); }
#define BYTES_FN_AREA_READ BYTES_FN_STRING_READ
#define BYTES_FN_STRING_WRITE(Export, Char) \
    int WLAPI Export(const Char *Val, DWORD Size) { return BytesWrite(&kBytes[BX_##Export], Val, Size); }
#define BYTES_FN_AREA_WRITE BYTES_FN_STRING_WRITE
#define BYTES_FN_GEN(Export, Char, op) BYTES_FN_##op(Export, Char)
#define BYTES_FN_OWN(Export, Char, op)
#define BYTES_FN(Export, Char, type, op, rule, limit, check, code, text, portUp, body) \
    BYTES_FN_##body(Export, Char, op)
BYTES_EXPORTS(BYTES_FN)

/* The station name is kept in the adapter's settings as well. */
static int _WLOwnNameSet(const char *Val, DWORD Size)
{
    WL_FRAME("_WLOwnNameSet");
    char name[32 + 1];
    memcpy(name, Val, Size);
    name[Size] = '\0';
    WL_RETURN(WLNICAnyStringSet("OwnName", name));
}

int WLAPI WLOwnNameSet(const char *Val, DWORD Size)
{
    const BytesExport *e = &kBytes[BX_WLOwnNameSet];
    WL_FRAME("WLOwnNameSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    WL_CHECK(WLIsPrintString (Val, Size) != 1, WL_INVALID_PARAMETER);
    WL_CHECK(_WLOwnNameSet (Val, Size) != WL_SUCCESS, WL_GENERAL_ERROR);
    WL_RETURN(WLByteStringSet(e->type, Val, NULL, Size));
}

/* ---- MAC addresses ---- */

struct MacExport {
    const char *name;
    unsigned short type;
    bool groupRefused; /* a group (multicast) address is refused */
    bool portUp;       /* read only while the port is up */
};

/* The MAC address exports, one row each: Read or Write, the export, then
 * the MacExport fields after the name. */
#define MAC_EXPORTS(X)                               \
    X(Read, WLOwnMACAddressGet, 0xFC01, false, false) \
    X(Write, WLOwnMACAddressSet, 0xFC01, true, false) \
    X(Read, WLCurrentBSSIDGet, 0xFD42, false, true)   \
    X(Read, WLNICMacAddressGet, 0xFD86, false, false) \
    X(Read, WLOwnMACAdrGet, 0xFFF7, false, false)     \
    X(Write, WLOwnMACAdrSet, 0xFFF7, false, false)

/* MAC address record: len 4, typ, the 6 bytes in transmission order. */
WL_LTV_DECLARE(MacLtv, 3);

static int MacRead(const MacExport *e, unsigned char *Val)
{
    WL_FRAME_AS(e->name);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    if (e->portUp) WL_CHECK(MACPortStatusGet () == WL_DATA_NOT_AVAILABLE, WL_DATA_NOT_AVAILABLE);
    MacLtv ltv = {4, e->type, {0, 0, 0}};
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) {
        /* A record too short to hold an address leaves Val alone. */
        WL_CHECK(ltv.len < 4, WL_DATA_NOT_AVAILABLE);
        memcpy(Val, ltv.val, 6);
        MACAddressLog(Val);
    }
    WL_RETURN(rc);
}

static int MacWrite(const MacExport *e, const unsigned char *Val)
{
    WL_FRAME_AS(e->name);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    if (e->groupRefused) WL_CHECK((Val [0] & 1) == 1, WL_INVALID_PARAMETER);
    MACAddressLog(Val);
    MacLtv ltv = {4, e->type, {0, 0, 0}};
    memcpy(ltv.val, Val, 6);
    WL_RETURN(WLFirmwareSet((WL_LTV *)&ltv));
}

#define MAC_ARG_Read unsigned char
#define MAC_ARG_Write const unsigned char
#define MAC_EXPORT(How, Export, ...)                  \
    int WLAPI Export(MAC_ARG_##How *Val)              \
    {                                                 \
        static const MacExport row = {#Export, __VA_ARGS__}; \
        return Mac##How(&row, Val);                   \
    }
MAC_EXPORTS(MAC_EXPORT)
#undef MAC_EXPORT

/* Wireless distribution system addresses are not supported by the adapters. */
int WLAPI WLWDSAddressGet(unsigned char *Val)
{
    WL_FRAME("WLWDSAddressGet");
    (void)Val;
    WL_RETURN(WL_FUNCTION_NOT_SUPPORTED);
}

int WLAPI WLWDSAddressSet(const unsigned char *Val)
{
    WL_FRAME("WLWDSAddressSet");
    (void)Val;
    WL_RETURN(WL_FUNCTION_NOT_SUPPORTED);
}
