// The "theme.txt" text form, configuration attributes with the wildcard, and
// theme folder names and what they become on disk.
#include <gtest/gtest.h>

#include <string>

#include "files/KSOStream.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "toolbar/CXTheme.h"
#include "toolbar/ThemeFolderName.h"

namespace {

long Read(CXTheme* ioTheme, const std::string& inText, bool inHeaderOnly = false) {
  return ioTheme->ReadFromBuf(UtilStr(inText.data(), long(inText.size())), inHeaderOnly);
}

long On(const CXTheme& inTheme, CXConfigType inType, const char* inName) {
  return inTheme.GetAttrib(inType, inName, -1, kConfigAttr_On, 1);
}

std::string FolderName(const std::string& inLogicalName) {
  UtilStr name;
  MakeThemeFolderName(UtilStr(inLogicalName.data(), long(inLogicalName.size())), &name);
  return name.getCStr();
}

}  // namespace

TEST(CXTheme, ReadsSectionsAndWildcards) {
  CXTheme theme;
  EXPECT_EQ(Read(&theme, "LNam=\"a---b\" \r\nWaveShape/x/On=0 \r\n"), kKSErr_FormatNotRecognized);
  ASSERT_EQ(Read(&theme,
                 "LNam=\"a---b\" Vers=1 \r\n---\r\n"
                 "WaveShape/Flower/On=0 \r\n"
                 "  ColorMap/*/On=0 \r\n"
                 "Shader/x/On=0 \r\ncolormap/Fire/On=1 \r\nno slash\r\n"
                 "Particle/*/On=0 \r\nParticle/Sparks\r\n"
                 "Sprite/Logo/On=1 \nSprite/Logo/Flag=5 \n"),
            0);
  UtilStr name;
  theme.ThemeAttribs().GetStr(kThemeAttr_LogicalName, &name);
  EXPECT_STREQ(name.getCStr(), "a---b");
  EXPECT_EQ(On(theme, kCX_WaveShape, "Flower"), 0);
  EXPECT_EQ(On(theme, kCX_WaveShape, "flower"), 1);  // names are case-sensitive
  EXPECT_EQ(On(theme, kCX_ColorMap, "Fire"), 0);     // the wildcard; other sections skipped
  // A listed configuration hides the wildcard even without the attribute.
  EXPECT_EQ(theme.GetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 7), 7);
  // A later line of the same name replaces the whole list.
  EXPECT_EQ(theme.GetAttrib(kCX_Sprite, "Logo", -1, ArgList::KeyCode("Flag"), 0), 5);
  EXPECT_EQ(theme.GetAttrib(kCX_Sprite, "Logo", -1, kConfigAttr_On, 9), 9);
  EXPECT_EQ(theme.GetAttrib(kCX_ConfigTypeCount, "Flower", -1, kConfigAttr_On, 3), 3);

  // Header only: the lists are emptied, the header merged, the body not read.
  ASSERT_EQ(Read(&theme, "---\r\nWaveShape/Flower/On=0 \r\n", true), 0);
  EXPECT_EQ(On(theme, kCX_WaveShape, "Flower"), 1);
  EXPECT_EQ(theme.ThemeAttribs().GetInt(kThemeAttr_Version), 1);
}

TEST(CXTheme, WritesAndCopiesTheTextForm) {
  CXTheme source;
  source.ThemeAttribs().SetStr(kThemeAttr_LogicalName, "Say \"hi\"");
  source.SetAttrib(kCX_Script, "Intro", -1, kConfigAttr_On, 0);
  source.SetAttrib(kCX_WaveShape, "\xC3\xA9t\xC3\xA9", -1, kConfigAttr_On, 0);
  source.SetAttrib(kCX_WaveShape, "\xC3\xA9t\xC3\xA9", -1, ArgList::KeyCode("Flag"), -5);
  KSOStream out;
  source.SaveToStream(&out);
  std::string text = out.GetBuffer().getCStr();
  EXPECT_EQ(text.substr(0, 29), "LNam=\"Say \\\"hi\\\"\" \r\n---\r\nWave");
  EXPECT_NE(text.find("Script/Intro/On=0 \r\n"), std::string::npos);

  CXTheme copy;
  ASSERT_EQ(copy.CopyContents(source), 0);
  EXPECT_EQ(On(copy, kCX_Script, "Intro"), 0);
  EXPECT_EQ(copy.GetAttrib(kCX_WaveShape, "\xC3\xA9t\xC3\xA9", -1, ArgList::KeyCode("Flag"), 0),
            -5);
  copy.SetFactorySettings();
  EXPECT_EQ(On(copy, kCX_Script, "Intro"), 1);
  EXPECT_EQ(copy.ThemeAttribs().GetStr(kThemeAttr_LogicalName)->length(), 0);
}

TEST(ThemeFolderName, CleansAndShortens) {
  EXPECT_EQ(FolderName("a/b:c"), "abc");
  EXPECT_EQ(FolderName(std::string("x\x01y\t*\\/:?\"<>|", 13)), "xy");
  std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789WXYZ";
  EXPECT_EQ(FolderName(forty), "abcdefghijklmnopqrstuvw-WXYZ");
  EXPECT_EQ(FolderName(forty.substr(0, 29) + "::"), forty.substr(0, 29));
  // Characters are counted, so a shortened name never splits one.
  std::string accented, expected;
  for (int i = 0; i < 30; i++) {
    accented += "\xC3\xA9";
    expected += i < 23 ? "\xC3\xA9" : (i == 23 ? "-" : "");
  }
  EXPECT_EQ(FolderName(accented), expected + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
}
