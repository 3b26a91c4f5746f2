#include "FuzzSupport.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Common/MainCons.h"
#include "prepkit/Prepkit.h"

namespace fuzzsupport {

namespace fs = std::filesystem;

namespace {

std::string& OwnedWorkDir() {
  static std::string dir;
  return dir;
}

void RemoveOwnedWorkDir() {
  std::error_code ec;
  if (!OwnedWorkDir().empty()) fs::remove_all(OwnedWorkDir(), ec);
}

std::string MakeWorkDir() {
  if (const char* given = std::getenv("TESSEL_FUZZ_WORK"); given && *given) {
    fs::create_directories(given);
    return fs::absolute(given).string();
  }
  std::string base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
  std::string pattern = base + "/tessel-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create the fuzz work directory");
  OwnedWorkDir() = pattern;
  std::atexit(RemoveOwnedWorkDir);
  return pattern;
}

// An RGBA image with a few colours and transparent corners.
void WritePng(const std::string& path, int width, int height, bool alpha) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const int channels = alpha ? 4 : 3;
  std::vector<png_byte> pixels(static_cast<size_t>(width * height * channels));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      png_byte* p = &pixels[static_cast<size_t>((y * width + x) * channels)];
      p[0] = static_cast<png_byte>(x * 16);
      p[1] = static_cast<png_byte>(y * 16);
      p[2] = static_cast<png_byte>((x + y) * 8);
      if (alpha) p[3] = (x == 0 || y == 0) ? 0 : 255;
    }
  }
  if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error("cannot write the fixture " + path);
  }
}

// Every fixture goes into both directories, so that the image handlers (first path only),
// 'TEXT' (first path only) and the other data handlers (every path) all find them.
void WriteFixtures() {
  for (const std::string dir : {kImageDir, kDataDir}) {
    fs::create_directories(dir);
    // Icons and cursors: plain PNGs, scaled PNGs, the @2x fallback, an RGB PNG, a broken PNG,
    // a text file named .png, and SVG sources without PNG (rendered on demand).
    WritePng(dir + "/arrow.png", 16, 16, true);
    WritePng(dir + "/arrow@1.50x.png", 24, 24, true);
    WritePng(dir + "/arrow@2x.png", 32, 32, true);
    WritePng(dir + "/flat.png", 8, 8, false);
    WritePng(dir + "/hand.png", 16, 16, true);
    WriteFile(dir + "/broken.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    WriteFile(dir + "/notpng.png", "plain text\n");
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
        "<rect x=\"2\" y=\"2\" width=\"12\" height=\"12\" fill=\"#3060c0\"/></svg>\n";
    WriteFile(dir + "/star_16x16.svg", svg);
    WriteFile(dir + "/Gear_8x8.SVG", svg);
    WriteFile(dir + "/bad_16x16.svg", "<svg");
    // Embedded files: text in several encodings, binary data, JSON, a header of named numbers.
    WriteFile(dir + "/text.txt", "Hello\r\nWorld\r\n");
    WriteFile(dir + "/odd.txt", "abc");
    WriteFile(dir + "/empty.txt", "");
    WriteFile(dir + "/utf8.txt", "\xEF\xBB\xBFH\xC3\xA9llo\n");
    WriteFile(dir + "/utf16.txt", std::string("\xFF\xFEH\0i\0", 6));
    WriteFile(dir + "/bin.dat", std::string("\0\1\2\3\xFF\xFE\x80", 7));
    WriteFile(dir + "/doc.json", "{\"a\": [1, 2, 3]}\n");
    WriteFile(dir + "/help.h", "#define IDS_ONE 1\n#define IDS_TWO 0x20\n");
  }
  WriteFile("text.txt", "in the work directory\n");
}

void Quieten() {
  int null = open("/dev/null", O_RDWR);
  if (null < 0) return;
  dup2(null, 0);
  dup2(null, 1);
  close(null);
  // The program writes its notes through the stderr stream; the fuzzer and the sanitizers
  // keep the original descriptor.
  if (FILE* sink = std::fopen("/dev/null", "w")) stderr = sink;
}

void ClearOutputs() {
  std::error_code ec;
  fs::remove_all("out", ec);
  fs::remove_all("dest", ec);
}

std::vector<char*> ArgumentVector(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string dir = MakeWorkDir();
  fs::current_path(dir);
  WriteFixtures();
  Quieten();
}

void WriteFile(const std::string& name, const uint8_t* data, size_t size) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void WriteFile(const std::string& name, const std::string& content) {
  WriteFile(name, reinterpret_cast<const uint8_t*>(content.data()), content.size());
}

int RunTessel(const std::vector<std::string>& args) {
  ClearOutputs();
  std::vector<std::string> all = {"tessel"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv = ArgumentVector(all);
  return tessel::MainCons(static_cast<int>(all.size()), argv.data());
}

int RunPrepkit(const std::vector<std::string>& args) {
  ClearOutputs();
  std::vector<std::string> all = {"prepkit"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv = ArgumentVector(all);
  return tessel::PrepkitMain(static_cast<int>(all.size()), argv.data());
}

}  // namespace fuzzsupport
