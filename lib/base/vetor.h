// VETOR: the library's bounds-checked vector, with quicksort and selectk.
//
// Every element access is checked; a bad index ends the program through
// erro. Besides plain indexing, operator()(i, modo) says what an index
// outside the vector designates ('n' background, 'e' error, 'r' wrap around,
// 'c' relative to the centre); closed curves use 'r'.
#pragma once
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "base/erro.h"

namespace imagorix {

// The vector's messages, also raised by code that checks a vector's range
// itself before a bulk access.
inline constexpr const char* VETOR_INDICE = "Erro VETOR::operator() - Indice invalido";
inline constexpr const char* VETOR_FALTA = "Erro VETOR::aloca - Falta memoria";

template <class T>
class VETOR {
 public:
  VETOR() = default;
  explicit VETOR(int n) { aloca(n); }
  VETOR(const VETOR& o) { copy_from(o); }
  VETOR(VETOR&& o) noexcept
      : v_(std::exchange(o.v_, nullptr)), n_(std::exchange(o.n_, 0)),
        fundo_(std::move(o.fundo_)), centro_(std::exchange(o.centro_, 0)) {}
  VETOR& operator=(const VETOR& o) {
    if (this != &o) {
      release();
      copy_from(o);
    }
    return *this;
  }
  VETOR& operator=(VETOR&& o) noexcept {
    if (this != &o) {
      release();
      v_ = std::exchange(o.v_, nullptr);
      n_ = std::exchange(o.n_, 0);
      fundo_ = std::move(o.fundo_);
      centro_ = std::exchange(o.centro_, 0);
    }
    return *this;
  }
  ~VETOR() { release(); }

  // Sets the count to n and the centre to 0 and allocates n elements (none
  // when n <= 0), releasing any held before. Elements of plain types are left
  // uninitialised.
  void aloca(int n) {
    release();
    n_ = n;
    centro_ = 0;
    if (n > 0) {
      v_ = new (std::nothrow) T[static_cast<std::size_t>(n)];
      if (!v_) {
        n_ = 0;
        erro(VETOR_FALTA);
      }
    }
  }
  // Same count: nothing happens. Otherwise the contents are lost.
  void resize(int n) {
    if (n == n_) return;
    release();
    aloca(n);
  }

  int n() const { return n_; }

  T& operator()(int i) {
    if (i < 0 || i >= n_) erro(VETOR_INDICE);
    return v_[i];
  }
  const T& operator()(int i) const { return const_cast<VETOR&>(*this)(i); }

  // modo: 'n' (0), 'e' (2), 'r' (3) or 'c' (4).
  T& operator()(int i, char modo) {
    switch (modo) {
      case 'n': case 0:
        return (i >= 0 && i < n_) ? v_[i] : fundo_;
      case 'e': case 2:
        if (i < 0 || i >= n_) erro("Erro VETOR::operator(i,'e') - Indice invalido");
        return v_[i];
      case 'r': case 3: {
        if (n_ <= 0) erro(VETOR_INDICE);
        int k = i % n_;
        if (k < 0) k += n_;
        return v_[k];
      }
      case 'c': case 4: {
        long long k = static_cast<long long>(i) + centro_;
        return (k >= 0 && k < n_) ? v_[k] : fundo_;
      }
      default:
        erro("Erro VETOR::operator(i,modo) - modo invalido");
    }
  }
  const T& operator()(int i, char modo) const { return const_cast<VETOR&>(*this)(i, modo); }

  // The element that 'n' and 'c' accesses outside the vector refer to.
  T& fundo() { return fundo_; }
  const T& fundo() const { return fundo_; }
  int& centro() { return centro_; }
  int centro() const { return centro_; }

  // Unchecked view of the storage, for bulk work that has checked its range.
  T* data() { return v_; }
  const T* data() const { return v_; }

 private:
  void release() {
    delete[] v_;
    v_ = nullptr;
  }
  // Copies count, centre and elements; the background value is not carried.
  void copy_from(const VETOR& o) {
    aloca(o.n_);
    centro_ = o.centro_;
    if constexpr (std::is_trivially_copyable_v<T>) {
      if (n_ > 0) std::memcpy(static_cast<void*>(v_), o.v_, sizeof(T) * static_cast<std::size_t>(n_));
    } else {
      for (int i = 0; i < n_; ++i) v_[i] = o.v_[i];
    }
  }

  T* v_ = nullptr;
  int n_ = 0;
  T fundo_{};
  int centro_ = 0;
};

namespace detail {

// Hoare's partition step around x: on return everything before i is not
// greater than x and everything after j is not less.
template <class T>
void particiona(VETOR<T>& v, const T& x, int& i, int& j) {
  do {
    while (v(i) < x) ++i;
    while (x < v(j)) --j;
    if (i <= j) {
      std::swap(v(i), v(j));
      ++i;
      --j;
    }
  } while (i <= j);
}

}  // namespace detail

// Sorts elements l ... r of v in ascending order (Hoare partition, middle
// pivot). An empty range (r < l) is an error.
template <class T>
void quicksort(VETOR<T>& v, int l, int r) {
  while (true) {
    if (r < l) erro("Erro: deveria ter l<=r");
    const T x = v((l + r) / 2);
    int i = l, j = r;
    detail::particiona(v, x, i, j);
    // Recurse into the smaller side and loop on the larger one, so the stack
    // stays logarithmic; the order in which the sides are sorted does not
    // change the result.
    const bool left = l < j, right = i < r;
    if (left && right) {
      if (j - l < r - i) {
        quicksort(v, l, j);
        l = i;
      } else {
        quicksort(v, i, r);
        r = j;
      }
    } else if (left) {
      r = j;
    } else if (right) {
      l = i;
    } else {
      return;
    }
  }
}

// Rearranges l ... r so that element k holds what it would hold after sorting
// the range, and returns it (Hoare's FIND).
template <class T>
T selectk(VETOR<T>& v, int l, int k, int r) {
  if (k < l || r < k) erro("Erro: deveria ter l<=k<=r");
  while (l < r) {
    const T x = v(k);
    int i = l, j = r;
    detail::particiona(v, x, i, j);
    if (j < k) l = i;
    if (k < i) r = j;
  }
  return v(k);
}

}  // namespace imagorix
