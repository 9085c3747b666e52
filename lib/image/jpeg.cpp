#include "image/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <jerror.h>

#include "base/arquivo.h"
#include "base/erro.h"
#include "image/lebloco.h"

namespace imagorix {

namespace {

// Messages of the readers and writers.
const char* const LEITURA = "Erro: Leitura JPG";
const char* const FALHA_ESCRITA = "Erro ImpJpg - Falha de escrita ";

// Opening messages of the JPEG readers.
const char* const ABERTURA = "can't open ";
const char* const BUFFER = "Erro LeJpg - Faltou memoria setvbuf";

// libjpeg reports errors through error_exit, which must not return. Ours
// jumps back to the function that called the library. The setjmp lives in a
// function whose locals all have trivial destructors, so the jump skips no
// destructor; the libjpeg objects live in a record owned by the caller, so
// their values are well defined after the jump.
struct ERRJPG {
  jpeg_error_mgr pub;
  std::jmp_buf salto;
};

struct DECJPG {
  jpeg_decompress_struct cinfo;
  ERRJPG err;
};

struct CODJPG {
  jpeg_compress_struct cinfo;
  ERRJPG err;
};

// Prints the library's message with its own routine, then goes back.
[[noreturn]] void volta(j_common_ptr c) {
  (*c->err->output_message)(c);
  std::longjmp(reinterpret_cast<ERRJPG*>(c->err)->salto, 1);
}

// While writing, a failed write is reported in the library's own words
// instead ("Falha de escrita"), so its message is kept back.
[[noreturn]] void volta_escrita(j_common_ptr c) {
  if (c->err->msg_code != JERR_FILE_WRITE) (*c->err->output_message)(c);
  std::longjmp(reinterpret_cast<ERRJPG*>(c->err)->salto, 1);
}

enum class Lido { OK, ERRO, PLANOS };

void linha(BYTE* d, const JSAMPLE* s, int nc, int planos) {
  if (planos == 1) {
    std::memcpy(d, s, std::size_t(nc));
    return;
  }
  for (int c = 0; c < nc; ++c, s += 3) d[c] = static_cast<BYTE>((s[0] + s[1] + s[2] + 1) / 3);
}

void linha(COR* d, const JSAMPLE* s, int nc, int planos) {
  for (int c = 0; c < nc; ++c, s += planos) {
    if (planos == 1)
      d[c] = COR{s[0], s[0], s[0]};
    else
      d[c] = COR{s[0], s[1], s[2]};
  }
}

// Huffman-coded data spends at least one bit on every 8x8 block of the
// component with the most blocks, so n bytes of file code at most 512 n
// pixels. A header promising more belongs to a file cut short or crafted,
// and is refused before the image and the decoder's whole-image buffers are
// allocated. (Arithmetic coding can spend less than a bit on a block; files
// that do beyond this ratio are refused as well.)
constexpr unsigned long long PIXELS_POR_BYTE = 512;

template <class P>
Lido decodifica(DECJPG* d, std::FILE* f, long long bytes, IMG<P>& img) {
  std::memset(d, 0, sizeof *d);
  d->cinfo.err = jpeg_std_error(&d->err.pub);
  d->err.pub.error_exit = volta;
  if (setjmp(d->err.salto)) {
    jpeg_destroy_decompress(&d->cinfo);
    return Lido::ERRO;
  }
  jpeg_create_decompress(&d->cinfo);
  jpeg_stdio_src(&d->cinfo, f);
  jpeg_read_header(&d->cinfo, TRUE);
  if (static_cast<unsigned long long>(d->cinfo.image_width) * d->cinfo.image_height >
      PIXELS_POR_BYTE * static_cast<unsigned long long>(bytes)) {
    jpeg_destroy_decompress(&d->cinfo);
    return Lido::ERRO;
  }
  jpeg_start_decompress(&d->cinfo);

  const int nl = static_cast<int>(d->cinfo.output_height);
  const int nc = static_cast<int>(d->cinfo.output_width);
  const int planos = d->cinfo.output_components;
  img.resize(nl, nc);
  JSAMPARRAY buf = (*d->cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d->cinfo),
                                                 JPOOL_IMAGE, d->cinfo.output_width * planos, 1);
  while (d->cinfo.output_scanline < d->cinfo.output_height) {
    const int r = static_cast<int>(d->cinfo.output_scanline);
    // The stdio source never suspends, so every call yields a row; a call
    // that did not would otherwise loop for ever.
    if (jpeg_read_scanlines(&d->cinfo, buf, 1) != 1) {
      jpeg_destroy_decompress(&d->cinfo);
      return Lido::ERRO;
    }
    if (planos != 1 && planos != 3) {
      jpeg_destroy_decompress(&d->cinfo);
      return Lido::PLANOS;
    }
    linha(img.row(r), buf[0], nc, planos);
  }
  jpeg_finish_decompress(&d->cinfo);
  jpeg_destroy_decompress(&d->cinfo);
  return Lido::OK;
}

// Destroys the decompressor when the reader is left by an exception (the
// erro of fuzz builds) rather than by a return; destroying it twice is
// harmless.
struct FIMDEC {
  DECJPG& d;
  ~FIMDEC() { jpeg_destroy_decompress(&d.cinfo); }
};

// A stream that cannot tell its length (a pipe) is read whole first, into
// memory that grows only as its bytes arrive, and decoded from there.
struct EMMEMORIA {
  std::vector<char> bytes;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f{nullptr, std::fclose};
};

template <class P>
void le_jpg(IMG<P>& img, ARQLE& arq) {
  Lido r;
  {
    std::FILE* f = arq.get();
    long long bytes = arq.remaining();
    EMMEMORIA m;
    if (bytes < 0) {
      char buf[65536];
      std::size_t k;
      while ((k = std::fread(buf, 1, sizeof buf, f)) > 0) m.bytes.insert(m.bytes.end(), buf, buf + k);
      bytes = static_cast<long long>(m.bytes.size());
      m.f.reset(m.bytes.empty() ? std::fopen("/dev/null", "rb") : fmemopen(m.bytes.data(), m.bytes.size(), "rb"));
      if (!m.f) erro(LEITURA, "");
      f = m.f.get();
    }
    DECJPG d{};
    FIMDEC fim{d};
    r = decodifica(&d, f, bytes, img);
  }
  if (r == Lido::PLANOS) erro("JPG deve ter 1 ou 3 planos de cores", "");
  if (r == Lido::ERRO) erro(LEITURA, "");
}

// Returns JMSG_NOMESSAGE when the file was written, else the code of the
// library's error.
template <class P>
int codifica(CODJPG* e, std::FILE* f, const IMG<P>& img, int quality) {
  constexpr bool cor = sizeof(P) == 3;
  std::memset(e, 0, sizeof *e);
  e->cinfo.err = jpeg_std_error(&e->err.pub);
  e->err.pub.error_exit = volta_escrita;
  if (setjmp(e->err.salto)) {
    jpeg_destroy_compress(&e->cinfo);
    return e->err.pub.msg_code == JMSG_NOMESSAGE ? JERR_BAD_STATE : e->err.pub.msg_code;
  }
  jpeg_create_compress(&e->cinfo);
  jpeg_stdio_dest(&e->cinfo, f);
  // Negative sizes become huge dimensions, which the library refuses.
  e->cinfo.image_width = static_cast<JDIMENSION>(img.nc());
  e->cinfo.image_height = static_cast<JDIMENSION>(img.nl());
  e->cinfo.input_components = cor ? 3 : 1;
  e->cinfo.in_color_space = cor ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&e->cinfo);
  jpeg_set_quality(&e->cinfo, quality, TRUE);
  jpeg_start_compress(&e->cinfo, TRUE);
  while (e->cinfo.next_scanline < e->cinfo.image_height) {
    // libjpeg only reads the row, but its interface is not const.
    JSAMPROW row = const_cast<JSAMPLE*>(
        reinterpret_cast<const JSAMPLE*>(img.row(static_cast<int>(e->cinfo.next_scanline))));
    jpeg_write_scanlines(&e->cinfo, &row, 1);
  }
  jpeg_finish_compress(&e->cinfo);
  jpeg_destroy_compress(&e->cinfo);
  return JMSG_NOMESSAGE;
}

