/*
 * Single-value parameters end to end: every member over every variant,
 * against the stand-in driver and the adapter's registry key.
 */
#include <aclapi.h>

#include <memory>

#include "wlsession.h"

namespace {

const char kNic[] = "0170";

/* A member with a setter: name, records, accepted range, refusal reason,
 * per-NIC registry value and the reason of a failed registry write. */
struct Setter {
    const char *name;
    uint16_t read, write;
    int lo, hi;
    const char *reason;
    const char *reg;
    const char *regReason;
};

const Setter kSetters[] = {
    {"PortType", 0xFC00, 0xFC00, 1, 3, "!INTERVAL (1, <=, Val, <=, 3)", NULL, NULL},
    {"ATIMWindow", 0xFC05, 0xFC05, 0, 100, "!INTERVAL (0, <=, Val, <=, 100)", NULL, NULL},
    {"SystemScale", 0xFC06, 0xFC06, 1, 5, "!INTERVAL (SYSTEM_SCALE_LARGE, <=, Val, <=, SYSTEM_SCALE_MICRO)",
     "SystemScale", "_WLSystemScaleSet (Val) != WL_SUCCESS"},
    {"MaxDataLength", 0xFC07, 0xFC07, 350, 2304, "!INTERVAL (350, <=, Val, <=, 2304)", NULL, NULL},
    {"PMEnabled", 0xFC09, 0xFC09, 0, 0x8002,
     "!INTERVAL (0, <=, Val, <=, 2) && !INTERVAL (0x8001, <=, Val, <=, 0x8002)", "PMEnabled",
     "_WLPMEnabledSet (Val) != WL_SUCCESS"},
    {"ConnectionMode", 0x0908, 0x0908, 0, 2,
     "!INTERVAL (CONNECTION_MODE_ESS, <=, Val, <=, CONNECTION_MODE_SOFTAP)", NULL, NULL},
    {"MulticastReceive", 0xFC0B, 0xFC0B, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", NULL, NULL},
    {"MaxSleepDuration", 0xFC0C, 0xFC0C, 1, 65535, "!INTERVAL (1, <=, Val, <=, 65535)", NULL, NULL},
    {"PMHoldoverDuration", 0xFC0D, 0xFC0D, 1, 1000, "!INTERVAL (1, <=, Val, <=, 1000)", NULL, NULL},
    {"EncryptionEnabled", 0xFC20, 0xFC20, 0, 7, "!INTERVAL (0, <=, Val, <=, 7)", NULL, NULL},
    {"Authentication", 0xFC21, 0xFC21, 0, 2,
     "!INTERVAL (AUTHENTICATION_ALGORITHM_AUTO, <=, Val, <=, AUTHENTICATION_ALGORITHM_SHARED_KEY)",
     "Authentication", "_WLAuthenticationSet (Val) != WL_SUCCESS"},
    {"MulticastRate", 0xFC23, 0xFC23, 1, 4, "!INTERVAL (1, <=, Val, <=, 4)", NULL, NULL},
    {"MicrowaveRobustness", 0xFC25, 0xFC25, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", "MicroWaveRobustness",
     "_WLMicrowaveRobustnessSet (Val) != WL_SUCCESS"},
    {"LoadBalancing", 0xFC26, 0xFC26, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", NULL, NULL},
    {"MediumDistribution", 0xFC27, 0xFC27, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", NULL, NULL},
    {"GroupAddressFilter", 0xFC28, 0xFC28, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", NULL, NULL},
    {"CreateIBSS", 0xFC81, 0xFC81, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", NULL, NULL},
    {"RTSThreshold", 0xFC83, 0xFC83, 0, 2347, "!INTERVAL (0, <=, Val, <=, 2347)", NULL, NULL},
    {"TXRateControl", 0xFC84, 0xFC84, 1, 7, "!INTERVAL (1, <=, Val, <=, 7)", NULL, NULL},
    {"PromiscuousMode", 0xFC85, 0xFC85, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", NULL, NULL},
    {"TXKeyId", 0xFCB1, 0xFCB1, 0, 3, "!INTERVAL (0, <=, Val, <=, 3)", NULL, NULL},
    {"TickTime", 0xFCE0, 0xFCE0, 0, 65535, "!INTERVAL (0, <=, Val, <=, 65535)", NULL, NULL},
    {"RadioStatus", 0x0825, 0x0902, 0, 1, "!INTERVAL (0, <=, Val, <=, 1)", "DriverEnable",
     "_WLRadioStatusSet (Val) != WL_SUCCESS"},
    {"PowerMode", 0x0907, 0x0907, 0, 6,
     "!INTERVAL (POWER_MANAGEMENT_MODE_DISABLED, <=, Val, <=, POWER_MANAGEMENT_MODE_STANDARD_CDS)",
     "PowerMode", "_WLPowerModeSet (Val) != WL_SUCCESS"},
};

/* Getters of the common pattern: one record, its value zero-extended. */
struct Getter {
    const char *name;
    uint16_t type;
};

const Getter kGetters[] = {
    {"PortType", 0xFC00},           {"ATIMWindow", 0xFC05},
    {"SystemScale", 0xFC06},        {"MaxDataLength", 0xFC07},
    {"PMEnabled", 0xFC09},          {"ConnectionMode", 0x0908},
    {"MulticastReceive", 0xFC0B},   {"MaxSleepDuration", 0xFC0C},
    {"PMHoldoverDuration", 0xFC0D}, {"EncryptionEnabled", 0xFC20},
    {"Authentication", 0xFC21},     {"MulticastRate", 0xFC23},
    {"MicrowaveRobustness", 0xFC25}, {"LoadBalancing", 0xFC26},
    {"MediumDistribution", 0xFC27}, {"GroupAddressFilter", 0xFC28},
    {"CreateIBSS", 0xFC81},         {"RTSThreshold", 0xFC83},
    {"TXRateControl", 0xFC84},      {"PromiscuousMode", 0xFC85},
    {"TXKeyId", 0xFCB1},            {"TickTime", 0xFCE0},
    {"PowerMode", 0x0907},          {"MaxLoadTime", 0xFD00},
    {"ChannelList", 0xFD10},        {"TempType", 0xFD12},
    {"NICBusType", 0xFD24},         {"PortStatus", 0xFD40},
    {"CurrentBeaconInterval", 0xFD45}, {"ProtocolRspTime", 0xFD47},
    {"CurrentShortRetryLimit", 0xFD48}, {"CurrentLongRetryLimit", 0xFD49},
    {"MaxTransmitLifetime", 0xFD4A}, {"MaxReceiveLifetime", 0xFD4B},
    {"CFPollable", 0xFD4C},         {"PrivacyOptionImplemented", 0xFD4F},
    {"CurrentSystemScale", 0xFD52}, {"PHYType", 0xFDC0},
    {"CurrentChannel", 0xFDC1},     {"CurrentPowerState", 0xFDC2},
    {"CCAMode", 0xFDC3},            {"LinkStatus", 0x090B},
    {"DomainCode", 0xFD25},
};

/* Getters whose registry value answers when the adapter cannot. */
const char *const kFallbackGetters[] = {"SystemScale", "PowerMode"};

/* Getters of their own kind (all take a pointer first). */
const char *const kOtherGetters[] = {"RadioStatus", "SWRadioStatus", "HWRadioStatus", "CurrentTXRate",
                                     "CurrentTXRateF", "CurrentChannelInfo"};

typedef int(WINAPI *GetFn)(int *);
typedef int(WINAPI *SetFn)(int);

/* Records after whose change the library sends the apply action. */
bool NeedsApply(uint16_t type, bool cd)
{
    if (type >= 0xFC00 && type <= 0xFC7F) return type != 0xFC21 || cd;
    return type == 0xFC84 || type == 0xFCC7 || type == 0x0902 || type == 0x0905 || type == 0x0907 ||
           type == 0x0908;
}

/* Values a setter must accept and refuse. */
std::vector<int> Accepted(const Setter &s)
{
    if (std::string(s.name) == "PMEnabled") return {0, 1, 2, 0x8001, 0x8002};
    return {s.lo, s.hi};
}

std::vector<int> Refused(const Setter &s)
{
    if (std::string(s.name) == "PMEnabled") return {-1, 3, 0x8000, 0x8003};
    return {s.lo - 1, s.hi + 1};
}

/* Raw registry value of the NIC key: its type and data. */
struct RegValue {
    bool present = false;
    DWORD type = 0;
    DWORD dword = 0;
    std::string text;
};

RegValue ReadRegValue(const RegAdapter &a, const char *name)
{
    RegValue v;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, a.nicKey().c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return v;
    BYTE data[64] = {0};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(h, name, NULL, &v.type, data, &size) == ERROR_SUCCESS) {
        v.present = true;
        if (v.type == REG_DWORD) memcpy(&v.dword, data, sizeof v.dword);
        else v.text = reinterpret_cast<const char *>(data);
    }
    RegCloseKey(h);
    return v;
}

/* Checks the registry value holds `value` the way this OS keeps numbers. */
void ExpectRegNumber(const RegAdapter &a, const char *name, int value)
{
    RegValue v = ReadRegValue(a, name);
    ASSERT_TRUE(v.present) << name << " not written";
    if (ExpectedOsType() & OS_NT_FAMILY) {
        EXPECT_EQ((DWORD)REG_DWORD, v.type) << name;
        EXPECT_EQ((DWORD)value, v.dword) << name;
    } else {
        EXPECT_EQ((DWORD)REG_SZ, v.type) << name;
        EXPECT_EQ(std::to_string(value), v.text) << name;
    }
}

/*
 * While alive, the key's access list grants reading only, so that opening
 * it for writing fails. The original list comes back on destruction.
 */
class KeyWriteLock {
public:
    explicit KeyWriteLock(const std::string &key) : key_(key)
    {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, READ_CONTROL | WRITE_DAC, &h_) != ERROR_SUCCESS) {
            h_ = NULL;
            return;
        }
        DWORD size = 0;
        RegGetKeySecurity(h_, DACL_SECURITY_INFORMATION, NULL, &size);
        saved_.resize(size ? size : 1);
        if (RegGetKeySecurity(h_, DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS) return;

        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_)) return;
        EXPLICIT_ACCESSA ea;
        memset(&ea, 0, sizeof ea);
        ea.grfAccessPermissions = KEY_READ;
        ea.grfAccessMode = SET_ACCESS;
        ea.grfInheritance = NO_INHERITANCE;
        ea.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        ea.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        ea.Trustee.ptstrName = reinterpret_cast<LPSTR>(everyone_);
        if (SetEntriesInAclA(1, &ea, NULL, &acl_) != ERROR_SUCCESS) return;
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, acl_, FALSE);
        applied_ = RegSetKeySecurity(h_, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    }
    ~KeyWriteLock()
    {
        if (h_ != NULL) {
            if (applied_) RegSetKeySecurity(h_, DACL_SECURITY_INFORMATION, saved_.data());
            RegCloseKey(h_);
        }
        if (acl_ != NULL) LocalFree(acl_);
        if (everyone_ != NULL) FreeSid(everyone_);
    }
    /* Whether writing is refused now (the platform enforces key access lists). */
    bool locked() const
    {
        if (!applied_) return false;
        HKEY h;
        LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, &h);
        if (rc == ERROR_SUCCESS) RegCloseKey(h);
        return rc == ERROR_ACCESS_DENIED;
    }

private:
    std::string key_;
    HKEY h_ = NULL;
    std::vector<BYTE> saved_;
    PSID everyone_ = NULL;
    PACL acl_ = NULL;
    bool applied_ = false;
};

} // namespace

class ScalarTest : public AdapterTest {
protected:
    ScalarTest() : AdapterTest(kNic, "Scalar test card") {}
    void SetUp() override
    {
        RemoveFile("\\wlerr.txt");
        AdapterTest::SetUp();
    }
    void TearDown() override
    {
        AdapterTest::TearDown(); /* closes the library's log files */
        RemoveFile("\\wlerr.txt");
    }

