/*
 * Single-value parameters. Every parameter is one row of the table below:
 * its record types, the range its setter accepts with the reason text of a
 * refusal, and the per-NIC registry value a persisted setter writes first.
 * Two functions do the work (ScalarGet, ScalarSet); each export is a
 * one-line wrapper handing its row to them. The rows marked OWN or SETONLY
 * have hand-written exports below the table that deviate from the pattern.
 */
#include "wlvariant.h"
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "channel/wlchannel.h"
#include "params/wlparams.h"

struct ScalarParam {
    const char *getName;      /* getter's trace name, "WLPortTypeGet" */
    const char *setName;      /* setter's trace name, "WLPortTypeSet" */
    unsigned short readType;  /* record the getter reads */
    unsigned short writeType; /* record the setter writes */
    int lo, hi;               /* accepted closed range */
    int lo2, hi2;             /* a second accepted range (empty: lo2 > hi2) */
    const char *rangeReason;  /* reason of a refused value */
    const char *regName;      /* per-NIC registry value; NULL: not persisted */
    const char *setReason;    /* reason when the registry write fails */
    bool fallback;            /* getter answers from the registry when the read fails */
};

/* Range columns; the reason is the text of the refusing condition. */
#define NO_RANGE 0, -1, 0, -1, NULL
#define RANGE(lo, hi) lo, hi, 0, -1, "!INTERVAL (" #lo ", <=, Val, <=, " #hi ")"
#define RANGE2(lo, hi, lo2, hi2) \
    lo, hi, lo2, hi2,            \
        "!INTERVAL (" #lo ", <=, Val, <=, " #hi ") && !INTERVAL (" #lo2 ", <=, Val, <=, " #hi2 ")"

/* Registry columns. */
#define NOT_PERSISTED NULL, NULL, false
#define PERSISTED(value, reason) value, reason, false
#define PERSISTED_FALLBACK(value, reason) value, reason, true

/*
 * The members: name (the export is WL<name>Get / WL<name>Set), which
 * exports the table makes (RW getter and setter, RO getter, SETONLY setter,
 * OWN none; DUAL and DUAL_OWNSET as RW and RO for the settings of the
 * dual-band firmware, which variants C and D refuse), record read, record
 * written, range, registry.
 */
