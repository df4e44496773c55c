#include <algorithm>
#include <map>

#include "base/byte_io.h"
#include "base/text_encoding.h"
#include "model/files/json_checks.h"
#include "model/files/profile_json.h"
#include "model/files/profile_json_actions.h"
#include "model/image/string_pool.h"
#include "model/keys/portable_key_names.h"
#include "model/macros/macro_steps.h"

namespace korvel {
namespace {

using json::ExpectMembers;
using json::Json;
using json::Refuse;
using json::WholeNumber;

constexpr std::int64_t kU8 = 0xFF;
constexpr std::int64_t kU16 = 0xFFFF;
constexpr std::int64_t kU32 = 0xFFFFFFFF;

std::string Member(const std::string& where, const std::string& name) {
    return where + "." + name;
}

std::string Item(const std::string& where, std::size_t index) {
    return where + "[" + std::to_string(index) + "]";
}

// A stored macro: its fields, and the record's bytes as the file holds them.
struct StoredMacro {
    MacroRecord record;
    std::vector<std::uint8_t> bytes;
};

// A key's entry, with its text and, where the pool is kept as it was, the text's place in it.
struct TextOfEntry {
    int k = 0;
    std::optional<std::u16string> text;
    std::optional<std::uint32_t> offset;
    std::string where;
};

class JsonReader {
public:
    std::vector<std::uint8_t> Read(const Json& document) {
        json::CheckFormat(document, kProfileJsonFormat, kProfileJsonVersion, "a profile",
                          "the profile");
        ExpectMembers(
            document, "$", {"format", "version"},
            {"header", "profiles", "spareBlock", "macros", "stringPool", "trailingBytes"});
        m_image = *CreateDefaultImage(0);
        if (document.contains("macros")) {
            Macros(document["macros"], "$.macros");
        }
        if (document.contains("profiles")) {
            const Json& profiles = document["profiles"];
            if (!profiles.is_array() || profiles.size() != kOnboardProfiles) {
                Refuse("$.profiles", "an array of " + std::to_string(kOnboardProfiles) +
                                         " profiles was expected");
            }
            for (std::size_t p = 0; p < kOnboardProfiles; ++p) {
                Block(profiles[p], Item("$.profiles", p), static_cast<int>(p));
            }
        } else {
            for (int p = 0; p < kOnboardProfiles; ++p) {
                Block(Json::object(), "$.profiles", p);
            }
        }
        Block(document.contains("spareBlock") ? document["spareBlock"] : Json::object(),
              "$.spareBlock", kProfileBlocks - 1);
        const std::vector<std::uint8_t> pool = Pool(document);
        Header(document.contains("header") ? document["header"] : Json::object(), pool.size());

        ByteWriter writer;
        WriteConfigImage(writer, m_image);
        for (const StoredMacro& macro : m_macros) {
            writer.WriteBytes(macro.bytes);
        }
        writer.WriteBytes(pool);
        if (document.contains("trailingBytes")) {
            writer.WriteBytes(json::HexBytes(document["trailingBytes"], "$.trailingBytes"));
        }
        return writer.Take();
    }

private:
    void Header(const Json& header, std::size_t poolBytes) {
        ExpectMembers(header, "$.header", {}, {"flag", "reserved", "deviceDescriptor"});
        const auto flag = static_cast<std::uint8_t>(
            header.contains("flag") ? WholeNumber(header["flag"], "$.header.flag", 0, 1) : 0);
        if (poolBytes > kU32 - kConfigImageBytes - m_macros.size() * kMacroRecordBytes) {
            Refuse("$", "the profile would be larger than a profile file can be");
        }
        InitConfigHeader(m_image, static_cast<std::uint16_t>(m_macros.size()),
                         static_cast<std::uint32_t>(poolBytes), flag);
        ConfigHeader& h = m_image.header;
        if (header.contains("reserved")) {
            const std::vector<std::uint8_t> bytes =
                json::HexBytes(header["reserved"], "$.header.reserved", 10);
            ByteReader reader(bytes);
            reader.ReadU32LittleEndian(h.reserved20);
            reader.ReadU32LittleEndian(h.reserved24);
            reader.ReadU16LittleEndian(h.reserved28);
        }
        if (header.contains("deviceDescriptor")) {
            const std::vector<std::uint8_t> bytes =
                json::HexBytes(header["deviceDescriptor"], "$.header.deviceDescriptor", 32);
            ByteReader reader(bytes);
            for (std::uint32_t& word : h.deviceDescriptorBlock) {
                reader.ReadU32LittleEndian(word);
            }
        }
        h.checksum = ConfigHeaderChecksum(h);
    }

