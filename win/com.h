// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unknwn.h>

namespace drill::win {

// One reference to a COM object, released with its owner.
template <typename Interface> class Com {
public:
    Com() = default;
    // Takes over a reference already counted.
    explicit Com(Interface* pointer) : pointer_(pointer) {}
    ~Com() { Reset(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;

    void Reset() {
        if (pointer_ != nullptr) {
            pointer_->Release();
            pointer_ = nullptr;
        }
    }
    // Where a call that hands out an object puts it.
    Interface** Out() {
        Reset();
        return &pointer_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

} // namespace drill::win
