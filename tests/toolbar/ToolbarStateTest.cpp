// The toolbar's state: work folder, engine search, preferences with their
// defaults and the version rule, and opening files through the shell.
#include <gtest/gtest.h>

#include <string>

#include "files/KSTestFolder.h"
#include "foundation/ArgList.h"
#include "foundation/KSError.h"
#include "toolbar/KSUtils.h"
#include "toolbar/KSVisualAPISession.h"
#include "toolbar/ThemeTestSupport.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

namespace {

const char kPrefsPath[] = "prefs\\Kestrova\\Corvexa\\Toolbar Preferences.txt";

std::string Str(const Prefs& inPrefs, long inKey) {
  const UtilStr* value = inPrefs.GetStr(inKey);
  return value != nullptr ? value->getCStr() : "<not text>";
}

std::string Path(const KSFileSpec& inSpec) {
  return inSpec.GetPathCStr();
}

// Makes an engine installation <inBase>\Kestrova\Corvexa, with its
// Resources\info.txt when inComplete.
void MakeEngine(const KSTestFolder& inTemp, const std::string& inBase, bool inComplete) {
  inTemp.MakeFolder(inBase);
  inTemp.MakeFolder(inBase + "\\Kestrova");
  inTemp.MakeFolder(inBase + "\\Kestrova\\Corvexa");
  if (inComplete) {
    inTemp.MakeFolder(inBase + "\\Kestrova\\Corvexa\\Resources");
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
    EXPECT_EQ(ToolbarState::sToolbarState, &state);
    EXPECT_EQ(Path(state.mWorkFolder), Path(mTemp.Item("prefs\\Kestrova\\Corvexa")));
    EXPECT_EQ(state.mWorkFolder.Exists(), ks_ItemIsFolder);
    EXPECT_TRUE(state.mSkinsFolder.IsEmpty());
    EXPECT_TRUE(state.mDeckApp.IsEmpty());

    const Prefs& prefs = state.mPrefs;
    EXPECT_EQ(prefs.GetArgs().Count(), 29);
    EXPECT_EQ(prefs.GetInt(kPref_Version), 350);
    EXPECT_EQ(prefs.GetInt(KSFourCC("TTip")), 1);
    EXPECT_EQ(prefs.GetInt(KSFourCC("TTop")), 0);
    EXPECT_EQ(prefs.GetInt(KSFourCC("AOpn")), 1);
    EXPECT_EQ(prefs.GetInt(KSFourCC("UpCk")), 7);
    EXPECT_EQ(prefs.GetInt(KSFourCC("TApr")), 0);
    EXPECT_EQ(prefs.GetInt(KSFourCC("BarX")), 15);
    EXPECT_EQ(prefs.GetInt(KSFourCC("BarY")), 15);
    EXPECT_EQ(prefs.GetInt(KSFourCC("APrf")), 1);
    EXPECT_EQ(prefs.GetInt(KSFourCC("PAut")), 1);
    EXPECT_EQ(prefs.GetInt(KSFourCC("IAut")), 1);
    EXPECT_EQ(prefs.GetInt(KSFourCC("ISub")), 0);
    for (const char* percent :
         {"WS_s", "CM_s", "FF_s", "FRte", "ResS", "PreS", "PInt", "PDur", "IInt", "IDur"}) {
      EXPECT_EQ(prefs.GetInt(ArgList::KeyCode(percent)), 50) << percent;
    }
    EXPECT_EQ(Str(prefs, KSFourCC("Skin")), "Factory Blue");
    EXPECT_EQ(Str(prefs, KSFourCC("Them")), "Factory Default");
    EXPECT_EQ(Str(prefs, KSFourCC("SDir")), "");
    EXPECT_EQ(Str(prefs, KSFourCC("Inst")), "");

    // The theme environment is there too, with its custom theme.
    EXPECT_GE(state.mThemeMgr.FindThemeByLogicalName("(Custom)"), 0);
    EXPECT_EQ(mTemp.Item("prefs\\Kestrova\\Corvexa\\Themes\\(Custom)\\theme.txt").Exists(),
              ks_ItemIsFile);

    // Only the first state is the registered one.
    ToolbarState second(mTemp.Item("prefs"), nullptr, 0);
    EXPECT_EQ(ToolbarState::sToolbarState, &state);
  }
  EXPECT_EQ(ToolbarState::sToolbarState, nullptr);

  // Destruction wrote every key.
  ArgList stored;
  ASSERT_TRUE(stored.SetArgs(mTemp.Item(kPrefsPath)));
  EXPECT_EQ(stored.Count(), 29);
  EXPECT_EQ(stored.GetInt(kPref_Version), 350);
  UtilStr skin;
  stored.GetStr(KSFourCC("Skin"), &skin);
  EXPECT_STREQ(skin.getCStr(), "Factory Blue");
}

TEST_F(ToolbarStateTest, PreferencesOfAnotherVersionAreReset) {
  mTemp.MakeFolder("prefs\\Kestrova");
  mTemp.MakeFolder("prefs\\Kestrova\\Corvexa");
  struct Case {
    const char* mFile;
    long mTopmost;
    const char* mSkin;
  } cases[] = {
      {"Vers=349\r\nTTop=1\r\nSkin=\"Other\"\r\n", 0, "Factory Blue"},
      {"TTop=1\r\nSkin=\"Other\"\r\n", 0, "Factory Blue"},
      {"Vers=350\r\nTTop=1\r\n", 1, "Factory Blue"},
      {"Vers=350\r\nSkin=\"Other\"\r\nBarX=\"oops\"\r\n", 0, "Other"},
      // Damaged files are read as far as they make sense.
      {"Vers=350\r\nTTop=1\r\nSkin=\"unterminated", 1, "unterminated"},
      {"\x01\x02\xFF=\"\"=,,/*", 0, "Factory Blue"},
  };
  for (const Case& c : cases) {
    mTemp.MakeFile(kPrefsPath, c.mFile);
    {
      ToolbarState state(mTemp.Item("prefs"), nullptr, 0);
      EXPECT_EQ(state.mPrefs.GetInt(kPref_Version), 350) << c.mFile;
      EXPECT_EQ(state.mPrefs.GetInt(KSFourCC("TTop")), c.mTopmost) << c.mFile;
      EXPECT_EQ(Str(state.mPrefs, KSFourCC("Skin")), c.mSkin) << c.mFile;
      EXPECT_EQ(state.mPrefs.GetInt(KSFourCC("UpCk")), 7) << c.mFile;
    }
    ArgList stored;
    ASSERT_TRUE(stored.SetArgs(mTemp.Item(kPrefsPath)));
    EXPECT_EQ(stored.GetInt(kPref_Version), 350) << c.mFile;
    EXPECT_GE(stored.Count(), 29) << c.mFile;
  }

  // A file that changed nothing is not written again.
  std::string before = ReadAll(mTemp.Item(kPrefsPath));
  mTemp.MakeFile(kPrefsPath, before + "// untouched\r\n");
  { ToolbarState state(mTemp.Item("prefs"), nullptr, 0); }
  EXPECT_EQ(ReadAll(mTemp.Item(kPrefsPath)), before + "// untouched\r\n");
}

TEST_F(ToolbarStateTest, FindsTheEngineInTheFirstCompleteInstallation) {
  MakeEngine(mTemp, "first", false);  // no Resources\info.txt
  MakeEngine(mTemp, "second", true);
  WriteTheme(mTemp, "second\\Kestrova\\Corvexa", "Factory", "Factory");
  MakeEngine(mTemp, "third", true);
  KSFileSpec places[] = {mTemp.Item("missing"), mTemp.Item("first"), mTemp.Item("second"),
                         mTemp.Item("third")};

  ToolbarState state(mTemp.Item("prefs"), places, 4);
  std::string engine = Path(mTemp.Item("second\\Kestrova\\Corvexa"));
  EXPECT_EQ(Path(state.mEngineFolder), engine);
  EXPECT_EQ(Path(state.mSkinsFolder), engine + "\\Skins");
  EXPECT_EQ(Path(state.mDeckApp), engine + "\\Corvexa Deck.exe");
  int factory = state.mThemeMgr.FindThemeByLogicalName("Factory");
  ASSERT_GE(factory, 0);
  EXPECT_TRUE(state.mThemeMgr.GetThemeInfo(factory)->mReadOnly);

  // A Resources\info.txt that is a folder does not count.
  MakeEngine(mTemp, "fourth", false);
  mTemp.MakeFolder("fourth\\Kestrova\\Corvexa\\Resources");
  mTemp.MakeFolder("fourth\\Kestrova\\Corvexa\\Resources\\info.txt");
  KSFileSpec badPlaces[] = {mTemp.Item("first"), mTemp.Item("fourth")};
  ToolbarState noEngine(mTemp.Item("prefs"), badPlaces, 2);
  EXPECT_TRUE(noEngine.mSkinsFolder.IsEmpty());
  EXPECT_TRUE(noEngine.mDeckApp.IsEmpty());
  EXPECT_EQ(noEngine.mThemeMgr.FindThemeByLogicalName("Factory"), -1);
  // The last candidate tried stays in the engine folder.
  EXPECT_EQ(Path(noEngine.mEngineFolder), Path(mTemp.Item("fourth\\Kestrova\\Corvexa")));
}

TEST(EngineSearch, AsksInstallPlacesUntilTheyEnd) {
  struct Calls {
    int mCount;
  } calls = {0};
  auto places = [](long inIndex, KSFileSpec* outFolder, void* inParam) -> long {
    static_cast<Calls*>(inParam)->mCount++;
    outFolder->AssignFromPath("C:\\nowhere");
    return inIndex < 3 ? kKSErr_PathNotFound : kKSErr_Param;
  };
  KSFileSpec found;
  EXPECT_EQ(KSVisualAPISession::FindEngineDir("Corvexa", places, &calls, &found),
            kKSErr_PathNotFound);
  EXPECT_EQ(calls.mCount, 4);

  KSFileSpec place;
  EXPECT_EQ(KSVisualAPISession::GetEnginesDir(2, &place), kKSErr_Param);
  EXPECT_EQ(KSVisualAPISession::GetEnginesDir(-1, &place), kKSErr_Param);

  KSFileSpec processDir;
  ASSERT_EQ(KSFileSpec::GetProcessDir(&processDir), 0);
  ASSERT_EQ(KSVisualAPISession::GetEngineDir(nullptr, &found), 0);
  EXPECT_EQ(Path(found), Path(processDir));
}

// The real install place, inside the test's wine prefix: the engine layout is
// made there when it is missing and removed again.
TEST(EngineSearch, FindsAnEngineInTheCommonProgramFolder) {
  KSFileSpec programs;
  ASSERT_EQ(programs.AssignOSFolder(ks_CommonAppFolder), 0);
  KSFileSpec maker, engine, resources, info;
  maker.AssignRelativePath("Kestrova", -1, programs);
  engine.AssignRelativePath("Corvexa", -1, maker);
  resources.AssignRelativePath("Resources", -1, engine);
  info.AssignRelativePath("info.txt", -1, resources);
  const KSFileSpec* created = nullptr;
  for (const KSFileSpec* level : {&maker, &engine, &resources}) {
    if (level->Exists() == 0) {
      ASSERT_EQ(level->CreateDir(), 0);
      created = created != nullptr ? created : level;
    }
  }
  if (info.Exists() == 0) {
    ASSERT_EQ(KSFile::WriteFile(info, "engine", 6), 0);
    created = created != nullptr ? created : &info;
  }

  KSFileSpec place, found;
  EXPECT_EQ(KSVisualAPISession::GetEnginesDir(0, &place), 0);
  EXPECT_EQ(Path(place), Path(maker));
  EXPECT_EQ(KSVisualAPISession::GetEngineDir("Corvexa", &found), 0);
  EXPECT_EQ(Path(found), Path(engine));

  if (created != nullptr) {
    EXPECT_EQ(created->DeleteRecursively(), 0);
  }
}

TEST(KSUtils, OpensThroughTheShell) {
  KSTestFolder temp;
  EXPECT_EQ(KSUtils::Open(temp.Item("missing.exe")), kKSErr_Unmapped);

  wchar_t system[MAX_PATH];
  UINT len = GetSystemDirectoryW(system, MAX_PATH);
  KSFileSpec hostname;
  hostname.AssignAbsolutePath(reinterpret_cast<const uint16*>(system), int(len));
  hostname.AssignRelativePath("hostname.exe", -1, KSFileSpec(hostname));
  ASSERT_EQ(hostname.Exists(), ks_ItemIsFile);
  EXPECT_EQ(KSUtils::Open(hostname), 0);
}