#define SCALAR_PARAMS(P)                                                                          \
    P(PortType, RW, 0xFC00, 0xFC00, RANGE(1, 3), NOT_PERSISTED)                                   \
    P(ATIMWindow, RW, 0xFC05, 0xFC05, RANGE(0, 100), NOT_PERSISTED)                               \
    P(SystemScale, RW, 0xFC06, 0xFC06, RANGE(SYSTEM_SCALE_LARGE, SYSTEM_SCALE_MICRO),             \
      PERSISTED_FALLBACK("SystemScale", "_WLSystemScaleSet (Val) != WL_SUCCESS"))                 \
    P(MaxDataLength, RW, 0xFC07, 0xFC07, RANGE(350, 2304), NOT_PERSISTED)                         \
    P(PMEnabled, RW, 0xFC09, 0xFC09, RANGE2(0, 2, 0x8001, 0x8002),                                \
      PERSISTED("PMEnabled", "_WLPMEnabledSet (Val) != WL_SUCCESS"))                              \
    P(ConnectionMode, RW, 0x0908, 0x0908, RANGE(CONNECTION_MODE_ESS, CONNECTION_MODE_SOFTAP),     \
      NOT_PERSISTED)                                                                              \
    P(MulticastReceive, RW, 0xFC0B, 0xFC0B, RANGE(0, 1), NOT_PERSISTED)                           \
    P(MaxSleepDuration, RW, 0xFC0C, 0xFC0C, RANGE(1, 65535), NOT_PERSISTED)                       \
    P(PMHoldoverDuration, RW, 0xFC0D, 0xFC0D, RANGE(1, 1000), NOT_PERSISTED)                      \
    P(EncryptionEnabled, RW, 0xFC20, 0xFC20, RANGE(0, 7), NOT_PERSISTED)                          \
    P(Authentication, RW, 0xFC21, 0xFC21,                                                         \
      RANGE(AUTHENTICATION_ALGORITHM_AUTO, AUTHENTICATION_ALGORITHM_SHARED_KEY),                  \
      PERSISTED("Authentication", "_WLAuthenticationSet (Val) != WL_SUCCESS"))                    \
    P(MulticastRate, RW, 0xFC23, 0xFC23, RANGE(1, 4), NOT_PERSISTED)                              \
    P(MicrowaveRobustness, RW, 0xFC25, 0xFC25, RANGE(0, 1),                                       \
      PERSISTED("MicroWaveRobustness", "_WLMicrowaveRobustnessSet (Val) != WL_SUCCESS"))          \
    P(LoadBalancing, RW, 0xFC26, 0xFC26, RANGE(0, 1), NOT_PERSISTED)                              \
    P(MediumDistribution, RW, 0xFC27, 0xFC27, RANGE(0, 1), NOT_PERSISTED)                         \
    P(GroupAddressFilter, RW, 0xFC28, 0xFC28, RANGE(0, 1), NOT_PERSISTED)                         \
    P(CreateIBSS, RW, 0xFC81, 0xFC81, RANGE(0, 1), NOT_PERSISTED)                                 \
    P(RTSThreshold, RW, 0xFC83, 0xFC83, RANGE(0, 2347), NOT_PERSISTED)                            \
    P(TXRateControl, RW, 0xFC84, 0xFC84, RANGE(1, 7), NOT_PERSISTED)                              \
    P(PromiscuousMode, RW, 0xFC85, 0xFC85, RANGE(0, 1), NOT_PERSISTED)                            \
    P(TXKeyId, RW, 0xFCB1, 0xFCB1, RANGE(0, 3), NOT_PERSISTED)                                    \
    P(TickTime, RW, 0xFCE0, 0xFCE0, RANGE(0, 65535), NOT_PERSISTED)                               \
    P(RadioStatus, SETONLY, 0x0825, 0x0902, RANGE(0, 1),                                          \
      PERSISTED("DriverEnable", "_WLRadioStatusSet (Val) != WL_SUCCESS"))                         \
    P(SWRadioStatus, OWN, 0, 0, NO_RANGE, NOT_PERSISTED)                                          \
    P(HWRadioStatus, OWN, 0xFD40, 0, NO_RANGE, NOT_PERSISTED)                                     \
    P(PowerMode, RW, 0x0907, 0x0907,                                                              \
      RANGE(POWER_MANAGEMENT_MODE_DISABLED, POWER_MANAGEMENT_MODE_STANDARD_CDS),                  \
      PERSISTED_FALLBACK("PowerMode", "_WLPowerModeSet (Val) != WL_SUCCESS"))                     \
    P(MaxLoadTime, RO, 0xFD00, 0, NO_RANGE, NOT_PERSISTED)                                        \
    P(ChannelList, RO, 0xFD10, 0, NO_RANGE, NOT_PERSISTED)                                        \
    P(TempType, RO, 0xFD12, 0, NO_RANGE, NOT_PERSISTED)                                           \
    P(NICBusType, RO, 0xFD24, 0, NO_RANGE, NOT_PERSISTED)                                         \
    P(PortStatus, RO, 0xFD40, 0, NO_RANGE, NOT_PERSISTED)                                         \
    P(CurrentTXRate, OWN, 0xFD44, 0, NO_RANGE, NOT_PERSISTED)                                     \
    P(CurrentTXRateF, OWN, 0xFD44, 0, NO_RANGE, NOT_PERSISTED)                                    \
    P(CurrentBeaconInterval, RO, 0xFD45, 0, NO_RANGE, NOT_PERSISTED)                              \
    P(ProtocolRspTime, RO, 0xFD47, 0, NO_RANGE, NOT_PERSISTED)                                    \
    P(CurrentShortRetryLimit, RO, 0xFD48, 0, NO_RANGE, NOT_PERSISTED)                             \
    P(CurrentLongRetryLimit, RO, 0xFD49, 0, NO_RANGE, NOT_PERSISTED)                              \
    P(MaxTransmitLifetime, RO, 0xFD4A, 0, NO_RANGE, NOT_PERSISTED)                                \
    P(MaxReceiveLifetime, RO, 0xFD4B, 0, NO_RANGE, NOT_PERSISTED)                                 \
    P(CFPollable, RO, 0xFD4C, 0, NO_RANGE, NOT_PERSISTED)                                         \
    P(PrivacyOptionImplemented, RO, 0xFD4F, 0, NO_RANGE, NOT_PERSISTED)                           \
    P(CurrentSystemScale, RO, 0xFD52, 0, NO_RANGE, NOT_PERSISTED)                                 \
    P(PHYType, RO, 0xFDC0, 0, NO_RANGE, NOT_PERSISTED)                                            \
    P(CurrentChannel, RO, 0xFDC1, 0, NO_RANGE, NOT_PERSISTED)                                     \
    P(CurrentPowerState, RO, 0xFDC2, 0, NO_RANGE, NOT_PERSISTED)                                  \
    P(CCAMode, RO, 0xFDC3, 0, NO_RANGE, NOT_PERSISTED)                                            \
    P(LinkStatus, RO, 0x090B, 0, NO_RANGE, NOT_PERSISTED)                                         \
    P(DomainCode, RO, 0xFD25, 0, NO_RANGE, NOT_PERSISTED)                                         \
    P(TXGain, DUAL, 0xFFEB, 0xFFEB, RANGE(0, 0xFFFF), NOT_PERSISTED)                              \
    P(RetryCounter, DUAL, 0xFFE6, 0xFFE6, RANGE(3, 6), NOT_PERSISTED)                             \
    P(SafetyMargin, DUAL, 0xFFE7, 0xFFE7, RANGE(0, 0xFFFF), NOT_PERSISTED)                        \
    P(MaxEqualRateRetry, DUAL_OWNSET, 0xFFE8, 0xFFE8, NO_RANGE, NOT_PERSISTED)                    \
    P(MaxRetryBalance, DUAL, 0xFFE9, 0xFFE9, RANGE(0, 0xFFFF), NOT_PERSISTED)                     \
    P(CTSToSelf, DUAL, 0xFFED, 0xFFED, RANGE(0, 1), NOT_PERSISTED)                                \
    P(TXPowerLevel, DUAL, 0xFC2A, 0xFC2A, RANGE(8, 20),                                           \
      PERSISTED_FALLBACK("TxPowerLevel", "_WLTXPowerLevelSet (Val) != WL_SUCCESS"))               \
    P(ConnectionControl, DUAL, 0xFC30, 0xFC30, RANGE(0, 3),                                       \
      PERSISTED("ConnectionControl", "_WLConnectionControlSet (Val) != WL_SUCCESS"))              \
    P(ShortRetryLimit, DUAL, 0xFC32, 0xFC32, RANGE(1, 15), NOT_PERSISTED)                         \
    P(LongRetryLimit, DUAL, 0xFC33, 0xFC33, RANGE(1, 15), NOT_PERSISTED)                          \
    P(WiFiCompatible, DUAL, 0xFC35, 0xFC35, RANGE(0, 1),                                          \
      PERSISTED_FALLBACK("WifiCompatible", "_WLWiFiCompatibleSet (Val) != WL_SUCCESS"))

