// TIFF files, through libtiff.
#include "image/tiff.h"

#include <tiffio.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
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

// The file in memory: libtiff seeks back and forth (the directory may
// follow the pictures), which a pipe cannot, and a writer patches offsets it
// has written. Reading takes the file as its bytes arrive, so memory never
// exceeds the file's own size.
struct MEMORIA {
  std::vector<unsigned char> b;
  std::uint64_t pos = 0;
};

tmsize_t le_mem(thandle_t h, void* p, tmsize_t n) {
  auto* m = static_cast<MEMORIA*>(h);
  if (n <= 0 || m->pos >= m->b.size()) return 0;
  const std::uint64_t k = std::min<std::uint64_t>(static_cast<std::uint64_t>(n), m->b.size() - m->pos);
  std::memcpy(p, m->b.data() + m->pos, k);
  m->pos += k;
  return static_cast<tmsize_t>(k);
}

tmsize_t escreve_mem(thandle_t h, void* p, tmsize_t n) {
  auto* m = static_cast<MEMORIA*>(h);
  if (n <= 0) return 0;
  const std::uint64_t fim = m->pos + static_cast<std::uint64_t>(n);
  if (fim > m->b.size()) m->b.resize(fim);
  std::memcpy(m->b.data() + m->pos, p, static_cast<std::size_t>(n));
  m->pos = fim;
  return n;
}

toff_t busca_mem(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<MEMORIA*>(h);
  std::uint64_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? m->b.size() : 0;
  const std::uint64_t novo = base + off;  // libtiff's offsets are unsigned; SEEK_CUR/END go forward
  // A seek far past the end cannot be honoured without allocating for it.
  if (novo > (std::uint64_t{1} << 40)) return static_cast<toff_t>(-1);
  m->pos = novo;
  return novo;
}

int fecha_mem(thandle_t) { return 0; }
toff_t tamanho_mem(thandle_t h) { return static_cast<MEMORIA*>(h)->b.size(); }
int mapa_mem(thandle_t, void**, toff_t*) { return 0; }
void desmapa_mem(thandle_t, void*, toff_t) {}

// The codec's last error message, for the line that ends the program.
std::string ultimo_erro;

void erro_tiff(const char* modulo, const char* fmt, va_list ap) {
  char buf[512];
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  ultimo_erro = (modulo && *modulo ? std::string(modulo) + ": " : std::string()) + buf;
}

// libtiff's handlers are process-wide, as the library is single-threaded.
void prepara() {
  ultimo_erro.clear();
  TIFFSetErrorHandler(erro_tiff);
  TIFFSetWarningHandler(nullptr);
}

struct TIF {
  TIFF* t = nullptr;
  ~TIF() {
    if (t) TIFFClose(t);
  }
};

TIFF* abre_mem(MEMORIA& m, const char* modo) {
  return TIFFClientOpen("memoria", modo, &m, le_mem, escreve_mem, busca_mem, fecha_mem, tamanho_mem, mapa_mem,
                        desmapa_mem);
}

[[noreturn]] void falha(const char* quem, const char* padrao) {
  erro(std::string("Erro ") + quem + " - " + (ultimo_erro.empty() ? padrao : ultimo_erro));
}

// Files read through a pipe are taken up to this size.
constexpr std::uint64_t MAX_ARQUIVO = std::uint64_t{1} << 31;

void carrega(ARQLE& arq, MEMORIA& m) {
  const long long resta = arq.remaining();
  if (resta > 0) m.b.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(resta, MAX_ARQUIVO)));
  unsigned char buf[65536];
  std::size_t k;
  while ((k = std::fread(buf, 1, sizeof buf, arq.get())) > 0) {
    if (m.b.size() + k > MAX_ARQUIVO) erro("Erro LeTiff - Arquivo grande demais");
    m.b.insert(m.b.end(), buf, buf + k);
  }
}

