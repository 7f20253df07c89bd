// The game's reaction to discrete events, run on the event-emission hook. Depends on
// platform events.
#pragma once

#include "platform/system/system.hpp"

// Passes events on unchanged and returns null for anything that is not an event.
ObjectPtr event_hook(int id, const ObjectPtr& data, const ObjectPtr& context);
