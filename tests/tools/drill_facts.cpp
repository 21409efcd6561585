// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the program's own facts as JSON for the Python tests and scripts: both
// windows with every control's box, the question bank and the message texts.
// The scripts read them here instead of restating them.

#include <cstdio>
#include <string>
#include <string_view>

#include "announce.h"
#include "form.h"
#include "question_bank.h"
#include "quiz_texts.h"

namespace {

using namespace drill;

// A JSON string; the texts are UTF-8 already and pass through unchanged.
std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string Box(int left, int top, int width, int height) {
    return "[" + std::to_string(left) + ", " + std::to_string(top) + ", " + std::to_string(width) +
           ", " + std::to_string(height) + "]";
}

std::string Box(form::TwipBox box) {
    return Box(box.left, box.top, box.width, box.height);
}

std::string Box(form::PixelBox box) {
    return Box(box.left, box.top, box.width, box.height);
}

std::string_view KindName(form::Kind kind) {
    switch (kind) {
    case form::Kind::Button:
        return "button";
    case form::Kind::TextBox:
        return "text box";
    case form::Kind::Label:
        return "label";
    }
    return "?";
}

std::string Window(const form::Window& window) {
    std::string out = "{\"caption\": " + Quote(window.caption) +
                      ", \"twips\": " + Box(window.client) +
                      ", \"client\": " + Box(form::Px(window.client)) + ", \"controls\": [";
    const char* separator = "\n      ";
    for (const form::Control& c : window.controls) {
        out += separator;
        separator = ",\n      ";
        out +=
            "{\"name\": " + Quote(c.name) + ", \"kind\": " + Quote(KindName(c.kind)) +
            ", \"text\": " + Quote(c.text) + ", \"twips\": " + Box(c.box) +
            ", \"box\": " + Box(form::Px(c.box)) + ", \"tabIndex\": " + std::to_string(c.tabIndex) +
            ", \"accessibleName\": " + Quote(c.accessibleName.empty() ? c.text : c.accessibleName) +
            ", \"accessibleDescription\": " + Quote(c.accessibleDescription) + "}";
    }
    return out + "]}";
}

} // namespace

int main() {
    std::string out = "{\n  \"windows\": {\n    " + Quote(form::kMainWindow.name) + ": " +
                      Window(form::kMainWindow) + ",\n    " + Quote(form::kRuleWindow.name) + ": " +
                      Window(form::kRuleWindow) + "},\n";
    out += "  \"hiddenButton\": [" + std::to_string(form::Px(form::kHiddenButtonLeft)) + ", " +
           std::to_string(form::Px(form::kHiddenButtonTop)) + "],\n";
    out += "  \"texts\": {\"title\": " + Quote(texts::kTitle) +
           ", \"correct\": " + Quote(texts::kCorrect) + ", \"wrong\": " + Quote(texts::kWrong) +
           ", \"verdictHint\": " + Quote(texts::kVerdictHint) +
           ", \"answerFirst\": " + Quote(texts::kAnswerFirst) +
           ", \"confirmAnswer\": " + Quote(texts::kConfirmAnswer) +
           ", \"drillOver\": " + Quote(texts::kDrillOver) + "},\n";
    // What a screen reader is told of a new question, with {number} and
    // {problem} standing for the question's number and equation.
    const std::string hint = texts::kVerdictHint;
    out +=
        "  \"announcements\": {\"question\": " +
        Quote(form::Announcement({"", "", hint}, {"{number}", "{problem}", hint})) +
        ", \"correct\": " +
        Quote(form::Announcement({"1", "p", hint}, {"1", "p", texts::kCorrect})) +
        ", \"wrong\": " + Quote(form::Announcement({"1", "p", hint}, {"1", "p", texts::kWrong})) +
        "},\n";
    out += "  \"questions\": [";
    for (int id = 1; id <= QuestionBank::Count; ++id) {
        const Question& q = QuestionBank::Get(id);
        out += id == 1 ? "\n    " : ",\n    ";
        out += "{\"id\": " + std::to_string(id) + ", \"problem\": " + Quote(q.Problem) +
               ", \"answers\": [" + Quote(q.Answer1) + ", " + Quote(q.Answer2) + ", " +
               Quote(q.Answer3) + ", " + Quote(q.Answer4) + "]}";
    }
    out += "]\n}\n";
    std::fputs(out.c_str(), stdout);
    return std::ferror(stdout) ? 1 : 0;
}
