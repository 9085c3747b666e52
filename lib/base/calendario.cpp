#include "base/calendario.h"

#include <climits>
#include <cstdint>

#include "base/erro.h"

namespace imagorix {

namespace {

constexpr int DIAS_400_ANOS = 146097;  // the Gregorian calendar repeats

bool bissexto(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

void muda_ano(DATAHORA& d, std::int64_t anos) {
  const std::int64_t y = d.year + anos;
  if (y > INT_MAX || y < INT_MIN) erro("Erro: Ano inexistente");
  d.year = static_cast<int>(y);
}

void prevday(DATAHORA& d) {
  if (--d.day >= 1) return;
  if (--d.month < 1) {
    muda_ano(d, -1);
    d.month = 12;
  }
  d.day = daysinmonth(d.year, d.month);
}

// Floored division of v by b, leaving the non-negative remainder in v.
std::int64_t carry(std::int64_t& v, int b) {
  std::int64_t q = v / b, r = v % b;
  if (r < 0) {
    r += b;
    --q;
  }
  v = r;
  return q;
}

bool dia_valido(const DATAHORA& d) {
  return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= daysinmonth(d.year, d.month);
}

}  // namespace

int daysinmonth(int year, int month) {
  static constexpr int dias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) erro("Erro: Mes inexistente");
  if (month == 2 && bissexto(year)) return 29;
  return dias[month - 1];
}

void nextday(DATAHORA& d) {
  if (++d.day <= daysinmonth(d.year, d.month)) return;
  d.day = 1;
  if (++d.month > 12) {
    muda_ano(d, 1);
    d.month = 1;
  }
}

bool validdate(int year, int month, int day, int hour, int minute, int second) {
  return year >= 1900 && year <= 3000 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysinmonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59 && second >= 0 && second <= 59;
}

void addtime(DATAHORA& d, int seconds) {
  // 64 bits: the sum of two ints, and the carries of fields already out of
  // range, do not fit an int.
  std::int64_t s = std::int64_t{d.second} + seconds;
  std::int64_t m = d.minute + carry(s, 60);
  std::int64_t h = d.hour + carry(m, 60);
  std::int64_t dias = carry(h, 24);
  d.second = static_cast<int>(s);
  d.minute = static_cast<int>(m);
  d.hour = static_cast<int>(h);

  // Whole 400-year cycles at once (a date maps to the same date 400 years
  // on); the rest one day at a time.
  if (dias >= DIAS_400_ANOS || dias <= -DIAS_400_ANOS) {
    // Bring a malformed day into its month first, the cycle needs a real date.
    for (; dias > 0 && !dia_valido(d); --dias) nextday(d);
    for (; dias < 0 && !dia_valido(d); ++dias) prevday(d);
    if (dia_valido(d)) {
      muda_ano(d, 400 * (dias / DIAS_400_ANOS));
      dias %= DIAS_400_ANOS;
    }
  }
  for (; dias > 0; --dias) nextday(d);
  for (; dias < 0; ++dias) prevday(d);
}

void ImpDataHora(FILE* f, const DATAHORA& d) {
  std::fprintf(f, "%04d-%02d-%02d %02d:%02d:%02d\n", d.year, d.month, d.day, d.hour, d.minute,
               d.second);
}

}  // namespace imagorix
