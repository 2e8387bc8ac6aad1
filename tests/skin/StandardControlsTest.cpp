// The native controls made from descriptions in a real parent window: what
// clicks report, the value properties, engine replies of every shape, the
// slider under the mouse and what the program draws; and what every control
// has of cControl: its picture, frames, shape, tiling and alignment.
#include <string>

#include "ControlTestParent.h"
#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardGraphic.h"
#include "skin/cStandardLabel.h"
#include "skin/cStandardListBox.h"
#include "skin/cStandardSlider.h"
#include "support/Canvas.h"
#include "support/MouseInput.h"

using namespace std::string_literals;

namespace {

// A reply as the engine link hands it over: found by the target's number,
// the payload followed by two zero bytes.
void Deliver(cWindow& inTarget, eRequestType inType, const std::string& inPayload) {
  ToolbarReplyTarget* target = ToolbarReplyTarget::FindReplyTarget(inTarget.ReplyTargetID());
  ASSERT_EQ(static_cast<ToolbarReplyTarget*>(&inTarget), target);
  std::string delivered = inPayload + "\0\0"s;
  target->OnKSMPReply(delivered.c_str(), inType, nullptr);
}

// "Fire|[Ice]|Water on": the items, the chosen one in brackets, and whether
// the control is enabled.
std::string StateOf(cStandardComboBox& inCombo) {
  std::string state;
  for (long i = 0; i < inCombo.NumItems(); i++) {
    char item[64];
    inCombo.GetItem(i, item, sizeof(item));
    bool chosen = i == inCombo.CurSelection();
    state += (i > 0 ? "|" : "") + (chosen ? "[" + std::string(item) + "]" : std::string(item));
  }
  return state + (inCombo.IsEnabled() ? " on" : " off");
}

void MouseTo(cBaseWindow& inWind, UINT inMessage, int inX, int inY) {
  SendMessageW(inWind.Wind(), inMessage, inMessage == WM_LBUTTONUP ? 0 : MK_LBUTTON,
               MAKELPARAM(inX, inY));
}

// The thumb's place, for the slider tests.
class ProbedSlider : public cStandardSlider {
 public:
  using cStandardSlider::cStandardSlider;
  using cStandardSlider::ThumbRect;
};

using StandardControls = ControlTest;
using ControlBase = ControlTest;

}  // namespace

// (Buttons and check boxes that report are clicked by the page tests.)
TEST_F(StandardControls, ClicksAndChoicesReportTheControlsFunction) {
  auto mute = Make<cStandardButton>(Describe(kControlTypeButton), 2);
  auto label = Make<cStandardLabel>(Describe(kControlTypeLabel, kUIAlbumInfo), 4);
  auto combo = Make<cStandardComboBox>(Describe(kControlTypeComboBox, kUIWaveShapeList), 5);
  auto graphic = Make<cStandardGraphic>(Describe(kControlTypeGraphic), 6);
  combo->AddItem("Fire");
  combo->AddItem("Ice");

  SendMessageW(mute->Wind(), BM_CLICK, 0, 0);
  SendMessageW(graphic->Wind(), BM_CLICK, 0, 0);
  EXPECT_EQ("", mParent.Take());  // no function, no report
  // A label acts on the press; its release reports nothing more.
  MouseTo(*label, WM_LBUTTONDOWN, 3, 3);
  EXPECT_EQ("4:8 ", mParent.Take());
  MouseTo(*label, WM_LBUTTONUP, 3, 3);
  EXPECT_EQ("", mParent.Take());
  // The user's choice in the list (chosen in code, it reports nothing).
  combo->SelectItem(1);
  EXPECT_EQ("", mParent.Take());
  SendMessageW(mParent.Wind(), WM_COMMAND, MAKEWPARAM(5, CBN_SELCHANGE), LPARAM(combo->Wind()));
  EXPECT_EQ("5:10 ", mParent.Take());
  EXPECT_EQ(1, combo->IntProp());
}

TEST_F(StandardControls, TextsSizeTheirControls) {
  // An edit aligned by its text format, with no height in the skin: one
  // line of its font inside its sunken frame.
  ControlInfo editInfo = Describe(kControlTypeEdit);
  editInfo.Text.Format = kTextHCenter | kTextRight;
  editInfo.Modes[kModeExtended].Height = 0;
  strcpy(editInfo.u.Edit.Text, "Folder");
  auto edit = Make<cStandardEdit>(editInfo);
  EXPECT_EQ(ES_CENTER, GetWindowLongPtrW(edit->Wind(), GWL_STYLE) & (ES_CENTER | ES_RIGHT));
  long width = 0, lineHeight = 0;
  ASSERT_EQ(0, BaseGetTextExtent("Folder", edit->Font(), &width, &lineHeight));
  EXPECT_EQ(lineHeight + 4, edit->Height());

  // A label sized to its text in its own font.
  ControlInfo labelInfo = Describe(kControlTypeLabel);
  labelInfo.Flags = kFlagAutoSize;
  labelInfo.Text.FontSize = 20;
  strcpy(labelInfo.u.Label.Text, "Wave shapes");
  auto label = Make<cStandardLabel>(labelInfo);
  ASSERT_EQ(0, BaseGetTextExtent("Wave shapes", label->Font(), &width, &lineHeight));
  EXPECT_EQ(width, label->Width());
  EXPECT_EQ(lineHeight, label->Height());
}

