#pragma once

#include <gtest/gtest.h>

#include <QComboBox>

#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "model/lighting/lighting_state.h"

namespace korvel::fixtures {

// A control of the window's lighting panel, as the type it is.
template <typename T>
T* LightingControl(CKorvelDlg& window, int id) {
    return static_cast<T*>(window.Lighting().Control(id));
}

// Chooses an effect in the panel's selector as the user does.
inline void ChooseEffect(CKorvelDlg& window, int effect) {
    auto* selector = LightingControl<QComboBox>(window, kEffectSelector);
    const int position = window.Lighting().State().effectSlots.PositionOf(effect);
    ASSERT_GE(position, 0);
    selector->setCurrentIndex(position);
    emit selector->activated(position);
}

}  // namespace korvel::fixtures
