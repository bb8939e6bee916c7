/* Adapter detection and driver access: the OS type, the name tables, the
 * enumeration key paths, the compatibility test and the interface block
 * copies. Pure functions; adapters.cpp and driver.cpp do the Win32 part.
 */
#ifndef REGUTIL_TABLES_H
#define REGUTIL_TABLES_H

#include <stddef.h>
#include <stdint.h>

#include "wldriver.h"

#define VENDOR_CODE "VXQ"

/* OS types, as the library codes them. */
#define OS_TYPE_UNKNOWN 0
#define OS_TYPE_WIN95 1
#define OS_TYPE_WIN98 2
#define OS_TYPE_WINNT 4
#define OS_TYPE_WIN2000 8
#define OS_TYPE_WIN2001 32

/* platform: 1 Windows 95 family, 2 NT family, other values unknown. */
int OsTypeFromVersion(int querySucceeded, unsigned platform, unsigned major, unsigned minor);

enum IdKind { ID_USB, ID_PCI, ID_PCMCIA };

/* "VID_" at 0 and "PID_" at 9 is USB, "VEN_" at 0 and "DEV_" at 9 PCI
 * (ignoring case), anything else PCMCIA. */
IdKind HardwareIdKind(const char *id);

const char *const *HardwareIds(int *count);
/* "WL%s52", ... and "WU%s41.VXD", ...: rows with "%s" for the vendor code. */
const char *const *ServiceNames(int *count);
const char *const *VxdNames(int *count);

/* Fills "%s" of a table row with the vendor code (and appends `suffix`,
 * may be NULL) into out (size bytes); false when it does not fit. */
bool FillName(const char *row, const char *suffix, char *out, size_t size);

/* Enumeration root and class root for the OS type (NULL for types that
 * have none: 0 and 4). */
const char *EnumRoot(int os);
const char *ClassRoot(int os);

/* Enumeration key of an identifier: root + "\\USB\\" + id, root +
 * "\\PCMCIA\\" + id, or root + "\\PCI\\" + pciSubkey (the identifier
 * itself when no subkey matched). false when it does not fit. */
bool EnumKeyPath(int os, const char *id, const char *pciSubkey, char *out, size_t size);

/* Whether a PCI enumeration subkey name begins with the identifier
 * (case-sensitive, over the identifier's length). */
bool PciSubkeyMatches(const char *subkey, const char *id);

/* The service name of an NT 4 NIC key ".../Services/<name>/Parameters":
 * the path element before "\\Parameters"; false when there is none or it
 * does not fit. */
bool ServiceOfNicKey(const char *nicKey, char *out, size_t size);

/* The "51" retry name of a device path: the characters at 9 and 10 become
 * "51"; false when the path is shorter than 11 characters. */
bool Retry51Path(const char *path, char *out, size_t size);

/* Compatibility test of a driver's supplier range (Variant, Bottom, Top). */
bool DriverCompatible(uint16_t variant, uint16_t bottom, uint16_t top);

/* ---- interface block ---- */

/* The interface block and its codes are those of wldriver.h. */
#define BLOCK_GET_IN_WORDS 10 /* value words of a get request sent */

struct Block {
    uint8_t b[WLDRV_BLOCK_SIZE];
};

uint32_t BlockIfbp(const Block &blk);
void BlockSetIfbp(Block *blk, uint32_t ifbp);
uint16_t BlockResult(const Block &blk);
/* Sets function and result, `len` and `typ`. */
void BlockSetHeader(Block *blk, uint16_t function, uint16_t result, uint16_t len, uint16_t typ);

/* A caller's record: ltv[0] = len, ltv[1] = typ, values; `words` is the
 * number of words the caller's buffer holds (len word included).
 * BlockLoadRecord copies len (capped at 4097 and at the buffer), typ and at
 * most `maxValues` value words into the block; BlockCopyBack copies the
 * answer back, no more words than both lengths and the `returned` bytes of
 * the answer allow, and sets the caller's len to that. */
void BlockLoadRecord(Block *blk, const uint16_t *ltv, int words, int maxValues);
void BlockCopyBack(const Block &blk, uint16_t *ltv, int words, uint32_t returned);

#endif
