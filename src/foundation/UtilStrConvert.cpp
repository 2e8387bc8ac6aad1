// UtilStr's number conversions and backslash escaping.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "foundation/UtilStr.h"

namespace {

long MeasureText(const char* inStr, int inLen) {
  if (inLen >= 0) {
    return inLen;
  }
  return inStr ? long(std::strlen(inStr)) : 0;
}

bool IsDigit(char inChar) {
  return inChar >= '0' && inChar <= '9';
}

// Skips leading control characters and spaces and one sign; returns the index
// of the first digit and sets outNegative.
int SkipSpaceAndSign(const char* inStr, int inLen, bool& outNegative) {
  int i = 0;
  while (i < inLen && uint8(inStr[i]) <= 32) {
    i++;
  }
  outNegative = false;
  if (i < inLen && (inStr[i] == '-' || inStr[i] == '+')) {
    outNegative = inStr[i] == '-';
    i++;
  }
  return i;
}

// Buffered output of the escaping routines: the string grows in a few large
// steps instead of one call per character.
class EscapeBuffer {
 public:
  // inSrc is the text being read. When it lies in ioDest's own block, a
  // second reference keeps that block alive while ioDest grows into a new one.
  EscapeBuffer(UtilStr& ioDest, const char* inSrc) : mDest(ioDest), mUsed(0) {
    uintptr_t src = reinterpret_cast<uintptr_t>(inSrc);
    uintptr_t text = reinterpret_cast<uintptr_t>(ioDest.getCStr());
    if (src >= text && src <= text + uintptr_t(ioDest.length())) {
      mKeepAlive.Assign(ioDest);
    }
  }
  ~EscapeBuffer() { Flush(); }

  void Put(char inChar) {
    if (sizeof(mBytes) - mUsed < 8) {
      Flush();
    }
    mBytes[mUsed++] = inChar;
  }
  void Put(char inChar1, char inChar2) {
    Put(inChar1);
    Put(inChar2);
  }
  void Flush() {
    mDest.Append(mBytes, long(mUsed));
    mUsed = 0;
  }

