/*
 * The 32-bit half of the WD16to32 flat thunk (the Windows 98/Me builds):
 * one selector-driven entry point per argument shape, each converting its
 * arguments, calling one API library function and converting the results
 * back. Pointers arrive flat (the thunk layer maps them); 16-bit integers
 * are sign-extended; the caller reads the low word of the result.
 */
#include "coinst.h"

#include <string.h>

#include "pagelogic.h"
#include "thunk16.h"

namespace {

const int kTextIn = 64;   /* text handed to a setter */
const int kTextOut = 260; /* text filled by a getter */

/* The thunk data of this side; the thunk layer fills the rest. */
struct ThunkData32 {
    char magic[4];
    DWORD checksum;
    DWORD reserved[14];
} g_ThunkData = {{'S', 'L', '0', '1'}, 0, {0}};

typedef BOOL(WINAPI *ThunkConnect32Fn)(void *, LPSTR, LPSTR, LPSTR, HMODULE, DWORD);

/* A text of the 16-bit side into the setter's buffer; the size handed on
 * never exceeds the buffer. */
DWORD TextIn(const char *text, short size, char (&buf)[kTextIn])
{
    memset(buf, 0, sizeof buf);
    CopyText16(text, sizeof buf, buf, sizeof buf);
    int n = size;
    if (n < 0) n = 0;
    if (n > kTextIn) n = kTextIn;
    return (DWORD)n;
}

} // namespace

void ThunkConnect(HINSTANCE instance, DWORD reason)
{
    HMODULE k32 = GetModuleHandleA("kernel32.dll");
    ThunkConnect32Fn fn =
        k32 ? reinterpret_cast<ThunkConnect32Fn>(reinterpret_cast<void *>(GetProcAddress(k32, "ThunkConnect32")))
            : NULL;
    if (fn) fn(&g_ThunkData, const_cast<LPSTR>("WD16to32_ThunkData16"), g_PartnerName, g_OwnName, instance, reason);
}

