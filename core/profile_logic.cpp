/* Key record conversions, key rules, registry value data, preferred list order. */
#include "wlcore/profile_logic.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

static const char kHexDigits[] = "0123456789ABCDEF";

bool KeyCharIsPrint(unsigned char c) { return c >= 0x20 && c <= 0x7E; }

bool KeyCharIsHexDigit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

static int HexValue(unsigned char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

KeyFault AscKeyFault(const char *Key, long Len)
{
    if (!((Len == 0) || (Len == 5) || (Len == 13))) return KEY_BAD_LENGTH;
    for (long i = 0; i < Len; i++)
        if (!KeyCharIsPrint((unsigned char)Key[i])) return KEY_BAD_CHARACTER;
    return KEY_VALID;
}

KeyFault HexKeyFault(const char *Key, long Len)
{
    if (!((Len == 0) || (Len == 10) || (Len == 26))) return KEY_BAD_LENGTH;
    for (long i = 0; i < Len; i++)
        if (!KeyCharIsHexDigit((unsigned char)Key[i])) return KEY_BAD_CHARACTER;
    return KEY_VALID;
}

unsigned KeySlotLength(const KeySlot &Slot)
{
    return Slot.Len < KEY_SLOT_BYTES ? Slot.Len : KEY_SLOT_BYTES;
}

int KeySlotRender(const KeySlot &Slot, int Form, char *Out, size_t OutSize)
{
    unsigned n = KeySlotLength(Slot);
    size_t need = Form == WL_KEYHEX ? 2 * (size_t)n : n;
    if (need > OutSize) return -1;
    for (unsigned i = 0; i < n; i++) {
        if (Form == WL_KEYHEX) {
            Out[2 * i] = kHexDigits[Slot.Key[i] >> 4];
            Out[2 * i + 1] = kHexDigits[Slot.Key[i] & 15];
        } else {
            Out[i] = (char)Slot.Key[i];
        }
    }
    return (int)need;
}

void KeySlotStore(KeySlot *Slot, int Form, const char *Key, long Len)
{
    memset(Slot, 0, sizeof *Slot);
    if (Len <= 0) return;
    if (Form == WL_KEYHEX) {
        long n = Len / 2 < KEY_SLOT_BYTES ? Len / 2 : KEY_SLOT_BYTES;
        for (long i = 0; i < n; i++)
            Slot->Key[i] = (uint8_t)(HexValue((unsigned char)Key[2 * i]) << 4 |
                                     HexValue((unsigned char)Key[2 * i + 1]));
        Slot->Len = (uint16_t)n;
    } else {
        long n = Len < KEY_SLOT_BYTES ? Len : KEY_SLOT_BYTES;
        memcpy(Slot->Key, Key, (size_t)n);
        Slot->Len = (uint16_t)n;
    }
}

void KeyRecordToBuffer(const KeyRecord &Rec, int Form, KeyBuffer *Out)
{
    Out->AsciiHex = Form;
    Out->KeyId = Rec.KeyId;
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        KeyBufferKey &k = Out->Key[i];
        /* A slot renders in at most 28 characters: it always fits. */
        int n = KeySlotRender(Rec.Slot[i], Form, k.Keypos, sizeof k.Keypos);
        k.Len = n < 0 ? 0 : n;
    }
}

void KeyRecordHeaderSet(KeyRecord *Rec)
{
    memcpy(Rec->Tag, "whWH", 4);
    Rec->LtvLen = KEY_RECORD_LTV_LEN;
    Rec->LtvType = KEY_RECORD_LTV_TYPE;
}

void KeyBufferToRecord(const KeyBuffer &Buf, KeyRecord *Rec)
{
    uint16_t enabled = Rec->Enabled;
    memset(Rec, 0, sizeof *Rec);
    KeyRecordHeaderSet(Rec);
    Rec->KeyId = (uint16_t)Buf.KeyId;
    Rec->Enabled = enabled;
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        const KeyBufferKey &k = Buf.Key[i];
        long len = k.Len >= 0 && k.Len <= MAX_KEY_CHARS ? k.Len : 0;
        KeySlotStore(&Rec->Slot[i], Buf.AsciiHex, k.Keypos, len);
    }
}

void KeyBufferMask(KeyBuffer *Buf)
{
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        KeyBufferKey &k = Buf->Key[i];
        long n = k.Len < 0 ? 0 : (k.Len > MAX_KEY_CHARS ? MAX_KEY_CHARS : k.Len);
        memset(k.Keypos, '*', (size_t)n);
    }
}

/* ---- Registry value data ---- */

/* Registry value types (winnt.h), so that this file needs no Windows header. */
enum { TYPE_SZ = 1, TYPE_EXPAND_SZ = 2, TYPE_MULTI_SZ = 7 };

static bool IsTextType(uint32_t Type) { return Type == TYPE_SZ || Type == TYPE_EXPAND_SZ; }

uint32_t RegDataToInt(uint32_t Type, const uint8_t *Data, size_t Size)
{
    if (IsTextType(Type)) {
        char text[33];
        size_t n = Size < sizeof text - 1 ? Size : sizeof text - 1;
        memcpy(text, Data, n);
        text[n] = '\0';
        return (uint32_t)strtol(text, NULL, 10);
    }
    uint32_t value = 0;
    memcpy(&value, Data, Size < sizeof value ? Size : sizeof value);
    return value;
}

bool RegIntInRange(uint32_t Val, long Min, long Max)
{
    long v = (long)(int32_t)Val;
    return v >= Min && v <= Max;
}

bool RegDataToText(uint32_t Type, const uint8_t *Data, size_t Size, size_t Cap, std::string *Out)
{
    Out->clear();
    if (!IsTextType(Type) && Type != TYPE_MULTI_SZ) return false;
    size_t n = 0;
    while (n < Size && n < Cap && Data[n] != 0) n++;
    Out->assign((const char *)Data, n);
    return true;
}

/* ---- Preferred list value names ---- */

bool PreferredValueIndex(const char *Name, unsigned long *N)
{
    if (strncmp(Name, "PP_", 3) != 0) return false;
    const char *p = Name + 3;
    if (*p == '\0') return false;
    unsigned long n = 0;
    for (; *p; p++) {
        if (*p < '0' || *p > '9') return false;
        unsigned long d = (unsigned long)(*p - '0');
        if (n > (0x7FFFFFFFul - d) / 10) return false;
        n = n * 10 + d;
    }
    *N = n;
    return true;
}

std::vector<size_t> PreferredOrder(const std::vector<std::string> &Names)
{
    struct Entry {
        bool numbered;
        unsigned long n;
        size_t pos;
    };
    std::vector<Entry> e;
    e.reserve(Names.size());
    for (size_t i = 0; i < Names.size(); i++) {
        Entry x = {false, 0, i};
        x.numbered = PreferredValueIndex(Names[i].c_str(), &x.n);
        e.push_back(x);
    }
    std::stable_sort(e.begin(), e.end(), [](const Entry &a, const Entry &b) {
        if (a.numbered != b.numbered) return a.numbered;
        return a.numbered && a.n < b.n;
    });
    std::vector<size_t> order;
    order.reserve(e.size());
    for (const Entry &x : e) order.push_back(x.pos);
    return order;
}

std::string NameOfSize(const char *Name, unsigned long Size)
{
    size_t n = 0;
    while (n < Size && Name[n] != '\0') n++;
    return std::string(Name, n);
}
