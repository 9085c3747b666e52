#include "image/imgbin.h"

#include <climits>
#include <cstring>
#include <new>

#include "base/erro.h"
#include "image/conversao.h"
#include "image/img.h"

namespace imagorix {

namespace {
[[noreturn]] void falta() { erro("Erro IMGBIN::aloca - falta memoria", ""); }
}  // namespace

void IMGBIN::aloca(int nl, int nc) {
  nl_ = nl;
  nc_ = nc;
  fundo_ |= 1u;
  data_.reset();
  rows_.reset();
  const long long n = static_cast<long long>(nl) * nc;
  if (n > INT_MAX || n < INT_MIN) falta();
  n_ = static_cast<int>(n);
  lc_ = static_cast<int>((static_cast<long long>(nl) - 1) / 2);
  cc_ = static_cast<int>((static_cast<long long>(nc) - 1) / 2);
  wpr_ = nw_ = 0;
  if (nl < 1 || nc < 1) return;
  wpr_ = ((nc - 1) >> 5) + 1;
  nw_ = wpr_ * nl;  // at most n, since a row never has more words than pixels
  data_.reset(new (std::nothrow) std::uint32_t[std::size_t(nw_)]());
  if (!data_) falta();
  rows_.reset(new (std::nothrow) std::uint32_t*[std::size_t(nl)]);
  if (!rows_) falta();
  for (int l = 0; l < nl; ++l) rows_[l] = data_.get() + std::size_t(l) * std::size_t(wpr_);
}

void IMGBIN::resize(int nl, int nc) {
  if (nl == nl_ && nc == nc_) return;
  aloca(nl, nc);
}

IMGBIN::IMGBIN(int nl, int nc, int value) {
  aloca(nl, nc);
  preenche(value != 0);
}

IMGBIN::IMGBIN(int nl, int nc, std::initializer_list<int> valores) {
  aloca(nl, nc);
  const long long esperado = data_ ? n_ : 0;
  if (static_cast<long long>(valores.size()) != esperado)
    erro("Erro IMGBIN::IMGBIN - Numero de valores invalido", "");
  const int* v = valores.begin();
  for (int l = 0; l < (data_ ? nl_ : 0); ++l)
    for (int c = 0; c < nc_; ++c) set(l, c, *v++ != 0);
}

IMGBIN::IMGBIN(const IMGBIN& o) {
  aloca(o.nl_, o.nc_);
  fundo_ = o.fundo_;
  lc_ = o.lc_;
  cc_ = o.cc_;
  if (data_) std::memcpy(data_.get(), o.data_.get(), sizeof(std::uint32_t) * std::size_t(nw_));
}

IMGBIN::IMGBIN(IMGBIN&& o) noexcept
    : data_(std::move(o.data_)), rows_(std::move(o.rows_)), fundo_(o.fundo_),
      nl_(o.nl_), nc_(o.nc_), wpr_(o.wpr_), nw_(o.nw_), lc_(o.lc_), cc_(o.cc_), n_(o.n_) {
  o.nl_ = o.nc_ = o.wpr_ = o.nw_ = o.lc_ = o.cc_ = o.n_ = 0;
}

IMGBIN& IMGBIN::operator=(const IMGBIN& o) {
  if (this == &o) return *this;
  resize(o.nl_, o.nc_);
  fundo_ = o.fundo_;
  lc_ = o.lc_;
  cc_ = o.cc_;
  if (data_) std::memcpy(data_.get(), o.data_.get(), sizeof(std::uint32_t) * std::size_t(nw_));
  return *this;
}

IMGBIN& IMGBIN::operator=(IMGBIN&& o) noexcept {
  if (this == &o) return *this;
  data_ = std::move(o.data_);
  rows_ = std::move(o.rows_);
  fundo_ = o.fundo_;
  nl_ = o.nl_;
  nc_ = o.nc_;
  wpr_ = o.wpr_;
  nw_ = o.nw_;
  lc_ = o.lc_;
  cc_ = o.cc_;
  n_ = o.n_;
  o.nl_ = o.nc_ = o.wpr_ = o.nw_ = o.lc_ = o.cc_ = o.n_ = 0;
  return *this;
}

template <class Q>
void IMGBIN::converte(const IMG<Q>& o) {
  using R = detail::PIXCONV<bool, Q>;
  if (R::f(o.fundo())) fundo_ |= 1u; else fundo_ &= ~1u;
  if (!data_) return;
  for (int l = 0; l < nl_; ++l) {
    const Q* s = o.row(l);
    for (int c = 0; c < nc_; ++c) set(l, c, R::f(s[c]));
  }
}

IMGBIN::IMGBIN(const IMGGRY& o) { aloca(o.nl(), o.nc()); converte(o); }
IMGBIN::IMGBIN(const IMGCOR& o) { aloca(o.nl(), o.nc()); converte(o); }
IMGBIN::IMGBIN(const IMGFLT& o) { aloca(o.nl(), o.nc()); converte(o); }
IMGBIN::IMGBIN(const IMGCPX& o) { aloca(o.nl(), o.nc()); converte(o); }

IMGBIN& IMGBIN::operator=(const IMGGRY& o) { resize(o.nl(), o.nc()); converte(o); return *this; }
IMGBIN& IMGBIN::operator=(const IMGCOR& o) { resize(o.nl(), o.nc()); converte(o); return *this; }
IMGBIN& IMGBIN::operator=(const IMGFLT& o) { resize(o.nl(), o.nc()); converte(o); return *this; }
IMGBIN& IMGBIN::operator=(const IMGCPX& o) { resize(o.nl(), o.nc()); converte(o); return *this; }

void IMGBIN::preenche(bool v) {
  if (data_) std::memset(data_.get(), v ? 0xFF : 0x00, sizeof(std::uint32_t) * std::size_t(nw_));
}

void IMGBIN::preenchebytes(const BYTE* v, int nv) {
  if (!data_) return;
  if (nv < n_) erro("Erro IMGBIN::preenchebytes - Vetor menor que a imagem", "");
  for (int l = 0; l < nl_; ++l)
    for (int c = 0; c < nc_; ++c) set(l, c, *v++ != 0);
}

void IMGBIN::preenchebits(const std::uint32_t* w, int nv) {
  if (!data_) return;
  if (nv < (static_cast<long long>(n_) + 31) / 32)
    erro("Erro IMGBIN::preenchebits - Vetor menor que a imagem", "");
  std::size_t k = 0;
  for (int l = 0; l < nl_; ++l)
    for (int c = 0; c < nc_; ++c, ++k) set(l, c, (w[k >> 5] & (0x80000000u >> (k & 31))) != 0);
}

}  // namespace imagorix
