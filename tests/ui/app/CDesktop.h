#pragma once

#include <QAbstractItemModel>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <filesystem>
#include <string>

#include "app/DesktopFixture.h"
#include "app/SourceViews.h"
#include "persistence/SourceWindowsLayout.h"
#include "session/Session.h"
#include "views/ActiveWatchView.h"
#include "views/CWatchPanel.h"
#include "views/CallStackView.h"
#include "views/LocalsView.h"
#include "views/SourceText.h"
#include "views/SourceView.h"

namespace tessaly::ui::test {

inline const std::filesystem::path kExample = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-printf";

// Every row of a table, or the rows under `parent` in a tree, their cells
// joined by commas.
inline QStringList Rows(const QAbstractItemModel& model, const QModelIndex& parent = QModelIndex()) {
    QStringList rows;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(parent); ++c) cells << model.index(r, c, parent).data().toString();
        rows << cells.join(',');
    }
    return rows;
}

// The names whose value stands out as changed.
inline QStringList Marked(const QAbstractItemModel& model, const QModelIndex& parent = QModelIndex()) {
    QStringList names;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        if (model.index(r, 2, parent).data(Qt::BackgroundRole).isValid()) {
            names << model.index(r, 0, parent).data().toString();
        }
    }
    return names;
}

// A C example open on the desktop with the real views (by default c-printf),
// its labels and C debug information taken from its .cdb through Get Labels
// From File, the serial port transmitting on every SBUF write as c-printf's
// putchar needs.
struct CDesktop : Desktop {
    explicit CDesktop(const std::filesystem::path& folder = kExample, const std::string& program = "c-printf")
        : Desktop(Views::Real) {
        window->session().settings.Live().refreshType = 2;
        Action("muiHardwareSerial")->trigger();
        window->session().OpenFileCommand(folder / (program + ".ihx"));
        AnsweringModals(
            [&](QWidget* modal) {
                // The name typed over the one proposed, then Enter.
                if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                    name->setText(QString::fromStdString((folder / (program + ".cdb")).string()));
                    QTest::keyClick(name, Qt::Key_Return);
                }
            },
            [&] { Action("ateGetLabelsFromFile")->trigger(); });
    }
    SourceView* Source() { return window->sourceViews().Source(); }
    auto* CallStack() { return static_cast<CallStackView*>(window->sourceViews().View(source_window::kCallStack)); }
    auto* Locals() { return static_cast<LocalsView*>(window->sourceViews().View(source_window::kLocals)); }
    CWatchPanel* CWatches() {
        auto* watch = static_cast<ActiveWatchView*>(window->views().View(5));
        return watch ? watch->CWatches() : nullptr;
    }
    // A click in the Source window's margin beside `line`.
    void ClickMargin(int line) {
        SourceText& text = Source()->Text();
        text.ShowLine(line);
        QTest::mouseClick(text.Margin(), Qt::LeftButton, {}, text.MarginRect(line).center());
    }
    // A menu command; a run's last refresh comes from the event loop.
    void Trigger(const char* action) {
        Action(action)->trigger();
        QApplication::processEvents();
    }
    std::uint16_t Address(const std::string& place) {
        return std::get<std::uint16_t>(window->session().source().Resolve(place));
    }
    QStringList Messages() const {
        QStringList texts;
        for (const auto& entry : messages.entries) texts << QString::fromStdString(entry.text);
        return texts;
    }
};

}  // namespace tessaly::ui::test
