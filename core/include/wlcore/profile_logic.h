/*
 * profile_logic.h - the pure parts of the profile store: the 76-byte key
 * record and its conversions to and from the KeyBuffer's characters, the key
 * character rules, registry value data as integers and texts, the order of a
 * preferred list's value names.
 *
 * Every function works on the bytes it is given and never reads or writes
 * past them, whatever the lengths stored inside a record say.
 */
#ifndef WLCORE_PROFILE_LOGIC_H
#define WLCORE_PROFILE_LOGIC_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "wlbuffers.h"

/* Key material bytes of one slot of the key record. */
#define KEY_SLOT_BYTES 14
/* Words after the len word of the default keys record inside the key record. */
#define KEY_RECORD_LTV_LEN 33
#define KEY_RECORD_LTV_TYPE 0xFCB0

#pragma pack(push, 1)
struct KeySlot {
    uint16_t Len; /* key length in bytes */
    uint8_t Key[KEY_SLOT_BYTES];
};
/* The plain form of the coded "Encryption" value (little-endian). */
struct KeyRecord {
    char Tag[4];      /* "whWH" */
    uint16_t KeyId;   /* transmit key, 0..3 */
    uint16_t Enabled; /* encryption switch, 0..7 */
    uint16_t LtvLen;  /* KEY_RECORD_LTV_LEN */
    uint16_t LtvType; /* KEY_RECORD_LTV_TYPE */
    KeySlot Slot[MAX_NUM_KEYS];
};
#pragma pack(pop)
static_assert(sizeof(KeySlot) == 16, "key slot layout");
static_assert(sizeof(KeyRecord) == 76, "key record layout");

/* Printable (0x20 to 0x7E) and hexadecimal digit characters, as the key
 * rules take them whatever the locale. */
bool KeyCharIsPrint(unsigned char c);
bool KeyCharIsHexDigit(unsigned char c);

/* Why a key fails its form's rule, or KEY_VALID. Text keys have 0, 5 or 13
 * printable characters, hexadecimal keys 0, 10 or 26 digits. The length is
 * checked before any character is read. */
enum KeyFault { KEY_VALID, KEY_BAD_LENGTH, KEY_BAD_CHARACTER };
KeyFault AscKeyFault(const char *Key, long Len);
KeyFault HexKeyFault(const char *Key, long Len);

/* A slot's key length bounded by its material. */
unsigned KeySlotLength(const KeySlot &Slot);

/* Renders one slot in the given form: its bytes (WL_KEYASC) or two upper-case
 * digits per byte, high half first (WL_KEYHEX). Writes at most OutSize
 * characters (no terminator) and returns the rendered length, or -1 when
 * the rendering does not fit (nothing is written then). */
int KeySlotRender(const KeySlot &Slot, int Form, char *Out, size_t OutSize);

/* Stores Len characters of the given form into a slot: text as it is, digits
 * in pairs (either case, high half first; a last lone digit is dropped).
 * Lengths beyond the slot's material are cut to it. */
void KeySlotStore(KeySlot *Slot, int Form, const char *Key, long Len);

/* Writes the record's constant parts: the tag and the default keys header. */
void KeyRecordHeaderSet(KeyRecord *Rec);

/* KeyBuffer from a record in the given form: KeyId and each key rendered
 * (GetEncryptionData after the form is chosen). */
void KeyRecordToBuffer(const KeyRecord &Rec, int Form, KeyBuffer *Out);

/* Record from a KeyBuffer (SetEncryptionData): the record's switch is kept,
 * everything else rebuilt from the tag, the buffer's KeyId and keys. Key
 * lengths outside 0..MAX_KEY_CHARS count as 0. */
void KeyBufferToRecord(const KeyBuffer &Buf, KeyRecord *Rec);

/* Overwrites each key's Len characters (bounded by its field) with "*". */
void KeyBufferMask(KeyBuffer *Buf);

/* ---- Registry value data ---- */

/* An integer value's data: text (REG_SZ, REG_EXPAND_SZ) as a signed decimal
 * number (its leading digits, 0 when none), any other type as a 32-bit
 * number from its first bytes. */
uint32_t RegDataToInt(uint32_t Type, const uint8_t *Data, size_t Size);

/* Whether a value read as a number lies in Min..Max (taken as signed). */
bool RegIntInRange(uint32_t Val, long Min, long Max);

/* A text value's data: a string type cut at its first zero byte and at
 * Cap bytes. False for other types (the value cannot be read as text). */
bool RegDataToText(uint32_t Type, const uint8_t *Data, size_t Size, size_t Cap, std::string *Out);

/* ---- Preferred list value names ---- */

/* The n of a value name "PP_n" (decimal digits only, no sign, fits 31
 * bits); false for any other name. */
bool PreferredValueIndex(const char *Name, unsigned long *N);

/* Positions of the value names in list order: names "PP_n" by n, then the
 * others in the order given. */
std::vector<size_t> PreferredOrder(const std::vector<std::string> &Names);

/* A name of at most Size bytes, ending at its first zero byte. */
std::string NameOfSize(const char *Name, unsigned long Size);

#endif /* WLCORE_PROFILE_LOGIC_H */
