/*
 * The co-installer's entry points: Setup's callback on a device of Setup's
 * own for the adapter of the stand-in driver, and the 16-bit entry points
 * called directly with flat pointers, as the thunk would.
 */
#include <windows.h>
#include <setupapi.h>

#include "advanced_fixture.h"
#include "coinstaller/thunk16.h"

namespace {

const GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
typedef DWORD(CALLBACK *CoInstallerFn)(DI_FUNCTION, HDEVINFO, SP_DEVINFO_DATA *, COINSTALLER_CONTEXT_DATA *);

const char *const kThunkExports[] = {
    "WD16to32_API", "WD16to32_API_i", "WD16to32_API_ip", "WD16to32_API_cp", "WD16to32_API_cp_i",
    "WD16to32_API_cp_ip", "WD16to32_API_i_i_cp_i", "WD16to32_API_kbp", "WD16to32_API_cqp", "WD16to32_API_cnip",
    "WD16to32_API_srp_i", "WD16to32_InitProfile", "WD16to32_Help", "WD16to32_Help_i", "WD16to32_Help_vp_i",
    "WD16to32_HtmlHelp"};

class CoInstallerExports : public testing::TestWithParam<Variant> {};

/* Every build has the entry points; only the Windows 98/Me builds (C, E)
 * carry the 16-bit ones. */
TEST_P(CoInstallerExports, EntryPointsAndThunkOnlyInTheWin98Builds)
{
    const Variant &v = GetParam();
    CoInstaller co(v.letter);
    ASSERT_TRUE(co.module() != NULL);
    for (const char *name : {"WLDeviceCoInstaller", "WLAdtEntryPoint", "EnumWindowsProc", "NicSpecificDlgProc"})
        EXPECT_TRUE(co.proc(name) != NULL) << name;
    bool thunk = v.letter == 'C' || v.letter == 'E';
    for (const char *name : kThunkExports) EXPECT_EQ(thunk, co.proc(name) != NULL) << name;
}

INSTANTIATE_TEST_SUITE_P(Variants, CoInstallerExports, testing::ValuesIn(kVariants), VariantName);

/* A device of Setup's own whose driver key is the adapter's NIC key. */
class DeviceTest : public AdvancedPageTest {
protected:
    void SetUp() override
    {
        AdvancedPageTest::SetUp();
        set_ = SetupDiCreateDeviceInfoList(&kNetClass, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, set_);
        memset(&dev_, 0, sizeof dev_);
        dev_.cbSize = sizeof dev_;
        ASSERT_TRUE(SetupDiCreateDeviceInfoA(set_, "WLTESTADAPTER", &kNetClass, NULL, NULL, DICD_GENERATE_ID, &dev_))
            << "error " << GetLastError();
        SetDriverKey(std::string("{4d36e972-e325-11ce-bfc1-08002be10318}\\") + kNic);
        fn_ = reinterpret_cast<CoInstallerFn>(reinterpret_cast<void *>(coinst_->proc("WLDeviceCoInstaller")));
        ASSERT_TRUE(fn_ != NULL);
    }
    void TearDown() override
    {
        if (set_ != INVALID_HANDLE_VALUE) {
            SetupDiRemoveDevice(set_, &dev_);
            SetupDiDestroyDeviceInfoList(set_);
        }
        AdvancedPageTest::TearDown();
    }
    void SetDriverKey(const std::string &driver)
    {
        ASSERT_TRUE(SetupDiSetDeviceRegistryPropertyA(set_, &dev_, SPDRP_DRIVER, (const BYTE *)driver.c_str(),
                                                      (DWORD)driver.size() + 1));
    }
    DWORD Call(DI_FUNCTION f, SP_DEVINFO_DATA *dev)
    {
        COINSTALLER_CONTEXT_DATA ctx;
        memset(&ctx, 0, sizeof ctx);
        return fn_(f, set_, dev, &ctx);
    }
    /* Page adding as the Device Manager asks for it, with `before` pages
     * already in the list; returns the list afterwards. */
    SP_ADDPROPERTYPAGE_DATA AddPages(DWORD before, SP_DEVINFO_DATA *dev, bool setParams = true)
    {
        SP_ADDPROPERTYPAGE_DATA d;
        memset(&d, 0, sizeof d);
        d.ClassInstallHeader.cbSize = sizeof d.ClassInstallHeader;
        d.ClassInstallHeader.InstallFunction = DIF_ADDPROPERTYPAGE_ADVANCED;
        d.NumDynamicPages = before;
        if (setParams) {
            EXPECT_TRUE(SetupDiSetClassInstallParamsA(set_, &dev_, &d.ClassInstallHeader, sizeof d));
        }
        EXPECT_EQ((DWORD)NO_ERROR, Call(DIF_ADDPROPERTYPAGE_ADVANCED, dev));
        memset(&d, 0, sizeof d);
        d.ClassInstallHeader.cbSize = sizeof d.ClassInstallHeader;
        SetupDiGetClassInstallParamsA(set_, &dev_, &d.ClassInstallHeader, sizeof d, NULL);
        return d;
    }
    /* Titles of the pages added after the first `from`, in a sheet. */
    std::vector<std::string> Titles(SP_ADDPROPERTYPAGE_DATA &d, DWORD from)
    {
        std::vector<std::string> t;
        if (d.NumDynamicPages <= from) return t;
        PROPSHEETHEADERA psh;
        memset(&psh, 0, sizeof psh);
        psh.dwSize = sizeof psh;
        psh.dwFlags = PSH_MODELESS;
        psh.pszCaption = "Device";
        psh.nPages = d.NumDynamicPages - from;
        psh.phpage = &d.DynamicPages[from];
        HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&psh));
        EXPECT_TRUE(sheet != NULL);
        if (!sheet) return t;
        HWND tab = PropSheet_GetTabControl(sheet);
        for (int i = 0; i < TabCtrl_GetItemCount(tab); i++) {
            char text[64] = "";
            TCITEMA item;
            memset(&item, 0, sizeof item);
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(tab, TCM_GETITEMA, i, (LPARAM)&item);
            t.push_back(text);
        }
        DestroyWindow(sheet);
        return t;
    }
    /* Wine 8's setupapi has no SetupDiGetClassInstallParamsA (a call
     * aborts the process) and refuses SetupDiSetClassInstallParamsA. */
    bool ClassInstallParamsWork()
    {
        SP_ADDPROPERTYPAGE_DATA d;
        memset(&d, 0, sizeof d);
        d.ClassInstallHeader.cbSize = sizeof d.ClassInstallHeader;
        d.ClassInstallHeader.InstallFunction = DIF_ADDPROPERTYPAGE_ADVANCED;
        return SetupDiSetClassInstallParamsA(set_, &dev_, &d.ClassInstallHeader, sizeof d) != 0;
    }
    bool NetworksPageBuilt() const { return coinst_->proc("WirelessDlgProc") != NULL; }

    HDEVINFO set_ = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA dev_;
    CoInstallerFn fn_ = NULL;
};

