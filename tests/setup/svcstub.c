/* A service that does nothing but run until it is stopped: stands in for
 * Windows services the suite only asks the state of (the zero
 * configuration service "WZCSVC"). */
#include <windows.h>

static SERVICE_STATUS_HANDLE g_Handle;
static SERVICE_STATUS g_Status;
static HANDLE g_Stop;

static DWORD WINAPI Handler(DWORD control, DWORD type, void *data, void *context)
{
    (void)type, (void)data, (void)context;
    if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
        g_Status.dwCurrentState = SERVICE_STOP_PENDING;
        SetServiceStatus(g_Handle, &g_Status);
        SetEvent(g_Stop);
    }
    return NO_ERROR;
}

static void WINAPI ServiceMain(DWORD argc, char **argv)
{
    (void)argc, (void)argv;
    g_Handle = RegisterServiceCtrlHandlerExA("", Handler, NULL);
    if (!g_Handle) return;
    g_Status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_Status.dwControlsAccepted = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN;
    g_Status.dwCurrentState = SERVICE_RUNNING;
    SetServiceStatus(g_Handle, &g_Status);
    WaitForSingleObject(g_Stop, INFINITE);
    g_Status.dwCurrentState = SERVICE_STOPPED;
    SetServiceStatus(g_Handle, &g_Status);
}

int main(void)
{
    SERVICE_TABLE_ENTRYA table[] = {{(char *)"", ServiceMain}, {NULL, NULL}};
    g_Stop = CreateEventA(NULL, TRUE, FALSE, NULL);
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
