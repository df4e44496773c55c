#pragma once

#include <functional>
#include <memory>

namespace korvel {

class AppPaths;
class DialogSkin;
class TextTable;

// The skinned dialogs of the window.
enum class WindowSkin { Main, KeyEditor, MacroEditor, ProfileManager, Update };

// Hands each dialog its skin, so that a test can give one a skin of its own.
using SkinSource = std::function<std::shared_ptr<const DialogSkin>(WindowSkin)>;

// The skins the program ships, with the captions of its text table.
std::shared_ptr<const DialogSkin> ShippedSkin(const AppPaths& paths, const TextTable& texts,
                                              WindowSkin dialog);

}  // namespace korvel
