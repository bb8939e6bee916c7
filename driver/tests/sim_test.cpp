// The loaded stand-in driver, reached the way the configuration library
// reaches an adapter: \\.\<name>, DeviceIoControl 0x00170002 with the
// object id and the 8204-byte interface block. Needs Wine (or Windows) with
// wlsim.sys beside this program or named by the WLSIM_SYS variable.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "simclient.h"

namespace {

const char kGuid[] = "{5F1D2C3B-0000-4000-8000-000000000001}";
const char kVxd[] = "WuVXQ48E.vxd";
const uint16_t kSentinel = 0xA5A5;

std::string DirOfProgram()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

// Copies the driver into the system's driver folder (unless it is already
// running) and starts it.
int StartDriver()
{
    HANDLE h = CreateFileA(WLSIM_CONTROL_PATH, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           NULL, OPEN_EXISTING, 0, NULL);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return SimEnsureStarted(NULL);
    }
    const char *env = std::getenv("WLSIM_SYS");
    std::string from = (env && *env) ? env : DirOfProgram() + "wlsim.sys";
    char sys[MAX_PATH];
    GetSystemDirectoryA(sys, MAX_PATH);
    std::string to = std::string(sys) + "\\drivers\\wlsim.sys";
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return static_cast<int>(GetLastError());
    return SimEnsureStarted(to.c_str());
}

struct Call {
    BOOL ok;
    DWORD error;
    DWORD bytes;
};

class SimDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite() { startResult = StartDriver(); }

    void SetUp() override
    {
        ASSERT_EQ(0, startResult) << "driver not started: " << SimLastErrorText();
        ASSERT_EQ(0, SimReset()) << SimLastErrorText();
        const char *names[] = {kGuid, kVxd};
        ASSERT_EQ(0, SimAddAdapter(names, 2, &adapter)) << SimLastErrorText();
        guid = Open(kGuid);
        vxd = Open(kVxd);
        ASSERT_NE(INVALID_HANDLE_VALUE, guid) << GetLastError();
        ASSERT_NE(INVALID_HANDLE_VALUE, vxd) << GetLastError();
        Clear();
    }

    void TearDown() override
    {
        if (guid != INVALID_HANDLE_VALUE) CloseHandle(guid);
        if (vxd != INVALID_HANDLE_VALUE) CloseHandle(vxd);
    }

    static HANDLE Open(const char *name)
    {
        std::string path = std::string("\\\\.\\") + name;
        return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    }

    void Clear()
    {
        for (unsigned i = 0; i < WLSIM_VAL_WORDS; i++) block.val[i] = kSentinel;
        block.ifbp = 0;
        block.result = 0;
        block.len = 0;
        block.typ = 0;
    }

    Call Raw(HANDLE h, const void *in, DWORD inLen, DWORD outLen, DWORD code = WLSIM_IOCTL_ADAPTER)
    {
        Call c;
        c.bytes = 0xDEADBEEF;
        SetLastError(0xDEADBEEF);
        c.ok =
            DeviceIoControl(h, code, const_cast<void *>(in), inLen, &block, outLen, &c.bytes, NULL);
        c.error = c.ok ? 0 : GetLastError();
        return c;
    }

    // One well-formed exchange; expects the call itself to succeed.
    void Xchg(HANDLE h, uint16_t function, uint16_t len, uint16_t typ)
    {
        uint32_t id = WLSIM_OBJECT_ID;
        block.result = 0;
        block.function = function;
        block.len = len;
        block.typ = typ;
        Call c = Raw(h, &id, sizeof id, WLSIM_BLOCK_SIZE);
        ASSERT_TRUE(c.ok) << "error " << c.error;
        ASSERT_EQ(WLSIM_BLOCK_SIZE, c.bytes);
    }

    static int startResult;
    int adapter = -1;
    HANDLE guid = INVALID_HANDLE_VALUE;
    HANDLE vxd = INVALID_HANDLE_VALUE;
    WlSimBlock block;
};

int SimDriver::startResult = -1;

