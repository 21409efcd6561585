// SPDX-License-Identifier: GPL-3.0-or-later
// Click latency of the real program under Wine: starts it, then for 19
// questions types a wrong answer, clicks "Принять ответ" and "Ещё пример",
// timing each click until the main window and its controls are repainted.
// Usage: click_bench PROGRAM START ACCEPT NEXT  (the buttons' texts)

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

// Microseconds for the click and the repaint it causes, both done by the time
// the calls return: BM_CLICK runs the handler, RedrawWindow paints what it
// invalidated.
double Click(HWND window, HWND button) {
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SendMessageW(button, BM_CLICK, 0, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("| %s | %zu | %.0f | %.0f | %.0f |\n", what, times.size(), times[times.size() / 2],
                times[times.size() * 9 / 10], times.back());
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fputs("usage: click_bench PROGRAM START ACCEPT NEXT\n", stderr);
        return 2;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    if (!CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fputs("cannot start the program\n", stderr);
        return 1;
    }
    WaitForInputIdle(process.hProcess, 30000);
    HWND window = nullptr;
    for (int i = 0; i < 300 && window == nullptr; ++i) {
        window = FindWindowW(L"Form1", nullptr);
        if (window == nullptr) {
            WaitForSingleObject(process.hProcess, 100);
        }
    }
    if (window == nullptr) {
        std::fputs("no main window\n", stderr);
        return 1;
    }
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
