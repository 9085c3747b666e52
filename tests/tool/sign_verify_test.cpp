// Sign and verify through the built program: its output streams, status and
// files, checked against the search done the plain way and the marked image
// rebuilt from the original by the payload layout.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bitstr.h"
#include "carriers.h"
#include "golomb.h"
#include "image/img.h"
#include "image/leimp.h"
#include "kova_run.h"
#include "payload.h"
#include "random/hash.h"
#include "search_reference.h"
#include "support/files.h"
#include "support/images.h"
#include "test_pages.h"

using namespace kova;
using testsupport::same_pixels;

namespace {

using testsupport::exists;
using testsupport::scratch_path;

// A fresh path: whatever a run leaves there is its own doing.
std::string fresh(const std::string& name) {
  const std::string p = scratch_path(name);
  std::filesystem::remove(p);
  return p;
}

std::string write(const IMGBIN& img, const std::string& name) {
  const std::string p = scratch_path(name);
  imagorix::imp(img, p);
  return p;
}

IMGBIN read(const std::string& path) {
  IMGBIN img;
  imagorix::le(img, path);
  return img;
}

const VETOR<int>& Vis() {
  static const VETOR<int> vis = MakeVisTable();
  return vis;
}

const std::string kVerified = "AW VERIFIED: authentication watermark verified\n";
const std::string kFailed = "AW FAILED: image was modified or a wrong key was used\n \n";

// The carriers of an image in the plain quicksorted order.
struct Plain {
  IMGBIN img;
  VETOR<PONTOI4> blocks;
  Plain(const IMGBIN& image, int key) : img(image) {
    img.fundo() |= 1u;
    blocks = SortBlocks(img, Vis(), key);
  }
  int nb() const { return blocks.n(); }
  IMGBIN::BIT carrier(int p) {
    const int k = blocks(p)(3), bpr = img.nc() / 3;
    return img(3 * (k / bpr) + 1, 3 * (k % bpr) + 1);
  }
  // Payload bits: black reads '1'.
  std::string field(int first, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s.push_back(carrier(first + i) ? '0' : '1');
    return s;
  }
};

// What sign prints for an image, and where its search ends.
struct Expected {
  reference::SearchTrace search;
  std::string out;
};

Expected ExpectedSign(const IMGBIN& original, int key, int T, int m) {
  IMGBIN img(original);
  img.fundo() |= 1u;
  const CARRIERS car(img, Vis(), key);
  Expected e{reference::Search(car, T, m), ""};
  e.out = e.search.out;
  if (e.search.ok()) {
    const int last = e.search.B + T + 20 + e.search.w;
    e.out += "Beginning = " + std::to_string(e.search.B) + "\n";
    e.out += "Largest changed VIS=" + std::to_string(Plain(original, key).blocks(last)(0)) + "\n";
  }
  return e;
}

// The marked image rebuilt from the original: header and compressed bits on
// their carriers ('1' black), MAC carriers black while the MAC is taken over
// every pixel row-major, then the MAC ('1' white). Every other pixel is the
// original's, so comparing with it also says that sign changed nothing but
// the carriers of positions 0 ... 15 and B ... B+T+20+w.
IMGBIN ExpectedMarked(const IMGBIN& original, int key, int T, int m, const reference::SearchTrace& t) {
  Plain pl(original, key);
  std::string S;
  const auto bit = [&](int p) { return pl.carrier(p) != (pl.blocks(p)(1) <= 4) ? '1' : '0'; };
  for (int p = 0; p < 16; ++p) S.push_back(bit(p));
  for (int p = t.B; p < t.B + t.n - 16; ++p) S.push_back(bit(p));
  const std::string C = GOLOMB(m).encode(S);
  EXPECT_EQ(static_cast<int>(C.size()), t.w);
  const std::string P =
      bitstr((t.B - 16) / 32, 16) + bitstr(m - 2, 5) + bitstr(static_cast<int>(C.size()), 16) + C;
  for (int j = 0; j < static_cast<int>(P.size()); ++j)
    pl.carrier(j < 16 ? j : t.B + T + j - 16) = P[j] == '0';
  for (int i = 0; i < T; ++i) pl.carrier(t.B + i) = false;
  imagorix::HASH h(T / 32, key);
  std::uint32_t acc = 0;
  int count = 0;
  for (int l = 0; l < pl.img.nl(); ++l)
    for (int c = 0; c < pl.img.nc(); ++c) {
      acc = 2 * acc + (pl.img(l, c) ? 1u : 0u);
      if (++count == 32) {
        h.absorb(acc);
        acc = 0;
        count = 0;
      }
    }
  if (count) h.absorb(acc);
  for (int i = 0; i < T; ++i) pl.carrier(t.B + i) = h(i) == 1;
  return pl.img;
}

// The stderr of a verify that must fail: too few blocks, a header that sends
// the reading past the list (the m and w fields are read before the MAC, at
// B ... B+T+20), or else a MAC that does not match.
std::string ExpectedRejection(const IMGBIN& marked, int key, int T) {
  Plain pl(marked, key);
  if (pl.nb() < T) return "Error: Image too small \n";
  const int B = 16 + 32 * bitval(pl.field(0, 16));
  if (B + T + 20 >= pl.nb()) return reference::kBounds;
  return kFailed;
}

std::vector<std::string> SignArgs(const std::string& in, int key, const std::string& out, int T, int m) {
  std::vector<std::string> a = {"s", in, std::to_string(key), out};
  if (T != 128 || m != 3) {  // the defaults are left to the program
    a.push_back(std::to_string(T));
    if (m != 3) a.push_back(std::to_string(m));
  }
  return a;
}

std::vector<std::string> VerifyArgs(int key, const std::string& in, const std::string& out, int T) {
  std::vector<std::string> a = {"v", std::to_string(key), in, out};
  if (T != 128) a.push_back(std::to_string(T));
  return a;
}

// Signs the original file, checks the program's output and the marked file,
// verifies it and checks that the restored file holds the original pixels.
void RoundTrip(const std::string& original_file, int key, int T, int m,
               const std::string& marked_name = "marked.bmp", const std::string& back_name = "back.bmp") {
  const IMGBIN original = read(original_file);
  const Expected e = ExpectedSign(original, key, T, m);
  ASSERT_TRUE(e.search.ok()) << "the case cannot be signed: " << e.search.err;
  const std::string marked = fresh(marked_name);
  const KovaResult s = run_kova(SignArgs(original_file, key, marked, T, m));
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.out, e.out);
  EXPECT_EQ(s.err, "");
  ASSERT_TRUE(exists(marked));

