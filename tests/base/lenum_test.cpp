#include "base/lenum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace imagorix;

namespace {

// A temporary stream holding the given bytes, read from the start.
class Texto {
 public:
  explicit Texto(const std::string& s) : f_(std::tmpfile()) {
    if (f_ == nullptr) ADD_FAILURE() << "tmpfile";
    std::fwrite(s.data(), 1, s.size(), f_);
    std::rewind(f_);
  }
  ~Texto() { std::fclose(f_); }
  Texto(const Texto&) = delete;
  Texto& operator=(const Texto&) = delete;
  operator FILE*() const { return f_; }

 private:
  FILE* f_;
};

using Tokeniser = std::string (*)(FILE*);

// Every token up to and including the first "eof".
std::vector<std::string> tokens(Tokeniser le, const std::string& s) {
  Texto t(s);
  std::vector<std::string> r;
  do r.push_back(le(t));
  while (r.back() != "eof" && r.size() < 100);
  return r;
}

using V = std::vector<std::string>;

}  // namespace

TEST(LeTokenNum, SeparatorsCommentsAndErrors) {
  const struct {
    std::string in;
    V out;
  } casos[] = {
      {"(12, 3.5);", {"12", "3.5", "eof"}},
      {"4;5", {"4", "5", "eof"}},
      {"nl=5;nc=7", {"nl", "5", "nc", "7", "eof"}},
      {" \t\r\n", {"eof"}},
      {"", {"eof"}},
      {"MAX -Infinito +M x_1", {"max", "-infinito", "+m", "x_1", "eof"}},
      {"1 /* 3 */ 2", {"1", "2", "eof"}},
      {"1 /**/,/* ** */2 /*/ 9 */ 3 /* a/b */ 4", {"1", "2", "3", "4", "eof"}},
      {"1 # two\n2 // three\r\n3 #", {"1", "2", "3", "eof"}},
      {"1 // only a comment", {"1", "eof"}},
      {"#a\r2", {"2", "eof"}},
      {"12$ 5", {"erro", "5", "eof"}},
      {"12#c\n5", {"erro", "5", "eof"}},  // a comment needs a separator before it
      {"5/x 6", {"erro", "6", "eof"}},
      {"1 / 2", {"1", "erro", "2", "eof"}},
      {"1 /", {"1", "erro", "eof"}},
      {"1 /* open", {"1", "erro", "eof"}},
      {"1 /* open *", {"1", "erro", "eof"}},
      {"[3]", {"erro", "erro", "eof"}},
      {std::string("1 \0 2", 5), {"1", "erro", "2", "eof"}},
      {std::string("7\0008 9", 5), {"erro", "9", "eof"}},
      {"\xc3\xa9 4", {"erro", "erro", "4", "eof"}},
      // Ctrl-Z is an end of stream and stays one.
      {"1 \x1a 2", {"1", "eof"}},
      {"ab\x1a", {"ab", "eof"}},
      {"1 # c \x1a\n 2", {"1", "eof"}},
      {"/* c \x1a */ 2", {"erro", "eof"}},
  };
  for (const auto& c : casos) EXPECT_EQ(tokens(LeTokenNum, c.in), c.out) << c.in;
}

TEST(LeChar, OneCharacterPerToken) {
  const struct {
    std::string in;
    V out;
  } casos[] = {
      {"1011", {"1", "0", "1", "1", "eof"}},
      {"1,0 (1);X", {"1", "0", "1", "x", "eof"}},
      {"1 # 0\n. /* 1 */ v", {"1", ".", "v", "eof"}},
      {"ab$c", {"a", "b", "erro", "c", "eof"}},
      {"1/0", {"1", "erro", "eof"}},
  };
  for (const auto& c : casos) EXPECT_EQ(tokens(LeChar, c.in), c.out) << c.in;
}

