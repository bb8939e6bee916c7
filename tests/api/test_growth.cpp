/* No handle, registry key or memory growth over many calls of a mixed
 * sequence: handles and private bytes of this process before and after. */
#include "sim_session.h"

#include <psapi.h>

namespace {

/* Handles of the process; where the count is not reported (Wine), the
 * lowest free handle slot, which a leaked handle pushes up. */
DWORD Handles(bool *counted)
{
    DWORD n = 0;
    *counted = GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0;
    if (*counted) return n;
    HANDLE h = CreateEventA(NULL, FALSE, FALSE, NULL);
    n = (DWORD)(UINT_PTR)h;
    CloseHandle(h);
    return n;
}

/* Committed private memory of the process, summed over its regions (what
 * the private bytes counter reports on Windows). */
SIZE_T PrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char *p = NULL; VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;
         p = (const char *)mbi.BaseAddress + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        if ((UINT_PTR)mbi.BaseAddress + mbi.RegionSize < (UINT_PTR)mbi.BaseAddress) break;
    }
    PROCESS_MEMORY_COUNTERS_EX pmc;
    memset(&pmc, 0, sizeof pmc);
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS *)&pmc, sizeof pmc) && pmc.PrivateUsage)
        printf("  (process counters: private bytes %lu)\n", (unsigned long)pmc.PrivateUsage);
    return total;
}

}  // namespace

class Growth : public testing::TestWithParam<Variant> {};

/* One round: reads and writes through temporary connections, a connected
 * stretch, registry reads and writes, failures of the driver and of the
 * arguments, commands, a memory read and the verdict. */
static void Round(SimSession &s, int i, unsigned char *mem, DWORD memSize)
{
    /* nine rounds of ten connected, one with a temporary connection per call */
    bool connected = i % 10 != 0 && WL(s.lib, WLConnect)() == WL_SUCCESS;
    int v = 0;
    DWORD size;
    char text[64];
    WL(s.lib, WLPortTypeGet)(&v);
    WL(s.lib, WLRTSThresholdSet)(i % 2 ? 2347 : 500);
    size = sizeof text;
    WL(s.lib, WLDesiredSSIDGet)(text, &size);
    size = sizeof text;
    WL(s.lib, WLFirstProfileByNameGet)(text, &size); /* registry */
    NICInfoBuffer nic = TypedBuffer<NICInfoBuffer>(NICInfoBufferType);
    WL(s.lib, WLFirstNICGet)(&nic); /* registry */
    WL(s.lib, WLHIFAccessSet)(i % 0x3F, i & 0xFFFF);
    WL(s.lib, WLHIFAccessGet)(i % 0x3F, &v);
    WL(s.lib, WLPellixTestStart)();
    WL(s.lib, WLReadMIF)(i, &v, &v, 0, 1);
    WL(s.lib, WLPellixTest)(0x0500);   /* refused */
    WL(s.lib, WLReadMIF)(i, NULL, &v, 0, 1); /* refused */
    size = memSize;
    WL(s.lib, WLDumpFirmware)(mem, &size, i % 64, 1);
    if (connected) WL(s.lib, WLDisconnect)();
    if (i % 10 == 0) {
        SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_BUSY);
        WL(s.lib, WLPortTypeGet)(&v); /* driver busy */
    }
    if (i % 50 == 0) {
        CompatibilityRangeBuffer r = TypedBuffer<CompatibilityRangeBuffer>(CompatibilityRangeBufferType);
        r.Role = COMP_ROLE_ACT;
        r.Num = 1;
        r.Vbt[0] = {1, 4, 4};
        WL(s.lib, WLDAICompatibilityGet)(&r, 0);
        WL(s.lib, WLFirstNICGet)(NULL);
        WL(s.lib, WLReceiveModeSet)(1, 64);
        WL(s.lib, WLReceiveModeSet)(0, 64);
    }
}

TEST_P(Growth, TenThousandMixedCallsLeaveNoHandleOrMemoryBehind)
{
    SimSession s(GetParam());
    unsigned char mem[128];
    const int kRounds = 10000 / 12; /* twelve or more calls a round */
    /* warm up: first-use allocations of the library and of the test */
    for (int i = 0; i < 50; i++) Round(s, i, mem, sizeof mem);
    bool counted;
    DWORD h0 = Handles(&counted);
    SIZE_T p0 = PrivateBytes();
    DWORD t0 = GetTickCount();
    for (int i = 0; i < kRounds; i++) Round(s, i, mem, sizeof mem);
    DWORD ms = GetTickCount() - t0;
    DWORD h1 = Handles(&counted);
    SIZE_T p1 = PrivateBytes();
    printf("[ variant %c ] %d rounds (%d calls and more) in %lu ms; %s %lu -> %lu, private bytes %lu -> %lu\n",
           GetParam().letter, kRounds, kRounds * 12, (unsigned long)ms,
           counted ? "handles" : "lowest free handle", (unsigned long)h0, (unsigned long)h1, (unsigned long)p0,
           (unsigned long)p1);
    ASSERT_GT(h0, 0u);
    ASSERT_GT(p0, 0u);
    EXPECT_LE(h1, h0 + (counted ? 2 : 8)) << "handles grew";
    /* the heap may settle by a few pages, not by a leak of ~100 bytes a round */
    EXPECT_LE(p1, p0 + 64 * 1024) << "private bytes grew";
}

INSTANTIATE_TEST_SUITE_P(All, Growth, testing::Values(kVariants[2]), VariantName);
