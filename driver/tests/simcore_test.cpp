// Adapter logic of the stand-in driver, driven directly: record store,
// exchange handling, faults, counters, names and memory use.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "simcore.h"
#include "wlcore/wepcode.h"

namespace {

// Memory hooks: counted, and able to fail after a given number of calls.
int LiveAllocations;
int AllocationsBeforeFailure = -1;

}  // namespace

extern "C" void *SimAlloc(uint32_t bytes)
{
    if (AllocationsBeforeFailure == 0) return nullptr;
    if (AllocationsBeforeFailure > 0) AllocationsBeforeFailure--;
    LiveAllocations++;
    return std::malloc(bytes ? bytes : 1);
}

extern "C" void SimFree(void *p)
{
    if (p) {
        LiveAllocations--;
        std::free(p);
    }
}

namespace {

constexpr uint16_t kSentinel = 0xA5A5;
constexpr uint32_t kNoStatus = 0xDEADBEEF;

// A block inside a guarded buffer: guard words before and after must stay.
struct Guarded {
    static constexpr size_t kGuard = 64;
    std::vector<uint8_t> bytes;
    size_t offset;

    explicit Guarded(size_t misalign = 0)
        : bytes(kGuard + WLSIM_BLOCK_SIZE + kGuard + misalign, 0xEE), offset(kGuard + misalign)
    {
        Fill(kSentinel);
    }
    uint8_t *Block() { return bytes.data() + offset; }
    void Fill(uint16_t v)
    {
        for (size_t i = 0; i < WLSIM_BLOCK_SIZE; i += 2) std::memcpy(Block() + i, &v, 2);
    }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < offset; i++)
            if (bytes[i] != 0xEE) return false;
        for (size_t i = offset + WLSIM_BLOCK_SIZE; i < bytes.size(); i++)
            if (bytes[i] != 0xEE) return false;
        return true;
    }
    uint16_t Word(size_t byteOffset) const
    {
        uint16_t v;
        std::memcpy(&v, bytes.data() + offset + byteOffset, 2);
        return v;
    }
    void SetWord(size_t byteOffset, uint16_t v) { std::memcpy(Block() + byteOffset, &v, 2); }
    uint32_t Ifbp() const
    {
        uint32_t v;
        std::memcpy(&v, bytes.data() + offset, 4);
        return v;
    }
    uint16_t Result() const { return Word(4); }
    uint16_t Len() const { return Word(8); }
    uint16_t Typ() const { return Word(10); }
    uint16_t Val(size_t i) const { return Word(12 + 2 * i); }
    void Header(uint16_t function, uint16_t len, uint16_t typ)
    {
        SetWord(4, 0);
        SetWord(6, function);
        SetWord(8, len);
        SetWord(10, typ);
    }
};

class SimCore : public ::testing::Test {
protected:
    void SetUp() override
    {
        AllocationsBeforeFailure = -1;
        SimCoreInit();
        adapter = Add({"{5F1D2C3B-0000-4000-8000-000000000001}", "WuVXQ48E.vxd"});
        ASSERT_EQ(0, adapter);
        SimCoreClearLog();
    }
    void TearDown() override
    {
        SimCoreShutdown();
        EXPECT_EQ(0, LiveAllocations) << "records or messages leaked";
        AllocationsBeforeFailure = -1;
    }

    static int32_t Add(std::initializer_list<const char *> names, int *status = nullptr)
    {
        WlSimAddAdapter req;
        std::memset(&req, 0, sizeof req);
        for (const char *n : names)
            std::snprintf(req.names[req.nNames++], WLSIM_NAME_CHARS, "%s", n);
        int32_t idx = -1;
        int rc = SimCoreAddAdapter(&req, &idx);
        if (status) *status = rc;
        return rc == SIM_OK ? idx : -1;
    }

    static int SlotOf(const char *name)
    {
        for (int s = 0; s < WLSIM_MAX_NAMES; s++) {
            const char *n = SimCoreSlotName(s);
            if (n && std::strcmp(n, name) == 0) return s;
        }
        return -1;
    }

    // One exchange with the proper envelope on the adapter's first name.
    int Exchange(Guarded &g, uint16_t function, uint16_t len, uint16_t typ, int slot = -2)
    {
        g.Header(function, len, typ);
        return Raw(g, slot);
    }
    int Raw(Guarded &g, int slot = -2)
    {
        uint32_t id = WLSIM_OBJECT_ID;
        status = kNoStatus;
        return SimCoreExchange(slot == -2 ? SlotOf("WuVXQ48E.vxd") : slot, &id, sizeof id,
                               g.Block(), WLSIM_BLOCK_SIZE, &status);
    }

    void Put(std::vector<uint16_t> ltv)
    {
        Guarded g;
        for (size_t i = 2; i < ltv.size(); i++) g.SetWord(12 + 2 * (i - 2), ltv[i]);
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, ltv[0], ltv[1]));
        ASSERT_EQ(WLSIM_RES_SUCCESS, g.Result());
    }

    WlSimRecord Stored(uint16_t typ, int32_t a = 0)
    {
        WlSimRecordKey key = {a, typ, 0};
        WlSimRecord r;
        EXPECT_EQ(SIM_OK, SimCoreGetRecord(&key, &r));
        return r;
    }

    WlSimAdapterState State(int32_t a = 0)
    {
        WlSimAdapterState s;
        EXPECT_EQ(SIM_OK, SimCoreAdapterState(a, &s));
        return s;
    }

    WlSimExchange LastLogged()
    {
        static WlSimExchangeLog log;
        SimCoreExchanges(&log);
        EXPECT_GT(log.n, 0);
        return log.e[log.n - 1];
    }

    static void Arm(int op, int kind, int count, uint32_t value, int32_t a = WLSIM_ANY_ADAPTER)
    {
        WlSimFault f = {op, kind, count, value, a};
        ASSERT_EQ(SIM_OK, SimCoreSetFault(&f));
    }

    int32_t adapter = -1;
    uint32_t status = kNoStatus;
};

// ---- default records ----------------------------------------------------

TEST_F(SimCore, DefaultTableRowsEndExactlyAndTypesAreUnique)
{
    std::set<uint16_t> types;
    uint32_t i = 0;
    while (i < SimDefaultWordCount) {
        uint16_t len = SimDefaultRecords[i];
        ASSERT_GE(len, 2u) << "row at word " << i;
        ASSERT_LE(i + 1u + len, SimDefaultWordCount) << "row at word " << i << " runs past the end";
        EXPECT_TRUE(types.insert(SimDefaultRecords[i + 1]).second)
            << "type 0x" << std::hex << SimDefaultRecords[i + 1] << " listed twice";
        i += 1u + len;
    }
    EXPECT_EQ(SimDefaultWordCount, i);
    EXPECT_EQ(types.size(), static_cast<size_t>(State().nRecords));
}

