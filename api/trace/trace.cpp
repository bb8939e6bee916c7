/*
 * Call frame, trace log, error log and the read-back strings.
 *
 * The trace log is a ring of 100000 entries over one file in the root of the
 * current drive, written only when the marker file "\wllog.txt" exists; the
 * error log collects the exit lines of failed calls in "\wlerr.txt" when that
 * file exists. All state is process-wide; the library takes no locks.
 */
#include <stdio.h>
#include <stdlib.h>

#include "wlvariant.h"
#include "trace/wltrace.h"

#define LOG_MARKER "\\wllog.txt"
#define ERROR_LOG "\\wlerr.txt"
#define LOG_RING_ENTRIES 100000
#define LOG_TEXT_MAX 247
#define LOG_INDENT_MAX 100

static int s_LogDisabled;                      /* -1 once the marker is missing */
static HANDLE s_Log = INVALID_HANDLE_VALUE;
static char s_LogName[16];
static LONGLONG s_WritePos;
static int s_EntryCount;
static int s_Indent;
static bool s_HeaderWritten;
static HANDLE s_ErrorLog = INVALID_HANDLE_VALUE;
static char s_LastErrorLine[512];
static char s_ReturnString[256];
static char s_GeneralErrorString[260];
int g_DAICompatibility = WL_COMPATIBILITY_UNCHECKED;

static void FileWrite(HANDLE h, const char *text, DWORD len)
{
    DWORD written;
    WriteFile(h, text, len, &written, NULL);
}

/* Opens a fresh numbered log file: "\wllog<suffix><n>.txt", n the first of
 * 0 to 9 that does not exist, else -1 (overwritten each time). */
static void LogOpen(void)
{
    HANDLE marker = CreateFileA(LOG_MARKER, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                NULL, OPEN_EXISTING, 0, NULL);
    if (marker == INVALID_HANDLE_VALUE) {
        s_LogDisabled = -1;
        return;
    }
    CloseHandle(marker);

    const char *suffix = g_Variant.dllName + strlen(g_Variant.dllName) - 3;
    int number = -1;
    for (int n = 0; n <= 9; n++) {
        char name[sizeof s_LogName];
        snprintf(name, sizeof name, "\\wllog%s%d.txt", suffix, n);
        if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) {
            number = n;
            break;
        }
    }
    snprintf(s_LogName, sizeof s_LogName, "\\wllog%s%d.txt", suffix, number);
    s_Log = CreateFileA(s_LogName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                        CREATE_ALWAYS, FILE_FLAG_WRITE_THROUGH, NULL);
    if (s_Log == INVALID_HANDLE_VALUE) return;
    static const char banner[] = "\n *** logfile opened *** \n";
    FileWrite(s_Log, banner, sizeof banner - 1);
}

static void LogClose(void)
{
    if (s_Log != INVALID_HANDLE_VALUE) CloseHandle(s_Log);
    s_Log = INVALID_HANDLE_VALUE;
}

static int LogWriteV(const char *format, va_list args)
{
    if (s_LogDisabled == -1) return -1;
    if (s_Log == INVALID_HANDLE_VALUE) {
        LogOpen();
        if (s_LogDisabled == -1) return -1;
        if (s_Log == INVALID_HANDLE_VALUE) return -2;
    }
    char line[LOG_TEXT_MAX + 1];
    if (!s_HeaderWritten) {
        s_HeaderWritten = true;
        snprintf(line, sizeof line,
                 ">>> CompilationMode = %d, 0/1 = ANSI/UNICODE, DAI COMPATIBILITY is %s\n", 0,
                 ReturnCodeName(g_DAICompatibility));
        FileWrite(s_Log, line, (DWORD)strlen(line));
    }
    vsnprintf(line, sizeof line, format, args);

    /* Indent, text and the FINGER line go out in one write; the next entry
     * starts where the FINGER line does and overwrites it. */
    char entry[LOG_INDENT_MAX + LOG_TEXT_MAX + 32];
    int width = s_Indent < LOG_INDENT_MAX ? s_Indent : LOG_INDENT_MAX;
    for (int c = 0; c < width; c++) entry[c] = (c % 4 == 0) ? '|' : ' ';
    size_t textLen = strlen(line);
    memcpy(entry + width, line, textLen);
    size_t entryLen = width + textLen;

    s_EntryCount++;
    LONGLONG next = s_WritePos + (LONGLONG)entryLen;
    size_t total = entryLen;
    if (s_EntryCount > LOG_RING_ENTRIES) {
        s_EntryCount = 0;
        next = 0;
    } else {
        total += snprintf(entry + entryLen, sizeof entry - entryLen, "FINGER, line %d\n", s_EntryCount);
    }
    LARGE_INTEGER pos;
    pos.QuadPart = s_WritePos;
    SetFilePointerEx(s_Log, pos, NULL, FILE_BEGIN);
    FileWrite(s_Log, entry, (DWORD)total);
    s_WritePos = next;
    return 0;
}

