// The secure mode: a key file selects it, and the keyed cryptographic MAC
// refuses every change of a marked page, the changes that cancel out in the
// default mode's hash included.
//
// The thousands of verifications of changed pages run the verifier's own
// check (Authenticate) on the page in memory, each in a forked child, since
// a refusal ends the process.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "carriers.h"
#include "driver.h"
#include "image/imgbin.h"
#include "image/leimp.h"
#include "keying.h"
#include "kova_run.h"
#include "support/files.h"
#include "support/images.h"
#include "test_pages.h"
#include "verify.h"

using imagorix::IMGBIN;
using kova::KEYFILE;
using kova::KEYING;
using testsupport::exists;
using testsupport::scratch_path;

namespace {

constexpr int NL = 27, NC = 270;  // rows long enough for pairs 256 apart
constexpr int SMALL_NL = 33, SMALL_NC = 120;  // about the least a 128-bit mark fits in
constexpr int T = 128;
const std::string FAILED = "AW FAILED: image was modified or a wrong key was used\n \n";

std::string key_file(const std::string& name, std::vector<unsigned char> bytes) {
  return testsupport::write_bytes(scratch_path(name), bytes);
}

// The key argument naming a key file.
std::string at(const std::string& path) {
  std::string s = "@";
  s += path;
  return s;
}

std::vector<unsigned char> key_bytes() {
  std::vector<unsigned char> k(32);
  for (int i = 0; i < 32; ++i) k[i] = static_cast<unsigned char>(37 * i + 11);
  return k;
}

// Whether the verifier accepts img.
bool accepted(const IMGBIN& img, const KEYING& key) {
  return testsupport::run_in_child([&] {
           IMGBIN c = img;
           c.fundo() = 1;
           kova::Authenticate(c, key, T);
           return 0;
         }).status == 0;
}

IMGBIN flipped(IMGBIN img, std::initializer_list<std::pair<int, int>> at) {
  for (auto [l, c] : at) img.set(l, c, !img.get(l, c));
  return img;
}

class Secure : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    original_ = new IMGBIN(pages::Text(NL, NC, 7));
    orig_name_ = new std::string(scratch_path("secure_original.bmp"));
    key_name_ = new std::string(key_file("page.key", key_bytes()));
    original_->ImpBmp(*orig_name_);
    for (const auto& [mode, name] : {std::pair{at(*key_name_), "secure_marked.bmp"},
                                     {std::string("20261211"), "default_marked.bmp"}}) {
      const KovaResult r = kova_child({"s", *orig_name_, mode, scratch_path(name)});
      ASSERT_EQ(r.status, 0) << r.err;
    }
    const std::string small = scratch_path("secure_small.bmp");
    pages::Text(SMALL_NL, SMALL_NC, 7).ImpBmp(small);
    const KovaResult r = kova_child({"s", small, at(*key_name_), scratch_path("secure_small_marked.bmp")});
    ASSERT_EQ(r.status, 0) << r.err;
    small_ = new IMGBIN;
    imagorix::le(*small_, scratch_path("secure_small_marked.bmp"));
    secure_ = new IMGBIN;
    imagorix::le(*secure_, scratch_path("secure_marked.bmp"));
    plain_ = new IMGBIN;
    imagorix::le(*plain_, scratch_path("default_marked.bmp"));
    keying_ = new KEYING{0, std::make_shared<const KEYFILE>(*key_name_)};
    // Built once here rather than in every child.
    kova::VisTable();
  }

  static IMGBIN* original_;
  static IMGBIN* secure_;
  static IMGBIN* small_;  // for the sweep of every pixel
  static IMGBIN* plain_;
  static std::string* orig_name_;
  static std::string* key_name_;
  static KEYING* keying_;
};

IMGBIN* Secure::original_;
IMGBIN* Secure::secure_;
IMGBIN* Secure::small_;
IMGBIN* Secure::plain_;
std::string* Secure::orig_name_;
std::string* Secure::key_name_;
KEYING* Secure::keying_;

TEST_F(Secure, SignsVerifiesAndRestoresThroughTheCommandLine) {
  const std::string restored = scratch_path("secure_restored.bmp");
  const KovaResult r = kova_child({"v", at(*key_name_), scratch_path("secure_marked.bmp"), restored});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "AW VERIFIED: authentication watermark verified\n");
  IMGBIN back;
  imagorix::le(back, restored);
  EXPECT_TRUE(testsupport::same_pixels(back, *original_));
  EXPECT_TRUE(accepted(*secure_, *keying_));
  // The mark is not the default mode's: the pages differ.
  EXPECT_FALSE(testsupport::same_pixels(*secure_, *plain_));
}

