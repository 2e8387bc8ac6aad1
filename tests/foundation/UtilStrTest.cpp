#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/UtilStr.h"

namespace {

// Exposes the storage so that tests can check sharing and block sizes.
class Probe : public UtilStr {
 public:
  using UtilStr::UtilStr;
  const UtilStr_Data* Block() const { return mBuf; }
  int32 DimSize() const { return mBuf ? mBuf->mDimSize : 0; }
  int32 Refs() const { return mBuf ? mBuf->mNumRefs : 0; }
};

std::string Str(const UtilStr& inStr) {
  return std::string(inStr.getCStr(), size_t(inStr.length()));
}

// An append that no longer fits moves the text whole, terminated, to a
// block with room to spare, for short strings and long ones.
TEST(UtilStr, GrowthKeepsTheTextAndLeavesRoom) {
  Probe s;
  s.Append("abc");
  const int32 room = s.DimSize();
  while (s.length() + 2 < room) {
    s.AppendChar('x');
  }
  s.AppendChar('y');  // the text and its NUL no longer fit strictly
  EXPECT_GT(s.DimSize(), s.length() + 1);
  EXPECT_EQ("abc", Str(s).substr(0, 3));
  EXPECT_EQ('y', s.getCStr()[s.length() - 1]);
  EXPECT_EQ(0, s.getCStr()[s.length()]);

  Probe big("a");
  big.Append(std::string(100000, 'b').c_str());
  EXPECT_EQ(100001, big.length());
}

TEST(UtilStr, CopiesShareUntilOneIsWritten) {
  Probe a("shared text");
  Probe b(a);
  Probe c;
  c = a;
  EXPECT_EQ(a.Block(), b.Block());
  EXPECT_EQ(a.Block(), c.Block());
  EXPECT_EQ(3, a.Refs());

  b.AppendChar('!');
  c.WritablePtr()[0] = 'S';
  EXPECT_EQ("shared text", Str(a));
  EXPECT_EQ("shared text!", Str(b));
  EXPECT_EQ("Shared text", Str(c));
  EXPECT_EQ(1, a.Refs());
  EXPECT_NE(a.Block(), b.Block());

  // Every editing operation copies a shared block before writing.
  const char* kOriginal = "one two three";
  Probe source(kOriginal);
  auto checkEdit = [&](auto inEdit, const char* inExpected) {
    Probe copy(source);
    inEdit(copy);
    EXPECT_EQ(inExpected, Str(copy));
    EXPECT_EQ(kOriginal, Str(source));
  };
  checkEdit([](UtilStr& s) { s.Replace(7, 100, nullptr, 0); }, "one two");  // to the end
  checkEdit([](UtilStr& s) { s.TruncR(6); }, "one two");
  checkEdit([](UtilStr& s) { s.TruncR(99); }, "");
  checkEdit([](UtilStr& s) { s.FindAndReplace('e', 'E'); }, "onE two thrEE");
  checkEdit([](UtilStr& s) { s.Clear(500); }, "");
  checkEdit([](UtilStr& s) { s.AppendVA("%d", 4); }, "one two three4");
  checkEdit([](UtilStr& s) { s.AppendCStrEncoding("\t", 1, kCStrEscapeAll); }, "one two three\\t");
}

TEST(UtilStr, AppendingAStringToItself) {
  UtilStr s("ab");
  s.Append(s);  // in place
  EXPECT_EQ("abab", Str(s));

  UtilStr shared("xy");
  UtilStr other(shared);
  shared.Append(shared);
  EXPECT_EQ("xyxy", Str(shared));
  EXPECT_EQ("xy", Str(other));

  Probe full(std::string(38, 'z').c_str());
  full.Append(full);  // through a new block
  EXPECT_EQ(std::string(76, 'z'), Str(full));
}

TEST(UtilStr, AssignFormatAndConvenienceForms) {
  const unsigned char pascal[] = {3, 'a', 'b', 'c', 'd'};
  UtilStr s("old");
  s.Assign(pascal);
  EXPECT_EQ("abc", Str(s));

  s = "text";
  s += '+';
  s += UtilStr("more");
  EXPECT_EQ("text+more", Str(s));
  s.Assign("-17");
  s.AppendInt(42);
  s.AppendFloat(2.5, 1);
  EXPECT_EQ("-17422.5", Str(s));

  char out[8];
  std::memset(out, '#', sizeof(out));
  UtilStr("abcdef").CopyTo(out, 3);
  EXPECT_EQ(0, std::memcmp(out, "abc#", 4)) << "no terminator when it does not fit";
  UtilStr("abc").CopyTo(out, 4);
  EXPECT_STREQ("abc", out);

  // Formatting appends text of any length.
  std::string longText(5000, 'q');
  UtilStr big;
  big.AppendVA("[%s]", longText.c_str());
  EXPECT_EQ("[" + longText + "]", Str(big));
}

// Bytes order as signed; only ASCII letters fold, in comparing and hashing.
TEST(UtilStr, CompareAndHashOrderBytesAsSignedAndFoldLettersOnly) {
  EXPECT_LT(UtilStr::compare("a", "B", false), 0);
  EXPECT_GT(UtilStr::compare("a", "B", true), 0);
  EXPECT_LT(UtilStr::compare("\xe9", "A", true), 0);
  EXPECT_EQ(0, UtilStr::compare("MiXeD", "mixed", false));
  EXPECT_NE(0, UtilStr::compare("[", "{", false)) << "only letters fold";

  EXPECT_EQ(-1, UtilStr::compare("abc", 3, "abcd", 4, true));
  EXPECT_EQ(2, UtilStr::compare("xy", 2, "", 0, true));
  EXPECT_EQ('c' - 'd', UtilStr::compare("abc", -1, "abd", -1, true));

  // The argument is the first operand; a non-zero flag ignores case.
  UtilStr a("a");
  UtilStr b("B");
  EXPECT_LT(a.CompareTo(&b, 0), 0);
  EXPECT_GT(b.CompareTo(&a, 0), 0);
  EXPECT_GT(a.CompareTo(&b, 1), 0);

  EXPECT_FALSE(UtilStr::StartsWith("He", true, "hello", -1));
  EXPECT_FALSE(UtilStr::StartsWith("abc", true, "abcdef", 2));

  EXPECT_NE(UtilStr::HashCode("abc", 3, true), UtilStr::HashCode("ABC", 3, true));
  EXPECT_EQ(UtilStr::HashCode("abc", 3, false), UtilStr::HashCode("ABC", 3, true));
  EXPECT_NE(UtilStr::HashCode("abc", 3, true), UtilStr::HashCode("acb", 3, true));
  EXPECT_EQ(UtilStr::HashCode("abc", 3, false), UtilStr("abc").HashCode(1L));  // 0: sensitive
  EXPECT_NE(UtilStr::HashCode("\xe9", 1, true), UtilStr::HashCode("\xc9", 1, false));
}

// Positions count from 1; the search starts at a 0-based index.
TEST(UtilStr, ContainsAndFindPrevious) {
  const char* text = "concat cat";
  EXPECT_EQ(4, UtilStr::contains("cat", -1, 3, true, text, -1, false));
  EXPECT_EQ(8, UtilStr::contains("cat", -1, 4, true, text, -1, false));
  EXPECT_EQ(0, UtilStr::contains("CAT", -1, 0, true, text, -1, false));
  EXPECT_EQ(0, UtilStr::contains("longer", -1, 0, true, "short", -1, false));
  EXPECT_EQ(0, UtilStr::contains("cat", -1, 0, true, "concat", 5, false)) << "text length honoured";
  EXPECT_EQ(5, UtilStr("one two one").contains("TWO", 0, false));

  UtilStr banana("banana");
  EXPECT_EQ(6, banana.FindPrevInstanceOf(100, 'a'));
  EXPECT_EQ(4, banana.FindPrevInstanceOf(5, 'a'));
  EXPECT_EQ(0, banana.FindPrevInstanceOf(0, 'b'));
}

TEST(UtilStr, IntegerConversions) {
  char text[32];
  EXPECT_EQ(1, UtilStr::IntToStr(0, text));
  EXPECT_STREQ("0", text);
  EXPECT_EQ(3, UtilStr::IntToStr(-42, text));
  EXPECT_STREQ("-42", text);
  EXPECT_EQ(20, UtilStr::IntToStr(INT64_MIN, text));
  EXPECT_STREQ("-9223372036854775808", text);

  EXPECT_EQ(7, UtilStr::StrToInt("\t\n+7", -1));
  EXPECT_EQ(31, UtilStr::StrToInt("x1F", -1));
  EXPECT_EQ(-31, UtilStr::StrToInt("-0x1F", -1));
  EXPECT_EQ(1, UtilStr::StrToInt("0x1F", 3)) << "hex stops at the given length";
  EXPECT_EQ(12, UtilStr::StrToInt("12abc", -1));
  EXPECT_EQ(31 * 16 + ' ' - 55, UtilStr::StrToInt("0x1F ", -1))
      << "any non-digit after x is a letter";
  EXPECT_EQ(0, UtilStr::StrToInt("\3515", -1)) << "high bytes are not spaces";
  EXPECT_EQ(1, UtilStr::StrToInt("4294967297", -1)) << "wraps at 32 bits";
}

TEST(UtilStr, FloatConversions) {
  auto format = [](double inNum, int inDecimals) {
    char text[40];
    long len = UtilStr::FloatToStr(inNum, inDecimals, text);
    EXPECT_EQ(long(std::strlen(text)), len);
    return std::string(text);
  };
  // At most nine decimals, truncated, not rounded; the integer part is 32-bit.
  EXPECT_EQ("3 2 0.05 -0.5 0 1.123456789 12.007 2147483647",
            format(3.0, 2) + " " + format(2.5, 0) + " " + format(0.05, 2) + " " + format(-0.5, 1) +
                " " + format(-0.001, 2) + " " + format(1.123456789123, 12) + " " +
                format(12.0075, 3) + " " + format(1e12, 0));

  EXPECT_DOUBLE_EQ(150.0, UtilStr::StrToFloat("1.5e2", 5));
  EXPECT_DOUBLE_EQ(-0.25, UtilStr::StrToFloat(" -.25", 5));
  EXPECT_DOUBLE_EQ(0.2, UtilStr::StrToFloat("2E -1", 5));
  EXPECT_DOUBLE_EQ(1.23, UtilStr::StrToFloat("1.2.3", 5));
  EXPECT_DOUBLE_EQ(12.0, UtilStr::StrToFloat("12345", 2));
  EXPECT_DOUBLE_EQ(3.0, UtilStr::StrToFloat("\3513", 2)) << "high bytes count as space";
  EXPECT_DOUBLE_EQ(0.0, UtilStr::StrToFloat("5", 0));
}

TEST(UtilStr, EscapingFollowsTheFlags) {
  auto encode = [](const std::string& inText, int inFlags) {
    UtilStr out;
    out.AppendCStrEncoding(inText.data(), int(inText.size()), inFlags);
    return Str(out);
  };
  std::string mixed("\t\x0b\"\\\x7f\xe9", 6);
  mixed.push_back('\0');
  EXPECT_EQ(std::string("\t\x0b\\\"\\\\\x7f\xe9\0", 9), encode(mixed, kCStrEscapeQuotes));
  EXPECT_EQ("\\t\\x0B\\\"\\\\\x7f\\xE9\\0", encode(mixed, kCStrEscapeAll));

  UtilStr upToNul("prefix:");
  upToNul.AppendCStrEncoding("a\tb", -1, kCStrEscapeAll);
  upToNul.AppendCStrEncoding("ignored", 0, kCStrEscapeAll);
  EXPECT_EQ("prefix:a\\tb", Str(upToNul));
}

TEST(UtilStr, EscapeAndUnescapeRoundTrip) {
  // Every byte value, several times over, so the output buffer is flushed often.
  std::string all;
  for (int round = 0; round < 4; round++) {
    for (int b = 0; b < 256; b++) {
      all.push_back(char(b));
    }
  }
  UtilStr quoted("\"");
  quoted.AppendCStrEncoding(all.data(), int(all.size()), kCStrEscapeAll);
  quoted.AppendChar('"');
  EXPECT_EQ(std::string::npos, std::string(quoted.getCStr() + 1, size_t(quoted.length() - 2))
                                   .find_first_of(std::string("\n\r\t\0", 4)));

  UtilStr decoded("kept:");
  decoded.AppendCStrDecoding(quoted.getCStr(), quoted.length(), true);
  EXPECT_EQ("kept:" + all, Str(decoded));

  // Quotes and odd escapes.
  auto decode = [](const char* inText, bool inSkipToQuote) {
    UtilStr out;
    out.AppendCStrDecoding(inText, -1, inSkipToQuote);
    return Str(out);
  };
  EXPECT_EQ("abcd", decode("key = \"ab\" junk \"cd\"", true));
  EXPECT_EQ("", decode("no quote at all", true));
  EXPECT_EQ("\\q", decode("\\q", false));
  EXPECT_EQ("end\\", decode("end\\", false));
  EXPECT_EQ("\\x4", decode("\\x4", false));
  EXPECT_EQ("\\xG1", decode("\\xG1", false));
  EXPECT_EQ("JJ", decode("\\x4a\\X4A", false));
  EXPECT_EQ(std::string("\f\r\t\0z", 5), decode("\\f\\r\\t\\0z", false));

  UtilStr limited;
  limited.AppendCStrDecoding("\\x41", 3, false);  // the second hex digit lies outside
  EXPECT_EQ("\\x4", Str(limited));
}

}  // namespace
