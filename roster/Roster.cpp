#include "Roster.h"

#include "GetPICExtensions.h"
#include "ListDrag.h"
#include "RosterCommands.h"

namespace vardolin::roster {

void Attach(capture::GetPICExtensions& slots) {
    slots.menuCommand = &RunMenuCommand;
    slots.list1DblClick = &List1_DblClick;
    slots.list1MouseDown = &List1_MouseDown;
    slots.list1MouseMove = &List1_MouseMove;
    slots.list1MouseUp = &List1_MouseUp;
}

}  // namespace vardolin::roster
