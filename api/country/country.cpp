/*
 * Country and channel exports: the adapter's channel information, the
 * country table enumeration and lookups, country names from the system's
 * locale data, the adapter's country (coded in its registry key, coded to
 * the driver and plain to the firmware) and its regulatory domain.
 */
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "channel/wlchannel.h"

#include "wlcore/country_fill.h"
#include "wlcore/country_tables.h"
#include "wlcore/wepcode.h"

typedef WL_LTV *LTVP;

/* Largest channel information record: type and 46 value words. */
#define CHANNEL_INFO_LEN 47
static_assert(sizeof(CFG_CNF_COUNTRY_INFO_MAX_STRCT) == 2 * (CHANNEL_INFO_LEN + 1),
              "a channel information record of len 47 fills the country record");

/* Room for the stored "CountryInfo" text (128 characters when well formed). */
#define COUNTRY_TEXT_SIZE 280

/* Position of the country enumeration; COUNTRY_TABLE_SIZE past its end. */
static int s_CountryIndex;
/* Locale list entry that gave the last country name. */
static int s_LocalePosition;

/* ---- Channel information of the adapter ---- */

/* The country_code and n_channel_sets words are unsigned: their range checks
 * keep the texts that name the full range. */
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wtype-limits"

static int CountryInfo2ChannelInfo(ChannelInfoBuffer *ChannelInfo,
                                   const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfo)
{
    WL_FRAME("CountryInfo2ChannelInfo");
    WL_CHECK(ChannelInfo == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(CountryInfo == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (0, <=, CountryInfo->n_channel_sets, <=, MAX_NUM_CHANNEL_SETS), WL_INVALID_PARAMETER);
    WL_CHECK(CountryInfo->n_channel_sets == 0, WL_DATA_NOT_AVAILABLE);
    ChannelInfo->CountryCode[0] = (char)(CountryInfo->country_code[0] & 0xFF);
    ChannelInfo->CountryCode[1] = (char)(CountryInfo->country_code[1] & 0xFF);
    ChannelInfo->Environment = (char)(CountryInfo->environment & 0xFF);
    ChannelInfo->NumChannelSets = CountryInfo->n_channel_sets;
    for (int i = 0; i < CountryInfo->n_channel_sets; i++) {
        ChannelInfo->Set[i].FirstChannel = CountryInfo->channel_set[i].first_channel;
        ChannelInfo->Set[i].NumChannels = CountryInfo->channel_set[i].number_of_channels;
        ChannelInfo->Set[i].MaxTxPower = CountryInfo->channel_set[i].max_tx_power;
    }
    WL_RETURN(WL_SUCCESS);
}

#pragma GCC diagnostic pop

/* Fills the record from its value words on; the caller sets len and typ. */
static int ChannelInfo2CountryInfo(CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfo,
                                   const ChannelInfoBuffer *ChannelInfo)
{
    WL_FRAME("ChannelInfo2CountryInfo");
    WL_CHECK(CountryInfo == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(ChannelInfo == NULL, WL_INVALID_PARAMETER);
    /* Characters become words sign-extended, as a signed char converts. */
    CountryInfo->country_code[0] = (uint16_t)(short)ChannelInfo->CountryCode[0];
    CountryInfo->country_code[1] = (uint16_t)(short)ChannelInfo->CountryCode[1];
    CountryInfo->environment = (uint16_t)(short)ChannelInfo->Environment;
    CountryInfo->n_channel_sets = ui2us((unsigned int)ChannelInfo->NumChannelSets);
    for (int i = 0; i < MAX_NUM_CHANNEL_SETS; i++) {
        CountryInfo->channel_set[i].first_channel = i2us(ChannelInfo->Set[i].FirstChannel);
        CountryInfo->channel_set[i].number_of_channels = i2us(ChannelInfo->Set[i].NumChannels);
        CountryInfo->channel_set[i].max_tx_power = i2us(ChannelInfo->Set[i].MaxTxPower);
    }
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLChannelInfoGet(ChannelInfoBuffer *Val)
{
    WL_FRAME("WLChannelInfoGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, ChannelInfoBuffer);
    CFG_CNF_COUNTRY_INFO_MAX_STRCT CountryInfo;
    memset(&CountryInfo, 0, sizeof CountryInfo);
    CountryInfo.len = CHANNEL_INFO_LEN;
    CountryInfo.typ = COUNTRY_INFO_RECORD_TYPE;
    int rc = GenericRead((LTVP)&CountryInfo);
    if (rc == WL_SUCCESS) rc = CountryInfo2ChannelInfo(Val, &CountryInfo);
    WL_RETURN(rc);
}

int WLAPI WLChannelInfoSet(const ChannelInfoBuffer *Val)
{
    WL_FRAME("WLChannelInfoSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, ChannelInfoBuffer);
    WL_CHECK(!INTERVAL (0, <=, Val->NumChannelSets, <=, MAX_NUM_CHANNEL_SETS), WL_INVALID_PARAMETER);
    CFG_CNF_COUNTRY_INFO_MAX_STRCT CountryInfo;
    memset(&CountryInfo, 0, sizeof CountryInfo);
    CountryInfo.len = CHANNEL_INFO_LEN;
    CountryInfo.typ = COUNTRY_INFO_RECORD_TYPE;
    int rc = ChannelInfo2CountryInfo(&CountryInfo, Val);
    if (rc == WL_SUCCESS) rc = WLFirmwareSet((LTVP)&CountryInfo);
    WL_RETURN(rc);
}

/* ---- The country table ---- */

/* The code of the enumeration's current row into CC (two characters). */
static int NextCC(char *CC)
{
    WL_FRAME("NextCC");
    const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfo = CountryInfoByIndex(s_CountryIndex);
    WL_CHECK(CountryInfo == NULL, WL_DATA_NOT_AVAILABLE);
    CC[0] = (char)CountryInfo->country_code[0];
    CC[1] = (char)CountryInfo->country_code[1];
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCountryFirstCountryCodeGet(char *CC)
{
    WL_FRAME("WLCountryFirstCountryCodeGet");
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    s_CountryIndex = 0;
    WL_RETURN(NextCC(CC));
}

int WLAPI WLCountryNextCountryCodeGet(char *CC)
{
    WL_FRAME("WLCountryNextCountryCodeGet");
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    /* Past the end the position stays there: the enumeration has ended. */
    if (s_CountryIndex < COUNTRY_TABLE_SIZE) s_CountryIndex++;
    WL_RETURN(NextCC(CC));
}

int WLAPI WLCountryChannelInfoGet(const char *CC, DWORD Size, ChannelInfoBuffer *Val)
{
    WL_FRAME("WLCountryChannelInfoGet");
    (void)Size;
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, ChannelInfoBuffer);
    const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfo = CountryInfoByCode(CC);
    WL_CHECK(CountryInfo == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(CountryInfo2ChannelInfo(Val, CountryInfo));
}

/* ---- Country names ---- */

/* True when the locale's two-letter country code is the two characters of CC
 * (CC[1] is read only after CC[0] matched a letter). */
static bool LocaleCountryIs(LCID Lcid, const char *CC)
{
    char code[16];
    if (GetLocaleInfoA(Lcid, LOCALE_SISO3166CTRYNAME, code, sizeof code) == 0) return false;
    return code[0] != '\0' && code[0] == CC[0] && code[1] == CC[1] && code[2] == '\0';
}

/*
 * Walks the locale list from the entry that answered last time, round to it
 * again, twice at most, for a locale of the country CC that has the name of
 * kind Type. Returns the characters written into Val including the
 * terminator; when the name needs more than Capacity characters, the number
 * it needs, with Val untouched; 0 when no locale answers.
 */
static int LocaleCountryName(const char *CC, LCTYPE Type, char *Val, DWORD Capacity)
{
    const int capacity = Capacity > 0x7FFFFFFF ? 0x7FFFFFFF : (int)Capacity;
    const int start = s_LocalePosition;
    for (int walk = 0; walk < 2; walk++) {
        for (int k = 0; k < LOCALE_LIST_SIZE; k++) {
            const int i = (start + k) % LOCALE_LIST_SIZE;
            const LCID lcid = LocaleList[i].Lcid;
            if (!LocaleCountryIs(lcid, CC)) continue;
            s_LocalePosition = i;
            const int need = GetLocaleInfoA(lcid, Type, NULL, 0);
            if (need <= 0) continue;
            if (need > capacity) return need;
            const int got = GetLocaleInfoA(lcid, Type, Val, capacity);
            if (got > 0) return got;
        }
    }
    return 0;
}

/* The name of country CC into Val of Capacity characters; answers the
 * characters written including the terminator, 0 for an unknown country, or
 * the capacity the name needs (more than Capacity). */
static DWORD CountryNameFill(const char *CC, LCTYPE Type, char *Val, DWORD Capacity)
{
    const int Answer = LocaleCountryName(CC, Type, Val, Capacity);
    if (Answer == 0 && Capacity > 0) Val[0] = '\0';
    return (DWORD)Answer;
}

/* Both name exports: the frame is the export's, opened and closed here. */
static int CountryNameGet(const char *Fn, const char *CC, LCTYPE Type, char *Val, DWORD *Size)
{
    WL_FRAME_AS(Fn);
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    const DWORD Capacity = *Size;
    *Size = CountryNameFill(CC, Type, Val, Capacity);
    WL_CHECK(*Size > Capacity, WL_INPUT_BUFFER_INSUFFICIENT);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCountryLocalizedNameGet(const char *CC, char *Val, DWORD *Size)
{
    return CountryNameGet("WLCountryLocalizedNameGet", CC, LOCALE_SCOUNTRY, Val, Size);
}

int WLAPI WLCountryEnglishNameGet(const char *CC, char *Val, DWORD *Size)
{
    return CountryNameGet("WLCountryEnglishNameGet", CC, LOCALE_SENGCOUNTRY, Val, Size);
}

/* ---- The adapter's country ---- */

static int _WLCountryInfoGet(char *Val, DWORD *Size)
{
    WL_FRAME("_WLCountryInfoGet");
    WL_RETURN(WLNICAnyStringGet("CountryInfo", Val, Size));
}

static int _WLCountryInfoSet(const char *Val, DWORD Size)
{
    WL_FRAME("_WLCountryInfoSet");
    (void)Size;
    WL_RETURN(WLNICAnyStringSet("CountryInfo", Val));
}

int WLAPI WLCountryCurrentCountryCodeGet(char *CC, char *E)
{
    WL_FRAME("WLCountryCurrentCountryCodeGet");
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(E == NULL, WL_INVALID_PARAMETER);
    char Val[COUNTRY_TEXT_SIZE];
    DWORD Size = sizeof Val;
    WL_CHECK(_WLCountryInfoGet (Val, &Size) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    /* Whatever the stored text, decoding stops at the end of the record. */
    CFG_CNF_COUNTRY_INFO_MAX_STRCT CountryInfo;
    memset(&CountryInfo, 0, sizeof CountryInfo);
    if (0 == WEPDecode(CRYPT_CODE, &CountryInfo, sizeof CountryInfo, Val))
        WL_FAIL("0 == WEPDecode ( CRYPT_CODE, &CountryInfo, Val )", WL_DATA_NOT_AVAILABLE);
    CC[0] = (char)CountryInfo.country_code[0];
    CC[1] = (char)CountryInfo.country_code[1];
    *E = (char)CountryInfo.environment;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCountryCurrentCountryCodeSet(const char *CC, DWORD Size)
{
    WL_FRAME("WLCountryCurrentCountryCodeSet");
    (void)Size;
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    CFG_CNF_COUNTRY_INFO_MAX_STRCT Record;
    memset(&Record, 0, sizeof Record);
    Record.len = COUNTRY_INFO_LEN(0);
    Record.typ = COUNTRY_INFO_RECORD_TYPE;
    if (CC[0] != '\0') {
        const CFG_CNF_COUNTRY_INFO_MAX_STRCT *Row = CountryInfoByCode(CC);
        if (Row == NULL) WL_FAIL("CountryInfo == NULL", WL_INVALID_PARAMETER);
        memcpy(&Record, Row, sizeof Record);
    }
    CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfo = &Record;

    char Val[COUNTRY_TEXT_SIZE];
    if (0 == WEPCode(CRYPT_CODE, Val, sizeof Val, CountryInfo, sizeof (CFG_CNF_COUNTRY_INFO_MAX_STRCT)))
        WL_FAIL("0 == WEPCode ( CRYPT_CODE, Val, CountryInfo, sizeof (CFG_CNF_COUNTRY_INFO_MAX_STRCT) )",
                WL_DATA_NOT_WRITEABLE);
    WL_CHECK(_WLCountryInfoSet (Val, _tcslen (Val)) != WL_SUCCESS, WL_DATA_NOT_WRITEABLE);
    if (WLDriverChannelInfoSet((const unsigned char *)Val, _tcslen(Val)) != WL_SUCCESS)
        WL_FAIL("WLDriverChannelInfoSet (Val, _tcslen (Val)) != WL_SUCCESS", WL_DATA_NOT_WRITEABLE);
    WL_CHECK(WLFirmwareSet ((LTVP) CountryInfo) != WL_SUCCESS, WL_DATA_NOT_WRITEABLE);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Regulatory domains ---- */

/* The domain table row of the adapter's domain code, or NULL. */
static const RegulatoryDomainRow *AdapterDomain(void)
{
    int code = -1;
    if (WLDomainCodeGet(&code) != WL_SUCCESS) return NULL;
    return RegulatoryDomainByCode(code);
}

int WLAPI WLCountryRegulatoryDomainGet(RegulatoryDomainBuffer *Val)
{
    WL_FRAME("WLCountryRegulatoryDomainGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, RegulatoryDomainBuffer);
    const RegulatoryDomainRow *DI = AdapterDomain();
    WL_CHECK(DI == NULL, WL_DATA_NOT_AVAILABLE);
    RegulatoryDomainFill(Val, DI);
    if (DI->DC == 0) {
        /* Domain "All": the channels are those of the selected country. */
        char CC[2];
        char E;
        if (WLCountryCurrentCountryCodeGet(CC, &E) == WL_SUCCESS) {
            const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfo = CountryInfoByCode(CC);
            if (CountryInfo != NULL) RegulatoryDomainChannelsFromCountry(Val, CountryInfo);
        }
    }
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCountryCountryCodeGet(CountryCodeBuffer *Val)
{
    WL_FRAME("WLCountryCountryCodeGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, CountryCodeBuffer);
    const RegulatoryDomainRow *DI = AdapterDomain();
    WL_CHECK(DI == NULL, WL_DATA_NOT_AVAILABLE);
    if (DI->DC != 0) {
        CountryCodesFill(Val, DI);
        WL_RETURN(WL_SUCCESS);
    }
    /* Domain "All": every country of the table; DC and label stay. */
    int n = 0;
    if (WLCountryFirstCountryCodeGet(Val->Code[0]) == WL_SUCCESS) {
        for (n = 1; n < MAX_NUM_COUNTRY_CODES; n++)
            if (WLCountryNextCountryCodeGet(Val->Code[n]) != WL_SUCCESS) break;
    }
    Val->NumCodes = n;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCountryAnyRegulatoryDomainGet(int DC, CountryCodeBuffer *CC, RegulatoryDomainBuffer *RD)
{
    WL_FRAME("WLCountryAnyRegulatoryDomainGet");
    WL_CHECK(!INTERVAL (0, <=, DC, <, DomainDataSize), WL_INVALID_PARAMETER);
    WL_CHECK(CC == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(CC, CountryCodeBuffer);
    WL_CHECK(RD == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(RD, RegulatoryDomainBuffer);
    const RegulatoryDomainRow *Row = RegulatoryDomainByCode(DC);
    WL_CHECK(Row == NULL, WL_INVALID_PARAMETER);
    CountryCodesFill(CC, Row);
    RegulatoryDomainFill(RD, Row);
    WL_RETURN(WL_SUCCESS);
}
