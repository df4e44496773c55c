#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <vector>

#include "gui/editors/profile_file_chooser.h"

namespace korvel::fixtures {

// Answers the profile manager's file dialogs from a queue (empty: cancelled) and remembers where
// each dialog started.
class ScriptedFileChooser : public ProfileFileChooser {
public:
    void Queue(std::filesystem::path file) { m_answers.push_back(std::move(file)); }
    const std::vector<std::filesystem::path>& StartedAt() const { return m_startedAt; }

    std::optional<std::filesystem::path> ChooseNewFile(
        QWidget*, const std::filesystem::path& suggested) override {
        return Answer(suggested);
    }
    std::optional<std::filesystem::path> ChooseExistingFile(
        QWidget*, const std::filesystem::path& folder) override {
        return Answer(folder);
    }

private:
    std::optional<std::filesystem::path> Answer(const std::filesystem::path& start) {
        m_startedAt.push_back(start);
        if (m_answers.empty()) {
            return std::nullopt;
        }
        std::filesystem::path file = m_answers.front();
        m_answers.pop_front();
        return file;
    }

    std::deque<std::filesystem::path> m_answers;
    std::vector<std::filesystem::path> m_startedAt;
};

}  // namespace korvel::fixtures
