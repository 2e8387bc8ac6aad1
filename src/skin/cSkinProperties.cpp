// cSkin: the properties of pages and controls and their values.
#include <cstring>

#include "foundation/KSError.h"
#include "platform/BaseStrings.h"
#include "skin/SkinKeywords.h"
#include "skin/SkinReader.h"
#include "skin/UIFunctions.h"
#include "skin/cSkin.h"

namespace {

// Copies a value into a field of inSize bytes; a value that leaves no room
// for the terminator is refused, never cut.
long CopyValue(const SkinSpan& inValue, char* outField, long inSize) {
  if (inValue.mLen >= inSize) {
    return kKSErr_FormatNotRecognized;
  }
  std::memcpy(outField, inValue.mText, inValue.mLen);
  outField[inValue.mLen] = 0;
  return 0;
}

// "= word" looked up in inMap. An unknown word stores 0.
long ReadTableWord(SkinReader& ioReader, const TokenMap* inMap, bool inPlainWord,
                   uint32* outValue) {
  SkinSpan word;
  long err = inPlainWord ? ioReader.ReadPlainWord(&word) : ioReader.ReadWord(&word);
  if (err == 0 && !LookupToken(inMap, word.mText, word.mLen, outValue)) {
    err = kKSErr_FormatNotRecognized;
  }
  if (err != 0) {
    *outValue = 0;
  }
  return err;
}

long ReadBoolean(SkinReader& ioReader, bool* outValue) {
  uint32 value = 0;
  long err = ReadTableWord(ioReader, sBooleanMap, false, &value);
  *outValue = value != 0;
  return err;
}

// "= A|B|C": keywords of inMap joined by single bars; the value is their OR.
// One unknown keyword spoils the whole set, which then stores 0.
long ReadBitSet(SkinReader& ioReader, const TokenMap* inMap, uint32* outBits) {
  SkinSpan word;
  long err = ioReader.ReadWord(&word);
  uint32 bits = 0;
  for (long start = 0; err == 0;) {
    long stop = start;
    while (stop < word.mLen && word.mText[stop] != '|') {
      stop++;
    }
    uint32 bit = 0;
    if (!LookupToken(inMap, word.mText + start, stop - start, &bit)) {
      err = kKSErr_FormatNotRecognized;
    }
    bits |= bit;
    if (stop == word.mLen) {
      break;
    }
    start = stop + 1;
  }
  *outBits = err == 0 ? bits : 0;
  return err;
}

// The mode fields of the tokens x to Visible2: five fields, first for both
// modes, then for Retracted only, then for Extended only.
struct ModeField {
  int mFirstMode;
  int mLastMode;
  int mField;  // 0 x, 1 y, 2 Width, 3 Height, 4 Visible
};

bool ModeFieldOfToken(uint32 inToken, ModeField* outField) {
  if (inToken < kTokenX || inToken > kTokenVisible2) {
    return false;
  }
  int group = (inToken - kTokenX) / 5;
  outField->mFirstMode = group == 2 ? kModeExtended : kModeRetracted;
  outField->mLastMode = group == 1 ? kModeRetracted : kModeExtended;
  outField->mField = (inToken - kTokenX) % 5;
  return true;
}

long ReadModeField(SkinReader& ioReader, const ModeField& inField, ControlInfo* ioInfo) {
  static int32 ModeInfo::*const kNumbers[] = {&ModeInfo::x, &ModeInfo::y, &ModeInfo::Width,
                                              &ModeInfo::Height};
  int32 number = 0;
  bool visible = false;
  long err = inField.mField == 4 ? ReadBoolean(ioReader, &visible) : ioReader.ReadInteger(&number);
  for (int mode = inField.mFirstMode; mode <= inField.mLastMode; ++mode) {
    if (inField.mField == 4) {
      ioInfo->Modes[mode].Visible = visible;
    } else {
      ioInfo->Modes[mode].*kNumbers[inField.mField] = number;
    }
  }
  return err;
}

}  // namespace

