// Where the other parts of the component attach their behaviour to the
// capture window: the roster commands and list mouse handling, the photo
// buttons, the crop frame and the About button. Each part fills its slots
// once, when the component starts; an empty slot does nothing.
#pragma once

#include "MenuThe.h"
#include "PictureBox.h"

#include <functional>

namespace vardolin::capture {

class GetPIC;

// A mouse event of the roster list: button 1 left, 2 right, 4 middle (for a
// move: the buttons held); shift 1 Shift, 2 Ctrl, 4 Alt; position in twips
// relative to the list's top-left corner.
struct ListMouseEvent {
    int button;
    int shift;
    float x;
    float y;
};

struct GetPICExtensions {
    std::function<void(GetPIC&, MenuItem)> menuCommand;
    std::function<void(GetPIC&)> list1DblClick;
    std::function<void(GetPIC&, const ListMouseEvent&)> list1MouseDown;
    std::function<void(GetPIC&, const ListMouseEvent&)> list1MouseMove;
    std::function<void(GetPIC&, const ListMouseEvent&)> list1MouseUp;
    std::function<void(GetPIC&)> cmdSaveDIBClick;
    std::function<void(GetPIC&)> command1Click;
    std::function<void(GetPIC&)> cmdOKClick;
    std::function<void(GetPIC&, const PictureBoxMouse&)> picture1Mouse;
    std::function<void(GetPIC&, UINT key)> picture1Key;
};

GetPICExtensions& Extensions();

}  // namespace vardolin::capture
