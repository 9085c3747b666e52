// Sequences as series of numbered TGA files: frame i in base + "%03d" +
// ".tga" (base000.tga, base001.tga, ..., base1000.tga).
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/erro.h"
#include "base/strutil.h"
#include "image/img.h"
#include "image/leimp.h"
#include "video/i3d.h"
#include "video/quadros.h"

namespace imagorix {

namespace {

std::string numerado(const std::string& base, int i) {
  char n[16];
  std::snprintf(n, sizeof n, "%03d", i);
  return base + n + ".tga";
}

template <class P>
void imp_tga(const I3D<P>& s, const std::string& base) {
  const std::string cls = detail::SEQTIPO<P>::nome;
  if (s.nf() < 0 || s.nl() < 0 || s.nc() < 0) erro("Erro " + cls + "::ImpTga - Tamanho invalido ", base);
  // The last name is the longest: if it fits, every name does, and no file
  // is written for a series that could not be completed.
  if (s.nf() > 0 && numerado(base, s.nf() - 1).size() > 255) erro(NOME_INVALIDO, numerado(base, s.nf() - 1));
  for (int i = 0; i < s.nf(); ++i) {
    const std::string nome = numerado(base, i);
    if constexpr (std::same_as<P, BYTE>)
      s(i).imp(nome);
    else if constexpr (std::same_as<P, COR>)
      s(i).ImpTga(nome);
    else
      IMGGRY(s(i)).imp(nome);  // real: 0 ... 1 to 0 ... 255; short: clamped
  }
}

template <class P>
void le_tga(I3D<P>& s, const std::string& base) {
  const std::string cls = detail::SEQTIPO<P>::nome;
  std::vector<IMG<P>> lidos;
  for (int i = 0; i < INT_MAX; ++i) {
    const std::string nome = numerado(base, i);
    struct stat st;
    if (stat(nome.c_str(), &st) != 0) break;
    IMG<P> q;
    le(q, nome);
    if (i > 0 && (q.nl() != lidos[0].nl() || q.nc() != lidos[0].nc()))
      erro("Erro: Dimensoes de imagens diferentes", "");
    lidos.push_back(std::move(q));
  }
  if (lidos.empty()) erro("Erro " + cls + "::LeTga - Abertura de ", numerado(base, 0));
  detail::QUADROS<P> quadros(s, static_cast<int>(lidos.size()), lidos[0].nl(), lidos[0].nc());
  for (std::size_t i = 0; i < lidos.size(); ++i) quadros.poe(static_cast<int>(i), std::move(lidos[i]));
  quadros.entrega();
}

}  // namespace

template <> void I3D<BYTE>::ImpTga(const std::string& base) const { imp_tga(*this, base); }
template <> void I3D<COR>::ImpTga(const std::string& base) const { imp_tga(*this, base); }
template <> void I3D<SHT>::ImpTga(const std::string& base) const { imp_tga(*this, base); }
template <> void I3D<FLT>::ImpTga(const std::string& base) const { imp_tga(*this, base); }

template <> void I3D<BYTE>::LeTga(const std::string& base) { le_tga(*this, base); }
template <> void I3D<COR>::LeTga(const std::string& base) { le_tga(*this, base); }

}  // namespace imagorix
