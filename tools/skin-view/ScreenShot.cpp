#include "skin-view/ScreenShot.h"

#include <windows.h>

#include <string>

#include "files/KSFile.h"
#include "foundation/KSError.h"
#include "platform/KSGdiObject.h"
#include "platform/KSLastError.h"

namespace {

// The BMP file of 24-bit bottom-up rows as a DIB section holds them.
std::string BmpBytes(const BITMAPINFOHEADER& inHeader, const void* inRows, DWORD inRowBytes) {
  DWORD imageBytes = inRowBytes * DWORD(inHeader.biHeight);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(inHeader);
  file.bfSize = file.bfOffBits + imageBytes;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&inHeader), sizeof(inHeader));
  bytes.append(static_cast<const char*>(inRows), imageBytes);
  return bytes;
}

}  // namespace

long WriteScreenShot(const KSRect& inArea, const KSFileSpec& inFile) {
  long width = inArea.right - inArea.left;
  long height = inArea.bottom - inArea.top;
  if (width <= 0 || height <= 0) {
    return kKSErr_Param;
  }
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(info.bmiHeader), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  KSWindowDC screen(nullptr);
  KSMemDC memory(screen.Get());
  void* rows = nullptr;
  KSGdiObj<HBITMAP> bitmap(
      CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &rows, nullptr, 0));
  if (!screen || !memory || !bitmap) {
    return KSLastError();
  }
  {
    KSSelectObj select(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), inArea.left, inArea.top,
                SRCCOPY)) {
      return KSLastError();
    }
    GdiFlush();
  }
  DWORD rowBytes = DWORD((width * 3 + 3) / 4 * 4);
  std::string bytes = BmpBytes(info.bmiHeader, rows, rowBytes);
  return KSFile::WriteFile(inFile, bytes.data(), long(bytes.size()));
}
