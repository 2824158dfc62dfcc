#pragma once
// The application's named input actions: their groups and names, and the one place that
// registers all thirteen on the input module at start-up.
class QOXInput;

inline constexpr const char* kGroupMouse = "Mouse";
inline constexpr const char* kGroupMovement = "Movement";
inline constexpr const char* kGroupSelection = "Selection";
inline constexpr const char* kGroupRings = "Rings";

inline constexpr const char* kActionLeft = "Left";
inline constexpr const char* kActionRight = "Right";
inline constexpr const char* kActionMiddle = "Middle";
inline constexpr const char* kActionZoomIn = "Zoom In";
inline constexpr const char* kActionZoomOut = "Zoom Out";
inline constexpr const char* kActionMovementMode = "Movement Mode";
inline constexpr const char* kActionPan = "Pan";
inline constexpr const char* kActionZoom = "Zoom";
inline constexpr const char* kActionRotate = "Rotate";
inline constexpr const char* kActionAdd = "Add";
inline constexpr const char* kActionInvert = "Invert";
inline constexpr const char* kActionSwitchRing = "Switch Ring";
inline constexpr const char* kActionDisplayRings = "Display Rings";

// Keyboard scan codes and mouse codes the actions are bound to.
inline constexpr int kScanTab = 15;
inline constexpr int kScanLeftCtrl = 29;
inline constexpr int kScanLeftShift = 42;
inline constexpr int kScanLeftAlt = 56;
inline constexpr int kScanSpace = 57;
inline constexpr int kCodeMouseLeft = 1000;
inline constexpr int kCodeMouseRight = 1001;
inline constexpr int kCodeMouseMiddle = 1002;
inline constexpr int kCodeWheelAway = 1033;
inline constexpr int kCodeWheelTowards = 1034;

// Registers the application's actions, each with one code, in their fixed order.
void RegisterInputActions(QOXInput& input);
