// The lighting panel's side on the keyboard: its changes and reads as jobs of the keyboard
// service, on a mirror of the lighting that lives with the service.
#include <QPointer>
#include <functional>
#include <utility>
#include <vector>

#include "device/device_link.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "model/lighting/lighting_state.h"
#include "sync/download_check.h"
#include "sync/lighting_ops.h"

namespace korvel {
namespace {

// What the lighting operations ask of the panel while they run on the service's thread: kept,
// and done on the panel once the job's state has been taken over.
class RecordedLightingView final : public LightingView {
public:
    using Call = std::function<void(LightingView&)>;
    void ClearEffectSelector() override {
        m_calls.push_back([](LightingView& view) { view.ClearEffectSelector(); });
    }
    void TintKey(int gridKey, std::optional<Color> tint) override {
        m_calls.push_back([=](LightingView& view) { view.TintKey(gridKey, tint); });
    }
    void ShowEffect(int effect) override {
        m_calls.push_back([=](LightingView& view) { view.ShowEffect(effect); });
    }
    void ShowValues(const LightingValues& values) override {
        m_calls.push_back([=](LightingView& view) { view.ShowValues(values); });
    }
    void ShowPreset(int preset) override {
        m_calls.push_back([=](LightingView& view) { view.ShowPreset(preset); });
    }
    std::vector<Call> Take() { return std::exchange(m_calls, {}); }

private:
    std::vector<Call> m_calls;
};

// A read's outcome: the mirror's state and what the operations showed meanwhile.
struct LightingSnapshot {
    LightingState state;
    std::vector<RecordedLightingView::Call> shown;
};

}  // namespace

// Used only by jobs on the service's thread, one at a time.
struct LightingPanel::KeyboardSide {
    KeyboardSide(DeviceLink& link, const std::filesystem::path& settingsFile)
        : ops(state, link, view, settingsFile) {}
    LightingState state;
    RecordedLightingView view;
    LightingOps ops;
};

std::shared_ptr<LightingPanel::KeyboardSide> LightingPanel::MakeKeyboardSide(
    DeviceLink& link, const std::filesystem::path& settingsFile) {
    return std::make_shared<KeyboardSide>(link, settingsFile);
}

void LightingPanel::SetCurrentProfile(int profile) {
    Change({}, [profile](LightingOps& ops) {
        ops.State().currentProfile = profile;
        ops.DecodeCurrentRecord();
    });
}

void LightingPanel::Change(const std::string& field,
                           const std::function<void(LightingOps&)>& change) {
    const int profile = m_state->Profile();
    const LightingPicture before = korvel::PictureOf(*m_state, profile);
    Send(field, change);
    // A choice of the user's for the profile it edits, not a switch to another profile.
    if (m_changeListener && m_state->Profile() == profile) {
        if (const LightingPicture after = korvel::PictureOf(*m_state, profile);
            !(after == before)) {
            m_changeListener(field, profile, before, after);
        }
    }
}

void LightingPanel::PutBack(const LightingPicture& picture) {
    Send({}, [picture](LightingOps& ops) { ops.PutBackLighting(picture); });
    Redraw();
}

void LightingPanel::CheckWritten(std::function<void(const DownloadCheck&)> done) {
    QPointer<LightingPanel> self(this);
    m_jobs.Submit<DownloadCheck>(
        "lighting check",
        [side = m_keyboard](JobContext& job) {
            const LightingState& state = side->state;
            const int profile = state.Profile();
            return CheckLighting(job.Link(), profile, state.records[profile],
                                 state.HasPerKeyColors() ? &state.colorTables[profile] : nullptr);
        },
        [self, done = std::move(done)](JobResult<DownloadCheck> result) {
            if (self != nullptr && result.value) {
                done(*result.value);
            }
        });
}

void LightingPanel::Resend() {
    PutBack(korvel::PictureOf(*m_state, m_state->Profile()));
}

void LightingPanel::Send(const std::string& field,
                         const std::function<void(LightingOps&)>& change) {
    change(*m_ops);
    m_jobs.Submit<int>(
        "lighting",
        [side = m_keyboard, change](JobContext&) {
            change(side->ops);
            side->view.Take();  // the panel has shown this change already
            return 0;
        },
        {}, field.empty() ? std::string() : "lighting." + field);
}

void LightingPanel::ReadAll() {
    Read(true);
}

void LightingPanel::ReadCurrent() {
    Read(false);
}

void LightingPanel::Read(bool allProfiles) {
    // The read starts from what the panel shows (the profile it edits, the panel's switch).
    const LightingState shown = *m_state;
    QPointer<LightingPanel> self(this);
    m_jobs.Submit<LightingSnapshot>(
        allProfiles ? "lighting read" : "lighting read (profile)",
        [side = m_keyboard, shown, allProfiles](JobContext&) {
            side->state.currentProfile = shown.currentProfile;
            side->state.lightingPanelOn = shown.lightingPanelOn;
            if (allProfiles) {
                side->ops.ReadAllLighting();
                if (side->state.HasPerKeyColors()) {
                    side->ops.RecomputeBaseMembership();
                }
            } else {
                side->ops.ReadCurrentLighting();
            }
            return LightingSnapshot{side->state, side->view.Take()};
        },
        [self](JobResult<LightingSnapshot> result) {
            if (self == nullptr || !result.value) {
                return;
            }
            *self->m_state = result.value->state;
            for (const auto& call : result.value->shown) {
                call(*self);
            }
            self->Redraw();
            emit self->read();
        });
}

}  // namespace korvel
