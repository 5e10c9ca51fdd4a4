// Date and time cells as the texts people read: ISO dates ("2008-07-25"),
// times ("14:40:00") or both, from the OLE date the workbook backends give.
#include <cmath>
#include <cstdio>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

constexpr long long kOleEpochToUnix = 25569;  // days from 1899-12-30 to 1970-01-01
constexpr long long kSecondsPerDay = 86400;

// Year, month and day of a count of days from 1970-01-01 (proleptic
// Gregorian calendar), after H. Hinnant's days_from_civil inverse.
struct CivilDate {
  long long year;
  unsigned month;
  unsigned day;
};

CivilDate civil_date(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const auto day_of_era = static_cast<unsigned>(days - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;
  const unsigned day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const unsigned month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  return {static_cast<long long>(year_of_era) + era * 400 + (month <= 2), month, day};
}

}  // namespace

std::string date_text(double ole_date, import::DateKind kind) {
  // Serials below 61 of the 1900 system count a 29 February 1900 that never
  // was; the day shown there is one later than the OLE date's.
  const double serial = ole_date > 0 && ole_date < 60 ? ole_date + 1 : ole_date;
  const double seconds = std::round(serial * kSecondsPerDay);
  if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15) return {};
  const auto total = static_cast<long long>(seconds);
  const long long days = total >= 0 ? total / kSecondsPerDay : -((-total + kSecondsPerDay - 1) / kSecondsPerDay);
  const long long of_day = total - days * kSecondsPerDay;
  const CivilDate date = civil_date(days - kOleEpochToUnix);
  char text[64];
  const int hours = static_cast<int>(of_day / 3600);
  const int minutes = static_cast<int>(of_day / 60 % 60);
  const int secs = static_cast<int>(of_day % 60);
  switch (kind) {
    case import::DateKind::time:
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, secs);
      break;
    case import::DateKind::date_time:
      std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02d:%02d:%02d", date.year, date.month,
                    date.day, hours, minutes, secs);
      break;
    default:
      std::snprintf(text, sizeof text, "%04lld-%02u-%02u", date.year, date.month, date.day);
      break;
  }
  return text;
}

}  // namespace kestra::table
