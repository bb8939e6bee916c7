/*
 * Pure rules of the co-installer's pages: value mappings of the Advanced
 * page, the rate rows, the resource library's version rule, the help topic
 * table and the NIC id in a driver key name. No window or library calls.
 */
#ifndef COINST_PAGELOGIC_H
#define COINST_PAGELOGIC_H

#include <stddef.h>
#include <stdint.h>

#include "pagecontext.h"

/* Context resets. */
void ContextFullReset(AdapterPageContext *c);
void ContextSettingsReset(AdapterPageContext *c);
void EditReset(NetworksPageBlock *b, int full);

/* Power management: the box index from a read (rc is its WL code) and the
 * mode written for an index; -1 for an index outside the box. */
int PowerIndexFromRead(int rc, int mode);
int PowerModeFromIndex(int index);

/* System scale 1 to 5 from a read; anything else gives the default. */
int ScaleFromRead(int rc, int value);

/* Transmit power box entries, in order. */
extern const char *const kTxPowerTexts[7];
/* Index of the entry showing `value`, else of "20". */
int TxPowerIndex(int value);

/* Rate masks from a read: defaults on failure or for a zero mask, masked. */
void RatesFromRead(int rc, unsigned v24, unsigned v5, DWORD *rates24, DWORD *rates5);
#define RATES24_MASK 0xFFFu
#define RATES5_MASK 0xFF0u

/* Rate rows: the checked-rate mask of a row follows every change of a box.
 * Each returns the bit whose box is to be enabled (check) or disabled
 * (uncheck), or -1 for none. */
int RateBoxChecked(uint16_t *mask, int bit);
int RateBoxUnchecked(uint16_t *mask, int bit);
/* The only bit of a mask, or -1 when it holds none or several. */
int LoneBit(uint16_t mask);

/* A band counts as present unless both flags of its pair are 0. */
int BandPresent(int domainRead, const int32_t flags[2]);

/* Version rule of the resource library: equal major parts, and equal minor
 * parts once each odd one is raised to the next even number. */
int ProductVersionsMatch(DWORD msA, DWORD msB);

/* Help topic of a control or dialog id (first entry wins), or NULL. */
const char *HelpTopicFor(int id);
/* Every entry of the topic table, for the help file's build check. */
size_t HelpTopicCount(void);
const char *HelpTopicAt(size_t i, int *id);

/* NIC id from the device's driver key name "<class GUID>\\<nnnn>": the four
 * digits after the GUID (in any letter case) and its backslash. Returns 0
 * when the name does not have that form. out receives 5 bytes. */
int NicIdFromDriverKey(const char *classGuid, const char *driverKey, char out[5]);

#endif
