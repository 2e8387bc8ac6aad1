#include "platform/KSWideText.h"

#include <cstring>
#include <cwchar>

#include "foundation/KSUnicode.h"
#include "foundation/UtilStr.h"

static_assert(sizeof(wchar_t) == sizeof(uint16), "the wide platform calls take UTF-16");

KSWideText::KSWideText(const char* inText, long inLen) {
  if (inText == nullptr) {
    return;
  }
  if (inLen < 0) {
    inLen = static_cast<long>(std::strlen(inText));
  }
  const uint8* src = reinterpret_cast<const uint8*>(inText);
  int units = KSEncodeAsUTF16(src, static_cast<int>(inLen), kKSEncodingUTF8, nullptr, 0, false);
  if (units <= 0) {
    return;
  }
  mText.resize(static_cast<size_t>(units));
  int written = KSEncodeAsUTF16(src, static_cast<int>(inLen), kKSEncodingUTF8,
                                reinterpret_cast<uint16*>(&mText[0]), units, false);
  mText.resize(static_cast<size_t>(written > 0 ? written : 0));
}

void KSWideText::ToUTF8(const wchar_t* inText, long inLen, UtilStr* outText) {
  outText->Clear();
  if (inText == nullptr) {
    return;
  }
  if (inLen < 0) {
    inLen = static_cast<long>(std::wcslen(inText));
  }
  const uint16* src = reinterpret_cast<const uint16*>(inText);
  int bytes = KSEncodeAsUTF8(src, static_cast<int>(inLen), nullptr, 0, false);
  if (bytes <= 0) {
    return;
  }
  outText->Append(nullptr, bytes);
  int written = KSEncodeAsUTF8(src, static_cast<int>(inLen),
                               reinterpret_cast<uint8*>(outText->WritablePtr()), bytes, false);
  outText->TruncR(bytes - written);
}
