/*
 * The profile hunting service program: installs and removes itself as a
 * Windows service, and runs one hunting pass every 5 seconds over the
 * adapters that the configuration API library reports, under the service
 * control manager or, started by hand, as an application.
 *
 * Built once per variant; the variant letter is in every fixed name.
 */
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "switches.h"

#define WL_STR2(x) #x
#define WL_STR(x) WL_STR2(x)
#define LETTER WL_STR(WL_VARIANT_LETTER)

static const char kServiceName[] = "WSVXQ48" LETTER;
static const char kDisplayName[] = "WSVXQ48" LETTER " Wireless Profile Hunting";
static const char kDependencies[] = "RPCSS\0";
static const char kLibrary[] = "WAVXQ48" LETTER ".DLL";
static const char kDriverService[] = "WLVXQ48" LETTER;
static const char kMessageFile[] = "%SystemRoot%\\System32\\wsvxq48x.dll";
static const char kMessageDll[] = "wsvxq48x.dll";
static const char kWindowClass[] = "WLServWindow";
static const char kEventLogKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";
static const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services\\";

#define TIMER_ID 1
#define PASS_PERIOD_MS 5000
#define WM_USER_CONTROL 2025
#define REMOVAL_WAIT_MS 20000 /* bound on waiting for a removed service to go */

#define EVENT_STARTED 0
#define EVENT_STOPPED 1
#define EVENT_HANDLER_FAILED 2

/* ---- Process-wide state ---- */

static SERVICE_STATUS s_Status = {SERVICE_WIN32_OWN_PROCESS, SERVICE_STOPPED, SERVICE_ACCEPT_STOP, 0, 0, 0, 0};
static SERVICE_STATUS_HANDLE s_StatusHandle;
static BOOL s_ServiceMode = TRUE;
static HINSTANCE s_Instance;
static HWND s_Window;
static DWORD s_WorkerThread;

/* ---- Messages: the event log in service mode, standard output otherwise ---- */

static void Message(WORD Type, DWORD EventId, const char *Format, ...)
{
    char text[256];
    va_list ap;
    va_start(ap, Format);
    vsnprintf(text, sizeof text, Format, ap);
    va_end(ap);
    if (!s_ServiceMode) {
        printf("%s\n", text);
        fflush(stdout);
        return;
    }
    HANDLE source = RegisterEventSourceA(NULL, kServiceName);
    if (source == NULL) return;
    const char *strings[1] = {text};
    ReportEventA(source, Type, 0, EventId, NULL, 1, 0, strings, NULL);
    DeregisterEventSource(source);
}

static void ReportStatus(DWORD State)
{
    s_Status.dwCurrentState = State;
    if (s_ServiceMode && s_StatusHandle != NULL) SetServiceStatus(s_StatusHandle, &s_Status);
}

/* ---- One hunting pass ---- */

typedef int(WINAPI *NicGetFn)(void *Val);
typedef int(WINAPI *NicSetFn)(const char *Val, DWORD Size);
typedef int(WINAPI *AphppFn)(void);

/* The enumeration buffer: type 15, size 40, adapter id and library name. */
struct NicInfo {
    DWORD type;
    DWORD size;
    char nic[16];
    char dll[16];
};

struct NicNode {
    NicNode *next;
    NicInfo info;
};

/* Lists the adapters; each new one goes to the front. */
static NicNode *AdapterList(void)
{
    HMODULE lib = LoadLibraryA(kLibrary);
    if (lib == NULL) return NULL;
    NicGetFn first = (NicGetFn)(void *)GetProcAddress(lib, "WLFirstNICGet");
    NicGetFn next = (NicGetFn)(void *)GetProcAddress(lib, "WLNextNICGet");
    NicNode *list = NULL;
    if (first != NULL && next != NULL) {
        NicInfo info;
        memset(&info, 0, sizeof info);
        info.type = 15;
        info.size = sizeof info;
        for (int rc = first(&info); rc == 0; rc = next(&info)) {
            NicNode *node = (NicNode *)malloc(sizeof *node);
            if (node == NULL) continue;
            node->info = info;
            node->next = list;
            list = node;
        }
    }
    FreeLibrary(lib);
    return list;
}

