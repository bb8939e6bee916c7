/* Identities, compatibility ranges, the library's own identity and the
 * download record. */
#include "sim_session.h"

typedef int(WLAPI *IdentityFn)(IdentityBuffer *);
typedef int(WLAPI *RangeFn)(CompatibilityRangeBuffer *);

struct Export {
    const char *name;
    uint16_t type;
};

static const Export kIdentityExports[] = {
    {"WLPRIIdentityGet", 0xFD02}, {"WLNICIdentityGet", 0xFD0B}, {"WLSTAIdentityGet", 0xFD20},
    {"WLDRVIdentityGet", 0x0826}, {"WLUBIIdentityGet", 0x0880}, {"WLUDIIdentityGet", 0x0882},
};

static const Export kRangeExports[] = {
    {"WLPRISupRangeGet", 0xFD03},     {"WLHSISupRangeGet", 0xFD09},
    {"WLMFISupRangeGet", 0xFD0C},     {"WLCFISupRangeGet", 0xFD0D},
    {"WLSTASupRangeGet", 0xFD21},     {"WLDRVSupRangeGet", 0x0827},
    {"WLUBISupRangeGet", 0x0881},     {"WLUDISupRangeGet", 0x0883},
    {"WLMFIActRangesGet", 0xFD22},    {"WLCFIActRangesPRIGet", 0xFD04},
    {"WLCFIActRangesSTAGet", 0xFD23}, {"WLDRVActRangesPRIGet", 0x0828},
    {"WLDRVActRangesSTAGet", 0x0829}, {"WLDRVActRangesHSIGet", 0x082A},
    {"WLDRVActRangesUBIGet", 0x0886}, {"WLDRVActRangesUDIGet", 0x0885},
    {"WLUBIActRangesUDIGet", 0x0884}, {"WLDRVActRangesAPFGet", 0x082B},
};

class Identity : public testing::TestWithParam<Variant> {};

/* ---- Identities ---- */

TEST_P(Identity, EachExportReadsItsOwnRecord)
{
    SimSession s(GetParam());
    /* a distinct identity per record type: (type low byte, i, 8 + i, 24 + i) */
    for (size_t i = 0; i < sizeof kIdentityExports / sizeof kIdentityExports[0]; i++)
        s.Set({5, kIdentityExports[i].type, (uint16_t)(kIdentityExports[i].type & 0xFF), (uint16_t)i,
               (uint16_t)(8 + i), (uint16_t)(24 + i)});
    for (size_t i = 0; i < sizeof kIdentityExports / sizeof kIdentityExports[0]; i++) {
        const Export &e = kIdentityExports[i];
        SCOPED_TRACE(e.name);
        IdentityFn fn = reinterpret_cast<IdentityFn>(reinterpret_cast<void *>(s.lib.proc(e.name)));
        Guarded<IdentityBuffer> id(IdentityBufferType);
        ASSERT_EQ(WL_SUCCESS, fn(&id.b));
        EXPECT_EQ(e.type & 0xFF, id.b.C);
        EXPECT_EQ((int)i, id.b.V);
        EXPECT_EQ((int)(8 + i), id.b.M);
        EXPECT_EQ((int)(24 + i), id.b.m);
        EXPECT_TRUE(id.GuardIntact());
    }
}

TEST_P(Identity, BufferChecksComeFirstAndLeaveTheBuffer)
{
    SimSession s(GetParam());
    for (const Export &e : kIdentityExports) {
        SCOPED_TRACE(e.name);
        IdentityFn fn = reinterpret_cast<IdentityFn>(reinterpret_cast<void *>(s.lib.proc(e.name)));
        EXPECT_EQ(WL_INVALID_PARAMETER, fn(NULL));
        EXPECT_EQ("Val == NULL", s.Reason());
        Guarded<IdentityBuffer> id(CompatibilityRangeBufferType);
        EXPECT_EQ(WL_INVALID_PARAMETER, fn(&id.b));
        EXPECT_EQ("Val->TS.Type != IdentityBufferType", s.Reason());
        id.b.TS.Type = IdentityBufferType;
        id.b.TS.Size = 20;
        EXPECT_EQ(WL_INVALID_PARAMETER, fn(&id.b));
        EXPECT_EQ("Val->TS.Size != sizeof (IdentityBuffer)", s.Reason());
        EXPECT_EQ(0x5A5A5A5A, id.b.C);
    }
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

TEST_P(Identity, ShortOrMissingRecordLeavesTheBufferAlone)
{
    SimSession s(GetParam());
    Guarded<IdentityBuffer> id(IdentityBufferType);
    s.Set({4, 0x0826, 44, 5, 8});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLDRVIdentityGet)(&id.b));
    EXPECT_TRUE(s.Logged("ltv.len < 5"));
    s.Delete(0x0826);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLDRVIdentityGet)(&id.b));
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(s.lib, WLSTAIdentityGet)(&id.b));
    EXPECT_EQ(0x5A5A5A5A, id.b.C);
    EXPECT_EQ(0x5A5A5A5A, id.b.m);
    /* a longer record gives its first four words */
    s.Set({8, 0x0826, 44, 5, 8, 24, 99, 99, 99});
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDRVIdentityGet)(&id.b));
    EXPECT_EQ(24, id.b.m);
    EXPECT_TRUE(id.GuardIntact());
}

