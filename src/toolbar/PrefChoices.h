// The fixed choices of the toolbar's preference combo boxes, and what each
// choice's index stands for: the window fills the combo boxes with these
// labels and turns the selected index into the value it sends to the engine.
#pragma once

// Frame-size limits: "200" to "1600" in steps of 200, "(No limit)", "(Auto)".
constexpr long kNumFrameLimitChoices = 10;
// The limit sent for a frame-size index: pixels for 0 to 7, 10000 for
// "(No limit)" (8), 0 for "(Auto)" (9) and for anything else.
long FrameLimitFromIndex(long inIndex);
// The limit sent for a dimension whose combo box the skin does not have.
constexpr long kFrameLimitWithoutChoice = 20000;

// Track-text durations: "2 seconds" to "1 minute", "(Always displayed)".
constexpr long kNumTrackTextDurations = 7;
// Seconds for a duration index; indices outside the list are pulled to its ends.
long TrackTextDurationFromIndex(long inIndex);

// Track-text sizes in points, 9 to 48.
constexpr long kNumTrackTextSizes = 13;
long TrackTextSizeFromIndex(long inIndex);  // inIndex within the list

// Track-text appearances: "Standard", "Semi-transparent band", "Blended with
// visuals"; the index is the engine's own appearance value.
constexpr long kNumTrackTextAppearances = 3;

// Line boost: items "-5" to "5"; item i is the line width offset i - 5.
constexpr long kNumLineBoostChoices = 11;
float LineOffsetFromIndex(long inIndex);

// Where the toolbar shows up: "System tray only", "Taskbar only", "Both
// taskbar and system tray"; the index is the value of the preference.
constexpr long kNumShowToolbarInChoices = 3;

// The label of choice inIndex of each list, or null outside it.
const char* FrameLimitLabel(long inIndex);
const char* TrackTextDurationLabel(long inIndex);
const char* TrackTextAppearanceLabel(long inIndex);
const char* ShowToolbarInLabel(long inIndex);
