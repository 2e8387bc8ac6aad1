// The engine model and its script language: slide shows that step on the
// clock through enabled items only; printing and formatting, operators,
// if/else and how failures are contained. (What the toolbar's scripts do is
// the catalogue test's; texts that do not parse are the fuzz target's.)
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine-sim/EngineState.h"
#include "engine-sim/ScriptInterpreter.h"
#include "foundation/KSError.h"

namespace {

class Recorder : public EngineListener {
 public:
  void OnEngineNotify(long inMsgID, const UtilStr& inBody) override {
    mCodes.push_back(inMsgID);
    mBodies.push_back(inBody.getCStr());
  }
  std::vector<long> mCodes;
  std::vector<std::string> mBodies;
};

EngineContent SmallContent() {
  EngineContent content;
  EngineContent::GetBuiltIn(&content);
  content.mItems[kConfigWaveShape] = {"One", "Two", "Three", "Four", "Five"};
  return content;
}

// Knows the constants A (1) and B (2) and records every call it is asked to
// run; "Fail" is rejected, anything starting with "Unknown" does not exist.
class RecordingHost : public ScriptHost {
 public:
  bool GetConstant(const UtilStr& inName, ScriptValue* outValue) override {
    if (inName == "A" || inName == "B") {
      *outValue = ScriptValue(inName == "A" ? 1.0 : 2.0);
      return true;
    }
    return false;
  }

  long CallFunction(const UtilStr& inName, const ScriptArgs& inArgs, ScriptValue* outResult,
                    UtilStr* outProblem) override {
    if (inName.StartsWith("Unknown")) {
      return kKSErr_SymbolNotFound;
    }
    if (inName == "Fail") {
      outProblem->Append("refused");
      return kKSErr_Param;
    }
    std::string call = inName.getCStr();
    for (const ScriptValue& arg : inArgs) {
      UtilStr text = arg.AsText();
      call += "|" + std::string(text.getCStr(), size_t(text.length()));
    }
    mCalls.push_back(call);
    *outResult = ScriptValue(double(mCalls.size()));
    return 0;
  }

  std::vector<std::string> mCalls;
};

struct RunResult {
  long mErr;
  std::string mOutput;
  std::vector<std::string> mNotes;
};

RunResult RunScript(const std::string& inScript, ScriptHost* inHost = nullptr) {
  RecordingHost defaultHost;
  ScriptInterpreter interpreter(inHost ? inHost : &defaultHost);
  UtilStr output;
  XStrList notes;
  RunResult result;
  result.mErr = interpreter.Run(inScript.data(), long(inScript.size()), &output, &notes);
  result.mOutput.assign(output.getCStr(), size_t(output.length()));
  for (long i = 1; i <= notes.Count(); i++) {
    result.mNotes.push_back(notes.Fetch(i)->getCStr());
  }
  return result;
}

std::string Output(const std::string& inScript) {
  return RunScript(inScript).mOutput;
}

}  // namespace

TEST(EngineStateTest, SlideShowsStepOnTheClockThroughEnabledItemsOnly) {
  EngineState state(SmallContent());
  Recorder recorder;
  state.SetListener(&recorder);
  state.SetRandomSeed(3);
  state.Tick(0);
  state.SetPref(kPrefWaveShapeInterval, ScriptValue("2"));
  state.SetItemEnabled(1, "Three", false);
  state.SetItemEnabled(1, "Five", false);
  state.ShuffleSlideShow(kConfigWaveShape);
  state.SetSlideShow(kConfigWaveShape, true);
  ASSERT_EQ(1u, recorder.mCodes.size());

  // Nothing happens before the interval has passed.
  state.Tick(1999);
  EXPECT_EQ(1u, recorder.mCodes.size());

  std::set<std::string> shown;
  for (int64 now = 2000; now <= 40000; now += 2000) {
    state.Tick(now);
    ASSERT_EQ(303, recorder.mCodes.back());
    shown.insert(recorder.mBodies.back());
  }
  EXPECT_EQ((std::set<std::string>{"One", "Two", "Four"}), shown);
  // One step per interval, and each step a change.
  EXPECT_EQ(21u, recorder.mCodes.size());

  // A step by hand gives the new item its full interval.
  state.Tick(41000);
  state.Step(kConfigWaveShape, 1);
  size_t afterStep = recorder.mCodes.size();
  state.Tick(42500);
  EXPECT_EQ(afterStep, recorder.mCodes.size());
  state.Tick(43000);
  EXPECT_EQ(afterStep + 1, recorder.mCodes.size());

  // Switched off, it stays put.
  state.SetSlideShow(kConfigWaveShape, false);
  EXPECT_EQ(321, recorder.mCodes.back());
  UtilStr current = state.CurrentName(kConfigWaveShape);
  state.Tick(100000);
  EXPECT_EQ(current, state.CurrentName(kConfigWaveShape));

  // A shorter interval takes effect at once; a longer one does not push back
  // the step already due.
  state.SetSlideShow(kConfigColorMap, true);  // default interval: half a minute or more
  UtilStr first = state.CurrentName(kConfigColorMap);
  state.SetPref(kPrefColorMapInterval, ScriptValue(0.5));
  state.Tick(100600);
  EXPECT_NE(first, state.CurrentName(kConfigColorMap));
  state.SetPref(kPrefColorMapInterval, ScriptValue(1000.0));
  UtilStr second = state.CurrentName(kConfigColorMap);
  state.Tick(101200);
  EXPECT_NE(second, state.CurrentName(kConfigColorMap));
}

