#include "toolbar/ThemeFolderName.h"

#include <cstring>
#include <vector>

#include "foundation/UtilStr.h"

namespace {

const int kKeepHead = 23;
const int kKeepTail = 4;

bool IsAllowed(unsigned char inByte) {
  return inByte >= 32 && std::strchr("*\\/:?\"<>|", inByte) == nullptr;
}

bool StartsCharacter(unsigned char inByte) {
  return (inByte & 0xC0) != 0x80;
}

}  // namespace

void MakeThemeFolderName(const UtilStr& inLogicalName, UtilStr* outName) {
  UtilStr name;
  const char* text = inLogicalName.getCStr();
  for (int i = 0; i < inLogicalName.length(); i++) {
    if (IsAllowed(static_cast<unsigned char>(text[i]))) {
      name.AppendChar(text[i]);
    }
  }

  // Byte offsets at which the characters of name start.
  std::vector<int> starts;
  for (int i = 0; i < name.length(); i++) {
    if (StartsCharacter(static_cast<unsigned char>(name.getCStr()[i]))) {
      starts.push_back(i);
    }
  }
  int numChars = int(starts.size());
  if (numChars >= kThemeFolderNameLimit) {
    int headEnd = starts[kKeepHead];
    int tailStart = starts[numChars - kKeepTail];
    UtilStr shortened(name.getCStr(), headEnd);
    shortened.AppendChar('-');
    shortened.Append(name.getCStr() + tailStart, name.length() - tailStart);
    name = shortened;
  }
  *outName = name;
}
