// Functions of system libraries that are not on Windows' KnownDLLs list.
// They are loaded from the system directory only, never from the program
// folder, so a stray DLL beside the program cannot be picked up.
#pragma once

#include <windows.h>

namespace tavrel::win32 {

// Keeps the program folder and the current directory out of every later
// library search. Call first thing.
void hardenLibrarySearch();

// winmm's sndPlaySoundA; false when winmm is unavailable.
bool playSoundFile(const char* path, UINT flags);

// winmm's timeBeginPeriod(1) and timeEndPeriod(1); false when winmm is
// unavailable.
bool beginFineTimer();
bool endFineTimer();

// comctl32's InitCommonControlsEx for the tool-tip class.
bool initToolTips();

}  // namespace tavrel::win32
