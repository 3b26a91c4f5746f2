// Key extraction over the bundled example: the key list and the keyed source are compared
// with the recorded ones (TESSEL_UPDATE_GOLDEN=1 records them again), and the keyed source,
// with its keys in place of the texts, must still convert.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "platform/Platform.h"

namespace {

TEST(ExampleKeys, KeyListAndKeyedSourceAsRecordedAndTheKeyedSourceConverts) {
  testsupport::TempDir dir;
  const std::string examples = std::string(TESSEL_SOURCE_DIR) + "/examples";
  const std::string recorded = std::string(TESSEL_SOURCE_DIR) + "/tests/keys/example/";
  ASSERT_EQ(platform::RunProgram({TESSEL_BINARY, "-i", "app.klx", "-o", dir.file("app.json"), "-t", "w", "-j", "App"},
                                 examples),
            0);
  const std::string keyList = dir.read("app.json");
  const std::string keyed = dir.read("app.json.keys");
  const char* update = std::getenv("TESSEL_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    testsupport::WriteFile(recorded + "app.json", keyList);
    testsupport::WriteFile(recorded + "app.json.keys", keyed);
  }
  EXPECT_EQ(keyList, testsupport::ReadFile(recorded + "app.json"));
  EXPECT_EQ(keyed, testsupport::ReadFile(recorded + "app.json.keys"));

  // The keyed source begins with the UTF-8 mark, which a conversion without -q does not take.
  ASSERT_EQ(keyed.substr(0, 3), "\xEF\xBB\xBF");
  dir.write("keyed.klx", keyed.substr(3));
  EXPECT_EQ(platform::RunProgram({TESSEL_BINARY, "-i", dir.file("keyed.klx"), "-o", dir.file("out/app.rc"), "-t", "w",
                                  "-p", "images;data", "-w", "1.5", "2", "-d", "WINDOWS"},
                                 examples),
            0);
  EXPECT_TRUE(dir.exists("out/app.rc"));
}

}  // namespace
