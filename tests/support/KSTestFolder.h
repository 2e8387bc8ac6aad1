// A folder of a test's own under the system's temporary folder, removed with
// everything in it when the test ends (Windows builds only).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "files/KSFile.h"
#include "files/KSFileSpec.h"

class KSTestFolder {
 public:
  KSTestFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD units = GetTempPathW(MAX_PATH, temp);
    KSFileSpec tempDir;
    tempDir.AssignAbsolutePath(reinterpret_cast<const uint16*>(temp), int(units));
    char name[64];
    snprintf(name, sizeof(name), "ks-files-test-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    mFolder.AssignRelativePath(name, -1, tempDir);
    mFolder.CreateDir();
  }
  ~KSTestFolder() { mFolder.DeleteRecursively(); }

  const KSFileSpec& Spec() const { return mFolder; }

  // The item inRelPath ('\' separated) inside the folder.
  KSFileSpec Item(const std::string& inRelPath) const {
    KSFileSpec spec;
    spec.AssignRelativePath(inRelPath.c_str(), -1, mFolder);
    return spec;
  }

  // Makes the file inRelPath holding inContent.
  KSFileSpec MakeFile(const std::string& inRelPath, const std::string& inContent) const {
    KSFileSpec spec = Item(inRelPath);
    KSFile file;
    file.OpenFile(spec, kKSWriteStreamAccess);
    file.Write(inContent.data(), long(inContent.size()), nullptr);
    file.Close();
    return spec;
  }

  KSFileSpec MakeFolder(const std::string& inRelPath) const {
    KSFileSpec spec = Item(inRelPath);
    spec.CreateDir();
    return spec;
  }

 private:
  KSFileSpec mFolder;
};

// The content of a file, or "<missing>".
inline std::string ReadAll(const KSFileSpec& inSpec) {
  UtilStr data;
  if (KSFile::ReadFile(inSpec, &data, -1) != 0) {
    return "<missing>";
  }
  return std::string(data.getCStr(), size_t(data.length()));
}
