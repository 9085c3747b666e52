// Text drawing and the process-wide font.
#include "draw/texto.h"

#include "draw/fontbits.h"
#include "draw/pinta.h"
#include "image/leimp.h"

namespace imagorix {

namespace {

struct FONTE {
  IMGBIN img;
  int m = 5;
};

IMGBIN embutida() {
  IMGBIN f(detail::FONTNL, detail::FONTNC);
  f.preenchebits(detail::FONTBITS, detail::FONTWORDS);
  f.fundo() |= 1u;
  return f;
}

FONTE& estado() {
  static FONTE f{embutida(), 5};
  return f;
}

// The font is built at start-up; a use during another file's start-up
// builds it first.
[[maybe_unused]] const bool pronta = (estado(), true);

template <class I, class V>
void escreve(I& img, int l, int c, const std::string& s, V ink, int zoom, bool transparent, V paper) {
  if (zoom < 1) return;
  const FONTE& f = estado();
  const long long z = zoom, gh = 2 * (12LL - f.m) * z, gw = 2 * (9LL - f.m) * z;
  long long x = c;
  for (const char ch : s) {
    const POSLC cel = glyphcell(static_cast<signed char>(ch));
    for (long long j = 0; j < gh; ++j) {
      const long long fl = cel.l + f.m + j / z;
      for (long long k = 0; k < gw; ++k) {
        const long long fc = cel.c + f.m + k / z;
        const bool papel = !detail::dentro(f.img, fl, fc) || f.img.get(static_cast<int>(fl), static_cast<int>(fc));
        if (!papel) detail::pinta(img, l + j, x + k, ink);
        else if (!transparent) detail::pinta(img, l + j, x + k, paper);
      }
    }
    x += gw;
  }
}

}  // namespace

void text(IMGBIN& img, int l, int c, const std::string& s, bool ink, int zoom, bool transparent, bool paper) {
  escreve(img, l, c, s, ink, zoom, transparent, paper);
}
void text(IMGGRY& img, int l, int c, const std::string& s, BYTE ink, int zoom, bool transparent, BYTE paper) {
  escreve(img, l, c, s, ink, zoom, transparent, paper);
}
void text(IMGCOR& img, int l, int c, const std::string& s, int ink, int zoom, bool transparent, int paper) {
  escreve(img, l, c, s, ink, zoom, transparent, paper);
}
void text(IMGYUV& img, int l, int c, const std::string& s, int ink, int zoom, bool transparent, int paper) {
  escreve(img, l, c, s, ink, zoom, transparent, paper);
}

long long textheight(int zoom) { return zoom < 1 ? 0 : 2 * (12LL - estado().m) * zoom; }
long long textwidth(const std::string& s, int zoom) {
  return zoom < 1 ? 0 : 2 * (9LL - estado().m) * zoom * static_cast<long long>(s.size());
}

void lefont(const std::string& nome, int m) {
  IMGBIN nova;
  le(nova, nome);
  nova.fundo() |= 1u;
  FONTE& f = estado();
  f.img = std::move(nova);
  f.m = m;
}

void resetfont() {
  FONTE& f = estado();
  f.img = embutida();
  f.m = 5;
}

POSLC glyphcell(int k) {
  if (k == 32) return {151, 134};
  if (k >= 33 && k <= 127) return {(k - 33) / 20 * 25 + 1, (k - 33) % 20 * 19 + 1};
  return {176, 191};
}

const IMGBIN& fonte() { return estado().img; }
int margemfonte() { return estado().m; }

}  // namespace imagorix
