/* Pure rules of the co-installer's pages (see pagelogic.h). */
#include "pagelogic.h"

#include <ctype.h>
#include <string.h>

#include "wlapi.h"

void ContextSettingsReset(AdapterPageContext *c)
{
    c->ThirdParty &= ~(DWORD)(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN);
    c->PowerMode = 0;
    c->LongPreamble = 0;
    c->ProfileHunting = 0;
    c->CountryEnvironment = 'E';
    c->SystemScale = DEFAULT_SYSTEM_SCALE;
    c->TxPowerLevel = DEFAULT_TX_POWER_LEVEL;
    c->Rates5 = DEFAULT_RATES5;
    c->Rates24 = DEFAULT_RATES24;
    c->WiFiCompatible = DEFAULT_WIFI_COMPATIBLE;
}

void ContextFullReset(AdapterPageContext *c)
{
    c->NicId[0] = 0;
    c->CountryCode[0] = 0;
    c->PreferredCount = 0;
    for (int i = 0; i < MAX_PREFERRED_NAMES; i++) c->PreferredNames[i] = NULL;
    ContextSettingsReset(c);
}

void EditReset(NetworksPageBlock *b, int full)
{
    b->Keys.KeyId = -1;
    b->ConnectionMode = 0;
    b->ConnectionControl = 2;
    b->Channel[0] = b->Channel[1] = 0;
    b->EncryptionEnabled = 0;
    b->Keys.AsciiHex = 1;
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        b->Keys.Key[i].Len = 0;
        memset(b->Keys.Key[i].Keypos, 0, sizeof b->Keys.Key[i].Keypos);
    }
    b->Authentication = 1;
    b->KeyIndexChanged = 0;
    if (full) {
        b->ProfileName[0] = 0;
        b->NetworkName[0] = 0;
    }
}

int PowerIndexFromRead(int rc, int mode)
{
    if (rc != WL_SUCCESS) return 0;
    if (mode == 3) return 1;
    if (mode == 4) return 2;
    return 0;
}

int PowerModeFromIndex(int index)
{
    static const int kModes[] = {0, 3, 4};
    return index >= 0 && index < 3 ? kModes[index] : -1;
}

int ScaleFromRead(int rc, int value)
{
    return rc == WL_SUCCESS && value >= 1 && value <= 5 ? value : DEFAULT_SYSTEM_SCALE;
}

const char *const kTxPowerTexts[7] = {"8", "10", "12", "14", "16", "18", "20"};

int TxPowerIndex(int value)
{
    static const int kValues[7] = {8, 10, 12, 14, 16, 18, 20};
    for (int i = 0; i < 7; i++)
        if (kValues[i] == value) return i;
    return 6;
}

void RatesFromRead(int rc, unsigned v24, unsigned v5, DWORD *rates24, DWORD *rates5)
{
    if (rc != WL_SUCCESS) v24 = v5 = 0;
    *rates24 = (v24 ? v24 : DEFAULT_RATES24) & RATES24_MASK;
    *rates5 = (v5 ? v5 : DEFAULT_RATES5) & RATES5_MASK;
}

int LoneBit(uint16_t mask)
{
    if (mask == 0 || (mask & (mask - 1)) != 0) return -1;
    for (int b = 0; b < 16; b++)
        if (mask == (1u << b)) return b;
    return -1;
}

int RateBoxChecked(uint16_t *mask, int bit)
{
    if (bit < 0 || bit > 11) return -1;
    int lone = LoneBit(*mask);
    *mask = (uint16_t)(*mask | (1u << bit));
    return lone == bit ? -1 : lone;
}

int RateBoxUnchecked(uint16_t *mask, int bit)
{
    if (bit < 0 || bit > 11) return -1;
    *mask = (uint16_t)(*mask & ~(1u << bit));
    return LoneBit(*mask);
}

int BandPresent(int domainRead, const int32_t flags[2])
{
    return !domainRead || flags[0] != 0 || flags[1] != 0;
}

int ProductVersionsMatch(DWORD msA, DWORD msB)
{
    if (HIWORD(msA) != HIWORD(msB)) return 0;
    unsigned a = LOWORD(msA), b = LOWORD(msB);
    return (a + (a & 1)) == (b + (b & 1));
}