TEST_F(SimDriver, PutAndGetRoundTripThroughBothDeviceNames)
{
    Xchg(guid, WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);
    EXPECT_NE(0u, block.ifbp);

    block.val[0] = 1500;
    Xchg(guid, WLSIM_OP_PUT_INFO, 2, 0xFC07);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);

    Clear();
    Xchg(vxd, WLSIM_OP_GET_INFO, 2, 0xFC07);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);
    EXPECT_EQ(2, block.len);
    EXPECT_EQ(0xFC07, block.typ);
    EXPECT_EQ(1500, block.val[0]);

    uint16_t ltv[4];
    ASSERT_EQ(0, SimGetRecord(adapter, 0xFC07, ltv, 4));
    EXPECT_EQ(1500, ltv[2]);

    WlSimAdapterState s;
    ASSERT_EQ(0, SimAdapterState(adapter, &s));
    EXPECT_EQ(1, s.connected);
    EXPECT_EQ(0, s.applied);
    Xchg(guid, WLSIM_OP_ACTION, 0, WLSIM_ACTION_APPLY);
    Xchg(guid, WLSIM_OP_DISCONNECT, 0, 0);
    ASSERT_EQ(0, SimAdapterState(adapter, &s));
    EXPECT_EQ(1, s.applied);
    EXPECT_EQ(0, s.connected);
    EXPECT_EQ(2, s.openHandles);
}

TEST_F(SimDriver, GetClipsToAskedLengthAndAnswersLenOneForUnknownType)
{
    Xchg(guid, WLSIM_OP_GET_INFO, 5, 0xFC02);
    EXPECT_EQ(5, block.len);
    EXPECT_EQ(6, block.val[0]);
    EXPECT_EQ(kSentinel, block.val[4]);

    Clear();
    Xchg(guid, WLSIM_OP_GET_INFO, 100, 0xFC02);
    EXPECT_EQ(18, block.len);
    EXPECT_EQ(kSentinel, block.val[17]);

    Clear();
    Xchg(guid, WLSIM_OP_GET_INFO, 10, 0xFCFE);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);
    EXPECT_EQ(1, block.len);
    EXPECT_EQ(kSentinel, block.val[0]);
}

TEST_F(SimDriver, WrongObjectIdOrCodeIsRefused)
{
    uint32_t wrong = 0xFF020402;
    Call c = Raw(guid, &wrong, sizeof wrong, WLSIM_BLOCK_SIZE);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), c.error);

    uint32_t twice[2] = {WLSIM_OBJECT_ID, 0};
    c = Raw(guid, twice, sizeof twice, WLSIM_BLOCK_SIZE);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), c.error);

    uint32_t id = WLSIM_OBJECT_ID;
    c = Raw(guid, &id, sizeof id, WLSIM_BLOCK_SIZE, 0x00170006);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(kSentinel, block.val[0]);

    WlSimCounters counters;
    ASSERT_EQ(0, SimCounters(&counters));
    EXPECT_EQ(2u, counters.refused);
    EXPECT_EQ(0u, counters.exchanges);
}

TEST_F(SimDriver, HostileLengthsAreAnsweredWithoutHarm)
{
    Xchg(guid, WLSIM_OP_GET_INFO, 0xFFFF, 0xFC00);
    EXPECT_EQ(WLSIM_RES_LEN, block.result);
    Xchg(guid, WLSIM_OP_PUT_INFO, 0xFFFF, 0xFC00);
    EXPECT_EQ(WLSIM_RES_LEN, block.result);
    Xchg(guid, WLSIM_OP_SEND_DIAG_MSG, 9000, 0);
    EXPECT_EQ(WLSIM_RES_LEN, block.result);

    uint32_t id = WLSIM_OBJECT_ID;
    Call c = Raw(guid, &id, sizeof id, 100);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), c.error);
    c = Raw(guid, &id, sizeof id, 0);
    EXPECT_FALSE(c.ok);

    Clear();
    Xchg(guid, WLSIM_OP_GET_INFO, 2, 0xFC00);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);
    EXPECT_EQ(1, block.val[0]) << "the driver still answers after hostile blocks";
}

