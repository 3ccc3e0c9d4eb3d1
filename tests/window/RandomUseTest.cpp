// A seeded random use of the real main window, checked after every step
// against a small model of the diary. A step is what a user does (clicks,
// keys, the wheel, the navigator, Find, Search All, the file commands with
// their questions answered), a file another computer writes, or the program
// killed and started again. After each step the program keeps its recovery
// file, as it does a few seconds after the last change; then the cells
// shown, the document (its recovery file while it is modified) and the files
// must be what the model says: every line typed stands in the day it was
// typed into, or where the user moved it, and is gone only where the user
// answered a question that let it go.
//
// ORVIK_RANDOM_SEQUENCES sets how many sequences run (scripts/fuzz runs many
// more), ORVIK_RANDOM_SEED the first seed. A failure names the seed and the
// shortest sequence of steps that still fails.
#include "tests/support/CommonDialogs.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/ProgramWindows.h"
#include "tests/support/TempFolder.h"
#include "tests/window/MainFrameFixture.h"

#include "core/MonthGrid.h"
#include "res/RegistryNames.h"
#include "res/SelectorIds.h"
#include "res/resource.h"
#include "storage/RecoveryFile.h"

#include <sys/utime.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <random>

namespace {

using Days = std::map<std::uint32_t, std::string>; // day number -> text; empty days left out

Days DaysOf(const EventStore& store) {
    Days days;
    for (int i = 0; i < store.GetCount(); ++i) {
        if (store.FindIndex(store.GetDateAt(i)) == i && !store.GetTextAt(i).empty())
            days[store.GetDateAt(i).dayNumber] = store.GetTextAt(i);
    }
    return days;
}

Days ReadDays(const std::string& path) {
    EventStore store;
    ParseCalendar(ReadWholeFile(path), store);
    return DaysOf(store);
}

std::string FileBytes(const Days& days) {
    EventStore store;
    for (const auto& [day, text] : days)
        store.Append(Date(day), text);
    return FormatCalendar(store);
}

std::string TextOf(const Days& days, std::uint32_t day) {
    const auto found = days.find(day);
    return found == days.end() ? std::string() : found->second;
}

void SetText(Days& days, std::uint32_t day, const std::string& text) {
    if (text.empty())
        days.erase(day);
    else
        days[day] = text;
}

std::string Shown(const Days& days) {
    std::string text;
    for (const auto& [day, dayText] : days)
        text += Date(day).Format(0) + "=\"" + dayText + "\" ";
    return text.empty() ? "nothing" : text;
}

// The merge the program promises, day by day against the base; with the
// number of days it reports.
std::pair<Days, int> Merge(const Days& base, const Days& ours, const Days& theirs) {
    Days merged = ours;
    Days every = ours;
    every.insert(theirs.begin(), theirs.end());
    int reported = 0;
    for (const auto& entry : every) {
        const std::uint32_t day = entry.first;
        const std::string b = TextOf(base, day), o = TextOf(ours, day), t = TextOf(theirs, day);
        if (o == t || b == t)
            continue;
        ++reported;
        if (b == o || o.empty())
            SetText(merged, day, t);
        else if (!t.empty())
            SetText(merged, day, o + "\r\n----- from the other copy -----\r\n" + t);
    }
    return {merged, reported};
}

// The last line of a text with the line break before it: what a selection
// from the end back over the line's start takes.
std::size_t LastLineStart(const std::string& text) {
    const std::size_t lineBreak = text.rfind("\r\n");
    return lineBreak == std::string::npos ? 0 : lineBreak;
}

enum class Kind { Type, Cut, Undo, Move, Search, Save, Open, New, OutsideChange, Restart };
const char* const kKindNames[] = {"type", "cut",  "undo", "move",           "search",
                                  "save", "open", "new",  "outside change", "restart"};
const int kWeights[] = {26, 12, 8, 16, 6, 8, 4, 3, 8, 4}; // how often each is drawn

// The ways to another day or month: keys, then the navigator's buttons, then the wheel.
const struct {
    WPARAM key;
    int modifiers;
} kMoveKeys[] = {{VK_LEFT, kAlt}, {VK_RIGHT, kAlt},     {VK_UP, kAlt},
                 {VK_DOWN, kAlt}, {VK_PRIOR, kControl}, {VK_NEXT, kControl}};
const int kButtons[] = {IDC_PREVIOUS_YEAR, IDC_PREVIOUS_MONTH, IDC_MONTH_BUTTON, IDC_NEXT_MONTH,
                        IDC_NEXT_YEAR};

struct Action {
    Kind kind;
    int a, b; // a cell, a way to move, a file, an answer: each step takes what it needs
    int id;   // names the lines it types, in any subsequence
};

std::string Describe(const Action& action) {
    return "#" + std::to_string(action.id) + " " + kKindNames[static_cast<int>(action.kind)] +
           " (" + std::to_string(action.a) + ", " + std::to_string(action.b) + ")";
}

std::vector<Action> Generate(unsigned seed, int length) {
    std::mt19937 random(seed);
    std::discrete_distribution<int> kinds(std::begin(kWeights), std::end(kWeights));
    std::uniform_int_distribution<int> any(0, 9999);
    std::vector<Action> actions;
    for (int id = 0; id < length; ++id) {
        const Kind kind = static_cast<Kind>(kinds(random));
        const int a = any(random);
        actions.push_back({kind, a, any(random), id});
    }
    return actions;
}

struct UndoEntry {
    std::uint32_t day;
    std::string before, after;
    bool typing; // typing on at its end joins it
};

// What the diary must be, as far as the user can know.
struct Model {
    Days doc;
    bool modified = false;
    std::string file; // empty while untitled
    std::map<std::string, Days> disk;
    Days base; // the file as the document last read or wrote it
    bool baseKnown = true;
    bool changedUnseen = false;    // the file changed elsewhere, not taken in
    bool keptOurs = false;         // ... and the user kept this diary over it
    std::map<int, UndoEntry> undo; // by cell
    std::string clipboard;
};

// A dialog the step expects, with the answer it gets.
struct Expected {
    const char* caption; // nullptr: any (the system's file dialogs)
    DialogAnswerer::Action answer;
    bool optional = false; // may not come; only last ones
};
const char kProgram[] = "OrvikCalendar"; // the caption of its questions and reports

std::string CompareDialogs(const std::vector<SeenDialog>& seen,
                           const std::vector<Expected>& expected) {
    std::size_t required = 0;
    for (const Expected& dialog : expected)
        required += !dialog.optional;
    bool fits = seen.size() >= required && seen.size() <= expected.size();
    for (std::size_t i = 0; fits && i < seen.size(); ++i)
        fits = !expected[i].caption || seen[i].caption == expected[i].caption;
    if (fits)
        return std::string();
    std::string text = "expected " + std::to_string(required) + " dialogs, saw";
    for (const SeenDialog& dialog : seen)
        text += " [" + dialog.caption + ": " + dialog.text.substr(0, 80) + "]";
    return text;
}

BOOL CALLBACK FindMonthButton(HWND child, LPARAM found) {
    if (GetDlgCtrlID(child) == IDC_MONTH_BUTTON)
        *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
}

class RandomUse : public MainFrameTest {
  protected:
    // One sequence from a fresh start; false with what went wrong first.
    bool Run(const std::vector<Action>& actions, std::string& failure);

