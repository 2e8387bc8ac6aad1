// cBaseImage owns one BMP picture: it loads it, keys one colour out as
// transparent, draws it onto a drawing context and gives the region of its
// opaque pixels (a window shape).
#pragma once

#include <windows.h>

#include <memory>

#include "platform/KSGdiObject.h"
#include "platform/WinImage.h"

class cStream;

class cBaseImage {
 public:
  cBaseImage();
  virtual ~cBaseImage();
  cBaseImage(const cBaseImage&) = delete;
  cBaseImage& operator=(const cBaseImage&) = delete;

  // Loads a BMP file (UTF-8 path), replacing the picture held so far. On
  // failure nothing is held.
  long LoadFile(const char* inPath);
  long LoadStream(cStream* inStream);

  // 0 when nothing is loaded.
  long Width() const;
  long Height() const;

  // Keys one colour out of every later drawing, or switches transparency off
  // when all three are 0. Only 8-, 24- and 32-bit pictures can be keyed.
  long MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue);

  // Draws the whole picture at (inX, inY), transparently when a colour is
  // keyed out.
  long BitBlt(HDC inDC, long inX, long inY);

  // The region of the opaque pixels; none unless a colour is keyed out.
  KSGdiObj<HRGN> GetRegion() const;

  // Transparent drawing is composed off-screen first (the default), so that
  // its raster passes never show.
  void SetDoubleBuffer(bool inOn) { mDoubleBuffer = inOn; }

 protected:
  void Free();
  void TransparencyOff();
  long KeyColor(uint32 inKey);
  long DrawOpaque(HDC inDC, long inX, long inY) const;
  long DrawKeyed(HDC inDC, long inX, long inY) const;
  long DrawKeyedPasses(HDC inDC, long inX, long inY) const;

  std::unique_ptr<WinImage> mImage;
  bool mTransparent;
  bool mDoubleBuffer;
};
