/* Registry configuration utility for installation scripts: one command per
 * run, answered through the exit code, standard output and global atoms. */
#include "commands.h"

int main(int argc, char **argv)
{
    return RunCommandLine(argc, argv);
}
