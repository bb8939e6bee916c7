/*
 * The driver channel: device names per variant, low-level results and their
 * texts, record copies in both directions under hostile lengths, handles,
 * and the trace of an exchange.
 */
#include <regex>

#include "driver_fixture.h"

static bool Has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

/*
 * A record of len 0xFFFF whose buffer really holds only its 4 words: they
 * end exactly where an inaccessible page begins, so any read of a value the
 * len claims beyond them faults. Both record exports must refuse it.
 */
static void ExpectHostileLengthRefused(WLLib &lib)
{
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    char *mem = (char *)VirtualAlloc(NULL, 2 * si.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(mem != NULL);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(mem + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
    uint16_t *rec = (uint16_t *)(mem + si.dwPageSize - 8);
    const uint16_t words[4] = {0xFFFF, 0xFC00, 1, kSentinel};
    memcpy(rec, words, sizeof words);
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLGenericGet)((WL_LTV *)rec));
    EXPECT_EQ("<get_info> low level error code [UIL_ERR_LEN] (0x8, 8)", lib.generalError());
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLGenericSet)((WL_LTV *)rec));
    EXPECT_EQ("<put_info> low level error code [UIL_ERR_LEN] (0x8, 8)", lib.generalError());
    EXPECT_EQ(0, memcmp(rec, words, sizeof words));
    VirtualFree(mem, 0, MEM_RELEASE);
}

/* ---- Device names ---- */

class ChannelNameTest : public DriverTest {};

TEST_P(ChannelNameTest, OpensTheVariantsDeviceName)
{
    /* the fixture's adapter answers only on the name this variant opens */
    WlSimNameList names;
    ASSERT_EQ(0, SimNames(&names));
    ASSERT_EQ(1, names.n);
    std::string expected = v_.vxdName() ? std::string("WuVXQ48") + v_.letter + ".vxd" : reg_->spec().guid;
    EXPECT_EQ(expected, names.e[0].name);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    EXPECT_EQ(1u, State().opens);
    EXPECT_EQ(1, State().connected);
}

TEST_P(ChannelNameTest, AdapterUnderTheOtherNameIsNotReached)
{
    /* the same adapter, registered only under the name the other kind of
     * variant would open */
    ASSERT_EQ(0, SimReset());
    std::string other = v_.vxdName() ? reg_->spec().guid : std::string("WuVXQ48") + v_.letter + ".vxd";
    const char *names[] = {other.c_str()};
    ASSERT_EQ(0, SimAddAdapter(names, 1, &sim_)) << SimLastErrorText();
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    EXPECT_EQ("<connect> low level error code [UIL_ERR_NO_NIC] (0x5, 5)", lib().generalError());
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    EXPECT_EQ(0u, State().opens);
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    /* and a function with a temporary connection answers its own code */
    Record r = Record::Of(0xFC00, {kSentinel});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLGenericSet)(r.ltv()));
    EXPECT_EQ(kSentinel, r.w[2]);
}

TEST_P(ChannelNameTest, VxdNameFollowsTheVariantLetterNotTheAdapter)
{
    if (!v_.vxdName()) GTEST_SKIP() << "variant opens the adapter's identifier";
    /* a sibling variant's device does not answer for this library */
    ASSERT_EQ(0, SimReset());
    char sibling = v_.letter == 'C' ? 'E' : 'C';
    std::string name = std::string("WuVXQ48") + sibling + ".vxd";
    const char *names[] = {name.c_str()};
    ASSERT_EQ(0, SimAddAdapter(names, 1, &sim_));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    EXPECT_EQ(0u, State().opens);
}

TEST_P(ChannelNameTest, IdentifierNameNeedsTheRegistryValue)
{
    if (v_.vxdName()) GTEST_SKIP() << "variant opens the library-derived name";
    reg_->deleteValue("NetCfgInstanceId");
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    EXPECT_EQ("<connect> low level error code [UIL_ERR_NO_NIC] (0x5, 5)", lib().generalError());
    EXPECT_EQ(0u, State().opens);
}

INSTANTIATE_TEST_SUITE_P(All, ChannelNameTest, testing::ValuesIn(kVariants), VariantName);

/* ---- Low-level results ---- */

class LowLevelResultTest : public DriverTest {};

