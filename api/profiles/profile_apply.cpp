/*
 * Making a profile active: its values go into the current NIC key, where the
 * driver reads them at start, and to the running adapter in one deferred
 * apply. The older firmware (variants C and D) has no connection control and
 * no channel-and-band record: those steps are left out there.
 */
#include "profiles/profile.h"

int ProfileValuesToNic(void)
{
    WL_FRAME("ProfileValuesToNic");
    const NorlanInfo &p = recNorlanInfo;
    int retval = WL_SUCCESS;
    auto keep = [&retval](int rc) {
        if (retval == WL_SUCCESS) retval = rc;
    };
    if (!VariantIsCD()) keep(WLNICAnyIntSet("ConnectionControl", p.ConnectionControl));
    keep(WLNICAnyStringSet("ConfigName", p.szConfigName));
    keep(WLNICAnyIntSet("ConnectionMode", p.ConnectionMode));
    keep(WLNICAnyStringSet("DesiredSSID", p.szSSID));
    keep(WLNICAnyStringSet("Encryption", p.szEncryption));
    keep(WLNICAnyIntSet("OwnChannel", p.OwnChannel));
    keep(WLNICAnyIntSet("Authentication", p.Authentication));
    WL_RETURN(retval);
}

int ProfileApply(void)
{
    WL_FRAME("ProfileApply");
    const NorlanInfo &p = recNorlanInfo;
    bool connected = WLConnected() == WL_SUCCESS;
    int retval = connected ? WL_SUCCESS : WLConnect();
    bool opened = !connected && retval == WL_SUCCESS;
    if (retval == WL_SUCCESS) retval = WLApplySet(1);
    bool delayed = retval == WL_SUCCESS;
    int mode = -1;
    if (retval == WL_SUCCESS && WLConnectionModeGet(&mode) != WL_SUCCESS) mode = -1;
    if (retval == WL_SUCCESS) retval = WLConnectionModeSet((int)p.ConnectionMode);
    if (retval == WL_SUCCESS && !VariantIsCD()) retval = WLConnectionControlSet((int)p.ConnectionControl);
    if (retval == WL_SUCCESS) retval = WLDesiredSSIDSet(p.szSSID, (DWORD)strlen(p.szSSID));
    if (retval == WL_SUCCESS && !VariantIsCD()) {
        ChannelFrequencyBandBuffer b;
        memset(&b, 0, sizeof b);
        b.TS.Type = ChannelFrequencyBandBufferType;
        b.TS.Size = sizeof b;
        retval = WLCurrentProfileChannelFrequencyBandGet(&b);
        if (retval == WL_SUCCESS) retval = WLChannelFrequencyBandSet(&b);
    }
    if (retval == WL_SUCCESS) retval = WLAuthenticationSet((int)p.Authentication);
    if (retval == WL_SUCCESS)
        retval = WLEncryptionSet((const unsigned char *)p.szEncryption, (DWORD)strlen(p.szEncryption));
    if (retval == WL_SUCCESS) retval = WLOwnNameSet(p.szOwnName, (DWORD)strlen(p.szOwnName));
    if (retval == WL_SUCCESS) {
        retval = WLApplySet(0);
        delayed = retval != WL_SUCCESS;
    }
    if (retval == WL_SUCCESS)
        retval = mode == CONNECTION_MODE_SOFTAP || p.ConnectionMode == CONNECTION_MODE_SOFTAP ? WLReset() : WLApply();
    if (delayed) {
        /* A step failed in deferred-apply mode: leave the mode off and put in
         * force what was written, so that the channel can be closed. */
        WLApplySet(0);
        WLApply();
    }
    if (opened) WLDisconnect();
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLActiveProfileByNameSet(const char *Name, DWORD Size)
{
    WL_FRAME("WLActiveProfileByNameSet");
    int retval = WLCurrentProfileByNameGet(Name, Size);
    WL_CHECK(retval != WL_SUCCESS, retval);
    retval = ProfileValuesToNic();
    if (retval != WL_SUCCESS) WL_FAIL("ProfileValuesToNic () != WL_SUCCESS", retval);
    WL_RETURN(ProfileApply());
}

int WLAPI WLDefaultProfileSet(void)
{
    WL_FRAME("WLDefaultProfileSet");
    int retval = WLInitializeProfiles();
    if (retval == WL_SUCCESS) retval = WLCurrentProfileNameSet("Default", 7);
    if (retval == WL_SUCCESS && !VariantIsCD()) {
        ChannelFrequencyBandBuffer b;
        memset(&b, 0, sizeof b);
        b.TS.Type = ChannelFrequencyBandBufferType;
        b.TS.Size = sizeof b;
        retval = WLCurrentProfileChannelFrequencyBandSet(&b);
    }
    if (retval == WL_SUCCESS) retval = WLCurrentProfileConnectionModeSet(CONNECTION_MODE_ESS);
    if (retval == WL_SUCCESS) retval = WLCurrentProfileConnectionControlSet(CONNECTION_CONTROL_2GHz);
    if (retval == WL_SUCCESS) retval = WLCurrentProfileDesiredSSIDSet("Ulmar Systems", 13);
    if (retval == WL_SUCCESS) retval = WLCurrentProfileAuthenticationSet(1);
    if (retval == WL_SUCCESS) retval = WLCurrentProfileEncryptionEnabledSet(0);
    if (retval == WL_SUCCESS) retval = _WEPCode();
    if (retval == WL_SUCCESS) retval = ProfileValuesToNic();
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_RETURN(ProfileApply());
}