    void Macros(const Json& macros, const std::string& where) {
        if (!macros.is_array()) {
            Refuse(where, "an array of macros was expected");
        }
        if (macros.size() > static_cast<std::size_t>(kMaxMacros)) {
            Refuse(where, "a profile holds at most " + std::to_string(kMaxMacros) +
                              " macros, not " + std::to_string(macros.size()));
        }
        // Names first: steps and keys may name any macro of the list.
        for (std::size_t i = 0; i < macros.size(); ++i) {
            m_macros.push_back({Named(macros[i], Item(where, i)), {}});
        }
        std::vector<MacroRecord> taken;
        for (std::size_t i = 0; i < macros.size(); ++i) {
            Macro(macros[i], Item(where, i), m_macros[i], taken);
            taken.push_back(m_macros[i].record);
        }
    }

    MacroRecord Named(const Json& macro, const std::string& where) {
        ExpectMembers(macro, where, {"name"},
                      {"nameUnits", "id", "cycles", "steps", "actions", "playMode", "isNew",
                       "reserved1", "reserved2", "unusedBytes"});
        MacroRecord record;
        const std::string& name = json::Text(macro["name"], Member(where, "name"));
        record.name = Utf8ToUtf16(name);
        if (macro.contains("nameUnits")) {
            const Json& units = macro["nameUnits"];
            if (!units.is_array()) {
                Refuse(Member(where, "nameUnits"), "an array of UTF-16 units was expected");
            }
            record.name.clear();
            for (std::size_t u = 0; u < units.size(); ++u) {
                record.name.push_back(static_cast<char16_t>(
                    WholeNumber(units[u], Item(Member(where, "nameUnits"), u), 1, kU16)));
            }
            if (Utf16ToUtf8(record.name) != name) {
                Refuse(Member(where, "nameUnits"),
                       "they do not spell the name: leave them out to rename the macro");
            }
        }
        if (record.name.size() >= kMacroNameUnits ||
            record.name.find(u'\0') != std::u16string::npos) {
            Refuse(Member(where, "name"), "a macro's name is at most " +
                                              std::to_string(kMacroNameUnits - 1) +
                                              " characters, without NUL");
        }
        return record;
    }

    void Macro(const Json& macro, const std::string& where, StoredMacro& stored,
               const std::vector<MacroRecord>& before) {
        MacroRecord& record = stored.record;
        record.macroId =
            macro.contains("id")
                ? static_cast<std::uint16_t>(WholeNumber(macro["id"], Member(where, "id"), 0, kU16))
                : LowestFreeMacroId(before);
        record.loopCount = static_cast<std::uint8_t>(
            macro.contains("cycles") ? WholeNumber(macro["cycles"], Member(where, "cycles"), 0, kU8)
                                     : 1);
        record.playMode = static_cast<std::uint16_t>(Optional(macro, where, "playMode", kU16));
        record.isNew = static_cast<std::uint16_t>(Optional(macro, where, "isNew", kU16));
        record.reserved1 = static_cast<std::uint8_t>(Optional(macro, where, "reserved1", kU8));
        record.reserved2 = static_cast<std::uint16_t>(Optional(macro, where, "reserved2", kU16));
        if (macro.contains("steps") == macro.contains("actions")) {
            Refuse(where, "a macro has either \"steps\" or \"actions\"");
        }
        if (macro.contains("steps")) {
            std::string error;
            const auto actions = ParseMacroSteps(json::Text(macro["steps"], Member(where, "steps")),
                                                 PortableKeyNames::Get().Names(), error);
            if (!actions) {
                Refuse(Member(where, "steps"), error);
            }
            record.actions = *actions;
        } else {
            record.actions = Actions(macro["actions"], Member(where, "actions"));
        }
        ByteWriter writer;
        WriteMacroRecord(writer, record);
        stored.bytes = writer.Take();
        if (macro.contains("unusedBytes")) {
            UnusedBytes(macro["unusedBytes"], Member(where, "unusedBytes"), stored);
        }
    }

    static std::int64_t Optional(const Json& object, const std::string& where, const char* name,
                                 std::int64_t high) {
        return object.contains(name) ? WholeNumber(object[name], Member(where, name), 0, high) : 0;
    }

