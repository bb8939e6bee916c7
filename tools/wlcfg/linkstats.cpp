#include "linkstats.h"

#include <algorithm>

LinkStats LinkStatsOf(int sent, std::vector<double> rtts)
{
    LinkStats s;
    s.sent = sent < 0 ? 0 : sent;
    /* answers beyond the requests sent (duplicates) do not count as received */
    if ((int)rtts.size() > s.sent) rtts.resize(s.sent);
    s.received = (int)rtts.size();
    s.lossPercent = s.sent ? 100.0 * (s.sent - s.received) / s.sent : 0;
    if (rtts.empty()) return s;
    std::sort(rtts.begin(), rtts.end());
    s.rttMin = rtts.front();
    s.rttMax = rtts.back();
    const size_t n = rtts.size();
    s.rttMedian = n % 2 ? rtts[n / 2] : (rtts[n / 2 - 1] + rtts[n / 2]) / 2;
    return s;
}
