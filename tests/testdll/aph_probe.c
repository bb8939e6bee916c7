/*
 * A recording stand-in for the configuration API library as the profile
 * hunting service loads it. Copies of it under several names sit in one
 * folder with the service program: "WAVXQ48D.DLL" for the enumeration and
 * the names the enumeration hands out for the adapters. It answers the
 * adapters listed in "aphprobe.txt" (lines "NIC DLL") and appends every
 * attach, detach and call to "aphprobe.log", both in its own folder.
 * WLCurrentNICSet refuses identifiers that begin with "X".
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

typedef struct {
    DWORD type, size;
    char nic[16];
    char dll[16];
} NicInfo;

static char s_Dir[MAX_PATH];
static char s_Name[MAX_PATH];
static int s_Next; /* index of the next adapter to hand out */

static void Record(const char *format, const char *a, const char *b)
{
    char path[MAX_PATH + 16];
    snprintf(path, sizeof path, "%saphprobe.log", s_Dir);
    FILE *f = fopen(path, "a");
    if (f == NULL) return;
    fprintf(f, "%s ", s_Name);
    fprintf(f, format, a, b);
    fprintf(f, "\n");
    fclose(f);
}

BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(hinst, path, sizeof path);
        if (n == 0 || n >= sizeof path) return FALSE;
        char *slash = strrchr(path, '\\');
        snprintf(s_Name, sizeof s_Name, "%s", slash ? slash + 1 : path);
        if (slash) slash[1] = '\0';
        snprintf(s_Dir, sizeof s_Dir, "%s", slash ? path : "");
        CharUpperA(s_Name);
        Record("attach%s%s", "", "");
    } else if (reason == DLL_PROCESS_DETACH) {
        Record("detach%s%s", "", "");
    }
    return TRUE;
}

/* Adapter `index` of the configuration file into the buffer. */
static int Adapter(int index, NicInfo *Val)
{
    char path[MAX_PATH + 16], line[128];
    snprintf(path, sizeof path, "%saphprobe.txt", s_Dir);
    FILE *f = fopen(path, "r");
    if (f == NULL) return 9005;
    int i = 0, found = 0;
    while (fgets(line, sizeof line, f)) {
        char nic[16], dll[16];
        if (sscanf(line, "%15s %15s", nic, dll) != 2) continue;
        if (i++ == index) {
            memset(Val->nic, 0, sizeof Val->nic);
            memset(Val->dll, 0, sizeof Val->dll);
            strcpy(Val->nic, nic);
            strcpy(Val->dll, dll);
            found = 1;
            break;
        }
    }
    fclose(f);
    return found ? 0 : 9005;
}

static int Checked(NicInfo *Val)
{
    if (Val == NULL || Val->type != 15 || Val->size != 40) {
        Record("bad buffer%s%s", "", "");
        return 9001;
    }
    return 0;
}

int WINAPI WLFirstNICGet(NicInfo *Val)
{
    if (Checked(Val)) return 9001;
    char tail[33];
    memcpy(tail, Val->nic, 32);
    int zero = 1;
    for (int i = 0; i < 32; i++) zero &= tail[i] == 0;
    Record("first%s%s", zero ? "" : " (buffer not zeroed)", "");
    s_Next = 0;
    return Adapter(s_Next++, Val);
}

int WINAPI WLNextNICGet(NicInfo *Val)
{
    if (Checked(Val)) return 9001;
    char previous[17];
    memcpy(previous, Val->nic, 16);
    previous[16] = '\0';
    Record("next after %s%s", previous, "");
    return Adapter(s_Next++, Val);
}

int WINAPI WLCurrentNICSet(const char *Val, DWORD Size)
{
    char nic[32], size[16];
    snprintf(nic, sizeof nic, "%.*s", (int)(Size < 16 ? Size : 16), Val ? Val : "");
    snprintf(size, sizeof size, "%lu", (unsigned long)Size);
    Record("select %s %s", nic, size);
    return nic[0] == 'X' ? 9001 : 0;
}

int WINAPI WLAPHPP(void)
{
    Record("aphpp%s%s", "", "");
    return 9005;
}
