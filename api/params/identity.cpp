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

struct RecordExport {
    const char *name;
    unsigned short type;
};

enum { PRI_IDENTITY, NIC_IDENTITY, STA_IDENTITY, DRV_IDENTITY, UBI_IDENTITY, UDI_IDENTITY, IDENTITY_EXPORTS };

static const RecordExport kIdentities[] = {
    {"WLPRIIdentityGet", 0xFD02}, {"WLNICIdentityGet", 0xFD0B}, {"WLSTAIdentityGet", 0xFD20},
    {"WLDRVIdentityGet", 0x0826}, {"WLUBIIdentityGet", 0x0880}, {"WLUDIIdentityGet", 0x0882},
};
static_assert(sizeof kIdentities / sizeof kIdentities[0] == IDENTITY_EXPORTS, "one row per identity export");

static int IdentityGet(int Row, IdentityBuffer *Val)
{
    WL_FRAME_AS(kIdentities[Row].name);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, IdentityBuffer);
    WL_RETURN(WLIdentityBufferGet(kIdentities[Row].type, Val));
}

int WLAPI WLPRIIdentityGet(IdentityBuffer *Val) { return IdentityGet(PRI_IDENTITY, Val); }
int WLAPI WLNICIdentityGet(IdentityBuffer *Val) { return IdentityGet(NIC_IDENTITY, Val); }
int WLAPI WLSTAIdentityGet(IdentityBuffer *Val) { return IdentityGet(STA_IDENTITY, Val); }
int WLAPI WLDRVIdentityGet(IdentityBuffer *Val) { return IdentityGet(DRV_IDENTITY, Val); }
int WLAPI WLUBIIdentityGet(IdentityBuffer *Val) { return IdentityGet(UBI_IDENTITY, Val); }
int WLAPI WLUDIIdentityGet(IdentityBuffer *Val) { return IdentityGet(UDI_IDENTITY, Val); }

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

enum {
    PRI_SUP, HSI_SUP, MFI_SUP, CFI_SUP, STA_SUP, DRV_SUP, UBI_SUP, UDI_SUP, MFI_ACT, CFI_ACT_PRI,
    CFI_ACT_STA, DRV_ACT_PRI, DRV_ACT_STA, DRV_ACT_HSI, DRV_ACT_UBI, DRV_ACT_UDI, UBI_ACT_UDI,
    DRV_ACT_APF, RANGE_EXPORTS
};

static const RecordExport kRanges[] = {
    {"WLPRISupRangeGet", 0xFD03},     {"WLHSISupRangeGet", 0xFD09},
    {"WLMFISupRangeGet", 0xFD0C},     {"WLCFISupRangeGet", 0xFD0D},
    {"WLSTASupRangeGet", 0xFD21},     {"WLDRVSupRangeGet", 0x0827},
    {"WLUBISupRangeGet", 0x0881},     {"WLUDISupRangeGet", 0x0883},
    {"WLMFIActRangesGet", 0xFD22},    {"WLCFIActRangesPRIGet", 0xFD04},
    {"WLCFIActRangesSTAGet", 0xFD23}, {"WLDRVActRangesPRIGet", 0x0828},
    {"WLDRVActRangesSTAGet", 0x0829}, {"WLDRVActRangesHSIGet", 0x082A},
    {"WLDRVActRangesUBIGet", 0x0886}, {"WLDRVActRangesUDIGet", 0x0885},
    {"WLUBIActRangesUDIGet", 0x0884}, {"WLDRVActRangesAPFGet", 0x082B},
};
static_assert(sizeof kRanges / sizeof kRanges[0] == RANGE_EXPORTS, "one row per range export");

static int RangeGet(int Row, CompatibilityRangeBuffer *Val)
{
    WL_FRAME_AS(kRanges[Row].name);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, CompatibilityRangeBuffer);
    WL_RETURN(WLCompatibilityRangeBufferGet(kRanges[Row].type, Val));
}

int WLAPI WLPRISupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(PRI_SUP, Val); }
int WLAPI WLHSISupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(HSI_SUP, Val); }
int WLAPI WLMFISupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(MFI_SUP, Val); }
int WLAPI WLCFISupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(CFI_SUP, Val); }
int WLAPI WLSTASupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(STA_SUP, Val); }
int WLAPI WLDRVSupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_SUP, Val); }
int WLAPI WLUBISupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(UBI_SUP, Val); }
int WLAPI WLUDISupRangeGet(CompatibilityRangeBuffer *Val) { return RangeGet(UDI_SUP, Val); }
int WLAPI WLMFIActRangesGet(CompatibilityRangeBuffer *Val) { return RangeGet(MFI_ACT, Val); }
int WLAPI WLCFIActRangesPRIGet(CompatibilityRangeBuffer *Val) { return RangeGet(CFI_ACT_PRI, Val); }
int WLAPI WLCFIActRangesSTAGet(CompatibilityRangeBuffer *Val) { return RangeGet(CFI_ACT_STA, Val); }
int WLAPI WLDRVActRangesPRIGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_ACT_PRI, Val); }
int WLAPI WLDRVActRangesSTAGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_ACT_STA, Val); }
int WLAPI WLDRVActRangesHSIGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_ACT_HSI, Val); }
int WLAPI WLDRVActRangesUBIGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_ACT_UBI, Val); }
int WLAPI WLDRVActRangesUDIGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_ACT_UDI, Val); }
int WLAPI WLUBIActRangesUDIGet(CompatibilityRangeBuffer *Val) { return RangeGet(UBI_ACT_UDI, Val); }
int WLAPI WLDRVActRangesAPFGet(CompatibilityRangeBuffer *Val) { return RangeGet(DRV_ACT_APF, Val); }

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
