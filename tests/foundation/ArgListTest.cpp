#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/ArgList.h"
#include "foundation/UtilStr.h"

namespace {

const long kABCD = ArgList::KeyCode("ABCD");
const long kWXYZ = ArgList::KeyCode("WXYZ");

std::string GetText(const ArgList& inArgs, long inKey) {
  UtilStr text;
  inArgs.GetStr(inKey, &text);
  return std::string(text.getCStr(), text.length());
}

std::string Export(const ArgList& inArgs, const char* inSeparator = nullptr) {
  UtilStr text;
  inArgs.ExportTo(inSeparator, &text);
  return std::string(text.getCStr(), text.length());
}

// Parses from a heap block of exactly the text's size, so that the address
// sanitizer catches any read past the given length.
void ParseExact(ArgList* ioArgs, const std::string& inText) {
  char* block = new char[inText.size() + 1];
  std::memcpy(block, inText.data(), inText.size());
  ioArgs->SetArgs(block, static_cast<long>(inText.size()));
  delete[] block;
}

}  // namespace

TEST(ArgList, ReadsTheTextForm) {
  ArgList args;
  args.SetArgs("ABCD=1, WXYZ = -0x1F");
  EXPECT_EQ(1, args.GetInt(kABCD));
  EXPECT_EQ(-31, args.GetInt(kWXYZ));

  // Longer keys keep their last four characters; blanks inside are ignored,
  // and text without '=' runs into the next key.
  args.SetArgs("XABCD=2\nW X\tY Z=3\nstray 5\nWXYZ=4");
  EXPECT_EQ(2, args.GetInt(kABCD));
  EXPECT_EQ(4, args.GetInt(kWXYZ));
  EXPECT_EQ(2, args.Count());
  EXPECT_EQ(0x6162, ArgList::KeyCode("ab"));

  // A '.' makes a float, quotes a string with escapes; an empty unquoted
  // value sets nothing, an empty quoted one is an empty string.
  args.SetArgs("ABCD=-2.9,WXYZ=\"a\\\"b\\x41\\t\",EMPT=,QUOT=\"\"");
  EXPECT_EQ(nullptr, args.GetStr(kABCD));
  EXPECT_EQ(-2, args.GetInt(kABCD));
  EXPECT_EQ("-2.9", GetText(args, kABCD));
  EXPECT_EQ("a\"bA\t", GetText(args, kWXYZ));
  EXPECT_FALSE(args.GetInt(ArgList::KeyCode("EMPT"), nullptr));
  ASSERT_NE(nullptr, args.GetStr(ArgList::KeyCode("QUOT")));
  EXPECT_EQ(0, args.GetStr(ArgList::KeyCode("QUOT"))->length());

  // Comments go anywhere between entries; an unterminated one ends the text.
  args.RemoveAll();
  args.SetArgs(
      "// ABCD=9\r\nABCD=1 /* WXYZ=9 */ WXYZ=2 // WXYZ=9\n"
      "/* two\n lines */ DEFG=3/*tight*/HIJK=4 /* WXYZ=7");
  EXPECT_EQ(1, args.GetInt(kABCD));
  EXPECT_EQ(2, args.GetInt(kWXYZ));
  EXPECT_EQ(4, args.GetInt(ArgList::KeyCode("HIJK")));
  EXPECT_EQ(4, args.Count());
}

TEST(ArgList, ConvertsAndReplacesValues) {
  ArgList args;
  args.SetInt(kABCD, -120);
  EXPECT_EQ("-120", GetText(args, kABCD));
  args.SetStr(kWXYZ, "42", -1);
  EXPECT_EQ(42, args.GetInt(kWXYZ));
  args.SetArgs("DEFG=1e20.");  // saturates instead of wrapping
  EXPECT_EQ(2147483647L, args.GetInt(ArgList::KeyCode("DEFG")));

  long missing = 5;
  UtilStr text("stale");
  EXPECT_FALSE(args.GetInt(ArgList::KeyCode("none"), &missing));
  EXPECT_FALSE(args.GetStr(ArgList::KeyCode("none"), &text));
  EXPECT_EQ(0, missing);
  EXPECT_TRUE(text.IsEmpty());

  // A string is overwritten in place; another type replaces (and deletes) it.
  const UtilStr* stored = args.GetStr(kWXYZ);
  args.SetStr(kWXYZ, UtilStr("second"));
  EXPECT_EQ(stored, args.GetStr(kWXYZ));
  args.SetInt(kWXYZ, 3);
  EXPECT_EQ(nullptr, args.GetStr(kWXYZ));
}

TEST(ArgList, ExportsTheTextForm) {
  ArgList args;
  args.SetInt(kABCD, 12);
  EXPECT_EQ("ABCD=12\r\n", Export(args));
  args.RemoveAll();
  args.SetArgs("WxYz=0.1");
  EXPECT_EQ("WxYz=0.1, ", Export(args, ", "));
  args.SetArgs("WxYz=3.0");
  EXPECT_EQ("WxYz=3\r\n", Export(args));

  args.RemoveAll();
  const char raw[] = "a\\b\"c\n\x01\xE9";
  args.SetStr(ArgList::KeyCode("Name"), raw, sizeof raw - 1);
  EXPECT_EQ("Name=\"a\\\\b\\\"c\\n\\x01\\xE9\"\r\n", Export(args));

  // Short codes lose their leading zero bytes; codes below 32 and key bytes
  // outside 32-127 are not written.
  args.RemoveAll();
  args.SetInt(ArgList::KeyCode("ab"), 1);
  args.SetInt(31, 1);
  args.SetInt(-5, 1);
  EXPECT_EQ("ab=1\r\n", Export(args));
  args.RemoveAll();
  args.SetInt(0x41FF4243, 2);
  EXPECT_EQ("ABC=2\r\n", Export(args));
}

// Random bytes are the fuzz target's; here every cut of a text that ends
// inside each construct, and sizes far beyond any preferences file.
TEST(ArgList, SurvivesTruncatedAndHugeText) {
  const std::string text = "ABCD=\"a\\x4\\\"b\" /* c */ WXYZ=1.5e3, // x\nNAME=\"\\";
  for (size_t len = 0; len <= text.size(); len++) {
    ArgList args;
    ParseExact(&args, text.substr(0, len));
  }

  std::string huge;
  for (int i = 0; huge.size() < 500000; i++) {
    huge += "K" + std::to_string(i % 1000) + "=" + std::to_string(i) + ",";
  }
  ArgList many;
  ParseExact(&many, huge);
  EXPECT_EQ(1000, many.Count());
  ArgList quote;
  ParseExact(&quote, "ABCD=\"" + std::string(500000, 'q'));
  EXPECT_EQ(500000, quote.GetStr(kABCD)->length());
}
