// The toolbar's state: work folder, engine search, preferences with their
// defaults and the version rule, and opening files through the shell.
#include <gtest/gtest.h>

#include <string>

#include "foundation/KSError.h"
#include "support/KSTestFolder.h"
#include "toolbar/KSUtils.h"
#include "toolbar/KSVisualAPISession.h"
#include "toolbar/ThemeTestSupport.h"
#include "toolbar/ToolbarState.h"

namespace {

const char kPrefsPath[] = "prefs\\Kestrova\\Corvexa\\Toolbar Preferences.txt";

std::string Str(const Prefs& inPrefs, const char* inKey) {
  const UtilStr* value = inPrefs.GetStr(ArgList::KeyCode(inKey));
  return value != nullptr ? value->getCStr() : "<not text>";
}

long Int(const Prefs& inPrefs, const char* inKey) {
  return inPrefs.GetInt(ArgList::KeyCode(inKey));
}

// <inBase>\Kestrova\Corvexa, with Resources\info.txt when inComplete.
void MakeEngine(const KSTestFolder& inTemp, const std::string& inBase, bool inComplete) {
  for (const char* level :
       {"", "\\Kestrova", "\\Kestrova\\Corvexa", "\\Kestrova\\Corvexa\\Resources"}) {
    inTemp.MakeFolder(inBase + level);
  }
  if (inComplete) {
    inTemp.MakeFile(inBase + "\\Kestrova\\Corvexa\\Resources\\info.txt", "engine");
  }
}

class ToolbarStateTest : public ::testing::Test {
 protected:
  void SetUp() override { mTemp.MakeFolder("prefs"); }
  KSTestFolder mTemp;
};

}  // namespace

// A fresh start stores its preferences whole (what they hold is the
// defaults table's business; where, the other cases here read); the first
// state made is the one.
TEST_F(ToolbarStateTest, FreshStartStoresThePreferences) {
  {
    ToolbarState state(mTemp.Item("prefs"), nullptr, 0);
    ToolbarState second(mTemp.Item("prefs"), nullptr, 0);
    EXPECT_EQ(ToolbarState::sToolbarState, &state);
  }
  EXPECT_EQ(ToolbarState::sToolbarState, nullptr);
  Prefs stored;
  stored.SetSpec(mTemp.Item(kPrefsPath));
  ASSERT_EQ(0, stored.Load());
  ToolbarState again(mTemp.Item("prefs"), nullptr, 0);
  EXPECT_EQ(again.mPrefs.GetArgs().Count(), stored.GetArgs().Count());
}

TEST_F(ToolbarStateTest, PreferencesOfAnotherVersionAreReset) {
  MakeEngine(mTemp, "prefs", false);
  struct {
    const char* mFile;
    long mTopmost;
    const char* mSkin;
  } cases[] = {
      {"Vers=349\r\nTTop=1\r\nSkin=\"Other\"\r\n", 0, "Factory Blue"},
      {"TTop=1\r\nSkin=\"Other\"\r\n", 0, "Factory Blue"},
      {"Vers=350\r\nTTop=1\r\n", 1, "Factory Blue"},
      {"Vers=350\r\nTTop=1\r\nSkin=\"cut", 1, "cut"},
      {"\x01\xFF=\"=,/*", 0, "Factory Blue"},
  };
  for (const auto& c : cases) {
    mTemp.MakeFile(kPrefsPath, c.mFile);
    ToolbarState state(mTemp.Item("prefs"), nullptr, 0);
    EXPECT_EQ(Int(state.mPrefs, "Vers"), 350) << c.mFile;
    EXPECT_EQ(Int(state.mPrefs, "TTop"), c.mTopmost) << c.mFile;
    EXPECT_EQ(Str(state.mPrefs, "Skin"), c.mSkin) << c.mFile;
    EXPECT_EQ(Int(state.mPrefs, "UpCk"), 7) << c.mFile;
  }
  // Complete preferences are not written again.
  std::string complete = ReadAll(mTemp.Item(kPrefsPath)) + "// kept\r\n";
  mTemp.MakeFile(kPrefsPath, complete);
  { ToolbarState state(mTemp.Item("prefs"), nullptr, 0); }
  EXPECT_EQ(ReadAll(mTemp.Item(kPrefsPath)), complete);
}

TEST_F(ToolbarStateTest, FindsTheEngineInTheFirstCompleteInstallation) {
  MakeEngine(mTemp, "first", false);
  MakeEngine(mTemp, "second", true);
  WriteTheme(mTemp, "second\\Kestrova\\Corvexa", "Factory", "Factory");
  MakeEngine(mTemp, "third", true);
  KSFileSpec places[] = {mTemp.Item("missing"), mTemp.Item("first"), mTemp.Item("second"),
                         mTemp.Item("third")};
  ToolbarState state(mTemp.Item("prefs"), places, 4);
  std::string engine = mTemp.Item("second\\Kestrova\\Corvexa").GetPathCStr();
  EXPECT_EQ(state.mEngineFolder.GetPathCStr(), engine);
  EXPECT_EQ(state.mSkinsFolder.GetPathCStr(), engine + "\\Skins");
  EXPECT_EQ(state.mDeckApp.GetPathCStr(), engine + "\\Corvexa Deck.exe");
  int factory = state.mThemeMgr.FindThemeByLogicalName("Factory");
  ASSERT_GE(factory, 0);
  EXPECT_TRUE(state.mThemeMgr.GetThemeInfo(factory)->mReadOnly);

  // An info.txt that is a folder does not make an engine.
  MakeEngine(mTemp, "fourth", false);
  mTemp.MakeFolder("fourth\\Kestrova\\Corvexa\\Resources\\info.txt");
  ToolbarState none(mTemp.Item("prefs"), &places[1], 1);
  EXPECT_TRUE(none.mSkinsFolder.IsEmpty());
  EXPECT_EQ(none.mThemeMgr.FindThemeByLogicalName("Factory"), -1);

  KSFileSpec place;
  EXPECT_EQ(KSVisualAPISession::GetEnginesDir(2, &place), kKSErr_Param);
}

TEST(KSUtils, OpensThroughTheShell) {
  KSTestFolder temp;
  EXPECT_EQ(KSUtils::Open(temp.Item("missing.exe")), kKSErr_Unmapped);
  wchar_t system[MAX_PATH];
  KSFileSpec systemDir, hostname;
  systemDir.AssignAbsolutePath(reinterpret_cast<const uint16*>(system),
                               int(GetSystemDirectoryW(system, MAX_PATH)));
  hostname.AssignRelativePath("hostname.exe", -1, systemDir);
  EXPECT_EQ(KSUtils::Open(hostname), 0);
}
