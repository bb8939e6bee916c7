/*
 * wltrace.h - the call frame, the trace and error logs, and the small
 * conversions that log what they did.
 */
#ifndef WLTRACE_H
#define WLTRACE_H

#include <stdarg.h>
#include <string.h>

#include "wlapi.h"

/* A reason of the form !INTERVAL (lo, <=, X, <=, hi): X lies outside. */
#define INTERVAL(lo, op1, x, op2, hi) (((lo)op1(x)) && ((x)op2(hi)))
#define _tcslen strlen

void TraceEnter(const char *Fn);
int TraceReturn(const char *Fn, const char *Reason, int Code, int Line);
/* The exit line of a call that never opened its frame: written at the
 * current indent, which it leaves as it is. */
int TraceRefuse(const char *Fn, int Code, int Line);
void ConditionalLog(const char *Fn, const char *Reason);
int WLGeneralErrorStringSet(const char *Val);
const char *ReturnCodeName(int Code);
DWORD OSTypeGet(void);
inline bool OSIsNTFamily(DWORD os) { return (os & OS_NT_FAMILY) != 0; }
void IntValueLog(int Val);
void MACAddressLog(const unsigned char *Mac);
unsigned short i2us(int i);
unsigned short ui2us(unsigned int ui);
int LevelToDBm(int Level);
void TraceProcessAttach(void);
void TraceProcessDetach(void);

/* The trace of one function: its name, checks and returns. */
#define WL_FRAME(name)                \
    static const char WL_FN[] = name; \
    TraceEnter(WL_FN)
/* The frame of a function that serves several exports: traced under the
 * export's own name, with the same checks and returns as WL_FRAME. */
#define WL_FRAME_AS(name)             \
    const char *const WL_FN = (name); \
    TraceEnter(WL_FN)

/* Ends the call with code when cond holds; the reason is cond's own text. */
#define WL_CHECK(cond, code)                                      \
    do {                                                          \
        if (cond) return TraceReturn(WL_FN, #cond, (code), __LINE__); \
    } while (0)
/* The header check of a TS-typed buffer p of type Name: its type, then its
 * size, each refused with WL_INVALID_PARAMETER. The reasons are
 * "(p)->TS.Type != NameType" and "(p)->TS.Size != sizeof (Name)";
 * WL_CHECK_TS_BARE gives the same without the parentheses around p. */
#define WL_CHECK_TS(p, Name)                                              \
    do {                                                                  \
        WL_CHECK((p)->TS.Type != Name##Type, WL_INVALID_PARAMETER);       \
        WL_CHECK((p)->TS.Size != sizeof (Name), WL_INVALID_PARAMETER);    \
    } while (0)
#define WL_CHECK_TS_BARE(p, Name)                                         \
    do {                                                                  \
        WL_CHECK(p->TS.Type != Name##Type, WL_INVALID_PARAMETER);         \
        WL_CHECK(p->TS.Size != sizeof (Name), WL_INVALID_PARAMETER);      \
    } while (0)
#define WL_FAIL(reason, code) return TraceReturn(WL_FN, (reason), (code), __LINE__)
#define WL_RETURN(code) return TraceReturn(WL_FN, NULL, (code), __LINE__)

/* The gate of an export only the dual-band firmware supports: in variants
 * C and D it answers WL_FUNCTION_NOT_SUPPORTED with nothing but its exit
 * line (no entry line, no check, no adapter or registry access), and leaves
 * the trace indent as it found it, also inside another frame. */
#define WL_NOT_IN_CD(name) \
    if (VariantIsCD()) return TraceRefuse((name), WL_FUNCTION_NOT_SUPPORTED, __LINE__)

#endif /* WLTRACE_H */