TEST_F(StandardControls, RepliesOfEveryShapeKeepTheControlsSane) {
  auto combo = Make<cStandardComboBox>(Describe(kControlTypeComboBox));
  struct Case {
    eRequestType mType;
    std::string mReply;
    const char* mState;
  };
  const Case cases[] = {
      {kRequestGetContents, "Fire\0Ice storm\0Ice\0"s, "Fire|Ice storm|Ice off"},
      {kRequestGetValue, "Ice", "Fire|[Ice storm]|Ice on"},  // the first that begins so
      // A reply that cannot be read selects nothing; the box is usable.
      {kRequestGetValue, "", "Fire|Ice storm|Ice on"},
      {kRequestGetValueIndex, " 2\r\n", "Fire|Ice storm|[Ice] on"},
      {kRequestGetValueIndex, "", "Fire|Ice storm|Ice on"},
      {kRequestGetValueIndex, "99999999999", "Fire|Ice storm|Ice on"},  // past the end
      {kRequestGetValueIndex, "0", "[Fire]|Ice storm|Ice on"},
      {kRequestGetValue, "Water", "Fire|Ice storm|Ice on"},  // not in the list
      {kRequestDontCare, "1", "Fire|Ice storm|Ice off"},
      {kRequestGetContents, "Fire\0Ice"s, "Fire|Ice off"},  // no closing empty name
      {kRequestGetContents, "\0Fire\0"s, " off"},           // ends at its first empty name
  };
  for (const Case& c : cases) {
    combo->Enable(false);
    Deliver(*combo, c.mType, c.mReply);
    EXPECT_EQ(c.mState, StateOf(*combo)) << c.mType << " \"" << c.mReply << '"';
  }

  auto check = Make<cStandardCheckBox>(Describe(kControlTypeCheckBox));
  const std::pair<const char*, const char*> checks[] = {{"1", "1 on"},   {"0", "0 on"},
                                                        {"-25", "1 on"}, {"", "0 on"},
                                                        {"-25", "1 on"}, {"none", "0 on"}};
  for (const auto& c : checks) {
    check->Enable(false);
    Deliver(*check, kRequestGetValue, c.first);
    EXPECT_EQ(c.second, std::to_string(check->BoolProp()) + (check->IsEnabled() ? " on" : " off"))
        << '"' << c.first << '"';
  }

  // Item texts are UTF-8; long ones do not read back.
  combo->Clear();
  EXPECT_EQ(0, combo->AddItem("Fl\xC3\xBCsse"));
  EXPECT_EQ(1, combo->AddItem(std::string(300, 'x').c_str()));
  char item[16];
  ASSERT_EQ(0, combo->GetItem(0, item, sizeof(item)));
  EXPECT_STREQ("Fl\xC3\xBCsse", item);
  ASSERT_EQ(0, combo->GetItem(1, item, sizeof(item)));
  EXPECT_STREQ("", item);
  EXPECT_EQ(kKSErr_IndexOutOfBounds, combo->GetItem(2, item, sizeof(item)));
  EXPECT_EQ(0, combo->FindItem("fl\xC3\xBC", true));
  EXPECT_EQ(-1, combo->FindItem("fl\xC3\xBC", false));

  // A reply that comes after its target is gone finds nobody.
  long gone = combo->ReplyTargetID();
  combo.reset();
  EXPECT_EQ(nullptr, ToolbarReplyTarget::FindReplyTarget(gone));
}

TEST_F(StandardControls, ListBoxRowsAndRange) {
  ControlInfo info = Describe(kControlTypeListBox);
  info.Modes[kModeExtended].Height = 100;
  auto list = Make<cStandardListBox>(info);
  for (int i = 0; i < 20; i++) {
    list->AddItem(("Item " + std::to_string(100 + i)).c_str());
  }
  long itemHeight = list->ItemHeight();
  ASSERT_GT(itemHeight, 0);
  EXPECT_EQ(20 - list->ClientHeight() / itemHeight, list->ScrollRange());
  list->TopIndex(5);
  EXPECT_EQ(6, list->ItemFromPoint(KSPoint{2, int32(itemHeight + 1)}));
  EXPECT_EQ(0, list->SelectItem(3));
  EXPECT_EQ(kKSErr_IndexOutOfBounds, list->SelectItem(20));
  EXPECT_EQ(-1, list->CurSelection());
  EXPECT_EQ(kKSErr_IndexOutOfBounds, list->DeleteItem(40));
  list->Clear();
  list->AddItem("Only");
  EXPECT_EQ(0, list->ScrollRange());
  EXPECT_EQ(-1, list->ItemFromPoint(KSPoint{2, int32(3 * itemHeight)}));  // below the last
}

