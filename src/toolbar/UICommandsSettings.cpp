// Builders that set engine preferences and modes.
#include "toolbar/PercentCurves.h"
#include "toolbar/UICommands.h"

namespace {

// Re-applies the track-text font after its name or size changed.
const char* const kApplyTrackTextFont =
    " SetDefaultFont( GetPrefStr( PREF_TEXT_FONT ), GetPref( PREF_TEXT_SIZE ), KS_UTF8_CHARSET | "
    "KS_BOLD );";

}  // namespace

char* CommandSetFlowFieldTransitions(bool inOn, char* outCmd) {
  // The engine's preference disables transitions, so "on" writes 0.
  return FormatCommand(outCmd, "SetPref( PREF_FLOWFIELD_TRANS_DISABLE, %d);", inOn ? 0 : 1);
}

char* CommandSetUnionSlideShow(bool inOn, char* outCmd) {
  return FormatCommand(outCmd, "SetSlideShow( CONFIG_UNION, %s );", ScriptBool(inOn));
}

char* CommandSetCheckForUpdates(int inNumDays, char* outCmd) {
  return FormatCommand(outCmd, "SetPref( PREF_CHECK_FOR_UPDATES, %d, true );", inNumDays);
}

char* CommandSetAllowRemoteControl(bool inOn, char* outCmd) {
  return CopyCommand(outCmd,
                     inOn ? "SetPref( PREF_NETWORK_MODE, KS_NETWORK_MODE_NORMAL, true );"
                          : "SetPref( PREF_NETWORK_MODE,KS_NETWORK_MODE_LOCAL_ONLY, true );");
}

char* CommandSetFlowFieldSmoothSwitch(bool inOn, char* outCmd) {
  // Smooth switching draws the new field over three lines per frame.
  return FormatCommand(outCmd,
                       "SetPref( PREF_FLOWFIELD_SMOOTH_SWITCH, %d );  "
                       "SetPref( PREF_FLOWFIELD_LINES_PER_FRAME, %d );",
                       inOn ? 1 : 0, inOn ? 3 : 1);
}

char* CommandSetAutoTrackInfo(bool inOn, char* outCmd) {
  return CopyCommand(outCmd, inOn ? "SetPref( PREF_TRACK_TEXT_AUTO,true);"
                                  : "SetPref( PREF_TRACK_TEXT_AUTO, false );");
}

char* CommandSetAutoOpenToolbar(bool inOn, char* outCmd) {
  return FormatCommand(outCmd, "SetPref( PREF_AUTO_OPEN_TOOLBAR, %s, true );", ScriptBool(inOn));
}

char* CommandSetAutoLineScale(bool inOn, char* outCmd) {
  return CopyCommand(outCmd, inOn ? "SetPref( PREF_AUTO_LINE_SCALE,true );  "
                                    "Execute( ADJUST_LINE_SCALE_TO_FRAME );"
                                  : "SetPref( PREF_AUTO_LINE_SCALE, false );");
}

char* CommandSetFrameSizeLimit(long inX, long inY, char* outCmd) {
  return FormatCommand(outCmd,
                       "SetPref( PREF_MAX_SIZE_X, %d ); SetPref( PREF_MAX_SIZE_Y, %d); "
                       "ResetOccupiedRect();",
                       int(inX), int(inY));
}

char* CommandSetAudioSource(long inIndex, char* outCmd) {
  return FormatCommand(outCmd, "SetPref( PREF_AUDIO_INPUT_SOURCE, %d );  SetAudioSource( %d );",
                       int(inIndex), int(inIndex));
}

char* CommandSetLineOffset(float inLineOffset, char* outCmd) {
  return FormatCommand(outCmd, "SetPref( PREF_LINE_WIDTH_OFFSET, %f); ", double(inLineOffset));
}

char* CommandSetTrackTextSize(long inSize, char* outCmd) {
  return ScriptText(outCmd)
      .Add("SetPref( PREF_TEXT_SIZE, %d);", int(inSize))
      .AddText(kApplyTrackTextFont)
      .Text();
}

char* CommandSetTrackTextFont(const char* inFont, char* outCmd) {
  return ScriptText(outCmd)
      .Add(R"(SetPref( PREF_TEXT_FONT, "%s");)", ScriptName(inFont).Text())
      .AddText(kApplyTrackTextFont)
      .Text();
}

