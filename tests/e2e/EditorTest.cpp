// The real editor on a virtual X server: started from a copy in a temporary folder (its settings file
// lands beside it), found by its title and driven like a user would.
#include "X11Session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
std::string editorPath;

struct EditorOptions {
    std::vector<std::string> arguments {};
    // The folder the editor is started from; the test's own when empty.
    fs::path workingDirectory {};
    // A limit on the size of the files the editor writes, in bytes; none when 0.
    rlim_t fileSizeLimit = 0;
};

class Editor {
public:
    explicit Editor(const fs::path& folder, const EditorOptions& options = {})
    {
        const fs::path copy = folder / "tarvane-le";
        fs::copy_file(editorPath, copy, fs::copy_options::overwrite_existing);
        // Qt's own settings (the file dialog remembers its folder) stay inside the test's folder.
        const fs::path home = folder / "home";
        fs::create_directories(home);
        std::vector<std::string> arguments { copy.string() };
        arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());
        pid = fork();
        if (pid == 0) {
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
            setenv("XDG_STATE_HOME", (home / ".local/state").c_str(), 1);
            // The editor must show on the X server even when the shell asks Qt for another platform.
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0)
                _exit(126);
            if (options.fileSizeLimit) {
                const rlimit limit { options.fileSizeLimit, options.fileSizeLimit };
                if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                    _exit(126);
            }
            std::vector<char*> argv;
            for (std::string& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(copy.c_str(), argv.data());
            _exit(127);
        }
    }

    ~Editor()
    {
        if (pid > 0 && !exited) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // Ends the editor as a crash or a power cut would: no question, no cleaning up.
    void Kill()
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        exited = true;
    }

    void Signal(int signal) { kill(pid, signal); }

    // The exit status, or -1 when the editor is still running after the timeout.
    int WaitForExit(std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        do {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return -1;
    }

private:
    pid_t pid = -1;
    bool exited = false;
};

std::string Read(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WaitForFile(const fs::path& path, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The settings file of a run that changed nothing: two empty paths, then colours, styles and auto-indent.
const std::string DefaultConfig = std::string("\r\n\r\n")
    + std::string { char(255), char(255), char(255), 1, //
          0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, char(140), char(140), 0, 0, 0, 0, 0, 1, 0, //
          0, 0, 0, 0, 0, 0, 0, 50, 1, 0, char(150), 0, 0, 0, 0 };

class EditorTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tle-e2e-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        ASSERT_TRUE(x.Connected()) << "no X display";
    }

    void TearDown() override { fs::remove_all(folder); }

    // Saves the new script with Ctrl+S under `name` in the test's folder, typed into the file requester;
    // the main window once its title has lost the modified mark and the file is on disk.
    std::optional<XWindow> SaveNewScript(const std::string& name)
    {
        x.Key("s", { "Control_L" });
        const auto requester = x.WaitForWindow("Save script", 20s);
        if (!requester) {
            ADD_FAILURE() << "the file requester did not appear";
            return std::nullopt;
        }
        x.Focus(*requester);
        x.Type((folder / name).string() + "\n");
        const auto saved = x.WaitForWindow("Tarvane:LE - " + name, 20s);
        if (!saved) {
            ADD_FAILURE() << "the title did not lose its modified mark";
            return std::nullopt;
        }
        // The title changes as the save begins; the file appears whole, by a rename, once it is on disk.
        EXPECT_TRUE(WaitForFile(folder / name, 20s));
        return saved;
    }

    // The new editor's main window, focused; nothing when it did not appear.
    std::optional<XWindow> FocusMainWindow()
    {
        const auto window = x.WaitForWindow("Tarvane:LE - New Script.lua*", 20s);
        if (window)
            x.Focus(*window);
        else
            ADD_FAILURE() << "the main window did not appear";
        return window;
    }

    // Saves the script under `name`, checks that the file holds `expected` and the final line break that
    // a new script gets, and closes the editor, which must end with status 0.
    void SaveCheckAndClose(Editor& editor, const std::string& name, const std::string& expected)
    {
        const auto saved = SaveNewScript(name);
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(Read(folder / name), expected + "\n");
        x.RequestClose(*saved);
        EXPECT_EQ(editor.WaitForExit(10s), 0);
    }

    fs::path folder;
    // One connection for the whole run: an X server resets when its last client leaves, and a test
    // that connects during the reset finds no display.
    static inline TX11Session x;
};