    GetFn getter(const std::string &name)
    {
        return reinterpret_cast<GetFn>(reinterpret_cast<void *>(lib_->proc(("WL" + name + "Get").c_str())));
    }
    SetFn setter(const std::string &name)
    {
        return reinterpret_cast<SetFn>(reinterpret_cast<void *>(lib_->proc(("WL" + name + "Set").c_str())));
    }
    /* The stored record's first value, -1 when the record is missing;
     * *len gets its len. */
    int record(uint16_t type, uint16_t *len = nullptr)
    {
        uint16_t buf[8] = {0};
        if (SimGetRecord(sim_, type, buf, 8) != 0) return -1;
        if (len) *len = buf[0];
        return buf[0] >= 2 ? buf[2] : -1;
    }
    void setRecord(uint16_t type, uint16_t value)
    {
        uint16_t ltv[3] = {2, type, value};
        ASSERT_EQ(0, SimSetRecord(sim_, ltv)) << SimLastErrorText();
    }
    void expectReason(const std::string &reason)
    {
        std::string line = lib_->returnString();
        EXPECT_NE(std::string::npos, line.find("returned [" + reason + "]")) << line;
    }
    /* The last call's exit line is fn's, with the reason. */
    void expectExit(const std::string &fn, const std::string &reason)
    {
        std::string line = lib_->returnString();
        EXPECT_EQ(0u, line.find("} <" + fn + "> ")) << line;
        EXPECT_NE(std::string::npos, line.find("returned [" + reason + "]")) << line;
    }
    void expectExitOf(const std::string &fn)
    {
        std::string line = lib_->returnString();
        EXPECT_EQ(0u, line.find("} <" + fn + "> ")) << line;
    }
};

TEST_P(ScalarTest, SettersAcceptTheirRangeEndsAndWriteOneWord)
{
    for (const Setter &s : kSetters) {
        SCOPED_TRACE(s.name);
        for (int value : Accepted(s)) {
            SCOPED_TRACE(value);
            ASSERT_EQ(WL_SUCCESS, setter(s.name)(value));
            expectExitOf(std::string("WL") + s.name + "Set");
            uint16_t len = 0;
            EXPECT_EQ(value, record(s.write, &len));
            EXPECT_EQ(2, len);
            if (s.reg) ExpectRegNumber(*reg_, s.reg, value);
        }
    }
}

TEST_P(ScalarTest, SettersRefuseOnePastEachEndWithoutTouchingAnything)
{
    for (const Setter &s : kSetters) {
        SCOPED_TRACE(s.name);
        RegValue before = s.reg ? ReadRegValue(*reg_, s.reg) : RegValue();
        int stored = record(s.write);
        for (int value : Refused(s)) {
            SCOPED_TRACE(value);
            SimClearLog();
            EXPECT_EQ(WL_INVALID_PARAMETER, setter(s.name)(value));
            expectExit(std::string("WL") + s.name + "Set", s.reason);
            EXPECT_EQ(0u, SimCountersNow().exchanges);
            EXPECT_EQ(stored, record(s.write));
            if (s.reg) {
                RegValue after = ReadRegValue(*reg_, s.reg);
                EXPECT_EQ(before.present, after.present);
                EXPECT_EQ(before.dword, after.dword);
            }
        }
    }
}

TEST_P(ScalarTest, GettersZeroExtendTheRecordValue)
{
    for (const Getter &g : kGetters) {
        SCOPED_TRACE(g.name);
        for (uint16_t raw : {(uint16_t)0xFFFF, (uint16_t)0x8001, (uint16_t)0}) {
            setRecord(g.type, raw);
            int val = -7;
            ASSERT_EQ(WL_SUCCESS, getter(g.name)(&val));
            EXPECT_EQ((int)raw, val);
            expectExitOf(std::string("WL") + g.name + "Get");
        }
    }
}

TEST_P(ScalarTest, GettersRefuseNullWithoutAskingTheAdapter)
{
    std::vector<std::string> names;
    for (const Getter &g : kGetters) names.push_back(g.name);
    for (const char *n : kOtherGetters) names.push_back(n);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        if (name == "CurrentChannelInfo" && v_.cd()) continue; /* not supported there */
        SimClearLog();
        EXPECT_EQ(WL_INVALID_PARAMETER, getter(name)(NULL));
        expectReason("Val == NULL");
        EXPECT_EQ(0u, SimCountersNow().exchanges);
    }
}

