/*
 * Connection lifecycle, deferred apply, temporary connections and generic
 * record access, end to end through the stand-in driver's counters.
 */
#include "driver_fixture.h"

static bool Has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

/* ---- Connection state ---- */

class ConnectionTest : public DriverTest {};

TEST_P(ConnectionTest, ConnectedFollowsConnectAndDisconnect)
{
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnected)());
    WlSimAdapterState st = State();
    EXPECT_EQ(1, st.connected);
    EXPECT_EQ(1, st.openHandles);

    /* connecting again reopens nothing */
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(1u, State().opens);

    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    st = State();
    EXPECT_EQ(0, st.connected);
    EXPECT_EQ(0, st.openHandles);
    EXPECT_EQ(1u, st.disconnects);

    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLDisconnect)());
    EXPECT_TRUE(Has(lib().returnString(), "returned [Connected == WL_NOT_CONNECTED] (WL_NOT_CONNECTED, 0x00002330, 9008) ERROR"))
        << lib().returnString();
    EXPECT_EQ(1u, SimCountersNow().ops[WLSIM_OP_DISCONNECT]);
}

/* Unloading a connected library disconnects it from the driver. */
TEST_P(ConnectionTest, UnloadWhileConnectedReleasesTheChannel)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    EXPECT_EQ(1u, State().openHandles);
    lib_.reset();
    WlSimAdapterState st = State();
    EXPECT_EQ(0u, st.openHandles);
    EXPECT_EQ(1u, st.disconnects);
    EXPECT_EQ(0u, st.connected);
}

TEST_P(ConnectionTest, ApplySetChecksValueThenConnection)
{
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLApplySet)(1));
    EXPECT_TRUE(Has(lib().returnString(), "[Connected == WL_NOT_CONNECTED]")) << lib().returnString();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLApplySet)(2));
    EXPECT_TRUE(Has(lib().returnString(), "[!INTERVAL (0, <=, Val, <=, 1)] (WL_INVALID_PARAMETER"))
        << lib().returnString();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLApplySet)(-1));
    /* switching the mode never connects */
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLApplySet)(2));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(0));
}

TEST_P(ConnectionTest, TemporaryConnectionOpensAndClosesTheChannel)
{
    Record r = Record::Of(0xFC00, {kSentinel});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ(2, r.w[0]);
    EXPECT_EQ(1, r.w[2]);
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_GET_INFO]);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(3u, c.exchanges);
    WlSimAdapterState st = State();
    EXPECT_EQ(0, st.openHandles);
    EXPECT_EQ(1u, st.opens);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
}

TEST_P(ConnectionTest, CallerConnectionIsKeptAcrossCalls)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    SimClearLog();
    for (int i = 0; i < 3; i++) {
        Record r = Record::Of(0xFC00, {0});
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    }
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(3u, c.exchanges);
    EXPECT_EQ(3u, c.ops[WLSIM_OP_GET_INFO]);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnected)());
}

TEST_P(ConnectionTest, ResetBlockUnblockSendTheirActions)
{
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLBlock)());
    EXPECT_EQ(1, State().blocked);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLUnblock)());
    EXPECT_EQ(0, State().blocked);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_BLOCK));
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_UNBLOCK));
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_RESET));
    EXPECT_EQ(3u, c.ops[WLSIM_OP_ACTION]);
    /* each within its own temporary connection */
    EXPECT_EQ(3u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(3u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(1u, State().resets);
    EXPECT_EQ(0, State().openHandles);
}

TEST_P(ConnectionTest, ActionFailuresReachTheCaller)
{
    ASSERT_EQ(0, SimFault(WLSIM_OP_ACTION, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLBlock)());
    EXPECT_EQ("<action> low level error code [UIL_ERR_TIME_OUT] (0x4, 4)", lib().generalError());
    EXPECT_EQ(0, State().blocked);
    /* a temporary connection that failed to connect does not do the work */
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 1, WLSIM_RES_IN_USE));
    SimClearLog();
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLReset)());
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ("<connect> low level error code [UIL_ERR_IN_USE] (0x44, 68)", lib().generalError());
    EXPECT_EQ(0, State().openHandles);
}

