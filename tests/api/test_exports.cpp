/*
 * The export table of every library variant against the fixed ordinal
 * table (api/ordinals.inc) and the implemented names (api/exports.txt, from
 * which the build generates the library's .def), the ordinal-only import
 * library, and the modules the libraries import.
 */
#include <algorithm>
#include <map>
#include <set>

#include "wltest.h"

struct OrdinalEntry {
    WORD ordinal;
    const char *name;
};

static const OrdinalEntry kOrdinals[] = {
#define WL_ORDINAL(ord, name) {ord, #name},
#include "api/ordinals.inc"
#undef WL_ORDINAL
};

/* The names exports.txt lists. */
static const char *const kImplemented[] = {
#define WL_EXPORT(name) #name,
#include "exports.inc"
#undef WL_EXPORT
};

static const size_t kOrdinalCount = sizeof kOrdinals / sizeof kOrdinals[0];

/* Exports of a loaded module, read from its PE export directory. */
struct ModuleExports {
    std::map<std::string, WORD> byName; /* name -> ordinal */
    std::set<WORD> unnamed;             /* ordinals with a function but no name */
    bool ok = false;
};

static const IMAGE_NT_HEADERS *NtHeaders(HMODULE h)
{
    const BYTE *base = reinterpret_cast<const BYTE *>(h);
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return NULL;
    const IMAGE_NT_HEADERS *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt : NULL;
}

static ModuleExports ReadExports(HMODULE h)
{
    ModuleExports t;
    const BYTE *base = reinterpret_cast<const BYTE *>(h);
    const IMAGE_NT_HEADERS *nt = NtHeaders(h);
    if (nt == NULL) return t;
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.VirtualAddress == 0) return t;
    const IMAGE_EXPORT_DIRECTORY *ed = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + dir.VirtualAddress);
    const DWORD *functions = reinterpret_cast<const DWORD *>(base + ed->AddressOfFunctions);
    const DWORD *names = reinterpret_cast<const DWORD *>(base + ed->AddressOfNames);
    const WORD *nameOrdinals = reinterpret_cast<const WORD *>(base + ed->AddressOfNameOrdinals);
    std::set<WORD> named;
    for (DWORD i = 0; i < ed->NumberOfNames; i++) {
        WORD ordinal = (WORD)(ed->Base + nameOrdinals[i]);
        t.byName[reinterpret_cast<const char *>(base + names[i])] = ordinal;
        named.insert(nameOrdinals[i]);
    }
    for (DWORD i = 0; i < ed->NumberOfFunctions; i++)
        if (functions[i] != 0 && named.count((WORD)i) == 0) t.unnamed.insert((WORD)(ed->Base + i));
    t.ok = true;
    return t;
}

static std::vector<std::string> ReadImports(HMODULE h)
{
    std::vector<std::string> dlls;
    const BYTE *base = reinterpret_cast<const BYTE *>(h);
    const IMAGE_NT_HEADERS *nt = NtHeaders(h);
    if (nt == NULL) return dlls;
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return dlls;
    for (const IMAGE_IMPORT_DESCRIPTOR *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress);
         d->Name != 0; d++)
        dlls.push_back(reinterpret_cast<const char *>(base + d->Name));
    return dlls;
}

static std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return (char)tolower(c); });
    return s;
}

TEST(ExportTable, OrdinalTableIsWellFormed)
{
    EXPECT_EQ(328u, kOrdinalCount);
    std::set<WORD> ordinals;
    std::set<std::string> names;
    WORD previous = 0;
    for (const OrdinalEntry &e : kOrdinals) {
        EXPECT_TRUE(ordinals.insert(e.ordinal).second) << "ordinal " << e.ordinal << " twice";
        EXPECT_TRUE(names.insert(e.name).second) << e.name << " twice";
        EXPECT_GT(e.ordinal, previous) << e.name << " out of order";
        EXPECT_TRUE(e.ordinal >= 1 && e.ordinal <= 563) << e.name;
        EXPECT_EQ(0u, std::string(e.name).find("WL")) << e.name;
        previous = e.ordinal;
    }
    EXPECT_EQ(1, kOrdinals[0].ordinal);
    EXPECT_EQ(563, kOrdinals[kOrdinalCount - 1].ordinal);
}

TEST(ExportTable, EveryVariantExportsOnlyTableNamesAtTheirOrdinals)
{
    std::map<std::string, WORD> table;
    for (const OrdinalEntry &e : kOrdinals) table[e.name] = e.ordinal;

    std::map<std::string, WORD> first;
    for (const Variant &v : kVariants) {
        SCOPED_TRACE(v.dll());
        WLLib lib(v);
        ASSERT_TRUE(lib.module() != NULL);
        ModuleExports t = ReadExports(lib.module());
        ASSERT_TRUE(t.ok) << "no export directory";
        EXPECT_TRUE(t.unnamed.empty()) << "ordinal " << *t.unnamed.begin() << " exported without a name";
        for (const auto &exp : t.byName) {
            const std::string &name = exp.first;
            EXPECT_EQ(std::string::npos, name.find('@')) << name << " is decorated";
            EXPECT_NE('_', name[0]) << name << " is decorated";
            auto it = table.find(name);
            if (it == table.end()) {
                ADD_FAILURE() << name << " @" << exp.second << " is not in the export table";
                continue;
            }
            EXPECT_EQ(it->second, exp.second) << name << " at the wrong ordinal";
            /* The loader agrees: by name and by ordinal give one function. */
            EXPECT_EQ(GetProcAddress(lib.module(), name.c_str()),
                      GetProcAddress(lib.module(), MAKEINTRESOURCEA(it->second)))
                << name;
        }
        /* Exactly the listed names: nothing missing, nothing extra. */
        std::set<std::string> listed(std::begin(kImplemented), std::end(kImplemented));
        for (const std::string &name : listed) EXPECT_TRUE(t.byName.count(name)) << name << " listed but not exported";
        EXPECT_EQ(listed.size(), t.byName.size());
        if (v.letter == kVariants[0].letter) {
            first = t.byName;
            printf("[ exports  ] %u of the %u table functions exported\n", (unsigned)t.byName.size(),
                   (unsigned)kOrdinalCount);
        } else {
            EXPECT_TRUE(first == t.byName) << "export table differs from " << kVariants[0].dll();
        }
    }
    EXPECT_FALSE(first.empty());
}

