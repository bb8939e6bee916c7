/*
 * Command-line switches of the profile hunting service program.
 */
#ifndef WL_SERVICE_SWITCHES_H
#define WL_SERVICE_SWITCHES_H

#ifdef __cplusplus
extern "C" {
#endif

enum ServiceSwitch { SWITCH_NONE = 0, SWITCH_SERVICE, SWITCH_UNREG_SERVICE };

/*
 * Scans Args (the text after the program name) character by character,
 * multi-byte aware, for the next "-" or "/"; the whole remainder after it is
 * compared, ignoring case, with "UnregService" and then with "Service". The
 * first match is the answer; otherwise scanning goes on after that switch
 * character. So a switch counts only when nothing follows it on the line.
 */
enum ServiceSwitch ServiceSwitchOf(const char *Args);

/* The text after the program name in a full command line (a quoted or
 * unquoted first token), without the blanks that separate them. */
const char *ArgumentsOf(const char *CommandLine);

#ifdef __cplusplus
}
#endif

#endif
