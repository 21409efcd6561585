// SPDX-License-Identifier: GPL-3.0-or-later
// Click latency of the real program under Wine: starts it, then for 19
// questions types a wrong answer, clicks "Принять ответ" and "Ещё пример",
// timing each click until the main window and its controls are repainted.
// With --floor, the same timing on the bare window instead: a message that
// does nothing, and a new text for its label, both to another process and
// back, which no program's click can beat.
// Usage: click_bench PROGRAM START ACCEPT NEXT  (the buttons' texts)
//        click_bench --floor BARE_WINDOW

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    std::wstring text;
    const wchar_t* windowClass;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND child, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    wchar_t buffer[256] = {};
    GetClassNameW(child, buffer, 256);
    if (lstrcmpiW(buffer, search.windowClass) != 0) {
        return TRUE;
    }
    GetWindowTextW(child, buffer, 256);
    if (search.text.empty() || search.text == buffer) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

HWND Child(HWND parent, const wchar_t* windowClass, const std::wstring& text) {
    Search search{text, windowClass};
    EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        std::fwprintf(stderr, L"no %ls \"%ls\"\n", windowClass, text.c_str());
        ExitProcess(1);
    }
    return search.found;
}

// Microseconds for the action and the repaint it causes, both done by the
// time the calls return: a sent message runs in the other process before
// SendMessage returns, RedrawWindow paints what it invalidated.
template <typename Action> double Timed(HWND window, Action action) {
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    action();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Click(HWND window, HWND button) {
    return Timed(window, [&] { SendMessageW(button, BM_CLICK, 0, 0); });
}

// The program started, and its window of that class once it has one.
HWND Start(const wchar_t* program, const wchar_t* windowClass, PROCESS_INFORMATION& process) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + std::wstring(program) + L"\"";
    if (!CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fputs("cannot start the program\n", stderr);
        ExitProcess(1);
    }
    WaitForInputIdle(process.hProcess, 30000);
    HWND window = nullptr;
    for (int i = 0; i < 300 && window == nullptr; ++i) {
        window = FindWindowW(windowClass, nullptr);
        if (window == nullptr) {
            WaitForSingleObject(process.hProcess, 100);
        }
    }
    if (window == nullptr) {
        std::fputs("no main window\n", stderr);
        ExitProcess(1);
    }
    return window;
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("| %s | %zu | %.0f | %.0f | %.0f |\n", what, times.size(), times[times.size() / 2],
                times[times.size() * 9 / 10], times.back());
}

int Floor(const wchar_t* bare) {
    PROCESS_INFORMATION process{};
    const HWND window = Start(bare, L"Baseline", process);
    const HWND label = Child(window, L"Static", L"");
    std::vector<double> nothings;
    std::vector<double> texts;
    for (int i = 0; i < 20; ++i) {
        nothings.push_back(Timed(window, [&] { SendMessageW(window, WM_NULL, 0, 0); }));
        const wchar_t* text = i % 2 != 0 ? L"Baseline" : L"Baseline 2";
        texts.push_back(Timed(
            window, [&] { SendMessageW(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }));
    }
    std::puts(
        "| on the bare window | times | median, µs | p90, µs | max, µs |\n|---|---|---|---|---|");
    Report("a message that does nothing", nothings);
    Report("a new text for the label", texts);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--floor") {
        return Floor(argv[2]);
    }
    if (argc != 5) {
        std::fputs("usage: click_bench PROGRAM START ACCEPT NEXT | --floor BARE_WINDOW\n", stderr);
        return 2;
    }
    PROCESS_INFORMATION process{};
    const HWND window = Start(argv[1], L"Form1", process);
    const HWND answer = Child(window, L"Edit", L"");
    const HWND accept = Child(window, L"Button", argv[3]);
    const HWND next = Child(window, L"Button", argv[4]);
    std::vector<double> starts{Click(window, Child(window, L"Button", argv[2]))};
    std::vector<double> accepts;
    std::vector<double> nexts;
    for (int question = 1; question < 20; ++question) {
        SendMessageW(answer, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x=1"));
        accepts.push_back(Click(window, accept));
        nexts.push_back(Click(window, next));
    }
    std::puts("| press | presses | median, µs | p90, µs | max, µs |\n|---|---|---|---|---|");
    Report("Начало", starts);
    Report("Принять ответ", accepts);
    Report("Ещё пример", nexts);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    return 0;
}
