// Configuration lists, slide shows, launched items and the clock.
#include "engine-sim/EngineState.h"

#include <algorithm>

#include "foundation/KSError.h"

namespace {

// A running kind keeps at most this many items going; the oldest makes room.
const size_t kMaxRunning = 64;

// Slide shows never step faster than this, whatever their preference says.
const double kShortestIntervalSecs = 0.05;
const double kLongestIntervalSecs = 1e6;

long ShowOnCode(long inKind) {
  switch (inKind) {
    case kConfigWaveShape:
      return kNotifyWaveShapeShowOn;
    case kConfigColorMap:
      return kNotifyColorMapShowOn;
    case kConfigFlowField:
      return kNotifyFlowFieldShowOn;
    case kConfigSprite:
      return kNotifySpriteShowOn;
    case kConfigParticle:
      return kNotifyParticleShowOn;
    default:
      return 0;  // unions and scripts have no code
  }
}

bool MaskHasKind(long inMask, long inKind) {
  return (inMask >> inKind) & 1;
}

}  // namespace

EngineState::EngineState(const EngineContent& inContent)
    : mContent(inContent),
      mExternalSubfolders(false),
      mFullscreen(false),
      mAudioSource(0),
      mFontSize(0),
      mFontFlags(0),
      mSongStartMS(0),
      mTrackTextUntilMS(0),
      mScreenshots(0),
      mNowMS(0),
      mClockSet(false),
      mExpressions(nullptr),
      mListener(nullptr),
      mScanner(nullptr) {
  for (long kind = 0; kind < kNumConfigKinds; kind++) {
    mLists[kind].SetNames(mContent.mItems[kind]);
    if (IsSwitchedKind(kind) && mLists[kind].Count() > 0) {
      mLists[kind].SetCurrent(1);
    }
    mShows[kind].mOn = false;
    mShows[kind].mDueMS = 0;
  }
  if (!mContent.mDisplays.empty() && !mContent.mDisplays[0].mModes.empty()) {
    mFullscreenMode = mContent.mDisplays[0].mModes.back();
  }
  mAudioSource = GetPref(kPrefAudioInputSource).AsInt();
  mFontName = GetPref(kPrefTextFont).AsText();
  mFontSize = GetPref(kPrefTextSize).AsInt();
}

void EngineState::SetRandomSeed(uint32 inSeed) {
  mRandom.mSeed = inSeed;
  mExpressions.SetRandomSeed(inSeed ^ 0x5bd1e995);
}

// --- Time ---

void EngineState::Tick(int64 inNowMS) {
  if (!mClockSet) {
    mClockSet = true;
    mNowMS = inNowMS;
    mSongStartMS = inNowMS;
    return;
  }
  if (inNowMS <= mNowMS) {
    return;
  }
  mNowMS = inNowMS;
  EndFinishedItems();
  RunDueShows();
}

void EngineState::RunDueShows() {
  for (long kind = 0; kind < kNumConfigKinds; kind++) {
    SlideShow& show = mShows[kind];
    if (!show.mOn || show.mDueMS > mNowMS) {
      continue;
    }
    if (IsSwitchedKind(kind)) {
      MakeCurrent(kind, mLists[kind].NextInShow());
    } else if (IsLaunchedKind(kind)) {
      Launch(kind, mLists[kind].RandomEnabled(&mRandom));
    }
    Schedule(kind);
  }
}

void EngineState::EndFinishedItems() {
  for (std::vector<RunningItem>& running : mRunning) {
    running.erase(
        std::remove_if(running.begin(), running.end(),
                       [this](const RunningItem& inItem) { return inItem.mEndMS <= mNowMS; }),
        running.end());
  }
}

void EngineState::Schedule(long inKind) {
  EnginePrefID pref = IntervalPref(inKind);
  if (pref == kPrefNone) {
    return;
  }
  mShows[inKind].mDueMS = mNowMS + int64(Seconds(pref, 30) * 1000);
}

double EngineState::Seconds(EnginePrefID inPref, double inFallback) {
  double secs = PrefNumber(inPref);
  if (!(secs == secs)) {  // NaN
    return inFallback;
  }
  return std::min(std::max(secs, kShortestIntervalSecs), kLongestIntervalSecs);
}

EnginePrefID EngineState::IntervalPref(long inKind) {
  switch (inKind) {
    case kConfigWaveShape:
      return kPrefWaveShapeInterval;
    case kConfigColorMap:
      return kPrefColorMapInterval;
    case kConfigFlowField:
      return kPrefFlowFieldInterval;
    case kConfigParticle:
      return kPrefParticleInterval;
    case kConfigSprite:
      return kPrefSpriteInterval;
    default:
      return kPrefNone;
  }
}

EnginePrefID EngineState::DurationPref(long inKind) {
  return inKind == kConfigParticle ? kPrefParticleDuration
         : inKind == kConfigSprite ? kPrefSpriteDuration
                                   : kPrefNone;
}

// --- Notifications ---

void EngineState::Notify(long inMsgID, const UtilStr& inBody) {
  if (mListener) {
    mListener->OnEngineNotify(inMsgID, inBody);
  }
}

void EngineState::NotifyCurrent(long inKind) {
  long code = inKind == kConfigWaveShape  ? kNotifyWaveShape
              : inKind == kConfigColorMap ? kNotifyColorMap
                                          : kNotifyFlowField;
  Notify(code, CurrentName(inKind));
}

