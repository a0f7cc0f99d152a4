#pragma once
// A broken property aborts the fuzz target, so libFuzzer saves the input
// that broke it. Unlike assert, the check stays in optimised builds.

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void FuzzPropertyBroken(const char* property, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    std::abort();
}

#define FUZZ_CHECK(property)                                                                                      \
    ((property) ? static_cast<void>(0) : FuzzPropertyBroken(#property, __FILE__, __LINE__))
