// Path handling of KSFileSpec and the rules for finding well-known folders.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "files/KSFileSpec.h"
#include "files/KSOSFolders.h"
#include "foundation/KSError.h"

namespace {

KSFileSpec Spec(const char* inPath) {
  KSFileSpec spec;
  spec.AssignFromPath(inPath);
  return spec;
}

std::string Path(const KSFileSpec& inSpec) {
  return inSpec.GetPathCStr();
}

std::u16string Native(const KSFileSpec& inSpec, int inMaxUnits) {
  std::vector<uint16> buffer(size_t(inMaxUnits) + 1, 0xFFFF);
  int units = inSpec.GetNativePathname(buffer.data(), inMaxUnits);
  EXPECT_EQ(0, buffer[size_t(units)]) << "not NUL-terminated";
  return std::u16string(buffer.begin(), buffer.begin() + units);
}

std::string POSIX(const char* inPath, long* outErr = nullptr) {
  UtilStr posix("junk");
  long err = Spec(inPath).GetPOSIXPathname(&posix);
  if (outErr != nullptr) {
    *outErr = err;
  }
  return posix.getCStr();
}

}  // namespace

TEST(KSFileSpec, AssignmentNormalisesThePath) {
  KSFileSpec spec = Spec("\\\\?\\C:\\Data\\");
  EXPECT_EQ("C:\\Data", Path(spec));
  EXPECT_STREQ("Data", spec.GetFileName());

  // The prefix is removed only in its exact form.
  EXPECT_EQ("\\\\server\\share", Path(Spec("\\\\server\\share\\")));
  EXPECT_EQ("D:\\x", Path(Spec("D:\\x")));

  // Only one trailing separator goes.
  EXPECT_EQ("C:\\a\\", Path(Spec("C:\\a\\\\")));

  const uint16 wide[] = {'\\', '\\', '?', '\\', 'E', ':', '\\', 0xE9, '\\', 0};
  KSFileSpec fromWide;
  fromWide.AssignAbsolutePath(wide);
  EXPECT_EQ("E:\\\xC3\xA9", Path(fromWide));
  EXPECT_STREQ("\xC3\xA9", fromWide.GetFileName());
}

TEST(KSFileSpec, RelativeAndParentPaths) {
  KSFileSpec base = Spec("C:\\Base");
  KSFileSpec spec;
  spec.AssignRelativePath("\\sub", -1, base);
  EXPECT_EQ("C:\\Base\\sub", Path(spec));
  spec.AssignRelativePath("a\\b\\", -1, base);
  EXPECT_EQ("C:\\Base\\a\\b", Path(spec));
  EXPECT_STREQ("b", spec.GetFileName());
  // Relative text is taken as it is.
  spec.AssignRelativePath("..\\x/y", -1, base);
  EXPECT_EQ("C:\\Base\\..\\x/y", Path(spec));
  spec.AssignRelativePath("", -1, base);
  EXPECT_EQ("C:\\Base", Path(spec));
  spec.AssignRelativePath("abcdef", 3, base);
  EXPECT_EQ("C:\\Base\\abc", Path(spec));
  // The base may be the spec itself.
  spec.AssignRelativePath("more", -1, spec);
  EXPECT_EQ("C:\\Base\\abc\\more", Path(spec));
  spec.AssignRelativePath("x", -1, KSFileSpec());
  EXPECT_TRUE(spec.IsEmpty());

  KSFileSpec parent;
  parent.AssignParent(Spec("C:\\Data\\theme.txt"));
  EXPECT_EQ("C:\\Data", Path(parent));
  parent.AssignParent(parent);
  EXPECT_EQ("C:", Path(parent));
  EXPECT_STREQ("", parent.GetFileName());
  parent.AssignParent(parent);
  EXPECT_EQ("C:", Path(parent));
  parent.AssignParent(KSFileSpec());
  EXPECT_EQ("C:", Path(parent));
}

TEST(KSFileSpec, FindExtensionSplitsAtTheLastDot) {
  UtilStr base, ext;
  KSFileSpec::FindExtension(UtilStr("theme.txt"), &base, &ext);
  EXPECT_STREQ("theme", base.getCStr());
  EXPECT_STREQ(".txt", ext.getCStr());
  KSFileSpec::FindExtension(UtilStr("README"), &base, &ext);
  EXPECT_STREQ("README", base.getCStr());
  EXPECT_STREQ("", ext.getCStr());
  KSFileSpec::FindExtension(UtilStr("a.tar.gz"), nullptr, &ext);
  EXPECT_STREQ(".gz", ext.getCStr());

  UtilStr name("skin.old.bmp");
  KSFileSpec::FindExtension(name, &name, &ext);
  EXPECT_STREQ("skin.old", name.getCStr());
  EXPECT_STREQ(".bmp", ext.getCStr());
  name.Assign("x.y");
  KSFileSpec::FindExtension(name, &base, &name);
  EXPECT_STREQ("x", base.getCStr());
  EXPECT_STREQ(".y", name.getCStr());
}