TEST_P(ConnectionTest, GenericActionNeverConnectsByItself)
{
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLGenericAction)(77));
    EXPECT_TRUE(Has(lib().returnString(), "[WLConnected () == WL_NOT_CONNECTED] (WL_NOT_CONNECTED"))
        << lib().returnString();
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(0u, State().opens);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLGenericAction)(77));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLGenericAction)(WL_ACTION_BLOCK));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, 77));
    EXPECT_EQ(1u, State().otherActions);
    EXPECT_EQ(1, State().blocked);
}

TEST_P(ConnectionTest, GenericActionRefusesCodesBeyondSixteenBits)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    SimClearLog();
    /* 0x10080 must not turn into the reset action 0x80 */
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLGenericAction)(0x10000 + WL_ACTION_RESET));
    EXPECT_TRUE(Has(lib().returnString(), "[Code > USHRT_MAX] (WL_INVALID_PARAMETER")) << lib().returnString();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLGenericAction)(0xFFFFFFFF));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(0u, State().resets);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLGenericAction)(0xFFFF));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, 0xFFFF));
}

TEST_P(ConnectionTest, DiagnosticMessageReachesTheAdapter)
{
    unsigned char msg[300];
    for (size_t i = 0; i < sizeof msg; i++) msg[i] = (unsigned char)(i * 7 + 1);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLGenericSendDiagMsg)(msg, sizeof msg));
    EXPECT_TRUE(Has(lib().returnString(), "[WLConnected () == WL_NOT_CONNECTED]")) << lib().returnString();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLGenericSendDiagMsg)(NULL, 4));
    EXPECT_TRUE(Has(lib().returnString(), "[Val == NULL]"));
    EXPECT_EQ(0u, SimCountersNow().exchanges);

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSendDiagMsg)(msg, sizeof msg));
    static WlSimDiagMsg got;
    ASSERT_EQ(0, SimDiagMessage(sim_, 0, &got)) << SimLastErrorText();
    ASSERT_EQ((int)sizeof msg, got.len);
    EXPECT_EQ(0, memcmp(msg, got.bytes, sizeof msg));
    EXPECT_EQ(1u, State().diagMsgs);
}

TEST_P(ConnectionTest, DiagnosticMessageLengthIsBounded)
{
    static unsigned char big[70000];
    for (size_t i = 0; i < sizeof big; i++) big[i] = (unsigned char)(i ^ (i >> 8));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSendDiagMsg)(big, 8192));
    static WlSimDiagMsg got;
    ASSERT_EQ(0, SimDiagMessage(sim_, 0, &got));
    ASSERT_EQ(8192, got.len);
    EXPECT_EQ(0, memcmp(big, got.bytes, 8192));
    lib().generalError();

    for (DWORD len : {8193u, 65535u, 65536u, 70000u}) {
        SCOPED_TRACE(len);
        EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib(), WLGenericSendDiagMsg)(big, len));
        EXPECT_EQ("<send_diag_msg> low level error code [UIL_ERR_LEN] (0x8, 8)", lib().generalError());
    }
    /* refused before any exchange: only the one message above arrived */
    EXPECT_EQ(1u, SimCountersNow().ops[WLSIM_OP_SEND_DIAG_MSG]);
    EXPECT_EQ(1u, State().diagMsgs);
    /* the channel is still usable */
    Record r = Record::Of(0xFC00, {0});
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
}

INSTANTIATE_TEST_SUITE_P(All, ConnectionTest, testing::ValuesIn(kVariants), VariantName);

/* ---- Read before write and the apply action ---- */

class ApplyTest : public DriverTest {};

