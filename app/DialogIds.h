#pragma once
// Control and command ids of the main dialog. Each control's object name is its id, and
// CMorvikDlg::control(id) returns it.
#include "controls/ColorRef.h"

namespace morvik {

enum MainDialogControl : int {
    kIdOk = 1,     // Enter: never ends the dialog
    kIdCancel = 2, // Esc
    kIdReadingGrid = 1000,
    kIdPrintSettings = 1001,
    kIdBatchMode = 1002,
    kIdMemberList = 1003,
    kIdPrintPreview = 1004,
    kIdCalculator = 1005,
    kIdClearProjectInfo = 1006, // hidden
    kIdClearReadings = 1007,
    kIdSave = 1008,
    kIdOpen = 1009,
    kIdCalculate = 1010, // hidden
    kIdExit = 1011,
    kIdTestDate = 1012,
    kIdConstructionDate = 1013,
    kIdProjectName = 1014,
    kIdMemberName = 1015,
    kIdInstrumentNumber = 1016,
    kIdTemperature = 1017,
    kIdRemark = 1018,
    kIdReviewer = 1019,
    kIdChiefInspector = 1020,
    kIdMeanDepth = 1021,
    kIdStrength = 1022,
    kIdStrengthGrade = 1024,
    kIdMortarKind = 1025,
    kIdMortarVariety = 1026,
    kIdBatchMean = 1027,
    kIdBatchStdDev = 1028,
    kIdBatchMin = 1029,
    kIdBatchCv = 1030,
    kIdBatchEstimate = 1031,
    kIdNewFile = 1032,
    kIdBasis = 1034,
    kIdMemberEstimate = 1035,
};

// Commands of the member list's context menu and of the accelerators.
enum MainDialogCommand : int {
    kCmdDeleteMembers = 32776,
    kCmdAddMember = 32777,
    kCmdToggleAllChecks = 32778,
    kCmdUndo = 32779, // Ctrl+Z
    kCmdRedo = 32780, // Ctrl+Y, Ctrl+Shift+Z
};

// The About entry of the system menu.
inline constexpr int kIdAboutBox = 0x0010;

// The face colour of the dialog, its labels, group boxes and check box: RGB(213, 222, 242).
inline constexpr ColorRef kDialogFaceColour = kFaceColour;

} // namespace morvik
