// Dates as one count of seconds, and the time stamps of files.
//
// The count starts at 1 January 2000, 00:00:00 (0); every year counts 365 days and only the date's own
// year adds its leap day after February, so the counts of all four functions can be compared and
// subtracted, but the end of a leap year and the next New Year's Day share a count.
#pragma once

#include <cstdint>
#include <string>

// The local date and time now, on the seconds scale.
std::int32_t SYSSECONDS();
// A date and time on the seconds scale (no range checks on the parts; month 13 counts a whole year).
std::int32_t DATESECS(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                      std::int32_t minute, std::int32_t second);
// The last-write local time of a file on the seconds scale (0 after an error).
std::int32_t FILESECS(const std::string& name);
// One of a file's times as "dd/mm/yyyy" and "hh:mm:ss": which "C" creation, "R" last access, "W" or
// empty last write (either case). mask 16 lets the name be a folder. Both texts are empty when the
// time cannot be had.
void FILEDATE(const std::string& name, std::int32_t mask, const std::string& which, std::string& date,
              std::string& time);