  const IMGBIN got = read(marked);
  EXPECT_TRUE(same_pixels(got, ExpectedMarked(original, key, T, m, e.search)));
  Plain pl(got, key);
  EXPECT_EQ(pl.field(0, 16), bitstr((e.search.B - 16) / 32, 16));
  EXPECT_EQ(pl.field(e.search.B + T, 5), bitstr(m - 2, 5));

  const std::string back = fresh(back_name);
  const KovaResult v = run_kova(VerifyArgs(key, marked, back, T));
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, kVerified);
  EXPECT_EQ(v.err, "");
  ASSERT_TRUE(exists(back));
  EXPECT_TRUE(same_pixels(read(back), original));
}

// A run that must fail: its exact streams, and no file where it would write.
void ExpectFailure(const std::vector<std::string>& args, const std::string& output,
                   const std::string& out, const std::string& err) {
  const KovaResult r = run_kova(args);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, out);
  EXPECT_EQ(r.err, err);
  EXPECT_FALSE(exists(output));
}

}  // namespace

TEST(SignVerify, RoundTripsGiveBackTheOriginal) {
  using namespace pages;
  struct Case {
    const char* what;
    IMGBIN img;
    int key, T, m;
  };
  const Case cases[] = {
      // 100 x 101: a row and two columns outside every block.
      {"text, defaults", Text(100, 101, 1), 42, 128, 3},
      {"text, MAC 1024", Text(200, 202, 2), -7, 1024, 3},
      {"text, MAC 32, m 7", Text(120, 122, 3), INT_MAX, 32, 7},
      {"light noise, m 2", Noise(95, 97, 4, 92), 123456789, 32, 2},
      // The last payload carrier has VIS 140, the region's last carrier 150.
      {"light noise, VIS of the last changed carrier", Noise(80, 81, 20, 90), 5, 128, 3},
      {"mostly white, MAC 1024, m 33", Noise(160, 161, 5, 99), INT_MIN, 1024, 33},
      {"white", IMGBIN(49, 50, 1), 9, 128, 33},
      {"black", IMGBIN(70, 71, 0), 9, 128, 2},
      {"smallest list that works with MAC 128", IMGBIN(3, 720, 1), 5, 128, 33},
      {"incompressible corners first", TwoKinds(120, 121, 6, 20, 90, 8), 77, 128, 7},
      {"slow growth", TwoKinds(99, 100, 7, 3, 60, 21), 1, 32, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RoundTrip(write(c.img, "original.bmp"), c.key, c.T, c.m);
  }
}

// With T = 128, a white strip of nb blocks: below T blocks both modes refuse
// the image; a first region past the list stops on its index check; up to
// 239 blocks the search ends nowhere that leaves room for one more region
// (240 blocks, the smallest list that works, is among the round trips).
TEST(SignVerify, ImagesTooSmallForTheMac) {
  struct Case {
    int nb, m;
    std::string err;
  };
  const Case cases[] = {
      {127, 3, "Error: Too small image: decrease TamMAC or increase image \n"},
      {128, 3, reference::kBounds},     {175, 33, reference::kBounds},
      {176, 33, reference::kImpossible}, {207, 3, reference::kImpossible},
      {208, 33, reference::kImpossible}, {239, 33, reference::kImpossible},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nb);
    const IMGBIN img(4, 3 * c.nb + 1, 1);
    const std::string in = write(img, "strip.bmp"), out = fresh("strip_marked.bmp");
    const Expected e = ExpectedSign(img, 3, 128, c.m);
    if (c.nb >= 128) {
      ASSERT_EQ(e.search.err, c.err);
    }
    ExpectFailure(SignArgs(in, 3, out, 128, c.m), out, e.out, c.err);
  }
  // Verify refuses the same way before it reads any carrier.
  const std::string in = write(IMGBIN(3, 3 * 127, 1), "strip.bmp"), out = fresh("strip_back.bmp");
  ExpectFailure(VerifyArgs(3, in, out, 128), out, "", "Error: Image too small \n");
  // Noise does not compress: the region moves along the whole list.
  const IMGBIN noise = pages::Noise(60, 60, 8, 50);
  const Expected e = ExpectedSign(noise, 3, 32, 3);
  ASSERT_EQ(e.search.err, reference::kImpossible);
  ASSERT_GT(e.search.moves, 5);
  const std::vector<std::string> args = SignArgs(write(noise, "noise.bmp"), 3, out, 32, 3);
  ExpectFailure(args, out, e.out, reference::kImpossible);
  // The lines printed before the error come before it in one stream too.
  EXPECT_EQ(testsupport::run_program_combined(KOVA_EXE, args), e.out + reference::kImpossible);
}

