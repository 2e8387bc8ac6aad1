#include "foundation/ArgList.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "foundation/UtilStr.h"

namespace {

// Value types, kept in the user bits of each entry's flags.
enum {
  kArgTypeStr = 1,
  kArgTypeFloat = 2,
  kArgTypeInt = 4,
  kArgTypeMask = kArgTypeStr | kArgTypeFloat | kArgTypeInt
};

// Integers and float bits travel in the entry's pointer-sized value slot.
void* PackInt(long inValue) {
  return reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32>(inValue)));
}

int32 UnpackInt(const void* inSlot) {
  return static_cast<int32>(reinterpret_cast<intptr_t>(inSlot));
}

void* PackFloat(float inValue) {
  uint32 bits;
  std::memcpy(&bits, &inValue, sizeof bits);
  return reinterpret_cast<void*>(static_cast<uintptr_t>(bits));
}

float UnpackFloat(const void* inSlot) {
  uint32 bits = static_cast<uint32>(reinterpret_cast<uintptr_t>(inSlot));
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// A parsed number that does not fit a float becomes an infinity rather than
// an undefined conversion.
float ToSingle(double inValue) {
  if (std::isfinite(inValue) && std::fabs(inValue) > FLT_MAX) {
    return inValue > 0 ? HUGE_VALF : -HUGE_VALF;
  }
  return static_cast<float>(inValue);
}

// Truncation toward zero, saturating at the 32-bit range (NaN gives 0).
long TruncateToInt(float inValue) {
  if (std::isnan(inValue)) {
    return 0;
  }
  if (inValue >= 2147483647.0f) {
    return 2147483647L;
  }
  if (inValue <= -2147483648.0f) {
    return -2147483647L - 1;
  }
  return static_cast<long>(inValue);
}

bool IsBlank(char inChar) {
  return static_cast<uint8>(inChar) <= 32;
}

uint32 HashOf(long inKey) {
  return static_cast<uint32>(inKey);
}

// Walks the text form one entry at a time. Every read is bounded by the
// given length; NUL bytes inside it are blanks like any other control byte.
class ArgTextReader {
 public:
  ArgTextReader(const char* inText, long inLen) : mText(inText), mLen(inLen), mPos(0) {}

  // Skips blanks, commas and comments. False at the end of the text.
  bool SkipToEntry() {
    for (;;) {
      while (mPos < mLen && (IsBlank(mText[mPos]) || mText[mPos] == ',')) {
        mPos++;
      }
      if (!At("//") && !At("/*")) {
        return mPos < mLen;
      }
      if (At("//")) {
        while (mPos < mLen && mText[mPos] != '\r' && mText[mPos] != '\n') {
          mPos++;
        }
      } else {
        SkipBlockComment();
      }
    }
  }

  // Reads a key up to its '=' and steps past the '=' and the blanks after
  // it. False when the text ends before an '='.
  bool ReadKey(uint32* outCode) {
    uint32 code = 0;
    while (mPos < mLen && mText[mPos] != '=') {
      if (!IsBlank(mText[mPos])) {
        code = (code << 8) | static_cast<uint8>(mText[mPos]);
      }
      mPos++;
    }
    *outCode = code;
    if (mPos >= mLen) {
      return false;
    }
    mPos++;
    while (mPos < mLen && IsBlank(mText[mPos])) {
      mPos++;
    }
    return true;
  }

  // Reads the value (quotes included when quoted) and steps past one comma
  // right after it.
  void ReadValue(const char** outStart, long* outLen) {
    long start = mPos;
    if (mPos < mLen && mText[mPos] == '"') {
      SkipQuoted();
    } else {
      while (mPos < mLen && !IsBlank(mText[mPos]) && mText[mPos] != ',' && mText[mPos] != '/') {
        mPos++;
      }
    }
    *outStart = mText + start;
    *outLen = mPos - start;
    if (mPos < mLen && mText[mPos] == ',') {
      mPos++;
    }
  }

 private:
  bool At(const char* inTwoChars) const {
    return mPos + 1 < mLen && mText[mPos] == inTwoChars[0] && mText[mPos + 1] == inTwoChars[1];
  }

  void SkipBlockComment() {
    mPos += 2;
    while (mPos < mLen && !At("*/")) {
      mPos++;
    }
    mPos = mPos < mLen ? mPos + 2 : mLen;
  }

  // From the opening quote to just past the matching one (or the end).
  void SkipQuoted() {
    mPos++;
    while (mPos < mLen) {
      char c = mText[mPos];
      if (c == '\\') {
        mPos = mPos + 2 < mLen ? mPos + 2 : mLen;
      } else {
        mPos++;
        if (c == '"') {
          return;
        }
      }
    }
  }

  const char* mText;
  long mLen;
  long mPos;
};

struct ExportState {
  const char* mSeparator;
  UtilStr* mText;
};

// Writes one entry as key=value and the separator. Codes below 32 (negative
// ones included) are left out, and so are key bytes outside 32-127.
bool ExportEntry(const KEntry* inEntry, void* inState, void*) {
  const ExportState* state = static_cast<const ExportState*>(inState);
  int32 code = static_cast<int32>(inEntry->mKeyHash);
  if (code < 32) {
    return true;
  }
  UtilStr* text = state->mText;
  for (int shift = 24; shift >= 0; shift -= 8) {
    uint8 c = static_cast<uint8>(static_cast<uint32>(code) >> shift);
    if (c >= 32 && c <= 127) {
      text->AppendChar(static_cast<char>(c));
    }
  }
  text->AppendChar('=');
  switch (inEntry->mFlags & kArgTypeMask) {
    case kArgTypeInt:
      text->AppendInt(UnpackInt(inEntry->mValue));
      break;
    case kArgTypeFloat:
      text->AppendFloat(UnpackFloat(inEntry->mValue), 6);
      break;
    case kArgTypeStr: {
      const UtilStr* str = static_cast<const UtilStr*>(inEntry->mValue);
      text->AppendChar('"');
      text->AppendCStrEncoding(str->getCStr(), str->length(), kCStrEscapeAll);
      text->AppendChar('"');
      break;
    }
  }
  text->Append(state->mSeparator);
  return true;
}

}  // namespace