inline BYTE reduz16(std::uint16_t v) { return static_cast<BYTE>((v * 255u + 32767u) / 65535u); }

// Rows decoded in chunks through the general RGBA path, for every layout the
// scanline path does not take (tiles, palettes, other colour models, alpha).
// Premultiplied samples over white: c + (255 - a).
void le_rgba(TIFF* t, std::uint32_t nc, std::uint32_t nl, bool cinza, std::vector<BYTE>& g, std::vector<COR>& c) {
  char msg[1024] = {};
  if (!TIFFRGBAImageOK(t, msg)) erro(std::string("Erro LeTiff - ") + msg);
  TIFFRGBAImage img;
  if (!TIFFRGBAImageBegin(&img, t, 0, msg)) erro(std::string("Erro LeTiff - ") + msg);
  img.req_orientation = ORIENTATION_TOPLEFT;
  constexpr std::uint32_t BLOCO = 64;
  std::vector<std::uint32_t> raster;
  bool ok = true;
  for (std::uint32_t r0 = 0; r0 < nl && ok; r0 += BLOCO) {
    const std::uint32_t k = std::min(BLOCO, nl - r0);
    raster.assign(static_cast<std::size_t>(nc) * k, 0);
    img.row_offset = static_cast<int>(r0);
    img.col_offset = 0;
    ok = TIFFRGBAImageGet(&img, raster.data(), nc, k) != 0;
    for (std::size_t i = 0; i < raster.size(); ++i) {
      const std::uint32_t p = raster[i];
      const unsigned a = TIFFGetA(p), branco = 255 - a;
      const auto sobre = [&](unsigned v) { return static_cast<BYTE>(std::min(255u, v + branco)); };
      if (cinza) g.push_back(sobre(TIFFGetR(p)));
      else c.push_back(COR{sobre(TIFFGetR(p)), sobre(TIFFGetG(p)), sobre(TIFFGetB(p))});
    }
  }
  TIFFRGBAImageEnd(&img);
  if (!ok) falha("LeTiff", "Leitura TIFF");
}

// The fields the reader goes by, of the file's one page.
struct CAMPOS {
  std::uint32_t nc = 0, nl = 0;
  std::uint16_t bps = 1, spp = 1, foto = PHOTOMETRIC_MINISWHITE;
  bool linhas = false;  // read by scanlines: strips of one grey or bilevel sample
  FOLHA::Tipo tipo = FOLHA::CINZA;
};

CAMPOS abre_pagina(MEMORIA& m, TIF& t) {
  prepara();
  t.t = abre_mem(m, "rm");
  if (!t.t) falha("LeTiff", "Arquivo TIFF invalido");
  const tdir_t paginas = TIFFNumberOfDirectories(t.t);
  if (paginas > 1)
    erro("Erro LeTiff - Arquivo TIFF com " + std::to_string(paginas) +
         " paginas: so se le um arquivo de uma pagina (separe as paginas antes)");
  if (!TIFFSetDirectory(t.t, 0)) falha("LeTiff", "Arquivo TIFF invalido");
  CAMPOS k;
  if (!TIFFGetField(t.t, TIFFTAG_IMAGEWIDTH, &k.nc) || !TIFFGetField(t.t, TIFFTAG_IMAGELENGTH, &k.nl))
    falha("LeTiff", "Tamanho ausente");
  TIFFGetFieldDefaulted(t.t, TIFFTAG_BITSPERSAMPLE, &k.bps);
  TIFFGetFieldDefaulted(t.t, TIFFTAG_SAMPLESPERPIXEL, &k.spp);
  if (!TIFFGetField(t.t, TIFFTAG_PHOTOMETRIC, &k.foto))
    k.foto = k.spp >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISWHITE;
  // The classes hold at most INT_MAX pixels.
  if (k.nl > INT_MAX || k.nc > INT_MAX || std::uint64_t{k.nl} * k.nc > INT_MAX || k.nl == 0 || k.nc == 0)
    erro("Erro LeTiff - Tamanho invalido");
  const bool preto_branco = k.foto == PHOTOMETRIC_MINISWHITE || k.foto == PHOTOMETRIC_MINISBLACK;
  k.linhas = !TIFFIsTiled(t.t) && k.spp == 1 && preto_branco && (k.bps == 1 || k.bps == 8 || k.bps == 16);
  k.tipo = k.linhas && k.bps == 1 ? FOLHA::BINARIA : preto_branco ? FOLHA::CINZA : FOLHA::COLORIDA;
  return k;
}

}  // namespace

