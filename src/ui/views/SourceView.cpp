#include "views/SourceView.h"

#include <QComboBox>
#include <algorithm>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "persistence/SourceWindowsLayout.h"
#include "session/Session.h"
#include "session/SourceFolders.h"
#include "util/FileBytes.h"
#include "views/FrameSelection.h"
#include "views/SelectionCopy.h"
#include "views/SourceText.h"

namespace tessaly::ui {

namespace {

QString QtText(const std::string& text) { return QString::fromStdString(text); }

// A C file by its name on disk (SDCC records c-printf.c as c_printf.c).
QString FileName(const SourceDebugger& source, const std::string& recorded) {
    return QString::fromStdString(source.SourcePath(recorded).filename().string());
}

// The file shown before any frame is in a C line: the one holding main, else
// the first.
std::string FirstFile(const DebugInfo& info) {
    if (const CFunction* main = info.FunctionNamed("main"); main && main->start) {
        if (const CSourcePosition at = info.PositionAt(*main->start); at.line) return at.line->file;
    }
    const std::vector<std::string> files = info.Lines().Files();
    return files.empty() ? std::string() : files.front();
}

}  // namespace

SourceView::SourceView(CDebugContext& context, QWidget* parent)
    : CDebugView(source_window::kSource, kCDebugViewCaptions[source_window::kSource], parent), context_(context) {
    setObjectName(QStringLiteral("TfrmSource"));
    modules_ = new QComboBox(this);
    modules_->setObjectName(QStringLiteral("cobModule"));
    modules_->setAccessibleName(QStringLiteral("Module"));
    modules_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(modules_, &QComboBox::activated, this, [this](int index) {
        ShowFile(modules_->itemData(index).toString().toStdString());
    });
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("lblPosition"));

    text_ = new SourceText(this);
    text_->setAccessibleName(QStringLiteral("Source"));
    SelectionCopy::Attach(*text_);
    connect(text_, &SourceText::marginClicked, this, &SourceView::ToggleBreakPoint);

    auto* missingPage = new QWidget(this);
    missing_ = new QLabel(missingPage);
    missing_->setObjectName(QStringLiteral("lblMissing"));
    missing_->setWordWrap(true);
    locate_ = new QPushButton(QStringLiteral("Choose Folder..."), missingPage);
    locate_->setObjectName(QStringLiteral("btnLocate"));
    connect(locate_, &QPushButton::clicked, this, &SourceView::LocateFolder);
    auto* missingLayout = new QVBoxLayout(missingPage);
    missingLayout->addWidget(missing_);
    missingLayout->addWidget(locate_, 0, Qt::AlignLeft);
    missingLayout->addStretch(1);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(text_);
    pages_->addWidget(missingPage);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 2, 2, 2);
    top->setSpacing(8);
    top->addWidget(modules_);
    top->addWidget(heading_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    Refresh();
}

QSize SourceView::sizeHint() const { return {420, 300}; }

int SourceView::CurrentLine() const { return found_ ? text_->CurrentLine() : 0; }

QString SourceView::Heading() const { return heading_->text(); }

QString SourceView::Missing() const { return found_ ? QString() : missing_->text(); }

void SourceView::FillModules(const DebugInfo& info) {
    modules_->clear();
    for (const std::string& file : info.Lines().Files()) {
        modules_->addItem(FileName(context_.session.source(), file), QtText(file));
    }
}

void SourceView::Refresh() {
    const Session& session = context_.session;
    const DebugInfo* info = session.source().Info();
    if (info != info_) {
        info_ = info;
        file_.clear();
        lineStarts_.clear();
        followedInstructions_ = UINT64_MAX;
        modules_->clear();
        if (info) FillModules(*info);
    }
    if (!info) {
        found_ = false;
        const QString why = QStringLiteral(
            "No C debug information is loaded: get the labels from the program's .cdb file (File, Get Labels From "
            "File).");
        if (missing_->text() != why) missing_->setText(why);
        locate_->hide();
        pages_->setCurrentIndex(1);
        if (!heading_->text().isEmpty()) heading_->clear();
        return;
    }
    const Processor& p = session.processor();
    const FrameSelection& frames = context_.frames;
    const CStackFrame* frame = frames.Selected();
    const CSourceLine* line = frame ? frame->position.line : nullptr;
    // The view follows the frame when it moved; until then a file chosen in
    // the module chooser stays.
    const bool moved = p.ullInstructionsExecuted != followedInstructions_ || frames.Index() != followedFrame_ ||
                       (frame && frame->pc != followedPc_);
    followedInstructions_ = p.ullInstructionsExecuted;
    followedFrame_ = frames.Index();
    followedPc_ = frame ? frame->pc : 0;
    if (file_.empty()) Load(line ? line->file : FirstFile(*info));
    else if (moved && line && line->file != file_) Load(line->file);

    const bool here = line && line->file == file_;
    text_->SetCurrentLine(here ? line->line : 0, frames.Index() == 0);
    if (here && moved) text_->ShowLine(line->line);
    ShowBreakPoints();

    QString heading;
    if (line) {
        heading = FileName(session.source(), line->file) + ":" + QString::number(line->line) + " in " +
                  QtText(frame->position.function->name);
    } else if (frame) {
        heading = "No C source at " + QtText(BreakPoints::DisplayText(frame->pc));
    }
    if (heading_->text() != heading) heading_->setText(heading);
}

