#include "keys/KeyContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Common/Errors.h"
#include "Common/OutputSink.h"
#include "TestSupport.h"

namespace tessel {
namespace {

// A key context switched on over a temporary output, fed by hand the way the lexer feeds it.
class KeyContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keys.StartKeyExtraction(dir.file("app.keys.json"), "App");
    output.OpenMemory();
    keys.SetOutput(&output);
  }

  // One string literal as the lexer reads it: the opening quote is echoed before the hook.
  void String(const std::string& inside) {
    keys.Echo('"');
    KeyStringState state;
    keys.BeginKeyString(state);
    for (char c : inside) keys.Echo(c);
    keys.Echo('"');
    keys.SetKeyStringValue(state, ("\"" + inside + "\"").c_str());
    keys.EndKeyString(state);
  }
  void Source(const std::string& text) {
    for (char c : text) keys.Echo(c);
  }
  std::string KeyList() { return std::string(output.Text()); }
  std::string KeyedSource() {
    keys.Close();
    return dir.read("app.keys.json.keys");
  }

  testsupport::TempDir dir;
  ErrorContext errors;
  KeyContext keys{errors};
  OutputSink output;
};

TEST_F(KeyContextTest, KeyedStringIsReplacedByItsKeyAndListed) {
  Source("'STR#' 128 {\n  ");
  keys.PushKeyScope("STRS");
  keys.PushKeyScope("128");
  keys.SetKeyItem(0);
  keys.NextKeyItem();
  String("Open a file");
  Source("\n  ");
  keys.NextKeyItem();
  String("Close");
  keys.PopKeyScope();
  keys.PopKeyScope();
  Source("\n}\n");
  String("not keyed: no scope");
  EXPECT_EQ(KeyList(),
            "\"App.STRS.128.1\": \"Open a file\"\n"
            "\"App.STRS.128.2\": \"Close\"\n");
  EXPECT_EQ(KeyedSource(),
            "\xEF\xBB\xBF'STR#' 128 {\n  \"$App.STRS.128.1\"\n  \"$App.STRS.128.2\"\n}\n\"not keyed: no scope\"");
}

TEST_F(KeyContextTest, StringsThatGetNoKeyAreCopiedUnchanged) {
  keys.PushKeyScope("FTGP");
  keys.PushKeyScope("1");
  keys.SuppressKeys();
  String("suppressed");
  keys.ResumeKeys();
  keys.PushKeyScope("");
  String("empty scope name");
  keys.PopKeyScope();
  // A string inside another one (joined while it is read) is not keyed on its own.
  keys.PushKeyScope("Description");
  KeyStringState outer, inner;
  keys.Echo('"');
  keys.BeginKeyString(outer);
  keys.Echo('a');
  keys.BeginKeyString(inner);
  keys.Echo('b');
  keys.SetKeyStringValue(inner, "\"b\"");
  keys.EndKeyString(inner);
  keys.SetKeyStringValue(outer, "\"ab\"");
  keys.EndKeyString(outer);
  EXPECT_FALSE(keys.IsKeyedString());
  EXPECT_EQ(KeyList(), "\"App.FTGP.1.Description\": \"ab\"\n");
  EXPECT_EQ(KeyedSource(), "\xEF\xBB\xBF\"suppressed\"\"empty scope name\"\"$App.FTGP.1.Description\"");
}

TEST_F(KeyContextTest, RepeatedItemGetsTheNextIndex) {
  keys.PushKeyScope("CMND");
  keys.PushKeyScope("5");
  keys.SetKeyItem(3);
  String("first");
  String("second");  // same base, item and conditions
  keys.SetKeyItem(1);
  String("third");  // still not past the last index
  keys.PushKeyCondition("WIN", false);
  keys.SetKeyItem(1);
  String("other conditions");
  EXPECT_EQ(KeyList(),
            "\"App.CMND.5.3\": \"first\"\n"
            "\"App.CMND.5.4\": \"second\"\n"
            "\"App.CMND.5.5\": \"third\"\n"
            "\"App.CMND.5.1#+WIN\": \"other conditions\"\n");
}

TEST_F(KeyContextTest, AlertTextsAreNamed) {
  keys.PushKeyScope("QALR");
  keys.PushKeyScope("1200");
  const char* expected[] = {"LargeText", "SmallText", "Button.1", "Button.2", "Button.3", "6"};
  for (const char* name : expected) {
    keys.NextKeyItem();
    EXPECT_EQ(keys.BuildKey(), std::string("App.QALR.1200.") + name);
  }
}

TEST_F(KeyContextTest, ElseBranchNegatesTheGroupAndRenumbersItsItems) {
  keys.PushKeyScope("QALR");
  keys.PushKeyScope("1200");
  keys.NextKeyItem();
  String("large");
  keys.PushKeyCondition("WIN", false);
  keys.NextKeyItem();
  String("small on WIN");
  keys.NegateKeyCondition();
  keys.NextKeyItem();
  String("small elsewhere");
  keys.PopKeyCondition();
  keys.NextKeyItem();
  String("button");
  EXPECT_EQ(KeyList(),
            "\"App.QALR.1200.LargeText\": \"large\"\n"
            "\"App.QALR.1200.SmallText#+WIN\": \"small on WIN\"\n"
            "\"App.QALR.1200.SmallText#-WIN\": \"small elsewhere\"\n"
            "\"App.QALR.1200.Button.1\": \"button\"\n");
}

