#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "foundation/ArgList.h"
#include "foundation/UtilStr.h"

namespace {

const long kABCD = ArgList::KeyCode("ABCD");
const long kWXYZ = ArgList::KeyCode("WXYZ");

std::string Str(const UtilStr& inStr) {
  return std::string(inStr.getCStr(), inStr.length());
}

std::string GetText(const ArgList& inArgs, long inKey) {
  UtilStr text;
  inArgs.GetStr(inKey, &text);
  return Str(text);
}

std::string Export(const ArgList& inArgs, const char* inSeparator = nullptr) {
  UtilStr text;
  inArgs.ExportTo(inSeparator, &text);
  return Str(text);
}

// Parses from a heap block of exactly inText's size, so that a read past the
// given length is caught by the address sanitizer.
void ParseExact(ArgList* ioArgs, const std::string& inText) {
  std::vector<char> block(inText.begin(), inText.end());
  char* data = block.empty() ? nullptr : new char[block.size()];
  if (data != nullptr) {
    std::memcpy(data, block.data(), block.size());
  }
  ioArgs->SetArgs(data != nullptr ? data : "", static_cast<long>(block.size()));
  delete[] data;
}

}  // namespace

TEST(ArgList, KeyCodesKeepTheLastFourCharacters) {
  EXPECT_EQ(0x41424344, ArgList::KeyCode("ABCD"));
  EXPECT_EQ(0x6162, ArgList::KeyCode("ab"));

  ArgList args;
  args.SetArgs("ABCDE=3");
  EXPECT_EQ(3, args.GetInt(ArgList::KeyCode("BCDE")));
  EXPECT_EQ(1, args.Count());

  // Blanks inside a key are ignored, and text without '=' runs into the
  // next key.
  args.RemoveAll();
  args.SetArgs("A B\tC D=4\nstray 5\nWXYZ=6");
  EXPECT_EQ(4, args.GetInt(kABCD));
  EXPECT_EQ(6, args.GetInt(kWXYZ));
  EXPECT_EQ(2, args.Count());
}

TEST(ArgList, ReadsIntegersFloatsAndStrings) {
  ArgList args;
  args.SetArgs("ABCD=1, WXYZ = 2");
  EXPECT_EQ(1, args.GetInt(kABCD));
  EXPECT_EQ(2, args.GetInt(kWXYZ));

  args.SetArgs("ABCD=-7,WXYZ=0x1F");
  EXPECT_EQ(-7, args.GetInt(kABCD));
  EXPECT_EQ(31, args.GetInt(kWXYZ));

  // A '.' makes a float; it reads back as an integer by truncation.
  args.SetArgs("ABCD=1.0,WXYZ=-2.9");
  EXPECT_EQ(nullptr, args.GetStr(kABCD));
  EXPECT_EQ("1", GetText(args, kABCD));
  EXPECT_EQ(-2, args.GetInt(kWXYZ));

  // Quoted values decode their escapes.
  args.SetArgs("ABCD=\"a\\\"b\", WXYZ=\"tab\\there\\x41\\\\\"");
  ASSERT_NE(nullptr, args.GetStr(kABCD));
  EXPECT_EQ("a\"b", Str(*args.GetStr(kABCD)));
  EXPECT_EQ(
      "tab\there"
      "A\\",
      GetText(args, kWXYZ));

  // An empty unquoted value sets nothing; an empty quoted one is a string.
  args.RemoveAll();
  args.SetArgs("ABCD=, WXYZ=\"\"");
  EXPECT_FALSE(args.GetInt(kABCD, nullptr));
  ASSERT_NE(nullptr, args.GetStr(kWXYZ));
  EXPECT_EQ(0, args.GetStr(kWXYZ)->length());
}

TEST(ArgList, SkipsCommentsAnywhereBetweenEntries) {
  ArgList args;
  args.SetArgs(
      "// leading comment, ABCD=9\r\n"
      "ABCD=1 /* inline, WXYZ=9 */ WXYZ=2 // trailing WXYZ=9\n"
      "/* several\n lines */ DEFG=3/*tight*/HIJK=4");
  EXPECT_EQ(1, args.GetInt(kABCD));
  EXPECT_EQ(2, args.GetInt(kWXYZ));
  EXPECT_EQ(3, args.GetInt(ArgList::KeyCode("DEFG")));
  EXPECT_EQ(4, args.GetInt(ArgList::KeyCode("HIJK")));
  EXPECT_EQ(4, args.Count());

  // An unterminated block comment swallows the rest.
  args.SetArgs("LMNO=5 /* WXYZ=7");
  EXPECT_EQ(5, args.GetInt(ArgList::KeyCode("LMNO")));
  EXPECT_EQ(2, args.GetInt(kWXYZ));
}

TEST(ArgList, ConvertsBetweenValueTypesOnRead) {
  ArgList args;
  args.SetInt(kABCD, -120);
  EXPECT_EQ("-120", GetText(args, kABCD));

  args.SetStr(kABCD, "42", -1);
  EXPECT_EQ(42, args.GetInt(kABCD));

  args.SetArgs("WXYZ=2.9");
  long value = -1;
  EXPECT_TRUE(args.GetInt(kWXYZ, &value));
  EXPECT_EQ(2, value);
  EXPECT_EQ("2.9", GetText(args, kWXYZ));

  // Out-of-range floats saturate instead of wrapping.
  args.SetArgs("WXYZ=1e20.");
  EXPECT_EQ(2147483647L, args.GetInt(kWXYZ));

  long missing = 5;
  EXPECT_FALSE(args.GetInt(ArgList::KeyCode("none"), &missing));
  EXPECT_EQ(0, missing);
  UtilStr text("stale");
  EXPECT_FALSE(args.GetStr(ArgList::KeyCode("none"), &text));
  EXPECT_TRUE(text.IsEmpty());
}

