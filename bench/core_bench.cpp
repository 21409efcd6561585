// SPDX-License-Identifier: GPL-3.0-or-later
// The quiz operations behind the buttons, against a view that only records.
//
// Every measured call must find the quiz in the state a user would: Start only
// shuffles on a fresh quiz, and only the first answer to a question is judged.
// So each call gets a quiz of its own, copied from a prepared one in batches
// outside the timed region (copying is cheap next to what is measured, and
// pausing the timer once per batch keeps its own cost out of the results).

#include <benchmark/benchmark.h>

#include <array>
#include <deque>
#include <memory>
#include <vector>

#include "clock_random.h"
#include "fake_quiz_view.h"
#include "quiz.h"

namespace {

using drill::ClockRandom;
using drill::QuestionBank;
using drill::Quiz;
using drill::testing::FakeQuizView;
using drill::testing::ScriptedRandom;

constexpr std::size_t kBatch = 1024;

// Runs `op` once per benchmark iteration on a fresh copy from `make`.
template <typename Make, typename Op>
void OnFreshQuizzes(benchmark::State& state, Make make, Op op) {
    std::vector<Quiz> pool;
    pool.reserve(kBatch);
    std::size_t next = kBatch;
    for (auto _ : state) {
        if (next == kBatch) {
            state.PauseTiming();
            pool.clear();
            for (std::size_t i = 0; i < kBatch; ++i) {
                pool.push_back(make(i));
            }
            next = 0;
            state.ResumeTiming();
        }
        op(pool[next++]);
    }
    benchmark::DoNotOptimize(pool.data());
}

// One started quiz per question id, so that the batches cycle through every
// question of the table rather than timing one equation only.
struct Prepared {
    ScriptedRandom random;
    FakeQuizView view;
    Quiz quiz;

    Prepared(int firstId, bool answerCorrectly)
        : random({ScriptedRandom::DrawFor(firstId)}), quiz(view, random) {
        quiz.Start();
        view.answer = answerCorrectly ? quiz.Answer1() : "x=0";
    }
};

std::deque<Prepared> PrepareAll(bool answerCorrectly) {
    std::deque<Prepared> all; // a deque: the quizzes keep referring to their views
    for (int id = 1; id <= QuestionBank::Count; ++id) {
        all.emplace_back(id, answerCorrectly);
    }
    return all;
}

void BM_Start_Shuffle(benchmark::State& state) {
    FakeQuizView view;
    ScriptedRandom random;
    OnFreshQuizzes(
        state, [&](std::size_t) { return Quiz(view, random); }, [](Quiz& q) { q.Start(); });
}
BENCHMARK(BM_Start_Shuffle);

// As the program does it: the clock-seeded Mersenne Twister is reseeded by
// every shuffle, and that seeding is part of what the user waits for.
void BM_Start_ClockSeeded(benchmark::State& state) {
    FakeQuizView view;
    ClockRandom random;
    OnFreshQuizzes(
        state, [&](std::size_t) { return Quiz(view, random); }, [](Quiz& q) { q.Start(); });
}
BENCHMARK(BM_Start_ClockSeeded);

void BM_AcceptAnswer(benchmark::State& state, bool answerCorrectly) {
    const std::deque<Prepared> prepared = PrepareAll(answerCorrectly);
    OnFreshQuizzes(
        state, [&](std::size_t i) { return prepared[i % prepared.size()].quiz; },
        [](Quiz& q) { q.AcceptAnswer(); });
}
BENCHMARK_CAPTURE(BM_AcceptAnswer, correct, true);
BENCHMARK_CAPTURE(BM_AcceptAnswer, wrong, false);

void BM_NextExample(benchmark::State& state) {
    std::deque<Prepared> prepared = PrepareAll(true);
    for (Prepared& p : prepared) {
        p.quiz.AcceptAnswer();
    }
    OnFreshQuizzes(
        state, [&](std::size_t i) { return prepared[i % prepared.size()].quiz; },
        [](Quiz& q) { q.NextExample(); });
}
BENCHMARK(BM_NextExample);

// A whole drill as the buttons drive it, for scale: Start, then an answer,
// its acceptance and the next question twenty times.
void BM_WholeDrill(benchmark::State& state) {
    FakeQuizView view;
    ScriptedRandom random;
    for (auto _ : state) {
        Quiz quiz(view, random);
        quiz.Start();
        for (int q = 1; q <= QuestionBank::Count; ++q) {
            view.answer = quiz.Answer1();
            quiz.AcceptAnswer();
            quiz.NextExample();
        }
        benchmark::DoNotOptimize(quiz.MistakeCount().Value());
        view.messages.clear();
    }
}
BENCHMARK(BM_WholeDrill);

} // namespace

BENCHMARK_MAIN();
