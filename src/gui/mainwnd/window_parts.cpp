#include "gui/mainwnd/window_parts.h"

#include <cctype>

#include <map>

#include "base/text_encoding.h"
#include "device/device_link.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/platform/launchers.h"
#include "gui/skin/dialog_skin.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "sync/profile_transfer.h"
#include "text/text_table.h"

namespace korvel {

WindowParts::WindowParts(MainWindowServices& services, KeyboardJobs& jobs, QWidget& window,
                         const DialogSkin& skin, KeyGrid& keys, ProfileBar& profiles,
                         LightingPanel& lighting, std::function<CPngButton*(int)> control,
                         SettingsStore& settings)
    : services(services),
      jobs(jobs),
      window(window),
      skin(skin),
      keys(keys),
      profiles(profiles),
      lighting(lighting),
      settings(settings),
      m_control(std::move(control)) {}

int WindowParts::ActiveProfile() const {
    // What the keyboard last said; the jobs that switch or read it keep it up to date.
    return services.link.ActiveProfileCache();
}

void WindowParts::RefreshKeys() const {
    auto lock = services.store.EditingConfig().Lock();
    keys.RefreshKeyButtons(services.store.EditingConfig(), ActiveProfile());
}

std::shared_ptr<const DialogSkin> WindowParts::SkinOf(WindowSkin dialog) const {
    return services.skins ? services.skins(dialog)
                          : ShippedSkin(services.paths, services.texts, dialog);
}

TextLookup WindowParts::Texts() const {
    const TextTable* texts = &services.texts;
    return [texts](std::string_view key) { return texts->Text(key); };
}

TextLookup WindowParts::TextsFor(std::initializer_list<const char*> keys) const {
    std::map<std::string, std::u16string, std::less<>> copied;
    for (const char* key : keys) {
        copied.emplace(key, services.texts.Text(key));
    }
    return [copied = std::move(copied)](std::string_view key) {
        const auto found = copied.find(key);
        return found != copied.end() ? found->second : std::u16string();
    };
}

std::u16string WindowParts::Caption(const char* key) const {
    return skin.Caption(key).toStdU16String();
}

std::u16string WindowParts::CaptionOf(std::string_view prefix, std::string_view word) const {
    std::string key(prefix);
    for (const char c : word) {
        key += c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return Caption(key.c_str());
}

std::u16string WindowParts::CaptionWith(const char* key, std::u16string_view value) const {
    std::u16string text = Caption(key);
    if (const auto at = text.find(u"%s"); at != std::u16string::npos) {
        text.replace(at, 2, value);
    } else {
        text += u"\n";
        text += value;
    }
    return text;
}

void WindowParts::ShowKeyboardHeld(const std::string& holder) const {
    if (!m_closing) {
        services.prompts.ShowMessage(Utf8ToUtf16(holder), MessageKind::Warning);
    }
}

void WindowParts::ShowHelp() const {
    if (korvel::ShowHelp(services.launcher, services.paths)) {
        return;
    }
    const QString text = skin.Caption("HELP_NOT_OPENED")
                             .arg(QString::fromStdU16String(services.paths.HelpFile().u16string()));
    services.prompts.ShowMessage(text.toStdU16String(), MessageKind::Warning);
}

void WindowParts::ShowWriteFailure(const std::filesystem::path& file,
                                   const FileWriteResult& write) const {
    services.prompts.ShowMessage(FileWriteFailedText(Texts(), file, write), MessageKind::Error);
}

}  // namespace korvel
