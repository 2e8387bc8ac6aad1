#include <gtest/gtest.h>

#include <string>

#include "foundation/UtilStr.h"
#include "platform/BaseStrings.h"

namespace {

std::string Dir(const char* inPath) {
  UtilStr dir;
  BaseParsePathname(inPath, &dir, nullptr);
  return dir.getCStr();
}

std::string Name(const char* inPath) {
  UtilStr name;
  BaseParsePathname(inPath, nullptr, &name);
  return name.getCStr();
}

std::string Join(const char* inDir, const char* inName) {
  UtilStr path;
  BaseMakePathname(&path, inDir, inName);
  return path.getCStr();
}

std::string Command(const char* inTemplate) {
  UtilStr command;
  BaseCommandBeforeDocument(inTemplate, &command);
  return command.getCStr();
}

}  // namespace

TEST(BaseStrings, SplitsAtTheLastSeparatorOfAnyKind) {
  EXPECT_EQ("C:\\Skins", Dir("C:\\Skins\\skin.txt"));
  EXPECT_EQ("skin.txt", Name("C:\\Skins\\skin.txt"));
  EXPECT_EQ("a\\b", Dir("a\\b/c"));
  EXPECT_EQ("c", Name("a\\b/c"));
  EXPECT_EQ("C", Dir("C:"));
  EXPECT_EQ("", Name("C:"));
  EXPECT_EQ("", Dir("skin.txt"));
  EXPECT_EQ("skin.txt", Name("skin.txt"));
  EXPECT_EQ("", Dir("\\root"));
  EXPECT_EQ("root", Name("\\root"));
  EXPECT_EQ("", Dir(""));
  EXPECT_EQ("", Name(nullptr));

  // The outputs may hold the input itself.
  UtilStr path("Themes\\Night\\theme.txt");
  UtilStr name;
  BaseParsePathname(path.getCStr(), &path, &name);
  EXPECT_STREQ("Themes\\Night", path.getCStr());
  EXPECT_STREQ("theme.txt", name.getCStr());
}

TEST(BaseStrings, JoinsWithOneBackslash) {
  EXPECT_EQ("Skins\\skin.txt", Join("Skins", "skin.txt"));
  EXPECT_EQ("Skins\\skin.txt", Join("Skins\\", "skin.txt"));
  EXPECT_EQ("C:skin.txt", Join("C:", "skin.txt"));
  EXPECT_EQ("a/b", Join("a/", "b"));
  EXPECT_EQ("skin.txt", Join("", "skin.txt"));
  EXPECT_EQ("Xskin.txt", Join("X", "skin.txt"));  // a one-character folder gets none
  EXPECT_EQ("Skins\\", Join("Skins", nullptr));

  UtilStr path("dir");
  BaseMakePathname(&path, path.getCStr(), "file");
  EXPECT_STREQ("dir\\file", path.getCStr());
}

TEST(BaseStrings, CutsTheHandlerCommandBeforeTheDocument) {
  EXPECT_EQ("\"C:\\Web\\view.exe\" -url ", Command("\"C:\\Web\\view.exe\" -url \"%1\""));
  // A quoted %1 wins over an earlier bare one.
  EXPECT_EQ("view.exe %1 ", Command("view.exe %1 \"%1\""));
  EXPECT_EQ("view.exe -nohome ", Command("view.exe -nohome %1"));
  EXPECT_EQ("view.exe", Command("view.exe"));
  EXPECT_EQ("", Command(nullptr));
}
