#pragma once

namespace vorlanex::cli {

// Makes the threads of a parallel batch share one allocation arena (glibc gives threads arenas of
// their own, each keeping the large blocks it freed for its next ones: with many threads those
// kept blocks would outgrow the bytes in flight many times). Nothing to do where the allocator
// keeps no such arenas (Windows).
void share_one_allocation_arena();

}  // namespace vorlanex::cli
