// The parser is driven with small skin texts; each result is compared as the
// compact print of the tree (fields that differ from the built-in defaults)
// or, for a failure, as its code and the start of the file text the error box
// quotes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "foundation/KSError.h"
#include "skin/SkinTree.h"
#include "skin/TokenMap.h"
#include "skin/UIFunctions.h"
#include "skin/cSkin.h"

namespace {

const char kSkinPath[] = "C:\\Skins\\Blue\\skin.txt";

// The bytes of a skin file of the repository.
std::string ReadSkinText(const std::string& inPath) {
#ifdef _WIN32
  std::ifstream file("Z:" + inPath, std::ios::binary);
#else
  std::ifstream file(inPath, std::ios::binary);
#endif
  std::ostringstream text;
  text << file.rdbuf();
  EXPECT_FALSE(text.str().empty()) << inPath;
  return text.str();
}

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

// Parses inControls, one control, as the control list of an outermost page
// and prints only the control.
std::string ParseControls(const std::string& inControls) {
  std::string dump = Parse("ToolPage { Controls {\n" + inControls + "\n} }");
  bool control = dump.rfind("Page0:\n  ", 0) == 0;
  return control ? dump.substr(9, dump.size() - 10) : dump;
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
      // A UTF-8 byte-order mark (Notepad writes one) is passed over.
      {"\xEF\xBB\xBFToolPage { Name = Main }", "Page0 \"Main\":\n"},
      {"\xEF\xBB\xBF\r\nToolPage { Bogus }", "E-55024 @Bogus }"},
      {"ToolPage { Controls { Button (", "E-55024 @"},
      {"ToolPage { x = 1 , y = 2 }", "E-55024 @, y = 2 }"},  // no commas between page items
      {"ToolPage { // note\n Width = 5 }", "Page0: Width=5\n"},
      {"ToolPage { //note\n }", "E-55024 @//note"},
      {"ToolPage { WIDTH=20 controls { BUTTON (VISIBLE=TRUE, function=close) } }",
       "Page0: Width=20\n  Button: Function=Close\n"},
      {"ToolPage { Text = \"a\" }", "E-55024 @Text = \"a\" }"},
      {"ToolPage { ToolPage {} }", "E-55024 @ToolPage {} }"},
      {"ToolPage { DefaultMode = Sideways }", "E-55024 @= Sideways }"},
      {" \t\r\n", "E-55024"},  // nothing but white space: the box quotes nothing
      {"", "E-55024"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(c.mExpected, Parse(c.mText)) << c.mText;
  }
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
      {"Graphic (ScrollColor = 1, 2, 3)", "E-55024 @ScrollColor = 1, 2, 3)"},
  };
  ExpectControls(kCases, sizeof(kCases) / sizeof(kCases[0]));
}

TEST(SkinParse, ValueForms) {
  const Case kCases[] = {
      // Integers, and which modes they reach: later keywords win.
      {"Label (x = -5, y=+7)", "Label: x=-5 y=7"},
      {"Label (x2 = 40 x = 5 y = 5 y2 = 40)", "Label: x=5 y=5/40"},
      {"Label (x = 2147483648)", "E-55024 @= 2147483648)"},
      {"Label (x 5)", "E-55024 @5)"},
      // Colours: red first; alpha is the default's.
      {"Label (TextColor = 255, 0, 0)", "Label: TextColor=255,0,0,255"},
      {"Label (TextColor = 256, 0, 0)", "E-55024 @= 256, 0, 0)"},
      {"Label (TextColor = 1 2 3)", "E-55024 @= 1 2 3)"},
      // Words: booleans, functions, bit sets (no spaces round the bar; replaced, not added).
      {"Button (Visible = False, Function = waveshapenext)",
       "Button: Visible=0 Function=WaveShapeNext"},
      {"Button (Function = Click)", "E-55024 @= Click)"},  // internal functions have no name
      {"Button (Visible = yes)", "E-55024 @= yes)"},
      {"Button (Styles = Sort Styles = Custom, Flags = tile|AUTOREPEAT)",
       "Button: Styles=1 Flags=144"},
      {"Button (Styles = Custom | Sort)", "E-55024 @| Sort)"},
      {"Button (Styles = Custom||Sort)", "E-55024 @= Custom||Sort)"},
      {"Graphic (Type = Circle)", "E-55024 @= Circle)"},
      // Names keep inner and trailing spaces; images are joined to the skin folder.
      {"Label (FontName = Times New Roman , Image =  My Back.bmp)",
       "Label: Image=\"C:\\Skins\\Blue\\My Back.bmp\" FontName=\"Times New Roman \""},
      {"Label (Image = , x = 1)", "E-55024 @= , x = 1)"},
      // Quoted texts: everything up to the first quote is skipped.
      {"Label (Text \"two\nlines)\", Tip = \"tip\")", "Label: Tip=\"tip\" Text=\"two\\nlines)\""},
      {"Edit (Text = \"open)", "E-55024 @= \"open)"},
  };
  ExpectControls(kCases, sizeof(kCases) / sizeof(kCases[0]));
}

