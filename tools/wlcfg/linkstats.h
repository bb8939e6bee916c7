/* Statistics of a series of link tests: answers, loss, round trips. */
#ifndef WLCFG_LINKSTATS_H
#define WLCFG_LINKSTATS_H

#include <vector>

struct LinkStats {
    int sent = 0;
    int received = 0;
    double lossPercent = 0;
    double rttMin = 0, rttMedian = 0, rttMax = 0; /* ms; 0 when nothing came back */
};

/* `rtts` holds the round trip of every answer received, in ms. */
LinkStats LinkStatsOf(int sent, std::vector<double> rtts);

#endif
