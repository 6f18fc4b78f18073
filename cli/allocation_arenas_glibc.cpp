#include <malloc.h>

#include "cli/allocation_arenas.h"

namespace vorlanex::cli {

void share_one_allocation_arena() { mallopt(M_ARENA_MAX, 1); }

}  // namespace vorlanex::cli
