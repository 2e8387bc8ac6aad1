// KSFile on a real disk: the access modes, 64-bit positions, whole-file
// reading and replacement; and the preferences stored through it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/KSFile.h"
#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "files/Prefs.h"
#include "files/cStream.h"
#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "foundation/XStrList.h"
#include "support/KSTestFolder.h"

namespace {

std::string Str(const UtilStr& inStr) {
  return std::string(inStr.getCStr(), size_t(inStr.length()));
}

const long kWinX = ArgList::KeyCode("WinX");
const long kSkin = ArgList::KeyCode("Skin");
const char kPrefsName[] = "Toolbar Preferences.txt";

}  // namespace

TEST(KSFile, AccessModesDecideWhatIsAllowed) {
  KSTestFolder temp;
  KSFileSpec spec = temp.Item("modes.bin");
  KSFile file;
  EXPECT_EQ(kKSErr_FileNotFound, file.OpenFile(spec, kKSReadStreamAccess));
  EXPECT_EQ(kKSErr_BadState, file.Close());
  EXPECT_EQ(kKSNoFilePos, file.Tell());

  // Writing from the start creates the file; reading and seeking are refused.
  ASSERT_EQ(0, file.OpenFile(spec, kKSWriteStreamAccess));
  EXPECT_EQ(0, file.Write("0123456789", 10, nullptr));
  char buf[16] = {0};
  EXPECT_EQ(kKSErr_BadState, file.Read(buf, 1, nullptr));
  EXPECT_EQ(kKSErr_IllegalSeek, file.Seek(5));
  EXPECT_EQ(kKSErr_BadState, file.SeekEnd());
  ASSERT_EQ(0, file.Close());

  // Reading streams go forwards from 0 only; a short read says so.
  ASSERT_EQ(0, file.OpenFile(spec, kKSReadStreamAccess));
  EXPECT_EQ(kKSErr_IllegalSeek, file.Seek(5));
  EXPECT_EQ(0, file.Seek(0));
  EXPECT_EQ(0, file.Read(nullptr, 2, nullptr));  // skips
  long done = 0;
  EXPECT_EQ(kKSErr_IO, file.Read(buf, 10, &done));
  EXPECT_EQ("23456789", std::string(buf, size_t(done)));
  EXPECT_EQ(kKSErr_BadState, file.Write("x", 1, nullptr));

  // Read-write keeps the content and writes anywhere; readers must wait.
  ASSERT_EQ(0, file.OpenFile(spec, kKSReadWriteRandomAccess));
  KSFile reader;
  EXPECT_NE(0, reader.OpenFile(spec, kKSReadRandomAccess));
  EXPECT_EQ(0, file.Seek(3));
  EXPECT_EQ(0, file.Write("ab", 2, nullptr));
  EXPECT_EQ(0, file.Write(nullptr, 2, nullptr));  // skips
  EXPECT_EQ(0, file.Write("Z", 1, nullptr));
  EXPECT_EQ(5, file.GetSizeExtents());
  EXPECT_EQ(0, file.SeekEnd());
  EXPECT_EQ(10, file.Tell());
  file.Close();
  EXPECT_EQ("012ab56Z89", ReadAll(spec));

  // Writing from the start again cuts the file where writing stopped.
  ASSERT_EQ(0, file.OpenFile(spec.GetPathCStr(), kKSWriteStreamAccess));
  EXPECT_EQ(0, file.Write("xyz", 3, nullptr));
  ASSERT_EQ(0, file.Close());
  EXPECT_EQ("xyz", ReadAll(spec));
}

