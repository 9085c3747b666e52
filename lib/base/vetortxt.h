// Text files of vectors, point vectors and matrices.
//
//   VETOR<int>      "n\n\n" then one "%d\n" per element
//   VETOR<double>   "n\n\n" then one "%lg\n" per element
//   VETOR<PONTO2>   "n 2\n\n" then one "%lg %lg\n" per point
//   VETOR<PONTOI2>  "n 2\n\n" then one "%d %d\n" per point
//   MATRIZ<int>     "nl nc\n\n" then each row as "%d " per element and "\n"
//   MATRIZ<double>  "nl nc\n" (no empty line) then each row as "%lg " per
//                   element and "\n"
//
// Readers take every number through LeNum, so the separators, comments and
// keywords of the library's text numbers are accepted. A vector keeps its
// storage (and centre) when the count is the one it already has; a matrix
// is always allocated anew. A negative size is refused before anything is
// allocated, and so is a size the file is too short to hold; a stream that
// cannot tell its length (a pipe) gets storage as its numbers arrive.
// Writers refuse a vector or matrix of negative size before creating the
// file.
#pragma once
#include <string>

#include "base/arquivo.h"
#include "base/matriz.h"
#include "base/ponto.h"
#include "base/vetor.h"

namespace imagorix {

void imp(const VETOR<int>& v, const std::string& nome);
void imp(const VETOR<double>& v, const std::string& nome);
void imp(const VETOR<PONTO2>& v, const std::string& nome);
void imp(const VETOR<PONTOI2>& v, const std::string& nome);
void imp(const MATRIZ<int>& m, const std::string& nome);
void imp(const MATRIZ<double>& m, const std::string& nome);

void le(VETOR<int>& v, const std::string& nome);
void le(VETOR<double>& v, const std::string& nome);
void le(VETOR<PONTO2>& v, const std::string& nome);
void le(VETOR<PONTOI2>& v, const std::string& nome);
void le(MATRIZ<int>& m, const std::string& nome);
void le(MATRIZ<double>& m, const std::string& nome);

// The same readers on a stream already open ("rt").
void le(VETOR<int>& v, ARQLE& f);
void le(VETOR<double>& v, ARQLE& f);
void le(VETOR<PONTO2>& v, ARQLE& f);
void le(VETOR<PONTOI2>& v, ARQLE& f);
void le(MATRIZ<int>& m, ARQLE& f);
void le(MATRIZ<double>& m, ARQLE& f);

}  // namespace imagorix
