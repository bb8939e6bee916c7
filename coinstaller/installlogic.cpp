/* Pure rules of the install actions (see installlogic.h). */
#include "installlogic.h"

#include "wlbuffers.h"
#include "wlapi.h"

const char *RtmValueFor(DWORD build, WORD servicePackMajor, WORD servicePackMinor)
{
    return build == 2600 && servicePackMajor == 0 && servicePackMinor == 0 ? "1" : "0";
}

int NetworksPageLeftOut(DWORD thirdPartyBits, DWORD osType, DWORD wzcState)
{
    if (thirdPartyBits & THIRD_PARTY_NOT_OWN) return 1;
    return osType == OS_WIN2001 && wzcState == SERVICE_RUNNING;
}