TEST_P(LowLevelResultTest, ConnectRefusalsAreMappedAndNamedOnce)
{
    struct Case {
        int low;
        int code;
        const char *text;
    };
    const Case cases[] = {
        {65, WL_INCOMPATIBLE, "<connect> low level error code [UIL_ERR_INCOMP_DRV] (0x41, 65)"},
        {68, WL_IN_USE, "<connect> low level error code [UIL_ERR_IN_USE] (0x44, 68)"},
        {6, WL_DRIVER_BUSY, "<connect> low level error code [UIL_ERR_BUSY] (0x6, 6)"},
        {8, WL_INPUT_BUFFER_INSUFFICIENT, "<connect> low level error code [UIL_ERR_LEN] (0x8, 8)"},
        {4, WL_GENERAL_ERROR, "<connect> low level error code [UIL_ERR_TIME_OUT] (0x4, 4)"},
        {70, WL_GENERAL_ERROR, "<connect> low level error code [UIL_ERR_WRONG_IFB] (0x46, 70)"},
        {10, WL_GENERAL_ERROR, "<connect> low level error code [HCF_ERR_INCOMP_FW] (0xa, 10)"},
        {255, WL_GENERAL_ERROR, "<connect> low level error code [0xFF] (0xff, 255)"},
        {9001, WL_GENERAL_ERROR, "<connect> low level error code [WL_INVALID_PARAMETER] (0x2329, 9001)"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.low);
        ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 1, k.low));
        EXPECT_EQ(k.code, WL(lib(), WLConnect)());
        EXPECT_EQ(k.text, lib().generalError());
        EXPECT_EQ("", lib().generalError());
        EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
        /* the refused handle was closed again */
        EXPECT_EQ(0, State().openHandles);
    }
    EXPECT_EQ(sizeof cases / sizeof cases[0], State().opens);
}

TEST_P(LowLevelResultTest, BusyCodeHasNoName)
{
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 1, WLSIM_RES_BUSY));
    EXPECT_EQ(9013, WL(lib(), WLConnect)());
    EXPECT_TRUE(Has(lib().returnString(), "returned [NORMAL RETURN] (unrecognized error, 0x00002335, 9013) \n"))
        << lib().returnString();
}

TEST_P(LowLevelResultTest, FailedConnectCallIsNoNic)
{
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_CONNECT, 1));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    EXPECT_EQ("<connect> low level error code [UIL_ERR_NO_NIC] (0x5, 5)", lib().generalError());
    EXPECT_EQ(0, State().openHandles);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    /* the next connect succeeds */
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
}

TEST_P(LowLevelResultTest, ReadErrorsNameTheOperation)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, 10));
    Record r = Record::Of(0xFC00, {kSentinel});
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ("<get_info> low level error code [HCF_ERR_INCOMP_FW] (0xa, 10)", lib().generalError());
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_LEN));
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ("<get_info> low level error code [UIL_ERR_LEN] (0x8, 8)", lib().generalError());
}

TEST_P(LowLevelResultTest, SuccessNeverTouchesTheErrorText)
{
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 1, WLSIM_RES_TIME_OUT));
    ASSERT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    /* successful exchanges of every kind leave the unread text alone */
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    Record r = Record::Of(0xFC00, {0});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    ASSERT_EQ(WL_SUCCESS, Set1(0xFC20, 1));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericAction)(5));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSendDiagMsg)("ab", 2));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    EXPECT_EQ("<connect> low level error code [UIL_ERR_TIME_OUT] (0x4, 4)", lib().generalError());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLReset)());
    EXPECT_EQ("", lib().generalError());
}

INSTANTIATE_TEST_SUITE_P(All, LowLevelResultTest, testing::ValuesIn(kVariants), VariantName);

/* ---- Record copies ---- */

class RecordCopyTest : public DriverTest {};

TEST_P(RecordCopyTest, NoCurrentNicReachesNothing)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICSet)("", 0));
    Record r = Record::Of(0xFC00, {kSentinel, kSentinel});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLGenericSet)(r.ltv()));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLReset)());
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    EXPECT_EQ("<connect> low level error code [WL_DATA_NOT_AVAILABLE] (0x232d, 9005)", lib().generalError());
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    EXPECT_EQ(r.w.size() - 2, r.SentinelsFrom(2));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(0u, State().opens);
}