TEST(LeToken, WordsWithPathCharacters) {
  const struct {
    std::string in;
    V out;
  } casos[] = {
      {"C:\\Dir\\Img.PGM\tuser@host\r\n", {"c:\\dir\\img.pgm", "user@host", "eof"}},
      {"a-b_c.d /* x */ e # f\ng", {"a-b_c.d", "e", "g", "eof"}},
      {"a,b c", {"erro", "c", "eof"}},
      {"f(1) =", {"erro", "erro", "eof"}},
      {"n+1", {"erro", "eof"}},
      {"a/b", {"erro", "eof"}},
  };
  for (const auto& c : casos) EXPECT_EQ(tokens(LeToken, c.in), c.out) << c.in;
}

TEST(Tokeniser, EndOfStreamIsStable) {
  for (Tokeniser le : {LeTokenNum, LeChar, LeToken}) {
    Texto t("7 ");
    EXPECT_EQ(le(t), "7");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(le(t), "eof");
  }
}

// Raw PNM data starts right after the one separator that follows the height.
TEST(Tokeniser, ConsumesExactlyOneSeparatorAndNothingAfterACharacter) {
  {
    Texto t("12\n\nP");
    EXPECT_EQ(LeTokenNum(t), "12");
    EXPECT_EQ(std::fgetc(t), '\n');
  }
  {
    Texto t("12;X");
    EXPECT_EQ(LeTokenNum(t), "12");
    EXPECT_EQ(std::fgetc(t), 'X');
  }
  {
    Texto t("word\t\tX");
    EXPECT_EQ(LeToken(t), "word");
    EXPECT_EQ(std::fgetc(t), '\t');
  }
  {
    Texto t(" 1X");
    EXPECT_EQ(LeChar(t), "1");
    EXPECT_EQ(std::fgetc(t), 'X');
  }
}

TEST(Tokeniser, OverlongTokenIsAnErrorAndReadThrough) {
  const std::string limite(MAXTOKEN, '7');
  {
    Texto t(limite + " 5");
    EXPECT_EQ(LeTokenNum(t), limite);
    EXPECT_EQ(LeTokenNum(t), "5");
  }
  for (std::size_t n : {std::size_t(MAXTOKEN) + 1, std::size_t(1) << 20}) {
    Texto t(std::string(n, 'a') + "\n5");
    EXPECT_EQ(LeToken(t), "erro");
    EXPECT_EQ(LeToken(t), "5");
  }
}

TEST(LeNum, Double) {
  const struct {
    const char* in;
    double v;
  } casos[] = {
      {"M", 1e30},        {"max", 1e30},     {"+MAX", 1e30},  {"infinito", 1e30},
      {"+m", 1e30},       {".", -1e30},      {"-max", -1e30}, {"-m", -1e30},
      {"min", -1e30},     {"-infinito", -1e30},
      {"1e-3", 0.001},    {"(-2.5)", -2.5},  {"12abc", 12},   {"3.5.1", 3.5},
      {"1E2", 100},       {"1e999", HUGE_VAL},
  };
  for (const auto& c : casos) {
    Texto t(c.in);
    double x = 0;
    LeNum(t, x);
    EXPECT_EQ(x, c.v) << c.in;
  }
}

TEST(LeNum, Float) {
  const struct {
    const char* in;
    float v;
  } casos[] = {
      {"m", 1e30f}, {"-INFINITO", -1e30f}, {"0.1", 0.1f}, {"1e39", HUGE_VALF}, {"-1e39", -HUGE_VALF},
  };
  for (const auto& c : casos) {
    Texto t(c.in);
    FLT x = 0;
    LeNum(t, x);
    EXPECT_EQ(x, c.v) << c.in;
  }
}

