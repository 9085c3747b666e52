// Calendar arithmetic on a date and time of day (Gregorian calendar).
#pragma once
#include <cstdio>

namespace imagorix {

struct DATAHORA {
  int year, month, day, hour, minute, second;
  bool operator==(const DATAHORA&) const = default;
};

// Days of the month; a month outside 1 ... 12 ends the program with
// "Erro: Mes inexistente". February has 29 days in leap years (divisible by
// 4 and not by 100, or by 400).
int daysinmonth(int year, int month);

// Moves d to the next day (day 1 of the next month or year past the last day
// of a month); the time of day is unchanged.
void nextday(DATAHORA& d);

// 1900 <= year <= 3000, a real day of a real month, and a time of day from
// 00:00:00 to 23:59:59.
bool validdate(int year, int month, int day, int hour, int minute, int second);

// Adds seconds (negative to go back) to d. The time fields are normalised
// with floored division, carrying into the minute, hour and day; the date
// moves by the day carry, forwards or backwards. A year that would leave the
// range of int ends the program with "Erro: Ano inexistente".
void addtime(DATAHORA& d, int seconds);

// Writes d as "yyyy-mm-dd hh:mm:ss" and a line feed.
void ImpDataHora(FILE* f, const DATAHORA& d);

}  // namespace imagorix
