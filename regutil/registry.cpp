/* Registry values of the utility, all under HKEY_LOCAL_MACHINE. */
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "glue.h"

bool RegReadNumber(const char *key, const char *name, uint32_t *out)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return false;
    char data[33] = {0};
    DWORD type = 0, size = 32;
    const LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)data, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS)
        return false;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        data[size < 32 ? size : 32] = '\0';
        *out = (uint32_t)strtol(data, NULL, 10);
    } else {
        uint32_t v = 0;
        memcpy(&v, data, size < sizeof v ? size : sizeof v);
        *out = v;
    }
    return true;
}

bool RegReadText(const char *key, const char *name, char out[REG_TEXT_MAX + 1])
{
    HKEY h;
    out[0] = '\0';
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = REG_TEXT_MAX;
    const LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)out, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        out[0] = '\0';
        return false;
    }
    out[size <= REG_TEXT_MAX ? size : REG_TEXT_MAX] = '\0';
    return true;
}

static bool WriteValue(const char *key, const char *name, DWORD type, const void *data,
                       DWORD size)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(h, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool RegWriteNumber(const char *key, const char *name, uint32_t value)
{
    const DWORD v = value;
    return WriteValue(key, name, REG_DWORD, &v, sizeof v);
}

bool RegWriteText(const char *key, const char *name, const char *value)
{
    return WriteValue(key, name, REG_SZ, value, (DWORD)strlen(value) + 1);
}
