#include "wincheck/editor_script.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <fstream>
#include <map>
#include <memory>

#include "custcont.h"
#include "host/material_editor.h"
#include "iparamm2.h"
#include "maxapi.h"
#include "params/main_params.h"
#include "preview/setup/plugin_host.h"
#include "resources/resource_ids.h"

namespace QuarelWin {
namespace {

using QuarelNS::MainParam::brick_color;
using QuarelNS::MainParam::gap_u;
using QuarelNS::MainParam::nx;
using QuarelNS::MainParam::pattern;
using QuarelNS::MainParam::random_fragment_on;
using namespace QuarelRes;

constexpr UINT kFirstPatternCommand = 0x8000;  // the picker's command of pattern 0
constexpr int kHerringbone = 5;

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

std::string WindowText(HWND hwnd) {
    wchar_t text[128] = {};
    if (hwnd == nullptr || GetWindowTextW(hwnd, text, 128) < 0) return "?";
    return Narrow(text);
}

std::string ColourText(const AColor& c) {
    return Format("%.3f,%.3f,%.3f", c.r, c.g, c.b);
}

// What the pattern combo box tells its rollout (WM_COMMAND notifications), recorded by a
// subclass of the rollout's window in front of the dialog's own procedure.
// Also where the rollout was last asked to draw each list item (WM_DRAWITEM), which only a
// real screen asks for.
std::vector<WORD> gComboNotes;
std::map<UINT, RECT> gDrawnItems;
WNDPROC gRolloutProc = nullptr;

LRESULT CALLBACK RecordComboNotes(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_PATTERN) gComboNotes.push_back(HIWORD(wParam));
    if (msg == WM_DRAWITEM && wParam == IDC_PATTERN && lParam != 0) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!(dis->itemState & ODS_COMBOBOXEDIT)) gDrawnItems[dis->itemID] = dis->rcItem;
    }
    return CallWindowProcW(gRolloutProc, hwnd, msg, wParam, lParam);
}

std::string NoteName(WORD code) {
    static const char* const names[] = {"0",
                                        "CBN_SELCHANGE",
                                        "CBN_DBLCLK",
                                        "CBN_SETFOCUS",
                                        "CBN_KILLFOCUS",
                                        "CBN_EDITCHANGE",
                                        "CBN_EDITUPDATE",
                                        "CBN_DROPDOWN",
                                        "CBN_CLOSEUP",
                                        "CBN_SELENDOK",
                                        "CBN_SELENDCANCEL"};
    return code < sizeof names / sizeof names[0] ? names[code] : std::to_string(code);
}

// The transcript: printed line by line, and compared with the other platform's when given.
class Transcript {
public:
    Transcript(std::FILE* out, const std::vector<std::string>* expected)
        : mOut(out), mExpected(expected) {}

    // False from the first line that differs on.
    bool Line(const std::string& line) {
        if (mDiffered) return false;
        std::fprintf(mOut, "%s\n", line.c_str());
        if (mExpected != nullptr) {
            const std::string other = mLine < mExpected->size() ? (*mExpected)[mLine] : "(nothing)";
            if (other != line) {
                std::fprintf(mOut, "DIFFERS from line %zu of the other platform's transcript:\n",
                             mLine + 1);
                std::fprintf(mOut, "  there: %s\n  here:  %s\n", other.c_str(), line.c_str());
                mDiffered = true;
            }
        }
        ++mLine;
        std::fflush(mOut);
        return !mDiffered;
    }
    // The other platform's transcript went on beyond this one.
    void End() {
        if (mExpected != nullptr && !mDiffered && mLine < mExpected->size()) {
            std::fprintf(mOut, "DIFFERS: the other platform's transcript goes on at line %zu: %s\n",
                         mLine + 1, (*mExpected)[mLine].c_str());
            mDiffered = true;
        }
    }
    bool Differed() const { return mDiffered; }

private:
    std::FILE* mOut;
    const std::vector<std::string>* mExpected;
    std::size_t mLine = 0;
    bool mDiffered = false;
};