TEST(KSFile, PositionsBeyondFourGigabytes) {
  KSTestFolder temp;
  KSFileSpec spec = temp.Item("sparse.bin");
  const int64 farPos = 5LL * 1024 * 1024 * 1024 + 7;
  {
    KSFile file;
    ASSERT_EQ(0, file.OpenFile(spec, kKSReadWriteRandomAccess));
    ASSERT_EQ(0, file.Seek(farPos));
    EXPECT_EQ(farPos, file.Tell());
    ASSERT_EQ(0, file.Write("END", 3, nullptr));
    EXPECT_EQ(farPos + 3, file.Size());
    EXPECT_EQ(0, file.Seek(farPos + 1));
    char buf[2];
    EXPECT_EQ(0, file.Read(buf, 2, nullptr));
    EXPECT_EQ("ND", std::string(buf, 2));
  }
  KSFileInfo info;
  ASSERT_EQ(0, spec.GetCatInfo(&info));
  EXPECT_EQ(farPos + 3, info.mLogicalSize);

  UtilStr data;
  EXPECT_EQ(0, KSFile::ReadFromFile(spec, farPos, 3, &data));
  EXPECT_EQ("END", Str(data));
  EXPECT_EQ(kKSErr_EOF, KSFile::ReadFromFile(spec, farPos + 1, 10, &data));
  EXPECT_EQ("ND", Str(data));
  // Too much for one read, and too much for the caller's limit.
  EXPECT_EQ(kKSErr_FileTooLarge, KSFile::ReadFromFile(spec, 0, -1, &data));
  EXPECT_EQ(0, data.length());
  EXPECT_EQ(kKSErr_FileTooLarge, KSFile::ReadFile(spec, &data, -1));
  EXPECT_EQ(kKSErr_FileTooBig, KSFile::ReadFile(spec, &data, 1000));
  EXPECT_EQ(0, data.length());
  EXPECT_EQ(0, KSFile::ReadFromFile(spec, farPos - 2, -1, &data));
  EXPECT_EQ(std::string("\0\0END", 5), Str(data));
  EXPECT_EQ(kKSErr_IllegalSeek, KSFile::ReadFromFile(spec, farPos + 4, 1, &data));
  EXPECT_EQ(0, data.length());

  // A missing file leaves nothing of what the string held. (A limit the file
  // meets exactly, Prefs.UnreadableFilesLoadNothing reads.)
  data.Assign("stale");
  EXPECT_EQ(kKSErr_FileNotFound, KSFile::ReadFile(temp.Item("missing"), &data, 10));
  EXPECT_EQ(0, data.length());
}

