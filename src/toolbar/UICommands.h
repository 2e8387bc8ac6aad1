// Builders of the script texts the toolbar sends to the engine.
//
// Each Command… function writes one NUL-terminated script text into outCmd, a
// buffer of kCommandBufferSize (1,024) bytes, and returns outCmd. They keep no
// state and never fail; a text too long for the buffer is cut off. Names of
// items, fonts and display modes go between the script's double quotes with
// their quotes and backslashes escaped (ScriptName); a folder is escaped by
// its caller.
#pragma once

#include "skin/UIFunctions.h"
#include "toolbar/ScriptText.h"

// Engine settings and modes. Percentages are slider positions (normally 0 to
// 100) that the builders turn into engine values (see PercentCurves.h).
char* CommandSetFlowFieldTransitions(bool inOn, char* outCmd);
char* CommandSetUnionSlideShow(bool inOn, char* outCmd);
char* CommandSetCheckForUpdates(int inNumDays, char* outCmd);
char* CommandSetAllowRemoteControl(bool inOn, char* outCmd);
char* CommandSetFlowFieldSmoothSwitch(bool inOn, char* outCmd);
char* CommandSetAutoTrackInfo(bool inOn, char* outCmd);
char* CommandSetAutoOpenToolbar(bool inOn, char* outCmd);
char* CommandSetAutoLineScale(bool inOn, char* outCmd);
char* CommandSetFrameSizeLimit(long inX, long inY, char* outCmd);
char* CommandSetAudioSource(long inIndex, char* outCmd);
char* CommandSetLineOffset(float inLineOffset, char* outCmd);
char* CommandSetTrackTextSize(long inSize, char* outCmd);
char* CommandSetTrackTextFont(const char* inFont, char* outCmd);
char* CommandSetTrackTextAppearance(long inOpt, char* outCmd);
char* CommandSetTrackTextDuration(long inDur, char* outCmd);
char* CommandSetFullScreenMode(const char* inMode, char* outCmd);
char* CommandSetResponseScaleFromPercent(long inPct, char* outCmd);
char* CommandSetFrameRate(long inFPS, char* outCmd);  // inFPS is a percentage
char* CommandSetImageVideoDuration(long inDuration, char* outCmd);
char* CommandSetImageVideoInterval(long inInterval, char* outCmd);
char* CommandSetParticleDuration(long inDuration, char* outCmd);
char* CommandSetParticleInterval(long inInterval, char* outCmd);
char* CommandSetFlowFieldInterval(long inInterval, char* outCmd);
char* CommandSetColorMapInterval(long inInterval, char* outCmd);
char* CommandSetWaveShapeInterval(long inInterval, char* outCmd);

// Slide shows and enabled items. An item mask has bit n set for configuration
// type n: 1 wave shapes, 2 color maps, 4 flow fields, 16 particles, 32 sprites.
char* CommandSetImageVideoEnabled(bool inOn, char* outCmd);
char* CommandSetParticlesEnabled(bool inOn, char* outCmd);
char* CommandSetFlowFieldSlideShow(bool inOn, char* outCmd);
char* CommandSetColorMapSlideShow(bool inOn, char* outCmd);
char* CommandSetWaveShapeSlideShow(bool inOn, char* outCmd);
char* CommandSetAllEnabled(long inItemMask, bool inOn, char* outCmd);
char* CommandSetItemEnabled(long inItemMask, const char* inName, bool inOn, char* outCmd);

// Navigation and actions. Directions are -1 (previous) and 1 (next).
char* CommandNextWaveShape(long inDirection, char* outCmd);
char* CommandSetWaveShape(const char* inWaveShape, char* outCmd);
char* CommandNextColorMap(long inDirection, char* outCmd);
char* CommandSetColorMap(const char* inColorMap, char* outCmd);
char* CommandNextFlowField(long inDirection, char* outCmd);
char* CommandSetFlowField(const char* inFlowField, char* outCmd);
char* CommandStartParticle(const char* inName, char* outCmd);
char* CommandStopParticle(const char* inName, char* outCmd);
char* CommandKillRunningParticles(char* outCmd);
char* CommandStartRandomParticle(char* outCmd);
char* CommandStartImageVideo(const char* inName, long inFlags, char* outCmd);
char* CommandStopImageVideo(const char* inName, char* outCmd);
char* CommandKillRunningImageVideo(char* outCmd);
char* CommandStartRandomImageVideo(char* outCmd);
char* CommandRegisterExternalImageVideo(const char* inPathName, bool inEnableSubFolders,
                                        char* outCmd);
char* CommandRescanImageVideo(char* outCmd);
char* CommandToggleFullScreen(char* outCmd);
char* CommandAlbumInfo(char* outCmd);
char* CommandSnapshot(char* outCmd);

// Queries. The engine replies with what the script prints: a decimal number
// followed by a NUL, a bare number or name, or a list of NUL-terminated names
// ended by an empty name.
char* CommandGetFlowFieldTransitions(char* outCmd);
char* CommandGetUnionSlideShow(char* outCmd);
char* CommandGetAllowRemoteControl(char* outCmd);
char* CommandGetFlowFieldSmoothSwitch(char* outCmd);
char* CommandGetAutoTrackInfo(char* outCmd);
char* CommandGetAutoLineScale(char* outCmd);
char* CommandGetFrameXLimit(char* outCmd);
char* CommandGetFrameYLimit(char* outCmd);
char* CommandGetAudioSource(char* outCmd);
char* CommandGetLineOffset(char* outCmd);
char* CommandGetTrackTextSize(char* outCmd);
char* CommandGetTrackTextFont(char* outCmd);
char* CommandGetTrackTextAppearance(char* outCmd);
char* CommandGetTrackTextDuration(char* outCmd);
char* CommandGetFullScreenMode(char* outCmd);
char* CommandGetTrackInfo(char* outCmd);
char* CommandGetWaveShapeList(char* outCmd);
char* CommandGetColorMapList(char* outCmd);
char* CommandGetFlowFieldList(char* outCmd);
char* CommandGetParticleList(char* outCmd);
char* CommandGetImageVideoList(char* outCmd);
char* CommandGetWaveShapeSlideShow(char* outCmd);
char* CommandGetColorMapSlideShow(char* outCmd);
char* CommandGetFlowFieldSlideShow(char* outCmd);
char* CommandGetCurrentWaveShape(char* outCmd);
char* CommandGetCurrentColorMap(char* outCmd);
char* CommandGetCurrentFlowField(char* outCmd);
char* CommandIsVersionAvailable(char* outCmd);
char* CommandBuildAudioSourceList(char* outCmd);
char* CommandBuildFontList(char* outCmd);
// The display devices the toolbar and corvexa-ctl ask for at most: an engine
// that answers every device number must not be asked for ever.
constexpr long kMaxDisplayDevices = 16;
char* CommandBuildDisplayModeList(long inDeviceIndex, char* outCmd);