 private:
  UtilStr& mDest;
  UtilStr mKeepAlive;
  char mBytes[256];
  size_t mUsed;
};

int HexDigitValue(char inChar) {
  if (inChar >= '0' && inChar <= '9') {
    return inChar - '0';
  }
  if (inChar >= 'A' && inChar <= 'F') {
    return inChar - 'A' + 10;
  }
  if (inChar >= 'a' && inChar <= 'f') {
    return inChar - 'a' + 10;
  }
  return -1;
}

// The character after a backslash for tab, line feed, form feed and carriage
// return; 0 for any other byte.
char WhitespaceEscape(uint8 inByte) {
  switch (inByte) {
    case 9:
      return 't';
    case 10:
      return 'n';
    case 12:
      return 'f';
    case 13:
      return 'r';
    default:
      return 0;
  }
}

// The byte a backslash and inChar stand for, or -1 if they are no known escape
// (\x is handled by the caller).
int SimpleUnescape(char inChar) {
  switch (inChar) {
    case '"':
      return '"';
    case '0':
      return 0;
    case '\\':
      return '\\';
    case 'f':
      return 12;
    case 'n':
      return 10;
    case 'r':
      return 13;
    case 't':
      return 9;
    default:
      return -1;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Numbers

int UtilStr::IntToStr(int64 inNum, char* outStr) {
  uint64 magnitude = inNum < 0 ? 0 - uint64(inNum) : uint64(inNum);
  char digits[24];
  int count = 0;
  do {
    digits[count++] = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  int len = 0;
  if (inNum < 0) {
    outStr[len++] = '-';
  }
  while (count > 0) {
    outStr[len++] = digits[--count];
  }
  outStr[len] = 0;
  return len;
}

long UtilStr::StrToInt(const char* inStr, int inLen) {
  if (!inStr) {
    return 0;
  }
  inLen = int(MeasureText(inStr, inLen));
  bool negative;
  int i = SkipSpaceAndSign(inStr, inLen, negative);
  uint32 value = 0;
  for (; i < inLen; i++) {
    char c = inStr[i];
    if (IsDigit(c)) {
      value = value * 10 + uint32(c - '0');
    } else {
      if (c == 'x') {
        // Everything after the 'x' is read as a hex digit: '0'-'9' by their
        // value, any other byte by its code less 55, which is right for 'A'-'F'.
        for (i++; i < inLen; i++) {
          int code = uint8(inStr[i]);
          value = value * 16 + uint32(IsDigit(char(code)) ? code - 48 : code - 55);
        }
      }
      break;
    }
  }
  if (negative) {
    value = 0 - value;
  }
  return long(int32(value));
}

long UtilStr::OctalStrToInt(const char* inStr, int inLen) {
  if (!inStr) {
    return 0;
  }
  inLen = int(MeasureText(inStr, inLen));
  bool negative;
  int i = SkipSpaceAndSign(inStr, inLen, negative);
  uint32 value = 0;
  for (; i < inLen && inStr[i] >= '0' && inStr[i] <= '7'; i++) {
    value = value * 8 + uint32(inStr[i] - '0');
  }
  if (negative) {
    value = 0 - value;
  }
  return long(int32(value));
}

long UtilStr::FloatToStr(double inNum, int inDecimals, char* outStr) {
  double intPart;
  double fraction = std::modf(inNum, &intPart);
  int32 whole;
  if (intPart >= 2147483647.0) {
    whole = 2147483647;
  } else if (intPart <= -2147483648.0) {
    whole = -2147483647 - 1;
  } else if (intPart == intPart) {
    whole = int32(intPart);
  } else {
    whole = 0;  // NaN
  }

  int decimals = inDecimals < 9 ? inDecimals : 9;
  uint32 digits = 0;
  if (decimals > 0) {
    float scale = 1.0f;
    for (int i = 0; i < decimals; i++) {
      scale *= 10.0f;
    }
    double scaled = std::fabs(fraction) * double(scale);
    if (scaled >= 1.0) {
      digits = uint32(scaled);
    }
  }

  long len = 0;
  if (whole == 0 && digits != 0 && inNum < 0) {
    outStr[len++] = '-';
  }
  len += IntToStr(whole, outStr + len);
  if (digits == 0) {
    return len;
  }

  char fractionText[16];
  int digitCount = IntToStr(digits, fractionText);
  int fractionLen = digitCount;
  while (fractionText[fractionLen - 1] == '0') {
    fractionLen--;
  }
  outStr[len++] = '.';
  for (int i = digitCount; i < decimals; i++) {
    outStr[len++] = '0';
  }
  std::memcpy(outStr + len, fractionText, size_t(fractionLen));
  len += fractionLen;
  outStr[len] = 0;
  return len;
}

double UtilStr::StrToFloat(const char* inStr, int inLen) {
  if (!inStr || inLen <= 0) {
    return 0.0;
  }
  int i = 0;
  while (i < inLen && int8(inStr[i]) <= 32) {
    i++;
  }
  double sign = 1.0;
  if (i < inLen && (inStr[i] == '-' || inStr[i] == '+')) {
    sign = inStr[i] == '-' ? -1.0 : 1.0;
    i++;
  }
  double mantissa = 0.0;
  double divisor = 1.0;
  bool seenPoint = false;
  int exponentStart = -1;
  for (; i < inLen; i++) {
    char c = inStr[i];
    if (IsDigit(c)) {
      mantissa = mantissa * 10.0 + (c - '0');
      if (seenPoint) {
        divisor *= 10.0;
      }
    } else if (c == '.') {
      seenPoint = true;
    } else {
      if (c == 'e' || c == 'E') {
        exponentStart = i + 1;
      }
      break;
    }
  }
  double result = mantissa / (sign * divisor);
  if (exponentStart >= 0) {
    long exponent = StrToInt(inStr + exponentStart, inLen - exponentStart);
    result *= std::pow(10.0, double(exponent));
  }
  return result;
}

// ---------------------------------------------------------------------------
// Escaping

void UtilStr::AppendCStrEncoding(const char* inSrc, int inLen, int inFlags) {
  if (!inSrc) {
    return;
  }
  inLen = int(MeasureText(inSrc, inLen));
  if (inLen == 0) {
    return;
  }
  static const char kHexDigits[] = "0123456789ABCDEF";
  EscapeBuffer out(*this, inSrc);
  for (int i = 0; i < inLen; i++) {
    uint8 byte = uint8(inSrc[i]);
    char whitespace =
        (inFlags & (kCStrEscapeWhitespace | kCStrEscapeNonPrinting)) ? WhitespaceEscape(byte) : 0;
    if (whitespace) {
      out.Put('\\', whitespace);
    } else if ((inFlags & kCStrEscapeQuotes) && (byte == '"' || byte == '\\')) {
      out.Put('\\', char(byte));
    } else if ((inFlags & kCStrEscapeNonPrinting) && (byte < 0x20 || byte > 0x7F)) {
      if (byte == 0) {
        out.Put('\\', '0');
      } else {
        out.Put('\\', 'x');
        out.Put(kHexDigits[byte >> 4], kHexDigits[byte & 15]);
      }
    } else {
      out.Put(char(byte));
    }
  }
}

void UtilStr::AppendCStrDecoding(const char* inSrc, int inLen, bool inSkipToQuote) {
  if (!inSrc) {
    return;
  }
  inLen = int(MeasureText(inSrc, inLen));
  if (inLen == 0) {
    return;
  }
  auto nextQuote = [&](int inFrom) {
    while (inFrom < inLen && inSrc[inFrom] != '"') {
      inFrom++;
    }
    return inFrom;
  };
  int i = 0;
  if (inSkipToQuote) {
    i = nextQuote(0) + 1;
  }
  EscapeBuffer out(*this, inSrc);
  while (i < inLen) {
    char c = inSrc[i];
    if (c == '"') {
      // The literal ends here; the next one starts after the next quote.
      i = nextQuote(i + 1) + 1;
      continue;
    }
    if (c == '\\' && i + 1 < inLen) {
      char code = inSrc[i + 1];
      int byte = SimpleUnescape(code);
      if (byte >= 0) {
        out.Put(char(byte));
        i += 2;
        continue;
      }
      if ((code == 'x' || code == 'X') && i + 3 < inLen) {
        int high = HexDigitValue(inSrc[i + 2]);
        int low = HexDigitValue(inSrc[i + 3]);
        if (high >= 0 && low >= 0) {
          out.Put(char(high * 16 + low));
          i += 4;
          continue;
        }
      }
    }
    out.Put(c);
    i++;
  }
}