TEST_F(StandardControls, SliderFollowsPressesAndDragsAndReportsEachChangeOnce) {
  ControlInfo info = Describe(kControlTypeSlider, kUIWaveShapeInterval);
  info.Modes[kModeExtended].Width = 106;  // 100 pixels of travel for 0 to 100
  auto slider = Make<ProbedSlider>(info);
  EXPECT_EQ(9, slider->Height());
  EXPECT_EQ(50, slider->IntProp());
  EXPECT_EQ("50 0 56 9", Str(slider->ThumbRect()));

  struct Step {
    UINT mMessage;
    int mX;
    const char* mAfter;  // the position, what the parent heard, the capture
  };
  const Step steps[] = {
      {WM_LBUTTONDOWN, 105, "100 1:13 "},  // beside the thumb: there at once
      {WM_LBUTTONUP, 105, "100 "},
      {WM_LBUTTONDOWN, 102, "100 held"},  // grabbed two pixels into the thumb
      {WM_MOUSEMOVE, 22, "20 1:13 held"},
      {WM_MOUSEMOVE, -50, "0 1:13 held"},  // held at the end
      {WM_LBUTTONUP, 2, "0 "},
      {WM_LBUTTONDOWN, 3, "0 held"},  // a drag that ends where it began
      {WM_MOUSEMOVE, 40, "37 1:13 held"},
      {WM_MOUSEMOVE, 3, "0 1:13 held"},
      {WM_LBUTTONUP, 3, "0 "},
      {WM_MOUSEMOVE, 60, "0 "},  // no longer dragging
  };
  for (const Step& step : steps) {
    MouseTo(*slider, step.mMessage, step.mX, 4);
    bool held = GetCapture() == slider->Wind();
    EXPECT_EQ(step.mAfter,
              std::to_string(slider->IntProp()) + " " + mParent.Take() + (held ? "held" : ""))
        << step.mMessage << " at " << step.mX;
  }
  EXPECT_EQ("0 0 6 9", Str(slider->ThumbRect()));
  // A notch of the wheel is a step, towards the maximum away from the user.
  POINT over = ScreenPointOf(slider->Wind(), 50, 4);
  MouseMoveTo(over.x, over.y);
  MouseWheel(2);
  EXPECT_EQ("2 1:13 ", std::to_string(slider->IntProp()) + " " + mParent.Take());

  // A new range holds the position; positions outside it are ignored.
  slider->Range(200, 300);
  slider->Index(500);
  EXPECT_EQ(200, slider->IntProp());
  // An empty range neither tracks nor reports.
  slider->Range(5, 5);
  MouseTo(*slider, WM_LBUTTONDOWN, 90, 4);
  EXPECT_EQ("5 ", std::to_string(slider->IntProp()) + " " + mParent.Take());

  info.Styles = kStyleVertical;
  info.Modes[kModeExtended].Height = 80;
  auto upright = Make<ProbedSlider>(info, 2);
  EXPECT_EQ(9, upright->Width());
  EXPECT_EQ("0 37 9 43", Str(upright->ThumbRect()));

  // A picture is the thumb, and sets the slider's height.
  info.Styles = kStyleCustom;
  Frames(info.Graphic, "Thumb", 10, 8, {0x00C000});
  EXPECT_EQ(8, Make<ProbedSlider>(info, 3)->Height());
}

