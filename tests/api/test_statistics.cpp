/* Link quality, scale thresholds, algorithms, driver information, default
 * keys, tallies, card profile, production data and diagnostic registers,
 * and what every reading does with records of the wrong shape. */
#include <functional>

#include "sim_session.h"

static const Variant kE = {'E', 5};

class Statistics : public testing::TestWithParam<Variant> {};

/* ---- Link quality ---- */

TEST_P(Statistics, QualityLevelsFromQualityAndNoise)
{
    SimSession s(GetParam());
    struct Case {
        uint16_t quality, signal, noise;
        int level, signalDBm, noiseDBm;
    } cases[] = {
        {26, 100, 50, 5, -49, -99}, {25, 100, 50, 4, -49, -99}, {16, 100, 50, 4, -49, -99},
        {15, 100, 59, 3, -49, -90}, {15, 100, 60, 2, -49, -89}, {2, 47, 59, 3, -102, -90},
        {1, 200, 50, 1, -10, -99},  {0, 139, 138, 1, -10, -11},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "quality " << c.quality << ", noise " << c.noise);
        s.Set({4, 0xFD43, c.quality, c.signal, c.noise});
        Guarded<CommunicationsQualityBuffer> q(CommunicationsQualityBufferType);
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLCommunicationsQualityGet)(&q.b));
        EXPECT_EQ(c.quality, q.b.Quality);
        EXPECT_EQ(c.level, q.b.Level);
        EXPECT_EQ(c.signalDBm, q.b.Signal);
        EXPECT_EQ(c.noiseDBm, q.b.Noise);
        EXPECT_EQ(c.signal, q.b.RawSignal);
        EXPECT_EQ(c.noise, q.b.RawNoise);
        EXPECT_TRUE(q.GuardIntact());
    }
}

TEST_P(Statistics, QualityNeedsPortAndLinkBeforeItLooksAtItsArgument)
{
    SimSession s(GetParam());
    for (uint16_t port : {1, 2, 6, 7, 8}) {
        s.Port(port);
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLCommunicationsQualityGet)(NULL)) << port;
        EXPECT_EQ("MACPortStatusGet () == WL_DATA_NOT_AVAILABLE", s.Reason());
    }
    s.Port(3);
    struct Case {
        int link; /* -1: no link status record */
        const char *inner;
    } cases[] = {
        {2, "link_status == 2"},
        {0, "!INTERVAL (1, <=, link_status, <=, 5)"},
        {6, "!INTERVAL (1, <=, link_status, <=, 5)"},
        {-1, "WLLinkStatusGet (&link_status) != WL_SUCCESS"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.inner);
        WL(s.lib, WLLogErrorNew)();
        if (c.link < 0) s.Delete(0x090B);
        else s.Set({2, 0x090B, (uint16_t)c.link});
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLCommunicationsQualityGet)(NULL));
        EXPECT_EQ("LinkStatusGet () == WL_DATA_NOT_AVAILABLE", s.Reason());
        EXPECT_TRUE(s.Logged(c.inner)) << ReadFile("\\wlerr.txt");
    }
    /* usable link: now the buffer is checked */
    s.Set({2, 0x090B, 5});
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLCommunicationsQualityGet)(NULL));
    EXPECT_TRUE(s.Logged("Val == NULL"));
    Guarded<CommunicationsQualityBuffer> q(ScaleThresholdBufferType);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLCommunicationsQualityGet)(&q.b));
    EXPECT_TRUE(s.Logged("Val->TS.Type != CommunicationsQualityBufferType"));
    q.b.TS.Type = CommunicationsQualityBufferType;
    q.b.TS.Size = 36;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLCommunicationsQualityGet)(&q.b));
    EXPECT_TRUE(s.Logged("Val->TS.Size != sizeof (CommunicationsQualityBuffer)"));
    EXPECT_EQ(0x5A5A5A5A, q.b.Quality);
}