TEST_P(ScalarTest, FailedReadsLeaveTheValueAlone)
{
    for (const Getter &g : kGetters) {
        SCOPED_TRACE(g.name);
        if (std::string(g.name) == "SystemScale" || std::string(g.name) == "PowerMode") continue;
        /* the record exists but carries no value */
        ASSERT_EQ(0, SimDeleteRecord(sim_, g.type));
        int val = -7;
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, getter(g.name)(&val));
        EXPECT_EQ(-7, val);
        /* the driver fails the read on an open channel */
        setRecord(g.type, 5);
        ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_TIME_OUT));
        EXPECT_EQ(WL_GENERAL_ERROR, getter(g.name)(&val));
        EXPECT_EQ(-7, val);
        EXPECT_NE(std::string::npos, lib_->generalError().find("<get_info>"));
        /* and the next read works again */
        EXPECT_EQ(WL_SUCCESS, getter(g.name)(&val));
        EXPECT_EQ(5, val);
    }
}

TEST_P(ScalarTest, OverlongRecordsAreCutToOneWord)
{
    /* The driver answers a long record whole, beyond the one word asked. */
    uint16_t ltv[42];
    ltv[0] = 41;
    ltv[1] = 0xFC07;
    for (int i = 2; i < 42; i++) ltv[i] = (uint16_t)(0x1111 * (i % 8) + i);
    ltv[2] = 1500;
    ASSERT_EQ(0, SimSetRecord(sim_, ltv));
    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 2, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&f));
    int val = -7;
    EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLMaxDataLengthGet)(&val));
    EXPECT_EQ(1500, val);
    /* the setter's read-before-write sees a different record and writes */
    SimClearLog();
    EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLMaxDataLengthSet)(1500));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimTypePuts(&c, 0xFC07));
    uint16_t len = 0;
    EXPECT_EQ(1500, record(0xFC07, &len));
    EXPECT_EQ(2, len);
}

