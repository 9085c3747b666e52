#include "base/erro.h"

#include <gtest/gtest.h>

using namespace imagorix;

TEST(Erro, PrintsBothTextsAndExitsWithOne) {
  EXPECT_EXIT(erro("Erro VETOR::aloca - Falta memoria", ""), testing::ExitedWithCode(1),
              "^Erro VETOR::aloca - Falta memoria \n$");
  // An opening failure: the message's own trailing blank, the separator, the name.
  EXPECT_EXIT(erro("Erro le(VETOR<double> - Abertura ", "in.txt"), testing::ExitedWithCode(1),
              "^Erro le\\(VETOR<double> - Abertura  in.txt\n$");
}

TEST(Erro, DebugWritesOnlyToStderr) {
  ASSERT_TRUE(debugging);
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  debug(7);
  debug("a", "b");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Debug: 7\nDebug: a b\n");
}

TEST(Erro, ClocksAgree) {
  volatile double x = 0;
  for (int i = 0; i < 20000000; ++i) x = x + 1e-9 * i;
  const int ms = clockms(), cs = clockcs();
  EXPECT_GE(ms, 0);
  EXPECT_LE(cs, ms / 10 + 1);
  EXPECT_GE(cs, ms / 10 - 1);
}