TEST_P(RecordCopyTest, FailedCallLeavesTheRecordUntouched)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_GET_INFO, 1));
    Record r(6, 0xFC01, {}, 4); /* all value and guard words are sentinels */
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ("<get_info> low level error code [WL_DATA_NOT_AVAILABLE] (0x232d, 9005)", lib().generalError());
    EXPECT_EQ(6, r.w[0]);
    EXPECT_EQ(0xFC01, r.w[1]);
    EXPECT_EQ(r.w.size() - 2, r.SentinelsFrom(2));
    EXPECT_EQ(1u, SimCountersNow().failedCalls);

    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_PUT_INFO, 1));
    Record w = Record::Of(0xFC20, {1});
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLGenericSet)(w.ltv()));
    EXPECT_EQ("<put_info> low level error code [WL_DATA_NOT_WRITEABLE] (0x232e, 9006)", lib().generalError());
    EXPECT_EQ(2, w.w[0]);
    EXPECT_EQ(1, w.w[2]);
    EXPECT_EQ(4u, w.SentinelsFrom(3));
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFC20, 0}), Stored(0xFC20));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, SimActionCount(&c, WL_ACTION_APPLY));
}

TEST_P(RecordCopyTest, UnknownRecordComesBackWithTypeOnly)
{
    Record r(4, 0xFC99, {}, 4);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ(1, r.w[0]);
    EXPECT_EQ(0xFC99, r.w[1]);
    /* 4 bytes copied back: the value words stay as they were */
    EXPECT_EQ(r.w.size() - 2, r.SentinelsFrom(2));
    EXPECT_EQ("", lib().generalError());
}

TEST_P(RecordCopyTest, ShorterAnswerIsCopiedByItsLength)
{
    Record r(10, 0xFC00, {}, 4);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ(2, r.w[0]);
    EXPECT_EQ(0xFC00, r.w[1]);
    EXPECT_EQ(1, r.w[2]);
    EXPECT_EQ(r.w.size() - 3, r.SentinelsFrom(3));
}

TEST_P(RecordCopyTest, LongerStoredRecordIsCutToTheCallersRecord)
{
    std::vector<uint16_t> big = {20, 0xFC60};
    for (uint16_t i = 1; i <= 19; i++) big.push_back(i);
    ASSERT_EQ(0, SimSetRecord(sim_, big.data()));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());

    /* the driver itself cuts to what was asked ... */
    Record r(4, 0xFC60, {}, 8);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ((std::vector<uint16_t>{4, 0xFC60, 1, 2, 3}), std::vector<uint16_t>(r.w.begin(), r.w.begin() + 5));
    EXPECT_EQ(8u, r.SentinelsFrom(5));

    /* ... and when it answers the whole record, the library still does */
    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&f));
    SimClearLog();
    Record t(4, 0xFC60, {}, 8);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(t.ltv()));
    EXPECT_EQ((std::vector<uint16_t>{4, 0xFC60, 1, 2, 3}), std::vector<uint16_t>(t.w.begin(), t.w.begin() + 5));
    EXPECT_EQ(8u, t.SentinelsFrom(5));
    WlSimExchangeLog log;
    ASSERT_EQ(0, SimLastExchanges(&log));
    ASSERT_EQ(1, log.n);
    EXPECT_EQ(WLSIM_X_TRUE_LEN, log.e[0].flags);
    EXPECT_EQ(20, log.e[0].lenOut);

    /* the same through the read before a write */
    ASSERT_EQ(0, SimArmFault(&f));
    Record w = Record::Of(0xFC60, {1, 2, 3}, 8);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSet)(w.ltv()));
    EXPECT_EQ(8u, w.SentinelsFrom(5));
    EXPECT_EQ((std::vector<uint16_t>{4, 0xFC60, 1, 2, 3}), Stored(0xFC60));
}

TEST_P(RecordCopyTest, LargestRecordTravelsWhole)
{
    std::vector<uint16_t> rec(2 + 4096 + 4, kSentinel);
    rec[0] = 4097;
    rec[1] = 0xFC61;
    for (int i = 0; i < 4096; i++) rec[2 + i] = (uint16_t)(i * 3 + 1);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericSet)((WL_LTV *)rec.data()));
    std::vector<uint16_t> stored = Stored(0xFC61, 4098);
    ASSERT_EQ(4098u, stored.size());
    EXPECT_EQ(0, memcmp(stored.data(), rec.data(), 2 * 4098));

    std::vector<uint16_t> back(2 + 4096 + 4, kSentinel);
    back[0] = 4097;
    back[1] = 0xFC61;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)((WL_LTV *)back.data()));
    EXPECT_EQ(0, memcmp(back.data(), rec.data(), 2 * 4098));
    for (int i = 0; i < 4; i++) EXPECT_EQ(kSentinel, back[4098 + i]);
}

