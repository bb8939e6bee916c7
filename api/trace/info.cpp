/*
 * Return-code names, the operating system type, the component-name table
 * and the library's own name.
 */
#include <stdio.h>

#include "wlvariant.h"
#include "trace/wltrace.h"

struct CodeName {
    int code;
    const char *name;
};

static const CodeName WLCodeNames[] = {
    {WL_SUCCESS, "WL_SUCCESS"},
    {WL_GENERAL_ERROR, "WL_GENERAL_ERROR"},
    {WL_INVALID_PARAMETER, "WL_INVALID_PARAMETER"},
    {WL_FUNCTION_NOT_SUPPORTED, "WL_FUNCTION_NOT_SUPPORTED"},
    {WL_FUNCTION_NOT_AVAILABLE, "WL_FUNCTION_NOT_AVAILABLE"},
    {WL_INPUT_BUFFER_INSUFFICIENT, "WL_INPUT_BUFFER_INSUFFICIENT"},
    {WL_DATA_NOT_AVAILABLE, "WL_DATA_NOT_AVAILABLE"},
    {WL_DATA_NOT_WRITEABLE, "WL_DATA_NOT_WRITEABLE"},
    {WL_NO_MEMORY, "WL_NO_MEMORY"},
    {WL_NOT_CONNECTED, "WL_NOT_CONNECTED"},
    {WL_INCOMPATIBLE, "WL_INCOMPATIBLE"},
    {WL_COMPATIBLE, "WL_COMPATIBLE"},
    {WL_COMPATIBILITY_UNCHECKED, "WL_COMPATIBILITY_UNCHECKED"},
    {WL_IN_USE, "WL_IN_USE"},
};

/* Channel-layer result names. */
static const CodeName UILCodeNames[] = {
    {WLDRV_RES_SUCCESS, "UIL_SUCCESS"},     {WLDRV_RES_TIME_OUT, "UIL_ERR_TIME_OUT"},
    {WLDRV_RES_NO_NIC, "UIL_ERR_NO_NIC"},   {WLDRV_RES_BUSY, "UIL_ERR_BUSY"},
    {WLDRV_RES_LEN, "UIL_ERR_LEN"},         {WLDRV_RES_INCOMP_DRV, "UIL_ERR_INCOMP_DRV"},
    {WLDRV_RES_IN_USE, "UIL_ERR_IN_USE"},   {WLDRV_RES_WRONG_IFB, "UIL_ERR_WRONG_IFB"},
};

/* Adapter-layer result names. */
static const CodeName HCFCodeNames[] = {
    {0, "HCF_SUCCESS"},
    {4, "HCF_ERR_TIME_OUT"},
    {5, "HCF_ERR_NO_NIC"},
    {8, "HCF_ERR_LEN"},
    {10, "HCF_ERR_INCOMP_FW"},
    {63, "HCF_ERR_MAX"},
    {128, "HCF_ERR_DEFUNCT"},
    {130, "HCF_ERR_DEFUNCT_AUX"},
    {131, "HCF_ERR_DEFUNCT_TIMER"},
    {132, "HCF_ERR_DEFUNCT_TIME_OUT"},
    {134, "HCF_ERR_DEFUNCT_CMD_SEQ"},
    {255, "0xFF"},
};

template <size_t N> static const char *FindName(const CodeName (&table)[N], int code)
{
    for (size_t i = 0; i < N; i++)
        if (table[i].code == code) return table[i].name;
    return NULL;
}

const char *ReturnCodeName(int Code)
{
    const char *name = FindName(WLCodeNames, Code);
    if (name == NULL) name = FindName(UILCodeNames, Code);
    if (name == NULL) name = FindName(HCFCodeNames, Code);
    return name ? name : "unrecognized error";
}

/* ---- Operating system type ---- */

static DWORD s_OSType;
static char s_OSName[128] = "Unknown OS!";

DWORD OSTypeGet(void)
{
    if (s_OSType != OS_UNKNOWN) return s_OSType;
    OSVERSIONINFOA vi;
    memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    if (!GetVersionExA(&vi)) {
        snprintf(s_OSName, sizeof s_OSName, "Unknown OS!");
        WLLog("OSType <%d>, OSName <%s>\n", OS_UNKNOWN, s_OSName);
        return OS_UNKNOWN;
    }
    DWORD type = OS_UNKNOWN;
    const char *label = NULL;
    if (vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (vi.dwMajorVersion > 4 || (vi.dwMajorVersion == 4 && vi.dwMinorVersion >= 10)) {
            type = OS_WIN98;
            label = "WIN98";
        } else {
            type = OS_WIN95;
            label = "WIN95";
        }
    } else if (vi.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (vi.dwMajorVersion <= 4) {
            type = OS_WINNT;
            label = "WINNT";
        } else if (vi.dwMinorVersion == 0) {
            type = OS_WIN2000;
            label = "WIN2000";
        } else {
            type = OS_WIN2001;
            label = "WIN2001";
        }
    }
    if (label != NULL)
        snprintf(s_OSName, sizeof s_OSName, "%s Version %ld.%02ld %s Build %u", label,
                 (long)vi.dwMajorVersion, (long)vi.dwMinorVersion, vi.szCSDVersion,
                 (unsigned)(vi.dwBuildNumber & 0xFFFF));
    else
        snprintf(s_OSName, sizeof s_OSName, "Unknown OS!");
    WLLog("OSType <%d>, OSName <%s>\n", (int)type, s_OSName);
    s_OSType = type;
    return type;
}

