// The parsed description of a control or tool page: what "skin.txt" says
// about it, in fixed-size fields. The skin parser fills these records; tool
// pages and controls copy them and build their windows from them.
#pragma once

#include "foundation/KSTypes.h"
#include "platform/ControlType.h"
#include "platform/KSRGBA.h"
#include "platform/TextFormat.h"

// Field sizes in bytes, terminator included.
constexpr int kSkinPathSize = 260;
constexpr int kSkinNameSize = 256;       // font names, page names, tips, label texts
constexpr int kSkinShortTextSize = 64;   // button and check box texts, column headers
constexpr int kSkinEditTextSize = 1024;  // edit texts
constexpr int kSkinMaxColumns = 8;       // list view columns

enum eGraphicType : uint8 {
  kGraphicImage = 0,
  kGraphicFrame = 1,
  kGraphicVertLine = 2,
  kGraphicHorzLine = 3
};

// Bits of ControlInfo::Flags.
enum {
  kFlagWindowShape = 1,
  kFlagAutoSize = 2,
  kFlagAlignRight = 4,
  kFlagAlignBottom = 8,
  kFlagTile = 16,
  kFlagAutoRetract = 32,
  kFlagStackControls = 64,
  kFlagAutoRepeat = 128
};

// A bit of TextInfo::Format beyond the drawing and font bits of TextFormat.h
// (kTextHCenter to kTextUnderline, 1 to 512).
enum {
  kTextTransparent = 1024  // a label leaves its background unpainted
};

// Display modes: the index into ControlInfo::Modes and ToolPageInfo::Visible.
enum { kModeRetracted = 0, kModeExtended = 1 };

// Placement in one display mode, in the parent's client coordinates.
struct ModeInfo {
  int32 x;
  int32 y;
  int32 Width;
  int32 Height;
  bool Visible;
};

struct TextInfo {
  KSRGBA TextColor;
  KSRGBA BackgroundColor;
  KSRGBA BorderColor;
  int32 BorderSize;
  char FontName[kSkinNameSize];
  int32 FontSize;  // points
  uint32 Format;   // kText... bits
};

struct LabelInfo {
  char Text[kSkinNameSize];
};

struct EditInfo {
  char Text[kSkinEditTextSize];
};

struct GraphicInfo {
  eGraphicType Type;
};

struct ButtonInfo {
  char Text[kSkinShortTextSize];
};

struct CheckBoxInfo {
  char Text[kSkinShortTextSize];
};

struct ScrollBarInfo {
  char ScrollUp[kSkinPathSize];
  char ScrollDown[kSkinPathSize];
  char ScrollThumb[kSkinPathSize];
  KSRGBA ScrollColor;
};

struct ListBoxInfo {
  ScrollBarInfo ScrollBar;
};

struct ComboBoxInfo {
  ListBoxInfo ListBox;
  int32 ListBoxHeight;  // of the drop-down list, in pixels
};

struct ListViewInfo {
  uint32 NumColumns;
  int32 ColumnWidths[kSkinMaxColumns];
  char ColumnHeaders[kSkinMaxColumns][kSkinShortTextSize];
  uint32 FirstTextColumn;
};

struct SliderInfo {
  int32 MinPos;
  int32 MaxPos;
};

struct ControlInfo {
  eControlType Type;
  uint32 Styles;                // kStyle... bits
  uint32 Flags;                 // kFlag... bits
  char Graphic[kSkinPathSize];  // full path of the image file, or empty
  int32 GraphicX;
  int32 GraphicY;
  KSRGBA TransparentColor;
  uint8 Function;  // eUIFunction; kUINull when none
  ModeInfo Modes[2];
  TextInfo Text;
  char ToolTip[kSkinNameSize];
  // The record of Type; the others share its storage.
  union {
    LabelInfo Label;
    EditInfo Edit;
    GraphicInfo Graphic;
    ButtonInfo Button;
    CheckBoxInfo CheckBox;
    ComboBoxInfo ComboBox;
    ListBoxInfo ListBox;
    ScrollBarInfo ScrollBar;
    ListViewInfo ListView;
    SliderInfo Slider;
  } u;
};

// What only a tool page has.
struct ToolPageInfo {
  bool Visible[2];   // the page itself, per its own display mode
  uint32 DefMode;    // kModeRetracted or kModeExtended
  TextInfo DefText;  // never filled by the parser; nothing reads it
};
