/*
 * The order of the country table: its codes as they stand, for the unit
 * tests of the table and the end-to-end tests of the country exports.
 */
#ifndef WLTEST_COUNTRY_ORDER_H
#define WLTEST_COUNTRY_ORDER_H

#include <string>
#include <vector>

const char kCountryOrder[] =
    "NL SA BG ES TW CZ DK DE GR US FI FR IL HU IS IT JP KR NO PL BR RO RU HR "
    "SK AL SE TH TR PK ID UA BY SI EE LV LT IR VN AM AZ MK ZA GE FO IN MY KZ "
    "KE UZ TA IQ CN CH GB MX BE PT SP BN EG HK AT AU CA LY SG LU GT DZ MO LI "
    "NZ CR MA IE PA MC TN DO OM JM VE YE CB CO SY BZ PE JO TT AR LB ZW EC KW "
    "PH CL AE UY BH PY QA BO SV HN NI PR";

inline std::vector<std::string> CountryOrder()
{
    std::vector<std::string> codes;
    for (size_t i = 0; i + 1 < sizeof kCountryOrder; i += 3) codes.push_back(std::string(kCountryOrder + i, 2));
    return codes;
}

#endif /* WLTEST_COUNTRY_ORDER_H */
