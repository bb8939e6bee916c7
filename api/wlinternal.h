/*
 * wlinternal.h - everything shared inside the configuration API library, by
 * subsystem: the variant of this build, the call frame, the adapters and
 * their store, the driver channel and connection, the parameters. A file
 * may include just the headers it uses instead.
 */
#ifndef WLINTERNAL_H
#define WLINTERNAL_H

#include "wlvariant.h"
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "channel/wlchannel.h"
#include "params/wlparams.h"

#endif /* WLINTERNAL_H */
