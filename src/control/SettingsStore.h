#pragma once

#include <filesystem>
#include <functional>

#include "control/Settings.h"
#include "core/MessageHost.h"

namespace tessaly {

// The simulation settings and the file they are kept in: the one record the
// run, the views and the machine's clock read. A dialog or a front end hands
// it a new record; it keeps it, saves it, and tells whoever applies it.
class SettingsStore {
public:
    // With an empty `configDirectory` nothing is read or written: the record
    // is what the front end hands over.
    SettingsStore(std::filesystem::path configDirectory, MessageHost& messages);

    const SimulationSettings& Current() const { return record_; }
    // The record itself, for what changes it before handing it over: the
    // settings dialog's Load Default (undone by its Cancel) and a front end's
    // own run choices, which are not saved.
    SimulationSettings& Live() { return record_; }

    // Reads the settings file over the record and mends what is out of range;
    // the defaults when there is no file.
    void Reload();
    // Keeps `record`, saves it (a file that cannot be written only costs
    // "An error occured while saving current settings") and applies it.
    void Accept(const SimulationSettings& record);
    // What applying a handed-over record means: the machine's clock and the
    // priorities.
    void OnApply(std::function<void(const SimulationSettings&)> apply) { apply_ = std::move(apply); }

private:
    std::filesystem::path configDirectory_;
    MessageHost& messages_;
    SimulationSettings record_;
    std::function<void(const SimulationSettings&)> apply_;
};

}  // namespace tessaly