TEST_F(SimCore, NewAdapterAnswersDefaultRecords)
{
    WlSimRecord port = Stored(0xFC00);
    EXPECT_EQ(2, port.len);
    EXPECT_EQ(1, port.val[0]);

    WlSimRecord ssid = Stored(0xFC02);
    ASSERT_EQ(18, ssid.len);
    EXPECT_EQ(6, ssid.val[0]);
    EXPECT_EQ(0, std::memcmp(&ssid.val[1], "wlsim0", 6));

    WlSimRecord mac = Stored(0xFC01);
    ASSERT_EQ(4, mac.len);
    EXPECT_EQ(0, reinterpret_cast<const uint8_t *>(mac.val)[0] & 1) << "own MAC is a group address";

    EXPECT_EQ(4, Stored(0xFD40).val[0]) << "port should be up";
}

// ---- envelope -----------------------------------------------------------

TEST_F(SimCore, EnvelopeRefusesWrongObjectIdAndShortOutput)
{
    Guarded g;
    const int slot = SlotOf("WuVXQ48E.vxd");
    uint32_t wrong = 0xFF020402, right = WLSIM_OBJECT_ID;
    uint8_t eight[8] = {0x01, 0x04, 0x02, 0xFF, 0, 0, 0, 0};

    EXPECT_EQ(SIM_XCHG_BAD_INPUT,
              SimCoreExchange(slot, &wrong, 4, g.Block(), WLSIM_BLOCK_SIZE, &status));
    EXPECT_EQ(SIM_XCHG_BAD_INPUT,
              SimCoreExchange(slot, eight, 8, g.Block(), WLSIM_BLOCK_SIZE, &status));
    EXPECT_EQ(SIM_XCHG_BAD_INPUT,
              SimCoreExchange(slot, &right, 3, g.Block(), WLSIM_BLOCK_SIZE, &status));
    EXPECT_EQ(SIM_XCHG_BAD_INPUT,
              SimCoreExchange(slot, nullptr, 4, g.Block(), WLSIM_BLOCK_SIZE, &status));
    EXPECT_EQ(SIM_XCHG_SHORT_OUTPUT,
              SimCoreExchange(slot, &right, 4, g.Block(), WLSIM_BLOCK_SIZE - 1, &status));
    EXPECT_EQ(SIM_XCHG_SHORT_OUTPUT, SimCoreExchange(slot, &right, 4, nullptr, 0, &status));
    EXPECT_EQ(kNoStatus, status);

    Guarded untouched;
    EXPECT_EQ(0, std::memcmp(untouched.bytes.data(), g.bytes.data(), g.bytes.size()))
        << "a refused request wrote into the block";

    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(6u, c.refused);
    EXPECT_EQ(0u, c.exchanges);
    WlSimExchange x = LastLogged();
    EXPECT_EQ(WLSIM_X_REFUSED, x.flags);
    EXPECT_EQ(0xFFFF, x.op);
}

TEST_F(SimCore, UnmappedOrUnknownSlotReachesNoAdapter)
{
    Guarded g;
    g.Header(WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(SIM_XCHG_NO_ADAPTER, Raw(g, -1));
    EXPECT_EQ(SIM_XCHG_NO_ADAPTER, Raw(g, WLSIM_MAX_NAMES));
    EXPECT_EQ(SIM_XCHG_NO_ADAPTER, Raw(g, WLSIM_MAX_NAMES - 1));
    EXPECT_EQ(0, State().connects);
}

TEST_F(SimCore, UnknownFunctionAnswersWrongIfb)
{
    Guarded g;
    for (uint16_t f : {uint16_t(6), uint16_t(0xFFFF)}) {
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, f, 2, 0xFC00));
        EXPECT_EQ(WLSIM_RES_WRONG_IFB, g.Result());
    }
    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(2u, c.badFunction);
    EXPECT_EQ(2u, c.exchanges);
}

// ---- connect, disconnect, actions ---------------------------------------

TEST_F(SimCore, ConnectAnswersNonZeroIfbpAndTracksConnection)
{
    Guarded g;
    g.bytes[g.offset] = 0;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_CONNECT, 0, 0));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_EQ(WLSIM_IFBP_BASE + 0u, g.Ifbp());
    EXPECT_EQ(1, State().connected);

    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_DISCONNECT, 0, 0));
    WlSimAdapterState s = State();
    EXPECT_EQ(0, s.connected);
    EXPECT_EQ(1u, s.connects);
    EXPECT_EQ(1u, s.disconnects);
}

TEST_F(SimCore, ActionsBlockUnblockResetApplyAndOthers)
{
    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_ACTION, 2, WLSIM_ACTION_BLOCK));
    EXPECT_EQ(1, State().blocked);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_ACTION, 2, WLSIM_ACTION_UNBLOCK));
    EXPECT_EQ(0, State().blocked);

    Put({2, 0xFC20, 1});
    Put({2, 0xFC21, 2});
    EXPECT_EQ(0, State().applied);
    EXPECT_EQ(2u, State().unappliedPuts);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_ACTION, 2, WLSIM_ACTION_APPLY));
    EXPECT_EQ(1, State().applied);

    Put({2, 0xFC20, 0});
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_ACTION, 2, WLSIM_ACTION_RESET));
    EXPECT_EQ(1, State().applied) << "a reset puts the stored configuration in force";

    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_ACTION, 2, 6));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());

    WlSimAdapterState s = State();
    EXPECT_EQ(1u, s.blocks);
    EXPECT_EQ(1u, s.unblocks);
    EXPECT_EQ(1u, s.applies);
    EXPECT_EQ(1u, s.resets);
    EXPECT_EQ(1u, s.otherActions);
    EXPECT_EQ(0, Stored(0xFC20).val[0]) << "actions do not change records";
}

// ---- get_info -----------------------------------------------------------

TEST_F(SimCore, GetInfoClipsToAskedLengthAndNeverWritesBeyond)
{
    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 5, 0xFC02));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_EQ(5, g.Len());
    EXPECT_EQ(0xFC02, g.Typ());
    EXPECT_EQ(6, g.Val(0));
    EXPECT_EQ(kSentinel, g.Val(4)) << "wrote past the asked length";

    g.Fill(kSentinel);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 100, 0xFC02));
    EXPECT_EQ(18, g.Len()) << "a longer request answers the record's own length";
    EXPECT_EQ(kSentinel, g.Val(17));

    g.Fill(kSentinel);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 1, 0xFC00));
    EXPECT_EQ(1, g.Len());
    EXPECT_EQ(kSentinel, g.Val(0));

    WlSimExchange x = LastLogged();
    EXPECT_EQ(1, x.lenIn);
    EXPECT_EQ(1, x.lenOut);
    EXPECT_TRUE(g.GuardsIntact());
}