// The module's log, read anew after each step: its new messages without the time and thread
// prefix, each pointer named by the order in which it first appeared.
class LogReader {
public:
    explicit LogReader(std::string path) : mPath(std::move(path)) {}

    // A point the log may name, in pixels that depend on font metrics: named instead.
    void NamePlace(POINT at, const char* name) {
        mPlace = Format("(%ld,%ld)", static_cast<long>(at.x), static_cast<long>(at.y));
        mPlaceName = name;
    }

    std::vector<std::string> NewMessages() {
        std::vector<std::string> lines;
        std::ifstream in(mPath, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        std::vector<std::string> fresh;
        for (std::size_t i = mSeen; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.rfind("================", 0) == 0) continue;  // banners carry the date
            std::string message = NamePointers(MessageOf(line));
            if (!mPlace.empty())
                if (const std::size_t at = message.find(mPlace); at != std::string::npos)
                    message.replace(at, mPlace.size(), mPlaceName);
            fresh.push_back(std::move(message));
        }
        if (lines.size() > mSeen) mSeen = lines.size();
        return fresh;
    }
    void SkipAll() { NewMessages(); }
    // Objects went and others may take their addresses: later pointers get new names.
    void ForgetPointers() { mNames.clear(); }

private:
    static std::string MessageOf(const std::string& line) {
        if (line.empty() || line[0] != '[') return line;
        const std::size_t end = line.find("] ");
        return end == std::string::npos ? line : line.substr(end + 2);
    }
    std::string NamePointers(const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            std::size_t j = i + 2;
            if (text.compare(i, 2, "0x") == 0) {
                while (j < text.size() && std::isxdigit(static_cast<unsigned char>(text[j]))) ++j;
            }
            if (j - i < 6 || text.compare(i, 2, "0x") != 0) {
                out += text[i++];
                continue;
            }
            const std::string digits = text.substr(i + 2, j - i - 2);
            if (digits.find_first_not_of('0') == std::string::npos) {
                out += "<null>";
            } else {
                auto [it, added] = mNames.emplace(digits, mNextName);
                if (added) ++mNextName;
                out += "<p" + std::to_string(it->second) + ">";
            }
            i = j;
        }
        return out;
    }

    std::string mPath;
    std::string mPlace, mPlaceName;
    std::size_t mSeen = 0;
    std::map<std::string, int> mNames;
    int mNextName = 1;
};

// The script's objects and the steps that use them.
class UserScript {
public:
    UserScript(EditorDesk& desk, Transcript& transcript)
        : mDesk(desk), mOut(transcript), mLog(desk.LogPath()) {}
    ~UserScript() { CloseRollouts(); }

    int Run(const std::string& modulePath);

private:
    // --- the objects
    bool Load(const std::string& modulePath) {
        std::string error;
        mHost = QuarelPreview::PluginHost::Load(modulePath, error);
        if (!mHost) return Fail("the module does not load: " + error);
        mSlot = mHost->NewMap(error);
        if (!mSlot) return Fail("no map: " + error);
        mMap = mSlot->Get();
        return true;
    }
    bool OpenRollouts() {
        auto* cd = dynamic_cast<ClassDesc2*>(mHost->MapClass());
        mDlg = cd != nullptr ? cd->CreateParamDlgs(mEditor, nullptr, mMap) : nullptr;
        if (mDlg == nullptr || RolloutMapCount(mDlg) < 2) return Fail("the map shows no rollouts");
        mBlock = RolloutMap(mDlg, 0)->GetParamBlock();
        gComboNotes.clear();
        const LONG_PTR previous = SetWindowLongPtrW(Rollout(0), GWLP_WNDPROC,
                                                    reinterpret_cast<LONG_PTR>(&RecordComboNotes));
        if (gRolloutProc == nullptr) gRolloutProc = reinterpret_cast<WNDPROC>(previous);
        if (gRolloutProc != reinterpret_cast<WNDPROC>(previous))
            return Fail("the rollouts have different window procedures");
        return mBlock != nullptr || Fail("the rollouts have no block");
    }
    void CloseRollouts() {
        if (mDlg != nullptr) mDlg->DeleteThis();
        mDlg = nullptr;
    }
    HWND Rollout(int map) const {
        return mDlg != nullptr && map < RolloutMapCount(mDlg) ? RolloutMap(mDlg, map)->GetHWnd()
                                                              : nullptr;
    }
    HWND Control(int map, int id) const {
        HWND rollout = Rollout(map);
        return rollout != nullptr ? GetDlgItem(rollout, id) : nullptr;
    }
    HWND Combo() const { return Control(0, IDC_PATTERN); }
    // The block of the open rollouts, or null when the map is gone.
    IParamBlock2* Block() const {
        return mDlg != nullptr && RolloutMapCount(mDlg) > 0 ? RolloutMap(mDlg, 0)->GetParamBlock()
                                                            : mBlock;
    }

