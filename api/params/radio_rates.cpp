/*
 * Rate sets of the two bands: the two-word rate records (value word 0 the
 * 2.4 GHz rate bits, value word 1 the 5 GHz rate bits), gated by the
 * adapter's domain code, and the one-band readings of the older firmware.
 */
#include "wlcore/ie_parse.h"
#include "channel/wlchannel.h"
#include "nic/wlnic.h"
#include "params/radio.h"

/* Rate bits of each band: bits 0 to 11 in 2.4 GHz, 4 to 11 in 5 GHz. */
#define RATE_BITS_2GHZ 0x0FFFu
#define RATE_BITS_5GHZ 0x0FF0u

BandsAllowed RadioBandsAllowed(void)
{
    BandsAllowed b = {false, false};
    int dc = -1;
    if (WLDomainCodeGet(&dc) == WL_SUCCESS) {
        b.band2GHz = INTERVAL (0, <=, dc, <=, 9);
        b.band5GHz = INTERVAL (0, <=, dc, <=, 6);
    }
    return b;
}

static int BitCount(unsigned v)
{
    int n = 0;
    for (; v != 0; v &= v - 1) n++;
    return n;
}

int NBitDataRate2GHz(const DataRate2GHzBuffer *Rate2GHz, int *N)
{
    if (Rate2GHz == NULL || N == NULL) return WL_INVALID_PARAMETER;
    *N = BitCount(Rate2GHz->data.DataRate & RATE_BITS_2GHZ);
    return WL_SUCCESS;
}

int NBitDataRate5GHz(const DataRate5GHzBuffer *Rate5GHz, int *N)
{
    if (Rate5GHz == NULL || N == NULL) return WL_INVALID_PARAMETER;
    *N = BitCount(Rate5GHz->data.DataRate & RATE_BITS_5GHZ);
    return WL_SUCCESS;
}

/* The two-band read; *Filled2GHz tells whether the 2.4 GHz word was stored. */
static int AnyDataRateGetIn(unsigned short Type, DataRate2GHzBuffer *Rate2GHz,
                            DataRate5GHzBuffer *Rate5GHz, bool *Filled2GHz)
{
    WL_FRAME("WLAnyDataRateGet");
    if (Filled2GHz != NULL) *Filled2GHz = false;
    WL_CHECK((Rate2GHz == NULL) && (Rate5GHz == NULL), WL_INVALID_PARAMETER);
    BandsAllowed bands = RadioBandsAllowed();
    bool use2 = Rate2GHz != NULL && bands.band2GHz;
    bool use5 = Rate5GHz != NULL && bands.band5GHz;
    if (use2) {
        WL_CHECK_TS(Rate2GHz, DataRate2GHzBuffer);
    }
    if (use5) {
        WL_CHECK_TS(Rate5GHz, DataRate5GHzBuffer);
    }
    uint16_t words[2] = {0, 0};
    int rc = RecordBytesRead(Type, words, sizeof words);
    if (rc == WL_SUCCESS) {
        if (use2) Rate2GHz->data.DataRate = words[0];
        if (use5) Rate5GHz->data.DataRate = words[1];
        if (Filled2GHz != NULL) *Filled2GHz = use2;
    }
    WL_RETURN(rc);
}

int WLAnyDataRateGet(unsigned short Type, DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz)
{
    return AnyDataRateGetIn(Type, Rate2GHz, Rate5GHz, NULL);
}

/*
 * The two-band write. Only the used bands' words change; a band whose buffer
 * is absent or not allowed keeps the adapter's current word (0 when the
 * record cannot be read).
 */
