/* The key record of a profile (76 bytes, the plain form of the coded
 * "Encryption" text) and the key arguments of the command line. Pure
 * functions over fixed-size buffers; no registry, no driver.
 */
#ifndef REGUTIL_KEYREC_H
#define REGUTIL_KEYREC_H

#include <stdint.h>

#include "wlcore/wepcode.h"

#define KEY_RECORD_SIZE WEP_KEY_RECORD_SIZE /* 76 */
#define KEY_TEXT_LENGTH WEP_KEY_TEXT_LENGTH /* 102 */
#define KEY_SLOTS 4
#define KEY_SLOT_DATA 14 /* bytes of key material per slot */
#define KEY_MAX_BYTES 13

/* Byte offsets in the record. */
#define KEY_OFF_TAG 0
#define KEY_OFF_KEYID 4
#define KEY_OFF_SWITCH 6
#define KEY_OFF_LTV_LEN 8
#define KEY_OFF_LTV_TYP 10
#define KEY_OFF_SLOTS 12
#define KEY_SLOT_SIZE 16

#define KEY_LTV_LEN 33
#define KEY_LTV_TYP 0xFCB0

struct KeyRecord {
    uint8_t b[KEY_RECORD_SIZE];
};

/* One key: 0, 5 or 13 bytes. */
struct KeyBytes {
    int len;
    uint8_t b[KEY_MAX_BYTES];
};

/* The decoded default record (DefaultCodedKey). */
KeyRecord KeyRecordDefault();

/* Decodes a stored text: true when it is exactly KEY_TEXT_LENGTH characters
 * and decodes to a record with the tag "whWH". `text` may be any
 * zero-terminated string; it is read no further than KEY_TEXT_LENGTH + 1
 * characters.
 */
bool KeyRecordDecode(const char *text, KeyRecord *rec);

/* Codes the record into its text (KEY_TEXT_LENGTH characters and a
 * terminator); false when the coding gives another length.
 */
bool KeyRecordCode(const KeyRecord &rec, char text[KEY_TEXT_LENGTH + 1]);

uint16_t KeyRecordWord(const KeyRecord &rec, int offset);
void KeyRecordSetWord(KeyRecord *rec, int offset, uint16_t value);
/* Puts the tag, and for a record built for the driver the header words. */
void KeyRecordSetTag(KeyRecord *rec);
void KeyRecordSetHeader(KeyRecord *rec);
/* Clears the slot's 14 data bytes, then stores the key and its length. */
void KeyRecordSetSlot(KeyRecord *rec, int slot, const KeyBytes &key);

/* Key arguments. Each returns true and fills `key` when the argument has
 * the form; `arg` may be any zero-terminated string.
 *  - KeyFromAscii: 5 or 13 characters, taken as they are ("W");
 *  - KeyFromHex: 10 or 26 hex digits, a pair per byte ("w");
 *  - KeyFromKOperand: 0 or 1 character = empty key; 5 or 13 = ASCII key;
 *    12 or 28 beginning "0x"/"0X" followed by hex digits ("K").
 */
bool KeyFromAscii(const char *arg, KeyBytes *key);
bool KeyFromHex(const char *arg, KeyBytes *key);
bool KeyFromKOperand(const char *arg, KeyBytes *key);

/* Length of a string, counted no further than `cap` (cap + 1 when longer). */
int BoundedLength(const char *s, int cap);

#endif
