#pragma once

#include <QWidget>

namespace tessaly {
class CWatchNames;
class MessageHost;
class Session;
class SourceFolders;
}  // namespace tessaly

namespace tessaly::ui {

class FrameSelection;
struct LocationCommands;

// What the C debugging windows reach: the session they read and write
// through, the frame they show, the folders the C files were found in, the
// C watches' names, the message boxes, and what a variable's right-click
// menu offers besides Copy (none leaves it out).
struct CDebugContext {
    Session& session;
    FrameSelection& frames;
    SourceFolders& folders;
    CWatchNames& watches;
    MessageHost& messages;
    const LocationCommands* locationCommands = nullptr;
};

// A C debugging window (Source, Call Stack, Locals), by its entry in their
// layout. Like the child views it holds nothing of the machine: it reads the
// machine when refreshed and repaints what changed.
class CDebugView : public QWidget {
    Q_OBJECT
public:
    CDebugView(int index, const QString& caption, QWidget* parent = nullptr) : QWidget(parent), index_(index) {
        setWindowTitle(caption);
    }
    int Index() const { return index_; }
    virtual void Refresh() = 0;

private:
    int index_;
};

// The captions of the C debugging windows, by layout entry.
inline const char* const kCDebugViewCaptions[3] = {"Source", "Call Stack", "Locals"};

}  // namespace tessaly::ui