TEST(KSFileSpec, NativePathsCarryTheLongPathPrefixOnlyForLocalPaths) {
  EXPECT_EQ(u"\\\\?\\C:\\x", Native(Spec("C:\\x"), 100));
  EXPECT_EQ(u"\\\\?\\D:\\", Native(Spec("D:\\"), 100));  // the root of the drive
  EXPECT_EQ(u"\\\\server\\share", Native(Spec("\\\\server\\share"), 100));
  EXPECT_EQ(u"smb://host\\share", Native(Spec("smb://host\\share"), 100));
  // Too small a buffer for the prefix to make sense.
  EXPECT_EQ(u"C:\\", Native(Spec("C:\\\\"), 5));
  EXPECT_EQ(u"\\\\?\\C:\\\u00E9", Native(Spec("C:\\\xC3\xA9"), 100));
  // Decomposed accents are composed.
  EXPECT_EQ(u"\\\\?\\C:\\\u00E9", Native(Spec("C:\\e\xCC\x81"), 100));
  EXPECT_EQ(u"", Native(KSFileSpec(), 100));

  // A path is never cut: it either fits with its NUL and a unit to spare, or
  // comes out empty.
  KSFileSpec spec = Spec("C:\\abcd");  // 11 units with the prefix
  EXPECT_EQ(u"\\\\?\\C:\\abcd", Native(spec, 13));
  EXPECT_EQ(u"", Native(spec, 12));
  EXPECT_EQ(0, spec.GetNativePathname(nullptr, 100));

  UtilStr utf8;
  EXPECT_EQ(kKSErr_BadState, KSFileSpec().GetNativePathname(&utf8));
  EXPECT_EQ(kKSErr_Param, spec.GetNativePathname(static_cast<UtilStr*>(nullptr)));
  EXPECT_EQ(0, spec.GetNativePathname(&utf8));
  EXPECT_STREQ("C:\\abcd", utf8.getCStr());
}

TEST(KSFileSpec, LongPathsSurviveUpToTheUTF8Limit) {
  std::u16string wide = u"C:";
  while (wide.size() < 1500) {
    wide += u"\\folder";
  }
  KSFileSpec spec;
  spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(wide.c_str()));
  EXPECT_EQ(int32(wide.size()), spec.GetPathname().length());
  EXPECT_EQ(u"\\\\?\\" + wide, Native(spec, kKSMaxNativePathUnits * 2));
  EXPECT_EQ(u"", Native(spec, kKSMaxNativePathUnits));

  // 2047 bytes of UTF-8 at most: 700 two-byte characters are 1400 bytes, 1100 are too many.
  std::u16string accents = u"C:\\" + std::u16string(700, u'\u00E9');
  spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(accents.c_str()));
  EXPECT_EQ(3 + 1400, spec.GetPathname().length());
  accents = u"C:\\" + std::u16string(1100, u'\u00E9');
  spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(accents.c_str()));
  EXPECT_TRUE(spec.IsEmpty());
}

TEST(KSFileSpec, POSIXPaths) {
  EXPECT_EQ("/Volumes/C/Program Files/App", POSIX("C:\\Program Files\\App"));
  EXPECT_EQ("/Volumes/d/x", POSIX("d:\\x"));
  EXPECT_EQ("/URL/smb://server/share/dir", POSIX("\\\\server\\share\\dir"));
  EXPECT_EQ("/URL/smb/host/share", POSIX("smb://host\\share"));

  long err = 0;
  EXPECT_EQ("", POSIX("C:\\", &err));  // the bare drive "C:"
  EXPECT_EQ(kKSErr_Unmapped, err);
  KSFileSpec relative;
  const uint16 name[] = {'r', 'e', 'l', 0};
  relative.AssignAbsolutePath(name);
  UtilStr posix("junk");
  EXPECT_EQ(kKSErr_Unmapped, relative.GetPOSIXPathname(&posix));
  EXPECT_STREQ("", posix.getCStr());
  posix.Assign("junk");
  EXPECT_EQ(kKSErr_BadState, KSFileSpec().GetPOSIXPathname(&posix));
  EXPECT_STREQ("", posix.getCStr());
}

TEST(KSFileSpec, OrdersByNameAndHashesByPath) {
  KSFileSpec a = Spec("C:\\zzz\\Alpha");
  KSFileSpec b = Spec("C:\\aaa\\beta");
  EXPECT_LT(a.CompareTo(&b, 0), 0);  // 'A' sorts before 'b'
  EXPECT_LT(a.CompareTo(&b, 1), 0);
  KSFileSpec c = Spec("C:\\x\\ALPHA");
  EXPECT_NE(0, a.CompareTo(&c, 0));
  EXPECT_EQ(0, a.CompareTo(&c, 1));
  EXPECT_EQ(a.GetPathname().HashCode(1), a.HashCode(1));
  EXPECT_EQ(Spec("c:\\zzz\\alpha").HashCode(1), a.HashCode(1));
}

namespace {

// A shell that knows the folders it is given and records what it is asked.
class ScriptedShell : public KSFolderLookup {
 public:
  explicit ScriptedShell(std::map<int, std::string> inFolders) : mFolders(std::move(inFolders)) {}