TEST_F(SimDriver, InjectedResultsAndFailedCalls)
{
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 1, WLSIM_RES_INCOMP_DRV));
    Xchg(guid, WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(WLSIM_RES_INCOMP_DRV, block.result);
    Xchg(guid, WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);

    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_LEN));
    Xchg(guid, WLSIM_OP_GET_INFO, 2, 0xFC00);
    EXPECT_EQ(WLSIM_RES_LEN, block.result);

    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_GET_INFO, 1));
    uint32_t id = WLSIM_OBJECT_ID;
    Clear();
    block.function = WLSIM_OP_GET_INFO;
    block.len = 2;
    block.typ = 0xFC00;
    Call c = Raw(guid, &id, sizeof id, WLSIM_BLOCK_SIZE);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), c.error);
    EXPECT_EQ(kSentinel, block.val[0]);

    Xchg(guid, WLSIM_OP_GET_INFO, 2, 0xFC00);
    EXPECT_EQ(WLSIM_RES_SUCCESS, block.result);
    EXPECT_EQ(1, block.val[0]);
}

TEST_F(SimDriver, CountersLogAndDiagnosticMessages)
{
    Xchg(guid, WLSIM_OP_CONNECT, 0, 0);
    Xchg(guid, WLSIM_OP_GET_INFO, 2, 0xFC00);
    block.val[0] = 2;
    Xchg(guid, WLSIM_OP_PUT_INFO, 2, 0xFC00);
    Xchg(guid, WLSIM_OP_ACTION, 0, WLSIM_ACTION_APPLY);
    Xchg(guid, WLSIM_OP_ACTION, 0, WLSIM_ACTION_BLOCK);
    std::memcpy(block.val, "diag!", 5);
    Xchg(vxd, WLSIM_OP_SEND_DIAG_MSG, 5, 0);
    Xchg(guid, WLSIM_OP_DISCONNECT, 0, 0);

    WlSimCounters c;
    ASSERT_EQ(0, SimCounters(&c));
    EXPECT_EQ(7u, c.exchanges);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(2u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(1u, SimTypeGets(&c, 0xFC00));
    EXPECT_EQ(1u, SimTypePuts(&c, 0xFC00));
    EXPECT_EQ(1u, SimActionCount(&c, WLSIM_ACTION_APPLY));
    EXPECT_EQ(1u, SimActionCount(&c, WLSIM_ACTION_BLOCK));
    EXPECT_EQ(0u, SimActionCount(&c, WLSIM_ACTION_RESET));

    WlSimExchangeLog log;
    ASSERT_EQ(0, SimLastExchanges(&log));
    ASSERT_EQ(7, log.n);
    EXPECT_EQ(WLSIM_OP_PUT_INFO, log.e[2].op);
    EXPECT_EQ(0xFC00, log.e[2].typ);
    EXPECT_EQ(adapter, log.e[2].adapter);

    WlSimDiagMsg m;
    ASSERT_EQ(0, SimDiagMessage(adapter, 0, &m));
    ASSERT_EQ(5, m.len);
    EXPECT_EQ(0, std::memcmp(m.bytes, "diag!", 5));

    WlSimAdapterState s;
    ASSERT_EQ(0, SimAdapterState(adapter, &s));
    EXPECT_EQ(1, s.blocked);
    EXPECT_EQ(1, s.applied);

    ASSERT_EQ(0, SimClearLog());
    ASSERT_EQ(0, SimCounters(&c));
    EXPECT_EQ(0u, c.exchanges);
}

TEST_F(SimDriver, NamesMoveBetweenAdaptersAndDisappear)
{
    int second = -1;
    ASSERT_EQ(0, SimAddAdapter(NULL, 0, &second)) << SimLastErrorText();
    ASSERT_EQ(0, SimMapName(second, kVxd)) << SimLastErrorText();
    Xchg(vxd, WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(WLSIM_IFBP_BASE + static_cast<uint32_t>(second), block.ifbp);

    const char *dup[] = {kGuid};
    int third;
    EXPECT_EQ(static_cast<int>(ERROR_ALREADY_EXISTS), SimAddAdapter(dup, 1, &third));

    ASSERT_EQ(0, SimMapName(WLSIM_ANY_ADAPTER, kVxd)) << SimLastErrorText();
    HANDLE gone = Open(kVxd);
    EXPECT_EQ(INVALID_HANDLE_VALUE, gone);
    if (gone != INVALID_HANDLE_VALUE) CloseHandle(gone);

    ASSERT_EQ(0, SimRemoveAdapter(adapter));
    gone = Open(kGuid);
    EXPECT_EQ(INVALID_HANDLE_VALUE, gone);
    if (gone != INVALID_HANDLE_VALUE) CloseHandle(gone);
    WlSimAdapterState s;
    EXPECT_EQ(static_cast<int>(ERROR_NOT_FOUND), SimAdapterState(adapter, &s));
}

TEST_F(SimDriver, ControlRequestsOfWrongShapeAreRefused)
{
    HANDLE ctl = CreateFileA(WLSIM_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, ctl) << GetLastError();
    static WlSimAddAdapter add;
    std::memset(&add, 0, sizeof add);
    static WlSimCounters counters;
    DWORD got;

    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(DeviceIoControl(ctl, IOCTL_WLSIM_ADD_ADAPTER, &add, sizeof add - 1, &counters,
                                 sizeof counters, &got, NULL));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(DeviceIoControl(ctl, IOCTL_WLSIM_COUNTERS, NULL, 0, &counters,
                                 sizeof counters - 1, &got, NULL));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());

    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(DeviceIoControl(ctl, WLSIM_CTL_CODE(0x8FF), NULL, 0, NULL, 0, &got, NULL));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FUNCTION), GetLastError());

    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(DeviceIoControl(guid, IOCTL_WLSIM_RESET, NULL, 0, NULL, 0, &got, NULL))
        << "an adapter device took a control request";
    CloseHandle(ctl);

    WlSimNameList names;
    ASSERT_EQ(0, SimNames(&names));
    EXPECT_EQ(2, names.n) << "a refused request changed the adapters";
}

