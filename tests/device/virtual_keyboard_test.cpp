#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "device/command_report.h"
#include "device/sim/keyboard_state_file.h"
#include "device/sim/virtual_keyboard.h"

namespace korvel::sim {
namespace {

CommandReport Ask(VirtualKeyboard& keyboard, CommandReport request) {
    auto reply = keyboard.HandleRequest(request.bytes);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or(CommandReport{});
}

TEST(VirtualKeyboard, FactoryNewKeyboard) {
    const KeyboardMemory memory = MakeFactoryMemory();
    EXPECT_EQ(memory.info[10], 0);
    EXPECT_EQ(memory.MacroCapacity(), 8192);
    EXPECT_EQ(memory.macroArea.size(), 8192u);
    EXPECT_EQ(memory.macroArea[0], 0xAA);
    EXPECT_EQ(memory.macroArea[1], 0x55);
    DeviceInfoBlock block{memory.info};
    std::vector<int> effects;
    for (int id = 1; id <= 18; ++id) {
        effects.push_back(id);
    }
    effects.push_back(20);
    EXPECT_EQ(block.Effects(), effects);
    EXPECT_EQ(memory.defaultKeyTable, kBuiltInDefaultKeyTable);
    EXPECT_TRUE(std::equal(kBuiltInDefaultKeyTable.begin(), kBuiltInDefaultKeyTable.end(),
                           memory.keyTables.begin() + 2 * kKeyTableBytes));
    EXPECT_EQ(memory.params[42 + 8], 8);
    EXPECT_EQ(memory.keyColors[1535], 0xFF);

    const KeyboardMemory variant =
        MakeFactoryMemory({.macroCapacityUnits = 2, .perKeyColors = false});
    EXPECT_EQ(variant.macroArea.size(), 256u);
    EXPECT_EQ(DeviceInfoBlock{variant.info}.Effects().back(), 18);
}

TEST(VirtualKeyboard, StatusBytes) {
    VirtualKeyboard keyboard;
    struct Case {
        const char* what;
        CommandReport request;
        std::uint8_t status;
    };
    CommandReport badChecksum = BuildRequest(CMD_BEGIN, 0, 0);
    badChecksum.bytes[1] ^= 1;
    const Case cases[] = {
        {"begin", BuildRequest(CMD_BEGIN, 0, 0), kStatusOk},
        {"bad checksum", badChecksum, kStatusBadChecksum},
        {"unknown command", BuildRequest(0x42, 0, 0), kStatusBadRequest},
        {"key table past its area", BuildRequest(CMD_WRITE_KEYTABLE, 56, 1100), kStatusBadRequest},
        {"last key table chunk", BuildRequest(CMD_WRITE_KEYTABLE, 42, 1092), kStatusOk},
        {"macro past capacity", BuildRequest(CMD_READ_MACROS, 1, 8192), kStatusBadRequest},
        {"chunk longer than a report", BuildRequest(CMD_WRITE_PARAMS, 57, 0), kStatusBadRequest},
        {"lighting record read past 126", BuildRequest(CMD_READ_PARAMS, 56, 84), kStatusOk},
        {"profile 3 made active",
         BuildRequest(CMD_WRITE_INFO, 44, 0,
                      std::array<std::uint8_t, 11>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3}),
         kStatusBadRequest},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ask(keyboard, c.request).Status(), c.status) << c.what;
    }
    EXPECT_EQ(keyboard.Memory().info[10], 0);
}

TEST(VirtualKeyboard, ReportsThatAreNotCommandsGetNoReply) {
    VirtualKeyboard keyboard;
    CommandReport other = BuildRequest(CMD_BEGIN, 0, 0);
    other.bytes[0] = 3;
    EXPECT_FALSE(keyboard.HandleRequest(other.bytes));
    EXPECT_FALSE(keyboard.HandleRequest(std::span(other.bytes).first(20)));
    keyboard.SetPlugged(false);
    EXPECT_FALSE(keyboard.HandleRequest(BuildRequest(CMD_BEGIN, 0, 0).bytes));
}

