// Test support: the module loaded by the host's loader from a private copy (fresh module state
// for every test), a material editor window, maps made through the module's class descriptors
// and their rollouts from ClassDesc2::CreateParamDlgs, and a menu chooser that records what the
// user is shown.
#pragma once

#include <gtest/gtest.h>
#include <host/plugin_module.h>
#include <maxapi.h>
#include <w32_probes.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/material_editor.h"
#include "log_fixture.h"

namespace QuarelTest {

// One menu as the chooser saw it.
struct ShownItem {
    UINT id;
    UINT flags;
    std::wstring text;
    HBITMAP bitmap;
};
struct ShownMenu {
    int x = 0, y = 0;
    HWND owner = nullptr;
    UINT flags = 0;
    std::vector<ShownItem> items;
};

// An object of the module held as a material-editor slot holds it, with its open rollouts.
struct Opened {
    std::unique_ptr<SingleRefMaker> holder;
    IAutoMParamDlg* dlg = nullptr;
    ReferenceTarget* object() const { return holder ? holder->GetRef() : nullptr; }
    HWND Rollout(int map) const { return dlg ? RolloutMap(dlg, map)->GetHWnd() : nullptr; }
    HWND Control(int map, int id) const { return GetDlgItem(Rollout(map), id); }
    IParamBlock2* Block(int map) const {
        return dlg ? RolloutMap(dlg, map)->GetParamBlock() : nullptr;
    }
};

class EditorTest : public LogDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new object of class index `cls` (0: QuarelMap, 2: QuarelNormalMap, ...), optionally
    // prepared before its rollouts open.
    Opened Open(int cls, const std::function<void(ReferenceTarget*)>& prepare = {});
    void Close(Opened& o);
    ClassDesc2* Desc(int cls) const;

    // The user's answer to the next menus: a command, or a function of the menu shown.
    void Choose(UINT command);
    void Choose(std::function<UINT(const ShownMenu&)> chooser);
    // Clicks combo box 1001 of a main map's parameters rollout.
    void ClickPatternCombo(const Opened& o);

    bool LogHas(const std::string& message) const;
    int LogCount(const std::string& messagePrefix) const;

    std::unique_ptr<PluginModule> mModule;
    HWND mEditor = nullptr;
    std::vector<ShownMenu> mMenus;  // every menu shown, in order
    std::function<UINT(const ShownMenu&)> mChooser;
};

// A memory context over a fresh width x height bitmap filled with `fill`.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill);
    ~MemoryCanvas();
    HDC dc() const { return mDc; }
    COLORREF At(int x, int y) const { return GetPixel(mDc, x, y); }
    std::vector<COLORREF> Pixels() const;

private:
    HDC mDc = nullptr;
    HBITMAP mBitmap = nullptr;
    HGDIOBJ mOld = nullptr;
};

// The pixels of a bitmap, row by row.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);

// The swatch colour of a brick, written out from its definition: a hash of the indices lightens
// the set's base colour by up to 8 %.
COLORREF ExpectedBrickColour(std::int32_t brickU, std::int32_t brickV, bool secondSet);
constexpr COLORREF kGrout = 0x222222;
constexpr COLORREF kFrame = 0x505050;

}  // namespace QuarelTest