TEST_P(Statistics, ShortQualityRecordLeavesTheBufferAlone)
{
    SimSession s(GetParam());
    s.Set({3, 0xFD43, 30, 100});
    Guarded<CommunicationsQualityBuffer> q(CommunicationsQualityBufferType);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLCommunicationsQualityGet)(&q.b));
    EXPECT_EQ(0x5A5A5A5A, q.b.Level);
}

/* ---- Scale thresholds ---- */

TEST_P(Statistics, ScaleThresholdLayoutOfTheVariant)
{
    SimSession s(GetParam());
    Guarded<ScaleThresholdBuffer> t(ScaleThresholdBufferType);
    if (GetParam().cd()) {
        s.Set({7, 0xFD46, 0xFFF0, 0x00E8, 0x01E0, 5, 6, 7});
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLScaleThresholdGet)(&t.b));
        const int expected[8] = {-24, 0, -32, -16, 0, 0, 0, 0};
        for (int i = 0; i < 8; i++) EXPECT_EQ(expected[i], t.b.Threshold[i]) << i;
        EXPECT_EQ(5, t.b.Extra[0]);
        EXPECT_EQ(6, t.b.Extra[1]);
        EXPECT_EQ(7, t.b.Extra[2]);
        /* the older firmware's record asked with len 7 */
        WlSimExchangeLog log;
        ASSERT_EQ(0, SimLastExchanges(&log));
        bool asked7 = false;
        for (int i = 0; i < log.n; i++)
            if (log.e[i].op == WLSIM_OP_GET_INFO && log.e[i].typ == 0xFD46) asked7 = log.e[i].lenIn == 7;
        EXPECT_TRUE(asked7);
    } else {
        ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLScaleThresholdGet)(&t.b));
        for (int i = 0; i < 8; i++) EXPECT_EQ(-16 - 8 * i, t.b.Threshold[i]) << i;
        EXPECT_EQ(10, t.b.Extra[0]);
        EXPECT_EQ(20, t.b.Extra[1]);
        EXPECT_EQ(30, t.b.Extra[2]);
    }
    EXPECT_TRUE(t.GuardIntact());
}

TEST_P(Statistics, ScaleThresholdRecordTooShortLeavesTheLastFieldsZero)
{
    SimSession s(GetParam());
    Guarded<ScaleThresholdBuffer> t(ScaleThresholdBufferType);
    if (GetParam().cd()) s.Set({6, 0xFD46, 1, 2, 3, 4, 5});
    else s.Set({11, 0xFD46, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLScaleThresholdGet)(&t.b));
    EXPECT_EQ(0, t.b.Extra[0]);
    EXPECT_EQ(0, t.b.Extra[1]);
    EXPECT_EQ(0, t.b.Extra[2]);
    EXPECT_EQ(GetParam().cd() ? 2 : 1, t.b.Threshold[0]);

    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLScaleThresholdGet)(NULL));
    t.b.TS.Size = 48;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLScaleThresholdGet)(&t.b));
    EXPECT_EQ("(Val)->TS.Size != sizeof (ScaleThresholdBuffer)", s.Reason());
}

/* ---- Algorithms and driver information ---- */

TEST_P(Statistics, AuthenticationAlgorithms)
{
    SimSession s(GetParam());
    Guarded<AuthenticationAlgorithmBuffer> a(AuthenticationAlgorithmBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLAuthenticationAlgorithmGet)(&a.b));
    EXPECT_EQ(2, a.b.Num);
    EXPECT_EQ(0, a.b.Entry[0].Algorithm);
    EXPECT_EQ(1, a.b.Entry[1].Algorithm);
    EXPECT_EQ(1, a.b.Entry[1].Value);
    EXPECT_EQ(0x5A5A5A5A, a.b.Entry[2].Algorithm);
    /* an odd word is dropped; a long record fills six entries at most */
    s.Set({4, 0xFD4D, 3, 4, 5});
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLAuthenticationAlgorithmGet)(&a.b));
    EXPECT_EQ(1, a.b.Num);
    std::vector<uint16_t> big(2 + 40, 9);
    big[0] = 41;
    big[1] = 0xFD4D;
    s.Set(big);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLAuthenticationAlgorithmGet)(&a.b));
    EXPECT_EQ(MAX_NUM_AUTHENTICATION_ALGORITHMS, a.b.Num);
    EXPECT_EQ(9, a.b.Entry[5].Value);
    EXPECT_TRUE(a.GuardIntact());
    /* no record: no entries, and the read's code */
    s.Delete(0xFD4D);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLAuthenticationAlgorithmGet)(&a.b));
    EXPECT_EQ(0, a.b.Num);
    a.b.TS.Type = 6;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLAuthenticationAlgorithmGet)(&a.b));
    EXPECT_EQ("(Val)->TS.Type != AuthenticationAlgorithmBufferType", s.Reason());
}

