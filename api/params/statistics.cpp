/*
 * Readings returned as typed buffers (link quality, scale thresholds,
 * authentication algorithms, driver information, tallies, card profile),
 * the production data record, the default keys, and the low-level
 * diagnostic registers. Each is one record read or written through the
 * connection layer, converted by recconv within the record's bounds.
 */
#include <stdlib.h>

#include "wlcore/recconv.h"
#include "wlvariant.h"
#include "trace/wltrace.h"
#include "channel/wlchannel.h"
#include "params/wlparams.h"

/* ---- Link quality ---- */

/* WL_SUCCESS when the link status (1 to 5) is usable, that is not 2. */
static int LinkStatusGet(void)
{
    WL_FRAME("LinkStatusGet");
    int link_status = 0;
    WL_CHECK(WLLinkStatusGet (&link_status) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(!INTERVAL (1, <=, link_status, <=, 5), WL_DATA_NOT_AVAILABLE);
    WL_CHECK(link_status == 2, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WL_SUCCESS);
}

/* Quality record 0xFD43: quality, signal level, noise level. */
WL_LTV_DECLARE(QualityLtv, 3);

static int CommunicationsQualityBufferGet(CommunicationsQualityBuffer *Val)
{
    WL_FRAME("CommunicationsQualityBufferGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, CommunicationsQualityBuffer);
    QualityLtv ltv = {4, 0xFD43, {0, 0, 0}};
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) {
        WL_CHECK(ltv.len < 4, WL_DATA_NOT_AVAILABLE);
        Val->Quality = ltv.val[0];
        Val->RawSignal = ltv.val[1];
        Val->RawNoise = ltv.val[2];
        Val->Signal = LevelToDBm(ltv.val[1]);
        Val->Noise = LevelToDBm(ltv.val[2]);
        Val->Level = QualityLevel(Val->Quality, Val->Noise);
    }
    WL_RETURN(rc);
}

int WLAPI WLCommunicationsQualityGet(CommunicationsQualityBuffer *Val)
{
    WL_FRAME("WLCommunicationsQualityGet");
    WL_CHECK(MACPortStatusGet () == WL_DATA_NOT_AVAILABLE, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(LinkStatusGet () == WL_DATA_NOT_AVAILABLE, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(CommunicationsQualityBufferGet(Val));
}

/* ---- Scale thresholds ---- */

/* Record 0xFD46: 11 value words, 6 with the older firmware of C and D. */
#define SCALE_WORDS 11
#define SCALE_WORDS_OLDER 6
WL_LTV_DECLARE(ScaleLtv, SCALE_WORDS);

static int _WLScaleThresholdBufferGet(ScaleThresholdBuffer *Val)
{
    WL_FRAME("_WLScaleThresholdBufferGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    bool older = VariantIsCD();
    unsigned words = older ? SCALE_WORDS_OLDER : SCALE_WORDS;
    ScaleLtv ltv;
    memset(&ltv, 0, sizeof ltv);
    ltv.len = (unsigned short)WL_LTV_LEN(words);
    ltv.typ = 0xFD46;
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) ScaleThresholdFill(Val, (const WL_LTV *)&ltv, words, older);
    WL_RETURN(rc);
}

int WLAPI WLScaleThresholdGet(ScaleThresholdBuffer *Val)
{
    WL_FRAME("WLScaleThresholdGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, ScaleThresholdBuffer);
    WL_RETURN(_WLScaleThresholdBufferGet(Val));
}

/* ---- Authentication algorithms ---- */

/* Record 0xFD4D: room for 24 value bytes, two words per algorithm. */
#define AUTH_WORDS 12

int WLAPI WLAuthenticationAlgorithmGet(AuthenticationAlgorithmBuffer *Val)
{
    WL_FRAME("WLAuthenticationAlgorithmGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, AuthenticationAlgorithmBuffer);
    WL_LTV *ltv = (WL_LTV *)calloc(1, WL_LTV_BYTES(AUTH_WORDS));
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    ltv->len = WL_LTV_LEN(AUTH_WORDS);
    ltv->typ = 0xFD4D;
    int rc = GenericRead(ltv);
    /* Converted whatever the read gave: a record without values gives 0 entries. */
    AuthenticationAlgorithmFill(Val, ltv, AUTH_WORDS);
    free(ltv);
    WL_RETURN(rc);
}

/* ---- Driver information ---- */

#define DRIVER_INFO_WORDS 14
WL_LTV_DECLARE(DriverInfoLtv, DRIVER_INFO_WORDS);

int WLAPI WLDriverInfoGet(DriverInfoBuffer *Val)
{
    WL_FRAME("WLDriverInfoGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, DriverInfoBuffer);
    DriverInfoLtv ltv;
    memset(&ltv, 0, sizeof ltv);
    ltv.len = WL_LTV_LEN(DRIVER_INFO_WORDS);
    ltv.typ = 0x0825;
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) DriverInfoFill(Val, (const WL_LTV *)&ltv, DRIVER_INFO_WORDS);
    WL_RETURN(rc);
}

/* ---- Default keys ---- */

WL_LTV_DECLARE(KeyLtv, KEY_RECORD_WORDS);

static int WLKeyInfoBufferSet(const KeyInfoBuffer *Val)
{
    WL_FRAME("WLKeyInfoBufferSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    KeyLtv ltv;
    KeyInfoToLtv(Val, (WL_LTV *)&ltv);
    WL_RETURN(WLFirmwareSet((WL_LTV *)&ltv));
}

int WLAPI WLDefaultKeysSet(const KeyInfoBuffer *Val)
{
    WL_FRAME("WLDefaultKeysSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, KeyInfoBuffer);
    /* Every key is checked before anything is written. */
    for (int k = 0; k < MAX_NUM_KEYS; k++) {
        const KeyInfoKey *Key = &Val->Key[k];
        WL_CHECK(!( (Key->Len == 0) || (Key->Len == 5) || (Key->Len == 13) ), WL_INVALID_PARAMETER);
    }
    WL_RETURN(WLKeyInfoBufferSet(Val));
}

/* ---- Tallies ---- */

/* Tally records are read with room for 512 value bytes. */
#define TALLY_WORDS 256

static int WLTalliesBufferGet(unsigned short Type, uint32_t *Val, int _num)
{
    WL_FRAME("WLTalliesBufferGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_LTV *ltv = (WL_LTV *)calloc(1, WL_LTV_BYTES(TALLY_WORDS));
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    ltv->len = WL_LTV_LEN(TALLY_WORDS);
    ltv->typ = Type;
    int rc = GenericRead(ltv);
    if (rc == WL_SUCCESS) {
        int num = TallyCount(ltv);
        WLLog("num tallies %d, tally buffer %d\n", num, _num);
        if (num > _num) {
            /* More counters than the buffer holds: the buffer is not filled. */
            free(ltv);
            WL_FAIL("num > _num", WL_INPUT_BUFFER_INSUFFICIENT);
        }
        TalliesCopy(Val, num, ltv, TALLY_WORDS);
    }
    free(ltv);
    WL_RETURN(rc);
}

int WLAPI WLTalliesGet(TalliesBuffer *Val)
{
    WL_FRAME("WLTalliesGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, TalliesBuffer);
    WL_RETURN(WLTalliesBufferGet(0xF100, Val->Tally, MAX_NUM_TALLIES));
}

int WLAPI WLMSFTalliesGet(MSFTalliesBuffer *Val)
{
    WL_FRAME("WLMSFTalliesGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, MSFTalliesBuffer);
    WL_RETURN(WLTalliesBufferGet(0x090A, Val->Tally, MAX_NUM_MSF_TALLIES));
}

/* ---- Card profile ---- */

WL_LTV_DECLARE(CardProfileLtv, 6);

int WLAPI WLCardProfileGet(CardProfileBuffer *Val)
{
    WL_FRAME("WLCardProfileGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, CardProfileBuffer);
    CardProfileLtv ltv;
    memset(&ltv, 0, sizeof ltv);
    ltv.len = i2us(7);
    ltv.typ = 0xFD14;
    int rc = GenericRead((WL_LTV *)&ltv);
    if (rc == WL_SUCCESS) {
        /* The six bytes are value words 0 to 2; a shorter record leaves Val alone. */
        WL_CHECK(ltv.len < 4, WL_DATA_NOT_AVAILABLE);
        memcpy(Val->Profile, ltv.val, sizeof Val->Profile);
    }
    WL_RETURN(rc);
}

/* ---- Production data ---- */

/*
 * Reads the production data record into the caller's record, which holds
 * Size words after its length word. A null record or a Size the channel
 * cannot carry is refused; a Size larger than the caller's record remains
 * the caller's to avoid.
 */
int WLAPI WLPDAGet(WL_LTV *Val, DWORD Size)
{
    WL_FRAME("WLPDAGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (1, <=, Size, <=, WL_IFB_MAX_LEN), WL_INVALID_PARAMETER);
    Val->len = ui2us(Size);
    Val->typ = 0x0800;
    WL_RETURN(GenericRead(Val));
}

/* ---- Diagnostic registers: one-word records ---- */

struct Register {
    const char *getName;
    const char *setName; /* NULL: read only */
    unsigned short type;
    int lo, hi;             /* accepted values of the setter */
    const char *rangeCheck; /* the setter's reason when a value lies outside */
};

/* One row per register, named by the exports that use it. */
static const Register kAckTO = {"WLAckTOGet", "WLAckTOSet", 0xFFF6, 0, 1000, "!INTERVAL (0, <=, Val, <=, 1000)"};
static const Register kBcnInt = {"WLBcnIntGet", "WLBcnIntSet", 0xFFF9, 64, 65535, "!INTERVAL (64, <=, Val, <=, 65535)"};
static const Register kClkCtl = {"WLClkCTlGet", NULL, 0xFFFC, 0, 0, NULL};
static const Register kMemCtl = {"WLMemCtlGet", NULL, 0xFFFD, 0, 0, NULL};

static int RegisterGet(const Register *r, int *Val)
{
    WL_FRAME_AS(r->getName);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(ScalarRead(r->type, Val));
}

static int RegisterSet(const Register *r, int Val)
{
    WL_FRAME_AS(r->setName);
    if (!INTERVAL (r->lo, <=, Val, <=, r->hi)) WL_FAIL(r->rangeCheck, WL_INVALID_PARAMETER);
    WL_RETURN(ScalarWrite(r->type, Val));
}

int WLAPI WLAckTOGet(int *Val) { return RegisterGet(&kAckTO, Val); }
int WLAPI WLAckTOSet(int Val) { return RegisterSet(&kAckTO, Val); }
int WLAPI WLBcnIntGet(int *Val) { return RegisterGet(&kBcnInt, Val); }
int WLAPI WLBcnIntSet(int Val) { return RegisterSet(&kBcnInt, Val); }
int WLAPI WLClkCtlGet(int *Val) { return RegisterGet(&kClkCtl, Val); }
int WLAPI WLMemCtlGet(int *Val) { return RegisterGet(&kMemCtl, Val); }