TEST_P(ScalarTest, SettingTheCurrentValueWritesNothing)
{
    for (const Setter &s : kSetters) {
        SCOPED_TRACE(s.name);
        int current = record(s.write);
        ASSERT_GE(current, 0) << "no default record";
        SimClearLog();
        EXPECT_EQ(WL_SUCCESS, setter(s.name)(current));
        WlSimCounters c = SimCountersNow();
        EXPECT_EQ(0u, SimTypePuts(&c, s.write));
        EXPECT_EQ(1u, SimTypeGets(&c, s.write));
        EXPECT_EQ(0u, SimActionCount(&c, WL_ACTION_APPLY));
    }
}

TEST_P(ScalarTest, ChangedValuesAreWrittenAndAppliedWhereNeeded)
{
    for (const Setter &s : kSetters) {
        SCOPED_TRACE(s.name);
        int current = record(s.write);
        int value = current == s.lo ? s.hi : s.lo;
        SimClearLog();
        EXPECT_EQ(WL_SUCCESS, setter(s.name)(value));
        WlSimCounters c = SimCountersNow();
        EXPECT_EQ(1u, SimTypePuts(&c, s.write));
        EXPECT_EQ(NeedsApply(s.write, v_.cd()) ? 1u : 0u, SimActionCount(&c, WL_ACTION_APPLY));
        EXPECT_EQ(value, record(s.write));
    }
}

