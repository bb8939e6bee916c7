#include "wlcore/hunting_thresholds.h"

enum LinkVerdict ThresholdVerdictOf(enum LinkVerdict base, const HuntingThresholds *t, int qualityOk,
                                    int signalDbm, int noiseDbm)
{
    if (base != LINK_STAY || !t || !qualityOk)
        return base;
    if (t->haveMinSignal && signalDbm < t->minSignalDbm)
        return LINK_HUNT;
    if (t->haveMinSnr && signalDbm - noiseDbm < t->minSnrDb)
        return LINK_HUNT;
    return LINK_STAY;
}
