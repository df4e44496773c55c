#pragma once

namespace korvel {

// What assistive technology learns of the skinned controls, which Qt cannot describe itself:
// an image button (CPngButton, CPictureButton) is a button named by its accessible name, else
// its caption, else its tooltip, and can be pressed; an image slider (CImageSlider) is a slider
// with its position as its value. Installed once, by the first skinned window.
void InstallSkinnedAccessibility();

}  // namespace korvel
