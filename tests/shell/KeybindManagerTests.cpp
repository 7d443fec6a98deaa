// binds.bin byte for byte, every way a file can be bad, and the capture of a
// new binding step by step.
#include <cstring>
#include <filesystem>

#include <boost/serialization/map.hpp>
#include <boost/serialization/utility.hpp>
#include <gtest/gtest.h>

#include "shell/BinaryArchive.h"
#include "shell/KeybindManager.h"
#include "support/FullDevice.h"
#include "support/ShellTestSupport.h"
#include "support/UnreadableFiles.h"

namespace mirefell
{
namespace
{

using testing::ButtonEvent;
using testing::KeyEvent;
using testing::TemporaryCopiesOf;

// The archive bytes, appended field by field in native order.
class Bytes
{
public:
    template <class T> Bytes& Put(T value)
    {
        char raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        text.append(raw, sizeof value);
        return *this;
    }
    Bytes& Put(const char* chars)
    {
        text += chars;
        return *this;
    }
    // A class's first occurrence: tracking off (1 byte), class version 0.
    Bytes& ClassInfo() { return Put<uint8_t>(0).Put<uint32_t>(0); }
    std::string text;
};

std::string DefaultFileBytes()
{
    Bytes b;
    // Header: signature, library version 14, sizes of int, long, float,
    // double, and the endianness probe.
    b.Put<uint64_t>(22).Put("serialization::archive").Put<uint16_t>(14);
    b.Put<uint8_t>(4).Put<uint8_t>(8).Put<uint8_t>(4).Put<uint8_t>(8).Put<int32_t>(1);
    // The map: class info, element count, item version.
    b.ClassInfo().Put<uint64_t>(13).Put<uint32_t>(0);
    struct Row
    {
        int32_t action, device, key;
        uint8_t left, right;
    };
    const Row rows[] = {{1, 2, 0, 1, 0},   {2, 1, 'W', 0, 0},  {3, 1, 'S', 0, 0},  {4, 1, 'A', 0, 0},
                        {5, 1, 'D', 0, 0}, {6, 1, 9, 0, 0},    {7, 1, 'E', 0, 0},  {8, 2, 0, 0, 1},
                        {9, 1, 32, 0, 0},  {10, 1, '1', 0, 0}, {11, 1, '2', 0, 0}, {12, 1, '3', 0, 0},
                        {13, 1, '4', 0, 0}};
    bool first = true;
    for (const Row& row : rows) {
        if (first)
            b.ClassInfo(); // the pair
        b.Put(row.action);
        if (first)
            b.ClassInfo(); // Keybind
        first = false;
        b.Put<uint8_t>(1).Put(row.device).Put(row.key).Put(row.left).Put<uint8_t>(0).Put(row.right);
    }
    return b.text;
}

class KeybindFileTest : public testing::ShellTest
{
protected:
    std::string Path() const { return dir.File("binds.bin"); }
};

TEST_F(KeybindFileTest, TheDefaultFileIsTheArchiveLayoutByteForByte)
{
    KeybindManager manager(Path());
    manager.ResetToDefaults();
    const std::string expected = DefaultFileBytes();
    ASSERT_EQ(expected.size(), 275u);
    EXPECT_EQ(dir.Read("binds.bin"), expected);
}

TEST_F(KeybindFileTest, ChangedBindingsSurviveTheManagersLifetime)
{
    {
        KeybindManager manager(Path());
        manager.Load();
        EXPECT_FALSE(std::filesystem::exists(Path())) << "a missing file is not written by loading";
        EXPECT_EQ(manager.bindings, KeybindManager::DefaultBindings());
        manager.Assign(KeybindAction::Use, Keybind::ForKey(KeyLeftShift));
        manager.Assign(KeybindAction::Attack, Keybind::ForMouse(MouseButton::Middle));
        EXPECT_FALSE(std::filesystem::exists(Path())) << "Assign does not write";
    } // the destructor writes
    KeybindManager reread(Path());
    reread.Load();
    EXPECT_EQ(reread.bindings.at(KeybindAction::Use), Keybind::ForKey(KeyLeftShift));
    EXPECT_EQ(reread.bindings.at(KeybindAction::Attack), Keybind::ForMouse(MouseButton::Middle));
    EXPECT_EQ(reread.bindings.size(), 13u);
}

TEST_F(KeybindFileTest, AnUnreadableFileGivesTheDefaultsKeepsACopyAndSaysSoOnce)
{
    const std::string good = DefaultFileBytes();
    std::string flag = good, device = good, action = good;
    flag[0x47] = 2;    // the first binding's bound flag
    device[0x48] = 7;  // its device
    action[0x3E] = 14; // the first action
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"header only", good.substr(0, 40)},
        {"truncated in a binding", good.substr(0, 200)},
        {"one byte short", good.substr(0, good.size() - 1)},
        {"garbage", std::string(300, '\xA7')},
        {"foreign", "{\"bindings\": []}"},
        {"flag byte 2", flag},
        {"unknown device", device},
        {"unknown action", action},
    };
    for (const auto& [name, bytes] : cases) {
        dir.Write("binds.bin", bytes);
        KeybindManager manager(Path());
        manager.Assign(KeybindAction::Use, Keybind::ForKey('Q'));
        ::testing::internal::CaptureStderr();
        manager.Load();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(manager.bindings, KeybindManager::DefaultBindings()) << name;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << name << ": " << said;
        EXPECT_NE(said.find("binds.bin"), std::string::npos) << name;
        EXPECT_EQ(dir.Read("binds.bin.bak"), bytes) << name;
        std::filesystem::remove(dir.File("binds.bin.bak")); // a later bad file would be numbered
        manager.filePath.clear();                           // no write at destruction
    }
}

