/*
 * hunting_thresholds.h - the optional per-adapter thresholds of the link
 * verdict: a minimum signal level and a minimum signal-to-noise margin.
 * Pure; no driver, no registry.
 */
#ifndef WLCORE_HUNTING_THRESHOLDS_H
#define WLCORE_HUNTING_THRESHOLDS_H

#include "wlcore/hunting_rules.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Per-NIC store values (integers; absent: no threshold). */
#define HUNTING_MIN_SIGNAL_VALUE "HuntingMinSignal" /* dBm, e.g. -75 */
#define HUNTING_MIN_SNR_VALUE "HuntingMinSNR"       /* dB above the noise */

typedef struct HuntingThresholds {
    int haveMinSignal;
    int minSignalDbm;
    int haveMinSnr;
    int minSnrDb;
} HuntingThresholds;

/* The verdict once the thresholds are consulted: a link the base verdict
 * keeps is left for the next profile when its signal is below the minimum
 * or its margin over the noise below the minimum margin. Without a
 * threshold, or when the quality could not be read (qualityOk 0), the base
 * verdict stands. */
enum LinkVerdict ThresholdVerdictOf(enum LinkVerdict base, const HuntingThresholds *t, int qualityOk,
                                    int signalDbm, int noiseDbm);

#ifdef __cplusplus
}
#endif

#endif
