/* Names of a variant's deliverables; no C runtime (the driver links it). */
#include "wlcore/siblings.h"

int WLSiblingName(const char *name, char letter, const char *ext, char *out, size_t outSize)
{
    size_t n = 0, i;
    if (outSize == 0) return -1;
    out[0] = '\0';
    while (name[n] != '\0' && name[n] != '.') n++;
    for (i = 0; ext[i] != '\0'; i++) {}
    if (n + i + 1 > outSize) return -1;
    for (size_t k = 0; k < n; k++) out[k] = name[k];
    if (n >= 2) out[1] = letter;
    for (size_t k = 0; k < i; k++) out[n + k] = ext[k];
    out[n + i] = '\0';
    return (int)(n + i);
}