template <class P>
void imp_jpg(const IMG<P>& img, const std::string& nome, int quality) {
  detail::recusa_negativo(img.nl(), img.nc(), "Erro ImpJpg");
  int r;
  {
    // The opening failure is one whole line, "Can't open <nome>", with an
    // empty second text.
    ARQIMP arq(nome, "wb", "ImpJpg", "Can't open " + nome + "\n", "Erro ImpJpg - Faltou memoria setvbuf", false);
    CODJPG e;
    r = codifica(&e, arq.get(), img, quality);
    if (r == JMSG_NOMESSAGE) {
      // Flush and close errors not seen by the library end here.
      arq.close();
      return;
    }
    // Leaving the block removes the partial file.
  }
  if (r == JERR_FILE_WRITE) erro(FALHA_ESCRITA, nome);
  erro("Erro: Escrita JPG", "");
}

}  // namespace

void LeJpg(IMGGRY& img, const std::string& nome) {
  ARQLE arq(nome, "rb", ABERTURA, BUFFER);
  le_jpg(img, arq);
}
void LeJpg(IMGCOR& img, const std::string& nome) {
  ARQLE arq(nome, "rb", ABERTURA, BUFFER);
  le_jpg(img, arq);
}
void LeJpg(IMGGRY& img, ARQLE& arq) { le_jpg(img, arq); }
void LeJpg(IMGCOR& img, ARQLE& arq) { le_jpg(img, arq); }

void ImpJpg(const IMGGRY& img, const std::string& nome, int quality) { imp_jpg(img, nome, quality); }
void ImpJpg(const IMGCOR& img, const std::string& nome, int quality) { imp_jpg(img, nome, quality); }

namespace {

int cabecalho(DECJPG* d, std::FILE* f) {
  std::memset(d, 0, sizeof *d);
  d->cinfo.err = jpeg_std_error(&d->err.pub);
  d->err.pub.error_exit = volta;
  if (setjmp(d->err.salto)) {
    jpeg_destroy_decompress(&d->cinfo);
    return -1;
  }
  jpeg_create_decompress(&d->cinfo);
  jpeg_stdio_src(&d->cinfo, f);
  jpeg_read_header(&d->cinfo, TRUE);
  const int planos = d->cinfo.num_components;
  jpeg_destroy_decompress(&d->cinfo);
  return planos;
}

}  // namespace

int PlanosJpg(const std::string& nome) {
  ARQLE arq(nome, "rb", ABERTURA, BUFFER);
  return PlanosJpg(arq);
}

int PlanosJpg(ARQLE& arq) {
  int planos;
  {
    DECJPG d{};
    FIMDEC fim{d};
    planos = cabecalho(&d, arq.get());
  }
  if (planos < 0) erro(LEITURA, "");
  return planos;
}

}  // namespace imagorix
