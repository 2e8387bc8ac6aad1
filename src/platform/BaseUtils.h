// The free functions through which the window, skin and application code
// reach the platform for everything that is not a window class of their own:
// popup menus, the one-line query dialog, error boxes, launching programs and
// web pages, the tray icon, drawing, text measuring, the screen size, folder
// browsing and file tests. All of them run on the window thread.
//
// Functions that can fail return an error code (0 for success) made from the
// platform's last error with KSError::TranslateErr, unless they return bool.
// Text is UTF-8.
//
// BaseQueryInput needs the dialog resource of platform/BaseUtils.rc in the
// executable: link the object library ks_platform_res into every program or
// test that calls it (resources inside a static library are never linked).
#pragma once

#include <windows.h>

#include "platform/BaseStrings.h"
#include "platform/KSRGBA.h"
#include "platform/KSRect.h"
#include "platform/TextFormat.h"

class UtilStr;

// The query dialog resource and its items.
enum { kQueryDialogID = 1000, kQueryPromptItem = 100, kQueryTextItem = 101 };

// The tray icon shows icon resource 3 and reports mouse events to its window
// with this message.
enum { kTrayIconResID = 3 };
constexpr UINT kTrayIconMsg = WM_USER + 100;

// --- Menus ---
HMENU BaseCreateMenu();
// A non-empty text appends an item with command inID (checked when
// inChecked); an empty or null text appends a separator.
void BaseAppendMenu(HMENU inMenu, const char* inText, bool inChecked, long inID);
// Shows the menu at the screen point, tracking the right button; inWind gets
// the chosen command.
void BaseTrackPopupMenu(HMENU inMenu, long inX, long inY, HWND inWind);
// Enables the item of command inID, or greys it.
void BaseEnableMenuItem(HMENU inMenu, long inID, bool inEnable);
void BaseDeleteMenu(HMENU inMenu);
// Posts the quit message (exit code 0) to this thread's message loop.
void BaseExitApp();

// --- Dialogs and messages ---
// Modal "Query Input" dialog over inOwner. On OK, at most inTextSize - 1 bytes
// of the entry (never a partial character) go back into ioText and the result
// is true; on Cancel ioText is left as it was.
bool BaseQueryInput(HWND inOwner, const char* inTitle, const char* inPrompt, char* ioText,
                    long inTextSize);
// Shows "<prefix> <message of inErr> <suffix>" (prefix and suffix optional) in
// a message box titled "Error".
void BaseShowError(HWND inOwner, long inErr, const char* inPrefix = nullptr,
                   const char* inSuffix = nullptr);

// The text of a window or control, as UTF-8.
void BaseGetWindowText(HWND inWind, UtilStr* outText);

// --- Programs and web pages ---
// Starts "<short path of inProgram> <inArgs>" (either may be null). With
// inWait the call returns when the process has ended. outExitCode (optional)
// gets the exit code, STILL_ACTIVE when not waited for.
long BaseRunProgram(const char* inProgram, const char* inArgs, bool inWait,
                    unsigned long* outExitCode);
// Opens inURL through the shell, or through the registered HTML handler when
// the shell cannot.
long BaseGotoURL(const char* inURL);

// --- Tray ---
// inTip: at most 63 characters are shown.
void BaseAddTrayIcon(long inID, HWND inWind, const char* inTip);
void BaseRemoveTrayIcon(long inID, HWND inWind);
// Changes the tip of an icon that is there; nothing without one.
void BaseSetTrayTip(long inID, HWND inWind, const char* inTip);

// --- Drawing ---
void BasePaint3DFace(HDC inDC, const KSRect& inRect);
void BaseFillRectangle(HDC inDC, const KSRect& inRect, const KSRGBA& inColor);
// inThickness nested one-pixel frames, each one pixel inside the previous.
void BaseDrawRectangle(HDC inDC, const KSRect& inRect, long inThickness, const KSRGBA& inColor);
// The keyboard focus mark: a dotted one-pixel frame on inRect's edge, every
// other pixel in inColor (the corners included), the rest left as it is.
void BaseDrawFocusMark(HDC inDC, const KSRect& inRect, const KSRGBA& inColor);
// Draws inText with a transparent background in inFont (null: the context's
// font) and inColor, formatted by the kText... bits. The context's settings
// are restored.
long BaseDrawText(HDC inDC, const char* inText, const KSRect& inRect, HFONT inFont,
                  const KSRGBA& inColor, unsigned long inFormat);
// Measures inText in inFont (null: the default font).
long BaseGetTextExtent(const char* inText, HFONT inFont, long* outWidth, long* outHeight);
// The client area of a full-screen window: the screen without the taskbar
// and without a title bar.
void BaseGetScreenSize(long* outWidth, long* outHeight);

// --- Files and folders ---
// The shell's folder browser, starting at ioPath when it is not empty. True
// when the user picked a file-system folder, whose path then replaces ioPath.
bool BaseBrowseForFolder(HWND inOwner, const char* inTitle, UtilStr* ioPath);
// True when a directory entry matching inPath (wildcards allowed) is a file,
// or a folder that is hidden, read-only or temporary.
bool BaseIsFileExist(const char* inPath);
