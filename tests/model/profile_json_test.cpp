#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "model/image/config_store.h"
#include "model/keys/portable_key_names.h"
#include "support/profile_bytes.h"

namespace korvel::test {
namespace {

using fixtures::FixChecksum;
using fixtures::PutU16;
using fixtures::PutU32;

using Json = nlohmann::ordered_json;

int Slot(std::string_view name) {
    return *PortableKeyNames::Get().SlotOf(name);
}

ScanCode Key(std::string_view name) {
    return *PortableKeyNames::Get().Names().KeyOf(name);
}

MacroAction Step(std::string_view key, std::uint16_t direction, std::uint32_t delay = 0) {
    return {delay, Key(key), direction};
}

// A profile as the window saves one: keys of every kind in two profiles, two macros, a program
// and a text.
std::vector<std::uint8_t> RichFile() {
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    EditingHolder& editing = store.EditingConfig();
    auto lock = editing.Lock();
    ConfigImage& image = *editing.Image();
    MacroRecord fire;
    fire.name = u"Fire";
    fire.macroId = 1;
    fire.loopCount = 2;
    fire.actions = {Step("A", kMacroPress), Step("A", kMacroRelease, 30),
                    Step("Shift", kMacroPress), Step("B", kMacroPress, 5)};
    MacroRecord other = fire;
    other.name = u"火";
    other.macroId = 7;
    other.actions = {Step("Space", kMacroPress), Step("Space", kMacroRelease)};
    editing.SetMacros({fire, other});
    image.blocks[0][Slot("A")] = {kEntryKey, 0, Key("B"), 0, 0};
    image.blocks[0][Slot("CapsLock")] = {kEntryDisabled, 0, 0, 0, 0};
    image.blocks[0][Slot("G3")] = {kEntryMacro, 1, 1, 0, 0};
    image.blocks[0][Slot("F5")] = {kEntryMedia, 0, 6, 0, 0};
    image.blocks[1][Slot("Z")] = {kEntryFunction, 0, 4, 0, 0};
    image.blocks[1][Slot("G9")] = {kEntryMacro, 3, 7, 0, 0};
    image.blocks[2][Slot("F1")] = {kEntryLaunch, 0, 0, 0, 0};
    image.blocks[2][Slot("F2")] = {kEntryText, 0, 0, 0, 0};
    image.blocks[2][Slot("F3")] = {kEntryStopMacro, 0, 0, 0, 0};
    editing.Strings().SetText(GlobalEntryIndex(2, Slot("F1")), u"/usr/bin/gimp");
    editing.Strings().SetText(GlobalEntryIndex(2, Slot("F2")), u"Hello,\nworld \"ü\"");
    return SerializeEditingConfig(editing);
}

std::size_t EntryAt(int block, int slot) {
    return kConfigHeaderBytes + static_cast<std::size_t>(GlobalEntryIndex(block, slot)) * 16;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           std::uint32_t(bytes[at + 3]) << 24;
}

// Grows the pool by `extra` bytes (the header follows).
void GrowPool(std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> extra) {
    const std::uint32_t total = U32At(bytes, 8);
    bytes.insert(bytes.begin() + total, extra.begin(), extra.end());
    PutU32(bytes, 8, total + static_cast<std::uint32_t>(extra.size()));
    PutU32(bytes, 16, U32At(bytes, 16) + static_cast<std::uint32_t>(extra.size()));
}

std::size_t MacroAt(int index) {
    return kConfigImageBytes + static_cast<std::size_t>(index) * kMacroRecordBytes;
}

std::string JsonOf(const std::vector<std::uint8_t>& file) {
    std::string error;
    const std::optional<std::string> text = ProfileToJson(file, error);
    EXPECT_TRUE(text) << error;
    return text.value_or("");
}

std::vector<std::uint8_t> FileOf(const std::string& text) {
    std::string error;
    const auto file = ProfileFromJson(text, error);
    EXPECT_TRUE(file) << error;
    return file.value_or(std::vector<std::uint8_t>{});
}

void ExpectRoundTrip(const std::vector<std::uint8_t>& file, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(ParseProfileBytes(file)) << "the case must be a file the loader accepts";
    EXPECT_EQ(FileOf(JsonOf(file)), file);
}

TEST(ProfileJson, NamesKeysActionsAndMacrosAsTheWindowDoes) {
    const Json document = Json::parse(JsonOf(RichFile()));
    EXPECT_EQ(document["format"], "korvel-profile");
    const Json& first = document["profiles"][0]["keys"];
    EXPECT_EQ(first, Json::parse(R"({"A": "B", "CapsLock": "Disabled", "F5": "VolumeUp",
                                     "G3": "macro:Fire"})"));
    const Json& second = document["profiles"][1]["keys"];
    EXPECT_EQ(second["Z"], "Copy");
    EXPECT_EQ(second["G9"], Json::parse(R"({"action": "macro:火", "cycles": 3})"));
    const Json& third = document["profiles"][2]["keys"];
    EXPECT_EQ(third["F1"], Json::parse(R"({"launch": "/usr/bin/gimp"})"));
    EXPECT_EQ(third["F2"], Json::parse(R"({"text": "Hello,\nworld \"ü\""})"));
    EXPECT_EQ(third["F3"], "StopMacro");
    EXPECT_EQ(
        document["macros"][0],
        Json::parse(R"({"name": "Fire", "id": 1, "cycles": 2, "steps": "A 30ms +Shift +B 5ms"})"));
    EXPECT_FALSE(document.contains("stringPool"));
    EXPECT_FALSE(document.contains("spareBlock"));
}

// Files the loader accepts, with everything the program does not interpret set.
TEST(ProfileJson, EveryQuirkSurvivesTheRoundTripByteForByte) {
    using Change = std::function<void(std::vector<std::uint8_t>&)>;
    const std::pair<const char*, Change> cases[] = {
        {"as saved", [](auto&) {}},
        {"a new configuration",
         [](auto& b) {
             b = RichFile();
             b.resize(kConfigImageBytes);
             PutU16(b, 14, 0);
             PutU32(b, 16, 0);
             PutU32(b, 8, kConfigImageBytes);
             std::fill(b.begin() + kConfigHeaderBytes, b.end(), 0);
         }},
        {"reserved header bytes and flag",
         [](auto& b) {
             b[20] = 1;
             b[27] = 0x80;
             b[30] = 1;
         }},
        {"another device descriptor", [](auto& b) { b[48] ^= 0xFF; }},
        {"select and spare of an entry",
         [](auto& b) {
             PutU32(b, EntryAt(0, Slot("A")) + 8, 9);
             PutU32(b, EntryAt(1, Slot("Q")) + 12, 0xFFFFFFFF);
         }},
        {"a type no editor knows",
         [](auto& b) {
             PutU16(b, EntryAt(0, 300), 99);
             PutU32(b, EntryAt(0, 300) + 4, 12345);
         }},
        {"a key code without a name", [](auto& b) { PutU32(b, EntryAt(0, Slot("A")) + 4, 0x7FF); }},
        {"a media index out of range", [](auto& b) { PutU32(b, EntryAt(0, Slot("F5")) + 4, 40); }},
        {"a macro id no macro has", [](auto& b) { PutU32(b, EntryAt(0, Slot("G3")) + 4, 55); }},
        {"a macro key's aux beyond 255",
         [](auto& b) { PutU16(b, EntryAt(0, Slot("G3")) + 2, 512); }},
        {"aux of a plain key", [](auto& b) { PutU16(b, EntryAt(0, Slot("A")) + 2, 3); }},
        {"a default G key without its code",
         [](auto& b) { PutU16(b, EntryAt(0, Slot("G1")) + 2, 0); }},
        {"G codes in every profile",
         [](auto& b) {
             for (int p = 1; p < 4; ++p) {
                 for (int s = kFirstGKeySlot; s <= kLastGKeySlot; ++s) {
                     if (b[EntryAt(p, s)] == 0)
                         PutU16(b, EntryAt(p, s) + 2, GKeyCodeOfSlot(s));
                 }
             }
         }},
        {"the spare block used", [](auto& b) { PutU16(b, EntryAt(3, Slot("A")), kEntryDisabled); }},
        {"bytes after a macro's name",
         [](auto& b) {
             b[MacroAt(0) + 20] = 0x41;
             b[MacroAt(0) + 497] = 7;
         }},
        {"bytes after a macro's last action",
         [](auto& b) {
             b[MacroAt(1) + 16511] = 1;
             b[MacroAt(1) + 600] = 0xEE;
         }},
        {"a name of 249 units and a 250th",
         [](auto& b) {
             for (int i = 0; i < 250; ++i) {
                 PutU16(b, MacroAt(0) + 2 * i, static_cast<std::uint16_t>(0x61 + i % 26));
             }
         }},
        {"a name with an unpaired surrogate", [](auto& b) { PutU16(b, MacroAt(0) + 2, 0xD800); }},
        {"a macro without actions", [](auto& b) { PutU16(b, MacroAt(1) + 510, 0); }},
        {"delays and directions no editor makes",
         [](auto& b) {
             PutU32(b, MacroAt(0) + 514, 99999);
             PutU16(b, MacroAt(0) + 520, 7);
         }},
        {"two macros of one name and id",
         [](auto& b) { std::copy_n(b.begin() + MacroAt(0), 508, b.begin() + MacroAt(1)); }},
        {"an unnamed macro", [](auto& b) { PutU16(b, MacroAt(1), 0); }},
        {"pool bytes no entry uses",
         [](auto& b) {
             const std::uint8_t extra[] = {1, 2, 3};
             GrowPool(b, extra);
         }},
        {"an odd offset and a shared text",
         [](auto& b) {
             PutU32(b, EntryAt(2, Slot("F2")) + 4, U32At(b, EntryAt(2, Slot("F1")) + 4) + 1);
         }},
        {"a text outside the pool", [](auto& b) { PutU32(b, EntryAt(2, Slot("F1")) + 4, 5000); }},
        {"a text that is not valid Unicode", [](auto& b) { PutU16(b, b.size() - 4, 0xDC00); }},
        {"an empty text",
         [](auto& b) {
             const std::uint8_t nul[] = {0, 0};
             GrowPool(b, nul);
             PutU32(b, EntryAt(2, Slot("F2")) + 4, U32At(b, 16) - 2);
         }},
        {"bytes after the file's end",
         [](auto& b) {
             b.push_back(0x42);
             b.push_back(0);
         }},
    };
    for (const auto& [what, change] : cases) {
        std::vector<std::uint8_t> file = RichFile();
        change(file);
        FixChecksum(file);
        ExpectRoundTrip(file, what);
    }
}

// The corpora's files, and random damage to a rich file wherever the loader still accepts it.
TEST(ProfileJson, CorporaAndDamagedFilesSurviveTheRoundTrip) {
    int tried = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(KORVEL_TESTS_DIR)) {
        if (item.path().extension() != ".kvp") {
            continue;
        }
        std::ifstream in(item.path(), std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        const auto contents = ParseProfileBytes(file);
        if (contents && ProfileHeaderValid(contents->image->header)) {
            ExpectRoundTrip(file, item.path().string());
            ++tried;
        }
    }
    EXPECT_GT(tried, 0);
    std::mt19937 random(7);
    const std::vector<std::uint8_t> rich = RichFile();
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> file = rich;
        for (int n = 0; n < 6; ++n) {
            // Anywhere past the sizes the header gives, so that most damaged files still load.
            const std::size_t at = 20 + random() % (file.size() - 20);
            file[at] = static_cast<std::uint8_t>(random());
        }
        FixChecksum(file);
        if (ParseProfileBytes(file)) {
            ExpectRoundTrip(file, "round " + std::to_string(round));
        }
    }
}

TEST(ProfileJson, AHandWrittenDocumentNeedsOnlyWhatItChanges) {
    const std::vector<std::uint8_t> file = FileOf(R"({
        "format": "korvel-profile", "version": 1,
        "profiles": [{"keys": {"caps lock": "left ctrl", "G2": "macro:Go"}}, {}, {}],
        "macros": [{"name": "Go", "steps": "+LeftShift A -Shift 20ms"}]})");
    const auto contents = ParseProfileBytes(file);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(ProfileHeaderValid(contents->image->header));
    const KeyEntry caps = contents->image->blocks[0][Slot("CapsLock")];
    EXPECT_EQ(caps.type, kEntryKey);
    EXPECT_EQ(caps.value, Key("Ctrl"));
    const KeyEntry g2 = contents->image->blocks[0][Slot("G2")];
    EXPECT_EQ(g2.type, kEntryMacro);
    EXPECT_EQ(g2.value, 1u);
    EXPECT_EQ(g2.aux, 1);
    ASSERT_EQ(contents->macros.size(), 1u);
    EXPECT_EQ(contents->macros[0].actions.size(), 4u);
    EXPECT_EQ(contents->macros[0].actions[3].delayMs, 20u);
    EXPECT_EQ(contents->macros[0].loopCount, 1);
}

