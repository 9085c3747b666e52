// Arithmetic between vectors of doubles, matrices and points: sums,
// differences, products, transpose, identity and trace.
//
// Sizes are checked before any element is touched, so a refused operation
// leaves its operands as they were. Sums run from index 0 up, so results
// are the same bits on every machine that rounds as IEEE doubles do.
#pragma once
#include <cstddef>

#include "base/erro.h"
#include "base/matriz.h"
#include "base/ponto.h"
#include "base/vetor.h"

namespace imagorix {

// ---- vectors of doubles

inline VETOR<double> operator+(const VETOR<double>& a, const VETOR<double>& b) {
  if (a.n() != b.n()) erro("operator+: Os vetores nao tem o mesmo tamanho");
  VETOR<double> r(a.n());
  for (int i = 0; i < a.n(); ++i) r.data()[i] = a.data()[i] + b.data()[i];
  return r;
}

inline VETOR<double> operator-(const VETOR<double>& a, const VETOR<double>& b) {
  if (a.n() != b.n()) erro("operator-: Os vetores nao tem o mesmo tamanho");
  VETOR<double> r(a.n());
  for (int i = 0; i < a.n(); ++i) r.data()[i] = a.data()[i] - b.data()[i];
  return r;
}

inline VETOR<double> operator+(double k, const VETOR<double>& a) {
  VETOR<double> r(a.n());
  for (int i = 0; i < a.n(); ++i) r.data()[i] = k + a.data()[i];
  return r;
}

// Dot product.
inline double operator*(const VETOR<double>& a, const VETOR<double>& b) {
  if (a.n() != b.n()) erro("Erro operator*: os vetores nao tem mesmo tamanho");
  double s = 0;
  for (int i = 0; i < a.n(); ++i) s += a.data()[i] * b.data()[i];
  return s;
}

// ---- matrices

template <class T>
MATRIZ<T> operator+(const MATRIZ<T>& a, const MATRIZ<T>& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc()) erro("operator+: As matrizes nao tem o mesmo tamanho");
  MATRIZ<T> r(a.nl(), a.nc());
  for (int i = 0; i < r.n(); ++i) r.data()[i] = a.data()[i] + b.data()[i];
  return r;
}

template <class T>
MATRIZ<T> operator-(const MATRIZ<T>& a, const MATRIZ<T>& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc()) erro("operator-: As matrizes nao tem o mesmo tamanho");
  MATRIZ<T> r(a.nl(), a.nc());
  for (int i = 0; i < r.n(); ++i) r.data()[i] = a.data()[i] - b.data()[i];
  return r;
}

template <class T>
MATRIZ<T> operator-(const MATRIZ<T>& a) {
  MATRIZ<T> r(a.nl(), a.nc());
  for (int i = 0; i < r.n(); ++i) r.data()[i] = -a.data()[i];
  return r;
}

inline MATRIZ<double> operator*(double k, const MATRIZ<double>& a) {
  MATRIZ<double> r(a.nl(), a.nc());
  for (int i = 0; i < r.n(); ++i) r.data()[i] = k * a.data()[i];
  return r;
}

// Each entry is summed over k from 0 up; the loops run i, k, j so that the
// inner one walks rows of b and r, which adds the same terms in the same
// order as the textbook i, j, k loops.
template <class T>
MATRIZ<T> operator*(const MATRIZ<T>& a, const MATRIZ<T>& b) {
  if (a.nc() != b.nl()) erro("operator*: Numero de colunas != numero de linhas");
  MATRIZ<T> r(a.nl(), b.nc());
  if (r.n() == 0) return r;
  const std::size_t m = static_cast<std::size_t>(a.nc()), p = static_cast<std::size_t>(b.nc());
  for (int i = 0; i < a.nl(); ++i) {
    T* ri = r.data() + static_cast<std::size_t>(i) * p;
    const T* ai = a.data() + static_cast<std::size_t>(i) * m;
    for (std::size_t k = 0; k < m; ++k) {
      const T aik = ai[k];
      const T* bk = b.data() + k * p;
      for (std::size_t j = 0; j < p; ++j) ri[j] += aik * bk[j];
    }
  }
  return r;
}

