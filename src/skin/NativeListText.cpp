#include "skin/NativeListText.h"

#include <cstring>

#include "foundation/KSError.h"
#include "foundation/KSUnicode.h"
#include "foundation/UtilStr.h"
#include "platform/BaseStrings.h"
#include "platform/KSWideText.h"

namespace {

const int kMaxConvertedChars = 255;

bool IsSevenBit(const char* inText) {
  for (const char* at = inText; *at != 0; ++at) {
    if ((*at & 0x80) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::wstring NativeItemText(const char* inText) {
  if (inText == nullptr) {
    return std::wstring();
  }
  if (IsSevenBit(inText)) {
    return std::wstring(inText, inText + strlen(inText));
  }
  uint16 units[kMaxConvertedChars];
  int count = KSEncodeAsUTF16(reinterpret_cast<const uint8*>(inText), -1, kKSEncodingUTF8, units,
                              kMaxConvertedChars, false);
  if (count > 0 && units[count - 1] >= 0xD800 && units[count - 1] <= 0xDBFF) {
    count--;  // the cut fell inside a pair
  }
  return std::wstring(units, units + count);
}

long ReadNativeItem(HWND inWind, UINT inLengthMsg, UINT inTextMsg, long inIndex, char* outText,
                    unsigned long inSize, long inMaxChars) {
  if (outText == nullptr || inSize == 0) {
    return kKSErr_Param;
  }
  *outText = 0;
  LRESULT length = SendMessageW(inWind, inLengthMsg, WPARAM(inIndex), 0);
  if (length < 0) {
    return kKSErr_IndexOutOfBounds;
  }
  if (inMaxChars > 0 && length >= inMaxChars) {
    return 0;
  }
  std::wstring item(size_t(length) + 1, L'\0');
  LRESULT read = SendMessageW(inWind, inTextMsg, WPARAM(inIndex), LPARAM(&item[0]));
  if (read < 0) {
    return kKSErr_IndexOutOfBounds;
  }
  UtilStr text;
  KSWideText::ToUTF8(item.c_str(), long(read), &text);
  BaseCopyWholeChars(text, outText, long(inSize) - 1);
  return 0;
}
