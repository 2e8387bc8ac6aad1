// The state of one engine: its configuration lists with their current items,
// enabled items and slide shows, the particles and images/videos running, the
// preferences, the display, audio sources, fonts and the playing track.
//
// Time only moves when Tick is called: slide shows step, launched items run
// out and new ones start as their intervals pass. Every change of what the
// toolbar mirrors is announced to the listener with the engine's notification
// codes, whoever caused it. The state is not locked; its owner serialises use.
#pragma once

#include "engine-sim/EngineContent.h"
#include "engine-sim/EngineItemList.h"
#include "engine-sim/EnginePrefs.h"
#include "engine-sim/ScriptInterpreter.h"

// System message codes the engine sends.
enum EngineNotifyCode : long {
  kNotifyUserMessage = 100,     // body: the text
  kNotifyFullscreenMode = 253,  // body: the mode's name
  kNotifyAudioSource = 254,     // body: the source index in decimal
  kNotifyColorMap = 301,        // body: the name of the new current item
  kNotifyWaveShape = 303,
  kNotifyFlowField = 305,
  kNotifyWaveShapeShowOn = 320,  // each "on" code is followed by its "off" code
  kNotifyColorMapShowOn = 322,
  kNotifyFlowFieldShowOn = 324,
  kNotifySpriteShowOn = 326,
  kNotifyParticleShowOn = 328,
};

class EngineListener {
 public:
  virtual ~EngineListener() {}
  virtual void OnEngineNotify(long inMsgID, const UtilStr& inBody) = 0;
};

// Finds the image and video files of a folder registered for sprites.
class EngineFolderScanner {
 public:
  virtual ~EngineFolderScanner() {}
  virtual long ListMediaFiles(const UtilStr& inFolder, bool inSubfolders,
                              EngineNames* outNames) = 0;
};

class EngineState {
 public:
  explicit EngineState(const EngineContent& inContent);

  EngineState(const EngineState&) = delete;
  EngineState& operator=(const EngineState&) = delete;

  void SetListener(EngineListener* inListener) { mListener = inListener; }
  void SetFolderScanner(EngineFolderScanner* inScanner) { mScanner = inScanner; }
  void SetRandomSeed(uint32 inSeed);

  // --- Time ---
  // Moves the clock to inNowMS (milliseconds of any steady clock) and runs
  // every timer that fell due. The first call only sets the clock.
  void Tick(int64 inNowMS);
  int64 Now() const { return mNowMS; }

  // --- Configuration lists (kinds 0 to 6) ---
  const EngineItemList& Items(long inKind) const { return mLists[inKind]; }
  UtilStr CurrentName(long inKind) const;
  // kKSErr_FileNotFound when the list has no such name.
  long SetCurrent(long inKind, const UtilStr& inName);
  // Steps through the enabled items; kKSErr_BadState when none is enabled.
  long Step(long inKind, int inDirection);

  bool GetSlideShow(long inKind) const { return mShows[inKind].mOn; }
  void SetSlideShow(long inKind, bool inOn);
  void ShuffleSlideShow(long inKind);

  // Masks have bit n set for kind n.
  void SetAllEnabled(long inMask, bool inOn);
  // kKSErr_FileNotFound when no list of the mask has the name.
  long SetItemEnabled(long inMask, const UtilStr& inName, bool inOn);

  // --- Particles and images/videos ---
  long Start(long inKind, const UtilStr& inName);
  long StartRandom(long inKind);  // kKSErr_BadState when none is enabled
  void Kill(long inKind, const UtilStr& inName);
  void KillAll(long inKind);
  void GetRunning(long inKind, ScriptValue* outList) const;

  // Adds the image and video files of a folder to the sprite list, and
  // forgets the folder registered before.
  long RegisterExternalSprites(const UtilStr& inFolder, bool inSubfolders);
  // Reads the registered folder again.
  long Rescan(long inKind);
  const UtilStr& ExternalFolder() const { return mExternalFolder; }

  // --- Preferences ---
  long SetPref(long inID, const ScriptValue& inValue);  // kKSErr_Param for no such preference
  const ScriptValue& GetPref(EnginePrefID inID) const { return mPrefs.Get(inID); }
  // A preference as a number; expression texts are evaluated.
  double PrefNumber(EnginePrefID inID);

  // --- Display ---
  bool IsFullscreen() const { return mFullscreen; }
  void SetFullscreen(bool inOn) { mFullscreen = inOn; }
  const UtilStr& FullscreenMode() const { return mFullscreenMode; }
  long SetFullscreenMode(const UtilStr& inMode);  // kKSErr_UnsupportedMode
  // The modes of device inDevice (from 0); an empty list past the last device.
  void GetDisplayModes(long inDevice, ScriptValue* outList) const;

  // --- Audio, fonts and track text ---
  long CountAudioSources() const { return long(mContent.mAudioSources.size()); }
  // The description of source inIndex (from 0); "" for no such source.
  UtilStr AudioSourceDesc(long inIndex) const;
  long AudioSource() const { return mAudioSource; }
  long SetAudioSource(long inIndex);  // kKSErr_IndexOutOfBounds
  void GetFonts(ScriptValue* outList) const;
  void SetDefaultFont(const UtilStr& inName, long inSize, long inFlags);
  const UtilStr& DefaultFont() const { return mFontName; }
  long DefaultFontSize() const { return mFontSize; }

  const UtilStr& TrackInfo() const { return mContent.mTrackInfo; }
  // A new song starts: its time counts from now and its text shows when the
  // automatic track text is on.
  void SetTrackInfo(const UtilStr& inInfo);
  double SecsSinceSongStart() const { return double(mNowMS - mSongStartMS) / 1000.0; }
  bool TrackTextShowing() const { return mTrackTextUntilMS > mNowMS; }

  long Execute(long inAction);  // kKSErr_Param for an unknown action
  long CountScreenshots() const { return mScreenshots; }

  // Sends a message for the user (code 100).
  void Say(const UtilStr& inText);

 private:
  struct SlideShow {
    bool mOn;
    int64 mDueMS;  // next step (or next launch), while mOn
  };
  struct RunningItem {
    UtilStr mName;
    int64 mEndMS;
  };

  void Notify(long inMsgID, const UtilStr& inBody);
  void NotifyCurrent(long inKind);
  void MakeCurrent(long inKind, long inIndex);
  void Launch(long inKind, long inIndex);
  void Schedule(long inKind);
  void RunDueShows();
  void EndFinishedItems();
  void LoadSpriteList();
  double Seconds(EnginePrefID inPref, double inFallback);

  static EnginePrefID IntervalPref(long inKind);
  static EnginePrefID DurationPref(long inKind);

  EngineContent mContent;
  EngineItemList mLists[kNumConfigKinds];
  SlideShow mShows[kNumConfigKinds];
  std::vector<RunningItem> mRunning[kNumConfigKinds];
  EnginePrefs mPrefs;

  UtilStr mExternalFolder;
  bool mExternalSubfolders;
  EngineNames mExternalSprites;

  bool mFullscreen;
  UtilStr mFullscreenMode;
  long mAudioSource;
  UtilStr mFontName;
  long mFontSize;
  long mFontFlags;
  int64 mSongStartMS;
  int64 mTrackTextUntilMS;
  long mScreenshots;

  int64 mNowMS;
  bool mClockSet;
  KSRandom mRandom;
  ScriptInterpreter mExpressions;  // evaluates timing preferences
  EngineListener* mListener;
  EngineFolderScanner* mScanner;
};
