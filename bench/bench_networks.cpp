/*
 * Cost of the "Wireless Networks" page's first scan: a modeless property
 * sheet with the page on an adapter of the stand-in driver (variant E) with
 * 32 networks heard, timed from PropertySheetA until the scan's rows are
 * shown, with the driver exchanges it took; beside it the same scan made
 * with the library calls alone (logon, client buffer, scan action, WLMBGet
 * until complete, logoff) and the same exchanges made raw. Repeated with
 * 0 and 100 stored profiles, which the page matches against every SSID.
 *
 *   bench_networks [openings]   (10)
 *
 * Run with the working directory on a drive of the Wine prefix and the
 * prefix's X display.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "coinstaller/res/resource.h"
#include "page_harness.h"

namespace {

double Ms(const LARGE_INTEGER &a, const LARGE_INTEGER &b)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * (double)(b.QuadPart - a.QuadPart) / (double)f.QuadPart;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct ScanBuffer {
    MBBufferHeader h;
    MBACSScanEntry e[32];
};

/* The page's scan through the library alone; returns its entry count. */
int LibraryScan(const WLLib &lib)
{
    int index = -1;
    if (WL(lib, WLMBLogon)(&index) != WL_SUCCESS) return -1;
    static ScanBuffer buf;
    memset(&buf, 0, sizeof buf);
    buf.h.TS.Type = MBACSScanBufferType;
    buf.h.TS.Size = sizeof buf;
    buf.h.Capacity = 32;
    WL(lib, WLMBSet)(&buf, index);
    auto c24 = TypedBuffer<Channel2GHzBuffer>(Channel2GHzBufferType);
    auto c5 = TypedBuffer<Channel5GHzBuffer>(Channel5GHzBufferType);
    auto r24 = TypedBuffer<DataRate2GHzBuffer>(DataRate2GHzBufferType);
    auto r5 = TypedBuffer<DataRate5GHzBuffer>(DataRate5GHzBufferType);
    c24.data.Channels = 0x3FFF;
    c5.data.Channels = 0xFFFFFFFFu;
    c5.data.ChannelsHigh = 7;
    r24.data.DataRate = 2;
    r5.data.DataRate = 0x10;
    WL(lib, WLMBActionACSABGScan)("", 0, &c24, &c5, &r24, &r5);
    for (int i = 0; i < 60 && !buf.h.Complete; i++) WL(lib, WLMBGet)();
    WL(lib, WLMBLogoff)(index);
    return buf.h.Count;
}

} // namespace

int main(int argc, char **argv)
{
    int n = argc > 1 ? atoi(argv[1]) : 10;
    if (n < 1) n = 1;
    if (SimEnsureStarted(NULL) != 0) {
        fprintf(stderr, "stand-in driver not available: %s\n", SimLastErrorText());
        return 2;
    }
    const char *nic = "0162";
    RegAdapter reg(AdapterSpec(nic, "Wireless LAN PC Card", true, 'E'));
    CoInstaller co('E');
    WLLib lib(kVariants[2]);
    int sim = SimAdapterFor(reg, kVariants[2]);
    if (!co.module() || WL(lib, WLCurrentNICSet)(nic, 4) != WL_SUCCESS) {
        fprintf(stderr, "co-installer or adapter not available\n");
        return 2;
    }
    for (int i = 0; i < 32; i++) {
        const uint8_t bssid[6] = {0x02, 0x57, 0x4C, 0x00, 0x03, (uint8_t)i};
        char ssid[16];
        snprintf(ssid, sizeof ssid, "Net%02d", i);
        WlSimStation st;
        SimStationMake(&st, bssid, ssid, 1 + i % 11, 40 + i, 10, i % 4 == 3, WLSIM_SEC_OPEN, "ap");
        SimPutStation(&st);
    }
    DLGPROC proc = co.proc("WirelessDlgProc");
    printf("First scan of the Wireless Networks page, 32 networks heard (%d openings each)\n", n);
    for (int profiles : {0, 100}) {
        for (int i = 0; i < profiles; i++) {
            char name[16], ssid[16];
            snprintf(name, sizeof name, "B%03d", i);
            snprintf(ssid, sizeof ssid, "Net%02d", i % 40);
            WL(lib, WLProfileIns)();
            WL(lib, WLCurrentProfileNameSet)(name, (DWORD)strlen(name));
            WL(lib, WLCurrentProfileDesiredSSIDSet)(ssid, (DWORD)strlen(ssid));
            WL(lib, WLCurrentProfileByNameSet)(name, (DWORD)strlen(name));
        }
        std::vector<double> page, library;
        uint32_t exchanges = 0, libExchanges = 0;
        size_t rows = 0;
        for (int i = 0; i < n; i++) {
            NetworksPageBlock *b =
                static_cast<NetworksPageBlock *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *b));
            b->Context = NewContext(nic);
            SimMailboxClear(sim);
            WlSimCounters before = SimCountersNow();
            LARGE_INTEGER a, z;
            QueryPerformanceCounter(&a);
            {
                PageSheet sheet(co.module(), IDD_WIRELESS_NETWORKS, IDS_WIRELESS_NETWORKS, proc, b);
                for (int k = 0; k < 2000 && !sheet.enabled(IDC_REFRESH); k++) {
                    MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
                    sheet.pump();
                }
                QueryPerformanceCounter(&z);
                rows = (size_t)SendMessageA(sheet.item(IDC_AVAILABLE_LIST), LVM_GETITEMCOUNT, 0, 0);
            }
            exchanges = SimCountersNow().exchanges - before.exchanges;
            page.push_back(Ms(a, z));
            for (char *&p : b->Context->PreferredNames)
                if (p) HeapFree(GetProcessHeap(), 0, p);
            HeapFree(GetProcessHeap(), 0, b->Context);
            HeapFree(GetProcessHeap(), 0, b);

            SimMailboxClear(sim);
            before = SimCountersNow();
            QueryPerformanceCounter(&a);
            LibraryScan(lib);
            QueryPerformanceCounter(&z);
            libExchanges = SimCountersNow().exchanges - before.exchanges;
            library.push_back(Ms(a, z));
        }
        /* The library scan's exchanges made raw, for the channel's share. */
        std::vector<double> raw;
        for (int i = 0; i < n; i++) {
            WlSimCounters c;
            LARGE_INTEGER a, z;
            QueryPerformanceCounter(&a);
            for (uint32_t k = 0; k < libExchanges; k++) SimCounters(&c);
            QueryPerformanceCounter(&z);
            raw.push_back(Ms(a, z));
        }
        printf("  %3d stored profiles: page %.1f ms (median; first %.1f), %zu rows, %u exchanges\n", profiles,
               Median(page), page[0], rows, exchanges);
        printf("                       library calls alone %.1f ms, %u exchanges; as many raw calls %.1f ms\n",
               Median(library), libExchanges, Median(raw));
    }
    char name[33];
    DWORD size = sizeof name;
    std::vector<std::string> names;
    for (int rc = WL(lib, WLFirstProfileByNameGet)(name, &size); rc == WL_SUCCESS;
         size = sizeof name, rc = WL(lib, WLNextProfileByNameGet)(name, &size))
        names.push_back(name);
    for (const std::string &s : names) WL(lib, WLProfileByNameDel)(s.c_str(), (DWORD)s.size());
    SimReset();
    return 0;
}
