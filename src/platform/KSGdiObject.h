// Owners for GDI resources, so that every font, brush, pen, bitmap, region
// and drawing context the window code makes is released on every path:
//   KSGdiObj<HFONT>  deletes a GDI object (DeleteObject);
//   KSMemDC          a memory drawing context (DeleteDC);
//   KSWindowDC       a window's or the screen's context (ReleaseDC);
//   KSPaintDC        the context of a WM_PAINT (BeginPaint, EndPaint);
//   KSSelectObj      selects an object into a context for the rest of the
//                    scope and puts the previous one back.
// Declare a KSSelectObj after the owners of both its context and its object,
// so that it is undone before either goes.
#pragma once

#include <windows.h>

#include "foundation/KSOwned.h"

template <typename T>
struct KSGdiObjTraits {
  using Value = T;
  static T None() { return nullptr; }
  static bool IsValid(T inObj) { return inObj != nullptr; }
  static void Free(T inObj) { DeleteObject(inObj); }
};

// Release gives the object up without deleting it (for example to a window
// that takes ownership of a region in SetWindowRgn).
template <typename T>
using KSGdiObj = KSOwned<KSGdiObjTraits<T>>;

struct KSMemDCTraits {
  using Value = HDC;
  static HDC None() { return nullptr; }
  static bool IsValid(HDC inDC) { return inDC != nullptr; }
  static void Free(HDC inDC) { DeleteDC(inDC); }
};

class KSMemDC : public KSOwned<KSMemDCTraits> {
 public:
  // A memory context compatible with inDC (null: with the screen).
  explicit KSMemDC(HDC inDC) : KSOwned(CreateCompatibleDC(inDC)) {}
};

class KSWindowDC {
 public:
  // The context of inWind's client area (null: of the screen).
  explicit KSWindowDC(HWND inWind) : mWind(inWind), mDC(GetDC(inWind)) {}
  ~KSWindowDC() {
    if (mDC != nullptr) {
      ReleaseDC(mWind, mDC);
    }
  }

  KSWindowDC(const KSWindowDC&) = delete;
  KSWindowDC& operator=(const KSWindowDC&) = delete;

  HDC Get() const { return mDC; }
  explicit operator bool() const { return mDC != nullptr; }

 private:
  HWND mWind;
  HDC mDC;
};

class KSPaintDC {
 public:
  // Begins painting inWind: the context is clipped to what needs painting.
  explicit KSPaintDC(HWND inWind) : mWind(inWind), mPaint(), mDC(BeginPaint(inWind, &mPaint)) {}
  ~KSPaintDC() {
    if (mDC != nullptr) {
      EndPaint(mWind, &mPaint);
    }
  }

  KSPaintDC(const KSPaintDC&) = delete;
  KSPaintDC& operator=(const KSPaintDC&) = delete;

  HDC Get() const { return mDC; }

 private:
  HWND mWind;
  PAINTSTRUCT mPaint;
  HDC mDC;
};

class KSSelectObj {
 public:
  // Selects inObj into inDC; a null object or context selects nothing.
  KSSelectObj(HDC inDC, HGDIOBJ inObj)
      : mDC(inDC),
        mOld(inDC != nullptr && inObj != nullptr ? SelectObject(inDC, inObj) : nullptr) {}
  ~KSSelectObj() {
    if (mOld != nullptr && mOld != HGDI_ERROR) {
      SelectObject(mDC, mOld);
    }
  }

  KSSelectObj(const KSSelectObj&) = delete;
  KSSelectObj& operator=(const KSSelectObj&) = delete;

 private:
  HDC mDC;
  HGDIOBJ mOld;
};