long cSkin::ParsePageItem(SkinReader& ioReader, uint32 inToken, long inPageID,
                          ToolPageInfo* ioPageInfo, ControlInfo* ioInfo, char* ioName) {
  SkinSpan word;
  long err = 0;
  uint32 value = 0;
  switch (inToken) {
    case kTokenComment:
      ioReader.SkipLine();
      return 0;
    case kTokenName:
      MarkErrorPos(ioReader);
      err = ioReader.ReadPlainWord(&word);
      return err != 0 ? err : CopyValue(word, ioName, kSkinNameSize);
    case kTokenDefaultMode:
      MarkErrorPos(ioReader);
      return ReadTableWord(ioReader, sControlModeMap, true, &ioPageInfo->DefMode);
    case kTokenPageVisible1:
    case kTokenPageVisible2:
      MarkErrorPos(ioReader);
      err = ReadTableWord(ioReader, sBooleanMap, true, &value);
      ioPageInfo->Visible[inToken == kTokenPageVisible1 ? kModeRetracted : kModeExtended] =
          value != 0;
      return err;
    case kTokenControls:
      return ParseControls(ioReader, inPageID, *ioInfo);
    default:
      return ParseControlInfo(ioReader, inToken, ioInfo);
  }
}

long cSkin::ParseControlInfo(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo) {
  bool common = (inToken >= kTokenX && inToken <= kTokenTextFormat) || inToken == kTokenTip;
  if (!common) {
    return kKSErr_FormatNotRecognized;
  }
  MarkErrorPos(ioReader);
  TextInfo& text = ioInfo->Text;
  uint32 function = 0;
  long err = 0;
  ModeField modeField;
  if (ModeFieldOfToken(inToken, &modeField)) {
    return ReadModeField(ioReader, modeField, ioInfo);
  }
  switch (inToken) {
    case kTokenFunction:
      err = ReadTableWord(ioReader, sFunctionMap, false, &function);
      ioInfo->Function = static_cast<uint8>(function);
      return err;
    case kTokenStyles:
      return ReadBitSet(ioReader, sStylesMap, &ioInfo->Styles);
    case kTokenFlags:
      return ReadBitSet(ioReader, sFlagsMap, &ioInfo->Flags);
    case kTokenTextFormat:
      return ReadBitSet(ioReader, sTextFormatMap, &text.Format);
    case kTokenImage:
      return ParseImagePath(ioReader, ioInfo->Graphic);
    case kTokenTextColor:
      return ioReader.ReadColor(&text.TextColor);
    case kTokenBackgroundColor:
      return ioReader.ReadColor(&text.BackgroundColor);
    case kTokenBorderColor:
      return ioReader.ReadColor(&text.BorderColor);
    case kTokenTransparentColor:
      return ioReader.ReadColor(&ioInfo->TransparentColor);
    case kTokenBorderSize:
      return ioReader.ReadInteger(&text.BorderSize);
    case kTokenFontSize:
      return ioReader.ReadInteger(&text.FontSize);
    case kTokenFontName: {
      SkinSpan name;
      err = ioReader.ReadName(&name);
      return err != 0 ? err : CopyValue(name, text.FontName, kSkinNameSize);
    }
    case kTokenTip:
      return ioReader.ParseQuotedString(ioInfo->ToolTip, kSkinNameSize);
    default:
      return kKSErr_FormatNotRecognized;
  }
}

bool cSkin::IsTypeProperty(eControlType inType, uint32 inToken) {
  switch (inType) {
    case kControlTypeButton:
    case kControlTypeCheckBox:
    case kControlTypeLabel:
    case kControlTypeEdit:
      return inToken == kTokenText;
    case kControlTypeSlider:
      return inToken == kTokenMinPos || inToken == kTokenMaxPos;
    case kControlTypeGraphic:
      return inToken == kTokenType;
    case kControlTypeComboBox:
      return (inToken >= kTokenScrollUp && inToken <= kTokenScrollColor) ||
             inToken == kTokenListBoxHeight;
    case kControlTypeListView:
      return inToken >= kTokenColumns && inToken <= kTokenFirstTextColumn;
    default:
      return false;
  }
}