int __cdecl WLLog(const char *Format, ...)
{
    va_list args;
    va_start(args, Format);
    int rc = LogWriteV(Format ? Format : "", args);
    va_end(args);
    return rc;
}

/* Appends an exit line to the error log; consecutive repeats are dropped. */
static void ErrorLogWrite(const char *line)
{
    if (strcmp(line, s_LastErrorLine) == 0) return;
    snprintf(s_LastErrorLine, sizeof s_LastErrorLine, "%s", line);
    if (s_ErrorLog == INVALID_HANDLE_VALUE) {
        s_ErrorLog = CreateFileA(ERROR_LOG, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 NULL, OPEN_EXISTING, FILE_FLAG_WRITE_THROUGH, NULL);
        if (s_ErrorLog == INVALID_HANDLE_VALUE) return;
    }
    SetFilePointer(s_ErrorLog, 0, NULL, FILE_END);
    FileWrite(s_ErrorLog, line, (DWORD)strlen(line));
}

void TraceEnter(const char *Fn)
{
    WLLog("<%s> {\n", Fn);
    s_Indent += 4;
}

int TraceReturn(const char *Fn, const char *Reason, int Code, int Line)
{
    bool error = Reason != NULL && Code != 0;
    snprintf(s_ReturnString, sizeof s_ReturnString,
             "} <%s> (line %d) returned [%s] (%s, 0x%08X, %d) %s\n", Fn ? Fn : "ANY FUNCTION", Line,
             Reason ? Reason : "NORMAL RETURN", ReturnCodeName(Code), (unsigned)Code, Code,
             error ? "ERROR" : "");
    s_Indent -= 4;
    if (s_Indent < 0) {
        WLLog("indent negative\n");
        s_Indent = 0;
    }
    WLLog("%s", s_ReturnString);
    if (error) ErrorLogWrite(s_ReturnString);
    return Code;
}

void ConditionalLog(const char *Fn, const char *Reason)
{
    WLLog("<%s> logs [%s] conditionally\n", Fn ? Fn : "ANY FUNCTION", Reason ? Reason : "NORMAL RETURN");
}

