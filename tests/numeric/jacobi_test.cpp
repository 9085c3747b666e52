#include "numeric/jacobi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

namespace {

// v diag(d) v^T.
MATRIZ<double> recompoe(const VETOR<double>& d, const MATRIZ<double>& v) {
  MATRIZ<double> vd(v);
  for (int i = 0; i < v.nl(); ++i)
    for (int j = 0; j < v.nc(); ++j) vd(i, j) *= d(j);
  return produto(vd, transposta(v));
}

}  // namespace

TEST(Jacobi, TwoByTwo) {
  MATRIZ<double> a(2, 2, 2.0, 1.0, 1.0, 2.0);
  VETOR<double> d;
  MATRIZ<double> v;
  int nrot = -1;
  JACOBI(a, d, v, nrot);
  EXPECT_EQ(nrot, 1);
  ASSERT_EQ(d.n(), 2);
  EXPECT_NEAR(std::min(d(0), d(1)), 1.0, 1e-15);
  EXPECT_NEAR(std::max(d(0), d(1)), 3.0, 1e-15);
  eigsort(d, v);
  EXPECT_NEAR(d(0), 3.0, 1e-15);
  EXPECT_NEAR(d(1), 1.0, 1e-15);
  // Eigenvector of 3 along (1, 1), of 1 along (1, -1), up to sign.
  const double r = std::sqrt(0.5);
  EXPECT_NEAR(std::fabs(v(0, 0)), r, 1e-15);
  EXPECT_NEAR(v(1, 0), v(0, 0), 1e-15);
  EXPECT_NEAR(std::fabs(v(0, 1)), r, 1e-15);
  EXPECT_NEAR(v(1, 1), -v(0, 1), 1e-15);
}

TEST(Jacobi, DiagonalMatrixNeedsNoRotation) {
  MATRIZ<double> a(3, 3, 4.0, 0.0, 0.0, 0.0, -1.0, 0.0, 0.0, 0.0, 7.0);
  VETOR<double> d;
  MATRIZ<double> v(1, 1);
  int nrot = -1;
  JACOBI(a, d, v, nrot);
  EXPECT_EQ(nrot, 0);
  EXPECT_EQ(d(0), 4.0);
  EXPECT_EQ(d(1), -1.0);
  EXPECT_EQ(d(2), 7.0);
  EXPECT_TRUE(iguais(v, identidade(3)));
}

TEST(Eigsym, RebuildsSymmetricMatricesWithOrthonormalVectors) {
  for (int n : {1, 2, 5, 20, 50}) {
    const MATRIZ<double> a = simetrica(n, 60u + unsigned(n));
    const MATRIZ<double> antes(a);
    VETOR<double> d;
    MATRIZ<double> v;
    eigsym(a, d, v);
    ASSERT_EQ(d.n(), n);
    ASSERT_EQ(v.nl(), n);
    ASSERT_EQ(v.nc(), n);
    EXPECT_LT(distancia(recompoe(d, v), a), 1e-10 * tamanho(a)) << n;
    EXPECT_LT(distancia(produto(transposta(v), v), identidade(n)), 1e-12) << n;
    double traco = 0, soma = 0;
    for (int i = 0; i < n; ++i) {
      traco += a(i, i);
      soma += d(i);
      if (i) {
        EXPECT_GE(d(i - 1), d(i)) << n;
      }
    }
    EXPECT_NEAR(soma, traco, 1e-12 * n);
    EXPECT_TRUE(iguais(a, antes)) << "eigsym changed its matrix";
  }
}

TEST(Eigsym, RepeatedEigenvalues) {
  // Q diag(5, 2, 2, 2) Q^T for an orthogonal Q (a Householder reflection).
  const int n = 4;
  const double u[n] = {0.5, 0.5, -0.5, 0.5};
  MATRIZ<double> q = identidade(n), dg(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) q(i, j) -= 2 * u[i] * u[j];
  dg(0, 0) = 5;
  for (int i = 1; i < n; ++i) dg(i, i) = 2;
  const MATRIZ<double> a = produto(produto(q, dg), transposta(q));
  VETOR<double> d;
  MATRIZ<double> v;
  eigsym(a, d, v);
  EXPECT_NEAR(d(0), 5.0, 1e-14);
  for (int i = 1; i < n; ++i) EXPECT_NEAR(d(i), 2.0, 1e-14);
  EXPECT_LT(distancia(recompoe(d, v), a), 1e-13);
  EXPECT_LT(distancia(produto(transposta(v), v), identidade(n)), 1e-13);
}

TEST(Jacobi, KeepsTheDiagonalAndTheLowerTriangle) {
  const MATRIZ<double> orig = simetrica(6, 3);
  MATRIZ<double> a(orig), v;
  VETOR<double> d;
  int nrot;
  JACOBI(a, d, v, nrot);
  EXPECT_GT(nrot, 0);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j <= i; ++j) EXPECT_EQ(a(i, j), orig(i, j));
  EXPECT_LT(distancia(recompoe(d, v), orig), 1e-12 * tamanho(orig));
}

TEST(Eigsort, TiesTakeTheLaterIndex) {
  VETOR<double> d(3);
  d(0) = 1; d(1) = 3; d(2) = 3;
  MATRIZ<double> v = identidade(3);
  eigsort(d, v);
  EXPECT_EQ(d(0), 3.0);
  EXPECT_EQ(d(1), 3.0);
  EXPECT_EQ(d(2), 1.0);
  // The last 3 came first: the columns are e2, e1, e0.
  EXPECT_TRUE(iguais(v, MATRIZ<double>(3, 3, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0, 1.0, 0.0, 0.0)));
}

TEST(JacobiFatal, Messages) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double quase = std::nextafter(1.0, 2.0);
  expect_fatal({
      {"not square", [] { MATRIZ<double> a(2, 3), v; VETOR<double> d; int r; JACOBI(a, d, v, r); },
       "Erro: Matriz a nao-quadrada"},
      {"last bit", [quase] { MATRIZ<double> a(2, 2, 2.0, quase, 1.0, 2.0), v; VETOR<double> d; int r; JACOBI(a, d, v, r); },
       "Erro: Matriz a nao-simetrica"},
      {"eigsym last bit", [quase] { MATRIZ<double> a(2, 2, 2.0, 1.0, quase, 2.0), v; VETOR<double> d; eigsym(a, d, v); },
       "Erro: Matriz a nao-simetrica"},
      // A NaN on the diagonal spreads through the rotations to the other
      // off-diagonal elements: no sweep ever clears their sum.
      {"no convergence",
       [nan] {
         MATRIZ<double> a(3, 3, nan, 1.0, 1.0, 1.0, 0.0, 1.0, 1.0, 1.0, 0.0), v;
         VETOR<double> d;
         int r;
         JACOBI(a, d, v, r);
       },
       "Erro: Too many iterations in routine JACOBI"},
      {"eigsort d", [] { VETOR<double> d(3); MATRIZ<double> v(2, 2); eigsort(d, v); }, "Erro: dimensoes invalidas"},
      {"eigsort v", [] { VETOR<double> d(2); MATRIZ<double> v(2, 3); eigsort(d, v); }, "Erro: dimensoes invalidas"},
  });
}
