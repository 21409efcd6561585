// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's side of the drill: the core's quiz behind a QuizView that
// calls into the page. The page's windows are built from the same form table
// at build time (form/export.h, web/build_page.py).

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <utility>

#include "binding.h"
#include "clock_random.h"
#include "form.h"
#include "quiz.h"

namespace drill::web {

using emscripten::val;

namespace {

std::string Str(std::string_view text) {
    return std::string(text);
}

} // namespace

// The main window's QuizView: the shared binding names the control each
// operation changes, the page only carries it out. `page` is the object built
// by the page's script.
class Drill final : private form::Surface, public form::BoundView {
public:
    explicit Drill(val page)
        : BoundView(static_cast<form::Surface&>(*this)), page_(std::move(page)),
          quiz_(*this, random_) {
        binding().DescribeControls();
    }

    // The click of the button the page knows by its name; a name of no button
    // does nothing.
    void Press(const std::string& button) {
        if (const form::Control* control = form::kMainWindow.Lookup(button)) {
            binding().Press(quiz_, *control);
        }
    }

    std::string AnswerText() const override { return page_.call<std::string>("answerText"); }
    void HideStartButton() override {
        page_.call<void>("move", Str(form::kStartButton.name), form::Px(form::kHiddenButtonLeft),
                         form::Px(form::kHiddenButtonTop));
    }
    void ShowRuleWindow() override { page_.call<void>("showRuleWindow"); }
    // The page's box is modal but cannot block this call; every message ends
    // its operation, so returning at once changes nothing the user sees.
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override {
        page_.call<void>("showMessage", text, title,
                         std::string(icon == MessageIcon::Warning ? "warning" : "information"));
    }
    void EndProgram() override { page_.call<void>("endProgram"); }

private:
    void PutText(const form::Control& control, const std::string& text) override {
        page_.call<void>("setText", Str(control.name), text);
    }
    void Announce(const std::string& text) override { page_.call<void>("announce", text); }
    void Describe(const form::Control& control, const std::string& description) override {
        page_.call<void>("describe", Str(control.name), description);
    }

    val page_;
    ClockRandom random_;
    Quiz quiz_;
};

} // namespace drill::web

EMSCRIPTEN_BINDINGS(transpose_drill) {
    using namespace drill::web;
    emscripten::class_<Drill>("Drill").constructor<emscripten::val>().function("press",
                                                                               &Drill::Press);
}
