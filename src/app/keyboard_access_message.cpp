#include "app/keyboard_access_message.h"

#include <cstdio>

namespace korvel {

std::string KeyboardAccessMessage(const std::vector<BlockedHidrawNode>& blocked,
                                  const std::filesystem::path& udevRule) {
    if (blocked.empty()) {
        return {};
    }
    std::string text = "The keyboard is plugged in, but this user may not open it:\n";
    for (const BlockedHidrawNode& node : blocked) {
        char ids[48];
        std::snprintf(ids, sizeof ids, "vendor 0x%04X, product 0x%04X", node.vendorId,
                      node.productId);
        text += "  " + node.node + " (" + ids + "): " + node.reason + "\n";
    }
    text +=
        "Install the udev rule that comes with Korvel, which lets the user at the seat open\n"
        "only the keyboard's event and command interfaces, never the one that carries typing,\n"
        "and reload udev:\n"
        "  sudo install -m 644 " +
        udevRule.string() +
        " /etc/udev/rules.d/70-korvel.rules\n"
        "  sudo udevadm control --reload-rules\n"
        "  sudo udevadm trigger --subsystem-match=hidraw --action=add\n"
        "then unplug the keyboard and plug it in again.";
    return text;
}

}  // namespace korvel