// A file cut short (a full disk, a copy stopped half-way) is named and said
// to be damaged or cut short, not left at the library's "input stream error".
TEST_F(KeybindFileTest, ACutFileIsSaidToBeDamagedOrCutShort)
{
    for (const size_t length : {0, 30, 200}) {
        dir.Write("binds.bin", DefaultFileBytes().substr(0, length));
        KeybindManager manager(Path());
        ::testing::internal::CaptureStderr();
        manager.Load();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(Path() + ": the file is damaged or cut short"), std::string::npos) << length << said;
        std::filesystem::remove(dir.File("binds.bin.bak"));
        manager.filePath.clear(); // no write at destruction
    }
}

TEST_F(KeybindFileTest, SomethingThatCannotBeReadGivesTheDefaultsAndIsNeverWrittenOver)
{
    for (const testing::UnreadableFile& thing : testing::UnreadableFiles(3ull << 30)) {
        thing.make(Path());
        {
            KeybindManager manager(Path());
            ::testing::internal::CaptureStderr();
            manager.Load();
            const std::string said = ::testing::internal::GetCapturedStderr();
            EXPECT_EQ(manager.bindings, KeybindManager::DefaultBindings()) << thing.name;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << thing.name << ": " << said;
            EXPECT_NE(said.find(Path() + " cannot be read"), std::string::npos) << thing.name << ": " << said;
            manager.Assign(KeybindAction::Use, Keybind::ForKey('Q'));
            manager.ResetToDefaults();
        } // the destructor saves too
        EXPECT_TRUE(thing.intact(Path())) << thing.name;
        EXPECT_TRUE(TemporaryCopiesOf(Path()).empty()) << thing.name;
        EXPECT_FALSE(std::filesystem::exists(Path() + ".bak")) << thing.name;
        std::filesystem::remove_all(Path());
    }
}

TEST_F(KeybindFileTest, AFullDeviceLosesNeitherTheGameNorTheOldFile)
{
    KeybindManager manager(Path());
    manager.ResetToDefaults();
    const std::string old = dir.Read("binds.bin");
    manager.Assign(KeybindAction::Use, Keybind::ForKey('Q'));
    ::testing::internal::CaptureStderr();
    {
        const testing::FullDevice full(Path());
        manager.Save();
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(dir.Read("binds.bin"), old);
    EXPECT_TRUE(TemporaryCopiesOf(Path()).empty()) << "the temporary file is removed";
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("key bindings"), std::string::npos) << said;
    EXPECT_NE(said.find("No space left on device"), std::string::npos) << said;
}

TEST_F(KeybindFileTest, ASecondBadFileIsKeptBesideTheFirst)
{
    for (const char* bytes : {"first", "second"}) {
        dir.Write("binds.bin", bytes);
        KeybindManager manager(Path());
        ::testing::internal::CaptureStderr();
        manager.Load();
        ::testing::internal::GetCapturedStderr();
        manager.filePath.clear();
    }
    EXPECT_EQ(dir.Read("binds.bin.bak"), "first");
    EXPECT_EQ(dir.Read("binds.bin.bak2"), "second");
}

