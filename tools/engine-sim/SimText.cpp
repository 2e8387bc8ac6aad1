#include "engine-sim/SimText.h"

#include <windows.h>

std::wstring WideText(const UtilStr& inText) {
  int len = MultiByteToWideChar(CP_UTF8, 0, inText.getCStr(), inText.length(), nullptr, 0);
  std::wstring wide(size_t(len), L'\0');
  if (len > 0) {
    MultiByteToWideChar(CP_UTF8, 0, inText.getCStr(), inText.length(), &wide[0], len);
  }
  return wide;
}

UtilStr Utf8Text(const wchar_t* inText, long inLen) {
  if (inLen < 0) {
    inLen = long(wcslen(inText));
  }
  int len = WideCharToMultiByte(CP_UTF8, 0, inText, int(inLen), nullptr, 0, nullptr, nullptr);
  UtilStr text;
  if (len > 0) {
    std::string bytes(size_t(len), '\0');
    WideCharToMultiByte(CP_UTF8, 0, inText, int(inLen), &bytes[0], len, nullptr, nullptr);
    text.Assign(bytes.data(), len);
  }
  return text;
}