TEST(LeNum, Integers) {
  const struct {
    const char* in;
    int i;
    SHT s;
    BYTE b;
  } casos[] = {
      {"17", 17, 17, 17},
      {"+7", 7, 7, 7},
      {"300", 300, 300, 255},
      {"-5", -5, -5, 0},
      {"70000", 70000, 4464, 255},
      {"-32769", -32769, 32767, 0},
      {"12abc", 12, 12, 12},
      {"2147483647", 2147483647, -1, 255},
      {"-2147483648", INT_MIN, 0, 0},
  };
  for (const auto& c : casos) {
    Texto t(std::string(c.in) + " " + c.in + " " + c.in);
    int i = 0;
    SHT s = 0;
    BYTE b = 1;
    LeNum(t, i);
    LeNum(t, s);
    LeNum(t, b);
    EXPECT_EQ(i, c.i) << c.in;
    EXPECT_EQ(s, c.s) << c.in;
    EXPECT_EQ(b, c.b) << c.in;
  }
}

TEST(LeDecimal, ReadsPercentDPrefixAndTellsWhereItEnds) {
  const struct {
    const char* in;
    bool ok;
    std::int64_t v;
    const char* rest;
  } casos[] = {
      {"12abc", true, 12, "abc"},
      {" \t\n-7 ", true, -7, " "},
      {"+0", true, 0, ""},
      {"0x1F", true, 0, "x1F"},
      {"12,345", true, 12, ",345"},
      {"4294967295", true, 4294967295, ""},
      {"-2147483649", true, -2147483649, ""},
      // Long digit strings stop growing instead of overflowing.
      {"99999999999999999999999999", true, DECIMAL_TETO, ""},
      {"-99999999999999999999999999x", true, -DECIMAL_TETO, "x"},
      {"", false, 0, nullptr},
      {"abc", false, 0, nullptr},
      {"-", false, 0, nullptr},
      {"+-1", false, 0, nullptr},
      {"- 1", false, 0, nullptr},
  };
  for (const auto& c : casos) {
    std::int64_t v = 12345;
    const char* fim = LeDecimal(c.in, v);
    if (!c.ok) {
      EXPECT_EQ(fim, nullptr) << c.in;
      EXPECT_EQ(v, 12345) << c.in;
      continue;
    }
    ASSERT_NE(fim, nullptr) << c.in;
    EXPECT_EQ(v, c.v) << c.in;
    EXPECT_STREQ(fim, c.rest) << c.in;
  }
}

TEST(LeNum, ShortKeywordsAndByteSaturation) {
  Texto t("maxsht M +max +m minsht MIN -m -max . 99999999999 -99999999999");
  const SHT esperado[] = {32767, 32767, 32767, 32767, -32768, -32768, -32768, -32768, -32768};
  for (SHT e : esperado) {
    SHT s = 0;
    LeNum(t, s);
    EXPECT_EQ(s, e);
  }
  BYTE b = 7;
  LeNum(t, b);
  EXPECT_EQ(b, 255);
  LeNum(t, b);
  EXPECT_EQ(b, 0);
}

TEST(LeNum, Bool) {
  Texto t("TRUE 1 t v X false 0 F .");
  const bool esperado[] = {true, true, true, true, true, false, false, false, false};
  for (bool e : esperado) {
    bool x = !e;
    LeNum(t, x);
    EXPECT_EQ(x, e);
  }
}

TEST(LeNum, ReadsAWholeFileWithCommentsAndLayout) {
  Texto t("# matrix\r\n2 3\n(1.5, -m) /* skipped 9 */ .25;\nnl=4 // tail\n");
  int nl = 0, nc = 0, k = 0;
  double a = 0, b = 0, c = 0;
  LeNum(t, nl);
  LeNum(t, nc);
  LeNum(t, a);
  LeNum(t, b);
  LeNum(t, c);
  EXPECT_EQ(LeTokenNum(t), "nl");
  LeNum(t, k);
  EXPECT_EQ(nl, 2);
  EXPECT_EQ(nc, 3);
  EXPECT_EQ(a, 1.5);
  EXPECT_EQ(b, -1e30);
  EXPECT_EQ(c, 0.25);
  EXPECT_EQ(k, 4);
  EXPECT_EQ(LeTokenNum(t), "eof");
}

