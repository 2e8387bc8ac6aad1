// The "theme.txt" text form, configuration attributes with the wildcard, and
// theme folder names.
#include <gtest/gtest.h>

#include <string>

#include "files/KSOStream.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "toolbar/CXTheme.h"
#include "toolbar/ThemeFolderName.h"

namespace {

std::string Text(const CXTheme& inTheme) {
  KSOStream out;
  EXPECT_EQ(inTheme.SaveToStream(&out), 0);
  return std::string(out.GetBuffer().getCStr(), size_t(out.GetBuffer().length()));
}

long Read(CXTheme* ioTheme, const std::string& inText, bool inHeaderOnly = false) {
  return ioTheme->ReadFromBuf(UtilStr(inText.data(), long(inText.size())), inHeaderOnly);
}

std::string Str(const ArgList& inArgs, long inKey) {
  UtilStr value;
  inArgs.GetStr(inKey, &value);
  return value.getCStr();
}

long On(const CXTheme& inTheme, CXConfigType inType, const char* inName) {
  return inTheme.GetAttrib(inType, inName, -1, kConfigAttr_On, 1);
}

std::string FolderName(const std::string& inLogicalName) {
  UtilStr name;
  MakeThemeFolderName(UtilStr(inLogicalName.data(), long(inLogicalName.size())), &name);
  return std::string(name.getCStr(), size_t(name.length()));
}

}  // namespace

TEST(CXTheme, ReadsHeaderAndSections) {
  CXTheme theme;
  ASSERT_EQ(Read(&theme,
                 "LNam=\"Calm\" PNam=\"calm\" Vers=1 CreD=45000 CreS=60 \r\n"
                 "---\r\n"
                 "WaveShape/Flower/On=0 \r\n"
                 "  ColorMap/*/On=0 \r\n"
                 "Shader/x/On=0 \r\n"
                 "colormap/Fire/On=0 \r\n"
                 "no slash here\r\n"
                 "Particle/*/On=0 \r\n"
                 "Particle/Sparks\r\n"
                 "Sprite/Logo/On=0 Flag=5 \n"),
            0);
  EXPECT_EQ(Str(theme.ThemeAttribs(), kThemeAttr_LogicalName), "Calm");
  EXPECT_EQ(Str(theme.ThemeAttribs(), kThemeAttr_PhysicalName), "calm");
  EXPECT_EQ(theme.ThemeAttribs().GetInt(kThemeAttr_CreationDays), 45000);

  EXPECT_EQ(On(theme, kCX_WaveShape, "Flower"), 0);
  EXPECT_EQ(On(theme, kCX_WaveShape, "flower"), 1);  // names are case-sensitive
  // The wildcard answers for every color map not listed; the lower-case
  // section and the unknown one were skipped.
  EXPECT_EQ(On(theme, kCX_ColorMap, "Fire"), 0);
  EXPECT_EQ(On(theme, kCX_ColorMap, "Anything"), 0);
  // A configuration listed without attributes still hides the wildcard.
  EXPECT_EQ(theme.GetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 7), 7);
  EXPECT_EQ(theme.GetAttrib(kCX_Sprite, "Logo", -1, KSFourCC("Flag"), 0), 5);
  EXPECT_EQ(theme.GetAttrib(kCX_Sprite, "Logo", 2, kConfigAttr_On, 9), 9);  // "Lo"
  EXPECT_EQ(theme.GetAttrib(kCX_InvalidConfigType, "Flower", -1, kConfigAttr_On, 3), 3);
  EXPECT_EQ(theme.GetAttrib(kCX_ConfigTypeCount, "Flower", -1, kConfigAttr_On, 3), 3);
}

TEST(CXTheme, SeparatorMustStartALine) {
  CXTheme theme;
  EXPECT_EQ(Read(&theme, "LNam=\"a---b\" \r\nWaveShape/x/On=0 \r\n"), kKSErr_FormatNotRecognized);
  EXPECT_EQ(Read(&theme, ""), kKSErr_FormatNotRecognized);
  // A "---" inside a value does not count; the one starting a line does.
  ASSERT_EQ(Read(&theme, "LNam=\"a---b\"\n---\nWaveShape/x/On=0\n"), 0);
  EXPECT_EQ(Str(theme.ThemeAttribs(), kThemeAttr_LogicalName), "a---b");
  EXPECT_EQ(On(theme, kCX_WaveShape, "x"), 0);
  // At the very start, with no line end after it.
  EXPECT_EQ(Read(&theme, "---"), 0);
}

TEST(CXTheme, ReadingReplacesListsAndMergesHeader) {
  CXTheme theme;
  ASSERT_EQ(Read(&theme, "LNam=\"One\" Vers=1 \r\n---\r\nWaveShape/a/On=0 \r\n"), 0);
  ASSERT_EQ(Read(&theme, "LNam=\"Two\" \r\n---\r\nWaveShape/b/On=0 \r\nWaveShape/b/X=1 \r\n"), 0);
  EXPECT_EQ(Str(theme.ThemeAttribs(), kThemeAttr_LogicalName), "Two");
  EXPECT_EQ(theme.ThemeAttribs().GetInt(kThemeAttr_Version), 1);  // kept from the first
  EXPECT_EQ(On(theme, kCX_WaveShape, "a"), 1);                    // the old lists are gone
  // A later line of the same name replaces the whole list.
  EXPECT_EQ(On(theme, kCX_WaveShape, "b"), 1);
  EXPECT_EQ(theme.GetAttrib(kCX_WaveShape, "b", -1, ArgList::KeyCode("X"), 0), 1);

  // Header only: the lists are emptied and the body is not read.
  ASSERT_EQ(Read(&theme, "LNam=\"Three\"\r\n---\r\nWaveShape/c/On=0\r\n", true), 0);
  EXPECT_EQ(Str(theme.ThemeAttribs(), kThemeAttr_LogicalName), "Three");
  EXPECT_EQ(On(theme, kCX_WaveShape, "c"), 1);
  EXPECT_EQ(On(theme, kCX_WaveShape, "b"), 1);
}

