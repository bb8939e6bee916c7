/* DOS device names for the NT 4 driver path.
 *
 * DefineDosDeviceA of Wine 8 copies the name into a buffer sized for a
 * drive letter and fails on longer names; under Wine the name is made
 * directly as a permanent symbolic link object in the DOS device directory,
 * which stays, as a defined DOS device does, until it is removed.
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "glue.h"

typedef LONG(NTAPI *CreateLinkFn)(HANDLE *, ACCESS_MASK, void *, void *);
typedef LONG(NTAPI *CloseFn)(HANDLE);
typedef LONG(NTAPI *MakeTemporaryFn)(HANDLE);

struct UnicodeString {
    USHORT Length, MaximumLength;
    WCHAR *Buffer;
};

struct ObjectAttributes {
    ULONG Length;
    HANDLE RootDirectory;
    UnicodeString *ObjectName;
    ULONG Attributes;
    void *SecurityDescriptor, *SecurityQualityOfService;
};

#define OBJ_PERMANENT_ATTR 0x10
#define OBJ_CASE_INSENSITIVE_ATTR 0x40
#define SYMBOLIC_LINK_ALL 0xF0001

static HANDLE WineLink; /* the name this connection made under Wine */

static bool UnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

static bool Widen(const char *text, WCHAR *out, int cap, UnicodeString *us)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, out, cap);
    if (n <= 0)
        return false;
    us->Buffer = out;
    us->Length = (USHORT)((n - 1) * sizeof(WCHAR));
    us->MaximumLength = (USHORT)(n * sizeof(WCHAR));
    return true;
}

static bool WineDefine(const char *name, const char *target)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    CreateLinkFn create = (CreateLinkFn)(void *)GetProcAddress(ntdll, "NtCreateSymbolicLinkObject");
    char linkName[128];
    WCHAR wname[128], wtarget[KEY_PATH_SIZE];
    UnicodeString uname, utarget;
    if (create == NULL || WineLink != NULL)
        return false;
    snprintf(linkName, sizeof linkName, "\\??\\%s", name);
    if (!Widen(linkName, wname, 128, &uname) || !Widen(target, wtarget, KEY_PATH_SIZE, &utarget))
        return false;
    ObjectAttributes attr = {sizeof attr, NULL, &uname,
                             OBJ_CASE_INSENSITIVE_ATTR | OBJ_PERMANENT_ATTR, NULL, NULL};
    HANDLE h = NULL;
    if (create(&h, SYMBOLIC_LINK_ALL, &attr, &utarget) < 0)
        return false;
    WineLink = h;
    return true;
}

int DosDeviceQuery(const char *name)
{
    char target[KEY_PATH_SIZE];
    if (QueryDosDeviceA(name, target, sizeof target) != 0)
        return 1;
    return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : -1;
}

bool DosDeviceDefine(const char *name, const char *target)
{
    if (strlen(name) > 2 && UnderWine())
        return WineDefine(name, target);
    return DefineDosDeviceA(DDD_RAW_TARGET_PATH, name, target) != FALSE;
}

void DosDeviceRemove(const char *name, const char *target)
{
    if (WineLink != NULL) {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        MakeTemporaryFn temporary =
            (MakeTemporaryFn)(void *)GetProcAddress(ntdll, "NtMakeTemporaryObject");
        CloseFn close = (CloseFn)(void *)GetProcAddress(ntdll, "NtClose");
        if (temporary)
            temporary(WineLink);
        if (close)
            close(WineLink);
        WineLink = NULL;
        return;
    }
    DefineDosDeviceA(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     name, target);
}
