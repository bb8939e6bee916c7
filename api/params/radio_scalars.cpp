/*
 * Single-value radio settings of the dual-band firmware: one row each
 * (record, accepted range with its refusal reason, per-NIC registry value)
 * driving one getter and one setter. In variants C and D every one of them
 * answers WL_FUNCTION_NOT_SUPPORTED.
 */
#include "params/radio.h"

struct RadioScalar {
    const char *getName;
    const char *setName;
    unsigned short record;
    int lo, hi;              /* accepted closed range */
    const char *rangeReason; /* reason of a refused value */
    const char *regName;     /* per-NIC registry value; NULL: not persisted */
    const char *setReason;   /* reason when the registry write fails */
    bool fallback;           /* getter answers from the registry when the read fails */
};

#define RANGE(lo, hi) lo, hi, "!INTERVAL (" #lo ", <=, Val, <=, " #hi ")"
#define NOT_PERSISTED NULL, NULL, false
#define PERSISTED(value, reason) value, reason, false
#define PERSISTED_FALLBACK(value, reason) value, reason, true

/* Exports: RW getter and setter; OWNSET getter only (the setter is below). */
#define RADIO_SCALARS(P)                                                                   \
    P(TXGain, RW, 0xFFEB, RANGE(0, 0xFFFF), NOT_PERSISTED)                                 \
    P(RetryCounter, RW, 0xFFE6, RANGE(3, 6), NOT_PERSISTED)                                \
    P(SafetyMargin, RW, 0xFFE7, RANGE(0, 0xFFFF), NOT_PERSISTED)                           \
    P(MaxEqualRateRetry, OWNSET, 0xFFE8, 0, -1, "!INTERVAL (0, <=, Val, <, RetryCounter)",  \
      NOT_PERSISTED)                                                                       \
    P(MaxRetryBalance, RW, 0xFFE9, RANGE(0, 0xFFFF), NOT_PERSISTED)                        \
    P(CTSToSelf, RW, 0xFFED, RANGE(0, 1), NOT_PERSISTED)                                   \
    P(TXPowerLevel, RW, 0xFC2A, RANGE(8, 20),                                              \
      PERSISTED_FALLBACK("TxPowerLevel", "_WLTXPowerLevelSet (Val) != WL_SUCCESS"))        \
    P(ConnectionControl, RW, 0xFC30, RANGE(0, 3),                                          \
      PERSISTED("ConnectionControl", "_WLConnectionControlSet (Val) != WL_SUCCESS"))       \
    P(ShortRetryLimit, RW, 0xFC32, RANGE(1, 15), NOT_PERSISTED)                            \
    P(LongRetryLimit, RW, 0xFC33, RANGE(1, 15), NOT_PERSISTED)                             \
    P(WiFiCompatible, RW, 0xFC35, RANGE(0, 1),                                             \
      PERSISTED_FALLBACK("WifiCompatible", "_WLWiFiCompatibleSet (Val) != WL_SUCCESS"))

#define RADIO_SCALAR_INDEX(name, access, rec, ...) RS_##name,
enum RadioScalarIndex { RADIO_SCALARS(RADIO_SCALAR_INDEX) RADIO_SCALAR_COUNT };

#define RADIO_SCALAR_ROW(name, access, rec, ...) {"WL" #name "Get", "WL" #name "Set", rec, __VA_ARGS__},
static const RadioScalar s_Scalars[RADIO_SCALAR_COUNT] = {RADIO_SCALARS(RADIO_SCALAR_ROW)};

/* A frame whose trace name comes from a row; variants C and D refuse at once. */
#define WL_FRAME_ROW(name)                                                                \
    const char *const WL_FN = (name);                                                     \
    if (VariantIsCD()) return TraceReturn(WL_FN, NULL, WL_FUNCTION_NOT_SUPPORTED, __LINE__); \
    TraceEnter(WL_FN)

static int RadioScalarGet(const RadioScalar *p, int *Val)
{
    WL_FRAME_ROW(p->getName);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    int rc = ScalarRead(p->record, Val);
    if (rc != WL_SUCCESS && p->fallback) {
        DWORD stored = 0;
        rc = WLNICAnyIntGet(p->regName, &stored);
        if (rc == WL_SUCCESS) {
            *Val = (int)stored;
            IntValueLog(*Val);
        }
    }
    WL_RETURN(rc);
}

/* Registry first (persisted rows), then the record; a registry failure
 * leaves the adapter untouched. */
static int RadioScalarStore(const char *WL_FN, const RadioScalar *p, int Val)
{
    if (p->regName != NULL && WLNICAnyIntSet(p->regName, (DWORD)Val) != WL_SUCCESS)
        WL_FAIL(p->setReason, WL_GENERAL_ERROR);
    WL_RETURN(ScalarWrite(p->record, Val));
}

static int RadioScalarSet(const RadioScalar *p, int Val)
{
    WL_FRAME_ROW(p->setName);
    if (!INTERVAL (p->lo, <=, Val, <=, p->hi)) WL_FAIL(p->rangeReason, WL_INVALID_PARAMETER);
    return RadioScalarStore(WL_FN, p, Val);
}

#define RADIO_GETTER(name) \
    int WLAPI WL##name##Get(int *Val) { return RadioScalarGet(&s_Scalars[RS_##name], Val); }
#define RADIO_SETTER(name) \
    int WLAPI WL##name##Set(int Val) { return RadioScalarSet(&s_Scalars[RS_##name], Val); }
#define RADIO_EXPORTS_RW(name) RADIO_GETTER(name) RADIO_SETTER(name)
#define RADIO_EXPORTS_OWNSET(name) RADIO_GETTER(name)
#define RADIO_EXPORTS(name, access, ...) RADIO_EXPORTS_##access(name)

RADIO_SCALARS(RADIO_EXPORTS)

/*
 * The largest equal-rate retry count lies below the current retry counter.
 * When the counter cannot be read there is no bound to check against, and
 * the value is refused with the read's code.
 */
int WLAPI WLMaxEqualRateRetrySet(int Val)
{
    const RadioScalar *p = &s_Scalars[RS_MaxEqualRateRetry];
    WL_FRAME_ROW(p->setName);
    int RetryCounter = 0;
    int retval = WLRetryCounterGet(&RetryCounter);
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_CHECK(!INTERVAL (0, <=, Val, <, RetryCounter), WL_INVALID_PARAMETER);
    return RadioScalarStore(WL_FN, p, Val);
}
