// SPDX-License-Identifier: GPL-3.0-or-later
// Prints, as one line of JSON for each line read from stdin, every visible
// top-level window of the process that owns a window of the class given on
// the command line, with their child windows: class, text, boxes, styles,
// fonts, owner and what oleacc says of each. Run in the same Wine prefix as
// the program it looks at; its JSON holds ASCII only (\u escapes).
// "clip N" instead puts N characters on the clipboard, for a paste.

#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

std::string Quote(const std::wstring& text) {
    std::string out = "\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7e) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Number(const char* key, long long value) {
    return "\"" + std::string(key) + "\": " + std::to_string(value);
}

std::string Text(const char* key, const std::wstring& value) {
    return "\"" + std::string(key) + "\": " + Quote(value);
}

std::string Handle(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return L"";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &got);
    text.resize(got);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::string Box(const char* key, const RECT& rect) {
    return "\"" + std::string(key) + "\": [" + std::to_string(rect.left) + ", " +
           std::to_string(rect.top) + ", " + std::to_string(rect.right - rect.left) + ", " +
           std::to_string(rect.bottom - rect.top) + "]";
}

// The font's handle: another process cannot read the font behind it, but
// under Wine the font trace of the program's own process names it.
long long FontOf(HWND window) {
    DWORD_PTR font = 0;
    if (!SendMessageTimeoutW(window, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &font)) {
        return 0;
    }
    return static_cast<long long>(font);
}

std::wstring Take(BSTR text) {
    std::wstring out = text != nullptr ? text : L"";
    SysFreeString(text);
    return out;
}

// What a screen reader gets from the window through oleacc.
std::string Accessible(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return "null";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    BSTR description = nullptr;
    object->get_accName(self, &name);
    object->get_accDescription(self, &description);
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(self, &role);
    const long roleNumber = role.vt == VT_I4 ? role.lVal : -1;
    object->Release();
    return "{" + Text("name", Take(name)) + ", " + Text("description", Take(description)) + ", " +
           Number("role", roleNumber) + "}";
}

std::string Describe(HWND window, HWND parent) {
    // A control's whole box in its parent's client area; a window's client
    // area on the screen.
    RECT box{};
    if (parent != nullptr) {
        GetWindowRect(window, &box);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    } else {
        GetClientRect(window, &box);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&box), 2);
    }
    return "{" + Number("hwnd", reinterpret_cast<UINT_PTR>(window)) + ", " +
           Number("id", GetDlgCtrlID(window)) + ", " + Text("class", ClassOf(window)) + ", " +
           Text("text", WindowText(window)) + ", " + Box("client", box) + ", " +
           Number("style", GetWindowLongW(window, GWL_STYLE)) + ", " +
           Number("exstyle", GetWindowLongW(window, GWL_EXSTYLE)) + ", " +
           Number("visible", IsWindowVisible(window)) + ", " +
           Number("enabled", IsWindowEnabled(window)) + ", " + Number("font", FontOf(window)) +
           ", \"acc\": " + Accessible(window);
}

struct Listing {
    DWORD process;
    std::string out;
};

BOOL CALLBACK AddChild(HWND child, LPARAM data) {
    auto& listing = *reinterpret_cast<Listing*>(data);
    listing.out += (listing.out.empty() ? "" : ", ") + Describe(child, GetParent(child)) + "}";
    return TRUE;
}

BOOL CALLBACK AddWindow(HWND window, LPARAM data) {
    auto& listing = *reinterpret_cast<Listing*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != listing.process || !IsWindowVisible(window)) {
        return TRUE;
    }
    Listing children{process, ""};
    EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&children));
    listing.out += (listing.out.empty() ? "" : ", ") + Describe(window, nullptr) + ", " +
                   Number("owner", reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))) +
                   ", \"children\": [" + children.out + "]}";
    return TRUE;
}

std::string Snapshot(const wchar_t* windowClass) {
    const HWND any = FindWindowW(windowClass, nullptr);
    if (any == nullptr) {
        return "{\"windows\": []}";
    }
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(any, &process);
    Listing listing{process, ""};
    EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&listing));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(thread, &gui);
    return "{\"windows\": [" + listing.out + "], \"focus\": " + Handle(gui.hwndFocus) +
           ", \"active\": " + Handle(gui.hwndActive) + "}";
}

// An answer repeated to that many characters.
bool Clip(unsigned long count) {
    constexpr std::wstring_view kAnswer = L"5x-x=4+2";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(wchar_t));
    if (memory == nullptr) {
        return false;
    }
    auto* text = static_cast<wchar_t*>(GlobalLock(memory));
    for (unsigned long i = 0; i < count; ++i) {
        text[i] = kAnswer[i % kAnswer.size()];
    }
    text[count] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
    }
    return set;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: window_inspector CLASS  (then one line on stdin per listing)\n", stderr);
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char line[256];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (std::strncmp(line, "clip ", 5) == 0) {
            std::fputs(Clip(std::strtoul(line + 5, nullptr, 10)) ? "{}\n" : "null\n", stdout);
            std::fflush(stdout);
            continue;
        }
        std::fputs((Snapshot(argv[1]) + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    CoUninitialize();
    return 0;
}
