// The host's custom controls: the state of each spinner and colour swatch, kept by its window
// handle.
#include "host/custom_controls.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct SpinnerState {
    HWND hwnd = nullptr;
    int ctrlId = 0;
    CustomControlNotifyFn notify = nullptr;
    void* context = nullptr;
    // Double, so that integer spinners hold every int exactly.
    double value = 0.0;
    double low = -FLT_MAX, high = FLT_MAX;
    float scale = 1.f;
    bool integer = false;
    bool enabled = true;
    HWND edit = nullptr;
    EditSpinnerType editType = EDITTYPE_FLOAT;

    double Fit(double v) const {
        double lo = low, hi = high;
        if (integer) {
            lo = std::ceil(lo);
            hi = std::max(lo, std::floor(hi));
            v = std::round(v);
        }
        return std::clamp(v, lo, hi);
    }

    // The linked edit field shows the value: whole numbers, or three decimals.
    void ShowInEdit() const {
        if (!edit || !IsWindow(edit)) return;
        wchar_t text[64];
        if (integer)
            std::swprintf(text, 64, L"%d", static_cast<int>(value));
        else
            std::swprintf(text, 64, L"%.3f", value);
        SetWindowTextW(edit, text);
    }
};

struct SwatchState {
    HWND hwnd = nullptr;
    int ctrlId = 0;
    CustomControlNotifyFn notify = nullptr;
    void* context = nullptr;
    AColor color{0.f, 0.f, 0.f, 1.f};
    bool enabled = true;
};

struct ControlRegistry {
    std::mutex mutex;
    std::map<HWND, std::shared_ptr<SpinnerState>> spinners;
    std::map<HWND, std::shared_ptr<SwatchState>> swatches;
};

ControlRegistry& Controls() {
    static ControlRegistry* r = new ControlRegistry;  // outlives every module's static destructors
    return *r;
}

// A control whose look changed paints anew; the stand-in has no screen.
void Repaint(HWND hwnd) {
#ifdef _WIN32
    if (hwnd && IsWindow(hwnd)) InvalidateRect(hwnd, nullptr, FALSE);
#else
    (void)hwnd;
#endif
}

bool IsIntegerType(EditSpinnerType t) {
    return t == EDITTYPE_INT || t == EDITTYPE_POS_INT || t == EDITTYPE_TIME;
}

class SpinnerInterface final : public ISpinnerControl {
public:
    explicit SpinnerInterface(std::shared_ptr<SpinnerState> s) : mState(std::move(s)) {}

    HWND GetHwnd() override { return mState->hwnd; }
    void Enable(BOOL onOff) override {
        mState->enabled = onOff != FALSE;
        Repaint(mState->hwnd);
    }
    void Disable() override { Enable(FALSE); }
    BOOL IsEnabled() override { return mState->enabled ? TRUE : FALSE; }

    float GetFVal() override { return static_cast<float>(mState->value); }
    int GetIVal() override {
        const double r = std::round(mState->value);
        return static_cast<int>(std::clamp(r, double{INT32_MIN}, double{INT32_MAX}));
    }
    void SetScale(float s) override {
        if (std::isfinite(s)) mState->scale = s;
    }
    void SetValue(float v, int notify) override { Set(v, notify); }
    void SetValue(int v, int notify) override { Set(v, notify); }
    void SetLimits(int min, int max, int limitCurValue) override { Limit(min, max, limitCurValue); }
    void SetLimits(float min, float max, int limitCurValue) override {
        Limit(min, max, limitCurValue);
    }
    void LinkToEdit(HWND hEdit, EditSpinnerType type) override {
        mState->edit = hEdit;
        mState->editType = type;
        mState->integer = IsIntegerType(type);
        mState->value = mState->Fit(mState->value);
        mState->ShowInEdit();
    }

private:
    void Set(double v, int notify) {
        if (std::isnan(v)) return;
        mState->value = mState->Fit(v);
        mState->ShowInEdit();
        if (notify && mState->notify) {
            mState->notify(mState->context, CC_SPINNER_CHANGE, MAKEWPARAM(mState->ctrlId, FALSE),
                           reinterpret_cast<LPARAM>(static_cast<ISpinnerControl*>(this)));
        }
    }
    void Limit(double min, double max, int limitCurValue) {
        if (std::isnan(min) || std::isnan(max)) return;
        mState->low = std::min(min, max);
        mState->high = std::max(min, max);
        if (limitCurValue) {
            mState->value = mState->Fit(mState->value);
            mState->ShowInEdit();
        }
    }

    std::shared_ptr<SpinnerState> mState;
};

COLORREF ToColorRef(const AColor& c) {
    auto byte = [](float v) {
        return static_cast<BYTE>(
            std::lround(std::clamp(std::isnan(v) ? 0.f : v, 0.f, 1.f) * 255.f));
    };
    return RGB(byte(c.r), byte(c.g), byte(c.b));
}

class SwatchInterface final : public IColorSwatch {
public:
    explicit SwatchInterface(std::shared_ptr<SwatchState> s) : mState(std::move(s)) {}

