#include <algorithm>

#include "base/byte_io.h"
#include "base/text_encoding.h"
#include "model/files/json_checks.h"
#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "model/files/profile_json_actions.h"
#include "model/image/string_pool.h"
#include "model/keys/portable_key_names.h"
#include "model/macros/macro_steps.h"

namespace korvel {
namespace {

using json::Json;
using profile_json::BaseEntry;

// Whether a block's G keys at their default carry their codes, unless the file says otherwise:
// the onboard profiles do, the spare block does not.
constexpr bool GCodesByDefault(int block) {
    return block < kOnboardProfiles;
}

// A text that UTF-8 carries exactly (no unpaired surrogate).
bool TravelsAsUtf8(const std::u16string& text) {
    return Utf8ToUtf16(Utf16ToUtf8(text)) == text;
}

class JsonWriter {
public:
    JsonWriter(std::span<const std::uint8_t> file, const ProfileContents& contents)
        : m_file(file), m_contents(contents) {}

    Json Document() {
        Json document;
        document["format"] = kProfileJsonFormat;
        document["version"] = kProfileJsonVersion;
        document["header"] = Header();
        m_rawPool = !PoolIsPacked();
        Json profiles = Json::array();
        for (int block = 0; block < kOnboardProfiles; ++block) {
            profiles.push_back(Block(block));
        }
        document["profiles"] = std::move(profiles);
        if (Json spare = Block(kProfileBlocks - 1); !spare["keys"].empty() || spare.size() > 1) {
            document["spareBlock"] = std::move(spare);
        }
        Json macros = Json::array();
        for (std::size_t i = 0; i < m_contents.macros.size(); ++i) {
            macros.push_back(Macro(i));
        }
        document["macros"] = std::move(macros);
        const ConfigHeader& header = m_contents.image->header;
        if (m_rawPool) {
            document["stringPool"] = json::Hex(Pool());
        }
        if (m_file.size() > header.totalBytes) {
            document["trailingBytes"] = json::Hex(m_file.subspan(header.totalBytes));
        }
        return document;
    }

private:
    std::span<const std::uint8_t> Pool() const {
        const ConfigHeader& header = m_contents.image->header;
        return m_file.subspan(header.totalBytes - header.stringPoolBytes, header.stringPoolBytes);
    }

    Json Header() const {
        Json header;
        header["flag"] = m_contents.image->header.reservedFlag;
        const auto reserved = m_file.subspan(20, 10);
        if (std::any_of(reserved.begin(), reserved.end(), [](std::uint8_t b) { return b != 0; })) {
            header["reserved"] = json::Hex(reserved);
        }
        // A new configuration's descriptor block is left out; the reader starts from it.
        if (m_contents.image->header.deviceDescriptorBlock !=
            CreateDefaultImage(0)->header.deviceDescriptorBlock) {
            header["deviceDescriptor"] = json::Hex(m_file.subspan(32, 32));
        }
        return header;
    }

    // Whether the pool is exactly what packing the texts gives: then the texts alone say it all.
    bool PoolIsPacked() const {
        ConfigImage packed = *m_contents.image;
        const std::vector<std::uint8_t> pool =
            PackStringPool(packed, m_contents.strings, m_contents.strings.StringBytes());
        if (!std::equal(pool.begin(), pool.end(), Pool().begin(), Pool().end())) {
            return false;
        }
        for (int k = 0; k < kConfigEntries; ++k) {
            const KeyEntry& entry = m_contents.image->Entry(k);
            if (!HasEntryText(entry.type)) {
                continue;
            }
            const std::u16string* text = m_contents.strings.Text(k);
            if (packed.Entry(k).value != entry.value ||
                (text != nullptr && !TravelsAsUtf8(*text))) {
                return false;
            }
        }
        return true;
    }

    Json Block(int block) const {
        const ProfileBlock& entries = m_contents.image->blocks[static_cast<std::size_t>(block)];
        const auto changed = [&entries](bool gCodes) {
            int count = 0;
            for (int slot = 0; slot < kBlockSlots; ++slot) {
                count += entries[static_cast<std::size_t>(slot)] != BaseEntry(slot, gCodes);
            }
            return count;
        };
        const bool preferred = GCodesByDefault(block);
        const bool gCodes = changed(!preferred) < changed(preferred) ? !preferred : preferred;
        Json out;
        if (gCodes != preferred) {
            out["gCodes"] = gCodes;
        }
        Json keys = Json::object();
        const PortableKeyNames& names = PortableKeyNames::Get();
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            const KeyEntry& entry = entries[static_cast<std::size_t>(slot)];
            if (entry != BaseEntry(slot, gCodes)) {
                keys[names.SlotName(slot)] = Entry(entry, GlobalEntryIndex(block, slot), gCodes);
            }
        }
        out["keys"] = std::move(keys);
        return out;
    }