TEST_F(EditorTest, StartsWithANewScriptAndEndsWithStatusZeroWhenItsWindowIsClosed)
{
    Editor editor(folder);
    const auto window = x.WaitForWindow("Tarvane:LE - New Script.lua*", 20s);
    ASSERT_TRUE(window.has_value()) << "the main window did not appear";
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
}
TEST_F(EditorTest, ATypedScriptIsSavedThroughTheFileRequesterAndTheSettingsAreWrittenOnExit)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    // Enter keeps the tabs of the line it breaks.
    x.Type("local x = 1\n\tif x then\nprint(x)");
    SaveCheckAndClose(editor, "hello.lua", "local x = 1\n\tif x then\n\tprint(x)");
    EXPECT_EQ(Read(folder / "config.dat"), DefaultConfig);
}

TEST_F(EditorTest, AScriptNamedOnTheCommandLineIsLoadedFromTheStartingFolder)
{
    fs::create_directories(folder / "work" / "scripts");
    Write(folder / "work" / "scripts" / "start.lua", "print('hi')\n");
    Editor editor(folder, { .arguments = { "scripts/start.lua" }, .workingDirectory = folder / "work" });
    const auto window = x.WaitForWindow("Tarvane:LE - start.lua", 20s);
    ASSERT_TRUE(window.has_value()) << "the script was not loaded";
    // Nothing changed, so closing asks nothing.
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
    EXPECT_EQ(Read(folder / "work" / "scripts" / "start.lua"), "print('hi')\n");
}

// Another program appends to the script while it is being edited here: the editor asks, Reload takes
// the file's text, and the save that follows keeps the line the other program wrote.
TEST_F(EditorTest, AScriptChangedBehindTheEditorIsNotOverwrittenUnasked)
{
    Write(folder / "s.lua", "a = 1\r\n");
    Editor editor(folder, { .arguments = { "s.lua" }, .workingDirectory = folder });
    const auto window = x.WaitForWindow("Tarvane:LE - s.lua", 20s);
    ASSERT_TRUE(window.has_value()) << "the script was not loaded";
    x.Focus(*window);
    x.Type("x");
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - s.lua*", 20s).has_value());
    std::ofstream(folder / "s.lua", std::ios::app) << "-- other\r\n";
    const auto question = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(question.has_value()) << "the change on disk was not asked about";
    x.Focus(*question);
    x.Key("r", { "Alt_L" });
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - s.lua", 20s).has_value()) << "Reload left the script changed";
    x.Focus(*window);
    x.Type("y");
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - s.lua*", 20s).has_value());
    x.Key("s", { "Control_L" });
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - s.lua", 20s).has_value()) << "the save did not happen";
    EXPECT_EQ(Read(folder / "s.lua"), "ya = 1\r\n-- other\r\n");
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
}