/* "RTM" is written only on the Windows XP family: "1" for build 2600
 * without a service pack, "0" otherwise; none on Windows 2000. */
TEST_F(DeviceTest, InstallRecordsTheXpRelease)
{
    HKEY probe = SetupDiOpenDevRegKey(set_, &dev_, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_SET_VALUE);
    if (probe == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "Setup does not open the driver key of this device (error " << GetLastError() << ")";
    RegCloseKey(probe);
    reg_->deleteValue("RTM");
    EXPECT_EQ((DWORD)NO_ERROR, Call(DIF_INSTALLDEVICE, &dev_));
    std::string rtm;
    bool has = reg_->readString("RTM", &rtm);
    OSVERSIONINFOEXA vi;
    memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    ASSERT_TRUE(GetVersionExA((OSVERSIONINFOA *)&vi));
    DWORD os = ExpectedOsType();
    if (os == OS_WIN2001) {
        ASSERT_TRUE(has);
        EXPECT_EQ(vi.dwBuildNumber == 2600 && vi.wServicePackMajor == 0 && vi.wServicePackMinor == 0 ? "1" : "0",
                  rtm);
    } else {
        EXPECT_FALSE(has) << "os type " << os;
    }
    reg_->deleteValue("RTM");
}

/* Removal on the Windows XP family keeps the device's keys and still runs
 * this variant's service program with "/UnregService" (a recording
 * stand-in here). */
TEST_F(DeviceTest, RemoveRunsTheServiceProgramOfItsVariant)
{
    std::string target = SystemDir() + "\\WSVXQ48E.exe";
    std::string aside = target + ".aside";
    bool moved = MoveFileA(target.c_str(), aside.c_str()) != 0;
    ASSERT_TRUE(CopyFileA((CoinstDir() + "\\..\\testbin\\notepad.exe").c_str(), target.c_str(), FALSE));
    DeleteFileA("shown.txt");
    EXPECT_EQ((DWORD)NO_ERROR, Call(DIF_REMOVE, &dev_));
    std::string shown;
    for (int i = 0; i < 200 && shown.empty(); i++) {
        Sleep(100);
        if (FileExists("shown.txt")) shown = ReadFile("shown.txt");
    }
    EXPECT_EQ("/UnregService", shown);
    if (ExpectedOsType() == OS_WIN2001) {
        HKEY key;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, reg_->nicKey().c_str(), 0, KEY_READ, &key))
            << "the driver key is kept on Windows XP";
        RegCloseKey(key);
    }
    DeleteFileA("shown.txt");
    DeleteFileA(target.c_str());
    if (moved) MoveFileA(aside.c_str(), target.c_str());
}

