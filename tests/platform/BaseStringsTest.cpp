#include <gtest/gtest.h>

#include <string>

#include "foundation/UtilStr.h"
#include "platform/BaseStrings.h"

TEST(BaseStrings, SplitsAndJoinsPathNames) {
  const char* splits[][3] = {{"C:\\Skins\\skin.txt", "C:\\Skins", "skin.txt"},
                             {"a\\b/c", "a\\b", "c"},
                             {"C:", "C", ""},
                             {"skin.txt", "", "skin.txt"},
                             {"\\root", "", "root"},
                             {nullptr, "", ""}};
  for (auto& split : splits) {
    SCOPED_TRACE(split[0] != nullptr ? split[0] : "null");
    UtilStr dir("x");
    UtilStr name("x");
    BaseParsePathname(split[0], &dir, &name);
    EXPECT_STREQ(split[1], dir.getCStr());
    EXPECT_STREQ(split[2], name.getCStr());
  }
  const char* joins[][3] = {{"Skins", "skin.txt", "Skins\\skin.txt"},
                            {"Skins\\", "skin.txt", "Skins\\skin.txt"},
                            {"C:", "skin.txt", "C:skin.txt"},
                            {"a/", "b", "a/b"},
                            {"", "skin.txt", "skin.txt"},
                            {"X", "skin.txt", "Xskin.txt"}};  // a one-character folder gets none
  for (auto& join : joins) {
    UtilStr path;
    BaseMakePathname(&path, join[0], join[1]);
    EXPECT_STREQ(join[2], path.getCStr());
  }

  // The outputs may hold the input itself.
  UtilStr path("Themes\\Night\\theme.txt");
  UtilStr name;
  BaseParsePathname(path.getCStr(), &path, &name);
  EXPECT_STREQ("Themes\\Night", path.getCStr());
  EXPECT_STREQ("theme.txt", name.getCStr());
  BaseMakePathname(&path, path.getCStr(), "file");
  EXPECT_STREQ("Themes\\Night\\file", path.getCStr());
}

TEST(BaseStrings, CutsTheHandlerCommandBeforeTheDocument) {
  const char* cuts[][2] = {{"\"C:\\Web\\view.exe\" -url \"%1\"", "\"C:\\Web\\view.exe\" -url "},
                           {"view.exe %1 \"%1\"", "view.exe %1 "},  // the quoted one wins
                           {"view.exe -nohome %1", "view.exe -nohome "},
                           {"view.exe", "view.exe"}};
  for (auto& cut : cuts) {
    UtilStr command;
    BaseCommandBeforeDocument(cut[0], &command);
    EXPECT_STREQ(cut[1], command.getCStr());
  }
}
