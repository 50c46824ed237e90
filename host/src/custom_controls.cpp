// The host's custom controls: the state of each spinner, kept by its window handle.
#include "host/custom_controls.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
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
};

struct Registry {
    std::mutex mutex;
    std::map<HWND, std::shared_ptr<SpinnerState>> spinners;
};

Registry& Controls() {
    static Registry* r = new Registry;  // outlives every module's static destructors
    return *r;
}

bool IsIntegerType(EditSpinnerType t) {
    return t == EDITTYPE_INT || t == EDITTYPE_POS_INT || t == EDITTYPE_TIME;
}

class SpinnerInterface final : public ISpinnerControl {
public:
    explicit SpinnerInterface(std::shared_ptr<SpinnerState> s) : mState(std::move(s)) {}

    HWND GetHwnd() override { return mState->hwnd; }
    void Enable(BOOL onOff) override { mState->enabled = onOff != FALSE; }
    void Disable() override { mState->enabled = false; }
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
    }

private:
    void Set(double v, int notify) {
        if (std::isnan(v)) return;
        mState->value = mState->Fit(v);
        if (notify && mState->notify) {
            mState->notify(mState->context, CC_SPINNER_CHANGE, MAKEWPARAM(mState->ctrlId, FALSE),
                           reinterpret_cast<LPARAM>(static_cast<ISpinnerControl*>(this)));
        }
    }
    void Limit(double min, double max, int limitCurValue) {
        if (std::isnan(min) || std::isnan(max)) return;
        mState->low = std::min(min, max);
        mState->high = std::max(min, max);
        if (limitCurValue) mState->value = mState->Fit(mState->value);
    }

    std::shared_ptr<SpinnerState> mState;
};

}  // namespace

bool CreateSpinnerControl(HWND hwnd, int ctrlId, CustomControlNotifyFn notify, void* context) {
    if (!hwnd) return false;
    Registry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto state = std::make_shared<SpinnerState>();
    state->hwnd = hwnd;
    state->ctrlId = ctrlId;
    state->notify = notify;
    state->context = context;
    return r.spinners.emplace(hwnd, std::move(state)).second;
}

void DestroyCustomControl(HWND hwnd) {
    Registry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.spinners.find(hwnd);
    if (it == r.spinners.end()) return;
    // An interface still out no longer reaches a window or a parent.
    it->second->hwnd = nullptr;
    it->second->notify = nullptr;
    r.spinners.erase(it);
}

ISpinnerControl* GetISpinner(HWND hCtrl) {
    if (!hCtrl) return nullptr;
    Registry& r = Controls();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.spinners.find(hCtrl);
    return it == r.spinners.end() ? nullptr : new SpinnerInterface(it->second);
}

void ReleaseISpinner(ISpinnerControl* isc) {
    // Only interfaces this host handed out are its to delete.
    delete dynamic_cast<SpinnerInterface*>(isc);
}
