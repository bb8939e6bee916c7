/*
 * A recording stand-in for the profile hunting service program: appends the
 * text after its own name on the command line to "svcprobe.log" in its own
 * folder, and exits with 1 as the real program does after a switch.
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(void)
{
    char path[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 0;
    char *slash = strrchr(path, '\\');
    strcpy(slash ? slash + 1 : path, "svcprobe.log");
    const char *args = GetCommandLineA();
    if (*args == '"') {
        args = strchr(args + 1, '"');
        args = args ? args + 1 : "";
    } else {
        while (*args && *args != ' ') args++;
    }
    while (*args == ' ') args++;
    FILE *f = fopen(path, "a");
    if (f == NULL) return 0;
    fprintf(f, "%s\n", args);
    fclose(f);
    return 1;
}
