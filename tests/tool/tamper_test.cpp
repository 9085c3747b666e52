// Tampering with a marked image: every change of one pixel, and every
// change of one byte of the marked BMP file that alters a decoded pixel or
// makes the file unreadable, must make kova v fail with one error line,
// status 1 and no output file. Byte changes that leave every pixel as it was
// (fields the reader ignores, row padding) must still verify and restore the
// original.
//
// Byte values tried per offset: for the 62 header and palette bytes, every
// single-bit flip, 0x00, 0xFF and the value plus and minus one; for the
// pixel bytes, every bit of the row padding, which holds no pixel, and the
// complement of the whole byte (single pixel bits are the pixel sweep).
//
// The image is signed by the kova program; the thousands of verifications
// run the tool's own entry point in forked children, which saves starting a
// program each time.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "driver.h"
#include "image/imgbin.h"
#include "image/leimp.h"
#include "kova_run.h"
#include "support/files.h"
#include "support/images.h"
#include "test_pages.h"

using imagorix::IMGBIN;

namespace {

const std::string KEY = "20240607";
const std::string FAILED = "AW FAILED: image was modified or a wrong key was used\n \n";

// Rows and columns past the last whole 3x3 block are covered by the MAC too.
constexpr int NL = 61, NC = 62;
constexpr int OFFSET = 62;                   // pixel rows start here
constexpr int ROWBYTES = 4 * ((NC + 31) / 32);

using testsupport::exists;

std::string tmp(const std::string& stem) { return testsupport::scratch_path(stem); }

// A page-like image: strokes and rules on white, which the watermark fits in.
IMGBIN page() {
  IMGBIN b(NL, NC, 1);
  for (int l = 0; l < NL; ++l)
    for (int c = 0; c < NC; ++c) {
      const bool ink = (l % 12 >= 3 && l % 12 <= 5 && (c / 4) % 3 != 2) || (c % 17 == 3 && l % 12 < 8) ||
                       (l == NL - 1 && c % 2 == 0);
      b.set(l, c, !ink);
    }
  return b;
}

// How the library decodes a file, judged in a child because a refusal ends
// the process.
enum class Decoded { SAME, OTHER, UNREADABLE };

Decoded decode(const std::string& name, const IMGBIN& reference) {
  const int status = testsupport::run_in_child([&] {
                       IMGBIN img;
                       imagorix::le(img, name);
                       return testsupport::same_pixels(img, reference) ? 0 : 2;
                     }).status;
  return status == 0 ? Decoded::SAME : status == 2 ? Decoded::OTHER : Decoded::UNREADABLE;
}

class Tamper : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    original_ = new IMGBIN(page());
    const std::string orig = tmp("original.bmp");
    marked_name_ = new std::string(tmp("marked.bmp"));
    original_->ImpBmp(orig);
    const KovaResult r = run_kova({"s", orig, KEY, *marked_name_});
    std::remove(orig.c_str());
    ASSERT_EQ(r.status, 0) << r.err;
    marked_ = new IMGBIN;
    imagorix::le(*marked_, *marked_name_);
    marked_bytes_ = new std::string(testsupport::read_text(*marked_name_));
  }
  static void TearDownTestSuite() {
    std::remove(marked_name_->c_str());
    delete original_;
    delete marked_;
    delete marked_name_;
    delete marked_bytes_;
  }

  // kova v on a tampered file must fail: status 1, one error line (the
  // verification failure's own line feed gives it a second line holding
  // the separator blank), nothing on stdout, no output file.
  static void expect_refused(const std::string& file, const std::string& what) {
    const std::string out = tmp("reverted.bmp");
    std::remove(out.c_str());
    const KovaResult r = kova_child({"v", KEY, file, out});
    EXPECT_EQ(r.status, 1) << what;
    EXPECT_EQ(r.out, "") << what;
    const bool one_line = !r.err.empty() && r.err.find('\n') == r.err.size() - 1;
    EXPECT_TRUE(r.err == FAILED || one_line) << what << ": " << r.err;
    EXPECT_FALSE(exists(out)) << what;
    std::remove(out.c_str());
  }

  // kova v on a file whose pixels are the marked ones must verify and give
  // back the original.
  static void expect_verified(const std::string& file, const std::string& what) {
    const std::string out = tmp("reverted.bmp");
    std::remove(out.c_str());
    const KovaResult r = kova_child({"v", KEY, file, out});
    EXPECT_EQ(r.status, 0) << what << ": " << r.err;
    EXPECT_EQ(r.out, "AW VERIFIED: authentication watermark verified\n") << what;
    IMGBIN back;
    if (r.status == 0) {
      imagorix::le(back, out);
      EXPECT_TRUE(testsupport::same_pixels(back, *original_)) << what;
    }
    std::remove(out.c_str());
  }

  static IMGBIN* original_;
  static IMGBIN* marked_;
  static std::string* marked_name_;
  static std::string* marked_bytes_;
};