#define SCALAR_INDEX(name, access, rd, wr, range, reg) SP_##name,
enum ScalarIndex { SCALAR_PARAMS(SCALAR_INDEX) SCALAR_COUNT };

#define SCALAR_ROW(name, access, rd, wr, range, reg) \
    {"WL" #name "Get", "WL" #name "Set", rd, wr, range, reg},
static const ScalarParam Scalars[SCALAR_COUNT] = {SCALAR_PARAMS(SCALAR_ROW)};

static bool InRange(const ScalarParam *p, int Val)
{
    return INTERVAL (p->lo, <=, Val, <=, p->hi) || INTERVAL (p->lo2, <=, Val, <=, p->hi2);
}

/* The common getter: the one-word record, or the registry value when the
 * row falls back and the adapter cannot answer. */
static int ScalarGet(const ScalarParam *p, int *Val)
{
    WL_FRAME_AS(p->getName);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    int rc = ScalarRead(p->readType, Val);
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

/* The common setter: range, then the registry (persisted rows), then the
 * record. A registry failure leaves the adapter untouched. */
static int ScalarSet(const ScalarParam *p, int Val)
{
    WL_FRAME_AS(p->setName);
    if (!InRange(p, Val)) WL_FAIL(p->rangeReason, WL_INVALID_PARAMETER);
    if (p->regName != NULL && WLNICAnyIntSet(p->regName, (DWORD)Val) != WL_SUCCESS)
        WL_FAIL(p->setReason, WL_GENERAL_ERROR);
    WL_RETURN(ScalarWrite(p->writeType, Val));
}

#define SCALAR_GETTER(name) \
    int WLAPI WL##name##Get(int *Val) { return ScalarGet(&Scalars[SP_##name], Val); }
#define SCALAR_SETTER(name) \
    int WLAPI WL##name##Set(int Val) { return ScalarSet(&Scalars[SP_##name], Val); }
#define SCALAR_EXPORTS_RW(name) SCALAR_GETTER(name) SCALAR_SETTER(name)
#define SCALAR_EXPORTS_RO(name) SCALAR_GETTER(name)
#define SCALAR_EXPORTS_SETONLY(name) SCALAR_SETTER(name)
#define SCALAR_EXPORTS_OWN(name)
/* Dual-band firmware only: variants C and D answer WL_FUNCTION_NOT_SUPPORTED
 * with nothing but the exit line. */
#define SCALAR_DUAL_GETTER(name)                             \
    int WLAPI WL##name##Get(int *Val)                        \
    {                                                        \
        WL_NOT_IN_CD("WL" #name "Get");                      \
        return ScalarGet(&Scalars[SP_##name], Val);          \
    }
#define SCALAR_DUAL_SETTER(name)                             \
    int WLAPI WL##name##Set(int Val)                         \
    {                                                        \
        WL_NOT_IN_CD("WL" #name "Set");                      \
        return ScalarSet(&Scalars[SP_##name], Val);          \
    }
#define SCALAR_EXPORTS_DUAL(name) SCALAR_DUAL_GETTER(name) SCALAR_DUAL_SETTER(name)
#define SCALAR_EXPORTS_DUAL_OWNSET(name) SCALAR_DUAL_GETTER(name)
#define SCALAR_EXPORTS(name, access, rd, wr, range, reg) SCALAR_EXPORTS_##access(name)

SCALAR_PARAMS(SCALAR_EXPORTS)

/* ---- Members that deviate from the pattern ---- */

/* Radio switch as the driver reports it: bit 14 of value word 10 of the
 * driver information record; 0 whenever that word cannot be read. */
int WLAPI WLRadioStatusGet(int *Val)
{
    WL_FRAME("WLRadioStatusGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_LTV_DECLARE(DriverInfoRecord, 14);
    DriverInfoRecord info;
    memset(&info, 0, sizeof info);
    info.len = 15;
    info.typ = Scalars[SP_RadioStatus].readType;
    int rc = GenericRead((WL_LTV *)&info);
    *Val = 0;
    if (rc != WL_SUCCESS) WL_RETURN(rc);
    /* A record too short to hold word 10 says nothing about the radio. */
    WL_CHECK(info.len <= 11, WL_DATA_NOT_AVAILABLE);
    *Val = (info.val[10] >> 14) & 1;
    IntValueLog(*Val);
    WL_RETURN(rc);
}

/* Software radio switch: the stored "DriverEnable"; the adapter is not asked. */
int WLAPI WLSWRadioStatusGet(int *Val)
{
    WL_FRAME("WLSWRadioStatusGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    DWORD stored = 0;
    if (WLNICAnyIntGet(Scalars[SP_RadioStatus].regName, &stored) != WL_SUCCESS)
        WL_FAIL("_WLRadioStatusGet (Val) != WL_SUCCESS", WL_GENERAL_ERROR);
    *Val = (int)stored;
    IntValueLog(*Val);
    WL_RETURN(WL_SUCCESS);
}

/* Hardware radio switch: off (0) only while the port reports status 7. */
int WLAPI WLHWRadioStatusGet(int *Val)
{
    WL_FRAME("WLHWRadioStatusGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(WLPortStatusGet (Val) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    *Val = *Val == 7 ? 0 : 1;
    IntValueLog(*Val);
    WL_RETURN(WL_SUCCESS);
}

/* The rate bit set as read; meaningful only while the port is up. */
int WLAPI WLCurrentTXRateGet(int *Val)
{
    WL_FRAME("WLCurrentTXRateGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    int rc = ScalarRead(Scalars[SP_CurrentTXRate].readType, Val);
    WL_CHECK(MACPortStatusGet () == WL_DATA_NOT_AVAILABLE, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(rc);
}

/* Megabits per second of the one rate bit set; 0 for none or several. */
static float RateOfBitSet(int bits)
{
    static const float rates[12] = {1, 2, 5.5f, 11, 6, 9, 12, 18, 24, 36, 48, 54};
    for (int b = 0; b < 12; b++)
        if (bits == (1 << b)) return rates[b];
    return 0;
}

int WLAPI WLCurrentTXRateFGet(float *Val)
{
    WL_FRAME("WLCurrentTXRateFGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    int raw = 0;
    int rc = ScalarRead(Scalars[SP_CurrentTXRateF].readType, &raw);
    if (VariantIsCD()) {
        /* The older firmware reports the rate itself, 6 standing for 5.5. */
        WL_CHECK(MACPortStatusGet () == WL_DATA_NOT_AVAILABLE, WL_DATA_NOT_AVAILABLE);
        *Val = raw == 6 ? 5.5f : (float)raw;
    } else {
        *Val = RateOfBitSet(raw);
    }
    WL_CHECK(!(*Val > 0.0), WL_DATA_NOT_AVAILABLE);
    WL_RETURN(rc);
}

/*
 * The largest equal-rate retry count lies below the current retry counter.
 * When the counter cannot be read there is no bound to check against, and
 * the value is refused with the read's code.
 */
int WLAPI WLMaxEqualRateRetrySet(int Val)
{
    const ScalarParam *p = &Scalars[SP_MaxEqualRateRetry];
    WL_NOT_IN_CD(p->setName);
    WL_FRAME_AS(p->setName);
    int RetryCounter = 0;
    int retval = WLRetryCounterGet(&RetryCounter);
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_CHECK(!INTERVAL (0, <=, Val, <, RetryCounter), WL_INVALID_PARAMETER);
    WL_RETURN(ScalarWrite(p->writeType, Val));
}
