#include "report/local_date.h"

namespace vorlanex::report {

bool local_time(std::time_t now, std::tm& local) { return localtime_r(&now, &local) != nullptr; }

}  // namespace vorlanex::report
