#pragma once

#include "views/ChildView.h"
#include "views/ViewContext.h"

namespace tessaly {
class MessageHost;
}

namespace tessaly::ui {

class AddWatchDialog;
class SendByteDialog;

// What the child views are made with: the context they read and write
// through, the message boxes, and the dialogs some of them open.
struct ViewServices {
    ViewContext& context;
    MessageHost& messages;
    AddWatchDialog& addWatch;
    SendByteDialog& sendByte;
};

// The child view of a layout index (0-8).
ChildView* CreateChildView(int index, ViewServices& services);

}  // namespace tessaly::ui