TEST_F(StandardControls, LabelsAndGraphicsDrawWhatTheSkinAsks) {
  ControlInfo info = Describe(kControlTypeLabel);
  info.Text.BackgroundColor = KSRGBA{0x30, 0x20, 0x10, 255};
  info.Text.BorderColor = KSRGBA{0x00, 0x00, 0xC0, 255};
  info.Text.BorderSize = 2;
  strcpy(info.u.Label.Text, "Wave");
  auto label = Make<cStandardLabel>(info);
  Canvas filled(120, 24, 0x00FF00);
  label->OnPaint(filled.DC());
  EXPECT_EQ(0xC00000u, filled.Pixel(1, 1));     // the border
  EXPECT_EQ(0x102030u, filled.Pixel(100, 20));  // the background
  // The text starts inside the border and one pixel more.
  label->Info()->Text.BorderColor = info.Text.BackgroundColor;
  label->OnPaint(filled.DC());
  KSRect text = filled.Ink(0x102030);
  EXPECT_GE(text.left, 3);
  EXPECT_LT(text.left, 10);

  label->Info()->Text.Format = kTextTransparent;
  label->Info()->Text.BorderSize = 0;
  Canvas behind(120, 24, 0x00FF00);
  label->OnPaint(behind.DC());
  EXPECT_EQ(0x00FF00u, behind.Pixel(100, 20));
  EXPECT_NE("120 24 0 0", Str(behind.Ink(0x00FF00)));  // but the text is there

  // Etched lines and frames: only their own edges.
  const std::pair<eGraphicType, const char*> graphics[] = {
      {kGraphicHorzLine, "0 0 40 2"}, {kGraphicVertLine, "0 0 2 10"}, {kGraphicFrame, "0 0 40 10"}};
  for (const auto& g : graphics) {
    ControlInfo graphicInfo = Describe(kControlTypeGraphic);
    graphicInfo.u.Graphic.Type = g.first;
    graphicInfo.Modes[kModeExtended].Width = 40;
    graphicInfo.Modes[kModeExtended].Height = 10;
    auto graphic = Make<cStandardGraphic>(graphicInfo);
    Canvas canvas(40, 10, 0x00FF00);
    graphic->OnPaint(canvas.DC());
    EXPECT_EQ(g.second, Str(canvas.Ink(0x00FF00))) << g.first;
  }
}

TEST_F(ControlBase, PictureSizesShapesAndFramesTheControl) {
  // Two frames whose right halves are keyed out.
  mPictures.Picture("Pic01.bmp", 6, 4, 0x203040, KSRect{3, 0, 6, 4});
  mPictures.Picture("Pic02.bmp", 6, 4, 0x405060, KSRect{3, 0, 6, 4});
  ControlInfo info = Describe(kControlTypeGraphic);
  snprintf(info.Graphic, sizeof(info.Graphic), "%s\\Pic??.bmp", mPictures.Path().c_str());
  info.TransparentColor = KSRGBA{0xFF, 0, 0xFF, 0};
  info.Flags = kFlagAutoSize | kFlagWindowShape;
  info.Modes[kModeRetracted].Visible = false;
  auto graphic = Make<cStandardGraphic>(info);
  ASSERT_NE(nullptr, graphic->Sprite());
  EXPECT_EQ(2u, graphic->Sprite()->NumFrames());
  KSRect at;
  graphic->GetModePosition(kModeExtended, &at);
  EXPECT_EQ("10 10 16 14", Str(at));  // the picture's size at the mode's place

  // Shaped by the opaque half, only where it shows.
  graphic->SetModeShape(kModeExtended);
  EXPECT_EQ("0 0 3 4", ShapeOf(graphic->Wind()));
  graphic->SetModeShape(kModeRetracted);
  EXPECT_EQ("none", ShapeOf(graphic->Wind()));

  // A frame the sprite lacks changes nothing, not even the paint.
  ValidateRect(graphic->Wind(), nullptr);
  graphic->SetFrame(5);
  EXPECT_FALSE(GetUpdateRect(graphic->Wind(), nullptr, FALSE));
  graphic->SetFrame(1);
  EXPECT_TRUE(GetUpdateRect(graphic->Wind(), nullptr, FALSE));
  EXPECT_EQ(1u, graphic->Sprite()->CurFrame());

  // Tiled from the corner, whatever the offset, and then never shaped.
  graphic->Info()->Flags = kFlagTile | kFlagWindowShape;
  ASSERT_EQ(0, graphic->Resize(13, 9, false));
  Canvas canvas(13, 9);
  graphic->OnPaint(canvas.DC());
  EXPECT_EQ(0x405060u, canvas.Pixel(7, 5));   // the second tile of each way
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(4, 1));   // keyed out
  EXPECT_EQ(0x405060u, canvas.Pixel(12, 8));  // a tile cut by the edge
  graphic->SetModeShape(kModeExtended);
  EXPECT_EQ("none", ShapeOf(graphic->Wind()));

  // Without a picture, "AutoSize" and "WindowShape" are moot; alignment holds
  // the control against its parent's right and bottom edges, whatever x and
  // y say. (Placement per mode is the pages' daily work.)
  info.Graphic[0] = 0;
  info.Flags = kFlagAutoSize | kFlagWindowShape | kFlagAlignRight | kFlagAlignBottom;
  auto bare = Make<cStandardGraphic>(info, 2);
  EXPECT_EQ(nullptr, bare->Sprite());
  bare->SetModeShape(kModeExtended);
  EXPECT_EQ("none", ShapeOf(bare->Wind()));
  bare->GetModePosition(kModeExtended, &at);
  EXPECT_EQ("280 276 400 300", Str(at));
}
