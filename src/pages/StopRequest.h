#pragma once
// How a reader learns that the run was asked to stop: it asks after every
// line and before every step of a look-ahead.

#include <functional>

namespace kenmori {

// True once a stop of the run has been asked for.
using StopRequested = std::function<bool()>;

} // namespace kenmori
