#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/KSUnicode.h"

namespace {

std::vector<uint8> ToUTF8(const std::vector<uint16>& inUnits, bool inAddBOM = false) {
  int size = KSEncodeAsUTF8(inUnits.data(), int(inUnits.size()), nullptr, 0, inAddBOM);
  std::vector<uint8> out(size_t(size) + 4, 0xAA);
  EXPECT_EQ(size, KSEncodeAsUTF8(inUnits.data(), int(inUnits.size()), out.data(), size, inAddBOM));
  EXPECT_EQ(0xAA, out[size_t(size)]) << "wrote past the given size";
  out.resize(size_t(size));
  return out;
}

std::vector<uint16> ToUTF16(const std::vector<uint8>& inBytes, KSTextEncoding inEncoding,
                            bool inCombine = false) {
  int size = int(inBytes.size()) * 2 + 2;
  std::vector<uint16> out(size_t(size), 0xAAAA);
  int count =
      KSEncodeAsUTF16(inBytes.data(), int(inBytes.size()), inEncoding, out.data(), size, inCombine);
  out.resize(size_t(count));
  return out;
}

TEST(KSUnicode, EncodesUTF8AndMeasures) {
  const uint16 eAcute[] = {0xE9, 0};
  EXPECT_EQ(2, KSEncodeAsUTF8(eAcute, -1, nullptr, 0, false));
  EXPECT_EQ(5, KSEncodeAsUTF8(eAcute, -1, nullptr, 0, true));
  uint8 untouched[4] = {1, 2, 3, 4};
  EXPECT_EQ(2, KSEncodeAsUTF8(eAcute, 1, untouched, 0, false));
  EXPECT_EQ(1, untouched[0]) << "measuring writes nothing";

  EXPECT_EQ((std::vector<uint8>{'A', 0xC3, 0xA9, 0xE2, 0x82, 0xAC}), ToUTF8({'A', 0xE9, 0x20AC}));
  EXPECT_EQ((std::vector<uint8>{0xEF, 0xBB, 0xBF, 'x'}), ToUTF8({'x'}, true));
  EXPECT_EQ((std::vector<uint8>{0xF0, 0x9F, 0x98, 0x80}), ToUTF8({0xD83D, 0xDE00}));
  EXPECT_EQ((std::vector<uint8>{'A', 'B'}), ToUTF8({'A', 0xD83D, 'B'})) << "lone high dropped";
  EXPECT_EQ((std::vector<uint8>{'A'}), ToUTF8({'A', 0xD83D})) << "high surrogate at the end";
  EXPECT_EQ((std::vector<uint8>{0xED, 0xB0, 0x80}), ToUTF8({0xDC00})) << "lone low surrogate kept";

  // Bytes that do not fit are dropped; the result is what was written.
  const uint16 text[] = {'a', 0xE9, 'b'};
  uint8 small[3] = {0, 0, 0};
  EXPECT_EQ(2, KSEncodeAsUTF8(text, 3, small, 2, false));
  EXPECT_EQ((std::vector<uint8>{'a', 0xC3, 0}), std::vector<uint8>(small, small + 3));

  EXPECT_EQ(0, KSEncodeAsUTF8(text, 3, nullptr, 4, false));
  const uint16 stopsAtZero[] = {'a', 0, 'b'};
  EXPECT_EQ(1, KSEncodeAsUTF8(stopsAtZero, -1, nullptr, 0, false));
  EXPECT_EQ(3, KSEncodeAsUTF8(stopsAtZero, 3, nullptr, 0, false));
}

TEST(KSUnicode, DecodesUTF8AndDropsMalformedBytes) {
  EXPECT_EQ((std::vector<uint16>{'A', 0xE9, 0x20AC, 0xD83D, 0xDE00}),
            ToUTF16({'A', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80}, kKSEncodingUTF8));
  EXPECT_EQ((std::vector<uint16>{'x', 'y'}),
            ToUTF16({0xEF, 0xBB, 0xBF, 'x', 0xEF, 0xBB, 0xBF, 'y'}, kKSEncodingUTF8))
      << "U+FEFF is dropped wherever it occurs";
  EXPECT_EQ(
      (std::vector<uint16>{'A', 'B', 'C', 'D', 'E'}),
      ToUTF16({0xC3, 'A', 0x80, 'B', 0xF8, 'C', 0xE2, 0x82, 'D', 0xFF, 'E'}, kKSEncodingUTF8));
  EXPECT_EQ((std::vector<uint16>{'a'}), ToUTF16({'a', 0xE2, 0x82}, kKSEncodingUTF8))
      << "a sequence cut off by the end of the text";

  // Longer forms than a character needs, encoded surrogates and code points
  // past U+10FFFF are malformed too; the shortest forms at each edge are not.
  // (Theme folder names are cleaned as UTF-8 bytes: a '/' or NUL decoded from
  // a longer form would undo that.)
  for (const char* malformed : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xC0\x80",
                                "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
                                "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF"}) {
    std::string text = std::string("a") + malformed + "b";
    EXPECT_EQ((std::vector<uint16>{'a', 'b'}),
              ToUTF16(std::vector<uint8>(text.begin(), text.end()), kKSEncodingUTF8))
        << malformed;
  }
  EXPECT_EQ((std::vector<uint16>{0x80, 0x800, 0xD7FF, 0xE000, 0xD800, 0xDC00, 0xDBFF, 0xDFFF}),
            ToUTF16({0xC2, 0x80, 0xE0, 0xA0, 0x80, 0xED, 0x9F, 0xBF, 0xEE, 0x80, 0x80, 0xF0, 0x90,
                     0x80, 0x80, 0xF4, 0x8F, 0xBF, 0xBF},
                    kKSEncodingUTF8));

