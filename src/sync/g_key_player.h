#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "model/keys/g_key_play.h"
#include "ports/input_injector.h"

namespace korvel {

// Plays the G keys on the computer: each press the keyboard reports is looked up (what the G key
// of the active profile does, at the moment it is pressed) and played through the injector.
// Keys and shortcuts are pressed and released at once; a macro plays its actions with their
// delays for its cycles, and ends early when its G key is pressed again, when a G key that stops
// macros is pressed, or when another G key starts a macro of its own. Keys a macro holds down are
// released whenever it ends, so no key is left pressed.
//
// Threads: Press from any thread (the event listener's), never waiting; the playing runs on the
// player's own thread, which Stop ends and joins.
class GKeyPlayer {
public:
    // What G-key slot `slot` plays now; called on the player's thread.
    using PlayOf = std::function<GKeyPlay(int slot)>;

    GKeyPlayer(PlayOf playOf, InputInjector& input);
    ~GKeyPlayer();

    GKeyPlayer(const GKeyPlayer&) = delete;
    GKeyPlayer& operator=(const GKeyPlayer&) = delete;

    void Start();
    void Stop();

    // A G key's press, by its slot (256..273).
    void Press(int slot);

    // Whether a macro is playing now (for tests and the monitor).
    bool PlayingMacro() const;
    // Waits until every press so far has been taken and no macro plays; false when `timeout`
    // passed first.
    bool WaitIdle(std::chrono::milliseconds timeout) const;

private:
    struct Macro {
        int slot = 0;
        std::vector<MacroAction> actions;
        int cycles = 0;
        std::size_t next = 0;  // the action to play next
        int cycle = 0;         // cycles completed
        std::chrono::steady_clock::time_point due;
    };

    void Run();
    void Take(int slot);
    void PlayDueActions(std::chrono::steady_clock::time_point now);
    void EndMacro();
    void Tap(const std::vector<ScanCode>& keys);

    PlayOf m_playOf;
    InputInjector& m_input;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<int> m_presses;  // under m_mutex
    bool m_stop = false;        // under m_mutex
    bool m_playing = false;     // under m_mutex: a macro plays
    bool m_taking = false;      // under m_mutex: a press is being played

    // Only the player's thread touches these.
    std::optional<Macro> m_macro;
    std::set<ScanCode> m_held;  // keys the macro pressed and has not released

    std::thread m_thread;
};

}  // namespace korvel
