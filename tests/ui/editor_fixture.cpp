#include "editor_fixture.h"

#include <filesystem>

namespace QuarelTest {
namespace {

UINT RecordAndChoose(void* context, const W32PopupMenuRequest* request) {
    auto* test =
        static_cast<std::pair<std::vector<ShownMenu>*, std::function<UINT(const ShownMenu&)>*>*>(
            context);
    ShownMenu menu;
    menu.x = request->x;
    menu.y = request->y;
    menu.owner = request->owner;
    menu.flags = request->flags;
    for (UINT i = 0; i < request->itemCount; ++i) {
        const W32MenuItemView& v = request->items[i];
        menu.items.push_back({v.id, v.flags, v.text, v.bitmap});
    }
    test->first->push_back(menu);
    return *test->second ? (*test->second)(menu) : 0;
}

std::pair<std::vector<ShownMenu>*, std::function<UINT(const ShownMenu&)>*> gChooserContext;

}  // namespace

void EditorTest::SetUp() {
    LogDirTest::SetUp();
    const std::filesystem::path copy = mDir / "QuarelMap.dlt";
    std::filesystem::copy_file(QUAREL_MODULE_PATH, copy);
    std::string error;
    mModule = PluginModule::Load(copy.string(), &error);
    ASSERT_NE(mModule, nullptr) << error;
    mEditor = CreateWindowExW(0, L"STATIC", L"Material Editor", WS_POPUP | WS_VISIBLE, 100, 50, 400,
                              900, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(mEditor, nullptr);
    gChooserContext = {&mMenus, &mChooser};
    W32SetPopupMenuChooser(RecordAndChoose, &gChooserContext);
    GetCOREInterface()->SetTime(0);
}

void EditorTest::TearDown() {
    W32SetPopupMenuChooser(nullptr, nullptr);
    W32SetKeyState(VK_MENU, FALSE);
    if (mEditor) DestroyWindow(mEditor);
    if (mModule) mModule->Unload();
    mModule.reset();
    GetCOREInterface()->SetTime(0);
    LogDirTest::TearDown();
}

ClassDesc2* EditorTest::Desc(int cls) const {
    return static_cast<ClassDesc2*>(mModule->GetClassDesc(cls));
}

Opened EditorTest::Open(int cls, const std::function<void(ReferenceTarget*)>& prepare) {
    Opened o;
    auto* object = static_cast<Animatable*>(Desc(cls)->Create(FALSE));
    auto* target = dynamic_cast<ReferenceTarget*>(object);
    EXPECT_NE(target, nullptr);
    o.holder = std::make_unique<SingleRefMaker>(target);
    if (prepare) prepare(target);
    o.dlg = Desc(cls)->CreateParamDlgs(mEditor, nullptr, target);
    EXPECT_NE(o.dlg, nullptr);
    return o;
}

void EditorTest::Close(Opened& o) {
    if (o.dlg) o.dlg->DeleteThis();
    o.dlg = nullptr;
    o.holder.reset();
}

void EditorTest::Choose(UINT command) {
    mChooser = [command](const ShownMenu&) { return command; };
}

void EditorTest::Choose(std::function<UINT(const ShownMenu&)> chooser) {
    mChooser = std::move(chooser);
}

void EditorTest::ClickPatternCombo(const Opened& o) {
    SendMessageW(o.Control(0, 1001), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
}

bool EditorTest::LogHas(const std::string& message) const {
    for (const std::string& line : LogLines())
        if (LineMessage(line) == message) return true;
    return false;
}

int EditorTest::LogCount(const std::string& messagePrefix) const {
    int n = 0;
    for (const std::string& line : LogLines())
        if (LineMessage(line).substr(0, messagePrefix.size()) == messagePrefix) ++n;
    return n;
}

MemoryCanvas::MemoryCanvas(int width, int height, COLORREF fill) {
    HDC screen = GetDC(nullptr);
    mDc = CreateCompatibleDC(screen);
    mBitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    mOld = SelectObject(mDc, mBitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(mDc, &all, brush);
    DeleteObject(brush);
}

MemoryCanvas::~MemoryCanvas() {
    SelectObject(mDc, mOld);
    DeleteDC(mDc);
    DeleteObject(mBitmap);
}

std::vector<COLORREF> MemoryCanvas::Pixels() const {
    return BitmapPixels(mBitmap);
}

std::vector<COLORREF> BitmapPixels(HBITMAP bitmap, int* width, int* height) {
    BITMAP bm{};
    if (GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm)) return {};
    if (width) *width = static_cast<int>(bm.bmWidth);
    if (height) *height = static_cast<int>(bm.bmHeight);
    std::vector<COLORREF> pixels(static_cast<std::size_t>(bm.bmWidth * bm.bmHeight));
    W32CopyBitmapPixels(bitmap, pixels.data(), static_cast<UINT>(pixels.size()));
    return pixels;
}

COLORREF ExpectedBrickColour(std::int32_t brickU, std::int32_t brickV, bool secondSet) {
    std::uint32_t k = (static_cast<std::uint32_t>(brickU) * 374761393u) ^
                      (static_cast<std::uint32_t>(brickV) * 668265263u) ^ 0x36605A39u;
    k ^= k >> 13;
    k *= 1274126177u;
    k ^= k >> 16;
    const float f = static_cast<float>(k & 0xFFFFFFu) * 5.9604645e-08f * 0.08f;
    const int first[3] = {108, 91, 88};
    const int second[3] = {218, 214, 210};
    const int* base = secondSet ? second : first;
    COLORREF c = 0;
    for (int ch = 0; ch < 3; ++ch)
        c |= static_cast<COLORREF>(base[ch] +
                                   static_cast<int>(static_cast<float>(255 - base[ch]) * f))
             << (8 * ch);
    return c;
}

}  // namespace QuarelTest
