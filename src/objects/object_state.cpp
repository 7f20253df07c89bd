// The process's shared object state.
#include "objects/object_state.hpp"

namespace {
std::unique_ptr<TObjectState> g_objects = std::make_unique<TObjectState>();
}

TObjectState& Objects() {
    return *g_objects;
}

void ResetObjects() {
    g_objects = std::make_unique<TObjectState>();
}
