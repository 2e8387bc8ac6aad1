// corvexa-bench-listview: filling a list view of 10,000 rows from one engine
// reply and repainting it, against the platform list view filled directly,
// measured in turns in one run.
//   The list view: the reply (one line per row, name and kind separated by
//   a tab, in name order as the engine lists them) handed to OnKSMPReply,
//   which makes the rows, marks them, sorts them and shows them; then one
//   repaint of the window.
//   The yardstick: the same reply cut into lines and fields by hand and
//   given to a platform list view of the same size and columns, one
//   LVM_INSERTITEM and one LVM_SETITEMTEXT per row, with redrawing off
//   while it fills (the fastest way the platform offers); then one repaint.
// Both run in windows of their own on the screen (a display is needed).
#include <windows.h>
// The common controls' header needs the platform's types first.
#include <commctrl.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchStats.h"
#include "platform/windowproc.h"
#include "skin/cSkin.h"
#include "skin/cStandardListView.h"

namespace {

const int kRows = 10000;
const int kRounds = 7;

// Its windows' parent; it hears nothing it must answer.
class BenchParent : public cWindow {
 public:
  BenchParent() : cWindow(0, nullptr) {}
};

std::string Reply() {
  std::string reply;
  char line[64];
  for (int i = 0; i < kRows; i++) {
    snprintf(line, sizeof(line), "Configuration %05d\tKind %d", i, i % 7);
    reply += line;
    reply += '\0';
  }
  return reply + '\0';
}

ControlInfo ListInfo() {
  ControlInfo info;
  cSkin::InitControlInfo(&info, kControlTypeListView, nullptr, KSRGBA{0, 0, 0, 0});
  info.Modes[kModeExtended] = ModeInfo{0, 0, 400, 600, true};
  info.u.ListView.NumColumns = 3;
  info.u.ListView.FirstTextColumn = 1;
  const int widths[] = {24, 200, 150};
  for (int i = 0; i < 3; i++) {
    info.u.ListView.ColumnWidths[i] = widths[i];
  }
  return info;
}

void Repaint(HWND inWind) {
  RedrawWindow(inWind, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

double TimeListView(BenchParent* inParent, const std::string& inReply, bool* ioOk) {
  ControlInfo info = ListInfo();
  cStandardListView list(&info, 1, inParent);
  *ioOk = list.Create() == 0 && list.SetPosition(0, 0, 400, 600, false) == 0 && *ioOk;
  list.Show(true, false);
  Repaint(inParent->Wind());
  double start = BenchNowMicros();
  list.OnKSMPReply(inReply.c_str(), kRequestGetContents, nullptr);
  Repaint(list.Wind());
  double time = BenchNowMicros() - start;
  *ioOk = list.NumItems() == kRows && *ioOk;
  return time;
}

std::wstring Wide(const char* inText, size_t inLength) {
  std::wstring text(inLength, L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, inText, int(inLength), &text[0], int(inLength));
  text.resize(size_t(length > 0 ? length : 0));
  return text;
}

void InsertRaw(HWND inList, const char* inLine) {
  const char* tab = strchr(inLine, '\t');
  size_t nameLength = tab != nullptr ? size_t(tab - inLine) : strlen(inLine);
  std::wstring name = Wide(inLine, nameLength);
  LVITEMW row = {};
  row.mask = LVIF_TEXT;
  row.iItem = INT_MAX;  // at the end
  row.pszText = const_cast<wchar_t*>(L"");
  int index = int(SendMessageW(inList, LVM_INSERTITEMW, 0, LPARAM(&row)));
  row.iItem = index;
  row.iSubItem = 1;
  row.pszText = &name[0];
  SendMessageW(inList, LVM_SETITEMTEXTW, WPARAM(index), LPARAM(&row));
  if (tab != nullptr) {
    std::wstring kind = Wide(tab + 1, strlen(tab + 1));
    row.iSubItem = 2;
    row.pszText = &kind[0];
    SendMessageW(inList, LVM_SETITEMTEXTW, WPARAM(index), LPARAM(&row));
  }
}

double TimeRaw(BenchParent* inParent, const std::string& inReply, bool* ioOk) {
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0, 0, 400, 600,
                              inParent->Wind(), nullptr, GetModuleHandleW(nullptr), nullptr);
  const int widths[] = {24, 200, 150};
  for (int i = 0; i < 3; i++) {
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = widths[i];
    SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&column));
  }
  Repaint(inParent->Wind());
  double start = BenchNowMicros();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_SETITEMCOUNT, kRows, 0);
  for (const char* line = inReply.c_str(); *line != 0; line += strlen(line) + 1) {
    InsertRaw(list, line);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  Repaint(list);
  double time = BenchNowMicros() - start;
  *ioOk = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == kRows && *ioOk;
  DestroyWindow(list);
  return time;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  BenchParent parent;
  if (RegisterToolbarWindowClass() != 0 ||
      parent.CreatePopup(0, 0, 420, 620, kWindowVisible, nullptr) != 0) {
    std::fprintf(stderr, "corvexa-bench-listview: no window (is there a display?)\n");
    return 1;
  }
  std::string reply = Reply();
  bool ok = true;
  TimeListView(&parent, reply, &ok);  // warm-up
  TimeRaw(&parent, reply, &ok);
  std::vector<double> ours, raw;
  for (int round = 0; ok && round < kRounds; round++) {
    ours.push_back(TimeListView(&parent, reply, &ok));
    raw.push_back(TimeRaw(&parent, reply, &ok));
  }
  if (!ok) {
    std::fprintf(stderr, "corvexa-bench-listview: a fill went wrong\n");
    return 1;
  }
  double oursMs = Summarize(&ours).mMedian / 1000;
  double rawMs = Summarize(&raw).mMedian / 1000;
  std::printf("Filling %d rows from one reply and repainting, %d turns (milliseconds, median):\n",
              kRows, kRounds);
  std::printf("  %-40s %8.1f\n", "platform list view, LVM_INSERTITEM", rawMs);
  double ratio = oursMs / rawMs;
  std::printf("  %-40s %8.1f   %.2fx (target: at most 1.3x: %s)\n", "cStandardListView, one reply",
              oursMs, ratio, ratio <= 1.3 ? "met" : "not met");
  char result[100];
  std::snprintf(result, sizeof(result), "%.2fx (%.0f ms / %.0f ms)", ratio, oursMs, rawMs);
  PrintSummaryRow("list view, 10,000 rows from one reply / platform list view", result,
                  "at most 1.3x", ratio <= 1.3);
  return 0;
}
