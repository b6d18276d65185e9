#pragma once

#include <windows.h>

// The system's slim lock, for std::lock_guard. std::mutex would do the same
// here, but with this compiler it is a POSIX mutex emulation that reports
// failure as std::system_error, and both are linked into the exe.
class SlimLock {
 public:
  SlimLock() = default;
  SlimLock(const SlimLock&) = delete;
  SlimLock& operator=(const SlimLock&) = delete;

  void lock() { AcquireSRWLockExclusive(&lock_); }
  void unlock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};
