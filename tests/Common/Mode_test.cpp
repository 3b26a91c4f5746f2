#include "Common/Mode.h"

#include <gtest/gtest.h>

#include <utility>

using tessel::Mode;
using tessel::ModeFromLetter;

TEST(Mode, EachLetterNamesItsModeAndIRunsAsR) {
  const std::pair<char, Mode> cases[] = {
      {'r', Mode::kConvert},       {'i', Mode::kConvert},
      {'p', Mode::kPreprocess},    {'q', Mode::kPreprocessKeepingComments},
      {'d', Mode::kDependencies},  {'h', Mode::kCheckHelpBitmaps},
      {'m', Mode::kCheckMakeFile}, {'k', Mode::kPrepkit},
  };
  for (const auto& [letter, mode] : cases) EXPECT_EQ(ModeFromLetter(letter), mode) << letter;
  // The letter arrives folded to lower case; anything else is no mode.
  for (char letter : {'R', 'x', 'c', '\0', '-'}) EXPECT_FALSE(ModeFromLetter(letter)) << letter;
}

TEST(Mode, WhatEachModeDoes) {
  struct Case {
    Mode mode;
    bool lists, preprocesses, supportsBuild, checksOnly;
  };
  const Case cases[] = {
      {Mode::kConvert, true, false, false, false},
      {Mode::kPreprocess, false, true, false, false},
      {Mode::kPreprocessKeepingComments, false, true, false, false},
      {Mode::kDependencies, false, false, true, false},
      {Mode::kCheckHelpBitmaps, false, false, true, true},
      {Mode::kCheckMakeFile, false, false, true, true},
      {Mode::kPrepkit, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    EXPECT_EQ(tessel::ListsResources(c.mode), c.lists);
    EXPECT_EQ(tessel::Preprocesses(c.mode), c.preprocesses);
    EXPECT_EQ(tessel::SupportsBuild(c.mode), c.supportsBuild);
    EXPECT_EQ(tessel::ChecksOnly(c.mode), c.checksOnly);
  }
}
