// Text files of vectors, point vectors and matrices.
#include "base/vetortxt.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

#include "base/erro.h"
#include "base/lenum.h"

namespace imagorix {

namespace {

// How each element is written and read, and the message its reading ends
// with when the file runs out.
void poe(ARQIMP& f, int x) { f.print("%d\n", x); }
void poe(ARQIMP& f, double x) { f.print("%lg\n", x); }
void poe(ARQIMP& f, const PONTO2& p) { f.print("%lg %lg\n", p.x, p.y); }
void poe(ARQIMP& f, const PONTOI2& p) { f.print("%d %d\n", p.x, p.y); }

void tira(FILE* f, int& x) { LeNum(f, x); }
void tira(FILE* f, double& x) { LeNum(f, x); }
void tira(FILE* f, PONTO2& p) {
  LeNum(f, p.x);
  LeNum(f, p.y);
}
void tira(FILE* f, PONTOI2& p) {
  LeNum(f, p.x);
  LeNum(f, p.y);
}

template <class T> struct ELEMENTO;
template <> struct ELEMENTO<int> { static constexpr int numeros = 1; static constexpr const char* fim = "LeNum(int)"; };
template <> struct ELEMENTO<double> { static constexpr int numeros = 1; static constexpr const char* fim = "LeNum(double)"; };
template <> struct ELEMENTO<PONTO2> { static constexpr int numeros = 2; static constexpr const char* fim = "LeNum(double)"; };
template <> struct ELEMENTO<PONTOI2> { static constexpr int numeros = 2; static constexpr const char* fim = "LeNum(int)"; };

// The messages of one reader or writer: stem + " - Tamanho invalido" for a
// negative size.
struct NOMES {
  const char* stem;       // "Erro le(VETOR<int>,nome)"
  const char* abertura;   // opening failure, the file name follows
  const char* buffer;     // refused stream buffer
};

std::string invalido(const NOMES& m) { return std::string(m.stem) + " - Tamanho invalido"; }

ARQIMP abre(const std::string& nome, const NOMES& m) {
  // "Erro imp(...)" names the writer "imp(...)" in its write-failure message.
  return ARQIMP(nome, "wt", std::string(m.stem).substr(5), m.abertura, m.buffer);
}

// Refuses k elements of T that a file with resta bytes left (-1: unknown)
// cannot hold: every number takes a character and a separator, except that
// the last may end at the end of the file.
template <class T>
void cabe(long long k, long long resta) {
  if (resta >= 0 && k > 0 && 2 * k * ELEMENTO<T>::numeros - 1 > resta) erro(ELEMENTO<T>::fim);
}

// k elements into dest, which init (called once) sizes and returns. From a
// stream of unknown length they are gathered first, so that the size a
// header claims is never allocated before the numbers are there.
template <class T, class Init>
void le_elementos(ARQLE& arq, long long k, Init init) {
  FILE* f = arq.get();
  const long long resta = arq.remaining();
  cabe<T>(k, resta);
  if (resta >= 0) {
    T* d = init();
    for (long long i = 0; i < k; ++i) tira(f, d[i]);
    return;
  }
  std::vector<T> v;
  for (long long i = 0; i < k; ++i) {
    T x;
    tira(f, x);
    v.push_back(x);
  }
  T* d = init();
  std::copy(v.begin(), v.end(), d);
}

template <class T>
void imp_vetor(const VETOR<T>& v, const std::string& nome, const NOMES& m, const char* cabecalho) {
  if (v.n() < 0) erro(invalido(m));
  ARQIMP f = abre(nome, m);
  f.print(cabecalho, v.n());
  for (int i = 0; i < v.n(); ++i) poe(f, v.data()[i]);
  f.close();
}

template <class T>
void le_vetor(VETOR<T>& v, ARQLE& arq, const NOMES& m, bool colunas) {
  FILE* f = arq.get();
  int n;
  LeNum(f, n);
  if (n < 0) erro(invalido(m));
  if (colunas) {
    int nc;
    LeNum(f, nc);
    if (nc != 2) erro("Erro: Numero de colunas != 2");
  }
  if (n == v.n()) {
    // Same count: the vector keeps its storage and centre.
    for (int i = 0; i < n; ++i) tira(f, v.data()[i]);
    return;
  }
  le_elementos<T>(arq, n, [&] {
    v.resize(n);
    return v.data();
  });
}

template <class T>
void le_vetor(VETOR<T>& v, const std::string& nome, const NOMES& m, bool colunas) {
  ARQLE f(nome, "rt", m.abertura, m.buffer);
  le_vetor(v, f, m, colunas);
}

template <class T>
void imp_matriz(const MATRIZ<T>& a, const std::string& nome, const NOMES& m, const char* cabecalho,
                const char* elemento) {
  if (a.nl() < 0 || a.nc() < 0) erro(invalido(m));
  ARQIMP f = abre(nome, m);
  f.print(cabecalho, a.nl(), a.nc());
  const T* p = a.data();
  for (int l = 0; l < a.nl(); ++l) {
    for (int c = 0; c < a.nc(); ++c) f.print(elemento, *p++);
    f.put('\n');
  }
  f.close();
}

template <class T>
void le_matriz(MATRIZ<T>& a, ARQLE& arq, const NOMES& m) {
  FILE* f = arq.get();
  int nl, nc;
  LeNum(f, nl);
  LeNum(f, nc);
  if (nl < 0 || nc < 0) erro(invalido(m));
  const long long k = static_cast<long long>(nl) * nc;
  if (k > INT_MAX) erro(MATRIZ_FALTA);
  le_elementos<T>(arq, k, [&] {
    a.resize(nl, nc);
    return a.data();
  });
}

template <class T>
void le_matriz(MATRIZ<T>& a, const std::string& nome, const NOMES& m) {
  ARQLE f(nome, "rt", m.abertura, m.buffer);
  le_matriz(a, f, m);
}

constexpr const char* IMP_VETOR_BUFFER = "Erro VETOR<T>::ImpTxt - Faltou memoria setvbuf";

constexpr NOMES IMP_VI{"Erro imp(VETOR<int>,nome)", "Erro imp(VETOR<int>,nome) - abertura de ", IMP_VETOR_BUFFER};
constexpr NOMES LE_VI{"Erro le(VETOR<int>,nome)", "Erro le(VETOR<int>,nome) - abertura de ",
                      "Erro le(VETOR<int>,nome) - Faltou memoria setvbuf"};
constexpr NOMES IMP_VD{"Erro imp(VETOR<double>,nome)", "Erro imp(VETOR<double>,nome) - abertura de ", IMP_VETOR_BUFFER};
constexpr NOMES LE_VD{"Erro le(VETOR<double>", "Erro le(VETOR<double> - Abertura ",
                      "Erro le(VETOR<double> - Faltou memoria setvbuf"};
constexpr NOMES IMP_P2{"Erro imp(VETOR<PONTO2>,nome)", "Erro imp(VETOR<PONTO2>,nome) - abertura de ", IMP_VETOR_BUFFER};
constexpr NOMES LE_P2{"Erro le(VETOR<PONTO2>,nome)", "Erro le(VETOR<PONTO2>,nome) - abertura de ",
                      "Erro le(VETOR<PONTO2>,nome) - Faltou memoria setvbuf"};
constexpr NOMES IMP_PI2{"Erro imp(VETOR<PONTOI2>,nome)", "Erro imp(VETOR<PONTOI2>,nome) - abertura de ",
                        IMP_VETOR_BUFFER};
constexpr NOMES LE_PI2{"Erro le(VETOR<PONTOI2>,nome)", "Erro le(VETOR<PONTOI2>,nome) - abertura de ",
                       "Erro le(VETOR<PONTOI2>,nome) - Faltou memoria setvbuf"};
constexpr NOMES IMP_MI{"Erro imp(MATRIZ<int>,nome)", "Erro imp(MATRIZ<int>,nome) - abertura de ",
                       "Erro MATRIZ<T>::ImpTxt - Faltou memoria setvbuf"};
constexpr NOMES LE_MI{"Erro le(MATRIZ<int>,nome)", "Erro le(MATRIZ<int>,nome) - abertura de ",
                      "Erro le(MATRIZ<int>,nome) - Faltou memoria setvbuf"};
constexpr NOMES IMP_MD{"Erro imp(MATRIZ<double>", "Erro imp(MATRIZ<double> - Abertura ",
                       "Erro imp(MATRIZ<double> - Faltou memoria setvbuf"};
constexpr NOMES LE_MD{"Erro le(MATRIZ<double>", "Erro le(MATRIZ<double> - Abertura ",
                      "Erro le(MATRIZ<double> - Faltou memoria setvbuf"};

}  // namespace

void imp(const VETOR<int>& v, const std::string& nome) { imp_vetor(v, nome, IMP_VI, "%d\n\n"); }
void imp(const VETOR<double>& v, const std::string& nome) { imp_vetor(v, nome, IMP_VD, "%d\n\n"); }
void imp(const VETOR<PONTO2>& v, const std::string& nome) { imp_vetor(v, nome, IMP_P2, "%d 2\n\n"); }
void imp(const VETOR<PONTOI2>& v, const std::string& nome) { imp_vetor(v, nome, IMP_PI2, "%d 2\n\n"); }
void imp(const MATRIZ<int>& m, const std::string& nome) { imp_matriz(m, nome, IMP_MI, "%d %d\n\n", "%d "); }
void imp(const MATRIZ<double>& m, const std::string& nome) { imp_matriz(m, nome, IMP_MD, "%d %d\n", "%lg "); }

void le(VETOR<int>& v, const std::string& nome) { le_vetor(v, nome, LE_VI, false); }
void le(VETOR<double>& v, const std::string& nome) { le_vetor(v, nome, LE_VD, false); }
void le(VETOR<PONTO2>& v, const std::string& nome) { le_vetor(v, nome, LE_P2, true); }
void le(VETOR<PONTOI2>& v, const std::string& nome) { le_vetor(v, nome, LE_PI2, true); }
void le(MATRIZ<int>& m, const std::string& nome) { le_matriz(m, nome, LE_MI); }
void le(MATRIZ<double>& m, const std::string& nome) { le_matriz(m, nome, LE_MD); }

void le(VETOR<int>& v, ARQLE& f) { le_vetor(v, f, LE_VI, false); }
void le(VETOR<double>& v, ARQLE& f) { le_vetor(v, f, LE_VD, false); }
void le(VETOR<PONTO2>& v, ARQLE& f) { le_vetor(v, f, LE_P2, true); }
void le(VETOR<PONTOI2>& v, ARQLE& f) { le_vetor(v, f, LE_PI2, true); }
void le(MATRIZ<int>& m, ARQLE& f) { le_matriz(m, f, LE_MI); }
void le(MATRIZ<double>& m, ARQLE& f) { le_matriz(m, f, LE_MD); }

}  // namespace imagorix
