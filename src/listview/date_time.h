// Turns a date-time text such as "2026-12-11 14:30" or "2026年12月11日" into a
// number that orders date-times, for sorting by a date-time column.
#pragma once

#include "text/text.h"

// Days since 30 December 1899 with the time of day as the fraction, in the
// automation date form: for days before that date the fraction is counted
// away from zero (-1.25 is 29 December 1899, 06:00). The text holds year (up
// to 4 digits), month, day, hour, minute and second (up to 2 digits each);
// after the year, month, hour and minute "-", ".", "/", ":" or the unit
// character may follow, after the day also a blank or "日", and the text may
// end with "秒". Missing time parts count as 0. A text that gives no valid
// date and time, the empty text included, gives 1 January 100, 00:00:00.
double text_to_date_time(const Text& text);

// The key the sort compares: the date-time clamped to 1 January 100 ..
// 31 December 9999, with the fraction of days before 30 December 1899 turned
// to count forward, so that later date-times always give larger keys.
double date_time_sort_key(const Text& text);
