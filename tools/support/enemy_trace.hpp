// The enemies' side of a replay: one CSV row per live ship per pass with its movement state,
// and the random generator's state, so two builds can be compared beyond what the game trace
// shows (a bounce that differs in its last bit moves a ship long before it moves the token).
// Depends on the object state and the random generator.
#pragma once

#include <string>

// The header line's columns, without the line end.
std::string enemy_trace_header();
// One line per live enemy in list order, each ending in a line end; doubles printed with
// %.17g and floats with %.9g, so equal text means equal values.
std::string enemy_trace_rows(int pass);
