// Element types shared by the whole library.
#pragma once
#include <complex>
#include <cstdint>

namespace imagorix {

using BYTE = std::uint8_t;   // grey level, 0 black ... 255 white
using SHT = std::int16_t;    // 16-bit grey level of IMGSHT
using FLT = float;           // real pixel of IMGFLT, 0.0 black ... 1.0 white
using CPXF = std::complex<float>;   // pixel of IMGCPX: real part, then imaginary part
using CPXD = std::complex<double>;  // complex double of the numerical routines

}  // namespace imagorix
