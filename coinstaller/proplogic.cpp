/* Pure rules of the profile dialogs (see proplogic.h). */
#include "proplogic.h"

#include <string.h>

namespace {

bool IsHexDigit(char ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

char Lower(char ch) { return (ch >= 'A' && ch <= 'Z') ? (char)(ch - 'A' + 'a') : ch; }

bool EqualNoCase(const char *a, const char *b)
{
    for (; *a && *b; a++, b++)
        if (Lower(*a) != Lower(*b)) return false;
    return *a == *b;
}

} // namespace

int KeyConfirmMatches(const char *key, const char *confirm)
{
    size_t n = strlen(key);
    if (n == 10 || n == 26) return EqualNoCase(key, confirm);
    return strcmp(key, confirm) == 0;
}

KeyRuleResult KeyRulesApply(const char *key, const char *confirm, KeyBufferKey *slot)
{
    if (!KeyConfirmMatches(key, confirm)) return KEY_MISMATCH;
    size_t n = strlen(key);
    if (n == 0) return KEY_EMPTY;
    static const char kDigits[] = "0123456789ABCDEF";
    char digits[MAX_KEY_CHARS];
    size_t len;
    if (n == 5 || n == 13) {
        for (size_t i = 0; i < n; i++) {
            unsigned char ch = (unsigned char)key[i];
            digits[2 * i] = kDigits[ch >> 4];
            digits[2 * i + 1] = kDigits[ch & 15];
        }
        len = 2 * n;
    } else if (n == 10 || n == 26) {
        for (size_t i = 0; i < n; i++)
            if (!IsHexDigit(key[i])) return KEY_INVALID;
        memcpy(digits, key, n);
        len = n;
    } else {
        return KEY_INVALID;
    }
    memset(slot->Keypos, 0, sizeof slot->Keypos);
    memcpy(slot->Keypos, digits, len);
    slot->Len = (int32_t)len;
    return KEY_OK;
}

void OfferedModes(int present, const BandFlags &f, int offered[3])
{
    int connect = !present || f.connect5 || f.connect24;
    int create = !present || f.create5 || f.create24;
    offered[0] = connect;
    offered[1] = create;
    offered[2] = create;
}

void OfferedBands(int present, const BandFlags &f, int mode, int offered[4])
{
    if (!present) {
        for (int i = 0; i < 4; i++) offered[i] = 1;
        return;
    }
    int has24 = f.create24 || f.connect24;
    int has5 = mode == 0 ? (f.create5 || f.connect5) : f.create5;
    offered[0] = has24;
    offered[1] = has5;
    offered[2] = offered[3] = has24 && has5;
}

int ChannelFromWord(int connectionControl, unsigned channel)
{
    if (connectionControl != 0) return 0;
    return channel > 14 ? 0 : (int)channel;
}

int PreferredFind(const AdapterPageContext *c, const char *name)
{
    int n = c->PreferredCount;
    if (n > MAX_PREFERRED_NAMES) n = MAX_PREFERRED_NAMES;
    for (int i = 0; i < n; i++)
        if (c->PreferredNames[i] && EqualNoCase(c->PreferredNames[i], name)) return i;
    return -1;
}

int PreferredInsert(AdapterPageContext *c, const char *name, int pos)
{
    int found = PreferredFind(c, name);
    if (found >= 0) return found;
    if (c->PreferredCount < 0 || c->PreferredCount >= MAX_PREFERRED_NAMES) return -1;
    char *copy = static_cast<char *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, PROFILE_NAME_CHARS));
    if (!copy) return -1;
    lstrcpynA(copy, name, PROFILE_NAME_CHARS);
    if (pos < 0) pos = 0;
    if (pos > c->PreferredCount) pos = c->PreferredCount;
    memmove(&c->PreferredNames[pos + 1], &c->PreferredNames[pos],
            (size_t)(c->PreferredCount - pos) * sizeof c->PreferredNames[0]);
    c->PreferredNames[pos] = copy;
    c->PreferredCount++;
    return pos;
}

void PreferredRemove(AdapterPageContext *c, int index)
{
    if (index < 0 || index >= c->PreferredCount || index >= MAX_PREFERRED_NAMES) return;
    HeapFree(GetProcessHeap(), 0, c->PreferredNames[index]);
    memmove(&c->PreferredNames[index], &c->PreferredNames[index + 1],
            (size_t)(c->PreferredCount - index - 1) * sizeof c->PreferredNames[0]);
    c->PreferredCount--;
    c->PreferredNames[c->PreferredCount] = NULL;
}

void PreferredFreeAll(AdapterPageContext *c)
{
    for (int i = 0; i < MAX_PREFERRED_NAMES; i++) {
        if (c->PreferredNames[i]) HeapFree(GetProcessHeap(), 0, c->PreferredNames[i]);
        c->PreferredNames[i] = NULL;
    }
    c->PreferredCount = 0;
}