TEST(SkinParse, ListViewColumns) {
  const Case kCases[] = {
      {"ListView (Width = 200, Columns = 4)",
       "ListView: Width=200 Columns=4 [50 \"\", 50 \"\", 50 \"\", 50 \"\"] first 0"},
      {"ListView (Columns = 2, Width = 200)",
       "ListView: Width=200 Columns=2 [0 \"\", 0 \"\"] first 0"},
      {"ListView (Width = -7, Columns = 2)",
       "ListView: Width=-7 Columns=2 [-3 \"\", -3 \"\"] first 0"},
      {"ListView (Columns = 3, ColumnWidths = 10, 20 ,30, ColumnHeaders = , Name , Size)",
       "ListView: Columns=3 [10 \"\", 20 \"Name \", 30 \"Size\"] first 0"},
      {"ListView (Columns = 1, FirstTextColumn = 1)", "ListView: Columns=1 [0 \"\"] first 1"},
      {"ListView (ColumnWidths = 5)", "E-55024 @5)"},  // no count given: nothing is read
      {"ListView (Columns = 2, ColumnWidths = 5)", "E-55024 @= 5)"},
      {"ListView (Columns = 9)", "E-55024 @= 9)"},
      {"ListView (Columns = -1)", "E-55024 @= -1)"},
      {"ListView (FirstTextColumn = -1)", "E-55024 @= -1)"},
  };
  ExpectControls(kCases, sizeof(kCases) / sizeof(kCases[0]));
}

