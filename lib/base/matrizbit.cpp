#include "base/matrizbit.h"

#include <climits>
#include <cstring>
#include <new>
#include <ostream>

#include "base/erro.h"

namespace imagorix {

namespace {

[[noreturn]] void falta_memoria() { erro("Erro MATRIZBIT::aloca - Falta memoria"); }

}  // namespace

MATRIZBIT::MATRIZBIT(int nl, int nc, bool b) {
  aloca(nl, nc);
  if (b)
    for (int j = 0; j < nw_; ++j) v_[j] = ~0u;
}

MATRIZBIT::MATRIZBIT(const MATRIZBIT& o) {
  aloca(o.nl_, o.nc_);
  if (nw_ > 0) std::memcpy(v_.get(), o.v_.get(), sizeof(std::uint32_t) * nw_);
}

MATRIZBIT::MATRIZBIT(MATRIZBIT&& o) noexcept
    : nl_(o.nl_), nc_(o.nc_), nw_(o.nw_), nb_(o.nb_), v_(std::move(o.v_)) {
  o.nl_ = o.nc_ = o.nw_ = o.nb_ = 0;
}

MATRIZBIT& MATRIZBIT::operator=(const MATRIZBIT& o) {
  if (this == &o) return *this;
  resize(o.nl_, o.nc_);
  if (nw_ > 0) std::memcpy(v_.get(), o.v_.get(), sizeof(std::uint32_t) * nw_);
  return *this;
}

MATRIZBIT& MATRIZBIT::operator=(MATRIZBIT&& o) noexcept {
  if (this != &o) {
    nl_ = o.nl_;
    nc_ = o.nc_;
    nw_ = o.nw_;
    nb_ = o.nb_;
    v_ = std::move(o.v_);
    o.nl_ = o.nc_ = o.nw_ = o.nb_ = 0;
  }
  return *this;
}

void MATRIZBIT::aloca(int nl, int nc) {
  v_.reset();
  const long long bits = static_cast<long long>(nl) * nc;
  if (bits > INT_MAX || bits < INT_MIN) {
    nl_ = nc_ = nw_ = nb_ = 0;
    falta_memoria();
  }
  nl_ = nl;
  nc_ = nc;
  nb_ = static_cast<int>(bits);
  // Division truncating toward zero: no rows and some columns give one word.
  // A negative row count holds no storage rather than a negative amount.
  nw_ = nc <= 0 || nb_ < 0 ? 0 : (nb_ - 1) / 32 + 1;
  if (nw_ > 0) {
    v_.reset(new (std::nothrow) std::uint32_t[nw_]());
    if (!v_) {
      nl_ = nc_ = nw_ = nb_ = 0;
      falta_memoria();
    }
  }
}

void MATRIZBIT::resize(int nl, int nc) {
  if (nl == nl_ && nc == nc_) return;
  aloca(nl, nc);
}

int MATRIZBIT::linear(int l, int c) const {
  if (l < 0 || l >= nl_ || c < 0 || c >= nc_) erro("Erro MATRIZBIT::operator() - Indice invalido");
  return l * nc_ + c;
}

void MATRIZBIT::preenche(int nl, int nc, const int* valores, int nvalores) {
  const long long bits = nl > 0 && nc > 0 ? static_cast<long long>(nl) * nc : 0;
  if (bits != nvalores)
    erro("Erro MATRIZBIT::MATRIZBIT - Numero de valores invalido");
  aloca(nl, nc);
  for (int k = 0; k < nb_; ++k)
    if (valores[k] != 0) v_[k >> 5] |= 0x80000000u >> (k & 31);
}

std::ostream& operator<<(std::ostream& os, const MATRIZBIT& m) {
  for (int l = 0; l < m.nl(); ++l) {
    os << '[';
    for (int c = 0; c < m.nc(); ++c) os << (m(l, c) ? '1' : '0') << ' ';
    os << "]\n";
  }
  return os;
}

}  // namespace imagorix