TEST_F(EditorTest, AfterTheWindowIsResizedItsToolbarStillWorks)
{
    Write(folder / "start.lua", "print('hi')");
    Editor editor(folder, { .arguments = { "start.lua" }, .workingDirectory = folder });
    const auto window = x.WaitForWindow("Tarvane:LE - start.lua", 20s);
    ASSERT_TRUE(window.has_value()) << "the script was not loaded";
    // The client area starts 640 x 512, under the menu bar.
    const auto [width, height] = x.SizeOf(*window);
    ASSERT_EQ(width, 640);
    const int menuBar = height - 512;
    ASSERT_GT(menuBar, 0);
    x.Resize(*window, 800, 600 + menuBar);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (x.SizeOf(*window) != std::pair { 800, 600 + menuBar } && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_EQ(x.SizeOf(*window), (std::pair { 800, 600 + menuBar }));
    // The program takes the new size in before the click that follows it.
    std::this_thread::sleep_for(300ms);
    // The first icon of the toolbar, at the left of the strip under the menu bar: New. The script
    // holds no changes, so nothing is asked.
    x.Click(*window, 14, menuBar + 16);
    const auto renewed = x.WaitForWindow("Tarvane:LE - New Script.lua*", 10s);
    ASSERT_TRUE(renewed.has_value()) << "the toolbar's New did not work after the resize";
    x.RequestClose(*renewed);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
    EXPECT_EQ(Read(folder / "start.lua"), "print('hi')");
}

// The line numbers on the real window: a click on a line's number selects the line; the zoom keys
// reach the text, and both choices are kept for the next run, which starts without the numbers.
TEST_F(EditorTest, TheLineNumbersSelectLinesAndTheChoicesOfTheViewMenuAreKept)
{
    Write(folder / "lines.lua", "a\nb\nc\n");
    {
        Editor editor(folder, { .arguments = { "lines.lua" }, .workingDirectory = folder });
        const auto window = x.WaitForWindow("Tarvane:LE - lines.lua", 20s);
        ASSERT_TRUE(window.has_value()) << "the script was not loaded";
        const int textTop = x.SizeOf(*window).second - 512 + 33;
        // The second line's row, in the gutter at the left edge.
        x.Click(*window, 3, textTop + 24);
        x.Type("X");
        ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - lines.lua*", 20s).has_value());
        x.Key("s", { "Control_L" });
        ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - lines.lua", 20s).has_value());
        EXPECT_EQ(Read(folder / "lines.lua"), "a\nXc\n") << "the click selected the second line whole";
        x.Key("equal", { "Control_L" });
        x.Key("equal", { "Control_L" });
        x.Key("minus", { "Control_L" });
        x.Sync();
        std::this_thread::sleep_for(300ms);
        x.RequestClose(*window);
        EXPECT_EQ(editor.WaitForExit(10s), 0);
    }
    const std::string kept = Read(folder / "tarvane-le.ini");
    EXPECT_NE(kept.find("zoom=1"), std::string::npos) << kept;

    std::ofstream(folder / "tarvane-le.ini", std::ios::app) << "\n[view]\nlineNumbers=false\n";
    Editor editor(folder, { .arguments = { "lines.lua" }, .workingDirectory = folder });
    const auto window = x.WaitForWindow("Tarvane:LE - lines.lua", 20s);
    ASSERT_TRUE(window.has_value());
    const int textTop = x.SizeOf(*window).second - 512 + 33;
    // Without the numbers the same click puts the caret at the start of the second line.
    x.Click(*window, 3, textTop + 24);
    x.Type("Y");
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - lines.lua*", 20s).has_value());
    x.Key("s", { "Control_L" });
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - lines.lua", 20s).has_value());
    EXPECT_EQ(Read(folder / "lines.lua"), "a\nYXc\n");
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
}

TEST_F(EditorTest, AMissingScriptOnTheCommandLineIsReportedAndANewScriptStarts)
{
    Editor editor(folder, { .arguments = { "missing.lua" } });
    const auto notice = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(notice.has_value()) << "the failure was not reported";
    x.Focus(*notice);
    x.Key("Return");
    const auto window = x.WaitForWindow("Tarvane:LE - New Script.lua*", 20s);
    ASSERT_TRUE(window.has_value());
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
}

// A name that is not UTF-8 is refused rather than read as the file its replacement characters name.
TEST_F(EditorTest, ANameThatIsNotUtf8OpensNoOtherFile)
{
    Write(folder / "caf\xef\xbf\xbd.lua", "other = 1");
    Write(folder / "caf\xe9.lua", "named = 1");
    Editor editor(folder, { .arguments = { "caf\xe9.lua" } });
    const auto notice = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(notice.has_value()) << "the failure was not reported";
    x.Focus(*notice);
    x.Key("Return");
    const auto window = x.WaitForWindow("Tarvane:LE - New Script.lua*", 20s);
    ASSERT_TRUE(window.has_value()) << "a file was opened";
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
    EXPECT_EQ(Read(folder / "caf\xef\xbf\xbd.lua"), "other = 1");
}

TEST_F(EditorTest, ASaveBeyondTheFileSizeLimitFailsWithoutEndingTheEditor)
{
    const std::string old(400, '-');
    Write(folder / "big.lua", old);
    // Room for the settings file, not for the script.
    Editor editor(folder, { .arguments = { "big.lua" }, .workingDirectory = folder, .fileSizeLimit = 200 });
    const auto window = x.WaitForWindow("Tarvane:LE - big.lua", 20s);
    ASSERT_TRUE(window.has_value()) << "the script was not loaded";
    x.Focus(*window);
    x.Type("x");
    ASSERT_TRUE(x.WaitForWindow("Tarvane:LE - big.lua*", 20s).has_value());
    x.Key("s", { "Control_L" });
    const auto notice = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(notice.has_value()) << "the failed save was not reported";
    EXPECT_EQ(editor.WaitForExit(0ms), -1) << "the editor ended";
    EXPECT_EQ(Read(folder / "big.lua"), old);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();

    x.Focus(*notice);
    x.Key("Return");
    ASSERT_TRUE(x.WaitForWindowGone(*notice, 20s));
    // The changes are still unsaved, so closing asks; Don't Save (Alt+D) ends without saving.
    x.RequestClose(*window);
    const auto question = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(question.has_value()) << "closing did not ask about the unsaved changes";
    x.Focus(*question);
    x.Key("d", { "Alt_L" });
    EXPECT_EQ(editor.WaitForExit(10s), 0);
    EXPECT_EQ(Read(folder / "big.lua"), old);
    EXPECT_EQ(Read(folder / "config.dat"), DefaultConfig);
}

// The hook wizard used from the keyboard alone, as a modder who never leaves it would: its key, arrows
// and Enter in the tree, Tab to the fields, Space on the check box and the button.
TEST_F(EditorTest, AHookPickedWithTheKeyboardIsInsertedWithItsHandlerAndSaved)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Type("function setup()\n\t");
    x.Key("6", { "Control_L" });
    const auto wizard = x.WaitForWindow("Add hook...", 20s);
    ASSERT_TRUE(wizard.has_value()) << "Ctrl+6 did not open the hook wizard";
    // The wizard takes the keyboard once it is shown; its tree comes first.
    std::this_thread::sleep_for(300ms);
    // The tree's first row, Basic, is current but not selected: Down selects Time, Up goes back.
    for (const char* key : { "Down", "Up", "Right", "Down", "Down", "Return", "Tab", "space", "Tab" })
        x.Key(key);
    x.Type("onEnd\t ");
    ASSERT_TRUE(x.WaitForWindowGone(*wizard, 20s)) << "Add hook did not close the wizard";
    // The caret stands behind the handler's head, and Enter keeps its tab.
    x.Type("\nend");
    SaveCheckAndClose(
        editor, "hooks.lua", "function setup()\n\taddhook(\"endround\", \"onEnd\")\n\tfunction onEnd(mode)\n\tend");
}

