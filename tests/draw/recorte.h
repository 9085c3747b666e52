// Drawing near and beyond the edges of an image, checked against the same
// drawing on a larger canvas: the pixels inside must be the canvas's, and
// the writes that fell outside must have gone to the background value.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <sstream>
#include <string>

#include "image/img.h"
#include "image/imgbin.h"
#include "image/imgyuv.h"

namespace drawtest {

using namespace imagorix;

// Margin of the canvas around the small image; even, so that the chroma
// samples of an IMGYUV line up too.
inline constexpr int PAD = 40;

inline IMGBIN branco(IMGBIN*, int nl, int nc) { return IMGBIN(nl, nc, 1); }
inline IMGGRY branco(IMGGRY*, int nl, int nc) { return IMGGRY(nl, nc, BYTE(7)); }
inline IMGCOR branco(IMGCOR*, int nl, int nc) { return IMGCOR(nl, nc, 0x070707); }
inline IMGYUV branco(IMGYUV*, int nl, int nc) {
  IMGYUV y(nl, nc);
  y.img.preenche(7);
  return y;
}

// Messages built with streams: g++ 12 warns falsely (-Wrestrict) on some
// concatenations of literals and std::string.
inline void escreve(std::ostream& os, bool v) { os << v; }
inline void escreve(std::ostream& os, BYTE v) { os << int(v); }
inline void escreve(std::ostream& os, const COR& v) { os << int(v.r) << ',' << int(v.g) << ',' << int(v.b); }

// Where the small image differs from the canvas window at (PAD, PAD); empty
// when they agree.
template <class I>
std::string diferenca(const I& s, const I& b) {
  for (int l = 0; l < s.nl(); ++l)
    for (int c = 0; c < s.nc(); ++c)
      if (!(s(l, c) == b(l + PAD, c + PAD))) {
        std::ostringstream os;
        os << '(' << l << ", " << c << "): ";
        escreve(os, s(l, c));
        os << " against ";
        escreve(os, b(l + PAD, c + PAD));
        return os.str();
      }
  return "";
}
inline std::string diferenca(const IMGYUV& s, const IMGYUV& b) {
  for (int l = 0; l < s.nly; ++l)
    for (int c = 0; c < s.ncy; ++c) {
      const BYTE* sy = s.img.data();
      const BYTE* by = b.img.data();
      std::ostringstream os;
      os << '(' << l << ", " << c << ')';
      if (sy[l * s.ncy + c] != by[(l + PAD) * b.ncy + c + PAD]) return "luma at " + os.str();
      if (l % 2 == 0 && c % 2 == 0) {
        const int ks = l / 2 * s.ncuv + c / 2, kb = (l + PAD) / 2 * b.ncuv + (c + PAD) / 2;
        if (sy[s.ou + ks] != by[b.ou + kb] || sy[s.ov + ks] != by[b.ov + kb])
          return "chroma of " + os.str();
      }
    }
  return "";
}

// Whether the canvas holds a change outside the window of the small image.
template <class I>
bool fora_mudou(const I& b, int nl, int nc) {
  const I limpo = branco(static_cast<I*>(nullptr), b.nl(), b.nc());
  for (int l = 0; l < b.nl(); ++l)
    for (int c = 0; c < b.nc(); ++c) {
      const bool janela = l >= PAD && l < PAD + nl && c >= PAD && c < PAD + nc;
      if (!janela && !(b(l, c) == limpo(l, c))) return true;
    }
  return false;
}
inline bool fora_mudou(const IMGYUV& b, int nl, int nc) {
  for (int l = 0; l < b.nly; ++l)
    for (int c = 0; c < b.ncy; ++c) {
      const bool janela = l >= PAD && l < PAD + nl && c >= PAD && c < PAD + nc;
      if (!janela && b.img.data()[l * b.ncy + c] != 7) return true;
    }
  return false;
}

// Runs draw(image, offset) on an nl x nc image and, offset by PAD, on a
// canvas PAD larger on every side, and checks the small image against it.
// fundo_esperado tells whether the background must then hold the value
// (when something fell outside) and is compared by the caller's check.
template <class I>
void confere_bordas(int nl, int nc, const std::function<void(I&, int)>& draw,
                    const std::function<bool(const I&)>& fundo_e_o_valor, const std::string& caso) {
  I s = branco(static_cast<I*>(nullptr), nl, nc);
  I b = branco(static_cast<I*>(nullptr), nl + 2 * PAD, nc + 2 * PAD);
  draw(s, 0);
  draw(b, PAD);
  EXPECT_EQ(diferenca(s, b), "") << caso;
  ASSERT_TRUE(fora_mudou(b, nl, nc)) << caso << ": the case must reach beyond the edges";
  EXPECT_TRUE(fundo_e_o_valor(s)) << caso << ": a write outside must go to the background";
}

}  // namespace drawtest
