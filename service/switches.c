/* Switch recognition of the profile hunting service program. */
#include <windows.h>

#include "switches.h"

enum ServiceSwitch ServiceSwitchOf(const char *Args)
{
    if (Args == NULL) return SWITCH_NONE;
    for (const char *p = Args; *p; p = CharNextA(p)) {
        if (*p != '-' && *p != '/') continue;
        const char *rest = p + 1;
        if (lstrcmpiA(rest, "UnregService") == 0) return SWITCH_UNREG_SERVICE;
        if (lstrcmpiA(rest, "Service") == 0) return SWITCH_SERVICE;
    }
    return SWITCH_NONE;
}

const char *ArgumentsOf(const char *CommandLine)
{
    const char *p = CommandLine;
    if (p == NULL) return "";
    if (*p == '"') {
        p++;
        while (*p && *p != '"') p = CharNextA(p);
        if (*p == '"') p++;
    } else {
        while (*p && *p != ' ' && *p != '\t') p = CharNextA(p);
    }
    while (*p == ' ' || *p == '\t') p++;
    return p;
}
