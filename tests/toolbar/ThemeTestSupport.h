// Theme folders for the theme and toolbar state tests, made inside a test's
// own temporary folder.
#pragma once

#include <string>

#include "support/KSTestFolder.h"
#include "toolbar/CXTheme.h"

// Makes <inBase>\Themes\<inFolder>\theme.txt for a theme called inLogicalName
// with the configuration lines inBody.
inline void WriteTheme(const KSTestFolder& inTemp, const std::string& inBase,
                       const std::string& inFolder, const std::string& inLogicalName,
                       const std::string& inBody = "") {
  inTemp.MakeFolder(inBase);
  inTemp.MakeFolder(inBase + "\\Themes");
  inTemp.MakeFolder(inBase + "\\Themes\\" + inFolder);
  inTemp.MakeFile(inBase + "\\Themes\\" + inFolder + "\\theme.txt",
                  "LNam=\"" + inLogicalName + "\" PNam=\"" + inFolder + "\" \r\n---\r\n" + inBody);
}

// Attribute On of a configuration in the theme stored in inFolder, -1 when
// the theme cannot be read.
inline long StoredOn(const KSFileSpec& inFolder, CXConfigType inType, const char* inName) {
  CXTheme theme;
  long err = theme.ReadFromDisk(inFolder, false);
  return err != 0 ? -1 : theme.GetAttrib(inType, inName, -1, kConfigAttr_On, 1);
}

inline std::string LogicalName(const CXTheme& inTheme) {
  UtilStr value;
  inTheme.ThemeAttribs().GetStr(kThemeAttr_LogicalName, &value);
  return value.getCStr();
}
