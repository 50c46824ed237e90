// Custom controls: the spinner a rollout fetches by window, sets up, reads and releases.
#include <gtest/gtest.h>

#include <host/custom_controls.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Sent {
    UINT msg;
    WPARAM wParam;
    ISpinnerControl* spinner;
    float value;
};

void Record(void* context, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* spin = reinterpret_cast<ISpinnerControl*>(lParam);
    static_cast<std::vector<Sent>*>(context)->push_back({msg, wParam, spin, spin->GetFVal()});
}

class SpinnerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateSpinnerControl(hwnd, 1007, Record, &sent)); }
    void TearDown() override { DestroyCustomControl(hwnd); }

    std::vector<Sent> sent;
    // Window handles of the test's own: the stand-in keeps no windows yet.
    int windows[2] = {};
    HWND hwnd = reinterpret_cast<HWND>(&windows[0]);
    HWND edit = reinterpret_cast<HWND>(&windows[1]);
};

TEST_F(SpinnerTest, OnlyControlWindowsGiveAnInterfaceAndStateOutlivesIt) {
    EXPECT_EQ(GetISpinner(nullptr), nullptr);
    EXPECT_EQ(GetISpinner(edit), nullptr);
    EXPECT_FALSE(CreateSpinnerControl(hwnd, 1, nullptr, nullptr));  // one control per window
    ReleaseISpinner(nullptr);

    ISpinnerControl* spin = GetISpinner(hwnd);
    ASSERT_NE(spin, nullptr);
    spin->SetValue(2.5f, FALSE);
    spin->Disable();
    ReleaseISpinner(spin);
    spin = GetISpinner(hwnd);
    EXPECT_FLOAT_EQ(spin->GetFVal(), 2.5f);
    EXPECT_FALSE(spin->IsEnabled());

    // The window goes while an interface is still out: it keeps answering, without a window.
    DestroyCustomControl(hwnd);
    EXPECT_EQ(GetISpinner(hwnd), nullptr);
    EXPECT_EQ(spin->GetHwnd(), nullptr);
    spin->SetValue(1.f, TRUE);
    EXPECT_TRUE(sent.empty());
    ReleaseISpinner(spin);
}

TEST_F(SpinnerTest, LimitsClampAndNotificationCarriesTheSpinner) {
    ISpinnerControl* spin = GetISpinner(hwnd);
    spin->SetValue(12.f, FALSE);
    spin->SetLimits(0.f, 9.f, FALSE);  // the current value is left alone
    EXPECT_FLOAT_EQ(spin->GetFVal(), 12.f);
    spin->SetValue(12.f, FALSE);
    EXPECT_FLOAT_EQ(spin->GetFVal(), 9.f);
    spin->SetValue(NAN, FALSE);  // ignored
    EXPECT_FLOAT_EQ(spin->GetFVal(), 9.f);
    spin->SetValue(-INFINITY, FALSE);
    EXPECT_FLOAT_EQ(spin->GetFVal(), 0.f);
    spin->SetValue(9.f, FALSE);
    spin->SetLimits(5.f, 1.f, TRUE);  // taken as 1..5, and the value follows
    EXPECT_FLOAT_EQ(spin->GetFVal(), 5.f);
    EXPECT_TRUE(sent.empty());

    spin->SetValue(3.f, TRUE);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].msg, static_cast<UINT>(CC_SPINNER_CHANGE));
    EXPECT_EQ(sent[0].wParam, WPARAM{1007});  // the control id; the high word: not dragging
    EXPECT_EQ(sent[0].spinner, spin);
    EXPECT_FLOAT_EQ(sent[0].value, 3.f);
    ReleaseISpinner(spin);
}

TEST_F(SpinnerTest, ArrowClicksStepByTheScaleWithinTheLimits) {
    ISpinnerControl* spin = GetISpinner(hwnd);
    spin->SetLimits(0.f, 1.f, FALSE);
    spin->SetScale(0.25f);
    spin->SetValue(0.5f, FALSE);
    EXPECT_TRUE(StepSpinner(hwnd, 1));
    EXPECT_FLOAT_EQ(spin->GetFVal(), 0.75f);
    EXPECT_TRUE(StepSpinner(hwnd, 3));
    EXPECT_FLOAT_EQ(spin->GetFVal(), 1.f);  // clamped
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].msg, static_cast<UINT>(CC_SPINNER_CHANGE));
    EXPECT_FLOAT_EQ(sent[1].value, 1.f);

    // An integer spinner moves by whole numbers, however small its scale.
    spin->LinkToEdit(nullptr, EDITTYPE_INT);
    spin->SetLimits(0, 10, FALSE);
    spin->SetScale(0.1f);
    spin->SetValue(4, FALSE);
    EXPECT_TRUE(StepSpinner(hwnd, -1));
    EXPECT_EQ(spin->GetIVal(), 3);

    // A disabled spinner, or no spinner, takes no clicks.
    spin->Disable();
    sent.clear();
    EXPECT_FALSE(StepSpinner(hwnd, 1));
    EXPECT_FALSE(StepSpinner(edit, 1));
    EXPECT_EQ(spin->GetIVal(), 3);
    EXPECT_TRUE(sent.empty());
    ReleaseISpinner(spin);
}

TEST_F(SpinnerTest, IntegerEditFieldsHoldWholeNumbers) {
    ISpinnerControl* spin = GetISpinner(hwnd);
    spin->SetValue(2.6f, FALSE);
    EXPECT_EQ(spin->GetIVal(), 3);
    spin->LinkToEdit(edit, EDITTYPE_INT);
    EXPECT_FLOAT_EQ(spin->GetFVal(), 3.f);
    spin->SetLimits(0.5f, 2.5f);  // whole numbers within: 1 and 2
    EXPECT_EQ(spin->GetIVal(), 2);
    spin->SetValue(-7, FALSE);
    EXPECT_EQ(spin->GetIVal(), 1);
    spin->SetLimits(INT32_MIN, INT32_MAX);
    spin->SetValue(INT32_MAX, FALSE);  // every int is held exactly
    EXPECT_EQ(spin->GetIVal(), INT32_MAX);
    ReleaseISpinner(spin);
}

}  // namespace
