/*
 * The demo's story on an adapter's sheet (devprops --story): the Wireless
 * Networks page driven as a person would use it, on a thread of its own.
 */
#ifndef DEVSETUP_STORY_H
#define DEVSETUP_STORY_H

#include <windows.h>

#include "wlbuffers.h"

struct StoryOptions {
    const char *profile; /* the profile the story creates */
    const char *ssid;    /* its network */
    bool keepOpen;       /* leave the sheet for a person afterwards */
    bool (*shot)(HWND sheet); /* screenshot after the activation, or NULL */
};

#include <string>
#include <vector>

/* Titles of a property sheet's pages, in order. */
std::vector<std::string> PageTitles(HWND sheet);

/* Starts the story on the sheet that this thread's message loop serves;
 * *rc receives its result (0 when every step worked) once the thread has
 * ended. Unless keepOpen, the story closes the sheet with OK. */
HANDLE StartStory(HWND sheet, const StoryOptions &o, int **rc);

#endif
