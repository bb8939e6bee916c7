/* The utility's commands: the steps after the command line was checked. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "cmdline.h"
#include "commands.h"
#include "glue.h"
#include "tables.h"

#define TYPE_DRIVER_IDENTITY 0x0826
#define TYPE_CODED_KEY 0x0900
#define TYPE_RADIO 0x0902
#define TYPE_WAKE_ON_LAN 0x0904
#define TYPE_MAC_ADDRESS 0xFC01
#define TYPE_NETWORK_NAME 0xFC02
#define NAME_MAX_CHARS 32

/* The build's variant: WL_VARIANT_LETTER (C, D, E, F) and WL_VARIANT_NUMBER. */
#define BUILD_TEXT_OF(x) #x
#define BUILD_TEXT(x) BUILD_TEXT_OF(x)

static const char kProfileRoot[] = "Software\\Wireless\\Driver";
static const char kCompanionKey[] = "Software\\Wireless\\Corvane";
static const char kNoName[] = "XXXXXX";
static const char kNoMac[] = "XXXXXXXXXXXX";

static int OsType;
static char NicKey[KEY_PATH_SIZE]; /* of the first adapter found */

static void Print(const char *text)
{
    fputs(text, stdout);
    fflush(stdout);
}

static void ProfileKey(int n, char *out, size_t size)
{
    snprintf(out, size, "%s\\Config%02d", kProfileRoot, n);
}

/* Steps 2 and 3 of the commands that work on the adapter. */
static int FindAdapter()
{
    return FindFirstAdapter(OsType, NicKey) ? EXIT_DONE : EXIT_NO_ADAPTER;
}

static int CheckRegistryVersion()
{
    uint32_t major, minor;
    if (!RegReadNumber(NicKey, "DriverMajor", &major) || !RegReadNumber(NicKey, "DriverMinor", &minor))
        return EXIT_BAD_VERSION;
    return (major == 8 && minor == 24) ? EXIT_DONE : EXIT_BAD_VERSION;
}

/* Whether the open driver reports version 8.24 in its identity record. */
static bool DriverVersionOk()
{
    uint16_t id[6] = {5, TYPE_DRIVER_IDENTITY, 0, 0, 0, 0};
    const int rc = DriverGet(id, 6);
    return (rc == 0 || rc == WLDRV_RES_LEN) && id[0] >= 5 && id[4] == 8 && id[5] == 24;
}

/* Opens the driver and checks its version: 0, 6 or 5 (closed again). */
static int OpenCheckedDriver()
{
    if (DriverOpen(OsType) != 0)
        return EXIT_NO_DRIVER;
    if (!DriverVersionOk()) {
        DriverClose();
        return EXIT_BAD_VERSION;
    }
    return EXIT_DONE;
}

/* Sends a coded key text as record 0x0900 and applies it. */
static int SendCodedText(const char *text)
{
    const int rc = OpenCheckedDriver();
    if (rc != EXIT_DONE)
        return rc;
    uint16_t rec[2 + KEY_TEXT_LENGTH / 2];
    rec[0] = 1 + KEY_TEXT_LENGTH / 2;
    rec[1] = TYPE_CODED_KEY;
    memcpy(rec + 2, text, KEY_TEXT_LENGTH);
    DriverPut(rec, 2 + KEY_TEXT_LENGTH / 2);
    DriverAction(WLDRV_ACTION_APPLY);
    DriverClose();
    return EXIT_DONE;
}

/* Stores a coded text for profile n (0 = the running configuration). */
static int StoreCodedText(int n, const char *text)
{
    uint32_t configType = 0;
    const bool haveType = RegReadNumber(NicKey, "ConfigType", &configType);
    if (n == 0)
        return RegWriteText(NicKey, "Encryption", text) ? EXIT_DONE : EXIT_STORE_FAILED;
    char key[KEY_PATH_SIZE], name[REG_TEXT_MAX + 1];
    ProfileKey(n, key, sizeof key);
    if (!RegReadText(key, "ConfigName", name) || !RegWriteText(key, "Encryption", text))
        return EXIT_STORE_FAILED;
    if (haveType && configType == (uint32_t)n && !RegWriteText(NicKey, "Encryption", text))
        return EXIT_STORE_FAILED;
    return EXIT_DONE;
}

static int CountCommand()
{
    const bool more = CountAdapters(OsType) > 1;
    GlobalAddAtomA(more ? "MORE INSTALLED" : "ONE INSTALLED");
    return more ? EXIT_MORE_INSTALLED : EXIT_ONE_INSTALLED;
}

