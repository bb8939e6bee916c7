/*
 * Cost of the profile store with many stored profiles, against a raw
 * registry loop that makes the same reads and writes, in the same run:
 *
 * - a full enumeration (WLFirstProfileByNameGet / WLNextProfileByNameGet)
 *   against RegOpenKeyEx + RegEnumKeyEx + RegCloseKey per index;
 * - one ProfileExists check of the last name, seen through
 *   WLNextPreferredProfileByNameSet (the check and one value write), against
 *   the same walk and write done raw, and against what the check needs at
 *   least (one open of the profile's key and the write);
 * - deleting a profile that is in the preferred lists of 8 adapters
 *   (WLProfileByNameDel) against raw reads of the eight lists, their
 *   rewrite and the deletion of the key.
 *
 * Sides alternate call by call so that both see the same machine load; the
 * figure is the median. Sizes 100 and 1000 show how the cost grows.
 *
 *   bench_profiles [repetitions]   (default 15)
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "wlapi.h"

#define CALL(lib, fn) (reinterpret_cast<decltype(&fn)>(reinterpret_cast<void *>(GetProcAddress(lib, #fn))))

static const char kRoot[] = "Software\\Wireless\\Driver";
static const char kClass[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const int kAdapters = 8;
static const int kListLength = 10;

static double Now()
{
    static LARGE_INTEGER f;
    if (f.QuadPart == 0) QueryPerformanceFrequency(&f);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1e6 / (double)f.QuadPart;
}

static void TreeDelete(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        char sub[256];
        DWORD n = sizeof sub;
        while (RegEnumKeyExA(h, 0, sub, &n, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
            TreeDelete(key + "\\" + sub);
            n = sizeof sub;
        }
        RegCloseKey(h);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

static void SetText(const std::string &key, const char *name, const std::string &text, DWORD type = REG_SZ)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return;
    std::string data = text + '\0' + (type == REG_MULTI_SZ ? std::string(1, '\0') : std::string());
    RegSetValueExA(h, name, 0, type, (const BYTE *)data.data(), (DWORD)data.size());
    RegCloseKey(h);
}

static std::string ProfileName(int i)
{
    char name[16];
    snprintf(name, sizeof name, "Profile%04d", i);
    return name;
}

static std::string NicId(int i)
{
    char nic[8];
    snprintf(nic, sizeof nic, "07%02d", i);
    return nic;
}

static std::string PreferredKey(int adapter) { return std::string(kClass) + "\\" + NicId(adapter) + "\\PreferredProfiles"; }

/* Medians of two sides timed call by call in alternation. */
struct Pair {
    double lib, raw;
};
static Pair Alternate(int reps, const std::function<void()> &setup, const std::function<void()> &libSide,
                      const std::function<void()> &rawSide)
{
    std::vector<double> a, b;
    for (int r = 0; r < reps; r++) {
        for (int side = 0; side < 2; side++) {
            bool libFirst = (r % 2 == 0) == (side == 0);
            if (setup) setup();
            double t0 = Now();
            (libFirst ? libSide : rawSide)();
            (libFirst ? a : b).push_back(Now() - t0);
        }
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

static void Row(const char *what, int n, double lib, double raw)
{
    printf("| %-44s | %5d | %10.0f | %10.0f | %+6.1f%% |\n", what, n, lib, raw, (lib - raw) * 100.0 / raw);
}

/* The raw form of one enumeration step: what WLNextProfileByNameGet asks of
 * the registry. */
static bool RawEnumStep(DWORD index, char *name)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRoot, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD n = 256;
    LONG rc = RegEnumKeyExA(h, index, name, &n, NULL, NULL, NULL, NULL);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

/* Raw rewrite of one preferred list without `name`. */
static void RawListDrop(int adapter, const std::string &name)
{
    std::string key = PreferredKey(adapter);
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    std::vector<std::string> names, kept;
    for (DWORD i = 0;; i++) {
        char v[64], data[300];
        DWORD n = sizeof v, size = sizeof data, type;
        if (RegEnumValueA(h, i, v, &n, NULL, &type, (BYTE *)data, &size) != ERROR_SUCCESS) break;
        names.push_back(v);
        if (name != data) kept.push_back(data);
    }
    for (size_t i = 0; i < kept.size(); i++) {
        char v[16];
        snprintf(v, sizeof v, "PP_%u", (unsigned)i);
        RegSetValueExA(h, v, 0, REG_SZ, (const BYTE *)kept[i].c_str(), (DWORD)kept[i].size() + 1);
    }
    for (size_t i = kept.size(); i < names.size(); i++) {
        char v[16];
        snprintf(v, sizeof v, "PP_%u", (unsigned)i);
        RegDeleteValueA(h, v);
    }
    RegCloseKey(h);
}

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int reps = argc > 1 ? atoi(argv[1]) : 15;
    if (reps < 1) reps = 1;

    TreeDelete(kRoot);
    for (int a = 0; a < kAdapters; a++) {
        std::string key = std::string(kClass) + "\\" + NicId(a);
        TreeDelete(key);
        SetText(key, "VendorDescription", "Benchmark card");
        SetText(key, "CoInstallers32", "WDVXQ48E.dll,WLDeviceCoInstaller", REG_MULTI_SZ);
    }
    HMODULE lib = LoadLibraryA("WAVXQ48E.dll");
    if (lib == NULL) {
        printf("cannot load WAVXQ48E.dll\n");
        return 1;
    }
    CALL(lib, WLCurrentNICSet)(NicId(0).c_str(), 4);
    CALL(lib, WLInitializeProfiles)();

    printf("| operation                                    | profiles | library us | raw us | vs raw |\n");
    printf("|----------------------------------------------|------:|-----------:|-----------:|-------:|\n");
    int stored = 0;
    for (int n : {100, 1000}) {
        for (; stored < n; stored++) {
            std::string name = ProfileName(stored);
            CALL(lib, WLCurrentProfileNameSet)(name.c_str(), (DWORD)name.size());
            CALL(lib, WLCurrentProfileByNameSet)(name.c_str(), (DWORD)name.size());
        }

        /* Full enumeration. */
        int seenLib = 0, seenRaw = 0;
        Pair p = Alternate(
            reps, nullptr,
            [&] {
                char name[64];
                DWORD size = sizeof name;
                seenLib = 0;
                for (int rc = CALL(lib, WLFirstProfileByNameGet)(name, &size); rc == WL_SUCCESS;
                     rc = CALL(lib, WLNextProfileByNameGet)(name, &size)) {
                    seenLib++;
                    size = sizeof name;
                }
            },
            [&] {
                char name[256];
                seenRaw = 0;
                for (DWORD i = 0; RawEnumStep(i, name); i++) seenRaw++;
            });
        if (seenLib != n || seenRaw != n) printf("enumeration saw %d and %d of %d\n", seenLib, seenRaw, n);
        Row("full enumeration", n, p.lib, p.raw);

        /* One existence check of the name enumerated last, with its write. */
        std::string last;
        {
            char name[256];
            for (DWORD i = 0; RawEnumStep(i, name); i++) last = name;
        }
        std::string prefKey = PreferredKey(0);
        p = Alternate(
            reps, nullptr,
            [&] { CALL(lib, WLFirstPreferredProfileByNameSet)(last.c_str(), (DWORD)last.size()); },
            [&] {
                char name[256];
                for (DWORD i = 0; RawEnumStep(i, name); i++)
                    if (last == name) break;
                SetText(prefKey, "PP_0", last);
            });
        Row("ProfileExists + one preferred write", n, p.lib, p.raw);
        Pair direct = Alternate(
            reps, nullptr,
            [&] { CALL(lib, WLFirstPreferredProfileByNameSet)(last.c_str(), (DWORD)last.size()); },
            [&] {
                HKEY h;
                if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRoot) + "\\" + last).c_str(), 0, KEY_READ, &h) ==
                    ERROR_SUCCESS)
                    RegCloseKey(h);
                SetText(prefKey, "PP_0", last);
            });
        Row("  the same against one open of the key", n, direct.lib, direct.raw);

        /* Deleting a profile that is in the lists of 8 adapters. */
        const std::string victim = ProfileName(n / 2);
        auto setup = [&] {
            CALL(lib, WLCurrentProfileNameSet)(victim.c_str(), (DWORD)victim.size());
            CALL(lib, WLCurrentProfileByNameSet)(victim.c_str(), (DWORD)victim.size());
            for (int a = 0; a < kAdapters; a++) {
                TreeDelete(PreferredKey(a));
                for (int i = 0; i < kListLength; i++) {
                    char v[16];
                    snprintf(v, sizeof v, "PP_%d", i);
                    SetText(PreferredKey(a), v, i == a % kListLength ? victim : ProfileName(i));
                }
            }
        };
        p = Alternate(
            reps, setup, [&] { CALL(lib, WLProfileByNameDel)(victim.c_str(), (DWORD)victim.size()); },
            [&] {
                /* the adapters as the library finds them: every subkey of the
                 * class key with its description */
                HKEY h;
                if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClass, 0, KEY_READ, &h) == ERROR_SUCCESS) {
                    char sub[64], data[300];
                    DWORD n = sizeof sub;
                    for (DWORD i = 0; RegEnumKeyExA(h, i, sub, &n, NULL, NULL, NULL, NULL) == ERROR_SUCCESS; i++) {
                        HKEY k;
                        if (RegOpenKeyExA(h, sub, 0, KEY_QUERY_VALUE, &k) == ERROR_SUCCESS) {
                            DWORD size = sizeof data;
                            RegQueryValueExA(k, "VendorDescription", NULL, NULL, (BYTE *)data, &size);
                            RegCloseKey(k);
                        }
                        n = sizeof sub;
                    }
                    RegCloseKey(h);
                }
                for (int a = 0; a < kAdapters; a++) RawListDrop(a, victim);
                TreeDelete(std::string(kRoot) + "\\" + victim);
            });
        Row("delete, in the lists of 8 adapters", n, p.lib, p.raw);
        setup();
    }

    FreeLibrary(lib);
    TreeDelete(kRoot);
    for (int a = 0; a < kAdapters; a++) TreeDelete(std::string(kClass) + "\\" + NicId(a));
    return 0;
}
