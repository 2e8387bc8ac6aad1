// The keyboard of the skinned toolbar, for the program's message loop:
//
//   while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
//     if (!KSDialogKeys(&msg)) {
//       TranslateMessage(&msg);
//       DispatchMessageW(&msg);
//     }
//   }
//
// A key pressed in one of the toolbar's controls goes first to that control
// (cControl::OnDialogKey: Space, Enter, arrows, Page keys, Home, End,
// Escape), which works itself as a click would. Tab and Shift+Tab then move
// the focus through the controls of the tool pages that show, in reading
// order: rows from the top, each row from the left. Native controls keep
// the keys they do not give up (the arrows of a list view, the text of an
// edit), but not Tab.
#pragma once

#include <windows.h>

#include <vector>

class cControl;
class cToolPage;

// True when the message was a key used here: the loop then neither
// translates nor dispatches it.
bool KSDialogKeys(MSG* inMsg);

// The controls Tab visits below inPage, in order: those that take the
// focus, show and are enabled.
void KSFocusOrder(cToolPage* inPage, std::vector<cControl*>* outControls);
