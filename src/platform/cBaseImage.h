// cBaseImage owns one BMP picture: it loads it, keys one colour out as
// transparent, draws it onto a drawing context and gives the region of its
// opaque pixels (a window shape). Pixels of a 32-bit picture whose alpha is 0
// are see-through as well, keyed colour or not; other alpha values are drawn
// opaque.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/KSGdiObject.h"
#include "platform/KSRGBA.h"
#include "platform/WinImage.h"

class cStream;
class UtilStr;

class cBaseImage {
 public:
  cBaseImage();
  virtual ~cBaseImage();
  cBaseImage(const cBaseImage&) = delete;
  cBaseImage& operator=(const cBaseImage&) = delete;

  // Loads a BMP file (UTF-8 path), replacing the picture held so far. On
  // failure nothing is held, and outWhy (when given) says what is wrong with
  // a file that was read but refused.
  long LoadFile(const char* inPath, UtilStr* outWhy = nullptr);
  long LoadStream(cStream* inStream, UtilStr* outWhy = nullptr);

  // 0 when nothing is loaded.
  long Width() const;
  long Height() const;

  // Keys one colour out of every later drawing, or switches the keyed colour
  // off when all three are 0.
  long MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue);

  // Draws the whole picture at (inX, inY), transparently when a colour is
  // keyed out. Every pixel is written once, with its final value: there are
  // no intermediate passes that could show.
  long BitBlt(HDC inDC, long inX, long inY);
  // The same, each drawn pixel half the picture's and half inToward: the
  // look of a control that cannot be used, faded into its background.
  long BitBltDimmed(HDC inDC, long inX, long inY, const KSRGBA& inToward);

  // The region of the opaque pixels: the whole picture when nothing is left
  // out; none without a picture.
  KSGdiObj<HRGN> GetRegion() const;

 protected:
  void Free();
  long MakeOpaqueRegion();
  long MakeSurface();
  long ClipToOpaquePixels(HDC inDC, long inX, long inY);
  // BitBlt's work; with inToward, dimmed towards it.
  long Draw(HDC inDC, long inX, long inY, const KSRGBA* inToward);
  long DrawDimmed(HDC inDC, long inX, long inY, HDC inSource, const KSRGBA& inToward);

  std::unique_ptr<WinImage> mImage;
  bool mTransparent;
};
