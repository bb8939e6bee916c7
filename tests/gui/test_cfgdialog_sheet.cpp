/*
 * WLCfgDialogGet of every variant's library with that variant's real
 * co-installer in the system directory: the two-page sheet titled with the
 * adapter's name, the Wireless Networks page shown first, and the call
 * returning once the sheet is closed.
 */
#include "page_harness.h"

#include <commctrl.h>

#include "coinstaller/res/resource.h"

namespace {

const char kNic[] = "0190";
const char kCaption[] = "Dialog sheet card";

struct Found {
    HWND sheet;
};

BOOL CALLBACK FindSheet(HWND w, LPARAM lp)
{
    char cls[32] = "", title[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && strcmp(cls, "#32770") == 0 && strcmp(title, kCaption) == 0 &&
        IsWindowVisible(w)) {
        reinterpret_cast<Found *>(lp)->sheet = w;
        return FALSE;
    }
    return TRUE;
}

struct DialogCall {
    const WLLib *lib;
    int rc = -1;
};

DWORD WINAPI CallDialog(void *p)
{
    DialogCall *c = static_cast<DialogCall *>(p);
    c->rc = WL(*c->lib, WLCfgDialogGet)();
    return 0;
}

std::string TabTitle(HWND tab, int i)
{
    char buf[64] = "";
    TCITEMA ti;
    memset(&ti, 0, sizeof ti);
    ti.mask = TCIF_TEXT;
    ti.pszText = buf;
    ti.cchTextMax = sizeof buf;
    SendMessageA(tab, TCM_GETITEMA, (WPARAM)i, reinterpret_cast<LPARAM>(&ti));
    return buf;
}

class CfgDialogSheet : public testing::TestWithParam<Variant> {};

TEST_P(CfgDialogSheet, ShowsBothPagesOfItsVariant)
{
    const Variant v = GetParam();
    RegAdapter reg(AdapterSpec(kNic, kCaption, true, v.letter));
    SimAdapterFor(reg, v);
    std::string name = v.sibling(WL_SIBLING_COINSTALLER, ".dll");
    std::string target = SystemDir() + "\\" + name;
    ASSERT_TRUE(CopyFileA((CoinstDir() + "\\WDVXQ48" + v.letter + ".dll").c_str(), target.c_str(), FALSE))
        << target << ": error " << GetLastError();
    {
        WLLib lib(v);
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(kNic, 4));
        DialogCall call;
        call.lib = &lib;
        HANDLE thread = CreateThread(NULL, 0, CallDialog, &call, 0, NULL);
        Found f = {NULL};
        for (int i = 0; i < 3000 && !f.sheet; i++) {
            EnumWindows(FindSheet, reinterpret_cast<LPARAM>(&f));
            if (!f.sheet) Sleep(10);
        }
        ASSERT_TRUE(f.sheet != NULL) << "no sheet titled with the adapter's name";
        HWND tab = reinterpret_cast<HWND>(SendMessageA(f.sheet, PSM_GETTABCONTROL, 0, 0));
        EXPECT_EQ(2, (int)SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ("Wireless Advanced", TabTitle(tab, 0));
        EXPECT_EQ("Wireless Networks", TabTitle(tab, 1));
        HWND page = reinterpret_cast<HWND>(SendMessageA(f.sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        EXPECT_TRUE(GetDlgItem(page, IDC_REFRESH) != NULL) << "the Wireless Networks page is shown first";
        for (int i = 0; i < 400 && !IsWindowEnabled(GetDlgItem(page, IDC_REFRESH)); i++) Sleep(10);
        if (v.letter == 'E') {
            EXPECT_TRUE(ScreenshotWindow(f.sheet, "cfgdialog_e")) << "screenshot not written";
        }
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 0)) << "the call waits for the sheet";
        PostMessageA(f.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 30000));
        CloseHandle(thread);
        EXPECT_EQ(WL_SUCCESS, call.rc) << lib.returnString();
        EXPECT_TRUE(GetModuleHandleA(name.c_str()) == NULL) << "the co-installer is unloaded again";
    }
    DeleteFileA(target.c_str());
}

INSTANTIATE_TEST_SUITE_P(All, CfgDialogSheet, testing::ValuesIn(kVariants), VariantName);

} // namespace
