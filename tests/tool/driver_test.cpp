#include "driver.h"

#include <gtest/gtest.h>

#include <climits>

#include "kova_run.h"

namespace {

const std::string usage =
    "KOVA: Reversible authentication watermarking for binary images\n"
    "  Warning: This version is NOT cryptographically-secure.\n"
    "  It is intended only for ZEVO demonstration purposes.\n"
    "KOVA mode parametros\n"
    "  mode: s=sign(insert wmk)  v=verify\n"
    "KOVA s original.bmp secretkey marked.bmp [TamMAC] [m]\n"
    "  secretkey = 32bits integer number\n"
    "  TamMAC: size of MAC. Default=128 (only multiples of 32)\n"
    "  m: Parameter of Golomb code. Default=3\n"
    "KOVA v secretkey marked.bmp reverted.bmp [TamMAC]\n"
    "  v=verify authenticity\n"
    "  secretkey = 32bits integer number (the same as in insertion)\n"
    "  TamMAC: size of MAC. Default=128 (the same as in insertion)\n";

struct BadLine {
  std::vector<std::string> args;
  bool shows_usage;
  std::string err;
};

class DriverRejects : public testing::TestWithParam<BadLine> {};

TEST_P(DriverRejects, WithUsageMessageAndStatus) {
  const BadLine& c = GetParam();
  const KovaResult r = run_kova(c.args);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, c.shows_usage ? usage : "");
  EXPECT_EQ(r.err, c.err);
}

const std::string shape = "Error: Invalid number of arguments \n";

INSTANTIATE_TEST_SUITE_P(
    CommandLine, DriverRejects,
    testing::Values(
        BadLine{{}, true, shape},
        BadLine{{"x", "a", "b", "c"}, true, shape},
        BadLine{{"", "a", "b", "c"}, true, shape},
        BadLine{{"s", "in.bmp", "7"}, true, shape},
        BadLine{{"s", "in.bmp", "7", "out.bmp", "32", "3", "extra"}, true, shape},
        // Seven words are fine for sign but one too many for verify.
        BadLine{{"v", "7", "out.bmp", "back.bmp", "64", "3"}, true, shape},
        BadLine{{"verify", "7", "out.bmp"}, true, shape},
        BadLine{{"s", "in.bmp", "x12", "out.bmp"}, false, "Error: secretkey reading \n"},
        BadLine{{"s", "in.bmp", "", "out.bmp"}, false, "Error: secretkey reading \n"},
        BadLine{{"s", "in.bmp", "4294967296", "out.bmp"}, false, "Error: secretkey reading \n"},
        BadLine{{"V", "-", "out.bmp", "back.bmp"}, false, "Error: secretkey reading \n"},
        // A key is a whole number: a hexadecimal or mistyped one is refused
        // in both modes rather than read up to its first non-digit.
        BadLine{{"s", "in.bmp", "0xDEADBEEF", "out.bmp"}, false, "Error: secretkey reading \n"},
        BadLine{{"s", "in.bmp", "12abc", "out.bmp"}, false, "Error: secretkey reading \n"},
        BadLine{{"v", "12,345", "out.bmp", "back.bmp"}, false, "Error: secretkey reading \n"},
        BadLine{{"s", "in.bmp", "7", "out.bmp", "abc"}, false, "Error: TamMAC reading \n"},
        BadLine{{"s", "in.bmp", "7", "out.bmp", "4294967424"}, false, "Error: TamMAC reading \n"},
        BadLine{{"v", "7", "out.bmp", "back.bmp", "+"}, false, "Error: TamMAC reading \n"},
        BadLine{{"s", "in.bmp", "7", "out.bmp", "100"}, false,
                "Error: TamMAC must be divisible by 32 \n"},
        BadLine{{"v", "7", "out.bmp", "back.bmp", "100"}, false,
                "Erro: TamMAC must be divisible by 32 \n"},
        BadLine{{"s", "in.bmp", "7", "out.bmp", "64", "q"}, false, "Error: m reading \n"},
        // Several bad arguments: only the first check that fails speaks.
        BadLine{{"s", "in.bmp", "x", "out.bmp", "100", "q"}, false, "Error: secretkey reading \n"},
        BadLine{{"s", "in.bmp", "7", "out.bmp", "100", "q"}, false,
                "Error: TamMAC must be divisible by 32 \n"},
        BadLine{{"v", "x", "out.bmp", "back.bmp", "y"}, false, "Error: secretkey reading \n"}));

