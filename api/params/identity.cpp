/*
 * Identities and compatibility ranges of the adapter's firmware, the driver
 * and this library: the records by which the components tell each other
 * their versions, and the checks made on them.
 */
#include "wlcore/recconv.h"
#include "wlvariant.h"
#include "trace/wltrace.h"
#include "channel/wlchannel.h"
#include "params/wlparams.h"

/* This library's own identity: the configuration API library component. */
#define DAI_COMPONENT 48
#define DAI_MAJOR 8
#define DAI_MINOR 24

/* The interface this library supplies, and the versions it supplies. */
static const CompatibilityRangeBuffer DAISupRange = {
    {CompatibilityRangeBufferType, sizeof(CompatibilityRangeBuffer)},
    COMP_ROLE_SUPL, 7, 1, {{1, 4, 4}}};

/* ---- Identities ---- */

/* Identity record: component, variant, major and minor version. */
WL_LTV_DECLARE(IdentityLtv, 4);

int WLIdentityBufferGet(unsigned short Type, IdentityBuffer *Val)
{
    WL_FRAME("WLIdentityBufferGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, IdentityBuffer);
    IdentityLtv ltv = {5, Type, {0, 0, 0, 0}};
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) {
        /* A record too short to hold the four words leaves Val alone. */
        WL_CHECK(ltv.len < 5, WL_DATA_NOT_AVAILABLE);
        Val->C = ltv.val[0];
        Val->V = ltv.val[1];
        Val->M = ltv.val[2];
        Val->m = ltv.val[3];
        WLLog("Identity: (C, V, M, m) = (%d, %d, %d, %d)\n", Val->C, Val->V, Val->M, Val->m);
    }
    WL_RETURN(rc);
}

/* The identity exports: one row each, the export and its record. */
#define IDENTITY_EXPORTS(X) \
    X(WLPRIIdentityGet, 0xFD02) \
    X(WLNICIdentityGet, 0xFD0B) \
    X(WLSTAIdentityGet, 0xFD20) \
    X(WLDRVIdentityGet, 0x0826) \
    X(WLUBIIdentityGet, 0x0880) \
    X(WLUDIIdentityGet, 0x0882)

static int IdentityGet(const char *Fn, unsigned short Type, IdentityBuffer *Val)
{
    WL_FRAME_AS(Fn);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, IdentityBuffer);
    WL_RETURN(WLIdentityBufferGet(Type, Val));
}

