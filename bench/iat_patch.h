/*
 * Import patching for the benchmarks: points a loaded module's imports of
 * one function at a counting wrapper, so a run can count the registry, file
 * and driver calls a library makes without changing the library.
 */
#ifndef BENCH_IAT_PATCH_H
#define BENCH_IAT_PATCH_H

#include <windows.h>
#include <string.h>

struct Wrapper {
    const char *name;
    void *wrapper;
    void **real;
};

#define WRAPPER(name) {#name, (void *)Count_##name, (void **)&Real_##name}

/* Points every import of `w.name` in the module at its wrapper. */
static inline int PatchImport(HMODULE module, const Wrapper &w)
{
    BYTE *base = (BYTE *)module;
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return 0;
    int patched = 0;
    for (IMAGE_IMPORT_DESCRIPTOR *imp = (IMAGE_IMPORT_DESCRIPTOR *)(base + dir.VirtualAddress); imp->Name; imp++) {
        DWORD namesRva = imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk;
        IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + namesRva);
        IMAGE_THUNK_DATA *iat = (IMAGE_THUNK_DATA *)(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; names++, iat++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME *ibn = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (strcmp((const char *)ibn->Name, w.name) != 0) continue;
            DWORD old;
            if (!VirtualProtect(&iat->u1.Function, sizeof iat->u1.Function, PAGE_READWRITE, &old)) continue;
            if ((void *)iat->u1.Function != w.wrapper) {
                *w.real = (void *)iat->u1.Function;
                iat->u1.Function = (ULONG_PTR)w.wrapper;
            }
            VirtualProtect(&iat->u1.Function, sizeof iat->u1.Function, old, &old);
            patched++;
        }
    }
    return patched;
}

#endif /* BENCH_IAT_PATCH_H */
