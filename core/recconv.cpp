/*
 * Conversions between returned records and byte strings or typed buffers.
 * Every read of a value word goes through RecordWord, which answers 0 for a
 * word that the record does not carry or that lies outside its storage.
 */
#include "wlcore/recconv.h"

#include <string.h>

#include "wlapi.h"

#ifndef INTERVAL
#define INTERVAL(lo, op1, x, op2, hi) (((lo)op1(x)) && ((x)op2(hi)))
#endif

/* Ends a check function with WL_INVALID_PARAMETER and the condition's text. */
#define CONV_CHECK(cond)                  \
    do {                                  \
        if (cond) {                       \
            *Reason = #cond;              \
            return WL_INVALID_PARAMETER;  \
        }                                 \
    } while (0)

unsigned RecordValueWords(const WL_LTV *Ltv, unsigned Room)
{
    if (Ltv == NULL || Ltv->len < 1) return 0;
    unsigned words = Ltv->len - 1u;
    return words < Room ? words : Room;
}

unsigned short RecordWord(const WL_LTV *Ltv, unsigned Room, unsigned i)
{
    if (i >= RecordValueWords(Ltv, Room)) return 0;
    const unsigned char *p = (const unsigned char *)Ltv + 4 + 2 * i;
    return (unsigned short)(p[0] | (p[1] << 8));
}

/* ---- Byte strings and areas ---- */

unsigned StringRecordWords(unsigned long Bytes)
{
    return 1u + (unsigned)((Bytes + 1u) / 2u);
}

unsigned AreaRecordWords(unsigned long Bytes)
{
    return (unsigned)((Bytes + 1u) / 2u);
}

unsigned long StringRecordLength(const WL_LTV *Ltv, unsigned Room, unsigned long Size)
{
    unsigned words = RecordValueWords(Ltv, Room);
    if (words < 1) return 0;
    unsigned long count = RecordWord(Ltv, Room, 0);
    if (count > 2ul * (words - 1u) || count > Size) return 0;
    return count;
}

unsigned long AreaRecordLength(const WL_LTV *Ltv, unsigned Room, unsigned long Size)
{
    if (Ltv == NULL || Ltv->len < 1 || Ltv->len - 1u > Room) return 0;
    unsigned long count = 2ul * Ltv->len - 2u;
    return count > Size ? 0 : count;
}

const unsigned char *StringRecordBytes(const WL_LTV *Ltv)
{
    return (const unsigned char *)Ltv + 6;
}

const unsigned char *AreaRecordBytes(const WL_LTV *Ltv)
{
    return (const unsigned char *)Ltv + 4;
}

int IsPrintBytes(const char *Val, unsigned long Size)
{
    for (unsigned long i = 0; i < Size; i++) {
        unsigned char c = (unsigned char)Val[i];
        if (c < 0x20 || c > 0x7E) return 0;
    }
    return 1;
}

/* ---- Identities and compatibility ranges ---- */

/* Ends a comparison with WL_INCOMPATIBLE and the text of the differing fields. */
#define CONV_DIFFER(differ, text)        \
    do {                                 \
        if (differ) {                    \
            *Reason = text;              \
            return WL_INCOMPATIBLE;      \
        }                                \
    } while (0)

int IdentityCompare(const IdentityBuffer *Id1, const IdentityBuffer *Id2, const char **Reason)
{
    CONV_CHECK(Id1 == NULL);
    CONV_CHECK(Id1->TS.Type != IdentityBufferType);
    CONV_CHECK(Id1->TS.Size != sizeof (IdentityBuffer));
    CONV_CHECK(Id2 == NULL);
    CONV_CHECK(Id2->TS.Type != IdentityBufferType);
    CONV_CHECK(Id2->TS.Size != sizeof (IdentityBuffer));
    /* Variant, major and minor version are the fields V, M and m. */
    CONV_DIFFER(Id1->V != Id2->V, "Id1->Variant != Id2->Variant");
    CONV_DIFFER(Id1->M != Id2->M, "Id1->Major != Id2->Major");
    CONV_DIFFER(Id1->m != Id2->m, "Id1->Minor != Id2->Minor");
    *Reason = NULL;
    return WL_COMPATIBLE;
}

