// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's side of the drill: the core's quiz behind a QuizView that
// calls into the page, and the form table handed to the page so that it builds
// its windows from the same data as the desktop edition.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <utility>

#include "announce.h"
#include "clock_random.h"
#include "form.h"
#include "question_bank.h"
#include "quiz.h"
#include "quiz_texts.h"

namespace drill::web {

using emscripten::val;

namespace {

std::string Str(std::string_view text) {
    return std::string(text);
}

std::string Css(form::Rgb colour) {
    return "rgb(" + std::to_string(colour.r) + ", " + std::to_string(colour.g) + ", " +
           std::to_string(colour.b) + ")";
}

const char* KindName(form::Kind kind) {
    switch (kind) {
    case form::Kind::Button:
        return "button";
    case form::Kind::TextBox:
        return "textbox";
    case form::Kind::Label:
        break;
    }
    return "label";
}

void SetBox(val& object, const form::PixelBox& box) {
    object.set("left", box.left);
    object.set("top", box.top);
    object.set("width", box.width);
    object.set("height", box.height);
}

val ControlToJs(const form::Control& control) {
    val object = val::object();
    object.set("name", Str(control.name));
    object.set("kind", std::string(KindName(control.kind)));
    object.set("text", Str(control.text));
    SetBox(object, form::Px(control.box));
    object.set("fontPx", control.font.PixelSize());
    object.set("bold", control.font.weight == form::Weight::Bold);
    object.set("color", Css(control.textColour.value_or(form::kBlack)));
    object.set("background", Css(control.background));
    object.set("align", std::string(control.align == form::Align::Centre ? "center" : "left"));
    object.set("border", control.border);
    object.set("wordWrap", control.wordWrap);
    object.set("tabIndex", control.tabIndex);
    object.set("accessibleName", Str(control.accessibleName));
    object.set("accessibleDescription", Str(control.accessibleDescription));
    return object;
}

val WindowToJs(const form::Window& window) {
    val object = val::object();
    object.set("name", Str(window.name));
    object.set("caption", Str(window.caption));
    SetBox(object, form::Px(window.client));
    object.set("background", Css(window.background));
    val controls = val::array();
    for (const form::Control& control : window.controls) {
        controls.call<void>("push", ControlToJs(control));
    }
    object.set("controls", controls);
    return object;
}

// Everything the page lays out, in CSS pixels (one per design pixel).
val Design() {
    val design = val::object();
    design.set("main", WindowToJs(form::kMainWindow));
    design.set("rule", WindowToJs(form::kRuleWindow));
    val order = val::array();
    for (const char* name : form::kRuleReadingOrder) {
        order.call<void>("push", std::string(name));
    }
    design.set("ruleReadingOrder", order);
    design.set("pictureWidth", form::kPictureWidth);
    design.set("pictureHeight", form::kPictureHeight);
    design.set("answerMaxLength", form::kAnswerMaxLength);
    // What each control is, for the page to find it by: role -> control name.
    val roles = val::object();
    for (const auto& [role, name] : {std::pair{"problem", "Label1"}, {"answerBox", "Text1"},
                                     {"verdict", "Label8"}, {"questionNo", "Label7"},
                                     {"mistakes", "Label5"}, {"start", "Command2"},
                                     {"accept", "Command3"}, {"next", "Command5"},
                                     {"rule", "Command1"}, {"quit", "Command7"}}) {
        roles.set(role, std::string(form::kMainWindow.Find(name).name));
    }
    design.set("roles", roles);
    return design;
}

// The question table as data, for the browser tests to know the answers.
val QuestionBankToJs() {
    val rows = val::array();
    for (int id = 1; id <= QuestionBank::Count; ++id) {
        const Question& q = QuestionBank::Get(id);
        val row = val::object();
        row.set("problem", q.Problem);
        val answers = val::array();
        for (const std::string* answer : {&q.Answer1, &q.Answer2, &q.Answer3, &q.Answer4}) {
            answers.call<void>("push", *answer);
        }
        row.set("answers", answers);
        rows.call<void>("push", row);
    }
    return rows;
}

} // namespace

// The main window's QuizView: each operation names the control it changes, the
// page only carries it out. `page` is the object built by the page's script.
class Drill final : public QuizView {
public:
    explicit Drill(val page) : page_(std::move(page)), quiz_(*this, random_) {
        displays_.verdict = Str(form::kMainWindow.Find("Label8").text);
        DescribeControls();
    }

    // The click of the named button: one operation of the quiz, then what a
    // screen reader is told about it. Names of no button do nothing.
    void Press(const std::string& button) {
        static constexpr std::pair<const char*, void (Quiz::*)()> kBindings[] = {
            {"Command2", &Quiz::Start},       {"Command3", &Quiz::AcceptAnswer},
            {"Command5", &Quiz::NextExample}, {"Command1", &Quiz::ShowRule},
            {"Command7", &Quiz::Quit},
        };
        for (const auto& [name, operation] : kBindings) {
            if (button == name) {
                const form::Displays before = displays_;
                (quiz_.*operation)();
                const std::string said = form::Announcement(before, displays_);
                if (!said.empty()) {
                    page_.call<void>("announce", said);
                }
                DescribeControls();
                return;
            }
        }
    }

    std::string AnswerText() const override { return page_.call<std::string>("answerText"); }
    void SetAnswerText(const std::string& text) override { SetText("Text1", text); }
    void SetProblemText(const std::string& text) override {
        displays_.problem = text;
        SetText("Label1", text);
    }
    void SetQuestionNoText(const std::string& text) override {
        displays_.questionNo = text;
        SetText("Label7", text);
    }
    void SetMistakeText(const std::string& text) override { SetText("Label5", text); }
    void SetVerdictText(const std::string& text) override {
        displays_.verdict = text;
        SetText("Label8", text);
    }
    void HideStartButton() override {
        page_.call<void>("move", std::string("Command2"), form::Px(form::kHiddenButtonLeft),
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
    // Each control that takes the focus carries the problem and the verdict in
    // its description, so that a screen reader says them as the focus arrives.
    void DescribeControls() {
        std::string description = form::FocusDescription(displays_);
        if (description == described_) {
            return;
        }
        for (const form::Control& control : form::kMainWindow.controls) {
            if (control.tabIndex >= 0) {
                page_.call<void>("describe", Str(control.name), description);
            }
        }
        described_ = std::move(description);
    }

    void SetText(const char* control, const std::string& text) {
        page_.call<void>("setText", std::string(control), text);
    }

    val page_;
    ClockRandom random_;
    Quiz quiz_;
    form::Displays displays_;
    std::string described_;
};

} // namespace drill::web

EMSCRIPTEN_BINDINGS(transpose_drill) {
    using namespace drill::web;
    emscripten::function("design", &Design);
    emscripten::function("questionBank", &QuestionBankToJs);
    emscripten::class_<Drill>("Drill").constructor<emscripten::val>().function("press",
                                                                               &Drill::Press);
}
