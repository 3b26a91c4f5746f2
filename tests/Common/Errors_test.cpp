#include "Common/Errors.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using tessel::ErrorContext;
using tessel::FatalError;

namespace {
FatalError Catch(const std::function<void()>& f) {
  try {
    f();
  } catch (const FatalError& e) {
    return e;
  }
  ADD_FAILURE() << "no fatal error";
  return {};
}
}  // namespace

TEST(Errors, LocationPrefixFollowsTheInputName) {
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"res.klx", "\n\n/home/u/work/res.klx (12) : Bad\n\n"},
      {"./res.klx", "\n\n/home/u/work/res.klx (12) : Bad\n\n"},
      {".\\res.klx", "\n\n/home/u/work/res.klx (12) : Bad\n\n"},
      {"../res.klx", "\n\n/home/u/work/../res.klx (12) : Bad\n\n"},
      {".hidden.klx", "\n\n/home/u/work/.hidden.klx (12) : Bad\n\n"},
      {"/abs/res.klx", "\n\n/abs/res.klx (12) : Bad\n\n"},
      {"./", "\n\n/home/u/work/./ (12) : Bad\n\n"},
  };
  for (const auto& c : cases) {
    ErrorContext errors;
    errors.SetCurrentDirectory("/home/u/work");
    errors.SetInputName(c.input);
    EXPECT_EQ(errors.Compose("Bad", 12), c.expected) << c.input;
  }
  ErrorContext errors;
  errors.SetCurrentDirectory("/");
  errors.SetInputName("a.klx");
  EXPECT_EQ(errors.Compose("Bad", 1), "\n\n/a.klx (1) : Bad\n\n");
  EXPECT_EQ(errors.Compose("Bad", 0), "\n\nBad\n\n");
}

TEST(Errors, ReportsComposeMessageDetailsAndResourceId) {
  ErrorContext errors;
  errors.SetCurrentDirectory("/w");
  errors.SetInputName("r.klx");
  auto e = Catch([&] { errors.SourceError("Illegal character: ", "/", "", 3); });
  EXPECT_EQ(e.text, "Illegal character: /");
  EXPECT_EQ(e.report, "\n\n/w/r.klx (3) : Illegal character: /\n\n");
  errors.SetResourceID("128");
  e = Catch([&] { errors.SourceError("String is missing", "", "", 4); });
  EXPECT_EQ(e.text, "String is missing  (ResID: 128)");
  errors.SetResourceID(nullptr);
  e = Catch([&] { errors.SourceError("A", "b", "c", 4); });
  EXPECT_EQ(e.text, "Abc");
  e = Catch([&] { errors.GeneralError("Cannot open temp anchor:%s for writing!", "x.res.tmt"); });
  EXPECT_EQ(e.text, "GeneralError: Cannot open temp anchor:x.res.tmt for writing!");
  EXPECT_EQ(e.report, "\n\nGeneralError: Cannot open temp anchor:x.res.tmt for writing!\n\n");
  e = Catch([&] { errors.ErrorExit("Illegal target specification!"); });
  EXPECT_EQ(e.report, "\n\nIllegal target specification!\n\n");
}

TEST(Errors, ErrorFileReceivesTheReportAndIsDeletedOnSuccess) {
  testsupport::TempDir dir;
  {
    ErrorContext errors;
    errors.Setup(dir.file("err.txt").c_str());
    auto e = Catch([&] { errors.ErrorExit("Boom"); });
    errors.Deliver(e);
    EXPECT_EQ(dir.read("err.txt"), "\n\nBoom\n\n");
  }
  {
    ErrorContext errors;
    dir.write("ok.txt", "the report of an earlier run");
    errors.Setup(dir.file("ok.txt").c_str());
    errors.Finish();
    EXPECT_FALSE(dir.exists("ok.txt"));
  }
  {
    ErrorContext errors;
    errors.Setup("#Done");
    testing::internal::CaptureStdout();
    errors.Finish();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Done");
  }
  {
    // The name is cut to its first 31 characters.
    std::string longName = dir.path() + "/" + std::string(40, 'e');
    std::string cut = longName.substr(0, 31);
    ErrorContext errors;
    if (cut.size() < longName.size() && cut.rfind('/') == dir.path().size()) {
      errors.Setup(longName.c_str());
      EXPECT_TRUE(testsupport::ReadFile(cut).empty());
      errors.Finish();
    }
  }
  ErrorContext errors;
  auto e = Catch([&] { errors.Setup("/nonexistent-dir/err.txt"); });
  EXPECT_EQ(e.report, "\n\nGeneral error: Can't open the error file\n\n");
}
