// The real editor on a virtual X server: started from a copy in a temporary folder (its settings file
// lands beside it), found by its title and driven like a user would.
#include "X11Session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
std::string editorPath;

class Editor {
public:
    explicit Editor(const fs::path& folder)
        : folder(folder)
    {
        const fs::path copy = folder / "tarvane-le";
        fs::copy_file(editorPath, copy, fs::copy_options::overwrite_existing);
        pid = fork();
        if (pid == 0) {
            execl(copy.c_str(), copy.c_str(), static_cast<char*>(nullptr));
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

    // The exit status, or -1 when the editor is still running after the timeout.
    int WaitForExit(std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

private:
    fs::path folder;
    pid_t pid = -1;
    bool exited = false;
};

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

    fs::path folder;
    TX11Session x;
};

TEST_F(EditorTest, StartsWithANewScriptAndEndsWithStatusZeroWhenItsWindowIsClosed)
{
    Editor editor(folder);
    const auto window = x.WaitForWindow("Tarvane:LE - New Script.lua*", 20s);
    ASSERT_TRUE(window.has_value()) << "the main window did not appear";
    x.RequestClose(*window);
    EXPECT_EQ(editor.WaitForExit(10s), 0);
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
