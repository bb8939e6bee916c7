#include "util_run.h"

#include <stdio.h>

#include "keyrec.h"

const char kProfileRoot[] = "Software\\Wireless\\Driver";

static std::string WinPath(const std::string &unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char &c : p)
        if (c == '/') c = '\\';
    return p;
}

std::string UtilPath(char variant)
{
    return WinPath(std::string(REGUTIL_BIN_DIR) + "/WCVXQ48" + variant + ".exe");
}

std::string UtilAs(const char *winver)
{
    const std::string name = std::string("wc_") + winver + ".exe";
    HKEY h;
    const std::string key = "Software\\Wine\\AppDefaults\\" + name;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &h, NULL));
    RegSetValueExA(h, "Version", 0, REG_SZ, (const BYTE *)winver, (DWORD)strlen(winver) + 1);
    RegCloseKey(h);
    char dir[MAX_PATH];
    GetCurrentDirectoryA(sizeof dir, dir);
    const std::string copy = std::string(dir) + "\\" + name;
    EXPECT_TRUE(CopyFileA(UtilPath().c_str(), copy.c_str(), FALSE)) << GetLastError();
    return copy;
}

/* Quotes one argument the way the C runtime splits it again. */
static std::string Quote(const std::string &a)
{
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
    std::string q = "\"";
    size_t slashes = 0;
    for (char c : a) {
        if (c == '\\') {
            slashes++;
            continue;
        }
        q.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
        slashes = 0;
        q.push_back(c);
    }
    q.append(2 * slashes, '\\');
    return q + "\"";
}

UtilResult RunUtil(const std::string &exe, const std::vector<std::string> &args)
{
    UtilResult r = {0xFFFFFFFF, ""};
    std::string line = Quote(exe);
    for (const std::string &a : args) line += " " + Quote(a);
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) {
        ADD_FAILURE() << "CreatePipe";
        return r;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    const BOOL ok = CreateProcessA(NULL, cmd.data(), NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    CloseHandle(writeEnd);
    if (!ok) {
        ADD_FAILURE() << "CreateProcess " << line << ": " << GetLastError();
        CloseHandle(readEnd);
        return r;
    }
    char buf[512];
    DWORD n;
    while (ReadFile(readEnd, buf, sizeof buf, &n, NULL) && n > 0) r.out.append(buf, n);
    CloseHandle(readEnd);
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &r.exit);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return r;
}

void RegDeleteTree(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        char sub[256];
        DWORD n = sizeof sub;
        while (RegEnumKeyExA(h, 0, sub, &n, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
            RegDeleteTree(key + "\\" + sub);
            n = sizeof sub;
        }
        RegCloseKey(h);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

static void SetValue(const std::string &key, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &h, NULL)) << key;
    RegSetValueExA(h, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(h);
}

void RegSetText(const std::string &key, const char *name, const std::string &value)
{
    SetValue(key, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1);
}

void RegSetNumber(const std::string &key, const char *name, DWORD value)
{
    SetValue(key, name, REG_DWORD, &value, sizeof value);
}

bool RegGetText(const std::string &key, const char *name, std::string *out)
{
    char buf[1024];
    DWORD size = sizeof buf - 1, type;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)buf, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    buf[size] = 0;
    *out = buf;
    return true;
}

bool RegGetNumber(const std::string &key, const char *name, DWORD *out)
{
    DWORD size = sizeof *out, type;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)out, &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

std::string ProfileKeyOf(int n)
{
    char key[64];
    snprintf(key, sizeof key, "%s\\Config%02d", kProfileRoot, n);
    return key;
}

std::string Exchanges()
{
    WlSimExchangeLog log;
    EXPECT_EQ(0, SimLastExchanges(&log));
    std::string s;
    char w[16];
    for (int i = 0; i < log.n; i++) {
        const WlSimExchange &x = log.e[i];
        switch (x.op) {
        case WLSIM_OP_CONNECT: snprintf(w, sizeof w, "C"); break;
        case WLSIM_OP_DISCONNECT: snprintf(w, sizeof w, "D"); break;
        case WLSIM_OP_ACTION: snprintf(w, sizeof w, "A%u", x.typ); break;
        case WLSIM_OP_GET_INFO: snprintf(w, sizeof w, "G%04X", x.typ); break;
        case WLSIM_OP_PUT_INFO: snprintf(w, sizeof w, "P%04X", x.typ); break;
        default: snprintf(w, sizeof w, "?%u", x.op); break;
        }
        if (!s.empty()) s += " ";
        s += w;
    }
    return s;
}

std::vector<uint8_t> DecodeKeyText(const std::string &text)
{
    KeyRecord rec;
    if (!KeyRecordDecode(text.c_str(), &rec)) return {};
    return std::vector<uint8_t>(rec.b, rec.b + KEY_RECORD_SIZE);
}

static const char *const kScratchKeys[] = {
    "Software\\Wireless\\Driver",
    "Software\\Wireless\\Corvane",
    "System\\CurrentControlSet\\Enum\\PCI\\VEN_1260&DEV_3873",
    "System\\CurrentControlSet\\Enum\\PCI\\VEN_1260&DEV_3873&SUBSYS_2",
    "Enum\\PCMCIA\\WLAN_SYSTEMS-PC_CARD_11MBPS-3C1D",
    "System\\CurrentControlSet\\Services\\WLVXQ521",
    "System\\CurrentControlSet\\Services\\WLVXQ522",
    "System\\CurrentControlSet\\Services\\WLVXQ52B1",
};

void UtilTest::SetUp()
{
    for (const char *k : kScratchKeys) RegDeleteTree(k);
    ASSERT_EQ(0, SimReset()) << SimLastErrorText();
}

void UtilTest::TearDown()
{
    adapters_.clear();
    for (const char *k : kScratchKeys) RegDeleteTree(k);
    SimReset();
}

RegAdapter &UtilTest::AddAdapter(const std::string &nic, bool win98)
{
    adapters_.emplace_back(new RegAdapter(AdapterSpec(nic, "Wireless LAN PC Card", true, 'E', win98)));
    RegAdapter &a = *adapters_.back();
    a.writeDword("DriverMajor", 8);
    a.writeDword("DriverMinor", 24);
    return a;
}

int UtilTest::AddDriver(const std::vector<std::string> &names)
{
    std::vector<const char *> p;
    for (const std::string &n : names) p.push_back(n.c_str());
    int index = -1;
    EXPECT_EQ(0, SimAddAdapter(p.data(), (int)p.size(), &index)) << SimLastErrorText();
    return index;
}

void UtilTest::StandardAdapter()
{
    RegAdapter &a = AddAdapter("0150");
    driver_ = AddDriver({a.spec().guid});
    SimClearLog();
}

void UtilTest::AddProfile(int n, const std::string &name, const std::string &ssid)
{
    RegSetText(ProfileKeyOf(n), "ConfigName", name);
    RegSetText(ProfileKeyOf(n), "Encryption", DefaultCodedKey);
    if (!ssid.empty()) RegSetText(ProfileKeyOf(n), "DesiredSSID", ssid);
}