TEST(ProfileJson, MistakesAreRefusedWithTheirPath) {
    const Json rich = Json::parse(JsonOf(RichFile()));
    using Edit = std::function<void(Json&)>;
    const std::tuple<const char*, Edit, std::string> cases[] = {
        {"not JSON", nullptr, "the file is not a JSON document"},
        {"another kind", [](Json& d) { d["format"] = "korvel-keyboard-backup"; },
         "$.format: this is not a profile of Korvel"},
        {"newer", [](Json& d) { d["version"] = 2; }, "$.version: the profile was made by a newer"},
        {"unknown member", [](Json& d) { d["colour"] = 1; },
         "$: the member \"colour\" is not part of this format"},
        {"unknown key", [](Json& d) { d["profiles"][0]["keys"]["Hyper"] = "A"; },
         "$.profiles[0].keys.Hyper: no key is named 'Hyper'"},
        {"unknown target", [](Json& d) { d["profiles"][1]["keys"]["A"] = "Foo"; },
         "$.profiles[1].keys.A: 'Foo' is no key"},
        {"the same key twice", [](Json& d) { d["profiles"][0]["keys"]["a"] = "C"; },
         "$.profiles[0].keys.a: the same key as \"A\""},
        {"a macro nobody has", [](Json& d) { d["profiles"][0]["keys"]["G3"] = "macro:Ice"; },
         "$.profiles[0].keys.G3: there is no macro named 'Ice'"},
        {"two profiles", [](Json& d) { d["profiles"].erase(2); },
         "$.profiles: an array of 3 profiles"},
        {"a step", [](Json& d) { d["macros"][0]["steps"] = "A 50000ms"; },
         "$.macros[0].steps: '50000ms': a delay is at most 40000 ms"},
        {"cycles out of range", [](Json& d) { d["macros"][1]["cycles"] = 256; },
         "$.macros[1].cycles: must be 0..255, not 256"},
        {"cycles of a key",
         [](Json& d) {
             d["profiles"][0]["keys"]["A"] = {{"action", "B"}, {"cycles", 2}};
         },
         "$.profiles[0].keys.A.cycles: only a macro has \"cycles\""},
        {"a bad digit", [](Json& d) { d["header"]["reserved"] = "zz000000000000000000"; },
         "$.header.reserved: digit 0 is not a hexadecimal digit"},
        {"an offset without a pool", [](Json& d) { d["profiles"][2]["keys"]["F1"]["offset"] = 0; },
         "$.profiles[2].keys.F1.offset: an offset goes with the \"stringPool\""},
        {"101 macros",
         [](Json& d) {
             for (int i = 0; i < 99; ++i)
                 d["macros"].push_back(d["macros"][0]);
         },
         "$.macros: a profile holds at most 100 macros, not 101"},
    };
    for (const auto& [what, edit, expected] : cases) {
        SCOPED_TRACE(what);
        Json document = rich;
        std::string text = "{\"format\": ";
        if (edit) {
            edit(document);
            text = document.dump();
        }
        std::string error;
        EXPECT_FALSE(ProfileFromJson(text, error));
        EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
    }
}

