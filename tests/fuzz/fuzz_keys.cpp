// Key extraction (-j) of arbitrary source bytes, and the header of named numbers (-h) read
// from arbitrary bytes. The length of the input picks the option set.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace {

const std::vector<std::vector<std::string>> kOptionSets = {
    {"-i", "src.klx", "-o", "out/keys.txt", "-t", "w", "-j", "APP", "-p", "img;data"},
    {"-i", "src.klx", "-o", "out/keys.txt", "-t", "w", "-c", "932", "-j", "APP"},
    {"-i", "src.klx", "-o", "out/keys.txt", "-t", "w", "-q", "utf-8", "utf-16", "-j", "APP"},
    {"-h", "src.klx", "-i", "fixed.klx", "-o", "out/res.rc", "-t", "w", "-p", "img;data"},
};

const char kFixedSource[] =
    "'STR#' 128 \"Strings\"\n{\n\t\"One\"\n\t\"Two\"\n}\n"
    "'MDID' 200 \"Ids\"\n{\n\tIDS_ONE\n\tIDS_TWO\n}\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  fuzzsupport::WriteFile("fixed.klx", kFixedSource);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::WriteFile("src.klx", data, size);
  fuzzsupport::RunTessel(kOptionSets[size % kOptionSets.size()]);
  return 0;
}
