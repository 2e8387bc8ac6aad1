#include "skin-view/SkinCheck.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "files/cStream.h"
#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/BmpDecode.h"
#include "platform/FramePattern.h"
#include "skin/SkinKeywords.h"
#include "skin/SkinPageBuilder.h"
#include "skin/cSkin.h"
#include "skin/cToolPage.h"
#include "toolbar/AppControls.h"
#include "toolbar/UIDispatchScripts.h"

namespace {

// Where a picture, a function or a whole item stands in the file.
struct Mark {
  uint32 mToken;
  long mOffset;
};

// A page or a control as the parser made it, with where its parts stand.
struct Item {
  long mPageID;  // its own for a page, else its page's
  bool mIsPage;
  bool mFinished;  // pages: the block was read to its end
  ControlInfo mInfo;
  ToolPageInfo mPageInfo;
  long mStart;
  std::vector<Mark> mMarks;  // the picture and function keywords
};

// Records what the parser builds, with the offsets of the keywords.
class CheckBuilder : public SkinPageBuilder {
 public:
  long MakePage(long inPageID, long, const ToolPageInfo& inPageInfo,
                const ControlInfo& inInfo) override {
    Item page{inPageID, true, false, inInfo, inPageInfo, mPendingStart, {}};
    mOpen.push_back(mItems.size());
    mItems.push_back(page);
    return 0;
  }
  long CreateControl(long inPageID, const ControlInfo& inInfo) override {
    mItems.push_back(Item{inPageID, false, true, inInfo, {}, mPendingStart, mControlMarks});
    mControlMarks.clear();
    mInControl = false;
    return 0;
  }
  long AddControl(long, long) override { return 0; }
  void FinishPage(long, const ToolPageInfo& inPageInfo, const ControlInfo& inInfo,
                  const char*) override {
    Item& page = mItems[mOpen.back()];
    page.mInfo = inInfo;
    page.mPageInfo = inPageInfo;
    page.mFinished = true;
    mOpen.pop_back();
  }
  void DiscardPage(long) override {}
  void NoteKeyword(uint32 inToken, long inOffset) override {
    eControlType type = kControlTypeNull;
    if (inToken == kTokenToolPage || ControlTypeOfToken(inToken, &type)) {
      mPendingStart = inOffset;
      mInControl = inToken != kTokenToolPage;
    } else if (inToken == kTokenImage || inToken == kTokenFunction ||
               (inToken >= kTokenScrollUp && inToken <= kTokenScrollThumb)) {
      Mark mark{inToken, inOffset};
      if (mInControl) {
        mControlMarks.push_back(mark);
      } else if (!mOpen.empty()) {
        mItems[mOpen.back()].mMarks.push_back(mark);
      }
    }
  }

  std::vector<Item>& Items() { return mItems; }

 private:
  std::vector<Item> mItems;
  std::vector<size_t> mOpen;  // the pages being read, innermost last
  long mPendingStart = 0;
  bool mInControl = false;
  std::vector<Mark> mControlMarks;
};

// Reports problems as "FILE:LINE:COLUMN: what", in the order of the file.
class Report {
 public:
  Report(const std::string& inPath, const std::string& inText) : mPath(inPath), mText(inText) {}

  void Add(long inOffset, const std::string& inWhat) {
    long line = 1, column = 1;
    for (long i = 0; i < inOffset && i < long(mText.size()); i++) {
      if (mText[size_t(i)] == '\n') {
        line++;
        column = 1;
      } else if ((mText[size_t(i)] & 0xC0) != 0x80) {  // a character, not a UTF-8 tail
        column++;
      }
    }
    mLines.emplace(
        std::make_pair(inOffset, mLines.size()),
        mPath + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + inWhat);
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const auto& entry : mLines) {
      lines.push_back(entry.second);
    }
    return lines;
  }

 private:
  std::string mPath;
  std::string mText;
  std::map<std::pair<long, size_t>, std::string> mLines;
};

std::string ErrorText(long inErr) {
  UtilStr text;
  KSError::GetErrMsg(inErr, &text);
  return text.getCStr();
}