  private:
    std::string Path(int choice) const { return temp.PathOf(choice % 2 ? "A.csv" : "B.csv"); }
    void Start();
    void Pump();
    // The month shown, as the navigator names it, and its cells in rows.
    void ReadScreen();
    std::uint32_t DayOf(int cell) const {
        return first.dayNumber + static_cast<std::uint32_t>(cell);
    }
    void Click(int cell);
    void PostTimer(UINT_PTR timer);
    void ComeBackFromAnotherProgram();
    void WriteLater(const std::string& path, const std::string& bytes);
    HWND OwnedDialog(int control) const;

    // Each step changes the model as the program should, gives the dialogs
    // it should show and does what the user does.
    std::vector<Expected> Apply(const Action& action);
    void Edit(const Action& action);
    void Move(const Action& action);
    std::vector<Expected> Search(const Action& action);
    std::vector<Expected> FileCommand(const Action& action);
    std::vector<Expected> OutsideChange(const Action& action);
    std::vector<Expected> Restart(const Action& action);
    // What the program does with the changed file it takes in, answering
    // its question with `answer`.
    std::vector<Expected> TakeIn(int answer);
    void Saved(const std::string& path);
    void Loaded(const std::string& path);
    // An empty untitled diary, as New or a start without a last one leaves it.
    void Untitled(bool modified);
    void Edited(int cell, const std::string& text, bool typing);
    std::string Check();

