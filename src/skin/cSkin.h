// cSkin: reads a skin's "skin.txt" and turns it into a tree of tool pages
// holding control descriptions. The parsing works on the file's bytes and
// hands what it reads to a SkinPageBuilder, so it runs on any platform;
// reading the file and the error box are the Windows side's.
//
// The file, in short (keywords ignore letter case, except the leading
// "ToolPage"; names such as images run to the end of their line):
//
//   ToolPage {
//     Name = Main
//     Image = Back.bmp
//     Controls {
//       // a comment line
//       Button (x = 4, y = 4, Function = Close, Text = "x")
//       ToolPage { ... }
//     }
//   }
//
// A nested page and every control start with the text settings and the
// transparent colour of their page as they stand when their keyword is read.
#pragma once

#include <memory>
#include <vector>

#include "foundation/UtilStr.h"
#include "platform/PictureProblems.h"
#include "skin/ControlInfo.h"

class KSFileSpec;
class SkinPageBuilder;
class SkinReader;
class cToolPage;
class cWindow;

class cSkin {
 public:
  cSkin();
  cSkin(const cSkin&) = delete;
  cSkin& operator=(const cSkin&) = delete;
  // The folder that holds "skin.txt", without a trailing separator.
  virtual const char* Folder() const { return mFolder.getCStr(); }
  virtual ~cSkin();

  // Windows only: loads the skin of inSkinFolder as a tree of tool pages
  // inside inParent and creates the tree's windows. The outermost page goes
  // to *outPage, which owns it from then on, even when the load fails part
  // way. A skin that cannot be read or parsed is shown in the error box over
  // inParent's window; a window that cannot be created has shown its own.
  // Pictures that cannot be loaded do not stop the load: they are kept in
  // FailedPictures for the caller to tell of (ShowPictureProblems).
  long Load(const KSFileSpec& inSkinFolder, cWindow* inParent, std::unique_ptr<cToolPage>* outPage);
  const std::vector<PictureProblem>& FailedPictures() const { return mPictureProblems; }

  // Parses inLen bytes of the skin file inPath, building with inBuilder.
  // Returns 0, or the first error: kKSErr_FormatNotRecognized for anything
  // the file gets wrong (also values too long for their fields), or what the
  // builder returned. After a failure ErrorPrefix and ErrorSuffix hold the
  // texts of the error box.
  long ParseInterface(const char* inPath, const char* inText, long inLen,
                      SkinPageBuilder* inBuilder);

  // Windows only: reads "skin.txt" of inSkinFolder into outText, its path
  // into outPath, and makes inSkinFolder the skin's folder. A file that cannot be read gives
  // kKSErr_FileNotFound, one too large to be a skin kKSErr_FormatNotRecognized, each with its error
  // texts.
  long ReadSkinFile(const KSFileSpec& inSkinFolder, UtilStr* outPath, UtilStr* outText);

  // The error box of the last failure: the prefix names the file, the suffix
  // (empty when the box has none) quotes it from where the parser stopped.
  const UtilStr& ErrorPrefix() const { return mErrorPrefix; }
  const UtilStr& ErrorSuffix() const { return mErrorSuffix; }
  // The byte offset in the text where the parser stopped at its last failure
  // (after a byte-order mark, which it passes over).
  long ErrorPos() const { return mErrorPos; }

  // A description with the built-in defaults, or with the text settings
  // inDefText (null: the built-in ones) and the transparent colour of the
  // enclosing page.
  static void InitControlInfo(ControlInfo* outInfo, eControlType inType, const TextInfo* inDefText,
                              const KSRGBA& inTransparentColor);
  // Shown in both modes, starting Extended.
  static void InitToolPageInfo(ToolPageInfo* outInfo);

 protected:
  long ParseToolPage(SkinReader& ioReader, long inParentID, const TextInfo* inDefText,
                     const KSRGBA& inTransparentColor, long* outPageID);
  long ParsePageItem(SkinReader& ioReader, uint32 inToken, long inPageID, ToolPageInfo* ioPageInfo,
                     ControlInfo* ioInfo, char* ioName);
  long ParseControls(SkinReader& ioReader, long inPageID, const ControlInfo& inPageInfo);
  long ParseControl(SkinReader& ioReader, long inPageID, const ControlInfo& inPageInfo,
                    eControlType inType);
  // The common properties, allowed for pages and every control. Any other
  // token is refused, and quoted from where it stands.
  long ParseControlInfo(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo);
  // Whether inToken is a property of the control type inType only.
  static bool IsTypeProperty(eControlType inType, uint32 inToken);
  // Such a property of ioInfo's type.
  long ParseControlType(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo);
  long ParseControlComboBox(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo);
  long ParseControlListView(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo);
  // "= name" of an image, joined to the skin folder; the whole path must fit.
  long ParseImagePath(SkinReader& ioReader, char* outPath);

 private:
  // Records where the next read starts, for the error box.
  void MarkErrorPos(SkinReader& ioReader);
  void SetErrorTexts(const char* inPrefixFormat, const char* inPath, const char* inText, long inLen,
                     bool inQuoteFile);

  UtilStr mFolder;
  long mNextToolPageId;
  long mErrorPos;
  UtilStr mErrorPrefix;
  UtilStr mErrorSuffix;
  std::vector<PictureProblem> mPictureProblems;  // of the last Load
  // Only while parsing:
  SkinPageBuilder* mBuilder;
  int mPageDepth;
};
