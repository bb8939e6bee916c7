/* GUI test harness (see page_harness.h). */
#include "page_harness.h"

#include <commctrl.h>

std::string CoinstDir()
{
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, exe, sizeof exe);
    std::string path(exe, n);
    return path.substr(0, path.rfind('\\')) + "\\..\\coinst";
}

std::string SystemDir()
{
    char dir[MAX_PATH];
    UINT n = GetSystemDirectoryA(dir, sizeof dir);
    return std::string(dir, n);
}

CoInstaller::CoInstaller(char variant) : v_(variant)
{
    std::string path = CoinstDir() + "\\WDVXQ48" + variant + ".dll";
    h_ = LoadLibraryA(path.c_str());
    EXPECT_TRUE(h_ != NULL) << path << ": error " << GetLastError();
}

CoInstaller::~CoInstaller()
{
    if (h_) FreeLibrary(h_);
}

DLGPROC CoInstaller::proc(const char *name) const
{
    return h_ ? reinterpret_cast<DLGPROC>(reinterpret_cast<void *>(GetProcAddress(h_, name))) : NULL;
}

HMODULE CoInstaller::api() const { return GetModuleHandleA((std::string("WAVXQ48") + v_ + ".DLL").c_str()); }

AdapterPageContext *NewContext(const char *nic)
{
    AdapterPageContext *c =
        static_cast<AdapterPageContext *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *c));
    /* A full reset as the opener gives it: ids and names empty, defaults. */
    c->CountryEnvironment = 'E';
    c->SystemScale = DEFAULT_SYSTEM_SCALE;
    c->TxPowerLevel = DEFAULT_TX_POWER_LEVEL;
    c->Rates24 = DEFAULT_RATES24;
    c->Rates5 = DEFAULT_RATES5;
    c->WiFiCompatible = DEFAULT_WIFI_COMPATIBLE;
    lstrcpynA(c->NicId, nic, sizeof c->NicId);
    return c;
}

NetworksPageBlock *NewBlock(const char *nic)
{
    NetworksPageBlock *b =
        static_cast<NetworksPageBlock *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *b));
    b->Context = NewContext(nic);
    return b;
}

void FreeBlock(NetworksPageBlock *b)
{
    if (!b) return;
    for (char *&n : b->Context->PreferredNames)
        if (n) HeapFree(GetProcessHeap(), 0, n);
    HeapFree(GetProcessHeap(), 0, b->Context);
    HeapFree(GetProcessHeap(), 0, b);
}

std::vector<std::string> StoredProfiles(const WLLib &lib)
{
    std::vector<std::string> out;
    char name[33];
    DWORD size = sizeof name;
    for (int rc = WL(lib, WLFirstProfileByNameGet)(name, &size); rc == WL_SUCCESS;
         size = sizeof name, rc = WL(lib, WLNextProfileByNameGet)(name, &size))
        out.push_back(name);
    return out;
}

void RemoveStoredProfiles(const WLLib &lib)
{
    for (const std::string &n : StoredProfiles(lib)) WL(lib, WLProfileByNameDel)(n.c_str(), (DWORD)n.size());
}