    PinnedNow today{2026, 3, 12};
    TempFolder temp;
    Model model;
    Date first;
    std::array<HWND, kGridCells> cells{};
    std::vector<std::function<void()>> input; // what the user does in the step
    std::string stepFailure;                  // what the input found wrong
    bool endReached = false;                  // Find said "Not Found!"
};

void RandomUse::Start() {
    CreateFrame();
    SetForegroundWindow(frame->window);
    Pump();
    ReadScreen();
    model.undo.clear();
}

// What is queued, through the loop's filters and its idle pass, as the
// program's own loop runs it.
void RandomUse::Pump() {
    PumpThroughLoop();
    loop.OnIdle(0);
}

void RandomUse::ReadScreen() {
    const std::vector<HWND> found = DayCells(frame->window);
    cells.fill(nullptr);
    for (std::size_t k = 0; k < found.size() && k < cells.size(); ++k)
        cells[k] = found[k];
    HWND button = nullptr;
    EnumChildWindows(frame->window, FindMonthButton, reinterpret_cast<LPARAM>(&button));
    const std::string caption = ShownText(button); // "March 2026"
    int month = 1;
    for (int m = 1; m <= 12; ++m) {
        if (caption.rfind(Date(m, 2000).Format(2), 0) == 0)
            month = m;
    }
    first = FirstGridDate(Date(month, std::atoi(caption.c_str() + caption.find(' ') + 1)), false);
}

void RandomUse::Click(int cell) {
    HWND window = cells[static_cast<std::size_t>(cell)];
    RECT client{};
    GetClientRect(window, &client);
    const LPARAM at = MAKELPARAM(client.right / 3, 3);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    Pump();
}

void RandomUse::PostTimer(UINT_PTR timer) {
    PostMessageA(frame->window, WM_TIMER, timer, 0);
    Pump();
}

// Another program is in front for a moment; then the user comes back.
void RandomUse::ComeBackFromAnotherProgram() {
    HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 900, 700,
                                 60, 40, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    Pump();
    SetForegroundWindow(frame->window);
    Pump();
    DestroyWindow(other);
    Pump();
}

// As another computer's save arrives: dated later than anything before.
void RandomUse::WriteLater(const std::string& path, const std::string& bytes) {
    struct __stat64 status {};
    const std::time_t before = _stat64(path.c_str(), &status) == 0 ? status.st_mtime : 0;
    WriteWholeFile(path, bytes);
    _utimbuf times{};
    times.actime = times.modtime = std::max<std::time_t>(before, std::time(nullptr)) + 60;
    _utime(path.c_str(), &times);
}

// The frame's shown dialog that has that control: the find dialog, the panel.
HWND RandomUse::OwnedDialog(int control) const {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, "#32770", nullptr))) {
        if (GetWindow(found, GW_OWNER) == frame->window && IsWindowVisible(found) &&
            GetDlgItem(found, control))
            return found;
    }
    return nullptr;
}