TEST_F(SimCore, GetInfoOfMissingTypeAnswersLenOne)
{
    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 10, 0xFCFE));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_EQ(1, g.Len());
    EXPECT_EQ(0xFCFE, g.Typ());
    EXPECT_EQ(kSentinel, g.Val(0));
}

TEST_F(SimCore, GetInfoRefusesImpossibleLengths)
{
    for (uint16_t len : {uint16_t(0), uint16_t(WLSIM_LTV_MAX_LEN + 1), uint16_t(0xFFFF)}) {
        SCOPED_TRACE(len);
        Guarded g;
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, len, 0xFC00));
        EXPECT_EQ(WLSIM_RES_LEN, g.Result());
        EXPECT_EQ(len, g.Len());
        EXPECT_EQ(kSentinel, g.Val(0));
        EXPECT_TRUE(g.GuardsIntact());
    }
    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(3u, c.lenErrors);
    EXPECT_EQ(0u, State().gets);
}

TEST_F(SimCore, LargestRecordFillsTheWholeBlock)
{
    static WlSimRecord big;
    std::memset(&big, 0, sizeof big);
    big.adapter = 0;
    big.len = WLSIM_LTV_MAX_LEN;
    big.typ = 0x09F6;
    for (unsigned i = 0; i < WLSIM_VAL_WORDS; i++) big.val[i] = static_cast<uint16_t>(i * 7 + 1);
    ASSERT_EQ(SIM_OK, SimCoreSetRecord(&big));

    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, WLSIM_LTV_MAX_LEN, 0x09F6));
    EXPECT_EQ(WLSIM_LTV_MAX_LEN, g.Len());
    EXPECT_EQ(big.val[WLSIM_VAL_WORDS - 1], g.Val(WLSIM_VAL_WORDS - 1));
    EXPECT_TRUE(g.GuardsIntact());
}

TEST_F(SimCore, MisalignedBlockIsServed)
{
    Guarded g(1);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 18, 0xFC02));
    EXPECT_EQ(18, g.Len());
    EXPECT_EQ(6, g.Val(0));
    EXPECT_TRUE(g.GuardsIntact());
}

// ---- put_info -----------------------------------------------------------

TEST_F(SimCore, PutInfoStoresEchoesAndReplaces)
{
    Guarded g;
    g.SetWord(12, 512);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 2, 0xFC07));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_EQ(2, g.Len());
    EXPECT_EQ(0xFC07, g.Typ());
    EXPECT_EQ(512, g.Val(0)) << "the record is echoed as sent";
    EXPECT_EQ(kSentinel, g.Val(1));

    Guarded r;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(r, WLSIM_OP_GET_INFO, 2, 0xFC07));
    EXPECT_EQ(512, r.Val(0));

    int before = State().nRecords;
    Put({4, 0xFC07, 1, 2, 3});
    EXPECT_EQ(before, State().nRecords) << "a put of a known type replaces it";
    EXPECT_EQ(4, Stored(0xFC07).len);
    EXPECT_EQ(3, Stored(0xFC07).val[2]);
}

TEST_F(SimCore, PutInfoRefusesImpossibleLengthsAndKeepsTheRecord)
{
    for (uint16_t len :
         {uint16_t(0), uint16_t(1), uint16_t(WLSIM_LTV_MAX_LEN + 1), uint16_t(0xFFFF)}) {
        SCOPED_TRACE(len);
        Guarded g(0);
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, len, 0xFC00));
        EXPECT_EQ(WLSIM_RES_LEN, g.Result());
        EXPECT_TRUE(g.GuardsIntact());
    }
    EXPECT_EQ(2, Stored(0xFC00).len);
    EXPECT_EQ(1, Stored(0xFC00).val[0]);
    EXPECT_EQ(0u, State().puts);
}

TEST_F(SimCore, PutInfoBeyondRecordTableAnswersLen)
{
    int n = State().nRecords;
    for (uint16_t t = 0x1000; n < WLSIM_MAX_RECORDS; t++, n++) Put({2, t, t});
    Guarded g;
    g.SetWord(12, 9);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 2, 0x7777));
    EXPECT_EQ(WLSIM_RES_LEN, g.Result());
    Put({2, 0x1000, 42});  // replacing still works when full
    EXPECT_EQ(42, Stored(0x1000).val[0]);
}

TEST_F(SimCore, PutInfoWithoutMemoryAnswersLenAndKeepsOldRecord)
{
    AllocationsBeforeFailure = 0;
    Guarded g;
    g.SetWord(12, 3);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 2, 0xFC00));
    EXPECT_EQ(WLSIM_RES_LEN, g.Result());
    AllocationsBeforeFailure = -1;
    EXPECT_EQ(1, Stored(0xFC00).val[0]);
}

// ---- send_diag_msg ------------------------------------------------------

TEST_F(SimCore, DiagMessagesAreKeptNewestFirstAndBounded)
{
    Guarded g;
    for (int i = 0; i < WLSIM_DIAG_KEEP + 3; i++) {
        g.Block()[12] = static_cast<uint8_t>(i);
        g.Block()[13] = 0x5A;
        ASSERT_EQ(SIM_XCHG_ANSWERED,
                  Exchange(g, WLSIM_OP_SEND_DIAG_MSG, static_cast<uint16_t>(i + 1), 0));
        ASSERT_EQ(WLSIM_RES_SUCCESS, g.Result());
    }
    static WlSimDiagMsg m;
    WlSimDiagQuery q = {0, 0};
    ASSERT_EQ(SIM_OK, SimCoreDiag(&q, &m));
    EXPECT_EQ(static_cast<uint32_t>(WLSIM_DIAG_KEEP + 3), m.seq);
    EXPECT_EQ(WLSIM_DIAG_KEEP, m.kept);
    EXPECT_EQ(WLSIM_DIAG_KEEP + 3, m.len);
    EXPECT_EQ(WLSIM_DIAG_KEEP + 2, m.bytes[0]);

    q.back = WLSIM_DIAG_KEEP - 1;
    ASSERT_EQ(SIM_OK, SimCoreDiag(&q, &m));
    EXPECT_EQ(4u, m.seq) << "the oldest kept is the 16th from the end";
    EXPECT_EQ(4, m.len);
    EXPECT_EQ(0x5A, m.bytes[1]);

    q.back = WLSIM_DIAG_KEEP;
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreDiag(&q, &m));
    EXPECT_EQ(static_cast<uint32_t>(WLSIM_DIAG_KEEP + 3), State().diagMsgs);
}

