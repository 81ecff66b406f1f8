// The functions the Win32 backend takes from Windows DLLs that are not among
// Windows' known DLLs: winmm (sound, MIDI, the timer period) and wtsapi32
// (the session's lock). Private to the Win32 backend.
//
// The loader looks for a DLL the program imports in the program's own folder
// before System32, unless it is a known DLL, so a winmm.dll left in the
// Downloads folder beside the unpacked game would run inside it. The exe
// therefore imports known DLLs alone, and these two are loaded here from
// System32 and nowhere else (LoadLibraryExW with
// LOAD_LIBRARY_SEARCH_SYSTEM32), on first use.
#pragma once

#include <windows.h>
// (windows.h first: these need its types.)
#include <mmsystem.h>
#include <wtsapi32.h>

namespace platform {

// winmm.dll's functions; every one null when the DLL or any of them is
// missing.
struct Winmm {
  decltype(&::waveOutGetNumDevs) waveOutGetNumDevs = nullptr;
  decltype(&::waveOutOpen) waveOutOpen = nullptr;
  decltype(&::waveOutPrepareHeader) waveOutPrepareHeader = nullptr;
  decltype(&::waveOutWrite) waveOutWrite = nullptr;
  decltype(&::waveOutReset) waveOutReset = nullptr;
  decltype(&::waveOutUnprepareHeader) waveOutUnprepareHeader = nullptr;
  decltype(&::waveOutClose) waveOutClose = nullptr;
  decltype(&::waveOutGetErrorTextA) waveOutGetErrorTextA = nullptr;
  decltype(&::midiOutGetNumDevs) midiOutGetNumDevs = nullptr;
  decltype(&::midiOutOpen) midiOutOpen = nullptr;
  decltype(&::midiOutShortMsg) midiOutShortMsg = nullptr;
  decltype(&::midiOutLongMsg) midiOutLongMsg = nullptr;
  decltype(&::midiOutPrepareHeader) midiOutPrepareHeader = nullptr;
  decltype(&::midiOutUnprepareHeader) midiOutUnprepareHeader = nullptr;
  decltype(&::midiOutReset) midiOutReset = nullptr;
  decltype(&::midiOutClose) midiOutClose = nullptr;
  decltype(&::midiOutGetErrorTextA) midiOutGetErrorTextA = nullptr;
  decltype(&::midiOutSetVolume) midiOutSetVolume = nullptr;
  decltype(&::timeBeginPeriod) timeBeginPeriod = nullptr;
  decltype(&::timeEndPeriod) timeEndPeriod = nullptr;
  bool Loaded() const { return waveOutGetNumDevs != nullptr; }
};
const Winmm& WinmmFunctions();

// wtsapi32.dll's functions, the same way.
struct Wtsapi {
  decltype(&::WTSRegisterSessionNotification) WTSRegisterSessionNotification = nullptr;
  decltype(&::WTSUnRegisterSessionNotification) WTSUnRegisterSessionNotification = nullptr;
  bool Loaded() const { return WTSRegisterSessionNotification != nullptr; }
};
const Wtsapi& WtsapiFunctions();

}  // namespace platform
