// Shared pieces of the randomised robustness tests: a small fixed-seed
// generator, so every run draws the same inputs, and (under Windows) a page
// followed by an inaccessible guard page, so an input placed to end at it
// faults on the first byte read past its end, even without a bounds-checking
// build.
#ifndef TESTS_UNIT_FUZZ_SUPPORT_H
#define TESTS_UNIT_FUZZ_SUPPORT_H

#ifdef _WIN32
#include <windows.h>
#endif

#include <stdint.h>
#include <string.h>

#include <vector>

namespace fuzz {

typedef std::vector<uint8_t> Bytes;

// xorshift64*: small, portable and the same on every platform.
struct Rng {
    uint64_t s;
    uint32_t Next()
    {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return static_cast<uint32_t>((s * 0x2545F4914F6CDD1DULL) >> 32);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
    uint8_t Byte() { return static_cast<uint8_t>(Next()); }
    bool OneIn(uint32_t n) { return Below(n) == 0; }
};

#ifdef _WIN32
struct GuardedPage {
    uint8_t *page = nullptr;
    size_t size = 0;
    GuardedPage()
    {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        size = si.dwPageSize;
        page = static_cast<uint8_t *>(VirtualAlloc(NULL, 2 * size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old;
        if (page == NULL || !VirtualProtect(page + size, size, PAGE_NOACCESS, &old)) page = nullptr;
    }
    // Where an input of n bytes starts so that it ends at the guard page;
    // null when it does not fit.
    uint8_t *Place(const Bytes &input)
    {
        if (page == nullptr || input.size() > size) return nullptr;
        uint8_t *at = page + size - input.size();
        if (!input.empty()) memcpy(at, input.data(), input.size());
        return at;
    }
};
#endif

} // namespace fuzz

#endif // TESTS_UNIT_FUZZ_SUPPORT_H