TEST_F(SimCore, DiagMessageLengthLimits)
{
    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_SEND_DIAG_MSG, WLSIM_DIAG_MAX, 0));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    for (uint16_t len : {uint16_t(WLSIM_DIAG_MAX + 1), uint16_t(9000), uint16_t(0xFFFF)}) {
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_SEND_DIAG_MSG, len, 0));
        EXPECT_EQ(WLSIM_RES_LEN, g.Result());
    }
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_SEND_DIAG_MSG, 0, 0));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_TRUE(g.GuardsIntact());

    static WlSimDiagMsg m;
    WlSimDiagQuery q = {0, 1};
    ASSERT_EQ(SIM_OK, SimCoreDiag(&q, &m));
    EXPECT_EQ(static_cast<int32_t>(WLSIM_DIAG_MAX), m.len);
    EXPECT_EQ(0xA5, m.bytes[WLSIM_DIAG_MAX - 1]);
    q.back = 0;
    ASSERT_EQ(SIM_OK, SimCoreDiag(&q, &m));
    EXPECT_EQ(0, m.len);
    EXPECT_EQ(2, m.kept) << "refused messages are not kept";
}

// ---- faults -------------------------------------------------------------

TEST_F(SimCore, ResultFaultAnswersCodeWithoutActingForItsCount)
{
    Arm(WLSIM_OP_CONNECT, WLSIM_FAULT_RESULT, 2, WLSIM_RES_INCOMP_DRV);
    Guarded g;
    for (int i = 0; i < 2; i++) {
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_CONNECT, 0, 0));
        EXPECT_EQ(WLSIM_RES_INCOMP_DRV, g.Result());
        EXPECT_EQ(0, State().connected);
    }
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_CONNECT, 0, 0));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_EQ(1, State().connected);

    Arm(WLSIM_OP_GET_INFO, WLSIM_FAULT_RESULT, 1, WLSIM_RES_LEN);
    g.Fill(kSentinel);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC00));
    EXPECT_EQ(WLSIM_RES_LEN, g.Result());
    EXPECT_EQ(kSentinel, g.Val(0)) << "a faulted read returns no record";

    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(3u, c.faultResults);
    EXPECT_EQ(WLSIM_X_FAULT_RESULT, LastLogged().flags);
}

TEST_F(SimCore, FailCallFaultLeavesBlockUntouched)
{
    Arm(WLSIM_OP_GET_INFO, WLSIM_FAULT_FAIL_CALL, 1, 0);
    Guarded g;
    EXPECT_EQ(SIM_XCHG_FAILED, Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC00));
    EXPECT_EQ(0xC0000001u, status);
    EXPECT_EQ(0xA5A5A5A5u, g.Ifbp());
    EXPECT_EQ(0, g.Result());
    EXPECT_EQ(kSentinel, g.Val(0));

    Arm(WLSIM_OP_PUT_INFO, WLSIM_FAULT_FAIL_CALL, 1, 0xC0000185u);
    EXPECT_EQ(SIM_XCHG_FAILED, Exchange(g, WLSIM_OP_PUT_INFO, 2, 0xFC00));
    EXPECT_EQ(0xC0000185u, status);
    EXPECT_EQ(1, Stored(0xFC00).val[0]);

    Arm(WLSIM_OP_ACTION, WLSIM_FAULT_FAIL_CALL, 1, 0x00000103u);  // not an error status
    EXPECT_EQ(SIM_XCHG_FAILED, Exchange(g, WLSIM_OP_ACTION, 2, WLSIM_ACTION_APPLY));
    EXPECT_EQ(0xC0000001u, status);
    EXPECT_EQ(0u, State().applies);

    EXPECT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC00));
    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(3u, c.failedCalls);
}

TEST_F(SimCore, FaultPrecedenceTargetingAndDisarming)
{
    int status2;
    int32_t other = Add({"{5F1D2C3B-0000-4000-8000-000000000002}"}, &status2);
    ASSERT_EQ(1, other);
    const int otherSlot = SlotOf("{5F1D2C3B-0000-4000-8000-000000000002}");

    Arm(WLSIM_OP_CONNECT, WLSIM_FAULT_RESULT, 5, WLSIM_RES_IN_USE, other);
    Arm(WLSIM_OP_CONNECT, WLSIM_FAULT_FAIL_CALL, 1, 0, other);
    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_CONNECT, 0, 0));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result()) << "a fault for adapter 1 hit adapter 0";

    EXPECT_EQ(SIM_XCHG_FAILED, Exchange(g, WLSIM_OP_CONNECT, 0, 0, otherSlot))
        << "a failed call goes before a result";
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_CONNECT, 0, 0, otherSlot));
    EXPECT_EQ(WLSIM_RES_IN_USE, g.Result());

    Arm(WLSIM_OP_CONNECT, WLSIM_FAULT_RESULT, 0, 0, other);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_CONNECT, 0, 0, otherSlot));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result()) << "count 0 disarms";

    Arm(WLSIM_OP_GET_INFO, WLSIM_FAULT_RESULT, 3, WLSIM_RES_BUSY, other);
    ASSERT_EQ(SIM_OK, SimCoreRemoveAdapter(other));
    ASSERT_EQ(1, Add({"{5F1D2C3B-0000-4000-8000-000000000003}"}));
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC00,
                                          SlotOf("{5F1D2C3B-0000-4000-8000-000000000003}")));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result())
        << "faults of a removed adapter must not reach its successor";
}

TEST_F(SimCore, FaultRequestsAreChecked)
{
    WlSimFault bad[] = {
        {WLSIM_OPS, WLSIM_FAULT_RESULT, 1, 0, WLSIM_ANY_ADAPTER},
        {-1, WLSIM_FAULT_RESULT, 1, 0, WLSIM_ANY_ADAPTER},
        {0, WLSIM_FAULT_KINDS, 1, 0, WLSIM_ANY_ADAPTER},
        {0, WLSIM_FAULT_RESULT, -1, 0, WLSIM_ANY_ADAPTER},
        {0, WLSIM_FAULT_RESULT, 1, 0x10000, WLSIM_ANY_ADAPTER},
    };
    for (const WlSimFault &f : bad) EXPECT_EQ(SIM_E_PARAM, SimCoreSetFault(&f));
    WlSimFault unknownAdapter = {0, WLSIM_FAULT_RESULT, 1, 0, 5};
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreSetFault(&unknownAdapter));

    for (int i = 0; i < WLSIM_MAX_FAULTS; i++)
        Arm(i % WLSIM_OPS, i / WLSIM_OPS, 1, 0, i < 12 ? WLSIM_ANY_ADAPTER : 0);
    WlSimFault more = {4, WLSIM_FAULT_TRUE_LEN, 1, 0, 0};
    EXPECT_EQ(SIM_E_FULL, SimCoreSetFault(&more));
}

TEST_F(SimCore, TrueLengthFaultAnswersWholeRecord)
{
    Arm(WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0);
    Guarded g;
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC02));
    EXPECT_EQ(18, g.Len());
    EXPECT_EQ(0, g.Val(16));
    EXPECT_EQ(WLSIM_X_TRUE_LEN, LastLogged().flags);

    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC02));
    EXPECT_EQ(2, g.Len());
}