/* Text of a fixed field, terminated within the field. */
static void FieldText(char (&out)[17], const char (&field)[16])
{
    memcpy(out, field, sizeof field);
    out[16] = '\0';
}

static void HuntingPass(void)
{
    NicNode *list = AdapterList();
    for (NicNode *n = list; n != NULL; n = n->next) {
        char dll[17], nic[17];
        FieldText(dll, n->info.dll);
        FieldText(nic, n->info.nic);
        HMODULE lib = LoadLibraryA(dll);
        if (lib == NULL) continue;
        NicSetFn select = (NicSetFn)(void *)GetProcAddress(lib, "WLCurrentNICSet");
        AphppFn aphpp = (AphppFn)(void *)GetProcAddress(lib, "WLAPHPP");
        if (select != NULL && select(nic, (DWORD)strlen(nic)) == 0 && aphpp != NULL) aphpp();
        FreeLibrary(lib);
    }
    while (list != NULL) {
        NicNode *next = list->next;
        free(list);
        list = next;
    }
}

/* ---- Worker: the hidden timer window and its message loop ---- */

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        HuntingPass();
        return 0;
    }
    if (msg == WM_USER_CONTROL) return 0;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

static void WorkerLoop(void)
{
    s_WorkerThread = GetCurrentThreadId();
    Message(EVENTLOG_INFORMATION_TYPE, EVENT_STARTED, "%s", kServiceName);
    if (s_ServiceMode) ReportStatus(SERVICE_RUNNING);

    WNDCLASSEXA wc;
    memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = s_Instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);
    s_Window = CreateWindowExA(WS_EX_STATICEDGE, kWindowClass, "", WS_BORDER, 0, 0, 0, 0, NULL, NULL,
                               s_Instance, NULL);
    if (s_Window != NULL) SetTimer(s_Window, TIMER_ID, PASS_PERIOD_MS, NULL);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
}

/* ---- Service control ---- */

static void WINAPI ControlHandler(DWORD Control)
{
    switch (Control) {
    case SERVICE_CONTROL_STOP:
        ReportStatus(SERVICE_STOP_PENDING);
        /* Synchronous: waits until a pass in progress has finished. */
        if (s_Window != NULL) SendMessageA(s_Window, WM_CLOSE, 0, 0);
        PostThreadMessageA(s_WorkerThread, WM_QUIT, 0, 0);
        break;
    case SERVICE_CONTROL_PAUSE:
    case SERVICE_CONTROL_CONTINUE:
    case SERVICE_CONTROL_INTERROGATE:
    case SERVICE_CONTROL_SHUTDOWN:
        break;
    default:
        if (s_Window != NULL) PostMessageA(s_Window, WM_USER_CONTROL, Control, 0);
        break;
    }
}

static void WINAPI ServiceMain(DWORD Argc, LPSTR *Argv)
{
    (void)Argc;
    (void)Argv;
    s_Status.dwCurrentState = SERVICE_START_PENDING;
    s_StatusHandle = RegisterServiceCtrlHandlerA(kServiceName, ControlHandler);
    if (s_StatusHandle == NULL) {
        Message(EVENTLOG_ERROR_TYPE, EVENT_HANDLER_FAILED, "%s", kServiceName);
        return;
    }
    ReportStatus(SERVICE_START_PENDING);
    s_Status.dwWin32ExitCode = 0;
    s_Status.dwCheckPoint = 0;
    s_Status.dwWaitHint = 0;
    WorkerLoop();
    ReportStatus(SERVICE_STOPPED);
    Message(EVENTLOG_INFORMATION_TYPE, EVENT_STOPPED, "%s", kServiceName);
}

/* ---- Install and removal ---- */

enum Removal { REMOVAL_FAILED = 0, REMOVAL_NOT_INSTALLED, REMOVAL_KEPT, REMOVAL_DELETED };

static bool ServiceExists(void)
{
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (scm == NULL) return false;
    SC_HANDLE svc = OpenServiceA(scm, kServiceName, SERVICE_QUERY_CONFIG);
    if (svc != NULL) CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    return svc != NULL;
}

