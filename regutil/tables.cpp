/* Name tables and pure steps of adapter detection and driver access. */
#include "tables.h"

#include <stdio.h>
#include <string.h>

int OsTypeFromVersion(int querySucceeded, unsigned platform, unsigned major, unsigned minor)
{
    if (!querySucceeded)
        return OS_TYPE_UNKNOWN;
    if (platform == 1) /* VER_PLATFORM_WIN32_WINDOWS */
        return (major < 4 || (major == 4 && minor < 10)) ? OS_TYPE_WIN95 : OS_TYPE_WIN98;
    if (platform == 2) { /* VER_PLATFORM_WIN32_NT */
        if (major <= 4)
            return OS_TYPE_WINNT;
        return minor == 0 ? OS_TYPE_WIN2000 : OS_TYPE_WIN2001;
    }
    return OS_TYPE_UNKNOWN;
}

/* Plug and Play hardware identifiers of the family's adapters, walked in
 * this order on every OS type but NT 4: ten PC Card and CompactFlash
 * identifiers as the PCMCIA enumerator forms them (manufacturer text, "-",
 * product text, "-", four hex digits of the card's identification
 * checksum), then four PCI identifiers (vendor, device). */
static const char *const kHardwareIds[] = {
    "WLAN_SYSTEMS-PC_CARD_11MBPS-3C1D",
    "WLAN_SYSTEMS-PC_CARD_11MBPS_SILVER-5A2E",
    "WLAN_SYSTEMS-PC_CARD_11MBPS_GOLD-8B41",
    "WLAN_SYSTEMS-CF_CARD_11MBPS-2D77",
    "WLAN_SYSTEMS-PC_CARD_DUAL_BAND-4F90",
    "WLAN_SYSTEMS-PC_CARD_DUAL_BAND_GOLD-91A3",
    "WLAN_SYSTEMS-CF_CARD_DUAL_BAND-6E05",
    "WLAN_OEM-WIRELESS_LAN_PC_CARD-7C12",
    "WLAN_OEM-WIRELESS_LAN_CF_CARD-0B6A",
    "WLAN_OEM-WIRELESS_LAN_DUAL_BAND-E4D8",
    "VEN_1260&DEV_3873",
    "VEN_1260&DEV_3872",
    "VEN_1260&DEV_3886",
    "VEN_1260&DEV_3890",
};

static const char *const kServiceNames[] = {"WL%s52", "WL%s52B", "WL%s52C", "WL%s52D"};

static const char *const kVxdNames[] = {"WU%s41.VXD", "WU%s41C.VXD", "WU%s48.VXD",
                                        "WU%s48C.VXD", "WU%s51.VXD", "WU%s51C.VXD"};

/* Driver families and the range of each that the utility works with:
 * variant, bottom, top. */
static const struct {
    uint16_t variant, bottom, top;
} kCompatible[] = {{41, 8, 8}, {46, 8, 8}, {48, 8, 8}, {51, 8, 8}, {52, 8, 8}};

#define COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))

const char *const *HardwareIds(int *count)
{
    *count = COUNT(kHardwareIds);
    return kHardwareIds;
}

const char *const *ServiceNames(int *count)
{
    *count = COUNT(kServiceNames);
    return kServiceNames;
}

const char *const *VxdNames(int *count)
{
    *count = COUNT(kVxdNames);
    return kVxdNames;
}

static char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

/* Whether s has `word` at `pos` (ignoring case); s is read no further than
 * its terminator. */
static bool WordAt(const char *s, size_t pos, const char *word)
{
    for (size_t i = 0; i < pos; i++)
        if (s[i] == '\0')
            return false;
    for (size_t i = 0; word[i]; i++)
        if (Upper(s[pos + i]) != word[i])
            return false;
    return true;
}

IdKind HardwareIdKind(const char *id)
{
    if (WordAt(id, 0, "VID_") && WordAt(id, 9, "PID_"))
        return ID_USB;
    if (WordAt(id, 0, "VEN_") && WordAt(id, 9, "DEV_"))
        return ID_PCI;
    return ID_PCMCIA;
}

bool FillName(const char *row, const char *suffix, char *out, size_t size)
{
    const char *mark = strstr(row, "%s");
    int n;
    if (mark == NULL)
        n = snprintf(out, size, "%s%s", row, suffix ? suffix : "");
    else
        n = snprintf(out, size, "%.*s%s%s%s", (int)(mark - row), row, VENDOR_CODE, mark + 2,
                     suffix ? suffix : "");
    return n >= 0 && (size_t)n < size;
}

const char *EnumRoot(int os)
{
    if (os == OS_TYPE_WIN95 || os == OS_TYPE_WIN98)
        return "Enum";
    if (os == OS_TYPE_WIN2000 || os == OS_TYPE_WIN2001)
        return "System\\CurrentControlSet\\Enum";
    return NULL;
}

