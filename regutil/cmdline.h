/* The utility's command line: the command table, the argument rules and
 * the profile operand. A pure function of argc/argv (and, for the profile
 * lookup, of a list of profile names); the actions themselves live in
 * commands.cpp.
 */
#ifndef REGUTIL_CMDLINE_H
#define REGUTIL_CMDLINE_H

#include "keyrec.h"

/* Exit codes of the utility. */
enum ExitCode {
    EXIT_DONE = 0,
    EXIT_NO_COMMAND = 1,   /* no command, or not a command of the table */
    EXIT_NO_ADAPTER = 2,
    EXIT_STORE_FAILED = 3, /* a registry write, or the profile it needs */
    EXIT_BAD_ARGS = 4,
    EXIT_BAD_VERSION = 5,  /* driver not version 8.24 */
    EXIT_NO_DRIVER = 6,
    EXIT_DPV_ABSENT = 100,
    EXIT_DPV_PRESENT = 101,
    EXIT_RADIO_BASE = 200,
    EXIT_MORE_INSTALLED = 300,
    EXIT_ONE_INSTALLED = 301,
    EXIT_WOL_BASE = 400
};

#define PROFILE_MAX 99

/* The profile operand of "W"/"w". */
enum ProfileKind {
    PROFILE_DEFAULT, /* no operand: first existing profile, else 0 */
    PROFILE_NUMBER,  /* digits, value 0 to 99 (0: first existing profile) */
    PROFILE_NAME     /* anything else: looked up by "ConfigName" */
};

struct ProfileOperand {
    ProfileKind kind;
    int number;
    const char *name; /* PROFILE_NAME: the argument itself */
};

struct ParsedCommand {
    int exitCode;     /* 0: carry out the command; else end with this code */
    const char *text; /* printed (without line end) before ending, or NULL */
    char command;
    int number;       /* "H": profile 0..99; "E"/"e": 1..99; "R"/"O": 0, 1, 2;
                         "K": KeyId 0..3 */
    const char *operand;    /* "E"/"e": the coded text; "W"/"w": the key */
    ProfileOperand profile; /* "W"/"w" */
    int keyExit;      /* "W"/"w": 0 when the key has its form, else 4; it is
                         applied after the adapter and version steps */
    KeyBytes key;     /* "W"/"w": the key when keyExit is 0 */
    KeyRecord record; /* "K": the record to store */
};

/* One row of the command table. */
struct CommandSpec {
    char letter;
    int minArgs, maxArgs; /* counting the program name */
    const char *badArgsText; /* printed when the arguments do not match */
    /* Checks the operands (argv[2] on); returns 0 or an exit code. */
    int (*operands)(int argc, const char *const *argv, ParsedCommand *out);
};

const CommandSpec *FindCommand(char letter);
const CommandSpec *CommandTable(int *count);

/* Parses the command line. argv[0] is the program name; every argv[i] for
 * i < argc is a zero-terminated string. Never fails otherwise.
 */
void ParseCommandLine(int argc, const char *const *argv, ParsedCommand *out);

/* Profile number of a "W"/"w" operand, given the names of the existing
 * profiles: names[n] for n = 1 .. 99 is its "ConfigName", or NULL when the
 * profile does not exist (names[0] is not used). Returns 0 and sets
 * *profile (0 = the running configuration), or EXIT_BAD_ARGS when a name
 * matches no profile.
 */
int ResolveProfile(const ProfileOperand &op, const char *const names[PROFILE_MAX + 1],
                   int *profile);

/* Value of an all-digit string up to `max`, or -1 when it is empty, has
 * another character, or exceeds max (never overflows).
 */
int DigitsValue(const char *s, int max);

#endif