TEST_P(ApplyTest, UnchangedWriteCostsOneRead)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 0)); /* equal to the stored record */
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.exchanges);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_GET_INFO]);
    EXPECT_EQ(1u, SimTypeGets(&c, 0xFC20));
    EXPECT_EQ(0u, c.ops[WLSIM_OP_PUT_INFO]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_ACTION]);

    /* a longer record of the same type: compared by len and every value */
    Store({4, 0xFC01, 0x1111, 0x2222, 0x3333});
    SimClearLog();
    Record same = Record::Of(0xFC01, {0x1111, 0x2222, 0x3333});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSet)(same.ltv()));
    EXPECT_EQ(0u, SimCountersNow().ops[WLSIM_OP_PUT_INFO]);
    Record last = Record::Of(0xFC01, {0x1111, 0x2222, 0x3334});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSet)(last.ltv()));
    Record shorter = Record::Of(0xFC01, {0x1111, 0x2222});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSet)(shorter.ltv()));
    EXPECT_EQ(2u, SimCountersNow().ops[WLSIM_OP_PUT_INFO]);
    EXPECT_EQ((std::vector<uint16_t>{3, 0xFC01, 0x1111, 0x2222}), Stored(0xFC01));
}

TEST_P(ApplyTest, UnchangedWriteWithoutConnection)
{
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 0));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_GET_INFO]);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_PUT_INFO]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(3u, c.exchanges);
}

TEST_P(ApplyTest, ChangedWriteIsAppliedAtOnce)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 1));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(3u, c.exchanges);
    EXPECT_EQ(1u, SimTypeGets(&c, 0xFC20));
    EXPECT_EQ(1u, SimTypePuts(&c, 0xFC20));
    EXPECT_EQ(1u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFC20, 1}), Stored(0xFC20));
    WlSimAdapterState st = State();
    EXPECT_EQ(1u, st.applies);
    EXPECT_EQ(0u, st.unappliedPuts);
    /* the order on the wire: read, write, apply */
    WlSimExchangeLog log;
    ASSERT_EQ(0, SimLastExchanges(&log));
    ASSERT_EQ(3, log.n);
    EXPECT_EQ(WLSIM_OP_GET_INFO, log.e[0].op);
    EXPECT_EQ(WLSIM_OP_PUT_INFO, log.e[1].op);
    EXPECT_EQ(WLSIM_OP_ACTION, log.e[2].op);
    EXPECT_EQ(WL_ACTION_APPLY, log.e[2].typ);
    /* no apply is left pending */
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
}

TEST_P(ApplyTest, ChangedWriteWithoutConnectionClosesAgain)
{
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 1));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ(1u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(0, State().openHandles);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
}

/* Which record types a changed write applies, per variant. */
TEST_P(ApplyTest, RecordTypesThatNeedTheApplyAction)
{
    struct Case {
        uint16_t typ;
        uint16_t newVal;
        bool applyCD, applyEF;
    };
    const Case cases[] = {
        {0xFC20, 1, true, true},     {0xFC21, 0, true, false},   {0xFC00, 3, true, true},
        {0xFC7F, 9, true, true},     {0xFC80, 9, false, false},  {0xFC83, 500, false, false},
        {0xFC84, 3, true, true},     {0xFCC7, 1, true, true},    {0x0902, 1, true, true},
        {0x0905, 1, true, true},     {0x0907, 1, true, true},    {0x0908, 1, true, true},
        {0x0906, 1, false, false},   {0xFD40, 5, false, false},
    };
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << "type 0x" << std::hex << k.typ);
        /* a value that differs from the stand-in's current record */
        uint16_t val = k.newVal;
        std::vector<uint16_t> stored = Stored(k.typ);
        if (stored.size() >= 3 && stored[2] == val) val ^= 1;
        SimClearLog();
        ASSERT_EQ(WL_SUCCESS, Set1(k.typ, val));
        WlSimCounters c = SimCountersNow();
        EXPECT_EQ(1u, SimTypePuts(&c, k.typ));
        EXPECT_EQ((v_.cd() ? k.applyCD : k.applyEF) ? 1u : 0u, SimActionCount(&c, WL_ACTION_APPLY));
    }
}

