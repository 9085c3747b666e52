// Text files of vectors, point vectors and matrices.
#include "base/vetortxt.h"

#include <gtest/gtest.h>

#include <string>

#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

std::string death(const std::string& msg) { return stderr_line(msg + " "); }

template <class T>
VETOR<T> vetor(std::initializer_list<T> l) {
  VETOR<T> v(static_cast<int>(l.size()));
  int i = 0;
  for (const T& x : l) v(i++) = x;
  return v;
}

template <class T>
void expect_same(const VETOR<T>& a, const VETOR<T>& b) {
  ASSERT_EQ(a.n(), b.n());
  for (int i = 0; i < a.n(); ++i) EXPECT_EQ(a(i), b(i)) << i;
}

template <class T>
void expect_same(const MATRIZ<T>& a, const MATRIZ<T>& b) {
  ASSERT_EQ(a.nl(), b.nl());
  ASSERT_EQ(a.nc(), b.nc());
  for (int i = 0; i < a.n(); ++i) EXPECT_EQ(a.data()[i], b.data()[i]) << i;
}

// Written, then read back from the file and from a pipe.
template <class C>
void round_trip(const C& c, const std::string& name) {
  const std::string path = scratch_path(name);
  imp(c, path);
  C lido, por_pipe;
  le(lido, path);
  expect_same(c, lido);
  le(por_pipe, pipe_holding(read_text(path)));
  expect_same(c, por_pipe);
}

}  // namespace

TEST(VetorTxt, WritersLayOutTheirFilesExactly) {
  const std::string p = scratch_path("layout.txt");
  imp(vetor<double>({1.5, 2}), p);
  EXPECT_EQ(read_text(p), "2\n\n1.5\n2\n");
  imp(vetor<int>({-7, 0, 12}), p);
  EXPECT_EQ(read_text(p), "3\n\n-7\n0\n12\n");
  imp(vetor<PONTO2>({{0.25, -1e-7}, {3, 1e20}}), p);
  EXPECT_EQ(read_text(p), "2 2\n\n0.25 -1e-07\n3 1e+20\n");
  imp(vetor<PONTOI2>({{3, 4}}), p);
  EXPECT_EQ(read_text(p), "1 2\n\n3 4\n");
  imp(MATRIZ<double>(1, 2, 1, 2), p);
  EXPECT_EQ(read_text(p), "1 2\n1 2 \n");
  imp(MATRIZ<int>(2, 2, 1, 2, 3, -4), p);
  EXPECT_EQ(read_text(p), "2 2\n\n1 2 \n3 -4 \n");
  imp(VETOR<double>(), p);
  EXPECT_EQ(read_text(p), "0\n\n");
}

TEST(VetorTxt, WhatIsWrittenReadsBackEqual) {
  round_trip(vetor<int>({1, -2147483647 - 1, 2147483647}), "vi.txt");
  // %lg keeps six digits: values with more would not come back.
  round_trip(vetor<double>({0.5, -3.25, 1e-300, 123456}), "vd.txt");
  round_trip(vetor<PONTO2>({{1, 2}, {-0.125, 7e10}}), "p2.txt");
  round_trip(vetor<PONTOI2>({{1, 2}, {-3, 4}, {5, -6}}), "pi2.txt");
  round_trip(MATRIZ<int>(2, 3, 1, 2, 3, 4, 5, 6), "mi.txt");
  round_trip(MATRIZ<double>(3, 1, 0.5, 1.5, -2.0), "md.txt");
  round_trip(MATRIZ<double>(0, 4), "vazia.txt");
  round_trip(VETOR<int>(), "vazio.txt");
}

