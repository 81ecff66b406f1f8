// Loads winmm and wtsapi32 from System32 alone (see system_dll.h).
#include "platform/win32/system_dll.h"

namespace platform {
namespace {

// One DLL from System32, its functions taken by name: all of them or none.
class SystemDll {
 public:
  explicit SystemDll(const wchar_t* name)
      : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

  template <class Function>
  void Take(Function*& slot, const char* name) {
    const FARPROC address = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
    // Through the generic function pointer type, which any other converts
    // from without a warning.
    slot = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(address));
    complete_ = complete_ && address != nullptr;
  }

  bool Complete() const { return module_ != nullptr && complete_; }

 private:
  HMODULE module_;
  bool complete_ = true;
};

}  // namespace

const Winmm& WinmmFunctions() {
  static const Winmm functions = [] {
    Winmm f;
    SystemDll dll(L"winmm.dll");
    dll.Take(f.waveOutGetNumDevs, "waveOutGetNumDevs");
    dll.Take(f.waveOutOpen, "waveOutOpen");
    dll.Take(f.waveOutPrepareHeader, "waveOutPrepareHeader");
    dll.Take(f.waveOutWrite, "waveOutWrite");
    dll.Take(f.waveOutReset, "waveOutReset");
    dll.Take(f.waveOutUnprepareHeader, "waveOutUnprepareHeader");
    dll.Take(f.waveOutClose, "waveOutClose");
    dll.Take(f.waveOutGetErrorTextA, "waveOutGetErrorTextA");
    dll.Take(f.midiOutGetNumDevs, "midiOutGetNumDevs");
    dll.Take(f.midiOutOpen, "midiOutOpen");
    dll.Take(f.midiOutShortMsg, "midiOutShortMsg");
    dll.Take(f.midiOutLongMsg, "midiOutLongMsg");
    dll.Take(f.midiOutPrepareHeader, "midiOutPrepareHeader");
    dll.Take(f.midiOutUnprepareHeader, "midiOutUnprepareHeader");
    dll.Take(f.midiOutReset, "midiOutReset");
    dll.Take(f.midiOutClose, "midiOutClose");
    dll.Take(f.midiOutGetErrorTextA, "midiOutGetErrorTextA");
    dll.Take(f.midiOutSetVolume, "midiOutSetVolume");
    dll.Take(f.timeBeginPeriod, "timeBeginPeriod");
    dll.Take(f.timeEndPeriod, "timeEndPeriod");
    return dll.Complete() ? f : Winmm{};
  }();
  return functions;
}

const Wtsapi& WtsapiFunctions() {
  static const Wtsapi functions = [] {
    Wtsapi f;
    SystemDll dll(L"wtsapi32.dll");
    dll.Take(f.WTSRegisterSessionNotification, "WTSRegisterSessionNotification");
    dll.Take(f.WTSUnRegisterSessionNotification, "WTSUnRegisterSessionNotification");
    return dll.Complete() ? f : Wtsapi{};
  }();
  return functions;
}

}  // namespace platform