// Values the payload cannot carry, and a MAC of no bits, are refused before
// anything is written.
TEST(SignVerify, ParametersOutsideThePayloadAreRefused) {
  const std::string in = write(pages::Text(100, 101, 1), "params.bmp");
  const std::string out = fresh("params_out.bmp");
  const std::string m_range = "Error: m must be between 2 and 33 \n";
  const std::string positive = "Error: TamMAC must be positive \n";
  for (int m : {1, 34, 0, -3}) {
    SCOPED_TRACE(m);
    ExpectFailure(SignArgs(in, 1, out, 128, m), out, "", m_range);
  }
  for (int T : {0, -32}) {
    SCOPED_TRACE(T);
    ExpectFailure(SignArgs(in, 1, out, T, 3), out, "", positive);
    ExpectFailure(VerifyArgs(1, in, out, T), out, "", positive);
  }
}

// One image signed once; each case changes it and verifies the change.
class Tampered : public testing::Test {
 protected:
  static constexpr int key = 42, T = 128;
  static void SetUpTestSuite() {
    original = new IMGBIN(pages::Text(100, 101, 11));  // row 99, columns 99 and 100 outside blocks
    trace = new reference::SearchTrace(ExpectedSign(*original, key, T, 3).search);
    const std::string marked = fresh("tamper_marked.bmp");
    const KovaResult r = run_kova(SignArgs(write(*original, "tamper_original.bmp"), key, marked, T, 3));
    ASSERT_EQ(r.status, 0) << r.err;
    signed_img = new IMGBIN(read(marked));
  }
  static void TearDownTestSuite() {
    delete original;
    delete trace;
    delete signed_img;
  }

