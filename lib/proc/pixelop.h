// Pixelwise arithmetic on images: two-image operators, one-image and scalar
// operations, comparisons and summaries.
//
// Every operation returns a new image and leaves its operands alone; those
// that take an image by value change that copy and return it, so it keeps its
// background and centre. The others build the result as a fresh image of the
// operand's size (default centre) whose background is the same operation
// applied to the operands' backgrounds.
//
// Two-image operators need operands of the same nl and nc (the same pixel
// count is not enough) and end the program otherwise, with a message naming
// the class and the operator. Nothing else is checked: a division by zero
// gives what the element type's arithmetic gives, and grey sums saturate.
//
// Real arithmetic on IMGFLT is exact before rounding to float: float
// operands give the float result directly, and a double scalar that is not a
// float is combined in extended precision, then rounded.
#pragma once
#include "base/types.h"
#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

// --- Two images of the same size --------------------------------------------

IMGFLT operator+(const IMGFLT& a, const IMGFLT& b);
IMGFLT operator-(const IMGFLT& a, const IMGFLT& b);
IMGFLT operator*(const IMGFLT& a, const IMGFLT& b);
IMGFLT operator/(const IMGFLT& a, const IMGFLT& b);
IMGFLT operator&&(const IMGFLT& a, const IMGFLT& b);  // smaller of each pair
IMGFLT operator||(const IMGFLT& a, const IMGFLT& b);  // larger of each pair

IMGDBL operator+(const IMGDBL& a, const IMGDBL& b);
IMGDBL operator-(const IMGDBL& a, const IMGDBL& b);
IMGDBL operator*(const IMGDBL& a, const IMGDBL& b);
IMGDBL operator/(const IMGDBL& a, const IMGDBL& b);

// Complex product and quotient of single-precision complex numbers, with the
// usual recovery of infinite results.
IMGCPX operator+(const IMGCPX& a, const IMGCPX& b);
IMGCPX operator-(const IMGCPX& a, const IMGCPX& b);
IMGCPX operator*(const IMGCPX& a, const IMGCPX& b);
IMGCPX operator/(const IMGCPX& a, const IMGCPX& b);

// Grey images have no operator+ or operator-: their sum and difference
// saturate at 255 and 0.
IMGGRY add(const IMGGRY& a, const IMGGRY& b);
IMGGRY sub(const IMGGRY& a, const IMGGRY& b);
IMGGRY operator&&(const IMGGRY& a, const IMGGRY& b);
IMGGRY operator||(const IMGGRY& a, const IMGGRY& b);

// Per channel smaller and larger value.
IMGCOR operator&&(const IMGCOR& a, const IMGCOR& b);
IMGCOR operator||(const IMGCOR& a, const IMGCOR& b);

// XOR, AND and OR of the bits.
IMGBIN operator^(const IMGBIN& a, const IMGBIN& b);
IMGBIN operator&&(const IMGBIN& a, const IMGBIN& b);
IMGBIN operator||(const IMGBIN& a, const IMGBIN& b);

// --- One image, with or without a scalar -------------------------------------

// x + v, x * v and -v; the background likewise.
IMGFLT operator+(double x, const IMGFLT& a);
IMGFLT operator+(const IMGFLT& a, double x);
IMGFLT operator*(double x, const IMGFLT& a);
IMGFLT operator*(const IMGFLT& a, double x);
IMGFLT operator-(const IMGFLT& a);
IMGDBL operator+(double x, const IMGDBL& a);
IMGDBL operator+(const IMGDBL& a, double x);
IMGDBL operator*(double x, const IMGDBL& a);
IMGDBL operator*(const IMGDBL& a, double x);
IMGDBL operator-(const IMGDBL& a);

// 1 - v for real images, 255 - v for grey ones; the background likewise.
IMGFLT complemento(const IMGFLT& a);
IMGDBL complemento(const IMGDBL& a);
IMGGRY complemento(const IMGGRY& a);

// v * v; the background squared.
IMGFLT quadrado(const IMGFLT& a);

// On the copy, background unchanged: |v|; 0 where v < 0; v minus the mean of
// all pixels (summed in extended precision).
IMGFLT abs(IMGFLT a);
IMGDBL abs(IMGDBL a);
IMGFLT semnegativos(IMGFLT a);
IMGFLT tiramedia(IMGFLT a);

// (v - min) / (max - min) over all pixels, in a fresh image (background 0,
// default centre). When max - min < 1e-20 the image comes back unchanged.
IMGFLT normaliza01(const IMGFLT& a);

// Complex images, on the copy: x added to the real part; both parts times x;
// the complex product v * c. The background likewise.
IMGCPX operator+(FLT x, IMGCPX a);
IMGCPX operator+(IMGCPX a, FLT x);
IMGCPX operator*(FLT x, IMGCPX a);
IMGCPX operator*(IMGCPX a, FLT x);
IMGCPX operator*(CPXF c, IMGCPX a);
IMGCPX operator*(IMGCPX a, CPXF c);

// x + v saturated to 0 ... 255; the background likewise.
IMGGRY operator+(int x, const IMGGRY& a);
IMGGRY operator+(const IMGGRY& a, int x);

// --- Comparisons and summaries (any sizes; no new image) ---------------------

// Same nl, same nc and every pixel equal (a NaN equals nothing).
bool operator==(const IMGGRY& a, const IMGGRY& b);
bool operator!=(const IMGGRY& a, const IMGGRY& b);
bool operator==(const IMGFLT& a, const IMGFLT& b);
bool operator!=(const IMGFLT& a, const IMGFLT& b);
// Same sizes and every pixel of a smaller than b's.
bool operator<(const IMGGRY& a, const IMGGRY& b);

// Largest pixel, -32768 for an empty image.
int maximo(const IMGSHT& a);
// Sum of the pixels in extended precision over n (NaN for an empty image).
double media(const IMGFLT& a);
double media(const IMGDBL& a);
// Smallest pixel, 1e30 for an empty image; largest pixel, -1e30.
double minimo(const IMGFLT& a);
double maximo(const IMGFLT& a);

}  // namespace imagorix