TEST(LeNumOpt, EndMarkerOnlyAtTheEnd) {
  Texto t("5 /* c */ -3 # trailing\n");
  int x = 0;
  LeNumOpt(t, x);
  EXPECT_EQ(x, 5);
  LeNumOpt(t, x);
  EXPECT_EQ(x, -3);
  for (int i = 0; i < 2; ++i) {
    x = 0;
    LeNumOpt(t, x);
    EXPECT_EQ(x, EOFNUM);
    EXPECT_EQ(x, -2147483647 - 1);
  }
}

TEST(LeBool, OneValuePerCharacter) {
  Texto t("1011\nx.vF,t0");
  const bool esperado[] = {true, false, true, true, true, false, true, false, true, false};
  for (bool e : esperado) {
    bool x = !e;
    LeBool(t, x);
    EXPECT_EQ(x, e);
  }
}

TEST(LeNumDeathTest, MalformedOrMissingNumbersAreFatal) {
  const struct {
    const char* in;
    std::function<void(FILE*)> le;
    const char* msg;
  } casos[] = {
      {"", [](FILE* f) { int x; LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"abc", [](FILE* f) { int x; LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"2147483648", [](FILE* f) { int x; LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"-2147483649", [](FILE* f) { int x; LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"max", [](FILE* f) { int x; LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"1 /* 2", [](FILE* f) { int x; LeNum(f, x); LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"12$", [](FILE* f) { int x; LeNum(f, x); }, "^LeNum\\(int\\) \n$"},
      {"eof", [](FILE* f) { int x; LeNumOpt(f, x); }, "^LeNum\\(int\\) \n$"},
      {"x", [](FILE* f) { int x; LeNumOpt(f, x); }, "^LeNum\\(int\\) \n$"},
      {"1 $", [](FILE* f) { int x; LeNumOpt(f, x); LeNumOpt(f, x); }, "^LeNum\\(int\\) \n$"},
      {"erro", [](FILE* f) { double x; LeNum(f, x); }, "^LeNum\\(double\\) \n$"},
      {"# only a comment", [](FILE* f) { double x; LeNum(f, x); }, "^LeNum\\(double\\) \n$"},
      {"infinit", [](FILE* f) { double x; LeNum(f, x); }, "^LeNum\\(double\\) \n$"},
      {"0x", [](FILE* f) { FLT x; LeNum(f, x); }, "^LeNum\\(FLT\\) \n$"},
      {"", [](FILE* f) { FLT x; LeNum(f, x); }, "^LeNum\\(FLT\\) \n$"},
      {"99999999999", [](FILE* f) { SHT x; LeNum(f, x); }, "^LeNum\\(SHT\\) \n$"},
      {"infinito", [](FILE* f) { SHT x; LeNum(f, x); }, "^LeNum\\(SHT\\) \n$"},
      {"q", [](FILE* f) { BYTE x; LeNum(f, x); }, "^LeNum\\(BYTE\\) \n$"},
      {"max", [](FILE* f) { BYTE x; LeNum(f, x); }, "^LeNum\\(BYTE\\) \n$"},
      {"2", [](FILE* f) { bool x; LeNum(f, x); }, "^LeNum\\(bool\\) \n$"},
      {"0110", [](FILE* f) { bool x; LeNum(f, x); }, "^LeNum\\(bool\\) \n$"},
      {"", [](FILE* f) { bool x; LeNum(f, x); }, "^LeNum\\(bool\\) \n$"},
      {"y", [](FILE* f) { bool x; LeBool(f, x); }, "^Erro: LeBool  y\n$"},
      {"1", [](FILE* f) { bool x; LeBool(f, x); LeBool(f, x); }, "^Erro: LeBool  eof\n$"},
      {"$", [](FILE* f) { bool x; LeBool(f, x); }, "^Erro: LeBool  erro\n$"},
  };
  for (const auto& c : casos) {
    Texto t(c.in);
    EXPECT_EXIT(c.le(t), testing::ExitedWithCode(1), c.msg) << "input: " << c.in;
  }
}
