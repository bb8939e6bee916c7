/*
 * Cost of a record read through the configuration API library against the
 * bare device I/O control call it makes, for one library variant (E unless
 * another is named) on the stand-in driver.
 *
 * Three sides are open at once and measured in alternating chunks of calls,
 * so that all of them see the same machine load: a raw DeviceIoControl
 * "get_info" loop on the device the library opens (same block, control code
 * and record), WLGenericGet on a connected channel with the trace off, and
 * the same with the trace on (a second instance of the library, loaded from
 * a copy of its file after the trace marker was created). Afterwards
 * WLGenericGet without a connection (a temporary connection per call) is
 * measured against the raw loop the same way. Exchanges per call come from
 * the stand-in's counters; device, registry and file calls per call from
 * counting wrappers patched into the library's import table.
 *
 *   bench_channel [calls per side] [calls per chunk] [variant]   (5000, 50, E)
 *
 * Run with the working directory on a drive of the Wine prefix (the trace
 * files go to the root of the current drive).
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "iat_patch.h"
#include "simclient.h"
#include "wlapi.h"

#define CALL(lib, fn) (reinterpret_cast<decltype(&fn)>(reinterpret_cast<void *>(GetProcAddress(lib, #fn))))

/* The variant measured (E unless named on the command line) and the names
 * it goes by: library, co-installer, device (C and E) and trace files. */
static char g_Letter = 'E';
static std::string Named(const char *format)
{
    char name[64];
    snprintf(name, sizeof name, format, g_Letter);
    return name;
}
static bool OpensVxdName(void) { return g_Letter == 'C' || g_Letter == 'E'; }
static const char kNic[] = "0170";
static const char kGuid[] = "{5F1D2C3B-0000-4000-8000-000000000170}";
static const char kClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kMarker[] = "\\wllog.txt";
static const unsigned short kType = 0xFC00;

/* ---- Counting wrappers in the library's import table ---- */

/* Calls counted per kind: device requests, opens (device or file), registry
 * calls, and log file calls (writes, seeks, existence checks). */
enum CallKind { CALL_DEVICE, CALL_OPEN, CALL_REGISTRY, CALL_LOG, CALL_KINDS };
static const char *const kKindNames[CALL_KINDS] = {"ioctls", "opens", "reg", "log"};
static unsigned long g_Calls[CALL_KINDS];

/* While set, the library's device requests are answered in process as the
 * driver would answer a successful "get_info" of a one-word record, so that
 * the library's own cost shows alone. */
static bool g_AnswerInProcess;

/* One wrapper per imported function: counts the call by kind, then calls
 * the real function found in the import table. */
#define COUNTING_WRAPPER(kind, ret, name, params, args)               \
    static ret(WINAPI *Real_##name) params;                           \
    static ret WINAPI Count_##name params                             \
    {                                                                 \
        g_Calls[kind]++;                                              \
        return Real_##name args;                                      \
    }

COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegOpenKeyExA, (HKEY k, LPCSTR s, DWORD o, REGSAM m, PHKEY r), (k, s, o, m, r))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegCreateKeyExA,
                 (HKEY k, LPCSTR s, DWORD r, LPSTR c, DWORD o, REGSAM m, LPSECURITY_ATTRIBUTES a, PHKEY h, LPDWORD d),
                 (k, s, r, c, o, m, a, h, d))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegQueryValueExA, (HKEY k, LPCSTR n, LPDWORD r, LPDWORD t, LPBYTE d, LPDWORD c),
                 (k, n, r, t, d, c))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegSetValueExA, (HKEY k, LPCSTR n, DWORD r, DWORD t, const BYTE *d, DWORD c),
                 (k, n, r, t, d, c))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegEnumKeyExA,
                 (HKEY k, DWORD i, LPSTR n, LPDWORD c, LPDWORD r, LPSTR cl, LPDWORD cc, PFILETIME t),
                 (k, i, n, c, r, cl, cc, t))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegCloseKey, (HKEY k), (k))
