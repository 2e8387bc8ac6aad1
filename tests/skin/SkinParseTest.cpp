// The parser is driven with small skin texts; each result is compared as the
// compact print of the tree (fields that differ from the built-in defaults)
// or, for a failure, as its code and the start of the file text the error box
// quotes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/KSError.h"
#include "skin/SkinTree.h"
#include "skin/cSkin.h"

namespace {

const char kSkinPath[] = "C:\\Skins\\Blue\\skin.txt";

// Nested pages, every control type a skin can name and most properties.
const char kCompleteSkin[] = R"(ToolPage
{
  Name = Main
  DefaultMode = Retracted
  Image = Back.bmp
  Flags = WindowShape|AutoSize
  TransparentColor = 255, 0, 255
  FontName = Tahoma
  FontSize = 9
  Controls
  {
    // Frame buttons
    Button (x = 2, y = 2, Width = 16, Height = 16, Styles = Custom, Function = Close,
            Image = Close.bmp, Tip = "Close the toolbar")
    CheckBox (x = 20, y = 2, Width = 80, Height = 16, Function = WaveShapeToggle, Text = "Slide show")
    ComboBox (x = 2, y = 20, Width = 120, Height = 18, Styles = Custom|Sort, Function = WaveShapeList,
              ScrollUp = Up.bmp, ScrollDown = Down.bmp, ScrollThumb = Thumb.bmp,
              ScrollColor = 10, 20, 30, ListBoxHeight = 200)
    Slider (x = 2, y = 40, Width = 120, Height = 12, Styles = Vertical, MinPos = 5, MaxPos = 95,
            Function = WaveShapeInterval)
    Label (x = 2, y = 54, Width = 120, Height = 14, TextFormat = HCenter|Transparent,
           Text = "Wave \"shapes\"")
    Edit (x = 2, y = 70, Width = 120, Height = 40, Styles = MultiLine|ReadOnly, Text = "one
two")
    Graphic (x1 = 0, x2 = 130, y = 0, Width = 1, Height = 120, Type = VertLine,
             BorderColor = 90, 90, 90)
    ToolPage
    {
      Name = Advanced
      Function = AdvPrefsPanel
      x = 0  y = 120  Width = 300  Height1 = 0  Height2 = 200
      PageVisible1 = false
      Flags = AutoRetract|StackControls
      FontSize = 8
      Controls
      {
        ListView (x = 0, y = 0, Width = 300, Height = 150, Columns = 3, ColumnWidths = 20, 200, 80,
                  ColumnHeaders = , Name, Size , FirstTextColumn = 1, Styles = MultiSelect,
                  Function = AdvParticles)
        Button (x = 0, y = 152, Width = 60, Height = 20, Flags = AutoRepeat,
                Function = AdvParticlesStart, Text = "Start")
        ToolPage { Name = Deep Styles = Border Controls { Label (Text = "deep") } }
      }
      FontName = Courier New
    }
    Button (x = 100, y = 2, Width = 16, Height = 16, Function = ExtendRetract, Text = "+")
  }
}
)";

struct Case {
  const char* mText;
  const char* mExpected;
};

// The print of the tree, or "E<code> @<quoted file text up to its first line
// end>", or "E<code>" when the box quotes nothing.
std::string Parse(const std::string& inText, SkinTree* ioTree = nullptr) {
  SkinTree ownTree;
  SkinTree& tree = ioTree != nullptr ? *ioTree : ownTree;
  cSkin skin;
  long err = skin.ParseInterface(kSkinPath, inText.data(), long(inText.size()), &tree);
  std::unique_ptr<SkinTreePage> outermost = tree.TakeOutermost();
  EXPECT_EQ("", tree.Fault());
  if (err == 0) {
    return DumpSkinTree(outermost.get());
  }
  EXPECT_STREQ("Error reading skin file C:\\Skins\\Blue\\skin.txt.", skin.ErrorPrefix().getCStr());
  std::string result = "E" + std::to_string(err);
  std::string suffix(skin.ErrorSuffix().getCStr(), skin.ErrorSuffix().length());
  if (!suffix.empty()) {
    EXPECT_EQ("\r\r", suffix.substr(0, 2));
    result += " @" + suffix.substr(2, suffix.find('\n') - 2);
  }
  return result;
}

// Parses inControls as the control list of an outermost page and prints only
// the controls, one line each.
std::string ParseControls(const std::string& inControls) {
  std::string dump = Parse("ToolPage { Controls {\n" + inControls + "\n} }");
  if (dump.rfind("Page0:\n", 0) != 0) {
    return dump;
  }
  std::string lines;
  for (size_t at = dump.find('\n') + 1; at < dump.size(); at = dump.find('\n', at) + 1) {
    lines += (lines.empty() ? "" : "\n") + dump.substr(at + 2, dump.find('\n', at) - at - 2);
  }
  return lines;
}

void ExpectControls(const Case* inCases, size_t inCount) {
  for (size_t i = 0; i < inCount; ++i) {
    EXPECT_EQ(inCases[i].mExpected, ParseControls(inCases[i].mText)) << inCases[i].mText;
  }
}

}  // namespace