  bool FindFolder(int inCSIDL, KSFileSpec* outSpec) override {
    mAsked.push_back(inCSIDL);
    auto found = mFolders.find(inCSIDL);
    if (found == mFolders.end()) {
      return false;
    }
    outSpec->AssignFromPath(found->second.c_str());
    return true;
  }

  std::map<int, std::string> mFolders;
  std::vector<int> mAsked;
};

const std::map<int, std::string> kFullShell = {{0, "C:\\users\\me\\Desktop0"},
                                               {2, "C:\\users\\me\\Programs"},
                                               {5, "C:\\users\\me\\Documents"},
                                               {16, "C:\\users\\me\\Desktop"},
                                               {26, "C:\\users\\me\\AppData"},
                                               {35, "C:\\ProgramData\\Common"},
                                               {36, "D:\\Windows"},
                                               {37, "E:\\Windows\\system32"},
                                               {38, "C:\\Program Files (x86)"},
                                               {43, "C:\\Program Files\\Common Files"}};

std::string Resolve(OSFolderType inType, ScriptedShell& ioShell, long* outErr = nullptr) {
  KSFileSpec spec = Spec("Z:\\untouched");
  long err = KSResolveOSFolder(inType, ioShell, &spec);
  if (outErr != nullptr) {
    *outErr = err;
  }
  return Path(spec);
}

}  // namespace

TEST(KSOSFolders, EachTypeTakesItsFolderAndRule) {
  ScriptedShell shell(kFullShell);
  EXPECT_EQ("C:\\Program Files (x86)", Resolve(ks_CommonAppFolder, shell));
  EXPECT_EQ("C:\\ProgramData\\Common", Resolve(ks_CommonAppDataFolder, shell));
  EXPECT_EQ("C:\\Program Files\\Common Files", Resolve(ks_CommonLibFolder, shell));
  EXPECT_EQ("C:\\ProgramData", Resolve(ks_CommonPrefsFolder, shell));
  EXPECT_EQ("C:\\users\\me\\Desktop", Resolve(ks_UserDesktopFolder, shell));
  EXPECT_EQ("C:\\users\\me\\Programs", Resolve(ks_UserAppFolder, shell));
  EXPECT_EQ("C:\\users\\me\\AppData", Resolve(ks_UserLibFolder, shell));
  EXPECT_EQ("C:\\users\\me\\AppData", Resolve(ks_UserPrefsFolder, shell));
  EXPECT_EQ("D:", Resolve(ks_RootFolder, shell));
  EXPECT_EQ("D:\\Windows", Resolve(ks_SystemFolder, shell));
  EXPECT_EQ("C:\\users\\me", Resolve(ks_HomeFolder, shell));
  // Nothing but the first choice was needed.
  EXPECT_EQ(std::vector<int>({38, 35, 43, 35, 16, 2, 26, 26, 36, 36, 16}), shell.mAsked);
}

TEST(KSOSFolders, FallbacksWhenTheShellHasNoAnswer) {
  ScriptedShell shell(kFullShell);
  shell.mFolders.erase(26);
  shell.mFolders.erase(16);
  shell.mFolders.erase(36);
  EXPECT_EQ("C:\\users\\me\\Documents", Resolve(ks_UserPrefsFolder, shell));
  EXPECT_EQ("C:\\users\\me\\Desktop0", Resolve(ks_UserDesktopFolder, shell));
  EXPECT_EQ("C:\\users\\me", Resolve(ks_HomeFolder, shell));
  EXPECT_EQ("E:", Resolve(ks_RootFolder, shell));
  EXPECT_EQ("E:\\Windows\\system32", Resolve(ks_SystemFolder, shell));

  // Program files falls back to a fixed folder and succeeds.
  shell.mFolders.erase(38);
  long err = -1;
  EXPECT_EQ("C:\\Program Files", Resolve(ks_CommonAppFolder, shell, &err));
  EXPECT_EQ(0, err);

  // All-users data falls back to the home folder.
  shell.mFolders.erase(35);
  shell.mFolders.erase(37);
  shell.mAsked.clear();
  EXPECT_EQ("C:\\users\\me", Resolve(ks_CommonAppDataFolder, shell, &err));
  EXPECT_EQ(0, err);
  EXPECT_EQ(std::vector<int>({35, 36, 16, 0}), shell.mAsked);

  // Without a rule of its own a failure leaves the spec alone.
  EXPECT_EQ("Z:\\untouched", Resolve(ks_CommonPrefsFolder, shell, &err));
  EXPECT_EQ(kKSErr_Unmapped, err);
  shell.mFolders.erase(2);
  EXPECT_EQ("Z:\\untouched", Resolve(ks_UserAppFolder, shell, &err));
  EXPECT_EQ(kKSErr_Unmapped, err);
  EXPECT_EQ("Z:\\untouched", Resolve(OSFolderType(11), shell, &err));
  EXPECT_EQ(kKSErr_Param, err);
}