TEST_F(SimCore, ShortAnswerFaultAnswersButReportsFewerBytes)
{
    WlSimFault tooLong = {WLSIM_OP_GET_INFO, WLSIM_FAULT_SHORT_ANSWER, 1, WLSIM_BLOCK_SIZE, WLSIM_ANY_ADAPTER};
    EXPECT_EQ(SIM_E_PARAM, SimCoreSetFault(&tooLong));

    Arm(WLSIM_OP_GET_INFO, WLSIM_FAULT_SHORT_ANSWER, 1, 14);
    Guarded g;
    EXPECT_EQ(SIM_XCHG_SHORT_ANSWER, Exchange(g, WLSIM_OP_GET_INFO, 18, 0xFC02));
    EXPECT_EQ(14u, status);
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result()) << "the exchange itself is answered";
    EXPECT_EQ(WLSIM_X_SHORT, LastLogged().flags);

    EXPECT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 18, 0xFC02)) << "one use only";
}

// ---- counters and log ---------------------------------------------------

TEST_F(SimCore, CountersByOperationTypeAndAction)
{
    Guarded g;
    Exchange(g, WLSIM_OP_CONNECT, 0, 0);
    Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC00);
    Exchange(g, WLSIM_OP_GET_INFO, 2, 0xFC00);
    Exchange(g, WLSIM_OP_GET_INFO, 0xFFFF, 0xFC20);
    g.SetWord(12, 1);
    Exchange(g, WLSIM_OP_PUT_INFO, 2, 0xFC20);
    Exchange(g, WLSIM_OP_ACTION, 0, WLSIM_ACTION_APPLY);
    Exchange(g, WLSIM_OP_ACTION, 0, WLSIM_ACTION_APPLY);
    Exchange(g, WLSIM_OP_ACTION, 0, 99);
    Exchange(g, WLSIM_OP_SEND_DIAG_MSG, 4, 0);
    Exchange(g, WLSIM_OP_DISCONNECT, 0, 0);

    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(10u, c.exchanges);
    const uint32_t ops[WLSIM_OPS] = {1, 1, 3, 1, 3, 1};
    for (int i = 0; i < WLSIM_OPS; i++) EXPECT_EQ(ops[i], c.ops[i]) << "op " << i;
    ASSERT_EQ(2, c.nTypes);
    EXPECT_EQ(0xFC00, c.types[0].typ);
    EXPECT_EQ(2u, c.types[0].gets);
    EXPECT_EQ(0u, c.types[0].puts);
    EXPECT_EQ(0xFC20, c.types[1].typ);
    EXPECT_EQ(1u, c.types[1].gets) << "a refused read still counts by type";
    EXPECT_EQ(1u, c.types[1].puts);
    ASSERT_EQ(2, c.nActions);
    EXPECT_EQ(WLSIM_ACTION_APPLY, c.actions[0].code);
    EXPECT_EQ(2u, c.actions[0].count);
    EXPECT_EQ(99, c.actions[1].code);
    EXPECT_EQ(1u, c.lenErrors);

    WlSimAdapterState s = State();
    EXPECT_EQ(2u, s.gets);
    EXPECT_EQ(1u, s.puts);
    EXPECT_EQ(1, s.applied);
}

TEST_F(SimCore, CounterTablesOverflowIntoDropped)
{
    Guarded g;
    for (int t = 0; t < WLSIM_TYPE_SLOTS + 2; t++)
        Exchange(g, WLSIM_OP_GET_INFO, 2, static_cast<uint16_t>(0x2000 + t));
    for (int a = 0; a < WLSIM_ACTION_SLOTS + 1; a++)
        Exchange(g, WLSIM_OP_ACTION, 0, static_cast<uint16_t>(200 + a));
    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(WLSIM_TYPE_SLOTS, c.nTypes);
    EXPECT_EQ(2u, c.typesDropped);
    EXPECT_EQ(WLSIM_ACTION_SLOTS, c.nActions);
    EXPECT_EQ(1u, c.actionsDropped);
}

TEST_F(SimCore, LogKeepsNewestExchangesOldestFirst)
{
    Guarded g;
    for (int i = 0; i < WLSIM_LOG_KEEP + 6; i++)
        Exchange(g, WLSIM_OP_GET_INFO, static_cast<uint16_t>(i % 3 + 1),
                 static_cast<uint16_t>(0x3000 + i));
    static WlSimExchangeLog log;
    SimCoreExchanges(&log);
    EXPECT_EQ(static_cast<uint32_t>(WLSIM_LOG_KEEP + 6), log.total);
    ASSERT_EQ(WLSIM_LOG_KEEP, log.n);
    EXPECT_EQ(7u, log.e[0].seq);
    EXPECT_EQ(0x3006, log.e[0].typ);
    EXPECT_EQ(static_cast<uint32_t>(WLSIM_LOG_KEEP + 6), log.e[WLSIM_LOG_KEEP - 1].seq);
    EXPECT_EQ(0, log.e[0].adapter);
    EXPECT_EQ(WLSIM_OP_GET_INFO, log.e[0].op);
    EXPECT_EQ(1, log.e[0].lenIn);  // 6 % 3 + 1
    EXPECT_EQ(1, log.e[0].lenOut);

    SimCoreClearLog();
    SimCoreExchanges(&log);
    EXPECT_EQ(0u, log.total);
    EXPECT_EQ(0, log.n);
    WlSimCounters c;
    SimCoreCounters(&c);
    EXPECT_EQ(0u, c.exchanges);
}

// ---- adapters and names -------------------------------------------------