COUNTING_WRAPPER(CALL_OPEN, HANDLE, CreateFileA,
                 (LPCSTR n, DWORD a, DWORD s, LPSECURITY_ATTRIBUTES sa, DWORD c, DWORD f, HANDLE t),
                 (n, a, s, sa, c, f, t))
COUNTING_WRAPPER(CALL_LOG, BOOL, WriteFile, (HANDLE h, LPCVOID b, DWORD n, LPDWORD w, LPOVERLAPPED o),
                 (h, b, n, w, o))
COUNTING_WRAPPER(CALL_LOG, BOOL, SetFilePointerEx, (HANDLE h, LARGE_INTEGER d, PLARGE_INTEGER p, DWORD m),
                 (h, d, p, m))
COUNTING_WRAPPER(CALL_LOG, DWORD, GetFileAttributesA, (LPCSTR n), (n))
static BOOL(WINAPI *Real_DeviceIoControl)(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
static BOOL WINAPI Count_DeviceIoControl(HANDLE h, DWORD c, LPVOID i, DWORD il, LPVOID o, DWORD ol, LPDWORD r,
                                         LPOVERLAPPED ov)
{
    g_Calls[CALL_DEVICE]++;
    if (!g_AnswerInProcess) return Real_DeviceIoControl(h, c, i, il, o, ol, r, ov);
    /* block: ifbp, result, function, len, typ, values (16-bit words from offset 4) */
    unsigned short *w = (unsigned short *)o;
    w[2] = 0;
    if (w[3] == 4 && w[4] >= 2) {
        w[4] = 2;
        w[6] = 1;
    }
    if (r) *r = ol;
    return TRUE;
}

static const Wrapper kWrappers[] = {
    WRAPPER(RegOpenKeyExA), WRAPPER(RegCreateKeyExA),  WRAPPER(RegQueryValueExA),   WRAPPER(RegSetValueExA),
    WRAPPER(RegEnumKeyExA), WRAPPER(RegCloseKey),      WRAPPER(CreateFileA),        WRAPPER(WriteFile),
    WRAPPER(SetFilePointerEx), WRAPPER(GetFileAttributesA), WRAPPER(DeviceIoControl),
};

static void PatchLibrary(HMODULE module)
{
    for (const Wrapper &w : kWrappers) PatchImport(module, w);
}

/* ---- Set-up: registry adapter, stand-in adapter ---- */

static bool SetValue(const char *key, const char *name, DWORD type, const char *text)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return false;
    std::string data(text);
    data.push_back('\0');
    if (type == REG_MULTI_SZ) data.push_back('\0');
    LONG rc = RegSetValueExA(h, name, 0, type, (const BYTE *)data.data(), (DWORD)data.size());
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

/* The device the library opens: derived from its name, or the adapter's
 * network configuration identifier. */
static std::string Device() { return OpensVxdName() ? Named("WuVXQ48%c.vxd") : std::string(kGuid); }

static std::string NicKey() { return std::string(kClassKey) + "\\" + kNic; }

static bool AdapterUp(int *adapter)
{
    std::string key = NicKey();
    if (!SetValue(key.c_str(), "VendorDescription", REG_SZ, "Wireless LAN PC Card (benchmark)") ||
        !SetValue(key.c_str(), "CoInstallers32", REG_MULTI_SZ, Named("WDVXQ48%c.dll,WLDeviceCoInstaller").c_str()) ||
        !SetValue(key.c_str(), "NetCfgInstanceId", REG_SZ, kGuid)) {
        printf("cannot write the adapter's registry key\n");
        return false;
    }
    if (SimEnsureStarted(NULL) != 0 || SimReset() != 0) {
        printf("stand-in driver not available: %s\n", SimLastErrorText());
        return false;
    }
    std::string device = Device();
    const char *names[] = {device.c_str()};
    if (SimAddAdapter(names, 1, adapter) != 0) {
        printf("cannot add the stand-in adapter: %s\n", SimLastErrorText());
        return false;
    }
    return true;
}

static void AdapterDown(void)
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, NicKey().c_str());
    SimReset();
}