TEST_P(Statistics, DriverInformation)
{
    SimSession s(GetParam());
    s.Set({15, 0x0825, 0x0108, 0x0018, 0x0001, 0, 0x7777, 0x7777, 5, 0x7777, 0x7777, 0x7777, 0x4000,
           0x7777, 0x7777, 0x7777});
    Guarded<DriverInfoBuffer> d(DriverInfoBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDriverInfoGet)(&d.b));
    const uint8_t w01[4] = {0x08, 0x01, 0x18, 0x00};
    const uint8_t w23[4] = {0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(0, memcmp(w01, d.b.Words01, 4));
    EXPECT_EQ(0, memcmp(w23, d.b.Words23, 4));
    EXPECT_EQ(0, d.b.Zero[0]);
    EXPECT_EQ(0, d.b.Zero[1]);
    EXPECT_EQ(5, d.b.Word6);
    EXPECT_EQ(0x4000, d.b.Word10);
    EXPECT_TRUE(d.GuardIntact());
    /* a short record: the words it lacks read as 0 */
    s.Set({4, 0x0825, 0x1111, 0x2222, 0x3333});
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDriverInfoGet)(&d.b));
    EXPECT_EQ(0x33, d.b.Words23[0]);
    EXPECT_EQ(0, d.b.Words23[2]);
    EXPECT_EQ(0, d.b.Word10);
    /* a failed read leaves the buffer */
    Guarded<DriverInfoBuffer> d2(DriverInfoBufferType);
    s.Delete(0x0825);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLDriverInfoGet)(&d2.b));
    EXPECT_EQ(0x5A5A5A5A, d2.b.Word6);
    d2.b.TS.Size = 0;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDriverInfoGet)(&d2.b));
    EXPECT_EQ("Val->TS.Size != sizeof (DriverInfoBuffer)", s.Reason());
}

/* ---- Default keys ---- */

static KeyInfoBuffer Keys(int l0, int l1, int l2, int l3)
{
    KeyInfoBuffer k;
    memset(&k, 0, sizeof k);
    k.TS.Type = KeyInfoBufferType;
    k.TS.Size = sizeof k;
    const int lens[4] = {l0, l1, l2, l3};
    for (int i = 0; i < 4; i++) {
        k.Key[i].Len = lens[i];
        for (int j = 0; j < 32; j++) k.Key[i].Data[j] = (uint8_t)(0x10 * (i + 1) + j);
    }
    return k;
}

TEST_P(Statistics, DefaultKeysWriteTheFourEntriesWithoutApply)
{
    SimSession s(GetParam());
    KeyInfoBuffer k = Keys(5, 13, 0, 5);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDefaultKeysSet)(&k));
    std::vector<uint16_t> r = s.Get(0xFCB0);
    ASSERT_EQ(34u, r.size());
    EXPECT_EQ(33, r[0]);
    const unsigned char *bytes = (const unsigned char *)&r[2];
    const int lens[4] = {5, 13, 0, 5};
    for (int i = 0; i < 4; i++) {
        const unsigned char *entry = bytes + 16 * i;
        EXPECT_EQ(lens[i], entry[0] | (entry[1] << 8)) << i;
        for (int j = 0; j < 14; j++)
            EXPECT_EQ(j < lens[i] ? 0x10 * (i + 1) + j : 0, entry[2 + j]) << i << "," << j;
    }
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimTypePuts(&c, 0xFCB0));
    EXPECT_EQ(0u, SimActionCount(&c, WLSIM_ACTION_APPLY));
}

