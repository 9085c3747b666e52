// How a page is keyed: numeric keys and key files.
#include "keying.h"

#include <sodium.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "base/bitref.h"
#include "base/erro.h"
#include "payload.h"

namespace kova {

using imagorix::erro;

namespace {

// Labels that keep every use of the key apart, and the two modes apart: no
// value computed for one purpose can stand for another.
constexpr char KeyLabel[] = "KOVA key file v1";
constexpr char MacLabel[] = "KOVA secure MAC";
constexpr unsigned char MacVersion = 1;
constexpr char OrderLabel[] = "KOVA carrier order v1";

void init_sodium() {
  if (sodium_init() < 0) erro("Error: the cryptographic library cannot start");
}

void put32(crypto_generichash_state& s, std::uint32_t v) {
  const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  crypto_generichash_update(&s, b, 4);
}

// A buffer of key material, cleared however its holder ends.
struct SECRET {
  std::vector<unsigned char> b;
  ~SECRET() {
    if (!b.empty()) sodium_memzero(b.data(), b.size());
  }
};

}  // namespace

KEYFILE::KEYFILE(const std::string& path) {
  init_sodium();
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) erro("Error: key file cannot be read:", path);
  // Read without a stdio buffer of its own, so that no copy of the key is
  // left behind in one.
  std::setvbuf(f.get(), nullptr, _IONBF, 0);
  SECRET s;
  s.b.resize(static_cast<std::size_t>(MaxBytes) + 1);
  const std::size_t n = std::fread(s.b.data(), 1, s.b.size(), f.get());
  if (std::ferror(f.get())) erro("Error: key file cannot be read:", path);
  if (n < static_cast<std::size_t>(Bytes)) erro("Error: key file holds fewer than 32 bytes:", path);
  if (n > static_cast<std::size_t>(MaxBytes)) erro("Error: key file holds more than 1048576 bytes:", path);
  crypto_generichash_state h;
  crypto_generichash_init(&h, nullptr, 0, sizeof k_);
  crypto_generichash_update(&h, reinterpret_cast<const unsigned char*>(KeyLabel), sizeof KeyLabel);
  crypto_generichash_update(&h, s.b.data(), n);
  crypto_generichash_final(&h, k_, sizeof k_);
  sodium_memzero(&h, sizeof h);
}

KEYFILE::~KEYFILE() { sodium_memzero(k_, sizeof k_); }

int KEYING::seed() const {
  if (!file) return key;
  unsigned char out[4];
  crypto_generichash(out, sizeof out, reinterpret_cast<const unsigned char*>(OrderLabel), sizeof OrderLabel,
                     file->key(), KEYFILE::Bytes);
  return static_cast<int>(std::uint32_t{out[0]} | std::uint32_t{out[1]} << 8 | std::uint32_t{out[2]} << 16 |
                          std::uint32_t{out[3]} << 24);
}

std::string KEYING::mac(const imagorix::IMGBIN& img, int T) const {
  return file ? SecureMac(img, T, *file) : ComputeMac(img, T, key);
}

std::string SecureMac(const imagorix::IMGBIN& img, int T, const KEYFILE& k) {
  if (T <= 0 || T > SecureMaxMac || T % 8) erro("Error: TamMAC outside the secure mode's range");
  crypto_generichash_state h;
  crypto_generichash_init(&h, k.key(), KEYFILE::Bytes, SecureMaxMac / 8);
  crypto_generichash_update(&h, reinterpret_cast<const unsigned char*>(MacLabel), sizeof MacLabel);
  crypto_generichash_update(&h, &MacVersion, 1);
  put32(h, static_cast<std::uint32_t>(T));
  put32(h, static_cast<std::uint32_t>(img.nl()));
  put32(h, static_cast<std::uint32_t>(img.nc()));
  // Each row as its words, first pixel in the top bit of the first byte, the
  // bits past the last column cleared: the rows and the size fix the layout.
  const int rows = img.nc() > 0 ? img.nl() : 0;
  const int words = (img.nc() + 31) / 32;
  std::vector<unsigned char> linha(4 * static_cast<std::size_t>(words > 0 ? words : 0));
  for (int l = 0; l < rows; ++l) {
    const std::uint32_t* w = img.row(l);
    for (int i = 0; i < words; ++i) {
      std::uint32_t v = w[i];
      if (i == words - 1) v &= imagorix::mascara_final(img.nc());
      linha[4 * i] = static_cast<unsigned char>(v >> 24);
      linha[4 * i + 1] = static_cast<unsigned char>(v >> 16);
      linha[4 * i + 2] = static_cast<unsigned char>(v >> 8);
      linha[4 * i + 3] = static_cast<unsigned char>(v);
    }
    crypto_generichash_update(&h, linha.data(), linha.size());
  }
  unsigned char out[SecureMaxMac / 8];
  crypto_generichash_final(&h, out, sizeof out);
  std::string mac(static_cast<std::size_t>(T), '0');
  for (int i = 0; i < T; ++i)
    if (out[i / 8] & (0x80 >> (i % 8))) mac[i] = '1';
  sodium_memzero(out, sizeof out);
  return mac;
}

bool SameMac(const std::string& a, const std::string& b) {
  return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace kova