TEST(SkinParse, FileAndBlockStructure) {
  const Case kCases[] = {
      {"ToolPage {}", "Page0:\n"},
      {"\r\n {}", "Page0:\n"},                // the leading word is optional
      {"ToolPage { } anything", "Page0:\n"},  // nothing after the page is read
      {"ToolPage Name = A Controls Button () } }", "Page0 \"A\":\n  Button:\n"},  // no braces
      {"toolpage {}", "E-55024 @toolpage {}"},  // the leading word's case counts
      {"ToolPage", "E-55024 @"},
      {"ToolPage { Controls { Button (", "E-55024 @"},
      {"ToolPage { x = 1 , y = 2 }", "E-55024 @, y = 2 }"},  // no commas between page items
      {"ToolPage { // note\n Width = 5 }", "Page0: Width=5\n"},
      {"ToolPage { //note\n }", "E-55024 @//note"},
      {"ToolPage { WIDTH=20 controls { BUTTON (VISIBLE=TRUE, function=close) } }",
       "Page0: Width=20\n  Button: Function=Close\n"},
      {"ToolPage { { }", "E-55024 @{ }"},
      {"ToolPage { Text = \"a\" }", "E-55024 @Text = \"a\" }"},
      {"ToolPage { Button () }", "E-55024 @Button () }"},
      {"ToolPage { MinPos = 1 }", "E-55024 @MinPos = 1 }"},
      {"ToolPage { ToolPage {} }", "E-55024 @ToolPage {} }"},
      {"ToolPage { Name = Main DefaultMode = retracted PageVisible1 = false }",
       "Page0 \"Main\" DefMode=0 PageVisible=0,1:\n"},
      {"ToolPage { DefaultMode = Sideways }", "E-55024 @= Sideways }"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(c.mExpected, Parse(c.mText)) << c.mText;
  }

  // Nothing but white space: the box quotes nothing.
  EXPECT_EQ("E-55024", Parse(" \t\r\n"));
  EXPECT_EQ("E-55024", Parse(""));
}

TEST(SkinParse, ControlListsAndPropertySeparators) {
  const Case kCases[] = {
      {"Button (x=1 y=2, Width=3,)", "Button: x=1 y=2 Width=3"},
      {"Button (x=1,,y=2)", "E-55024 @,y=2)"},
      {"Button(x=1)", "E-55024 @Button(x=1)"},  // a type keyword ends at white space only
      {"ListBox (x=1)", "E-55024 @ListBox (x=1)"},
      {"Link ()", "E-55024 @Link ()"},
      {"Controls {}", "E-55024 @Controls {}"},
      {"// a comment\nLabel ()", "Label:"},
      {"//comment\nLabel ()", "E-55024 @//comment"},
      {"Label ( // no comments here\n)", "E-55024 @// no comments here"},
      {"Slider (Text = \"x\")", "E-55024 @Text = \"x\")"},
      {"Button (MinPos = 1)", "E-55024 @MinPos = 1)"},
      {"Edit (Columns = 2)", "E-55024 @Columns = 2)"},
      {"Graphic (ScrollColor = 1, 2, 3)", "E-55024 @ScrollColor = 1, 2, 3)"},
  };
  ExpectControls(kCases, sizeof(kCases) / sizeof(kCases[0]));
}

TEST(SkinParse, ValueForms) {
  const Case kCases[] = {
      // Integers, and which modes they reach: later keywords win.
      {"Label (x = -5, y=+7)", "Label: x=-5 y=7"},
      {"Label (x = 5 x2 = 40)", "Label: x=5/40"},
      {"Label (x2 = 40 x = 5)", "Label: x=5"},
      {"Label (Height1 = 3 Visible2 = false)", "Label: Height=3/0 Visible=1/0"},
      {"Label (x = 2147483648)", "E-55024 @= 2147483648)"},
      {"Label (x = abc)", "E-55024 @= abc)"},
      {"Label (x 5)", "E-55024 @5)"},
      // Colours: red first; alpha is the default's.
      {"Label (TextColor = 255, 0, 0)", "Label: TextColor=255,0,0,255"},
      {"Label (TransparentColor=1 ,2, 3)", "Label: TransparentColor=1,2,3,0"},
      {"Label (TextColor = 256, 0, 0)", "E-55024 @= 256, 0, 0)"},
      {"Label (TextColor = 1 2 3)", "E-55024 @= 1 2 3)"},
      // Words: booleans, functions, bit sets (no spaces round the bar; replaced, not added).
      {"Button (Visible = False, Function = waveshapenext)",
       "Button: Visible=0 Function=WaveShapeNext"},
      {"Button (Function = Click)", "E-55024 @= Click)"},  // internal functions have no name
      {"Button (Visible = yes)", "E-55024 @= yes)"},
      {"Button (Styles = Custom|Sort, Flags = tile|AUTOREPEAT)", "Button: Styles=3 Flags=144"},
      {"Button (Styles = Sort Styles = Custom)", "Button: Styles=1"},
      {"Label (TextFormat = HCenter|Bold|Transparent)", "Label: TextFormat=1153"},
      {"Button (Styles = Custom | Sort)", "E-55024 @| Sort)"},
      {"Button (Styles = Custom||Sort)", "E-55024 @= Custom||Sort)"},
      {"Graphic (Type = Frame)", "Graphic: Type=1"},
      {"Graphic (Type = Circle)", "E-55024 @= Circle)"},
      // Names keep inner and trailing spaces; images are joined to the skin folder.
      {"Label (FontName = Times New Roman , Image =  My Back.bmp)",
       "Label: Image=\"C:\\Skins\\Blue\\My Back.bmp\" FontName=\"Times New Roman \""},
      {"Label (Image = , x = 1)", "E-55024 @= , x = 1)"},
      // Quoted texts: everything up to the first quote is skipped; escapes stay as written.
      {"Button (Text = \"a\\\"b\")", "Button: Text=\"a\\\"b\""},
      {"Label (Text \"two\nlines)\", Tip = \"tip\")", "Label: Tip=\"tip\" Text=\"two\\nlines)\""},
      {"Edit (Text = \"open)", "E-55024 @= \"open)"},
      // The type's own properties.
      {"Slider (MinPos = -10, MaxPos = 10)", "Slider: MinPos=-10 MaxPos=10"},
      {"ComboBox (ScrollUp = u.bmp, ScrollColor = 1, 2, 3, ListBoxHeight = 90)",
       "ComboBox: ScrollUp=\"C:\\Skins\\Blue\\u.bmp\" ScrollColor=1,2,3,0 ListBoxHeight=90"},
  };
  ExpectControls(kCases, sizeof(kCases) / sizeof(kCases[0]));
}

TEST(SkinParse, ListViewColumns) {
  const Case kCases[] = {
      {"ListView (Width = 200, Columns = 4)",
       "ListView: Width=200 Columns=4 ColumnWidths=50,50,50,50 ColumnHeaders=\"|||\""},
      {"ListView (Columns = 2, Width = 200)",
       "ListView: Width=200 Columns=2 ColumnWidths=0,0 ColumnHeaders=\"|\""},
      {"ListView (Width = -7, Columns = 2)",
       "ListView: Width=-7 Columns=2 ColumnWidths=-3,-3 ColumnHeaders=\"|\""},
      {"ListView (Columns = 3, ColumnWidths = 10, 20 ,30, ColumnHeaders = , Name , Size)",
       "ListView: Columns=3 ColumnWidths=10,20,30 ColumnHeaders=\"|Name |Size\""},
      {"ListView (Columns = 1, FirstTextColumn = 1)",
       "ListView: Columns=1 ColumnWidths=0 ColumnHeaders=\"\" FirstTextColumn=1"},
      {"ListView (ColumnWidths = 5)", "E-55024 @5)"},  // no count given: nothing is read
      {"ListView (Columns = 2, ColumnWidths = 5)", "E-55024 @= 5)"},
      {"ListView (Columns = 9)", "E-55024 @= 9)"},
      {"ListView (Columns = -1)", "E-55024 @= -1)"},
      {"ListView (FirstTextColumn = -1)", "E-55024 @= -1)"},
  };
  ExpectControls(kCases, sizeof(kCases) / sizeof(kCases[0]));
}

TEST(SkinParse, NestedPagesAndControlsInheritTheirPagesTextAndTransparentColour) {
  const char kText[] =
      "ToolPage { FontSize = 10 TransparentColor = 1, 2, 3 Controls {\n"
      "  Label ()\n"
      "  ToolPage { Name = A TextColor = 9, 9, 9 Controls { Label (FontSize = 7) }\n"
      "             FontName = Late\n }\n"
      "  ToolPage { }\n"
      "} FontSize = 12 Controls { Label () ToolPage { Controls { ToolPage {} } } } }";
  EXPECT_EQ(
      "Page0: TransparentColor=1,2,3,0 FontSize=12\n"
      "  Label: TransparentColor=1,2,3,0 FontSize=10\n"
      "  Page1 \"A\": TransparentColor=1,2,3,0 TextColor=9,9,9,255 FontName=\"Late\" FontSize=10\n"
      "    Label: TransparentColor=1,2,3,0 TextColor=9,9,9,255 FontSize=7\n"
      "  Page2: TransparentColor=1,2,3,0 FontSize=10\n"
      "  Label: TransparentColor=1,2,3,0 FontSize=12\n"
      "  Page3: TransparentColor=1,2,3,0 FontSize=12\n"
      "    Page4: TransparentColor=1,2,3,0 FontSize=12\n",
      Parse(kText));
}

TEST(SkinParse, RefusesValuesTooLongForTheirFields) {
  struct Limit {
    const char* mBefore;
    const char* mAfter;
    size_t mMaxLen;  // the longest value that fits
  };
  const Limit kLimits[] = {
      {"Controls { Button (Text = \"", "\") }", 63},
      {"Controls { CheckBox (Text = \"", "\") }", 63},
      {"Controls { Label (Text = \"", "\") }", 255},
      {"Controls { Edit (Text = \"", "\") }", 1023},
      {"Tip = \"", "\"", 255},
      {"Name = ", " ", 255},
      {"FontName = ", "\n", 255},
      // The joined path "C:\Skins\Blue\<name>" holds at most 259 characters.
      {"Image = ", "\n", 259 - 14},
      {"Controls { ComboBox (ScrollThumb = ", ") }", 259 - 14},
      {"Controls { ListView (Columns = 1, ColumnHeaders = ", ") }", 63},
  };
  for (const Limit& limit : kLimits) {
    for (size_t len : {limit.mMaxLen, limit.mMaxLen + 1}) {
      std::string text =
          std::string("ToolPage { ") + limit.mBefore + std::string(len, 'a') + limit.mAfter + " }";
      std::string result = Parse(text);
      EXPECT_EQ(len > limit.mMaxLen, result[0] == 'E') << limit.mBefore << len;
      // An escape pair at the limit does not fit either.
      if (limit.mBefore[std::strlen(limit.mBefore) - 1] == '"' && len == limit.mMaxLen) {
        text.replace(text.find(limit.mAfter) - 1, 1, "\\\"");
        EXPECT_EQ('E', Parse(text)[0]) << limit.mBefore;
      }
    }
  }

  // Pages nest at most 32 deep.
  std::string nested;
  for (int depth = 0; depth < 32; ++depth) {
    nested = "ToolPage { Controls { " + nested + " } }";
  }
  EXPECT_EQ('P', Parse(nested)[0]);
  EXPECT_EQ(0u, Parse("ToolPage { Controls { " + nested + " } }")
                    .rfind("E-55024 @ToolPage { Controls {  } } } }", 0));
}

TEST(SkinParse, ACompleteSkin) {
  const char kExpected[] =
      R"(Page0 "Main" DefMode=0: Flags=3 Image="C:\Skins\Blue\Back.bmp" TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9
  Button: x=2 y=2 Width=16 Height=16 Function=Close Styles=1 Image="C:\Skins\Blue\Close.bmp" TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 Tip="Close the toolbar"
  CheckBox: x=20 y=2 Width=80 Height=16 Function=WaveShapeToggle TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 Text="Slide show"
  ComboBox: x=2 y=20 Width=120 Height=18 Function=WaveShapeList Styles=3 TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 ScrollUp="C:\Skins\Blue\Up.bmp" ScrollDown="C:\Skins\Blue\Down.bmp" ScrollThumb="C:\Skins\Blue\Thumb.bmp" ScrollColor=10,20,30,0 ListBoxHeight=200
  Slider: x=2 y=40 Width=120 Height=12 Function=WaveShapeInterval Styles=4 TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 MinPos=5 MaxPos=95
  Label: x=2 y=54 Width=120 Height=14 TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 TextFormat=1025 Text="Wave \"shapes\""
  Edit: x=2 y=70 Width=120 Height=40 Styles=24 TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 Text="one\ntwo"
  Graphic: x=0/130 Width=1 Height=120 TransparentColor=255,0,255,0 BorderColor=90,90,90,255 FontName="Tahoma" FontSize=9 Type=2
  Page1 "Advanced" PageVisible=0,1: y=120 Width=300 Height=0/200 Function=AdvPrefsPanel Flags=96 TransparentColor=255,0,255,0 FontName="Courier New"
    ListView: Width=300 Height=150 Function=AdvParticles Styles=128 TransparentColor=255,0,255,0 FontName="Tahoma" Columns=3 ColumnWidths=20,200,80 ColumnHeaders="|Name|Size " FirstTextColumn=1
    Button: y=152 Width=60 Height=20 Function=AdvParticlesStart Flags=128 TransparentColor=255,0,255,0 FontName="Tahoma" Text="Start"
    Page2 "Deep": Styles=32 TransparentColor=255,0,255,0 FontName="Tahoma"
      Label: TransparentColor=255,0,255,0 FontName="Tahoma" Text="deep"
  Button: x=100 y=2 Width=16 Height=16 Function=ExtendRetract TransparentColor=255,0,255,0 FontName="Tahoma" FontSize=9 Text="+"
)";
  EXPECT_EQ(kExpected, Parse(kCompleteSkin));
}