TEST_P(Identity, DefaultFirmwareAndDriverIdentities)
{
    SimSession s(GetParam());
    Guarded<IdentityBuffer> id(IdentityBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLSTAIdentityGet)(&id.b));
    EXPECT_EQ(22, id.b.C);
    EXPECT_EQ(8, id.b.M);
    EXPECT_EQ(24, id.b.m);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDRVIdentityGet)(&id.b));
    EXPECT_EQ(44, id.b.C);
    EXPECT_EQ(8, id.b.M);
    EXPECT_EQ(24, id.b.m);
}

TEST_P(Identity, LibraryIdentityIsComponent48OfItsVariantVersion8_24)
{
    SimSession s(GetParam());
    Guarded<IdentityBuffer> id(IdentityBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDAIIdentityGet)(&id.b));
    EXPECT_EQ(48, id.b.C);
    EXPECT_EQ(GetParam().number, id.b.V);
    EXPECT_EQ(8, id.b.M);
    EXPECT_EQ(24, id.b.m);
    EXPECT_TRUE(id.GuardIntact());
    id.b.TS.Size = 25;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDAIIdentityGet)(&id.b));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDAIIdentityGet)(NULL));
    /* answered without the driver */
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

/* ---- Compatibility ranges ---- */

TEST_P(Identity, EachRangeExportReadsItsOwnRecord)
{
    SimSession s(GetParam());
    /* role alternating, id = position, one entry (position, 1, position + 1) */
    const size_t n = sizeof kRangeExports / sizeof kRangeExports[0];
    for (size_t i = 0; i < n; i++)
        s.Set({6, kRangeExports[i].type, (uint16_t)(i % 2), (uint16_t)i, (uint16_t)i, 1, (uint16_t)(i + 1)});
    for (size_t i = 0; i < n; i++) {
        const Export &e = kRangeExports[i];
        SCOPED_TRACE(e.name);
        RangeFn fn = reinterpret_cast<RangeFn>(reinterpret_cast<void *>(s.lib.proc(e.name)));
        Guarded<CompatibilityRangeBuffer> r(CompatibilityRangeBufferType);
        ASSERT_EQ(WL_SUCCESS, fn(&r.b));
        EXPECT_EQ((int)(i % 2), r.b.Role);
        EXPECT_EQ((int)i, r.b.Id);
        EXPECT_EQ(1, r.b.Num);
        EXPECT_EQ((int)i, r.b.Vbt[0].Variant);
        EXPECT_EQ(1, r.b.Vbt[0].Bottom);
        EXPECT_EQ((int)(i + 1), r.b.Vbt[0].Top);
        EXPECT_EQ(0, r.b.Vbt[1].Variant);
        EXPECT_TRUE(r.GuardIntact());
        EXPECT_EQ(WL_INVALID_PARAMETER, fn(NULL));
        r.b.TS.Type = IdentityBufferType;
        EXPECT_EQ(WL_INVALID_PARAMETER, fn(&r.b));
        EXPECT_EQ("Val->TS.Type != CompatibilityRangeBufferType", s.Reason());
        r.b.TS.Type = CompatibilityRangeBufferType;
        r.b.TS.Size = 256;
        EXPECT_EQ(WL_INVALID_PARAMETER, fn(&r.b));
        EXPECT_EQ("Val->TS.Size != sizeof (CompatibilityRangeBuffer)", s.Reason());
    }
}

TEST_P(Identity, DefaultActorRangeHasTwoEntries)
{
    SimSession s(GetParam());
    Guarded<CompatibilityRangeBuffer> r(CompatibilityRangeBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLMFIActRangesGet)(&r.b));
    EXPECT_EQ(COMP_ROLE_ACT, r.b.Role);
    EXPECT_EQ(2, r.b.Num);
    EXPECT_EQ(2, r.b.Vbt[1].Variant);
    EXPECT_EQ(6, r.b.Vbt[0].Top);
}

