#include "base/strutil.h"

#include <cctype>

#include "base/erro.h"

namespace imagorix {

std::string strlower(const std::string& s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

std::string strupper(const std::string& s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::string extension(const std::string& nome) {
  if (nome.empty() || nome.size() > 255) erro(NOME_INVALIDO, nome);
  const std::size_t p = nome.find_last_of("./\\");
  if (p == std::string::npos || nome[p] != '.') return "";
  return strlower(nome.substr(p + 1));
}

}  // namespace imagorix
