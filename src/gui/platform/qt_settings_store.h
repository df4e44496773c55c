#pragma once

#include "ports/settings_store.h"

namespace korvel {

// The application's settings store on the platform's settings (QSettings with the root set at
// start-up): the registry on Windows, ~/.config/Korvel_Tolvane/ elsewhere. Values are kept as
// "section/key".
class QtSettingsStore final : public SettingsStore {
public:
    void WriteString(std::string_view section, std::string_view key,
                     std::u16string_view value) override;
    std::optional<std::u16string> ReadString(std::string_view section,
                                             std::string_view key) const override;
    void Remove(std::string_view section, std::string_view key) override;
};

}  // namespace korvel