TEST_P(Statistics, DefaultKeysWithABadLengthWriteNothing)
{
    SimSession s(GetParam());
    for (int bad : {16, 1, 4, 6, 12, 14, -5}) {
        KeyInfoBuffer k = Keys(5, 13, bad, 5);
        EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDefaultKeysSet)(&k)) << bad;
        EXPECT_EQ("!( (Key->Len == 0) || (Key->Len == 5) || (Key->Len == 13) )", s.Reason());
    }
    KeyInfoBuffer k = Keys(0, 0, 0, 13);
    k.TS.Size = 151;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDefaultKeysSet)(&k));
    EXPECT_EQ("Val->TS.Size != sizeof (KeyInfoBuffer)", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDefaultKeysSet)(NULL));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
    EXPECT_EQ(1u, s.Get(0xFCB0).size()) << "a key record was written";
}

/* ---- Tallies ---- */

TEST_P(Statistics, TalliesAndDriverTallies)
{
    SimSession s(GetParam());
    Guarded<TalliesBuffer> t(TalliesBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLTalliesGet)(&t.b));
    for (int i = 0; i < MAX_NUM_TALLIES; i++) EXPECT_EQ((uint32_t)(i + 1), t.b.Tally[i]);
    EXPECT_TRUE(t.GuardIntact());
    Guarded<MSFTalliesBuffer> m(MSFTalliesBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLMSFTalliesGet)(&m.b));
    for (int i = 0; i < MAX_NUM_MSF_TALLIES; i++) EXPECT_EQ((uint32_t)(100 + i), m.b.Tally[i]);
    EXPECT_TRUE(m.GuardIntact());
    /* counters are two words, low word first */
    s.Set({5, 0xF100, 0x5678, 0x1234, 0xFFFF, 0xFFFF});
    Guarded<TalliesBuffer> t2(TalliesBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLTalliesGet)(&t2.b));
    EXPECT_EQ(0x12345678u, t2.b.Tally[0]);
    EXPECT_EQ(0xFFFFFFFFu, t2.b.Tally[1]);
    EXPECT_EQ(0x5A5A5A5Au, t2.b.Tally[2]);

    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLMSFTalliesGet)(NULL));
    m.b.TS.Type = TalliesBufferType;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLMSFTalliesGet)(&m.b));
    EXPECT_EQ("Val->TS.Type != MSFTalliesBufferType", s.Reason());
    t.b.TS.Size = sizeof(MSFTalliesBuffer);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLTalliesGet)(&t.b));
    EXPECT_EQ("Val->TS.Size != sizeof (TalliesBuffer)", s.Reason());
}

TEST_P(Statistics, TallyRecordWithMoreCountersThanTheBufferIsRefused)
{
    SimSession s(GetParam());
    struct Case {
        uint16_t type;
        int counters;
        bool whole; /* driver answers the whole record, longer than asked */
    } cases[] = {{0xF100, 39, false}, {0xF100, 2000, false}, {0xF100, 2000, true},
                 {0x090A, 17, false}, {0x090A, 38, false},   {0x090A, 2000, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.type << std::dec << ", " << c.counters);
        WL(s.lib, WLLogErrorNew)();
        std::vector<uint16_t> rec(2 + 2 * c.counters, 7);
        rec[0] = (uint16_t)(1 + 2 * c.counters);
        rec[1] = c.type;
        s.Set(rec);
        if (c.whole) {
            WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0, WLSIM_ANY_ADAPTER};
            ASSERT_EQ(0, SimArmFault(&f));
        }
        Guarded<TalliesBuffer> t(TalliesBufferType);
        Guarded<MSFTalliesBuffer> m(MSFTalliesBufferType);
        int rc = c.type == 0xF100 ? WL(s.lib, WLTalliesGet)(&t.b) : WL(s.lib, WLMSFTalliesGet)(&m.b);
        EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, rc);
        EXPECT_TRUE(s.Logged("num > _num"));
        EXPECT_EQ(0x5A5A5A5Au, t.b.Tally[0]);
        EXPECT_EQ(0x5A5A5A5Au, m.b.Tally[0]);
        EXPECT_TRUE(t.GuardIntact());
        EXPECT_TRUE(m.GuardIntact());
    }
}