/* A module linked with the ordinal-only import library imports the library
 * by ordinal alone, and its calls reach the right functions. */
TEST(ExportTable, OrdinalImportLibraryBindsByOrdinal)
{
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, exe, sizeof exe);
    std::string path(exe, n);
    path = path.substr(0, path.rfind('\\')) + "\\..\\testdll\\wlordprobe.dll";
    HMODULE probe = LoadLibraryA(path.c_str());
    ASSERT_TRUE(probe != NULL) << path << ", error " << GetLastError();

    const BYTE *base = reinterpret_cast<const BYTE *>(probe);
    const IMAGE_NT_HEADERS *nt = NtHeaders(probe);
    ASSERT_TRUE(nt != NULL);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t byOrdinal = 0;
    for (const IMAGE_IMPORT_DESCRIPTOR *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress);
         d->Name != 0; d++) {
        if (Lower(reinterpret_cast<const char *>(base + d->Name)) != "wavxq48e.dll") continue;
        for (const IMAGE_THUNK_DATA *th = reinterpret_cast<const IMAGE_THUNK_DATA *>(base + d->OriginalFirstThunk);
             th->u1.AddressOfData != 0; th++) {
            EXPECT_TRUE(IMAGE_SNAP_BY_ORDINAL(th->u1.Ordinal)) << "import by name";
            byOrdinal++;
        }
    }
    EXPECT_EQ(2u, byOrdinal);

    auto osType = reinterpret_cast<int(WINAPI *)(DWORD *)>(reinterpret_cast<void *>(GetProcAddress(probe, "ProbeOSTypeGet")));
    auto connected = reinterpret_cast<int(WINAPI *)(void)>(reinterpret_cast<void *>(GetProcAddress(probe, "ProbeConnected")));
    ASSERT_TRUE(osType != NULL && connected != NULL);
    DWORD os = 0;
    EXPECT_EQ(WL_SUCCESS, osType(&os));
    EXPECT_EQ(ExpectedOsType(), os);
    EXPECT_EQ(WL_NOT_CONNECTED, connected());
    FreeLibrary(probe);
}

TEST(ExportTable, LibrariesImportOnlySystemModules)
{
    static const std::set<std::string> system = {
        "kernel32.dll", "advapi32.dll", "msvcrt.dll",  "user32.dll",   "gdi32.dll",
        "comctl32.dll", "shell32.dll",  "version.dll", "setupapi.dll", "ole32.dll",
        "oleaut32.dll", "shlwapi.dll",  "ntdll.dll",   "comdlg32.dll", "winmm.dll",
    };
    for (const Variant &v : kVariants) {
        SCOPED_TRACE(v.dll());
        WLLib lib(v);
        ASSERT_TRUE(lib.module() != NULL);
        std::vector<std::string> dlls = ReadImports(lib.module());
        EXPECT_FALSE(dlls.empty());
        for (const std::string &d : dlls) {
            std::string l = Lower(d);
            EXPECT_TRUE(system.count(l)) << v.dll() << " imports " << d;
            EXPECT_EQ(std::string::npos, l.find("libgcc")) << d;
            EXPECT_EQ(std::string::npos, l.find("libstdc++")) << d;
            EXPECT_EQ(std::string::npos, l.find("winpthread")) << d;
        }
    }
}

/* Every library file carries its version resource: file version 8.24.0.629,
 * product version 8.24, and its own file name. */
TEST(ExportTable, VersionResourceOfEveryVariant)
{
    for (const Variant &v : kVariants) {
        WLLib lib(v);
        char path[MAX_PATH];
        ASSERT_NE(0u, GetModuleFileNameA(lib.module(), path, sizeof path));
        DWORD handle = 0, size = GetFileVersionInfoSizeA(path, &handle);
        ASSERT_NE(0u, size) << path;
        std::vector<char> data(size);
        ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));
        VS_FIXEDFILEINFO *fixed = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", (void **)&fixed, &len));
        EXPECT_EQ(MAKELONG(24, 8), fixed->dwFileVersionMS);
        EXPECT_EQ(MAKELONG(629, 0), fixed->dwFileVersionLS);
        EXPECT_EQ(MAKELONG(24, 8), fixed->dwProductVersionMS);
        char *text = nullptr;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\ProductVersion", (void **)&text, &len));
        EXPECT_STREQ("8.24", text);
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\OriginalFilename", (void **)&text, &len));
        EXPECT_EQ(v.dll() + ".DLL", text);
    }
}
