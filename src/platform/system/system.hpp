// The platform's system library, as other libraries see it: the game window with its OpenGL
// context, events and hooks, polled input, the pointer, window operations and the message box.
// Depends on the base library.
#pragma once

#include "platform/base/base.hpp"
#include "platform/system/events.hpp"
#include "platform/system/input.hpp"
#include "platform/system/message_box.hpp"
#include "platform/system/pointer.hpp"
#include "platform/system/system_driver.hpp"
#include "platform/system/window_graphics.hpp"
#include "platform/system/window_ops.hpp"