    HWND GetHwnd() override { return mState->hwnd; }
    void Enable(BOOL onOff) override {
        mState->enabled = onOff != FALSE;
        Repaint(mState->hwnd);
    }
    void Disable() override { Enable(FALSE); }
    BOOL IsEnabled() override { return mState->enabled ? TRUE : FALSE; }

    COLORREF SetColor(COLORREF c, int notify) override {
        const COLORREF old = GetColor();
        Set(AColor(GetRValue(c) / 255.f, GetGValue(c) / 255.f, GetBValue(c) / 255.f, 1.f), notify);
        return old;
    }
    AColor SetAColor(AColor c, int notify) override {
        const AColor old = mState->color;
        Set(c, notify);
        return old;
    }
    COLORREF GetColor() override { return ToColorRef(mState->color); }
    AColor GetAColor() override { return mState->color; }

private:
    void Set(const AColor& c, int notify) {
        mState->color = c;
        Repaint(mState->hwnd);
        if (notify && mState->notify) {
            mState->notify(mState->context, CC_COLOR_CHANGE, MAKEWPARAM(mState->ctrlId, 0),
                           reinterpret_cast<LPARAM>(static_cast<IColorSwatch*>(this)));
        }
    }

    std::shared_ptr<SwatchState> mState;
};

}  // namespace

bool CreateSpinnerControl(HWND hwnd, int ctrlId, CustomControlNotifyFn notify, void* context) {
    if (!hwnd) return false;
    ControlRegistry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto state = std::make_shared<SpinnerState>();
    state->hwnd = hwnd;
    state->ctrlId = ctrlId;
    state->notify = notify;
    state->context = context;
    return r.spinners.emplace(hwnd, std::move(state)).second;
}

bool CreateColorSwatchControl(HWND hwnd, int ctrlId, CustomControlNotifyFn notify, void* context) {
    if (!hwnd) return false;
    ControlRegistry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto state = std::make_shared<SwatchState>();
    state->hwnd = hwnd;
    state->ctrlId = ctrlId;
    state->notify = notify;
    state->context = context;
    return r.swatches.emplace(hwnd, std::move(state)).second;
}

void DestroyCustomControl(HWND hwnd) {
    ControlRegistry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    // An interface still out no longer reaches a window or a parent.
    if (auto it = r.spinners.find(hwnd); it != r.spinners.end()) {
        it->second->hwnd = nullptr;
        it->second->notify = nullptr;
        it->second->edit = nullptr;
        r.spinners.erase(it);
    }
    if (auto it = r.swatches.find(hwnd); it != r.swatches.end()) {
        it->second->hwnd = nullptr;
        it->second->notify = nullptr;
        r.swatches.erase(it);
    }
}

bool CommitSpinnerEdit(HWND edit) {
    std::shared_ptr<SpinnerState> state;
    {
        ControlRegistry& r = Controls();
        std::lock_guard<std::mutex> lock(r.mutex);
        for (const auto& [hwnd, s] : r.spinners)
            if (edit && s->edit == edit) state = s;
    }
    if (!state) return false;
    wchar_t text[64] = {};
    GetWindowTextW(edit, text, 64);
    wchar_t* end = nullptr;
    const double v = std::wcstod(text, &end);
    SpinnerInterface spin(state);
    if (end == text || !std::isfinite(v))
        state->ShowInEdit();
    else
        spin.SetValue(static_cast<float>(v), TRUE);
    return true;
}

bool StepSpinner(HWND spinner, int steps) {
    std::shared_ptr<SpinnerState> state;
    {
        ControlRegistry& r = Controls();
        std::lock_guard<std::mutex> lock(r.mutex);
        if (auto it = r.spinners.find(spinner); it != r.spinners.end()) state = it->second;
    }
    if (!state || !state->enabled || steps == 0) return false;
    // An integer spinner moves by at least one.
    const double step =
        state->integer ? std::max(1.0, std::round(double{state->scale})) : double{state->scale};
    SpinnerInterface spin(state);
    spin.SetValue(static_cast<float>(state->value + steps * step), TRUE);
    return true;
}

ISpinnerControl* GetISpinner(HWND hCtrl) {
    if (!hCtrl) return nullptr;
    ControlRegistry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.spinners.find(hCtrl);
    return it == r.spinners.end() ? nullptr : new SpinnerInterface(it->second);
}

void ReleaseISpinner(ISpinnerControl* isc) {
    // Only interfaces this host handed out are its to delete.
    delete dynamic_cast<SpinnerInterface*>(isc);
}

IColorSwatch* GetIColorSwatch(HWND hCtrl) {
    if (!hCtrl) return nullptr;
    ControlRegistry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.swatches.find(hCtrl);
    return it == r.swatches.end() ? nullptr : new SwatchInterface(it->second);
}

void ReleaseIColorSwatch(IColorSwatch* ics) {
    delete dynamic_cast<SwatchInterface*>(ics);
}
