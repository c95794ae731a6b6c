#include "views/ViewFactory.h"

#include "persistence/SourceWindowsLayout.h"
#include "views/ActiveWatchView.h"
#include "views/BitMemoryView.h"
#include "views/CWatchPanel.h"
#include "views/CallStackView.h"
#include "views/ExecutionStatusView.h"
#include "views/ExternalRamView.h"
#include "views/InternalRamView.h"
#include "views/LocalsView.h"
#include "views/MessageListView.h"
#include "views/SfrView.h"
#include "views/SourceView.h"
#include "views/TerminalView.h"

namespace tessaly::ui {

ChildView* CreateChildView(int index, ViewServices& s) {
    switch (index) {
    case 0: return new ExecutionStatusView(s.context, s.messages);
    case 1: return new SfrView(s.context, s.messages);
    case 2: return new InternalRamView(s.context);
    case 3: return new ExternalRamView(s.context);
    case 4: return new BitMemoryView(s.context);
    case 5: {
        auto* watch = new ActiveWatchView(s.context, s.addWatch, s.messages);
        if (s.cDebug) watch->SetCWatches(new CWatchPanel(*s.cDebug));
        return watch;
    }
    case 6: return new TerminalView(s.context, s.sendByte);
    case 7: return new MessageListView(MessageListView::List::Warnings, s.context);
    case 8: return new MessageListView(MessageListView::List::Errors, s.context);
    default: return nullptr;
    }
}

CDebugView* CreateCDebugView(int index, CDebugContext& context) {
    switch (index) {
    case source_window::kSource: return new SourceView(context);
    case source_window::kCallStack: return new CallStackView(context);
    case source_window::kLocals: return new LocalsView(context);
    default: return nullptr;
    }
}

}  // namespace tessaly::ui
