#include "base/vetorbit.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

const char* const INDICE = "^Erro VETORBIT::operator\\(\\) - Indice invalido \n$";

// n pseudo-random '0'/'1' characters.
std::string aleatorio(int n, unsigned semente) {
  std::string s(n, '0');
  for (int i = 0; i < n; ++i) {
    semente = semente * 1103515245u + 12345u;
    if (semente & 0x10000u) s[i] = '1';
  }
  return s;
}

// Sets every spare bit of the last word, which no operation may read as a bit.
void suja(VETORBIT& v) {
  if (v.nv() > 0 && v.nv() % 32 != 0) v.data()[v.nw() - 1] |= ~0u >> (v.nv() % 32);
}

// A vector from '0'/'1' text, bit 0 first, with its spare bits set.
VETORBIT bits(const std::string& s) {
  VETORBIT v(s);
  suja(v);
  return v;
}

// Reference polynomial remainder over GF(2) on '0'/'1' text, bit i = x^i,
// d = deg p bits long.
std::string resto_ref(std::string a, const std::string& p) {
  const int dp = static_cast<int>(p.find_last_of('1'));
  for (int i = static_cast<int>(a.size()) - 1; i >= dp; --i)
    if (a[i] == '1')
      for (int j = 0; j <= dp; ++j)
        if (p[j] == '1') a[i - dp + j] ^= 1;
  a.resize(dp, '0');
  return a;
}

}  // namespace

TEST(VetorBit, BitsArePackedMostSignificantFirst) {
  VETORBIT v(33);
  EXPECT_EQ(v.nv(), 33);
  EXPECT_EQ(v.nw(), 2);
  v(32) = true;
  v(0) = true;
  v(31) = true;
  EXPECT_EQ(v.data()[0], 0x80000001u);
  EXPECT_EQ(v.data()[1], 0x80000000u);
  v(0) = false;
  EXPECT_EQ(v.data()[0], 0x00000001u);
  v(1) = v(31);
  EXPECT_TRUE(v(1));
  EXPECT_EQ(VETORBIT(0).nw(), 0);
  EXPECT_EQ(VETORBIT(0).data(), nullptr);
  EXPECT_EQ(VETORBIT(-4).nw(), 0);
  EXPECT_EQ(VETORBIT(32).nw(), 1);
}

TEST(VetorBit, Constructors) {
  EXPECT_EQ(VETORBIT(5, true).tostring(), "11111");
  EXPECT_EQ(VETORBIT(40, false).tostring(), std::string(40, '0'));
  EXPECT_EQ(VETORBIT(4, 1, 0, 7, 0).tostring(), "1010");
  EXPECT_EQ(VETORBIT(3, 0).tostring(), "000");  // one value: the fill form
  // Every character but '0' sets its bit.
  EXPECT_EQ(VETORBIT(std::string("01x 0")).tostring(), "01110");
  EXPECT_EXIT(VETORBIT(3, 1, 0), testing::ExitedWithCode(1),
              "^Erro VETORBIT::VETORBIT - Numero de valores invalido \n$");

  VETORBIT a = bits("1011");
  VETORBIT b(a);
  b(0) = false;
  EXPECT_EQ(a.tostring(), "1011");
  EXPECT_EQ(b.tostring(), "0011");
}

TEST(VetorBit, IndexOutsideTheVectorEndsTheProgram) {
  struct Caso { int nv, i; } casos[] = {{5, -1}, {5, 5}, {33, 33}, {0, 0}, {-3, 0}};
  for (const Caso& c : casos) {
    VETORBIT v(c.nv);
    const VETORBIT& k = v;
    EXPECT_EXIT(v(c.i) = true, testing::ExitedWithCode(1), INDICE) << c.nv << " " << c.i;
    EXPECT_EXIT((void)k(c.i), testing::ExitedWithCode(1), INDICE) << c.nv << " " << c.i;
  }
}

TEST(VetorBit, AssignmentAndResize) {
  VETORBIT v = bits("110");
  v = v;
  EXPECT_EQ(v.tostring(), "110");
  VETORBIT w(70, true);
  w = v;
  EXPECT_EQ(w.nv(), 3);
  EXPECT_EQ(w, v);
  v = std::string("0a0001");
  EXPECT_EQ(v.tostring(), "010001");
  v.resize(6);
  EXPECT_EQ(v.tostring(), "010001");
  v.resize(2);
  EXPECT_EQ(v.nv(), 2);

  // setbits keeps the count and reads only the first nv characters.
  VETORBIT s(4);
  s.setbits("1x0011");
  EXPECT_EQ(s.tostring(), "1100");
  EXPECT_EXIT(s.setbits("101"), testing::ExitedWithCode(1),
              "^Erro VETORBIT::setbits - String menor que o vetor \n$");
}