TEST_P(RecordCopyTest, OverlongRecordIsRefusedBeforeTheDevice)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    SimClearLog();
    for (uint16_t len : {(uint16_t)4098, (uint16_t)5000, (uint16_t)0xFFFF}) {
        SCOPED_TRACE(len);
        /* the caller's buffer really is that long, filled with sentinels */
        std::vector<uint16_t> rec(2 + len + 4, kSentinel);
        rec[0] = len;
        rec[1] = 0xFC00;
        EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib(), WLGenericGet)((WL_LTV *)rec.data()));
        EXPECT_EQ("<get_info> low level error code [UIL_ERR_LEN] (0x8, 8)", lib().generalError());
        EXPECT_EQ(len, rec[0]);
        EXPECT_EQ(rec.size() - 2, (size_t)std::count(rec.begin() + 2, rec.end(), kSentinel));

        EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib(), WLGenericSet)((WL_LTV *)rec.data()));
        EXPECT_EQ("<put_info> low level error code [UIL_ERR_LEN] (0x8, 8)", lib().generalError());
        EXPECT_EQ(rec.size() - 2, (size_t)std::count(rec.begin() + 2, rec.end(), kSentinel));
    }
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, c.ops[WLSIM_OP_PUT_INFO]);
    EXPECT_EQ(0u, c.ops[WLSIM_OP_ACTION]);
    EXPECT_EQ(3u, c.ops[WLSIM_OP_GET_INFO]); /* only the writes' own reads */
    EXPECT_EQ((std::vector<uint16_t>{2, 0xFC00, 1}), Stored(0xFC00));
    /* the channel still works */
    Record r = Record::Of(0xFC00, {0});
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    EXPECT_EQ(1, r.w[2]);
}

TEST_P(RecordCopyTest, HostileLengthIsNotReadBeyondTheRecord)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ExpectHostileLengthRefused(lib());
    EXPECT_EQ(0u, SimCountersNow().ops[WLSIM_OP_PUT_INFO]);
}

TEST_P(RecordCopyTest, NullRecordIsRefused)
{
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLGenericGet)(NULL));
    std::string line = lib().returnString();
    EXPECT_TRUE(Has(line, "<WLGenericGet> (line")) << line;
    EXPECT_TRUE(Has(line, "[Val == NULL] (WL_INVALID_PARAMETER")) << line;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLGenericSet)(NULL));
    line = lib().returnString();
    EXPECT_TRUE(Has(line, "<WLGenericSet> (line")) << line;
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

INSTANTIATE_TEST_SUITE_P(All, RecordCopyTest, testing::ValuesIn(kVariants), VariantName);

/* ---- Answers shorter than the block ---- */

/* A "successful" exchange that returns fewer bytes than the block header
 * answered nothing; one that returns fewer than its record announces
 * carries only the words within those bytes. */
class ShortAnswerTest : public DriverTest {};

TEST_P(ShortAnswerTest, GetInfoCopiesOnlyTheBytesReturned)
{
    Store({4, 0xFC60, 7, 8, 9});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    struct Case {
        uint32_t bytes;
        int rc;
        const char *error;           /* general error text, "" for none */
        std::vector<uint16_t> words; /* the caller's record afterwards */
    } cases[] = {
        {0, WL_GENERAL_ERROR, "<get_info> low level error code [WL_DATA_NOT_AVAILABLE] (0x232d, 9005)",
         {4, 0xFC60, kSentinel, kSentinel, kSentinel}},
        {11, WL_GENERAL_ERROR, "<get_info> low level error code [WL_DATA_NOT_AVAILABLE] (0x232d, 9005)",
         {4, 0xFC60, kSentinel, kSentinel, kSentinel}},
        {12, WL_DATA_NOT_AVAILABLE, "", {1, 0xFC60, kSentinel, kSentinel, kSentinel}}, /* typ only */
        {15, WL_SUCCESS, "", {2, 0xFC60, 7, kSentinel, kSentinel}},                     /* half a word: not carried */
        {18, WL_SUCCESS, "", {4, 0xFC60, 7, 8, 9}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        ASSERT_EQ(0, SimShortAnswer(WLSIM_OP_GET_INFO, 1, c.bytes)) << SimLastErrorText();
        Record r(4, 0xFC60, {}, 4);
        EXPECT_EQ(c.rc, WL(lib(), WLGenericGet)(r.ltv())) << lib().returnString();
        EXPECT_EQ(c.error, lib().generalError());
        EXPECT_EQ(c.words, std::vector<uint16_t>(r.w.begin(), r.w.begin() + 5));
        EXPECT_EQ(4u, r.SentinelsFrom(5));
    }
}

TEST_P(ShortAnswerTest, ShortPutAndConnectAnswersFail)
{
    ASSERT_EQ(0, SimShortAnswer(WLSIM_OP_CONNECT, 1, 4));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLConnect)());
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    EXPECT_EQ(0, State().openHandles) << "the handle of a failed connect is closed";

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(0, SimShortAnswer(WLSIM_OP_PUT_INFO, 1, 0));
    EXPECT_EQ(WL_GENERAL_ERROR, Set1(0xFC20, 1));
    EXPECT_EQ("<put_info> low level error code [WL_DATA_NOT_WRITEABLE] (0x232e, 9006)", lib().generalError());
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, SimActionCount(&c, WL_ACTION_APPLY)) << "a failed write is not applied";
}

