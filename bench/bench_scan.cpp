/*
 * Scan benchmark: what the configuration API library adds to a scan on the
 * driver channel. For a world of 3 and of 32 access points it times
 *   - WLScanNetworkGet (empty the mailbox, set the scan SSID, action 6, read
 *     the scan record), connected, trace off;
 *   - a mailbox scan: WLMBActionScan, then WLMBGet polled until the type-17
 *     buffer is complete;
 *   - a channel selection scan: WLMBActionACSABGScan, then WLMBGet polled
 *     until the type-18 buffer is complete;
 * and, on a raw handle of the same device, the stand-in's own part: the
 * action and the mailbox reads that deliver its records, with nothing of the
 * library. Exchanges per call come from the stand-in's counters.
 *
 * Usage: bench_scan [rounds]   (default 200)
 */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "simclient.h"
#include "wlapi.h"

#define CALL(lib, fn) (reinterpret_cast<decltype(&fn)>(reinterpret_cast<void *>(GetProcAddress(lib, #fn))))

static const char kNic[] = "0171";
static const char kDevice[] = "WuVXQ48E.vxd";
static const char kClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0171";

static bool SetValue(const char *name, DWORD type, const char *text)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kClassKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return false;
    std::string data(text);
    data.push_back('\0');
    if (type == REG_MULTI_SZ) data.push_back('\0');
    LONG rc = RegSetValueExA(h, name, 0, type, (const BYTE *)data.data(), (DWORD)data.size());
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

