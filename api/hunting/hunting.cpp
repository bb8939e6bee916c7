/*
 * Profile hunting control: the per-adapter switches, the other
 * configuration managers that make hunting refuse, the gate of a hunting
 * step, and starting or removing the service program when the first
 * adapter turns hunting on or the last one turns it off.
 */
#include <mbstring.h>

#include "wlinternal.h"

#include <shellapi.h>
#include "hunting/hunting.h"
#include "wlcore/siblings.h"

static const char ProfileHuntingText[] = "ProfileHunting";
static const char SystrayIconText[] = "SystrayIcon";
static const char ThirdPartyConfigurationText[] = "ThirdPartyConfiguration";
#define OUTSIDE_CLIENT_KEY "Software\\Funk Software, Inc.\\Odyssey\\client\\control"

/* Reads one integer switch of the current NIC into a 32-bit field. */
static int SwitchGet(const char *Name, int32_t *Val)
{
    DWORD v;
    int rc = WLNICAnyIntGet(Name, &v);
    if (rc == WL_SUCCESS) *Val = (int32_t)v;
    return rc;
}

int ProfileHuntingGet(int32_t *Val)
{
    WL_FRAME("ProfileHuntingGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(SwitchGet(ProfileHuntingText, Val));
}

int SystrayIconGet(int32_t *Val)
{
    WL_FRAME("SystrayIconGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(SwitchGet(SystrayIconText, Val));
}

int WLAPI WLSystrayIconSet(int Val)
{
    WL_FRAME("WLSystrayIconSet");
    WL_CHECK(!INTERVAL (0, <=, Val, <=, 1), WL_INVALID_PARAMETER);
    WL_RETURN(WLNICAnyIntSet(SystrayIconText, (DWORD)Val));
}

int WLAPI WLThirdPartyConfigurationSet(int Val)
{
    WL_FRAME("WLThirdPartyConfigurationSet");
    WL_CHECK(!INTERVAL (0, <=, Val, <=, 1), WL_INVALID_PARAMETER);
    WL_RETURN(WLNICAnyIntSet(ThirdPartyConfigurationText, (DWORD)Val));
}

int WLAPI WLZeroConfigStatusGet(int *Val)
{
    WL_FRAME("WLZeroConfigStatusGet");
    WL_CHECK(OSTypeGet () != OS_WIN2001, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    int status = 3;
    SC_HANDLE scm = OpenSCManagerA(NULL, "ServicesActive", SC_MANAGER_ALL_ACCESS);
    if (scm != NULL) {
        SC_HANDLE svc = OpenServiceA(scm, "WZCSVC", SERVICE_ALL_ACCESS);
        if (svc != NULL) {
            SERVICE_STATUS st;
            if (QueryServiceStatus(svc, &st) && st.dwCurrentState == SERVICE_RUNNING) status = 2;
            CloseServiceHandle(svc);
        }
        CloseServiceHandle(scm);
    }
    *Val = status;
    WL_RETURN(WL_SUCCESS);
}

/* The outside client's "enabled" switch; 0 when it cannot be read. */
static DWORD OutsideClientEnabled(void)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) return 0;
    unsigned char data[32];
    DWORD size = sizeof data, type = REG_NONE;
    LONG rc = RegQueryValueExA(hKey, "enabled", NULL, &type, data, &size);
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS) return 0;
    return RegistryInteger(type, data, size);
}

