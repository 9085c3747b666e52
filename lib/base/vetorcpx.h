// Vectors of complex doubles: element-wise product, polar and cartesian
// forms, real and imaginary parts, modulus, phase and conjugate.
#pragma once
#include "base/types.h"
#include "base/vetor.h"

namespace imagorix {

// Element-wise product; the sizes must be equal.
VETOR<CPXD> operator*(const VETOR<CPXD>& a, const VETOR<CPXD>& b);

// Every (re, im) becomes (modulus, atan2(im, re)) in v itself; the changed
// vector is also returned.
VETOR<CPXD> parapolar(VETOR<CPXD>& v);
// Every (modulus, angle) becomes (modulus cos angle, modulus sin angle) in v
// itself; the changed vector is also returned.
VETOR<CPXD> depolar(VETOR<CPXD>& v);

VETOR<double> parte_real(const VETOR<CPXD>& v);
VETOR<double> parte_imag(const VETOR<CPXD>& v);
// |z| scaled by the larger component first, so that neither squaring
// overflows nor underflows: 0 for 0 + 0i.
VETOR<double> modulo(const VETOR<CPXD>& v);
// atan2(im, re) of every element.
VETOR<double> fase(const VETOR<CPXD>& v);
VETOR<CPXD> conjugado(const VETOR<CPXD>& v);

// The modulus of one value, computed as modulo does.
double modulo(const CPXD& z);

}  // namespace imagorix
