#pragma once

#include "views/ChildView.h"

class QWidget;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// The child view of a layout index (0-8) over the session's machine.
ChildView* CreateChildView(int index, Session& session, QWidget& mainWindow);

}  // namespace tessaly::ui
