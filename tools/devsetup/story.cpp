/*
 * The demo's story on the adapter's sheet: the "Wireless Networks" page
 * used as a person would (Refresh, a new profile created in the profile
 * management dialog, which puts it at the top of the preferred list,
 * Activate, Apply), printing what each step showed and what the adapter
 * did. It runs on a thread of its own and drives the sheet, which the main
 * thread's message loop serves, through window messages; the dialogs the
 * page opens are found as the windows owned by the sheet or by each other.
 */
#include "story.h"

#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

/* Control ids of the co-installer's page and dialogs. */
enum {
    kRefresh = 2052, kAvailable = 2051, kPreferred = 2054, kAdd = 2057, kActivate = 2059, kCreate = 2167,
    kClose = 8, kProfileName = 2201, kNetworkName = 2202
};

DWORD g_UiThread;

struct Popup {
    HWND owner, hit;
};

BOOL CALLBACK FindOwned(HWND w, LPARAM lp)
{
    Popup *p = reinterpret_cast<Popup *>(lp);
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == p->owner) {
        p->hit = w;
        return FALSE;
    }
    return TRUE;
}

/* The dialog owner opened, waited for up to 20 s. */
HWND WaitPopup(HWND owner)
{
    for (int i = 0; i < 2000; i++) {
        Popup p = {owner, NULL};
        EnumThreadWindows(g_UiThread, FindOwned, reinterpret_cast<LPARAM>(&p));
        if (p.hit) return p.hit;
        Sleep(10);
    }
    return NULL;
}

bool WaitGone(HWND w)
{
    for (int i = 0; i < 2000 && IsWindow(w) && IsWindowVisible(w); i++) Sleep(10);
    return !IsWindow(w) || !IsWindowVisible(w);
}

/* A click whose handler opens a dialog: posted, so this thread goes on. */
void PostClick(HWND dlg, int id) { PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id)); }
void Click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

bool WaitScan(HWND page)
{
    HWND refresh = GetDlgItem(page, kRefresh);
    for (int i = 0; i < 800 && !IsWindowEnabled(refresh); i++) Sleep(10);
    return IsWindowEnabled(refresh) != 0;
}

std::string Cell(HWND list, int row, int col)
{
    char buf[64] = "";
    LVITEMA it;
    memset(&it, 0, sizeof it);
    it.iSubItem = col;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&it);
    return buf;
}

/* Rows of a list: profile and network columns (after an icon column when
 * the list has three). */
void PrintRows(const char *title, HWND list)
{
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    int first = SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) == 3 ? 1 : 0;
    int n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    printf("  %s (%d):\n", title, n);
    for (int i = 0; i < n; i++)
        printf("    %-12s %s\n", Cell(list, i, first).c_str(), Cell(list, i, first + 1).c_str());
}

/* The adapter as the library the co-installer bound sees it. */
struct Library {
    HMODULE h = NULL;
    template <class F> F fn(const char *name) const { return (F)(void *)GetProcAddress(h, name); }
};

Library FindLibrary()
{
    Library l;
    for (const char *name : {"WAVXQ48E.DLL", "WAVXQ48F.DLL", "WAVXQ48C.DLL", "WAVXQ48D.DLL"})
        if (!l.h) l.h = GetModuleHandleA(name);
    return l;
}

void PrintAdapter(const Library &lib)
{
    typedef int(WINAPI * IntGet)(int *);
    typedef int(WINAPI * MacGet)(unsigned char *);
    typedef int(WINAPI * TextGet)(char *, DWORD *);
    IntGet port = lib.fn<IntGet>("WLPortStatusGet");
    MacGet bssid = lib.fn<MacGet>("WLCurrentBSSIDGet");
    TextGet ssid = lib.fn<TextGet>("WLCurrentSSIDGet");
    if (!port || !bssid || !ssid) return;
    int ps = -1;
    unsigned char mac[6] = {0};
    char text[258] = "";
    DWORD size = 257;
    port(&ps);
    bssid(mac);
    if (ssid(text, &size) != 0) size = 0;
    text[size < 257 ? size : 257] = 0;
    printf("  adapter: port status %d (%s), SSID \"%s\", BSSID %02X:%02X:%02X:%02X:%02X:%02X\n", ps,
           ps == 4 ? "associated" : ps == 3 ? "peer-to-peer" : "no link", text, mac[0], mac[1], mac[2], mac[3],
           mac[4], mac[5]);
}

/* The adapter's stored preferred list, comma separated. */
std::string StoredPreferred(const Library &lib)
{
    typedef int(WINAPI * NameGet)(char *, DWORD *);
    NameGet first = lib.fn<NameGet>("WLFirstPreferredProfileByNameGet");
    NameGet next = lib.fn<NameGet>("WLNextPreferredProfileByNameGet");
    std::string list;
    if (!first || !next) return list;
    char name[33];
    DWORD size = sizeof name;
    for (int rc = first(name, &size); rc == 0; size = sizeof name, rc = next(name, &size)) {
        name[size < sizeof name ? size : sizeof name - 1] = 0;
        list += std::string(list.empty() ? "" : ", ") + name;
    }
    return list;
}

