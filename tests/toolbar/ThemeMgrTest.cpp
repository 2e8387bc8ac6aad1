// The theme manager on real folders: loading, sorting, creating, deleting and
// the custom theme.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/KSTestFolder.h"
#include "foundation/KSBroadcaster.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "toolbar/ThemeMgr.h"
#include "toolbar/ThemeTestSupport.h"

namespace {

class CustomListener : public KSListener {
 public:
  void ListenToMsg(long inMsg, void* inParam1, void*) override {
    if (inMsg == kKSMsg_ThemeCustom) {
      mCount++;
      mSender = inParam1;
    }
  }
  int mCount = 0;
  void* mSender = nullptr;
};

std::vector<std::string> LogicalNames(const ThemeMgr& inMgr) {
  std::vector<std::string> names;
  UtilStr name;
  for (int i = 0; inMgr.GetLogicalThemeName(i, &name); i++) {
    names.push_back(name.getCStr());
  }
  return names;
}

std::vector<std::string> PhysicalNames(const ThemeMgr& inMgr) {
  std::vector<std::string> names;
  for (int i = 0; i < inMgr.CountThemes(); i++) {
    names.push_back(inMgr.GetThemeInfo(i)->mPhysicalName.getCStr());
  }
  return names;
}

class ThemeMgrTest : public ::testing::Test {
 protected:
  // The user's folder is there, as the work folder always is.
  void SetUp() override { mTemp.MakeFolder("user"); }

  void Load(ThemeMgr* ioMgr, bool inWithFactory = true) {
    KSFileSpec factory = mTemp.Item("factory");
    ioMgr->LoadThemeEnvironment(mTemp.Item("user"), inWithFactory ? &factory : nullptr);
  }
  // User themes "A" to "D"; with "(Custom)" they sit at indices 1 to 4.
  void MakeUserThemes() {
    for (const char* name : {"D", "B", "A", "C"}) {
      WriteTheme(mTemp, "user", name, name, "WaveShape/" + std::string(name) + "/On=0 \r\n");
    }
  }

  KSTestFolder mTemp;
};

}  // namespace

TEST_F(ThemeMgrTest, LoadsSortedSkipsDamagedAndMakesCustom) {
  mTemp.MakeFolder("factory");
  mTemp.MakeFolder("factory\\Themes");
  mTemp.MakeFolder("factory\\Themes\\Factory Default");
  UtilStr repoTheme;
  ASSERT_EQ(KSFile::ReadFile(RepoFactoryTheme("Factory Default\\theme.txt"), &repoTheme, -1), 0);
  KSFile::WriteFile(mTemp.Item("factory\\Themes\\Factory Default\\theme.txt"), repoTheme.getCStr(),
                    repoTheme.length());
  WriteTheme(mTemp, "factory", "bright", "bright");
  mTemp.MakeFolder("factory\\Themes\\Damaged");
  mTemp.MakeFile("factory\\Themes\\Damaged\\theme.txt", "LNam=\"Damaged\"\r\nWaveShape/x/On=0\r\n");
  mTemp.MakeFolder("factory\\Themes\\Empty");
  mTemp.MakeFile("factory\\Themes\\stray.txt", "LNam=\"Stray\"\r\n---\r\n");
  WriteTheme(mTemp, "user", "mine", "Mine");
  mTemp.MakeFolder("user\\Themes\\NoName");
  mTemp.MakeFile("user\\Themes\\NoName\\theme.txt", "Vers=1\r\n---\r\n");

  ThemeMgr mgr;
  Load(&mgr);
  // Case-sensitive order; the damaged and empty folders and the file are not listed.
  EXPECT_EQ(LogicalNames(mgr),
            (std::vector<std::string>{"", "(Custom)", "Factory Default", "Mine", "bright"}));
  EXPECT_EQ(PhysicalNames(mgr),
            (std::vector<std::string>{"NoName", "(Custom)", "Factory Default", "mine", "bright"}));
  EXPECT_TRUE(mgr.GetThemeInfo(2)->mReadOnly);
  EXPECT_TRUE(mgr.GetThemeInfo(4)->mReadOnly);
  EXPECT_FALSE(mgr.GetThemeInfo(3)->mReadOnly);
  EXPECT_FALSE(mgr.ThemeIsDeletable(1));  // the custom theme
  EXPECT_FALSE(mgr.ThemeIsDeletable(2));  // a factory theme
  EXPECT_TRUE(mgr.ThemeIsDeletable(3));
  EXPECT_FALSE(mgr.ThemeIsDeletable(5));
  EXPECT_EQ(mgr.FindThemeByLogicalName("MINE"), 3);
  EXPECT_EQ(mgr.FindThemeByLogicalName("Nothing"), -1);

  // The custom theme was made in the user's folder.
  KSFileSpec custom = mTemp.Item("user\\Themes\\(Custom)");
  CXTheme stored;
  ASSERT_EQ(stored.ReadFromDisk(custom, false), 0);
  EXPECT_EQ(AttribStr(stored, kThemeAttr_LogicalName), "(Custom)");
  EXPECT_EQ(stored.ThemeAttribs().GetInt(kThemeAttr_Version), 1);

  // The factory theme of the repository is a complete theme.
  ASSERT_EQ(mgr.SetCurrentTheme(2), 0);
  EXPECT_EQ(mgr.GetCurrentTheme(), 2);
  EXPECT_FALSE(mgr.UsingCustom());
  for (int type = 0; type < kCX_ConfigTypeCount; type++) {
    EXPECT_EQ(mgr.CurTheme().GetAttrib(CXConfigType(type), "Any", -1, kConfigAttr_On, 0), 1);
  }

  // Loading again lists the same themes, without a second custom theme; a
  // missing factory folder leaves the user's themes.
  Load(&mgr);
  EXPECT_EQ(mgr.CountThemes(), 5);
  mTemp.Item("factory").DeleteRecursively();
  Load(&mgr);
  EXPECT_EQ(LogicalNames(mgr), (std::vector<std::string>{"", "(Custom)", "Mine"}));
}

