// Dialog templates: shapes every rollout relies on, and consistency of the control layout.
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "resources/dialog_styles.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace QuarelRes {
namespace {

TEST(DialogTemplates, TheModuleCarriesTheRolloutTemplates) {
    std::set<std::uint32_t> ids;
    for (const W32DialogResource& d : DialogTemplates()) {
        ids.insert(d.id);
        EXPECT_EQ(d.style, 0x54000040u) << d.id;
        EXPECT_EQ(d.cx, 217) << d.id;
    }
    EXPECT_EQ(ids, (std::set<std::uint32_t>{100, 101, 102, 103, 104, 105, 106, 107}));
    EXPECT_EQ(FindDialog(99), nullptr);
    EXPECT_EQ(FindDialog(108), nullptr);
}

TEST(DialogTemplates, ControlIdsAreUniqueWithinATemplateAndLabelsHaveNone) {
    for (const W32DialogResource& d : DialogTemplates()) {
        std::set<std::uint32_t> seen;
        for (std::uint32_t i = 0; i < d.itemCount; ++i) {
            const W32DialogItem& it = d.items[i];
            const std::string_view cls = it.windowClass;
            if (cls == "STATIC" || (cls == "BUTTON" && (it.style & 0xF) == Style::kGroupBox)) {
                EXPECT_EQ(it.id, static_cast<std::uint32_t>(IDC_STATIC));
                continue;
            }
            EXPECT_TRUE(seen.insert(it.id).second) << "template " << d.id << " id " << it.id;
            EXPECT_TRUE(it.style & Style::kChild) << it.id;
            EXPECT_TRUE(it.style & Style::kVisible) << it.id;
        }
    }
}

// Every spinner sits two units right of its edit field (id one lower), on the same line.
TEST(DialogTemplates, EverySpinnerIsAttachedToItsEditField) {
    int spinners = 0;
    for (const W32DialogResource& d : DialogTemplates()) {
        for (std::uint32_t i = 0; i < d.itemCount; ++i) {
            const W32DialogItem& spin = d.items[i];
            if (std::string_view(spin.windowClass) != "SpinnerControl") continue;
            ++spinners;
            const W32DialogItem* edit = FindDialogItem(d, spin.id - 1);
            ASSERT_NE(edit, nullptr) << spin.id;
            EXPECT_STREQ(edit->windowClass, "CustEdit");
            EXPECT_EQ(edit->x + edit->cx + 2, spin.x) << spin.id;
            EXPECT_EQ(edit->y, spin.y) << spin.id;
            EXPECT_EQ(edit->cy, spin.cy) << spin.id;
            EXPECT_EQ(spin.cx, 7) << spin.id;
            EXPECT_TRUE(edit->style & Style::kTabStop);
            EXPECT_TRUE(edit->style & Style::kEditAutoHScroll);
        }
    }
    EXPECT_EQ(spinners, 22 + 2 + 2);  // templates 100, 105 and 107
}

TEST(DialogTemplates, PatternComboIsOwnerDrawnWithStrings) {
    const W32DialogItem* combo = FindDialogItem(*FindDialog(100), IDC_PATTERN);
    ASSERT_NE(combo, nullptr);
    EXPECT_STREQ(combo->windowClass, "COMBOBOX");
    const std::uint32_t want = Style::kComboDropDownList | Style::kComboOwnerDrawFixed |
                               Style::kComboHasStrings | Style::kVScroll | Style::kTabStop;
    EXPECT_EQ(combo->style & want, want);
    const W32DialogItem* mode = FindDialogItem(*FindDialog(100), IDC_PROJECTION_MODE);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->style & Style::kComboOwnerDrawFixed, 0u);
}

TEST(DialogTemplates, MapButtonsStartEmptyAndCarrierTemplateBindsItsButton) {
    for (const W32DialogResource& d : DialogTemplates())
        for (std::uint32_t i = 0; i < d.itemCount; ++i)
            if (std::string_view(d.items[i].windowClass) == "CustButton") {
                EXPECT_EQ(std::wstring_view(d.items[i].text), L"None");
            }
    const W32DialogItem* button = FindDialogItem(*FindDialog(104), IDC_NORMAL_INNER);
    ASSERT_NE(button, nullptr);
    EXPECT_STREQ(button->windowClass, "CustButton");
}

}  // namespace
}  // namespace QuarelRes