bool RandomUse::Run(const std::vector<Action>& actions, std::string& failure) {
    frame.reset();
    ResetSettingsKey();
    for (const int file : {0, 1})
        DeleteFileA(Path(file).c_str());
    for (const std::string& file : RecoveryFiles())
        DeleteFileA(file.c_str());
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    model = Model{};
    Start();
    failure = Check();
    for (const Action& action : actions) {
        input.clear();
        stepFailure.clear();
        const std::vector<Expected> expected = Apply(action);
        std::vector<DialogAnswerer::Action> answers;
        for (const Expected& dialog : expected)
            answers.push_back(dialog.answer);
        {
            DialogAnswerer answerer(answers);
            for (const auto& step : input)
                step();
            failure = stepFailure.empty() ? CompareDialogs(answerer.Seen(), expected) : stepFailure;
        }
        if (failure.empty())
            failure = Check();
        if (!failure.empty()) {
            failure = "after " + Describe(action) + ": " + failure;
            return false;
        }
    }
    return true;
}

std::vector<Expected> RandomUse::Apply(const Action& action) {
    switch (action.kind) {
    case Kind::Type:
    case Kind::Cut:
    case Kind::Undo:
        Edit(action);
        return {};
    case Kind::Move:
        Move(action);
        return {};
    case Kind::Search:
        return Search(action);
    case Kind::OutsideChange:
        return OutsideChange(action);
    case Kind::Restart:
        return Restart(action);
    default:
        return FileCommand(action);
    }
}

void RandomUse::Edited(int cell, const std::string& text, bool typing) {
    const std::uint32_t day = DayOf(cell);
    const std::string before = TextOf(model.doc, day);
    if (text == before)
        return;
    const auto entry = model.undo.find(cell);
    // Typing on where the last typing ended is one step for Undo.
    if (typing && entry != model.undo.end() && entry->second.typing && entry->second.day == day &&
        entry->second.after == before)
        entry->second.after = text;
    else
        model.undo[cell] = UndoEntry{day, before, text, typing};
    SetText(model.doc, day, text);
    model.modified = true;
}

// Typing a line at the end of a day; its last line deleted, or cut and
// pasted at the end of another day; Ctrl+Z.
void RandomUse::Edit(const Action& action) {
    const int cell = action.a % kGridCells;
    const std::string text = TextOf(model.doc, DayOf(cell));
    input.push_back([this, cell] { Click(cell); });
    if (action.kind == Kind::Type) {
        const std::string line = "line " + std::to_string(action.id);
        const std::string typed = text.empty() ? line : "\r" + line; // \r: the Enter key
        input.push_back([this, typed] {
            PressKey(VK_END, kControl);
            for (const char c : typed)
                PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
            Pump();
        });
        Edited(cell, text.empty() ? line : text + "\r\n" + line, true);
    } else if (action.kind == Kind::Cut) {
        const bool paste = action.b % 2;
        const int to = action.b / 2 % kGridCells;
        input.push_back([this, paste, to] {
            PressKey(VK_END, kControl);
            PressKey(VK_HOME, kShift);
            PressKey(VK_LEFT, kShift);
            if (!paste) {
                PressKey(VK_DELETE);
                return;
            }
            PressKey('X', kControl);
            Click(to);
            PressKey(VK_END, kControl);
            PressKey('V', kControl);
        });
        if (paste && !text.empty())
            model.clipboard = text.substr(LastLineStart(text));
        Edited(cell, text.substr(0, LastLineStart(text)), false);
        if (paste)
            Edited(to, TextOf(model.doc, DayOf(to)) + model.clipboard, false);
    } else {
        input.push_back([this] { PressKey('Z', kControl); });
        // Wine's edit control says it changed even with nothing to undo.
        model.modified = true;
        const auto entry = model.undo.find(cell);
        if (entry != model.undo.end() && entry->second.day == DayOf(cell) &&
            entry->second.after == text) {
            const UndoEntry undone = entry->second;
            SetText(model.doc, undone.day, undone.before);
            entry->second = UndoEntry{undone.day, undone.after, undone.before, false};
        }
    }
}