TEST(VetorBit, EqualityIgnoresSpareBits) {
  const std::string s = aleatorio(45, 3);
  VETORBIT a(s), b = bits(s);
  EXPECT_TRUE(a == b);
  b(44) = !b(44);
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(VETORBIT(std::string("10")) == VETORBIT(std::string("100")));
  EXPECT_TRUE(VETORBIT(0) == VETORBIT(0));
  // Bits dropped by delleft no longer count.
  VETORBIT c = bits("1011"), d = bits("1010");
  c.delleft(1);
  d.delleft(1);
  EXPECT_TRUE(c == d);
}

TEST(VetorBit, BitwiseOperatorsWorkWordByWord) {
  for (int n : {1, 31, 32, 33, 100}) {
    const std::string x = aleatorio(n, n), y = aleatorio(n, 7 * n + 1);
    std::string ex(n, '0'), ou(n, '0'), e(n, '0');
    for (int i = 0; i < n; ++i) {
      ex[i] = x[i] != y[i] ? '1' : '0';
      ou[i] = x[i] == '1' || y[i] == '1' ? '1' : '0';
      e[i] = x[i] == '1' && y[i] == '1' ? '1' : '0';
    }
    EXPECT_EQ((bits(x) ^ bits(y)).tostring(), ex) << n;
    EXPECT_EQ((bits(x) | bits(y)).tostring(), ou) << n;
    EXPECT_EQ((bits(x) & bits(y)).tostring(), e) << n;
  }
  const char* msg = "^Erro &: vetores com tamanhos diferentes \n$";
  VETORBIT a(3), b(4);
  EXPECT_EXIT(a ^ b, testing::ExitedWithCode(1), msg);
  EXPECT_EXIT(a | b, testing::ExitedWithCode(1), msg);
  EXPECT_EXIT(a & b, testing::ExitedWithCode(1), msg);
}

TEST(VetorBit, ShiftinMovesEveryBitUp) {
  VETORBIT v = bits("100");
  EXPECT_FALSE(v.shiftin(true));
  EXPECT_EQ(v.tostring(), "110");
  EXPECT_FALSE(v.shiftin(false));
  EXPECT_TRUE(v.shiftin(false));
  EXPECT_EQ(v.tostring(), "001");

  // Across word boundaries.
  const std::string s = aleatorio(70, 11);
  VETORBIT w = bits(s);
  EXPECT_EQ(w.shiftin(true), s[69] == '1');
  EXPECT_EQ(w.tostring(), std::string("1").append(s, 0, 69));

  VETORBIT vazio(0);
  EXPECT_EXIT(vazio.shiftin(true), testing::ExitedWithCode(1), INDICE);
}

TEST(VetorBit, TrimAndDelleft) {
  VETORBIT v = bits(std::string("0100") + std::string(40, '0'));
  EXPECT_EQ(v.trim(), 2);
  EXPECT_EQ(v.tostring(), "01");
  VETORBIT w = bits(std::string("1").append(63, '0').append("1"));
  EXPECT_EQ(w.trim(), 65);

  // The spare bits above nv are not set bits.
  VETORBIT z = bits("10000");
  EXPECT_EQ(z.trim(), 1);
  VETORBIT nada = bits("0000");
  EXPECT_EXIT(nada.trim(), testing::ExitedWithCode(1), INDICE);
  VETORBIT vazio(0);
  EXPECT_EXIT(vazio.trim(), testing::ExitedWithCode(1), INDICE);

  VETORBIT d = bits("10110");
  d.delleft(0);
  EXPECT_EQ(d.tostring(), "10110");
  d.delleft(2);
  EXPECT_EQ(d.tostring(), "101");
  d.delleft(3);
  EXPECT_EQ(d.nv(), 0);
  EXPECT_EQ(d.tostring(), "");
  VETORBIT e = bits("101");
  EXPECT_EXIT(e.delleft(4), testing::ExitedWithCode(1), "^Erro delleft n>nv \n$");
  EXPECT_EXIT(e.delleft(-1), testing::ExitedWithCode(1), "^Erro delleft n<0 \n$");
}

TEST(VetorBit, SlicesMatchBitByBitDefinitions) {
  for (int n : {1, 7, 32, 33, 64, 95}) {
    const std::string s = aleatorio(n, 5 * n + 3);
    const VETORBIT v = bits(s);
    for (int k : {0, 1, 5, 31, 32, 33, 40}) {
      const std::string ctx = std::to_string(n) + "/" + std::to_string(k);
      EXPECT_EQ(v.shiftup(k).tostring(), std::string(k, '0') + s) << ctx;
      EXPECT_EQ(v.padzeros(k).tostring(), s + std::string(k, '0')) << ctx;
      if (k <= n) {
        EXPECT_EQ(v.shiftdown(k).tostring(), s.substr(k)) << ctx;
      }
      if (k < n) {
        EXPECT_EQ(v.subvetorbit(k, n - 1).tostring(), s.substr(k)) << ctx;
        EXPECT_EQ(v.subvetorbit(0, n - 1 - k).tostring(), s.substr(0, n - k)) << ctx;
      }
    }
    EXPECT_EQ(v.reverse().tostring(), std::string(s.rbegin(), s.rend())) << n;
  }
  EXPECT_EQ(VETORBIT(0).reverse().nv(), 0);
}