TEST_F(Secure, EverySinglePixelChangeIsRefused) {
  std::vector<std::pair<int, int>> passed;
  for (int l = 0; l < SMALL_NL; ++l)
    for (int c = 0; c < SMALL_NC; ++c)
      if (accepted(flipped(*small_, {{l, c}}), *keying_)) passed.emplace_back(l, c);
  EXPECT_TRUE(passed.empty()) << passed.size() << " changed pages verified, the first at row "
                              << passed[0].first << " column " << passed[0].second;
}

// Two changes in one row cancel out in the default mode's hash when their
// distance suits it; here no distance may pass.
TEST_F(Secure, EveryPairInARowUpTo256ApartIsRefused) {
  std::vector<std::pair<int, int>> passed;  // (row, distance)
  for (int l : {0, NL / 2, NL - 1})
    for (int d = 1; d <= 256; ++d) {
      const int c0 = (l * 7) % (NC - d);
      if (accepted(flipped(*secure_, {{l, c0}, {l, c0 + d}}), *keying_)) passed.emplace_back(l, d);
    }
  EXPECT_TRUE(passed.empty()) << passed.size() << " changed pages verified, the first at row "
                              << passed[0].first << " distance " << passed[0].second;
}

// The default mode's weakness shown on this page, and the same changes made
// to the secure mode's page refused.
TEST_F(Secure, ChangesThatPassTheDefaultModeAreRefused) {
  const KEYING plain{20261211, nullptr};
  std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> cancelling;
  for (int l = 0; l < NL && cancelling.size() < 4; ++l)
    for (int d : {16, 32, 96})
      for (int c0 = 0; c0 + d < NC && cancelling.size() < 4; c0 += 29) {
        const std::pair<int, int> a{l, c0}, b{l, c0 + d};
        if (accepted(flipped(*plain_, {a, b}), plain)) cancelling.push_back({a, b});
      }
  ASSERT_FALSE(cancelling.empty()) << "no cancelling pair found on the default mode's page";
  for (const auto& [a, b] : cancelling)
    EXPECT_FALSE(accepted(flipped(*secure_, {a, b}), *keying_))
        << "row " << a.first << " columns " << a.second << " and " << b.second;
}

TEST_F(Secure, KeysAndModesNeverStandForEachOther) {
  // A key file differing in one bit.
  for (int bit : {0, 7, 255}) {
    std::vector<unsigned char> k = key_bytes();
    k[bit / 8] ^= static_cast<unsigned char>(1 << (bit % 8));
    const KEYING other{0, std::make_shared<const KEYFILE>(key_file("other.key", k))};
    EXPECT_FALSE(accepted(*secure_, other)) << "bit " << bit;
  }
  // A longer file is another key, not the same one with bytes ignored.
  std::vector<unsigned char> longer = key_bytes();
  longer.push_back(0);
  EXPECT_FALSE(accepted(*secure_, KEYING{0, std::make_shared<const KEYFILE>(key_file("longer.key", longer))}));
  // The numeric key that gives the same carrier order reads the same header,
  // and still the default mode's hash does not vouch for the page.
  EXPECT_FALSE(accepted(*secure_, KEYING{keying_->seed(), nullptr}));
  EXPECT_FALSE(accepted(*plain_, *keying_));
  EXPECT_TRUE(accepted(*plain_, KEYING{20261211, nullptr}));
}

TEST_F(Secure, KeyFileErrorsComeFirstWithOneLine) {
  const std::string shortk = key_file("short.key", std::vector<unsigned char>(31, 1));
  const std::string nothing = scratch_path("nothing.bmp"), out = scratch_path("never.bmp");
  const std::string marked = scratch_path("secure_marked.bmp");
  struct Caso {
    std::vector<std::string> args;
    std::string err;
  } casos[] = {
      // The key file is read before the image, which here does not exist.
      {{"s", nothing, at(scratch_path("none.key")), out},
       "Error: key file cannot be read: " + scratch_path("none.key") + "\n"},
      {{"v", at(shortk), nothing, out}, "Error: key file holds fewer than 32 bytes: " + shortk + "\n"},
      {{"v", "@", nothing, out}, "Error: key file cannot be read: \n"},
      {{"s", *orig_name_, at(*key_name_), out, "96"},
       "Error: TamMAC must be between 128 and 512 in the secure mode \n"},
      {{"v", at(*key_name_), marked, out, "544"},
       "Error: TamMAC must be between 128 and 512 in the secure mode \n"},
      {{"v", at(*key_name_), scratch_path("default_marked.bmp"), out}, ""},
  };
  for (const Caso& k : casos) {
    const KovaResult r = kova_child(k.args);
    EXPECT_EQ(r.status, 1) << k.args[2];
    if (!k.err.empty()) {
      EXPECT_EQ(r.err, k.err);
    }
    EXPECT_FALSE(exists(out));
  }
}

}  // namespace
