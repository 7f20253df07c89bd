// The platform's base library, as other libraries see it: numbers and the random generator,
// TList and its block pool, the millisecond clock and large-buffer allocation. Depends on
// nothing.
#pragma once

#include "platform/base/block_pool.hpp"
#include "platform/base/clock.hpp"
#include "platform/base/large_buffer.hpp"
#include "platform/base/numbers.hpp"
#include "platform/base/tlist.hpp"
