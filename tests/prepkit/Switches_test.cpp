#include "prepkit/Switches.h"

#include <gtest/gtest.h>

using tessel::prepkit::Conversion;
using tessel::prepkit::IsSwitchArgument;
using tessel::prepkit::ParseSwitch;
using tessel::prepkit::Switch;

TEST(PrepkitSwitches, WhichArgumentsAreSwitches) {
  struct Case {
    const char* argument;
    bool isSwitch;
  };
  const Case cases[] = {
      {"/D", true}, {"-d", true}, {"/S10-20", true}, {"/B{0,0,32,32,1}", true}, {"/Rabcd-TEXT", true}, {"-/x", true},
      {"/", true},  {"-", true},  {"a.txt", false},  {"/home/u/a.txt", false},  {"/tmp/", false},      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSwitchArgument(c.argument), c.isSwitch) << c.argument;
}

TEST(PrepkitSwitches, LettersAndParameters) {
  std::string error;
  struct Case {
    const char* argument;
    Conversion conversion;
  };
  const Case letters[] = {
      {"/D", Conversion::Data},     {"/m", Conversion::Makers},  {"-C", Conversion::Copyright},
      {"/z", Conversion::LineEnds}, {"/P", Conversion::Palette}, {"/?", Conversion::Help},
      {"/h", Conversion::Help},     {"/H", Conversion::Help},
  };
  for (const Case& c : letters) {
    EXPECT_EQ(ParseSwitch(c.argument, error).conversion, c.conversion) << c.argument;
    EXPECT_EQ(error, "") << c.argument;
  }

  Switch sw = ParseSwitch("/rabcd-TEXT", error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(sw.conversion, Conversion::Mark);
  EXPECT_EQ(std::string(sw.creator.begin(), sw.creator.end()), "abcd");
  EXPECT_EQ(std::string(sw.type.begin(), sw.type.end()), "TEXT");
  sw = ParseSwitch("/R--- -a-b ", error);  // any four characters, blanks and minus signs included
  EXPECT_EQ(error, "");
  EXPECT_EQ(std::string(sw.creator.begin(), sw.creator.end()), "--- ");

  sw = ParseSwitch("/s10-20", error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(sw.conversion, Conversion::Split);
  EXPECT_EQ(sw.from, 10u);
  EXPECT_EQ(sw.to, 20u);

  sw = ParseSwitch("/B{-32768, 2,32767,-4,65535}", error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(sw.conversion, Conversion::Picture);
  EXPECT_EQ(sw.frame.y1, -32768);
  EXPECT_EQ(sw.frame.x1, 2);
  EXPECT_EQ(sw.frame.y2, 32767);
  EXPECT_EQ(sw.frame.x2, -4);
  EXPECT_EQ(sw.frame.drawMode, 65535);
}

TEST(PrepkitSwitches, Refused) {
  struct Case {
    const char* argument;
    const char* error;
  };
  const Case cases[] = {
      {"/Q", "'/Q' Unknown switch."},
      {"-q", "'-q' Unknown switch."},
      {"/X", "'/X' Unknown switch."},
      {"/Dx", "'/Dx' Unknown switch."},
      {"/?x", "'/?x' Unknown switch."},
      {"/", "'/' Unknown switch."},
      {"-", "'-' Unknown switch."},
      {"/Rabc-TEXT", "Bad CREATOR or TYPE parameters."},
      {"/Rabcd_TEXT", "Bad CREATOR or TYPE parameters."},
      {"/Rabcd-TEXTS", "Bad CREATOR or TYPE parameters."},
      {"/R", "Bad CREATOR or TYPE parameters."},
      {"/S", "Bad offset parameters."},
      {"/S10", "Bad offset parameters."},
      {"/S10-", "Bad offset parameters."},
      {"/S10-20x", "Bad offset parameters."},
      {"/S-1-5", "Bad offset parameters."},
      {"/Sa-b", "Bad offset parameters."},
      {"/S99999999999999999999-1", "Bad offset parameters."},
      {"/B", "Bad Picture parameters."},
      {"/B{1,2,3}", "Bad Picture parameters."},
      {"/B{1,2,3,4,5", "Bad Picture parameters."},
      {"/B{1,2,3,4,5}x", "Bad Picture parameters."},
      {"/B1,2,3,4,5}", "Bad Picture parameters."},
      {"/B{1,2,3,4,65536}", "Bad Picture parameters."},
      {"/B{1,2,3,4,-1}", "Bad Picture parameters."},
      {"/B{32768,0,0,0,0}", "Bad Picture parameters."},
      {"/B{0,-32769,0,0,0}", "Bad Picture parameters."},
      {"/B{0,,0,0,0}", "Bad Picture parameters."},
  };
  for (const Case& c : cases) {
    std::string error;
    ParseSwitch(c.argument, error);
    EXPECT_EQ(error, c.error) << c.argument;
  }
}
