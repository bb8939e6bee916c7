/* The utility's entry: checks the command line and carries out the command;
 * the result is the exit code. */
#ifndef REGUTIL_COMMANDS_H
#define REGUTIL_COMMANDS_H

int RunCommandLine(int argc, const char *const *argv);

#endif