/* ---- Card profile and production data ---- */

TEST_P(Statistics, CardProfileFillsSixBytesAndKeepsTheLastTwo)
{
    SimSession s(GetParam());
    Guarded<CardProfileBuffer> p(CardProfileBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLCardProfileGet)(&p.b));
    const uint8_t expected[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(0, memcmp(expected, p.b.Profile, 6));
    EXPECT_EQ(0x5A, p.b.Spare[0]);
    EXPECT_EQ(0x5A, p.b.Spare[1]);
    EXPECT_TRUE(p.GuardIntact());
    Guarded<CardProfileBuffer> p2(CardProfileBufferType);
    s.Set({3, 0xFD14, 0x0101, 0x0202});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLCardProfileGet)(&p2.b));
    EXPECT_EQ(0x5A, p2.b.Profile[0]);
    p2.b.TS.Size = 8;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLCardProfileGet)(&p2.b));
    EXPECT_EQ("(Val)->TS.Size != sizeof (CardProfileBuffer)", s.Reason());
}

TEST_P(Statistics, ProductionDataRecordIsBoundedByTheCallersSize)
{
    SimSession s(GetParam());
    /* room for 8 value words, guard behind */
    uint16_t rec[2 + 8 + 16];
    for (uint16_t &w : rec) w = 0xA5A5;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLPDAGet)((WL_LTV *)rec, 9));
    EXPECT_EQ(9, rec[0]);
    EXPECT_EQ(0x0800, rec[1]);
    for (int i = 0; i < 8; i++) EXPECT_EQ(i + 1, rec[2 + i]);
    EXPECT_EQ(0xA5A5, rec[10]);
    /* a Size smaller than the record: only that much comes back */
    for (uint16_t &w : rec) w = 0xA5A5;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLPDAGet)((WL_LTV *)rec, 3));
    EXPECT_EQ(3, rec[0]);
    EXPECT_EQ(2, rec[3]);
    EXPECT_EQ(0xA5A5, rec[4]);
    /* guarded arguments */
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLPDAGet)(NULL, 9));
    EXPECT_EQ("Val == NULL", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLPDAGet)((WL_LTV *)rec, 0));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLPDAGet)((WL_LTV *)rec, 4098));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLPDAGet)((WL_LTV *)rec, 0xFFFFFFFF));
    EXPECT_EQ("!INTERVAL (1, <=, Size, <=, WL_IFB_MAX_LEN)", s.Reason());
    EXPECT_EQ(3, rec[0]);
}

/* ---- Diagnostic registers ---- */

TEST_P(Statistics, DiagnosticRegisters)
{
    SimSession s(GetParam());
    int v = -1;
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLAckTOGet)(&v));
    EXPECT_EQ(300, v);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLAckTOSet)(1000));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLAckTOSet)(1001));
    EXPECT_EQ("!INTERVAL (0, <=, Val, <=, 1000)", s.Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLAckTOSet)(-1));
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLAckTOGet)(&v));
    EXPECT_EQ(1000, v);

    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLBcnIntSet)(64));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLBcnIntSet)(63));
    EXPECT_EQ("!INTERVAL (64, <=, Val, <=, 65535)", s.Reason());
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLBcnIntSet)(65535));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLBcnIntSet)(65536));
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLBcnIntGet)(&v));
    EXPECT_EQ(65535, v);
    /* register writes need no apply */
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, SimActionCount(&c, WLSIM_ACTION_APPLY));

    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLClkCtlGet)(&v));
    EXPECT_EQ(3, v);
    EXPECT_NE(std::string::npos, s.lib.returnString().find("<WLClkCTlGet>"));
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLMemCtlGet)(&v));
    EXPECT_EQ(1, v);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLMemCtlGet)(NULL));
    s.Delete(0xFFFD);
    v = 77;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLMemCtlGet)(&v));
    EXPECT_EQ(77, v);
}