TEST_F(SimCore, NamesAreUniqueIgnoringCaseAndWellFormed)
{
    int rc;
    EXPECT_EQ(-1, Add({"wuvxq48e.VXD"}, &rc));
    EXPECT_EQ(SIM_E_EXISTS, rc);
    EXPECT_EQ(-1, Add({"A", "a"}, &rc));
    EXPECT_EQ(SIM_E_EXISTS, rc);
    for (const char *bad : {"", "a\\b", "a/b", "C:", "two words"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(-1, Add({bad}, &rc));
        EXPECT_EQ(SIM_E_PARAM, rc);
    }
    WlSimAddAdapter unterminated;
    std::memset(&unterminated, 'x', sizeof unterminated);
    unterminated.nNames = 1;
    int32_t idx;
    EXPECT_EQ(SIM_E_PARAM, SimCoreAddAdapter(&unterminated, &idx));
    unterminated.nNames = WLSIM_NAMES_PER_ADD + 1;
    EXPECT_EQ(SIM_E_PARAM, SimCoreAddAdapter(&unterminated, &idx));
    EXPECT_EQ(1, Add({"WuVXQ48C.vxd"})) << "a refused add must not use up a slot";
}

TEST_F(SimCore, AdapterAndNameCapacity)
{
    int rc;
    for (int i = 1; i < WLSIM_MAX_ADAPTERS; i++) ASSERT_EQ(i, Add({}));
    EXPECT_EQ(-1, Add({}, &rc));
    EXPECT_EQ(SIM_E_FULL, rc);

    ASSERT_EQ(SIM_OK, SimCoreRemoveAdapter(3));
    char names[WLSIM_MAX_NAMES][WLSIM_NAME_CHARS];
    WlSimAddAdapter req;
    std::memset(&req, 0, sizeof req);
    req.nNames = WLSIM_NAMES_PER_ADD;
    for (int i = 0; i < WLSIM_NAMES_PER_ADD; i++) {
        std::snprintf(names[i], WLSIM_NAME_CHARS, "n%d", i);
        std::memcpy(req.names[i], names[i], WLSIM_NAME_CHARS);
    }
    int32_t idx;
    ASSERT_EQ(SIM_OK, SimCoreAddAdapter(&req, &idx));
    EXPECT_EQ(3, idx);

    WlSimMapName map;
    std::memset(&map, 0, sizeof map);
    map.adapter = 1;
    int added = 0;
    for (int i = 0; i < WLSIM_MAX_NAMES; i++) {
        std::snprintf(map.name, WLSIM_NAME_CHARS, "m%d", i);
        if (SimCoreMapName(&map) != SIM_OK) break;
        added++;
    }
    EXPECT_EQ(WLSIM_MAX_NAMES - 2 - WLSIM_NAMES_PER_ADD, added);
    std::snprintf(map.name, WLSIM_NAME_CHARS, "last");
    EXPECT_EQ(SIM_E_FULL, SimCoreMapName(&map));
    ASSERT_EQ(SIM_OK, SimCoreRemoveAdapter(3));
    EXPECT_EQ(SIM_OK, SimCoreMapName(&map)) << "removing an adapter frees its names";
}

TEST_F(SimCore, MapNameMovesUnmapsAndCarriesHandles)
{
    ASSERT_EQ(1, Add({}));
    const int slot = SlotOf("WuVXQ48E.vxd");
    SimCoreHandle(slot, 1);
    SimCoreHandle(slot, 1);
    EXPECT_EQ(2, State(0).openHandles);

    WlSimMapName map;
    std::memset(&map, 0, sizeof map);
    std::snprintf(map.name, WLSIM_NAME_CHARS, "wuvxq48e.vxd");
    map.adapter = 1;
    ASSERT_EQ(SIM_OK, SimCoreMapName(&map));
    EXPECT_EQ(slot, SlotOf("WuVXQ48E.vxd")) << "a moved name keeps its device";
    EXPECT_EQ(0, State(0).openHandles);
    EXPECT_EQ(2, State(1).openHandles);
    EXPECT_EQ(1, State(0).nNames);
    EXPECT_EQ(1, State(1).nNames);

    Guarded g;
    Exchange(g, WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(WLSIM_IFBP_BASE + 1u, g.Ifbp());
    EXPECT_EQ(1u, State(1).connects);

    SimCoreHandle(slot, 0);
    EXPECT_EQ(1, State(1).openHandles);
    EXPECT_EQ(2u, State(0).opens);

    map.adapter = WLSIM_ANY_ADAPTER;
    ASSERT_EQ(SIM_OK, SimCoreMapName(&map));
    EXPECT_EQ(nullptr, SimCoreSlotName(slot));
    EXPECT_EQ(0, State(1).openHandles);
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreMapName(&map));
    g.Header(WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(SIM_XCHG_NO_ADAPTER, Raw(g, slot));

    map.adapter = 6;
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreMapName(&map));
}

TEST_F(SimCore, DirectRecordAccess)
{
    static WlSimRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.adapter = 0;
    rec.len = 3;
    rec.typ = 0xFD02;
    rec.val[0] = 0x1F;
    rec.val[1] = 0x2;
    ASSERT_EQ(SIM_OK, SimCoreSetRecord(&rec));
    EXPECT_EQ(3, Stored(0xFD02).len);
    EXPECT_EQ(0x2, Stored(0xFD02).val[1]);

    WlSimRecordKey key = {0, 0xFD02, 0};
    ASSERT_EQ(SIM_OK, SimCoreDeleteRecord(&key));
    EXPECT_EQ(0, Stored(0xFD02).len);
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreDeleteRecord(&key));

    rec.len = 0;
    EXPECT_EQ(SIM_E_PARAM, SimCoreSetRecord(&rec));
    rec.len = WLSIM_LTV_MAX_LEN + 1;
    EXPECT_EQ(SIM_E_PARAM, SimCoreSetRecord(&rec));
    rec.len = 2;
    rec.adapter = 4;
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreSetRecord(&rec));
    key.adapter = -1;
    WlSimRecord out;
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreGetRecord(&key, &out));
}

TEST_F(SimCore, AddAdapterWithoutMemoryLeavesNothingBehind)
{
    for (int budget = 0; budget < 5; budget++) {
        AllocationsBeforeFailure = budget;
        int rc;
        EXPECT_EQ(-1, Add({"x"}, &rc));
        EXPECT_EQ(SIM_E_NOMEM, rc);
    }
    AllocationsBeforeFailure = -1;
    EXPECT_EQ(1, Add({"x"})) << "the failed adds left a slot or name in use";
}

TEST_F(SimCore, ResetRemovesEverything)
{
    Arm(WLSIM_OP_CONNECT, WLSIM_FAULT_RESULT, 1, 65);
    Guarded g;
    Exchange(g, WLSIM_OP_SEND_DIAG_MSG, 10, 0);
    ASSERT_EQ(SIM_OK, SimCoreReset());
    EXPECT_EQ(0, LiveAllocations);
    EXPECT_EQ(-1, SlotOf("WuVXQ48E.vxd"));
    WlSimAdapterState s;
    EXPECT_EQ(SIM_E_NOT_FOUND, SimCoreAdapterState(0, &s));
    ASSERT_EQ(0, Add({"WuVXQ48E.vxd"}));
    Exchange(g, WLSIM_OP_CONNECT, 0, 0);
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result()) << "reset must disarm faults";
}

// ---- hostile blocks -----------------------------------------------------

TEST_F(SimCore, RandomBlocksStayInBounds)
{
    std::srand(1234);
    Guarded g(3);
    for (int i = 0; i < 20000; i++) {
        uint16_t words[6];
        for (uint16_t &w : words) w = static_cast<uint16_t>(std::rand());
        uint16_t function = words[0] % 8;
        uint16_t len = (words[1] & 1) ? words[2] : static_cast<uint16_t>(words[2] % 4100);
        uint16_t typ = (words[3] & 1) ? static_cast<uint16_t>(0xFC00 + words[4] % 8) : words[4];
        Exchange(g, function, len, typ);
        ASSERT_TRUE(g.GuardsIntact()) << "op " << function << " len " << len;
    }
}

