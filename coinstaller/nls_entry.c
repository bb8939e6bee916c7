/* Entry of the resource library: it holds resources only. */
#include <windows.h>

BOOL WINAPI NlsEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