TEST(VetorBit, SliceErrors) {
  const VETORBIT v = bits("10110");
  EXPECT_EXIT(v.padzeros(-1), testing::ExitedWithCode(1), "^Erro padzeros m<0 \n$");
  EXPECT_EXIT(v.subvetorbit(3, 2), testing::ExitedWithCode(1), "^Erro subvetorbit inic>fim \n$");
  EXPECT_EXIT(v.subvetorbit(-1, 2), testing::ExitedWithCode(1), INDICE);
  EXPECT_EXIT(v.subvetorbit(2, 5), testing::ExitedWithCode(1), INDICE);
  EXPECT_EXIT(v.shiftdown(-1), testing::ExitedWithCode(1), INDICE);
  EXPECT_EXIT(v.shiftup(-1), testing::ExitedWithCode(1), INDICE);
}

TEST(VetorBit, PolynomialStringsPutBitZeroLast) {
  const VETORBIT v = atovetorbit("110");
  EXPECT_EQ(v.nv(), 3);
  EXPECT_FALSE(v(0));
  EXPECT_TRUE(v(1));
  EXPECT_TRUE(v(2));
  EXPECT_EQ(v.tostring(), "011");
  const std::string s = aleatorio(77, 9);
  EXPECT_EQ(atovetorbit(s).tostring(), std::string(s.rbegin(), s.rend()));
  EXPECT_EQ(atovetorbit("").nv(), 0);
  EXPECT_EXIT(atovetorbit("1021"), testing::ExitedWithCode(1), "^Erro atovetorbit \n$");
}

TEST(VetorBit, StreamInputAndOutput) {
  std::istringstream in("  110\n0001 11");
  VETORBIT v(40, true);
  in >> v;
  EXPECT_EQ(v.tostring(), "011");
  in >> v;
  EXPECT_EQ(v.tostring(), "1000");
  in >> v >> v;
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(v.tostring(), "11");  // a failed read leaves the vector alone

  std::ostringstream out;
  out << bits("10011") << VETORBIT(0);
  EXPECT_EQ(out.str(), "n=5  10011\nn=0  \n");

  std::istringstream mau("10x1");
  EXPECT_EXIT(mau >> v, testing::ExitedWithCode(1), "^Erro leitura VETORBIT \n$");
}

TEST(VetorBitFile, WritesGroupsOfFourEightAndThirtyTwo) {
  const std::string p = scratch_path("grupos.txt");
  imp(VETORBIT(9, true), p);
  EXPECT_EQ(read_text(p), "9\n\n1111,1111 1");

  imp(bits("1000" "0100" "0010" "0001" "1100" "0110" "0011" "1001" "1"), p);
  EXPECT_EQ(read_text(p), "33\n\n1000,0100 0010,0001 1100,0110 0011,1001\n1");
  imp(VETORBIT(32, false), p);
  EXPECT_EQ(read_text(p), "32\n\n0000,0000 0000,0000 0000,0000 0000,0000\n");
  imp(VETORBIT(0), p);
  EXPECT_EQ(read_text(p), "0\n\n");
  std::remove(p.c_str());
}

TEST(VetorBitFile, RoundTrip) {
  const std::string p = scratch_path("ida_volta.txt");
  for (int n : {0, 1, 31, 32, 33, 1000}) {
    const VETORBIT v = bits(aleatorio(n, n + 17));
    imp(v, p);
    VETORBIT w(3, true);
    le(w, p);
    EXPECT_EQ(w, v) << n;
  }
  // The reader takes any layout the number syntax allows.
  write_text(p, "/* bits */ 6\n1 0;t . x\n# fim\nf");
  VETORBIT w;
  le(w, p);
  EXPECT_EQ(w.tostring(), "101010");
  std::remove(p.c_str());
}