namespace {

struct Topic {
    int id;
    const char *file;
};

/* Searched in order; where an id appears twice the first entry wins. */
const Topic kTopics[] = {
    {1003, "DR_VS.htm"},     {2314, "DR_WLAd3rd.htm"}, {2050, "DR_scnwf.htm"},
    {2051, "DR_scnw.htm"},   {2052, "DR_refr.htm"},    {2053, "DR_VSPP.htm"},
    {2054, "DR_prnw.htm"},   {2057, "DR_NPi.htm"},     {2160, "DR_vspp.htm"},
    {2059, "DR_ACTNW.htm"},  {2060, "DR_dnp.htm"},     {2055, "DR_prnwp.htm"},
    {2056, "DR_prnwp.htm"},  {2313, "DR_APFHUNT.htm"}, {2316, "DR_APFHUNT.htm"},
    {2062, "DR_VS.htm"},     {1004, "DR_vspp.htm"},    {2201, "DR_pname.htm"},
    {2250, "DR_vspp.htm"},   {2202, "DR_vsnn.htm"},    {2203, "DR_nwtyp.htm"},
    {2204, "DR_sCO.htm"},    {2205, "SP_RBC.htm"},     {2206, "SP_RBC.htm"},
    {2207, "SP_RBC.htm"},    {2208, "PA_SSeI.htm"},    {2209, "PA_SSe.htm"},
    {2210, "PA_SSe.htm"},    {2211, "GL_shkau.htm"},   {2251, "DR_vspp.htm"},
    {1005, "DR_nwpm.htm"},   {2164, "DR_puser.htm"},   {2167, "DR_NPc.htm"},
    {2169, "DR_vspp.htm"},   {2168, "DR_puser.htm"},   {2165, "DR_nwpms.htm"},
    {2166, "DR_nwpmh.htm"},  {2160, "DR_vspp.htm"},    {2197, "DR_nwpm.htm"},
    {1008, "DR_WLAd.htm"},   {2314, "DR_WLAd3rd.htm"}, {2204, "GL_LO.htm"},
    {2061, "DR_vspm.htm"},   {2248, "Dr_dbbs.htm"},    {2249, "GL_TP.htm"},
    {2224, "SP_RBTX.htm"},   {2225, "SP_RBTX.htm"},    {2226, "SP_RBTX.htm"},
    {2227, "SP_RBTX.htm"},   {2228, "SP_RBTX.htm"},    {2229, "SP_RBTX.htm"},
    {2230, "SP_RBTX.htm"},   {2231, "SP_RBTX.htm"},    {2232, "SP_RBTX.htm"},
    {2233, "SP_RBTX.htm"},   {2234, "SP_RBTX.htm"},    {2235, "SP_RBTX.htm"},
    {2236, "SP_RBTX.htm"},   {2237, "SP_RBTX.htm"},    {2238, "SP_RBTX.htm"},
    {2239, "SP_RBTX.htm"},   {2240, "SP_RBTX.htm"},    {2241, "SP_RBTX.htm"},
    {2242, "SP_RBTX.htm"},   {2243, "SP_RBTX.htm"},    {2244, "SP_RBTX.htm"},
    {2245, "SP_RBTX.htm"},   {2246, "SP_RBTX.htm"},    {2247, "SP_RBTX.htm"},
    {2250, "DR_WLAd.htm"},   {2315, "DR_FrcLong.htm"}, {2317, "BS_P2P11g.htm"},
    {2312, "DR_WLAd.htm"},
};

} // namespace

const char *HelpTopicFor(int id)
{
    for (const Topic &t : kTopics)
        if (t.id == id) return t.file;
    return NULL;
}

size_t HelpTopicCount(void) { return sizeof kTopics / sizeof kTopics[0]; }

const char *HelpTopicAt(size_t i, int *id)
{
    if (i >= HelpTopicCount()) return NULL;
    if (id) *id = kTopics[i].id;
    return kTopics[i].file;
}

int NicIdFromDriverKey(const char *classGuid, const char *driverKey, char out[5])
{
    out[0] = 0;
    if (!classGuid || !driverKey || !classGuid[0]) return 0;
    /* GUID texts differ in letter case between sources: compare without. */
    size_t n = strlen(classGuid);
    const char *p = NULL;
    for (const char *q = driverKey; *q && !p; q++) {
        size_t i = 0;
        while (i < n && q[i] && tolower((unsigned char)q[i]) == tolower((unsigned char)classGuid[i])) i++;
        if (i == n) p = q;
    }
    if (!p) return 0;
    p += n;
    if (*p != '\\') return 0;
    p++;
    for (int i = 0; i < 4; i++)
        if (p[i] < '0' || p[i] > '9') return 0;
    if (p[4] != 0) return 0;
    memcpy(out, p, 4);
    out[4] = 0;
    return 1;
}
