// The engine under the Fourier transforms: plans of passes for one length,
// kept in a small cache, and the roots of unity they are built from.
#pragma once
#include <cstddef>

namespace imagorix::detail {

// out[2k], out[2k + 1] := cos, sin of 2 pi k / n for k = 0 ... n - 1, the
// angle formed in extended precision from the double 2 pi.
void raizes(int n, double* out);

// The unscaled transform of length n >= 1 with the positive exponent (or the
// negative one when negativo), from x to y, each n interleaved complex
// doubles; x is overwritten. roots, when not null, is a table of nr roots
// (as raizes gives them) with nr a multiple of n, from which a plan for n not
// yet cached takes its twiddles; otherwise the plan computes its own.
void transforma(double* x, double* y, int n, bool negativo, const double* roots, int nr);

// The passes run on vectors of two complex numbers where the processor has
// them (AVX2 and FMA on x86-64), else on one. false forces one, so that the
// tests check both builds on the same machine; true restores the default.
void usa_vetores_largos(bool sim);

}  // namespace imagorix::detail