TEST(VirtualKeyboard, AFlakyKeyboardAnswersEveryOtherRequestAndCarriesOutOnlyThose) {
    VirtualKeyboard keyboard;
    keyboard.AnswerEveryOther(true);
    std::array<std::uint8_t, kInfoActiveProfileOffset + 1> profile2{};
    profile2[kInfoActiveProfileOffset] = 2;
    EXPECT_FALSE(keyboard.HandleRequest(BuildRequest(CMD_WRITE_INFO, 1, 0, profile2).bytes));
    EXPECT_EQ(keyboard.Memory().info[kInfoActiveProfileOffset], 0);
    const auto reply = keyboard.HandleRequest(BuildRequest(CMD_WRITE_INFO, 1, 0, profile2).bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->Status(), kStatusOk);
    EXPECT_EQ(keyboard.Memory().info[kInfoActiveProfileOffset], 2);
    EXPECT_FALSE(keyboard.HandleRequest(BuildRequest(CMD_READ_INFO, 56, 0).bytes));
    EXPECT_TRUE(keyboard.HandleRequest(BuildRequest(CMD_READ_INFO, 56, 0).bytes));
    keyboard.AnswerEveryOther(false);
    EXPECT_TRUE(keyboard.HandleRequest(BuildRequest(CMD_READ_INFO, 56, 0).bytes));
    EXPECT_TRUE(keyboard.HandleRequest(BuildRequest(CMD_READ_INFO, 56, 0).bytes));
}

TEST(VirtualKeyboard, EventsArriveInOrderAndStopWhenUnplugged) {
    VirtualKeyboard keyboard;
    keyboard.InjectEvent(0x1811);
    keyboard.InjectEvent(0x1810);
    EXPECT_EQ(keyboard.WaitEvent(std::chrono::milliseconds(0)), 0x1811);
    EXPECT_EQ(keyboard.WaitEvent(std::chrono::milliseconds(0)), 0x1810);
    EXPECT_FALSE(keyboard.WaitEvent(std::chrono::milliseconds(1)));
    std::thread unplug([&] { keyboard.SetPlugged(false); });
    EXPECT_FALSE(keyboard.WaitEvent(std::chrono::hours(1)));
    unplug.join();
}

class StateFile : public ::testing::Test {
protected:
    StateFile()
        : folder(std::filesystem::temp_directory_path() /
                 ("korvel-state-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::create_directories(folder);
    }
    ~StateFile() override { std::filesystem::remove_all(folder); }

    std::vector<char> Bytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::filesystem::path& path, const std::vector<char>& bytes) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
    }

    std::filesystem::path folder;
};

TEST_F(StateFile, MissingFileGivesFactoryKeyboardAndSavedStateComesBack) {
    const auto path = folder / "kb.state";
    KeyboardMemory memory;
    std::string error;
    ASSERT_EQ(LoadKeyboardState(path, memory, error), StateLoad::Missing);
    EXPECT_EQ(memory, MakeFactoryMemory());

    memory.info[10] = 2;
    memory.macroArea[100] = 0x77;
    memory.keyColors[5] = 0x01;
    ASSERT_TRUE(SaveKeyboardState(path, memory, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(folder / "kb.state.tmp"));
    KeyboardMemory loaded;
    ASSERT_EQ(LoadKeyboardState(path, loaded, error), StateLoad::Loaded) << error;
    EXPECT_EQ(loaded, memory);
}

TEST_F(StateFile, DamagedOrForeignFilesAreRefusedWithAMessage) {
    const auto good = folder / "good.state";
    std::string error;
    ASSERT_TRUE(SaveKeyboardState(good, MakeFactoryMemory(), error));
    const std::vector<char> bytes = Bytes(good);

    std::mt19937 random(7);
    std::vector<char> noise(bytes.size());
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    std::vector<char> flipped = bytes;
    flipped[500] ^= 0x10;
    std::vector<char> truncated(bytes.begin(), bytes.end() - 100);
    struct Case {
        const char* name;
        std::vector<char> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"flipped", flipped, "damaged"},
        {"truncated", truncated, "damaged"},
        {"noise", noise, "not a virtual keyboard"},
        {"empty", {}, "too short"},
        {"text", {'h', 'e', 'l', 'l', 'o', '\n'}, "not a virtual keyboard"},
    };
    for (const Case& c : cases) {
        const auto path = folder / c.name;
        Write(path, c.bytes);
        KeyboardMemory memory = MakeFactoryMemory({.macroCapacityUnits = 1});
        const KeyboardMemory before = memory;
        error.clear();
        EXPECT_EQ(LoadKeyboardState(path, memory, error), StateLoad::Failed) << c.name;
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(memory, before) << "a refused file changes nothing";
    }
    KeyboardMemory memory;
    EXPECT_EQ(LoadKeyboardState(folder, memory, error), StateLoad::Failed) << "a folder";
}

TEST_F(StateFile, SaveIntoMissingFolderFailsCleanly) {
    std::string error;
    EXPECT_FALSE(SaveKeyboardState(folder / "no" / "such" / "kb", MakeFactoryMemory(), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace korvel::sim
