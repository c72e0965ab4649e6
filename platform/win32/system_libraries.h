// Functions of system libraries that are not on Windows' KnownDLLs list.
// They are loaded from the system directory only, never from the program
// folder, so a stray DLL beside the program cannot be picked up.
#pragma once

#include <windows.h>

namespace tavrel::win32 {

// Keeps the program folder and the current directory out of every later
// library search. Call first thing.
void hardenLibrarySearch();

// winmm's sndPlaySoundW (with SND_MEMORY, `path` is the sound itself); false
// when winmm is unavailable.
bool playSoundFile(const wchar_t* path, UINT flags);

// `name` loaded from the system directory by its full path: the way when
// the system refuses LOAD_LIBRARY_SEARCH_SYSTEM32. Null when it cannot be.
HMODULE systemLibraryByFullPath(const wchar_t* name);

// winmm's timeBeginPeriod(1) and timeEndPeriod(1); false when winmm is
// unavailable.
bool beginFineTimer();
bool endFineTimer();

// comctl32's InitCommonControlsEx for the tool-tip class.
bool initToolTips();

}  // namespace tavrel::win32
