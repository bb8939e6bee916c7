/*
 * Description of the current adapter for the property pages, and the PCI
 * identity and status word read from the driver's PCI information record.
 */
#include "wlinternal.h"
#include "hunting/hunting.h"
#include "wlcore/pcirecord.h"

static int FriendlyNameGet(char *Val, DWORD *Size)
{
    WL_FRAME("FriendlyNameGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    if (OSTypeGet() == OS_WIN98) {
        WLNICAnyStringGet("VendorDescription", Val, Size);
    } else {
        DWORD size = *Size;
        if (WLEnumAnyStringGet("FriendlyName", Val, Size) != WL_SUCCESS || *Size == 0) {
            *Size = size;
            if (WLEnumAnyStringGet("DeviceDesc", Val, Size) != WL_SUCCESS) *Size = 0;
        }
    }
    WL_CHECK(*Size == 0, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentNICInfoGet(CurrentNICInfoBuffer *Val)
{
    WL_FRAME("WLCurrentNICInfoGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != CurrentNICInfoBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (CurrentNICInfoBuffer), WL_INVALID_PARAMETER);

    DWORD size = sizeof Val->Nic;
    WLCurrentNICGet(Val->Nic, &size);
    size = sizeof Val->FriendlyName;
    FriendlyNameGet(Val->FriendlyName, &size);
    size = sizeof Val->DriverVersion;
    WLNICAnyStringGet("DriverVersion", Val->DriverVersion, &size);
    size = sizeof Val->ConfigName;
    WLNICAnyStringGet("ConfigName", Val->ConfigName, &size);
    ProfileHuntingGet(&Val->ProfileHunting);
    if (SystrayIconGet(&Val->SystrayIcon) != WL_SUCCESS) {
        /* A missing switch means the tray icon is shown; store it so. */
        Val->SystrayIcon = 1;
        WLSystrayIconSet(1);
    }
    WLConnectionModeGet(&Val->ConnectionMode);
    int port;
    Val->Present = WLPortStatusGet(&port) == WL_DATA_NOT_AVAILABLE ? 0 : 1;
    ThirdPartyConfigurationGet(&Val->ThirdPartyConfiguration);
    WL_RETURN(WL_SUCCESS);
}

/* Reads the PCI information record; the record holds the request on failure. */
static int PciRecordRead(PciInfoLtv *Ltv)
{
    PciRecordRequest(Ltv);
    return GenericRead((WL_LTV *)Ltv);
}

int WLAPI WLPCIIdentityGet(IdentityBuffer *Val)
{
    WL_FRAME("WLPCIIdentityGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != IdentityBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (IdentityBuffer), WL_INVALID_PARAMETER);
    PciInfoLtv ltv;
    int rc = PciRecordRead(&ltv);
    PciRecordIdentity(&ltv, Val);
    WL_RETURN(rc);
}

int WLAPI WLPCIStatusGet(int *Val)
{
    WL_FRAME("WLPCIStatusGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    PciInfoLtv ltv;
    int rc = PciRecordRead(&ltv);
    *Val = PciRecordStatus(&ltv);
    WL_RETURN(rc);
}
