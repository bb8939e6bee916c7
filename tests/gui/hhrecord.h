/* What the recording stand-in of the HTML Help control was handed. */
#ifndef HHRECORD_H
#define HHRECORD_H

#include <windows.h>

#define HH_RECORD_MAX 16

typedef struct {
    HWND owner;
    UINT command;
    char file[MAX_PATH];
    char topic[64];
} HhCall;

typedef int(WINAPI *HhRecordGetFn)(HhCall *calls, int max);

#endif