TEST_F(SimCore, ExchangeCost)
{
    Guarded g;
    const int n = 200000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; i++) Exchange(g, WLSIM_OP_GET_INFO, 18, 0xFC02);
    double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                    .count() /
                n;
    RecordProperty("microseconds_per_exchange", std::to_string(us));
    std::printf("core exchange: %.3f us\n", us);
    EXPECT_LT(us, 100.0);
}

// ---- coded key and country records ----------------------------------------

// An area record of `typ` carrying `bytes`, two to a word, low byte first.
std::vector<uint16_t> AreaRecord(uint16_t typ, const std::string &bytes)
{
    const size_t words = (bytes.size() + 1) / 2;
    std::vector<uint16_t> ltv(2 + words, 0);
    ltv[0] = static_cast<uint16_t>(1 + words);
    ltv[1] = typ;
    std::memcpy(&ltv[2], bytes.data(), bytes.size());
    return ltv;
}

// The value bytes of a stored record.
std::vector<uint8_t> ValueBytes(const WlSimRecord &r)
{
    const size_t n = r.len > 1 ? 2u * (r.len - 1u) : 0u;
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.val);
    return std::vector<uint8_t>(p, p + n);
}

// What the library's coding gives for `text`, padded to whole words.
std::vector<uint8_t> Decoded(const std::string &text)
{
    std::vector<uint8_t> plain(text.size() + 4, 0);
    int n = WEPDecode(CRYPT_CODE, plain.data(), static_cast<int>(plain.size()), text.c_str());
    plain.resize(static_cast<size_t>(n) + (n & 1));
    return plain;
}

std::string Coded(const std::vector<uint8_t> &plain)
{
    std::vector<char> text(plain.size() * 2 + 8);
    WEPCode(CRYPT_CODE, text.data(), static_cast<int>(text.size()), plain.data(),
            static_cast<int>(plain.size()));
    return text.data();
}

TEST_F(SimCore, CodedTypesAndTheirCompanions)
{
    EXPECT_EQ(0x0980, WLSIM_DECODED_TYPE(WLSIM_CODED_KEY_TYPE));
    EXPECT_EQ(0x0985, WLSIM_DECODED_TYPE(WLSIM_CODED_COUNTRY_TYPE));
}

TEST_F(SimCore, CodedCountryPutKeepsTheStoredTextAndItsPlainRecord)
{
    // A country record of 96 bytes: "HK" with two channel sets.
    const uint16_t words[48] = {11, 0xFC29, 2, 'H', 'K', ' ', 1, 11, 30, 12, 2, 20};
    std::vector<uint8_t> plain(reinterpret_cast<const uint8_t *>(words),
                               reinterpret_cast<const uint8_t *>(words) + sizeof words);
    const std::string text = Coded(plain);
    ASSERT_EQ(128u, text.size());
    Put(AreaRecord(0x0905, text));

    WlSimRecord coded = Stored(0x0905);
    EXPECT_EQ(65, coded.len) << "the put itself is kept as it came";
    EXPECT_EQ(0, std::memcmp(coded.val, text.data(), text.size()));

    WlSimRecord companion = Stored(0x0985);
    ASSERT_EQ(49, companion.len);
    EXPECT_EQ(plain, ValueBytes(companion));
    EXPECT_EQ(1u, State().puts) << "decoding is no put of its own";
}

TEST_F(SimCore, CodedKeyPutDecodesTheDefaultKeyRecord)
{
    Put(AreaRecord(0x0900, DefaultCodedKey));
    WlSimRecord companion = Stored(0x0980);
    ASSERT_EQ(1 + WEP_KEY_RECORD_SIZE / 2, companion.len);
    const std::vector<uint8_t> plain = ValueBytes(companion);
    EXPECT_EQ(Decoded(DefaultCodedKey), plain);
    EXPECT_EQ(std::string(DefaultCodedKey), Coded(plain)) << "coding the plain record gives the text back";
    EXPECT_EQ(0, std::memcmp(plain.data(), "whWH", 4));
}

TEST_F(SimCore, CodedTextEndsAtItsFirstZeroByteAndOddCountsArePadded)
{
    // Five characters give three bytes; what follows the zero byte is not text.
    std::string bytes = std::string("ABCDE") + '\0' + "garbage!";
    Put(AreaRecord(0x0905, bytes));
    WlSimRecord companion = Stored(0x0985);
    ASSERT_EQ(3, companion.len);
    EXPECT_EQ(Decoded("ABCDE"), ValueBytes(companion));
    EXPECT_EQ(0, ValueBytes(companion)[3]) << "odd byte count padded with zero";
}

TEST_F(SimCore, CodedTextOfNoByteLeavesAnEmptyCompanion)
{
    Put(AreaRecord(0x0905, std::string("ABCDEFGH")));
    ASSERT_EQ(4, Stored(0x0985).len) << "8 characters, 6 bytes";
    for (const std::string &text : {std::string(2, '\0'), std::string("Q") + '\0'}) {
        Put(AreaRecord(0x0905, text));
        EXPECT_EQ(1, Stored(0x0985).len) << "no byte decoded: companion without value";
    }
}

TEST_F(SimCore, LargestUnterminatedCodedTextDecodesWithinBounds)
{
    // 4096 value words of text and no terminator: 8192 characters.
    std::string text(2 * WLSIM_VAL_WORDS, 'e');
    for (size_t i = 0; i < text.size(); i++) text[i] = static_cast<char>('&' + (i * 7) % 64);
    Guarded g(1);
    for (size_t i = 0; i < WLSIM_VAL_WORDS; i++) {
        uint16_t w;
        std::memcpy(&w, text.data() + 2 * i, 2);
        g.SetWord(12 + 2 * i, w);
    }
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, WLSIM_LTV_MAX_LEN, 0x0905));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_TRUE(g.GuardsIntact());
    WlSimRecord companion = Stored(0x0985);
    ASSERT_EQ(1 + 6144 / 2, companion.len);
    EXPECT_EQ(Decoded(text), ValueBytes(companion));
}

TEST_F(SimCore, CharactersOutsideTheAlphabetDecodeLikeTheLibrary)
{
    std::srand(99);
    for (int round = 0; round < 200; round++) {
        std::string text(1 + std::rand() % 300, 'x');
        for (char &c : text) c = static_cast<char>(1 + std::rand() % 255);
        Put(AreaRecord(round % 2 ? 0x0900 : 0x0905, text));
        WlSimRecord companion = Stored(round % 2 ? 0x0980 : 0x0985);
        ASSERT_EQ(Decoded(text), ValueBytes(companion)) << "round " << round;
    }
}

