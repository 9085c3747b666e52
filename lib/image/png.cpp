// PNG files, through libpng.
#include "image/png.h"

#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "base/erro.h"
#include "image/lebloco.h"
#include "image/linhabin.h"

namespace imagorix {

namespace {

// libpng reports errors through a function that must not return: ours
// copies the message and jumps back to the function that called the
// library. Those functions keep no local that has a destructor, so the jump
// skips none; what outlives the jump lives in records owned by the caller.
struct CODEC {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char msg[256] = {};
  std::jmp_buf salto;
};

[[noreturn]] void falha_png(png_structp p, png_const_charp m) {
  auto* c = static_cast<CODEC*>(png_get_error_ptr(p));
  std::snprintf(c->msg, sizeof c->msg, "%s", m ? m : "");
  std::longjmp(c->salto, 1);
}

void aviso_png(png_structp, png_const_charp) {}

// Interlaced files are decoded into a buffer for the whole picture, which
// compressed data cannot be weighed against; above this they are refused.
// Other files are read a row at a time into storage that grows as rows
// arrive, so a header claiming a huge picture costs nothing until its rows
// are really there.
constexpr std::size_t MAX_ENTRELACADO = std::size_t{256} << 20;

struct CABPNG {
  png_uint_32 nc = 0, nl = 0;
  FOLHA::Tipo tipo = FOLHA::CINZA;
  int canais = 1;  // per pixel after the transformations: 1 or 2 (grey), 3 or 4 (colour)
  std::size_t bytes_linha = 0;
  bool entrelacado = false;
};

bool le_cabecalho(CODEC* c, std::FILE* f, CABPNG* h) {
  if (setjmp(c->salto)) return false;
  c->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, c, falha_png, aviso_png);
  if (!c->png) return false;
  c->info = png_create_info_struct(c->png);
  if (!c->info) return false;
  png_init_io(c->png, f);
  png_read_info(c->png, c->info);
  h->nc = png_get_image_width(c->png, c->info);
  h->nl = png_get_image_height(c->png, c->info);
  const int prof = png_get_bit_depth(c->png, c->info), cor = png_get_color_type(c->png, c->info);
  const bool trns = png_get_valid(c->png, c->info, PNG_INFO_tRNS) != 0;
  if (cor == PNG_COLOR_TYPE_GRAY && prof == 1 && !trns) {
    h->tipo = FOLHA::BINARIA;
  } else {
    h->tipo = (cor & PNG_COLOR_MASK_COLOR) ? FOLHA::COLORIDA : FOLHA::CINZA;
    if (cor == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(c->png);
    if (cor == PNG_COLOR_TYPE_GRAY && prof < 8) png_set_expand_gray_1_2_4_to_8(c->png);
    if (trns) png_set_tRNS_to_alpha(c->png);
    if (prof == 16) png_set_scale_16(c->png);
  }
  h->entrelacado = png_set_interlace_handling(c->png) > 1;
  png_read_update_info(c->png, c->info);
  h->canais = png_get_channels(c->png, c->info);
  h->bytes_linha = png_get_rowbytes(c->png, c->info);
  return true;
}

bool le_linhas(CODEC* c, const CABPNG* h, std::vector<png_byte>* buf, std::vector<png_bytep>* linhas) {
  if (setjmp(c->salto)) return false;
  if (!h->entrelacado) {
    for (png_uint_32 r = 0; r < h->nl; ++r) {
      buf->resize((r + std::size_t{1}) * h->bytes_linha);
      png_read_row(c->png, buf->data() + r * h->bytes_linha, nullptr);
    }
  } else {
    buf->resize(h->nl * h->bytes_linha);
    linhas->resize(h->nl);
    for (png_uint_32 r = 0; r < h->nl; ++r) (*linhas)[r] = buf->data() + r * h->bytes_linha;
    png_read_image(c->png, linhas->data());
  }
  return true;
}

// A sample over white: transparent is white, opaque is the sample.
inline BYTE sobre_branco(unsigned v, unsigned a) { return static_cast<BYTE>((v * a + 255 * (255 - a) + 127) / 255); }

struct LEITURA {
  CODEC c;
  ~LEITURA() { png_destroy_read_struct(&c.png, &c.info, nullptr); }
};

[[noreturn]] void erro_le(const CODEC& c) {
  erro(std::string("Erro LePng - ") + (c.msg[0] ? c.msg : "Arquivo PNG invalido"));
}

}  // namespace

FOLHA LePng(ARQLE& arq) {
  LEITURA l;
  CABPNG h;
  if (!le_cabecalho(&l.c, arq.get(), &h)) erro_le(l.c);
  // The classes hold at most INT_MAX pixels.
  if (h.nl > INT_MAX || h.nc > INT_MAX || std::uint64_t{h.nl} * h.nc > INT_MAX)
    erro("Erro LePng - Imagem grande demais");
  if (h.entrelacado && std::uint64_t{h.nl} * h.bytes_linha > MAX_ENTRELACADO)
    erro("Erro LePng - Imagem entrelacada grande demais");
  std::vector<png_byte> buf;
  std::vector<png_bytep> linhas;
  if (!le_linhas(&l.c, &h, &buf, &linhas)) erro_le(l.c);

  FOLHA f;
  f.tipo = h.tipo;
  const int nl = static_cast<int>(h.nl), nc = static_cast<int>(h.nc);
  const png_byte* b = buf.data();
  switch (h.tipo) {
    case FOLHA::BINARIA: {
      f.bin.aloca(nl, nc);
      for (int r = 0; r < nl; ++r, b += h.bytes_linha) detail::bytes_para_palavras(b, h.bytes_linha, f.bin.row(r), nc, false);
      break;
    }
    case FOLHA::CINZA:
      f.gry.aloca(nl, nc);
      for (int r = 0; r < nl; ++r, b += h.bytes_linha) {
        BYTE* d = f.gry.row(r);
        if (h.canais == 1) std::memcpy(d, b, static_cast<std::size_t>(nc));
        else
          for (int k = 0; k < nc; ++k) d[k] = sobre_branco(b[2 * k], b[2 * k + 1]);
      }
      break;
    case FOLHA::COLORIDA:
      f.cor.aloca(nl, nc);
      for (int r = 0; r < nl; ++r, b += h.bytes_linha) {
        COR* d = f.cor.row(r);
        const png_byte* s = b;
        for (int k = 0; k < nc; ++k, s += h.canais) {
          const unsigned a = h.canais == 4 ? s[3] : 255;
          d[k] = COR{sobre_branco(s[0], a), sobre_branco(s[1], a), sobre_branco(s[2], a)};
        }
      }
      break;
  }
  return f;
}

FOLHA::Tipo TipoPng(ARQLE& arq) {
  LEITURA l;
  CABPNG h;
  if (!le_cabecalho(&l.c, arq.get(), &h)) erro_le(l.c);
  return h.tipo;
}

FOLHA LePng(const std::string& nome) {
  ARQLE arq(nome, "rb", "Erro LePng - Abertura de ", "Erro LePng - Faltou memoria setvbuf");
  return LePng(arq);
}

namespace {

void escreve(png_structp p, png_bytep d, png_size_t n) { static_cast<ARQIMP*>(png_get_io_ptr(p))->write(d, n); }
void descarga(png_structp) {}

struct ESCRITA {
  CODEC c;
  ~ESCRITA() { png_destroy_write_struct(&c.png, &c.info); }
};

// Writes rows given one at a time by linha(r, buffer).
template <class L>
bool codifica(CODEC* c, ARQIMP* arq, int nl, int nc, int prof, int tipo, std::vector<png_byte>* buf, L& linha) {
  if (setjmp(c->salto)) return false;
  c->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, c, falha_png, aviso_png);
  if (!c->png) return false;
  c->info = png_create_info_struct(c->png);
  if (!c->info) return false;
  png_set_write_fn(c->png, arq, escreve, descarga);
  png_set_IHDR(c->png, c->info, static_cast<png_uint_32>(nc), static_cast<png_uint_32>(nl), prof, tipo,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(c->png, c->info);
  for (int r = 0; r < nl; ++r) {
    linha(r, buf->data());
    png_write_row(c->png, buf->data());
  }
  png_write_end(c->png, c->info);
  return true;
}

template <class L>
void imp_png(const std::string& nome, int nl, int nc, int prof, int tipo, std::size_t bytes_linha, L linha) {
  detail::recusa_negativo(nl, nc, "Erro ImpPng");
  // The format has no empty pictures.
  if (nl == 0 || nc == 0) erro("Erro ImpPng - Imagem nula ", nome);
  ARQIMP arq(nome, "wb", "ImpPng", "Erro ImpPng - Abertura de ", "Erro ImpPng - Faltou memoria setvbuf");
  ESCRITA e;
  std::vector<png_byte> buf(bytes_linha);
  if (!codifica(&e.c, &arq, nl, nc, prof, tipo, &buf, linha)) erro(std::string("Erro ImpPng - ") + e.c.msg);
  arq.close();
}

}  // namespace

void ImpPng(const IMGBIN& img, const std::string& nome) {
  const std::size_t bytes = (static_cast<std::size_t>(img.nc() > 0 ? img.nc() : 0) + 7) / 8;
  imp_png(nome, img.nl(), img.nc(), 1, PNG_COLOR_TYPE_GRAY, bytes,
          [&](int r, png_byte* d) { detail::palavras_para_bytes(img.row(r), img.nc(), d, false); });
}

void ImpPng(const IMGGRY& img, const std::string& nome) {
  imp_png(nome, img.nl(), img.nc(), 8, PNG_COLOR_TYPE_GRAY, static_cast<std::size_t>(img.nc() > 0 ? img.nc() : 0),
          [&](int r, png_byte* d) { std::memcpy(d, img.row(r), static_cast<std::size_t>(img.nc())); });
}

void ImpPng(const IMGCOR& img, const std::string& nome) {
  imp_png(nome, img.nl(), img.nc(), 8, PNG_COLOR_TYPE_RGB, 3 * static_cast<std::size_t>(img.nc() > 0 ? img.nc() : 0),
          // The file's order is the pixels' own: red, green, blue.
          [&](int r, png_byte* d) { std::memcpy(d, img.row(r), 3 * static_cast<std::size_t>(img.nc())); });
}

}  // namespace imagorix