// The keys, the navigator's buttons or the wheel; cells that show another
// day afterwards forget their undo.
void RandomUse::Move(const Action& action) {
    const int way = action.a % (6 + 5 + 2);
    input.push_back([this, way, cell = action.b % kGridCells] {
        Click(cell);
        if (way < 6) {
            PressKey(kMoveKeys[way].key, kMoveKeys[way].modifiers);
        } else if (way < 11) {
            HWND month = nullptr;
            EnumChildWindows(frame->window, FindMonthButton, reinterpret_cast<LPARAM>(&month));
            PostMessageA(GetDlgItem(GetParent(month), kButtons[way - 6]), BM_CLICK, 0, 0);
            Pump();
        } else {
            // Over another cell than the focused one, whose text it might scroll.
            RECT over{};
            GetWindowRect(cells[static_cast<std::size_t>((cell + 8) % kGridCells)], &over);
            const short distance = way == 11 ? WHEEL_DELTA : -WHEEL_DELTA;
            PostMessageA(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(distance)),
                         MAKELPARAM(over.left + 4, over.top + 4));
            Pump();
        }
        const std::uint32_t before = first.dayNumber;
        ReadScreen();
        if (first.dayNumber != before)
            model.undo.clear();
    });
}

// The lines of the diary, in date order.
std::vector<std::string> LinesOf(const Days& days) {
    std::vector<std::string> lines;
    for (const auto& day : days) {
        std::size_t start = 0;
        for (std::size_t end; (end = day.second.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(day.second.substr(start, end - start));
        lines.push_back(day.second.substr(start));
    }
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& line) {
                                   return line.empty() || line.rfind("-----", 0) == 0;
                               }),
                lines.end());
    return lines;
}

