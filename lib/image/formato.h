// The table of formats of each class, behind the generic le and imp.
//
// For every class, which detected file types it reads and how, which
// written types it writes and how, and the message that refuses any other
// suffix. A new format is one file with its reader and writer and one entry
// in the tables of the classes that take it; a new class (a sequence, say)
// is its own table, a specialisation of formatos, and le and imp overloads
// that call le_formato and imp_formato.
#pragma once
#include <span>
#include <string>
#include <type_traits>

#include "base/arquivo.h"
#include "base/erro.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/tipo.h"

namespace imagorix {

template <class I>
struct LEITOR {
  int tipo;                        // the code TipoImg gives
  void (*le)(I& img, ARQLE& arq);  // from the file's start
};

template <class I>
struct ESCRITOR {
  int tipo;  // the code Sufixo gives
  void (*imp)(const I& img, const SUFIXO& s);
};

template <class I>
struct FORMATOS {
  // The class's own entries, then the ones it shares with other classes; the
  // first entry of a type is the one used.
  std::span<const LEITOR<I>> leitores, comuns;
  std::span<const ESCRITOR<I>> escritores;
  // Second text of the refusal of any other written type; the first is the
  // name as the caller gave it.
  const char* recusa;
};

// The table of class I, defined with the class's generic reading.
template <class I>
const FORMATOS<I>& formatos();
template <> const FORMATOS<IMGBIN>& formatos<IMGBIN>();
template <> const FORMATOS<IMGGRY>& formatos<IMGGRY>();
template <> const FORMATOS<IMGCOR>& formatos<IMGCOR>();
template <> const FORMATOS<IMGSHT>& formatos<IMGSHT>();
template <> const FORMATOS<IMGFLT>& formatos<IMGFLT>();
template <> const FORMATOS<IMGDBL>& formatos<IMGDBL>();
template <> const FORMATOS<IMGCPX>& formatos<IMGCPX>();

// The reader class I has for files of type tipo, or null.
template <class I>
auto leitor(int tipo) -> void (*)(I&, ARQLE&) {
  for (const auto* tabela : {&formatos<I>().leitores, &formatos<I>().comuns})
    for (const LEITOR<I>& e : *tabela)
      if (e.tipo == tipo) return e.le;
  return nullptr;
}

// A reader that fills class N, its picture then converted into class I
// (through class M first when I takes no conversion from N).
template <class I, class N, auto LE, class M = N>
void via(I& img, ARQLE& arq) {
  N n;
  LE(n, arq);
  if constexpr (std::is_same_v<M, N>)
    img = n;
  else
    img = M(n);
}

// The writer class I has for files of type tipo, or null.
template <class I>
auto escritor(int tipo) -> void (*)(const I&, const SUFIXO&) {
  for (const ESCRITOR<I>& e : formatos<I>().escritores)
    if (e.tipo == tipo) return e.imp;
  return nullptr;
}

// Reading a file whose type TipoImg(arq) has already given.
template <class I>
void le_formato(I& img, ARQLE& arq, int tipo) {
  const auto le = leitor<I>(tipo);
  if (!le) erro("Tipo de imagem invalido ", arq.nome());
  // The reader takes the file from its start and never comes back.
  arq.solta();
  le(img, arq);
}

template <class I>
void le_formato(I& img, ARQLE& arq) {
  le_formato(img, arq, TipoImg(arq));
}

template <class I>
void le_formato(I& img, const std::string& nome) {
  ARQLE arq(nome, "rb", TIPO_ABERTURA, TIPO_BUFFER, ARQLE::VOLTA);
  le_formato(img, arq);
}

template <class I>
void imp_formato(const I& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  const auto imp = escritor<I>(s.tipo);
  if (!imp) erro(nome, formatos<I>().recusa);
  imp(img, s);
}

}  // namespace imagorix
