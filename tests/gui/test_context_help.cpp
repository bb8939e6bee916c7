/*
 * Context help on the Advanced page: right-click, WM_HELP and the Help
 * button open the topic of the first matching entry of the topic table
 * through the HTML Help control registered for its class id, here a
 * recording stand-in; no help file or a failed binding means no help.
 */
#include "advanced_fixture.h"
#include "hhrecord.h"

namespace {

const char kServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

std::string Upper(std::string s)
{
    for (char &c : s) c = (char)toupper((unsigned char)c);
    return s;
}

std::string HelperDir()
{
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, exe, sizeof exe);
    std::string path(exe, n);
    return path.substr(0, path.rfind('\\')) + "\\..\\testdll\\gui";
}

/* Points the HTML Help class id at a module for the guard's lifetime. */
class HelpServer {
public:
    explicit HelpServer(const std::string &path)
    {
        HKEY key;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, kServerKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
        char old[MAX_PATH] = "";
        DWORD size = sizeof old;
        had_ = RegQueryValueExA(key, NULL, NULL, NULL, (BYTE *)old, &size) == ERROR_SUCCESS;
        old_ = had_ ? old : "";
        RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE *)path.c_str(), (DWORD)path.size() + 1);
        RegCloseKey(key);
    }
    void Point(const std::string &path)
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE *)path.c_str(), (DWORD)path.size() + 1);
        RegCloseKey(key);
    }
    ~HelpServer()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (had_)
            RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE *)old_.c_str(), (DWORD)old_.size() + 1);
        else
            RegDeleteValueA(key, NULL);
        RegCloseKey(key);
    }

private:
    bool had_ = false;
    std::string old_;
};

/* The help file in the system directory (or none) for the guard's life. */
class HelpFile {
public:
    explicit HelpFile(bool present) : path_(SystemDir() + "\\WNVXQNLS.CHM")
    {
        DeleteFileA(path_.c_str());
        if (present) {
            EXPECT_TRUE(CopyFileA((CoinstDir() + "\\WNVXQNLS.CHM").c_str(), path_.c_str(), FALSE));
        }
    }
    ~HelpFile() { DeleteFileA(path_.c_str()); }

private:
    std::string path_;
};

class ContextHelp : public AdvancedPageTest {
protected:
    std::vector<HhCall> Calls()
    {
        HMODULE rec = GetModuleHandleA("hhrecord.dll");
        if (!rec) return {};
        HhRecordGetFn get = reinterpret_cast<HhRecordGetFn>(reinterpret_cast<void *>(GetProcAddress(rec, "HhRecordGet")));
        HhCall calls[HH_RECORD_MAX];
        int n = get(calls, HH_RECORD_MAX);
        return std::vector<HhCall>(calls, calls + (n < HH_RECORD_MAX ? n : HH_RECORD_MAX));
    }
    void RightClick(HWND w)
    {
        SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
        SendMessageA(w, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
        page().pump();
    }
    std::string recorder_ = HelperDir() + "\\hhrecord.dll";
};

TEST_F(ContextHelp, FirstMatchingTopicIsShown)
{
    HelpServer server(recorder_);
    HelpFile file(true);
    Open();
    RightClick(page().item(IDC_COUNTRY));
    page().click(IDC_ADVANCED_HELP);
    HELPINFO hi;
    memset(&hi, 0, sizeof hi);
    hi.cbSize = sizeof hi;
    hi.iContextType = HELPINFO_WINDOW;
    hi.iCtrlId = IDC_TX_POWER;
    hi.hItemHandle = page().item(IDC_TX_POWER);
    SendMessageA(page().page(), WM_HELP, 0, (LPARAM)&hi);
    RightClick(page().page());
    RightClick(page().item(IDC_DEFAULT));
    RightClick(page().item(IDC_RATE24_FIRST + 3));

    std::vector<HhCall> calls = Calls();
    std::vector<std::string> topics;
    for (const HhCall &c : calls) topics.push_back(c.topic);
    EXPECT_EQ((std::vector<std::string>{"DR_sCO.htm", "DR_WLAd.htm", "GL_TP.htm", "DR_WLAd.htm", "DR_vspp.htm",
                                        "SP_RBTX.htm"}),
              topics);
    ASSERT_FALSE(calls.empty());
    EXPECT_TRUE(calls[0].owner == NULL);
    EXPECT_EQ(0u, calls[0].command); /* HH_DISPLAY_TOPIC */
    EXPECT_EQ(Upper(SystemDir() + "\\WNVXQNLS.CHM"), Upper(calls[0].file));
}

TEST_F(ContextHelp, ReleaseOnAnotherControlShowsNothing)
{
    HelpServer server(recorder_);
    HelpFile file(true);
    Open();
    SendMessageA(page().item(IDC_COUNTRY), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageA(page().item(IDC_TX_POWER), WM_RBUTTONUP, 0, 0);
    page().pump();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ContextHelp, NoHelpFileNoHelp)
{
    HelpServer server(recorder_);
    HelpFile file(false);
    Open();
    RightClick(page().item(IDC_COUNTRY));
    page().click(IDC_ADVANCED_HELP);
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(GetModuleHandleA("hhrecord.dll") == NULL) << "the help control was bound without a help file";
}

/* A registered module without HtmlHelpA fails the binding once for all. */
TEST_F(ContextHelp, FailedBindingIsNotRetried)
{
    HelpServer server(CoinstDir() + "\\nls\\WDVXQNLS.DLL");
    HelpFile file(true);
    Open();
    page().click(IDC_ADVANCED_HELP);
    server.Point(recorder_);
    page().click(IDC_ADVANCED_HELP);
    RightClick(page().item(IDC_COUNTRY));
    EXPECT_TRUE(GetModuleHandleA("hhrecord.dll") == NULL);
    EXPECT_TRUE(Calls().empty());
}

} // namespace