TEST_F(SimCore, OnlyCodedPutsAreDecoded)
{
    Put(AreaRecord(0x0901, "ABCDEFGH"));
    Put(AreaRecord(0xFC29, "ABCDEFGH"));
    EXPECT_EQ(0, Stored(0x0981).len);
    EXPECT_EQ(0, Stored(0xFCA9).len);

    // Records stored through the control interface are not decoded.
    WlSimRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.adapter = adapter;
    rec.len = 3;
    rec.typ = 0x0905;
    std::memcpy(rec.val, "ABCD", 4);
    ASSERT_EQ(SIM_OK, SimCoreSetRecord(&rec));
    EXPECT_EQ(0, Stored(0x0985).len);
}

TEST_F(SimCore, CompanionThatCannotBeStoredIsRemoved)
{
    Put(AreaRecord(0x0905, "ABCDEFGH"));
    ASSERT_EQ(4, Stored(0x0985).len) << "8 characters, 6 bytes";
    // Each failure point of the decoding: the text, the plain bytes, the
    // companion's own copy. The put itself succeeds every time.
    for (int allowed = 1; allowed <= 3; allowed++) {
        SCOPED_TRACE(allowed);
        Put(AreaRecord(0x0905, "ABCDEFGH"));
        ASSERT_EQ(4, Stored(0x0985).len) << "8 characters, 6 bytes";
        AllocationsBeforeFailure = allowed;
        Put(AreaRecord(0x0905, "ZYXWVUTS"));
        AllocationsBeforeFailure = -1;
        EXPECT_EQ(0, std::memcmp(Stored(0x0905).val, "ZYXWVUTS", 8));
        EXPECT_EQ(0, Stored(0x0985).len) << "a stale companion would not match the put";
    }

    // A full record table leaves no slot for a new companion.
    int n = State().nRecords;
    for (uint16_t t = 0x1000; n < WLSIM_MAX_RECORDS; t++, n++) Put({2, t, t});
    Put(AreaRecord(0x0905, "ABCDEFGH"));
    EXPECT_EQ(0, Stored(0x0985).len);
}

}  // namespace

// ---- diagnostic commands and memory --------------------------------------

#include "simdiag.h"

namespace {

WlSimDiagState DiagState(int32_t a = 0)
{
    static WlSimDiagState st;
    EXPECT_EQ(0, SimDiagGetState(a, &st));
    return st;
}

}  // namespace

TEST_F(SimCore, MemoryReadStaysWithinTheRecordAsked)
{
    struct Case {
        uint16_t count, asked, result, lenOut;
    } cases[] = {
        {10, 5, WLSIM_RES_LEN, 5},         // asks for more than the record holds
        {2, 5 + 127, WLSIM_RES_LEN, 5},    // one word short
        {64, 4097, WLSIM_RES_LEN, 5},      // more than the block carries
        {2, 5 + 128, WLSIM_RES_SUCCESS, 5 + 128},
        {63, 5 + 63 * 64, WLSIM_RES_SUCCESS, 5 + 63 * 64},
        {0, 5, WLSIM_RES_SUCCESS, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        Guarded g;
        g.SetWord(12, c.count);
        g.SetWord(14, 3); // first block
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, c.asked, WLSIM_TYPE_MEMORY));
        EXPECT_EQ(c.result, g.Result());
        EXPECT_EQ(c.lenOut, g.Len());
        size_t written = c.result == WLSIM_RES_SUCCESS ? 4 + 64u * c.count : 4;
        for (size_t i = written; i < WLSIM_VAL_WORDS; i++) ASSERT_EQ(kSentinel, g.Val(i)) << i;
        if (c.result == WLSIM_RES_SUCCESS && c.count) {
            EXPECT_EQ((uint16_t)(3 * 64), g.Val(4)); // seed 0: word = offset / 2
            EXPECT_EQ((uint16_t)(3 * 64 + 64 * c.count - 1), g.Val(4 + 64u * c.count - 1));
        }
        EXPECT_TRUE(g.GuardsIntact());
    }
    EXPECT_EQ(3u, DiagState().memoryReads);
}

TEST_F(SimCore, CommandsAreAnsweredCountedAndNotStored)
{
    Guarded g;
    g.Fill(0);
    g.SetWord(12, 0x0F38);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 12, WLSIM_TYPE_NIC_CMD));
    EXPECT_EQ(WLSIM_RES_SUCCESS, g.Result());
    EXPECT_EQ(0x4830, g.Val(7)); // the hardware id
    EXPECT_EQ(0, Stored(WLSIM_TYPE_NIC_CMD).len);

    // read back: cleared, of the asked len at most
    g.Fill(kSentinel);
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_GET_INFO, 1201, WLSIM_TYPE_NIC_CMD));
    EXPECT_EQ(12, g.Len());
    EXPECT_EQ(0, g.Val(0));
    EXPECT_EQ(kSentinel, g.Val(11));

    g.Fill(0);
    g.SetWord(12, 0x0077); // no such operation
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 12, WLSIM_TYPE_NIC_CMD));
    EXPECT_EQ(WLSIM_RES_CMD_REFUSED, g.Result());
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 5, WLSIM_TYPE_NIC_CMD));
    EXPECT_EQ(WLSIM_RES_LEN, g.Result());

    g.Fill(0);
    g.SetWord(14, WLSIM_HIF_REGS); // register beyond the file
    ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 4, WLSIM_TYPE_HIF_CMD));
    EXPECT_EQ(WLSIM_RES_CMD_REFUSED, g.Result());

    WlSimDiagState st = DiagState();
    EXPECT_EQ(4u, st.commands);
    EXPECT_EQ(3u, st.refused);
    ASSERT_EQ(4, st.nKept);
    EXPECT_EQ(0x0F38, st.kept[0].w[0]);
    EXPECT_EQ(WLSIM_TYPE_HIF_CMD, st.kept[3].typ);
    ASSERT_GE(st.nCounts, 2);
    EXPECT_EQ(0x0F38, st.counts[0].word0);
    EXPECT_EQ(1u, st.counts[0].count);
    EXPECT_EQ(0x0077, st.counts[1].word0);
    EXPECT_EQ(2u, st.counts[1].count);
}

TEST_F(SimCore, RegisterFileFullIsRefused)
{
    Guarded g;
    for (int i = 0; i <= WLSIM_MIF_REGS; i++) {
        g.Fill(0);
        g.SetWord(12, 0x0031);
        g.SetWord(14, (uint16_t)i);
        ASSERT_EQ(SIM_XCHG_ANSWERED, Exchange(g, WLSIM_OP_PUT_INFO, 12, WLSIM_TYPE_NIC_CMD));
        EXPECT_EQ(i < WLSIM_MIF_REGS ? WLSIM_RES_SUCCESS : WLSIM_RES_LEN, g.Result()) << i;
    }
}
