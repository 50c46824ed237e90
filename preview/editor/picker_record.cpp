#include "preview/editor/picker_record.h"

#include <w32_probes.h>
#include <windows.h>

#include "iparamm2.h"
#include "preview/common/param_table.h"

namespace QuarelPreview {

namespace {

constexpr int kPatternCombo = 1001;

struct Recording {
    int menus = 0;
    std::vector<MenuEntry>* items = nullptr;
};

// Inside TrackPopupMenuEx: the texts live only while the chooser runs, so everything is copied.
UINT RecordAndDismiss(void* context, const W32PopupMenuRequest* request) {
    auto* rec = static_cast<Recording*>(context);
    if (rec->menus++ > 0) return 0;
    for (UINT i = 0; i < request->itemCount; ++i) {
        const W32MenuItemView& view = request->items[i];
        MenuEntry e;
        e.id = view.id;
        e.flags = view.flags;
        e.text = Narrow(view.text);
        BITMAP bm{};
        if (view.bitmap != nullptr &&
            GetObjectW(view.bitmap, sizeof bm, &bm) == static_cast<int>(sizeof bm) &&
            bm.bmWidth > 0 && bm.bmHeight > 0) {
            std::vector<COLORREF> px(static_cast<std::size_t>(bm.bmWidth) *
                                     static_cast<std::size_t>(bm.bmHeight));
            if (W32CopyBitmapPixels(view.bitmap, px.data(), static_cast<UINT>(px.size())) ==
                px.size()) {
                e.bitmapWidth = static_cast<int>(bm.bmWidth);
                e.bitmapHeight = static_cast<int>(bm.bmHeight);
                e.pixels.assign(px.begin(), px.end());
            }
        }
        rec->items->push_back(std::move(e));
    }
    return 0;  // dismissed: the editor changes nothing
}

// The editor window, its rollouts and the chooser, undone in reverse on every path.
class OpenEditor {
public:
    ~OpenEditor() {
        // Reset, not restored: the Win32 layer answers a previous chooser without its context.
        if (mChooserSet) W32SetPopupMenuChooser(nullptr, nullptr);
        if (mDlg != nullptr) mDlg->DeleteThis();
        if (mWindow != nullptr) DestroyWindow(mWindow);
    }
    void SetChooser(W32PopupMenuChooser chooser, void* context) {
        W32SetPopupMenuChooser(chooser, context);
        mChooserSet = true;
    }
    HWND mWindow = nullptr;
    IAutoMParamDlg* mDlg = nullptr;

private:
    bool mChooserSet = false;
};

}  // namespace

bool RecordPatternPicker(const PluginHost& host, Texmap* map, std::vector<MenuEntry>& items,
                         std::string& error) {
    auto* cd = dynamic_cast<ClassDesc2*>(host.MapClass());
    if (cd == nullptr || map == nullptr) {
        error = "the QuarelMap class has no parameter rollouts";
        return false;
    }
    OpenEditor editor;
    editor.mWindow = CreateWindowExW(0, L"STATIC", L"Material Editor", WS_POPUP | WS_VISIBLE, 100,
                                     50, 400, 900, nullptr, nullptr, nullptr, nullptr);
    if (editor.mWindow == nullptr) {
        error = "cannot create the editor window";
        return false;
    }
    editor.mDlg = cd->CreateParamDlgs(editor.mWindow, nullptr, map);
    IParamMap2* rollout =
        editor.mDlg != nullptr && editor.mDlg->NumMaps() > 0 ? editor.mDlg->GetMap(0) : nullptr;
    HWND combo = rollout != nullptr ? GetDlgItem(rollout->GetHWnd(), kPatternCombo) : nullptr;
    if (combo == nullptr) {
        error = "the map's first rollout has no pattern combo box (control 1001)";
        return false;
    }
    items.clear();
    Recording rec;
    rec.items = &items;
    editor.SetChooser(RecordAndDismiss, &rec);
    SendMessageW(combo, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    if (rec.menus == 0) {
        error = "clicking the pattern combo box opened no menu";
        return false;
    }
    return true;
}

}  // namespace QuarelPreview
