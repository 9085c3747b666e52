// The engine's passes built again for two complex numbers a vector. On
// x86-64 this file alone is compiled for AVX2 and FMA, and the engine calls
// it only on processors that have both (tem_largo). It includes nothing but
// the passes, whose functions are all its own, so no code built for those
// instructions can be shared with the rest of the library.
#define IMAGORIX_FFT_C4
#include "proc/fftpassos.h"

namespace imagorix::detail {

bool roda_largo(const Passo* ps, int np, const double* t, double* x, double* y, bool neg) {
  return neg ? roda<C4, true>(ps, np, t, x, y) : roda<C4, false>(ps, np, t, x, y);
}

}  // namespace imagorix::detail