TEST_P(ScalarTest, PersistedSettersKeepTheRegistryWhenTheAdapterWriteFails)
{
    for (const Setter &s : kSetters) {
        if (!s.reg) continue;
        SCOPED_TRACE(s.name);
        int current = record(s.write);
        int value = current == s.lo ? s.hi : s.lo;
        reg_->deleteValue(s.reg);
        ASSERT_EQ(0, SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_TIME_OUT));
        EXPECT_EQ(WL_GENERAL_ERROR, setter(s.name)(value));
        ExpectRegNumber(*reg_, s.reg, value);
        EXPECT_EQ(current, record(s.write));
    }
}

TEST_P(ScalarTest, PersistedSettersWithoutAnAdapterKeyFailBeforeTheAdapter)
{
    /* No adapter selected: the registry write has nowhere to go. */
    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentNICSet)("", 0));
    for (const Setter &s : kSetters) {
        if (!s.reg) continue;
        SCOPED_TRACE(s.name);
        SimClearLog();
        EXPECT_EQ(WL_GENERAL_ERROR, setter(s.name)(s.hi));
        expectReason(s.regReason);
        EXPECT_EQ(0u, SimCountersNow().exchanges);
    }
}

TEST_P(ScalarTest, PersistedSettersWithAnUnwritableKeyLeaveTheAdapterAlone)
{
    KeyWriteLock lock(reg_->nicKey());
    if (!lock.locked()) GTEST_SKIP() << "registry key access lists are not enforced here";
    for (const Setter &s : kSetters) {
        if (!s.reg) continue;
        SCOPED_TRACE(s.name);
        int current = record(s.write);
        int value = current == s.lo ? s.hi : s.lo;
        SimClearLog();
        EXPECT_EQ(WL_GENERAL_ERROR, setter(s.name)(value));
        expectReason(s.regReason);
        EXPECT_EQ(0u, SimCountersNow().exchanges);
        EXPECT_EQ(current, record(s.write));
        EXPECT_FALSE(ReadRegValue(*reg_, s.reg).present);
    }
}

TEST_P(ScalarTest, FallbackGettersAnswerFromTheRegistryWithoutAnAdapter)
{
    ASSERT_EQ(0, SimReset()); /* the adapter's device is gone */
    for (const char *name : kFallbackGetters) {
        SCOPED_TRACE(name);
        reg_->deleteValue(name);
        int val = -7;
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, getter(name)(&val));
        EXPECT_EQ(-7, val);
        reg_->writeDword(name, 4);
        EXPECT_EQ(WL_SUCCESS, getter(name)(&val));
        EXPECT_EQ(4, val);
        reg_->writeString(name, "3");
        EXPECT_EQ(WL_SUCCESS, getter(name)(&val));
        EXPECT_EQ(3, val);
    }
    /* the others have nothing to fall back on */
    int val = -7;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLPortTypeGet)(&val));
    EXPECT_EQ(-7, val);
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(*lib_, WLPortTypeSet)(2));
    /* a persisted setter has stored its value before the adapter refused */
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(*lib_, WLSystemScaleSet)(2));
    ExpectRegNumber(*reg_, "SystemScale", 2);
}

