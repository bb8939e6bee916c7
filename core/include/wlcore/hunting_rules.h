/*
 * hunting_rules.h - the pure rules of profile hunting: link verdict, settle
 * times, the other-manager flag word and registry integers. No driver, no trace, no registry call.
 */
#ifndef WLCORE_HUNTING_RULES_H
#define WLCORE_HUNTING_RULES_H

#include <stdint.h>

#include "wlapi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What the link readings say: stay on the profile, or hunt for the next. */
enum LinkVerdict { LINK_STAY = 0, LINK_HUNT = 1 };

/* readsOk: every reading the verdict needed succeeded (port status, then
 * link status, then for port status 3 the BSSID of 6 bytes). */
enum LinkVerdict LinkVerdictOf(int readsOk, int portStatus, int linkStatus, const unsigned char *bssid);

/* Milliseconds to let a just-activated profile settle in connection mode
 * `mode`; 0 for a mode without a settle time. */
unsigned SettleTimeMs(int mode);

/* The flag word from the stored switch (tp), the zero configuration status
 * (zc) and the outside client's switch (fk); bits 5 to 31 of `caller` are
 * kept. */
uint32_t ThirdPartyWord(uint32_t caller, uint32_t tp, uint32_t zc, uint32_t fk);

/* A registry value as an integer: a 32-bit number (up to 4 bytes, little
 * endian), or text whose leading decimal digits give it (type REG_SZ or
 * REG_EXPAND_SZ). Never reads more than size bytes. */
uint32_t RegistryInteger(uint32_t type, const unsigned char *data, uint32_t size);

#ifdef __cplusplus
}
#endif

#endif /* WLCORE_HUNTING_RULES_H */
