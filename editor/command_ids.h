#pragma once

namespace orv {

// Command ids of the pop-up menus; the controller and the view dispatch on them.
enum CommandId : int {
    // Menu 205, the panel's "メニュー" button; undo and redo also by Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z.
    kCmdUndo = 57643,
    kCmdRedo = 57644,
    kCmdNew = 57600,
    kCmdOpen = 57601,
    kCmdMergeLoad = 32795,
    kCmdSave = 57603,
    kCmdSaveAs = 57604,
    kCmdExport = 32810,
    kCmdRender = 32789,
    kCmdSetBackgroundImage = 32803,
    kCmdReleaseBackgroundImage = 32807,
    kCmdSettings = 32783,
    kCmdHelp = 57670,
    kCmdAbout = 57664,
    kCmdExit = 57665,
    // Menu 206, the emitter list's right button.
    kCmdAddEmitter = 32784,
    kCmdRenameEmitter = 32791,
    kCmdDeleteEmitter = 32786,
    kCmdMoveEmitterUp = 32792,
    kCmdMoveEmitterDown = 32793,
    // Menu 209, the preview's right button.
    kCmdSelectionToEmission = 32799,
    kCmdSelectionToStartSize = 32796,
    kCmdSelectionToFinishSize = 32797,
    kCmdSelectionToAmplitudes = 32800,
    kCmdSelectionToHorAmplitude = 32804,
    kCmdSelectionToVerAmplitude = 32805,
};

// Control ids of the parameter panel besides the parameter rows' own.
enum PanelControlId : int {
    kIdGravityGroup = 1047,
    kIdRadialGroup = 1046,
    kIdTypeCombo = 1058,
    kIdBlendCombo = 1084,
    kIdSortCombo = 1165,
    kIdEnableColor = 1083,
    kIdColorConstant = 1143,
    kIdTextureDirection = 1160,
    kIdEmitterList = 1130,
    kIdMenuButton = 1132,
    kIdTextureButton = 1086,
    kIdResetButton = 1134,
    kIdNumberEdit = 1145,
    kIdNumberRange = 1148,
    kIdTextEdit = 1149,
};

}  // namespace orv