IMGBIN* Tamper::original_ = nullptr;
IMGBIN* Tamper::marked_ = nullptr;
std::string* Tamper::marked_name_ = nullptr;
std::string* Tamper::marked_bytes_ = nullptr;

TEST_F(Tamper, MarkedImageVerifiesUntouched) {
  ASSERT_EQ(marked_bytes_->size(), std::size_t(OFFSET + NL * ROWBYTES));
  expect_verified(*marked_name_, "the marked file itself");
  // The program itself agrees with its entry point run in a child.
  const std::string out = tmp("reverted-program.bmp");
  const KovaResult r = run_kova({"v", KEY, *marked_name_, out});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(exists(out));
  std::remove(out.c_str());
}

TEST_F(Tamper, EverySinglePixelChangeIsRefused) {
  const std::string file = tmp("pixel.bmp");
  int tried = 0;
  for (int l = 0; l < NL; ++l)
    for (int c = 0; c < NC; ++c) {
      IMGBIN t(*marked_);
      t.set(l, c, !t.get(l, c));
      t.ImpBmp(file);
      expect_refused(file, "pixel (" + std::to_string(l) + ", " + std::to_string(c) + ")");
      ++tried;
      if (HasFailure()) {
        std::remove(file.c_str());
        return;  // one broken case says enough; thousands would drown it
      }
    }
  std::remove(file.c_str());
  EXPECT_EQ(tried, NL * NC);
  RecordProperty("single_pixel_changes", tried);
  std::printf("[ INFO     ] %d single-pixel changes, all refused\n", tried);
}

TEST_F(Tamper, ByteChangesFailUnlessEveryPixelStays) {
  const std::string& m = *marked_bytes_;
  const std::string file = tmp("byte.bmp");
  int refused = 0, verified = 0;
  for (int off = 0; off < static_cast<int>(m.size()); ++off) {
    const auto v = static_cast<unsigned char>(m[off]);
    std::set<int> values;
    if (off < OFFSET) {
      for (int b = 0; b < 8; ++b) values.insert(v ^ (1 << b));
      values.insert({0x00, 0xFF, (v + 1) & 0xFF, (v + 255) & 0xFF});
    } else {
      values.insert(v ^ 0xFF);
      // Row padding: the bits after column NC - 1 of each row.
      const int in_row = (off - OFFSET) % ROWBYTES;
      for (int b = 0; b < 8; ++b)
        if (8 * in_row + (7 - b) >= NC) values.insert(v ^ (1 << b));
    }
    values.erase(v);
    for (int nv : values) {
      std::string t = m;
      t[off] = static_cast<char>(nv);
      testsupport::write_text(file, t);
      const std::string what = "byte " + std::to_string(off) + " set to " + std::to_string(nv);
      if (decode(file, *marked_) == Decoded::SAME) {
        expect_verified(file, what);
        ++verified;
      } else {
        expect_refused(file, what);
        ++refused;
      }
      if (HasFailure()) {
        std::remove(file.c_str());
        return;
      }
    }
  }
  std::remove(file.c_str());
  // The padding bits and the fields the reader ignores keep every pixel.
  EXPECT_GE(verified, NL * (8 * ROWBYTES - NC));
  EXPECT_GT(refused, 0);
  RecordProperty("byte_changes_refused", refused);
  RecordProperty("byte_changes_verified", verified);
  std::printf("[ INFO     ] %d byte changes: %d refused, %d left the pixels and verified\n", refused + verified,
              refused, verified);
}

}  // namespace