TEST(ArgList, StringsAreOverwrittenInPlaceAndReplacedByOtherTypes) {
  ArgList args;
  args.SetStr(kABCD, "first", -1);
  const UtilStr* stored = args.GetStr(kABCD);
  UtilStr second("second");
  args.SetStr(kABCD, second);
  EXPECT_EQ(stored, args.GetStr(kABCD));
  EXPECT_EQ("second", Str(*stored));

  // Replacing the string by an integer deletes it (the leak checker would
  // notice otherwise), and a later string entry makes a new one.
  args.SetInt(kABCD, 3);
  EXPECT_EQ(nullptr, args.GetStr(kABCD));
  args.SetArgs("ABCD=\"again\"");
  EXPECT_EQ("again", GetText(args, kABCD));
  EXPECT_EQ(1, args.Count());
}

TEST(ArgList, ExportsTheTextForm) {
  ArgList args;
  args.SetInt(kABCD, 12);
  EXPECT_EQ("ABCD=12\r\n", Export(args));

  args.RemoveAll();
  args.SetArgs("WxYz=0.5");
  EXPECT_EQ("WxYz=0.5, ", Export(args, ", "));

  args.RemoveAll();
  args.SetArgs("WXYZ=0.1");
  EXPECT_EQ("WXYZ=0.1\r\n", Export(args));
  args.SetArgs("WXYZ=3.0");
  EXPECT_EQ("WXYZ=3\r\n", Export(args));

  args.RemoveAll();
  const char raw[] = "a\\b\"c\n\t\x01\xE9";
  args.SetStr(ArgList::KeyCode("Name"), raw, sizeof raw - 1);
  EXPECT_EQ("Name=\"a\\\\b\\\"c\\n\\t\\x01\\xE9\"\r\n", Export(args));

  // Short codes lose their leading zero bytes; codes below 32 and key bytes
  // outside 32-127 are not written.
  args.RemoveAll();
  args.SetInt(ArgList::KeyCode("ab"), 1);
  EXPECT_EQ("ab=1\r\n", Export(args));
  args.RemoveAll();
  args.SetInt(31, 1);
  args.SetInt(-5, 1);
  EXPECT_EQ("", Export(args));
  args.SetInt(0x41FF4243, 2);
  EXPECT_EQ("ABC=2\r\n", Export(args));
}

TEST(ArgList, ExportedTextReadsBackToTheSameValues) {
  std::mt19937 rng(7);
  ArgList original;
  std::vector<long> keys;
  const char kKeyChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
  for (int i = 0; i < 300; i++) {
    char name[4];
    for (char& c : name) {
      c = kKeyChars[rng() % (sizeof kKeyChars - 1)];
    }
    long key = ArgList::KeyCode(name, 4);
    keys.push_back(key);
    switch (i % 3) {
      case 0:
        original.SetInt(key, static_cast<long>(static_cast<int32>(rng())));
        break;
      case 1:
        original.SetFloat(key, static_cast<float>(rng() % 100000) / 8.0f);
        break;
      default: {
        std::string bytes;
        for (int n = static_cast<int>(rng() % 40); n > 0; n--) {
          bytes += static_cast<char>(rng() % 256);
        }
        original.SetStr(key, bytes.data(), static_cast<long>(bytes.size()));
      }
    }
  }
  ArgList copy;
  copy.SetArgs(Export(original).c_str());
  EXPECT_EQ(original.Count(), copy.Count());
  for (long key : keys) {
    const UtilStr* str = original.GetStr(key);
    if (str != nullptr) {
      ASSERT_NE(nullptr, copy.GetStr(key));
      EXPECT_EQ(Str(*str), Str(*copy.GetStr(key)));
    } else {
      EXPECT_EQ(GetText(original, key), GetText(copy, key));
    }
  }
}

TEST(ArgList, SurvivesTruncatedBinaryAndHugeText) {
  // Cut in every place, including inside escapes and comments.
  const std::string text = "ABCD=\"a\\x4\\\"b\" /* c */ WXYZ=1.5e3, // x\nNAME=\"\\";
  for (size_t len = 0; len <= text.size(); len++) {
    ArgList args;
    ParseExact(&args, text.substr(0, len));
  }
  ArgList whole;
  ParseExact(&whole, text);
  EXPECT_EQ("a\\x4\"b", GetText(whole, kABCD));
  EXPECT_EQ(1500, whole.GetInt(kWXYZ));

  // Random bytes, and random splices of valid text.
  std::mt19937 rng(11);
  for (int round = 0; round < 2000; round++) {
    std::string junk;
    for (int n = static_cast<int>(rng() % 200); n > 0; n--) {
      junk += (rng() % 2) ? static_cast<char>(rng() % 256) : text[rng() % text.size()];
    }
    ArgList args;
    ParseExact(&args, junk);
    UtilStr out;
    args.ExportTo(nullptr, &out);
  }

  // Half a megabyte of entries and an unterminated quote of the same size.
  std::string huge;
  for (int i = 0; huge.size() < 500000; i++) {
    huge += "K" + std::to_string(i % 1000) + "=" + std::to_string(i) + ",";
  }
  ArgList many;
  ParseExact(&many, huge);
  EXPECT_GT(many.Count(), 100);
  ArgList quote;
  ParseExact(&quote, "ABCD=\"" + std::string(500000, 'q'));
  EXPECT_EQ(500000, quote.GetStr(kABCD)->length());
}
