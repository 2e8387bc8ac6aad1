// The controls of the skin that the application window talks to, in groups.
// Each member is bound to the first control (depth first) that carries the
// member's UI function, when that control is of the member's type; a skin
// without such a control leaves the member null, and every use checks for
// null. The tool pages own the controls: after a skin is reloaded every
// member is stale until the window has bound them again.
//
// Which function binds which member is one table (AppControls.cpp), which the
// window binds by and the skin checker (corvexa-skin-view --check) reads to
// tell authors of a second control that would never be bound.
#pragma once

#include "skin/UIFunctions.h"

class cToolPage;
class cStandardButton;
class cStandardCheckBox;
class cStandardComboBox;
class cStandardEdit;
class cStandardLabel;
class cStandardListView;
class cStandardSlider;

struct AppControls {
  struct Basic {
    cStandardButton* WebLink;
    cStandardCheckBox* WaveShapeToggle;
    cStandardComboBox* WaveShapeList;
    cStandardSlider* WaveShapeInterval;
    cStandardCheckBox* ColorMapToggle;
    cStandardComboBox* ColorMapList;
    cStandardSlider* ColorMapInterval;
    cStandardCheckBox* FlowFieldToggle;
    cStandardComboBox* FlowFieldList;
    cStandardSlider* FlowFieldInterval;
    cStandardSlider* FrameRate;
    cStandardSlider* ResponseScale;
    cStandardButton* DeckMode;
    cStandardButton* FullScreen;
  } Basic;

  struct UpdateBar {
    cToolPage* Bar;
    cStandardLabel* Link;
  } UpdateBar;

  struct AdvParticles {
    cStandardListView* List;
    cStandardCheckBox* SelectAll;
    cStandardButton* Start;
    cStandardButton* Stop;
    cStandardButton* StopAll;
    cStandardCheckBox* AutoStart;
    cStandardSlider* Interval;
    cStandardSlider* Duration;
  } AdvParticles;

  struct AdvImageVideo {
    cStandardListView* List;
    cStandardCheckBox* SelectAll;
    cStandardButton* Start;
    cStandardButton* Stop;
    cStandardButton* StopAll;
    cStandardButton* Rescan;
    cStandardCheckBox* AutoStart;
    cStandardSlider* Interval;
    cStandardSlider* Duration;
    cStandardEdit* AlternateSource;
    cStandardButton* BrowseAlternateSource;
    cStandardButton* ClearAlternateSource;
    cStandardCheckBox* IncludeSubfolders;
  } AdvImageVideo;

  // The wave-shape, color-map and flow-field panels have the same members.
  struct AdvConfigList {
    cStandardListView* List;
    cStandardCheckBox* SelectAll;
  } AdvWaveShapes, AdvColorMaps, AdvFlowFields;

  struct AdvVisualScripts {
    cStandardListView* Unsaved;
    cStandardListView* Saved;
    cStandardButton* Save;
    cStandardButton* Rename;
    cStandardButton* Delete;
    cStandardCheckBox* SelectAll;
    cStandardButton* Start;
    cStandardButton* StopAll;
    cStandardButton* Edit;
    cStandardCheckBox* ScriptsOn;
    cStandardCheckBox* AutoRecord;
  } AdvVisualScripts;

  struct AdvPreferences {
    cStandardCheckBox* UseToolTips;
    cStandardCheckBox* AlwaysOnTop;
    cStandardCheckBox* AutoOpenToolbar;
    cStandardCheckBox* AutoCloseToolbar;
    cStandardCheckBox* StartToolbarMinimized;
    cStandardCheckBox* DeckAutoStart;
    cStandardCheckBox* CheckForUpdates;
    cStandardCheckBox* AutoTrackInfo;
    cStandardComboBox* FullScreenMode;
    cStandardComboBox* AudioSource;
    cStandardComboBox* LineBoost;
    cStandardComboBox* TrackTextAppearance;
    cStandardComboBox* TrackTextDuration;
    cStandardComboBox* TrackTextFont;
    cStandardComboBox* TrackTextSize;
    cStandardComboBox* ShowToolbarIn;
    cStandardComboBox* FrameXLimit;
    cStandardComboBox* FrameYLimit;
    cStandardCheckBox* AutoLineScale;
    cStandardCheckBox* AllowRemoteControl;
    cStandardCheckBox* FlowFieldUnions;
    cStandardCheckBox* FlowFieldTransitions;
    cStandardCheckBox* FlowFieldSmoothSwitch;
    cStandardComboBox* Skin;
    cStandardComboBox* Theme;
    cStandardButton* SaveTheme;
    cStandardButton* DeleteTheme;
    cStandardComboBox* Peer;
    cStandardButton* PeerRefresh;
  } AdvPreferences;
};

// A row of the binding table: a member and the function that binds it. The
// type of control it takes is its class's.
struct AppControlBinding {
  eUIFunction mFunction;
  // Bound, but nothing in the window uses it (the visual scripts' section).
  bool mUnused;
  // Sets the member to the page's control of mFunction, or null.
  void (*mBind)(cToolPage* inPage, eUIFunction inFunction, AppControls* ioControls);
};

// Binds every member of ioControls to inPage's controls; null without a page.
void BindAppControls(cToolPage* inPage, AppControls* ioControls);
// The row of the member that inFunction binds, or null when none.
const AppControlBinding* FindAppControlBinding(eUIFunction inFunction);