TEST_F(SimDriver, WorldRequestsThroughTheControlDevice)
{
    WlSimStation st;
    const uint8_t bssid[6] = {0x00, 0x40, 0x96, 0x00, 0x00, 0x09};
    ASSERT_EQ(0, SimStationMake(&st, bssid, "ctl", 3, 110, 60, 0, WLSIM_SEC_WPA2, "ctl-ap"));
    EXPECT_EQ(48, st.ies[0]);
    ASSERT_EQ(0, SimPutStation(&st)) << SimLastErrorText();
    st.ssidLen = 33;
    EXPECT_EQ(static_cast<int>(ERROR_INVALID_PARAMETER), SimPutStation(&st));

    // A scan through the adapter's device reaches the mailbox.
    Xchg(guid, WLSIM_OP_ACTION, 0, 6);
    Xchg(vxd, WLSIM_OP_GET_INFO, 801, 0x0820);
    EXPECT_EQ(0xF101, block.typ);
    EXPECT_EQ(1 + 50 / 2, block.len);

    uint8_t v[4] = {1, 2, 3, 4};
    EXPECT_EQ(0, SimPushMailbox(adapter, WLSIM_MB_NOW, 3, 0xF200, v, 4));
    EXPECT_EQ(static_cast<int>(ERROR_INVALID_PARAMETER), SimPushMailbox(adapter, WLSIM_MB_NOW, 1154, 0xF200, v, 4));
    EXPECT_EQ(static_cast<int>(ERROR_INVALID_PARAMETER), SimPushMailbox(adapter, 7, 3, 0xF200, v, 4));
    WlSimMailboxState m;
    ASSERT_EQ(0, SimMailboxState(adapter, &m));
    EXPECT_EQ(1, m.queued);
    EXPECT_EQ(1u, m.taken);
    EXPECT_EQ(static_cast<int>(ERROR_NOT_FOUND), SimMailboxState(adapter + 1, &m));
    ASSERT_EQ(0, SimMailboxClear(adapter));
    ASSERT_EQ(0, SimMailboxState(adapter, &m));
    EXPECT_EQ(0, m.queued);
    EXPECT_EQ(0, SimRemoveStation(bssid));
    EXPECT_EQ(static_cast<int>(ERROR_NOT_FOUND), SimRemoveStation(bssid));
}

TEST_F(SimDriver, ExchangeCost)
{
    const int n = 2000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; i++) {
        Xchg(guid, WLSIM_OP_GET_INFO, 18, 0xFC02);
        if (HasFatalFailure()) return;
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count() /
                n;
    RecordProperty("milliseconds_per_exchange", std::to_string(ms));
    std::printf("driver exchange: %.3f ms\n", ms);
    EXPECT_LT(ms, 20.0);
}

}  // namespace
