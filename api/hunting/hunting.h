/*
 * Automatic profile hunting inside the library: the per-adapter switches,
 * the detection of other configuration managers, the gate of a hunting step
 * and running the service program. The pure rules are in the core library.
 */
#ifndef WL_HUNTING_H
#define WL_HUNTING_H

#include <stdint.h>

#include "wlapi.h"
#include "wlcore/hunting_rules.h"

int ProfileHuntingGet(int32_t *Val);
int SystrayIconGet(int32_t *Val);
int ThirdPartyConfigurationGet(ThirdPartyConfigurationFlags *Val);
int APHPPAllowed(void);
/* Runs the service program with the parameter; WL_GENERAL_ERROR when the
 * shell cannot start it. */
int ServiceProgramRun(const char *Parameter);

#endif
