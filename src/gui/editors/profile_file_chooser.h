#pragma once

#include <filesystem>
#include <optional>

class QWidget;

namespace korvel {

// The file dialogs of the profile manager, so that tests can answer them. Both dialogs filter
// profile files first, then every file.
class ProfileFileChooser {
public:
    virtual ~ProfileFileChooser() = default;
    // A save dialog for a new profile file, starting at `suggested`; ".kvp" is added when the
    // user types no extension and an existing file is only replaced after asking. None when
    // cancelled.
    virtual std::optional<std::filesystem::path> ChooseNewFile(
        QWidget* parent, const std::filesystem::path& suggested) = 0;
    // An open dialog for an existing profile file in `folder`. None when cancelled.
    virtual std::optional<std::filesystem::path> ChooseExistingFile(
        QWidget* parent, const std::filesystem::path& folder) = 0;
};

// The platform's file dialogs, in the program's own look.
class QtProfileFileChooser : public ProfileFileChooser {
public:
    std::optional<std::filesystem::path> ChooseNewFile(
        QWidget* parent, const std::filesystem::path& suggested) override;
    std::optional<std::filesystem::path> ChooseExistingFile(
        QWidget* parent, const std::filesystem::path& folder) override;
};

}  // namespace korvel
