// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace drill::texts {

// The title of every message box; also the main window's caption.
inline constexpr const char* kTitle = "Перенос слагаемых из одной части уравнения в другую";

inline constexpr const char* kCorrect = "Верно";
inline constexpr const char* kWrong = "Ошибка";
// The verdict line between answers; also its caption when the window opens.
inline constexpr const char* kVerdictHint = "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ";

// What a screen reader is told of a new question, "Вопрос 2. Уравнение 8-3x=2x+1",
// and what the problem line is called to it.
inline constexpr const char* kQuestion = "Вопрос";
inline constexpr const char* kEquation = "Уравнение";

inline constexpr const char* kAnswerFirst = "Вначале дайте ответ, затем можете повторить правило.";
inline constexpr const char* kConfirmAnswer = "Подтвердите принятие ответа";
inline constexpr const char* kDrillOver = "Опрос окончен.";

} // namespace drill::texts
