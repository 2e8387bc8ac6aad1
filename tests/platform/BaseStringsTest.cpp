#include <gtest/gtest.h>

#include <string>

#include "foundation/UtilStr.h"
#include "platform/BaseStrings.h"

namespace {

// "dir|name" of inPath.
std::string Split(const char* inPath) {
  UtilStr dir;
  UtilStr name;
  BaseParsePathname(inPath, &dir, &name);
  return std::string(dir.getCStr()) + "|" + name.getCStr();
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

TEST(BaseStrings, SplitsAndJoinsPathNames) {
  EXPECT_EQ("C:\\Skins|skin.txt", Split("C:\\Skins\\skin.txt"));
  EXPECT_EQ("a\\b|c", Split("a\\b/c"));
  EXPECT_EQ("C|", Split("C:"));
  EXPECT_EQ("|skin.txt", Split("skin.txt"));
  EXPECT_EQ("|root", Split("\\root"));
  EXPECT_EQ("|", Split(nullptr));

  // The outputs may hold the input itself.
  UtilStr path("Themes\\Night\\theme.txt");
  UtilStr name;
  BaseParsePathname(path.getCStr(), &path, &name);
  EXPECT_STREQ("Themes\\Night", path.getCStr());
  EXPECT_STREQ("theme.txt", name.getCStr());

  EXPECT_EQ("Skins\\skin.txt", Join("Skins", "skin.txt"));
  EXPECT_EQ("Skins\\skin.txt", Join("Skins\\", "skin.txt"));
  EXPECT_EQ("C:skin.txt", Join("C:", "skin.txt"));
  EXPECT_EQ("a/b", Join("a/", "b"));
  EXPECT_EQ("skin.txt", Join("", "skin.txt"));
  EXPECT_EQ("Xskin.txt", Join("X", "skin.txt"));  // a one-character folder gets none
  BaseMakePathname(&path, path.getCStr(), "file");
  EXPECT_STREQ("Themes\\Night\\file", path.getCStr());
}

TEST(BaseStrings, CutsTheHandlerCommandBeforeTheDocument) {
  EXPECT_EQ("\"C:\\Web\\view.exe\" -url ", Command("\"C:\\Web\\view.exe\" -url \"%1\""));
  EXPECT_EQ("view.exe %1 ", Command("view.exe %1 \"%1\""));  // the quoted one wins
  EXPECT_EQ("view.exe -nohome ", Command("view.exe -nohome %1"));
  EXPECT_EQ("view.exe", Command("view.exe"));
}
