#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

#include "control/Location.h"
#include "control/WatchList.h"
#include "core/MessageHost.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// The Type box of the dialogs that choose a location: one entry per kind, in
// the order of kLocationKinds.
QComboBox* NewLocationTypeBox(QWidget* parent);
// The kind the Type box shows.
LocationKind ChosenKind(const QComboBox& typeBox);
// Upper-cases the keys typed into `box` while it is editable and lets only
// hexadecimal digits and backspace through, refusing others silently.
void FilterAddressKeys(QComboBox& box);
// Refills a name box with one kind's names: a fixed list for the SFR kinds,
// an editable box of at most `maxLength` characters for a typed address.
// Emits no change signals while it works.
void ShowLocationNames(QComboBox& box, const LocationNames& names, int maxLength);
// The dialogs' Add: the chosen register or bit by its catalogue index, or
// the typed address upper-cased, padded, shown so in `box` and selected,
// then range-checked with its message. False when nothing could be added.
bool AddChosenName(QComboBox& box, LocationKind kind, WatchList& watch, MessageHost& messages);

// The General Read and General Write dialogs: any register, SFR bit,
// internal or external RAM byte or bit-memory bit, chosen by type and name,
// shown in hexadecimal, decimal and as bits. The write dialog edits the
// value and stores it; the read dialog only shows it. Either adds the chosen
// location to the watch list. Created once; the type chosen stays between
// openings.
class GeneralDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Read, Write };

    GeneralDialog(Mode mode, Session& session, MessageHost& messages, QWidget* parent = nullptr);

    Mode DialogMode() const { return mode_; }

    // The menu command: the names of the current type refilled, the value
    // read, the hexadecimal box selected for overtyping, shown modally.
    void OpenFromMenu();
    // A double-click on a value elsewhere: the type and name preset to `at`,
    // then as OpenFromMenu. A key that is not among the type's names leaves
    // the first name chosen.
    void OpenAt(const Location& at);

    // Shows the value now held at the chosen location.
    void tlbReadClick();
    // Stores the hexadecimal box's value at the chosen location and
    // refreshes every open view.
    void tlbWriteClick();
    // Adds the chosen location to the watch list.
    void tlbAddClick();

signals:
    // An entry went into the watch list: the watch window, when open,
    // shows it.
    void watchListChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    LocationKind Kind() const;
    void SelectKind(LocationKind kind);
    // Refills the names for the chosen type, reads, and focuses the name box
    // when the dialog is up.
    void FillNames();
    void cobNameChange();
    // The chosen location; nothing (after the conversion message) when a
    // typed address is not a number.
    std::optional<Location> ChosenLocation();
    void ShowWidth(int width);
    void ShowBits(std::uint32_t value);
    // The change of one value box: the others follow, or an overflowing
    // text is cut back.
    void ValueBoxChange(QLineEdit& box, int base);
    void BitClick();
    void ckbBinClick();
    void PrepareAndShow();

    Mode mode_;
    Session& session_;
    MessageHost& messages_;
    int width_ = 8;
    // Set while one value control updates the others.
    bool guard_ = false;
    // Set while the name list is rebuilt, so no half-built name is read.
    bool filling_ = false;

    QComboBox* cobType_;
    QComboBox* cobName_;
    QLineEdit* edtHex_;
    QLineEdit* edtDecimal_;
    std::array<QCheckBox*, 16> ckbBit_{};
    QCheckBox* ckbBin_;
    QLabel* lblLowByte_;
    QLabel* lblHighByte_;
    QLabel* status_;
};

}  // namespace tessaly::ui
