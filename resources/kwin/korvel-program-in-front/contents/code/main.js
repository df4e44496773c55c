// Tells Korvel which program is in front, so that the keyboard follows it on a Wayland session,
// where no other program may ask. Korvel's per-application rules name programs by window class.
function tellKorvel(window) {
    if (!window) {
        return;
    }
    callDBus("org.korvel.Korvel1", "/org/korvel/Korvel1", "org.korvel.Korvel1",
             "SetActiveProgram", String(window.resourceClass));
}

// KWin 6 names it windowActivated, KWin 5 clientActivated.
(workspace.windowActivated || workspace.clientActivated).connect(tellKorvel);