  const uint8 terminated[] = {0xC3, 0xA9, 'z', 0, 'q'};
  uint16 out[8] = {};
  EXPECT_EQ(2, KSEncodeAsUTF16(terminated, -1, kKSEncodingUTF8, out, 8, false));
  EXPECT_EQ((std::vector<uint16>{0xE9, 'z'}), std::vector<uint16>(out, out + 2));
  const uint8 cutByNul[] = {0xE2, 0x82, 0};
  EXPECT_EQ(0, KSEncodeAsUTF16(cutByNul, -1, kKSEncodingUTF8, out, 8, false));

  // Measuring, and a destination too small.
  const uint8 three[] = {'a', 0xF0, 0x9F, 0x98, 0x80};
  EXPECT_EQ(3, KSEncodeAsUTF16(three, 5, kKSEncodingUTF8, nullptr, 0, false));
  uint16 two[3] = {0, 0, 0x1234};
  EXPECT_EQ(2, KSEncodeAsUTF16(three, 5, kKSEncodingUTF8, two, 2, false));
  EXPECT_EQ((std::vector<uint16>{'a', 0xD83D, 0x1234}), std::vector<uint16>(two, two + 3));

  EXPECT_EQ(0, KSEncodeAsUTF16(three, 5, kKSEncodingUTF16, out, 8, false));
  EXPECT_EQ(0, KSEncodeAsUTF16(three, 5, kKSEncodingUTF_Unknown, out, 8, false));
  EXPECT_EQ(0, KSEncodeAsUTF16(three, 5, kKSEncodingUTF8, nullptr, 8, false));
}

TEST(KSUnicode, CombinesDiacriticalMarks) {
  EXPECT_EQ((std::vector<uint16>{0xE9}), ToUTF16({'e', 0xCC, 0x81}, kKSEncodingUTF8, true));
  EXPECT_EQ((std::vector<uint16>{'e', 0x301}), ToUTF16({'e', 0xCC, 0x81}, kKSEncodingUTF8, false));
  EXPECT_EQ((std::vector<uint16>{'x', 0x301}), ToUTF16({'x', 0xCC, 0x81}, kKSEncodingUTF8, true));
  EXPECT_EQ((std::vector<uint16>{0x301}), ToUTF16({0xCC, 0x81}, kKSEncodingUTF8, true));
  // A composed character does not take a second mark it has no form for.
  EXPECT_EQ((std::vector<uint16>{'a', 0xF1, 0x301}),
            ToUTF16({'a', 'n', 0xCC, 0x83, 0xCC, 0x81}, kKSEncodingUTF8, true));

  // Measuring counts the composed text.
  const uint8 decomposed[] = {'C', 0xCC, 0xA7, 'a'};
  EXPECT_EQ(2, KSEncodeAsUTF16(decomposed, 4, kKSEncodingUTF8, nullptr, 0, true));

  // The table's first and last marks; a pair without a composed form gives 0.
  EXPECT_EQ(0x1F9ul, KSCombineDiacritical('n', 0x300));
  EXPECT_EQ(0x228ul, KSCombineDiacritical('E', 0x327));
  EXPECT_EQ(0ul, KSCombineDiacritical('A', 0x327));
  EXPECT_EQ(0ul, KSCombineDiacritical(0, 0x301));
}

}  // namespace