    static std::vector<MacroAction> Actions(const Json& actions, const std::string& where) {
        if (!actions.is_array()) {
            Refuse(where, "an array of actions was expected");
        }
        if (actions.size() > static_cast<std::size_t>(kMaxMacroActions)) {
            Refuse(where, "a macro holds at most " + std::to_string(kMaxMacroActions) +
                              " actions, not " + std::to_string(actions.size()));
        }
        std::vector<MacroAction> out;
        for (std::size_t i = 0; i < actions.size(); ++i) {
            const std::string at = Item(where, i);
            ExpectMembers(actions[i], at, {"delayMs", "key", "direction"});
            out.push_back(
                {static_cast<std::uint32_t>(
                     WholeNumber(actions[i]["delayMs"], Member(at, "delayMs"), 0, kU32)),
                 static_cast<ScanCode>(WholeNumber(actions[i]["key"], Member(at, "key"), 0, kU16)),
                 static_cast<std::uint16_t>(
                     WholeNumber(actions[i]["direction"], Member(at, "direction"), 0, kU16))});
        }
        return out;
    }

    // Puts back the bytes the fields leave out; they may not change what the fields say.
    static void UnusedBytes(const Json& runs, const std::string& where, StoredMacro& stored) {
        if (!runs.is_array()) {
            Refuse(where, "an array of {\"at\", \"hex\"} was expected");
        }
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const std::string at = Item(where, i);
            ExpectMembers(runs[i], at, {"at", "hex"});
            const auto offset = static_cast<std::size_t>(
                WholeNumber(runs[i]["at"], Member(at, "at"), 0, kMacroRecordBytes - 1));
            const std::vector<std::uint8_t> bytes =
                json::HexBytes(runs[i]["hex"], Member(at, "hex"));
            if (bytes.size() > kMacroRecordBytes - offset) {
                Refuse(at, "the bytes run past the end of the macro's record");
            }
            std::copy(bytes.begin(), bytes.end(), stored.bytes.begin() + static_cast<long>(offset));
        }
        ByteReader reader(stored.bytes);
        MacroRecord back;
        if (!ReadMacroRecord(reader, back) || back != stored.record) {
            Refuse(where,
                   "they overlap the macro's name, settings or steps (leave them out after "
                   "changing those)");
        }
    }

    void Block(const Json& block, const std::string& where, int index) {
        ExpectMembers(block, where, {}, {"gCodes", "keys"});
        bool gCodes = index < kOnboardProfiles;
        if (block.contains("gCodes")) {
            if (!block["gCodes"].is_boolean()) {
                Refuse(Member(where, "gCodes"), "true or false was expected");
            }
            gCodes = block["gCodes"].get<bool>();
        }
        ProfileBlock& entries = m_image.blocks[static_cast<std::size_t>(index)];
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            entries[static_cast<std::size_t>(slot)] = profile_json::BaseEntry(slot, gCodes);
        }
        if (!block.contains("keys")) {
            return;
        }
        const Json& keys = block["keys"];
        const std::string keysWhere = Member(where, "keys");
        if (!keys.is_object()) {
            Refuse(keysWhere, "an object of keys was expected");
        }
        std::map<int, std::string> named;
        for (const auto& item : keys.items()) {
            const std::string at = Member(keysWhere, item.key());
            const std::optional<int> slot = PortableKeyNames::Get().SlotOf(item.key());
            if (!slot) {
                Refuse(at, "no key is named '" + item.key() +
                               "' (keys are named as the window "
                               "shows them: A, CapsLock, G1)");
            }
            if (const auto [previous, fresh] = named.emplace(*slot, item.key()); !fresh) {
                Refuse(at, "the same key as \"" + previous->second + "\"");
            }
            entries[static_cast<std::size_t>(*slot)] =
                Entry(item.value(), at, GlobalEntryIndex(index, *slot), gCodes);
        }
    }

