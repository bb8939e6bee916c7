/*
 * wlvariant.h - the variant of this build of the configuration API library
 * (one small object per library file, variant.cpp).
 */
#ifndef WLVARIANT_H
#define WLVARIANT_H

struct WLVariant {
    char letter;         /* 'C', 'D', 'E' or 'F' */
    int number;          /* 3, 4, 5 or 6 */
    const char *dllName; /* base name without extension, "WAVXQ48E" */
};
extern const WLVariant g_Variant;

/* Variants C and D: older firmware, fewer radio features. */
static inline bool VariantIsCD(void) { return g_Variant.number <= 4; }
/* Variants C and E open the library-derived device name. */
static inline bool VariantOpensVxdName(void) { return g_Variant.number == 3 || g_Variant.number == 5; }

#endif /* WLVARIANT_H */