    // --- the transcript
    bool Fail(const std::string& what) {
        mOut.Line("FAIL " + mStep + ": " + what);
        mFailed = true;
        return false;
    }
    bool Expect(bool ok, const std::string& what) { return ok || Fail(what); }

    std::string BlockState() const {
        IParamBlock2* pb = Block();
        if (pb == nullptr) return "block: gone";
        return Format("block: pattern=%d nx=%d gap_u=%.3f random_fragment_on=%d brick_color=%s",
                      pb->GetInt(pattern, 0), pb->GetInt(nx, 0), pb->GetFloat(gap_u, 0),
                      pb->GetInt(random_fragment_on, 0),
                      ColourText(pb->GetAColor(brick_color, 0)).c_str());
    }
    std::string ControlState() const {
        HWND combo = Combo();
        if (combo == nullptr) return "controls: closed";
        std::string swatch = "?";
        if (IColorSwatch* s = GetIColorSwatch(Control(1, IDC_BRICK_COLOR))) {
            swatch = ColourText(s->GetAColor());
            ReleaseIColorSwatch(s);
        }
        return Format(
            "controls: combo=%d of %d nx_edit=%s gap_u_edit=%s fragment_check=%u "
            "brick_swatch=%s",
            static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)),
            static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)),
            WindowText(Control(0, IDC_NX_EDIT)).c_str(),
            WindowText(Control(0, IDC_GAP_U_EDIT)).c_str(),
            IsDlgButtonChecked(Rollout(0), IDC_RANDOM_FRAGMENT), swatch.c_str());
    }
    // Ends a step: its line, the state and the log's new messages.
    bool Report(const std::string& what) {
        if (!mOut.Line("step " + std::to_string(mStepNumber) + " " + mStep + ": " + what))
            return false;
        if (!mOut.Line("  " + BlockState()) || !mOut.Line("  " + ControlState())) return false;
        if (!gComboNotes.empty()) {
            std::string notes;
            for (WORD code : gComboNotes) notes += (notes.empty() ? "" : ", ") + NoteName(code);
            gComboNotes.clear();
            if (!mOut.Line("  combo box told its rollout: " + notes)) return false;
        }
        for (const std::string& message : mLog.NewMessages())
            if (!mOut.Line("  log: " + message)) return false;
        return true;
    }
    void Begin(const char* step) {
        mStep = step;
        ++mStepNumber;
    }
    bool Stopped() const { return mOut.Differed(); }

    std::string MenuSummary(const MenuSeen& menu) const {
        int columns = 1, grayed = 0, bitmaps = 0;
        std::string ticked = "none";
        for (const MenuItemSeen& item : menu.items) {
            columns += item.columnBreak ? 1 : 0;
            grayed += item.grayed ? 1 : 0;
            bitmaps += item.bitmap ? 1 : 0;
            if (item.checked)
                ticked =
                    Format("%u ", item.id >= kFirstPatternCommand ? item.id - kFirstPatternCommand
                                                                  : item.id) +
                    Narrow(item.text);
        }
        return Format("menu of %zu items in %d columns, %d greyed, %d with swatches, ticked: %s",
                      menu.items.size(), columns, grayed, bitmaps, ticked.c_str());
    }
    // Clicks the pattern combo box, the way a user opens the picker, which opens under it.
    void ClickCombo() {
        HWND combo = Combo();
        RECT r{};
        GetWindowRect(combo, &r);
        mLog.NamePlace(POINT{r.left, r.bottom}, "(the combo box's bottom left)");
        SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    }

    // --- the steps
    bool StepOpen();
    bool StepComboSelect();
    bool StepComboKeyboard();
    bool StepPicker();
    bool StepPickerTick();
    bool StepCheckBox();
    bool StepSpinner();
    bool StepSpinnerArrows();
    bool StepColourSwatch();
    bool StepBlockToControls();
    bool StepCloseWhileMenuOpen();
    bool StepDeleteMapWhileOpen();

    EditorDesk& mDesk;
    Transcript& mOut;
    LogReader mLog;
    std::unique_ptr<QuarelPreview::PluginHost> mHost;
    std::unique_ptr<QuarelPreview::MapSlot> mSlot;
    Texmap* mMap = nullptr;
    HWND mEditor = nullptr;
    IAutoMParamDlg* mDlg = nullptr;
    IParamBlock2* mBlock = nullptr;
    std::string mStep = "load";
    int mStepNumber = 0;
    bool mFailed = false;
};