/* A list that already holds 20 pages gets none. */
TEST_F(DeviceTest, FullPageListGetsNone)
{
    if (!ClassInstallParamsWork()) GTEST_SKIP() << "Setup keeps no class install parameters here";
    SP_ADDPROPERTYPAGE_DATA d = AddPages(20, &dev_);
    EXPECT_EQ(20u, d.NumDynamicPages);
}

/* No device element, no class install parameters, or a driver key that
 * names no adapter: no page. */
TEST_F(DeviceTest, FailuresShowNoPage)
{
    if (!ClassInstallParamsWork()) GTEST_SKIP() << "Setup keeps no class install parameters here";
    EXPECT_EQ(0u, AddPages(0, NULL).NumDynamicPages);
    SetDriverKey("{4d36e972-e325-11ce-bfc1-08002be10318}");
    EXPECT_EQ(0u, AddPages(0, &dev_).NumDynamicPages);
}

TEST_F(DeviceTest, NoParametersNoPage)
{
    if (!ClassInstallParamsWork()) GTEST_SKIP() << "Setup keeps no class install parameters here";
    EXPECT_EQ((DWORD)NO_ERROR, Call(DIF_ADDPROPERTYPAGE_ADVANCED, &dev_));
    SP_ADDPROPERTYPAGE_DATA d;
    memset(&d, 0, sizeof d);
    d.ClassInstallHeader.cbSize = sizeof d.ClassInstallHeader;
    EXPECT_FALSE(SetupDiGetClassInstallParamsA(set_, &dev_, &d.ClassInstallHeader, sizeof d, NULL) &&
                 d.NumDynamicPages > 0);
}

/* The Device Manager's route: "Wireless Advanced" appended after the pages
 * already there, then "Wireless Networks"; a build without the networks
 * page shows neither. */
TEST_F(DeviceTest, PagesAppendedToTheList)
{
    if (!ClassInstallParamsWork()) GTEST_SKIP() << "Setup keeps no class install parameters here";
    SP_ADDPROPERTYPAGE_DATA d = AddPages(0, &dev_);
    std::vector<std::string> t = Titles(d, 0);
    if (NetworksPageBuilt())
        EXPECT_EQ((std::vector<std::string>{"Wireless Advanced", "Wireless Networks"}), t);
    else
        EXPECT_TRUE(t.empty()) << "the Advanced page alone is not shown";
}

/* ---- 16-bit entry points, called as the thunk calls them ---- */

template <class F> F Thunk(const CoInstaller &co, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(co.proc(name)));
}

class Thunk16Test : public AdvancedPageTest {};

TEST_F(Thunk16Test, CpAnswersAokForAnySelector)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, char *, int)>(*coinst_, "WD16to32_API_cp");
    ASSERT_TRUE(fn != NULL);
    for (short sel : {0, 1, 37, 9999, -5}) {
        char text[8] = "zzzzzzz";
        EXPECT_EQ(0u, fn(sel, text, 0));
        EXPECT_STREQ("AOKzzzz", text) << "no terminator is written";
    }
}

TEST_F(Thunk16Test, ValueSelectors)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, short)>(*coinst_, "WD16to32_API_i");
    ASSERT_TRUE(fn != NULL);
    SimClearLog();
    EXPECT_EQ(0u, fn(16, 5));
    EXPECT_EQ(0u, fn(20, 5));
    EXPECT_TRUE(Exchanges().empty()) << "selectors 16 and 20 call nothing";
    EXPECT_EQ((DWORD)WL_GENERAL_ERROR, fn(99, 0));
    EXPECT_EQ((DWORD)WL_INVALID_PARAMETER, fn(28, 7) & 0xFFFF) << "an out-of-range power mode is refused";
}

