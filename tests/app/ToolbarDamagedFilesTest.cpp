// corvexa-toolbar.exe started on damaged files: a preference file with junk in
// its middle, a custom theme and a user theme whose "theme.txt" is junk, and a
// chosen skin whose "skin.txt" does not parse. The toolbar starts, says what
// it could not read where it tells the user at all (the skin), and keeps every
// setting that the damage did not touch.
#include <gtest/gtest.h>

#include <string>

#include "app/ToolbarDriver.h"

using namespace toolbar_driver;

namespace {

KSFileSpec Child(const KSFileSpec& inFolder, const char* inName) {
  KSFileSpec spec;
  spec.AssignRelativePath(inName, -1, inFolder);
  return spec;
}

// Bytes as a crash leaves them: a zeroed block, binary junk and a cut line.
std::string Junk() {
  std::string junk(300, '\0');
  for (int i = 0; i < 200; i++) {
    junk += char(0x80 + (i * 37) % 0x7F);
  }
  return junk + "\r\nFRte=\r\nPInt=4x\r\n";
}

}  // namespace

TEST(ToolbarDamagedFiles, StartsSaysWhatItCouldNotReadAndKeepsTheRest) {
  PrefsKeeper keeper;
  ASSERT_EQ(0, keeper.StoreForTests("Broken Skin"));
  Prefs prefs;
  prefs.SetSpec(keeper.Spec());
  prefs.Load();
  prefs.SetInt(kPref_BarX, 211);
  prefs.SetInt(kPref_BarY, 97);
  prefs.SetInt(kPref_ColorMapInterval, 33);
  prefs.SetStr(kPref_Theme, "(Custom)");
  UtilStr good;
  prefs.GetArgs().ExportTo("\r\n", &good);
  // The junk sits between two halves of the good entries.
  std::string text(good.getCStr(), good.length());
  size_t half = text.find('\n', text.size() / 2) + 1;
  text = text.substr(0, half) + Junk() + text.substr(half);
  ASSERT_EQ(0, KSFile::WriteFile(keeper.Spec(), text.data(), long(text.size())));

  KSFileSpec userThemes = Child(gToolbarState.mWorkFolder, "Themes");
  KSFileSpec custom = Child(Child(userThemes, "(Custom)"), "theme.txt");
  FileKeeper keepCustom(custom);
  ASSERT_EQ(0, KSFile::WriteFile(custom, Junk().data(), long(Junk().size())));
  KSFileSpec brokenTheme = Child(userThemes, "Broken Theme");
  brokenTheme.CreateDir();
  KSFile::WriteFile(Child(brokenTheme, "theme.txt"), Junk().data(), long(Junk().size()));
  KSFileSpec brokenSkin = Child(gToolbarState.mSkinsFolder, "Broken Skin");
  brokenSkin.CreateDir();
  const char skin[] = "ToolPage { Width = 20 Bogus }";
  KSFile::WriteFile(Child(brokenSkin, "skin.txt"), skin, long(sizeof(skin) - 1));

  ChildProcess toolbar;
  ASSERT_TRUE(StartToolbar(&toolbar));
  DWORD pid = GetProcessId(toolbar.Handle());
  std::string box = TakeBox(pid, L"Error", 30000);
  EXPECT_EQ(0u, box.find("Error reading skin file ")) << box;
  EXPECT_NE(std::string::npos, box.find("Bogus }")) << box;
  HWND wind = WaitForToolbar(pid);
  ASSERT_NE(nullptr, wind);
  EXPECT_EQ("", TakeBox(pid, L"Error", 500));  // only the skin is worth a word

  RECT place = {};
  GetWindowRect(wind, &place);
  EXPECT_EQ(211, place.left);
  EXPECT_EQ(97, place.top);
  PostMessageW(wind, WM_CLOSE, 0, 0);
  unsigned long code = 1;
  ASSERT_TRUE(toolbar.Wait(30000, &code));
  Prefs stored;
  stored.SetSpec(keeper.Spec());
  ASSERT_EQ(0, stored.Load());
  UtilStr value;
  stored.GetStr(kPref_Skin, &value);
  EXPECT_STREQ("Factory Blue", value.getCStr());  // the fallback
  stored.GetStr(kPref_Theme, &value);
  EXPECT_STREQ("(Custom)", value.getCStr());
  EXPECT_EQ(211, stored.GetInt(kPref_BarX));
  EXPECT_EQ(97, stored.GetInt(kPref_BarY));
  EXPECT_EQ(33, stored.GetInt(kPref_ColorMapInterval));
  EXPECT_EQ(0, stored.GetInt(kPref_AutoCloseToolbar));

  Child(brokenSkin, "skin.txt").Delete();
  brokenSkin.Delete();
  Child(brokenTheme, "theme.txt").Delete();
  brokenTheme.Delete();
}