// The timer wizard and the item picker from the keyboard: their keys, Tab, typing into a number field,
// Space on a button, Escape to leave.
TEST_F(EditorTest, ATimerAndAnItemIdComeFromTheirDialogsByKeyboard)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Key("4", { "Control_L" });
    const auto timer = x.WaitForWindow("Create timer", 20s);
    ASSERT_TRUE(timer.has_value()) << "Ctrl+4 did not open the timer wizard";
    std::this_thread::sleep_for(300ms);
    // Milliseconds has the focus; Tab selects the seconds, which 2.5 replaces. Letters are refused.
    x.Type("\t2x.5\t\ttick\t\t\t ");
    ASSERT_TRUE(x.WaitForWindowGone(*timer, 20s)) << "Create timer did not close the wizard";
    x.Type("\ngive(");
    x.Key("1", { "Control_L" });
    const auto items = x.WaitForWindow("Insert item id...", 20s);
    ASSERT_TRUE(items.has_value()) << "Ctrl+1 did not open the item picker";
    std::this_thread::sleep_for(300ms);
    x.Type("\t ");
    ASSERT_TRUE(x.WaitForWindowGone(*items, 20s)) << "OK did not close the item picker";
    x.Type(")");
    x.Key("1", { "Control_L" });
    const auto again = x.WaitForWindow("Insert item id...", 20s);
    ASSERT_TRUE(again.has_value());
    std::this_thread::sleep_for(300ms);
    x.Key("Escape");
    ASSERT_TRUE(x.WaitForWindowGone(*again, 20s)) << "Escape did not close the item picker";
    SaveCheckAndClose(editor, "timer.lua", "timer(2500, \"tick\", myvar .. \"mystring\", 1)\ngive(1)");
}