TEST_F(KeybindFileTest, ActionsAFileLacksAreUnbound)
{
    const std::map<KeybindAction, Keybind> partial = {{KeybindAction::MoveForward, Keybind::ForKey(KeyUp)},
                                                      {KeybindAction::Use, Keybind::ForKey('F')}};
    WriteArchiveFile(Path(), [&](ArchiveWriter& ar) { ar << partial; });
    KeybindManager manager(Path());
    manager.Load();
    ASSERT_EQ(manager.bindings.size(), 13u);
    EXPECT_EQ(manager.bindings.at(KeybindAction::MoveForward), Keybind::ForKey(KeyUp));
    EXPECT_FALSE(manager.bindings.at(KeybindAction::Attack).bound);
    EXPECT_FALSE(manager.bindings.at(KeybindAction::RocketLauncher).bound);
    EXPECT_EQ(manager.GetUseKeyLabel(), L"[F]");
}

TEST(KeybindAssign, UnbindsEveryOtherActionOnTheSameKeyOrButton)
{
    KeybindManager manager("");
    manager.Load();
    manager.bindings[KeybindAction::Sledgehammer] = {false, KeybindDevice::Keyboard, static_cast<VirtualKey>('E')};
    manager.Assign(KeybindAction::MoveForward, Keybind::ForKey('E'));
    EXPECT_FALSE(manager.bindings.at(KeybindAction::Use).bound);
    EXPECT_EQ(manager.GetUseKeyLabel(), L"[NOT BOUND]"); // E moves forward now
    EXPECT_EQ(manager.bindings.at(KeybindAction::MoveForward), Keybind::ForKey('E'));
    EXPECT_TRUE(manager.bindings.at(KeybindAction::MoveBackward).bound);

    manager.Assign(KeybindAction::Block, Keybind::ForMouse(MouseButton::Left));
    EXPECT_FALSE(manager.bindings.at(KeybindAction::Attack).bound);
    EXPECT_TRUE(manager.bindings.at(KeybindAction::Block).bound);

    // A mouse binding never clashes with a key, whatever its key code says.
    manager.Assign(KeybindAction::Attack, Keybind::ForKey(0));
    manager.Assign(KeybindAction::Inventory, Keybind::ForMouse(MouseButton::Right));
    EXPECT_TRUE(manager.bindings.at(KeybindAction::Attack).bound);
}

TEST(KeybindNames, TheTablesAsTheOptionsPageShowsThem)
{
    const auto& names = KeybindManager::KeyNames();
    EXPECT_EQ(names.size(), 97u);
    EXPECT_FALSE(names.contains(KeyF1));
    EXPECT_FALSE(names.contains(KeyEscape));
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForMouse(MouseButton::Left)), L"LMB");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForMouse(MouseButton::Middle)), L"MMB");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForMouse(MouseButton::Right)), L"RMB");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForKey(KeyNumpad0 + 5)), L"NUM5");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForKey(KeyF1 + 1)), L"F2");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForKey(KeyRightAlt)), L"RALT");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForKey('Z')), L"Z");
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForKey(KeyF1)), L"KEY 112"); // no name: a placeholder
    EXPECT_EQ(KeybindManager::GetKeyName(Keybind::ForKey(300)), L"KEY 300");

    EXPECT_EQ(KeybindManager::GetActionLabel(KeybindAction::UseAntiGravBoots), L"Use Anti-Grav boots");
    EXPECT_EQ(KeybindManager::GetActionLabel(KeybindAction::HyperBlaster), L"HyperBlaster");
    EXPECT_EQ(KeybindManager::ActionLabels().size(), 13u);
    EXPECT_THROW(KeybindManager::GetActionLabel(static_cast<KeybindAction>(14)), std::out_of_range);
    KeybindManager manager("");
    manager.Load();
    EXPECT_EQ(manager.GetUseKeyLabel(), L"[E]");
}

