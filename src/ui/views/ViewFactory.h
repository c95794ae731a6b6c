#pragma once

#include "views/CDebugView.h"
#include "views/ChildView.h"
#include "views/ViewContext.h"

namespace tessaly {
class MessageHost;
}

namespace tessaly::ui {

class AddWatchDialog;
class SendByteDialog;
struct CDebugContext;

// What the child views are made with: the context they read and write
// through, the message boxes, and the dialogs some of them open.
struct ViewServices {
    ViewContext& context;
    MessageHost& messages;
    AddWatchDialog& addWatch;
    SendByteDialog& sendByte;
    // What the Active Watch's C variables see; none leaves them out.
    CDebugContext* cDebug = nullptr;
};

// The child view of a layout index (0-8).
ChildView* CreateChildView(int index, ViewServices& services);

// The C debugging window of a layout entry of its own (source_window).
CDebugView* CreateCDebugView(int index, CDebugContext& context);

}  // namespace tessaly::ui