const char *ClassRoot(int os)
{
    if (os == OS_TYPE_WIN95 || os == OS_TYPE_WIN98)
        return "System\\CurrentControlSet\\Services\\Class";
    if (os == OS_TYPE_WIN2000 || os == OS_TYPE_WIN2001)
        return "System\\CurrentControlSet\\Control\\Class";
    return NULL;
}

bool EnumKeyPath(int os, const char *id, const char *pciSubkey, char *out, size_t size)
{
    const char *root = EnumRoot(os);
    int n;
    if (root == NULL)
        return false;
    switch (HardwareIdKind(id)) {
    case ID_USB:
        n = snprintf(out, size, "%s\\USB\\%s", root, id);
        break;
    case ID_PCI:
        n = snprintf(out, size, "%s\\PCI\\%s", root, pciSubkey ? pciSubkey : id);
        break;
    default:
        n = snprintf(out, size, "%s\\%s\\%s", root, "PCMCIA", id);
        break;
    }
    return n >= 0 && (size_t)n < size;
}

bool PciSubkeyMatches(const char *subkey, const char *id)
{
    return strncmp(subkey, id, strlen(id)) == 0;
}

bool ServiceOfNicKey(const char *nicKey, char *out, size_t size)
{
    static const char kTail[] = "\\Parameters";
    const size_t len = strlen(nicKey), tail = sizeof kTail - 1;
    if (len <= tail || strcmp(nicKey + len - tail, kTail) != 0)
        return false;
    size_t end = len - tail, start = end;
    while (start > 0 && nicKey[start - 1] != '\\')
        start--;
    if (start == end || end - start >= size)
        return false;
    memcpy(out, nicKey + start, end - start);
    out[end - start] = '\0';
    return true;
}

bool Retry51Path(const char *path, char *out, size_t size)
{
    const size_t len = strlen(path);
    if (len < 11 || len >= size)
        return false;
    memcpy(out, path, len + 1);
    out[9] = '5';
    out[10] = '1';
    return true;
}

bool DriverCompatible(uint16_t variant, uint16_t bottom, uint16_t top)
{
    for (const auto &c : kCompatible)
        if (c.variant == variant && c.bottom <= top && c.top >= bottom)
            return true;
    return false;
}

/* ---- interface block: offsets 0 ifbp, 4 result, 6 function, 8 len,
 * 10 typ, 12 values ---- */

static void Put16(Block *blk, int offset, uint16_t v)
{
    memcpy(blk->b + offset, &v, sizeof v);
}

static uint16_t Get16(const Block &blk, int offset)
{
    uint16_t v;
    memcpy(&v, blk.b + offset, sizeof v);
    return v;
}

uint32_t BlockIfbp(const Block &blk)
{
    uint32_t v;
    memcpy(&v, blk.b, sizeof v);
    return v;
}

void BlockSetIfbp(Block *blk, uint32_t ifbp)
{
    memcpy(blk->b, &ifbp, sizeof ifbp);
}

uint16_t BlockResult(const Block &blk)
{
    return Get16(blk, 4);
}

void BlockSetHeader(Block *blk, uint16_t function, uint16_t result, uint16_t len, uint16_t typ)
{
    Put16(blk, 4, result);
    Put16(blk, 6, function);
    Put16(blk, 8, len);
    Put16(blk, 10, typ);
}

void BlockLoadRecord(Block *blk, const uint16_t *ltv, int words, int maxValues)
{
    if (words < 2)
        return;
    int len = ltv[0];
    if (len > (int)WLDRV_LTV_MAX_LEN)
        len = (int)WLDRV_LTV_MAX_LEN;
    if (len > words - 1)
        len = words - 1;
    int values = len - 1;
    if (values > maxValues)
        values = maxValues;
    if (values < 0)
        values = 0;
    Put16(blk, 8, (uint16_t)len);
    Put16(blk, 10, ltv[1]);
    memcpy(blk->b + 12, ltv + 2, 2u * (size_t)values);
}

void BlockCopyBack(const Block &blk, uint16_t *ltv, int words, uint32_t returned)
{
    if (words < 2 || returned < WLDRV_HEADER_SIZE)
        return;
    if (returned > WLDRV_BLOCK_SIZE)
        returned = WLDRV_BLOCK_SIZE;
    int len = Get16(blk, 8);
    const int carried = 1 + (int)((returned - WLDRV_HEADER_SIZE) / 2);
    if (len > carried)
        len = carried;
    if (len > (int)WLDRV_LTV_MAX_LEN)
        len = (int)WLDRV_LTV_MAX_LEN;
    if (len > ltv[0])
        len = ltv[0];
    if (len > words - 1)
        len = words - 1;
    ltv[0] = (uint16_t)len;
    ltv[1] = Get16(blk, 10);
    if (len > 1)
        memcpy(ltv + 2, blk.b + 12, 2u * (size_t)(len - 1));
}