// The HUD text placed with the mouse on the real preview: the command takes the canvas pixels where the
// button was let go.
TEST_F(EditorTest, AHudTextDraggedOnThePreviewIsInsertedWhereItWasLetGo)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Key("2", { "Control_L" });
    const auto wizard = x.WaitForWindow("Create hudtxt...", 20s);
    ASSERT_TRUE(wizard.has_value()) << "Ctrl+2 did not open the HUD text wizard";
    std::this_thread::sleep_for(300ms);
    x.Drag(*wizard, { 100, 100 }, { 310, 205 });
    // "Create hudtxt" stands at the foot of the settings beside the 640-pixel preview.
    x.Click(*wizard, 640 + 5 + 72, 420 + 12);
    ASSERT_TRUE(x.WaitForWindowGone(*wizard, 20s)) << "Create hudtxt did not close the wizard";
    SaveCheckAndClose(editor, "hud.lua", R"(parse("hudtxt 0 \"Example\" 310 205 0"))");
}

// Work typed into an editor that is then killed comes back in the next one.
TEST_F(EditorTest, TypedWorkSurvivesAKillAndComesBackOnYes)
{
    const fs::path recovery = folder / "home/.local/state/tarvane-le/recovery";
    const auto copies = [&] {
        int n = 0;
        if (fs::exists(recovery)) {
            for (const auto& entry : fs::directory_iterator(recovery))
                n += entry.path().extension() == ".recovery";
        }
        return n;
    };
    {
        Editor editor(folder);
        const auto window = FocusMainWindow();
        ASSERT_TRUE(window.has_value());
        x.Type("local lives = 3\n");
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (copies() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(50ms);
        ASSERT_EQ(copies(), 1) << "no recovery copy appeared";
        // The copy follows the typing by at most two seconds.
        std::this_thread::sleep_for(2500ms);
        editor.Kill();
    }
    Editor editor(folder);
    const auto question = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(question.has_value()) << "the new editor did not offer the work back";
    x.Focus(*question);
    x.Key("y");
    const auto window = x.WaitForWindow("Tarvane:LE - New Script.lua*", 20s);
    ASSERT_TRUE(window.has_value());
    x.Focus(*window);
    const auto saved = SaveNewScript("recovered.lua");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(Read(folder / "recovered.lua"), "local lives = 3\n\n");
    EXPECT_EQ(copies(), 0) << "the save leaves no copy behind";
    x.RequestClose(*saved);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
}

// A shutdown or a plain kill asks the editor to end with SIGTERM: what was typed a moment before, too
// soon for the copy that follows the typing, comes back in the next editor.
TEST_F(EditorTest, WorkTypedJustBeforeASigtermComesBack)
{
    {
        Editor editor(folder);
        ASSERT_TRUE(FocusMainWindow().has_value());
        x.Type("local ammo = 30\n");
        std::this_thread::sleep_for(1s);
        editor.Signal(SIGTERM);
        EXPECT_EQ(editor.WaitForExit(10s), 128 + SIGTERM);
    }
    Editor editor(folder);
    const auto question = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(question.has_value()) << "the new editor did not offer the work back";
    x.Focus(*question);
    x.Key("y");
    ASSERT_TRUE(FocusMainWindow().has_value());
    SaveCheckAndClose(editor, "terminated.lua", "local ammo = 30\n");
}

// Find and replace from the keyboard: Enter in "Find what:" selects the match, typing replaces it, and
// Ctrl+H from the text area (never a Backspace there) leads to Replace All.
TEST_F(EditorTest, FindSelectsTheMatchAndReplaceAllRewritesEveryOther)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Type("local hp = 10\nhp = hp - 1\nprint(HP)");
    x.Key("f", { "Control_L" });
    const auto find = x.WaitForWindow("Find and replace", 20s);
    ASSERT_TRUE(find.has_value()) << "Ctrl+F did not open the find dialog";
    std::this_thread::sleep_for(300ms);
    // From the end of the script the search wraps round to the first "hp".
    x.Type("hp\n");
    x.Key("Escape");
    ASSERT_TRUE(x.WaitForWindowGone(*find, 20s)) << "Escape did not close the find dialog";
    x.Type("lives");
    x.Key("h", { "Control_L" });
    const auto replace = x.WaitForWindow("Find and replace", 20s);
    ASSERT_TRUE(replace.has_value()) << "Ctrl+H did not open the dialog";
    std::this_thread::sleep_for(300ms);
    // The focus is in "Replace with:"; Replace All is six Tabs on, past the boxes and three buttons.
    x.Type("health\t\t\t\t\t\t ");
    x.Key("Escape");
    ASSERT_TRUE(x.WaitForWindowGone(*replace, 20s));
    SaveCheckAndClose(editor, "found.lua", "local lives = 10\nhealth = health - 1\nprint(health)");
}