/* ---- Records of the wrong shape, for every reading ---- */

/* Every reading of these files, called with a fresh guarded buffer; each
 * answers a code and writes nothing behind its buffer. */
struct Reading {
    const char *name;
    uint16_t type;
    std::function<int(WLLib &, bool *guardOk)> call;
};

template <class T> static int CallTyped(WLLib &lib, uint32_t type, const char *name, bool *ok)
{
    Guarded<T> g(type);
    int rc = reinterpret_cast<int(WLAPI *)(T *)>(reinterpret_cast<void *>(lib.proc(name)))(&g.b);
    *ok = g.GuardIntact();
    return rc;
}

static int CallBytes(WLLib &lib, const char *name, DWORD size, bool *ok)
{
    GuardedBytes g(size);
    DWORD n = size;
    int rc = reinterpret_cast<int(WLAPI *)(unsigned char *, DWORD *)>(reinterpret_cast<void *>(lib.proc(name)))(g.raw(), &n);
    *ok = g.GuardIntact() && n <= size;
    return rc;
}

static int CallMac(WLLib &lib, const char *name, bool *ok)
{
    unsigned char mac[6 + 16];
    memset(mac, 0xA5, sizeof mac);
    int rc = reinterpret_cast<int(WLAPI *)(unsigned char *)>(reinterpret_cast<void *>(lib.proc(name)))(mac);
    *ok = true;
    for (int i = 6; i < (int)sizeof mac; i++) *ok = *ok && mac[i] == 0xA5;
    return rc;
}

#define TYPED(T, fn, type, rec) {#fn, rec, [](WLLib &l, bool *ok) { return CallTyped<T>(l, type, #fn, ok); }}
#define BYTES(fn, size, rec) {#fn, rec, [](WLLib &l, bool *ok) { return CallBytes(l, #fn, size, ok); }}
#define MAC_READ(fn, rec) {#fn, rec, [](WLLib &l, bool *ok) { return CallMac(l, #fn, ok); }}

static const std::vector<Reading> &Readings()
{
    static const std::vector<Reading> r = {
        TYPED(CommunicationsQualityBuffer, WLCommunicationsQualityGet, CommunicationsQualityBufferType, 0xFD43),
        TYPED(ScaleThresholdBuffer, WLScaleThresholdGet, ScaleThresholdBufferType, 0xFD46),
        TYPED(AuthenticationAlgorithmBuffer, WLAuthenticationAlgorithmGet, AuthenticationAlgorithmBufferType, 0xFD4D),
        TYPED(DriverInfoBuffer, WLDriverInfoGet, DriverInfoBufferType, 0x0825),
        TYPED(TalliesBuffer, WLTalliesGet, TalliesBufferType, 0xF100),
        TYPED(MSFTalliesBuffer, WLMSFTalliesGet, MSFTalliesBufferType, 0x090A),
        TYPED(CardProfileBuffer, WLCardProfileGet, CardProfileBufferType, 0xFD14),
        TYPED(IdentityBuffer, WLPRIIdentityGet, IdentityBufferType, 0xFD02),
        TYPED(IdentityBuffer, WLDRVIdentityGet, IdentityBufferType, 0x0826),
        TYPED(CompatibilityRangeBuffer, WLPRISupRangeGet, CompatibilityRangeBufferType, 0xFD03),
        TYPED(CompatibilityRangeBuffer, WLDRVActRangesAPFGet, CompatibilityRangeBufferType, 0x082B),
        TYPED(DownloadBuffer, WLDownloadGet, DownloadBufferType, 0xFD01),
        BYTES(WLOwnSSIDGet, 32, 0xFC04),
        BYTES(WLOwnNameGet, 33, 0xFC0E),
        BYTES(WLCurrentSSIDGet, 32, 0xFD41),
        BYTES(WLPDASerialNumberGet, 32, 0xFD0A),
        BYTES(WLGroupAddressesGet, 193, 0xFC80),
        BYTES(WLCISGet, 480, 0xFD13),
        BYTES(WLReadSPGet, 512, 0xFFF0),
        BYTES(WLFileNameGet, 31, 0xFFFF),
        BYTES(WLPDAPartNumberGet, 17, 0xFA11),
        BYTES(WLPDATracerNumberGet, 16, 0xFA12),
        MAC_READ(WLOwnMACAddressGet, 0xFC01),
        MAC_READ(WLCurrentBSSIDGet, 0xFD42),
        MAC_READ(WLNICMacAddressGet, 0xFD86),
        MAC_READ(WLOwnMACAdrGet, 0xFFF7),
    };
    return r;
}

