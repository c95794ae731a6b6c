#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <memory>
#include <vector>

#include "control/Location.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/GeneralDialog.h"
#include "session/Session.h"
#include "support/DesktopRecorder.h"
#include "support/RunRecorder.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"
#include "views/ViewContext.h"

namespace tessaly::ui::test {

// A session on a scratch directory with its messages recorded, the General
// Write dialog, and the view context the views are built on. The context's
// General Write opens the real dialog; its other commands are recorded.
struct GeneralBench {
    tessaly::test::ScratchDirectory dir;
    tessaly::test::MessageRecorder messages;
    tessaly::test::DesktopRecorder desktop;
    tessaly::test::RunRecorder runs;
    std::unique_ptr<Session> session = std::make_unique<Session>(dir.Path(), messages, desktop, runs);
    GeneralDialog write{GeneralDialog::Mode::Write, *session, messages};
    std::vector<Location> writeOpenedAt;
    std::vector<int> toggled;
    int listViewerShown = 0;
    ViewContext context{*session,
                        [this](const Location& at) {
                            writeOpenedAt.push_back(at);
                            write.OpenAt(at);
                        },
                        [this](int index) { toggled.push_back(index); },
                        [this] { ++listViewerShown; }};

    Processor& p() { return session->processor(); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& entry : messages.entries) texts.push_back(entry.text);
        return texts;
    }
};

// Chooses `text` in the combo box `name` of `window`, as a click in its list does.
inline void Choose(const QWidget& window, const char* name, const QString& text) {
    auto* box = Child<QComboBox>(window, name);
    box->setCurrentIndex(box->findText(text));
}

inline QLineEdit* Edit(const QWidget& window, const char* name) { return Child<QLineEdit>(window, name); }
inline QString Text(const QWidget& window, const char* name) { return Edit(window, name)->text(); }

}  // namespace tessaly::ui::test