inline VETOR<double> operator*(const MATRIZ<double>& a, const VETOR<double>& v) {
  if (a.nc() != v.n()) erro("operator*: Numero de colunas != numero de linhas");
  VETOR<double> r(a.nl());
  for (int i = 0; i < a.nl(); ++i) {
    const double* ai = a.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(a.nc());
    double s = 0;
    for (int j = 0; j < a.nc(); ++j) s += ai[j] * v.data()[j];
    r.data()[i] = s;
  }
  return r;
}

inline VETOR<double> operator*(const VETOR<double>& v, const MATRIZ<double>& a) {
  if (v.n() != a.nl()) erro("operator*: Numero de elementos != numero de linhas");
  VETOR<double> r(a.nc());
  for (int i = 0; i < a.nc(); ++i) r.data()[i] = 0;
  // Row by row: entry i still sums v(j) * a(j, i) over j from 0 up.
  for (int j = 0; j < a.nl(); ++j) {
    const double* aj = a.data() + static_cast<std::size_t>(j) * static_cast<std::size_t>(a.nc());
    for (int i = 0; i < a.nc(); ++i) r.data()[i] += v.data()[j] * aj[i];
  }
  return r;
}

template <class T>
MATRIZ<T> transposta(const MATRIZ<T>& a) {
  MATRIZ<T> t(a.nc(), a.nl());
  for (int i = 0; i < a.nl(); ++i)
    for (int j = 0; j < a.nc(); ++j)
      t.data()[static_cast<std::size_t>(j) * static_cast<std::size_t>(a.nl()) + static_cast<std::size_t>(i)] =
          a.data()[static_cast<std::size_t>(i) * static_cast<std::size_t>(a.nc()) + static_cast<std::size_t>(j)];
  return t;
}

// n x n, 1 on the diagonal.
inline MATRIZ<double> identidade(int n) {
  MATRIZ<double> r(n, n);
  for (int i = 0; i < n; ++i) r(i, i) = 1.0;
  return r;
}

template <class T>
T traco(const MATRIZ<T>& a) {
  if (a.nl() != a.nc()) erro("Erro: Matriz nao-quadrada");
  T s = 0;
  for (int i = 0; i < a.nl(); ++i) s += a(i, i);
  return s;
}

// ---- matrices and points

inline PONTO3 operator*(const MATRIZ<double>& a, const PONTO3& p) {
  if (a.nl() != 3 || a.nc() != 3) erro("PONTO3 operator*: Matriz deve ser 3x3");
  PONTO3 r;
  for (int i = 0; i < 3; ++i) r.v[i] = a(i, 0) * p.v[0] + a(i, 1) * p.v[1] + a(i, 2) * p.v[2];
  return r;
}

inline PONTO3 operator*(const PONTO3& p, const MATRIZ<double>& a) {
  if (a.nl() != 3 || a.nc() != 3) erro("PONTO3 operator*: Matriz deve ser 3x3");
  PONTO3 r;
  for (int i = 0; i < 3; ++i) r.v[i] = p.v[0] * a(0, i) + p.v[1] * a(1, i) + p.v[2] * a(2, i);
  return r;
}

inline PONTO2 operator*(const MATRIZ<double>& a, const PONTO2& p) {
  if (a.nl() != 2 || a.nc() != 2) erro("PONTO2 operator*: Matriz deve ser 2x2");
  return {a(0, 0) * p.x + a(0, 1) * p.y, a(1, 0) * p.x + a(1, 1) * p.y};
}

inline PONTO2 operator*(const PONTO2& p, const MATRIZ<double>& a) {
  if (a.nl() != 2 || a.nc() != 2) erro("PONTO2 operator*: Matriz deve ser 2x2");
  return {p.x * a(0, 0) + p.y * a(1, 0), p.x * a(0, 1) + p.y * a(1, 1)};
}

}  // namespace imagorix