TEST_P(ScalarTest, FallbackGettersPreferTheAdapter)
{
    reg_->writeDword("SystemScale", 4);
    reg_->writeDword("PowerMode", 4);
    setRecord(0xFC06, 2);
    setRecord(0x0907, 3);
    int val = -7;
    EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLSystemScaleGet)(&val));
    EXPECT_EQ(2, val);
    EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLPowerModeGet)(&val));
    EXPECT_EQ(3, val);
    /* a record without a value falls back too */
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0x0907));
    EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLPowerModeGet)(&val));
    EXPECT_EQ(4, val);
}

TEST_P(ScalarTest, RateInMegabitsPerSecond)
{
    float val = -1;
    if (!v_.cd()) {
        const float rates[12] = {1, 2, 5.5f, 11, 6, 9, 12, 18, 24, 36, 48, 54};
        for (int b = 0; b < 12; b++) {
            SCOPED_TRACE(b);
            setRecord(0xFD44, (uint16_t)(1 << b));
            ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentTXRateFGet)(&val));
            EXPECT_EQ(rates[b], val);
        }
        setRecord(0xFD44, 4);
        EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentTXRateFGet)(&val));
        EXPECT_EQ(5.5f, val);
        /* the port is not asked */
        setRecord(0xFD40, 1);
        EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentTXRateFGet)(&val));
        EXPECT_EQ(5.5f, val);
        for (uint16_t raw : {(uint16_t)3, (uint16_t)0, (uint16_t)0x1000, (uint16_t)0x8000}) {
            SCOPED_TRACE(raw);
            setRecord(0xFD44, raw);
            val = -1;
            EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLCurrentTXRateFGet)(&val));
            expectReason("!(*Val > 0.0)");
            EXPECT_EQ(0.0f, val);
        }
    } else {
        for (uint16_t raw : {(uint16_t)1, (uint16_t)2, (uint16_t)11, (uint16_t)54}) {
            setRecord(0xFD44, raw);
            ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentTXRateFGet)(&val));
            EXPECT_EQ((float)raw, val);
        }
        setRecord(0xFD44, 6);
        EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentTXRateFGet)(&val));
        EXPECT_EQ(5.5f, val);
        setRecord(0xFD44, 0);
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLCurrentTXRateFGet)(&val));
        expectReason("!(*Val > 0.0)");
        EXPECT_EQ(0.0f, val);
        /* the port must be up; the value stays alone otherwise */
        setRecord(0xFD44, 11);
        setRecord(0xFD40, 1);
        val = -1;
        EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLCurrentTXRateFGet)(&val));
        expectReason("MACPortStatusGet () == WL_DATA_NOT_AVAILABLE");
        EXPECT_EQ(-1.0f, val);
    }
    /* a failed read gives no rate */
    setRecord(0xFD40, 4);
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0xFD44));
    val = -1;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLCurrentTXRateFGet)(&val));
    expectReason("!(*Val > 0.0)");
}

TEST_P(ScalarTest, RateBitSetNeedsThePortUp)
{
    setRecord(0xFD44, 8);
    setRecord(0xFD40, 1);
    int val = -7;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLCurrentTXRateGet)(&val));
    expectReason("MACPortStatusGet () == WL_DATA_NOT_AVAILABLE");
    EXPECT_EQ(8, val); /* stored before the port was asked */
    for (uint16_t up : {(uint16_t)3, (uint16_t)4, (uint16_t)5}) {
        setRecord(0xFD40, up);
        val = -7;
        EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentTXRateGet)(&val));
        EXPECT_EQ(8, val);
    }
}