// The picture's file name as the skin wrote it: the path less the folder.
std::string NameIn(const std::string& inFolder, const char* inPath) {
  std::string path = inPath;
  return path.compare(0, inFolder.size(), inFolder) == 0 && path.size() > inFolder.size()
             ? path.substr(inFolder.size() + 1)
             : path;
}

// Reads the BMP at inPath; its size into outWidth and outHeight.
std::string PictureProblem(const std::string& inPath, long* outWidth, long* outHeight) {
  cStream stream;
  if (!stream.Open(inPath.c_str(), "rb")) {
    return "cannot be read";
  }
  BmpPicture picture;
  UtilStr why;
  long err = BmpRead(&stream, &picture, &why);
  if (err != 0) {
    return why.IsEmpty() ? ErrorText(err) : std::string("is refused: ") + why.getCStr();
  }
  *outWidth = picture.Width();
  *outHeight = picture.Height();
  return "";
}

const char* PathOf(const ControlInfo& inInfo, uint32 inToken) {
  const ScrollBarInfo& bar = inInfo.u.ComboBox.ListBox.ScrollBar;
  switch (inToken) {
    case kTokenScrollUp:
      return bar.ScrollUp;
    case kTokenScrollDown:
      return bar.ScrollDown;
    case kTokenScrollThumb:
      return bar.ScrollThumb;
    default:
      return inInfo.Graphic;
  }
}

// Checks the picture of one keyword; the size of its first frame for
// "AutoSize" into outWidth and outHeight (left alone when there is none).
void CheckPicture(Report* ioReport, const std::string& inFolder, const Mark& inMark,
                  const char* inPath, long* outWidth, long* outHeight) {
  std::string name = NameIn(inFolder, inPath);
  FramePattern pattern(inPath);
  if (!pattern.IsNumbered()) {
    if (!BaseIsFileExist(inPath)) {
      ioReport->Add(inMark.mOffset, "picture " + name + " is missing");
    } else {
      std::string problem = PictureProblem(inPath, outWidth, outHeight);
      if (!problem.empty()) {
        ioReport->Add(inMark.mOffset, "picture " + name + " " + problem);
      }
    }
    return;
  }
  pattern.FindFrames();
  int highest = pattern.CountFrames();
  std::string gaps;
  for (int n = 1; n <= highest; n++) {
    if (!pattern.Exists(n)) {
      gaps += (gaps.empty() ? "" : ", ") + std::to_string(n);
      continue;
    }
    std::string frame = pattern.PathOf(n);
    long width = 0, height = 0;
    std::string problem = PictureProblem(frame, &width, &height);
    if (!problem.empty()) {
      ioReport->Add(inMark.mOffset, "picture " + NameIn(inFolder, frame.c_str()) + " " + problem);
    } else if (n == 1) {
      *outWidth = width;
      *outHeight = height;
    }
  }
  if (highest == 0) {
    ioReport->Add(inMark.mOffset, "no picture matches " + name);
    return;
  }
  if (!gaps.empty()) {
    ioReport->Add(inMark.mOffset, "numbered pictures " + name + " have gaps: no frame " + gaps);
  }
}

const char* kModeNames[] = {"retracted", "extended"};

// A control that shows in a mode of its page must lie inside the page. The
// size of a page that grows to hold its controls ("AutoSize") is not known.
void CheckPlace(Report* ioReport, const Item& inControl, const Item& inPage, long inWidth,
                long inHeight) {
  const ControlInfo& info = inControl.mInfo;
  const ControlInfo& page = inPage.mInfo;
  for (int mode = 0; mode < 2; mode++) {
    const ModeInfo& at = info.Modes[mode];
    if (!at.Visible || !inPage.mPageInfo.Visible[mode]) {
      continue;
    }
    long width = (info.Flags & kFlagAutoSize) && inWidth > 0 ? inWidth : at.Width;
    long height = (info.Flags & kFlagAutoSize) && inHeight > 0 ? inHeight : at.Height;
    long pageWidth = page.Modes[mode].Width;
    long pageHeight = page.Modes[mode].Height;
    bool grows = (page.Flags & kFlagAutoSize) != 0;
    long x = (info.Flags & kFlagAlignRight) ? pageWidth - width : at.x;
    long y = (info.Flags & kFlagAlignBottom) ? pageHeight - height : at.y;
    bool stacked = (page.Flags & kFlagStackControls) != 0;
    bool outside = x < 0 || (!stacked && y < 0) ||
                   (!grows && (x + width > pageWidth || (!stacked && y + height > pageHeight)));
    if (outside) {
      ioReport->Add(inControl.mStart,
                    "control at " + std::to_string(x) + ", " + std::to_string(y) + " (" +
                        std::to_string(width) + " x " + std::to_string(height) +
                        ") lies outside its page (" + std::to_string(pageWidth) + " x " +
                        std::to_string(pageHeight) + ") when " + kModeNames[mode]);
      return;
    }
  }
}

