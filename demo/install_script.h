#ifndef DEMO_INSTALL_SCRIPT_H
#define DEMO_INSTALL_SCRIPT_H

/* Runs the utility's commands against the registered adapter `nic`. */
void RunInstallScript(const char *nic);

#endif