static int AnyDataRateSetIn(unsigned short Type, const DataRate2GHzBuffer *Rate2GHz,
                            const DataRate5GHzBuffer *Rate5GHz, const char *Reg2GHz,
                            const char *Reg5GHz)
{
    WL_FRAME("WLAnyDataRateSet");
    WL_CHECK((Rate2GHz == NULL) && (Rate5GHz == NULL), WL_INVALID_PARAMETER);
    BandsAllowed bands = RadioBandsAllowed();
    bool use2 = Rate2GHz != NULL && bands.band2GHz;
    bool use5 = Rate5GHz != NULL && bands.band5GHz;
    int N = 0;
    if (use2) {
        WL_CHECK_TS(Rate2GHz, DataRate2GHzBuffer);
        WL_CHECK(NBitDataRate2GHz (Rate2GHz, &N) != WL_SUCCESS, WL_INVALID_PARAMETER);
        WL_CHECK(!N, WL_INVALID_PARAMETER);
    }
    if (use5) {
        WL_CHECK_TS(Rate5GHz, DataRate5GHzBuffer);
        WL_CHECK(NBitDataRate5GHz (Rate5GHz, &N) != WL_SUCCESS, WL_INVALID_PARAMETER);
        WL_CHECK(!N, WL_INVALID_PARAMETER);
    }
    /* Stored only once the words are known to be good. */
    if (use2 && Reg2GHz != NULL) WLNICAnyIntSet(Reg2GHz, Rate2GHz->data.DataRate);
    if (use5 && Reg5GHz != NULL) WLNICAnyIntSet(Reg5GHz, Rate5GHz->data.DataRate);

    uint16_t words[2] = {0, 0};
    if (!(use2 && use5) && RecordBytesRead(Type, words, sizeof words) != WL_SUCCESS) {
        words[0] = 0;
        words[1] = 0;
    }
    if (use2) words[0] = Rate2GHz->data.DataRate;
    if (use5) words[1] = Rate5GHz->data.DataRate;
    WL_RETURN(RecordBytesWrite(Type, words, sizeof words));
}

int WLAnyDataRateSet(unsigned short Type, const DataRate2GHzBuffer *Rate2GHz,
                     const DataRate5GHzBuffer *Rate5GHz)
{
    return AnyDataRateSetIn(Type, Rate2GHz, Rate5GHz, NULL, NULL);
}

int AnyDataRateSetPersisted(unsigned short Type, const DataRate2GHzBuffer *Rate2GHz,
                            const DataRate5GHzBuffer *Rate5GHz, const char *Reg2GHz,
                            const char *Reg5GHz)
{
    return AnyDataRateSetIn(Type, Rate2GHz, Rate5GHz, Reg2GHz, Reg5GHz);
}

/* The one-band read of the older firmware's rate records. */
static int CurrentOldRatesGetIn(unsigned short Type, DataRate2GHzBuffer *Rate2GHz, bool *Filled)
{
    WL_FRAME("WLCurrentOldRatesGet");
    WL_CHECK(Rate2GHz == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(AnyDataRateGetIn(Type, Rate2GHz, NULL, Filled));
}

int WLCurrentOldRatesGet(unsigned short Type, DataRate2GHzBuffer *Rate2GHz)
{
    return CurrentOldRatesGetIn(Type, Rate2GHz, NULL);
}

/*
 * The older firmware numbers 5.5 and 11 Mb/s as bits 3 and 5: bit 3 moves to
 * bit 2 and bit 5 to bit 3; bit 5 itself stays as read.
 */
static uint16_t OldRateBitsRemap(uint16_t w)
{
    uint16_t bit2 = (uint16_t)(((w >> 3) & 1u) << 2);
    uint16_t bit3 = (uint16_t)(((w >> 5) & 1u) << 3);
    return (uint16_t)((w & ~0x000Cu) | bit2 | bit3);
}

/* A reading of the rates in use on the current link (record 0xFD50 or 0xFD51). */
static int CurrentRatesGet(const char *Name, unsigned short Type, DataRate2GHzBuffer *Rate2GHz)
{
    WL_FRAME_AS(Name);
    WL_CHECK(Rate2GHz == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Rate2GHz, DataRate2GHzBuffer);
    bool filled = false;
    int rc = CurrentOldRatesGetIn(Type, Rate2GHz, &filled);
    if (rc == WL_SUCCESS && filled && VariantIsCD())
        Rate2GHz->data.DataRate = OldRateBitsRemap(Rate2GHz->data.DataRate);
    WL_RETURN(rc);
}

int WLAPI WLCurrentRemoteRatesGet(DataRate2GHzBuffer *Rate2GHz)
{
    return CurrentRatesGet("WLCurrentRemoteRatesGet", 0xFD50, Rate2GHz);
}

int WLAPI WLCurrentUsedRatesGet(DataRate2GHzBuffer *Rate2GHz)
{
    return CurrentRatesGet("WLCurrentUsedRatesGet", 0xFD51, Rate2GHz);
}

static void RateLogSink(void *, const char *text) { WLLog("%s", text); }

/* Rate bytes the older firmware's supported rate list may hold. */
#define OLD_RATE_LIST_BYTES 32

int WLAPI WLSupportedDataRatesGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz)
{
    WL_FRAME("WLSupportedDataRatesGet");
    if (!VariantIsCD()) WL_RETURN(WLAnyDataRateGet(RADIO_SUPPORTED_DATA_RATES, Rate2GHz, Rate5GHz));

    /* Older firmware: value word 0 counts the rate bytes that follow. */
    WL_CHECK(Rate2GHz == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Rate2GHz, DataRate2GHzBuffer);
    WL_LTV_DECLARE(RateListRecord, 1 + OLD_RATE_LIST_BYTES / 2);
    RateListRecord rec;
    memset(&rec, 0, sizeof rec);
    rec.len = WL_LTV_LEN(1 + OLD_RATE_LIST_BYTES / 2);
    rec.typ = RADIO_SUPPORTED_DATA_RATES;
    int rc = GenericRead((WL_LTV *)&rec);
    if (rc == WL_SUCCESS) {
        /* The count is believed only as far as the answer goes. */
        unsigned sent = rec.len >= 2 ? 2u * (rec.len - 2u) : 0;
        unsigned count = rec.val[0] < sent ? rec.val[0] : sent;
        const uint8_t *rates = (const uint8_t *)&rec.val[1];
        uint16_t bits = 0;
        for (unsigned i = 0; i < count; i++) Rate2DataRate(rates[i], &bits, RateLogSink, NULL);
        Rate2GHz->data.DataRate = bits;
    }
    WL_RETURN(rc);
}

