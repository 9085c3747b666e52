// MATRIZ: the library's dense, bounds-checked matrix of int or double.
//
// nl rows of nc elements in one block, row after row (element (l, c) at
// l * nc + c). There is no background and no access mode: every access is
// checked and a bad index ends the program.
#pragma once
#include <climits>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>
#include <utility>

#include "base/erro.h"

namespace imagorix {

inline constexpr const char* MATRIZ_INDICE = "Erro MATRIZ::operator(l,c) - Indice invalido";
inline constexpr const char* MATRIZ_FALTA = "Erro MATRIZ::aloca - Falta memoria";

template <class T>
class MATRIZ {
  static_assert(std::is_arithmetic_v<T>, "MATRIZ holds numbers");

 public:
  MATRIZ() = default;
  MATRIZ(int nl, int nc) { aloca(nl, nc); }
  // nl * nc values, row by row: MATRIZ<double>(2, 2, 1, 0, 0, 1). Another
  // count of values ends the program.
  template <class... V>
    requires(sizeof...(V) > 0 && (std::is_arithmetic_v<V> && ...))
  MATRIZ(int nl, int nc, V... valores) : MATRIZ(nl, nc, {static_cast<T>(valores)...}) {}
  MATRIZ(int nl, int nc, std::initializer_list<T> valores) {
    aloca(nl, nc);
    if (valores.size() != static_cast<std::size_t>(n_))
      erro("Erro MATRIZ::MATRIZ - Numero de valores != nl*nc");
    std::size_t k = 0;
    for (T x : valores) a_[k++] = x;
  }

  MATRIZ(const MATRIZ& o) { copia(o); }
  MATRIZ(MATRIZ&& o) noexcept
      : a_(std::exchange(o.a_, nullptr)), nl_(std::exchange(o.nl_, 0)),
        nc_(std::exchange(o.nc_, 0)), n_(std::exchange(o.n_, 0)) {}
  MATRIZ& operator=(const MATRIZ& o) {
    if (this != &o) copia(o);
    return *this;
  }
  MATRIZ& operator=(MATRIZ&& o) noexcept {
    if (this != &o) {
      delete[] a_;
      a_ = std::exchange(o.a_, nullptr);
      nl_ = std::exchange(o.nl_, 0);
      nc_ = std::exchange(o.nc_, 0);
      n_ = std::exchange(o.n_, 0);
    }
    return *this;
  }
  ~MATRIZ() { delete[] a_; }

  // Replaces the contents with nl x nc elements, zero-initialised. A size
  // below 1 on either side leaves the matrix without elements (n is 0); one
  // whose element count does not fit an int ends the program.
  void aloca(int nl, int nc) {
    delete[] a_;
    a_ = nullptr;
    nl_ = nl;
    nc_ = nc;
    n_ = 0;
    if (nl < 1 || nc < 1) return;
    const long long n = static_cast<long long>(nl) * nc;
    if (n > INT_MAX) erro(MATRIZ_FALTA);
    a_ = new (std::nothrow) T[static_cast<std::size_t>(n)]();
    if (!a_) erro(MATRIZ_FALTA);
    n_ = static_cast<int>(n);
  }
  // Always allocates anew, even for the same sizes: the contents are lost.
  void resize(int nl, int nc) { aloca(nl, nc); }

  int nl() const { return nl_; }
  int nc() const { return nc_; }
  int n() const { return n_; }

  T& operator()(int l, int c) {
    if (l < 0 || l >= nl_ || c < 0 || c >= nc_) erro(MATRIZ_INDICE);
    return a_[static_cast<std::size_t>(l) * static_cast<std::size_t>(nc_) + static_cast<std::size_t>(c)];
  }
  const T& operator()(int l, int c) const { return const_cast<MATRIZ&>(*this)(l, c); }

  // Unchecked view of the n elements, row after row; null when empty.
  T* data() { return a_; }
  const T* data() const { return a_; }

 private:
  void copia(const MATRIZ& o) {
    aloca(o.nl_, o.nc_);
    if (n_ > 0) std::memcpy(a_, o.a_, sizeof(T) * static_cast<std::size_t>(n_));
  }

  T* a_ = nullptr;
  int nl_ = 0;
  int nc_ = 0;
  int n_ = 0;
};

}  // namespace imagorix