TEST_F(KeyContextTest, ConditionGroupsAreWrittenAndNegated) {
  keys.PushKeyCondition("OUTER", true);  // outside any resource: no index to restore
  keys.PushKeyScope("FILE");
  keys.PushKeyScope("7");
  keys.PushKeyCondition("A", false);
  keys.AddKeyConditionTerm(true, "B", true);
  EXPECT_EQ(keys.BuildKey(), "App.FILE.7#-OUTER&(+A&-B)");
  keys.NegateKeyCondition();
  EXPECT_EQ(keys.BuildKey(), "App.FILE.7#-OUTER&(-A|+B)");
  keys.PopKeyCondition();
  keys.AddKeyConditionTerm(false, "C", false);
  EXPECT_EQ(keys.BuildKey(), "App.FILE.7#(-OUTER|+C)");
  keys.PopKeyCondition();
  EXPECT_EQ(keys.BuildKey(), "App.FILE.7");
  // Unbalanced directives leave the stack empty.
  keys.PopKeyCondition();
  keys.NegateKeyCondition();
  keys.AddKeyConditionTerm(true, "D", false);
  EXPECT_EQ(keys.BuildKey(), "App.FILE.7");
}

TEST_F(KeyContextTest, ItemCounters) {
  EXPECT_EQ(keys.KeyItemIndex(), -1);
  keys.NextKeyItem();  // empty context: nothing
  EXPECT_EQ(keys.KeyItemIndex(), -1);
  EXPECT_EQ(keys.BuildKey(), "");
  keys.PushKeyScope("STRf");
  EXPECT_EQ(keys.KeyItemIndex(), -1);
  keys.NextKeyItem();
  EXPECT_EQ(keys.KeyItemIndex(), 1);
  keys.SetKeyItem(7);
  keys.NextKeyItem();
  EXPECT_EQ(keys.KeyItemIndex(), 8);
  keys.PushKeyScope("Title");
  EXPECT_EQ(keys.KeyItemIndex(), -1);
  EXPECT_EQ(keys.BuildKey(), "App.STRf.Title");
  keys.PopKeyScope();
  keys.PopKeyScope();
  keys.PopKeyScope();  // more pops than pushes
  EXPECT_EQ(keys.KeyItemIndex(), -1);
}

TEST(KeyContextOff, EveryOperationIsInert) {
  ErrorContext errors;
  KeyContext keys(errors);
  EXPECT_FALSE(keys.IsKeyExtraction());
  keys.PushKeyScope("STRS");
  keys.NextKeyItem();
  keys.PushKeyCondition("WIN", false);
  EXPECT_EQ(keys.KeyItemIndex(), -1);
  EXPECT_EQ(keys.BuildKey(), "");
  KeyStringState state;
  keys.BeginKeyString(state);
  EXPECT_TRUE(state.outermost);
  EXPECT_FALSE(keys.IsKeyedString());
  keys.EndKeyString(state);
  keys.Echo('x');
}

TEST_F(KeyContextTest, ItemIndicesCountOnPastSixteenBits) {
  keys.PushKeyScope("STRS");
  keys.PushKeyScope("128");
  keys.SetKeyItem(0);
  for (int i = 0; i < 40000; ++i) keys.NextKeyItem();
  EXPECT_EQ(keys.KeyItemIndex(), 40000);
  String("the forty thousandth");
  keys.NextKeyItem();
  String("and one more");
  EXPECT_EQ(KeyList(),
            "\"App.STRS.128.40000\": \"the forty thousandth\"\n"
            "\"App.STRS.128.40001\": \"and one more\"\n");
}

TEST(KeyContextStart, TitleKeyNames) {
  EXPECT_EQ(KeyContext::TitleKeyName(0), "Title");
  EXPECT_EQ(KeyContext::TitleKeyName(0x1 | 0x400), "Title.TP");
  EXPECT_EQ(KeyContext::TitleKeyName(0x4 | 0x400), "Title.NC");
}

TEST(KeyContextStart, KeyFileIsCreatedAlongNewDirectoriesAndReplacesAnOldOne) {
  testsupport::TempDir dir;
  dir.write("old/app.json.keys", "stale content");
  ErrorContext errors;
  {
    KeyContext keys(errors);
    keys.StartKeyExtraction(dir.file("new/sub/app.json"), "App");
    keys.StartKeyExtraction(dir.file("old/app.json"), "App");
  }
  EXPECT_EQ(dir.read("new/sub/app.json.keys"), "\xEF\xBB\xBF");
  EXPECT_EQ(dir.read("old/app.json.keys"), "\xEF\xBB\xBF");
}

TEST(KeyContextStart, UncreatableKeyFileEndsTheRun) {
  testsupport::TempDir dir;
  dir.write("plain", "a file, not a directory");
  ErrorContext errors;
  KeyContext keys(errors);
  std::string name = dir.file("plain/app.json");
  try {
    keys.StartKeyExtraction(name, "App");
    FAIL() << "no error";
  } catch (const FatalError& error) {
    EXPECT_EQ(error.text, "GeneralError: Cannot open output klx (" + name + ".keys) for writing!");
  }
}

}  // namespace
}  // namespace tessel