PageSheet::PageSheet(HINSTANCE resources, int dialogId, int titleId, DLGPROC proc, void *lParam)
{
    PROPSHEETPAGEA psp;
    memset(&psp, 0, sizeof psp);
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_USETITLE;
    psp.hInstance = resources;
    psp.pszTemplate = MAKEINTRESOURCEA(dialogId);
    psp.pszTitle = MAKEINTRESOURCEA(titleId);
    psp.pfnDlgProc = proc;
    psp.lParam = reinterpret_cast<LPARAM>(lParam);
    PROPSHEETHEADERA psh;
    memset(&psh, 0, sizeof psh);
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    psh.hInstance = resources;
    psh.pszCaption = "Wireless LAN PC Card";
    psh.nPages = 1;
    psh.ppsp = &psp;
    sheet_ = reinterpret_cast<HWND>(PropertySheetA(&psh));
    EXPECT_TRUE(sheet_ != NULL);
    if (!sheet_) return;
    SetWindowPos(sheet_, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    page_ = PropSheet_GetCurrentPageHwnd(sheet_);
    pump();
}

PageSheet::~PageSheet()
{
    if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
    pump();
}

void PageSheet::pump() const
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (sheet_ && IsWindow(sheet_) && PropSheet_IsDialogMessage(sheet_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PageSheet::select(int id, int index) const
{
    SendMessageA(item(id), CB_SETCURSEL, (WPARAM)index, 0);
    SendMessageA(page_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)item(id));
    pump();
}

void PageSheet::selectText(int id, const std::string &text) const
{
    LRESULT i = SendMessageA(item(id), CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text.c_str());
    EXPECT_NE(CB_ERR, i) << "no entry \"" << text << "\" in " << id;
    select(id, (int)i);
}

void PageSheet::click(int id) const
{
    SendMessageA(item(id), BM_CLICK, 0, 0);
    pump();
}

void PageSheet::press(int button)
{
    SendMessageA(sheet_, PSM_PRESSBUTTON, (WPARAM)button, 0);
    pump();
    /* A modeless sheet that was closed keeps its window until its owner
     * destroys it. */
    if (PropSheet_GetCurrentPageHwnd(sheet_) == NULL) {
        DestroyWindow(sheet_);
        sheet_ = NULL;
        page_ = NULL;
        pump();
    }
}

bool PageSheet::closed() const { return sheet_ == NULL; }

std::vector<std::string> PageSheet::entries(int id) const
{
    std::vector<std::string> out;
    LRESULT n = SendMessageA(item(id), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; i++) {
        char buf[256] = "";
        if (SendMessageA(item(id), CB_GETLBTEXTLEN, (WPARAM)i, 0) < (LRESULT)sizeof buf)
            SendMessageA(item(id), CB_GETLBTEXT, (WPARAM)i, (LPARAM)buf);
        out.push_back(buf);
    }
    return out;
}

int PageSheet::selection(int id) const { return (int)SendMessageA(item(id), CB_GETCURSEL, 0, 0); }

std::string PageSheet::selectedText(int id) const
{
    int i = selection(id);
    if (i < 0) return "<none>";
    return entries(id).at((size_t)i);
}

std::string PageSheet::text(int id) const
{
    char buf[256] = "";
    GetWindowTextA(item(id), buf, sizeof buf);
    return buf;
}

bool PageSheet::checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool PageSheet::enabled(int id) const { return IsWindowEnabled(item(id)) != 0; }
bool PageSheet::visible(int id) const { return (GetWindowLongA(item(id), GWL_STYLE) & WS_VISIBLE) != 0; }

std::string PageSheet::tabTitle() const
{
    HWND tab = PropSheet_GetTabControl(sheet_);
    char buf[128] = "";
    TCITEMA ti;
    memset(&ti, 0, sizeof ti);
    ti.mask = TCIF_TEXT;
    ti.pszText = buf;
    ti.cchTextMax = sizeof buf;
    SendMessageA(tab, TCM_GETITEMA, 0, (LPARAM)&ti);
    return buf;
}

bool PageSheet::screenshot(const std::string &name) const
{
    if (!sheet_) return false;
    pump();
    return ScreenshotWindow(sheet_, name);
}

LibraryInCurrentDir::LibraryInCurrentDir(const std::string &folder)
{
    if (!folder.empty()) {
        EXPECT_TRUE(CopyFileA((CoinstDir() + "\\" + folder + "\\WDVXQNLS.DLL").c_str(), "WDVXQNLS.DLL", FALSE));
    }
}

LibraryInCurrentDir::~LibraryInCurrentDir() { DeleteFileA("WDVXQNLS.DLL"); }

bool ScreenshotWindow(HWND w, const std::string &name)
{
    char dir[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("WL_SHOT_DIR", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir || !w) return false;
    RedrawWindow(w, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    /* A window just mapped may not be drawn on the X server yet: let the
     * display catch up for a moment while handling this thread's messages. */
    for (int i = 0; i < 5; i++) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        GdiFlush();
        Sleep(40);
    }
    RECT r;
    GetWindowRect(w, &r);
    std::string png = std::string(dir) + "/" + name + ".png";
    /* The same file as the prefix sees it (drive Z: is the root). */
    std::string win = "Z:" + png;
    for (char &ch : win)
        if (ch == '/') ch = '\\';
    DeleteFileA(win.c_str());
    char cmd[1024];
    snprintf(cmd, sizeof cmd,
             "/bin/sh -c \"mkdir -p '%s' && xwd -root -silent | convert xwd:- -crop %ldx%ld+%ld+%ld +repage "
             "'%s.tmp.png' && mv '%s.tmp.png' '%s'\"",
             dir, r.right - r.left, r.bottom - r.top, r.left, r.top, png.c_str(), png.c_str(), png.c_str());
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA("Z:\\bin\\sh", cmd, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    /* A Unix process is not waited for through its handle: wait for the
     * file, which appears complete (renamed) when the capture is done. */
    for (int i = 0; i < 300; i++) {
        if (GetFileAttributesA(win.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(100);
    }
    return false;
}
