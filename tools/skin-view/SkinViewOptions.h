// The command line of corvexa-skin-view:
//   corvexa-skin-view.exe [--extend | --retract] [--open PAGE]... [--screenshot FILE.bmp
//                         [--backdrop RRGGBB]] SKINFOLDER
//   corvexa-skin-view.exe --check SKINFOLDER
#pragma once

#include <string>
#include <vector>

#include "foundation/KSTypes.h"

// Which display mode the pages start in.
enum eSkinViewModes {
  kViewSkinModes,  // each page's DefaultMode
  kViewExtended,   // every page extended
  kViewRetracted   // every page retracted
};

struct SkinViewOptions {
  std::wstring mSkinFolder;
  eSkinViewModes mModes = kViewSkinModes;
  std::vector<std::string> mOpenPages;  // UTF-8 page names, started extended
  std::wstring mScreenshot;             // empty: show the window until it is closed
  uint32 mBackdrop = 0x808080;          // 0xRRGGBB behind the window in a screenshot
  bool mCheck = false;                  // list the skin's problems instead of showing it
};

// Exit codes.
enum {
  kViewExitOK = 0,
  kViewExitUsage = 1,
  kViewExitLoadFailed = 2,
  kViewExitScreenshot = 3,
  kViewExitProblems = 4  // --check found something
};

extern const char kSkinViewUsage[];

// Reads inArgs[0 .. inCount - 1] (the program's name left out). False with a
// reason in outError when they make no sense.
bool ParseSkinViewOptions(int inCount, wchar_t** inArgs, SkinViewOptions* outOptions,
                          std::string* outError);