bool UserScript::StepOpen() {
    Begin("open the rollouts");
    mEditor = CreateWindowExW(0, L"STATIC", L"Material Editor", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                              100, 50, 400, 900, nullptr, nullptr, nullptr, nullptr);
    if (mEditor == nullptr) return Fail("cannot create the editor window");
    if (!OpenRollouts()) return false;
    // Sizes in dialog units: the pixels follow the dialog font's metrics, which differ with
    // the fonts a system has.
    std::string sizes;
    for (int i = 0; i < RolloutMapCount(mDlg); ++i) {
        RECT r{}, units{0, 0, 4, 8};
        GetClientRect(Rollout(i), &r);
        MapDialogRect(Rollout(i), &units);
        if (units.right <= 0 || units.bottom <= 0) return Fail("no dialog base units");
        sizes += Format("%s%ldx%ld", i ? "," : "", static_cast<long>(r.right * 4 / units.right),
                        static_cast<long>(r.bottom * 8 / units.bottom));
    }
    // The editor shows the rollouts' panel whole.
    RECT panel{};
    GetClientRect(GetParent(Rollout(0)), &panel);
    mDesk.Present(mEditor, panel.right, panel.bottom, "editor-rollouts");
    Expect(RolloutMapCount(mDlg) == 4, Format("%d rollouts, not 4", RolloutMapCount(mDlg)));
    Expect(SendMessageW(Combo(), CB_GETCOUNT, 0, 0) == 30, "the combo box does not list 30");
    std::string titles;
    for (int i = 0; i < RolloutMapCount(mDlg); ++i)
        titles += (i ? ", " : "") + WindowText(GetDlgItem(GetParent(Rollout(i)),
                                                          RolloutMap(mDlg, i)->DialogTemplateID()));
    return Report(Format("%d rollouts of %s dialog units: %s", RolloutMapCount(mDlg), sizes.c_str(),
                         titles.c_str()));
}