// Prefs and theme writers rely on this: WriteFile replaces a file in one
// step, so a store that fails leaves the old file whole.
TEST(KSFile, WriteFileReplacesTheWholeFileOrNothing) {
  KSTestFolder temp;
  KSFileSpec spec = temp.MakeFile("prefs.txt", "0123456789");
  ASSERT_EQ(0, KSFile::WriteFile(spec, "abc", 3));
  EXPECT_EQ("abc", ReadAll(spec));
  KSFileSpec created = temp.Item("new.txt");
  ASSERT_EQ(0, KSFile::WriteFile(created, "fresh", 5));
  EXPECT_EQ("fresh", ReadAll(created));
  ASSERT_EQ(0, KSFile::WriteFile(created, "", 0));
  EXPECT_EQ("", ReadAll(created));

  // A store whose writing fails part-way (here: the data cannot be read, as
  // a full disk or a crash would stop it) leaves the old content whole.
  void* unreadable = VirtualAlloc(nullptr, 65536, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(nullptr, unreadable);
  EXPECT_NE(0, KSFile::WriteFile(spec, unreadable, 65536));
  VirtualFree(unreadable, 0, MEM_RELEASE);
  EXPECT_EQ("abc", ReadAll(spec));

  // While another handle holds the file, the store fails and the old content
  // survives. Neither failure leaves a half-written sibling behind.
  KSHandle holder(CreateFileW(KSNativePath(spec).Get(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_NE(0, KSFile::WriteFile(spec, "lost", 4));
  holder.Reset();
  EXPECT_EQ("abc", ReadAll(spec));

  // A store into a missing folder fails without creating anything.
  EXPECT_EQ(kKSErr_PathNotFound, KSFile::WriteFile(temp.Item("nowhere\\x.txt"), "x", 1));

  // A writer killed part-way leaves its sibling "<name>.~<process>-<start>-<n>.tmp":
  // the next store removes it, also when another process has its id by now,
  // but not while its writer still runs (here a suspended copy of this program).
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION writer = {};
  ASSERT_TRUE(CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             nullptr, &startup, &writer));
  KSHandle writerProcess(writer.hProcess);
  KSHandle writerThread(writer.hThread);
  FILETIME started, unused[3];
  GetProcessTimes(writerProcess.Get(), &started, &unused[0], &unused[1], &unused[2]);
  auto sibling = [&](unsigned long inProcessId, unsigned long inStartLow) {
    char name[80];
    snprintf(name, sizeof(name), "prefs.txt.~%lx-%llx-7.tmp", inProcessId,
             (unsigned long long)(started.dwHighDateTime) << 32 | inStartLow);
    return temp.MakeFile(name, "cut sh");
  };
  KSFileSpec running = sibling(writer.dwProcessId, started.dwLowDateTime);
  KSFileSpec earlierHolder = sibling(writer.dwProcessId, started.dwLowDateTime - 1);
  KSFileSpec gone = sibling(0xFFFFFFF0, started.dwLowDateTime);
  ASSERT_EQ(0, KSFile::WriteFile(spec, "abc", 3));
  TerminateProcess(writerProcess.Get(), 0);
  WaitForSingleObject(writerProcess.Get(), INFINITE);
  EXPECT_EQ(ks_ItemIsFile, running.Exists());
  EXPECT_EQ(0, earlierHolder.Exists());
  EXPECT_EQ(0, gone.Exists());
  running.Delete();

  XStrList names;
  ASSERT_EQ(0, KSFileSpec::ReadCatalog(temp.Spec(), &names, 7, false));
  EXPECT_EQ(2, names.Count());
  EXPECT_NE(0, names.FindString("prefs.txt", -1, true));
  EXPECT_NE(0, names.FindString("new.txt", -1, true));
}

TEST(cStream, OpensUTF8NamesAndKeepsThePositionWhenSizing) {
  KSTestFolder temp;
  KSFileSpec spec = temp.MakeFile("\xE5\x9B\xBE.bmp", "BM0123456789");
  cStream stream;
  ASSERT_TRUE(stream.Open(spec.GetPathCStr(), "rb"));
  char buf[4] = {0};
  EXPECT_EQ(2u, stream.Read(buf, 2));
  EXPECT_EQ(12u, stream.FileSize());
  EXPECT_EQ(2, stream.Position());
  EXPECT_EQ(0, stream.Seek(-3, kStreamSeekEnd));
  EXPECT_EQ(3u, stream.Read(buf, 4));
  EXPECT_EQ("789", std::string(buf, 3));
  EXPECT_FALSE(stream.Open(temp.Item("missing.bmp").GetPathCStr(), "rb"));
}

// What is stored loads back clean; equal values keep the set clean, so Store
// leaves the file alone.
TEST(Prefs, StoresLoadsAndWritesOnlyWhenAValueChanged) {
  KSTestFolder folder;
  KSFileSpec spec = folder.Item(kPrefsName);
  Prefs stored;
  EXPECT_TRUE(stored.IsDirty());
  stored.SetSpec(spec);
  stored.SetInt(kWinX, -40);
  ASSERT_EQ(0, stored.Store());
  EXPECT_EQ("WinX=-40\r\n", ReadAll(spec));
  stored.SetStr(kSkin, "Blue \"Night\"\\1");
  ASSERT_EQ(0, stored.Store());

  Prefs prefs;
  prefs.SetSpec(spec);
  ASSERT_EQ(0, prefs.Load());
  EXPECT_FALSE(prefs.IsDirty());
  EXPECT_EQ(-40, prefs.GetInt(kWinX));
  ASSERT_NE(nullptr, prefs.GetStr(kSkin));
  EXPECT_STREQ("Blue \"Night\"\\1", prefs.GetStr(kSkin)->getCStr());
  EXPECT_EQ(2, prefs.GetArgs().Count());

  folder.MakeFile(kPrefsName, "untouched");
  prefs.SetInt(kWinX, -40);
  prefs.SetStr(kSkin, "Blue \"Night\"\\1");
  EXPECT_FALSE(prefs.IsDirty());
  EXPECT_EQ(0, prefs.Store());
  EXPECT_EQ("untouched", ReadAll(spec));

  // Every real change makes it dirty again.
  const std::function<void()> kChanges[] = {
      [&] { prefs.SetStr(kSkin, "blue \"Night\"\\1"); }, [&] { prefs.SetInt(kWinX, 6); },
      [&] { prefs.SetInt(ArgList::KeyCode("New"), 0); }, [&] { prefs.RemoveAll(); },
      [&] { prefs.SetSpec(spec); }};
  for (const auto& change : kChanges) {
    change();
    EXPECT_TRUE(prefs.IsDirty());
    EXPECT_EQ(0, prefs.Store());
    EXPECT_FALSE(prefs.IsDirty());
  }
}

TEST(Prefs, UnreadableFilesLoadNothing) {
  KSTestFolder folder;
  Prefs prefs;
  prefs.SetSpec(folder.Item("missing.txt"));
  prefs.SetInt(kWinX, 1);
  EXPECT_EQ(kKSErr_Unmapped, prefs.Load());
  EXPECT_EQ(0, prefs.GetArgs().Count());

  // 500000 bytes load, one more does not.
  std::string atLimit = "WinX=7," + std::string(500000 - 7, ' ');
  prefs.SetSpec(folder.MakeFile("limit.txt", atLimit));
  EXPECT_EQ(0, prefs.Load());
  EXPECT_EQ(7, prefs.GetInt(kWinX));
  prefs.SetSpec(folder.MakeFile("big.txt", atLimit + " "));
  EXPECT_EQ(kKSErr_Unmapped, prefs.Load());
  EXPECT_EQ(0, prefs.GetArgs().Count());

  // A plain list keeps its values when the file cannot be read.
  ArgList args;
  args.SetInt(kWinX, 3);
  EXPECT_FALSE(args.SetArgs(folder.Item("missing.txt")));
  EXPECT_EQ(3, args.GetInt(kWinX));
}
