/* The tool's command line: global options, the command table's shape, the
 * settings by readable name, and the help text. Pure. */
#ifndef WLCFG_COMMANDLINE_H
#define WLCFG_COMMANDLINE_H

#include <string>
#include <vector>

struct Context;
typedef int (*CommandHandler)(Context &c, const std::vector<std::string> &args);

struct Command {
    const char *name;
    CommandHandler handler;
    int minArgs, maxArgs; /* words after the command name */
    const char *usage;
    const char *help;
};

enum { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

struct CommandLine {
    bool json = false;
    std::string nic; /* -a NIC; empty: the first adapter */
    const Command *command = nullptr;
    std::vector<std::string> args;
};

/* Splits the words after the program name; false with a reason on a usage
 * error (unknown option or command, wrong number of words). */
bool ParseCommandLine(const std::vector<std::string> &words, const Command *table, size_t n, CommandLine *out,
                      std::string *why);

/* `wlcfg help` (name empty) and `wlcfg help NAME`; empty when unknown. */
std::string HelpText(const Command *table, size_t n, const std::string &name);

/* A whole decimal number within [lo, hi]. */
bool ParseInt(const std::string &s, long lo, long hi, long *out);
/* "00:40:96:10:00:02" (or with '-') */
bool ParseMac(const std::string &s, unsigned char mac[6]);
std::string MacText(const unsigned char mac[6]);

/* Adapter settings by readable name. */
struct Setting {
    const char *name;
    const char *getter;
    const char *setter; /* nullptr: read only */
    bool text;          /* byte string (name, SSID) rather than a number */
    const char *help;
};
const Setting *FindSetting(const std::string &name);
const Setting *Settings(size_t *n);

/* Words for numbers the library reports. */
const char *PortStatusWord(int status);
const char *ModeWord(int mode);
const char *AuthWord(int auth);

#endif
