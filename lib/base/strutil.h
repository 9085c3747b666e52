// Small text helpers: case conversion and file-name extensions.
#pragma once
#include <string>

namespace imagorix {

// Refusal of a file name that is empty or over 255 characters.
inline constexpr const char* NOME_INVALIDO = "Erro: nome arquivo invalido";

// Copies with every character passed through tolower / toupper. Bytes above
// 127 are taken as unsigned and come out unchanged.
std::string strlower(const std::string& s);
std::string strupper(const std::string& s);

// The lower-cased text after the last '.' of the file part of nome: empty
// when there is no dot or the dot is last. A dot in a directory name (before
// the last '/' or '\') is not an extension, so "../photos/img" has none.
// A name of 0 or more than 255 characters ends the program with
// "Erro: nome arquivo invalido" and the name.
std::string extension(const std::string& nome);

}  // namespace imagorix
