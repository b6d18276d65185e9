#pragma once

#include <objbase.h>

// COM set up on the calling thread for the length of a scope, in the
// single-threaded apartment that OLE's picture loading and the shell want on
// the thread that calls them. A thread where it could not be set up goes on
// without it; the calls that need it then fail on their own.
class ComSession {
 public:
  ComSession()
      : initialised_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ~ComSession() {
    if (initialised_) CoUninitialize();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;

 private:
  bool initialised_;
};