static double Now(void)
{
    static LARGE_INTEGER freq;
    if (freq.QuadPart == 0) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

static unsigned long Exchanges(void)
{
    static WlSimCounters c;
    memset(&c, 0, sizeof c);
    SimCounters(&c);
    return c.exchanges;
}

struct Raw {
    HANDLE h = INVALID_HANDLE_VALUE;
    WLDrvBlock block;
    bool Exchange(unsigned short function, unsigned short len, unsigned short typ)
    {
        static const DWORD objectId = WLDRV_OBJECT_ID;
        block.function = function;
        block.result = 0;
        block.len = len;
        block.typ = typ;
        DWORD bytes = 0;
        return DeviceIoControl(h, WLDRV_IOCTL, (LPVOID)&objectId, sizeof objectId, &block, sizeof block, &bytes,
                               NULL) && block.result == 0;
    }
    bool Open()
    {
        h = CreateFileA((std::string("\\\\.\\") + kDevice).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        NULL, OPEN_EXISTING, 0, NULL);
        return h != INVALID_HANDLE_VALUE && Exchange(WLDRV_OP_CONNECT, 0, 0);
    }
    void Close()
    {
        Exchange(WLDRV_OP_DISCONNECT, 0, 0);
        CloseHandle(h);
    }
    /* The stand-in's part of a scan: the action, then mailbox reads until
     * the queue is empty. */
    int Scan(unsigned short action)
    {
        int records = 0;
        Exchange(WLDRV_OP_ACTION, 0, action);
        while (Exchange(WLDRV_OP_GET_INFO, 1153, 0x0820) && block.typ != 0x0820) records++;
        return records;
    }
};

struct Row {
    const char *what;
    int stations;
    double ms;
    double exchanges;
    double polls;
};

static void Print(const Row &r, double rawMs, double rawExchanges)
{
    double perExchange = rawExchanges > 0 ? rawMs / rawExchanges : 0;
    double share = r.ms - r.exchanges * perExchange;
    printf("| %-44s | %8d | %8.2f | %9.1f | %5.1f | %8.2f | %10.2f |\n", r.what, r.stations, r.ms, r.exchanges, r.polls,
           r.exchanges * perExchange, share);
}

struct Acs {
    MBBufferHeader h;
    MBACSScanEntry e[40];
};
struct Scan {
    MBBufferHeader h;
    MBScanEntry e[40];
};

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 200;
    if (rounds < 1) rounds = 1;
    if (!SetValue("VendorDescription", REG_SZ, "Wireless LAN PC Card (benchmark)") ||
        !SetValue("CoInstallers32", REG_MULTI_SZ, "WDVXQ48E.dll,WLDeviceCoInstaller") ||
        !SetValue("NetCfgInstanceId", REG_SZ, "{5F1D2C3B-0000-4000-8000-000000000171}")) {
        printf("cannot write the adapter's registry key\n");
        return 1;
    }
    HMODULE lib = LoadLibraryA("WAVXQ48E.dll");
    if (lib == NULL) {
        printf("cannot load WAVXQ48E.dll\n");
        return 1;
    }
    printf("| %-44s | %8s | %8s | %9s | %5s | %8s | %10s |\n", "operation (variant E, trace off)", "stations",
           "ms/call", "exchanges", "polls", "stand-in", "library ms");
    printf("|%s|---------:|---------:|----------:|------:|---------:|-----------:|\n", std::string(46, '-').c_str());
    for (int stations : {3, 32}) {
        int adapter = -1;
        if (SimEnsureStarted(NULL) != 0 || SimReset() != 0) return 1;
        const char *names[] = {kDevice};
        if (SimAddAdapter(names, 1, &adapter) != 0) return 1;
        for (int k = 0; k < stations; k++) {
            WlSimStation st;
            unsigned char bssid[6] = {0x00, 0x40, 0x96, 0x20, 0x00, (unsigned char)k};
            char ssid[16];
            snprintf(ssid, sizeof ssid, "net%02d", k);
            SimStationMake(&st, bssid, ssid, 1 + k % 11, 90 + k, 60, 0, k % 3 == 0 ? WLSIM_SEC_WPA2 : WLSIM_SEC_OPEN,
                           ssid);
            SimPutStation(&st);
        }
        CALL(lib, WLCurrentNICSet)(kNic, 4);
        CALL(lib, WLConnect)();

        Raw raw;
        if (!raw.Open()) return 1;
        int index = 0;
        CALL(lib, WLMBLogon)(&index);
        static Scan scan;
        memset(&scan, 0, sizeof scan);
        scan.h.TS.Type = MBScanBufferType;
        scan.h.TS.Size = sizeof scan;
        scan.h.Capacity = 40;
        CALL(lib, WLMBSet)(&scan, index);
        static Acs acs;
        memset(&acs, 0, sizeof acs);
        acs.h.TS.Type = MBACSScanBufferType;
        acs.h.TS.Size = sizeof acs;
        acs.h.Capacity = 40;
        CALL(lib, WLMBSet)(&acs, index);
        Channel2GHzBuffer c2 = {{Channel2GHzBufferType, sizeof c2}, {0x1FFF, 0}};
        Channel5GHzBuffer c5 = {{Channel5GHzBufferType, sizeof c5}, {0xFFFFFFFFu, 0x00FF, 0}};
        DataRate2GHzBuffer r2 = {{DataRate2GHzBufferType, sizeof r2}, {0x000F, 0}};
        DataRate5GHzBuffer r5 = {{DataRate5GHzBufferType, sizeof r5}, {0x0FF0, 0}};

        /* Each round runs the stand-in's own part and the three library
         * operations back to back, so that all see the same machine load.
         * The element walk of the channel selection scan prints to standard
         * output: that goes to NUL here. */
        Row rows[3] = {{"WLScanNetworkGet", stations, 0, 0, 0},
                       {"WLMBActionScan, WLMBGet until complete", stations, 0, 0, 0},
                       {"WLMBActionACSABGScan, WLMBGet until complete", stations, 0, 0, 0}};
        double rawT = 0, rawX = 0;
        fflush(stdout);
        int saved = _dup(1), nul = _open("NUL", _O_WRONLY);
        if (nul >= 0) _dup2(nul, 1);
        for (int i = 0; i < rounds; i++) {
            unsigned long x0 = Exchanges();
            double t0 = Now();
            raw.Scan(6);
            rawT += Now() - t0;
            rawX += (double)(Exchanges() - x0);
            for (int k = 0; k < 3; k++) {
                MBBufferHeader *h = k == 1 ? &scan.h : &acs.h;
                h->Complete = 0;
                h->Count = 0;
                x0 = Exchanges();
                t0 = Now();
                if (k == 0) {
                    int num = 0;
                    CALL(lib, WLScanNetworkGet)(&num);
                } else {
                    if (k == 1)
                        CALL(lib, WLMBActionScan)("", 0, 0);
                    else
                        CALL(lib, WLMBActionACSABGScan)("", 0, &c2, &c5, &r2, &r5);
                    for (int p = 0; !h->Complete && p < 100; p++) {
                        CALL(lib, WLMBGet)();
                        rows[k].polls++;
                    }
                }
                rows[k].ms += Now() - t0;
                rows[k].exchanges += (double)(Exchanges() - x0);
            }
        }
        fflush(stdout);
        if (saved >= 0) _dup2(saved, 1);
        if (nul >= 0) _close(nul);
        if (saved >= 0) _close(saved);
        raw.Close();
        double rawMs = rawT * 1000 / rounds;
        rawX /= rounds;
        printf("| %-44s | %8d | %8.2f | %9.1f | %5s | %8s | %10s |\n", "stand-in: action 6 and its mailbox reads",
               stations, rawMs, rawX, "-", "-", "-");
        for (Row &r : rows) {
            r.ms = r.ms * 1000 / rounds;
            r.exchanges /= rounds;
            r.polls /= rounds;
            Print(r, rawMs, rawX);
        }
        CALL(lib, WLMBLogoff)(index);
        CALL(lib, WLDisconnect)();
    }
    FreeLibrary(lib);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kClassKey);
    SimReset();
    return 0;
}