TEST(VetorTxt, HandWrittenFilesFollowTheNumberRules) {
  const std::string p = write_text(scratch_path("mao.txt"),
                                   "4 # elements\n(1, 2.5); /* a note */ max\n-INFINITO\n");
  VETOR<double> v;
  le(v, p);
  expect_same(v, vetor<double>({1, 2.5, 1e30, -1e30}));

  MATRIZ<int> m;
  le(m, write_text(scratch_path("m.txt"), "2,2 // size\n1;2\n3=4"));
  expect_same(m, MATRIZ<int>(2, 2, 1, 2, 3, 4));

  VETOR<PONTOI2> pts;
  le(pts, write_text(scratch_path("p.txt"), "2 2 (1,2) (3,4)"));
  expect_same(pts, vetor<PONTOI2>({{1, 2}, {3, 4}}));
}

TEST(VetorTxt, AVectorOfTheSameCountKeepsItsStorageAndCentre) {
  VETOR<int> v(3);
  v.centro() = 1;
  const int* antes = v.data();
  le(v, write_text(scratch_path("tres.txt"), "3\n7 8 9"));
  EXPECT_EQ(v.data(), antes);
  EXPECT_EQ(v.centro(), 1);
  EXPECT_EQ(v(2), 9);
  le(v, write_text(scratch_path("dois.txt"), "2\n7 8"));
  EXPECT_EQ(v.n(), 2);
  EXPECT_EQ(v.centro(), 0);
}

TEST(VetorTxt, BadFilesEndWithOneLine) {
  const struct {
    const char* conteudo;
    void (*le)(const std::string&);
    const char* msg;
  } casos[] = {
      {"2 3\n\n1 2 3\n", [](const std::string& n) { VETOR<PONTO2> v; le(v, n); }, "Erro: Numero de colunas != 2"},
      {"1 1\n\n5\n", [](const std::string& n) { VETOR<PONTOI2> v; le(v, n); }, "Erro: Numero de colunas != 2"},
      {"-1\n", [](const std::string& n) { VETOR<int> v; le(v, n); }, "Erro le(VETOR<int>,nome) - Tamanho invalido"},
      {"-1\n", [](const std::string& n) { VETOR<double> v; le(v, n); }, "Erro le(VETOR<double> - Tamanho invalido"},
      {"-2 2\n", [](const std::string& n) { VETOR<PONTO2> v; le(v, n); }, "Erro le(VETOR<PONTO2>,nome) - Tamanho invalido"},
      {"-2 2\n", [](const std::string& n) { VETOR<PONTOI2> v; le(v, n); }, "Erro le(VETOR<PONTOI2>,nome) - Tamanho invalido"},
      {"-5 7\n", [](const std::string& n) { MATRIZ<int> m; le(m, n); }, "Erro le(MATRIZ<int>,nome) - Tamanho invalido"},
      {"5 -7\n", [](const std::string& n) { MATRIZ<double> m; le(m, n); }, "Erro le(MATRIZ<double> - Tamanho invalido"},
      {"3\n1 2", [](const std::string& n) { VETOR<int> v; le(v, n); }, "LeNum(int)"},
      {"2 2 1 2 3", [](const std::string& n) { MATRIZ<double> m; le(m, n); }, "LeNum(double)"},
      {"2\n1 x", [](const std::string& n) { VETOR<double> v; le(v, n); }, "LeNum(double)"},
      // A size no memory holds, in a file far too short for it: refused
      // before anything is allocated.
      {"2000000000\n1\n", [](const std::string& n) { cap_address_space(); VETOR<double> v; le(v, n); }, "LeNum(double)"},
      {"2000000000 2\n1 2\n", [](const std::string& n) { cap_address_space(); VETOR<PONTO2> v; le(v, n); }, "LeNum(double)"},
      {"40000 40000\n1\n", [](const std::string& n) { cap_address_space(); MATRIZ<int> m; le(m, n); }, "LeNum(int)"},
      {"100000 100000\n1\n", [](const std::string& n) { MATRIZ<int> m; le(m, n); }, "Erro MATRIZ::aloca - Falta memoria"},
  };
  for (const auto& c : casos) {
    const std::string p = write_text(scratch_path("ruim.txt"), c.conteudo);
    EXPECT_EXIT(c.le(p), testing::ExitedWithCode(1), death(c.msg)) << c.conteudo;
    // The same bytes through a pipe, which cannot tell its length.
    EXPECT_EXIT(c.le(pipe_holding(std::string(c.conteudo))), testing::ExitedWithCode(1), death(c.msg)) << c.conteudo;
  }
}

