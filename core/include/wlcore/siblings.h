/*
 * siblings.h - names of a variant's deliverables. They all share one name
 * but for its second letter: the library WAVXQ48E, the co-installer
 * WdVXQ48E, the driver's device WuVXQ48E, the service program WSVXQ48D.
 * Plain C without a runtime, for the library, the utility and the driver.
 */
#ifndef WLCORE_SIBLINGS_H
#define WLCORE_SIBLINGS_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Second letters of the deliverables. */
#define WL_SIBLING_LIBRARY 'a'     /* WAVXQ48<v>.dll */
#define WL_SIBLING_COINSTALLER 'd' /* WdVXQ48<v>.dll */
#define WL_SIBLING_DEVICE 'u'      /* WuVXQ48<v>.vxd, the driver's device */
#define WL_SIBLING_SERVICE 'S'     /* WSVXQ48<v>.exe */
#define WL_SIBLING_UTILITY 'C'     /* WCVXQ48<v>.exe */

/*
 * Writes the sibling `letter` of `name` to out: name up to its first "."
 * (or its end), its second letter replaced (a name shorter than two letters
 * is kept as it is), then `ext` (".dll", or "" for none). Returns the
 * length written, or -1 when it does not fit into outSize bytes with its
 * terminator (out is then empty, if outSize allows).
 */
int WLSiblingName(const char *name, char letter, const char *ext, char *out, size_t outSize);

#ifdef __cplusplus
}
#endif

#endif /* WLCORE_SIBLINGS_H */
