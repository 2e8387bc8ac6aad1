// Builders for slide shows, enabled items, navigation and one-shot actions.
#include "toolbar/UICommands.h"

// --- Slide shows and enabled items ---

char* CommandSetImageVideoEnabled(bool inOn, char* outCmd) {
  return FormatCommand(outCmd, "SetSlideShow (CONFIG_SPRITE,%s);", ScriptBool(inOn));
}

char* CommandSetParticlesEnabled(bool inOn, char* outCmd) {
  return FormatCommand(outCmd, "SetSlideShow( CONFIG_PARTICLE,%s);", ScriptBool(inOn));
}

// Turning a slide show on shuffles it first so it does not replay the last order.
char* CommandSetFlowFieldSlideShow(bool inOn, char* outCmd) {
  return CopyCommand(
      outCmd, inOn ? "ShuffleSlideShow(CONFIG_FLOWFIELD); SetSlideShow(CONFIG_FLOWFIELD,true);"
                   : "SetSlideShow(CONFIG_FLOWFIELD,false);");
}

char* CommandSetColorMapSlideShow(bool inOn, char* outCmd) {
  return CopyCommand(outCmd,
                     inOn ? "ShuffleSlideShow(CONFIG_COLORMAP); SetSlideShow(CONFIG_COLORMAP,true);"
                          : "SetSlideShow(CONFIG_COLORMAP,false);");
}

char* CommandSetWaveShapeSlideShow(bool inOn, char* outCmd) {
  return CopyCommand(
      outCmd, inOn ? "ShuffleSlideShow(CONFIG_WAVESHAPE); SetSlideShow(CONFIG_WAVESHAPE,true);"
                   : "SetSlideShow(CONFIG_WAVESHAPE,false);");
}

char* CommandSetAllEnabled(long inItemMask, bool inOn, char* outCmd) {
  return FormatCommand(outCmd, "SetAllEnabled (%d, %s);", int(inItemMask), ScriptBool(inOn));
}

char* CommandSetItemEnabled(long inItemMask, const char* inName, bool inOn, char* outCmd) {
  return FormatCommand(outCmd, R"(SetItemEnabled (%d, "%s", %s);)", int(inItemMask),
                       ScriptName(inName).Text(), ScriptBool(inOn));
}

// --- Navigation ---

// Stepping by hand stops the slide show from stepping again right away.
char* CommandNextWaveShape(long inDirection, char* outCmd) {
  return FormatCommand(
      outCmd,
      "NextWaveShape (%d, WAVESHAPE_QUICK_MORPH, true, ! GetSlideShow( CONFIG_WAVESHAPE ) );",
      int(inDirection));
}

char* CommandSetWaveShape(const char* inWaveShape, char* outCmd) {
  return FormatCommand(outCmd, R"(SetWaveShape ("%s", WAVESHAPE_QUICK_MORPH, true);)",
                       ScriptName(inWaveShape).Text());
}

char* CommandNextColorMap(long inDirection, char* outCmd) {
  return FormatCommand(
      outCmd, "NextColorMap( %d, COLORMAP_QUICK_MORPH, true, ! GetSlideShow( CONFIG_COLORMAP ) );",
      int(inDirection));
}

char* CommandSetColorMap(const char* inColorMap, char* outCmd) {
  return FormatCommand(outCmd, R"(SetColorMap( "%s", COLORMAP_QUICK_MORPH, true);)",
                       ScriptName(inColorMap).Text());
}

// Flow fields either morph into the next one (smooth switching) or jump to it,
// depending on the engine's own preference.
char* CommandNextFlowField(long inDirection, char* outCmd) {
  return ScriptText(outCmd)
      .Tabs(24)
      .AddText("if ( GetPref( PREF_FLOWFIELD_SMOOTH_SWITCH ) ) {")
      .Tabs(25)
      .Add(
          "NextFlowField ( %d, FLOWFIELD_QUICK_MORPH, false, ! GetSlideShow( CONFIG_FLOWFIELD ) );",
          int(inDirection))
      .Tabs(24)
      .AddText("}")
      .Tabs(24)
      .AddText("else {")
      .Tabs(25)
      .Add("NextFlowField ( %d, 0, true, ! GetSlideShow( CONFIG_FLOWFIELD ) );", int(inDirection))
      .Tabs(24)
      .AddText("}")
      .Tabs(24)
      .Text();
}

char* CommandSetFlowField(const char* inFlowField, char* outCmd) {
  ScriptName name(inFlowField);
  return ScriptText(outCmd)
      .Tabs(24)
      .AddText("if ( GetPref( PREF_FLOWFIELD_SMOOTH_SWITCH ) ) {")
      .Tabs(25)
      .Add(R"(SetNextFlowField ( "%s", "", 0, false, FLOWFIELD_QUICK_MORPH );)", name.Text())
      .Tabs(24)
      .AddText("}")
      .Tabs(24)
      .AddText("else {")
      .Tabs(25)
      .Add(R"(SetFlowField ( "%s" );)", name.Text())
      .Tabs(24)
      .AddText("}")
      .Tabs(24)
      .Text();
}

// --- Particles and images/videos ---

char* CommandStartParticle(const char* inName, char* outCmd) {
  return FormatCommand(outCmd, R"(StartParticle("%s", 0 );)", ScriptName(inName).Text());
}

char* CommandStopParticle(const char* inName, char* outCmd) {
  return FormatCommand(outCmd, R"(KillParticles("%s", false, PARTICLE_KILL_DURATION );)",
                       ScriptName(inName).Text());
}

char* CommandKillRunningParticles(char* outCmd) {
  return CopyCommand(outCmd, "KillRunningParticles( PARTICLE_KILL_DURATION );");
}

char* CommandStartRandomParticle(char* outCmd) {
  return CopyCommand(outCmd, "StartRandomParticle();");
}

char* CommandStartImageVideo(const char* inName, long inFlags, char* outCmd) {
  return FormatCommand(outCmd, R"(StartSprite("%s", 0, %d );)", ScriptName(inName).Text(),
                       int(inFlags));
}

char* CommandStopImageVideo(const char* inName, char* outCmd) {
  return FormatCommand(outCmd, R"(KillSprites( "%s", false, PARTICLE_KILL_DURATION );)",
                       ScriptName(inName).Text());
}

char* CommandKillRunningImageVideo(char* outCmd) {
  return CopyCommand(outCmd, "KillRunningSprites( PARTICLE_KILL_DURATION );");
}

char* CommandStartRandomImageVideo(char* outCmd) {
  return CopyCommand(outCmd, "StartRandomSprite();");
}

char* CommandRegisterExternalImageVideo(const char* inPathName, bool inEnableSubFolders,
                                        char* outCmd) {
  return FormatCommand(outCmd, R"(RegisterExternalSprites("%s",%d);)", inPathName,
                       inEnableSubFolders ? 1 : 0);
}

char* CommandRescanImageVideo(char* outCmd) {
  return CopyCommand(outCmd, "RescanFolders( CONFIG_SPRITE );");
}

// --- Display and track text ---

char* CommandToggleFullScreen(char* outCmd) {
  return CopyCommand(outCmd, "SetFullscreen(!IsFullscreen());");
}

char* CommandAlbumInfo(char* outCmd) {
  return CopyCommand(outCmd, "Execute( _KILL_TRACK_TEXT _START_TRACK_TEXT);");
}

char* CommandSnapshot(char* outCmd) {
  return CopyCommand(outCmd, "Execute( _TAKE_SCREENSHOT );");
}