// What a script prints: printf's forms, print, operators with C's
// precedence and if/else with and without braces.
TEST(ScriptInterpreterTest, ScriptsPrintWhatTheyCompute) {
  const std::string tabs(24, '\t');
  const std::pair<std::string, std::string> kScripts[] = {
      {R"(printf( "%d\0", 7 );)", std::string("7\0", 2)},
      {R"(printf( "%d", 7.9 );)", "7"},
      {R"(printf( "%d", -3.9 );)", "-3"},
      {R"(printf( "%f\0", -2 );)", std::string("-2.000000\0", 10)},
      {R"(printf( "%s\0", "Arial" );)", std::string("Arial\0", 6)},
      {R"(printf("[%6.2f] 100%% %x x=%d", 3.14159, 255);)", "[  3.14] 100% ff x=0"},
      {R"(print("a\tb\\c\"d\Ue");)", "a\tb\\c\"d\\Ue"},
      // A number too large for %d is held at the 32-bit limit, not undefined.
      {R"(printf("%d", 1e300);)", "2147483647"},
      {R"(printf("%s|", "a\0b");)", std::string("a\0b|", 4)},  // %s keeps NULs
      {"print(2);", "2"},
      {"print(1.5);", "1.500000"},
      // A sign after the exponent mark belongs to the number; one after its digits does not.
      {R"(printf("%g %g %g", 1e+5, 2.5E-3, 3e2-1);)", "100000 0.0025 299"},
      {R"(print("a", "b");)", "ab"},
      {"", ""},
      {"   ;;  ", ""},
      {R"(printf("%d %d %d %d %d", 1 + 2 * 3, (1 + 2) * 3, !0, ! 5, -1 < 0);)", "7 9 1 0 1"},
      {R"(printf("%d %d %d %d", 2 >= 2, 2 > 2, 3 != 4, 2 <= 3);)", "1 0 1 1"},
      {R"(printf("%d %d %d", 256 | 1, 1 && 2, 1 && 0);)", "257 1 0"},
      {R"(printf("%d %d %s", "x" == "x", "x" == "y", "a" + "b");)", "1 0 ab"},
      {R"(printf("%d %d", 5 / 0, 7 % 0);)", "0 0"},
      {R"(printf( "%d", (A > 0) && (B > A));)", "1"},  // both sides are looked at
      {tabs + "if ( 1 ) {" + tabs + "print(\"yes\");" + tabs + "}" + tabs + "else {" + tabs +
           "print(\"no\");" + tabs + "}" + tabs,
       "yes"},
      {R"(if ( 2 < 1 ) { print("yes"); } else { print("no"); })", "no"},
      {R"(if (0) print("a"); else if (1) print("b"); else print("c");)", "b"},
      {R"(if (0) print("a");)", ""},
      {R"(if (1) { if (1) { print("in") } })", "in"},
      {"print(" + std::string(50, '(') + "1" + std::string(50, ')') + ");", "1"},
  };
  for (const auto& [script, output] : kScripts) {
    EXPECT_EQ(output, Output(script)) << script;
  }
  // Widths and precisions are held to a thousand, however large the script asks.
  EXPECT_EQ(1000u, Output(R"(printf("%2000000000d", 1);)").size());
  EXPECT_EQ(1002u, Output(R"(printf("%.900000000f", 1);)").size());
}

// Calls reach the host with their arguments; && and || look at their right
// side only when it decides.
TEST(ScriptInterpreterTest, ArgumentsAndSequencesReachTheHost) {
  RecordingHost host;
  RunResult result = RunScript(
      R"(Call( A, "x y", -2.5, true, false ); Execute( A B ); 0 && No(); 1 || No(); 1 && Yes();)"
      " 0 || Yes();",
      &host);
  EXPECT_TRUE(result.mNotes.empty());
  EXPECT_EQ((std::vector<std::string>{"Call|1|x y|-2.500000|1|0",
                                      std::string("Execute|1\0"
                                                  "2\0",
                                                  12),
                                      "Yes", "Yes"}),
            host.mCalls);
}

TEST(ScriptInterpreterTest, AFailingStatementIsAbandonedAndTheRestRuns) {
  RecordingHost host;
  RunResult result = RunScript(
      "First(); Second(UnknownFn()); Fail(); Third(NO_SUCH_NAME); if (Fail()) Fourth(); Last();",
      &host);
  EXPECT_EQ(0, result.mErr);
  EXPECT_EQ((std::vector<std::string>{"First", "Last"}), host.mCalls);
  ASSERT_EQ(4u, result.mNotes.size());
  EXPECT_NE(std::string::npos, result.mNotes[0].find("unknown call UnknownFn()"));
  EXPECT_NE(std::string::npos, result.mNotes[1].find("Fail(): refused"));
  EXPECT_NE(std::string::npos, result.mNotes[2].find("unknown name NO_SUCH_NAME"));
}
