#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>

#include "control/ValueEntry.h"
#include "core/MessageHost.h"

class QLineEdit;
class QPushButton;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// Initialize > SFR Registers: asks "Load power on reset values to SFR
// Registers ?" and on Yes gives every SFR its power-on value and the program
// counter 0000h, then refreshes the views.
void InitializeSfrRegisters(Session& session, MessageHost& messages);

// A dialog that asks for the one value a whole memory is filled with. Run
// presets the value box, selected, shows the dialog modally and, on OK,
// reads the value (a box that does not convert shows the conversion message
// and fills nothing), fills the memory and refreshes the views. Cancel
// changes nothing.
class InitializeDialog : public QDialog {
    Q_OBJECT
public:
    // True when the memory was filled.
    bool Run();

protected:
    struct Look {
        const char* objectName;
        QString caption;
        QString label;
        int maxLength;
        QString preset;
        char (*keyFilter)(char key);
        ValueRadix radix;
    };
    InitializeDialog(const Look& look, Session& session, MessageHost& messages, QWidget* parent);

    // Fills the memory with `value` and refreshes what shows it.
    virtual void Fill(std::uint8_t value) = 0;

    Session& session_;

private:
    MessageHost& messages_;
    QString preset_;
    ValueRadix radix_;
    QLineEdit* edtValue_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

// Initialize > Internal RAM: lower RAM 00h-7Fh and the upper RAM take the
// value; the SFRs keep theirs.
class InitializeIntRamDialog : public InitializeDialog {
    Q_OBJECT
public:
    InitializeIntRamDialog(Session& session, MessageHost& messages, QWidget* parent = nullptr);

protected:
    void Fill(std::uint8_t value) override;
};

// Initialize > External RAM: all 64K bytes take the value, and the External
// RAM window is rewritten in full.
class InitializeExtRamDialog : public InitializeDialog {
    Q_OBJECT
public:
    InitializeExtRamDialog(Session& session, MessageHost& messages, QWidget* parent = nullptr);

protected:
    void Fill(std::uint8_t value) override;
};

// Initialize > Bit Memory: every bit of 20h-2Fh takes the value typed, 0 or 1
// (bytes 20h-2Fh become 00h or FFh).
class InitializeBitMemoryDialog : public InitializeDialog {
    Q_OBJECT
public:
    InitializeBitMemoryDialog(Session& session, MessageHost& messages, QWidget* parent = nullptr);

protected:
    void Fill(std::uint8_t value) override;
};

}  // namespace tessaly::ui