// The capture runs inside Input::Update against the process-wide manager.
class KeybindCaptureTest : public testing::ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        input.Initialize(nullptr);
    }
    // The keybind row was clicked: the left button is down and the capture
    // starts after this step's input was read.
    void ClickRowFor(KeybindAction action)
    {
        Send(ButtonEvent(MouseButton::Left, true));
        input.Update();
        manager.StartCapture(action);
    }
    void ReleaseClick()
    {
        Send(ButtonEvent(MouseButton::Left, false));
        input.Update();
    }
    Input& input = Input::GetInstance();
    KeybindManager& manager = KeybindManager::GetInstance();
};

TEST_F(KeybindCaptureTest, TheRowClickIsNotTheBindingAndAKeyIs)
{
    ClickRowFor(KeybindAction::Use);
    input.Update(); // still held
    EXPECT_TRUE(manager.waitForRelease);
    ReleaseClick();
    EXPECT_FALSE(manager.waitForRelease);
    EXPECT_TRUE(manager.capturing);
    EXPECT_EQ(manager.bindings.at(KeybindAction::Use), Keybind::ForKey('E'));

    Send(KeyEvent('Q', true));
    input.Update();
    EXPECT_FALSE(manager.capturing);
    EXPECT_EQ(manager.bindings.at(KeybindAction::Use), Keybind::ForKey('Q'));
}

TEST_F(KeybindCaptureTest, EscapeCancelsAndAnUnnamedKeyEndsWithoutAChange)
{
    ClickRowFor(KeybindAction::Use);
    ReleaseClick();
    Send(KeyEvent('Q', true));
    Send(KeyEvent(KeyEscape, true)); // Escape wins over any other key
    input.Update();
    EXPECT_FALSE(manager.capturing);
    EXPECT_EQ(manager.bindings.at(KeybindAction::Use), Keybind::ForKey('E'));
    Send(KeyEvent('Q', false));
    Send(KeyEvent(KeyEscape, false));

    ClickRowFor(KeybindAction::Use);
    ReleaseClick();
    Send(KeyEvent(KeyF1, true));
    input.Update();
    EXPECT_FALSE(manager.capturing);
    EXPECT_EQ(manager.bindings.at(KeybindAction::Use), Keybind::ForKey('E'));
}

TEST_F(KeybindCaptureTest, TheLowestKeyDownWins)
{
    ClickRowFor(KeybindAction::Block);
    ReleaseClick();
    Send(KeyEvent(KeyRightShift, true));
    Send(KeyEvent('Z', true));
    Send(KeyEvent(KeySpace, true));
    input.Update();
    EXPECT_EQ(manager.bindings.at(KeybindAction::Block), Keybind::ForKey(KeySpace));
    EXPECT_FALSE(manager.bindings.at(KeybindAction::UseAntiGravBoots).bound) << "Space moved to Block";
}

TEST_F(KeybindCaptureTest, AMouseClickBindsAndALeftClickIsConsumed)
{
    ClickRowFor(KeybindAction::MoveForward);
    ReleaseClick();
    Send(ButtonEvent(MouseButton::Middle, true));
    input.Update();
    EXPECT_EQ(manager.bindings.at(KeybindAction::MoveForward), Keybind::ForMouse(MouseButton::Middle));
    EXPECT_FALSE(input.clickConsumed);
    Send(ButtonEvent(MouseButton::Middle, false));

    ClickRowFor(KeybindAction::Block);
    ReleaseClick();
    Send(ButtonEvent(MouseButton::Left, true));
    input.Update();
    EXPECT_EQ(manager.bindings.at(KeybindAction::Block), Keybind::ForMouse(MouseButton::Left));
    EXPECT_FALSE(manager.bindings.at(KeybindAction::Attack).bound);
    EXPECT_TRUE(input.clickConsumed);
}

// At a slow frame the row's click is a tap caught by one step; a click
// tapped before the next step was made after the row's was released, and
// binds.
TEST_F(KeybindCaptureTest, AClickTappedInTheFrameAfterTheRowClickBinds)
{
    Send(ButtonEvent(MouseButton::Left, true));
    Send(ButtonEvent(MouseButton::Left, false));
    input.Update();
    manager.StartCapture(KeybindAction::Block);
    Send(ButtonEvent(MouseButton::Left, true));
    Send(ButtonEvent(MouseButton::Left, false));
    input.Update();
    EXPECT_FALSE(manager.capturing);
    EXPECT_EQ(manager.bindings.at(KeybindAction::Block), Keybind::ForMouse(MouseButton::Left));
    EXPECT_TRUE(input.clickConsumed);
}

} // namespace
} // namespace mirefell
