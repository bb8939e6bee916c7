/* Pure rules of the Wireless Networks page (see netlogic.h). */
#include "netlogic.h"

#include <string.h>

RowImages PreferredRowImages(int connectionMode, int active, int level)
{
    RowImages r;
    switch (connectionMode) {
    case 1:
        r.icon = active ? 9 : ICON_PEER;
        r.state = active ? 14 : 15;
        break;
    case 2:
        r.icon = active ? 13 : 12;
        r.state = active ? 14 : 15;
        break;
    default: /* 0, and 3 read as 0 */
        if (level < 1 || level > 6) level = 6;
        r.icon = active ? 6 : ICON_BASE_STATION;
        r.state = active ? 15 + level : 15;
        break;
    }
    return r;
}

int ProfileRowIcon(int connectionMode) { return PreferredRowImages(connectionMode, 0, 0).icon; }

int ScanFilterPasses(int filterIndex, unsigned thirdWord)
{
    int want = filterIndex - 1; /* -1 all, 0 peer to peer, 1 base station */
    return want < 0 || (int)(thirdWord & 1u) == want;
}

int ScanSsidListed(const char *ssid) { return ssid[0] != 0 && strcmp(ssid, " ") != 0; }

int ColumnWidthDelta(int before, int after, int visible)
{
    if (before <= visible && after > visible) return -9;
    if (before > visible && after <= visible) return 9;
    return 0;
}

Compatibility CheckCompatibility(int present, const RegulatoryDomainBuffer &domain, const CompatProfile &p,
                                 const char *country, const char *chooseLocation)
{
    if (!present) return COMPAT_UNVERIFIED;
    int band = p.connectionControl;
    bool uses5 = band == 1 || band == 2 || band == 3;
    bool uses24 = band == 0 || band == 2 || band == 3;
    /* Creating a network counts the first flag of a pair, joining the
     * second. */
    int which = p.connectionMode == 1 || p.connectionMode == 2 ? 0 : 1;
    int flag5 = domain.Flags5GHz[which], flag24 = domain.Flags2GHz[which];
    if ((uses5 && !flag5) || (uses24 && !flag24) || (!flag5 && !flag24)) return COMPAT_INCOMPATIBLE;
    if (which == 0) {
        if (band != 0 && p.channel[1] != 0) return COMPAT_INCOMPATIBLE;
        if (band == 0 && p.channel[0] != 0) {
            int n = domain.NumChannels2GHz;
            if (n < 0) n = 0;
            if (n > MAX_NUM_2GHZ_CHANNELS) n = MAX_NUM_2GHZ_CHANNELS;
            bool listed = false;
            for (int i = 0; i < n && !listed; i++) listed = domain.Channels2GHz[i] == p.channel[0];
            if (!listed) return COMPAT_INCOMPATIBLE;
        }
    }
    /* A domain code of 0 takes its channels from the chosen country. */
    if (domain.DC == 0 && (!country || !country[0] || strcmp(country, chooseLocation) == 0))
        return COMPAT_INCOMPATIBLE;
    return COMPAT_OK;
}

namespace {

struct Tip {
    int id;
    unsigned text;
};

const Tip kTips[] = {
    {1, 3157},    {2, 3158},    {8, 3160},    {2050, 3142}, {2051, 3143}, {2052, 3144}, {2053, 3145},
    {2054, 3146}, {2055, 3147}, {2056, 3148}, {2057, 3149}, {2165, 3149}, {2059, 3150}, {2060, 3151},
    {2166, 3151}, {2062, 3155}, {2197, 3155}, {2251, 3155}, {2160, 3152}, {2164, 3161}, {2167, 3162},
    {2168, 3159}, {2201, 3163}, {2202, 3164}, {2203, 3166}, {2204, 3167}, {2205, 3168}, {2206, 3169},
    {2207, 3169}, {2208, 3170}, {2209, 3171}, {2210, 3172}, {2211, 3173}, {2250, 3165}, {2313, 3153},
    {2314, 3141}, {2316, 3154},
};

} // namespace

unsigned TooltipStringFor(int controlId)
{
    for (const Tip &t : kTips)
        if (t.id == controlId) return t.text;
    return 3116;
}