static int CompanionCommand()
{
    char version[REG_TEXT_MAX + 1];
    uint32_t number;
    const bool present = RegReadText(kCompanionKey, "version", version) ||
                         RegReadNumber(kCompanionKey, "version", &number);
    GlobalAddAtomA(present ? "DPV INSTALLED 1" : "DPV INSTALLED 0");
    return present ? EXIT_DPV_PRESENT : EXIT_DPV_ABSENT;
}

static int VersionCommand()
{
    char line[96];
    snprintf(line, sizeof line, "WC%s%d%s.EXE Variant %d, Version %s\n", VENDOR_CODE, 48,
             BUILD_TEXT(WL_VARIANT_LETTER), WL_VARIANT_NUMBER, REGUTIL_VERSION_TEXT);
    Print(line);
    return EXIT_DONE;
}

static int MacCommand()
{
    const int rc = OpenCheckedDriver();
    if (rc != EXIT_DONE) {
        Print(kNoMac);
        return rc;
    }
    uint16_t mac[5] = {4, TYPE_MAC_ADDRESS, 0, 0, 0};
    const int got = DriverGet(mac, 5);
    DriverClose();
    if ((got != 0 && got != WLDRV_RES_LEN) || mac[0] < 4) {
        Print(kNoMac);
        return EXIT_NO_DRIVER;
    }
    char text[16];
    snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", mac[2] & 0xFF, mac[2] >> 8,
             mac[3] & 0xFF, mac[3] >> 8, mac[4] & 0xFF, mac[4] >> 8);
    Print(text);
    return EXIT_DONE;
}

/* The running configuration's network name from the driver (Windows XP). */
static bool DriverNetworkName(char out[NAME_MAX_CHARS + 1])
{
    if (DriverOpen(OsType) != 0)
        return false;
    uint16_t rec[2 + 17] = {18, TYPE_NETWORK_NAME};
    const int rc = DriverGet(rec, 2 + 17);
    DriverClose();
    if ((rc != 0 && rc != WLDRV_RES_LEN) || rec[0] < 2)
        return false;
    int count = rec[2];
    const int room = 2 * (rec[0] - 2); /* characters the record carries */
    if (count > NAME_MAX_CHARS)
        count = NAME_MAX_CHARS;
    if (count > room)
        count = room;
    memcpy(out, rec + 3, (size_t)count);
    out[count] = '\0';
    return true;
}

static int NameCommand(const ParsedCommand &cmd)
{
    if (FindAdapter() != EXIT_DONE) {
        Print(kNoName);
        return EXIT_NO_ADAPTER;
    }
    char name[REG_TEXT_MAX + 1];
    bool have = false;
    if (cmd.number == 0 && OsType == OS_TYPE_WIN2001)
        have = DriverNetworkName(name);
    if (!have) {
        char key[KEY_PATH_SIZE];
        if (cmd.number == 0)
            snprintf(key, sizeof key, "%s", NicKey);
        else
            ProfileKey(cmd.number, key, sizeof key);
        have = RegReadText(key, "DesiredSSID", name);
    }
    Print(have ? name : kNoName);
    return CheckRegistryVersion();
}

/* "R" and "O": the registry value and the driver record of a switch. */
static int SwitchCommand(const ParsedCommand &cmd, const char *value, uint16_t typ, int base)
{
    int rc = FindAdapter();
    if (rc == EXIT_DONE)
        rc = CheckRegistryVersion();
    if (rc != EXIT_DONE)
        return rc;
    if (cmd.number == 2) {
        uint32_t v = 0;
        if (!RegReadNumber(NicKey, value, &v))
            v = 0;
        return base + (int)v;
    }
    RegWriteNumber(NicKey, value, (uint32_t)cmd.number);
    if (OpenCheckedDriver() == EXIT_DONE) {
        uint16_t rec[3] = {2, typ, (uint16_t)cmd.number};
        DriverPut(rec, 3);
        DriverAction(WLDRV_ACTION_APPLY);
        DriverClose();
    }
    return EXIT_DONE;
}

static int StoreCommand(const ParsedCommand &cmd, bool send)
{
    int rc = FindAdapter();
    if (rc == EXIT_DONE)
        rc = CheckRegistryVersion();
    if (rc == EXIT_DONE)
        rc = StoreCodedText(cmd.number, cmd.operand);
    if (rc == EXIT_DONE && send)
        rc = SendCodedText(cmd.operand);
    return rc;
}

