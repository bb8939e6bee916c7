/*
 * profile.h - the current profile of the process and the operations the
 * profile files share.
 */
#ifndef API_PROFILES_PROFILE_H
#define API_PROFILES_PROFILE_H

#include "wlcore/profile_logic.h"
#include "wlcore/wepcode.h"
#include "wlinternal.h"

/* Text fields hold PROFILE_TEXT_SIZE bytes and a terminator after them. */
#define PROFILE_TEXT_SIZE 256
/* Longest profile name in bytes. */
#define PROFILE_NAME_MAX 32
/* Bytes of a text value that are read from the registry. */
#define PROFILE_VALUE_MAX 259

/* The usable size of a text field (without its terminator byte). */
#define SIZEOF(field) (sizeof (field) - 1)

struct NorlanInfo {
    char szConfigName[PROFILE_TEXT_SIZE + 1];
    char szSSID[PROFILE_TEXT_SIZE + 1];
    KeyRecord recEncryption;
    char szEncryption[PROFILE_TEXT_SIZE + 1];
    char szOwnName[PROFILE_TEXT_SIZE + 1];
    DWORD ConnectionControl;
    DWORD OwnChannel; /* low 16 bits: the channel-and-band word */
    DWORD ConnectionMode;
    DWORD Authentication;
    DWORD DriverVariant;
    DWORD DriverMajor;
    DWORD DriverMinor;
    DWORD OSType;
};
extern NorlanInfo recNorlanInfo;

/* Root of the stored profiles under HKEY_LOCAL_MACHINE. */
#define PROFILE_ROOT "Software\\Wireless\\Driver"
#define PREFERRED_KEY "PreferredProfiles"

/* Codes recEncryption into szEncryption (the default coded text when the
 * switch is 0); WL_DATA_NOT_WRITEABLE when the coding gives no text. */
int _WEPCode(void);
/* Decodes szEncryption into recEncryption; WL_DATA_NOT_AVAILABLE when it
 * gives no bytes (recEncryption is then left as it was). */
int _WEPDecode(void);

/* Reads the computer's name and the driver identity values of the current
 * NIC into the current profile. */
int ReadRegistryInfo(void);

/* Loads the stored profile Name into the current profile (nothing changes
 * when it fails). */
int ReadCentralProfileVault(const std::string &Name);

/* Writes the profile's values (six in variants C and D) into the current
 * NIC key; the first failed write's code. */
int ProfileValuesToNic(void);
/* Pushes the current profile to the running adapter. */
int ProfileApply(void);

/* Whether Name (exactly Size bytes) is a stored profile. */
int ProfileExists(const char *Name, DWORD Size);
/* Removes Name from every adapter's preferred list. */
void DeleteProfileUsed(const std::string &Name);

/* Deletes a key under HKEY_LOCAL_MACHINE with all its subkeys; an empty path
 * is refused. WL_DATA_NOT_AVAILABLE when the key does not exist. */
int RegKeyDelete(const char *Path);

/* Key path of a profile; false for a name that cannot name one (empty, or
 * holding a backslash). */
bool ProfileKeyPath(const std::string &Name, std::string *Path);

/* Integer and text values of any key: integers as numbers on the NT family
 * and as decimal text otherwise. */
LONG RegIntWrite(HKEY Key, const char *Name, DWORD Val);
LONG RegTextWrite(HKEY Key, const char *Name, const char *Val);

#endif /* API_PROFILES_PROFILE_H */