void SourceView::ShowFile(const std::string& recorded) {
    if (recorded == file_ && found_) return;
    Load(recorded);
    const CStackFrame* frame = context_.frames.Selected();
    const CSourceLine* line = frame ? frame->position.line : nullptr;
    text_->SetCurrentLine(line && line->file == file_ ? line->line : 0, context_.frames.Index() == 0);
    ShowBreakPoints();
}

void SourceView::Load(const std::string& recorded) {
    file_ = recorded;
    const int index = modules_->findData(QtText(recorded));
    if (index >= 0 && modules_->currentIndex() != index) modules_->setCurrentIndex(index);
    lineStarts_.clear();
    const SourceDebugger& source = context_.session.source();
    if (!source.Info()) return;
    for (const CSourceLine& record : source.Info()->Lines().Lines()) {
        if (record.file == recorded) lineStarts_[record.line].push_back(record.address);
    }
    const auto path = context_.folders.Find(source, recorded);
    const auto text = path ? ReadWholeFile(*path) : std::nullopt;
    found_ = text.has_value();
    if (!found_) {
        missing_->setText(FileName(source, recorded) + " is not beside " + QtText(source.File().filename().string()) +
                          ". Choose the folder that holds it.");
        locate_->show();
        pages_->setCurrentIndex(1);
        text_->Load({}, {});
        // Asked once by itself, when the machine is not running; the button
        // asks again.
        if (asked_.insert(recorded).second && context_.session.controller().State() == RunState::Stopped) {
            QTimer::singleShot(0, this, [this, recorded] {
                if (file_ == recorded && !found_) LocateFolder();
            });
        }
        return;
    }
    const QString lines = QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
    std::vector<bool> code(static_cast<std::size_t>(lines.count(QLatin1Char('\n')) + 1), false);
    for (const auto& [number, starts] : lineStarts_) {
        if (number >= 1 && static_cast<std::size_t>(number) <= code.size()) code[static_cast<std::size_t>(number - 1)] = true;
    }
    text_->Load(lines, std::move(code));
    pages_->setCurrentIndex(0);
}

void SourceView::ShowBreakPoints() {
    if (!found_) return;
    const BreakPoints& breakPoints = context_.session.breakPoints;
    std::vector<bool> marks(static_cast<std::size_t>(text_->blockCount()), false);
    for (const auto& [number, starts] : lineStarts_) {
        if (number < 1 || static_cast<std::size_t>(number) > marks.size()) continue;
        marks[static_cast<std::size_t>(number - 1)] =
            std::any_of(starts.begin(), starts.end(), [&](std::uint16_t at) { return breakPoints.Contains(at); });
    }
    text_->SetBreakPoints(marks);
}

int SourceView::LineStartingAt(std::uint16_t address) const {
    for (const auto& [number, starts] : lineStarts_) {
        if (std::find(starts.begin(), starts.end(), address) != starts.end()) return number;
    }
    return 0;
}

void SourceView::ToggleBreakPoint(int line) {
    const auto at = context_.session.source().Resolve(file_ + ":" + std::to_string(line));
    if (const auto* why = std::get_if<std::string>(&at)) {
        context_.messages.Tell(MessageKind::Plain, *why);
        return;
    }
    BreakPoints& breakPoints = context_.session.breakPoints;
    const std::uint16_t address = std::get<std::uint16_t>(at);
    // A line is marked when any of its starts holds a break point; a click
    // on a marked line clears them all.
    const auto starts = lineStarts_.find(LineStartingAt(address));
    if (starts != lineStarts_.end() && text_->HasBreakPoint(starts->first)) {
        for (std::uint16_t start : starts->second) breakPoints.Delete(start);
    } else {
        breakPoints.Add(address);
    }
    ShowBreakPoints();
}

std::variant<std::uint16_t, std::string> SourceView::CursorAddress() const {
    if (file_.empty() || !found_) {
        return std::string("Run to Cursor runs to the line of the text cursor in the Source window: "
                           "show a C file there first");
    }
    return context_.session.source().Resolve(file_ + ":" + std::to_string(text_->CursorLine()));
}

void SourceView::LocateFolder() {
    const SourceDebugger& source = context_.session.source();
    if (file_.empty() || !source.Info()) return;
    QFileDialog dialog(this, "Where is " + FileName(source, file_) + "?", QtText(source.File().parent_path().string()));
    dialog.setObjectName(QStringLiteral("dlgSourceFolder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::filesystem::path folder(dialog.selectedFiles().first().toStdString());
    if (!FindSourceFileIn(folder, file_)) {
        context_.messages.Tell(MessageKind::Plain, file_ + " is not in " + folder.string());
        return;
    }
    context_.folders.Add(folder);
    ShowFile(file_);
}

}  // namespace tessaly::ui
