// GameSession: the game process, xdotool and import; MenuLayout: the menus
// built in the test's own process.
#include "GameSession.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "render/Painter.h"
#include "shell/KeybindManager.h"
#include "shell/Screen.h"
#include "support/MenuRows.h"
#include "ui/IngameMenu.h"
#include "ui/MainMenu.h"
#include "ui/MenuButton.h"
#include "ui/MenuLabel.h"
#include "ui/MenuPanel.h"
#include "ui/MenuSlider.h"
#include "ui/MenuToggle.h"

namespace mirefell::testing
{

namespace
{

// How long a button or key is held: longer than the slowest frame, so a step
// of the game sees it down.
constexpr const char* HoldSeconds = "0.6";
constexpr auto PollInterval = std::chrono::milliseconds(250);

// Runs a shell command; its standard output, or nullopt when it failed.
bool RunCommand(const std::string& command, std::string* output = nullptr)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    std::string text;
    char buffer[256];
    while (size_t got = fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, got);
    const int status = pclose(pipe);
    if (output)
        *output = text;
    return status == 0;
}

std::string Pixels(float value)
{
    return std::to_string(static_cast<int>(value));
}

Rect RectOf(BaseUIComponent& widget)
{
    return {widget.GetPosition(), widget.GetSize()};
}

} // namespace

bool GameSession::HaveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

GameSession::GameSession(const std::filesystem::path& runFolder, const std::string& configJson) : folder(runFolder)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path build = MIREFELL_RUN_DIR;
    for (const char* shared : {"assets", "shaders", "README.md"})
        std::filesystem::create_symlink(build / shared, folder / shared);
    std::ofstream(folder / "config.json", std::ios::binary) << configJson;
}

GameSession::~GameSession()
{
    if (pid > 0 && IsRunning()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool GameSession::Start()
{
    pid = fork();
    if (pid == 0) {
        // The child: the game in its run folder, on the X server, silent.
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        const int log = open("game.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execl(MIREFELL_RUN_DIR "/mirefell", "mirefell", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0)
        return false;
    return WaitUntil(
        [this] {
            std::string found;
            if (!IsRunning() || !RunCommand("xdotool search --onlyvisible --name '^mirefell$' 2>/dev/null", &found))
                return false;
            std::istringstream lines(found);
            return static_cast<bool>(std::getline(lines, windowId)) && !windowId.empty();
        },
        std::chrono::seconds(60));
}

bool GameSession::GetWindowSize(int32_t& width, int32_t& height) const
{
    std::string shell;
    if (!RunCommand("xdotool getwindowgeometry --shell " + windowId, &shell))
        return false;
    width = height = -1;
    std::istringstream lines(shell);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("WIDTH=", 0) == 0)
            width = std::stoi(line.substr(6));
        else if (line.rfind("HEIGHT=", 0) == 0)
            height = std::stoi(line.substr(7));
    }
    return width > 0 && height > 0;
}

void GameSession::Click(Vector2 point) const
{
    RunCommand("xdotool mousemove --window " + windowId + " " + Pixels(point.x) + " " + Pixels(point.y) +
               " sleep 0.2 mousedown 1 sleep " + HoldSeconds + " mouseup 1 sleep 0.2");
}

void GameSession::PressKey(const std::string& keysym) const
{
    RunCommand("xdotool keydown " + keysym + " sleep " + HoldSeconds + " keyup " + keysym + " sleep 0.2");
}

Image GameSession::Screenshot() const
{
    return Screenshot(folder / "screen.png");
}

Image GameSession::Screenshot(const std::filesystem::path& file) const
{
    std::filesystem::create_directories(file.parent_path());
    if (!RunCommand("import -window " + windowId + " png24:" + file.string() + " 2>/dev/null"))
        return {};
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        return DecodeImage(bytes.data(), bytes.size());
    } catch (const std::exception&) {
        return {};
    }
}

bool GameSession::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(PollInterval);
    }
    return true;
}

bool GameSession::WaitForText(const Rect& row, std::chrono::milliseconds timeout) const
{
    return WaitUntil([&] { return HasWhiteText(Screenshot(), row); }, timeout);
}

bool GameSession::IsRunning()
{
    if (pid <= 0)
        return false;
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == 0)
        return true;
    exitStatus = status;
    pid = -1;
    return false;
}

int GameSession::WaitForExit(std::chrono::milliseconds timeout)
{
    if (!WaitUntil([this] { return !IsRunning(); }, timeout))
        return -1;
    return WIFEXITED(exitStatus) ? WEXITSTATUS(exitStatus) : -1;
}

bool HasWhiteText(const Image& image, const Rect& rect, int count)
{
    int found = 0;
    const auto x0 = static_cast<int64_t>(rect.position.x), y0 = static_cast<int64_t>(rect.position.y);
    const auto x1 = x0 + static_cast<int64_t>(rect.size.x), y1 = y0 + static_cast<int64_t>(rect.size.y);
    for (int64_t y = std::max<int64_t>(y0, 0); y < std::min<int64_t>(y1, image.height); ++y) {
        for (int64_t x = std::max<int64_t>(x0, 0); x < std::min<int64_t>(x1, image.width); ++x) {
            const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 4];
            if (p[0] > 220 && p[1] > 220 && p[2] > 220)
                ++found;
        }
    }
    return found >= count;
}

MenuLayout::MenuLayout(const std::filesystem::path& runFolder, int32_t width, int32_t height)
    : painter(std::make_unique<Painter>())
{
    // Pages only read the bindings; none of this process's may reach a file.
    KeybindManager::GetInstance().Reset("");
    ScreenWidth = width;
    ScreenHeight = height;
    painter->UpdateScales();
    // The title reads the save slots from the folder it runs in.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(runFolder);
    title = std::make_unique<MainMenu>(painter.get());
    std::filesystem::current_path(previous);
    title->Update(); // every page is laid out, shown or not
    pause = std::make_unique<IngameMenu>(painter.get());
    pause->visible = true; // laid out as when shown, without asking for its state
    pause->Update();
}

MenuLayout::~MenuLayout() = default;

Rect MenuLayout::Row(const MenuPanel& page, const std::wstring& text)
{
    return RectOf(FindRow<BaseUIComponent>(page, text));
}

Rect MenuLayout::CheckBox(const MenuPanel& page, const std::wstring& text)
{
    return RectOf(*FindRow<MenuToggle>(page, text).checkBox);
}

Rect MenuLayout::RowByValue(const MenuPanel& page, const std::wstring& text)
{
    for (const auto& row : page.rows) {
        auto* button = dynamic_cast<MenuButton*>(row.get());
        if (button && button->valueProvider && button->valueProvider() == text)
            return RectOf(*button);
    }
    ADD_FAILURE() << "no row's value reads \"" << std::string(text.begin(), text.end()) << "\"";
    throw std::runtime_error("row not found");
}

MenuPanel& MenuLayout::SubPage(const MenuPanel& page, size_t index)
{
    return static_cast<MenuPanel&>(*page.subPages.at(index));
}

} // namespace mirefell::testing
