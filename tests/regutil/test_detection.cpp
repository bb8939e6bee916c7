/* Adapter detection and driver access end to end: the walk on each OS type,
 * the compatibility test, busy retries, the "51" name and DOS devices. */
#include <string.h>

#include "util_run.h"

static const char kEnumPci[] = "System\\CurrentControlSet\\Enum\\PCI";
static const char kClass[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kServices[] = "System\\CurrentControlSet\\Services";

class RegutilWalk : public UtilTest {
protected:
    /* "R 2" answers 200 + the first adapter's "DriverEnable". */
    DWORD FirstAdapterMark(const std::string &exe) { return RunUtil(exe, {"R", "2"}).exit; }
};

TEST_F(RegutilWalk, FirstMatchingPciSubkeyOnly)
{
    RegAdapter &a = AddAdapter("0160");
    a.writeDword("DriverEnable", 1);
    /* a second subkey matching the identifier is never visited */
    const std::string other = std::string(kEnumPci) + "\\VEN_1260&DEV_3873&SUBSYS_2\\5&0161";
    RegSetText(other, "Driver", "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0161");
    RegSetText(std::string(kClass) + "\\0161", "VendorDescription", "x");
    EXPECT_EQ(301u, Run({"#"}).exit);
    EXPECT_EQ(201u, FirstAdapterMark(UtilPath()));
    RegDeleteTree(std::string(kClass) + "\\0161");
}

TEST_F(RegutilWalk, InstanceWithoutDriverIsSkipped)
{
    const std::string first = std::string(kEnumPci) + "\\VEN_1260&DEV_3873\\0&0000";
    RegSetText(first, "DeviceDesc", "no driver value");
    RegAdapter &a = AddAdapter("0162");
    a.writeDword("DriverEnable", 0);
    EXPECT_EQ(301u, Run({"#"}).exit);
    EXPECT_EQ(200u, FirstAdapterMark(UtilPath()));
    a.writeDword("DriverEnable", 1);
    EXPECT_EQ(201u, FirstAdapterMark(UtilPath()));
}

TEST_F(RegutilWalk, CompatibilityRange)
{
    StandardAdapter();
    struct { uint16_t variant, bottom, top; DWORD exit; } cases[] = {
        {48, 7, 9, 0}, {52, 8, 8, 0}, {47, 7, 9, 6}, {48, 9, 9, 6},
    };
    for (const auto &c : cases) {
        uint16_t rec[] = {6, 0x0827, 0, 7, c.variant, c.bottom, c.top};
        SimSetRecord(driver_, rec);
        SimClearLog();
        UtilResult r = Run({"M"});
        EXPECT_EQ(c.exit, r.exit) << c.variant << " " << c.bottom << ".." << c.top;
        if (c.exit) {
            EXPECT_EQ("C G0827 D", Exchanges()) << "closed after the refusal";
        }
    }
}

TEST_F(RegutilWalk, BusyDriverRetriedThreeTimes)
{
    StandardAdapter();
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 2, WLSIM_RES_IN_USE));
    UtilResult r = Run({"M"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("C C C G0827 D C G0826 GFC01 D", Exchanges());
    WlSimAdapterState st;
    ASSERT_EQ(0, SimAdapterState(driver_, &st));
    EXPECT_EQ(3u, st.opens) << "the device is opened again for each attempt";
    EXPECT_EQ(0, st.openHandles);

    SimClearLog();
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 3, WLSIM_RES_IN_USE));
    EXPECT_EQ(6u, Run({"M"}).exit);
    EXPECT_EQ("C C C", Exchanges());
    /* another refusal is not retried; a failed call counts as refused */
    SimClearLog();
    ASSERT_EQ(0, SimFault(WLSIM_OP_CONNECT, 1, WLSIM_RES_BUSY));
    EXPECT_EQ(6u, Run({"M"}).exit);
    EXPECT_EQ("C", Exchanges());
    SimClearLog();
    ASSERT_EQ(0, SimFailIoctl(WLSIM_OP_CONNECT, 1));
    EXPECT_EQ(6u, Run({"M"}).exit);
    EXPECT_EQ("C", Exchanges());
}

TEST_F(RegutilWalk, SecondAdapterOpensWhenFirstHasNoDriver)
{
    AddAdapter("0170");
    RegAdapter &b = AddAdapter("0171");
    driver_ = AddDriver({b.spec().guid});
    SimClearLog();
    EXPECT_EQ(0u, Run({"M"}).exit);
    WlSimAdapterState st;
    ASSERT_EQ(0, SimAdapterState(driver_, &st));
    EXPECT_EQ(1u, st.opens);
}

