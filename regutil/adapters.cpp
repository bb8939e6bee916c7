/* The walk over the installed adapters of the family: by Plug and Play
 * hardware identifier on Windows 95/98 and 2000/XP, by driver service name
 * on NT 4. Only the registry entries are tested, not the hardware.
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "glue.h"
#include "tables.h"

/* The first PCI enumeration subkey whose name begins with the identifier;
 * false when none does. */
static bool FirstPciSubkey(int os, const char *id, char *out, size_t size)
{
    char key[KEY_PATH_SIZE];
    HKEY h;
    snprintf(key, sizeof key, "%s\\PCI", EnumRoot(os));
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    bool found = false;
    char name[256];
    for (DWORD i = 0;; i++) {
        DWORD n = sizeof name;
        if (RegEnumKeyExA(h, i, name, &n, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        if (PciSubkeyMatches(name, id) && strlen(name) < size) {
            strcpy(out, name);
            found = true;
            break;
        }
    }
    RegCloseKey(h);
    return found;
}

/* Visits the instances of one identifier; true when the visit stopped the
 * walk. */
static bool WalkIdentifier(int os, const char *id, AdapterVisit visit, void *ctx, int *count)
{
    char subkey[256], enumKey[KEY_PATH_SIZE];
    const bool pci = HardwareIdKind(id) == ID_PCI;
    const bool matched = pci && FirstPciSubkey(os, id, subkey, sizeof subkey);
    if (!EnumKeyPath(os, id, matched ? subkey : NULL, enumKey, sizeof enumKey))
        return false;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, enumKey, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    bool stop = false;
    char instance[256];
    for (DWORD i = 0; !stop; i++) {
        DWORD n = sizeof instance;
        if (RegEnumKeyExA(h, i, instance, &n, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        char instanceKey[KEY_PATH_SIZE], driver[REG_TEXT_MAX + 1], nicKey[KEY_PATH_SIZE];
        const int k = snprintf(instanceKey, sizeof instanceKey, "%s\\%s", enumKey, instance);
        if (k < 0 || (size_t)k >= sizeof instanceKey || !RegReadText(instanceKey, "Driver", driver))
            continue;
        const int m = snprintf(nicKey, sizeof nicKey, "%s\\%s", ClassRoot(os), driver);
        if (m < 0 || (size_t)m >= sizeof nicKey)
            continue;
        ++*count;
        stop = visit(nicKey, ctx);
    }
    RegCloseKey(h);
    return stop;
}

/* NT 4: services "WL<vendor>52" with the numbers 1 to 9 appended, and the
 * same for the other rows; an adapter when "VendorDescription" reads. */
static int WalkServices(AdapterVisit visit, void *ctx)
{
    int rows, count = 0;
    const char *const *names = ServiceNames(&rows);
    for (int r = 0; r < rows; r++)
        for (int n = 1; n <= 9; n++) {
            char service[64], nicKey[KEY_PATH_SIZE], text[REG_TEXT_MAX + 1];
            const char digit[2] = {(char)('0' + n), '\0'};
            if (!FillName(names[r], digit, service, sizeof service))
                continue;
            snprintf(nicKey, sizeof nicKey, "%s\\%s\\Parameters",
                     "System\\CurrentControlSet\\Services", service);
            if (!RegReadText(nicKey, "VendorDescription", text))
                continue;
            count++;
            if (visit(nicKey, ctx))
                return count;
        }
    return count;
}

int WalkAdapters(int os, AdapterVisit visit, void *ctx)
{
    if (os == OS_TYPE_WINNT)
        return WalkServices(visit, ctx);
    if (EnumRoot(os) == NULL)
        return 0;
    int ids, count = 0;
    const char *const *table = HardwareIds(&ids);
    for (int i = 0; i < ids; i++)
        if (WalkIdentifier(os, table[i], visit, ctx, &count))
            break;
    return count;
}

static bool TakeFirst(const char *nicKey, void *ctx)
{
    strcpy((char *)ctx, nicKey);
    return true;
}

static bool CountAll(const char *, void *)
{
    return false;
}

bool FindFirstAdapter(int os, char nicKey[KEY_PATH_SIZE])
{
    nicKey[0] = '\0';
    return WalkAdapters(os, TakeFirst, nicKey) > 0;
}

int CountAdapters(int os)
{
    return WalkAdapters(os, CountAll, NULL);
}