ArgList::ArgList() {}

ArgList::~ArgList() {}

long ArgList::KeyCode(const char* inKey, long inLen) {
  if (inKey == nullptr) {
    return 0;
  }
  if (inLen < 0) {
    inLen = static_cast<long>(std::strlen(inKey));
  }
  uint32 code = 0;
  for (long i = 0; i < inLen; i++) {
    code = (code << 8) | static_cast<uint8>(inKey[i]);
  }
  return static_cast<int32>(code);
}

void ArgList::SetArgs(const char* inText, long inLen) {
  if (inText == nullptr) {
    return;
  }
  if (inLen < 0) {
    inLen = static_cast<long>(std::strlen(inText));
  }
  ArgTextReader reader(inText, inLen);
  uint32 code;
  while (reader.SkipToEntry() && reader.ReadKey(&code)) {
    const char* value;
    long valueLen;
    reader.ReadValue(&value, &valueLen);
    StoreValue(static_cast<int32>(code), value, valueLen);
  }
}

void ArgList::StoreValue(long inKey, const char* inValue, long inLen) {
  if (inLen <= 0) {
    return;
  }
  int len = static_cast<int>(inLen);
  if (inValue[0] == '"') {
    UtilStr text;
    text.AppendCStrDecoding(inValue, len, true);
    SetStr(inKey, text);
  } else if (std::memchr(inValue, '.', inLen) != nullptr) {
    SetFloat(inKey, ToSingle(UtilStr::StrToFloat(inValue, len)));
  } else {
    SetInt(inKey, UtilStr::StrToInt(inValue, len));
  }
}

bool ArgList::GetInt(long inKey, long* outValue) const {
  void* slot = nullptr;
  unsigned long flags = mArgs.get(HashOf(inKey), nullptr, &slot);
  long value = 0;
  if (flags & kArgTypeInt) {
    value = UnpackInt(slot);
  } else if (flags & kArgTypeFloat) {
    value = TruncateToInt(UnpackFloat(slot));
  } else if (flags & kArgTypeStr) {
    const UtilStr* str = static_cast<const UtilStr*>(slot);
    value = UtilStr::StrToInt(str->getCStr(), str->length());
  }
  if (outValue != nullptr) {
    *outValue = value;
  }
  return flags != 0;
}

long ArgList::GetInt(long inKey) const {
  long value;
  GetInt(inKey, &value);
  return value;
}

bool ArgList::GetStr(long inKey, UtilStr* outStr) const {
  void* slot = nullptr;
  unsigned long flags = mArgs.get(HashOf(inKey), nullptr, &slot);
  if (flags & kArgTypeStr) {
    outStr->Assign(*static_cast<const UtilStr*>(slot));
    return true;
  }
  outStr->Clear();
  if (flags & kArgTypeInt) {
    outStr->AppendInt(UnpackInt(slot));
  } else if (flags & kArgTypeFloat) {
    outStr->AppendFloat(UnpackFloat(slot), 7);
  }
  return flags != 0;
}

const UtilStr* ArgList::GetStr(long inKey) const {
  void* slot = nullptr;
  unsigned long flags = mArgs.get(HashOf(inKey), nullptr, &slot);
  return (flags & kArgTypeStr) ? static_cast<const UtilStr*>(slot) : nullptr;
}

void ArgList::SetInt(long inKey, long inValue) {
  mArgs.put(HashOf(inKey), nullptr, PackInt(inValue), kArgTypeInt);
}

void ArgList::SetFloat(long inKey, float inValue) {
  mArgs.put(HashOf(inKey), nullptr, PackFloat(inValue), kArgTypeFloat);
}

void ArgList::SetStr(long inKey, const UtilStr& inStr) {
  void* slot = nullptr;
  unsigned long flags = mArgs.get(HashOf(inKey), nullptr, &slot);
  if (flags & kArgTypeStr) {
    static_cast<UtilStr*>(slot)->Assign(inStr);
  } else {
    mArgs.put(HashOf(inKey), nullptr, new UtilStr(inStr), kArgTypeStr | kKEntryOwnsValue);
  }
}

void ArgList::SetStr(long inKey, const char* inStr, long inLen) {
  void* slot = nullptr;
  unsigned long flags = mArgs.get(HashOf(inKey), nullptr, &slot);
  if (flags & kArgTypeStr) {
    static_cast<UtilStr*>(slot)->Assign(inStr, inLen);
  } else {
    mArgs.put(HashOf(inKey), nullptr, new UtilStr(inStr, inLen), kArgTypeStr | kKEntryOwnsValue);
  }
}

void ArgList::RemoveAll() {
  mArgs.RemoveAll();
}

void ArgList::ExportTo(const char* inSeparator, UtilStr* outText) const {
  outText->Clear();
  ExportState state = {inSeparator != nullptr ? inSeparator : "\r\n", outText};
  mArgs.Iterate(ExportEntry, &state, nullptr);
}