TEST_F(RegutilWalk, Windows2000ReadsTheNameFromTheRegistry)
{
    StandardAdapter();
    adapters_[0]->writeString("DesiredSSID", "RegistryNet");
    UtilResult r = RunUtil(UtilAs("win2k"), {"H"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("RegistryNet", r.out);
    EXPECT_EQ("", Exchanges());
}

TEST_F(RegutilWalk, Windows98EnumAndFiftyOneName)
{
    RegAdapter &a = AddAdapter("0180", true);
    a.writeDword("DriverEnable", 1);
    const std::string exe = UtilAs("win98");
    EXPECT_EQ(301u, RunUtil(exe, {"#"}).exit);
    EXPECT_EQ(201u, FirstAdapterMark(exe)) << "NIC key under Services\\Class";
    /* the driver answers only as WUVXQ51.VXD: the first name's retry */
    driver_ = AddDriver({"WUVXQ51.VXD"});
    SimClearLog();
    UtilResult r = RunUtil(exe, {"M"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("02574C534D00", r.out);
    EXPECT_EQ(std::string("C G0827 D C G0826 GFC01 D"), Exchanges());
    /* the family's 48 name opens as it is */
    SimRemoveAdapter(driver_);
    driver_ = AddDriver({"WuVXQ48C.vxd"});
    EXPECT_EQ("02574C534D00", RunUtil(exe, {"M"}).out);
}

/* NT 4 adapters are driver services with a "Parameters" key. */
static std::string ServiceKey(const char *service)
{
    return std::string(kServices) + "\\" + service + "\\Parameters";
}

static void AddService(const char *service, bool described, DWORD enable)
{
    const std::string key = ServiceKey(service);
    if (described) RegSetText(key, "VendorDescription", "Wireless LAN PC Card");
    RegSetNumber(key, "DriverMajor", 8);
    RegSetNumber(key, "DriverMinor", 24);
    RegSetNumber(key, "DriverEnable", enable);
}

static bool DosDefined(const char *name)
{
    char target[512];
    return QueryDosDeviceA(name, target, sizeof target) != 0;
}

TEST_F(RegutilWalk, Nt4ServiceNames)
{
    const std::string exe = UtilAs("nt40");
    AddService("WLVXQ521", false, 0);
    EXPECT_EQ(301u, RunUtil(exe, {"#"}).exit);
    EXPECT_EQ(2u, FirstAdapterMark(exe)) << "a service without VendorDescription is no adapter";
    AddService("WLVXQ52B1", true, 1);
    EXPECT_EQ(201u, FirstAdapterMark(exe));
    AddService("WLVXQ521", true, 0);
    EXPECT_EQ(200u, FirstAdapterMark(exe)) << "the first entry comes first";
    EXPECT_EQ(300u, RunUtil(exe, {"#"}).exit);
}

TEST_F(RegutilWalk, Nt4DosDeviceThatExistedStays)
{
    const std::string exe = UtilAs("nt40");
    AddService("WLVXQ521", true, 1);
    driver_ = AddDriver({"WLVXQ521"});
    ASSERT_TRUE(DosDefined("WLVXQ521"));
    SimClearLog();
    UtilResult r = RunUtil(exe, {"M"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("02574C534D00", r.out);
    EXPECT_TRUE(DosDefined("WLVXQ521"));
}

typedef LONG(NTAPI *CreateLinkFn)(HANDLE *, ACCESS_MASK, void *, void *);
struct UStr {
    USHORT Length, MaximumLength;
    const WCHAR *Buffer;
};
struct ObjAttr {
    ULONG Length;
    HANDLE Root;
    UStr *Name;
    ULONG Attributes;
    void *Sd, *Qos;
};

/* A device object name "\Device\<name>" that reaches the stand-in's device
 * of name slot 0, held while the handle is open. */
static HANDLE DeviceAlias(const WCHAR *name, const WCHAR *target)
{
    CreateLinkFn create = (CreateLinkFn)(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                               "NtCreateSymbolicLinkObject");
    UStr n = {(USHORT)(wcslen(name) * 2), (USHORT)(wcslen(name) * 2 + 2), name};
    UStr t = {(USHORT)(wcslen(target) * 2), (USHORT)(wcslen(target) * 2 + 2), target};
    ObjAttr a = {sizeof a, NULL, &n, 0x40, NULL, NULL};
    HANDLE h = NULL;
    if (!create || create(&h, 0xF0001, &a, &t) < 0) return NULL;
    return h;
}

TEST_F(RegutilWalk, Nt4DosDeviceDefinedByTheUtilityIsRemoved)
{
    const std::string exe = UtilAs("nt40");
    AddService("WLVXQ521", true, 1);
    driver_ = AddDriver({"wlsimslot0"});
    HANDLE alias = DeviceAlias(L"\\Device\\WLVXQ521", L"\\Device\\WlSim0");
    ASSERT_NE((HANDLE)NULL, alias);
    ASSERT_FALSE(DosDefined("WLVXQ521"));
    SimClearLog();
    UtilResult r = RunUtil(exe, {"M"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("02574C534D00", r.out) << "opened through the name it defined";
    EXPECT_FALSE(DosDefined("WLVXQ521")) << "removed at close";
    CloseHandle(alias);
    /* without a device behind the name the path fails and the name goes */
    EXPECT_EQ(6u, RunUtil(exe, {"M"}).exit);
    EXPECT_FALSE(DosDefined("WLVXQ521"));
}

TEST_F(RegutilWalk, OnlyTheBytesReturnedAreTheDriversAnswer)
{
    StandardAdapter();
    /* a connect answered in fewer bytes than the block header is no connect */
    ASSERT_EQ(0, SimShortAnswer(WLSIM_OP_CONNECT, 1, 8));
    UtilResult r = Run({"M"});
    EXPECT_EQ(6u, r.exit);
    EXPECT_EQ("XXXXXXXXXXXX", r.out);
    EXPECT_EQ("C", Exchanges());
    /* 22 bytes carry five value words: the name's count word and 8 characters */
    std::vector<uint16_t> name = {18, 0xFC02, 12, 'a' | 'b' << 8, 'c' | 'd' << 8, 'e' | 'f' << 8,
                                  'g' | 'h' << 8, 'i' | 'j' << 8, 'k' | 'l' << 8};
    name.resize(19, 0);
    ASSERT_EQ(0, SimSetRecord(driver_, name.data()));
    ASSERT_EQ(0, SimShortAnswer(WLSIM_OP_GET_INFO, 2, 22));
    r = Run({"H"});
    EXPECT_EQ(0u, r.exit);
    EXPECT_EQ("abcdefgh", r.out);
}
