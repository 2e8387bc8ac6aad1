// Feeds arbitrary bytes to the skin parser as a "skin.txt". Whatever the
// bytes, the parse ends with an error code and error texts or with a page
// tree; it never reads outside the text, and it keeps the builder's ownership
// rules: the tree it leaves is freed here, and a page it forgot would leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "foundation/KSError.h"
#include "skin/SkinTree.h"
#include "skin/cSkin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  // A copy of exactly the input's size, so that a read past the end shows.
  std::vector<char> text(inData, inData + inSize);
  cSkin skin;
  SkinTree tree;
  long err =
      skin.ParseInterface("C:\\Skins\\Fuzz\\skin.txt", text.data(), long(text.size()), &tree);
  std::unique_ptr<SkinTreePage> outermost = tree.TakeOutermost();
  bool explained = err == 0 ? skin.ErrorPrefix().IsEmpty() && outermost != nullptr
                            : err == kKSErr_FormatNotRecognized && !skin.ErrorPrefix().IsEmpty() &&
                                  skin.ErrorSuffix().length() <= 511;
  if (!explained) {
    std::abort();
  }
  return 0;
}