  // Verifies img with the key and MAC length given: the program must fail
  // with expected and write nothing.
  static void ExpectRejected(const IMGBIN& img, int k, int t, const std::string& expected) {
    const std::string in = write(img, "tamper_in.bmp"), out = fresh("tamper_back.bmp");
    ExpectFailure(VerifyArgs(k, in, out, t), out, "", expected);
  }

  static inline IMGBIN* original = nullptr;
  static inline IMGBIN* signed_img = nullptr;
  static inline reference::SearchTrace* trace = nullptr;
};

TEST_F(Tampered, OneChangedPixelIsRejected) {
  ASSERT_NE(signed_img, nullptr);
  const int B = trace->B, w = trace->w, E = trace->B + trace->n - 16;
  ASSERT_LT(B + T + 21 + w, E) << "the region should hold carriers the payload leaves alone";
  Plain pl(*signed_img, key);
  const auto centre = [&](int p) {
    const int k = pl.blocks(p)(3), bpr = signed_img->nc() / 3;
    return std::pair{3 * (k / bpr) + 1, 3 * (k % bpr) + 1};
  };
  struct Change {
    const char* what;
    std::pair<int, int> at;
    const std::string* expected;  // null: worked out from the changed image
  };
  const Change changes[] = {
      {"lowest bit of k: the next region's header", centre(15), &kFailed},
      {"highest bit of k: a region past the list", centre(0), &reference::kBounds},
      {"MAC carrier", centre(B + 5), &kFailed},
      {"m field", centre(B + T + 1), &kFailed},
      {"w field", centre(B + T + 9), &kFailed},
      {"compressed bit", centre(B + T + 21), &kFailed},
      {"region carrier past the payload", centre(B + T + 21 + w), &kFailed},
      {"carrier after the region", centre(E), &kFailed},
      {"last row, outside blocks", {99, 37}, &kFailed},
      {"last column, outside blocks", {41, 100}, &kFailed},
      {"column 99, outside blocks", {0, 99}, &kFailed},
      // A neighbour changes its block's score: the order moves.
      {"neighbour in the block of position 0", {centre(0).first - 1, centre(0).second - 1}, nullptr},
      {"neighbour in a payload block", {centre(B + T + 30).first + 1, centre(B + T + 30).second}, nullptr},
      {"first pixel", {0, 0}, nullptr},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    IMGBIN img(*signed_img);
    img(c.at.first, c.at.second) = !img(c.at.first, c.at.second);
    const std::string expected = ExpectedRejection(img, key, T);
    if (c.expected) {
      ASSERT_EQ(expected, *c.expected);
    }
    ExpectRejected(img, key, T, expected);
  }
}

// A record that does not decode, behind a MAC made again with the key as
// only its holder could: the decoder's error alone, no success line first.
TEST_F(Tampered, UndecodableRecordBehindAValidMacIsRefused) {
  ASSERT_NE(signed_img, nullptr);
  IMGBIN img(*signed_img);
  img.fundo() |= 1u;
  CARRIERS car(img, VisTable(), key);
  const HEADER h = ReadHeader(car, T);
  ASSERT_EQ(h.B, trace->B);
  ASSERT_EQ(h.w, trace->w);
  // All '1' (black): the leading flag, then a unary part that never ends.
  for (int i = 0; i < h.w; ++i) car.set(h.B + T + CompressedOffset + i, false);
  BlankMac(car, h.B, T);
  WriteMac(car, h.B, ComputeMac(img, T, key));
  ExpectRejected(img, key, T, "Error: truncated Golomb code \n");
}

