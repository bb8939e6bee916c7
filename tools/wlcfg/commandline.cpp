#include "commandline.h"

#include <stdio.h>
#include <string.h>

bool ParseInt(const std::string &s, long lo, long hi, long *out)
{
    if (s.empty() || s.size() > 11) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); i++) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    if (s[0] == '-') v = -v;
    if (v < lo || v > hi) return false;
    *out = (long)v;
    return true;
}

bool ParseMac(const std::string &s, unsigned char mac[6])
{
    if (s.size() != 17) return false;
    for (int i = 0; i < 6; i++) {
        unsigned v = 0;
        for (int j = 0; j < 2; j++) {
            char c = s[3 * i + j];
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                               : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0) return false;
            v = v * 16 + d;
        }
        if (i < 5 && s[3 * i + 2] != ':' && s[3 * i + 2] != '-') return false;
        mac[i] = (unsigned char)v;
    }
    return true;
}

std::string MacText(const unsigned char mac[6])
{
    char b[20];
    snprintf(b, sizeof b, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return b;
}

bool ParseCommandLine(const std::vector<std::string> &words, const Command *table, size_t n, CommandLine *out,
                      std::string *why)
{
    *out = CommandLine();
    size_t i = 0;
    for (; i < words.size() && words[i].size() > 1 && words[i][0] == '-'; i++) {
        if (words[i] == "--json") {
            out->json = true;
        } else if (words[i] == "-a") {
            if (++i == words.size() || words[i].empty() || words[i].size() > 8) {
                *why = "-a needs an adapter id (at most 8 characters)";
                return false;
            }
            out->nic = words[i];
        } else {
            *why = "unknown option " + words[i];
            return false;
        }
    }
    if (i == words.size()) {
        *why = "no command (wlcfg help lists them)";
        return false;
    }
    for (size_t k = 0; k < n; k++)
        if (words[i] == table[k].name) out->command = &table[k];
    if (!out->command) {
        *why = "unknown command " + words[i] + " (wlcfg help lists them)";
        return false;
    }
    for (size_t k = i + 1; k < words.size(); k++) {
        if (words[k] == "--json") out->json = true; /* also accepted after the command */
        else out->args.push_back(words[k]);
    }
    const int argc = (int)out->args.size();
    if (argc < out->command->minArgs || argc > out->command->maxArgs) {
        *why = std::string("usage: wlcfg ") + out->command->usage;
        return false;
    }
    return true;
}

std::string HelpText(const Command *table, size_t n, const std::string &name)
{
    std::string o;
    if (name.empty()) {
        o = "usage: wlcfg [--json] [-a NIC] COMMAND [ARGS]\n\n";
        for (size_t k = 0; k < n; k++) {
            char line[256];
            snprintf(line, sizeof line, "  %-44s %s\n", table[k].usage, table[k].help);
            o += line;
        }
        return o + "\nwlcfg help COMMAND shows one command.\n";
    }
    for (size_t k = 0; k < n; k++)
        if (name == table[k].name)
            return std::string("usage: wlcfg ") + table[k].usage + "\n" + table[k].help + "\n";
    return "";
}

static const Setting kSettings[] = {
    {"port-type", "WLPortTypeGet", "WLPortTypeSet", false, "port type"},
    {"connection-mode", "WLConnectionModeGet", "WLConnectionModeSet", false, "0 ESS, 1 IBSS, 2 SoftAP"},
    {"create-ibss", "WLCreateIBSSGet", "WLCreateIBSSSet", false, "start a peer-to-peer network"},
    {"atim-window", "WLATIMWindowGet", "WLATIMWindowSet", false, "ATIM window"},
    {"system-scale", "WLSystemScaleGet", "WLSystemScaleSet", false, "access point density"},
    {"max-data-length", "WLMaxDataLengthGet", "WLMaxDataLengthSet", false, "largest frame"},
    {"power-management", "WLPMEnabledGet", "WLPMEnabledSet", false, "power management switch"},
    {"power-mode", "WLPowerModeGet", "WLPowerModeSet", false, "power mode"},
    {"max-sleep-duration", "WLMaxSleepDurationGet", "WLMaxSleepDurationSet", false, "ms"},
    {"pm-holdover-duration", "WLPMHoldoverDurationGet", "WLPMHoldoverDurationSet", false, "ms"},
    {"multicast-receive", "WLMulticastReceiveGet", "WLMulticastReceiveSet", false, "switch"},
    {"multicast-rate", "WLMulticastRateGet", "WLMulticastRateSet", false, "rate"},
    {"encryption", "WLEncryptionEnabledGet", "WLEncryptionEnabledSet", false, "encryption switch"},
    {"authentication", "WLAuthenticationGet", "WLAuthenticationSet", false, "0 auto, 1 open, 2 shared key"},
    {"tx-key-id", "WLTXKeyIdGet", "WLTXKeyIdSet", false, "transmit key 0..3"},
    {"microwave-robustness", "WLMicrowaveRobustnessGet", "WLMicrowaveRobustnessSet", false, "switch"},
    {"load-balancing", "WLLoadBalancingGet", "WLLoadBalancingSet", false, "switch"},
    {"medium-distribution", "WLMediumDistributionGet", "WLMediumDistributionSet", false, "switch"},
    {"group-address-filter", "WLGroupAddressFilterGet", "WLGroupAddressFilterSet", false, "switch"},
    {"rts-threshold", "WLRTSThresholdGet", "WLRTSThresholdSet", false, "bytes"},
    {"tx-rate-control", "WLTXRateControlGet", "WLTXRateControlSet", false, "rate bit set"},
    {"promiscuous-mode", "WLPromiscuousModeGet", "WLPromiscuousModeSet", false, "switch"},
    {"tick-time", "WLTickTimeGet", "WLTickTimeSet", false, "ms"},
    {"radio", "WLRadioStatusGet", "WLRadioStatusSet", false, "radio switch"},
    {"tx-power-level", "WLTXPowerLevelGet", "WLTXPowerLevelSet", false, "transmit power level"},
    {"connection-control", "WLConnectionControlGet", "WLConnectionControlSet", false, "0..3 bands"},
    {"short-retry-limit", "WLShortRetryLimitGet", "WLShortRetryLimitSet", false, "retries"},
    {"long-retry-limit", "WLLongRetryLimitGet", "WLLongRetryLimitSet", false, "retries"},
    {"wifi-compatible", "WLWiFiCompatibleGet", "WLWiFiCompatibleSet", false, "switch"},
    {"tx-gain", "WLTXGainGet", "WLTXGainSet", false, "gain"},
    {"retry-counter", "WLRetryCounterGet", "WLRetryCounterSet", false, "retries"},
    {"safety-margin", "WLSafetyMarginGet", "WLSafetyMarginSet", false, "margin"},
    {"cts-to-self", "WLCTSToSelfGet", "WLCTSToSelfSet", false, "switch"},
    {"port-status", "WLPortStatusGet", nullptr, false, "port status"},
    {"current-channel", "WLCurrentChannelGet", nullptr, false, "channel in use"},
    {"current-tx-rate", "WLCurrentTXRateGet", nullptr, false, "rate in use"},
    {"beacon-interval", "WLCurrentBeaconIntervalGet", nullptr, false, "beacon interval in use"},
    {"link-status", "WLLinkStatusGet", nullptr, false, "link status"},
    {"domain-code", "WLDomainCodeGet", nullptr, false, "regulatory domain code"},
    {"channel-list", "WLChannelListGet", nullptr, false, "channel bit set"},
    {"desired-ssid", "WLDesiredSSIDGet", "WLDesiredSSIDSet", true, "network to join"},
    {"own-ssid", "WLOwnSSIDGet", "WLOwnSSIDSet", true, "network started"},
    {"scan-ssid", "WLScanSSIDGet", "WLScanSSIDSet", true, "network scanned for"},
    {"own-name", "WLOwnNameGet", "WLOwnNameSet", true, "station name"},
    {"current-ssid", "WLCurrentSSIDGet", nullptr, true, "network joined"},
};

const Setting *Settings(size_t *n)
{
    *n = sizeof kSettings / sizeof kSettings[0];
    return kSettings;
}

const Setting *FindSetting(const std::string &name)
{
    for (const Setting &s : kSettings)
        if (name == s.name) return &s;
    return nullptr;
}

const char *PortStatusWord(int status)
{
    switch (status) {
    case 1: return "disabled";
    case 2: return "searching";
    case 3: return "connected to peers";
    case 4: return "connected to an access point";
    case 5: return "access point";
    case 6: return "no link";
    case 7: return "radio off";
    default: return "unknown";
    }
}

const char *ModeWord(int mode)
{
    return mode == 0 ? "ESS" : mode == 1 ? "IBSS" : mode == 2 ? "SoftAP" : "unknown";
}

const char *AuthWord(int auth)
{
    return auth == 0 ? "auto" : auth == 1 ? "open" : auth == 2 ? "shared" : "unknown";
}

