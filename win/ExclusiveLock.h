// Holds a slim reader/writer lock exclusively for a scope.
#pragma once
#include <windows.h>

class TExclusiveLock {
 public:
  explicit TExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~TExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
  TExclusiveLock(const TExclusiveLock&) = delete;
  TExclusiveLock& operator=(const TExclusiveLock&) = delete;

 private:
  SRWLOCK& lock_;
};
