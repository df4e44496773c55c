#pragma once

namespace korvel {

// Control ids of the key editor (dialog 134) and the macro editor (dialog 133).
enum EditorControl : int {
    kEditorOk = 1,
    kEditorCancel = 2,
    kEditorApply = 1015,
    kMacroEditorList = 1016,
    kMacroAdd = 1017,
    kMacroDelete = 1018,
    kMacroSteps = 1019,
    kMacroRecord = 1020,
    kMacroDeleteStep = 1021,
    kMacroClear = 1022,
    kMacroTop = 1023,
    kMacroUp = 1024,
    kMacroDown = 1025,
    kMacroBottom = 1026,
    kMacroRecordDelay = 1027,
    kPageSingleKey = 1028,
    kPageMacro = 1029,
    kPageMedia = 1030,
    kPageFunction = 1031,
    kCompositeClear = 1032,
    kCompositePage = 1033,
    kMacroCycles = 1125,
    kMacroPageList = 1126,
    kSingleKeyDisplay = 1127,
    kMediaList = 1128,
    kFunctionList = 1129,
    kMacroCyclesLabel = 1130,
    kCompositeTitle = 1131,
    kOnScreenKeyboard = 1132,
    kMacroRecordDelayLabel = 1133,
    kHeadingLabel = 1199,
    kMacroNameLabel = 1200,
    kSingleKeyLabel = 1201,
    kMediaLabel = 1202,
    kFunctionLabel = 1203,
};

}  // namespace korvel
