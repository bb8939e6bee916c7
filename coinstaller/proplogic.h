/*
 * Pure rules of the profile dialogs: the key rules, the entries of the
 * mode and band boxes by the regulatory domain's flags, the channel word,
 * and the preferred-name list of a context. No window or library calls.
 */
#ifndef COINST_PROPLOGIC_H
#define COINST_PROPLOGIC_H

#include "pagecontext.h"

/* Outcome of the key rules for a typed key and its confirmation. */
enum KeyRuleResult {
    KEY_OK = 0,
    KEY_MISMATCH, /* key and confirmation differ */
    KEY_INVALID,  /* not 5 or 13 characters, nor 10 or 26 hex digits */
    KEY_EMPTY     /* nothing typed */
};

/* Key and confirmation: equal ignoring letter case for 10 or 26
 * characters, exactly otherwise. */
int KeyConfirmMatches(const char *key, const char *confirm);

/* Checks key against confirm and, when both are good, stores it in slot as
 * hexadecimal text: a 5 or 13 character text key becomes two upper-case
 * digits per character code, 10 or 26 digits are kept as typed. The slot
 * is left alone unless the result is KEY_OK. */
KeyRuleResult KeyRulesApply(const char *key, const char *confirm, KeyBufferKey *slot);

/* Flags of a regulatory domain as the dialogs count them: Flags[0] of a
 * band allows creating a network in it, Flags[1] connecting to one. */
struct BandFlags {
    int create5, connect5, create24, connect24;
};

/* Connection modes the mode box offers (mode 0, 1, 2 in order): all three
 * without an adapter, else by the connect and create flags. */
void OfferedModes(int present, const BandFlags &f, int offered[3]);
/* Band choices 0-3 the band box offers for a mode. */
void OfferedBands(int present, const BandFlags &f, int mode, int offered[4]);

/* Channel word of a stored profile: the 2.4 GHz channel (0 above 14) for
 * band choice 0, otherwise 0. */
int ChannelFromWord(int connectionControl, unsigned channel);

/* Preferred names of a context, each in its own 33-byte heap block. */
int PreferredFind(const AdapterPageContext *c, const char *name); /* ignoring case; -1 */
/* Inserts a copy at pos unless the name is listed (ignoring case) or the
 * list is full; returns the index it has, or -1 when it could not go in. */
int PreferredInsert(AdapterPageContext *c, const char *name, int pos);
void PreferredRemove(AdapterPageContext *c, int index);
void PreferredFreeAll(AdapterPageContext *c);

#endif
