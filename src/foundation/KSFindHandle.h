// Owns the search handle of a directory listing (FindFirstFile) and ends the
// search (FindClose) when it goes. Null and INVALID_HANDLE_VALUE, the failure
// value of FindFirstFile, both mean "none". Windows only.
#pragma once

#include <windows.h>

class KSFindHandle {
 public:
  KSFindHandle() : mSearch(INVALID_HANDLE_VALUE) {}
  explicit KSFindHandle(HANDLE inSearch) : mSearch(inSearch) {}
  ~KSFindHandle() { Reset(); }

  KSFindHandle(const KSFindHandle&) = delete;
  KSFindHandle& operator=(const KSFindHandle&) = delete;

  HANDLE Get() const { return mSearch; }
  bool IsValid() const { return mSearch != nullptr && mSearch != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return IsValid(); }

  // Ends the search held so far and takes inSearch.
  void Reset(HANDLE inSearch = INVALID_HANDLE_VALUE) {
    if (IsValid()) {
      FindClose(mSearch);
    }
    mSearch = inSearch;
  }

 private:
  HANDLE mSearch;
};
