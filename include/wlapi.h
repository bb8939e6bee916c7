/*
 * wlapi.h - public interface of the wireless LAN configuration API library
 * (WAVXQ48C/D/E/F.DLL).
 *
 * Every export returns a WL_* code (32-bit signed) and hands results back
 * through caller-supplied pointers. All exports use the standard Windows
 * calling convention except the variadic WLLog. Buffer arguments follow one
 * pattern: Val points at the caller's buffer, Size at a 32-bit count holding
 * the buffer's size in bytes on entry and the length written (without
 * terminator) on return; setters of byte strings take the size by value.
 * Usable from C and C++.
 */
#ifndef WLAPI_H
#define WLAPI_H

#include <windows.h>
#include "wlbuffers.h"
#include "wldriver.h"

#ifdef __cplusplus
extern "C" {
#endif

#define WLAPI __stdcall

/* Return codes */
#define WL_SUCCESS 0
#define WL_GENERAL_ERROR 9000
#define WL_INVALID_PARAMETER 9001
#define WL_FUNCTION_NOT_SUPPORTED 9002
#define WL_FUNCTION_NOT_AVAILABLE 9003
#define WL_INPUT_BUFFER_INSUFFICIENT 9004
#define WL_DATA_NOT_AVAILABLE 9005
#define WL_DATA_NOT_WRITEABLE 9006
#define WL_NO_MEMORY 9007
#define WL_NOT_CONNECTED 9008
#define WL_INCOMPATIBLE 9009
#define WL_COMPATIBLE 9010
#define WL_COMPATIBILITY_UNCHECKED 9011
#define WL_IN_USE 9012
/* 9013: the driver reported itself busy; it has no name. */
#define WL_DRIVER_BUSY 9013

/* Operating system types (bit values); the NT family is OS_NT_FAMILY. */
#define OS_UNKNOWN 0
#define OS_WIN95 1
#define OS_WIN98 2
#define OS_WINNT 4
#define OS_WIN2000 8
#define OS_WIN2001 32
#define OS_NT_FAMILY 0x3C

/* Number of entries of the component-name table. */
#define NCompNames 96

/* Action codes of the driver channel. */
#define WL_ACTION_BLOCK WLDRV_ACTION_BLOCK
#define WL_ACTION_UNBLOCK WLDRV_ACTION_UNBLOCK
#define WL_ACTION_RESET WLDRV_ACTION_RESET
#define WL_ACTION_APPLY WLDRV_ACTION_APPLY

/* Return codes, call trace and log files */
int WLAPI WLReturnStringGet(char *Val, DWORD *Size);
int WLAPI WLGeneralErrorStringGet(char *Val, DWORD *Size);
int __cdecl WLLog(const char *Format, ...);
int WLAPI WLOSTypeGet(DWORD *Val);
int WLAPI WLOSTypeNameGet(char *Val, DWORD *Size);
int WLAPI WLComponentNameGet(int Comp, char *Val, DWORD *Size);
int WLAPI WLDAINameGet(char *Val, DWORD *Size);
int WLAPI WLLogNew(void);
int WLAPI WLLogDump(void);
int WLAPI WLLogErrorNew(void);
int WLAPI WLLogErrorDump(void);

/* Connection and generic record access */
int WLAPI WLConnected(void);
int WLAPI WLConnect(void);
int WLAPI WLDisconnect(void);
int WLAPI WLApply(void);
int WLAPI WLApplySet(int Val);
int WLAPI WLReset(void);
int WLAPI WLBlock(void);
int WLAPI WLUnblock(void);
int WLAPI WLGenericGet(WL_LTV *Val);
int WLAPI WLGenericSet(WL_LTV *Val);
int WLAPI WLGenericAction(DWORD Code);
int WLAPI WLGenericSendDiagMsg(const void *Val, DWORD Len);

/* Adapters and the per-adapter store */
int WLAPI WLFirstNICGet(NICInfoBuffer *Val);
int WLAPI WLNextNICGet(NICInfoBuffer *Val);
int WLAPI WLCurrentNICGet(char *Val, DWORD *Size);
int WLAPI WLCurrentNICSet(const char *Val, DWORD Size);

/* Single-value parameters: getters store the record's 16-bit value
 * zero-extended, setters take the value by value. */
#define SYSTEM_SCALE_LARGE 1
#define SYSTEM_SCALE_MICRO 5
#define CONNECTION_MODE_ESS 0
#define CONNECTION_MODE_SOFTAP 2
#define CONNECTION_CONTROL_2GHz 0
#define CONNECTION_CONTROL_5GHz_2GHz 3
#define AUTHENTICATION_ALGORITHM_AUTO 0
#define AUTHENTICATION_ALGORITHM_SHARED_KEY 2
#define POWER_MANAGEMENT_MODE_DISABLED 0
#define POWER_MANAGEMENT_MODE_STANDARD_CDS 6

int WLAPI WLPortTypeGet(int *Val);
int WLAPI WLPortTypeSet(int Val);
int WLAPI WLATIMWindowGet(int *Val);
int WLAPI WLATIMWindowSet(int Val);
int WLAPI WLSystemScaleGet(int *Val);
int WLAPI WLSystemScaleSet(int Val);
int WLAPI WLMaxDataLengthGet(int *Val);
int WLAPI WLMaxDataLengthSet(int Val);
int WLAPI WLPMEnabledGet(int *Val);
int WLAPI WLPMEnabledSet(int Val);
int WLAPI WLConnectionModeGet(int *Val);
int WLAPI WLConnectionModeSet(int Val);
int WLAPI WLMulticastReceiveGet(int *Val);
int WLAPI WLMulticastReceiveSet(int Val);
int WLAPI WLMaxSleepDurationGet(int *Val);
int WLAPI WLMaxSleepDurationSet(int Val);
int WLAPI WLPMHoldoverDurationGet(int *Val);
int WLAPI WLPMHoldoverDurationSet(int Val);
int WLAPI WLEncryptionEnabledGet(int *Val);
int WLAPI WLEncryptionEnabledSet(int Val);
int WLAPI WLAuthenticationGet(int *Val);
int WLAPI WLAuthenticationSet(int Val);
int WLAPI WLMulticastRateGet(int *Val);
int WLAPI WLMulticastRateSet(int Val);
int WLAPI WLMicrowaveRobustnessGet(int *Val);
int WLAPI WLMicrowaveRobustnessSet(int Val);
int WLAPI WLLoadBalancingGet(int *Val);
int WLAPI WLLoadBalancingSet(int Val);
int WLAPI WLMediumDistributionGet(int *Val);
int WLAPI WLMediumDistributionSet(int Val);
int WLAPI WLGroupAddressFilterGet(int *Val);
int WLAPI WLGroupAddressFilterSet(int Val);
int WLAPI WLCreateIBSSGet(int *Val);
int WLAPI WLCreateIBSSSet(int Val);
int WLAPI WLRTSThresholdGet(int *Val);
int WLAPI WLRTSThresholdSet(int Val);
int WLAPI WLTXRateControlGet(int *Val);
int WLAPI WLTXRateControlSet(int Val);
int WLAPI WLPromiscuousModeGet(int *Val);
int WLAPI WLPromiscuousModeSet(int Val);
int WLAPI WLTXKeyIdGet(int *Val);
int WLAPI WLTXKeyIdSet(int Val);
int WLAPI WLTickTimeGet(int *Val);
int WLAPI WLTickTimeSet(int Val);
int WLAPI WLRadioStatusGet(int *Val);
int WLAPI WLRadioStatusSet(int Val);
int WLAPI WLSWRadioStatusGet(int *Val);
int WLAPI WLHWRadioStatusGet(int *Val);
int WLAPI WLPowerModeGet(int *Val);
int WLAPI WLPowerModeSet(int Val);
int WLAPI WLMaxLoadTimeGet(int *Val);
int WLAPI WLChannelListGet(int *Val);
int WLAPI WLTempTypeGet(int *Val);
int WLAPI WLNICBusTypeGet(int *Val);
int WLAPI WLPortStatusGet(int *Val);
int WLAPI WLCurrentTXRateGet(int *Val);
int WLAPI WLCurrentTXRateFGet(float *Val);
int WLAPI WLCurrentBeaconIntervalGet(int *Val);
int WLAPI WLProtocolRspTimeGet(int *Val);
int WLAPI WLCurrentShortRetryLimitGet(int *Val);
int WLAPI WLCurrentLongRetryLimitGet(int *Val);
int WLAPI WLMaxTransmitLifetimeGet(int *Val);
int WLAPI WLMaxReceiveLifetimeGet(int *Val);
int WLAPI WLCFPollableGet(int *Val);
int WLAPI WLPrivacyOptionImplementedGet(int *Val);
int WLAPI WLCurrentSystemScaleGet(int *Val);
int WLAPI WLPHYTypeGet(int *Val);
int WLAPI WLCurrentChannelGet(int *Val);
int WLAPI WLCurrentPowerStateGet(int *Val);
int WLAPI WLCCAModeGet(int *Val);
int WLAPI WLLinkStatusGet(int *Val);
int WLAPI WLDomainCodeGet(int *Val);
int WLAPI WLCurrentChannelInfoGet(CurrentChannelInfoBuffer *Val);

/* Configuration dialog of the current adapter, shown by the co-installer;
 * returns when the dialog has been closed. */
int WLAPI WLCfgDialogGet(void);

/* Country and channel tables. A country code CC is two characters; codes
 * handed back are exactly two characters, not terminated. */
int WLAPI WLChannelInfoGet(ChannelInfoBuffer *Val);
int WLAPI WLChannelInfoSet(const ChannelInfoBuffer *Val);
int WLAPI WLCountryChannelInfoGet(const char *CC, DWORD Size, ChannelInfoBuffer *Val);
int WLAPI WLCountryFirstCountryCodeGet(char *CC);
int WLAPI WLCountryNextCountryCodeGet(char *CC);
/* *Size: capacity on entry; characters written including the terminator on
 * return (0 for a country without a name), or the capacity needed together
 * with WL_INPUT_BUFFER_INSUFFICIENT. */
int WLAPI WLCountryLocalizedNameGet(const char *CC, char *Val, DWORD *Size);
int WLAPI WLCountryEnglishNameGet(const char *CC, char *Val, DWORD *Size);
/* E receives the one environment character. */
int WLAPI WLCountryCurrentCountryCodeGet(char *CC, char *E);
/* CC "" stores a country record without channel sets; Size is not used. */
int WLAPI WLCountryCurrentCountryCodeSet(const char *CC, DWORD Size);
int WLAPI WLCountryRegulatoryDomainGet(RegulatoryDomainBuffer *Val);
int WLAPI WLCountryCountryCodeGet(CountryCodeBuffer *Val);
int WLAPI WLCountryAnyRegulatoryDomainGet(int DC, CountryCodeBuffer *CC, RegulatoryDomainBuffer *RD);

/* Radio, rate and band (dual-band firmware). In variants C and D only
 * WLCurrentChannelFrequencyBandGet, WLCurrentRemoteRatesGet,
 * WLCurrentUsedRatesGet and WLSupportedDataRatesGet work; the others answer
 * WL_FUNCTION_NOT_SUPPORTED. Two-band rate exports take either buffer or
 * both; a band the adapter's domain code does not allow is left alone. */
int WLAPI WLTXGainGet(int *Val);
int WLAPI WLTXGainSet(int Val);
int WLAPI WLRetryCounterGet(int *Val);
int WLAPI WLRetryCounterSet(int Val);
int WLAPI WLSafetyMarginGet(int *Val);
int WLAPI WLSafetyMarginSet(int Val);
int WLAPI WLMaxEqualRateRetryGet(int *Val);
int WLAPI WLMaxEqualRateRetrySet(int Val);
int WLAPI WLMaxRetryBalanceGet(int *Val);
int WLAPI WLMaxRetryBalanceSet(int Val);
int WLAPI WLCTSToSelfGet(int *Val);
int WLAPI WLCTSToSelfSet(int Val);
int WLAPI WLTXPowerLevelGet(int *Val);
int WLAPI WLTXPowerLevelSet(int Val);
int WLAPI WLConnectionControlGet(int *Val);
int WLAPI WLConnectionControlSet(int Val);
int WLAPI WLShortRetryLimitGet(int *Val);
int WLAPI WLShortRetryLimitSet(int Val);
int WLAPI WLLongRetryLimitGet(int *Val);
int WLAPI WLLongRetryLimitSet(int Val);
int WLAPI WLWiFiCompatibleGet(int *Val);
int WLAPI WLWiFiCompatibleSet(int Val);
int WLAPI WLQoSParameterSetGet(QoSParameterSetBuffer *Val);
int WLAPI WLQoSParameterSetSet(const QoSParameterSetBuffer *Val);
int WLAPI WLDCQGet(DCQBuffer *Val);
int WLAPI WLDCQSet(const DCQBuffer *Val);
int WLAPI WLDSQGet(DSQBuffer *Val);
int WLAPI WLDSQSet(const DSQBuffer *Val);
int WLAPI WLCurrentTXPowerLevelGet(CurrentTXPowerLevelBuffer *Val);
int WLAPI WLCoexistenceBehaviourGet(CoexistenceBehaviourBuffer *Val);
int WLAPI WLCoexistenceBehaviourSet(const CoexistenceBehaviourBuffer *Val);
int WLAPI WLSecurityCapabilityGet(SecurityCapabilityBuffer *Val);
int WLAPI WLChannelFrequencyBandGet(ChannelFrequencyBandBuffer *Val);
/* Channel 0 selects the first channel of the band in the adapter's domain. */
int WLAPI WLChannelFrequencyBandSet(const ChannelFrequencyBandBuffer *Val);
int WLAPI WLCurrentChannelFrequencyBandGet(ChannelFrequencyBandBuffer *Val);
int WLAPI WLABGScanChannelGet(Channel2GHzBuffer *Channel2GHz, Channel5GHzBuffer *Channel5GHz);
int WLAPI WLABGScanChannelSet(const Channel2GHzBuffer *Channel2GHz, const Channel5GHzBuffer *Channel5GHz);
int WLAPI WLProbeDataRateGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLProbeDataRateSet(const DataRate2GHzBuffer *Rate2GHz, const DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLTXRateControlFrequencyBandGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLTXRateControlFrequencyBandSet(const DataRate2GHzBuffer *Rate2GHz,
                                          const DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLABGMulticastRateGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLABGMulticastRateSet(const DataRate2GHzBuffer *Rate2GHz, const DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLSupportedRatesGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLSupportedRatesSet(const DataRate2GHzBuffer *Rate2GHz, const DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLBasicRatesGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLBasicRatesSet(const DataRate2GHzBuffer *Rate2GHz, const DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLSupportedDataRatesGet(DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLCurrentRemoteRatesGet(DataRate2GHzBuffer *Rate2GHz);
int WLAPI WLCurrentUsedRatesGet(DataRate2GHzBuffer *Rate2GHz);
/* The security words of the buffer are only added to: clear them first. */
int WLAPI WLCurrentAssociationRequestInfoGet(CurrentAssociationRequestInfoBuffer *Val);
int WLAPI WLSecurityAuthenticationStatusGet(SecurityAuthenticationStatusBuffer *Val);

/* Byte strings and MAC addresses. Getters: Val and the in/out Size; text
 * shorter than the buffer is terminated, text that fills it is not.
 * Setters take the byte count by value. MAC addresses are 6 bytes. */
int WLAPI WLOwnSSIDGet(char *Val, DWORD *Size);
int WLAPI WLOwnSSIDSet(const char *Val, DWORD Size);
int WLAPI WLDesiredSSIDGet(char *Val, DWORD *Size);
int WLAPI WLDesiredSSIDSet(const char *Val, DWORD Size);
int WLAPI WLScanSSIDGet(char *Val, DWORD *Size);
int WLAPI WLScanSSIDSet(const char *Val, DWORD Size);
int WLAPI WLOwnNameGet(char *Val, DWORD *Size);
int WLAPI WLOwnNameSet(const char *Val, DWORD Size);
int WLAPI WLCurrentSSIDGet(char *Val, DWORD *Size);
int WLAPI WLNICSerialNumberGet(char *Val, DWORD *Size);
int WLAPI WLGroupAddressesGet(unsigned char *Val, DWORD *Size);
int WLAPI WLGroupAddressesSet(const unsigned char *Val, DWORD Size);
int WLAPI WLCISGet(unsigned char *Val, DWORD *Size);
int WLAPI WLEncryptionSet(const unsigned char *Val, DWORD Size);
int WLAPI WLDriverChannelInfoSet(const unsigned char *Val, DWORD Size);
int WLAPI WLOwnMACAddressGet(unsigned char *Val);
int WLAPI WLOwnMACAddressSet(const unsigned char *Val);
int WLAPI WLWDSAddressGet(unsigned char *Val);
int WLAPI WLWDSAddressSet(const unsigned char *Val);
int WLAPI WLCurrentBSSIDGet(unsigned char *Val);
int WLAPI WLNICMacAddressGet(unsigned char *Val);
int WLAPI WLRegulatoryDomainsGet(void *Val, DWORD *Size);

/* Identities and compatibility ranges */
int WLAPI WLDownloadGet(DownloadBuffer *Val);
int WLAPI WLPRIIdentityGet(IdentityBuffer *Val);
int WLAPI WLNICIdentityGet(IdentityBuffer *Val);
int WLAPI WLSTAIdentityGet(IdentityBuffer *Val);
int WLAPI WLDRVIdentityGet(IdentityBuffer *Val);
int WLAPI WLUBIIdentityGet(IdentityBuffer *Val);
int WLAPI WLUDIIdentityGet(IdentityBuffer *Val);
int WLAPI WLDAIIdentityGet(IdentityBuffer *Val);
int WLAPI WLPRISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLHSISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLMFISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLCFISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLSTASupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVSupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLUBISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLUDISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDAISupRangeGet(CompatibilityRangeBuffer *Val);
int WLAPI WLMFIActRangesGet(CompatibilityRangeBuffer *Val);
int WLAPI WLCFIActRangesPRIGet(CompatibilityRangeBuffer *Val);
int WLAPI WLCFIActRangesSTAGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVActRangesPRIGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVActRangesSTAGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVActRangesHSIGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVActRangesUBIGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVActRangesUDIGet(CompatibilityRangeBuffer *Val);
int WLAPI WLUBIActRangesUDIGet(CompatibilityRangeBuffer *Val);
int WLAPI WLDRVActRangesAPFGet(CompatibilityRangeBuffer *Val);

/* Statistics, quality, keys, production data and diagnostic registers */
int WLAPI WLCommunicationsQualityGet(CommunicationsQualityBuffer *Val);
int WLAPI WLScaleThresholdGet(ScaleThresholdBuffer *Val);
int WLAPI WLAuthenticationAlgorithmGet(AuthenticationAlgorithmBuffer *Val);
int WLAPI WLDriverInfoGet(DriverInfoBuffer *Val);
int WLAPI WLDefaultKeysSet(const KeyInfoBuffer *Val);
int WLAPI WLTalliesGet(TalliesBuffer *Val);
int WLAPI WLMSFTalliesGet(MSFTalliesBuffer *Val);
int WLAPI WLCardProfileGet(CardProfileBuffer *Val);
int WLAPI WLReadSPGet(unsigned char *Val, DWORD *Size);
int WLAPI WLFileNameGet(unsigned char *Val, DWORD *Size);
int WLAPI WLPDAPartNumberGet(char *Val, DWORD *Size);
int WLAPI WLPDATracerNumberGet(char *Val, DWORD *Size);
int WLAPI WLPDASerialNumberGet(char *Val, DWORD *Size);
/* Val holds Size words after its length word. */
int WLAPI WLPDAGet(WL_LTV *Val, DWORD Size);
int WLAPI WLAckTOGet(int *Val);
int WLAPI WLAckTOSet(int Val);
int WLAPI WLBcnIntGet(int *Val);
int WLAPI WLBcnIntSet(int Val);
int WLAPI WLClkCtlGet(int *Val);
int WLAPI WLMemCtlGet(int *Val);
int WLAPI WLOwnMACAdrGet(unsigned char *Val);
int WLAPI WLOwnMACAdrSet(const unsigned char *Val);

/* ---- Mailbox and scanning ---- */

/* Synchronous scans: *Num receives the number of access points found. */
int WLAPI WLScanAPGet(int *Num);
int WLAPI WLScanNetworkGet(int *Num);
int WLAPI WLScanAnyGet(int *Num, const char *SSID, DWORD Size, DWORD Channel);
/* Entry Num (1-based) of the last scan. */
int WLAPI WLScanAPResultGet(ScanResultBuffer *Val, int Num);
int WLAPI WLScanNetworkResultGet(ScanResultBuffer *Val, int Num);
int WLAPI WLScanAnyResultGet(ScanResultBuffer *Val, int Num);
/* Mailbox clients of the current adapter; Val of WLMBSet is a client
 * buffer (MBBufferHeader and entries), of WLMBReset its buffer type. */
int WLAPI WLMBLogon(int *Index);
int WLAPI WLMBLogoff(int Index);
int WLAPI WLMBSet(void *Val, int Index);
int WLAPI WLMBReset(const DWORD *Val, int Index);
int WLAPI WLMBGet(void);
int WLAPI WLMBActionScan(const char *SSID, DWORD Size, DWORD Unused);
int WLAPI WLMBActionACSScan(const char *SSID, DWORD Size, DWORD Unused);
int WLAPI WLMBActionACSABGScan(const char *SSID, DWORD Size, const Channel2GHzBuffer *Channel2GHz,
                               const Channel5GHzBuffer *Channel5GHz, const DataRate2GHzBuffer *Rate2GHz,
                               const DataRate5GHzBuffer *Rate5GHz);
int WLAPI WLMBActionLinkTest(const unsigned char *Dest, DWORD ID);
int WLAPI WLMBActionAPList(void);

/* Profiles. The current profile is the one in-memory profile of the
 * process; stored profiles live under HKLM "Software\\Wireless\\Driver",
 * named by at most 32 bytes; each adapter keeps an ordered preferred list.
 * Keys are handed out masked: every key character reads as "*". */
int WLAPI WLInitializeProfiles(void);
int WLAPI WLProfileIns(void);
int WLAPI WLDefaultProfileSet(void);
int WLAPI WLCurrentProfileNameGet(char *Val, DWORD *Size);
int WLAPI WLCurrentProfileNameSet(const char *Val, DWORD Size);
int WLAPI WLCurrentProfileDesiredSSIDGet(char *Val, DWORD *Size);
int WLAPI WLCurrentProfileDesiredSSIDSet(const char *Val, DWORD Size);
int WLAPI WLCurrentProfileEncryptionGet(KeyBuffer *Val);
int WLAPI WLCurrentProfileEncryptionSet(const KeyBuffer *Val);
int WLAPI WLCurrentProfileEncryptionEnabledGet(int *Val);
int WLAPI WLCurrentProfileEncryptionEnabledSet(int Val);
int WLAPI WLCurrentProfileEncryptionActiveKeyGet(int *Val);
int WLAPI WLCurrentProfileEncryptionActiveKeySet(int Val);
/* *KeyLen: at least 26 on entry, the key's length on return. */
int WLAPI WLCurrentProfileEncryptionKeyGet(int KeyNum, int *AscHex, char *KeyVal, DWORD *KeyLen);
int WLAPI WLCurrentProfileEncryptionKeySet(int KeyNum, int AscHex, const char *KeyVal, DWORD KeyLen);
int WLAPI WLCurrentProfileConnectionModeGet(int *Val);
int WLAPI WLCurrentProfileConnectionModeSet(int Val);
int WLAPI WLCurrentProfileAuthenticationGet(int *Val);
int WLAPI WLCurrentProfileAuthenticationSet(int Val);
int WLAPI WLCurrentProfileConnectionControlGet(int *Val);
int WLAPI WLCurrentProfileConnectionControlSet(int Val);
/* Variants C and D: WL_FUNCTION_NOT_SUPPORTED. */
int WLAPI WLCurrentProfileChannelFrequencyBandGet(ChannelFrequencyBandBuffer *Val);
int WLAPI WLCurrentProfileChannelFrequencyBandSet(const ChannelFrequencyBandBuffer *Val);
int WLAPI WLCurrentProfileInfoGet(CurrentProfileInfoBuffer *Val);
int WLAPI WLREGIdentityGet(IdentityBuffer *Val);
int WLAPI WLFirstProfileByNameGet(char *Name, DWORD *Size);
int WLAPI WLNextProfileByNameGet(char *Name, DWORD *Size);
int WLAPI WLCurrentProfileByNameGet(const char *Name, DWORD Size);
int WLAPI WLCurrentProfileByNameSet(const char *Name, DWORD Size);
int WLAPI WLProfileByNameDel(const char *Name, DWORD Size);
int WLAPI WLActiveProfileByNameSet(const char *Name, DWORD Size);
int WLAPI WLFirstPreferredProfileByNameGet(char *Name, DWORD *Size);
int WLAPI WLNextPreferredProfileByNameGet(char *Name, DWORD *Size);
int WLAPI WLFirstPreferredProfileByNameSet(const char *Name, DWORD Size);
int WLAPI WLNextPreferredProfileByNameSet(const char *Name, DWORD Size);
int WLAPI WLAllPreferredProfileDel(void);

/* Adapter description and PCI identity */
int WLAPI WLCurrentNICInfoGet(CurrentNICInfoBuffer *Val);
int WLAPI WLPCIIdentityGet(IdentityBuffer *Val);
int WLAPI WLPCIStatusGet(int *Val);

/* Profile hunting and third-party configuration: switches 0 or 1. */
int WLAPI WLProfileHuntingSet(int Val);
int WLAPI WLSystrayIconSet(int Val);
int WLAPI WLThirdPartyConfigurationSet(int Val);
/* 2 while the Windows zero configuration service runs, else 3 (Windows XP). */
int WLAPI WLZeroConfigStatusGet(int *Val);
/* One hunting step for the current NIC (blocks for the settle times). */
int WLAPI WLAPHPP(void);
/* Applies the default profile and starts the service program. */
int WLAPI WLAPHRestart(void);

#ifdef __cplusplus
}
#endif

#endif /* WLAPI_H */
