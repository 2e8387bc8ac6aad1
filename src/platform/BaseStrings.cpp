#include "platform/BaseStrings.h"

#include <cstring>

#include "foundation/UtilStr.h"

namespace {

bool IsPathSeparator(char inChar) {
  return inChar == '\\' || inChar == ':' || inChar == '/';
}

}  // namespace

void BaseParsePathname(const char* inPath, UtilStr* outDir, UtilStr* outName) {
  if (inPath == nullptr) {
    inPath = "";
  }
  long len = static_cast<long>(std::strlen(inPath));
  long sep = len - 1;
  while (sep >= 0 && !IsPathSeparator(inPath[sep])) {
    sep--;
  }
  // Copies first, in case an output holds inPath itself.
  UtilStr dir(inPath, sep > 0 ? sep : 0);
  UtilStr name(inPath + sep + 1, len - sep - 1);
  if (outDir != nullptr) {
    outDir->Assign(dir);
  }
  if (outName != nullptr) {
    outName->Assign(name);
  }
}

void BaseMakePathname(UtilStr* outPath, const char* inDir, const char* inName) {
  UtilStr path(inDir != nullptr ? inDir : "");
  if (path.length() > 1 && !IsPathSeparator(path.getCStr()[path.length() - 1])) {
    path.AppendChar('\\');
  }
  path.Append(inName != nullptr ? inName : "");
  outPath->Assign(path);
}

void BaseCommandBeforeDocument(const char* inTemplate, UtilStr* outCommand) {
  if (inTemplate == nullptr) {
    inTemplate = "";
  }
  const char* end = std::strstr(inTemplate, "\"%1\"");
  if (end == nullptr) {
    end = std::strstr(inTemplate, "%1");
  }
  if (end == nullptr) {
    end = inTemplate + std::strlen(inTemplate);
  }
  outCommand->Assign(inTemplate, static_cast<long>(end - inTemplate));
}

void BaseCopyWholeChars(const UtilStr& inText, char* outText, long inMaxBytes) {
  long len = inText.length() < inMaxBytes ? inText.length() : inMaxBytes;
  const char* text = inText.getCStr();
  if (len < inText.length()) {
    while (len > 0 && (static_cast<unsigned char>(text[len]) & 0xC0) == 0x80) {
      len--;
    }
  }
  std::memcpy(outText, text, size_t(len));
  outText[len] = '\0';
}
