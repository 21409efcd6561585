// SPDX-License-Identifier: GPL-3.0-or-later
#include "export.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "announce.h"
#include "answer_check.h"
#include "form.h"
#include "question_bank.h"
#include "quiz_texts.h"

namespace drill::form {

namespace {

// A JSON string; the texts are UTF-8 already and pass through unchanged.
std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(c));
            out += escaped.data();
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Builds one JSON object, member by member, in the order written.
class Object {
public:
    Object& Raw(std::string_view key, const std::string& json) {
        out_ += (out_.empty() ? "{" : ", ") + Quote(key) + ": " + json;
        return *this;
    }
    Object& Text(std::string_view key, std::string_view text) { return Raw(key, Quote(text)); }
    Object& Number(std::string_view key, int number) { return Raw(key, std::to_string(number)); }
    Object& Flag(std::string_view key, bool flag) { return Raw(key, flag ? "true" : "false"); }
    Object& Box(const PixelBox& box) {
        return Number("left", box.left)
            .Number("top", box.top)
            .Number("width", box.width)
            .Number("height", box.height);
    }
    std::string Json() const { return out_.empty() ? "{}" : out_ + "}"; }

private:
    std::string out_;
};

template <typename Range, typename Item> std::string Array(const Range& range, Item item) {
    std::string out;
    for (const auto& element : range) {
        out += (out.empty() ? "[" : ",\n  ") + item(element);
    }
    return out.empty() ? "[]" : out + "]";
}

// A colour as its three channels, [r, g, b], each 0 to 255.
std::string Channels(Rgb colour) {
    return "[" + std::to_string(colour.r) + ", " + std::to_string(colour.g) + ", " +
           std::to_string(colour.b) + "]";
}

std::string_view KindName(Kind kind) {
    switch (kind) {
    case Kind::Button:
        return "button";
    case Kind::TextBox:
        return "textbox";
    case Kind::Label:
        break;
    }
    return "label";
}

std::string ControlJson(const Control& c) {
    return Object()
        .Text("name", c.name)
        .Text("kind", KindName(c.kind))
        .Text("text", c.text)
        .Box(Px(c.box))
        .Number("fontPx", c.font.PixelSize())
        .Flag("bold", c.font.weight == Weight::Bold)
        .Raw("color", Channels(c.textColour.value_or(kBlack)))
        .Raw("background", Channels(c.background))
        .Text("align", c.align == Align::Centre ? "center" : "left")
        .Flag("border", c.border)
        .Flag("wordWrap", c.wordWrap)
        .Number("tabIndex", c.tabIndex)
        .Text("accessibleName", c.accessibleName)
        .Text("accessibleDescription", c.accessibleDescription)
        .Json();
}

std::string WindowJson(const Window& w) {
    return Object()
        .Text("name", w.name)
        .Text("caption", w.caption)
        .Box(Px(w.client))
        .Raw("background", Channels(w.background))
        .Raw("controls", Array(w.controls, ControlJson))
        .Json();
}

std::string DesignJson() {
    Object roles;
    Object captions;
    for (const Role& role : kMainRoles) {
        roles.Text(role.name, role.control->name);
        for (const Captioned& counter : kCounterCaptions) {
            if (counter.counter == role.control) {
                captions.Text(role.name, counter.caption->name);
            }
        }
    }
    return Object()
        .Raw("main", WindowJson(kMainWindow))
        .Raw("rule", WindowJson(kRuleWindow))
        .Raw("ruleReadingOrder",
             Array(kRuleReadingOrder, [](const Control* c) { return Quote(c->name); }))
        .Number("pictureWidth", kPictureWidth)
        .Number("pictureHeight", kPictureHeight)
        .Number("answerMaxLength", kAnswerMaxLength)
        .Raw("roles", roles.Json())
        .Raw("captions", captions.Json())
        .Json();
}

// Each question with its stored answers, and every text the quiz's own check
// accepts for it: a stored answer, or one less its first character.
std::string BankJson() {
    std::string out;
    for (int id = 1; id <= QuestionBank::Count; ++id) {
        const Question& q = QuestionBank::Get(id);
        const auto answers =
            std::to_array<std::string_view>({q.Answer1, q.Answer2, q.Answer3, q.Answer4});
        std::vector<std::string_view> accepted;
        for (const std::string_view answer : answers) {
            for (const std::string_view text : {answer, answer.substr(answer.empty() ? 0 : 1)}) {
                if (IsAcceptedAnswer(std::string(text), q) &&
                    std::find(accepted.begin(), accepted.end(), text) == accepted.end()) {
                    accepted.push_back(text);
                }
            }
        }
        out += (out.empty() ? "[" : ",\n  ") + Object()
                                                   .Text("problem", q.Problem)
                                                   .Raw("answers", Array(answers, Quote))
                                                   .Raw("accepted", Array(accepted, Quote))
                                                   .Json();
    }
    return out + "]";
}

std::string TextsJson() {
    return Object()
        .Text("title", texts::kTitle)
        .Text("correct", texts::kCorrect)
        .Text("wrong", texts::kWrong)
        .Text("verdictHint", texts::kVerdictHint)
        .Text("question", texts::kQuestion)
        .Text("equation", texts::kEquation)
        .Text("answerFirst", texts::kAnswerFirst)
        .Text("confirmAnswer", texts::kConfirmAnswer)
        .Text("drillOver", texts::kDrillOver)
        .Json();
}

// Told by the same function the front ends call, on made-up displays.
std::string AnnouncementsJson() {
    const std::string hint = texts::kVerdictHint;
    return Object()
        .Text("question", Announcement({"", "", hint}, {"{number}", "{problem}", hint}))
        .Text("correct", Announcement({"1", "p", hint}, {"1", "p", texts::kCorrect}))
        .Text("wrong", Announcement({"1", "p", hint}, {"1", "p", texts::kWrong}))
        .Json();
}

} // namespace

std::string FactsJson() {
    return Object()
               .Raw("design", DesignJson())
               .Raw("bank", BankJson())
               .Raw("texts", TextsJson())
               .Raw("announcements", AnnouncementsJson())
               .Json() +
           "\n";
}

} // namespace drill::form