int WLAPI WLReturnStringGet(char *Val, DWORD *Size)
{
    /* Until this frame closes, the string still holds the previous exit line. */
    char *ReturnString = s_ReturnString;
    WL_FRAME("WLReturnStringGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < (_tcslen (ReturnString) + 1), WL_INPUT_BUFFER_INSUFFICIENT);
    strcpy(Val, ReturnString);
    *Size = (DWORD)strlen(ReturnString);
    WL_RETURN(WL_SUCCESS);
}

int WLGeneralErrorStringSet(const char *Val)
{
    WL_FRAME("WLGeneralErrorStringSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    snprintf(s_GeneralErrorString, sizeof s_GeneralErrorString, "%s", Val);
    WLLog("GeneralErrorString set to <%s>\n", s_GeneralErrorString);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLGeneralErrorStringGet(char *Val, DWORD *Size)
{
    char *GeneralErrorString = s_GeneralErrorString;
    WL_FRAME("WLGeneralErrorStringGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < (_tcslen (GeneralErrorString) + 1), WL_INPUT_BUFFER_INSUFFICIENT);
    strcpy(Val, GeneralErrorString);
    *Size = (DWORD)strlen(GeneralErrorString);
    GeneralErrorString[0] = '\0';
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLLogNew(void)
{
    /* Without an open log there is nothing to empty; the next entry opens
     * a fresh file anyway. */
    if (s_Log != INVALID_HANDLE_VALUE) {
        SetFilePointer(s_Log, 0, NULL, FILE_BEGIN);
        SetEndOfFile(s_Log);
    }
    s_Indent = 0;
    s_EntryCount = 0;
    s_WritePos = 0;
    return 0;
}

int WLAPI WLLogErrorNew(void)
{
    if (s_ErrorLog != INVALID_HANDLE_VALUE) CloseHandle(s_ErrorLog);
    s_ErrorLog = INVALID_HANDLE_VALUE;
    HANDLE h = CreateFileA(ERROR_LOG, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           CREATE_ALWAYS, 0, NULL);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    s_LastErrorLine[0] = '\0';
    return 0;
}

/* Shows a log file in the editor and waits until it is closed. */
static int ShowInEditor(const char *file)
{
    char command[32];
    snprintf(command, sizeof command, "notepad.exe %s", file);
    system(command);
    return 0;
}

int WLAPI WLLogDump(void) { return ShowInEditor(s_LogName); }
int WLAPI WLLogErrorDump(void) { return ShowInEditor(ERROR_LOG); }

void TraceProcessAttach(void)
{
    if (s_Log == INVALID_HANDLE_VALUE && s_LogDisabled != -1) LogOpen();
}

void TraceProcessDetach(void)
{
    LogClose();
    if (s_ErrorLog != INVALID_HANDLE_VALUE) CloseHandle(s_ErrorLog);
    s_ErrorLog = INVALID_HANDLE_VALUE;
}

/* ---- Small conversions that log what they did ---- */

void IntValueLog(int Val)
{
    char bits[40];
    int k = 0;
    for (int b = 31; b >= 0; b--) {
        bits[k++] = ((unsigned)Val >> b) & 1 ? '1' : '0';
        if (b % 4 == 0 && b != 0) bits[k++] = ' ';
    }
    bits[k] = '\0';
    WLLog("Int has value <%d> (0x%08X) [%s]\n", Val, (unsigned)Val, bits);
}

void MACAddressLog(const unsigned char *Mac)
{
    WLLog("MACAddress at <0x%x>\n", (unsigned)(UINT_PTR)Mac);
    if (Mac != NULL)
        WLLog("has value <%02x.%02x.%02x.%02x.%02x.%02x>\n", Mac[0], Mac[1], Mac[2], Mac[3], Mac[4],
              Mac[5]);
}

unsigned short i2us(int i)
{
    const char *how;
    unsigned short us;
    if (i > USHRT_MAX) {
        how = "i > USHRT_MAX";
        us = USHRT_MAX;
    } else if (i < 0) {
        how = "i < 0";
        us = 0;
    } else {
        how = "ok";
        us = (unsigned short)i;
    }
    char line[128];
    if (snprintf(line, sizeof line, "i2us: %s, i = %d, us = %u\n", how, i, us) >= (int)sizeof line)
        WLLog("i2us: buffer too small\n");
    WLLog("%s", line);
    return us;
}

unsigned short ui2us(unsigned int ui)
{
    const char *how = ui > USHRT_MAX ? "ui > USHRT_MAX" : "ok";
    unsigned short us = ui > USHRT_MAX ? USHRT_MAX : (unsigned short)ui;
    char line[128];
    if (snprintf(line, sizeof line, "ui2us: %s, ui = %d, us = %u\n", how, (int)ui, us) >= (int)sizeof line)
        WLLog("ui2us: buffer too small\n");
    WLLog("%s", line);
    return us;
}

