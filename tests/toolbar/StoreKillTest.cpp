// Storing killed at random moments: store_loop.exe stores the preferences
// round after round and is killed at a random moment, 200 times. After every
// kill the next start reads exactly the round stored last or the one being
// stored, never a file cut short, mixed or missing, and the writer's next run
// stores without error whatever the kill left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "foundation/KSHandle.h"
#include "foundation/KSMappedView.h"
#include "foundation/XStrList.h"
#include "support/ChildProcess.h"
#include "support/KSTestFolder.h"
#include "toolbar/StoreRounds.h"
#include "toolbar/ToolbarState.h"

namespace {

const int kKills = 200;
// The longest wait between the writer's first round and its kill. A round
// takes a few milliseconds: the kills land in every part of it.
const int kMaxKillDelayMS = 20;

// The record and the event store_loop reports through, made by the test.
class SharedProgress {
 public:
  SharedProgress() {
    mName = "ks-store-loop-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
    mMapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(StoreProgress), mName.c_str()));
    mView.Reset(mMapping ? MapViewOfFile(mMapping.Get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr);
    mReady.Reset(CreateEventA(nullptr, FALSE, FALSE, (mName + "-ready").c_str()));
  }

  bool IsValid() const { return mView && mReady; }
  const std::string& Name() const { return mName; }
  HANDLE Ready() const { return mReady.Get(); }
  StoreProgress* Get() const { return static_cast<StoreProgress*>(mView.Get()); }

 private:
  std::string mName;
  KSHandle mMapping;
  KSMappedView mView;
  KSHandle mReady;
};

// Starts store_loop at inFirstRound and kills it inDelayMS after that round
// began (the kill waits until the process, and so its hold on the files, is
// gone). False when it did not get that far.
bool StoreAndKill(const KSFileSpec& inPrefsFolder, long inFirstRound,
                  const SharedProgress& inShared, DWORD inDelayMS) {
  ChildProcess writer;
  if (!writer.Start("store_loop.exe",
                    {inPrefsFolder.GetPathCStr(), std::to_string(inFirstRound), inShared.Name()})) {
    return false;
  }
  HANDLE waits[] = {inShared.Ready(), writer.Handle()};
  bool began = WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
  if (began) {
    Sleep(inDelayMS);
  }
  writer.Kill();
  return began && WaitForSingleObject(writer.Handle(), INFINITE) == WAIT_OBJECT_0;
}

// The round the next start reads, -1 when what it reads is not one round
// whole.
long RoundAtNextStart(const KSFileSpec& inPrefsFolder) {
  ToolbarState state(inPrefsFolder, nullptr, 0);
  return PrefsRound(state.mPrefs);
}

// The files in the folder of the file being stored: the file itself and
// whatever kills left beside it.
long FilesBesideStore(const KSFileSpec& inPrefsFolder) {
  KSFileSpec folder;
  folder.AssignRelativePath("Kestrova\\Corvexa", -1, inPrefsFolder);
  XStrList items;
  KSFileSpec::ReadCatalog(folder, &items, ks_CatalogFiles | ks_CatalogInvisibles, false);
  return items.Count();
}

}  // namespace

TEST(PrefsStoreKilled, LeavesTheOldOrNewRoundWhole) {
  KSTestFolder temp;
  KSFileSpec prefsFolder = temp.MakeFolder("prefs");
  // Round 0, so that every kill has a previous whole version to keep.
  {
    ToolbarState state(prefsFolder, nullptr, 0);
    FillPrefsRound(&state.mPrefs, 0);
  }
  ASSERT_EQ(0, RoundAtNextStart(prefsFolder));

  SharedProgress shared;
  ASSERT_TRUE(shared.IsValid());
  StoreProgress* progress = shared.Get();
  unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delay(0, kMaxKillDelayMS);
  long stored = 0;
  int whileStoring = 0;
  long strayBound = 0;
  for (int kill = 1; kill <= kKills; kill++) {
    progress->mPhase = kRoundStored;
    progress->mRound = stored;
    ASSERT_TRUE(StoreAndKill(prefsFolder, stored + 1, shared, DWORD(delay(random))))
        << "kill " << kill;
    long round = progress->mRound;
    // A kill before the replacement leaves the writer's sibling behind. Every
    // store clears away those of writers that are gone, so only the siblings
    // of runs since the last finished store can be left.
    bool finishedStore =
        round > stored + 1 || (round == stored + 1 && progress->mPhase == kRoundStored);
    strayBound = (finishedStore ? 0 : strayBound) + 1;
    long strays = FilesBesideStore(prefsFolder) - 1;
    EXPECT_LE(strays, strayBound) << "kill " << kill;
    long found = RoundAtNextStart(prefsFolder);
    if (progress->mPhase == kRoundStoring) {
      whileStoring++;
      ASSERT_TRUE(found == round || found == round - 1)
          << "kill " << kill << " storing round " << round << " left " << found << " (seed " << seed
          << ")";
    } else {
      ASSERT_EQ(round, found) << "kill " << kill << " (seed " << seed << ")";
    }
    stored = found;
  }
  EXPECT_EQ(0, progress->mFailedStores);
  // Below a few dozen the kills missed the stores: the delays need a look.
  EXPECT_GE(whileStoring, kKills / 4);
}