// A well-formed line gets past the command line into its mode: whatever the
// mode then says about the missing file, it is none of the driver's messages.
TEST(Driver, WellFormedLinesReachTheirMode) {
  const std::vector<std::vector<std::string>> lines = {
      {"S", "/nonexistent/in.bmp", "7", "/nonexistent/out.bmp"},
      {"sign", "/nonexistent/in.bmp", " 12\t", "/nonexistent/out.bmp", "-32abc", "2x"},
      {"v", "7", "/nonexistent/out.bmp", "/nonexistent/back.bmp", "0"},
  };
  for (const auto& args : lines) {
    SCOPED_TRACE(args[0]);
    const KovaResult r = run_kova(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find("KOVA mode parametros"), std::string::npos);
    EXPECT_EQ(r.err.find("Invalid number"), std::string::npos);
    EXPECT_EQ(r.err.find("reading"), std::string::npos);
    EXPECT_EQ(r.err.find("divisible"), std::string::npos);
  }
}

kova::Command parse(std::vector<std::string> args) {
  args.insert(args.begin(), "kova");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return kova::parse(static_cast<int>(args.size()), argv.data());
}

TEST(Driver, ParsesSignLinesWithDefaults) {
  kova::Command c = parse({"S", "in.bmp", "7", "out.bmp"});
  EXPECT_EQ(c.mode, 's');
  EXPECT_EQ(c.original, "in.bmp");
  EXPECT_EQ(c.marked, "out.bmp");
  EXPECT_EQ(c.key, 7);
  EXPECT_EQ(c.TamMAC, 128);
  EXPECT_EQ(c.m, 3);

  c = parse({"sign", "a", " 12\n", "b", "-32abc"});
  EXPECT_EQ(c.key, 12);
  EXPECT_EQ(c.TamMAC, -32);
  EXPECT_EQ(c.m, 3);

  c = parse({"s", "a", " -5", "b", "0", "33x"});
  EXPECT_EQ(c.key, -5);
  EXPECT_EQ(c.TamMAC, 0);
  EXPECT_EQ(c.m, 33);
}

TEST(Driver, ParsesVerifyLines) {
  kova::Command c = parse({"V", "+9", "marked.pbm", "back.bmp"});
  EXPECT_EQ(c.mode, 'v');
  EXPECT_EQ(c.key, 9);
  EXPECT_EQ(c.marked, "marked.pbm");
  EXPECT_EQ(c.reverted, "back.bmp");
  EXPECT_EQ(c.TamMAC, 128);

  c = parse({"v", "1", "m", "r", "64"});
  EXPECT_EQ(c.TamMAC, 64);
}

TEST(Driver, ReadsNumbersLikePercentD) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {"12abc", true, 12},     {" \t-7", true, -7},       {"+0", true, 0},
      {"0x1F", true, 0},       {"12,345", true, 12},
      {"2147483647", true, INT_MAX}, {"-2147483648", true, INT_MIN},
      {"", false, 0},          {"abc", false, 0},        {"x12", false, 0},
      {"-", false, 0},         {"+-1", false, 0},        {"- 1", false, 0},
      {"2147483648", false, 0}, {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int v = 12345;
    EXPECT_EQ(kova::readint(c.text, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}

TEST(Driver, KeysAreWholeThirtyTwoBitWords) {
  struct Case {
    const char* text;
    bool ok;
    int key;
  };
  const Case cases[] = {
      {"7", true, 7},
      {" \t-7 \n", true, -7},
      {"+4294967295 ", true, -1},
      {"-2147483648", true, INT_MIN},
      {"2147483648", true, INT_MIN},
      {"4294967295", true, -1},
      {"4294967296", false, 0},
      {"-2147483649", false, 0},
      // Nothing but blanks may follow the digits.
      {"0xDEADBEEF", false, 0},
      {"12,345", false, 0},
      {"12abc", false, 0},
      {"7 8", false, 0},
      {"1e3", false, 0},
      {"7.0", false, 0},
      {"", false, 0},
      {" ", false, 0},
      {"99999999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int k = 12345;
    EXPECT_EQ(kova::readkey(c.text, k), c.ok);
    if (c.ok) {
      EXPECT_EQ(k, c.key);
    }
  }
}

}  // namespace
