#include "toolbar/PrefChoices.h"

namespace {

const char* const kFrameLimitLabels[kNumFrameLimitChoices] = {
    "200", "400", "600", "800", "1000", "1200", "1400", "1600", "(No limit)", "(Auto)"};
const long kFrameLimitPixels[8] = {200, 400, 600, 800, 1000, 1200, 1400, 1600};
const long kNoFrameLimit = 10000;
const long kNoLimitIndex = 8;

const long kTrackTextDurations[kNumTrackTextDurations] = {2, 5, 10, 15, 30, 60, 30000};
const char* const kTrackTextDurationLabels[kNumTrackTextDurations] = {
    "2 seconds",  "5 seconds", "10 seconds",        "15 seconds",
    "30 seconds", "1 minute",  "(Always displayed)"};

const long kTrackTextSizes[kNumTrackTextSizes] = {9,  10, 11, 12, 14, 16, 18,
                                                  20, 22, 24, 28, 32, 48};

const char* const kTrackTextAppearanceLabels[kNumTrackTextAppearances] = {
    "Standard", "Semi-transparent band", "Blended with visuals"};

const char* const kShowToolbarInLabels[kNumShowToolbarInChoices] = {
    "System tray only", "Taskbar only", "Both taskbar and system tray"};

bool IsWithin(long inIndex, long inCount) {
  return inIndex >= 0 && inIndex < inCount;
}

}  // namespace

long FrameLimitFromIndex(long inIndex) {
  if (IsWithin(inIndex, kNoLimitIndex)) {
    return kFrameLimitPixels[inIndex];
  }
  return inIndex == kNoLimitIndex ? kNoFrameLimit : 0;
}

long TrackTextDurationFromIndex(long inIndex) {
  if (inIndex < 0) {
    inIndex = 0;
  } else if (inIndex >= kNumTrackTextDurations) {
    inIndex = kNumTrackTextDurations - 1;
  }
  return kTrackTextDurations[inIndex];
}

long TrackTextSizeFromIndex(long inIndex) {
  return IsWithin(inIndex, kNumTrackTextSizes) ? kTrackTextSizes[inIndex] : 0;
}

float LineOffsetFromIndex(long inIndex) {
  return float(inIndex - 5);
}

const char* FrameLimitLabel(long inIndex) {
  return IsWithin(inIndex, kNumFrameLimitChoices) ? kFrameLimitLabels[inIndex] : nullptr;
}

const char* TrackTextDurationLabel(long inIndex) {
  return IsWithin(inIndex, kNumTrackTextDurations) ? kTrackTextDurationLabels[inIndex] : nullptr;
}

const char* TrackTextAppearanceLabel(long inIndex) {
  return IsWithin(inIndex, kNumTrackTextAppearances) ? kTrackTextAppearanceLabels[inIndex]
                                                     : nullptr;
}

const char* ShowToolbarInLabel(long inIndex) {
  return IsWithin(inIndex, kNumShowToolbarInChoices) ? kShowToolbarInLabels[inIndex] : nullptr;
}
