// Owns a view of a file mapping (MapViewOfFile) and unmaps it when it goes.
// The view keeps its mapping's content alive on its own, so it may outlive
// the mapping's handle. Windows only.
#pragma once

#include <windows.h>

class KSMappedView {
 public:
  KSMappedView() : mView(nullptr) {}
  explicit KSMappedView(void* inView) : mView(inView) {}
  ~KSMappedView() { Reset(); }

  KSMappedView(const KSMappedView&) = delete;
  KSMappedView& operator=(const KSMappedView&) = delete;
  KSMappedView(KSMappedView&& ioOther) noexcept : mView(ioOther.mView) { ioOther.mView = nullptr; }
  KSMappedView& operator=(KSMappedView&& ioOther) noexcept {
    if (this != &ioOther) {
      Reset(ioOther.mView);
      ioOther.mView = nullptr;
    }
    return *this;
  }

  void* Get() const { return mView; }
  explicit operator bool() const { return mView != nullptr; }

  // Unmaps the view held so far and takes inView.
  void Reset(void* inView = nullptr) {
    if (mView != nullptr) {
      UnmapViewOfFile(mView);
    }
    mView = inView;
  }

 private:
  void* mView;
};
