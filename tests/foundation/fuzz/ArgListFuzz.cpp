// Feeds arbitrary bytes to the argument-list parser as a preference or theme
// file would bring them, then writes the list out and reads that back. Any
// text must load what it can without a crash or a read past its end.
#include <cstddef>
#include <cstdint>

#include "foundation/ArgList.h"
#include "foundation/UtilStr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  ArgList args;
  args.SetArgs(reinterpret_cast<const char*>(inData), static_cast<long>(inSize));
  UtilStr text;
  args.ExportTo(nullptr, &text);
  ArgList again;
  again.SetArgs(text.getCStr(), text.length());
  return 0;
}