TEST(SkinParse, ErrorBoxTexts) {
  // The quote starts at the bad keyword and holds at most 509 bytes of the file.
  cSkin skin;
  SkinTree tree;
  std::string text = "ToolPage {\n  Bogus " + std::string(600, 'x');
  EXPECT_EQ(kKSErr_FormatNotRecognized,
            skin.ParseInterface(kSkinPath, text.data(), long(text.size()), &tree));
  EXPECT_EQ("\r\r" + text.substr(13, 509), skin.ErrorSuffix().getCStr());

  // A later success clears them; the folder is the file's.
  EXPECT_EQ(0, skin.ParseInterface(kSkinPath, "{}", 2, &tree));
  EXPECT_TRUE(skin.ErrorPrefix().IsEmpty());
  EXPECT_TRUE(skin.ErrorSuffix().IsEmpty());
  EXPECT_STREQ("C:\\Skins\\Blue", skin.Folder());
}

TEST(SkinParse, BuilderFailuresStopTheParseAndLeaveNoPageWithoutAnOwner) {
  SkinTree counter;
  Parse(kCompleteSkin, &counter);
  for (int failAt = 1; failAt <= counter.Calls(); ++failAt) {
    SkinTree tree(failAt);
    EXPECT_EQ(0u, Parse(kCompleteSkin, &tree).rfind("E-55017", 0)) << failAt;
  }
}
