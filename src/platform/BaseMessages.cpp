// The query dialog and the error box.
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

namespace {

// The error box text is cut to this many bytes.
const long kMaxErrorText = 4095;

struct QueryState {
  const char* mTitle;
  const char* mPrompt;
  char* mText;
  long mTextSize;
};

void ReadBack(HWND inDialog, QueryState* ioState) {
  UtilStr text;
  BaseGetWindowText(GetDlgItem(inDialog, kQueryTextItem), &text);
  BaseCopyWholeChars(text, ioState->mText, ioState->mTextSize - 1);
}

INT_PTR CALLBACK QueryDialogProc(HWND inDialog, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  switch (inMsg) {
    case WM_INITDIALOG: {
      QueryState* state = reinterpret_cast<QueryState*>(inLParam);
      SetWindowLongPtrW(inDialog, DWLP_USER, inLParam);
      SetWindowTextW(inDialog, KSWideText(state->mTitle).Get());
      SetDlgItemTextW(inDialog, kQueryPromptItem, KSWideText(state->mPrompt).Get());
      SetDlgItemTextW(inDialog, kQueryTextItem, KSWideText(state->mText).Get());
      return TRUE;  // focus to the first tab stop, the entry
    }
    case WM_COMMAND: {
      WORD id = LOWORD(inWParam);
      if (id == IDOK) {
        ReadBack(inDialog, reinterpret_cast<QueryState*>(GetWindowLongPtrW(inDialog, DWLP_USER)));
      }
      if (id == IDOK || id == IDCANCEL) {
        EndDialog(inDialog, id);
        return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

HINSTANCE ModuleOf(HWND inWind) {
  if (inWind != nullptr) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(inWind, GWLP_HINSTANCE));
  }
  return GetModuleHandleW(nullptr);
}

}  // namespace

bool BaseQueryInput(HWND inOwner, const char* inTitle, const char* inPrompt, char* ioText,
                    long inTextSize) {
  if (ioText == nullptr || inTextSize < 1) {
    return false;
  }
  QueryState state = {inTitle, inPrompt, ioText, inTextSize};
  INT_PTR result = DialogBoxParamW(ModuleOf(inOwner), MAKEINTRESOURCEW(kQueryDialogID), inOwner,
                                   QueryDialogProc, reinterpret_cast<LPARAM>(&state));
  return result == IDOK;
}

void BaseShowError(HWND inOwner, long inErr, const char* inPrefix, const char* inSuffix) {
  UtilStr text;
  if (inPrefix != nullptr) {
    text.Append(inPrefix);
    text.AppendChar(' ');
  }
  KSError::GetErrMsg(inErr, &text);
  if (inSuffix != nullptr) {
    text.AppendChar(' ');
    text.Append(inSuffix);
  }
  if (text.length() > kMaxErrorText) {
    text.TruncR(text.length() - kMaxErrorText);
  }
  MessageBoxW(inOwner, KSWideText(text.getCStr(), text.length()).Get(), L"Error",
              MB_ICONEXCLAMATION | MB_OK);
}
