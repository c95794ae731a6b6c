#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <vector>

#include "app/Command.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tessaly::ui {

// Every command of the main window as a QAction named as the program names
// it ("ateOpenFile", "muiSingleStep", "tlbINT_E0" ...), with its caption,
// shortcut, hint and icon; the menus and the tool bar in their order; and
// the enabling rule each command's tag gives: bit 0 set means the command
// follows the program state, bit 1 then says enabled while a program is
// loaded (set) or while none is (clear).
class CommandActions : public QObject {
    Q_OBJECT
public:
    explicit CommandActions(QMainWindow& window);

    QAction* operator[](Command command) const { return commands_[static_cast<std::size_t>(command)]; }
    // The action of that object name, or null: the history items are named
    // by the session, and tests find commands as a user's script would.
    QAction* Find(const QString& name) const;

    // Enables every tagged command for the program state.
    void UpdateCommandStates(bool fileOpen);
    // While a step runs Start/Stop is disabled; when it ends the command
    // follows the program state again.
    void SetStepRunning(bool running);
    // The Start/Stop glyph: stop while a free run goes on.
    void ShowRunningGlyph(bool running);

    // The View menu items of the nine child views, by layout index.
    const std::array<QAction*, 9>& ViewItems() const { return viewItems_; }
    // The View menu items of the C debugging windows (Source, Call Stack,
    // Locals), by their layout entry.
    const std::array<QAction*, 3>& SourceViewItems() const { return sourceViewItems_; }
    // The ten history items and the separator after them.
    const std::array<QAction*, 10>& HistoryItems() const { return historyItems_; }
    QAction* HistorySeparator() const { return historySeparator_; }
    QMenu* WindowMenu() const { return windowMenu_; }
    QToolBar* ToolBar() const { return toolBar_; }

private:
    QAction* Add(QMenu* menu, const char* name, const QString& caption, const QString& shortcut, int tag,
                 const QString& icon = {}, const QString& hint = {});
    QAction* Add(QMenu* menu, Command command, const char* name, const QString& caption, const QString& shortcut,
                 int tag, const QString& icon = {}, const QString& hint = {});
    void BuildFileMenu(QMainWindow& window);
    void BuildMenus(QMainWindow& window);
    void BuildToolBar(QMainWindow& window);

    void ApplyStartStopState();

    std::vector<QAction*> all_;
    std::array<QAction*, kCommandCount> commands_{};
    bool fileOpen_ = false;
    bool stepRunning_ = false;
    std::array<QAction*, 9> viewItems_{};
    std::array<QAction*, 3> sourceViewItems_{};
    std::array<QAction*, 10> historyItems_{};
    QAction* historySeparator_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
};

// The icon of the resources by its file name without extension.
QIcon ResourceIcon(const QString& name);

}  // namespace tessaly::ui
