/*
 * Resource identifiers of the co-installer and of its localized resource
 * library (WDVXQNLS.DLL), which carries the same identifiers.
 */
#ifndef COINST_RESOURCE_H
#define COINST_RESOURCE_H

/* Dialog templates */
#define IDD_WIRELESS_NETWORKS 1003 /* "Wireless Networks" page */
#define IDD_NETWORK_PROPERTIES 1004 /* "Wireless Network Properties" */
#define IDD_PROFILE_MANAGEMENT 1005 /* "Network Profile Management" */
#define IDD_WIRELESS_ADVANCED 1008 /* "Wireless Advanced" page */

/* Icons and bitmaps */
#define IDI_ADAPTER 129
#define IDI_LIST_FIRST 131 /* list icons 131 to 158, image list index = id - 131 */
#define IDI_LIST_LAST 158
#define IDB_ARROW_UP 105
#define IDB_ARROW_DOWN 106

/* Wireless Networks page (1003) and the management dialog (1005) */
#define IDC_SHOW_FILTER 2050
#define IDC_AVAILABLE_LIST 2051
#define IDC_REFRESH 2052
#define IDC_SCAN_EDIT 2053
#define IDC_PREFERRED_LIST 2054
#define IDC_MOVE_UP 2055
#define IDC_MOVE_DOWN 2056
#define IDC_ADD 2057
#define IDC_ACTIVATE 2059
#define IDC_REMOVE 2060
#define IDC_NETWORKS_HELP 2062
#define IDC_PREFERRED_EDIT 2160
#define IDC_MGMT_ADAPTER_NAME 2163
#define IDC_MGMT_ALL_LIST 2164
#define IDC_MGMT_ADD 2165
#define IDC_MGMT_REMOVE 2166
#define IDC_MGMT_CREATE 2167
#define IDC_MGMT_DELETE 2168
#define IDC_MGMT_EDIT 2169
#define IDC_MGMT_HELP 2197
#define IDC_MGMT_CLOSE 8
#define IDC_HUNT_RESTART 2313
#define IDC_HUNT_ENABLE 2316

/* Wireless Network Properties (1004) */
#define IDC_PROFILE_NAME 2201
#define IDC_NETWORK_NAME 2202
#define IDC_CONNECTION_MODE 2203
#define IDC_COUNTRY 2204 /* also the Advanced page's country box */
#define IDC_TRANSMIT_BAND 2205
#define IDC_CHANNEL_5GHZ 2206
#define IDC_CHANNEL_2GHZ 2207
#define IDC_KEY_INDEX 2208
#define IDC_KEY 2209
#define IDC_KEY_CONFIRM 2210
#define IDC_AUTHENTICATION 2211
#define IDC_PROPERTIES_HELP 2251

/* Wireless Advanced page (1008) */
#define IDC_THIRD_PARTY 2314 /* also on the Wireless Networks page */
#define IDC_POWER_MANAGEMENT 2061
#define IDC_SYSTEM_SCALE 2248
#define IDC_TX_POWER 2249
#define IDC_RATE_LABEL_FIRST 2212 /* 2212 to 2223 */
#define IDC_RATE5_FIRST 2224      /* 2224 to 2235, bit = id - 2224 */
#define IDC_RATE24_FIRST 2236     /* 2236 to 2247, bit = id - 2236 */
#define IDC_RATE5_LABEL 2310
#define IDC_RATE24_LABEL 2311
#define IDC_ADVANCED_HELP 2312
#define IDC_LONG_PREAMBLE 2315
#define IDC_ALLOW_11G_IBSS 2317
#define IDC_DEFAULT 2250

/* Strings */
#define IDS_WIRELESS_NETWORKS 3000
#define IDS_WIRELESS_ADVANCED 3001
#define IDS_ENCRYPTION_DISABLED 3002 /* 3003 to 3006: "1" to "4" */
#define IDS_CHANNEL_AUTO 3010
#define IDS_POWER_DISABLED 3031
#define IDS_POWER_AUTOMATIC 3032
#define IDS_POWER_OS_CONTROLLED 3033
#define IDS_INVALID_KEY 3036
#define IDS_NETWORK_PROPERTIES 3037
#define IDS_SCALE_FIRST 3099 /* 3099 to 3103: "Large" to "Microcell" */
#define IDS_HELP_NONE 3116
#define IDS_LABEL_THIRD_PARTY 3189
#define IDS_CHOOSE_LOCATION 3190
#define IDS_NO_COUNTRIES 3191
#define IDS_LABEL_LONG_PREAMBLE 3192
#define IDS_LABEL_11G_IBSS 3193

#endif