int RangeLtvToBuffer(const WL_LTV *Ltv, unsigned Room, CompatibilityRangeBuffer *Val,
                     const char **Reason)
{
    int len = Ltv ? Ltv->len : 0;
    Val->Num = (2 * len - 6) / 6;
    CONV_CHECK(!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS));
    Val->Role = RecordWord(Ltv, Room, 0);
    Val->Id = RecordWord(Ltv, Room, 1);
    for (int i = 0; i < MAX_NUM_VARIANTS; i++) {
        VariantBottomTop *Vbt = &Val->Vbt[i];
        bool used = i < Val->Num;
        Vbt->Variant = used ? RecordWord(Ltv, Room, 2 + 3 * i) : 0;
        Vbt->Bottom = used ? RecordWord(Ltv, Room, 3 + 3 * i) : 0;
        Vbt->Top = used ? RecordWord(Ltv, Room, 4 + 3 * i) : 0;
    }
    *Reason = NULL;
    return WL_SUCCESS;
}

int RangeBufferCheck(const CompatibilityRangeBuffer *Val, const char **Reason)
{
    CONV_CHECK(Val == NULL);
    CONV_CHECK(Val->TS.Type != CompatibilityRangeBufferType);
    CONV_CHECK(Val->TS.Size != sizeof (CompatibilityRangeBuffer));
    CONV_CHECK(!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS));
    CONV_CHECK(!((Val->Role == COMP_ROLE_SUPL) || (Val->Role == COMP_ROLE_ACT)));
    for (int i = 0; i < Val->Num; i++) {
        const VariantBottomTop *Vbt = &Val->Vbt[i];
        CONV_CHECK(!INTERVAL (0, <=, Vbt->Variant, <=, 99));
        CONV_CHECK(!INTERVAL (0, <=, Vbt->Bottom, <=, 255));
        CONV_CHECK(!INTERVAL (0, <=, Vbt->Top, <=, 255));
        CONV_CHECK(!(Vbt->Top >= Vbt->Bottom));
    }
    *Reason = NULL;
    return WL_SUCCESS;
}

void RangeBufferToLtv(const CompatibilityRangeBuffer *Val, unsigned short Type, WL_LTV *Ltv)
{
    int num = Val->Num < 0 ? 0 : Val->Num > MAX_NUM_VARIANTS ? MAX_NUM_VARIANTS : Val->Num;
    uint16_t words[RANGE_RECORD_WORDS];
    memset(words, 0, sizeof words);
    words[0] = (uint16_t)Val->Role;
    words[1] = (uint16_t)Val->Id;
    for (int i = 0; i < num; i++) {
        words[2 + 3 * i] = (uint16_t)Val->Vbt[i].Variant;
        words[3 + 3 * i] = (uint16_t)Val->Vbt[i].Bottom;
        words[4 + 3 * i] = (uint16_t)Val->Vbt[i].Top;
    }
    Ltv->len = (uint16_t)(3 * num + 3);
    Ltv->typ = Type;
    memcpy((unsigned char *)Ltv + 4, words, 2u * (2u + 3u * (unsigned)num));
}

/* ---- Statistics, quality and keys ---- */

int QualityLevel(int Quality, int NoiseDBm)
{
    if (Quality > 25) return 5;
    if (Quality >= 16) return 4;
    if (Quality >= 2) return NoiseDBm <= -90 ? 3 : 2;
    return 1;
}

/* The low byte of a word taken as a signed byte. */
static int32_t LowSigned(unsigned short w)
{
    return (int8_t)(uint8_t)(w & 0xFF);
}

