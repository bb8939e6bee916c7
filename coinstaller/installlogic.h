/*
 * Pure rules of the co-installer's install actions: the "RTM" value of the
 * driver key and which of the two pages the Device Manager gets.
 */
#ifndef COINST_INSTALLLOGIC_H
#define COINST_INSTALLLOGIC_H

#include <windows.h>

/* Page limit of a device's property page list (MAX_INSTALLWIZARD_DYNAPAGES). */
#define COINST_MAX_PAGES 20

/* "RTM" text for the reported version: "1" for the first release of
 * Windows XP (build 2600 without a service pack), else "0". */
const char *RtmValueFor(DWORD build, WORD servicePackMajor, WORD servicePackMinor);

/* Whether the Device Manager route leaves the Wireless Networks page out:
 * another configuration manager owns the adapter (NotOwn of the third-party
 * bits), or Windows XP with the zero configuration service running
 * (wzcState is its dwCurrentState, 0 when unknown). */
int NetworksPageLeftOut(DWORD thirdPartyBits, DWORD osType, DWORD wzcState);

#endif
