/*
 * Shared by the device setup tools: the network adapter class, the family's
 * hardware ids per variant, and opening an installed adapter by its device
 * instance id or its NIC id (the driver key's instance number).
 */
#ifndef DEVSETUP_DEVICES_H
#define DEVSETUP_DEVICES_H

#include <windows.h>
#include <setupapi.h>

#include <string>

extern const GUID kNetClass;
extern const char kNetClassKey[];   /* Control\Class\{net class} */
extern const char kNetworkKey[];    /* Control\Network\{net class} */

/* Hardware id of a variant's adapter ("PCI\VEN_1260&DEV_3886" for E),
 * empty for a letter that is no variant. */
std::string HardwareIdFor(char variant);

/* Whether the variant's library opens its driver by a VxD-style name
 * (C and E) rather than by the adapter's NetCfgInstanceId. */
bool VxdNamed(char variant);

/* A device of the net class in a fresh set: `which` is a device instance
 * id (holds a backslash) or a NIC id. Returns the set, or
 * INVALID_HANDLE_VALUE when no such device is registered. */
HDEVINFO OpenAdapter(const std::string &which, SP_DEVINFO_DATA *dev);

/* SPDRP_DRIVER of the device ("{class}\0007"), empty when unset. */
std::string DriverKeyName(HDEVINFO set, SP_DEVINFO_DATA *dev);
/* The NIC id: what follows the class GUID and its backslash in the driver
 * key name; empty when the name does not have that form. */
std::string NicIdOf(const std::string &driverKeyName);

/* A string value under HKEY_LOCAL_MACHINE, empty when unreadable. */
std::string ReadHklmString(const std::string &key, const char *name);

#endif