TEST(VetorTxt, OpeningFailuresNameTheFile) {
  const std::string falta = scratch_path("nao/existe.txt");
  const struct {
    void (*f)(const std::string&);
    const char* msg;
  } casos[] = {
      {[](const std::string& n) { VETOR<int> v; le(v, n); }, "Erro le(VETOR<int>,nome) - abertura de "},
      {[](const std::string& n) { VETOR<double> v; le(v, n); }, "Erro le(VETOR<double> - Abertura "},
      {[](const std::string& n) { VETOR<PONTO2> v; le(v, n); }, "Erro le(VETOR<PONTO2>,nome) - abertura de "},
      {[](const std::string& n) { VETOR<PONTOI2> v; le(v, n); }, "Erro le(VETOR<PONTOI2>,nome) - abertura de "},
      {[](const std::string& n) { MATRIZ<int> m; le(m, n); }, "Erro le(MATRIZ<int>,nome) - abertura de "},
      {[](const std::string& n) { MATRIZ<double> m; le(m, n); }, "Erro le(MATRIZ<double> - Abertura "},
      {[](const std::string& n) { imp(VETOR<int>(1), n); }, "Erro imp(VETOR<int>,nome) - abertura de "},
      {[](const std::string& n) { imp(VETOR<double>(1), n); }, "Erro imp(VETOR<double>,nome) - abertura de "},
      {[](const std::string& n) { imp(VETOR<PONTO2>(1), n); }, "Erro imp(VETOR<PONTO2>,nome) - abertura de "},
      {[](const std::string& n) { imp(VETOR<PONTOI2>(1), n); }, "Erro imp(VETOR<PONTOI2>,nome) - abertura de "},
      {[](const std::string& n) { imp(MATRIZ<int>(1, 1), n); }, "Erro imp(MATRIZ<int>,nome) - abertura de "},
      {[](const std::string& n) { imp(MATRIZ<double>(1, 1), n); }, "Erro imp(MATRIZ<double> - Abertura "},
  };
  for (const auto& c : casos) EXPECT_EXIT(c.f(falta), testing::ExitedWithCode(1), stderr_line(c.msg + std::string(" ") + falta)) << c.msg;
}

TEST(VetorTxt, WritersRefuseNegativeSizesWithoutCreatingTheFile) {
  const std::string p = scratch_path("negativo.txt");
  const struct {
    void (*f)(const std::string&);
    const char* msg;
  } casos[] = {
      {[](const std::string& n) { imp(VETOR<int>(-3), n); }, "Erro imp(VETOR<int>,nome) - Tamanho invalido"},
      {[](const std::string& n) { imp(VETOR<double>(-3), n); }, "Erro imp(VETOR<double>,nome) - Tamanho invalido"},
      {[](const std::string& n) { imp(VETOR<PONTO2>(-1), n); }, "Erro imp(VETOR<PONTO2>,nome) - Tamanho invalido"},
      {[](const std::string& n) { imp(VETOR<PONTOI2>(-1), n); }, "Erro imp(VETOR<PONTOI2>,nome) - Tamanho invalido"},
      {[](const std::string& n) { imp(MATRIZ<int>(-5, 7), n); }, "Erro imp(MATRIZ<int>,nome) - Tamanho invalido"},
      {[](const std::string& n) { imp(MATRIZ<double>(2, -1), n); }, "Erro imp(MATRIZ<double> - Tamanho invalido"},
  };
  for (const auto& c : casos) {
    EXPECT_EXIT(c.f(p), testing::ExitedWithCode(1), death(c.msg)) << c.msg;
    EXPECT_FALSE(exists(p)) << c.msg;
  }
}
