// Decodes arbitrary bytes as UTF-8, encodes the text again and decodes that,
// and takes the same bytes as UTF-16 units the other way round. What decoding
// keeps of the bytes must be characters spelled by bytes of the input itself,
// in their shortest form: a decoder that made a '/' or a NUL out of anything
// else would undo the cleaning done on names before they are decoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "foundation/KSUnicode.h"

namespace {

typedef std::vector<uint8> Bytes;
typedef std::vector<uint16> Units;

void Check(bool inHolds) {
  if (!inHolds) {
    abort();
  }
}

Units Decode(const Bytes& inBytes, bool inCombine) {
  int count =
      KSEncodeAsUTF16(inBytes.data(), int(inBytes.size()), kKSEncodingUTF8, nullptr, 0, inCombine);
  Units out(size_t(count) + 1, 0);
  int written = KSEncodeAsUTF16(inBytes.data(), int(inBytes.size()), kKSEncodingUTF8, out.data(),
                                int(out.size()), inCombine);
  Check(written == count);  // measuring counts what is written
  out.resize(size_t(count));
  return out;
}

Bytes Encode(const Units& inUnits) {
  int count = KSEncodeAsUTF8(inUnits.data(), int(inUnits.size()), nullptr, 0, false);
  Bytes out(size_t(count) + 1, 0);
  int written =
      KSEncodeAsUTF8(inUnits.data(), int(inUnits.size()), out.data(), int(out.size()), false);
  Check(written == count);
  out.resize(size_t(count));
  return out;
}

template <typename T>
bool IsSubsequence(const std::vector<T>& inPart, const std::vector<T>& inWhole) {
  size_t at = 0;
  for (T item : inWhole) {
    if (at < inPart.size() && inPart[at] == item) {
      at++;
    }
  }
  return at == inPart.size();
}

// Every surrogate in its pair, high before low.
bool IsWellFormedUTF16(const Units& inUnits) {
  for (size_t i = 0; i < inUnits.size(); i++) {
    bool high = inUnits[i] >= 0xD800 && inUnits[i] <= 0xDBFF;
    bool low = inUnits[i] >= 0xDC00 && inUnits[i] <= 0xDFFF;
    if (low) {
      return false;
    }
    if (high) {
      if (i + 1 == inUnits.size() || inUnits[i + 1] < 0xDC00 || inUnits[i + 1] > 0xDFFF) {
        return false;
      }
      i++;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  Bytes bytes(inData, inData + inSize);

  // Bytes to text and back: nothing is invented, and the text is stable.
  Units text = Decode(bytes, false);
  Check(IsWellFormedUTF16(text));
  Bytes again = Encode(text);
  Check(IsSubsequence(again, bytes));
  Check(Decode(again, false) == text);
  Units composed = Decode(bytes, true);
  Check(composed.size() <= text.size());
  Check(Decode(Encode(composed), true) == composed);

  // Units to bytes and back: only lone surrogates (and U+FEFF) are lost.
  Units units(inSize / 2);
  for (size_t i = 0; i < units.size(); i++) {
    units[i] = uint16(inData[2 * i] | inData[2 * i + 1] << 8);
  }
  Units back = Decode(Encode(units), false);
  Check(IsWellFormedUTF16(back));
  Check(IsSubsequence(back, units));
  Check(Decode(Encode(back), false) == back);
  return 0;
}
