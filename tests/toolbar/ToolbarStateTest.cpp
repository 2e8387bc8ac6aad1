// The toolbar's state: work folder, engine search, preferences with their
// defaults and the version rule, and opening files through the shell.
#include <gtest/gtest.h>

#include <sstream>
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

TEST_F(ToolbarStateTest, FreshStartWritesEveryDefault) {
  {
    ToolbarState state(mTemp.Item("prefs"), nullptr, 0);
    ToolbarState second(mTemp.Item("prefs"), nullptr, 0);
    EXPECT_EQ(ToolbarState::sToolbarState, &state);
    EXPECT_EQ(state.mWorkFolder.GetPathname(),
              mTemp.Item("prefs\\Kestrova\\Corvexa").GetPathname());
    EXPECT_TRUE(state.mSkinsFolder.IsEmpty());
    EXPECT_TRUE(state.mDeckApp.IsEmpty());
    EXPECT_GE(state.mThemeMgr.FindThemeByLogicalName("(Custom)"), 0);
  }
  EXPECT_EQ(ToolbarState::sToolbarState, nullptr);
  std::string stored = ReadAll(mTemp.Item(kPrefsPath));
  // Every default, each on a line of its own.
  std::istringstream defaults(
      "Vers=350\r\nTTip=1\r\nTTop=0\r\nAOpn=1\r\nACls=0\r\nMinT=0\r\nUpCk=7\r\nTApr=0\r\n"
      "BarX=15\r\nBarY=15\r\nVAut=0\r\nAPrf=1\r\nWS_s=50\r\nCM_s=50\r\nFF_s=50\r\n"
      "FRte=50\r\nResS=50\r\nPreS=50\r\nPAut=1\r\nPInt=50\r\nPDur=50\r\nIAut=1\r\n"
      "IInt=50\r\nIDur=50\r\nISub=0\r\nSkin=\"Factory Blue\"\r\n"
      "Them=\"Factory Default\"\r\nSDir=\"\"\r\nInst=\"\"\r\n");
  for (std::string entry; std::getline(defaults, entry);) {
    EXPECT_NE(stored.find(entry + "\n"), std::string::npos) << entry;
  }
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
