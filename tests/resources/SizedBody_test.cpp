// Bodies sized before they are written (dialogs, help lists, string and GUID lists): read once with the
// outputs held back, or twice when that is not possible, they give the same outputs and errors.
#include "resources/SizedBody.h"

#include <gtest/gtest.h>

#include <string>

#include "ContextFixture.h"

namespace {

const char* const kBodies =
    "'QDLG' 300 Modal | grow 0 0 300 240 \"Texts \\\"and\\\" edits\"\n"
    "{\n"
    "  Button 10 10 80 20 SmallPlain \"OK\"\n"
    "  Offset 10 20 {\n"
    "  CheckBox 10 200 100 16 ExtraSmall \"Check\\tme\"\n"
    "  NormalTab 0 0 200 150\n"
    "    TAB_GENERAL NoIcon \"General\"\n"
    "    TAB_VIEW 12 \"View\"\n"
    "  PopupControl 0 0 100 20 1 3\n"
    "    InfoIcon \"First\"\n"
    "    0 \"-\"\n"
    "    17 \"Third\"\n"
    "  }\n"
    "}\n"
    "'DLGH' 300 Dialog300 {\n"
    "1\t\"Help of the button.\"\tButtonHelp\n"
    "3\t\"Help of the check box, \" \\\n"
    "\t\"joined.\"\tCheckHelp\n"
    "}\n"
    "'DHLP' 301 {\n"
    "\"Starting with the application.\"\tGettingStarted\n"
    "\"Saving.\"\tSaving\n"
    "}\n"
    "'STR#' 302 \"Messages\" {\n"
    "\t\"An odd count of bytes: seven\"\n"
    "\t\"Joined \" + \"on one line\"\n"
    "}\n"
    "'LAY2' 303 \"Layouts\" {\n"
    "\t\"{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}\"\n"
    "\t\"Standard\"\n"
    "\t1\n"
    "\t0x00FF\n"
    "}\n";

testsupport::Conversion ConvertHolding(const std::string& source, size_t holdLimit) {
  testsupport::ContextFixture fixture;
  fixture.out.SetHoldLimit(holdLimit);
  return fixture.Convert(source);
}

// A limit of 0 reads every body twice; a small one gives up holding inside a body, after
// some of it was written.
TEST(SizedBody, HeldOrReadTwiceTheOutputsAreTheSame) {
  const auto held = ConvertHolding(kBodies, tessel::OutputSink::kHoldLimit);
  ASSERT_FALSE(held.failed) << held.report;
  EXPECT_NE(held.anchorList.find("Dialog300-CheckHelp"), std::string::npos);
  for (size_t limit : {0, 1, 100, 700}) {
    const auto twice = ConvertHolding(kBodies, limit);
    ASSERT_FALSE(twice.failed) << limit << ": " << twice.report;
    EXPECT_EQ(twice.script, held.script) << limit;
    EXPECT_EQ(twice.anchorList, held.anchorList) << limit;
    EXPECT_EQ(twice.resourceList, held.resourceList) << limit;
  }
}

// The writing reading alone checks the order of the help indexes; a fault the checking reading
// finds later in the body is still the one reported.
TEST(SizedBody, TheCheckingReadingsFaultIsReportedFirst) {
  const std::string source =
      "'DLGH' 300 Dialog300 {\n"
      "5\t\"Five\"\tFive\n"
      "3\t\"Three\"\tThree\n"  // 3: an index less than the one before
      "4\t\"Four\"\n"          // 4: no anchor
      "}\n";
  for (size_t limit : {tessel::OutputSink::kHoldLimit, size_t{0}}) {
    testsupport::ContextFixture fixture;
    fixture.out.SetHoldLimit(limit);
    const auto run = fixture.Convert(source);
    EXPECT_EQ(fixture.ErrorProblems(run, "Resource Anchor is missing for item with index:   (ResID: 300)", 4), "")
        << limit;
  }
  const std::string indexOnly =
      "'DLGH' 300 Dialog300 {\n"
      "5\t\"Five\"\tFive\n"
      "3\t\"Three\"\tThree\n"
      "}\n";
  testsupport::ContextFixture fixture;
  const auto run = fixture.Convert(indexOnly);
  EXPECT_EQ(fixture.ErrorProblems(run, "Current index is less then previous one  (ResID: 300)", 3), "");
}

}  // namespace
