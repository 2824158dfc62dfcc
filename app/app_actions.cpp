#include "app/app_actions.h"

#include "input/input_main.h"

void RegisterInputActions(QOXInput& input)
{
    struct Action {
        const char* Name;
        const char* Group;
        int Code;
    };
    static constexpr Action kActions[] = {
        {kActionLeft, kGroupMouse, kCodeMouseLeft},
        {kActionRight, kGroupMouse, kCodeMouseRight},
        {kActionMiddle, kGroupMouse, kCodeMouseMiddle},
        {kActionZoomIn, kGroupMouse, kCodeWheelAway},
        {kActionZoomOut, kGroupMouse, kCodeWheelTowards},
        {kActionMovementMode, kGroupMovement, kCodeMouseMiddle},
        {kActionPan, kGroupMovement, kScanLeftCtrl},
        {kActionZoom, kGroupMovement, kScanLeftShift},
        {kActionRotate, kGroupMovement, kScanLeftAlt},
        {kActionAdd, kGroupSelection, kScanLeftShift},
        {kActionInvert, kGroupSelection, kScanLeftCtrl},
        {kActionSwitchRing, kGroupRings, kScanTab},
        {kActionDisplayRings, kGroupRings, kScanSpace},
    };
    for (const Action& action : kActions)
        input.AddButton(action.Name, action.Group, action.Code);
}
