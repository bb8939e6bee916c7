/*
 * Cost of opening the "Wireless Advanced" page: a modeless property sheet
 * with the page, from PropertySheetA until the page's initialization is done
 * (settings read through the API library, country box filled from the
 * adapter's domain), on an adapter of the stand-in driver, variant E.
 *
 *   bench_page [openings]   (20)
 *
 * Run with the working directory on a drive of the Wine prefix and the
 * prefix's X display.
 */
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "coinstaller/res/resource.h"
#include "page_harness.h"

int main(int argc, char **argv)
{
    int n = argc > 1 ? atoi(argv[1]) : 20;
    if (n < 1) n = 1;
    if (SimEnsureStarted(NULL) != 0) {
        fprintf(stderr, "stand-in driver not available: %s\n", SimLastErrorText());
        return 2;
    }
    const char *nic = "0161";
    RegAdapter reg(AdapterSpec(nic, "Wireless LAN PC Card", true, 'E'));
    CoInstaller co('E');
    WLLib lib(kVariants[2]);
    SimAdapterFor(reg, kVariants[2]);
    if (!co.module() || WL(lib, WLCurrentNICSet)(nic, 4) != WL_SUCCESS) {
        fprintf(stderr, "co-installer or adapter not available\n");
        return 2;
    }
    DLGPROC proc = co.proc("NicSpecificDlgProc");
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    std::vector<double> ms;
    size_t countries = 0;
    for (int i = 0; i < n; i++) {
        AdapterPageContext *ctx = NewContext(nic);
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        {
            PageSheet sheet(co.module(), IDD_WIRELESS_ADVANCED, IDS_WIRELESS_ADVANCED, proc, ctx);
            QueryPerformanceCounter(&b);
            countries = sheet.entries(IDC_COUNTRY).size();
        }
        HeapFree(GetProcessHeap(), 0, ctx);
        ms.push_back(1000.0 * (double)(b.QuadPart - a.QuadPart) / (double)f.QuadPart);
    }
    /* The library calls of the initialization alone: the country list with
     * each country's name, and the settings. */
    std::vector<double> names, settings;
    for (int i = 0; i < n; i++) {
        LARGE_INTEGER a, b, c;
        QueryPerformanceCounter(&a);
        CountryCodeBuffer *list = new CountryCodeBuffer();
        list->TS.Type = CountryCodeBufferType;
        list->TS.Size = sizeof *list;
        WL(lib, WLCountryCountryCodeGet)(list);
        for (int k = 0; k < list->NumCodes && k < MAX_NUM_COUNTRY_CODES; k++) {
            char name[48];
            DWORD size = sizeof name;
            WL(lib, WLCountryLocalizedNameGet)(list->Code[k], name, &size);
        }
        delete list;
        QueryPerformanceCounter(&b);
        int v;
        char cc[3], env;
        WL(lib, WLCountryCurrentCountryCodeGet)(cc, &env);
        WL(lib, WLPowerModeGet)(&v);
        WL(lib, WLSystemScaleGet)(&v);
        WL(lib, WLTXPowerLevelGet)(&v);
        WL(lib, WLWiFiCompatibleGet)(&v);
        DataRate2GHzBuffer r24 = TypedBuffer<DataRate2GHzBuffer>(DataRate2GHzBufferType);
        DataRate5GHzBuffer r5 = TypedBuffer<DataRate5GHzBuffer>(DataRate5GHzBufferType);
        WL(lib, WLTXRateControlFrequencyBandGet)(&r24, &r5);
        CoexistenceBehaviourBuffer co = TypedBuffer<CoexistenceBehaviourBuffer>(CoexistenceBehaviourBufferType);
        WL(lib, WLCoexistenceBehaviourGet)(&co);
        RegulatoryDomainBuffer rd = TypedBuffer<RegulatoryDomainBuffer>(RegulatoryDomainBufferType);
        WL(lib, WLCountryRegulatoryDomainGet)(&rd);
        QueryPerformanceCounter(&c);
        names.push_back(1000.0 * (double)(b.QuadPart - a.QuadPart) / (double)f.QuadPart);
        settings.push_back(1000.0 * (double)(c.QuadPart - b.QuadPart) / (double)f.QuadPart);
    }
    std::sort(names.begin(), names.end());
    std::sort(settings.begin(), settings.end());
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    printf("Opening the Wireless Advanced page (%d times, %u entries in the country box)\n", n,
           (unsigned)countries);
    printf("  first %.1f ms, min %.1f ms, median %.1f ms, max %.1f ms\n", ms[0], sorted.front(),
           sorted[sorted.size() / 2], sorted.back());
    printf("  of which library calls (medians): country list and names %.1f ms, settings %.1f ms\n",
           names[names.size() / 2], settings[settings.size() / 2]);
    return 0;
}