// Whether the toolbar does anything with a control of inFunction: what the
// window acts on (a dispatch row, or a function of its own), what a page
// acts on, or a control the window binds and keeps up to date.
bool ToolbarActsOn(eUIFunction inFunction) {
  const AppControlBinding* binding = FindAppControlBinding(inFunction);
  return FindUIEntry(inFunction) != nullptr || IsWindowFunction(inFunction) ||
         cToolPage::ActsOn(inFunction) || (binding != nullptr && !binding->mUnused);
}

long FunctionOffset(const Item& inItem) {
  for (const Mark& mark : inItem.mMarks) {
    if (mark.mToken == kTokenFunction) {
      return mark.mOffset;
    }
  }
  return inItem.mStart;
}

void CheckItems(Report* ioReport, const std::string& inFolder, std::vector<Item>& ioItems) {
  std::map<long, const Item*> pages;
  for (const Item& item : ioItems) {
    if (item.mIsPage) {
      pages[item.mPageID] = &item;
    }
  }
  std::map<int, const Item*> bound;
  for (const Item& item : ioItems) {
    long width = 0, height = 0, otherWidth = 0, otherHeight = 0;
    for (const Mark& mark : item.mMarks) {
      const char* path = PathOf(item.mInfo, mark.mToken);
      bool image = mark.mToken == kTokenImage;
      if (mark.mToken != kTokenFunction && path[0] != 0) {
        CheckPicture(ioReport, inFolder, mark, path, image ? &width : &otherWidth,
                     image ? &height : &otherHeight);
      }
    }
    const Item* page = pages.count(item.mPageID) ? pages[item.mPageID] : nullptr;
    if (!item.mIsPage && page != nullptr && page->mFinished) {
      CheckPlace(ioReport, item, *page, width, height);
    }
    eUIFunction function = eUIFunction(item.mInfo.Function);
    if (function == kUINull) {
      continue;
    }
    const char* name = UIFunctionName(function);
    if (!ToolbarActsOn(function)) {
      ioReport->Add(FunctionOffset(item),
                    std::string("function ") + name + " does nothing in the toolbar");
    }
    if (FindAppControlBinding(function) != nullptr && !bound.emplace(function, &item).second) {
      ioReport->Add(FunctionOffset(item), std::string("function ") + name +
                                              " is bound to the first control that has it only;"
                                              " this one is never bound");
    }
  }
}

}  // namespace

std::vector<std::string> CheckSkin(const KSFileSpec& inSkinFolder) {
  cSkin skin;
  UtilStr path, text;
  if (skin.ReadSkinFile(inSkinFolder, &path, &text) != 0) {
    return {std::string(path.getCStr()) + ":1:1: " + skin.ErrorPrefix().getCStr()};
  }
  std::string body(text.getCStr(), size_t(text.length()));
  // Offsets count from after a byte-order mark, which the parser passes over.
  if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    body.erase(0, 3);
  }
  Report report(path.getCStr(), body);
  CheckBuilder builder;
  long err = skin.ParseInterface(path.getCStr(), body.c_str(), long(body.size()), &builder);
  if (err != 0) {
    std::string quote = body.substr(size_t(std::min<long>(skin.ErrorPos(), long(body.size()))));
    quote = quote.substr(0, std::min(quote.find_first_of("\r\n"), size_t(40)));
    report.Add(skin.ErrorPos(), ErrorText(err) + " at \"" + quote + "\"");
  }
  CheckItems(&report, skin.Folder(), builder.Items());
  return report.Lines();
}
