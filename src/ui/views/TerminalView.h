#pragma once

#include <QElapsedTimer>

#include "control/SerialLog.h"
#include "views/ChildView.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace tessaly::ui {

struct ViewContext;
class SendByteDialog;

// The Terminal Window: the serial port's transmit and receive rates and
// every byte it transmitted and received, each record in its own pane. A pane
// appends the bytes recorded since the last refresh, as hexadecimal (the
// default) or as text; the choice of each pane is kept in the configuration
// directory. The tool bar clears either record and opens the send-byte dialog.
class TerminalView : public ChildView {
    Q_OBJECT
public:
    TerminalView(ViewContext& context, SendByteDialog& sendByte, QWidget* parent = nullptr);

    void Refresh() override;

    enum class PaneFormat { Hex, Text };
    // The name of the file under the configuration directory that keeps the
    // panes' formats.
    static const char* const kPreferencesFile;

private slots:
    void tlbTransmitByteClick();
    void tlbClearTxBufferClick();
    void tlbClearRxBufferClick();

private:
    struct Pane {
        SerialLogSide side;
        QLabel* count;
        QString countCaption;  // "Transmit Buffer Count = "
        QPlainTextEdit* text;
        QComboBox* format;
        bool afterCarriageReturn;  // the last byte shown as text was a CR
        qint64 appendCost;         // milliseconds the last append took
        QElapsedTimer sinceAppend;
        QTimer* catchUp;           // the append put off while the pane is slow
    };

    QWidget* BuildPane(Pane& pane, const QString& countCaption, const char* countName, const char* textName,
                       const char* formatName, const QString& paneName);
    void ShowCount(Pane& pane, std::int32_t count);
    // Appends what the record holds past the display cursor.
    void ShowNewBytes(Pane& pane);
    // Writes the pane again, in its format, from the bytes already shown.
    void Redraw(Pane& pane);
    void Clear(Pane& pane);
    QString Rendered(Pane& pane, std::span<const std::uint8_t> bytes);
    PaneFormat FormatOf(const Pane& pane) const;
    QString PreferencesPath() const;
    void LoadFormats();
    void SaveFormats() const;

    ViewContext& context_;
    SendByteDialog& sendByte_;
    QLineEdit* edtTransmitBR_;
    QLineEdit* edtReceiveBR_;
    Pane transmit_{};
    Pane receive_{};
    // The history's count of goings back when the panes were last written.
    std::uint64_t rewindsSeen_ = 0;
};

}  // namespace tessaly::ui