TEST(VetorBitFile, Failures) {
  EXPECT_EXIT(imp(VETORBIT(9, true), "/dev/full"), testing::ExitedWithCode(1),
              "^Erro imp\\(VETORBIT,nome\\) - Falha de escrita  /dev/full\n$");
  EXPECT_EXIT(imp(VETORBIT(2), "/nao/existe/v.txt"), testing::ExitedWithCode(1),
              "^Erro imp\\(VETORBIT,nome\\) - abertura de  /nao/existe/v.txt\n$");
  VETORBIT v;
  EXPECT_EXIT(le(v, "/nao/existe/v.txt"), testing::ExitedWithCode(1),
              "^Erro le\\(VETORBIT - Abertura  /nao/existe/v.txt\n$");

  struct Caso { const char* texto; const char* msg; } casos[] = {
      {"", "^LeNum\\(int\\) \n$"},
      {"-2\n\n", "^Erro le\\(VETORBIT - Tamanho invalido \n$"},
      {"5\n\n1111", "^Erro: LeBool  eof\n$"},
      {"3\n\n1y1", "^Erro: LeBool  y\n$"},
  };
  const std::string p = scratch_path("falhas.txt");
  for (const Caso& c : casos) {
    write_text(p, c.texto);
    EXPECT_EXIT(le(v, p), testing::ExitedWithCode(1), c.msg) << c.texto;
  }
  std::remove(p.c_str());
}

// A count far beyond what the file holds must not be allocated: with the
// address space held to a little more than it uses now, a reader that sizes
// its storage from the count fails to allocate instead of reaching the end.
TEST(VetorBitFile, HostileCountIsNotAllocated) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address-space limit conflicts with the sanitizer's shadow memory";
#else
  const std::string p = scratch_path("hostil.txt");
  write_text(p, "2147483000\n\n1011");
  VETORBIT v;
  EXPECT_EXIT(
      {
        rlimit lim;
        getrlimit(RLIMIT_AS, &lim);
        std::ifstream st("/proc/self/statm");
        long paginas = 0;
        st >> paginas;
        lim.rlim_cur = static_cast<rlim_t>(paginas) * sysconf(_SC_PAGESIZE) + (64u << 20);
        setrlimit(RLIMIT_AS, &lim);
        le(v, p);
      },
      testing::ExitedWithCode(1), "^Erro: LeBool  eof\n$");
  std::remove(p.c_str());
#endif
}

// A stream whose length cannot be known beforehand gets storage as its bits
// arrive.
TEST(VetorBitFile, ReadsFromAPipe) {
  const std::string p = scratch_path("fifo");
  std::remove(p.c_str());
  ASSERT_EQ(mkfifo(p.c_str(), 0600), 0);
  const VETORBIT v = bits(aleatorio(300000, 23));
  std::thread escritor([&] { imp(v, p); });
  VETORBIT w;
  le(w, p);
  escritor.join();
  EXPECT_EQ(w, v);
  std::remove(p.c_str());
}

TEST(GF2, ModReducesByTheDivisor) {
  // x^3 mod (x^2 + 1) = x
  const VETORBIT r = modGF2(bits("0001"), bits("101"));
  EXPECT_EQ(r.nv(), 2);
  EXPECT_EQ(r.tostring(), "01");
  // High zero coefficients of either operand are dropped first.
  EXPECT_EQ(modGF2(bits("0100000"), bits("11010000")).tostring(), "010");
  // A dividend of lower degree comes back padded to deg p bits.
  EXPECT_EQ(modGF2(bits("1"), bits("11001")).tostring(), "1000");

  for (int n : {5, 33, 100, 200}) {
    const std::string a = aleatorio(n, n) + "1";
    for (const std::string& p : {std::string("11"), std::string("1101"), aleatorio(40, n) + "1",
                                 aleatorio(70, 3 * n) + "1"}) {
      EXPECT_EQ(modGF2(bits(a), bits(p)).tostring(), resto_ref(a, p)) << a << " mod " << p;
    }
  }
}

TEST(GF2, XkModMultipliesByPowersOfX) {
  // x^4 + x + 1 is primitive: x has order 15.
  const VETORBIT p = bits("11001");
  VETORBIT a = bits("1");
  const VETORBIT r = xkmodGF2(a, 15, p);
  EXPECT_EQ(r.tostring(), "1000");
  EXPECT_EQ(a, r);
  a = bits("1");
  EXPECT_EQ(xkmodGF2(a, 4, p).tostring(), "1100");  // x^4 = x + 1

  const std::string q = aleatorio(50, 8) + "1";
  VETORBIT b = bits("1101");
  EXPECT_EQ(xkmodGF2(b, 60, bits(q)).tostring(), resto_ref(std::string(60, '0') + "1101", q));
}

TEST(GF2, Errors) {
  EXPECT_EXIT(modGF2(bits("000"), bits("101")), testing::ExitedWithCode(1), INDICE);
  EXPECT_EXIT(modGF2(bits("1"), bits("00")), testing::ExitedWithCode(1), INDICE);
  EXPECT_EXIT(modGF2(bits("011"), bits("100")), testing::ExitedWithCode(1),
              "^Erro subvetorbit inic>fim \n$");
}
