// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <initguid.h>

#include <oleauto.h>

#include <algorithm>
#include <array>

#include "system.h"

namespace drill::win {

namespace {

// UI Automation's live-setting property, for Dynamic Annotation.
DEFINE_GUID(kLiveSetting, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58,
            0xeb);
constexpr LONG kPolite = 1;
// Windows 8's event, which Windows 7 headers leave out; older readers ignore it.
constexpr DWORD kLiveRegionChanged = 0x8019; // EVENT_OBJECT_LIVEREGIONCHANGED

constexpr int kActionCompleted = 2;     // NotificationKind_ActionCompleted
constexpr int kImportantMostRecent = 1; // NotificationProcessing_ImportantMostRecent

// The system's annotation service (oleacc), or null without one.
IAccPropServices* Service() {
    IAccPropServices* service = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&service)))) {
        return nullptr;
    }
    return service;
}

} // namespace

Annotations::Annotations() : services_(Service()) {}

Annotations::~Annotations() {
    Clear();
}

void Annotations::Set(HWND control, const GUID& property, const std::wstring& text) {
    if (!services_ || control == nullptr) {
        return;
    }
    if (SUCCEEDED(services_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, property,
                                            text.c_str())) &&
        std::find(annotated_.begin(), annotated_.end(), control) == annotated_.end()) {
        annotated_.push_back(control);
    }
}

void Annotations::Name(HWND control, const std::wstring& name) {
    Set(control, PROPID_ACC_NAME, name);
}

void Annotations::Description(HWND control, const std::wstring& description) {
    Set(control, PROPID_ACC_DESCRIPTION, description);
}

void Annotations::PushButton(HWND control) {
    Set(control, PROPID_ACC_ROLE, ROLE_SYSTEM_PUSHBUTTON);
}

void Annotations::LiveRegion(HWND control) {
    Set(control, kLiveSetting, kPolite);
}

void Annotations::Set(HWND control, const GUID& property, LONG value) {
    if (!services_ || control == nullptr) {
        return;
    }
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    if (SUCCEEDED(services_->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, property, variant)) &&
        std::find(annotated_.begin(), annotated_.end(), control) == annotated_.end()) {
        annotated_.push_back(control);
    }
}

void Annotations::Clear() {
    if (!services_) {
        return;
    }
    std::array<MSAAPROPID, 4> properties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_ROLE,
                                         kLiveSetting};
    for (HWND control : annotated_) {
        services_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, properties.data(),
                                  static_cast<int>(properties.size()));
    }
    annotated_.clear();
}

Announcer::Announcer(HWND liveRegion) : window_(GetParent(liveRegion)), liveRegion_(liveRegion) {}

Announcer::~Announcer() {
    if (automation_ != nullptr) {
        FreeLibrary(automation_);
    }
}

void Announcer::Prepare() {
    if (looked_) {
        return;
    }
    // Found at run time: the notification is of Windows 10 1709, and the
    // library is not among the protected system libraries.
    looked_ = true;
    automation_ = LoadSystemLibrary(L"uiautomationcore.dll");
    hostProvider_ = Find<HostProvider>(automation_, "UiaHostProviderFromHwnd");
    raise_ = Find<RaiseNotification>(automation_, "UiaRaiseNotificationEvent");
}

bool Announcer::Notify(const std::wstring& text) {
    Prepare();
    if (hostProvider_ == nullptr || raise_ == nullptr) {
        return false;
    }
    Com<IUnknown> provider;
    if (FAILED(hostProvider_(window_, provider.Out())) || !provider) {
        return false;
    }
    BSTR said = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    BSTR activity = SysAllocString(L"transpose-drill");
    const HRESULT result =
        raise_(provider.Get(), kActionCompleted, kImportantMostRecent, said, activity);
    SysFreeString(activity);
    SysFreeString(said);
    return SUCCEEDED(result);
}

void Announcer::Say(const std::string& utf8) {
    const std::wstring text = Wide(utf8);
    SetWindowTextW(liveRegion_, text.c_str());
    OutputDebugStringA(("transpose-drill: announce: " + utf8 + "\n").c_str());
    if (!Notify(text)) {
        NotifyWinEvent(kLiveRegionChanged, liveRegion_, OBJID_CLIENT, CHILDID_SELF);
    }
}

} // namespace drill::win
