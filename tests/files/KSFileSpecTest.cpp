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

std::string Str(const UtilStr& inStr) {
  return inStr.getCStr();
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
  EXPECT_EQ("\\\\server\\share", Path(Spec("\\\\server\\share\\")));
  EXPECT_EQ("C:\\a\\", Path(Spec("C:\\a\\\\")));  // only one trailing '\' goes

  const uint16 wide[] = {'\\', '\\', '?', '\\', 'E', ':', '\\', 0xE9, '\\', 0};
  spec.AssignAbsolutePath(wide);
  EXPECT_EQ("E:\\\xC3\xA9", Path(spec));
  EXPECT_STREQ("\xC3\xA9", spec.GetFileName());
}

TEST(KSFileSpec, RelativeAndParentPaths) {
  KSFileSpec base = Spec("C:\\Base");
  KSFileSpec spec;
  spec.AssignRelativePath("\\sub", -1, base);
  EXPECT_EQ("C:\\Base\\sub", Path(spec));
  spec.AssignRelativePath("..\\x/y\\", -1, base);  // taken as it is
  EXPECT_EQ("C:\\Base\\..\\x/y", Path(spec));
  spec.AssignRelativePath("abcdef", 3, base);
  spec.AssignRelativePath("more", -1, spec);  // the base may be the object itself
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
  parent.AssignParent(KSFileSpec());
  EXPECT_EQ("C:", Path(parent));
}

TEST(KSFileSpec, NativePaths) {
  EXPECT_EQ(u"\\\\?\\C:\\x", Native(Spec("C:\\x"), 100));
  EXPECT_EQ(u"\\\\?\\D:\\", Native(Spec("D:\\"), 100));  // the root of the drive
  EXPECT_EQ(u"\\\\server\\share", Native(Spec("\\\\server\\share"), 100));
  EXPECT_EQ(u"smb://host\\share", Native(Spec("smb://host\\share"), 100));
  EXPECT_EQ(u"C:\\", Native(Spec("C:\\\\"), 5));                        // no room for the prefix
  EXPECT_EQ(u"\\\\?\\C:\\\u00E9", Native(Spec("C:\\e\xCC\x81"), 100));  // composed
  EXPECT_EQ(u"", Native(KSFileSpec(), 100));

  // A path either fits with its NUL and a unit to spare, or comes out empty:
  // never cut.
  KSFileSpec spec = Spec("C:\\abcd");  // 11 units with the prefix
  EXPECT_EQ(u"\\\\?\\C:\\abcd", Native(spec, 13));
  EXPECT_EQ(u"", Native(spec, 12));

  UtilStr utf8;
  EXPECT_EQ(kKSErr_BadState, KSFileSpec().GetNativePathname(&utf8));
  EXPECT_EQ(kKSErr_Param, spec.GetNativePathname(static_cast<UtilStr*>(nullptr)));
}

TEST(KSFileSpec, LongPathsUpToTheLimits) {
  std::u16string wide = u"C:";
  while (wide.size() < 1500) {
    wide += u"\\folder";
  }
  KSFileSpec spec;
  spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(wide.c_str()));
  EXPECT_EQ(u"\\\\?\\" + wide, Native(spec, kKSMaxNativePathUnits * 2));
  EXPECT_EQ(u"", Native(spec, kKSMaxNativePathUnits));

  // At most 2047 bytes of UTF-8: 1403 bytes pass, 2203 do not.
  std::u16string accents = u"C:\\" + std::u16string(700, u'\u00E9');
  spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(accents.c_str()));
  EXPECT_EQ(1403, spec.GetPathname().length());
  accents += std::u16string(400, u'\u00E9');
  spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(accents.c_str()));
  EXPECT_TRUE(spec.IsEmpty());
}

TEST(KSFileSpec, POSIXPaths) {
  EXPECT_EQ("/Volumes/C/Program Files/App", POSIX("C:\\Program Files\\App"));
  EXPECT_EQ("/URL/smb://server/share/dir", POSIX("\\\\server\\share\\dir"));
  EXPECT_EQ("/URL/smb/host/share", POSIX("smb://host\\share"));

  long err = 0;
  EXPECT_EQ("", POSIX("C:\\", &err));  // the bare drive "C:"
  EXPECT_EQ(kKSErr_Unmapped, err);
  const uint16 name[] = {'r', 'e', 'l', 0};
  KSFileSpec relative;
  relative.AssignAbsolutePath(name);
  UtilStr posix("junk");
  EXPECT_EQ(kKSErr_Unmapped, relative.GetPOSIXPathname(&posix));
  EXPECT_EQ(kKSErr_BadState, KSFileSpec().GetPOSIXPathname(&posix));
  EXPECT_EQ("", Str(posix));
}

namespace {

// A shell that knows the folders it is given.
class ScriptedShell : public KSFolderLookup {
 public:
  explicit ScriptedShell(std::map<int, std::string> inFolders) : mFolders(std::move(inFolders)) {}

  bool FindFolder(int inCSIDL, KSFileSpec* outSpec) override {
    auto found = mFolders.find(inCSIDL);
    if (found == mFolders.end()) {
      return false;
    }
    outSpec->AssignFromPath(found->second.c_str());
    return true;
  }

  std::map<int, std::string> mFolders;
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

}  // namespace

// Each rule once (the shell's answer as it is, its parent, its drive, the
// second choice, the fixed and the home folder when both are missing), not
// the table of which type takes which folder; a type without a rule of its
// own fails and leaves the path alone.
TEST(KSOSFolders, EachTypeTakesItsFolderAndFallsBack) {
  const struct {
    OSFolderType mType;
    std::vector<int> mMissing;
    const char* mPath;
    long mErr;
  } kCases[] = {
      {ks_UserPrefsFolder, {}, "C:\\users\\me\\AppData", 0},
      {ks_CommonPrefsFolder, {}, "C:\\ProgramData", 0},
      {ks_RootFolder, {}, "D:", 0},
      {ks_UserPrefsFolder, {26}, "C:\\users\\me\\Documents", 0},
      {ks_HomeFolder, {16}, "C:\\users\\me", 0},
      {ks_RootFolder, {36}, "E:", 0},
      {ks_CommonAppFolder, {38}, "C:\\Program Files", 0},
      {ks_CommonAppDataFolder, {35, 36, 16}, "C:\\users\\me", 0},
      {ks_CommonPrefsFolder, {35, 36}, "Z:\\untouched", kKSErr_Unmapped},
      {ks_UserAppFolder, {2}, "Z:\\untouched", kKSErr_Unmapped},
      {OSFolderType(11), {}, "Z:\\untouched", kKSErr_Param},
  };
  for (const auto& c : kCases) {
    std::map<int, std::string> folders = kFullShell;
    for (int missing : c.mMissing) {
      folders.erase(missing);
    }
    ScriptedShell shell(folders);
    KSFileSpec spec = Spec("Z:\\untouched");
    EXPECT_EQ(c.mErr, KSResolveOSFolder(c.mType, shell, &spec)) << c.mType << " " << c.mPath;
    EXPECT_EQ(c.mPath, Path(spec)) << c.mType;
  }
}