void PrintStored(const Library &lib)
{
    typedef int(WINAPI * InfoGet)(CurrentNICInfoBuffer *);
    InfoGet info = lib.fn<InfoGet>("WLCurrentNICInfoGet");
    if (!info) return;
    std::string list = StoredPreferred(lib);
    CurrentNICInfoBuffer nic;
    memset(&nic, 0, sizeof nic);
    nic.TS.Type = CurrentNICInfoBufferType;
    nic.TS.Size = sizeof nic;
    info(&nic);
    printf("  stored: preferred profiles [%s], active profile \"%s\"\n", list.c_str(), nic.ConfigName);
}

/* Removes the story's profile left by an earlier run. */
void ForgetProfile(const Library &lib, const char *name)
{
    typedef int(WINAPI * Del)(const char *, DWORD);
    Del del = lib.fn<Del>("WLProfileByNameDel");
    if (del) del(name, (DWORD)strlen(name));
}

struct StoryArgs {
    HWND sheet;
    const StoryOptions *o;
    int rc;
};

int Fail(const char *what)
{
    printf("story: %s\n", what);
    return 1;
}

int Story(HWND sheet, const StoryOptions &o)
{
    Library lib = FindLibrary();
    if (!lib.h) return Fail("the co-installer's library is not loaded");
    ForgetProfile(lib, o.profile);

    /* The Wireless Networks page in front: its first activation scans. */
    std::vector<std::string> titles = PageTitles(sheet);
    int networks = -1;
    for (size_t i = 0; i < titles.size(); i++)
        if (titles[i] == "Wireless Networks") networks = (int)i;
    if (networks < 0) return Fail("no Wireless Networks page");
    SendMessageA(sheet, PSM_SETCURSEL, (WPARAM)networks, 0);
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    if (!WaitScan(page)) return Fail("the first scan did not end");
    printf("Wireless Networks page, first scan:\n");
    PrintRows("Available Networks", GetDlgItem(page, kAvailable));

    printf("Refresh:\n");
    Click(page, kRefresh);
    if (!WaitScan(page)) return Fail("the scan did not end");
    PrintRows("Available Networks", GetDlgItem(page, kAvailable));

    printf("Add, then Create in \"Network Profile Management\": profile \"%s\" for \"%s\"\n", o.profile, o.ssid);
    PostClick(page, kAdd);
    HWND manage = WaitPopup(sheet);
    if (!manage) return Fail("the management dialog did not open");
    PostClick(manage, kCreate);
    HWND props = WaitPopup(manage);
    if (!props) return Fail("the properties dialog did not open");
    SendMessageA(GetDlgItem(props, kProfileName), WM_SETTEXT, 0, (LPARAM)o.profile);
    SendMessageA(GetDlgItem(props, kNetworkName), WM_SETTEXT, 0, (LPARAM)o.ssid);
    PostClick(props, IDOK);
    if (!WaitGone(props)) return Fail("the properties dialog did not close");
    PrintRows("My Preferred Network Profiles (management dialog)", GetDlgItem(manage, kPreferred));
    PostClick(manage, kClose);
    if (!WaitGone(manage)) return Fail("the management dialog did not close");
    Sleep(200);
    PrintRows("My Preferred Network Profiles", GetDlgItem(page, kPreferred));

    printf("Activate \"%s\":\n", o.profile);
    HWND pref = GetDlgItem(page, kPreferred);
    LVITEMA it;
    memset(&it, 0, sizeof it);
    it.stateMask = it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(pref, LVM_SETITEMSTATE, 0, (LPARAM)&it);
    Click(page, kActivate);
    typedef int(WINAPI * IntGet)(int *);
    IntGet port = lib.fn<IntGet>("WLPortStatusGet");
    for (int i = 0, ps = 0; port && i < 50 && (port(&ps) != 0 || ps != 4); i++) Sleep(100);
    PrintAdapter(lib);
    if (o.shot && !o.shot(sheet)) printf("  no screenshot\n");

    printf("Apply:\n");
    printf("  before: preferred profiles [%s]\n", StoredPreferred(lib).c_str());
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    /* The sheet may carry the press out after this call returns. */
    for (int i = 0; i < 500 && StoredPreferred(lib).find(o.profile) == std::string::npos; i++) Sleep(10);
    PrintStored(lib);
    PrintAdapter(lib);
    return 0;
}

DWORD WINAPI StoryThread(void *p)
{
    StoryArgs *a = static_cast<StoryArgs *>(p);
    a->rc = Story(a->sheet, *a->o);
    if (!a->o->keepOpen) PostMessageA(a->sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return 0;
}

} // namespace

std::vector<std::string> PageTitles(HWND sheet)
{
    std::vector<std::string> titles;
    HWND tab = PropSheet_GetTabControl(sheet);
    int n = tab ? TabCtrl_GetItemCount(tab) : 0;
    for (int i = 0; i < n; i++) {
        char text[128] = "";
        TCITEMA item;
        memset(&item, 0, sizeof item);
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tab, TCM_GETITEMA, i, (LPARAM)&item);
        titles.push_back(text);
    }
    return titles;
}

HANDLE StartStory(HWND sheet, const StoryOptions &o, int **rc)
{
    g_UiThread = GetCurrentThreadId();
    static StoryArgs args;
    args.sheet = sheet;
    args.o = &o;
    args.rc = 1;
    *rc = &args.rc;
    return CreateThread(NULL, 0, StoryThread, &args, 0, NULL);
}
