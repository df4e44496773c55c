#include "sync/g_key_player.h"

namespace korvel {

GKeyPlayer::GKeyPlayer(PlayOf playOf, InputInjector& input)
    : m_playOf(std::move(playOf)), m_input(input) {}

GKeyPlayer::~GKeyPlayer() {
    Stop();
}

void GKeyPlayer::Start() {
    if (m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_stop = false;
    }
    m_thread = std::thread([this] { Run(); });
}

void GKeyPlayer::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void GKeyPlayer::Press(int slot) {
    {
        std::lock_guard lock(m_mutex);
        m_presses.push_back(slot);
    }
    m_changed.notify_all();
}

bool GKeyPlayer::PlayingMacro() const {
    std::lock_guard lock(m_mutex);
    return m_playing;
}

bool GKeyPlayer::WaitIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout,
                              [this] { return m_presses.empty() && !m_taking && !m_playing; });
}

void GKeyPlayer::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_presses.empty()) {
            const int slot = m_presses.front();
            m_presses.pop_front();
            m_taking = true;
            lock.unlock();
            Take(slot);
            lock.lock();
            m_taking = false;
            m_playing = m_macro.has_value();
            m_changed.notify_all();
            continue;
        }
        if (m_macro) {
            const auto due = m_macro->due;
            if (m_changed.wait_until(lock, due, [this] { return m_stop || !m_presses.empty(); })) {
                continue;
            }
            lock.unlock();
            PlayDueActions(std::chrono::steady_clock::now());
            lock.lock();
            m_playing = m_macro.has_value();
            m_changed.notify_all();
            continue;
        }
        m_changed.wait(lock, [this] { return m_stop || !m_presses.empty(); });
    }
    lock.unlock();
    EndMacro();
    lock.lock();
    m_playing = false;
    m_changed.notify_all();
}

void GKeyPlayer::Take(int slot) {
    const GKeyPlay play = m_playOf(slot);
    switch (play.kind) {
        case GKeyPlay::Kind::Nothing:
            break;
        case GKeyPlay::Kind::Keys:
            Tap(play.keys);
            break;
        case GKeyPlay::Kind::StopMacro:
            EndMacro();
            break;
        case GKeyPlay::Kind::Macro: {
            // Pressing the key of the macro that plays ends it; any other macro takes its place.
            const bool again = m_macro && m_macro->slot == slot;
            EndMacro();
            if (!again && play.cycles > 0) {
                m_macro =
                    Macro{slot, play.actions, play.cycles, 0, 0, std::chrono::steady_clock::now()};
                PlayDueActions(std::chrono::steady_clock::now());
            }
            break;
        }
    }
}

void GKeyPlayer::PlayDueActions(std::chrono::steady_clock::time_point now) {
    while (m_macro && m_macro->due <= now) {
        Macro& macro = *m_macro;
        if (macro.next >= macro.actions.size()) {
            macro.next = 0;
            if (++macro.cycle >= macro.cycles) {
                EndMacro();
                return;
            }
        }
        const MacroAction& action = macro.actions[macro.next++];
        const bool press = action.direction == kMacroPress;
        m_input.Key(action.key, press);
        if (press) {
            m_held.insert(action.key);
        } else {
            m_held.erase(action.key);
        }
        macro.due += std::chrono::milliseconds(action.delayMs);
        {
            // A press waiting to be taken (the same key again, to stop it) comes before the
            // next action.
            std::lock_guard lock(m_mutex);
            if (!m_presses.empty() || m_stop) {
                return;
            }
        }
    }
}

void GKeyPlayer::EndMacro() {
    for (const ScanCode key : m_held) {
        m_input.Key(key, false);
    }
    m_held.clear();
    m_macro.reset();
}

void GKeyPlayer::Tap(const std::vector<ScanCode>& keys) {
    for (const ScanCode key : keys) {
        m_input.Key(key, true);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        m_input.Key(*it, false);
    }
}

}  // namespace korvel