/* Shapes a hostile driver might answer: only a type, one word, a count
 * word far beyond the record, every word 0xFFFF over the longest record. */
static std::vector<std::vector<uint16_t>> HostileShapes(uint16_t type)
{
    std::vector<std::vector<uint16_t>> shapes;
    shapes.push_back({1, type});
    shapes.push_back({2, type, 0xFFFF});
    shapes.push_back({3, type, 0xFFFF, 0xFFFF});
    std::vector<uint16_t> longest(4098, 0xFFFF);
    longest[0] = 4097;
    longest[1] = type;
    shapes.push_back(longest);
    std::vector<uint16_t> odd(2 + 64, 0x8080);
    odd[0] = 65;
    odd[1] = type;
    shapes.push_back(odd);
    return shapes;
}

TEST_P(Statistics, HostileRecordsNeverCrashAndEveryCallAnswersACode)
{
    SimSession s(GetParam());
    for (const Reading &r : Readings()) {
        for (const std::vector<uint16_t> &shape : HostileShapes(r.type)) {
            for (bool whole : {false, true}) {
                SCOPED_TRACE(testing::Message() << r.name << ", len " << shape[0] << (whole ? ", whole" : ""));
                s.Set(shape);
                if (whole) {
                    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 8, 0, WLSIM_ANY_ADAPTER};
                    ASSERT_EQ(0, SimArmFault(&f));
                }
                bool guardOk = false;
                int rc = r.call(s.lib, &guardOk);
                EXPECT_TRUE(rc == WL_SUCCESS || (rc >= WL_GENERAL_ERROR && rc <= WL_DRIVER_BUSY)) << rc;
                EXPECT_TRUE(guardOk) << "written behind the buffer";
                WlSimFault off = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 0, 0, WLSIM_ANY_ADAPTER};
                SimArmFault(&off);
            }
        }
        /* with the adapter's own records back, the reading succeeds again */
        s.sim = SimAdapterFor(s.reg, GetParam());
        bool guardOk = false;
        EXPECT_EQ(WL_SUCCESS, r.call(s.lib, &guardOk)) << r.name;
        EXPECT_TRUE(guardOk);
    }
}

INSTANTIATE_TEST_SUITE_P(All, Statistics, testing::ValuesIn(kVariants), VariantName);

TEST(StatisticsNoAdapter, ReadingsWithoutAnAdapterAnswerWithoutTheDriver)
{
    WLLib lib(kE);
    ASSERT_EQ(0, SimReset());
    for (const Reading &r : Readings()) {
        bool guardOk = false;
        int rc = r.call(lib, &guardOk);
        EXPECT_NE(WL_SUCCESS, rc) << r.name;
        EXPECT_TRUE(guardOk) << r.name;
    }
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}