TEST_P(ScalarTest, PortStatusReasons)
{
    WriteFile("\\wlerr.txt", "");
    struct Case {
        uint16_t status;
        const char *reason; /* NULL: the port is up */
    };
    const Case cases[] = {
        {0, "!INTERVAL (1, <=, port_status, <=, 7)"}, {1, "!INTERVAL (3, <=, port_status, <=, 5)"},
        {2, "!INTERVAL (3, <=, port_status, <=, 5)"}, {3, NULL},
        {4, NULL},                                    {5, NULL},
        {6, "port_status == 6"},                      {7, "!INTERVAL (3, <=, port_status, <=, 5)"},
        {8, "!INTERVAL (1, <=, port_status, <=, 7)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status);
        setRecord(0xFD40, c.status);
        WL(*lib_, WLLogErrorNew)();
        int val = -7;
        int rc = WL(*lib_, WLCurrentTXRateGet)(&val);
        std::string log = ReadFile("\\wlerr.txt");
        if (c.reason == NULL) {
            EXPECT_EQ(WL_SUCCESS, rc);
            EXPECT_EQ(std::string::npos, log.find("<MACPortStatusGet>")) << log;
        } else {
            EXPECT_EQ(WL_DATA_NOT_AVAILABLE, rc);
            EXPECT_TRUE(HasExitLine(log, "MACPortStatusGet", c.reason, "(WL_DATA_NOT_AVAILABLE, 0x0000232D, 9005) ERROR"))
                << log;
        }
    }
    /* no port status at all */
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0xFD40));
    WL(*lib_, WLLogErrorNew)();
    int val = -7;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLCurrentTXRateGet)(&val));
    EXPECT_TRUE(HasExitLine(ReadFile("\\wlerr.txt"), "MACPortStatusGet",
                            "WLPortStatusGet (&port_status) != WL_SUCCESS", "(WL_DATA_NOT_AVAILABLE"));
}

TEST_P(ScalarTest, HardwareRadioIsOffOnlyForPortStatusSeven)
{
    for (uint16_t status = 0; status <= 8; status++) {
        SCOPED_TRACE(status);
        setRecord(0xFD40, status);
        int val = -7;
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLHWRadioStatusGet)(&val));
        EXPECT_EQ(status == 7 ? 0 : 1, val);
    }
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0xFD40));
    int val = -7;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLHWRadioStatusGet)(&val));
    expectReason("WLPortStatusGet (Val) != WL_SUCCESS");
    EXPECT_EQ(-7, val);
}

TEST_P(ScalarTest, RadioStatusIsBitFourteenOfDriverWordTen)
{
    uint16_t info[16] = {15, 0x0825};
    for (uint16_t word10 : {(uint16_t)0x4000, (uint16_t)0xBFFF, (uint16_t)0xFFFF, (uint16_t)0}) {
        SCOPED_TRACE(word10);
        for (int i = 0; i < 14; i++) info[2 + i] = (uint16_t)(i == 10 ? word10 : 0xFFFF);
        ASSERT_EQ(0, SimSetRecord(sim_, info));
        SimClearLog();
        int val = -7;
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLRadioStatusGet)(&val));
        EXPECT_EQ((word10 >> 14) & 1, val);
        /* asked with room for 14 value words */
        WlSimExchangeLog log;
        ASSERT_EQ(0, SimLastExchanges(&log));
        bool seen = false;
        for (int i = 0; i < log.n; i++)
            if (log.e[i].op == WLSIM_OP_GET_INFO && log.e[i].typ == 0x0825) {
                EXPECT_EQ(15, log.e[i].lenIn);
                seen = true;
            }
        EXPECT_TRUE(seen);
    }
    /* a failed read answers 0 */
    int val = -7;
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_TIME_OUT));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(*lib_, WLRadioStatusGet)(&val));
    EXPECT_EQ(0, val);
    val = -7;
    ASSERT_EQ(0, SimDeleteRecord(sim_, 0x0825));
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLRadioStatusGet)(&val));
    EXPECT_EQ(0, val);
    /* a record too short to hold word 10 is no answer either */
    uint16_t shortInfo[7] = {6, 0x0825, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    ASSERT_EQ(0, SimSetRecord(sim_, shortInfo));
    val = -7;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(*lib_, WLRadioStatusGet)(&val));
    EXPECT_EQ(0, val);
}

TEST_P(ScalarTest, RadioSwitchIsStoredAndReadBackWithoutTheAdapter)
{
    reg_->deleteValue("DriverEnable");
    SimClearLog();
    int val = -7;
    EXPECT_EQ(WL_GENERAL_ERROR, WL(*lib_, WLSWRadioStatusGet)(&val));
    expectReason("_WLRadioStatusGet (Val) != WL_SUCCESS");
    EXPECT_EQ(-7, val);

    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLRadioStatusSet)(0));
    ExpectRegNumber(*reg_, "DriverEnable", 0);
    EXPECT_EQ(0, record(0x0902));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));

    SimClearLog();
    val = -7;
    EXPECT_EQ(WL_SUCCESS, WL(*lib_, WLSWRadioStatusGet)(&val));
    EXPECT_EQ(0, val);
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

