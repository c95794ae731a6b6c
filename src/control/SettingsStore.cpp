#include "control/SettingsStore.h"

namespace tessaly {

SettingsStore::SettingsStore(std::filesystem::path configDirectory, MessageHost& messages)
    : configDirectory_(std::move(configDirectory)), messages_(messages) {}

void SettingsStore::Reload() {
    if (!configDirectory_.empty()) LoadSettings(record_, configDirectory_);
}

void SettingsStore::Accept(const SimulationSettings& record) {
    record_ = record;
    if (!configDirectory_.empty()) SaveSettings(record_, configDirectory_, messages_);
    if (apply_) apply_(record_);
}

}  // namespace tessaly