INSTANTIATE_TEST_SUITE_P(All, ShortAnswerTest, testing::ValuesIn(kVariants), VariantName);

/* ---- Handles ---- */

class ChannelHandleTest : public DriverTest {};

TEST_P(ChannelHandleTest, DisconnectClosesEvenWhenTheExchangeFails)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(1, State().openHandles);
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_DISCONNECT, 1));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    EXPECT_EQ(0, State().openHandles);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    EXPECT_EQ(1u, SimCountersNow().failedCalls);

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(0, SimFault(WLSIM_OP_DISCONNECT, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    EXPECT_EQ(0, State().openHandles);
    EXPECT_EQ("", lib().generalError());
}

TEST_P(ChannelHandleTest, DisconnectClosesAfterTheSelectionWasCleared)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICSet)("", 0));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLDisconnect)());
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    WlSimAdapterState st = State();
    EXPECT_EQ(0, st.openHandles);
    EXPECT_EQ(0, st.connected);
}

TEST_P(ChannelHandleTest, ManyTemporaryConnectionsLeaveNoHandle)
{
    for (int i = 0; i < 20; i++) {
        Record r = Record::Of(0xFC00, {0});
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLGenericGet)(r.ltv()));
    }
    WlSimAdapterState st = State();
    EXPECT_EQ(20u, st.opens);
    EXPECT_EQ(0, st.openHandles);
    EXPECT_EQ(20u, st.connects);
    EXPECT_EQ(20u, st.disconnects);
}

INSTANTIATE_TEST_SUITE_P(All, ChannelHandleTest, testing::ValuesIn(kVariants), VariantName);

/* ---- Trace of an exchange ---- */

class ChannelTraceTest : public testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        WriteFile("\\wllog.txt", "");
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveFile("\\wllog.txt");
        for (int n = -1; n <= 9; n++) RemoveFile(LogName(n));
    }
    static std::string LogName(int n) { return "\\wllog48E" + std::to_string(n) + ".txt"; }
};

/* The log's lines without their indent prefix. */
static std::vector<std::string> LogLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        size_t k = line.find_first_not_of("| ");
        lines.push_back(k == std::string::npos ? std::string() : line.substr(k));
        start = end + 1;
    }
    return lines;
}

/* Index of the first line from `from` on that matches, or -1. */
static int FindLine(const std::vector<std::string> &lines, const std::string &pattern, int from = 0)
{
    std::regex re(pattern);
    for (int i = from; i < (int)lines.size(); i++)
        if (std::regex_match(lines[i], re)) return i;
    return -1;
}