TEST(SkinParse, RefusesValuesTooLongForTheirFields) {
  struct Limit {
    const char* mBefore;
    const char* mAfter;
    size_t mMaxLen;  // the longest value that fits
  };
  const Limit kLimits[] = {
      {"Controls { Button (Text = \"", "\") }", 63},
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
      EXPECT_EQ(len > limit.mMaxLen, Parse(text)[0] == 'E') << limit.mBefore << len;
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

// A skin of nested pages with every control type a skin can name, most
// properties and value forms, and text settings inherited or not (set before
// or after a page's controls), against its expected print.
TEST(SkinParse, CompleteSkins) {
  EXPECT_EQ(ReadSkinText(KS_SKIN_TEST_DATA "/complete-skin.dump"),
            Parse(ReadSkinText(KS_SKIN_TEST_DATA "/complete-skin.txt")));
}

// Every control of the factory skins has a tip (the window tests check what
// they bind): every line of the print but the pages' holds one.
TEST(SkinParse, FactorySkinsTipEveryControl) {
  for (const char* skin : {"Factory Blue", "Compact"}) {
    std::istringstream dump(
        Parse(ReadSkinText(KS_REPO_SKINS_DIR "/" + std::string(skin) + "/skin.txt")));
    EXPECT_EQ('P', dump.peek()) << skin;
    for (std::string line; std::getline(dump, line);) {
      bool page = line.find_first_not_of(' ') == line.find("Page");
      EXPECT_TRUE(page || line.find(" Tip=\"") != std::string::npos) << skin << ": " << line;
    }
  }
}

TEST(SkinParse, ErrorBoxTexts) {
  // The quote starts at the bad keyword and holds at most 509 bytes of the file.
  cSkin skin;
  SkinTree failed;
  std::string text = "ToolPage {\n  Bogus " + std::string(600, 'x');
  EXPECT_EQ(kKSErr_FormatNotRecognized,
            skin.ParseInterface(kSkinPath, text.data(), long(text.size()), &failed));
  failed.TakeOutermost();
  EXPECT_EQ("\r\r" + text.substr(13, 509), skin.ErrorSuffix().getCStr());

  // A later success clears them; the folder is the file's.
  SkinTree loaded;
  EXPECT_EQ(0, skin.ParseInterface(kSkinPath, "{}", 2, &loaded));
  loaded.TakeOutermost();
  EXPECT_TRUE(skin.ErrorPrefix().IsEmpty());
  EXPECT_TRUE(skin.ErrorSuffix().IsEmpty());
  EXPECT_STREQ("C:\\Skins\\Blue", skin.Folder());
}

TEST(SkinParse, BuilderFailuresStopTheParseAndLeaveNoPageWithoutAnOwner) {
  std::string text = ReadSkinText(KS_SKIN_TEST_DATA "/complete-skin.txt");
  SkinTree counter;
  Parse(text, &counter);
  for (int failAt = 1; failAt <= counter.Calls(); ++failAt) {
    SkinTree tree(failAt);
    EXPECT_EQ(0u, Parse(text, &tree).rfind("E-55017", 0)) << failAt;
  }
}

// The keyword tables: case is ignored, the first match wins, a word with a
// length counts only that many bytes (a NUL inside is no end), and a miss
// leaves the value alone. The function names are in value order, as the
// names are read back by value; a miss there gives kUINull.
TEST(SkinParse, KeywordAndFunctionLookups) {
  uint32 value = 0;
  for (; sFunctionMap[value].Name != nullptr; ++value) {
    EXPECT_EQ(value, sFunctionMap[value].Value) << sFunctionMap[value].Name;
  }
  EXPECT_EQ(uint32(kUILastSkinFunction) + 1, value);

  const TokenMap kMap[] = {{"Alpha", 1}, {"ALPHA", 2}, {"beta", 3}, {nullptr, 0}};
  const uint32 kMiss = 77;
  const struct {
    const char* mWord;
    long mLen;  // -1: up to its NUL
    uint32 mValue;
  } kWords[] = {{"alPHa", -1, 1},  {"BETA", -1, 3},   {"bet", -1, kMiss},   {"betas", -1, kMiss},
                {"betamax", 4, 3}, {"bet", 3, kMiss}, {"beta\0", 5, kMiss}, {"", 0, kMiss}};
  for (const auto& word : kWords) {
    value = kMiss;
    bool found = word.mLen < 0 ? LookupToken(kMap, word.mWord, &value)
                               : LookupToken(kMap, word.mWord, word.mLen, &value);
    EXPECT_EQ(word.mValue != kMiss, found) << word.mWord;
    EXPECT_EQ(word.mValue, value) << word.mWord;
  }

  // The first three are found; then near misses: prefixes, extensions, the
  // panel name without its s, and internal functions, which have no skin name.
  const char* const kNames[] = {"waveshapelist", "ADVPREFSPANEL",  "AdvPrefPeerRefresh", "",
                                "WaveShape",     "WaveShapeListX", "AdvPrefPanel",       "Click",
                                "TrackInfo",     "Wave Shape List"};
  const eUIFunction kFound[] = {kUIWaveShapeList, kUIAdvPrefsPanel, kUIAdvPrefPeerRefresh};
  for (size_t i = 0; i < std::size(kNames); ++i) {
    eUIFunction function = kUIClose;
    bool found = i < std::size(kFound);
    EXPECT_EQ(found, LookupUIFunction(kNames[i], &function)) << kNames[i];
    EXPECT_EQ(found ? kFound[i] : kUINull, function) << kNames[i];
  }
}
