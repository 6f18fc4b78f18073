#include "cli/allocation_arenas.h"

namespace vorlanex::cli {

void share_one_allocation_arena() {}

}  // namespace vorlanex::cli
