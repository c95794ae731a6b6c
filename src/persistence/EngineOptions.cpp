#include "persistence/EngineOptions.h"

#include "util/FileBytes.h"
#include "util/SafeFileWriter.h"

namespace tessaly {

EngineOptions LoadEngineOptions(const std::filesystem::path& configDir) {
    EngineOptions options;
    const auto bytes = ReadWholeFile(configDir / kEngineOptionsFileName);
    if (!bytes) return options;
    options.hardwareSerial = bytes->size() > 0 && (*bytes)[0] == 1;
    options.xramPaging = bytes->size() > 1 && (*bytes)[1] == 1;
    return options;
}

bool SaveEngineOptions(const std::filesystem::path& configDir, const EngineOptions& options) {
    SafeFileWriter file(configDir / kEngineOptionsFileName);
    if (!file.IsOpen()) return false;
    const char bytes[2] = {static_cast<char>(options.hardwareSerial), static_cast<char>(options.xramPaging)};
    file.Stream().write(bytes, 2);
    return file.Commit();
}

}  // namespace tessaly
