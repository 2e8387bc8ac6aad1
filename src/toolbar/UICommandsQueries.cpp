// Builders of query scripts. The texts are sent as they are: a "%d\0" inside
// them is for the engine's own printf, which prints the number and then a NUL.
#include "toolbar/UICommands.h"

// --- Single settings: a decimal number followed by a NUL, or a name ---

char* CommandGetFlowFieldTransitions(char* outCmd) {
  // The engine stores "transitions disabled"; the reply is 1 when they are on.
  return CopyCommand(outCmd, R"(printf( "%d\0", ! GetPref( PREF_FLOWFIELD_TRANS_DISABLE));)");
}

char* CommandGetUnionSlideShow(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetSlideShow( CONFIG_UNION ) );)");
}

char* CommandGetAllowRemoteControl(char* outCmd) {
  return CopyCommand(outCmd,
                     R"(printf( "%d\0", GetPref( PREF_NETWORK_MODE) == KS_NETWORK_MODE_NORMAL );)");
}

char* CommandGetFlowFieldSmoothSwitch(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_FLOWFIELD_SMOOTH_SWITCH ) );)");
}

char* CommandGetAutoTrackInfo(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_TRACK_TEXT_AUTO) );)");
}

char* CommandGetAutoLineScale(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_AUTO_LINE_SCALE ) );)");
}

char* CommandGetFrameXLimit(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_MAX_SIZE_X ) );)");
}

char* CommandGetFrameYLimit(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_MAX_SIZE_Y ) );)");
}

char* CommandGetAudioSource(char* outCmd) {
  return CopyCommand(
      outCmd, R"(printf( "%s\0", GetAudioSourceDesc( GetPref( PREF_AUDIO_INPUT_SOURCE ) ) );)");
}

char* CommandGetLineOffset(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%f\0", GetPref( PREF_LINE_WIDTH_OFFSET ) );)");
}

char* CommandGetTrackTextSize(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_TEXT_SIZE ));)");
}

char* CommandGetTrackTextFont(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%s\0", GetPrefStr( PREF_TEXT_FONT ));)");
}

char* CommandGetTrackTextAppearance(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_TRACK_TEXT_APPEARANCE ));)");
}

char* CommandGetTrackTextDuration(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d\0", GetPref( PREF_TRACK_TEXT_DURATION ) );)");
}

char* CommandGetFullScreenMode(char* outCmd) {
  return CopyCommand(outCmd, "print( GetFullscreenMode() );");
}

char* CommandGetTrackInfo(char* outCmd) {
  return CopyCommand(outCmd, "print( GetTrackInfo() );");
}

// --- Configuration lists: NUL-terminated names ended by an empty name ---

char* CommandGetWaveShapeList(char* outCmd) {
  return CopyCommand(outCmd, "print( GetConfigList(CONFIG_WAVESHAPE));");
}

char* CommandGetColorMapList(char* outCmd) {
  return CopyCommand(outCmd, "print( GetConfigList(CONFIG_COLORMAP));");
}

char* CommandGetFlowFieldList(char* outCmd) {
  return CopyCommand(outCmd, "print( GetConfigList(CONFIG_FLOWFIELD));");
}

char* CommandGetParticleList(char* outCmd) {
  return CopyCommand(outCmd, "print( GetConfigList( CONFIG_PARTICLE ) );");
}

char* CommandGetImageVideoList(char* outCmd) {
  return CopyCommand(outCmd, "print( GetConfigList(CONFIG_SPRITE));");
}

// --- Slide-show states and current items: a bare number or name ---

char* CommandGetWaveShapeSlideShow(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d", GetSlideShow(CONFIG_WAVESHAPE));)");
}

char* CommandGetColorMapSlideShow(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d", GetSlideShow(CONFIG_COLORMAP));)");
}

char* CommandGetFlowFieldSlideShow(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%d", GetSlideShow(CONFIG_FLOWFIELD));)");
}

char* CommandGetCurrentWaveShape(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%s", GetCurrentWaveShape());)");
}

char* CommandGetCurrentColorMap(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%s", GetCurrentColorMap());)");
}

char* CommandGetCurrentFlowField(char* outCmd) {
  return CopyCommand(outCmd, R"(printf( "%s", GetCurrentFlowField());)");
}

char* CommandIsVersionAvailable(char* outCmd) {
  // 1 only when the engine checks for updates and has seen a newer version.
  return CopyCommand(
      outCmd,
      R"(printf( "%d", (GetPref( PREF_CHECK_FOR_UPDATES ) > 0) && (GetPref( PREF_VERS_AVAIL_NUM) > _VERSION_));)");
}

// --- Lists the engine builds from the system ---

char* CommandBuildAudioSourceList(char* outCmd) {
  return CopyCommand(outCmd, "print( BuildAudioSourceList() );");
}

char* CommandBuildFontList(char* outCmd) {
  return CopyCommand(outCmd, "print(BuildSystemFontList());");
}

char* CommandBuildDisplayModeList(long inDeviceIndex, char* outCmd) {
  return FormatCommand(outCmd, "print( BuildDisplayModeList( %d ) );", int(inDeviceIndex));
}
