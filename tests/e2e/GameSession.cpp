// GameSession: the game process, xdotool and import; MenuLayout: the menus
// built in the test's own process.
#include "GameSession.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <unordered_set>

#include <gtest/gtest.h>

#include "render/Painter.h"
#include "render/UiProjection.h"
#include "shell/KeybindManager.h"
#include "shell/Screen.h"
#include "support/MenuRows.h"
#include "ui/AmmoBar.h"
#include "ui/ArmorBar.h"
#include "ui/HealthBar.h"
#include "ui/HudNumber.h"
#include "ui/IngameMenu.h"
#include "ui/InventoryWindow.h"
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
// How long a game that is still running may take to show its window. It
// shows in well under a second even on a loaded machine; the wait ends as
// soon as it does, so only a failing start ever waits this long.
constexpr auto WindowPatience = std::chrono::minutes(3);

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

bool GameSession::DisplayOutlivesItsClients()
{
    // The root window's name, set by one short-lived client and read by
    // another: a server reset in between clears it.
    std::string root;
    if (!RunCommand("xdotool search --maxdepth 0 --name '' 2>/dev/null", &root))
        return false;
    root = root.substr(0, root.find('\n'));
    const std::string mark = "mirefell-e2e-" + std::to_string(getpid());
    std::string name;
    return RunCommand("xdotool set_window --name " + mark + " " + root) &&
           RunCommand("xdotool getwindowname " + root, &name) && name.substr(0, name.find('\n')) == mark;
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

void GameSession::SetEnvironment(const std::string& name, const std::string& value)
{
    environment.emplace_back(name, value);
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
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        const int log = open("game.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execl(MIREFELL_RUN_DIR "/mirefell", "mirefell", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) {
        startFailure = "the game could not be started";
        return false;
    }
    // The window of this process only (its _NET_WM_PID): not a window of an
    // earlier game still being torn down, nor any other window of that name
    // on the display.
    const std::string process = std::to_string(pid);
    const std::string search =
        "xdotool search --all --onlyvisible --pid " + process + " --name '^mirefell$' 2>/dev/null";
    bool ended = false;
    WaitUntil(
        [&] {
            if (!IsRunning()) {
                ended = true; // no window will come
                return true;
            }
            std::string found;
            if (!RunCommand(search, &found))
                return false;
            std::istringstream lines(found);
            return static_cast<bool>(std::getline(lines, windowId)) && !windowId.empty();
        },
        WindowPatience);
    if (!ended && !windowId.empty())
        return true;
    windowId.clear();
    if (ended) {
        const std::string how = WIFEXITED(exitStatus)     ? "exit code " + std::to_string(WEXITSTATUS(exitStatus))
                                : WIFSIGNALED(exitStatus) ? "signal " + std::to_string(WTERMSIG(exitStatus))
                                                          : "status " + std::to_string(exitStatus);
        startFailure = "the game (process " + process + ") ended with " + how + " before it showed a window";
    } else {
        startFailure = "the game (process " + process + ") showed no window in " +
                       std::to_string(std::chrono::duration_cast<std::chrono::seconds>(WindowPatience).count()) + " s";
    }
    startFailure += "; its log:\n" + Log();
    return false;
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

void GameSession::Type(const std::string& letters) const
{
    // A quarter of a second apart: each letter in a frame of its own, all
    // of them within the half second of game time that starts a typed word
    // over.
    RunCommand("xdotool type --delay 250 " + letters);
}

bool GameSession::ClickUntil(Vector2 point, const std::function<bool()>& taken, std::chrono::milliseconds patience,
                             int attempts) const
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        Click(point);
        if (WaitUntil(taken, patience))
            return true;
    }
    return false;
}

bool GameSession::PressKeyUntil(const std::string& keysym, const std::function<bool()>& taken,
                                std::chrono::milliseconds patience, int attempts) const
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        PressKey(keysym);
        if (WaitUntil(taken, patience))
            return true;
    }
    return false;
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

std::string GameSession::Log() const
{
    std::ifstream in(folder / "game.log", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t GameSession::LogCount(const std::string& text) const
{
    const std::string log = Log();
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size()))
        ++count;
    return count;
}

bool GameSession::WaitForLog(const std::string& text, std::chrono::milliseconds timeout,
                             const std::vector<std::string>& failures, size_t count)
{
    bool failed = false;
    WaitUntil(
        [&] {
            const std::string log = Log();
            for (const std::string& failure : failures)
                failed = failed || log.find(failure) != std::string::npos;
            return failed || LogCount(text) >= count || !IsRunning();
        },
        timeout);
    return !failed && LogCount(text) >= count;
}

