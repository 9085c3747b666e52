// Timings of the image-processing routines for bench/proc: convolution of a
// large real image with a Sobel and a Laplacian-of-Gaussian mask, and
// resizing it to half and to double size.
//
//   proc_bench dados DIR               writes the image and the masks
//   proc_bench CASO DIR RUNS [SAIDA]   best wall time of RUNS runs, in
//                                      seconds; SAIDA gets the result
//
// Files are raw little-endian float32 rows, so the anchor reads the very
// same data: DIR/img.f32 (LADO x LADO), DIR/sobel.f32 (3 x 3) and
// DIR/log.f32 (13 x 13, sigma 2).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "image/img.h"
#include "proc/convolucao.h"
#include "proc/mascaras.h"
#include "proc/reamostra.h"

using namespace imagorix;

namespace {

constexpr int LADO = 4096;

void grava(const IMGFLT& a, const std::string& nome) {
  FILE* f = std::fopen(nome.c_str(), "wb");
  if (!f || std::fwrite(a.data(), sizeof(FLT), std::size_t(a.n()), f) != std::size_t(a.n()) || std::fclose(f)) {
    std::fprintf(stderr, "cannot write %s\n", nome.c_str());
    std::exit(1);
  }
}

IMGFLT le(const std::string& nome, int nl, int nc) {
  IMGFLT a(nl, nc);
  FILE* f = std::fopen(nome.c_str(), "rb");
  if (!f || std::fread(a.data(), sizeof(FLT), std::size_t(a.n()), f) != std::size_t(a.n())) {
    std::fprintf(stderr, "cannot read %s\n", nome.c_str());
    std::exit(1);
  }
  std::fclose(f);
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: proc_bench dados DIR | proc_bench sobel|log|metade|dobro DIR RUNS [SAIDA]\n");
    return 2;
  }
  const std::string caso = argv[1], dir = std::string(argv[2]) + "/";
  if (caso == "dados") {
    IMGFLT img(LADO, LADO);
    std::mt19937 g(20261211);
    std::uniform_real_distribution<float> u(0, 1);
    for (int k = 0; k < img.n(); ++k) img.data()[k] = u(g);
    grava(img, dir + "img.f32");
    grava(sobel('x'), dir + "sobel.f32");
    grava(mascaralog(2.0), dir + "log.f32");
    return 0;
  }
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  const IMGFLT img = le(dir + "img.f32", LADO, LADO);
  const IMGFLT masc = caso == "sobel" ? le(dir + "sobel.f32", 3, 3) : le(dir + "log.f32", 13, 13);
  IMGFLT r;
  double melhor = 1e30;
  for (int i = 0; i < runs; ++i) {
    r = IMGFLT();  // the peak memory is that of one result, not two
    const auto t0 = std::chrono::steady_clock::now();
    if (caso == "sobel" || caso == "log") r = convolui(img, masc, 'x');
    else if (caso == "metade") r = redimensiona(img, LADO / 2, LADO / 2);
    else if (caso == "dobro") r = redimensiona(img, 2 * LADO, 2 * LADO);
    else {
      std::fprintf(stderr, "unknown case %s\n", caso.c_str());
      return 2;
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (s < melhor) melhor = s;
  }
  if (argc > 4) grava(r, argv[4]);
  std::printf("%.3f\n", melhor);
  return 0;
}