FOLHA::Tipo TipoTiff(ARQLE& arq) {
  MEMORIA m;
  carrega(arq, m);
  TIF t;
  return abre_pagina(m, t).tipo;
}

FOLHA LeTiff(ARQLE& arq) {
  MEMORIA m;
  carrega(arq, m);
  TIF t;
  const CAMPOS k = abre_pagina(m, t);
  const std::uint32_t nc = k.nc, nl = k.nl;
  const std::uint16_t bps = k.bps, foto = k.foto;
  const bool linhas = k.linhas;

  const bool preto_branco = k.tipo != FOLHA::COLORIDA;
  FOLHA f;
  const int l = static_cast<int>(nl), c = static_cast<int>(nc);
  if (linhas && bps == 1) {
    f.tipo = FOLHA::BINARIA;
    const std::size_t bytes = (std::size_t{nc} + 7) / 8;
    if (static_cast<std::size_t>(TIFFScanlineSize(t.t)) != bytes) falha("LeTiff", "Linha de tamanho invalido");
    std::vector<unsigned char> buf;
    for (std::uint32_t r = 0; r < nl; ++r) {
      buf.resize((r + std::size_t{1}) * bytes);
      if (TIFFReadScanline(t.t, buf.data() + r * bytes, r, 0) < 0) falha("LeTiff", "Leitura TIFF");
    }
    // Here 1 is white: a file where 1 is black is inverted.
    const bool inverte = foto == PHOTOMETRIC_MINISWHITE;
    f.bin.aloca(l, c);
    const unsigned char* b = buf.data();
    for (int r = 0; r < l; ++r, b += bytes) detail::bytes_para_palavras(b, bytes, f.bin.row(r), c, inverte);
  } else if (linhas && (bps == 8 || bps == 16)) {
    f.tipo = FOLHA::CINZA;
    const std::size_t bytes = std::size_t{nc} * (bps / 8);
    if (static_cast<std::size_t>(TIFFScanlineSize(t.t)) != bytes) falha("LeTiff", "Linha de tamanho invalido");
    std::vector<unsigned char> buf;
    for (std::uint32_t r = 0; r < nl; ++r) {
      buf.resize((r + std::size_t{1}) * bytes);
      if (TIFFReadScanline(t.t, buf.data() + r * bytes, r, 0) < 0) falha("LeTiff", "Leitura TIFF");
    }
    f.gry.aloca(l, c);
    const bool inverte = foto == PHOTOMETRIC_MINISWHITE;
    for (int r = 0; r < l; ++r) {
      BYTE* d = f.gry.row(r);
      const unsigned char* s = buf.data() + static_cast<std::size_t>(r) * bytes;
      for (int k = 0; k < c; ++k) {
        BYTE v;
        if (bps == 8) {
          v = s[k];
        } else {
          std::uint16_t x;
          std::memcpy(&x, s + 2 * k, 2);  // libtiff gives native order
          v = reduz16(x);
        }
        d[k] = inverte ? static_cast<BYTE>(255 - v) : v;
      }
    }
  } else {
    const bool cinza = preto_branco;
    f.tipo = cinza ? FOLHA::CINZA : FOLHA::COLORIDA;
    std::vector<BYTE> g;
    std::vector<COR> cs;
    le_rgba(t.t, nc, nl, cinza, g, cs);
    if (cinza) {
      f.gry.aloca(l, c);
      std::copy(g.begin(), g.end(), f.gry.data());
    } else {
      f.cor.aloca(l, c);
      std::copy(cs.begin(), cs.end(), f.cor.data());
    }
  }
  return f;
}

