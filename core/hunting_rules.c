/* Pure rules of profile hunting: link verdict, settle times, flag word. */
#include <stdlib.h>
#include <string.h>

#include "wlcore/hunting_rules.h"

enum LinkVerdict LinkVerdictOf(int readsOk, int portStatus, int linkStatus, const unsigned char *bssid)
{
    if (!readsOk) return LINK_STAY;
    if (portStatus == 4) return LINK_STAY;
    if (portStatus == 3) {
        int zero = 1;
        for (int i = 0; i < 6; i++) zero &= bssid[i] == 0;
        if (zero) return LINK_STAY;
        if (linkStatus == 1) return LINK_STAY;
    }
    return LINK_HUNT;
}

unsigned SettleTimeMs(int mode)
{
    switch (mode) {
    case 0: return 2000;  /* CONNECTION_MODE_ESS */
    case 1: return 10000;
    case 2: return 2000;  /* CONNECTION_MODE_SOFTAP */
    case 3: return 2000;
    default: return 0;
    }
}

uint32_t ThirdPartyWord(uint32_t caller, uint32_t tp, uint32_t zc, uint32_t fk)
{
    uint32_t w = caller & ~0x1Fu;
    if (tp & 1u) w |= THIRD_PARTY_OWN;
    if (zc == 2 || fk != 0) w |= THIRD_PARTY_NOT_OWN;
    if (zc == 2) w |= THIRD_PARTY_MICROSOFT;
    if (fk & 1u) w |= THIRD_PARTY_FUNK;
    return w;
}

uint32_t RegistryInteger(uint32_t type, const unsigned char *data, uint32_t size)
{
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        char text[33];
        uint32_t n = size < sizeof text - 1 ? size : (uint32_t)sizeof text - 1;
        memcpy(text, data, n);
        text[n] = '\0';
        return (uint32_t)strtol(text, NULL, 10);
    }
    uint32_t v = 0;
    memcpy(&v, data, size < sizeof v ? size : sizeof v);
    return v;
}
