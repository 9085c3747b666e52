#include "base/lenum.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <string_view>

#include "base/erro.h"

namespace imagorix {

namespace {

// What a (lower-cased) character means to a tokeniser.
enum Classe : unsigned char { OUTRO, SEPARADOR, LETRA, CERQUILHA, BARRA };
using Tabela = std::array<Classe, 256>;

constexpr Tabela tabela(std::string_view separadores, std::string_view extras) {
  Tabela t{};  // OUTRO everywhere
  for (char c : separadores) t[static_cast<unsigned char>(c)] = SEPARADOR;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = LETRA;
  for (int c = '0'; c <= '9'; ++c) t[c] = LETRA;
  for (char c : extras) t[static_cast<unsigned char>(c)] = LETRA;
  t['#'] = CERQUILHA;
  t['/'] = BARRA;
  return t;
}

constexpr Tabela NUMERO = tabela(" \t\n\r(),;=", "+-._");
constexpr Tabela PALAVRA = tabela(" \t\n\r", "_-.:\\@");

constexpr int CTRLZ = 26;

// Next character, or EOF at the end of stream. A Ctrl-Z is pushed back so
// that it stays an end for every later read.
inline int lech(FILE* f) {
#if defined(__unix__) || defined(__APPLE__)
  int c = getc_unlocked(f);  // the library is single-threaded
#else
  int c = std::getc(f);
#endif
  if (c == CTRLZ) {
    std::ungetc(c, f);
    return EOF;
  }
  return c;
}

// Skips a line comment; false when the stream ends inside it.
bool pula_linha(FILE* f) {
  for (;;) {
    int c = lech(f);
    if (c == EOF) return false;
    if (c == '\n' || c == '\r') return true;
  }
}

// Skips a block comment after its "/*"; false when it is not closed. The
// star of the opening does not count, so "/*/" is still open.
bool pula_bloco(FILE* f) {
  bool estrela = false;
  for (;;) {
    int c = lech(f);
    if (c == EOF) return false;
    if (estrela && c == '/') return true;
    estrela = c == '*';
  }
}

enum class Lido { TOKEN, FIM, ERRO };

// A token read into a fixed buffer: no allocation per token.
struct Token {
  char s[MAXTOKEN + 1];
  int n = 0;
  std::string_view v() const { return {s, static_cast<std::size_t>(n)}; }
};

Lido proximo(FILE* f, const Tabela& t, bool um_char, Token& tk) {
  tk.n = 0;
  int c;
  for (;;) {
    c = lech(f);
    if (c == EOF) return Lido::FIM;
    c = std::tolower(c);
    switch (t[c]) {
      case SEPARADOR:
        continue;
      case CERQUILHA:
        if (!pula_linha(f)) return Lido::FIM;
        continue;
      case BARRA: {
        int d = lech(f);
        if (d == '/') {
          if (!pula_linha(f)) return Lido::FIM;
          continue;
        }
        if (d == '*' && pula_bloco(f)) continue;
        return Lido::ERRO;
      }
      case OUTRO:
        return Lido::ERRO;
      case LETRA:
        break;
    }
    break;
  }
  tk.s[tk.n++] = static_cast<char>(c);
  if (um_char) {
    tk.s[tk.n] = '\0';
    return Lido::TOKEN;
  }
  // The rest of the token is read even when it is already spoilt, so that
  // the next read starts after it.
  bool bom = true;
  while ((c = lech(f)) != EOF) {
    c = std::tolower(c);
    const Classe k = t[c];
    if (k == SEPARADOR) break;
    if (k != LETRA || tk.n == MAXTOKEN)
      bom = false;
    else
      tk.s[tk.n++] = static_cast<char>(c);
  }
  tk.s[tk.n] = '\0';
  return bom ? Lido::TOKEN : Lido::ERRO;
}

std::string texto(Lido r, const Token& tk) {
  switch (r) {
    case Lido::FIM:
      return "eof";
    case Lido::ERRO:
      return "erro";
    case Lido::TOKEN:
      break;
  }
  return std::string(tk.v());
}

template <std::size_t N>
bool uma_de(std::string_view s, const std::string_view (&lista)[N]) {
  for (std::string_view p : lista)
    if (s == p) return true;
  return false;
}

// A token as an int, read by LeDecimal. Values beyond int are reported by
// direction instead of being wrapped.
enum class Inteiro { OK, FALHA, ACIMA, ABAIXO };

Inteiro inteiro(const char* s, int& v) {
  std::int64_t a;
  if (!LeDecimal(s, a)) return Inteiro::FALHA;
  if (a > INT_MAX) return Inteiro::ACIMA;
  if (a < INT_MIN) return Inteiro::ABAIXO;
  v = static_cast<int>(a);
  return Inteiro::OK;
}

constexpr std::string_view MAX_REAL[] = {"max", "m", "+max", "infinito", "+m"};
constexpr std::string_view MIN_REAL[] = {"-max", "-m", "min", "-infinito", "."};
constexpr std::string_view MAX_SHT[] = {"max", "m", "+max", "maxsht", "+m"};
constexpr std::string_view MIN_SHT[] = {"-max", "-m", "min", "minsht", "."};
constexpr std::string_view VERDADE[] = {"true", "1", "t", "v", "x"};
constexpr std::string_view FALSO[] = {"false", "0", "f", "."};

// A boolean word into x; false when s is none of them.
bool booleano(std::string_view s, bool& x) {
  if (uma_de(s, VERDADE)) x = true;
  else if (uma_de(s, FALSO)) x = false;
  else return false;
  return true;
}

bool le_real(FILE* f, double& x) {
  Token tk;
  if (proximo(f, NUMERO, false, tk) != Lido::TOKEN) return false;
  if (uma_de(tk.v(), MAX_REAL)) {
    x = 1e30;
    return true;
  }
  if (uma_de(tk.v(), MIN_REAL)) {
    x = -1e30;
    return true;
  }
  return std::sscanf(tk.s, "%lf", &x) == 1;
}

}  // namespace

const char* LeDecimal(const char* s, std::int64_t& v) {
  while (std::isspace(static_cast<unsigned char>(*s))) ++s;
  bool neg = false;
  if (*s == '+' || *s == '-') neg = *s++ == '-';
  if (*s < '0' || *s > '9') return nullptr;
  std::int64_t a = 0;
  for (; *s >= '0' && *s <= '9'; ++s)
    if ((a = a * 10 + (*s - '0')) > DECIMAL_TETO) a = DECIMAL_TETO;
  v = neg ? -a : a;
  return s;
}

std::string LeTokenNum(FILE* f) {
  Token tk;
  const Lido r = proximo(f, NUMERO, false, tk);
  return texto(r, tk);
}

std::string LeChar(FILE* f) {
  Token tk;
  const Lido r = proximo(f, NUMERO, true, tk);
  return texto(r, tk);
}

std::string LeToken(FILE* f) {
  Token tk;
  const Lido r = proximo(f, PALAVRA, false, tk);
  return texto(r, tk);
}

void LeNum(FILE* f, bool& x) {
  Token tk;
  if (proximo(f, NUMERO, false, tk) == Lido::TOKEN && booleano(tk.v(), x)) return;
  erro("LeNum(bool)");
}

void LeNum(FILE* f, double& x) {
  double d;
  if (!le_real(f, d)) erro("LeNum(double)");
  x = d;
}

void LeNum(FILE* f, FLT& x) {
  double d;
  if (!le_real(f, d)) erro("LeNum(FLT)");
  x = static_cast<FLT>(d);  // beyond the float range: an infinity (IEEE)
}

void LeNum(FILE* f, SHT& x) {
  Token tk;
  if (proximo(f, NUMERO, false, tk) == Lido::TOKEN) {
    if (uma_de(tk.v(), MAX_SHT)) {
      x = 32767;
      return;
    }
    if (uma_de(tk.v(), MIN_SHT)) {
      x = -32768;
      return;
    }
    int v;
    if (inteiro(tk.s, v) == Inteiro::OK) {
      x = static_cast<SHT>(v);  // modulo 65536
      return;
    }
  }
  erro("LeNum(SHT)");
}

void LeNum(FILE* f, int& x) {
  Token tk;
  int v;
  if (proximo(f, NUMERO, false, tk) != Lido::TOKEN || inteiro(tk.s, v) != Inteiro::OK)
    erro("LeNum(int)");
  x = v;
}

void LeNum(FILE* f, BYTE& x) {
  Token tk;
  if (proximo(f, NUMERO, false, tk) == Lido::TOKEN) {
    int v;
    switch (inteiro(tk.s, v)) {
      case Inteiro::OK:
        x = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
        return;
      case Inteiro::ACIMA:
        x = 255;
        return;
      case Inteiro::ABAIXO:
        x = 0;
        return;
      case Inteiro::FALHA:
        break;
    }
  }
  erro("LeNum(BYTE)");
}

void LeNumOpt(FILE* f, int& x) {
  Token tk;
  const Lido r = proximo(f, NUMERO, false, tk);
  if (r == Lido::FIM) {
    x = EOFNUM;
    return;
  }
  int v;
  if (r != Lido::TOKEN || inteiro(tk.s, v) != Inteiro::OK) erro("LeNum(int)");
  x = v;
}

void LeBool(FILE* f, bool& x) {
  Token tk;
  const Lido r = proximo(f, NUMERO, true, tk);
  if (r == Lido::TOKEN && booleano(tk.v(), x)) return;
  erro("Erro: LeBool ", texto(r, tk));
}

}  // namespace imagorix
