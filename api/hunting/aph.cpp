/*
 * One step of automatic profile hunting for the current NIC: when the link
 * is not usable, the preferred profiles are made active one after another,
 * each given its settle time, until the link is usable or the list ends.
 */
#include "wlinternal.h"
#include "hunting/hunting.h"
#include "wlcore/hunting_thresholds.h"

#define PREFERRED_NAME_SIZE 33

/* Whether the link is worth staying on. Every reading is made within a
 * connection of its own when the caller has none; a reading that fails
 * (a connection that cannot be opened included) means stay. */
static int LinkVerdictGet(void)
{
    WL_FRAME("LinkVerdictGet");
    TempConnection t;
    int port = -1, link = -1;
    unsigned char bssid[6] = {0};
    bool ok = TempConnect(&t) == WL_SUCCESS;
    ok = ok && WLPortStatusGet(&port) == WL_SUCCESS;
    ok = ok && WLLinkStatusGet(&link) == WL_SUCCESS;
    if (ok && port == 3) ok = WLCurrentBSSIDGet(bssid) == WL_SUCCESS;
    LinkVerdict v = LinkVerdictOf(ok, port, link, bssid);
    /* optional thresholds of the per-NIC store: consulted only when set */
    HuntingThresholds th = {0, 0, 0, 0};
    DWORD value = 0;
    if (WLNICAnyIntGet(HUNTING_MIN_SIGNAL_VALUE, &value) == WL_SUCCESS) th.haveMinSignal = 1, th.minSignalDbm = (int)value;
    if (WLNICAnyIntGet(HUNTING_MIN_SNR_VALUE, &value) == WL_SUCCESS) th.haveMinSnr = 1, th.minSnrDb = (int)value;
    if (v == LINK_STAY && (th.haveMinSignal || th.haveMinSnr)) {
        CommunicationsQualityBuffer q;
        memset(&q, 0, sizeof q);
        q.TS.Type = CommunicationsQualityBufferType;
        q.TS.Size = sizeof q;
        bool qok = ok && WLCommunicationsQualityGet(&q) == WL_SUCCESS;
        v = ThresholdVerdictOf(v, &th, qok, q.Signal, q.Noise);
        WLLog("signal %d noise %d thresholds %d/%d verdict %s\n", (int)q.Signal, (int)q.Noise, th.minSignalDbm,
              th.minSnrDb, v == LINK_HUNT ? "hunt" : "stay");
    }
    TempDisconnect(&t);
    WLLog("port %d link %d verdict %s\n", port, link, v == LINK_HUNT ? "hunt" : "stay");
    WL_RETURN(v);
}

static int Hunt(void)
{
    WL_FRAME("Hunt");
    char name[PREFERRED_NAME_SIZE];
    DWORD size = sizeof name;
    int listed = WLFirstPreferredProfileByNameGet(name, &size);
    for (;;) {
        int verdict = LinkVerdictGet();
        if (listed != WL_SUCCESS) WL_RETURN(listed);
        if (verdict == LINK_STAY) WL_RETURN(WL_SUCCESS);
        int mode;
        if (WLActiveProfileByNameSet(name, size) == WL_SUCCESS && WLConnectionModeGet(&mode) == WL_SUCCESS) {
            unsigned settle = SettleTimeMs(mode);
            WLLog("profile %s active, mode %d, settle %u ms\n", name, mode, settle);
            if (settle) Sleep(settle);
        }
        size = sizeof name;
        listed = WLNextPreferredProfileByNameGet(name, &size);
    }
}

int WLAPI WLAPHPP(void)
{
    WL_FRAME("WLAPHPP");
    bool connected = WLConnected() == WL_SUCCESS;
    if (!connected && WLConnect() != WL_SUCCESS) {
        WLDisconnect();
        WL_FAIL("WLConnect () != WL_SUCCESS", WL_FUNCTION_NOT_AVAILABLE);
    }
    int retval = APHPPAllowed();
    if (retval == WL_SUCCESS) retval = Hunt();
    if (!connected) WLDisconnect();
    WL_RETURN(retval);
}

int WLAPI WLAPHRestart(void)
{
    WL_FRAME("WLAPHRestart");
    WLDefaultProfileSet();
    ServiceProgramRun("/Service");
    WL_RETURN(WL_SUCCESS);
}
