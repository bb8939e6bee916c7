/*
 * The library compatibility verdict: whether a caller built against a
 * given interface range, this library and the driver fit together. The
 * verdict is the process-wide state that the trace header reports.
 */
#include "wlinternal.h"

extern int g_DAICompatibility;

static void RangeLog(const char *Who, const CompatibilityRangeBuffer *Range)
{
    WLLog("%s Range: Role %d, Id %d\n", Who, Range->Role, Range->Id);
    int n = Range->Num < 0 ? 0 : Range->Num > MAX_NUM_VARIANTS ? MAX_NUM_VARIANTS : Range->Num;
    for (int i = 0; i < n; i++)
        WLLog("%d: Variant %d, Bottom %d, Top %d\n", Range->Num, Range->Vbt[i].Variant,
              Range->Vbt[i].Bottom, Range->Vbt[i].Top);
}

static void IdentityLog(const char *Who, const IdentityBuffer *Id)
{
    WLLog("%s Identity: (C, V, M, m) = (%d, %d, %d, %d)\n", Who, Id->C, Id->V, Id->M, Id->m);
}

int WLAPI WLDAICompatibilityGet(const CompatibilityRangeBuffer *Val, int Mismatch)
{
    WL_FRAME("WLDAICompatibilityGet");
    g_DAICompatibility = WL_COMPATIBILITY_UNCHECKED;
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != CompatibilityRangeBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (CompatibilityRangeBuffer), WL_INVALID_PARAMETER);

    int verdict = WL_COMPATIBLE;
    if (Mismatch) {
        WLLog("DAI: Compilation mode mismatch\n");
        verdict = WL_INCOMPATIBLE;
    }

    CompatibilityRangeBuffer sup;
    sup.TS.Type = CompatibilityRangeBufferType;
    sup.TS.Size = sizeof sup;
    WLDAISupRangeGet(&sup);
    RangeLog("DAI Sup", &sup);
    if (WLCompatibilityCheck(Val, &sup) != WL_COMPATIBLE) {
        WLLog("DAI: Actor - Supplier mismatch\n");
        verdict = WL_INCOMPATIBLE;
    }

    IdentityBuffer DAI = {{IdentityBufferType, sizeof(IdentityBuffer)}, 0, 0, 0, 0};
    WL_CHECK(WLDAIIdentityGet (&DAI) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    IdentityLog("DAI", &DAI);

    IdentityBuffer DRV = {{IdentityBufferType, sizeof(IdentityBuffer)}, 0, 0, 0, 0};
    bool fromDriver = WLDRVIdentityGet(&DRV) == WL_SUCCESS;
    if (!fromDriver) {
        IdentityBuffer &REG = DRV;
        REG = IdentityBuffer{{IdentityBufferType, sizeof(IdentityBuffer)}, 0, 0, 0, 0};
        WL_CHECK(WLREGIdentityGet (&REG) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    }
    IdentityLog(fromDriver ? "DRV" : "REG", &DRV);
    if (WLIdentityCheck(&DAI, &DRV) != WL_COMPATIBLE) {
        WLLog(fromDriver ? "DAI: Dll - Driver mismatch\n" : "DAI: Dll - Registry mismatch\n");
        verdict = WL_INCOMPATIBLE;
    }

    g_DAICompatibility = verdict;
    WLLog("DAI Compatibility: %s\n", ReturnCodeName(verdict));
    WL_RETURN(verdict);
}
