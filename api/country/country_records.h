// Adapter records the country exports use besides the channel information:
// the adapter's regulatory domain code and the coded country text handed to
// the driver.
#ifndef API_COUNTRY_COUNTRY_RECORDS_H
#define API_COUNTRY_COUNTRY_RECORDS_H

#include <windows.h>

// Record types.
#define DOMAIN_CODE_RECORD_TYPE 0xFD25    // regulatory domain code, one word
#define CODED_COUNTRY_RECORD_TYPE 0x0905  // coded country text, byte area

// Reads the adapter's regulatory domain code (one-word record 0xFD25).
int DomainCodeRead(int *Val);

#endif // API_COUNTRY_COUNTRY_RECORDS_H
