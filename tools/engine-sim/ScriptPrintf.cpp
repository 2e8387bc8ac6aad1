// printf of the script language: C's conversions applied to script values.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine-sim/ScriptInterpreter.h"

namespace {

// Widths and precisions are held to this: a script cannot make one
// conversion print megabytes.
const long kMaxField = 1000;

struct Conversion {
  char mSpec[32];  // '%', flags, width, precision: everything but the letter
  bool mPlain;     // no flags, width or precision
  char mLetter;
};

// Reads one conversion starting after its '%'. Returns the number of bytes
// read, or 0 when the text there is not a conversion.
long ReadConversion(const char* inText, long inLen, Conversion* outConv) {
  long pos = 0;
  size_t specLen = 1;
  outConv->mSpec[0] = '%';
  auto keep = [&](char c) {
    if (specLen < sizeof(outConv->mSpec) - 2) {
      outConv->mSpec[specLen++] = c;
    }
  };
  while (pos < inLen && std::strchr("-+ #0", inText[pos]) && inText[pos] != '\0') {
    keep(inText[pos++]);
  }
  // A width or precision: its digits, kept as a number no larger than kMaxField.
  auto keepNumber = [&]() {
    long number = 0;
    bool any = false;
    for (; pos < inLen && inText[pos] >= '0' && inText[pos] <= '9'; pos++) {
      number = std::min(number * 10 + (inText[pos] - '0'), kMaxField);
      any = true;
    }
    char digits[8];
    std::snprintf(digits, sizeof(digits), "%ld", number);
    for (const char* digit = digits; any && *digit; digit++) {
      keep(*digit);
    }
  };
  keepNumber();
  if (pos < inLen && inText[pos] == '.') {
    keep(inText[pos++]);
    keepNumber();
  }
  // Length modifiers mean nothing here: every number is a double.
  while (pos < inLen && inText[pos] != '\0' && std::strchr("hlLqjzt", inText[pos])) {
    pos++;
  }
  if (pos >= inLen || inText[pos] == '\0' || !std::strchr("diouxXcsfFeEgG%", inText[pos])) {
    return 0;
  }
  outConv->mPlain = specLen == 1;
  outConv->mSpec[specLen] = '\0';
  outConv->mLetter = inText[pos];
  return pos + 1;
}

void AppendConversion(const Conversion& inConv, const ScriptValue& inValue, UtilStr* ioOutput) {
  char spec[40];
  std::snprintf(spec, sizeof(spec), "%s%c", inConv.mSpec, inConv.mLetter);
  switch (inConv.mLetter) {
    case 'd':
    case 'i':
      ioOutput->AppendVA(spec, int(inValue.AsInt()));
      break;
    case 'o':
    case 'u':
    case 'x':
    case 'X':
      ioOutput->AppendVA(spec, unsigned(inValue.AsInt()));
      break;
    case 'c':
      ioOutput->AppendVA(spec, int(char(inValue.AsInt())));
      break;
    case 's':
      if (inConv.mPlain) {
        ioOutput->Append(inValue.AsText());  // whole, NULs included
      } else {
        ioOutput->AppendVA(spec, inValue.AsText().getCStr());
      }
      break;
    default:  // f F e E g G
      ioOutput->AppendVA(spec, inValue.AsNumber());
      break;
  }
}

}  // namespace

void ScriptPrintf(const UtilStr& inFormat, const ScriptArgs& inArgs, size_t inFirst,
                  UtilStr* ioOutput) {
  const char* text = inFormat.getCStr();
  long len = inFormat.length();
  size_t next = inFirst;
  long pos = 0;
  while (pos < len) {
    if (text[pos] != '%') {
      ioOutput->AppendChar(text[pos++]);
      continue;
    }
    Conversion conv;
    long used = ReadConversion(text + pos + 1, len - pos - 1, &conv);
    if (used == 0) {
      ioOutput->AppendChar(text[pos++]);  // a lone '%' stays as it is
      continue;
    }
    pos += 1 + used;
    if (conv.mLetter == '%') {
      ioOutput->AppendChar('%');
      continue;
    }
    // A missing argument reads as 0.
    ScriptValue value = next < inArgs.size() ? inArgs[next] : ScriptValue();
    next++;
    AppendConversion(conv, value, ioOutput);
  }
}