void EngineState::Say(const UtilStr& inText) {
  Notify(kNotifyUserMessage, inText);
}

// --- Current items ---

UtilStr EngineState::CurrentName(long inKind) const {
  long current = mLists[inKind].Current();
  return current ? mLists[inKind].Name(current) : UtilStr();
}

void EngineState::MakeCurrent(long inKind, long inIndex) {
  if (inIndex == 0 || inIndex == mLists[inKind].Current()) {
    return;
  }
  mLists[inKind].SetCurrent(inIndex);
  NotifyCurrent(inKind);
}

long EngineState::SetCurrent(long inKind, const UtilStr& inName) {
  long index = mLists[inKind].Find(inName);
  if (index == 0 || !IsSwitchedKind(inKind)) {
    return kKSErr_FileNotFound;
  }
  MakeCurrent(inKind, index);
  if (mShows[inKind].mOn) {
    Schedule(inKind);  // a choice by hand gets its full interval
  }
  return 0;
}

long EngineState::Step(long inKind, int inDirection) {
  long index = IsSwitchedKind(inKind) ? mLists[inKind].Step(inDirection) : 0;
  if (index == 0) {
    return kKSErr_BadState;
  }
  MakeCurrent(inKind, index);
  if (mShows[inKind].mOn) {
    Schedule(inKind);
  }
  return 0;
}

// --- Slide shows and enabled items ---

void EngineState::SetSlideShow(long inKind, bool inOn) {
  if (mShows[inKind].mOn == inOn) {
    return;
  }
  mShows[inKind].mOn = inOn;
  if (inOn) {
    Schedule(inKind);
  }
  long code = ShowOnCode(inKind);
  if (code) {
    Notify(inOn ? code : code + 1, UtilStr());
  }
}

void EngineState::ShuffleSlideShow(long inKind) {
  mLists[inKind].Shuffle(&mRandom);
}

void EngineState::SetAllEnabled(long inMask, bool inOn) {
  for (long kind = 0; kind < kNumConfigKinds; kind++) {
    if (MaskHasKind(inMask, kind)) {
      mLists[kind].SetAllEnabled(inOn);
    }
  }
}

long EngineState::SetItemEnabled(long inMask, const UtilStr& inName, bool inOn) {
  bool found = false;
  for (long kind = 0; kind < kNumConfigKinds; kind++) {
    long index = MaskHasKind(inMask, kind) ? mLists[kind].Find(inName) : 0;
    if (index) {
      mLists[kind].SetEnabled(index, inOn);
      found = true;
    }
  }
  return found ? 0 : kKSErr_FileNotFound;
}

// --- Particles and images/videos ---

void EngineState::Launch(long inKind, long inIndex) {
  if (inIndex == 0) {
    return;
  }
  std::vector<RunningItem>& running = mRunning[inKind];
  if (running.size() >= kMaxRunning) {
    running.erase(running.begin());
  }
  RunningItem item = {mLists[inKind].Name(inIndex),
                      mNowMS + int64(Seconds(DurationPref(inKind), 30) * 1000)};
  running.push_back(item);
}

long EngineState::Start(long inKind, const UtilStr& inName) {
  long index = IsLaunchedKind(inKind) ? mLists[inKind].Find(inName) : 0;
  if (index == 0) {
    return kKSErr_FileNotFound;
  }
  Launch(inKind, index);
  return 0;
}

long EngineState::StartRandom(long inKind) {
  long index = IsLaunchedKind(inKind) ? mLists[inKind].RandomEnabled(&mRandom) : 0;
  if (index == 0) {
    return kKSErr_BadState;
  }
  Launch(inKind, index);
  return 0;
}

void EngineState::Kill(long inKind, const UtilStr& inName) {
  std::vector<RunningItem>& running = mRunning[inKind];
  running.erase(std::remove_if(running.begin(), running.end(),
                               [&inName](const RunningItem& inItem) {
                                 return inItem.mName.Equals(inName, false);
                               }),
                running.end());
}

void EngineState::KillAll(long inKind) {
  mRunning[inKind].clear();
}

void EngineState::GetRunning(long inKind, ScriptValue* outList) const {
  *outList = ScriptValue::EmptyList();
  for (const RunningItem& item : mRunning[inKind]) {
    outList->AddListItem(item.mName.getCStr(), item.mName.length());
  }
}

// --- Images and videos from a folder of the user's ---

long EngineState::RegisterExternalSprites(const UtilStr& inFolder, bool inSubfolders) {
  mExternalFolder = inFolder;
  mExternalSubfolders = inSubfolders;
  return Rescan(kConfigSprite);
}

long EngineState::Rescan(long inKind) {
  if (inKind != kConfigSprite) {
    return 0;  // only sprites come from folders
  }
  long err = 0;
  mExternalSprites.clear();
  if (!mExternalFolder.IsEmpty() && mScanner) {
    err = mScanner->ListMediaFiles(mExternalFolder, mExternalSubfolders, &mExternalSprites);
  }
  LoadSpriteList();
  return err;
}

void EngineState::LoadSpriteList() {
  EngineNames names = mContent.mItems[kConfigSprite];
  for (const UtilStr& name : mExternalSprites) {
    bool duplicate = std::any_of(names.begin(), names.end(),
                                 [&name](const UtilStr& inOld) { return inOld.Equals(name); });
    if (!duplicate) {
      names.push_back(name);
    }
  }
  mLists[kConfigSprite].SetNames(names);
}
