#include "wltest.h"
#include "wlsession.h"

#include <stdio.h>

const Variant kVariants[4] = {{'C', 3}, {'D', 4}, {'E', 5}, {'F', 6}};

std::string VariantName(const testing::TestParamInfo<Variant> &info)
{
    return std::string(1, info.param.letter);
}

WLLib::WLLib(const Variant &v) : v_(v)
{
    h_ = LoadLibraryA((v.dll() + ".dll").c_str());
    if (h_ == NULL) ADD_FAILURE() << "cannot load " << v.dll() << ", error " << GetLastError();
}

static volatile LONG *s_FrameDepth;

void FrameDepthInit()
{
    char name[40];
    snprintf(name, sizeof name, "WLTestFrameDepth.%lu", (unsigned long)GetCurrentProcessId());
    HANDLE m = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(LONG), name);
    if (m == NULL) return;
    s_FrameDepth = (volatile LONG *)MapViewOfFile(m, FILE_MAP_WRITE, 0, 0, sizeof(LONG));
}

long FrameDepthTake() { return s_FrameDepth ? InterlockedExchange(s_FrameDepth, 0) : 0; }

WLLib::~WLLib()
{
    long depth = FrameDepthTake();
    if (depth != 0) ADD_FAILURE() << v_.dll() << ": trace frames left unbalanced by " << depth;
    if (h_ != NULL) FreeLibrary(h_);
}

FARPROC WLLib::proc(const char *name) const
{
    FARPROC p = h_ ? GetProcAddress(h_, name) : NULL;
    if (p == NULL) {
        ADD_FAILURE() << v_.dll() << " does not export " << name;
        throw std::runtime_error(name);
    }
    return p;
}

std::string WLLib::returnString() const
{
    char buf[512];
    DWORD size = sizeof buf;
    if (WL(*this, WLReturnStringGet)(buf, &size) != WL_SUCCESS) return "<WLReturnStringGet failed>";
    return std::string(buf, size);
}

std::string WLLib::generalError() const
{
    char buf[512];
    DWORD size = sizeof buf;
    if (WL(*this, WLGeneralErrorStringGet)(buf, &size) != WL_SUCCESS) return "<failed>";
    return std::string(buf, size);
}

std::string ReasonOf(const std::string &s)
{
    size_t a = s.find("returned [");
    size_t b = s.rfind("] (");
    return a == std::string::npos || b == std::string::npos || b < a ? s : s.substr(a + 10, b - a - 10);
}

void ExpectRefused(const WLLib &lib, int rc, int code, const std::string &reason, const char *file, int line)
{
    std::string exit = lib.returnString();
    if (rc != code) ADD_FAILURE_AT(file, line) << "returned " << rc << ", expected " << code << ": " << exit;
    if (ReasonOf(exit) != reason) ADD_FAILURE_AT(file, line) << "reason [" << ReasonOf(exit) << "], expected [" << reason << "]";
}

int SimAdapterFor(const RegAdapter &a, const Variant &v)
{
    EXPECT_EQ(0, SimReset()) << SimLastErrorText();
    std::string name = v.vxdName() ? v.sibling(WL_SIBLING_DEVICE, ".vxd") : a.spec().guid;
    const char *names[] = {name.c_str()};
    int index = -1;
    EXPECT_EQ(0, SimAddAdapter(names, 1, &index)) << SimLastErrorText();
    return index;
}

WlSimCounters SimCountersNow()
{
    WlSimCounters c;
    memset(&c, 0, sizeof c);
    EXPECT_EQ(0, SimCounters(&c)) << SimLastErrorText();
    return c;
}

std::vector<uint16_t> SimRecord(int adapter, uint16_t typ, int maxWords)
{
    std::vector<uint16_t> buf(maxWords, 0);
    if (SimGetRecord(adapter, typ, buf.data(), maxWords) != 0) return {};
    buf.resize(buf[0] + 1u);
    return buf;
}

std::string ReadFile(const std::string &path)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return std::string();
    std::string s;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string &path, const std::string &text)
{
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f != NULL) << path;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

void RemoveFile(const std::string &path)
{
    DeleteFileA(path.c_str());
}

DWORD ExpectedOsType()
{
    OSVERSIONINFOA vi;
    vi.dwOSVersionInfoSize = sizeof vi;
    GetVersionExA(&vi);
    if (vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return (vi.dwMajorVersion > 4 || vi.dwMinorVersion >= 10) ? OS_WIN98 : OS_WIN95;
    if (vi.dwMajorVersion <= 4) return OS_WINNT;
    return vi.dwMinorVersion == 0 ? OS_WIN2000 : OS_WIN2001;
}

bool HasExitLine(const std::string &log, const std::string &fn, const std::string &reason,
                 const std::string &tail)
{
    const std::string head = "} <" + fn + "> (line ";
    const std::string middle = "returned [" + reason + "] " + tail;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        size_t h = line.find(head);
        if (h != std::string::npos && line.find(middle, h) != std::string::npos) return true;
        start = end + 1;
    }
    return false;
}

/* ---- AdapterSession ---- */

void AdapterSession::Open(const Variant &variant, const std::string &nic, const std::string &description)
{
    v = variant;
    reg.reset(new RegAdapter(AdapterSpec(nic, description, true, v.letter)));
    sim = SimAdapterFor(*reg, v);
    lib.reset(new WLLib(v));
    selected = WL(*lib, WLCurrentNICSet)(nic.c_str(), (DWORD)nic.size());
    SimClearLog();
}

void AdapterSession::Close()
{
    if (lib && lib->module() && WL(*lib, WLConnected)() == WL_SUCCESS) {
        WL(*lib, WLApply)();
        WL(*lib, WLDisconnect)();
    }
    lib.reset();
    reg.reset();
}

void AdapterSession::SetRecord(const std::vector<uint16_t> &ltv) const
{
    EXPECT_EQ(0, SimSetRecord(sim, ltv.data())) << SimLastErrorText();
}

WlSimAdapterState AdapterSession::State() const
{
    WlSimAdapterState st;
    memset(&st, 0, sizeof st);
    EXPECT_EQ(0, SimAdapterState(sim, &st)) << SimLastErrorText();
    return st;
}
