#pragma once
// The date of the system's clock in local time, one file per system (local_date_posix.cpp,
// local_date_windows.cpp): the thread-safe conversion is named and called differently on each.
#include <chrono>
#include <ctime>

namespace vorlanex::report {

// `now` taken apart in the local time zone; false when the system cannot convert it (the date
// is then the one in UTC).
bool local_time(std::time_t now, std::tm& local);

}  // namespace vorlanex::report
