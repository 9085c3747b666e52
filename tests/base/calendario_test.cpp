#include "base/calendario.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <string>

using namespace imagorix;
namespace chr = std::chrono;

namespace {

std::string texto(const DATAHORA& d) {
  char b[80];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                d.minute, d.second);
  return b;
}

// The standard library's civil calendar as an independent reference: d plus
// s seconds, for a valid d.
DATAHORA referencia(const DATAHORA& d, std::int64_t s) {
  const chr::sys_days dia{chr::year{d.year} / d.month / d.day};
  const auto t = chr::sys_seconds{dia} + chr::hours{d.hour} + chr::minutes{d.minute} +
                 chr::seconds{d.second} + chr::seconds{s};
  const auto novo = chr::floor<chr::days>(t);
  const chr::year_month_day ymd{novo};
  const chr::hh_mm_ss hms{t - novo};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
          int(hms.hours().count()), int(hms.minutes().count()), int(hms.seconds().count())};
}

}  // namespace

TEST(Calendario, DaysInMonth) {
  const struct {
    int year, month, days;
  } casos[] = {{1900, 2, 28}, {2000, 2, 29}, {2024, 2, 29}, {2023, 2, 28}, {2100, 2, 28},
               {2023, 1, 31}, {2023, 4, 30}, {2023, 9, 30}, {2023, 12, 31}, {-400, 2, 29}};
  for (const auto& c : casos) EXPECT_EQ(daysinmonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

TEST(CalendarioDeathTest, MonthOutOfRange) {
  EXPECT_EXIT(daysinmonth(2000, 0), testing::ExitedWithCode(1), "^Erro: Mes inexistente \n$");
  EXPECT_EXIT(daysinmonth(2000, 13), testing::ExitedWithCode(1), "^Erro: Mes inexistente \n$");
  DATAHORA d{2000, 13, 1, 0, 0, 0};
  EXPECT_EXIT(nextday(d), testing::ExitedWithCode(1), "^Erro: Mes inexistente \n$");
}

TEST(Calendario, NextDay) {
  const struct {
    DATAHORA de, para;
  } casos[] = {
      {{2023, 1, 30, 5, 6, 7}, {2023, 1, 31, 5, 6, 7}},
      {{2023, 1, 31, 5, 6, 7}, {2023, 2, 1, 5, 6, 7}},
      {{2023, 2, 28, 0, 0, 0}, {2023, 3, 1, 0, 0, 0}},
      {{2024, 2, 28, 0, 0, 0}, {2024, 2, 29, 0, 0, 0}},
      {{1900, 2, 28, 0, 0, 0}, {1900, 3, 1, 0, 0, 0}},
      {{2023, 12, 31, 23, 59, 59}, {2024, 1, 1, 23, 59, 59}},
  };
  for (const auto& c : casos) {
    DATAHORA d = c.de;
    nextday(d);
    EXPECT_EQ(texto(d), texto(c.para));
  }
}

TEST(Calendario, ValidDate) {
  const struct {
    int y, mo, d, h, mi, s;
    bool ok;
  } casos[] = {
      {1900, 1, 1, 0, 0, 0, true},     {3000, 12, 31, 23, 59, 59, true},
      {2000, 2, 29, 12, 0, 0, true},   {1899, 12, 31, 0, 0, 0, false},
      {3001, 1, 1, 0, 0, 0, false},    {1900, 2, 29, 0, 0, 0, false},
      {2000, 0, 1, 0, 0, 0, false},    {2000, 13, 1, 0, 0, 0, false},
      {2000, 4, 31, 0, 0, 0, false},   {2000, 4, 0, 0, 0, 0, false},
      {2000, 1, 1, 24, 0, 0, false},   {2000, 1, 1, 0, 60, 0, false},
      {2000, 1, 1, 0, 0, 60, false},   {2000, 1, 1, -1, 0, 0, false},
      {2000, 1, 1, 0, -1, 0, false},   {2000, 1, 1, 0, 0, -1, false},
  };
  for (const auto& c : casos)
    EXPECT_EQ(validdate(c.y, c.mo, c.d, c.h, c.mi, c.s), c.ok)
        << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
}

TEST(Calendario, AddTimeMatchesTheCivilCalendar) {
  const DATAHORA datas[] = {{2000, 1, 1, 0, 0, 0}, {2023, 12, 31, 23, 59, 59},
                            {2024, 2, 28, 12, 30, 0}, {1900, 3, 1, 0, 0, 1}};
  const int somas[] = {0,      1,        -1,      59,       60,     3599,   -3601,
                       86399,  86400,    -86400,  90061,    31536000, -31536000,
                       INT_MAX, INT_MIN, 1000000007};
  for (const DATAHORA& d0 : datas)
    for (int s : somas) {
      DATAHORA d = d0;
      addtime(d, s);
      EXPECT_EQ(texto(d), texto(referencia(d0, s))) << texto(d0) << " + " << s;
    }
  DATAHORA d{2000, 1, 1, 0, 0, 0};
  addtime(d, INT_MAX);
  EXPECT_EQ(texto(d), "2068-01-19 03:14:07");
  d = {2000, 1, 1, 0, 0, 0};
  addtime(d, INT_MIN);
  EXPECT_EQ(texto(d), "1931-12-13 20:45:52");
}

TEST(Calendario, AddTimeNormalisesFieldsOutOfRange) {
  const DATAHORA casos[] = {
      {2000, 3, 1, 1000, INT_MAX, INT_MAX},
      {2000, 3, 1, -1000, INT_MIN, -90},
      {2023, 1, 31, 0, 0, 86400 * 29},
  };
  for (const DATAHORA& c : casos) {
    DATAHORA d = c;
    addtime(d, 0);
    const std::int64_t s = std::int64_t{c.hour} * 3600 + std::int64_t{c.minute} * 60 + c.second;
    EXPECT_EQ(texto(d), texto(referencia({c.year, c.month, c.day, 0, 0, 0}, s)));
  }
  // Beyond the reference's years: the calendar repeats every 146097 days.
  constexpr int CICLO = 146097 * 24;  // hours in 400 years
  DATAHORA d{2000, 3, 1, CICLO * 600 + 5, 0, 0};
  addtime(d, 0);
  EXPECT_EQ(texto(d), "242000-03-01 05:00:00");
  d = {2000, 3, 1, -CICLO * 600 - 1, 0, 0};
  addtime(d, 0);
  EXPECT_EQ(texto(d), "-238000-02-29 23:00:00");
}

TEST(CalendarioDeathTest, YearOutOfRange) {
  DATAHORA d{INT_MAX, 12, 31, 0, 0, 0};
  EXPECT_EXIT(nextday(d), testing::ExitedWithCode(1), "^Erro: Ano inexistente \n$");
  d = {INT_MIN, 1, 1, 0, 0, 0};
  EXPECT_EXIT(addtime(d, -1), testing::ExitedWithCode(1), "^Erro: Ano inexistente \n$");
}

TEST(Calendario, PrintFormat) {
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  ImpDataHora(f, {999, 1, 2, 3, 4, 5});
  ImpDataHora(f, {2024, 12, 31, 23, 59, 59});
  std::rewind(f);
  char b[100] = {};
  const std::size_t n = std::fread(b, 1, sizeof b - 1, f);
  std::fclose(f);
  EXPECT_EQ(std::string(b, n), "0999-01-02 03:04:05\n2024-12-31 23:59:59\n");
}
