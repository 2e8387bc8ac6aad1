// KSOwned: what every holder of a system resource does. It owns one value of
// the resource and gives it back to the system when it goes, when Reset puts
// another in its place, and when a moved-in holder replaces it. A holder is
// KSOwned with a traits class that says what the value is and how it goes:
//
//   struct Traits {
//     using Value = HANDLE;
//     static Value None();           // what an empty holder holds
//     static bool IsValid(Value);    // whether a value is something to free
//     static void Free(Value);
//   };
//
// The holders: KSHandle, KSFindHandle, KSMappedView, KSCoTaskMem and
// KSComPtr here in foundation, KSSocket in net, KSGdiObj in platform.
#pragma once

template <typename Traits>
class KSOwned {
 public:
  using Value = typename Traits::Value;

  KSOwned() : mValue(Traits::None()) {}
  explicit KSOwned(Value inValue) : mValue(inValue) {}
  ~KSOwned() { Reset(); }

  KSOwned(const KSOwned&) = delete;
  KSOwned& operator=(const KSOwned&) = delete;
  KSOwned(KSOwned&& ioOther) noexcept : mValue(ioOther.Release()) {}
  KSOwned& operator=(KSOwned&& ioOther) noexcept {
    if (this != &ioOther) {
      Reset(ioOther.Release());
    }
    return *this;
  }

  Value Get() const { return mValue; }
  bool IsValid() const { return Traits::IsValid(mValue); }
  explicit operator bool() const { return IsValid(); }

  // Frees the value held so far and takes inValue.
  void Reset(Value inValue = Traits::None()) {
    if (IsValid()) {
      Traits::Free(mValue);
    }
    mValue = inValue;
  }

  // Gives the value up without freeing it.
  Value Release() {
    Value value = mValue;
    mValue = Traits::None();
    return value;
  }

  // For calls that hand a value out through a pointer: frees the value held
  // so far and gives the place for the new one.
  Value* Receive() {
    Reset();
    return &mValue;
  }

 private:
  Value mValue;
};
