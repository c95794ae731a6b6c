#pragma once

#include "control/ViewChanges.h"
#include "views/ChildView.h"

class QPlainTextEdit;

namespace tessaly {
class TextList;
}

namespace tessaly::ui {

struct ViewContext;

// The Warnings and Errors windows: the whole of lstWarnings or lstErrors,
// one message per line. A refresh appends the lines added since the last
// one and rewrites the text only when the list was emptied or refilled, so
// a long list costs nothing while it does not change.
class MessageListView : public ChildView {
    Q_OBJECT
public:
    enum class List { Warnings, Errors };

    MessageListView(List list, ViewContext& context, QWidget* parent = nullptr);

    void Refresh() override;
    // The Refresh button: the box's whole text replaced with the list's.
    void RefreshFully() override;
    // The Clear button: the list emptied, and the box with it.
    void tlbClearClick();

private:
    TextList& Lines() const;

    List list_;
    ViewContext& context_;
    ListShadow shadow_;
    QPlainTextEdit* box_;
};

}  // namespace tessaly::ui