// The two track-text builders below restart a track text that is still on
// screen so that the new setting shows at once; nothing happens when the value
// is unchanged.
char* CommandSetTrackTextAppearance(long inOpt, char* outCmd) {
  return ScriptText(outCmd)
      .Add("if ( GetPref( PREF_TRACK_TEXT_APPEARANCE ) != %d ) {", int(inOpt))
      .Tabs(24)
      .Add("SetPref( PREF_TRACK_TEXT_APPEARANCE, %d );", int(inOpt))
      .Tabs(24)
      .AddText("Execute( _KILL_TRACK_TEXT );")
      .Tabs(24)
      .AddText("if ( GetSecsSinceLastSongStart() < GetPref( PREF_TRACK_TEXT_DURATION ) ) {")
      .Tabs(25)
      .AddText("Execute( _START_TRACK_TEXT );")
      .Tabs(24)
      .AddText("}")
      .Tabs(23)
      .AddText("}")
      .Text();
}

char* CommandSetTrackTextDuration(long inDur, char* outCmd) {
  return ScriptText(outCmd)
      .Add("if ( GetPref( PREF_TRACK_TEXT_DURATION ) != %d ) {", int(inDur))
      .Tabs(24)
      .Add("SetPref( PREF_TRACK_TEXT_DURATION, %d );", int(inDur))
      .Tabs(24)
      .AddText("Execute( _KILL_TRACK_TEXT );")
      .Tabs(24)
      .Add("if ( GetSecsSinceLastSongStart() < %d ) {", int(inDur))
      .Tabs(25)
      .AddText("Execute( _START_TRACK_TEXT );")
      .Tabs(24)
      .AddText("}")
      .Tabs(23)
      .AddText("}")
      .Text();
}

char* CommandSetFullScreenMode(const char* inMode, char* outCmd) {
  return FormatCommand(outCmd, R"(SetFullscreenMode("%s");)", ScriptName(inMode).Text());
}

char* CommandSetResponseScaleFromPercent(long inPct, char* outCmd) {
  return FormatCommand(outCmd, "SetPref( PREF_RESPONSE_SCALE ,%f);",
                       double(ResponseScaleFromPercent(inPct)));
}

char* CommandSetFrameRate(long inFPS, char* outCmd) {
  return FormatCommand(outCmd, "SetPref( PREF_DESIRED_FRAME_RATE,%lf);",
                       FrameRateFromPercent(inFPS));
}

// The timing preferences below are expressions the engine evaluates each time,
// so every run gets a random spread around the mean the slider chose.
char* CommandSetImageVideoDuration(long inDuration, char* outCmd) {
  return FormatCommand(outCmd, R"(SetPref( PREF_SPRITE_DURATION, "( .8 + rnd( .4 ) ) * %f");)",
                       DurationFromPercent(inDuration));
}

char* CommandSetImageVideoInterval(long inInterval, char* outCmd) {
  return FormatCommand(outCmd, R"(SetPref( PREF_SPRITE_INTERVAL, "( .8 + rnd( .4 ) ) * %f");)",
                       SpawnIntervalFromPercent(inInterval));
}

char* CommandSetParticleDuration(long inDuration, char* outCmd) {
  return FormatCommand(outCmd, R"(SetPref( PREF_PARTICLE_DURATION, "( .8 + rnd( .4 ) ) * %f");)",
                       DurationFromPercent(inDuration));
}

char* CommandSetParticleInterval(long inInterval, char* outCmd) {
  return FormatCommand(outCmd, R"(SetPref( PREF_PARTICLE_INTERVAL, "( .8 + rnd( .4 ) ) * %f");)",
                       SpawnIntervalFromPercent(inInterval));
}

char* CommandSetFlowFieldInterval(long inInterval, char* outCmd) {
  return FormatCommand(outCmd,
                       R"(SetPref (PREF_FLOWFIELD_INTERVAL, "1 + ( 25 + rnd( 15 ) ) * %f");)",
                       SlideShowFactorFromPercent(inInterval));
}

char* CommandSetColorMapInterval(long inInterval, char* outCmd) {
  return FormatCommand(outCmd,
                       R"(SetPref( PREF_COLORMAP_INTERVAL, "1 + ( 25 + rnd( 10 ) ) * %f");)",
                       SlideShowFactorFromPercent(inInterval));
}

char* CommandSetWaveShapeInterval(long inInterval, char* outCmd) {
  return FormatCommand(outCmd,
                       R"(SetPref (PREF_WAVESHAPE_INTERVAL, "1 + ( 20 + rnd( 10 ) ) * %f");)",
                       SlideShowFactorFromPercent(inInterval));
}
