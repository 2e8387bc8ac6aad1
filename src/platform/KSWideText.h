// Conversions between the system's UTF-8 text and the UTF-16 text of the wide
// platform calls.
#pragma once

#include <string>

class UtilStr;

class KSWideText {
 public:
  // inLen < 0: up to the NUL. A null text gives an empty one. Malformed UTF-8
  // bytes are dropped.
  explicit KSWideText(const char* inText, long inLen = -1);

  const wchar_t* Get() const { return mText.c_str(); }
  int Length() const { return static_cast<int>(mText.size()); }
  bool IsEmpty() const { return mText.empty(); }

  // inLen < 0: up to the NUL. Replaces outText.
  static void ToUTF8(const wchar_t* inText, long inLen, UtilStr* outText);

 private:
  std::wstring mText;
};
