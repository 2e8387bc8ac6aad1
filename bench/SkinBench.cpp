// corvexa-bench-skins: switching the toolbar window's skin (Factory Blue to
// Compact and back: the skin read, its pictures loaded, its controls made,
// bound and filled) against loading the same skins' BMP files as pictures
// alone, in turns in one run. The window is made in this program, with the
// build's factory skins and no engine. It needs a display.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchPictures.h"
#include "BenchStats.h"
#include "support/DrivenToolbarPrefs.h"
#include "support/KSTestFolder.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

namespace {

const int kRounds = 10;
const char* const kSkins[] = {"Compact", "Factory Blue"};

std::string SkinsFolder() {
  std::string skins = std::string("Z:") + KS_BUILT_SKINS_DIR;
  std::replace(skins.begin(), skins.end(), '/', '\\');
  return skins;
}

std::vector<std::string> SkinPictures(const std::string& inSkin) {
  std::string folder = SkinsFolder() + "\\" + inSkin + "\\";
  std::vector<std::string> paths;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.bmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return paths;
  }
  do {
    paths.push_back(folder + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return paths;
}

// Handles what the window has queued (paints, the tool tip), untimed.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double TimeSkinSwitch(cAppWin* ioApp, const char* inSkin, bool* ioOk) {
  double start = BenchNowMicros();
  *ioOk = ioApp->LoadSkin(inSkin) == 0 && *ioOk;
  double micros = BenchNowMicros() - start;
  Pump();
  return micros;
}

}  // namespace

int main() {
  KSTestFolder prefsFolder;
  UseDrivenToolbarPrefs(prefsFolder);
  gToolbarState.mSkinsFolder.AssignFromPath(SkinsFolder().c_str());

  std::unique_ptr<cAppWin> app;
  if (CreateMainWindow(&app) != 0) {
    std::fprintf(stderr, "corvexa-bench-skins: the toolbar window could not be made\n");
    return 1;
  }
  Pump();
  std::vector<std::string> pictures[2] = {SkinPictures(kSkins[0]), SkinPictures(kSkins[1])};
  bool ok = !pictures[0].empty() && !pictures[1].empty();
  std::vector<double> switches[2], alone[2];
  // A warm-up round brings the files into the cache.
  for (int round = -1; ok && round < kRounds; round++) {
    for (int skin = 0; skin < 2; skin++) {
      double switchMicros = TimeSkinSwitch(app.get(), kSkins[skin], &ok);
      double aloneMicros = TimePictureLoads(pictures[skin], &ok);
      if (round >= 0) {
        switches[skin].push_back(switchMicros);
        alone[skin].push_back(aloneMicros);
      }
    }
  }
  DestroyWindow(app->Wind());
  app.reset();
  if (!ok) {
    std::fprintf(stderr, "corvexa-bench-skins: a skin or a picture did not load\n");
    return 1;
  }

  std::printf("Skin switch against its BMP files loaded alone, %d turns (ms, median):\n", kRounds);
  double switchSum = 0, aloneSum = 0;
  for (int skin = 0; skin < 2; skin++) {
    double switchMS = Summarize(&switches[skin]).mMedian / 1000;
    double aloneMS = Summarize(&alone[skin]).mMedian / 1000;
    std::printf("  to %-13s  %3zu pictures alone %7.1f   skin switch %7.1f   %.2fx\n", kSkins[skin],
                pictures[skin].size(), aloneMS, switchMS, switchMS / aloneMS);
    switchSum += switchMS;
    aloneSum += aloneMS;
  }
  double ratio = switchSum / aloneSum;
  char result[100];
  std::snprintf(result, sizeof(result), "%.2fx (%.0f ms / %.0f ms)", ratio, switchSum, aloneSum);
  // A skin switch makes and binds every control window; there is no target
  // for it, the ratio shows how far it is from the pictures' own cost.
  PrintSummaryRow("skin load and reload (Compact, Factory Blue) / their BMPs alone", result,
                  nullptr, true);
  return 0;
}
