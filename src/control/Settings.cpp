#include "control/Settings.h"

#include <algorithm>
#include <bit>
#include <fstream>

#include "control/CrystalFrequency.h"
#include "util/LittleEndian.h"
#include "util/SafeFileWriter.h"

namespace tessaly {

namespace {

// Byte offsets in the settings file.
namespace offset {
constexpr std::size_t kSpeedDelay = 0;
constexpr std::size_t kInstructionsPerTick = 4;
constexpr std::size_t kRefreshType = 8;
constexpr std::size_t kPadding12 = 12;
constexpr std::size_t kCrystalFrequency = 16;
constexpr std::size_t kBulkStepCount = 24;
constexpr std::size_t kStepTimeInUSec = 28;
constexpr std::size_t kAutoLoadLabels = 32;
constexpr std::size_t kPadding33 = 33;
constexpr std::size_t kThreadPriority = 36;
constexpr std::size_t kPriorityClass = 40;
constexpr std::size_t kPadding44 = 44;
}  // namespace offset

template <std::size_t N>
void PutBytes(SettingsImage& image, std::size_t at, const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
}

template <std::size_t N>
void GetBytes(const SettingsImage& image, std::size_t at, std::array<std::uint8_t, N>& bytes) {
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(at), N, bytes.begin());
}

template <typename T>
bool Within(T value, T low, T high) {
    return value >= low && value <= high;
}

// Puts `fallback` into `field` unless `valid`; counts the mended fields.
template <typename T>
void Mend(T& field, bool valid, T fallback, int& mended) {
    if (valid) return;
    field = fallback;
    ++mended;
}

}  // namespace

SettingsImage EncodeSettings(const SimulationSettings& s) {
    SettingsImage image{};
    le::Put32(&image[offset::kSpeedDelay], s.speedDelay);
    le::Put32(&image[offset::kInstructionsPerTick], s.instructionsPerTick);
    le::Put32(&image[offset::kRefreshType], static_cast<std::uint32_t>(s.refreshType));
    PutBytes(image, offset::kPadding12, s.padding12);
    le::Put64(&image[offset::kCrystalFrequency], std::bit_cast<std::uint64_t>(s.crystalFrequency));
    le::Put32(&image[offset::kBulkStepCount], static_cast<std::uint32_t>(s.bulkStepCount));
    le::Put32(&image[offset::kStepTimeInUSec], s.stepTimeInUSec);
    image[offset::kAutoLoadLabels] = s.autoLoadLabels;
    PutBytes(image, offset::kPadding33, s.padding33);
    le::Put32(&image[offset::kThreadPriority], static_cast<std::uint32_t>(s.threadPriority));
    le::Put32(&image[offset::kPriorityClass], static_cast<std::uint32_t>(s.priorityClass));
    PutBytes(image, offset::kPadding44, s.padding44);
    return image;
}

void DecodeSettings(const std::uint8_t* bytes, std::size_t size, SimulationSettings& s) {
    SettingsImage image = EncodeSettings(s);
    std::copy_n(bytes, std::min(size, kSettingsRecordSize), image.begin());
    s.speedDelay = le::Get32(&image[offset::kSpeedDelay]);
    s.instructionsPerTick = le::Get32(&image[offset::kInstructionsPerTick]);
    s.refreshType = static_cast<std::int32_t>(le::Get32(&image[offset::kRefreshType]));
    GetBytes(image, offset::kPadding12, s.padding12);
    s.crystalFrequency = std::bit_cast<double>(le::Get64(&image[offset::kCrystalFrequency]));
    s.bulkStepCount = static_cast<std::int32_t>(le::Get32(&image[offset::kBulkStepCount]));
    s.stepTimeInUSec = le::Get32(&image[offset::kStepTimeInUSec]);
    s.autoLoadLabels = image[offset::kAutoLoadLabels];
    GetBytes(image, offset::kPadding33, s.padding33);
    s.threadPriority = static_cast<std::int32_t>(le::Get32(&image[offset::kThreadPriority]));
    s.priorityClass = static_cast<std::int32_t>(le::Get32(&image[offset::kPriorityClass]));
    GetBytes(image, offset::kPadding44, s.padding44);
}

void LoadDefaultSettings(SimulationSettings& s) {
    const SimulationSettings defaults;
    s.speedDelay = defaults.speedDelay;
    s.instructionsPerTick = defaults.instructionsPerTick;
    s.refreshType = defaults.refreshType;
    s.crystalFrequency = defaults.crystalFrequency;
    s.bulkStepCount = defaults.bulkStepCount;
    s.stepTimeInUSec = defaults.stepTimeInUSec;
    s.autoLoadLabels = defaults.autoLoadLabels;
    s.threadPriority = defaults.threadPriority;
    s.priorityClass = defaults.priorityClass;
}

int MendSettings(SimulationSettings& s) {
    const SimulationSettings defaults;
    int mended = 0;
    Mend(s.speedDelay, s.speedDelay <= 99u, defaults.speedDelay, mended);
    Mend(s.instructionsPerTick, Within(s.instructionsPerTick, 1u, kMaxCount), defaults.instructionsPerTick, mended);
    Mend(s.refreshType, Within(s.refreshType, 1, 3), defaults.refreshType, mended);
    // Written so that NaN fails as well.
    Mend(s.crystalFrequency, IsCrystalFrequency(s.crystalFrequency),
         defaults.crystalFrequency, mended);
    Mend(s.bulkStepCount, Within<std::int64_t>(s.bulkStepCount, 1, kMaxCount), defaults.bulkStepCount, mended);
    Mend(s.stepTimeInUSec, Within(s.stepTimeInUSec, 1u, kMaxCount), defaults.stepTimeInUSec, mended);
    Mend(s.autoLoadLabels, s.autoLoadLabels <= 1, defaults.autoLoadLabels, mended);
    Mend(s.threadPriority, Within(s.threadPriority, 1, 6), defaults.threadPriority, mended);
    Mend(s.priorityClass, Within(s.priorityClass, 1, 3), defaults.priorityClass, mended);
    return mended;
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& configDirectory) {
    return configDirectory / kSettingsFileName;
}

bool LoadSettings(SimulationSettings& settings, const std::filesystem::path& configDirectory) {
    const std::filesystem::path path = SettingsFilePath(configDirectory);
    std::error_code error;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, error)) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        LoadDefaultSettings(settings);
        return false;
    }
    SettingsImage bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
    DecodeSettings(bytes.data(), got, settings);
    MendSettings(settings);
    return true;
}

bool SaveSettings(const SimulationSettings& settings, const std::filesystem::path& configDirectory,
                 MessageHost& host) {
    const SettingsImage image = EncodeSettings(settings);
    SafeFileWriter writer(SettingsFilePath(configDirectory));
    if (writer.IsOpen()) {
        writer.Stream().write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    }
    if (!writer.IsOpen() || !writer.Commit()) {
        host.Tell(MessageKind::Plain, "An error occured while saving current settings");
        return false;
    }
    return true;
}

}  // namespace tessaly
