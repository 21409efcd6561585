// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper, not a test: prints both windows' designed boxes in pixels as
// JSON, so that scripts read them from the program's own table.

#include <cstdio>

#include "form.h"

namespace {

void PrintBox(const drill::form::PixelBox& box) {
    std::printf("[%d, %d, %d, %d]", box.left, box.top, box.width, box.height);
}

} // namespace

int main() {
    std::printf("{");
    const char* windowSeparator = "";
    for (const drill::form::Window* window :
         {&drill::form::kMainWindow, &drill::form::kRuleWindow}) {
        std::printf("%s\n  \"%.*s\": {\"caption\": \"%.*s\", \"client\": ", windowSeparator,
                    int(window->name.size()), window->name.data(), int(window->caption.size()),
                    window->caption.data());
        PrintBox(drill::form::Px(window->client));
        std::printf(", \"controls\": {");
        const char* separator = "";
        for (const drill::form::Control& control : window->controls) {
            std::printf("%s\"%.*s\": ", separator, int(control.name.size()), control.name.data());
            PrintBox(drill::form::Px(control.box));
            separator = ", ";
        }
        std::printf("}}");
        windowSeparator = ",";
    }
    std::printf("\n}\n");
}
