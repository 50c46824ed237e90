// quarel-editor-script: the editor script through the Win32 stand-in, the Linux side of
// `quarel-wincheck editor`.
//
//   quarel-editor-script [MODULE]          plays the script, prints its transcript
//   quarel-editor-script png IN.ppm OUT.png
//                                          a window picture taken under Wine, as PNG
//
// The module's log goes to a directory of its own for its run.
#include <w32_probes.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "preview/common/image.h"
#include "preview/setup/plugin_host.h"
#include "wincheck/editor_script.h"

namespace {

// Menus are answered through the stand-in's chooser, which runs inside TrackPopupMenuEx.
class StandInDesk final : public QuarelWin::EditorDesk {
public:
    explicit StandInDesk(std::string logDir) : mLogDir(std::move(logDir)) {}
    ~StandInDesk() override { W32SetPopupMenuChooser(nullptr, nullptr); }

    void AnswerNextMenu(std::function<UINT(const QuarelWin::MenuSeen&)> act, const char*) override {
        mAct = std::move(act);
        mAnswered = false;
        W32SetPopupMenuChooser(&StandInDesk::Choose, this);
    }
    bool MenuWasAnswered() override {
        const bool answered = mAnswered;
        mAnswered = false;
        mAct = nullptr;
        return answered;
    }
    std::string LogPath() const override { return mLogDir + "/QuarelMap.log"; }

private:
    static UINT Choose(void* context, const W32PopupMenuRequest* request) {
        auto* desk = static_cast<StandInDesk*>(context);
        if (!desk->mAct) return 0;
        QuarelWin::MenuSeen seen;
        for (UINT i = 0; i < request->itemCount; ++i) {
            const W32MenuItemView& v = request->items[i];
            QuarelWin::MenuItemSeen item;
            item.id = v.id;
            item.checked = (v.flags & MF_CHECKED) != 0;
            item.grayed = (v.flags & MF_GRAYED) != 0;
            item.columnBreak = (v.flags & (MF_MENUBARBREAK | MF_MENUBREAK)) != 0;
            item.bitmap = v.bitmap != nullptr;
            item.text = v.text != nullptr ? v.text : L"";
            seen.items.push_back(std::move(item));
        }
        auto act = std::move(desk->mAct);
        desk->mAct = nullptr;
        desk->mAnswered = true;
        return act(seen);
    }

    std::string mLogDir;
    std::function<UINT(const QuarelWin::MenuSeen&)> mAct;
    bool mAnswered = false;
};

// A binary PPM (P6, 255) as quarel-wincheck writes its window pictures.
bool ReadPpm(const std::string& path, QuarelPreview::Image& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    if (!(in >> magic >> width >> height >> depth) || magic != "P6" || depth != 255 || width <= 0 ||
        height <= 0 || width > 16384 || height > 16384) {
        error = path + ": not a binary PPM of 8-bit channels";
        return false;
    }
    in.get();  // the one white-space character before the pixels
    image = QuarelPreview::Image(width, height);
    if (!in.read(reinterpret_cast<char*>(image.rgb.data()),
                 static_cast<std::streamsize>(image.rgb.size()))) {
        error = path + ": the pixels are cut short";
        return false;
    }
    return true;
}

int ToPng(const char* ppm, const char* png) {
    QuarelPreview::Image image;
    std::string error;
    if (!ReadPpm(ppm, image, error) || !QuarelPreview::WritePng(image, png, error)) {
        std::fprintf(stderr, "quarel-editor-script: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "png") == 0) return ToPng(argv[2], argv[3]);
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr,
                     "usage: quarel-editor-script [MODULE]\n"
                     "       quarel-editor-script png IN.ppm OUT.png\n");
        return 2;
    }
    std::error_code ec;
    std::string dir = (std::filesystem::temp_directory_path(ec) / "quarel-editor-XXXXXX").string();
    if (ec || mkdtemp(dir.data()) == nullptr) {
        std::fprintf(stderr, "quarel-editor-script: cannot make a directory for the log\n");
        return 1;
    }
    setenv("TMPDIR", dir.c_str(), 1);
    int code = 1;
    {
        StandInDesk desk(dir);
        code = QuarelWin::RunEditorScript(
            desk, argc == 2 ? argv[1] : QuarelPreview::DefaultModulePath(), nullptr, stdout);
    }
    std::filesystem::remove_all(dir, ec);
    return code;
}
