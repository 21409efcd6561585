// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers are told beyond what native controls expose by
// themselves: names and descriptions set on the controls through the system's
// Dynamic Annotation, and announcements heard without the focus moving.

#include <windows.h>

#include <string>
#include <vector>

#include <oleacc.h>

#include "com.h"

namespace drill::win {

class Annotations {
public:
    // Without the system's annotation service every call does nothing.
    Annotations();
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void Name(HWND control, const std::wstring& name);
    void Description(HWND control, const std::wstring& description);
    // A push button, as a screen reader should call it whatever draws it.
    void PushButton(HWND control);
    // Its text changes are news a screen reader says without the focus moving.
    void LiveRegion(HWND control);
    // What was annotated goes before the windows do.
    void Clear();

private:
    void Set(HWND control, const GUID& property, const std::wstring& text);
    void Set(HWND control, const GUID& property, LONG value);

    Com<IAccPropServices> services_;
    std::vector<HWND> annotated_;
};

// Each announcement goes three ways: a UI Automation notification where the
// system has one (Windows 10 1709 and later), else a live-region change of
// `liveRegion`, a static that is never on screen; the live region's text is
// set to it either way, and it also goes out as debug output, the UTF-8 line
// "transpose-drill: announce: <text>", which a test under Wine reads with
// WINEDEBUG=+debugstr, no screen reader running there (Wine prints only the
// narrow call's strings, hence UTF-8 through OutputDebugStringA).
class Announcer {
public:
    explicit Announcer(HWND liveRegion);
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    // Loads UI Automation, which the first announcement needs; done once the
    // window is on screen, so that neither its start nor its first press waits.
    void Prepare();
    void Say(const std::string& utf8);

private:
    bool Notify(const std::wstring& text);

    using HostProvider = HRESULT(WINAPI*)(HWND, IUnknown**);
    using RaiseNotification = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

    HWND window_, liveRegion_;
    bool looked_ = false;
    HMODULE automation_ = nullptr;
    HostProvider hostProvider_ = nullptr;
    RaiseNotification raise_ = nullptr;
};

} // namespace drill::win
