// Centred B-spline basis functions, and the cubic one with its first and
// second derivatives.
#pragma once

namespace imagorix {

// The centred B-spline of degree grau (1, 2 or 3; another degree ends the
// program) at x.
double bs(double x, int grau);

// The cubic B-spline beta3(x) = bs(x, 3), and its first and second
// derivatives.
double beta3(double x);
double dbeta3(double x);
double d2beta3(double x);

}  // namespace imagorix
