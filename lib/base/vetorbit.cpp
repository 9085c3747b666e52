#include "base/vetorbit.h"

#include <climits>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>

#include "base/arquivo.h"
#include "base/erro.h"
#include "base/lenum.h"
#include "base/vetor.h"

namespace imagorix {

namespace {

constexpr std::uint32_t TOPO = 0x80000000u;

std::uint32_t inverte(std::uint32_t w) {
  w = ((w >> 1) & 0x55555555u) | ((w & 0x55555555u) << 1);
  w = ((w >> 2) & 0x33333333u) | ((w & 0x33333333u) << 2);
  w = ((w >> 4) & 0x0F0F0F0Fu) | ((w & 0x0F0F0F0Fu) << 4);
  return __builtin_bswap32(w);
}

int palavras(int n) { return n > 0 ? (n - 1) / 32 + 1 : 0; }

[[noreturn]] void falta_memoria() { erro(VETOR_FALTA); }
[[noreturn]] void indice_invalido() { erro("Erro VETORBIT::operator() - Indice invalido"); }

// A bit count computed from others: one that does not fit an int is storage
// that cannot be had.
int tamanho(long long n) {
  if (n > INT_MAX) falta_memoria();
  return n < INT_MIN ? INT_MIN : static_cast<int>(n);
}

int tamanho(const std::string& s) {
  if (s.size() > static_cast<std::size_t>(INT_MAX)) falta_memoria();
  return static_cast<int>(s.size());
}

// Polynomial-style text: the last character is bit 0. msg is what a character
// other than '0' and '1' ends the program with.
void de_texto(VETORBIT& v, const std::string& s, const char* msg) {
  for (char c : s)
    if (c != '0' && c != '1') erro(msg);
  const int n = tamanho(s);
  v.resize(n);
  std::uint32_t* w = v.data();
  for (int j = 0; j < v.nw(); ++j) w[j] = 0;
  for (int i = 0; i < n; ++i)
    if (s[n - 1 - i] == '1') w[i >> 5] |= TOPO >> (i & 31);
}

}  // namespace

VETORBIT::VETORBIT(int n, bool b) {
  aloca(n);
  if (b)
    for (int j = 0; j < nw_; ++j) v_[j] = ~0u;
}

VETORBIT::VETORBIT(const std::string& s) {
  aloca(tamanho(s));
  setbits(s);
}

VETORBIT::VETORBIT(const VETORBIT& o) { copia(o); }

VETORBIT::VETORBIT(VETORBIT&& o) noexcept
    : nv_(o.nv_), nw_(o.nw_), v_(std::move(o.v_)) {
  o.nv_ = 0;
  o.nw_ = 0;
}

VETORBIT& VETORBIT::operator=(const VETORBIT& o) {
  if (this == &o) return *this;
  resize(o.nv_);
  if (nw_ > 0) std::memcpy(v_.get(), o.v_.get(), sizeof(std::uint32_t) * nw_);
  return *this;
}

VETORBIT& VETORBIT::operator=(VETORBIT&& o) noexcept {
  if (this != &o) {
    nv_ = o.nv_;
    nw_ = o.nw_;
    v_ = std::move(o.v_);
    o.nv_ = 0;
    o.nw_ = 0;
  }
  return *this;
}

VETORBIT& VETORBIT::operator=(const std::string& s) {
  resize(tamanho(s));
  setbits(s);
  return *this;
}

void VETORBIT::aloca(int n) {
  nv_ = n;
  nw_ = palavras(n);
  v_.reset();
  if (nw_ > 0) {
    v_.reset(new (std::nothrow) std::uint32_t[nw_]());
    if (!v_) {
      nv_ = nw_ = 0;
      falta_memoria();
    }
  }
}

void VETORBIT::resize(int n) {
  if (n == nv_) return;
  aloca(n);
}

void VETORBIT::copia(const VETORBIT& o) {
  aloca(o.nv_);
  if (nw_ > 0) std::memcpy(v_.get(), o.v_.get(), sizeof(std::uint32_t) * nw_);
}

void VETORBIT::preenche(int n, const int* valores, int nvalores) {
  if (n != nvalores) erro("Erro VETORBIT::VETORBIT - Numero de valores invalido");
  aloca(n);
  for (int i = 0; i < n; ++i)
    if (valores[i] != 0) v_[i >> 5] |= TOPO >> (i & 31);
}

void VETORBIT::confere(int i) const {
  if (i < 0 || i >= nv_) indice_invalido();
}

void VETORBIT::setbits(const std::string& s) {
  if (nv_ > 0 && s.size() < static_cast<std::size_t>(nv_))
    erro("Erro VETORBIT::setbits - String menor que o vetor");
  for (int j = 0; j < nw_; ++j) {
    std::uint32_t w = 0;
    const int fim = j == nw_ - 1 ? nv_ - 32 * j : 32;
    for (int k = 0; k < fim; ++k)
      if (s[32 * j + k] != '0') w |= TOPO >> k;
    v_[j] = w;
  }
}

bool VETORBIT::operator==(const VETORBIT& o) const {
  if (nv_ != o.nv_) return false;
  if (nw_ == 0) return true;
  for (int j = 0; j < nw_ - 1; ++j)
    if (v_[j] != o.v_[j]) return false;
  return ((v_[nw_ - 1] ^ o.v_[nw_ - 1]) & mascara_final(nv_)) == 0;
}

template <class Op>
VETORBIT VETORBIT::combina(const VETORBIT& o, Op op) const {
  if (nv_ != o.nv_) erro("Erro &: vetores com tamanhos diferentes");
  VETORBIT r(nv_);
  for (int j = 0; j < nw_; ++j) r.v_[j] = op(v_[j], o.v_[j]);
  return r;
}

VETORBIT VETORBIT::operator^(const VETORBIT& o) const {
  return combina(o, [](std::uint32_t a, std::uint32_t b) { return a ^ b; });
}
VETORBIT VETORBIT::operator|(const VETORBIT& o) const {
  return combina(o, [](std::uint32_t a, std::uint32_t b) { return a | b; });
}
VETORBIT VETORBIT::operator&(const VETORBIT& o) const {
  return combina(o, [](std::uint32_t a, std::uint32_t b) { return a & b; });
}

bool VETORBIT::shiftin(bool b) {
  const bool saiu = (*this)(nv_ - 1);
  // Moving bit i to i + 1 is a right shift of the words, each taking the
  // lowest bit of the word before it.
  for (int j = nw_ - 1; j > 0; --j) v_[j] = (v_[j] >> 1) | (v_[j - 1] << 31);
  v_[0] = (v_[0] >> 1) | (b ? TOPO : 0u);
  return saiu;
}

int VETORBIT::trim() {
  for (int j = nw_ - 1; j >= 0; --j) {
    const std::uint32_t w = j == nw_ - 1 ? v_[j] & mascara_final(nv_) : v_[j];
    if (w != 0) {
      nv_ = 32 * j + 32 - __builtin_ctz(w);
      nw_ = palavras(nv_);
      return nv_;
    }
  }
  // No set bit: the search runs off the bottom of the vector.
  indice_invalido();
}

void VETORBIT::delleft(int n) {
  if (n > nv_) erro("Erro delleft n>nv");
  // A negative count would raise nv past the storage.
  if (n < 0) erro("Erro delleft n<0");
  nv_ -= n;
  nw_ = palavras(nv_);
}

std::uint32_t VETORBIT::janela(long long pos) const {
  auto palavra = [this](long long j) -> std::uint32_t {
    if (j < 0 || j >= nw_) return 0;
    return j == nw_ - 1 ? v_[j] & mascara_final(nv_) : v_[j];
  };
  const long long j = pos >= 0 ? pos / 32 : -((31 - pos) / 32);
  const int s = static_cast<int>(pos - 32 * j);
  if (s == 0) return palavra(j);
  return (palavra(j) << s) | (palavra(j + 1) >> (32 - s));
}

VETORBIT VETORBIT::shiftdown(int k) const {
  const long long m = static_cast<long long>(nv_) - k;
  if (m > 0 && k < 0) indice_invalido();  // bit k would be read
  VETORBIT r(tamanho(m));
  for (int j = 0; j < r.nw_; ++j) r.v_[j] = janela(k + 32LL * j);
  return r;
}

VETORBIT VETORBIT::shiftup(int k) const {
  if (nv_ > 0 && k < 0) indice_invalido();  // bit 0 would land at k
  VETORBIT r(tamanho(static_cast<long long>(nv_) + k));
  for (int j = 0; j < r.nw_; ++j) r.v_[j] = janela(32LL * j - k);
  return r;
}

VETORBIT VETORBIT::padzeros(int m) const {
  if (m < 0) erro("Erro padzeros m<0");
  VETORBIT r(tamanho(static_cast<long long>(nv_) + m));
  for (int j = 0; j < r.nw_; ++j) r.v_[j] = janela(32LL * j);
  return r;
}

VETORBIT VETORBIT::subvetorbit(int inic, int fim) const {
  if (fim < inic) erro("Erro subvetorbit inic>fim");
  confere(inic);
  confere(fim);
  VETORBIT r(fim - inic + 1);
  for (int j = 0; j < r.nw_; ++j) r.v_[j] = janela(inic + 32LL * j);
  return r;
}

VETORBIT VETORBIT::reverse() const {
  VETORBIT r(nv_);
  // Word j of the result holds bits nv-1-32j down to nv-32-32j of this one.
  for (int j = 0; j < r.nw_; ++j)
    r.v_[j] = inverte(janela(static_cast<long long>(nv_) - 32 - 32LL * j));
  return r;
}

std::string VETORBIT::tostring() const {
  std::string s(nv_ > 0 ? static_cast<std::size_t>(nv_) : 0, '0');
  for (int i = 0; i < nv_; ++i)
    if (v_[i >> 5] & (TOPO >> (i & 31))) s[i] = '1';
  return s;
}

VETORBIT atovetorbit(const std::string& s) {
  VETORBIT v;
  de_texto(v, s, "Erro atovetorbit");
  return v;
}

std::istream& operator>>(std::istream& is, VETORBIT& v) {
  std::string s;
  if (is >> s) de_texto(v, s, "Erro leitura VETORBIT");
  return is;
}

std::ostream& operator<<(std::ostream& os, const VETORBIT& v) {
  return os << "n=" << v.nv() << "  " << v.tostring() << '\n';
}

void imp(const VETORBIT& v, const std::string& nome) {
  ARQIMP f(nome, "wt", "imp(VETORBIT,nome)", "Erro imp(VETORBIT,nome) - abertura de ",
           "Erro VETOR<T>::ImpTxt - Faltou memoria setvbuf");
  f.print("%d\n\n", v.nv());
  // Characters are gathered a line at a time (32 bits and 8 separators).
  char linha[40];
  int n = 0;
  for (int i = 0; i < v.nv(); ++i) {
    linha[n++] = v(i) ? '1' : '0';
    if (i % 32 == 31) {
      linha[n++] = '\n';
      f.write(linha, n);
      n = 0;
    } else if (i % 8 == 7) {
      linha[n++] = ' ';
    } else if (i % 4 == 3) {
      linha[n++] = ',';
    }
  }
  f.write(linha, n);
  f.close();
}

void le(VETORBIT& v, const std::string& nome) {
  ARQLE f(nome, "rt", "Erro le(VETORBIT - Abertura ", "Erro le(VETOR<double> - Faltou memoria setvbuf");
  int n;
  LeNum(f.get(), n);
  if (n < 0) erro("Erro le(VETORBIT - Tamanho invalido");
  // The count is not trusted for the storage: every bit takes at least one
  // character, so a regular file can justify no more bits than it has bytes
  // left, and a stream of unknown length gets storage as its bits arrive. A
  // file that holds fewer bits than it claims ends at the bit reader.
  constexpr int BLOCO = 1 << 16;
  const long long resto = f.remaining();
  int cap = n;
  if (resto >= 0 && resto < cap) cap = static_cast<int>(resto);
  if (resto < 0 && cap > BLOCO) cap = BLOCO;
  VETORBIT t(cap);
  for (int i = 0; i < n; ++i) {
    bool b;
    LeBool(f.get(), b);
    if (i == t.nv()) {
      const long long mais = t.nv() < BLOCO ? BLOCO : 2LL * t.nv();
      VETORBIT u(static_cast<int>(mais < n ? mais : n));
      if (t.nw() > 0) std::memcpy(u.data(), t.data(), sizeof(std::uint32_t) * t.nw());
      t = std::move(u);
    }
    if (b) t.data()[i >> 5] |= TOPO >> (i & 31);
  }
  v = std::move(t);
}

VETORBIT modGF2(VETORBIT a, VETORBIT p) {
  a.trim();
  p.trim();
  const int d = p.nv() - 1;
  if (a.nv() < p.nv()) return a.padzeros(d - a.nv());
  const int s = a.nv() - p.nv();
  // R holds the top d coefficients; the low s + 1 coefficients of a are fed
  // into it one at a time, highest first, and each coefficient that leaves
  // the top of R subtracts p (without its leading term) from it.
  VETORBIT r = a.subvetorbit(s + 1, a.nv() - 1);
  p.delleft(1);
  std::uint32_t* rw = r.data();
  const std::uint32_t* pw = p.data();
  for (int i = s; i >= 0; --i)
    if (r.shiftin(a(i)))
      for (int j = 0; j < r.nw(); ++j) rw[j] ^= pw[j];
  return r;
}

VETORBIT xkmodGF2(VETORBIT& a, int k, const VETORBIT& p) {
  a = modGF2(std::move(a), p);
  for (int i = 0; i < k; ++i) a = modGF2(a.shiftup(1), p);
  return a;
}

}  // namespace imagorix
