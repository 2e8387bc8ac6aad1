#include "skin/SkinKeywords.h"

#include "skin/ControlInfo.h"

const TokenMap sTokenMap[] = {
    {"{", kTokenOpenBrace},
    {"}", kTokenCloseBrace},
    {"(", kTokenOpenParen},
    {")", kTokenCloseParen},
    {"//", kTokenComment},
    {"ToolPage", kTokenToolPage},
    {"Name", kTokenName},
    {"DefaultMode", kTokenDefaultMode},
    {"PageVisible1", kTokenPageVisible1},
    {"PageVisible2", kTokenPageVisible2},
    {"Controls", kTokenControls},
    {"Button", kTokenButton},
    {"CheckBox", kTokenCheckBox},
    {"ComboBox", kTokenComboBox},
    {"ListBox", kTokenListBox},
    {"Slider", kTokenSlider},
    {"Label", kTokenLabel},
    {"Edit", kTokenEdit},
    {"Link", kTokenLink},
    {"ListView", kTokenListView},
    {"Graphic", kTokenGraphic},
    {"x", kTokenX},
    {"y", kTokenY},
    {"Width", kTokenWidth},
    {"Height", kTokenHeight},
    {"Visible", kTokenVisible},
    {"x1", kTokenX1},
    {"y1", kTokenY1},
    {"Width1", kTokenWidth1},
    {"Height1", kTokenHeight1},
    {"Visible1", kTokenVisible1},
    {"x2", kTokenX2},
    {"y2", kTokenY2},
    {"Width2", kTokenWidth2},
    {"Height2", kTokenHeight2},
    {"Visible2", kTokenVisible2},
    {"Function", kTokenFunction},
    {"Styles", kTokenStyles},
    {"Flags", kTokenFlags},
    {"Image", kTokenImage},
    {"TextColor", kTokenTextColor},
    {"BackgroundColor", kTokenBackgroundColor},
    {"BorderColor", kTokenBorderColor},
    {"BorderSize", kTokenBorderSize},
    {"FontName", kTokenFontName},
    {"FontSize", kTokenFontSize},
    {"TransparentColor", kTokenTransparentColor},
    {"TextFormat", kTokenTextFormat},
    {"Text", kTokenText},
    {"Type", kTokenType},
    {"ScrollUp", kTokenScrollUp},
    {"ScrollDown", kTokenScrollDown},
    {"ScrollThumb", kTokenScrollThumb},
    {"ScrollColor", kTokenScrollColor},
    {"Columns", kTokenColumns},
    {"ColumnWidths", kTokenColumnWidths},
    {"ColumnHeaders", kTokenColumnHeaders},
    {"FirstTextColumn", kTokenFirstTextColumn},
    {"Tip", kTokenTip},
    {"MinPos", kTokenMinPos},
    {"MaxPos", kTokenMaxPos},
    {"ListBoxHeight", kTokenListBoxHeight},
    {nullptr, 0},
};

const TokenMap sControlModeMap[] = {
    {"Extended", kModeExtended},
    {"Retracted", kModeRetracted},
    {nullptr, 0},
};

const TokenMap sBooleanMap[] = {
    {"true", 1},
    {"false", 0},
    {nullptr, 0},
};

const TokenMap sStylesMap[] = {
    {"Custom", kStyleCustom},
    {"Sort", kStyleSort},
    {"Vertical", kStyleVertical},
    {"MultiLine", kStyleMultiLine},
    {"ReadOnly", kStyleReadOnly},
    {"Border", kStyleBorder},
    {"CenterContents", kStyleCenterContents},
    {"MultiSelect", kStyleMultiSelect},
    {nullptr, 0},
};

const TokenMap sFlagsMap[] = {
    {"WindowShape", kFlagWindowShape},
    {"AutoSize", kFlagAutoSize},
    {"AlignRight", kFlagAlignRight},
    {"AlignBottom", kFlagAlignBottom},
    {"Tile", kFlagTile},
    {"AutoRetract", kFlagAutoRetract},
    {"StackControls", kFlagStackControls},
    {"AutoRepeat", kFlagAutoRepeat},
    {nullptr, 0},
};

// The first seven are the drawing bits of BaseDrawText.
const TokenMap sTextFormatMap[] = {
    {"HCenter", 1},
    {"Right", 2},
    {"VCenter", 4},
    {"Bottom", 8},
    {"EndEllipsis", 16},
    {"PathEllipsis", 32},
    {"MultiLine", 64},
    {"Bold", kTextBold},
    {"Italic", kTextItalic},
    {"Underline", kTextUnderline},
    {"Transparent", kTextTransparent},
    {nullptr, 0},
};

const TokenMap sGraphicTypeMap[] = {
    {"Image", kGraphicImage},
    {"Frame", kGraphicFrame},
    {"VertLine", kGraphicVertLine},
    {"HorzLine", kGraphicHorzLine},
    {nullptr, 0},
};

bool ControlTypeOfToken(uint32 inToken, eControlType* outType) {
  static const struct {
    uint32 mToken;
    eControlType mType;
  } kTypes[] = {{kTokenButton, kControlTypeButton},     {kTokenCheckBox, kControlTypeCheckBox},
                {kTokenComboBox, kControlTypeComboBox}, {kTokenSlider, kControlTypeSlider},
                {kTokenLabel, kControlTypeLabel},       {kTokenEdit, kControlTypeEdit},
                {kTokenListView, kControlTypeListView}, {kTokenGraphic, kControlTypeGraphic}};
  for (const auto& entry : kTypes) {
    if (entry.mToken == inToken) {
      *outType = entry.mType;
      return true;
    }
  }
  return false;
}

static_assert(sizeof(sTokenMap) / sizeof(sTokenMap[0]) == kTokenListBoxHeight + 2,
              "one entry per token number, in order, plus the end marker");