// The success line comes once the page is restored; a restored file that
// cannot be written still fails the run.
TEST_F(Tampered, FailedWriteAfterVerifyingEndsWithStatusOne) {
  ASSERT_NE(signed_img, nullptr);
  const std::string in = write(*signed_img, "tamper_in.bmp"), out = scratch_path("no/such/dir/back.bmp");
  const KovaResult r = run_kova(VerifyArgs(key, in, out, T));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, kVerified);
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  EXPECT_FALSE(exists(out));
}

TEST_F(Tampered, WrongKeyOrMacLengthOrNoMark) {
  ASSERT_NE(signed_img, nullptr);
  ExpectRejected(*signed_img, key + 1, T, ExpectedRejection(*signed_img, key + 1, T));
  ExpectRejected(*signed_img, -key, T, ExpectedRejection(*signed_img, -key, T));
  for (int t : {32, 96, 160, 1024}) {
    SCOPED_TRACE(t);
    ExpectRejected(*signed_img, key, t, ExpectedRejection(*signed_img, key, t));
  }
  ExpectRejected(*signed_img, key, 2048, "Error: Image too small \n");
  ExpectRejected(*original, key, T, ExpectedRejection(*original, key, T));
}

// Only pixel values enter the MAC: a marked image verifies in any lossless
// binary format, and the original may come in any format the reader takes.
TEST(SignVerify, FormatsOfTheFiles) {
  const IMGBIN page = pages::Text(61, 62, 12);  // 20 x 20 blocks
  const std::string marked = fresh("fmt_marked.bmp");
  const KovaResult s = run_kova(SignArgs(write(page, "fmt_original.bmp"), 5, marked, 32, 3));
  ASSERT_EQ(s.status, 0) << s.err;
  const IMGBIN m = read(marked);
  struct Copy {
    const char* name;  // as given to the writer
    const char* path;  // where it writes
    const char* magic;
  };
  for (const Copy& c : {Copy{"fmt.pbm", "fmt.pbm", "P4"}, Copy{"fmt_plain.pbm1", "fmt_plain.pbm", "P1"},
                        Copy{"fmt.txt", "fmt.txt", ""}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(scratch_path(c.path));
    imagorix::imp(m, scratch_path(c.name));
    ASSERT_EQ(slurp(scratch_path(c.path)).substr(0, std::string(c.magic).size()), c.magic);
    const std::string back = fresh("fmt_back.bmp");
    const KovaResult v = run_kova(VerifyArgs(5, scratch_path(c.path), back, 32));
    EXPECT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.out, kVerified);
    ASSERT_TRUE(exists(back));
    EXPECT_TRUE(same_pixels(read(back), page));
  }

  // Grey and colour originals are made binary by the reader; the marked and
  // restored files may be written in any binary format.
  imagorix::IMGGRY grey(61, 62);
  imagorix::IMGCOR colour(61, 62);
  for (int l = 0; l < 61; ++l)
    for (int c = 0; c < 62; ++c) {
      const int v = page(l, c) ? 130 + (l * 7 + c) % 126 : (l + c * 5) % 128;
      grey(l, c) = static_cast<imagorix::BYTE>(v);
      const auto b = static_cast<imagorix::BYTE>(page(l, c) ? 255 - l % 2 : v);
      colour(l, c) = imagorix::COR{static_cast<imagorix::BYTE>(v), static_cast<imagorix::BYTE>(v), b};
    }
  imagorix::imp(grey, scratch_path("grey.pgm"));
  imagorix::imp(grey, scratch_path("grey.tga"));
  imagorix::imp(colour, scratch_path("colour.ppm"));
  ASSERT_TRUE(same_pixels(read(scratch_path("grey.pgm")), page)) << "the grey page should read as the page";
  {
    SCOPED_TRACE("pgm");
    RoundTrip(scratch_path("grey.pgm"), 8, 32, 3, "from_pgm.pbm", "from_pgm_back.txt");
  }
  {
    SCOPED_TRACE("tga");
    RoundTrip(scratch_path("grey.tga"), 8, 32, 3, "from_tga.txt", "from_tga_back.pbm");
  }
  {
    SCOPED_TRACE("ppm");
    RoundTrip(scratch_path("colour.ppm"), 8, 32, 3, "from_ppm.bmp", "from_ppm_back.bmp");
  }
}

