#include "skin-view/ScreenShot.h"

#include <string>

#include "files/KSFile.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

namespace {

BITMAPINFOHEADER HeaderOf(long inWidth, long inHeight) {
  return BITMAPINFOHEADER{
      sizeof(BITMAPINFOHEADER), inWidth, inHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
}

HBITMAP MakeRows(HDC inDC, const BITMAPINFOHEADER& inHeader, void** outRows) {
  BITMAPINFO info = {};
  info.bmiHeader = inHeader;
  return inHeader.biWidth > 0 && inHeader.biHeight > 0
             ? CreateDIBSection(inDC, &info, DIB_RGB_COLORS, outRows, nullptr, 0)
             : nullptr;
}

}  // namespace

ScreenShot::ScreenShot(long inWidth, long inHeight)
    : mHeader(HeaderOf(inWidth, inHeight)),
      mRows(nullptr),
      mDC(nullptr),
      mBitmap(MakeRows(mDC.Get(), mHeader, &mRows)),
      mSelect(mDC.Get(), mBitmap.Get()) {
  if (!mBitmap) {
    mRows = nullptr;
  }
}

long ScreenShot::Grab(const KSRect& inArea, long inX, long inY) {
  KSWindowDC screen(nullptr);
  if (!IsValid() || !screen) {
    return kKSErr_BadState;
  }
  BOOL copied = BitBlt(mDC.Get(), inX, inY, inArea.right - inArea.left, inArea.bottom - inArea.top,
                       screen.Get(), inArea.left, inArea.top, SRCCOPY);
  GdiFlush();
  return copied ? 0 : KSLastError();
}

long ScreenShot::Write(const KSFileSpec& inFile) const {
  if (!IsValid()) {
    return kKSErr_BadState;
  }
  DWORD imageBytes = DWORD((mHeader.biWidth * 3 + 3) / 4 * 4) * DWORD(mHeader.biHeight);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(mHeader);
  file.bfSize = file.bfOffBits + imageBytes;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&mHeader), sizeof(mHeader));
  bytes.append(static_cast<const char*>(mRows), imageBytes);
  return KSFile::WriteFile(inFile, bytes.data(), long(bytes.size()));
}
