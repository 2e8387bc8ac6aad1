#include "toolbar/ScriptText.h"

#include <cstdarg>
#include <cstdio>

namespace {

// Appends to the text that ends at outBuffer[inLength]; returns the new length,
// which never passes inSize - 1.
size_t AppendFormatted(char* outBuffer, size_t inSize, size_t inLength, const char* inFormat,
                       va_list inArgs) {
  size_t room = inSize - inLength;
  int wanted = vsnprintf(outBuffer + inLength, room, inFormat, inArgs);
  if (wanted < 0) {
    outBuffer[inLength] = 0;
    return inLength;
  }
  size_t written = size_t(wanted) < room ? size_t(wanted) : room - 1;
  return inLength + written;
}

}  // namespace

ScriptText::ScriptText(char* outBuffer, size_t inSize)
    : mBuffer(outBuffer), mSize(inSize), mLength(0) {
  mBuffer[0] = 0;
}

ScriptText& ScriptText::Add(const char* inFormat, ...) {
  va_list args;
  va_start(args, inFormat);
  mLength = AppendFormatted(mBuffer, mSize, mLength, inFormat, args);
  va_end(args);
  return *this;
}

ScriptText& ScriptText::AddText(const char* inText) {
  while (*inText != 0) {
    AddChar(*inText++);
  }
  return *this;
}

ScriptText& ScriptText::Tabs(int inCount) {
  for (int i = 0; i < inCount; ++i) {
    AddChar('\t');
  }
  return *this;
}

void ScriptText::AddChar(char inChar) {
  if (mLength + 1 < mSize) {
    mBuffer[mLength++] = inChar;
    mBuffer[mLength] = 0;
  }
}

ScriptName::ScriptName(const char* inName) {
  mText.AppendCStrEncoding(inName, -1, kCStrEscapeQuotes);
}

char* FormatCommand(char* outCmd, const char* inFormat, ...) {
  va_list args;
  va_start(args, inFormat);
  AppendFormatted(outCmd, kCommandBufferSize, 0, inFormat, args);
  va_end(args);
  return outCmd;
}

char* CopyCommand(char* outCmd, const char* inText) {
  return ScriptText(outCmd).AddText(inText).Text();
}
