// The C library's allocation entry points, counted (allocationHooks.cpp).
#ifndef ALLOCATION_HOOKS_H
#define ALLOCATION_HOOKS_H

// Called once for every heap allocation of the process; defined by the
// program that links allocationHooks.cpp.
void countAllocation();

#endif // ALLOCATION_HOOKS_H
