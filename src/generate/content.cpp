// The process's one record of generated content.
#include "generate/content.hpp"

namespace {
Content g_content;
}  // namespace

Content& Generated() {
    return g_content;
}

void ResetGenerated() {
    g_content = Content{};
}