// Find (Ctrl+F, Enter, Escape) or Search All (Ctrl+Shift+F, Enter, Escape)
// for a line of the diary: some cell shows it selected.
std::vector<Expected> RandomUse::Search(const Action& action) {
    const std::vector<std::string> lines = LinesOf(model.doc);
    if (lines.empty())
        return {};
    const std::string text = lines[static_cast<std::size_t>(action.a) % lines.size()];
    const bool find = action.b % 2;
    input.push_back([this, text, find, cell = action.b / 2 % kGridCells] {
        Click(cell);
        PressKey('F', find ? kControl : kControl | kShift);
        const int field = find ? kFindWhat : IDC_SEARCH_TEXT;
        HWND dialog = OwnedDialog(field);
        if (!dialog) {
            stepFailure = "no dialog to search in";
            return;
        }
        SetDlgItemTextA(dialog, field, text.c_str());
        Pump();
        PressKey(VK_RETURN);
        bool selected = false;
        for (HWND shown : cells) {
            DWORD start = 0, end = 0;
            SendMessageA(shown, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            selected = selected || ShownText(shown).substr(start, end - start) == text;
        }
        if (!selected && !endReached)
            stepFailure = "no cell shows \"" + text + "\" selected";
        PressKey(VK_ESCAPE);
        const std::uint32_t before = first.dayNumber;
        ReadScreen();
        if (first.dayNumber != before)
            model.undo.clear();
    });
    // The find dialog or the panel as it opens, left to the keys; then
    // Find's report that it reached the end from where it went on.
    endReached = false;
    return {{nullptr, [](HWND) {}, true},
            {nullptr,
             [this](HWND dialog) {
                 endReached = true;
                 DialogAnswerer::Press(IDOK)(dialog);
             },
             true}};
}

void RandomUse::Saved(const std::string& path) {
    model.disk[path] = model.doc;
    model.file = path;
    model.modified = false;
    model.base = model.doc;
    model.baseKnown = true;
    model.changedUnseen = model.keptOurs = false;
}

void RandomUse::Loaded(const std::string& path) {
    model.doc = model.disk[path];
    Saved(path);
    model.undo.clear();
}

void RandomUse::Untitled(bool modified) {
    model.doc.clear();
    Saved("");
    model.disk.erase("");
    model.modified = modified;
    model.undo.clear();
}

std::vector<Expected> RandomUse::TakeIn(int answer) {
    const Days theirs = model.disk[model.file];
    model.changedUnseen = false;
    model.undo.clear();
    if (!model.modified) {
        model.doc = theirs;
    } else if (model.baseKnown) {
        const auto [merged, reported] = Merge(model.base, model.doc, theirs);
        model.doc = merged;
        model.base = theirs;
        if (reported == 0)
            return {};
        return {{kProgram, DialogAnswerer::Press(IDOK)}};
    } else if (answer % 2) {
        // Nothing to merge against: the user keeps this diary over the file.
        model.changedUnseen = model.keptOurs = true;
        return {{"Alert", DialogAnswerer::Press(IDCANCEL)}};
    } else {
        Loaded(model.file);
        return {{"Alert", DialogAnswerer::Press(IDOK)}};
    }
    model.base = theirs;
    model.baseKnown = true;
    return {};
}

// Ctrl+S or File > Save As; Ctrl+O answering the save question; Ctrl+N.
std::vector<Expected> RandomUse::FileCommand(const Action& action) {
    const std::string chosen = Path(action.a);
    const int answer = action.b % 3; // Yes, No, Cancel to a question
    std::vector<Expected> expected;
    auto save = [&](bool askForName) {
        askForName = askForName || model.file.empty();
        if (askForName) {
            expected.push_back({nullptr, ChooseFile(chosen)});
            if (model.disk.count(chosen))
                expected.push_back({nullptr, DialogAnswerer::Press(IDYES)}); // replace it?
        }
        const std::string target = askForName ? chosen : model.file;
        // The diary's own file changed elsewhere: taken in first, nothing saved.
        if (target == model.file && model.changedUnseen && !model.keptOurs) {
            for (const Expected& dialog : TakeIn(action.b / 3))
                expected.push_back(dialog);
            input.push_back([this] { PostTimer(CDocumentCommands::kOutsideChangeTimer); });
            return false;
        }
        Saved(target);
        return true;
    };
    switch (action.kind) {
    case Kind::Save: {
        const bool saveAs = action.b % 4 == 0;
        input.push_back([this, saveAs] {
            if (!saveAs) {
                PressKey('S', kControl);
                return;
            }
            PostMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE_AS, 0); // as the menu does
            Pump();
        });
        save(saveAs);
        break;
    }
    case Kind::Open: {
        if (!model.disk.count(chosen))
            return {};
        input.push_back([this] { PressKey('O', kControl); });
        expected.push_back({nullptr, ChooseFile(chosen)});
        bool opens = true;
        if (model.modified) {
            const int answers[] = {IDYES, IDNO, IDCANCEL};
            expected.push_back({kProgram, DialogAnswerer::Press(answers[answer])});
            opens = answer == 1 || (answer == 0 && save(false));
        }
        if (opens)
            Loaded(chosen);
        break;
    }
    default: {
        const bool confirmed = answer != 2;
        input.push_back([this] { PressKey('N', kControl); });
        expected.push_back({"Confirmation", DialogAnswerer::Press(confirmed ? IDOK : IDCANCEL)});
        if (confirmed)
            Untitled(model.modified); // New leaves it as it was
        break;
    }
    }
    input.push_back([this] { ReadScreen(); });
    return expected;
}

// Another computer adds a line to a day shown and its save arrives, at
// times caught half-written first; then the user comes back.
std::vector<Expected> RandomUse::OutsideChange(const Action& action) {
    if (model.file.empty())
        return {};
    Days& theirs = model.disk[model.file];
    const std::uint32_t day = DayOf(action.a % kGridCells);
    const std::string line = "there " + std::to_string(action.id);
    SetText(theirs, day, TextOf(theirs, day).empty() ? line : TextOf(theirs, day) + "\r\n" + line);
    model.changedUnseen = true;
    const std::string bytes = FileBytes(theirs);
    input.push_back([this, bytes, halfWritten = action.b % 3 == 0] {
        WriteLater(model.file, halfWritten ? bytes.substr(0, bytes.size() - 5) : bytes);
        ComeBackFromAnotherProgram();
        if (halfWritten) {
            WriteLater(model.file, bytes);
            PostTimer(CDocumentCommands::kOutsideChangeTimer); // it changed since: not yet
        }
        PostTimer(CDocumentCommands::kOutsideChangeTimer);
        ReadScreen();
    });
    return TakeIn(action.b);
}