int ThirdPartyConfigurationGet(ThirdPartyConfigurationFlags *Val)
{
    WL_FRAME("ThirdPartyConfigurationGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    DWORD tp = 0;
    WLNICAnyIntGet(ThirdPartyConfigurationText, &tp);
    WLLog("tp %d\n", (int)tp);
    int zc = 0;
    WLZeroConfigStatusGet(&zc);
    WLLog("zc %d\n", zc);
    DWORD fk = OutsideClientEnabled();
    WLLog("fk %d\n", (int)fk);
    uint32_t word;
    memcpy(&word, Val, sizeof word);
    word = ThirdPartyWord(word, tp, (uint32_t)zc, fk);
    memcpy(Val, &word, sizeof word);
    WL_RETURN(WL_SUCCESS);
}

int APHPPAllowed(void)
{
    WL_FRAME("APHPPAllowed");
    WL_CHECK(CurrentNic () == NULL, WL_DATA_NOT_AVAILABLE);
    CurrentNICInfoBuffer buf;
    memset(&buf, 0, sizeof buf);
    buf.TS.Type = CurrentNICInfoBufferType;
    buf.TS.Size = sizeof buf;
    int retval = WLCurrentNICInfoGet(&buf);
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_CHECK(buf.Present != 1, WL_FUNCTION_NOT_AVAILABLE);
    WL_CHECK(buf.ProfileHunting != 1, WL_FUNCTION_NOT_AVAILABLE);
    WL_CHECK(buf.ThirdPartyConfiguration.Own == 1, WL_FUNCTION_NOT_AVAILABLE);
    if (buf.ThirdPartyConfiguration.NotOwn == 1) {
        if (buf.ThirdPartyConfiguration.Microsoft == 1)
            ConditionalLog(WL_FN, "buf.ThirdPartyConfiguration.Microsoft == 1");
        if (buf.ThirdPartyConfiguration.Funk == 1) ConditionalLog(WL_FN, "buf.ThirdPartyConfiguration.Funk == 1");
        if (buf.ThirdPartyConfiguration.MeetingHouse == 1)
            ConditionalLog(WL_FN, "buf.ThirdPartyConfiguration.MeetingHouse == 1");
        WL_FAIL("buf.ThirdPartyConfiguration.NotOwn == 1", WL_FUNCTION_NOT_AVAILABLE);
    }
    WL_RETURN(WL_SUCCESS);
}

/* This library's service program, worked out once per process. */
static const char *ServiceProgram(void)
{
    static char name[64];
    if (name[0] == '\0') WLSiblingName(g_Variant.dllName, WL_SIBLING_SERVICE, "", name, sizeof name);
    return name;
}

int ServiceProgramRun(const char *Parameter)
{
    WL_FRAME("ServiceProgramRun");
    HINSTANCE h = ShellExecuteA(NULL, "open", ServiceProgram(), Parameter, NULL, SW_HIDE);
    INT_PTR result = (INT_PTR)h;
    WLLog("ShellExecute: 0x%04X\n", (unsigned)result);
    WL_CHECK(result <= 32, WL_GENERAL_ERROR);
    WL_RETURN(WL_SUCCESS);
}

/* Adapters of this library whose "ProfileHunting" is 1. Each is made the
 * current NIC for the moment; the previous selection is put back. */
static int HuntingAdapterCount(void)
{
    char previous[NIC_ID_SIZE + 1] = "";
    if (CurrentNic() != NULL) strcpy(previous, CurrentNic());
    const char *own = g_Variant.dllName;
    int count = 0;
    NICInfoBuffer nic;
    memset(&nic, 0, sizeof nic);
    nic.TS.Type = NICInfoBufferType;
    nic.TS.Size = sizeof nic;
    for (int rc = WLFirstNICGet(&nic); rc == WL_SUCCESS; rc = WLNextNICGet(&nic)) {
        char id[sizeof nic.Nic + 1] = "", dll[sizeof nic.Dll + 1] = "";
        memcpy(id, nic.Nic, sizeof nic.Nic);
        memcpy(dll, nic.Dll, sizeof nic.Dll);
        memset(nic.Nic, 0, sizeof nic.Nic);
        memset(nic.Dll, 0, sizeof nic.Dll);
        WLLog("testing nic %s for dll %s and service %s\n", id, dll, own);
        if (_mbsnicmp((const unsigned char *)dll, (const unsigned char *)own, strlen(own)) != 0) continue;
        if (WLCurrentNICSet(id, (DWORD)strlen(id)) != WL_SUCCESS) continue;
        CurrentNICInfoBuffer info;
        memset(&info, 0, sizeof info);
        info.TS.Type = CurrentNICInfoBufferType;
        info.TS.Size = sizeof info;
        if (WLCurrentNICInfoGet(&info) == WL_SUCCESS && info.ProfileHunting == 1) {
            WLLog("%s uses APH service\n", id);
            count++;
        }
    }
    WLCurrentNICSet(previous, (DWORD)strlen(previous));
    return count;
}

int WLAPI WLProfileHuntingSet(int Val)
{
    WL_FRAME("WLProfileHuntingSet");
    WL_CHECK(!INTERVAL (0, <=, Val, <=, 1), WL_INVALID_PARAMETER);
    WL_CHECK(WLNICAnyIntSet (ProfileHuntingText, Val) != WL_SUCCESS, WL_DATA_NOT_WRITEABLE);
    int count = HuntingAdapterCount();
    if (Val == 1 && count == 1) WL_RETURN(ServiceProgramRun("/Service"));
    if (Val == 0 && count == 0) WL_RETURN(ServiceProgramRun("/UnregService"));
    WL_RETURN(WL_SUCCESS);
}
