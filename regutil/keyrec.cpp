/* Key record building and key argument forms. */
#include "keyrec.h"

#include <string.h>

int BoundedLength(const char *s, int cap)
{
    int n = 0;
    while (n <= cap && s[n] != '\0')
        n++;
    return n;
}

KeyRecord KeyRecordDefault()
{
    KeyRecord rec;
    memset(&rec, 0, sizeof rec);
    WEPDecode(CRYPT_CODE, rec.b, KEY_RECORD_SIZE, DefaultCodedKey);
    return rec;
}

bool KeyRecordDecode(const char *text, KeyRecord *rec)
{
    if (BoundedLength(text, KEY_TEXT_LENGTH) != KEY_TEXT_LENGTH)
        return false;
    KeyRecord plain;
    memset(&plain, 0, sizeof plain);
    if (WEPDecode(CRYPT_CODE, plain.b, KEY_RECORD_SIZE, text) != KEY_RECORD_SIZE)
        return false;
    if (memcmp(plain.b + KEY_OFF_TAG, "whWH", 4) != 0)
        return false;
    *rec = plain;
    return true;
}

bool KeyRecordCode(const KeyRecord &rec, char text[KEY_TEXT_LENGTH + 1])
{
    return WEPCode(CRYPT_CODE, text, KEY_TEXT_LENGTH + 1, rec.b, KEY_RECORD_SIZE) ==
           KEY_TEXT_LENGTH;
}

uint16_t KeyRecordWord(const KeyRecord &rec, int offset)
{
    return (uint16_t)(rec.b[offset] | (rec.b[offset + 1] << 8));
}

void KeyRecordSetWord(KeyRecord *rec, int offset, uint16_t value)
{
    rec->b[offset] = (uint8_t)(value & 0xFF);
    rec->b[offset + 1] = (uint8_t)(value >> 8);
}

void KeyRecordSetTag(KeyRecord *rec)
{
    memcpy(rec->b + KEY_OFF_TAG, "whWH", 4);
}

void KeyRecordSetHeader(KeyRecord *rec)
{
    KeyRecordSetWord(rec, KEY_OFF_LTV_LEN, KEY_LTV_LEN);
    KeyRecordSetWord(rec, KEY_OFF_LTV_TYP, KEY_LTV_TYP);
}

void KeyRecordSetSlot(KeyRecord *rec, int slot, const KeyBytes &key)
{
    if (slot < 0 || slot >= KEY_SLOTS)
        return;
    const int offset = KEY_OFF_SLOTS + slot * KEY_SLOT_SIZE;
    const int len = key.len < 0 ? 0 : (key.len > KEY_MAX_BYTES ? KEY_MAX_BYTES : key.len);
    memset(rec->b + offset + 2, 0, KEY_SLOT_DATA);
    memcpy(rec->b + offset + 2, key.b, (size_t)len);
    KeyRecordSetWord(rec, offset, (uint16_t)len);
}

static int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

/* `digits` hex digits, two per byte. */
static bool HexBytes(const char *s, int digits, KeyBytes *key)
{
    KeyBytes k;
    memset(&k, 0, sizeof k);
    for (int i = 0; i < digits; i += 2) {
        const int hi = HexValue(s[i]), lo = HexValue(s[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        k.b[k.len++] = (uint8_t)(hi << 4 | lo);
    }
    *key = k;
    return true;
}

bool KeyFromAscii(const char *arg, KeyBytes *key)
{
    const int n = BoundedLength(arg, KEY_MAX_BYTES);
    if (n != 5 && n != 13)
        return false;
    memset(key, 0, sizeof *key);
    key->len = n;
    memcpy(key->b, arg, (size_t)n);
    return true;
}

bool KeyFromHex(const char *arg, KeyBytes *key)
{
    const int n = BoundedLength(arg, 2 * KEY_MAX_BYTES);
    if (n != 10 && n != 26)
        return false;
    return HexBytes(arg, n, key);
}

bool KeyFromKOperand(const char *arg, KeyBytes *key)
{
    const int n = BoundedLength(arg, 2 + 2 * KEY_MAX_BYTES);
    if (n == 0 || n == 1) {
        memset(key, 0, sizeof *key);
        return true;
    }
    if (n == 5 || n == 13)
        return KeyFromAscii(arg, key);
    if ((n == 12 || n == 28) && arg[0] == '0' && (arg[1] == 'x' || arg[1] == 'X'))
        return HexBytes(arg + 2, n - 2, key);
    return false;
}