/* The profile of a "W"/"w" operand, from the profiles that exist now. */
static int ProfileOfOperand(const ParsedCommand &cmd, int *profile)
{
    static char names[PROFILE_MAX + 1][REG_TEXT_MAX + 1];
    const char *list[PROFILE_MAX + 1] = {NULL};
    for (int n = 1; n <= PROFILE_MAX; n++) {
        char key[KEY_PATH_SIZE];
        ProfileKey(n, key, sizeof key);
        if (RegReadText(key, "ConfigName", names[n]))
            list[n] = names[n];
    }
    return ResolveProfile(cmd.profile, list, profile);
}

static int KeyCommand(const ParsedCommand &cmd)
{
    int profile = 0;
    int rc = ProfileOfOperand(cmd, &profile);
    if (rc == EXIT_DONE)
        rc = FindAdapter();
    if (rc == EXIT_DONE)
        rc = CheckRegistryVersion();
    if (rc == EXIT_DONE)
        rc = cmd.keyExit;
    if (rc != EXIT_DONE)
        return rc;

    /* the driver gets the default record with this key as key 1 */
    KeyRecord rec = KeyRecordDefault();
    KeyRecordSetTag(&rec);
    KeyRecordSetWord(&rec, KEY_OFF_KEYID, 0);
    KeyRecordSetWord(&rec, KEY_OFF_SWITCH, 1);
    KeyRecordSetHeader(&rec);
    KeyRecordSetSlot(&rec, 0, cmd.key);
    char text[KEY_TEXT_LENGTH + 1];
    if (!KeyRecordCode(rec, text))
        return EXIT_STORE_FAILED;
    rc = SendCodedText(text);
    if (rc != EXIT_DONE)
        return rc;

    /* the stored record keeps its keys 2 to 4 */
    char key[KEY_PATH_SIZE], stored[REG_TEXT_MAX + 1];
    if (profile == 0)
        snprintf(key, sizeof key, "%s", NicKey);
    else
        ProfileKey(profile, key, sizeof key);
    if (!RegReadText(key, "Encryption", stored) || !KeyRecordDecode(stored, &rec))
        return EXIT_STORE_FAILED;
    KeyRecordSetSlot(&rec, 0, cmd.key);
    KeyRecordSetWord(&rec, KEY_OFF_KEYID, 0);
    KeyRecordSetWord(&rec, KEY_OFF_SWITCH, 1);
    if (!KeyRecordCode(rec, text))
        return EXIT_STORE_FAILED;
    return StoreCodedText(profile, text);
}

/* "K": profile 1 when an adapter is installed, else the profile root. The
 * keys are stored whichever key is the transmit key. */
static int KeysCommand(const ParsedCommand &cmd)
{
    char text[KEY_TEXT_LENGTH + 1];
    if (!KeyRecordCode(cmd.record, text))
        return EXIT_STORE_FAILED;
    if (FindAdapter() == EXIT_DONE)
        return StoreCodedText(1, text);
    return RegWriteText(kProfileRoot, "Encryption", text) ? EXIT_DONE : EXIT_STORE_FAILED;
}

static int DetectOsType()
{
    OSVERSIONINFOA vi;
    memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    const BOOL ok = GetVersionExA(&vi);
    return OsTypeFromVersion(ok != FALSE, vi.dwPlatformId, vi.dwMajorVersion, vi.dwMinorVersion);
}

int RunCommandLine(int argc, const char *const *argv)
{
    ParsedCommand cmd;
    ParseCommandLine(argc, argv, &cmd);
    if (cmd.exitCode != EXIT_DONE) {
        if (cmd.text)
            Print(cmd.text);
        return cmd.exitCode;
    }
    OsType = DetectOsType();
    switch (cmd.command) {
    case '#':
        return CountCommand();
    case '@':
        return CompanionCommand();
    case 'V':
        return VersionCommand();
    case 'M':
        return MacCommand();
    case 'H':
        return NameCommand(cmd);
    case 'R':
        return SwitchCommand(cmd, "DriverEnable", TYPE_RADIO, EXIT_RADIO_BASE);
    case 'O':
        return SwitchCommand(cmd, "PCI_WOLAS", TYPE_WAKE_ON_LAN, EXIT_WOL_BASE);
    case 'E':
        return StoreCommand(cmd, false);
    case 'e':
        return StoreCommand(cmd, true);
    case 'W':
    case 'w':
        return KeyCommand(cmd);
    default: /* 'K' */
        return KeysCommand(cmd);
    }
}