TEST_F(ThemeMgrTest, CreatesThemesUnderUniqueFolderNames) {
  ThemeMgr mgr;
  Load(&mgr, false);
  ASSERT_EQ(mgr.SetCurrentTheme(mgr.FindThemeByLogicalName("(Custom)")), 0);
  mgr.SetAttrib(kCX_ColorMap, "Fire", -1, kConfigAttr_On, 0);

  for (int i = 0; i < 3; i++) {
    ASSERT_EQ(mgr.CreateNewTheme(UtilStr("a/b:c"), true, false), 0);
  }
  // Folder names clash ignoring case.
  ASSERT_EQ(mgr.CreateNewTheme(UtilStr("ABC"), false, false), 0);
  EXPECT_EQ(PhysicalNames(mgr),
            (std::vector<std::string>{"(Custom)", "ABC4", "abc3", "abc2", "abc"}));
  EXPECT_EQ(mgr.GetCurrentTheme(), 0);  // creating does not change the current theme

  // A copy of the current content under the new names.
  CXTheme copy;
  ASSERT_EQ(copy.ReadFromDisk(mTemp.Item("user\\Themes\\abc2"), false), 0);
  EXPECT_EQ(AttribStr(copy, kThemeAttr_LogicalName), "a/b:c");
  EXPECT_EQ(AttribStr(copy, kThemeAttr_PhysicalName), "abc2");
  EXPECT_GT(copy.ThemeAttribs().GetInt(kThemeAttr_CreationDays), 40000);
  EXPECT_EQ(copy.GetAttrib(kCX_ColorMap, "Fire", -1, kConfigAttr_On, 1), 0);
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\ABC4"), kCX_ColorMap, "Fire"), 1);

  EXPECT_EQ(mgr.CreateNewTheme(UtilStr("?*<>|"), false, false), kKSErr_IllegalChars);
  EXPECT_EQ(mgr.CountThemes(), 5);

  std::string forty = "Forty characters of name for a new theme";
  ASSERT_EQ(forty.size(), 40u);
  ASSERT_EQ(mgr.CreateNewTheme(UtilStr(forty.c_str()), false, false), 0);
  const ThemeInfo* longOne = mgr.GetThemeInfo(mgr.FindThemeByLogicalName(forty.c_str()));
  EXPECT_STREQ(longOne->mPhysicalName.getCStr(), "Forty characters of nam-heme");
  EXPECT_EQ(mTemp.Item("user\\Themes\\Forty characters of nam-heme").Exists(), ks_ItemIsFolder);

  // Replacing: the old theme of that name (ignoring case) goes, the new one
  // is listed once.
  ASSERT_EQ(mgr.CreateNewTheme(UtilStr("abc"), false, true), 0);
  EXPECT_EQ(LogicalNames(mgr),
            (std::vector<std::string>{"(Custom)", forty, "a/b:c", "a/b:c", "a/b:c", "abc"}));
  EXPECT_STREQ(mgr.GetThemeInfo(5)->mPhysicalName.getCStr(), "abc5");
  EXPECT_EQ(mTemp.Item("user\\Themes\\ABC4").Exists(), 0);
  EXPECT_EQ(mTemp.Item("user\\Themes\\abc5").Exists(), ks_ItemIsFolder);
}