TEST(ProfileJson, EditedTextsArePackedAnewAndUnusedBytesMayNotOverlapTheName) {
    std::vector<std::uint8_t> file = RichFile();
    const std::uint8_t extra[] = {9, 9};
    GrowPool(file, extra);
    file[MacroAt(0) + 40] = 0x33;
    FixChecksum(file);
    Json document = Json::parse(JsonOf(file));
    ASSERT_TRUE(document.contains("stringPool"));
    document["profiles"][2]["keys"]["F1"]["launch"] = "/usr/bin/krita";
    auto contents = ParseProfileBytes(FileOf(document.dump()));
    ASSERT_TRUE(contents);
    EXPECT_EQ(*contents->strings.Text(GlobalEntryIndex(2, Slot("F1"))), u"/usr/bin/krita");
    EXPECT_EQ(*contents->strings.Text(GlobalEntryIndex(2, Slot("F2"))), u"Hello,\nworld \"ü\"");

    document["macros"][0]["name"] = std::string(30, 'x');
    std::string error;
    EXPECT_FALSE(ProfileFromJson(document.dump(), error));
    EXPECT_EQ(error.rfind("$.macros[0].unusedBytes: they overlap the macro's name", 0), 0u)
        << error;
}

}  // namespace
}  // namespace korvel::test