TEST_F(ChannelTraceTest, ExchangeLinesOfConnectReadWriteAndFailure)
{
    const Variant e = {'E', 5};
    RegAdapter reg(AdapterSpec(DRIVER_TEST_NIC, "Wireless LAN PC Card", true, 'E'));
    SimAdapterFor(reg, e);
    WLLib lib(e);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(DRIVER_TEST_NIC, 4));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLConnect)());
    Record r = Record::Of(0xFC00, {0});
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLGenericGet)(r.ltv()));
    Record w = Record::Of(0xFC20, {0x0102});
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLGenericSet)(w.ltv()));
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_GET_INFO, 1));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLGenericGet)(r.ltv()));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLDisconnect)());

    std::vector<std::string> lines = LogLines(ReadFile(LogName(0)));
    const std::string ptr = "(0x)?[0-9A-Fa-f]+";
    const std::string driverPtr = "(0x)?0*57530100";
    /* connect: the block goes out with ifbp unset and comes back with the
     * driver's */
    int i = FindLine(lines, "<WLConnect> \\{");
    ASSERT_GE(i, 0);
    i = FindLine(lines, "Data1: ifbp " + ptr + ", result 0, function 0, len \\d+, typ [0-9a-f]+", i);
    ASSERT_GE(i, 0);
    EXPECT_EQ("_DeviceIoControl read 8204 bytes", lines[i + 1]);
    EXPECT_EQ("_DeviceIoControl returned 1", lines[i + 2]);
    EXPECT_TRUE(std::regex_match(lines[i + 3], std::regex("Data2: ifbp " + driverPtr +
                                                          ", result 0, function 0, len \\d+, typ [0-9a-f]+")))
        << lines[i + 3];
    /* read */
    i = FindLine(lines, "<WLGenericGet> \\{", i);
    ASSERT_GE(i, 0);
    i = FindLine(lines, "Data1: ifbp " + driverPtr + ", result 0, function 4, len 2, typ fc00", i);
    ASSERT_GE(i, 0);
    EXPECT_EQ("_DeviceIoControl read 8204 bytes", lines[i + 1]);
    EXPECT_EQ("_DeviceIoControl returned 1", lines[i + 2]);
    EXPECT_TRUE(std::regex_match(lines[i + 3],
                                 std::regex("Data2: ifbp " + driverPtr + ", result 0, function 4, len 2, typ fc00")))
        << lines[i + 3];
    /* write: the record is logged before the put, then the apply */
    i = FindLine(lines, "<WLGenericSet> \\{", i);
    ASSERT_GE(i, 0);
    int put = FindLine(lines, "ltv->len 0x0002 \\(2\\)", i);
    ASSERT_GE(put, 0);
    EXPECT_EQ("ltv->typ 0xFC20", lines[put + 1]);
    EXPECT_EQ("ltv->val [0] 0x0102", lines[put + 2]);
    EXPECT_GE(FindLine(lines, "Data1: ifbp " + driverPtr + ", result 0, function 5, len 2, typ fc20", put), 0);
    EXPECT_GE(FindLine(lines, "Data1: ifbp " + driverPtr + ", result 0, function 2, len 2, typ 82", put), 0);
    /* the failed call */
    i = FindLine(lines, "DeviceIoControl returned GetLastError \\d+", put);
    ASSERT_GE(i, 0);
    EXPECT_EQ("_DeviceIoControl read 0 bytes", lines[i + 1]);
    EXPECT_EQ("_DeviceIoControl returned 0", lines[i + 2]);
    EXPECT_GE(FindLine(lines,
                       "GeneralErrorString set to <<get_info> low level error code \\[WL_DATA_NOT_AVAILABLE\\] "
                       "\\(0x232d, 9005\\)>",
                       i),
              0);
    /* disconnect */
    EXPECT_GE(FindLine(lines, "Data1: ifbp " + driverPtr + ", result 0, function 1, len \\d+, typ [0-9a-f]+", i), 0);
}

TEST_F(ChannelTraceTest, HostileLengthIsNotReadBeyondTheRecordWhileTracing)
{
    const Variant e = {'E', 5};
    RegAdapter reg(AdapterSpec(DRIVER_TEST_NIC, "Wireless LAN PC Card", true, 'E'));
    SimAdapterFor(reg, e);
    WLLib lib(e);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(DRIVER_TEST_NIC, 4));
    ExpectHostileLengthRefused(lib);
    std::vector<std::string> lines = LogLines(ReadFile(LogName(0)));
    int i = FindLine(lines, "ltv->len 0xFFFF \\(65535\\)");
    ASSERT_GE(i, 0);
    EXPECT_EQ("ltv->typ 0xFC00", lines[i + 1]);
    EXPECT_EQ(-1, FindLine(lines, "ltv->val .*", i));
}

TEST_F(ChannelTraceTest, NoLogFileWithoutMarker)
{
    RemoveFile("\\wllog.txt");
    const Variant e = {'E', 5};
    RegAdapter reg(AdapterSpec(DRIVER_TEST_NIC, "Wireless LAN PC Card", true, 'E'));
    SimAdapterFor(reg, e);
    WLLib lib(e);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(DRIVER_TEST_NIC, 4));
    Record r = Record::Of(0xFC00, {0});
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLGenericGet)(r.ltv()));
    EXPECT_FALSE(FileExists(LogName(0)));
    EXPECT_FALSE(FileExists(LogName(-1)));
}
