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
  // when all three are 0. Only 8- and 24-bit pictures can be keyed.
  long MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue);

  // Draws the whole picture at (inX, inY), transparently when a colour is
  // keyed out. Every pixel is written once, with its final value: there are
  // no intermediate passes that could show.
  long BitBlt(HDC inDC, long inX, long inY);

  // The region of the opaque pixels; none unless a colour is keyed out.
  KSGdiObj<HRGN> GetRegion() const;

 protected:
  void Free();
  long MakeOpaqueRegion();
  long MakeSurface();
  long ClipToOpaquePixels(HDC inDC, long inX, long inY);

  std::unique_ptr<WinImage> mImage;
  bool mTransparent;
};