// Killed a few seconds after the last change, then started again with the
// diary as its last document; a recovery offered is taken or not.
std::vector<Expected> RandomUse::Restart(const Action& action) {
    input.push_back([this, file = model.file] {
        PostTimer(CMainFrame::kRecoveryTimer);
        frame.reset();
        ResetSettingsKey();
        if (!file.empty()) {
            StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
            StoreSettingsText("Document1", file, ORVIK_RECENT_SUBKEY);
        }
        Start();
    });
    model.undo.clear();
    const bool asked = model.modified;
    const bool recover = action.a % 2;
    if (asked && recover) {
        // The file is the base only while it is as this diary last saw it.
        model.baseKnown = model.baseKnown && !model.changedUnseen;
        model.keptOurs = false;
    } else if (model.file.empty()) {
        Untitled(false);
    } else {
        Loaded(model.file);
    }
    if (!asked)
        return {};
    return {{kProgram, DialogAnswerer::Press(recover ? IDYES : IDNO)}};
}

std::string RandomUse::Check() {
    for (int k = 0; k < kGridCells; ++k) {
        const std::string shown = ShownText(cells[static_cast<std::size_t>(k)]);
        if (shown != TextOf(model.doc, DayOf(k)))
            return "the cell of " + Date(DayOf(k)).Format(0) + " shows \"" + shown + "\", not \"" +
                   TextOf(model.doc, DayOf(k)) + "\"";
    }
    // The user pauses: the recovery file is brought up to date.
    PostTimer(CMainFrame::kRecoveryTimer);
    const std::vector<std::string> recovery = RecoveryFiles();
    if (recovery.size() != (model.modified ? 1u : 0u))
        return std::to_string(recovery.size()) + " recovery files, the diary " +
               (model.modified ? "modified" : "not modified");
    if (model.modified) {
        const std::optional<RecoveredDiary> kept = ParseRecovery(ReadWholeFile(recovery[0]));
        if (!kept || kept->path != model.file || DaysOf(kept->store) != model.doc)
            return "the document holds " + (kept ? Shown(DaysOf(kept->store)) : "?") + " for \"" +
                   (kept ? kept->path : "?") + "\"; expected " + Shown(model.doc) + " for \"" +
                   model.file + "\"";
    }
    for (const int file : {0, 1}) {
        const bool exists = GetFileAttributesA(Path(file).c_str()) != INVALID_FILE_ATTRIBUTES;
        if (exists != (model.disk.count(Path(file)) > 0))
            return Path(file) + (exists ? " exists" : " does not exist");
        if (exists && ReadDays(Path(file)) != model.disk[Path(file)])
            return Path(file) + " holds " + Shown(ReadDays(Path(file))) + "; expected " +
                   Shown(model.disk[Path(file)]);
    }
    return std::string();
}

int EnvironmentNumber(const char* name, int otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : otherwise;
}

TEST_F(RandomUse, EveryLineStaysInItsDayOrIsLetGoByAnAnswer) {
    const int sequences = EnvironmentNumber("ORVIK_RANDOM_SEQUENCES", 8);
    const unsigned firstSeed = static_cast<unsigned>(EnvironmentNumber("ORVIK_RANDOM_SEED", 1));
    const int length = 30;
    for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(sequences); ++seed) {
        std::vector<Action> actions = Generate(seed, length);
        std::string failure;
        if (Run(actions, failure))
            continue;
        // The shortest sequence that still fails: each step left out in turn.
        for (std::size_t left = actions.size(); left-- > 0;) {
            std::vector<Action> shorter;
            for (std::size_t i = 0; i < actions.size(); ++i) {
                if (i != left)
                    shorter.push_back(actions[i]);
            }
            std::string shorterFailure;
            if (!Run(shorter, shorterFailure)) {
                actions = std::move(shorter);
                failure = shorterFailure;
            }
        }
        std::string steps;
        for (const Action& action : actions)
            steps += "\n  " + Describe(action);
        ADD_FAILURE() << "seed " << seed << ": " << failure << "\nshortest sequence:" << steps;
    }
    std::printf("%d sequences of %d steps from seed %u\n", sequences, length, firstSeed);
}

} // namespace
