/* Shared adapter description, adapter identification, page release. */
#include "coinst.h"

#include <setupapi.h>
#include <string.h>

#include "pagelogic.h"
#include "proplogic.h"

CurrentNICInfoBuffer g_CurrentNICInfo;
uint16_t g_CheckedRates[2];

int ApiCurrentNICInfoGet(CurrentNICInfoBuffer *Val) { return WLCurrentNICInfoGet(Val); }

int ApiThirdPartyConfigurationSet(int Val) { return WLThirdPartyConfigurationSet(Val); }

int RefreshCurrentNICInfo(void)
{
    g_CurrentNICInfo.TS.Type = CurrentNICInfoBufferType;
    g_CurrentNICInfo.TS.Size = sizeof g_CurrentNICInfo;
    return ApiCurrentNICInfoGet(&g_CurrentNICInfo);
}

DWORD SharedThirdPartyBits(void)
{
    DWORD bits = 0;
    if (g_CurrentNICInfo.ThirdPartyConfiguration.Own) bits |= THIRD_PARTY_OWN;
    if (g_CurrentNICInfo.ThirdPartyConfiguration.NotOwn) bits |= THIRD_PARTY_NOT_OWN;
    return bits;
}

int IdentifyAdapter(AdapterPageContext *c)
{
    char guid[128] = "", driver[128] = "", id[5];
    if (!c->DeviceInfoSet || !c->DeviceInfoData) return 0;
    if (!SetupDiGetDeviceRegistryPropertyA(c->DeviceInfoSet, c->DeviceInfoData, SPDRP_CLASSGUID, NULL,
                                           (BYTE *)guid, sizeof guid - 1, NULL) ||
        !SetupDiGetDeviceRegistryPropertyA(c->DeviceInfoSet, c->DeviceInfoData, SPDRP_DRIVER, NULL,
                                           (BYTE *)driver, sizeof driver - 1, NULL))
        return 0;
    /* A driver key without the class GUID names no adapter of ours. */
    if (!NicIdFromDriverKey(guid, driver, id)) return 0;
    if (WLCurrentNICSet(id, 4) != WL_SUCCESS) return 0;
    memcpy(c->NicId, id, 5);
    char back[NIC_ID_SIZE + 1] = "";
    DWORD size = sizeof back;
    if (WLCurrentNICGet(back, &size) == WL_SUCCESS && size < sizeof back) {
        back[size] = 0;
        if (back[0]) memcpy(c->NicId, back, size + 1);
    }
    RefreshCurrentNICInfo();
    c->ThirdParty = (c->ThirdParty & ~(DWORD)(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) | SharedThirdPartyBits();
    c->ProfileHunting = g_CurrentNICInfo.ProfileHunting;
    return 1;
}

UINT CALLBACK PageCallback(HWND hwnd, UINT msg, LPPROPSHEETPAGEA page)
{
    (void)hwnd;
    if (msg != PSPCB_RELEASE) return 1;
    if (!page || !page->lParam) return 0;
    /* The Advanced page holds the context. A sheet may release it before
     * the Wireless Networks page's window goes (Wine's sheets release each
     * page right after destroying it): the names go with the context, and
     * the networks page is told not to touch it any more. */
    if (page->pfnDlgProc == NicSpecificDlgProc) {
        AdapterPageContext *c = reinterpret_cast<AdapterPageContext *>(page->lParam);
        NetworksContextReleased(c);
        PreferredFreeAll(c);
    }
    HeapFree(GetProcessHeap(), 0, reinterpret_cast<void *>(page->lParam));
    return 0;
}

const char *ResString(UINT id, char *buf, int size)
{
    if (LoadStringA(g_ResourceModule, id, buf, size) <= 0) buf[0] = 0;
    return buf;
}
