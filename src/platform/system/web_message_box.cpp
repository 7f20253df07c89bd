// The fatal-message report in the browser: the console, and the page's own sentence where the
// canvas would be (the page defines Module.orbFail).
#include <emscripten/emscripten.h>

#include <cstdio>

#include "platform/system/message_box.hpp"

void ShowFatalMessage(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    EM_ASM(
        {
            if (Module.orbFail) Module.orbFail(UTF8ToString($0));
        },
        text.c_str());
}
