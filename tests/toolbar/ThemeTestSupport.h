// Theme folders for the theme and toolbar state tests, made inside a test's
// own temporary folder.
#pragma once

#include <string>

#include "files/KSFile.h"
#include "files/KSFileSpec.h"
#include "files/KSTestFolder.h"
#include "foundation/UtilStr.h"
#include "toolbar/CXTheme.h"

// The repository's factory themes, through wine's drive Z:.
inline KSFileSpec RepoFactoryTheme(const char* inName) {
  std::string path = std::string("Z:") + KS_REPO_THEMES_DIR + "/" + inName;
  for (char& c : path) {
    if (c == '/') {
      c = '\\';
    }
  }
  KSFileSpec spec;
  spec.AssignFromPath(path.c_str());
  return spec;
}

// Makes <inBase>\Themes\<inFolder>\theme.txt for a theme called inLogicalName
// with the configuration lines inBody.
inline void WriteTheme(const KSTestFolder& inTemp, const std::string& inBase,
                       const std::string& inFolder, const std::string& inLogicalName,
                       const std::string& inBody = "") {
  inTemp.MakeFolder(inBase);
  inTemp.MakeFolder(inBase + "\\Themes");
  inTemp.MakeFolder(inBase + "\\Themes\\" + inFolder);
  inTemp.MakeFile(
      inBase + "\\Themes\\" + inFolder + "\\theme.txt",
      "LNam=\"" + inLogicalName + "\" PNam=\"" + inFolder + "\" Vers=1 \r\n---\r\n" + inBody);
}

// The value of attribute On of a configuration in the theme stored in inFolder
// (-1 when the theme cannot be read).
inline long StoredOn(const KSFileSpec& inFolder, CXConfigType inType, const char* inName) {
  CXTheme theme;
  if (theme.ReadFromDisk(inFolder, false) != 0) {
    return -1;
  }
  return theme.GetAttrib(inType, inName, -1, kConfigAttr_On, 1);
}

inline std::string AttribStr(const CXTheme& inTheme, long inKey) {
  UtilStr value;
  inTheme.ThemeAttribs().GetStr(inKey, &value);
  return value.getCStr();
}
