/* The library compatibility verdict: the caller's range, the library's own
 * identity, the driver's identity or the registry's, and the state the
 * trace header reports. */
#include "sim_session.h"

class Compat : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override
    {
        Clean();
        WriteFile("\\wllog.txt", "");
    }
    void TearDown() override { Clean(); }
    void Clean()
    {
        RemoveFile("\\wllog.txt");
        for (int n = 0; n <= 2; n++) RemoveFile(LogName(n));
    }
    std::string LogName(int n) const { return std::string("\\wllog48") + GetParam().letter + std::to_string(n) + ".txt"; }
    std::string Log() const { return ReadFile(LogName(0)); }
    static CompatibilityRangeBuffer ActorRange(int num = 1)
    {
        CompatibilityRangeBuffer r = TypedBuffer<CompatibilityRangeBuffer>(CompatibilityRangeBufferType);
        r.Role = COMP_ROLE_ACT;
        r.Id = 7;
        r.Num = num;
        r.Vbt[0] = {1, 4, 4};
        return r;
    }
    /* The driver's identity record matching this variant's library. */
    static void MatchingDriver(SimSession &s) { s.Set({5, 0x0826, 44, (uint16_t)GetParam().number, 8, 24}); }
};

static bool Has(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

struct VerdictCase {
    const char *what;
    int mismatch;
    int actorNum;      /* entries of the caller's range; 0 is invalid */
    bool driverRecord; /* else the registry's identity */
    int driverMinor;
    int verdict;
    const char *logged; /* a line of the trace, or NULL */
};

static const VerdictCase kVerdicts[] = {
    {"all fit", 0, 1, true, 24, WL_COMPATIBLE, "DRV Identity: (C, V, M, m) = (44, "},
    {"compilation mode", 1, 1, true, 24, WL_INCOMPATIBLE, "DAI: Compilation mode mismatch\n"},
    {"caller range invalid", 0, 0, true, 24, WL_INCOMPATIBLE, "DAI: Actor - Supplier mismatch\n"},
    {"driver minor", 0, 1, true, 25, WL_INCOMPATIBLE, "DAI: Dll - Driver mismatch\n"},
    {"registry fits", 0, 1, false, 24, WL_COMPATIBLE, "REG Identity: (C, V, M, m) = (0, "},
    {"registry minor", 0, 1, false, 23, WL_INCOMPATIBLE, "DAI: Dll - Registry mismatch\n"},
};

TEST_P(Compat, Verdicts)
{
    for (const VerdictCase &c : kVerdicts) {
        SCOPED_TRACE(c.what);
        Clean();
        WriteFile("\\wllog.txt", "");
        SimSession s(GetParam());
        if (c.driverRecord) {
            s.Set({5, 0x0826, 44, (uint16_t)GetParam().number, 8, (uint16_t)c.driverMinor});
        } else {
            s.Delete(0x0826);
            s.reg.writeDword("DriverVariant", GetParam().number);
            s.reg.writeDword("DriverMajor", 8);
            s.reg.writeDword("DriverMinor", c.driverMinor);
        }
        CompatibilityRangeBuffer range = ActorRange(c.actorNum);
        EXPECT_EQ(c.verdict, WL(s.lib, WLDAICompatibilityGet)(&range, c.mismatch)) << s.lib.returnString();
        std::string log = Log();
        EXPECT_TRUE(Has(log, c.logged)) << log;
        EXPECT_TRUE(Has(log, "DAI Sup Range: Role 0, Id 7\n")) << log;
        EXPECT_TRUE(Has(log, "1: Variant 1, Bottom 4, Top 4\n"));
        EXPECT_TRUE(Has(log, "DAI Identity: (C, V, M, m) = (48, " + std::to_string(GetParam().number) + ", 8, 24)\n"));
        EXPECT_TRUE(Has(log, std::string("DAI Compatibility: ") +
                                 (c.verdict == WL_COMPATIBLE ? "WL_COMPATIBLE\n" : "WL_INCOMPATIBLE\n")));
    }
}

TEST_P(Compat, RefusedBuffers)
{
    SimSession s(GetParam());
    MatchingDriver(s);
    CompatibilityRangeBuffer range = ActorRange();
    ASSERT_EQ(WL_COMPATIBLE, WL(s.lib, WLDAICompatibilityGet)(&range, 0));
    CompatibilityRangeBuffer bad = range;
    bad.TS.Type = IdentityBufferType;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDAICompatibilityGet)(&bad, 0));
    EXPECT_TRUE(s.Logged("Val->TS.Type != CompatibilityRangeBufferType"));
    bad = range;
    bad.TS.Size -= 4;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDAICompatibilityGet)(&bad, 0));
    EXPECT_TRUE(s.Logged("Val->TS.Size != sizeof (CompatibilityRangeBuffer)"));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDAICompatibilityGet)(NULL, 0));
    EXPECT_TRUE(s.Logged("Val == NULL"));
}

INSTANTIATE_TEST_SUITE_P(All, Compat, testing::ValuesIn(kVariants), VariantName);
