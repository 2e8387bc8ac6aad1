// Bounded writing of engine script texts into a caller's command buffer.
#pragma once

#include <cstddef>

#include "foundation/UtilStr.h"

#if defined(__clang__)
#define KS_SCRIPT_FORMAT(formatArg, firstArg) __attribute__((format(printf, formatArg, firstArg)))
#elif defined(__GNUC__)
#define KS_SCRIPT_FORMAT(formatArg, firstArg) \
  __attribute__((format(gnu_printf, formatArg, firstArg)))
#else
#define KS_SCRIPT_FORMAT(formatArg, firstArg)
#endif

// Size of the text buffer every caller hands to a Command… builder.
const size_t kCommandBufferSize = 1024;

// Builds one NUL-terminated script text piece by piece. Whatever does not fit
// in the buffer is cut off; the text always stays terminated.
class ScriptText {
 public:
  explicit ScriptText(char* outBuffer, size_t inSize = kCommandBufferSize);

  // Appends printf-formatted text.
  ScriptText& Add(const char* inFormat, ...) KS_SCRIPT_FORMAT(2, 3);
  // Appends text as it is; a '%' in it is not a format directive.
  ScriptText& AddText(const char* inText);
  // Appends a run of tab characters.
  ScriptText& Tabs(int inCount);

  char* Text() const { return mBuffer; }

 private:
  void AddChar(char inChar);

  char* mBuffer;
  size_t mSize;
  size_t mLength;
};

// One-statement helpers: set outCmd to a formatted or a literal text.
char* FormatCommand(char* outCmd, const char* inFormat, ...) KS_SCRIPT_FORMAT(2, 3);
char* CopyCommand(char* outCmd, const char* inText);

// A name as it goes between the double quotes of a script: every double quote
// and backslash in it preceded by a backslash, as the engine reads its string
// literals back. Names come from the engine and may hold either.
class ScriptName {
 public:
  explicit ScriptName(const char* inName);
  const char* Text() const { return mText.getCStr(); }

 private:
  UtilStr mText;
};

// A boolean as the engine's script literal: "true" or "false".
inline const char* ScriptBool(bool inOn) {
  return inOn ? "true" : "false";
}
