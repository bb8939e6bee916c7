/* Second part of the demo: the registry configuration utility run as an
 * installation script would run it, each command with its exit code and
 * output. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <initializer_list>
#include <string>

#include "install_script.h"

static const char kEnumPci[] = "System\\CurrentControlSet\\Enum\\PCI\\VEN_1260&DEV_3873";
static const char kClass[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";

static void SetText(const char *key, const char *name, const char *text)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(h, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
    RegCloseKey(h);
}

static void SetNumber(const char *key, const char *name, DWORD value)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(h, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(h);
}

/* Runs one command line and prints it with its exit code and output. */
static void Run(const std::string &exe, const char *args)
{
    std::string line = "\"" + exe + "\" " + args;
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    std::string cmd = line;
    const BOOL ok = CreateProcessA(NULL, &cmd[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    CloseHandle(writeEnd);
    std::string out;
    char buf[256];
    DWORD n, code = 0;
    while (ok && ReadFile(readEnd, buf, sizeof buf, &n, NULL) && n > 0)
        out.append(buf, n);
    CloseHandle(readEnd);
    if (!ok) {
        printf("  > WCVXQ48F %s: cannot start (%lu)\n", args, (unsigned long)GetLastError());
        return;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    char text[512];
    snprintf(text, sizeof text, "  > WCVXQ48F %-24s exit %-4lu %s%s%s", args, (unsigned long)code,
             out.empty() ? "" : "\"", out.c_str(), out.empty() ? "" : "\"");
    size_t end = strlen(text);
    while (end > 0 && text[end - 1] == ' ')
        text[--end] = '\0';
    printf("%s\n", text);
}

void RunInstallScript(const char *nic)
{
    char key[300], value[300];
    /* what Setup leaves for an installed PCI adapter: its device key with
     * the class instance, the driver version; and one profile */
    snprintf(key, sizeof key, "%s\\4&%s", kEnumPci, nic);
    snprintf(value, sizeof value, "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s", nic);
    SetText(key, "Driver", value);
    snprintf(key, sizeof key, "%s\\%s", kClass, nic);
    SetNumber(key, "DriverMajor", 8);
    SetNumber(key, "DriverMinor", 24);
    SetNumber(key, "DriverEnable", 1);
    SetText("Software\\Wireless\\Driver\\Config01", "ConfigName", "Office");

    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string exe = self;
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + "WCVXQ48F.exe";
    printf("\nInstallation script (registry configuration utility, adapter %s)\n", nic);
    Run(exe, "#");
    /* the atoms stay after the program ends: the caller deletes them */
    for (const char *atom : {"ONE INSTALLED", "MORE INSTALLED"}) {
        if (GlobalFindAtomA(atom) != 0)
            printf("    global atom \"%s\"\n", atom);
        for (ATOM a; (a = GlobalFindAtomA(atom)) != 0;)
            GlobalDeleteAtom(a);
    }
    Run(exe, "V");
    Run(exe, "K 2 - 0x0102030405 - -");
    Run(exe, "R 0");
    Run(exe, "R 2");
    Run(exe, "M");
    Run(exe, "H");
    Run(exe, "W abcdef");
}
