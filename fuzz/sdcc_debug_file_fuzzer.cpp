// Arbitrary bytes as SDCC's debug file (.cdb).
#include "SymbolFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessaly::fuzz::FuzzSymbolFile<tessaly::ReadSdccDebugFile>(tessaly::SymbolFileKind::SdccDebug, data, size);
}