long cSkin::ParseControlType(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo) {
  MarkErrorPos(ioReader);
  uint32 type = 0;
  long err = 0;
  switch (ioInfo->Type) {
    case kControlTypeButton:
      return ioReader.ParseQuotedString(ioInfo->u.Button.Text, kSkinShortTextSize);
    case kControlTypeCheckBox:
      return ioReader.ParseQuotedString(ioInfo->u.CheckBox.Text, kSkinShortTextSize);
    case kControlTypeLabel:
      return ioReader.ParseQuotedString(ioInfo->u.Label.Text, kSkinNameSize);
    case kControlTypeEdit:
      return ioReader.ParseQuotedString(ioInfo->u.Edit.Text, kSkinEditTextSize);
    case kControlTypeSlider:
      return ioReader.ReadInteger(inToken == kTokenMinPos ? &ioInfo->u.Slider.MinPos
                                                          : &ioInfo->u.Slider.MaxPos);
    case kControlTypeGraphic:
      err = ReadTableWord(ioReader, sGraphicTypeMap, false, &type);
      ioInfo->u.Graphic.Type = static_cast<eGraphicType>(type);
      return err;
    case kControlTypeComboBox:
      return ParseControlComboBox(ioReader, inToken, ioInfo);
    case kControlTypeListView:
      return ParseControlListView(ioReader, inToken, ioInfo);
    default:
      return kKSErr_FormatNotRecognized;
  }
}

long cSkin::ParseControlComboBox(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo) {
  ComboBoxInfo& combo = ioInfo->u.ComboBox;
  ScrollBarInfo& scroll = combo.ListBox.ScrollBar;
  switch (inToken) {
    case kTokenScrollUp:
      return ParseImagePath(ioReader, scroll.ScrollUp);
    case kTokenScrollDown:
      return ParseImagePath(ioReader, scroll.ScrollDown);
    case kTokenScrollThumb:
      return ParseImagePath(ioReader, scroll.ScrollThumb);
    case kTokenScrollColor:
      return ioReader.ReadColor(&scroll.ScrollColor);
    case kTokenListBoxHeight:
      return ioReader.ReadInteger(&combo.ListBoxHeight);
    default:
      return kKSErr_FormatNotRecognized;
  }
}

long cSkin::ParseControlListView(SkinReader& ioReader, uint32 inToken, ControlInfo* ioInfo) {
  ListViewInfo& list = ioInfo->u.ListView;
  int32 number = 0;
  long err = 0;
  switch (inToken) {
    case kTokenColumns:
      err = ioReader.ReadInteger(&number);
      if (err != 0 || number < 0 || number > kSkinMaxColumns) {
        return kKSErr_FormatNotRecognized;
      }
      list.NumColumns = static_cast<uint32>(number);
      // Even widths from the width as it stands now; "ColumnWidths" may follow.
      for (int32 column = 0; column < number; ++column) {
        list.ColumnWidths[column] = ioInfo->Modes[kModeRetracted].Width / number;
      }
      return 0;
    case kTokenColumnWidths:
      err = ioReader.Expect('=');
      for (uint32 column = 0; err == 0 && column < list.NumColumns; ++column) {
        err = column > 0 ? ioReader.Expect(',') : 0;
        if (err == 0) {
          err = ioReader.ReadNumber(&list.ColumnWidths[column]);
        }
      }
      return err;
    case kTokenColumnHeaders:
      err = ioReader.Expect('=');
      for (uint32 column = 0; err == 0 && column < list.NumColumns; ++column) {
        SkinSpan header;
        err = column > 0 ? ioReader.Expect(',') : 0;
        if (err == 0) {
          err = ioReader.ReadHeader(&header);
        }
        if (err == 0) {
          err = CopyValue(header, list.ColumnHeaders[column], kSkinShortTextSize);
        }
      }
      return err;
    case kTokenFirstTextColumn:
      err = ioReader.ReadInteger(&number);
      if (err != 0 || number < 0) {
        return kKSErr_FormatNotRecognized;
      }
      list.FirstTextColumn = static_cast<uint32>(number);
      return 0;
    default:
      return kKSErr_FormatNotRecognized;
  }
}

long cSkin::ParseImagePath(SkinReader& ioReader, char* outPath) {
  SkinSpan name;
  long err = ioReader.ReadName(&name);
  if (err != 0) {
    return err;
  }
  UtilStr path;
  BaseMakePathname(&path, mFolder.getCStr(), UtilStr(name.mText, name.mLen).getCStr());
  return CopyValue(SkinSpan{path.getCStr(), path.length()}, outPath, kSkinPathSize);
}