Image GameSession::WaitForPicture(const std::function<bool(const Image&)>& check, std::chrono::milliseconds timeout,
                                  const std::filesystem::path& file) const
{
    Image picture;
    WaitUntil(
        [&] {
            picture = file.empty() ? Screenshot() : Screenshot(file);
            return picture.width > 0 && check(picture);
        },
        timeout);
    return picture;
}

namespace
{

bool IsWhite(int r, int g, int b)
{
    return r > 220 && g > 220 && b > 220;
}

// Calls `visit(x, y, r, g, b)` for every pixel of the rectangle inside the picture.
template <class Visit> void ForEachPixel(const Image& image, const Rect& rect, Visit visit)
{
    const auto x0 = static_cast<int64_t>(rect.position.x), y0 = static_cast<int64_t>(rect.position.y);
    const auto x1 = x0 + static_cast<int64_t>(rect.size.x), y1 = y0 + static_cast<int64_t>(rect.size.y);
    for (int64_t y = std::max<int64_t>(y0, 0); y < std::min<int64_t>(y1, image.height); ++y) {
        for (int64_t x = std::max<int64_t>(x0, 0); x < std::min<int64_t>(x1, image.width); ++x) {
            const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 4];
            visit(x, y, p[0], p[1], p[2]);
        }
    }
}

} // namespace

bool HasWhiteText(const Image& image, const Rect& rect, int count)
{
    return CountPixels(image, rect, IsWhite) >= count;
}

Rect WhiteBounds(const Image& image, const Rect& rect)
{
    int64_t left = INT64_MAX, top = INT64_MAX, right = -1, bottom = -1;
    ForEachPixel(image, rect, [&](int64_t x, int64_t y, int r, int g, int b) {
        if (!IsWhite(r, g, b))
            return;
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    });
    if (right < 0)
        return {};
    return {Vector2(static_cast<float>(left), static_cast<float>(top)),
            Vector2(static_cast<float>(right - left + 1), static_cast<float>(bottom - top + 1))};
}

Rect FirstWhiteLine(const Image& image, const Rect& rect)
{
    const Rect all = WhiteBounds(image, rect);
    if (all.size.y <= 0)
        return all;
    float bottom = all.position.y;
    while (bottom < all.position.y + all.size.y &&
           HasWhiteText(image, {Vector2(rect.position.x, bottom), Vector2(rect.size.x, 1.0f)}, 1))
        bottom += 1.0f;
    return WhiteBounds(image,
                       {Vector2(rect.position.x, all.position.y), Vector2(rect.size.x, bottom - all.position.y)});
}

int CountPixels(const Image& image, const Rect& rect, const std::function<bool(int, int, int)>& test)
{
    int found = 0;
    ForEachPixel(image, rect, [&](int64_t, int64_t, int r, int g, int b) { found += test(r, g, b) ? 1 : 0; });
    return found;
}

size_t ColourCount(const Image& image)
{
    std::unordered_set<uint32_t> colours;
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4)
        colours.insert(image.rgba[i] | image.rgba[i + 1] << 8 | image.rgba[i + 2] << 16);
    return colours.size();
}

int TextLines(const Image& image, const Rect& rect)
{
    int lines = 0;
    int64_t lastRow = -2;
    ForEachPixel(image, rect, [&](int64_t, int64_t y, int r, int g, int b) {
        if (!IsWhite(r, g, b) || y == lastRow)
            return;
        if (y > lastRow + 1)
            ++lines;
        lastRow = y;
    });
    return lines;
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

HudLayout::HudLayout(int32_t width, int32_t height)
{
    ScreenWidth = width;
    ScreenHeight = height;
    Painter painter;
    painter.UpdateScales();
    const Vector2 icon(HudIconSize(painter), HudIconSize(painter));
    health = {HealthBar::IconPosition(painter), icon};
    armour = {ArmorBar::IconPosition(painter), icon};
    ammo = {AmmoBar::IconPosition(painter), icon};
    InventoryWindow window(&painter, nullptr);
    inventory = {window.GetPosition(), window.GetSize()};
    const gpu::Viewport inset = MakeUiProjection(width, painter.unitSize.x, painter.margin).viewport;
    automap = {{inset.topLeftX, inset.topLeftY}, {inset.width, inset.height}};
}

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
