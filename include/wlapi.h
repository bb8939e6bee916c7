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
#define WL_ACTION_BLOCK 11
#define WL_ACTION_UNBLOCK 12
#define WL_ACTION_RESET 128
#define WL_ACTION_APPLY 130

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

/* Single-value parameters */
int WLAPI WLPortStatusGet(int *Val);

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

#ifdef __cplusplus
}
#endif

#endif /* WLAPI_H */