FOLHA LeTiff(const std::string& nome) {
  ARQLE arq(nome, "rb", "Erro LeTiff - Abertura de ", "Erro LeTiff - Faltou memoria setvbuf");
  return LeTiff(arq);
}

namespace {

// Writes the picture into memory through libtiff, then the bytes into the
// file, so that pipes and devices take a TIFF too.
template <class L>
void imp_tiff(const std::string& nome, int nl, int nc, int spp, int bps, int foto, int compressao,
              std::size_t bytes_linha, L linha) {
  detail::recusa_negativo(nl, nc, "Erro ImpTiff");
  if (nl == 0 || nc == 0) erro("Erro ImpTiff - Imagem nula ", nome);
  ARQIMP arq(nome, "wb", "ImpTiff", "Erro ImpTiff - Abertura de ", "Erro ImpTiff - Faltou memoria setvbuf");
  MEMORIA m;
  prepara();
  {
    TIF t;
    t.t = abre_mem(m, "w");
    if (!t.t) falha("ImpTiff", "Escrita TIFF");
    TIFFSetField(t.t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(nc));
    TIFFSetField(t.t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(nl));
    TIFFSetField(t.t, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(spp));
    TIFFSetField(t.t, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(bps));
    TIFFSetField(t.t, TIFFTAG_PHOTOMETRIC, static_cast<std::uint16_t>(foto));
    TIFFSetField(t.t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t.t, TIFFTAG_COMPRESSION, static_cast<std::uint16_t>(compressao));
    TIFFSetField(t.t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (compressao == COMPRESSION_CCITTFAX4) {
      TIFFSetField(t.t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
      TIFFSetField(t.t, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(nl));
    } else {
      TIFFSetField(t.t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
      TIFFSetField(t.t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t.t, 0));
    }
    std::vector<unsigned char> buf(bytes_linha);
    for (int r = 0; r < nl; ++r) {
      linha(r, buf.data());
      if (TIFFWriteScanline(t.t, buf.data(), static_cast<std::uint32_t>(r), 0) < 0) falha("ImpTiff", "Escrita TIFF");
    }
    if (!TIFFWriteDirectory(t.t)) falha("ImpTiff", "Escrita TIFF");
  }  // closing flushes what is left into memory
  arq.write(m.b.data(), m.b.size());
  arq.close();
}

}  // namespace

void ImpTiff(const IMGBIN& img, const std::string& nome) {
  const std::size_t bytes = (static_cast<std::size_t>(img.nc() > 0 ? img.nc() : 0) + 7) / 8;
  imp_tiff(nome, img.nl(), img.nc(), 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4, bytes,
           // 0 is white in the file.
           [&](int r, unsigned char* d) { detail::palavras_para_bytes(img.row(r), img.nc(), d, true); });
}

void ImpTiff(const IMGGRY& img, const std::string& nome) {
  imp_tiff(nome, img.nl(), img.nc(), 1, 8, PHOTOMETRIC_MINISBLACK, COMPRESSION_ADOBE_DEFLATE,
           static_cast<std::size_t>(img.nc() > 0 ? img.nc() : 0),
           [&](int r, unsigned char* d) { std::memcpy(d, img.row(r), static_cast<std::size_t>(img.nc())); });
}

void ImpTiff(const IMGCOR& img, const std::string& nome) {
  imp_tiff(nome, img.nl(), img.nc(), 3, 8, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE,
           3 * static_cast<std::size_t>(img.nc() > 0 ? img.nc() : 0),
           // The file's order is the pixels' own: red, green, blue.
           [&](int r, unsigned char* d) { std::memcpy(d, img.row(r), 3 * static_cast<std::size_t>(img.nc())); });
}

}  // namespace imagorix
