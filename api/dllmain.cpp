/* Library entry: reports each notification on standard output and opens or
 * closes the trace log with the process. */
#include <stdio.h>

#include "trace/wltrace.h"
#include "channel/wlchannel.h"

BOOL WINAPI DllMain(HINSTANCE hModule, DWORD ul_reason_for_call, LPVOID lpReserved)
{
    const char *reason;
    switch (ul_reason_for_call) {
    case DLL_PROCESS_ATTACH: reason = "DLL_PROCESS_ATTACH"; break;
    case DLL_PROCESS_DETACH: reason = "DLL_PROCESS_DETACH"; break;
    case DLL_THREAD_ATTACH: reason = "DLL_THREAD_ATTACH"; break;
    case DLL_THREAD_DETACH: reason = "DLL_THREAD_DETACH"; break;
    default: reason = "default"; break;
    }
    printf("DllMain: hModule %x, ul_reason_for_call %d, lpReserved %p - %s - leaving ....\n",
           (unsigned)(UINT_PTR)hModule, (int)ul_reason_for_call, lpReserved, reason);
    fflush(stdout);
    /* Threads share the process-wide log: only the process opens and closes it. */
    if (ul_reason_for_call == DLL_PROCESS_ATTACH) TraceProcessAttach();
    else if (ul_reason_for_call == DLL_PROCESS_DETACH) {
        /* At process exit the system closes the handle itself; an unload
         * by FreeLibrary (lpReserved NULL) must not leave it open. */
        if (lpReserved == NULL) ChannelDetach();
        TraceProcessDetach();
    }
    return TRUE;
}