// The marked file depends on nothing but the image, the key and the
// parameters.
TEST(SignVerify, SigningIsRepeatableAndKeyed) {
  const std::string in = write(pages::Text(100, 101, 13), "repeat.bmp");
  const std::string a = fresh("repeat_a.bmp"), b = fresh("repeat_b.bmp"), c = fresh("repeat_c.bmp");
  const KovaResult ra = run_kova(SignArgs(in, 99, a, 128, 3));
  const KovaResult rb = run_kova(SignArgs(in, 99, b, 128, 3));
  const KovaResult rc = run_kova(SignArgs(in, 100, c, 128, 3));
  ASSERT_EQ(ra.status + rb.status + rc.status, 0);
  EXPECT_EQ(ra.out, rb.out);
  EXPECT_EQ(slurp(a), slurp(b));
  EXPECT_NE(slurp(a), slurp(c));
}

// A page whose marked file is checked in, so that any drift of the marked
// format shows, whatever the tests above rebuild from the same code.
// tests/data/kova_page.bmp is a 60 x 60 page, four lines of blocky glyphs and
// a rule, drawn as a plain PBM and converted with
//   imagorix convert page.pbm kova_page.bmp
// and tests/data/kova_page_marked.bmp was made from it with
//   kova s kova_page.bmp 31415926 kova_page_marked.bmp 64 4
// by kova as it stood then; kova v with the key and MAC length gave back the
// original file byte for byte. The search moves past five regions that do not
// compress and then grows the sixth three times.
TEST(SignVerify, PinnedPageSignsToItsCheckedInMarkedFile) {
  const std::string original = TEST_DATA_DIR "/kova_page.bmp";
  const std::string pinned = TEST_DATA_DIR "/kova_page_marked.bmp";
  ASSERT_TRUE(exists(original) && exists(pinned));

  const std::string marked = fresh("pinned_marked.bmp");
  const KovaResult s = run_kova({"s", original, "31415926", marked, "64", "4"});
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.err, "");
  EXPECT_EQ(s.out,
            "Beginning: 16\tOrig. size n: 112\tCompr. size w: 171\tFree bits n-w: -59\n"
            "Beginning: 48\tOrig. size n: 112\tCompr. size w: 181\tFree bits n-w: -69\n"
            "Beginning: 80\tOrig. size n: 112\tCompr. size w: 230\tFree bits n-w: -118\n"
            "Beginning: 112\tOrig. size n: 112\tCompr. size w: 195\tFree bits n-w: -83\n"
            "Beginning: 144\tOrig. size n: 112\tCompr. size w: 125\tFree bits n-w: -13\n"
            "Beginning: 176\tOrig. size n: 112\tCompr. size w: 76\tFree bits n-w: 36\n"
            "Beginning: 176\tOrig. size n: 144\tCompr. size w: 84\tFree bits n-w: 60\n"
            "Beginning: 176\tOrig. size n: 176\tCompr. size w: 92\tFree bits n-w: 84\n"
            "Beginning: 176\tOrig. size n: 208\tCompr. size w: 100\tFree bits n-w: 108\n"
            "Beginning = 176\n"
            "Largest changed VIS=150\n");
  EXPECT_TRUE(slurp(marked) == slurp(pinned)) << "the marked file differs from the checked-in one";

  const std::string back = fresh("pinned_back.bmp");
  const KovaResult v = run_kova({"v", "31415926", pinned, back, "64"});
  EXPECT_EQ(v.status, 0) << v.err;
  EXPECT_EQ(v.out, kVerified);
  EXPECT_TRUE(slurp(back) == slurp(original)) << "the restored file differs from the original";
}