TEST_P(ScalarTest, CurrentChannelInfoLayout)
{
    struct Guarded {
        CurrentChannelInfoBuffer b;
        unsigned char guard[32];
    } g;
    auto fresh = [&]() {
        memset(&g, 0xEE, sizeof g);
        g.b.TS.Type = CurrentChannelInfoBufferType;
        g.b.TS.Size = sizeof g.b;
    };
    if (v_.cd()) {
        SimClearLog();
        EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(*lib_, WLCurrentChannelInfoGet)(NULL));
        fresh();
        EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
        EXPECT_EQ(0xEEEE, g.b.Word[0]);
        EXPECT_EQ(0u, SimCountersNow().exchanges);
        return;
    }
    fresh();
    g.b.TS.Type = 36;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
    expectReason("(Val)->TS.Type != CurrentChannelInfoBufferType");
    fresh();
    g.b.TS.Size = 75;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
    expectReason("(Val)->TS.Size != sizeof (CurrentChannelInfoBuffer)");
    EXPECT_EQ(0xEEEE, g.b.Word[0]);

    uint16_t rec[2 + 31] = {32, 0xFD89};
    for (int i = 0; i < 31; i++) rec[2 + i] = (uint16_t)(0xA000 + 0x0102 * i);
    ASSERT_EQ(0, SimSetRecord(sim_, rec));
    fresh();
    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
    for (int i = 0; i < 30; i++) EXPECT_EQ(rec[2 + i], g.b.Word[i]) << i;
    EXPECT_EQ(rec[2 + 30], g.b.Word30);
    EXPECT_EQ(rec[2 + 0] & 0xFF, g.b.Low0);
    EXPECT_EQ(rec[2 + 1] & 0xFF, g.b.Low1);
    EXPECT_EQ(rec[2 + 2] & 0xFF, g.b.Low2);
    EXPECT_EQ(rec[2 + 10] & 0xFF, g.b.Low10);
    EXPECT_EQ(rec[2 + 11] & 0xFF, g.b.Low11);
    EXPECT_EQ(rec[2 + 12] & 0xFF, g.b.Low12);
    EXPECT_EQ((DWORD)CurrentChannelInfoBufferType, g.b.TS.Type);
    EXPECT_EQ(76u, g.b.TS.Size);
    for (unsigned char c : g.guard) EXPECT_EQ(0xEE, c);

    /* asked with len 32 */
    WlSimExchangeLog log;
    ASSERT_EQ(0, SimLastExchanges(&log));
    bool seen = false;
    for (int i = 0; i < log.n; i++)
        if (log.e[i].op == WLSIM_OP_GET_INFO && log.e[i].typ == 0xFD89) {
            EXPECT_EQ(32, log.e[i].lenIn);
            seen = true;
        }
    EXPECT_TRUE(seen);

    /* a longer record answered whole stays within the buffer */
    uint16_t longRec[2 + 200] = {201, 0xFD89};
    for (int i = 0; i < 200; i++) longRec[2 + i] = (uint16_t)(0x3000 + i);
    ASSERT_EQ(0, SimSetRecord(sim_, longRec));
    WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 1, 0, WLSIM_ANY_ADAPTER};
    ASSERT_EQ(0, SimArmFault(&f));
    fresh();
    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
    EXPECT_EQ(0x3000 + 30, g.b.Word30);
    for (unsigned char c : g.guard) EXPECT_EQ(0xEE, c);

    /* a short record: the words it lacks read as 0 */
    uint16_t shortRec[5] = {4, 0xFD89, 0x0B0A, 0x0C0D, 0x0E0F};
    ASSERT_EQ(0, SimSetRecord(sim_, shortRec));
    fresh();
    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
    EXPECT_EQ(0x0B0A, g.b.Word[0]);
    EXPECT_EQ(0x0E0F, g.b.Word[2]);
    EXPECT_EQ(0, g.b.Word[3]);
    EXPECT_EQ(0, g.b.Word30);
    EXPECT_EQ(0x0F, g.b.Low2);
    EXPECT_EQ(0, g.b.Low10);

    /* a failed read still fills the buffer, with nothing */
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_TIME_OUT));
    fresh();
    EXPECT_EQ(WL_GENERAL_ERROR, WL(*lib_, WLCurrentChannelInfoGet)(&g.b));
    EXPECT_EQ(0, g.b.Word[0]);
    EXPECT_EQ(0, g.b.Low12);
}

INSTANTIATE_TEST_SUITE_P(All, ScalarTest, testing::ValuesIn(kVariants), VariantName);
