#include "views/ViewFactory.h"

#include "views/ActiveWatchView.h"
#include "views/BitMemoryView.h"
#include "views/ExecutionStatusView.h"
#include "views/ExternalRamView.h"
#include "views/InternalRamView.h"
#include "views/MessageListView.h"
#include "views/SfrView.h"
#include "views/TerminalView.h"

namespace tessaly::ui {

ChildView* CreateChildView(int index, ViewServices& s) {
    switch (index) {
    case 0: return new ExecutionStatusView(s.context, s.messages);
    case 1: return new SfrView(s.context, s.messages);
    case 2: return new InternalRamView(s.context);
    case 3: return new ExternalRamView(s.context);
    case 4: return new BitMemoryView(s.context);
    case 5: return new ActiveWatchView(s.context, s.addWatch, s.messages);
    case 6: return new TerminalView(s.context, s.sendByte);
    case 7: return new MessageListView(MessageListView::List::Warnings, s.context);
    case 8: return new MessageListView(MessageListView::List::Errors, s.context);
    default: return nullptr;
    }
}

}  // namespace tessaly::ui
