#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cbb/cbb_generator.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "tests/support/command_output.h"

namespace drovanexis::cbb {
namespace {

constexpr const char* kQuery = "?re=AAA010101AAA&rr=FOHG380609Q76...";

bool zbarimg_available() { return std::system("command -v zbarimg >/dev/null 2>&1") == 0; }

// What zbarimg reads in the image, without its trailing line break.
std::string decode_with_zbarimg(const std::string& file) {
  const std::string command = "zbarimg --quiet --raw '" + file + "' 2>/dev/null";
  std::string out = test_support::run_command_line(command).output;
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::string read(const std::string& name) { return portable::read_file(name).value_or(""); }

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8U | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

class CbbTest : public ::testing::Test {
 protected:
  portable::TestFolder folder_;
};

// The two calls of the demo's option 8, the second with the verification
// address; the log named ".\QR.LOG" is read back as "qr.log".
TEST_F(CbbTest, BothDemoBitmapsDecodeToTheirContentAndShareOneLog) {
  if (!zbarimg_available()) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  EXPECT_EQ(generate_cbb({kQuery, ".\\QR_ind.BMP", 0, ".\\QR.LOG", 1, 4, 5}), kCbbGenerated);
  EXPECT_EQ(generate_cbb({kQuery, ".\\QR_dep.BMP", 1, ".\\QR.LOG", 1, 4, 5}), kCbbGenerated);

  EXPECT_EQ(decode_with_zbarimg("QR_ind.BMP"), kQuery);
  EXPECT_EQ(
      decode_with_zbarimg("QR_dep.BMP"),
      "https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx" + std::string(kQuery));

  const std::string log = read("qr.log");
  EXPECT_NE(log.find(".\\QR_ind.BMP"), std::string::npos) << log;
  EXPECT_NE(log.find(".\\QR_dep.BMP"), std::string::npos) << log;
  EXPECT_NE(log.find("Resultado: 0"), log.rfind("Resultado: 0")) << "both calls logged:\n" << log;
  EXPECT_NE(log.find("\r\n"), std::string::npos);
  EXPECT_EQ(log.find("\n\n"), std::string::npos);
}

// Every error-correction level and a 1-pixel module with no quiet zone still
// read back; widths that are not a multiple of 32 exercise the row padding.
TEST_F(CbbTest, EveryLevelAndSizeDecodes) {
  if (!zbarimg_available()) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  struct Case {
    int level, module, margin;
  };
  for (const Case c : {Case{0, 3, 4}, Case{1, 2, 1}, Case{2, 5, 2}, Case{3, 4, 4}, Case{1, 7, 3}}) {
    const std::string text = "UUID=b9b2902e-2f4f-4e9f-b959-6aa615b92ae3&tt=1102.0";
    ASSERT_EQ(generate_cbb({text, "qr.bmp", 0, "qr.log", c.level, c.module, c.margin}),
              kCbbGenerated);
    EXPECT_EQ(decode_with_zbarimg("qr.bmp"), text)
        << "level " << c.level << " module " << c.module << " margin " << c.margin;
  }
}

TEST_F(CbbTest, BitmapHeaderDescribesAMonochromeBottomUpImage) {
  ASSERT_EQ(generate_cbb({"A", "one.bmp", 0, "", 0, 3, 2}), kCbbGenerated);
  const std::string bmp = read("one.bmp");
  ASSERT_GE(bmp.size(), 62U);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(le32(bmp, 2), bmp.size());
  // Version 1 is 21 modules: (21 + 2 × 2) × 3 = 75 pixels, rows of 12 bytes.
  EXPECT_EQ(le32(bmp, 18), 75U);
  EXPECT_EQ(le32(bmp, 22), 75U);
  EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 1);  // bits per pixel
  EXPECT_EQ(bmp.size(), 62U + 12U * 75U);
  // The quiet zone: the first stored row (the bottom one) is light throughout.
  EXPECT_EQ(static_cast<unsigned char>(bmp[62]), 0xFF);
}

// Whether the 7 × 7 modules at (left, top) of a 1-pixel-module bitmap without
// quiet zone form a finder pattern: dark ring, light ring, dark 3 × 3 centre.
bool finder_at(const std::string& bmp, std::uint32_t side, std::uint32_t left, std::uint32_t top) {
  const std::uint32_t stride = (side + 31) / 32 * 4;
  auto dark = [&](std::uint32_t x, std::uint32_t y_from_top) {
    const std::size_t row = 62 + (side - 1 - y_from_top) * stride;
    return (static_cast<unsigned char>(bmp[row + x / 8]) & (0x80U >> (x % 8))) == 0;
  };
  for (std::uint32_t dy = 0; dy < 7; ++dy) {
    for (std::uint32_t dx = 0; dx < 7; ++dx) {
      const std::uint32_t ring = std::min(std::min(dx, dy), std::min(6 - dx, 6 - dy));
      if (dark(left + dx, top + dy) != (ring != 1)) return false;
    }
  }
  return true;
}

// Rows are stored bottom-up: the finder patterns sit top-left, top-right and
// bottom-left, never bottom-right.
TEST_F(CbbTest, SymbolIsUprightAndNotMirrored) {
  ASSERT_EQ(generate_cbb({"upright", "up.bmp", 0, "", 1, 1, 0}), kCbbGenerated);
  const std::string bmp = read("up.bmp");
  const std::uint32_t side = le32(bmp, 18);
  ASSERT_EQ(side, 21U);
  EXPECT_TRUE(finder_at(bmp, side, 0, 0));
  EXPECT_TRUE(finder_at(bmp, side, side - 7, 0));
  EXPECT_TRUE(finder_at(bmp, side, 0, side - 7));
  EXPECT_FALSE(finder_at(bmp, side, side - 7, side - 7));
}

TEST_F(CbbTest, FailuresAreLoggedAndWriteNoBitmap) {
  struct Case {
    CbbRequest request;
    int expected;
    const char* in_log;
  };
  const Case cases[] = {
      {{kQuery, "bad.bmp", 2, "fail.log", 1, 4, 5}, kCbbBadArgument, "modo 2"},
      {{kQuery, "bad.bmp", 0, "fail.log", 4, 4, 5}, kCbbBadArgument, "corrección 4"},
      {{kQuery, "bad.bmp", 0, "fail.log", 1, 0, 5}, kCbbBadArgument, "módulo 0"},
      {{kQuery, "bad.bmp", 0, "fail.log", 1, 4, -1}, kCbbBadArgument, "margen -1"},
      {{"", "bad.bmp", 0, "fail.log", 1, 4, 5}, kCbbNotEncodable, "vacío"},
      {{std::string(3000, 'x'), "bad.bmp", 0, "fail.log", 3, 4, 5}, kCbbNotEncodable, "no cabe"},
      {{kQuery, "missing-folder/bad.bmp", 0, "fail.log", 1, 4, 5},
       kCbbNotWritten,
       "missing-folder"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove("fail.log");
    EXPECT_EQ(generate_cbb(c.request), c.expected) << c.in_log;
    const std::string log = portable::cp1252_to_utf8(read("fail.log"));
    EXPECT_NE(log.find("ERROR"), std::string::npos) << log;
    EXPECT_NE(log.find(c.in_log), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists("bad.bmp"));
  }
}

// A call adds its lines at the end of the log it shares with earlier calls:
// the same file (same inode), its earlier bytes untouched, the new lines on a
// line of their own.
TEST_F(CbbTest, LogIsAppendedToInPlace) {
  const struct {
    std::string earlier;
    std::string separator;
  } cases[] = {
      {"", ""},
      {std::string("2020-01-01 previo\r\n\xF3\0x\r\n", 24), ""},
      {"sin fin de l\xEDnea", "\r\n"},
      {"solo LF\n", ""},
  };
  for (const auto& c : cases) {
    std::filesystem::remove("qr.log");
    std::ofstream("qr.log", std::ios::binary) << c.earlier;
    struct stat before {};
    ASSERT_EQ(::stat("qr.log", &before), 0);

    ASSERT_EQ(generate_cbb({kQuery, "qr.bmp", 0, "qr.log", 1, 4, 5}), kCbbGenerated);

    struct stat after {};
    ASSERT_EQ(::stat("qr.log", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the log was replaced, not appended to";
    const std::string log = read("qr.log");
    ASSERT_GE(log.size(), c.earlier.size() + c.separator.size());
    EXPECT_EQ(log.substr(0, c.earlier.size()), c.earlier);
    EXPECT_EQ(log.substr(c.earlier.size(), c.separator.size()), c.separator);
    const std::string added =
        portable::cp1252_to_utf8(log.substr(c.earlier.size() + c.separator.size()));
    EXPECT_EQ(added.substr(0, 2), "20") << "the heading's date opens the new lines: " << added;
    EXPECT_NE(added.find(" Generación de CBB\r\n"), std::string::npos) << added;
    EXPECT_TRUE(added.ends_with("Resultado: 0 (CBB generado)\r\n")) << added;
  }
}

}  // namespace
}  // namespace drovanexis::cbb