TEST(CXTheme, WritesTheTextForm) {
  CXTheme theme;
  theme.ThemeAttribs().SetStr(kThemeAttr_LogicalName, "Say \"hi\"");
  theme.SetAttrib(kCX_Script, "Intro", -1, kConfigAttr_On, 0);
  theme.SetAttrib(kCX_WaveShape, "Flower", -1, kConfigAttr_On, 0);
  EXPECT_EQ(Text(theme),
            "LNam=\"Say \\\"hi\\\"\" \r\n"
            "---\r\n"
            "WaveShape/Flower/On=0 \r\n"
            "Script/Intro/On=0 \r\n");
}

TEST(CXTheme, RoundTripAndCopy) {
  CXTheme source;
  source.ThemeAttribs().SetStr(kThemeAttr_LogicalName, "Mix");
  source.ThemeAttribs().SetStr(kThemeAttr_PhysicalName, "Mix");
  source.ThemeAttribs().SetInt(kThemeAttr_Version, 1);
  const char* names[] = {"*", "Flower", "Deep Blue", "\xC3\xA9t\xC3\xA9", ""};
  for (int type = 0; type < kCX_ConfigTypeCount; type++) {
    for (int i = 0; i < 5; i++) {
      source.SetAttrib(CXConfigType(type), names[i], -1, kConfigAttr_On, (type + i) % 2);
    }
  }
  source.SetAttrib(kCX_Sprite, "Logo", -1, KSFourCC("Flag"), -2147483647 - 1);

  CXTheme copy;
  copy.ThemeAttribs().SetInt(kThemeAttr_CreationDays, 12);
  ASSERT_EQ(copy.CopyContents(source), 0);
  for (int type = 0; type < kCX_ConfigTypeCount; type++) {
    for (int i = 0; i < 5; i++) {
      EXPECT_EQ(On(copy, CXConfigType(type), names[i]), (type + i) % 2) << type << " " << i;
    }
  }
  EXPECT_EQ(copy.GetAttrib(kCX_Sprite, "Logo", -1, KSFourCC("Flag"), 0), -2147483647 - 1);
  EXPECT_EQ(copy.ThemeAttribs().GetInt(kThemeAttr_CreationDays), 12);  // not in the source

  // Setting an attribute of a listed configuration adds to its list.
  copy.SetAttrib(kCX_Sprite, "Logo", -1, kConfigAttr_On, 0);
  EXPECT_EQ(copy.GetAttrib(kCX_Sprite, "Logo", -1, KSFourCC("Flag"), 0), -2147483647 - 1);
  EXPECT_EQ(On(copy, kCX_Sprite, "Logo"), 0);

  copy.SetFactorySettings();
  EXPECT_EQ(Text(copy).find("---\r\n") + 5, Text(copy).size());  // no configuration lines
  EXPECT_EQ(Str(copy.ThemeAttribs(), kThemeAttr_LogicalName), "");
  EXPECT_EQ(copy.ThemeAttribs().GetInt(kThemeAttr_Version), 1);  // other attributes stay
}

TEST(CXTheme, DamagedTextNeverCrashes) {
  std::string good =
      "LNam=\"Good\" PNam=\"Good\" Vers=1 \r\n---\r\nWaveShape/A/On=0 \r\nColorMap/*/On=1 \r\n";
  // Every prefix of a good file, and the file with each byte replaced.
  for (size_t len = 0; len <= good.size(); len++) {
    CXTheme theme;
    Read(&theme, good.substr(0, len));
  }
  const char replacements[] = {'\0', '/', '\r', '\n', '"', '\\', '\xFF', '-'};
  for (size_t i = 0; i < good.size(); i++) {
    for (char c : replacements) {
      std::string damaged = good;
      damaged[i] = c;
      CXTheme theme;
      Read(&theme, damaged);
      On(theme, kCX_WaveShape, "A");
    }
  }
  CXTheme theme;
  EXPECT_EQ(Read(&theme, std::string("---\n/\n//\n///\nWaveShape/\nWaveShape//\n\x80\x81/x/y")), 0);
  EXPECT_EQ(On(theme, kCX_WaveShape, ""), 1);
}

TEST(ThemeFolderName, CleansAndShortens) {
  EXPECT_EQ(FolderName("a/b:c"), "abc");
  EXPECT_EQ(FolderName("*\\/:?\"<>|"), "");
  EXPECT_EQ(FolderName(std::string("x\x01y\tz\x1F", 6)), "xyz");
  EXPECT_EQ(FolderName("(Custom)"), "(Custom)");

  std::string name29(29, 'n');
  EXPECT_EQ(FolderName(name29), name29);
  std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789WXYZ";
  std::string shortened = FolderName(forty);
  EXPECT_EQ(shortened.size(), 28u);
  EXPECT_EQ(shortened[23], '-');
  EXPECT_EQ(shortened, "abcdefghijklmnopqrstuvw-WXYZ");
  // Illegal characters are removed before the length is counted.
  EXPECT_EQ(FolderName(name29 + "::::"), name29);

  // Characters, not bytes: 30 two-byte letters are shortened without
  // splitting one.
  std::string accented;
  for (int i = 0; i < 30; i++) {
    accented += "\xC3\xA9";
  }
  std::string expected;
  for (int i = 0; i < 23; i++) {
    expected += "\xC3\xA9";
  }
  expected += "-\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
  EXPECT_EQ(FolderName(accented), expected);
}