    KeyEntry Entry(const Json& value, const std::string& where, int k, bool gCodes) {
        const int slot = k % kBlockSlots;
        if (value.is_string()) {
            return profile_json::EntryOf(Action(value.get<std::string>(), where), slot, gCodes);
        }
        ExpectMembers(value, where, {},
                      {"action", "launch", "text", "type", "aux", "cycles", "value", "select",
                       "spare", "offset"});
        const int kinds = value.contains("action") + value.contains("launch") +
                          value.contains("text") + value.contains("type");
        if (kinds != 1) {
            Refuse(where, "a key has one of \"action\", \"launch\", \"text\" or \"type\"");
        }
        KeyEntry entry;
        if (value.contains("type")) {
            for (const char* member : {"cycles", "offset"}) {
                if (value.contains(member)) {
                    Refuse(Member(where, member), "not with \"type\": give \"aux\" and \"value\"");
                }
            }
            entry.type = static_cast<std::uint16_t>(Optional(value, where, "type", kU16));
            entry.aux = static_cast<std::uint16_t>(Optional(value, where, "aux", kU16));
            entry.value = static_cast<std::uint32_t>(Optional(value, where, "value", kU32));
        } else if (value.contains("action")) {
            if (value.contains("value") || value.contains("offset")) {
                Refuse(where, "\"value\" and \"offset\" go with \"type\", \"launch\" or \"text\"");
            }
            entry =
                profile_json::EntryOf(Action(json::Text(value["action"], Member(where, "action")),
                                             Member(where, "action")),
                                      slot, gCodes);
            AuxOf(value, where, entry);
        } else {
            if (value.contains("value")) {
                Refuse(Member(where, "value"), "a text's place is its \"offset\"");
            }
            const bool launch = value.contains("launch");
            const char* member = launch ? "launch" : "text";
            entry = profile_json::EntryOf({launch ? kEntryLaunch : kEntryText, 0}, slot, gCodes);
            AuxOf(value, where, entry);
            TextOfEntry text{k, std::nullopt, std::nullopt, Member(where, member)};
            if (!value[member].is_null()) {
                text.text = Utf8ToUtf16(json::Text(value[member], text.where));
                if (text.text->find(u'\0') != std::u16string::npos) {
                    Refuse(text.where, "a text holds no NUL (null for none)");
                }
            }
            if (value.contains("offset")) {
                text.offset = static_cast<std::uint32_t>(
                    WholeNumber(value["offset"], Member(where, "offset"), 0, kU32));
            }
            m_texts.push_back(std::move(text));
        }
        entry.select = static_cast<std::uint32_t>(Optional(value, where, "select", kU32));
        entry.spare = static_cast<std::uint32_t>(Optional(value, where, "spare", kU32));
        return entry;
    }

    // "cycles" of a macro, "aux" of anything else, where the file gives them.
    static void AuxOf(const Json& value, const std::string& where, KeyEntry& entry) {
        const bool macro = entry.type == kEntryMacro;
        if (value.contains(macro ? "aux" : "cycles")) {
            Refuse(Member(where, macro ? "aux" : "cycles"),
                   macro ? "a macro's aux is its \"cycles\"" : "only a macro has \"cycles\"");
        }
        const char* member = macro ? "cycles" : "aux";
        if (value.contains(member)) {
            entry.aux = static_cast<std::uint16_t>(
                WholeNumber(value[member], Member(where, member), 0, kU16));
        }
    }

    profile_json::Action Action(const std::string& words, const std::string& where) const {
        std::vector<MacroRecord> records;
        for (const StoredMacro& macro : m_macros) {
            records.push_back(macro.record);
        }
        std::string error;
        const auto action = profile_json::ActionOf(words, records, error);
        if (!action) {
            Refuse(where, error);
        }
        return *action;
    }

    // The pool as the file kept it, where every text still sits at its offset; packed anew
    // otherwise (a text was changed, added or removed).
    std::vector<std::uint8_t> Pool(const Json& document) {
        if (document.contains("stringPool")) {
            std::vector<std::uint8_t> pool = json::HexBytes(document["stringPool"], "$.stringPool");
            const bool kept = std::all_of(m_texts.begin(), m_texts.end(), [&pool](const auto& t) {
                if (!t.offset) {
                    return false;
                }
                const std::optional<std::u16string> there = PoolTextAt(pool, *t.offset & ~1u);
                return there.has_value() == t.text.has_value() &&
                       (!there || Utf16ToUtf8(*there) == Utf16ToUtf8(*t.text));
            });
            if (kept) {
                for (const TextOfEntry& text : m_texts) {
                    m_image.Entry(text.k).value = *text.offset;
                }
                return pool;
            }
        } else {
            for (const TextOfEntry& text : m_texts) {
                if (text.offset) {
                    Refuse(text.where.substr(0, text.where.rfind('.')) + ".offset",
                           "an offset goes with the \"stringPool\" it points into");
                }
            }
        }
        StringSlotTable slots;
        for (const TextOfEntry& text : m_texts) {
            if (text.text) {
                slots.SetText(text.k, *text.text);
            }
        }
        return PackStringPool(m_image, slots, slots.StringBytes());
    }

    ConfigImage m_image;
    std::vector<StoredMacro> m_macros;
    std::vector<TextOfEntry> m_texts;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> ProfileFromJson(std::string_view text,
                                                         std::string& error) {
    try {
        const Json document = Json::parse(text, nullptr, false);
        if (document.is_discarded()) {
            error = "the file is not a JSON document (damaged, or not the JSON form of a profile)";
            return std::nullopt;
        }
        return JsonReader().Read(document);
    } catch (const json::Refusal& refusal) {
        error = refusal.text;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    }
    return std::nullopt;
}

}  // namespace korvel