int WLAPI WLOSTypeGet(DWORD *Val)
{
    WL_FRAME("WLOSTypeGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    *Val = OSTypeGet();
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLOSTypeNameGet(char *Val, DWORD *Size)
{
    WL_FRAME("WLOSTypeNameGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < 128, WL_INPUT_BUFFER_INSUFFICIENT);
    OSTypeGet();
    strcpy(Val, s_OSName);
    *Size = (DWORD)strlen(s_OSName);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Component names, by the component numbers of the identity records ---- */

static const char *const CompNames[NCompNames] = {
    /* 0..20: adapter types */
    "Network Interface Card 0", "PC Card adapter", "PC Card adapter (extended range)",
    "ISA bus adapter", "PCI bus adapter", "Mini PCI adapter", "CompactFlash adapter",
    "Network Interface Card 7", "USB adapter", "Embedded module", "Access point radio module",
    "PC Card adapter (dual band)", "Mini PCI adapter (dual band)", "CardBus adapter (dual band)",
    "USB adapter (dual band)", "Network Interface Card 15", "Network Interface Card 16",
    "Network Interface Card 17", "Network Interface Card 18", "Network Interface Card 19",
    "Network Interface Card 20",
    /* 21..40: firmware components */
    "Primary firmware", "Station firmware", "Firmware 23", "Firmware 24", "Firmware 25",
    "Firmware 26", "Firmware 27", "Firmware 28", "Firmware 29", "Firmware 30",
    "Tertiary firmware", "Access point firmware", "Firmware 33", "Firmware 34", "Firmware 35",
    "Firmware 36", "Firmware 37", "Firmware 38", "Firmware 39", "Firmware 40",
    /* 41..60: drivers */
    "NDIS 3 miniport driver (Windows 95)", "NDIS 4 miniport driver (Windows NT 4)",
    "NDIS 5 miniport driver (Windows 98)", "NDIS 5 miniport driver (Windows 2000)",
    "NDIS 5.1 miniport driver (Windows XP)", "VxD driver (Windows 98/Me)", "Packet driver (DOS)",
    "Configuration API library", "ODI driver (NetWare)", "Linux driver", "Windows CE driver",
    "Mac OS driver", "USB driver (Windows 98/Me)", "USB driver (Windows 2000/XP)",
    "Embedded driver", "Host interface library", "Driver 57", "Driver 58", "Driver 59",
    "Driver 60",
    /* 61..80: utilities */
    "Client manager", "Site monitor", "Link test utility", "Firmware update utility",
    "Diagnostics utility", "Registry configuration utility", "Device co-installer",
    "Profile hunting service", "Access point manager", "Utility 70", "Utility 71",
    "Utility 72", "Utility 73", "Utility 74", "Utility 75", "Utility 76", "Utility 77",
    "Utility 78", "Utility 79", "Utility 80",
    /* 81..90: firmware images */
    "Primary firmware image", "Station firmware image", "Tertiary firmware image", "Image 84",
    "Image 85", "Access point firmware image", "Combined firmware image", "Image 88",
    "Image 89", "Image 90",
    /* 91..95: devices */
    "Radio modem", "MAC controller", "Baseband processor", "-", "Flash memory",
};

int WLAPI WLComponentNameGet(int Comp, char *Val, DWORD *Size)
{
    WL_FRAME("WLComponentNameGet");
    WL_CHECK(!INTERVAL (0, <=, Comp, <=, (int) NCompNames - 1), WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < 64, WL_INPUT_BUFFER_INSUFFICIENT);
    strcpy(Val, CompNames[Comp]);
    *Size = (DWORD)strlen(CompNames[Comp]);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLDAINameGet(char *Val, DWORD *Size)
{
    const DWORD size_of_THIS_DLL = (DWORD)strlen(g_Variant.dllName) + 1;
    WL_FRAME("WLDAINameGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < size_of_THIS_DLL, WL_INPUT_BUFFER_INSUFFICIENT);
    WLLog("This dll %s\n", g_Variant.dllName);
    strcpy(Val, g_Variant.dllName);
    *Size = size_of_THIS_DLL - 1;
    WL_RETURN(WL_SUCCESS);
}
