// The udev rule that ships with Korvel gives the user at the seat exactly the keyboard interfaces
// the programs open, and never the boot keyboard, whose node carries every key typed. The rule
// file is read as udev reads it and applied to the virtual keyboard's interfaces, laid out as
// sysfs shows a USB keyboard's: hidraw node, HID device, USB interface, USB device.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "device/hid_device.h"
#include "device/hid_report_descriptor.h"
#include "device/keyboard_identity.h"
#include "device/sim/simulated_backend.h"
#include "device/sim/virtual_keyboard.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

// One device on the way from a hidraw node up to the root, as udev sees it.
struct SysDevice {
    std::string subsystem;
    std::string kernel;
    std::map<std::string, std::string> attributes;
};
using DeviceChain = std::vector<SysDevice>;  // [0] is the hidraw node itself

struct RuleKey {
    std::string name;
    std::string attribute;  // the {…} part, if any
    std::string op;
    std::string value;
};
using Rule = std::vector<RuleKey>;

// udev's patterns: '*' any run of characters, '?' one character, '|' between alternatives.
bool GlobMatches(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) {
        return text.empty();
    }
    if (pattern[0] == '*') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip) {
            if (GlobMatches(pattern.substr(1), text.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    return !text.empty() && (pattern[0] == '?' || pattern[0] == text[0]) &&
           GlobMatches(pattern.substr(1), text.substr(1));
}

bool PatternMatches(std::string_view pattern, std::string_view text) {
    for (std::size_t start = 0;;) {
        const std::size_t bar = pattern.find('|', start);
        if (GlobMatches(pattern.substr(start, bar - start), text)) {
            return true;
        }
        if (bar == std::string_view::npos) {
            return false;
        }
        start = bar + 1;
    }
}

// The keys this reading knows. Anything else in the rule file is an error rather than silently
// passed over; MODE, GROUP and OWNER are left out on purpose: access goes to the user at the
// seat through the uaccess tag alone, never to a group or to everyone.
const std::set<std::string> kDeviceKeys = {"ACTION", "SUBSYSTEM", "KERNEL", "ATTR"};
const std::set<std::string> kParentKeys = {"SUBSYSTEMS", "KERNELS", "ATTRS"};
const std::set<std::string> kAssignKeys = {"TAG", "GOTO", "LABEL"};

std::vector<Rule> ParseRules(const std::string& text, std::string& error) {
    // KEY or KEY{attribute}, an operator, a quoted value, then a comma or the end of the line.
    static const std::regex keyPattern(
        R"re(\s*([A-Z]+)(?:\{([^}]*)\})?\s*(==|!=|\+=|-=|:=|=)\s*"([^"]*)"\s*(,|$))re");
    std::vector<Rule> rules;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        Rule rule;
        for (auto at = line.cbegin() + static_cast<std::ptrdiff_t>(first); at != line.cend();) {
            std::smatch key;
            if (!std::regex_search(at, line.cend(), key, keyPattern,
                                   std::regex_constants::match_continuous)) {
                error = "line " + std::to_string(number) + ": cannot read '" + line + "'";
                return {};
            }
            const RuleKey parsed{key[1], key[2], key[3], key[4]};
            const bool matchKey =
                kDeviceKeys.contains(parsed.name) || kParentKeys.contains(parsed.name);
            const bool known = matchKey ? (parsed.op == "==" || parsed.op == "!=")
                                        : kAssignKeys.contains(parsed.name) &&
                                              (parsed.op == (parsed.name == "TAG" ? "+=" : "="));
            // udev's "!=" on a parent key is easy to misread; the rule has no need of it.
            if (!known || (kParentKeys.contains(parsed.name) && parsed.op == "!=")) {
                error = "line " + std::to_string(number) +
                        ": key this test does not know: " + parsed.name + parsed.op;
                return {};
            }
            rule.push_back(parsed);
            at = key[0].second;
        }
        rules.push_back(std::move(rule));
    }
    return rules;
}

std::optional<std::string> DeviceValue(const SysDevice& device, const RuleKey& key) {
    if (key.name == "SUBSYSTEM" || key.name == "SUBSYSTEMS") {
        return device.subsystem;
    }
    if (key.name == "KERNEL" || key.name == "KERNELS") {
        return device.kernel;
    }
    const auto it = device.attributes.find(key.attribute);
    if (it == device.attributes.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool KeyMatches(const SysDevice& device, const RuleKey& key) {
    const std::optional<std::string> value =
        key.name == "ACTION" ? std::optional<std::string>("add") : DeviceValue(device, key);
    const bool equal = value && PatternMatches(key.value, *value);
    return key.op == "==" ? equal : !equal;
}

// The tags an "add" event of the device gets from the rules. udev matches the keys of the
// device itself on the device, and all parent keys of one rule on one and the same device of
// the chain (the device itself included); a GOTO jumps to its LABEL further down.
std::set<std::string> TagsOf(const std::vector<Rule>& rules, const DeviceChain& chain,
                             std::string& error) {
    std::set<std::string> tags;
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const Rule& rule = rules[index];
        bool matches = true;
        bool hasParentKeys = false;
        for (const RuleKey& key : rule) {
            if (kDeviceKeys.contains(key.name)) {
                matches = matches && KeyMatches(chain.front(), key);
            }
            hasParentKeys = hasParentKeys || kParentKeys.contains(key.name);
        }
        if (matches && hasParentKeys) {
            matches = std::any_of(chain.begin(), chain.end(), [&](const SysDevice& device) {
                return std::all_of(rule.begin(), rule.end(), [&](const RuleKey& key) {
                    return !kParentKeys.contains(key.name) || KeyMatches(device, key);
                });
            });
        }
        if (!matches) {
            continue;
        }
        for (const RuleKey& key : rule) {
            if (key.name == "TAG") {
                tags.insert(key.value);
            } else if (key.name == "GOTO") {
                const auto label =
                    std::find_if(rules.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                                 rules.end(), [&](const Rule& later) {
                                     return later.size() == 1 && later[0].name == "LABEL" &&
                                            later[0].value == key.value;
                                 });
                if (label == rules.end()) {
                    error = "GOTO without its LABEL: " + key.value;
                    return {};
                }
                index = static_cast<std::size_t>(label - rules.begin());
                break;
            }
        }
    }
    return tags;
}

std::vector<Rule> ShippedRules() {
    const std::string text = fixtures::ReadBytes(KORVEL_UDEV_RULE);
    EXPECT_FALSE(text.empty()) << "cannot read " << KORVEL_UDEV_RULE;
    std::string error;
    std::vector<Rule> rules = ParseRules(text, error);
    EXPECT_TRUE(error.empty()) << error;
    return rules;
}

// What the USB interface of a HID interface declares: class 03 (HID), and subclass 01 / protocol
// 01 for a boot keyboard.
struct InterfaceClass {
    bool bootKeyboard = false;
};

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

// The sysfs chain of interface `number` of a USB device, as the kernel lays it out and names its
// attributes (lower-case hex, two digits for the interface's fields, four for the ids).
DeviceChain UsbHidChain(std::uint16_t vendor, std::uint16_t product, unsigned number,
                        InterfaceClass kind) {
    char hid[32];  // the HID device's own name is upper-case
    std::snprintf(hid, sizeof hid, "0003:%04X:%04X.%04X", vendor, product, number + 1);
    return {
        {"hidraw", "hidraw" + std::to_string(number), {{"dev", "243:" + std::to_string(number)}}},
        {"hid", hid, {{"country", "00"}}},
        {"usb",
         "1-2:1." + std::to_string(number),
         {{"bInterfaceNumber", Hex(number, 2)},
          {"bAlternateSetting", " 0"},
          {"bInterfaceClass", "03"},
          {"bInterfaceSubClass", kind.bootKeyboard ? "01" : "00"},
          {"bInterfaceProtocol", kind.bootKeyboard ? "01" : "00"},
          {"bNumEndpoints", "01"}}},
        {"usb",
         "1-2",
         {{"idVendor", Hex(vendor, 4)},
          {"idProduct", Hex(product, 4)},
          {"bDeviceClass", "00"},
          {"bNumInterfaces", " 3"}}},
        {"usb", "usb1", {{"idVendor", "1d6b"}, {"idProduct", "0002"}, {"bDeviceClass", "09"}}},
        {"pci", "0000:00:14.0", {{"vendor", "0x8086"}, {"class", "0x0c0330"}}},
    };
}

unsigned HexAfter(const std::string& path, std::string_view marker) {
    const std::size_t at = path.find(marker);
    return at == std::string::npos ? 0xFFFF
                                   : static_cast<unsigned>(std::strtoul(
                                         path.c_str() + at + marker.size(), nullptr, 16));
}

// One interface of the virtual keyboard: its path, number, and whether its descriptor is the
// boot keyboard's (a keyboard collection on the generic desktop page).
struct VirtualInterface {
    std::string path;
    unsigned number = 0;
    bool bootKeyboard = false;
};

std::vector<VirtualInterface> VirtualKeyboardInterfaces(sim::SimulatedBackend& backend) {
    std::vector<std::string> paths;
    EXPECT_TRUE(backend.Enumerate(paths));
    std::vector<VirtualInterface> interfaces;
    for (const std::string& path : paths) {
        const auto connection = backend.Open(path, true, false, false);
        EXPECT_NE(connection, nullptr) << path;
        if (!connection) {
            continue;
        }
        const auto descriptor = HidReportDescriptor::Parse(connection->ReportDescriptor());
        EXPECT_TRUE(descriptor) << path;
        bool keyboard = false;
        for (const HidCollectionInfo& collection : descriptor->TopLevelCollections()) {
            keyboard = keyboard || (collection.usagePage == 0x01 && collection.usage == 0x06);
        }
        interfaces.push_back({path, HexAfter(path, "mi_"), keyboard});
    }
    return interfaces;
}

// The paths the programs open: the command collection (korvelctl, the window's link) and the
// event collection (the window's event listener), found by their own search.
std::set<std::string> PathsTheProgramsOpen(sim::SimulatedBackend& backend) {
    std::set<std::string> opened;
    for (const auto& [page, usage, forWrite] : {std::tuple{kCommandUsagePage, kCommandUsage, true},
                                                std::tuple{kEventUsagePage, kEventUsage, false}}) {
        HidDevice device(backend);
        EXPECT_TRUE(device.Enumerate());
        EXPECT_TRUE(OpenNextKeyboardCollection(device, page, usage, forWrite)) << page;
        opened.insert(device.DevicePath());
        device.Close();
    }
    return opened;
}

TEST(UdevRule, OpensToTheUserExactlyTheInterfacesTheProgramsOpenAndNeverTheBootKeyboard) {
    const std::vector<Rule> rules = ShippedRules();
    ASSERT_FALSE(rules.empty());
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend(keyboard);
    const std::set<std::string> opened = PathsTheProgramsOpen(backend);
    const std::vector<VirtualInterface> interfaces = VirtualKeyboardInterfaces(backend);
    ASSERT_EQ(interfaces.size(), 3u);
    ASSERT_EQ(opened.size(), 2u);
    ASSERT_EQ(std::count_if(interfaces.begin(), interfaces.end(),
                            [](const VirtualInterface& i) { return i.bootKeyboard; }),
              1);

    // The keyboard, and its boot loader should it show the same interfaces.
    for (const std::uint16_t product : {kKeyboardProductId, kKeyboardProductIdAlt}) {
        for (const VirtualInterface& interface : interfaces) {
            ASSERT_EQ(HexAfter(interface.path, "vid_"), kKeyboardVendorId);
            std::string error;
            const std::set<std::string> tags = TagsOf(
                rules,
                UsbHidChain(kKeyboardVendorId, product, interface.number, {interface.bootKeyboard}),
                error);
            EXPECT_TRUE(error.empty()) << error;
            const bool given = tags.contains("uaccess");
            EXPECT_EQ(given, opened.contains(interface.path))
                << interface.path << " as product " << Hex(product, 4);
            if (interface.bootKeyboard) {
                EXPECT_FALSE(given) << "the boot keyboard, as product " << Hex(product, 4);
            }
        }
    }
}

TEST(UdevRule, GivesTheBootLoaderToTheUpdaterAndNothingToOtherDevices) {
    const std::vector<Rule> rules = ShippedRules();
    ASSERT_FALSE(rules.empty());
    struct Case {
        const char* what;
        std::uint16_t vendor;
        std::uint16_t product;
        unsigned number;
        bool bootKeyboard;
        bool given;
    };
    const Case cases[] = {
        {"the boot loader's vendor-defined interface 00", 0x0C45, 0x5004, 0, false, true},
        {"a boot loader interface 03", 0x0C45, 0x5004, 3, false, true},
        {"a boot keyboard interface of the boot loader", 0x0C45, 0x5004, 1, true, false},
        {"the keyboard's interface 03, which the programs do not open", 0x0C45, 0x5304, 3, false,
         false},
        {"another product of the same vendor", 0x0C45, 0x7603, 1, false, false},
        {"another vendor's device with the keyboard's product id", 0x046D, 0x5304, 1, false, false},
    };
    for (const Case& c : cases) {
        std::string error;
        const std::set<std::string> tags =
            TagsOf(rules, UsbHidChain(c.vendor, c.product, c.number, {c.bootKeyboard}), error);
        EXPECT_TRUE(error.empty()) << c.what << ": " << error;
        EXPECT_EQ(tags.contains("uaccess"), c.given) << c.what;
    }

    // Only hidraw nodes: the keyboard's input event device of the same interface gets nothing.
    DeviceChain input = UsbHidChain(0x0C45, 0x5304, 1, {});
    input.front() = {"input", "event7", {}};
    std::string error;
    EXPECT_TRUE(TagsOf(rules, input, error).empty()) << error;
}

}  // namespace
}  // namespace korvel