extern "C" {

DWORD WINAPI WD16to32_API(short selector)
{
    switch (selector) {
    case 3: return (DWORD)WLInitializeProfiles();
    case 47: return (DWORD)WLDefaultProfileSet();
    case 51: return (DWORD)WLAllPreferredProfileDel();
    default: return WL_GENERAL_ERROR;
    }
}

DWORD WINAPI WD16to32_API_i(short selector, short value)
{
    int v = value;
    switch (selector) {
    case 12: return (DWORD)WLCurrentProfileConnectionModeSet(v);
    case 22: return (DWORD)WLCurrentProfileEncryptionEnabledSet(v);
    case 26: return (DWORD)WLCurrentProfileAuthenticationSet(v);
    case 28:
    case 46: return (DWORD)WLPowerModeSet(v);
    case 42: return (DWORD)WLCurrentProfileEncryptionActiveKeySet(v);
    case 16:
    case 20: return 0;
    default: return WL_GENERAL_ERROR;
    }
}

DWORD WINAPI WD16to32_API_ip(short selector, short *value)
{
    if (!value) return WL_INVALID_PARAMETER;
    int v = *value;
    int rc;
    switch (selector) {
    case 1: rc = WLProfileIns(); break;
    case 11: rc = WLCurrentProfileConnectionModeGet(&v); break;
    case 15: rc = WLChannelListGet(&v); break;
    case 21: rc = WLCurrentProfileEncryptionEnabledGet(&v); break;
    case 25: rc = WLCurrentProfileAuthenticationGet(&v); break;
    case 27:
    case 45: rc = WLPowerModeGet(&v); break;
    case 36: rc = WLScanNetworkGet(&v); break;
    case 19: rc = 0; break;
    default: rc = WL_GENERAL_ERROR; break;
    }
    *value = (short)(unsigned short)((unsigned)v & 0xFFFFu);
    return (DWORD)rc;
}

DWORD WINAPI WD16to32_API_cp(short selector, char *text, int other)
{
    (void)selector;
    (void)other;
    if (!text) return WL_INVALID_PARAMETER;
    memcpy(text, "AOK", 3);
    return 0;
}

DWORD WINAPI WD16to32_API_cp_i(short selector, const char *text, short size)
{
    if (!text) return WL_INVALID_PARAMETER;
    char buf[kTextIn];
    DWORD n = TextIn(text, size, buf);
    switch (selector) {
    case 2: return (DWORD)WLProfileByNameDel(buf, n);
    case 6: return (DWORD)WLCurrentProfileByNameGet(buf, n);
    case 7: return (DWORD)WLCurrentProfileNameSet(buf, n);
    case 8: return (DWORD)WLCurrentProfileByNameSet(buf, n);
    case 10: return (DWORD)WLCurrentProfileDesiredSSIDSet(buf, n);
    case 13: return (DWORD)WLCurrentNICSet(buf, n);
    case 18: return (DWORD)WLActiveProfileByNameSet(buf, n);
    case 31: return (DWORD)WLFirstPreferredProfileByNameSet(buf, n);
    case 33: return (DWORD)WLNextPreferredProfileByNameSet(buf, n);
    default: return WL_GENERAL_ERROR;
    }
}

DWORD WINAPI WD16to32_API_cp_ip(short selector, char *text, short *size)
{
    if (!text || !size) return WL_INVALID_PARAMETER;
    int room = *size;
    if (room < 0) room = 0;
    char buf[kTextOut];
    memset(buf, 0, sizeof buf);
    /* the getter fills the local buffer, never more than it holds */
    DWORD n = (DWORD)(room < kTextOut ? room : kTextOut);
    int rc;
    switch (selector) {
    case 4: rc = WLFirstProfileByNameGet(buf, &n); break;
    case 5: rc = WLNextProfileByNameGet(buf, &n); break;
    case 9: rc = WLCurrentProfileDesiredSSIDGet(buf, &n); break;
    case 30: rc = WLFirstPreferredProfileByNameGet(buf, &n); break;
    case 32: rc = WLNextPreferredProfileByNameGet(buf, &n); break;
    case 38: rc = WLCurrentNICGet(buf, &n); break;
    default: return WL_GENERAL_ERROR;
    }
    if (rc != WL_SUCCESS) return (DWORD)rc;
    /* the caller's text holds `room` bytes with the terminator */
    if (room == 0) return WL_INPUT_BUFFER_INSUFFICIENT;
    DWORD copy = n < (DWORD)room - 1 ? n : (DWORD)room - 1;
    if (copy > sizeof buf) copy = sizeof buf;
    memcpy(text, buf, copy);
    text[copy] = 0;
    *size = (short)copy;
    return 0;
}

DWORD WINAPI WD16to32_API_i_i_cp_i(short selector, short keyNumber, short asciiHex, const char *key, short length)
{
    if (!key) return WL_INVALID_PARAMETER;
    if (selector != 43) return WL_GENERAL_ERROR;
    char buf[kTextIn];
    DWORD n = TextIn(key, length, buf);
    return (DWORD)WLCurrentProfileEncryptionKeySet(keyNumber, asciiHex, buf, n);
}

DWORD WINAPI WD16to32_API_kbp(short selector, KeyRecord16 *record)
{
    if (!record) return WL_INVALID_PARAMETER;
    if (selector != 23 && selector != 24) return WL_GENERAL_ERROR;
    KeyBuffer b;
    KeyFrom16(record, &b);
    int rc = selector == 23 ? WLCurrentProfileEncryptionGet(&b) : WLCurrentProfileEncryptionSet(&b);
    if (rc != WL_SUCCESS) return (DWORD)rc;
    KeyTo16(&b, record);
    return 0;
}

DWORD WINAPI WD16to32_API_cqp(short selector, QualityRecord16 *record)
{
    if (!record) return WL_INVALID_PARAMETER;
    if (selector != 40) return WL_GENERAL_ERROR;
    CommunicationsQualityBuffer b;
    QualityFrom16(record, &b);
    int rc = WLCommunicationsQualityGet(&b);
    if (rc != WL_SUCCESS) return (DWORD)rc;
    QualityTo16(&b, record);
    return 0;
}

DWORD WINAPI WD16to32_API_cnip(short selector, NICInfoRecord16 *record)
{
    if (!record) return WL_INVALID_PARAMETER;
    if (selector != 39) return WL_GENERAL_ERROR;
    CurrentNICInfoBuffer b;
    NICInfoFrom16(record, &b);
    int rc = ApiCurrentNICInfoGet(&b);
    if (rc != WL_SUCCESS) return (DWORD)rc;
    NICInfoTo16(&b, record);
    return 0;
}

DWORD WINAPI WD16to32_API_srp_i(short selector, ScanResultRecord16 *record, short index)
{
    if (!record) return WL_INVALID_PARAMETER;
    if (selector != 37) return WL_GENERAL_ERROR;
    ScanResultBuffer b;
    ScanFrom16(record, &b);
    int rc = WLScanNetworkResultGet(&b, index);
    if (rc != WL_SUCCESS) return (DWORD)rc;
    ScanTo16(&b, record);
    return 0;
}

DWORD WINAPI WD16to32_InitProfile(short selector, ProfilePageRecord16 *record, short full)
{
    (void)selector;
    if (!record) return WL_INVALID_PARAMETER;
    NetworksPageBlock *b = static_cast<NetworksPageBlock *>(HeapAlloc(GetProcessHeap(), 0, sizeof *b));
    AdapterPageContext *c = static_cast<AdapterPageContext *>(HeapAlloc(GetProcessHeap(), 0, sizeof *c));
    typedef char Names[MAX_PREFERRED_NAMES][PROFILE_NAME_CHARS];
    Names *names = static_cast<Names *>(HeapAlloc(GetProcessHeap(), 0, sizeof(Names)));
    DWORD rc = WL_NO_MEMORY;
    if (b && c && names) {
        ProfileFrom16(record, b, c, *names);
        EditReset(b, full != 0);
        ProfileTo16(b, c, record);
        rc = 0;
    }
    if (names) HeapFree(GetProcessHeap(), 0, names);
    if (c) HeapFree(GetProcessHeap(), 0, c);
    if (b) HeapFree(GetProcessHeap(), 0, b);
    return rc;
}

DWORD WINAPI WD16to32_Help(short selector)
{
    if (selector == 48) HelpLocateFile();
    return 0;
}

DWORD WINAPI WD16to32_Help_i(short selector, short id)
{
    if (selector == 49) HelpSetPending(id);
    return 0;
}

DWORD WINAPI WD16to32_Help_vp_i(short selector, HWND window, short id)
{
    (void)selector;
    (void)window;
    HelpShow(id);
    return 0;
}

DWORD WINAPI WD16to32_HtmlHelp(HWND window, const char *file, short command, short data)
{
    char path[kTextOut];
    CopyText16(file, sizeof path, path, sizeof path);
    HWND shown = HelpHtmlHelp(window, file ? path : NULL, (UINT)(int)command, (DWORD_PTR)(int)data);
    return shown ? 0 : WL_GENERAL_ERROR;
}

} // extern "C"