void ScaleThresholdFill(ScaleThresholdBuffer *Val, const WL_LTV *Ltv, unsigned Room, int Older)
{
    unsigned words = RecordValueWords(Ltv, Room);
    memset(Val->Threshold, 0, sizeof Val->Threshold);
    memset(Val->Extra, 0, sizeof Val->Extra);
    if (Older) {
        Val->Threshold[0] = LowSigned(RecordWord(Ltv, Room, 1));
        Val->Threshold[2] = LowSigned(RecordWord(Ltv, Room, 2));
        Val->Threshold[3] = LowSigned(RecordWord(Ltv, Room, 0));
        if (words >= 6)
            for (unsigned j = 0; j < 3; j++) Val->Extra[j] = RecordWord(Ltv, Room, 3 + j);
    } else {
        for (unsigned i = 0; i < 8; i++) Val->Threshold[i] = LowSigned(RecordWord(Ltv, Room, i));
        if (words >= 11)
            for (unsigned j = 0; j < 3; j++) Val->Extra[j] = RecordWord(Ltv, Room, 8 + j);
    }
}

void AuthenticationAlgorithmFill(AuthenticationAlgorithmBuffer *Val, const WL_LTV *Ltv,
                                 unsigned Room)
{
    int len = Ltv ? Ltv->len : 0;
    int num = len < 1 ? 0 : (len - 1) / 2;
    if (num > MAX_NUM_AUTHENTICATION_ALGORITHMS) num = MAX_NUM_AUTHENTICATION_ALGORITHMS;
    Val->Num = num;
    for (int i = 0; i < num; i++) {
        Val->Entry[i].Algorithm = RecordWord(Ltv, Room, 2 * i);
        Val->Entry[i].Value = RecordWord(Ltv, Room, 2 * i + 1);
    }
}

void DriverInfoFill(DriverInfoBuffer *Val, const WL_LTV *Ltv, unsigned Room)
{
    memset(Val->Words01, 0, sizeof Val->Words01);
    memset(Val->Words23, 0, sizeof Val->Words23);
    memset(Val->Zero, 0, sizeof Val->Zero);
    for (unsigned i = 0; i < 2; i++) {
        unsigned short lo = RecordWord(Ltv, Room, i), hi = RecordWord(Ltv, Room, 2 + i);
        Val->Words01[2 * i] = (uint8_t)(lo & 0xFF);
        Val->Words01[2 * i + 1] = (uint8_t)(lo >> 8);
        Val->Words23[2 * i] = (uint8_t)(hi & 0xFF);
        Val->Words23[2 * i + 1] = (uint8_t)(hi >> 8);
    }
    Val->Word6 = RecordWord(Ltv, Room, 6);
    Val->Word10 = RecordWord(Ltv, Room, 10);
}

int TallyCount(const WL_LTV *Ltv)
{
    int len = Ltv ? Ltv->len : 0;
    return len < 1 ? 0 : (len - 1) / 2;
}

void TalliesCopy(uint32_t *Val, int Num, const WL_LTV *Ltv, unsigned Room)
{
    for (int i = 0; i < Num; i++)
        Val[i] = (uint32_t)RecordWord(Ltv, Room, 2 * i) |
                 ((uint32_t)RecordWord(Ltv, Room, 2 * i + 1) << 16);
}

void KeyInfoToLtv(const KeyInfoBuffer *Val, WL_LTV *Ltv)
{
    unsigned char *val = (unsigned char *)Ltv + 4;
    memset(val, 0, 2 * KEY_RECORD_WORDS);
    Ltv->len = (uint16_t)(KEY_RECORD_WORDS + 1);
    Ltv->typ = 0xFCB0;
    for (int k = 0; k < MAX_NUM_KEYS; k++) {
        int32_t len = Val->Key[k].Len;
        unsigned n = len < 0 ? 0 : (unsigned)len > KEY_RECORD_KEY_BYTES ? KEY_RECORD_KEY_BYTES : (unsigned)len;
        unsigned char *entry = val + k * (2 + KEY_RECORD_KEY_BYTES);
        entry[0] = (unsigned char)(n & 0xFF);
        entry[1] = (unsigned char)(n >> 8);
        memcpy(entry + 2, Val->Key[k].Data, n);
    }
}