#define IDENTITY_EXPORT(Export, Type) \
    int WLAPI Export(IdentityBuffer *Val) { return IdentityGet(#Export, Type, Val); }
IDENTITY_EXPORTS(IDENTITY_EXPORT)
#undef IDENTITY_EXPORT

int WLAPI WLDAIIdentityGet(IdentityBuffer *Val)
{
    WL_FRAME("WLDAIIdentityGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, IdentityBuffer);
    Val->C = DAI_COMPONENT;
    Val->V = g_Variant.number;
    Val->M = DAI_MAJOR;
    Val->m = DAI_MINOR;
    WL_RETURN(WL_SUCCESS);
}

int WLIdentityCheck(const IdentityBuffer *Id1, const IdentityBuffer *Id2)
{
    WL_FRAME("WLIdentityCheck");
    const char *reason = NULL;
    int rc = IdentityCompare(Id1, Id2, &reason);
    if (reason != NULL) WL_FAIL(reason, rc);
    WL_RETURN(rc);
}

/* ---- Compatibility ranges ---- */

int ValidCompatibilityRangeBuffer(const CompatibilityRangeBuffer *Val)
{
    WL_FRAME("ValidCompatibilityRangeBuffer");
    const char *reason = NULL;
    int rc = RangeBufferCheck(Val, &reason);
    if (rc != WL_SUCCESS) WL_FAIL(reason, rc);
    WL_RETURN(WL_SUCCESS);
}

int CompatibilityRangeLtvToBuffer(CompatibilityRangeBuffer *Val, const CompatibilityRangeLtv *Ltv)
{
    WL_FRAME("CompatibilityRangeLtvToBuffer");
    const char *reason = NULL;
    int rc = RangeLtvToBuffer((const WL_LTV *)Ltv, RANGE_RECORD_WORDS, Val, &reason);
    if (rc != WL_SUCCESS) WL_FAIL(reason, rc);
    WL_RETURN(ValidCompatibilityRangeBuffer(Val));
}

int CompatibilityRangeBufferToLtv(CompatibilityRangeLtv *Ltv, const CompatibilityRangeBuffer *Val)
{
    WL_FRAME("CompatibilityRangeBufferToLtv");
    WL_CHECK(ValidCompatibilityRangeBuffer (Val) != WL_SUCCESS, WL_INVALID_PARAMETER);
    RangeBufferToLtv(Val, 0, (WL_LTV *)Ltv);
    WL_RETURN(WL_SUCCESS);
}

int WLCompatibilityCheck(const CompatibilityRangeBuffer *ActBuf, const CompatibilityRangeBuffer *SupBuf)
{
    WL_FRAME("WLCompatibilityCheck");
    CompatibilityRangeLtv act, sup;
    WL_CHECK(CompatibilityRangeBufferToLtv (&act, ActBuf) != WL_SUCCESS, WL_INVALID_PARAMETER);
    WL_CHECK(CompatibilityRangeBufferToLtv (&sup, SupBuf) != WL_SUCCESS, WL_INVALID_PARAMETER);
    /* Both ranges are well formed; they are not compared with each other. */
    WL_RETURN(WL_COMPATIBLE);
}

int WLCompatibilityRangeBufferGet(unsigned short Type, CompatibilityRangeBuffer *Val)
{
    WL_FRAME("WLCompatibilityRangeBufferGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, CompatibilityRangeBuffer);
    CompatibilityRangeLtv ltv;
    memset(&ltv, 0, sizeof ltv);
    ltv.len = WL_LTV_LEN(RANGE_RECORD_WORDS);
    ltv.typ = Type;
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) {
        /* Converted aside: a range that fails its checks leaves Val alone. */
        CompatibilityRangeBuffer range = *Val;
        rc = CompatibilityRangeLtvToBuffer(&range, &ltv);
        if (rc == WL_SUCCESS) *Val = range;
    }
    WL_RETURN(rc);
}

/* The compatibility range exports: one row each, the export and its record. */
#define RANGE_EXPORTS(X)               \
    X(WLPRISupRangeGet, 0xFD03)        \
    X(WLHSISupRangeGet, 0xFD09)        \
    X(WLMFISupRangeGet, 0xFD0C)        \
    X(WLCFISupRangeGet, 0xFD0D)        \
    X(WLSTASupRangeGet, 0xFD21)        \
    X(WLDRVSupRangeGet, 0x0827)        \
    X(WLUBISupRangeGet, 0x0881)        \
    X(WLUDISupRangeGet, 0x0883)        \
    X(WLMFIActRangesGet, 0xFD22)       \
    X(WLCFIActRangesPRIGet, 0xFD04)    \
    X(WLCFIActRangesSTAGet, 0xFD23)    \
    X(WLDRVActRangesPRIGet, 0x0828)    \
    X(WLDRVActRangesSTAGet, 0x0829)    \
    X(WLDRVActRangesHSIGet, 0x082A)    \
    X(WLDRVActRangesUBIGet, 0x0886)    \
    X(WLDRVActRangesUDIGet, 0x0885)    \
    X(WLUBIActRangesUDIGet, 0x0884)    \
    X(WLDRVActRangesAPFGet, 0x082B)

static int RangeGet(const char *Fn, unsigned short Type, CompatibilityRangeBuffer *Val)
{
    WL_FRAME_AS(Fn);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, CompatibilityRangeBuffer);
    WL_RETURN(WLCompatibilityRangeBufferGet(Type, Val));
}

#define RANGE_EXPORT(Export, Type) \
    int WLAPI Export(CompatibilityRangeBuffer *Val) { return RangeGet(#Export, Type, Val); }
RANGE_EXPORTS(RANGE_EXPORT)
#undef RANGE_EXPORT


int WLAPI WLDAISupRangeGet(CompatibilityRangeBuffer *Val)
{
    WL_FRAME("WLDAISupRangeGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, CompatibilityRangeBuffer);
    *Val = DAISupRange;
    WL_RETURN(WL_SUCCESS);
}

/* ---- Download record and regulatory domains ---- */

/* Download record 0xFD01: three value words. */
WL_LTV_DECLARE(DownloadLtv, 3);

static int WLDownloadBufferGet(DownloadBuffer *Val)
{
    WL_FRAME("WLDownloadBufferGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, DownloadBuffer);
    DownloadLtv ltv = {4, 0xFD01, {0, 0, 0}};
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) {
        WL_CHECK(ltv.len < 4, WL_DATA_NOT_AVAILABLE);
        for (int i = 0; i < 3; i++) Val->Value[i] = ltv.val[i];
    }
    WL_RETURN(rc);
}

int WLAPI WLDownloadGet(DownloadBuffer *Val)
{
    WL_FRAME("WLDownloadGet");
    WL_RETURN(WLDownloadBufferGet(Val));
}

int WLAPI WLRegulatoryDomainsGet(void *Val, DWORD *Size)
{
    WL_FRAME("WLRegulatoryDomainsGet");
    (void)Val;
    (void)Size;
    WL_RETURN(WL_FUNCTION_NOT_SUPPORTED);
}