TEST_F(Thunk16Test, ValueInAndOutWrittenBackEvenOnFailure)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, short *)>(*coinst_, "WD16to32_API_ip");
    ASSERT_TRUE(fn != NULL);
    short v = 77;
    EXPECT_EQ(0u, fn(19, &v));
    EXPECT_EQ(77, v);
    EXPECT_EQ((DWORD)WL_GENERAL_ERROR, fn(500, &v));
    v = -3;
    EXPECT_EQ(0u, fn(27, &v) & 0xFFFF);
    EXPECT_GE(v, 0) << "the power mode read is written back";
    EXPECT_EQ((DWORD)WL_INVALID_PARAMETER, fn(27, NULL));
}

TEST_F(Thunk16Test, TextOutCopiesOnlyOnSuccess)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, char *, short *)>(*coinst_, "WD16to32_API_cp_ip");
    ASSERT_TRUE(fn != NULL);
    char nic[16];
    memset(nic, 'x', sizeof nic);
    short size = sizeof nic;
    EXPECT_EQ(0u, fn(38, nic, &size));
    EXPECT_STREQ(kNic, nic);
    EXPECT_EQ(4, size);
    /* a buffer too small for the id: the library's code, text untouched */
    memset(nic, 'x', sizeof nic);
    size = 2;
    EXPECT_NE(0u, fn(38, nic, &size));
    EXPECT_EQ('x', nic[0]);
    EXPECT_EQ(2, size);
    EXPECT_EQ((DWORD)WL_GENERAL_ERROR, fn(77, nic, &size));
}

TEST_F(Thunk16Test, TextInSelectsTheAdapter)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, const char *, short)>(*coinst_, "WD16to32_API_cp_i");
    ASSERT_TRUE(fn != NULL);
    EXPECT_NE(0u, fn(13, "9999", 4));
    /* a text longer than the 64-byte buffer is cut, never overrun */
    std::string longText(300, 'n');
    EXPECT_NE(0u, fn(13, longText.c_str(), 300));
    EXPECT_EQ(0u, fn(13, kNic, 4));
    EXPECT_EQ((DWORD)WL_GENERAL_ERROR, fn(14, kNic, 4));
}

TEST_F(Thunk16Test, QualityRecordUntouchedOnFailure)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, QualityRecord16 *)>(*coinst_, "WD16to32_API_cqp");
    ASSERT_TRUE(fn != NULL);
    QualityRecord16 q;
    memset(&q, 0x5A, sizeof q);
    QualityRecord16 before = q;
    EXPECT_EQ((DWORD)WL_GENERAL_ERROR, fn(41, &q));
    EXPECT_EQ(0, memcmp(&q, &before, sizeof q));
    DWORD rc = fn(40, &q);
    if (rc != 0) {
        EXPECT_EQ(0, memcmp(&q, &before, sizeof q)) << "failed with " << rc;
    }
}

TEST_F(Thunk16Test, InitProfileResetsTheEditPart)
{
    auto fn = Thunk<DWORD(WINAPI *)(short, ProfilePageRecord16 *, short)>(*coinst_, "WD16to32_InitProfile");
    ASSERT_TRUE(fn != NULL);
    static ProfilePageRecord16 r;
    memset(&r, 0, sizeof r);
    strcpy(r.ProfileName, "Office");
    r.ConnectionMode = 1;
    r.Authentication = 2;
    r.TxPowerLevel = 14;
    r.PreferredCount = 1;
    strcpy(r.PreferredNames[0], "Home");
    EXPECT_EQ(0u, fn(0, &r, 0));
    EXPECT_STREQ("Office", r.ProfileName);
    EXPECT_EQ(0, r.ConnectionMode);
    EXPECT_EQ(1, r.Authentication);
    EXPECT_EQ(-1, r.Keys.KeyId);
    EXPECT_EQ(14, r.TxPowerLevel) << "the adapter part is kept";
    EXPECT_STREQ("Home", r.PreferredNames[0]);
    EXPECT_EQ(0u, fn(0, &r, 1));
    EXPECT_STREQ("", r.ProfileName);
}

} // namespace