/* ---- Two-band rate members ---- */

#define TWO_BAND_RATES(Name, Record)                                                          \
    int WLAPI WL##Name##Get(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz)        \
    {                                                                                         \
        WL_FRAME_DUAL_BAND("WL" #Name "Get");                                                 \
        WL_RETURN(WLAnyDataRateGet(Record, Rate2GHz, Rate5GHz));                              \
    }                                                                                         \
    int WLAPI WL##Name##Set(const DataRate2GHzBuffer *Rate2GHz, const DataRate5GHzBuffer *Rate5GHz) \
    {                                                                                         \
        WL_FRAME_DUAL_BAND("WL" #Name "Set");                                                 \
        WL_RETURN(WLAnyDataRateSet(Record, Rate2GHz, Rate5GHz));                              \
    }

TWO_BAND_RATES(ProbeDataRate, 0xFCC5)
TWO_BAND_RATES(ABGMulticastRate, 0xFC23)
TWO_BAND_RATES(SupportedRates, 0xFC88)
TWO_BAND_RATES(BasicRates, 0xFC89)

#undef TWO_BAND_RATES

/* Transmit rate control: the words are also kept in the adapter's settings. */
static const char kTxRate2GHz[] = "TxRateControl2Ghz";
static const char kTxRate5GHz[] = "TxRateControl5Ghz";

int WLAPI WLTXRateControlFrequencyBandSet(const DataRate2GHzBuffer *Rate2GHz,
                                          const DataRate5GHzBuffer *Rate5GHz)
{
    WL_FRAME_DUAL_BAND("WLTXRateControlFrequencyBandSet");
    WL_RETURN(AnyDataRateSetPersisted(RADIO_TX_RATE_CONTROL, Rate2GHz, Rate5GHz, kTxRate2GHz,
                                      kTxRate5GHz));
}

/* The stored word of a band, 0 when it cannot be read. */
static uint16_t StoredRate(const char *Name)
{
    DWORD v = 0;
    return WLNICAnyIntGet(Name, &v) == WL_SUCCESS ? (uint16_t)v : 0;
}

int WLAPI WLTXRateControlFrequencyBandGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz)
{
    WL_FRAME_DUAL_BAND("WLTXRateControlFrequencyBandGet");
    int rc = WLAnyDataRateGet(RADIO_TX_RATE_CONTROL, Rate2GHz, Rate5GHz);
    /* Refused arguments are not answered from the settings. */
    if (rc == WL_SUCCESS || rc == WL_INVALID_PARAMETER) WL_RETURN(rc);
    if (Rate2GHz != NULL) {
        WL_CHECK_TS(Rate2GHz, DataRate2GHzBuffer);
    }
    if (Rate5GHz != NULL) {
        WL_CHECK_TS(Rate5GHz, DataRate5GHzBuffer);
    }
    if (Rate2GHz != NULL) Rate2GHz->data.DataRate = StoredRate(kTxRate2GHz);
    if (Rate5GHz != NULL) Rate5GHz->data.DataRate = StoredRate(kTxRate5GHz);
    WL_RETURN(WL_SUCCESS);
}
