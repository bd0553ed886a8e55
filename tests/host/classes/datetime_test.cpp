#include "host/classes/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/classes/sysutils.h"

using namespace host;

TEST(DateTime, EncodeDecodeTable) {
  struct Case {
    int y, m, d;
    double serial;
    int weekday;  // 1 = Sunday
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7},      {1899, 12, 31, 1, 1},      {1900, 1, 1, 2, 2},
      {1900, 2, 28, 60, 4},      {1900, 3, 1, 61, 5},       {1899, 12, 29, -1, 6},
      {2000, 2, 29, 36585, 3},   {2000, 3, 1, 36586, 4},    {1970, 1, 1, 25569, 5},
      {2024, 12, 31, 45657, 3},  {1, 1, 1, -693593, 2},     {9999, 12, 31, 2958465, 6},
      {1600, 2, 29, -109512, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    DecodeDate(ComposeDateTime(c.serial, 0.75), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
    EXPECT_EQ(DayOfWeek(c.serial), c.weekday) << c.serial;
  }
}

TEST(DateTime, InvalidDatesAndTimesAreRefused) {
  const int bad[][3] = {{1900, 2, 29}, {2023, 2, 29}, {2100, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                        {2024, 0, 1},  {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const auto& b : bad) EXPECT_THROW(EncodeDate(b[0], b[1], b[2]), EConvertError) << b[0];
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
  int y, m, d;
  EXPECT_THROW(DecodeDate(NAN, y, m, d), EConvertError);
}

TEST(DateTime, LeapYears) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
}

TEST(DateTime, TimesDecodeToTheNearestMillisecond) {
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  int h, n, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
  // Just short of midnight rounds into the next day.
  int y, m, d;
  DecodeTime(1.9999999999, h, n, s, ms);
  DecodeDate(1.9999999999, y, m, d);
  EXPECT_EQ(h + n + s + ms, 0);
  EXPECT_EQ(d, 1);  // 1900-01-01
  // Before 1899-12-30 the fraction still counts forward from midnight.
  DecodeTime(-1.25, h, n, s, ms);
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(d, 29);
  EXPECT_DOUBLE_EQ(ComposeDateTime(-1, 0.25), -1.25);
}

TEST(DateTime, FormatTable) {
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);  // a Tuesday
  const TDateTime morning = EncodeDate(2009, 11, 22) + EncodeTime(0, 30, 0, 0);
  const std::tuple<const char*, TDateTime, const char*> cases[] = {
      {"d/m/yy", t, "5/3/24"},
      {"dd.mm.yyyy", t, "05.03.2024"},
      {"ddd dddd", t, "Tue Tuesday"},
      {"mmm mmmm", t, "Mar March"},
      {"hh:mm:ss.zzz", t, "14:07:09.045"},
      {"h:n:s z", t, "14:7:9 45"},
      {"h:nn am/pm", t, "2:07 pm"},
      {"h:nn AM/PM", morning, "12:30 AM"},
      {"hh a/p", t, "02 p"},
      {"h ampm", morning, "12 AM"},
      {"ddddd", t, "3/5/2024"},
      {"dddddd", t, "Tuesday, March 5, 2024"},
      {"t", t, "2:07 PM"},
      {"tt", t, "2:07:09 PM"},
      {"c", t, "3/5/2024 2:07:09 PM"},
      {"c", EncodeDate(2024, 3, 5), "3/5/2024"},
      {"\"day\" d 'of' mmmm", t, "day 5 of March"},
      {"yyyy-mm-dd\"T\"hh:nn", t, "2024-03-05T14:07"},
      {"m", t, "3"},
      {"h m", t, "14 7"},
      {"yyyy", EncodeDate(33, 1, 1), "0033"},
      {"dddd", 0, "Saturday"},
  };
  for (const auto& [format, value, expected] : cases)
    EXPECT_EQ(FormatDateTime(format, value), expected) << format;
  EXPECT_EQ(DateToStr(t), "3/5/2024");
  EXPECT_EQ(TimeToStr(t), "2:07:09 PM");
  EXPECT_EQ(DateTimeToStr(t), "3/5/2024 2:07:09 PM");
}

TEST(DateTime, ParsingRoundTripsAndRefusesGarbage) {
  EXPECT_EQ(StrToDate(" 3/5/2024 "), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("2/29/2000"), EncodeDate(2000, 2, 29));
  int y, m, d;
  DecodeDate(StrToDate("1/2/05"), y, m, d);
  EXPECT_EQ(y % 100, 5);
  DecodeDate(Date(), y, m, d);
  int y2, m2, d2;
  DecodeDate(StrToDate("7/4"), y2, m2, d2);
  EXPECT_EQ(y2, y);
  EXPECT_DOUBLE_EQ(StrToTime("14:07"), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("2:07:09 PM"), EncodeTime(14, 7, 9, 0));
  EXPECT_DOUBLE_EQ(StrToTime("12:00 am"), 0);
  EXPECT_DOUBLE_EQ(StrToTime("1:02:03.456"), EncodeTime(1, 2, 3, 456));
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(t)), t);
  for (const char* bad : {"", "2/30/2024", "13/1/2024", "1/1/2024/1", "a/b/c", "1-2-2024"}) {
    try {
      StrToDate(bad);
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid date");
    }
  }
  for (const char* bad : {"24:00", "13:00 PM", "0:00 AM", "1:60", "noon", "1:00 XM", "1:"})
    EXPECT_THROW(StrToTime(bad), EConvertError) << bad;
}

TEST(DateTime, NowIsToday) {
  const TDateTime now = Now();
  const TDateTime today = Date();
  EXPECT_GE(now, today);
  EXPECT_LT(now - today, 1.0 + 1e-6);  // a midnight may pass between the calls
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
  EXPECT_GT(today, EncodeDate(2020, 1, 1));
}

TEST(DateTime, SerialsMatchADayByDayWalk) {
  // The slow reference: count days forward from 1899-12-30 and backward from it.
  auto check = [](int y, int m, int d, int64_t serial) {
    ASSERT_EQ(EncodeDate(y, m, d), static_cast<double>(serial)) << y << "-" << m << "-" << d;
    int yy, mm, dd;
    DecodeDate(static_cast<double>(serial), yy, mm, dd);
    ASSERT_EQ(yy * 10000 + mm * 100 + dd, y * 10000 + m * 100 + d) << serial;
  };
  int y = 1899, m = 12, d = 30;
  for (int64_t serial = 0; serial <= 150000; ++serial) {
    check(y, m, d, serial);
    if (++d > DaysInMonth(y, m)) {
      d = 1;
      if (++m > 12) m = 1, ++y;
    }
  }
  y = 1899, m = 12, d = 30;
  for (int64_t serial = 0; serial >= -150000; --serial) {
    check(y, m, d, serial);
    if (--d < 1) {
      if (--m < 1) m = 12, --y;
      d = DaysInMonth(y, m);
    }
  }
}