// F7 on a broken script: the notice, then the broken line selected, so typing replaces it.
TEST_F(EditorTest, CheckSyntaxSelectsTheBrokenLine)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Type("a = 1\nb = = 2\nc = 3");
    x.Key("F7");
    const auto notice = x.WaitForWindow("Tarvane Lua Editor", 20s);
    ASSERT_TRUE(notice.has_value()) << "F7 reported nothing";
    x.Focus(*notice);
    x.Key("Return");
    ASSERT_TRUE(x.WaitForWindowGone(*notice, 20s));
    x.Focus(*window);
    x.Type("b = 2\n");
    SaveCheckAndClose(editor, "checked.lua", "a = 1\nb = 2\nc = 3");
}

// What the text area offers reaches another program through the X server, read only when asked.
TEST_F(EditorTest, SelectedTextIsThePrimarySelectionOfTheDesktop)
{
    Write(folder / "primary.lua", "alpha beta");
    Editor editor(folder, { .arguments = { "primary.lua" }, .workingDirectory = folder });
    const auto window = x.WaitForWindow("Tarvane:LE - primary.lua", 20s);
    ASSERT_TRUE(window.has_value()) << "the script was not loaded";
    x.Focus(*window);
    x.Key("End");
    x.Key("Left", { "Control_L", "Shift_L" });
    EXPECT_EQ(x.PrimarySelection(10s), "beta");
}
// A syntax error typed into the script is found by the live check while the editor stays open for
// typing: the Problems window's title counts it, and F8 selects its line, which Ctrl+C then copies.
// Completion inserts a hook name typed in part, and a wizard opened on a call it wrote replaces it.
TEST_F(EditorTest, CompletionInsertsAHookNameAndAWizardReplacesTheCallItIsOpenedOn)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Type("addhook(\"jo");
    x.Key("space", { "Control_L" });
    std::this_thread::sleep_for(300ms);
    x.Key("Tab");
    x.Type("\", \"onJoin\")\ntimer(1000, \"tick\", \"\", 1)");
    x.Key("w", { "Control_L", "Shift_L" });
    const auto timer = x.WaitForWindow("Create timer", 20s);
    ASSERT_TRUE(timer.has_value()) << "Edit in Wizard did not open the timer wizard";
    std::this_thread::sleep_for(300ms);
    // Tab selects the seconds, which 2 replaces; five more Tabs reach the button, which replaces the call.
    x.Type("\t2\t\t\t\t\t ");
    ASSERT_TRUE(x.WaitForWindowGone(*timer, 20s)) << "the wizard's button did not close it";
    SaveCheckAndClose(editor, "assist.lua", "addhook(\"join\", \"onJoin\")\ntimer(2000, \"tick\", \"\", 1)");
}

// A misspelled hook name, typed as a modder types it, is listed with the nearest name, and F8 selects it.
TEST_F(EditorTest, AMisspelledHookNameIsListedAndF8SelectsIt)
{
    Editor editor(folder);
    const auto window = FocusMainWindow();
    ASSERT_TRUE(window.has_value());
    x.Type("addhook(\"joni\", \"f\")\nfunction f(id) end");
    x.Key("p", { "Control_L", "Shift_L" });
    const auto problems = x.WaitForWindow("Problems (1 warning)", 20s);
    ASSERT_TRUE(problems.has_value()) << "the Problems window does not list the misspelled hook";
    x.Focus(*window);
    x.Key("Home", { "Control_L" });
    x.Key("F8");
    x.Key("c", { "Control_L" });
    EXPECT_NE(x.Clipboard(10s).find("joni"), std::string::npos);
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s path/to/tarvane-le\n", argv[0]);
        return 2;
    }
    editorPath = fs::absolute(argv[1]).string();
    return RUN_ALL_TESTS();
}