bool UserScript::StepComboSelect() {
    Begin("select in the combo box");
    HWND combo = Combo();
    SendMessageW(combo, CB_SETCURSEL, 7, 0);
    SendMessageW(Rollout(0), WM_COMMAND, MAKEWPARAM(IDC_PATTERN, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    Expect(Block()->GetInt(pattern, 0) == 7, "CBN_SELCHANGE did not store pattern 7");
    // The list dropped: its owner-drawn items paint their swatches.
    gDrawnItems.clear();
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const std::string seen =
        mDesk.CheckDroppedSwatch(combo, 7, 7, gDrawnItems, "editor-combo-list");
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Expect(seen.empty(), "the dropped list: " + seen);
    return Report("item 7 chosen, CBN_SELCHANGE sent, list dropped and closed");
}

bool UserScript::StepComboKeyboard() {
    Begin("arrow key on the combo box");
    SendMessageW(Combo(), WM_KEYDOWN, VK_DOWN, 0);
    Expect(Block()->GetInt(pattern, 0) == 8, "the down arrow did not store pattern 8");
    mDesk.Present(mEditor, 0, 0, "editor-rollouts-pattern");
    return Report("down arrow");
}

bool UserScript::StepPicker() {
    Begin("pick from the picker");
    std::string summary;
    mDesk.AnswerNextMenu(
        [&](const MenuSeen& menu) {
            summary = MenuSummary(menu);
            return kFirstPatternCommand + kHerringbone;
        },
        "editor-picker");
    ClickCombo();
    Expect(mDesk.MenuWasAnswered(), "clicking the combo box opened no menu");
    Expect(Block()->GetInt(pattern, 0) == kHerringbone, "the picker did not store Herringbone");
    Expect(SendMessageW(Combo(), CB_GETCURSEL, 0, 0) == kHerringbone,
           "the combo box does not show Herringbone");
    return Report(summary + "; chose 5");
}

bool UserScript::StepPickerTick() {
    Begin("open the picker again");
    std::string summary;
    mDesk.AnswerNextMenu([&](const MenuSeen& menu) {
        summary = MenuSummary(menu);
        return 0u;
    });
    ClickCombo();
    Expect(mDesk.MenuWasAnswered(), "clicking the combo box opened no menu");
    Expect(summary.find("ticked: 5 Herringbone") != std::string::npos, "the tick did not move");
    return Report(summary + "; dismissed");
}

bool UserScript::StepCheckBox() {
    Begin("click a check box");
    SendMessageW(Control(0, IDC_RANDOM_FRAGMENT), BM_CLICK, 0, 0);
    Expect(Block()->GetInt(random_fragment_on, 0) == 1, "Random Fragment did not reach the block");
    return Report("Random Fragment");
}

bool UserScript::StepSpinner() {
    Begin("type into a spinner's field");
    mDesk.Type(Control(0, IDC_NX_EDIT), L"7");
    Expect(Block()->GetInt(nx, 0) == 7, "the count did not reach the block");
    return Report("Horiz. Count 7, Return");
}

bool UserScript::StepSpinnerArrows() {
    Begin("click spinner arrows");
    // The upper half of a spinner steps up, the lower half down.
    SendMessageW(Control(0, IDC_NX_SPIN), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
    SendMessageW(Control(0, IDC_NX_SPIN), WM_LBUTTONUP, 0, MAKELPARAM(2, 1));
    RECT r{};
    GetClientRect(Control(0, IDC_GAP_U_SPIN), &r);
    const LPARAM low = MAKELPARAM(2, r.bottom - 2);
    SendMessageW(Control(0, IDC_GAP_U_SPIN), WM_LBUTTONDOWN, MK_LBUTTON, low);
    SendMessageW(Control(0, IDC_GAP_U_SPIN), WM_LBUTTONUP, 0, low);
    Expect(Block()->GetInt(nx, 0) == 8, "the count's up arrow did not reach the block");
    Expect(std::abs(Block()->GetFloat(gap_u, 0) - 0.04f) < 1e-6f,
           "the grout's down arrow did not reach the block");
    return Report("Horiz. Count up, Vert. Grout down");
}

bool UserScript::StepColourSwatch() {
    Begin("set a colour swatch");
    IColorSwatch* swatch = GetIColorSwatch(Control(1, IDC_BRICK_COLOR));
    if (swatch == nullptr) return Fail("the Brick 1 swatch has no control");
    swatch->SetAColor(AColor(0.25f, 0.5f, 0.75f, 1.f), TRUE);
    ReleaseIColorSwatch(swatch);
    const AColor c = Block()->GetAColor(brick_color, 0);
    Expect(c.r == 0.25f && c.g == 0.5f && c.b == 0.75f, "the colour did not reach the block");
    const std::string shown =
        mDesk.CheckControlColour(Control(1, IDC_BRICK_COLOR), RGB(64, 128, 191));
    Expect(shown.empty(), "the swatch: " + shown);
    return Report("Brick 1 colour 0.25,0.5,0.75");
}

bool UserScript::StepBlockToControls() {
    Begin("change the block from code");
    IParamBlock2* pb = Block();
    pb->SetValue(pattern, 0, 12);
    pb->SetValue(nx, 0, 3);
    pb->SetValue(gap_u, 0, 0.07f);
    pb->SetValue(random_fragment_on, 0, 0);
    pb->SetValue(brick_color, 0, AColor(0.5f, 0.25f, 0.125f, 1.f));
    const std::string controls = ControlState();
    Expect(controls ==
               "controls: combo=12 of 30 nx_edit=3 gap_u_edit=0.700 fragment_check=0 "
               "brick_swatch=0.500,0.250,0.125",
           "the controls did not follow: " + controls);
    return Report("pattern 12, count 3, grout 0.07, Random Fragment off, Brick 1 0.5,0.25,0.125");
}

bool UserScript::StepCloseWhileMenuOpen() {
    Begin("close the rollouts while the picker is open");
    HWND combo = Combo();
    mDesk.AnswerNextMenu([&](const MenuSeen&) {
        CloseRollouts();  // the editor closes the rollouts meanwhile
        return kFirstPatternCommand + kHerringbone;
    });
    ClickCombo();
    Expect(mDesk.MenuWasAnswered(), "clicking the combo box opened no menu");
    Expect(!IsWindow(combo), "the combo box outlived its rollout");
    Expect(mBlock->GetInt(pattern, 0) == 12, "the choice reached the block of closed rollouts");
    return Report("chose 5 after the close");
}

bool UserScript::StepDeleteMapWhileOpen() {
    Begin("delete the map while its rollouts are open");
    mLog.ForgetPointers();  // the first rollouts' objects are gone
    if (!OpenRollouts()) return false;
    mSlot.reset();  // the slot lets go: the map and its blocks are deleted
    mMap = nullptr;
    mBlock = nullptr;
    Expect(mDlg->GetThing() == nullptr, "the rollouts still name the map");
    // The user goes on using the open rollouts: nothing reaches the deleted map.
    SendMessageW(Control(0, IDC_RANDOM_FRAGMENT), BM_CLICK, 0, 0);
    HWND edit = Control(0, IDC_NX_EDIT);
    SetWindowTextW(edit, L"9");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(Combo(), WM_KEYDOWN, VK_DOWN, 0);
    mDesk.AnswerNextMenu([](const MenuSeen&) { return kFirstPatternCommand + kHerringbone; });
    ClickCombo();
    Expect(mDesk.MenuWasAnswered(), "clicking the combo box opened no menu");
    mDlg->InvalidateUI();
    CloseRollouts();
    return Report("check box, count 9, arrow key, picker chose 5, rollouts closed");
}

int UserScript::Run(const std::string& modulePath) {
    GetCOREInterface()->SetTime(0);
    if (!Load(modulePath)) return 1;
    mLog.SkipAll();  // what loading wrote is the load check's business
    using Step = bool (UserScript::*)();
    const Step steps[] = {
        &UserScript::StepOpen,
        &UserScript::StepComboSelect,
        &UserScript::StepComboKeyboard,
        &UserScript::StepPicker,
        &UserScript::StepPickerTick,
        &UserScript::StepCheckBox,
        &UserScript::StepSpinner,
        &UserScript::StepSpinnerArrows,
        &UserScript::StepColourSwatch,
        &UserScript::StepBlockToControls,
        &UserScript::StepCloseWhileMenuOpen,
        &UserScript::StepDeleteMapWhileOpen,
    };
    for (Step step : steps)
        if (!(this->*step)() || Stopped()) break;
    CloseRollouts();
    if (mEditor != nullptr) DestroyWindow(mEditor);
    mEditor = nullptr;
    mSlot.reset();
    mHost.reset();
    if (!Stopped()) mOut.End();
    return mFailed || Stopped() ? 1 : 0;
}

}  // namespace

int RunEditorScript(EditorDesk& desk, const std::string& modulePath,
                    const std::vector<std::string>* expected, std::FILE* out) {
    Transcript transcript(out, expected);
    UserScript script(desk, transcript);
    const int code = script.Run(modulePath);
    std::fprintf(out, "editor script: %s\n",
                 code == 0 ? (expected ? "every step as on the other platform" : "every step done")
                           : "failed");
    std::fflush(out);
    return code;
}

}  // namespace QuarelWin
