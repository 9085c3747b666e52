#include "image/imgyuv.h"

#include <climits>

#include "base/erro.h"

namespace imagorix {

IMGYUV::IMGYUV(int nl, int nc) {
  if (nl % 2 != 0 || nc % 2 != 0) erro("Erro: IMGYUV deve ter NL e NC pares", "");
  const long long linhas = 3LL * nl / 2;
  // A row count past int cannot be allocated; say so as the grey image would.
  if (linhas > INT_MAX || linhas < INT_MIN) erro("Erro IMGGRY::aloca - Falta memoria", "");
  img.resize(static_cast<int>(linhas), nc);
  inicializa();
}

void IMGYUV::inicializa() {
  if (img.data() == nullptr)
    erro("Erro: IMGYUV.img deve ser inicializado antes de chamar inicializa()", "");
  if (img.nl() % 3 != 0 || img.nc() % 2 != 0)
    erro("Erro: IMGYUV deve ter NL divisivel por 3 e NC par", "");
  ou = static_cast<int>(2LL * img.n() / 3);
  ov = ou + ou / 4;
  ncuv = img.nc() / 2;
  nly = static_cast<int>(2LL * img.nl() / 3);
  ncy = img.nc();
}

}  // namespace imagorix