TEST_P(ApplyTest, DeferredWritesAreAppliedOnceAtApply)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    SimClearLog();
    const uint16_t types[] = {0xFC20, 0xFC05, 0xFC0C, 0xFC23, 0xFC84};
    int n = 0;
    for (uint16_t typ : types) {
        ASSERT_EQ(WL_SUCCESS, Set1(typ, 0x77));
        n++;
    }
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 0x78)); /* the same record again */
    n++;
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ((unsigned)n, c.ops[WLSIM_OP_PUT_INFO]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ((unsigned)n, State().unappliedPuts);

    /* the channel cannot be closed while the changes wait */
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLDisconnect)());
    EXPECT_TRUE(Has(lib().returnString(), "returned [ApplyNeed] (WL_GENERAL_ERROR, 0x00002328, 9000) ERROR"))
        << lib().returnString();
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnected)());
    EXPECT_EQ(1, State().openHandles);
    EXPECT_EQ(0u, SimCountersNow().ops[WLSIM_OP_DISCONNECT]);

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApply)());
    c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ(0u, State().unappliedPuts);

    /* nothing pending any more: the next apply does not touch the channel */
    SimClearLog();
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLApply)());
    EXPECT_TRUE(Has(lib().returnString(), "returned [!ApplyNeed] (WL_SUCCESS, 0x00000000, 0) \n"))
        << lib().returnString();
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
}

TEST_P(ApplyTest, DeferredModeUnchangedAndNonApplyWritesLeaveNothingPending)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 0));  /* unchanged */
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC83, 99)); /* needs no apply */
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
}

TEST_P(ApplyTest, ResetAlsoEndsThePendingApply)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 1));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLDisconnect)());
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_RESET));
    EXPECT_EQ(0u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ(0, State().openHandles);
}

TEST_P(ApplyTest, FailedApplyKeepsTheChangesPending)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 1));
    ASSERT_EQ(0, SimFault(WLSIM_OP_ACTION, 1, WLSIM_RES_BUSY));
    EXPECT_EQ(WL_DRIVER_BUSY, WL(lib(), WLApply)());
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLDisconnect)());
    EXPECT_TRUE(Has(lib().returnString(), "[ApplyNeed]"));
    /* a failed reset does not end it either */
    ASSERT_EQ(0, SimFault(WLSIM_OP_ACTION, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLReset)());
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLDisconnect)());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLApply)());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
}

TEST_P(ApplyTest, FailedWriteLeavesApplyNeedAsItWas)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    ASSERT_EQ(0, SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_GENERAL_ERROR, Set1(0xFC20, 1));
    EXPECT_EQ("<put_info> low level error code [UIL_ERR_TIME_OUT] (0x4, 4)", lib().generalError());
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFC20, 0}), Stored(0xFC20));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
}

TEST_P(ApplyTest, FailedImmediateApplyIsReportedAfterTheWrite)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(0, SimFault(WLSIM_OP_ACTION, 1, WLSIM_RES_IN_USE));
    EXPECT_EQ(WL_IN_USE, Set1(0xFC20, 1));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFC20, 1}), Stored(0xFC20));
    EXPECT_EQ("<action> low level error code [UIL_ERR_IN_USE] (0x44, 68)", lib().generalError());
    /* nothing was left pending */
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
}

TEST_P(ApplyTest, DeferredModeOutlivesDisconnectAndKeepsTheChannelOpen)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApplySet)(1));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    SimClearLog();
    /* temporary connection: the write leaves a change pending, so the
     * channel stays open */
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 1));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnected)());
    EXPECT_EQ(1, State().openHandles);

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLApply)());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ(1u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(0, State().openHandles);
}

TEST_P(ApplyTest, ApplyWithNothingPendingDoesNotTouchTheChannel)
{
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLApply)());
    EXPECT_TRUE(Has(lib().returnString(), "returned [!ApplyNeed] (WL_SUCCESS, 0x00000000, 0) \n"))
        << lib().returnString();
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(0u, State().opens);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
}

INSTANTIATE_TEST_SUITE_P(All, ApplyTest, testing::ValuesIn(kVariants), VariantName);