/* Adapter instances the driver service counts; 0 when the value is missing. */
static DWORD DriverInstanceCount(void)
{
    char key[MAX_PATH];
    snprintf(key, sizeof key, "%s%s\\Enum", kServicesKey, kDriverService);
    HKEY h;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &h) != ERROR_SUCCESS) return 0;
    DWORD count = 0, size = sizeof count;
    LONG rc = RegQueryValueExA(h, "Count", NULL, NULL, (BYTE *)&count, &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? count : 0;
}

static Removal ConditionalRemoval(void)
{
    if (!ServiceExists()) return REMOVAL_NOT_INSTALLED;
    if (DriverInstanceCount() > 1) return REMOVAL_KEPT;
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (scm == NULL) return REMOVAL_FAILED;
    SC_HANDLE svc = OpenServiceA(scm, kServiceName, SERVICE_STOP | DELETE);
    if (svc == NULL) {
        CloseServiceHandle(scm);
        return REMOVAL_FAILED;
    }
    SERVICE_STATUS st;
    ControlService(svc, SERVICE_CONTROL_STOP, &st);
    BOOL deleted = DeleteService(svc);
    CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    return deleted ? REMOVAL_DELETED : REMOVAL_FAILED;
}

/* Puts the event message file into the system directory when it lies
 * beside this program and the system directory has none. */
static void MessageFileInstall(const char *ProgramPath)
{
    char source[MAX_PATH], target[MAX_PATH];
    snprintf(source, sizeof source, "%s", ProgramPath);
    char *slash = strrchr(source, '\\');
    if (slash == NULL) return;
    snprintf(slash + 1, sizeof source - (size_t)(slash + 1 - source), "%s", kMessageDll);
    UINT n = GetSystemDirectoryA(target, sizeof target);
    if (n == 0 || n >= sizeof target) return;
    snprintf(target + n, sizeof target - n, "\\%s", kMessageDll);
    if (lstrcmpiA(source, target) == 0) return;
    CopyFileA(source, target, TRUE);
}

static int Install(void)
{
    /* A service being deleted can still be opened until its process has
     * ended; wait for it to go so that it is created again, not lost. */
    if (ConditionalRemoval() == REMOVAL_DELETED)
        for (DWORD waited = 0; ServiceExists() && waited < REMOVAL_WAIT_MS; waited += 100) Sleep(100);
    if (ServiceExists()) return 1;
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (scm == NULL) return 0;
    char path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    path[n < MAX_PATH ? n : MAX_PATH] = '\0';
    SC_HANDLE svc = CreateServiceA(scm, kServiceName, kDisplayName, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                   SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, path, NULL, NULL, kDependencies, NULL,
                                   NULL);
    if (svc == NULL) {
        CloseServiceHandle(scm);
        return 0;
    }
    MessageFileInstall(path);
    StartServiceA(svc, 0, NULL);
    char key[MAX_PATH];
    snprintf(key, sizeof key, "%s%s", kEventLogKey, kServiceName);
    HKEY h;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &h) == ERROR_SUCCESS) {
        RegSetValueExA(h, "EventMessageFile", 0, REG_EXPAND_SZ, (const BYTE *)kMessageFile,
                       (DWORD)sizeof kMessageFile);
        DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
        RegSetValueExA(h, "TypesSupported", 0, REG_DWORD, (const BYTE *)&types, sizeof types);
        RegCloseKey(h);
    }
    CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    return 1;
}

int main(void)
{
    s_Instance = GetModuleHandleA(NULL);
    switch (ServiceSwitchOf(ArgumentsOf(GetCommandLineA()))) {
    case SWITCH_SERVICE: return Install();
    case SWITCH_UNREG_SERVICE: return ConditionalRemoval() != REMOVAL_FAILED ? 1 : 0;
    case SWITCH_NONE: break;
    }
    static char name[sizeof kServiceName];
    memcpy(name, kServiceName, sizeof name);
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {NULL, NULL}};
    if (!StartServiceCtrlDispatcherA(table)) {
        /* Not started by the service control manager: application mode. */
        s_ServiceMode = FALSE;
        WorkerLoop();
    }
    return (int)s_Status.dwWin32ExitCode;
}
