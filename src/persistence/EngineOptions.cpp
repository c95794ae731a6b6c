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
    if (bytes->size() > 3) {
        options.historyMegabytes =
            static_cast<std::uint16_t>(static_cast<std::uint8_t>((*bytes)[2]) | static_cast<std::uint8_t>((*bytes)[3]) << 8);
    }
    return options;
}

bool SaveEngineOptions(const std::filesystem::path& configDir, const EngineOptions& options) {
    SafeFileWriter file(configDir / kEngineOptionsFileName);
    if (!file.IsOpen()) return false;
    const char bytes[4] = {static_cast<char>(options.hardwareSerial), static_cast<char>(options.xramPaging),
                           static_cast<char>(options.historyMegabytes & 0xFF),
                           static_cast<char>(options.historyMegabytes >> 8)};
    file.Stream().write(bytes, sizeof bytes);
    return file.Commit();
}

}  // namespace tessaly