TEST_P(Identity, RangeRecordsFailingValidationNameTheReason)
{
    SimSession s(GetParam());
    struct Case {
        std::vector<uint16_t> rec;
        const char *reason;
    } cases[] = {
        {{3, 0xFD03, 0, 7}, "!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS)"},
        {{5, 0xFD03, 0, 7, 1, 4}, "!INTERVAL (1, <=, Val->Num, <=, MAX_NUM_VARIANTS)"},
        {{6, 0xFD03, 2, 7, 1, 4, 4}, "!((Val->Role == COMP_ROLE_SUPL) || (Val->Role == COMP_ROLE_ACT))"},
        {{6, 0xFD03, 0, 7, 100, 4, 4}, "!INTERVAL (0, <=, Vbt->Variant, <=, 99)"},
        {{6, 0xFD03, 0, 7, 1, 256, 256}, "!INTERVAL (0, <=, Vbt->Bottom, <=, 255)"},
        {{6, 0xFD03, 0, 7, 1, 4, 256}, "!INTERVAL (0, <=, Vbt->Top, <=, 255)"},
        {{6, 0xFD03, 0, 7, 1, 5, 4}, "!(Vbt->Top >= Vbt->Bottom)"},
        {{9, 0xFD03, 1, 7, 1, 4, 4, 2, 9, 3}, "!(Vbt->Top >= Vbt->Bottom)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reason);
        WL(s.lib, WLLogErrorNew)();
        s.Set(c.rec);
        Guarded<CompatibilityRangeBuffer> r(CompatibilityRangeBufferType);
        EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLPRISupRangeGet)(&r.b));
        EXPECT_TRUE(s.Logged(c.reason)) << ReadFile("\\wlerr.txt");
        EXPECT_EQ(0x5A5A5A5A, r.b.Num) << "the buffer was changed";
        EXPECT_TRUE(r.GuardIntact());
    }
}

TEST_P(Identity, OversizedRangeRecordIsCutToTwentyEntries)
{
    SimSession s(GetParam());
    /* 25 entries, answered whole by the driver: the read keeps 20 */
    std::vector<uint16_t> rec = {3 * 25 + 3, 0x0829, 1, 4};
    for (int i = 0; i < 25; i++) {
        rec.push_back((uint16_t)i);
        rec.push_back((uint16_t)i);
        rec.push_back((uint16_t)(i + 10));
    }
    s.Set(rec);
    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&f));
    Guarded<CompatibilityRangeBuffer> r(CompatibilityRangeBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDRVActRangesSTAGet)(&r.b));
    EXPECT_EQ(MAX_NUM_VARIANTS, r.b.Num);
    EXPECT_EQ(19, r.b.Vbt[19].Variant);
    EXPECT_EQ(29, r.b.Vbt[19].Top);
    EXPECT_TRUE(r.GuardIntact());
}

TEST_P(Identity, LibrarySupplierRange)
{
    SimSession s(GetParam());
    Guarded<CompatibilityRangeBuffer> r(CompatibilityRangeBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDAISupRangeGet)(&r.b));
    EXPECT_EQ(COMP_ROLE_SUPL, r.b.Role);
    EXPECT_EQ(7, r.b.Id);
    EXPECT_EQ(1, r.b.Num);
    EXPECT_EQ(1, r.b.Vbt[0].Variant);
    EXPECT_EQ(4, r.b.Vbt[0].Bottom);
    EXPECT_EQ(4, r.b.Vbt[0].Top);
    EXPECT_EQ(0, r.b.Vbt[1].Top);
    EXPECT_TRUE(r.GuardIntact());
    r.b.TS.Type = 2;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDAISupRangeGet)(&r.b));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

/* ---- Download record, regulatory domains ---- */

TEST_P(Identity, DownloadRecord)
{
    SimSession s(GetParam());
    Guarded<DownloadBuffer> d(DownloadBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLDownloadGet)(&d.b));
    EXPECT_EQ(1, d.b.Value[0]);
    EXPECT_EQ(0x2000, d.b.Value[1]);
    EXPECT_EQ(0x40, d.b.Value[2]);
    EXPECT_TRUE(d.GuardIntact());

    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDownloadGet)(NULL));
    d.b.TS.Size = 24;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDownloadGet)(&d.b));
    EXPECT_TRUE(s.Logged("Val->TS.Size != sizeof (DownloadBuffer)"));

    Guarded<DownloadBuffer> d2(DownloadBufferType);
    s.Set({3, 0xFD01, 7, 7});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLDownloadGet)(&d2.b));
    EXPECT_EQ(0x5A5A5A5A, d2.b.Value[0]);
}

TEST_P(Identity, RegulatoryDomainsAreNotSupported)
{
    SimSession s(GetParam());
    DWORD size = 4;
    EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(s.lib, WLRegulatoryDomainsGet)(NULL, &size));
    EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(s.lib, WLRegulatoryDomainsGet)(&size, NULL));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

INSTANTIATE_TEST_SUITE_P(All, Identity, testing::ValuesIn(kVariants), VariantName);
