// A global operator new for fault tests: it fails (throws std::bad_alloc, or
// returns null for the nothrow forms) on the Nth allocation after being
// armed, and counts allocations still held. Link failing_allocator.cpp into
// a test binary of its own: it replaces the allocator of the whole program.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestra::test {

// Arms the allocator: the nth allocation from now (1 is the next one) fails,
// on any thread; the others succeed. 0 disarms it.
void fail_allocation(std::size_t nth);

// Whether the armed failure has happened.
bool allocation_failed();

// Allocations made minus allocations released since the program started.
std::int64_t held_allocations();

}  // namespace kestra::test