/* ---- Timing ---- */

static double Now(void)
{
    static LARGE_INTEGER freq;
    if (freq.QuadPart == 0) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

static unsigned long SimExchanges(void)
{
    static WlSimCounters c;
    memset(&c, 0, sizeof c);
    SimCounters(&c);
    return c.exchanges;
}

/* One measured side: what its calls cost in total and per chunk. */
struct Side {
    const char *what;
    bool library;
    long calls = 0;
    double seconds = 0;
    unsigned long exchanges = 0;
    unsigned long counted[CALL_KINDS] = {};
    std::vector<double> chunkUs; /* mean microseconds per call of each chunk */
    bool failed = false;

    bool inProcess = false;  /* device requests answered in process */

    Side(const char *w, bool lib, bool alone = false) : what(w), library(lib), inProcess(alone) {}

    /* Runs one chunk of k calls of body. */
    template <class Body> void Chunk(int k, Body body)
    {
        if (failed) return;
        SimClearLog();
        memset(g_Calls, 0, sizeof g_Calls);
        g_AnswerInProcess = inProcess;
        double t0 = Now();
        for (int i = 0; i < k && !failed; i++) failed = !body();
        double dt = Now() - t0;
        g_AnswerInProcess = false;
        if (failed) return;
        seconds += dt;
        calls += k;
        chunkUs.push_back(dt * 1e6 / k);
        exchanges += SimExchanges();
        for (int c = 0; c < CALL_KINDS; c++) counted[c] += g_Calls[c];
    }
    double Median() const
    {
        std::vector<double> v = chunkUs;
        std::sort(v.begin(), v.end());
        size_t n = v.size();
        return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
    }
    double Mean() const { return calls ? seconds * 1e6 / calls : 0; }
};

/* ---- The sides ---- */

typedef WLDrvBlock Block;

/* The bare device: the request the library makes for WLGenericGet. */
struct RawDevice {
    HANDLE h = INVALID_HANDLE_VALUE;
    Block block;
    bool Open()
    {
        h = CreateFileA((std::string("\\\\.\\") + Device()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        NULL, OPEN_EXISTING, 0, NULL);
        return h != INVALID_HANDLE_VALUE && Exchange(WLDRV_OP_CONNECT, 0, 0);
    }
    void Close()
    {
        if (h == INVALID_HANDLE_VALUE) return;
        Exchange(WLDRV_OP_DISCONNECT, 0, 0);
        CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    bool Exchange(unsigned short function, unsigned short len, unsigned short typ)
    {
        static const DWORD objectId = WLDRV_OBJECT_ID;
        block.function = function;
        block.result = 0;
        block.len = len;
        block.typ = typ;
        DWORD bytes = 0;
        return DeviceIoControl(h, WLDRV_IOCTL, (LPVOID)&objectId, sizeof objectId, &block, sizeof block, &bytes,
                               NULL) &&
               block.result == 0;
    }
    bool GetInfo() { return Exchange(WLDRV_OP_GET_INFO, 2, kType) && block.len == 2; }
};

/* One loaded instance of the library with the benchmark's adapter selected. */
struct Library {
    HMODULE h = NULL;
    bool Load(const char *path)
    {
        h = LoadLibraryA(path);
        if (h == NULL) {
            printf("cannot load %s: error %lu\n", path, GetLastError());
            return false;
        }
        PatchLibrary(h);
        if (CALL(h, WLCurrentNICSet)(kNic, (DWORD)strlen(kNic)) != WL_SUCCESS) {
            printf("%s does not take adapter %s\n", path, kNic);
            return false;
        }
        return true;
    }
    bool Connect() { return CALL(h, WLConnect)() == WL_SUCCESS; }
    void Disconnect()
    {
        if (h != NULL && CALL(h, WLConnected)() == WL_SUCCESS) CALL(h, WLDisconnect)();
    }
    void Unload()
    {
        if (h == NULL) return;
        Disconnect();
        FreeLibrary(h);
        h = NULL;
    }
    bool GenericGet()
    {
        static unsigned short rec[3];
        rec[0] = 2;
        rec[1] = kType;
        rec[2] = 0;
        return CALL(h, WLGenericGet)((WL_LTV *)rec) == WL_SUCCESS && rec[0] == 2;
    }
};

/* The trace log files of variant E that exist now (numbers -1 to 9). */
static std::vector<int> TraceFiles(void)
{
    std::vector<int> found;
    for (int n = -1; n <= 9; n++) {
        char name[32];
        snprintf(name, sizeof name, "\\wllog48%c%d.txt", g_Letter, n);
        if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) found.push_back(n);
    }
    return found;
}

/* Removes the trace files that were not there before. */
static void RemoveNewTraceFiles(const std::vector<int> &before)
{
    for (int f : TraceFiles()) {
        if (std::find(before.begin(), before.end(), f) != before.end()) continue;
        char name[32];
        snprintf(name, sizeof name, "\\wllog48%c%d.txt", g_Letter, f);
        DeleteFileA(name);
    }
}

/* ---- Report ---- */

static void PrintHeader(void)
{
    printf("| %-50s | %6s | %8s | %8s | %7s | %9s |", "operation", "calls", "us/call", "mean", "vs raw",
           "exchanges");
    for (int c = 0; c < CALL_KINDS; c++) printf(" %6s |", kKindNames[c]);
    printf("\n|%s|%s|%s|%s|%s|%s|", std::string(52, '-').c_str(), std::string(8, '-').c_str(),
           std::string(10, '-').c_str(), std::string(10, '-').c_str(), std::string(9, '-').c_str(),
           std::string(11, '-').c_str());
    for (int c = 0; c < CALL_KINDS; c++) printf("%s|", std::string(8, '-').c_str());
    printf("\n");
}

static void Print(const Side &s, const Side &raw)
{
    char vsRaw[16] = "-", exchanges[16] = "-";
    /* a side answered in process costs only the library's own work: its
     * share of a raw exchange is what the library adds to one */
    if (s.library)
        snprintf(vsRaw, sizeof vsRaw, "%+.1f%%", (s.Median() / raw.Median() - (s.inProcess ? 0 : 1)) * 100);
    if (!s.inProcess) snprintf(exchanges, sizeof exchanges, "%.2f", (double)s.exchanges / s.calls);
    printf("| %-50s | %6ld | %8.1f | %8.1f | %7s | %9s |", s.what, s.calls, s.Median(), s.Mean(), vsRaw,
           exchanges);
    for (int c = 0; c < CALL_KINDS; c++) {
        if (s.library) printf(" %6.2f |", (double)s.counted[c] / s.calls);
        else printf(" %6s |", "-");
    }
    printf("\n");
}

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int n = argc > 1 ? atoi(argv[1]) : 5000;
    int k = argc > 2 ? atoi(argv[2]) : 50;
    if (argc > 3) g_Letter = argv[3][0];
    if (n <= 0 || k <= 0 || k > n || g_Letter < 'C' || g_Letter > 'F') {
        printf("usage: bench_channel [calls per side] [calls per chunk] [variant C, D, E or F]\n");
        return 2;
    }
    if (GetFileAttributesA(kMarker) != INVALID_FILE_ATTRIBUTES) {
        printf("the trace marker %s exists; remove it first (the trace-off side needs it absent)\n", kMarker);
        return 2;
    }
    int adapter = -1;
    if (!AdapterUp(&adapter)) {
        AdapterDown();
        return 1;
    }

    /* The second instance comes from a copy of the library's file. */
    Library off, on;
    RawDevice dev;
    char path[MAX_PATH], copy[MAX_PATH];
    std::vector<int> filesBefore = TraceFiles();
    bool ok = off.Load(Named("WAVXQ48%c.dll").c_str()) && GetModuleFileNameA(off.h, path, sizeof path) > 0;
    if (ok) {
        GetTempPathA(sizeof copy, copy);
        strncat(copy, Named("WAVXQ48%c-traced.dll").c_str(), sizeof copy - strlen(copy) - 1);
        ok = CopyFileA(path, copy, FALSE) != 0;
        if (!ok) printf("cannot copy %s to %s\n", path, copy);
    }
    HANDLE marker = CreateFileA(kMarker, GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    ok = ok && on.Load(copy);
    DeleteFileA(kMarker);
    ok = ok && dev.Open() && off.Connect() && on.Connect();
    if (!ok) printf("set-up failed\n");

    Side raw("raw DeviceIoControl get_info", false);
    Side traceOff("WLGenericGet, connected, trace off", true);
    Side traceOn("WLGenericGet, connected, trace on", true);
    Side aloneOff("WLGenericGet, library alone, trace off", true, true);
    Side aloneOn("WLGenericGet, library alone, trace on", true, true);
    /* Each cycle runs one chunk of every side, starting one side further
     * on than the cycle before, so that no side always follows the same
     * other one. */
    const int sides = 5;
    for (int cycle = 0, done = 0; ok && done < n; cycle++, done += k) {
        for (int j = 0; j < sides; j++) {
            switch ((cycle + j) % sides) {
            case 0: raw.Chunk(k, [&] { return dev.GetInfo(); }); break;
            case 1: traceOff.Chunk(k, [&] { return off.GenericGet(); }); break;
            case 2: traceOn.Chunk(k, [&] { return on.GenericGet(); }); break;
            case 3: aloneOff.Chunk(k, [&] { return off.GenericGet(); }); break;
            default: aloneOn.Chunk(k, [&] { return on.GenericGet(); }); break;
            }
        }
    }
    on.Unload();
    RemoveNewTraceFiles(filesBefore);
    DeleteFileA(copy);

    /* Without a connection: every call opens and closes the channel. */
    Side raw2("raw DeviceIoControl get_info", false);
    Side temp("WLGenericGet, temporary connection, trace off", true);
    off.Disconnect();
    int n2 = n / 5 > k ? n / 5 : k;
    for (int cycle = 0, done = 0; ok && done < n2; cycle++, done += k) {
        for (int j = 0; j < 2; j++) {
            if ((cycle + j) % 2 == 0) raw2.Chunk(k, [&] { return dev.GetInfo(); });
            else temp.Chunk(k, [&] { return off.GenericGet(); });
        }
    }
    off.Unload();
    dev.Close();
    AdapterDown();
    for (const Side *s : {&raw, &traceOff, &traceOn, &aloneOff, &aloneOn, &raw2, &temp})
        if (s->failed) {
            printf("a measured call failed: %s\n", s->what);
            ok = false;
        }
    if (!ok) return 1;

    printf("Record read (type 0x%04X, one value word) through %s on the stand-in driver (device %s),\n"
           "sides alternating in chunks of %d calls\n\n",
           kType, Named("WAVXQ48%c.dll").c_str(), Device().c_str(), k);
    PrintHeader();
    Print(raw, raw);
    Print(traceOff, raw);
    Print(traceOn, raw);
    Print(aloneOff, raw);
    Print(aloneOn, raw);
    Print(raw2, raw2);
    Print(temp, raw2);
    printf("\nus/call: median over the chunks of their mean time per call; mean: all calls of the side.\n"
           "vs raw: us/call against the raw loop measured alongside; for the \"library alone\" rows (device\n"
           "requests answered inside the process, no driver) the library's own time as a share of a raw\n"
           "exchange. exchanges: driver exchanges per call (stand-in counters). ioctls, opens, reg, log:\n"
           "DeviceIoControl, CreateFileA, registry and log file calls per call made by the library, counted\n"
           "in its import table.\n");
    return 0;
}
