#include "loading/ProgramFile.h"

#include "util/AsciiCase.h"
#include "loading/BinLoader.h"
#include "loading/HexReader.h"

namespace tessaly {

namespace {

std::filesystem::path WithExtension(const std::filesystem::path& path, std::string_view extension) {
    std::string name = path.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    name += extension;
    return path.parent_path() / name;
}

}  // namespace

std::string FileExtension(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string{} : name.substr(dot);
}

ProgramFileKind ProgramFileKindOf(const std::filesystem::path& path) {
    const std::string extension = UpperCase(FileExtension(path));
    if (extension == ".HEX" || extension == ".IHX") return ProgramFileKind::IntelHex;
    if (extension == ".BIN") return ProgramFileKind::Binary;
    return ProgramFileKind::Unknown;
}

ProgramOpen OpenProgramFile(const std::filesystem::path& path, Processor& processor, MessageHost& host) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        host.Tell(MessageKind::Plain, "Unable to open file");
        return ProgramOpen::Missing;
    }
    switch (ProgramFileKindOf(path)) {
        case ProgramFileKind::IntelHex: {
            std::uint16_t highest = 0;
            if (LoadHexFile(path, processor.ucCodeMemory, highest, host) != HexLoad::Ok) {
                return ProgramOpen::Failed;
            }
            processor.iProgramSize = std::int32_t{highest} + 1;
            return ProgramOpen::Opened;
        }
        case ProgramFileKind::Binary:
            return LoadBinFile(path, processor, host) == BinLoad::Ok ? ProgramOpen::Opened
                                                                          : ProgramOpen::Failed;
        case ProgramFileKind::Unknown:
            break;
    }
    host.Tell(MessageKind::Plain, "Invalid File Extension");
    return ProgramOpen::Failed;
}

namespace {

std::vector<std::filesystem::path> ExistingBeside(const std::filesystem::path& programPath,
                                                  std::initializer_list<std::string_view> extensions) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::string_view extension : extensions) {
        std::filesystem::path candidate = WithExtension(programPath, extension);
        if (std::filesystem::is_regular_file(candidate, error)) found.push_back(std::move(candidate));
    }
    return found;
}

}  // namespace

std::vector<std::filesystem::path> SymbolFilesFor(const std::filesystem::path& programPath) {
    auto found = ExistingBeside(programPath, {".LST", ".lst", ".map", ".noi", ".cdb", ".rst"});
    // A file system that ignores case finds one listing under both names.
    if (found.size() >= 2 && found[0].extension() == ".LST" && found[1].extension() == ".lst") {
        std::error_code error;
        if (std::filesystem::equivalent(found[0], found[1], error)) found.erase(found.begin() + 1);
    }
    return found;
}

std::filesystem::path ProposedSymbolFileFor(const std::filesystem::path& programPath) {
    const bool builtBySdcc = SameIgnoringCase(FileExtension(programPath), ".ihx");
    for (const auto& candidate : SymbolFilesFor(programPath)) {
        const bool listing = SameIgnoringCase(candidate.extension().string(), ".lst");
        if (!(builtBySdcc && listing)) return candidate;
    }
    return {};
}

}  // namespace tessaly
