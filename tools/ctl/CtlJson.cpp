#include "ctl/CtlJson.h"

#include <cstring>

#include "foundation/UtilStr.h"

void AppendJsonString(UtilStr* ioJson, const char* inText, long inLen) {
  if (inLen < 0) {
    inLen = long(std::strlen(inText));
  }
  ioJson->AppendChar('"');
  for (long i = 0; i < inLen; ++i) {
    unsigned char c = static_cast<unsigned char>(inText[i]);
    switch (c) {
      case '"':
        ioJson->Append("\\\"");
        break;
      case '\\':
        ioJson->Append("\\\\");
        break;
      case '\n':
        ioJson->Append("\\n");
        break;
      case '\r':
        ioJson->Append("\\r");
        break;
      case '\t':
        ioJson->Append("\\t");
        break;
      default:
        if (c < 0x20) {
          ioJson->AppendVA("\\u%04x", unsigned(c));
        } else {
          ioJson->AppendChar(char(c));
        }
    }
  }
  ioJson->AppendChar('"');
}
