// Times one transform case, ours and the FFTW anchor in alternating rounds
// of the same process (so that both see the same machine), and prints
// "ours-best-seconds fftw-best-seconds ours-first-call-seconds"; the first
// call builds our root table and plan, FFTW's plan is made before timing.
// With a side named, makes that side's call once and prints the process's
// peak memory in KiB instead.
//
//   fourier_bench CASE [ours|fftw]
//   CASE: 1d:N (complex double, negative exponent, unscaled), 2d:N (N x N
//   IMGCPX against FFTW's double 2-D plan), walsh:N (N x N IMGFLT; no
//   anchor, its time printed as 0)
//
// Ours overwrites its input, so before every call both sides get a fresh
// copy of it; the copy is timed on its own and taken out.
#include <fftw3.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "proc/fourier.h"
#include "proc/walsh.h"

using namespace imagorix;

namespace {

double agora() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The mean time of a batch of calls, long enough to measure.
double media(const std::function<void()>& f, int lote) {
  const double t0 = agora();
  for (int k = 0; k < lote; ++k) f();
  return (agora() - t0) / lote;
}

long pico_kib() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

// A case: its setup done, calls for each side.
struct Caso {
  std::function<void()> nosso, deles, copia;
};

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: fourier_bench 1d:N|2d:N|walsh:N [ours|fftw]\n");
    return 2;
  }
  const std::string caso = argv[1], lado = argc == 3 ? argv[2] : "";
  const auto dois = caso.find(':');
  const std::string tipo = caso.substr(0, dois);
  const int n = std::atoi(caso.c_str() + dois + 1);
  const bool nosso = lado != "fftw", deles = lado != "ours";
  std::mt19937 g(1);
  std::uniform_real_distribution<double> u(-1, 1);

  std::vector<CPXD> src, x, y;
  IMGCPX ic;
  IMGFLT iw;
  fftw_plan plano = nullptr;
  Caso c;
  int lote = 1, rodadas = 7;
  if (tipo == "1d") {
    src.resize(n);
    x.resize(n);
    y.resize(n);
    for (auto& z : src) z = CPXD(u(g), u(g));
    const std::size_t bytes = sizeof(CPXD) * std::size_t(n);
    lote = std::max(1, (1 << 18) / n);
    rodadas = n >= (1 << 19) ? 9 : 41;
    c.copia = [&, bytes] { std::memcpy(static_cast<void*>(x.data()), src.data(), bytes); };
    c.nosso = [&, bytes] {
      std::memcpy(static_cast<void*>(x.data()), src.data(), bytes);
      fft_menos(x.data(), y.data(), n);
    };
    if (deles)
      plano = fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex*>(x.data()),
                               reinterpret_cast<fftw_complex*>(y.data()), FFTW_FORWARD, FFTW_ESTIMATE);
    c.deles = [&, bytes] {
      std::memcpy(static_cast<void*>(x.data()), src.data(), bytes);
      fftw_execute(plano);
    };
  } else if (tipo == "2d") {
    const std::size_t nn = std::size_t(n) * n;
    if (nosso) {
      ic = IMGCPX(n, n);
      for (std::size_t k = 0; k < nn; ++k) ic.data()[k] = CPXF(float(u(g)), float(u(g)));
    }
    if (deles) {
      x.resize(nn);
      y.resize(nn);
      for (auto& z : x) z = CPXD(u(g), u(g));
      plano = fftw_plan_dft_2d(n, n, reinterpret_cast<fftw_complex*>(x.data()),
                               reinterpret_cast<fftw_complex*>(y.data()), FFTW_FORWARD, FFTW_ESTIMATE);
    }
    c.nosso = [&] { IMGCPX r = fft_menos_raiz(ic); };
    c.deles = [&] { fftw_execute(plano); };
  } else if (tipo == "walsh") {
    iw = IMGFLT(n, n);
    for (int k = 0; k < iw.n(); ++k) iw.data()[k] = float(u(g));
    c.nosso = [&] { IMGFLT r = walsh(iw); };
  } else {
    std::fprintf(stderr, "fourier_bench: unknown case %s\n", argv[1]);
    return 2;
  }

  if (!lado.empty()) {
    (nosso ? c.nosso : c.deles)();
    std::printf("%ld\n", pico_kib());
    return 0;
  }
  const double t0 = agora();
  c.nosso();
  const double primeira = agora() - t0;
  double best_nosso = 1e30, best_deles = c.deles ? 1e30 : 0, best_copia = c.copia ? 1e30 : 0;
  for (int r = 0; r < rodadas; ++r) {
    best_nosso = std::min(best_nosso, media(c.nosso, lote));
    if (c.deles) best_deles = std::min(best_deles, media(c.deles, lote));
    if (c.copia) best_copia = std::min(best_copia, media(c.copia, lote));
  }
  if (plano) fftw_destroy_plan(plano);
  std::printf("%.9f %.9f %.9f\n", best_nosso - best_copia, best_deles ? best_deles - best_copia : 0.0, primeira);
  return 0;
}