    Json Entry(const KeyEntry& entry, int k, bool gCodes) const {
        const int slot = k % kBlockSlots;
        const auto extras = [&entry](Json& out, const KeyEntry& expected) {
            if (entry.aux != expected.aux) {
                out[entry.type == kEntryMacro ? "cycles" : "aux"] = entry.aux;
            }
            if (entry.select != 0) {
                out["select"] = entry.select;
            }
            if (entry.spare != 0) {
                out["spare"] = entry.spare;
            }
        };
        if (HasEntryText(entry.type)) {
            Json out;
            const std::u16string* text = m_contents.strings.Text(k);
            out[entry.type == kEntryLaunch ? "launch" : "text"] =
                text != nullptr ? Json(Utf16ToUtf8(*text)) : Json(nullptr);
            extras(out, BaseEntry(slot, true));
            if (m_rawPool) {
                out["offset"] = entry.value;
            }
            return out;
        }
        if (const std::optional<std::string> words =
                profile_json::DescribeAction(entry, m_contents.macros)) {
            std::string ignored;
            const auto action = profile_json::ActionOf(*words, m_contents.macros, ignored);
            if (action && action->type == entry.type && action->value == entry.value) {
                const KeyEntry expected = profile_json::EntryOf(*action, slot, gCodes);
                if (expected == entry) {
                    return *words;
                }
                Json out;
                out["action"] = *words;
                extras(out, expected);
                return out;
            }
        }
        return Json{{"type", entry.type},
                    {"aux", entry.aux},
                    {"value", entry.value},
                    {"select", entry.select},
                    {"spare", entry.spare}};
    }

    Json Macro(std::size_t index) const {
        const MacroRecord& macro = m_contents.macros[index];
        const PortableKeyNames& names = PortableKeyNames::Get();
        Json out;
        out["name"] = Utf16ToUtf8(macro.name);
        if (!TravelsAsUtf8(macro.name)) {
            Json units = Json::array();
            for (const char16_t unit : macro.name) {
                units.push_back(static_cast<std::uint16_t>(unit));
            }
            out["nameUnits"] = std::move(units);
        }
        out["id"] = macro.macroId;
        out["cycles"] = macro.loopCount;
        const std::string steps = FormatMacroSteps(macro.actions, names.Codec());
        std::string ignored;
        if (ParseMacroSteps(steps, names.Names(), ignored) == macro.actions) {
            out["steps"] = steps;
        } else {
            Json actions = Json::array();
            for (const MacroAction& action : macro.actions) {
                actions.push_back({{"delayMs", action.delayMs},
                                   {"key", action.key},
                                   {"direction", action.direction}});
            }
            out["actions"] = std::move(actions);
        }
        for (const auto& [name, value] :
             {std::pair<const char*, std::uint32_t>{"playMode", macro.playMode},
              {"isNew", macro.isNew},
              {"reserved1", macro.reserved1},
              {"reserved2", macro.reserved2}}) {
            if (value != 0) {
                out[name] = value;
            }
        }
        if (Json unused = UnusedBytes(index); !unused.empty()) {
            out["unusedBytes"] = std::move(unused);
        }
        return out;
    }

    // The bytes of a stored macro that its fields leave out (after the name's end, after the last
    // action), where they are not zero: runs of {"at": offset in the record, "hex": bytes}.
    Json UnusedBytes(std::size_t index) const {
        ByteWriter writer;
        WriteMacroRecord(writer, m_contents.macros[index]);
        const std::vector<std::uint8_t> written = writer.Take();
        const auto stored =
            m_file.subspan(kConfigImageBytes + index * kMacroRecordBytes, kMacroRecordBytes);
        Json runs = Json::array();
        std::size_t at = 0;
        while (at < written.size()) {
            if (written[at] == stored[at]) {
                ++at;
                continue;
            }
            // A run ends where eight bytes in a row agree again.
            std::size_t end = at + 1;
            for (std::size_t same = 0; end < written.size() && same < 8; ++end) {
                same = written[end] == stored[end] ? same + 1 : 0;
            }
            while (written[end - 1] == stored[end - 1]) {
                --end;
            }
            runs.push_back({{"at", at}, {"hex", json::Hex(stored.subspan(at, end - at))}});
            at = end;
        }
        return runs;
    }

    std::span<const std::uint8_t> m_file;
    const ProfileContents& m_contents;
    bool m_rawPool = false;
};

}  // namespace

bool IsJsonDocument(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

bool IsJsonDocument(std::span<const std::uint8_t> bytes) {
    return IsJsonDocument(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<std::string> ProfileToJson(std::span<const std::uint8_t> file, std::string& error) {
    try {
        ProfileReadError readError = ProfileReadError::None;
        const std::optional<ProfileContents> contents = ParseProfileBytes(file, &readError);
        if (!contents) {
            error = std::string(ProfileReadErrorReason(readError));
            return std::nullopt;
        }
        if (!ProfileHeaderValid(contents->image->header)) {
            error = "its header is not one of a profile file";
            return std::nullopt;
        }
        std::string text = JsonWriter(file, *contents).Document().dump(2) + '\n';
        // The form is only handed out when it gives the same file back.
        std::string backError;
        const auto back = ProfileFromJson(text, backError);
        if (!back || !std::equal(back->begin(), back->end(), file.begin(), file.end())) {
            error = "its JSON form would not give the same file back" +
                    (backError.empty() ? std::string() : " (" + backError + ")");
            return std::nullopt;
        }
        return text;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return std::nullopt;
    }
}

}  // namespace korvel