TEST_F(ThemeMgrTest, DeletingTheCurrentThemeMovesToItsNeighbour) {
  MakeUserThemes();
  WriteTheme(mTemp, "factory", "Factory", "ZZ Factory");
  ThemeMgr mgr;
  Load(&mgr);
  ASSERT_EQ(LogicalNames(mgr),
            (std::vector<std::string>{"(Custom)", "A", "B", "C", "D", "ZZ Factory"}));

  EXPECT_EQ(mgr.DeleteTheme(6), kKSErr_Param);
  EXPECT_EQ(mgr.DeleteTheme(-1), kKSErr_Param);
  EXPECT_EQ(mgr.DeleteTheme(5), kKSErr_ReadOnly);
  EXPECT_EQ(mgr.DeleteTheme(0), kKSErr_ReadOnly);

  ASSERT_EQ(mgr.SetCurrentTheme(3), 0);  // C
  ASSERT_EQ(mgr.DeleteTheme(3), 0);
  EXPECT_EQ(mTemp.Item("user\\Themes\\C").Exists(), 0);
  EXPECT_EQ(mgr.GetCurrentTheme(), 2);
  EXPECT_EQ(AttribStr(mgr.CurTheme(), kThemeAttr_LogicalName), "B");
  EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_WaveShape, "B", -1, kConfigAttr_On, 1), 0);

  // Deleting another theme leaves the current one.
  ASSERT_EQ(mgr.DeleteTheme(3), 0);  // D
  EXPECT_EQ(AttribStr(mgr.CurTheme(), kThemeAttr_LogicalName), "B");
  EXPECT_EQ(mgr.GetCurrentTheme(), 2);

  // At index 1 the theme after it takes index 1 and becomes current.
  ASSERT_EQ(mgr.SetCurrentTheme(1), 0);  // A
  ASSERT_EQ(mgr.DeleteTheme(1), 0);
  EXPECT_EQ(LogicalNames(mgr), (std::vector<std::string>{"(Custom)", "B", "ZZ Factory"}));
  EXPECT_EQ(mgr.GetCurrentTheme(), 1);
  EXPECT_EQ(AttribStr(mgr.CurTheme(), kThemeAttr_LogicalName), "B");
}

TEST_F(ThemeMgrTest, CustomThemeCollectsChangesAndSurvivesRestart) {
  MakeUserThemes();
  {
    ThemeMgr mgr;
    CustomListener listener;
    mgr.AddListener(&listener);
    Load(&mgr);
    ASSERT_EQ(mgr.SetCurrentTheme(mgr.FindThemeByLogicalName("A")), 0);

    mgr.SetAttrib(kCX_WaveShape, "Flower", -1, kConfigAttr_On, 0);
    mgr.SetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 0);
    EXPECT_EQ(listener.mCount, 1);
    EXPECT_EQ(listener.mSender, &mgr);
    EXPECT_TRUE(mgr.UsingCustom());
    EXPECT_EQ(mgr.GetCurrentTheme(), 0);
    EXPECT_FALSE(mgr.ThemeIsDeletable(mgr.GetCurrentTheme()));
    // The changes started from A's content.
    EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_WaveShape, "A", -1, kConfigAttr_On, 1), 0);

    // Leaving the custom theme saves it; A itself is unchanged.
    ASSERT_EQ(mgr.SetCurrentTheme(mgr.FindThemeByLogicalName("B")), 0);
    EXPECT_FALSE(mgr.UsingCustom());
    KSFileSpec customFolder = mTemp.Item("user\\Themes\\(Custom)");
    EXPECT_EQ(StoredOn(customFolder, kCX_WaveShape, "Flower"), 0);
    EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\A"), kCX_WaveShape, "Flower"), 1);

    // Choosing the custom theme again brings the changes back; a further
    // change is saved when the manager ends.
    ASSERT_EQ(mgr.SetCurrentTheme(0), 0);
    EXPECT_TRUE(mgr.UsingCustom());
    EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 1), 0);
    mgr.SetAttrib(kCX_Sprite, "Logo", -1, kConfigAttr_On, 0);
    EXPECT_EQ(listener.mCount, 1);
  }
  ThemeMgr restarted;
  Load(&restarted);
  EXPECT_EQ(restarted.CountThemes(), 5);
  ASSERT_EQ(restarted.SetCurrentTheme(restarted.FindThemeByLogicalName("(Custom)")), 0);
  EXPECT_TRUE(restarted.UsingCustom());
  const CXTheme& custom = restarted.CurTheme();
  EXPECT_EQ(custom.GetAttrib(kCX_WaveShape, "Flower", -1, kConfigAttr_On, 1), 0);
  EXPECT_EQ(custom.GetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 1), 0);
  EXPECT_EQ(custom.GetAttrib(kCX_Sprite, "Logo", -1, kConfigAttr_On, 1), 0);
}

TEST_F(ThemeMgrTest, UnreadableThemeBecomesEmptyUnderItsNames) {
  MakeUserThemes();
  ThemeMgr mgr;
  Load(&mgr);
  EXPECT_EQ(mgr.SetCurrentTheme(5), kKSErr_IndexOutOfBounds);
  EXPECT_EQ(mgr.SetCurrentTheme(-1), kKSErr_IndexOutOfBounds);
  EXPECT_EQ(mgr.GetCurrentTheme(), -1);

  ASSERT_EQ(mgr.SetCurrentTheme(2), 0);  // B
  mTemp.MakeFile("user\\Themes\\C\\theme.txt", "damaged");
  ASSERT_EQ(mgr.SetCurrentTheme(3), 0);
  EXPECT_EQ(AttribStr(mgr.CurTheme(), kThemeAttr_LogicalName), "C");
  EXPECT_EQ(AttribStr(mgr.CurTheme(), kThemeAttr_PhysicalName), "C");
  EXPECT_EQ(mgr.GetCurrentTheme(), 3);
  // Nothing of B's content is left.
  EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_WaveShape, "B", -1, kConfigAttr_On, 1), 1);
}
