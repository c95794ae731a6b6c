#include "dap/MemoryRequests.h"

#include <set>

#include "dap/Base64.h"
#include "dap/CodeListing.h"
#include "dap/ValueText.h"
#include "util/AsciiCase.h"
#include "util/HexText.h"

namespace tessaly::dap {

namespace {

// The object of one byte at `address` of the place's memory.
CObject ByteAt(const MemoryPlace& place, std::uint32_t address) {
    CObject object;
    object.type.kind = CTypeKind::Char;
    object.type.isUnsigned = true;
    object.type.size = 1;
    object.memory = place.direct && address >= 0x80 ? CMemory::Sfr : place.memory;
    object.address = static_cast<std::uint16_t>(address);
    return object;
}

}  // namespace

std::optional<MemoryPlace> ParseMemoryReference(const std::string& reference) {
    const std::size_t colon = reference.find(':');
    const std::string space = UpperCase(reference.substr(0, colon));
    MemoryPlace place;
    if (space == "CODE") {
        place.memory = CMemory::Code;
    } else if (space == "XDATA") {
        place.memory = CMemory::ExternalRAM;
    } else if (space == "DATA") {
        place.memory = CMemory::InternalRAM;
        place.direct = true;
        place.size = 0x100;
    } else if (space == "IDATA") {
        place.memory = CMemory::InternalRAM;
        place.size = 0x100;
    } else {
        return std::nullopt;
    }
    if (colon != std::string::npos) {
        const auto address = ParseTypedNumber(reference.substr(colon + 1));
        if (!address || *address >= place.size) return std::nullopt;
        place.address = *address;
    }
    return place;
}

void MemoryRequests::Register(Dispatcher& dispatcher) {
    dispatcher.On("readMemory", [this](const Request& r) { ReadMemory(r); });
    dispatcher.On("writeMemory", [this](const Request& r) { WriteMemory(r); });
    dispatcher.On("disassemble", [this](const Request& r) { Disassemble(r); });
}

namespace {

// Offsets and counts reach across 64K at most; beyond, they are refused
// rather than let overflow the arithmetic.
constexpr std::int64_t kReach = 0x1000000;

MemoryPlace PlaceOf(const Arguments& args) {
    const std::string reference = args.String("memoryReference");
    const auto place = ParseMemoryReference(reference);
    if (!place) {
        throw RequestError("'" + reference + "' is not a memory reference (code, data, idata or xdata, "
                           "with an optional :ADDRESS)");
    }
    return *place;
}

}  // namespace

void MemoryRequests::ReadMemory(const Request& request) {
    Session& s = c_.Stopped();
    const Arguments args(request.arguments);
    const MemoryPlace place = PlaceOf(args);
    const std::int64_t start = static_cast<std::int64_t>(place.address) + args.IntegerIn("offset", -kReach, kReach, 0);
    if (!args.Find("count")) throw RequestError("'count' is missing");
    const std::int64_t count = args.IntegerIn("count", 0, kReach, 0);
    std::vector<std::uint8_t> bytes;
    std::int64_t unreadable = 0;
    std::int64_t address = start;
    // Bytes before the memory's start cannot be shown as data; they are
    // counted unreadable only when the read begins inside the memory.
    if (address < 0) {
        c_.out.Respond(request, {{"address", "0x0"}, {"unreadableBytes", count}});
        return;
    }
    for (; address < start + count; ++address) {
        if (address >= place.size) {
            unreadable = start + count - address;
            break;
        }
        bytes.push_back(ReadObjectByte(s.processor(), ByteAt(place, static_cast<std::uint32_t>(address)), 0));
    }
    nlohmann::json body = {{"address", "0x" + HexText(static_cast<std::uint32_t>(start), place.size > 0x100 ? 4 : 2)},
                           {"data", EncodeBase64(bytes)}};
    if (unreadable) body["unreadableBytes"] = unreadable;
    c_.out.Respond(request, body);
}

void MemoryRequests::WriteMemory(const Request& request) {
    Session& s = c_.Stopped();
    const Arguments args(request.arguments);
    const MemoryPlace place = PlaceOf(args);
    if (place.memory == CMemory::Code) throw RequestError("code memory is read-only");
    const std::int64_t start = static_cast<std::int64_t>(place.address) + args.IntegerIn("offset", -kReach, kReach, 0);
    const auto bytes = DecodeBase64(args.String("data"));
    if (!bytes) throw RequestError("'data' is not base64");
    if (start < 0 || start + static_cast<std::int64_t>(bytes->size()) > place.size) {
        throw RequestError("The bytes do not fit in the memory (" + std::to_string(place.size) + " bytes)");
    }
    for (std::size_t i = 0; i < bytes->size(); ++i) {
        WriteObjectByte(s.processor(), s.workspace, ByteAt(place, static_cast<std::uint32_t>(start + i)), 0, (*bytes)[i]);
    }
    s.MachineChanged();
    c_.out.Respond(request, {{"bytesWritten", bytes->size()}});
}

void MemoryRequests::Disassemble(const Request& request) {
    Session& s = c_.Stopped();
    const Arguments args(request.arguments);
    const std::string reference = args.String("memoryReference");
    std::optional<std::uint32_t> base;
    if (const auto place = ParseMemoryReference(reference); place && place->memory == CMemory::Code) base = place->address;
    else if (const auto number = ParseTypedNumber(reference); number && *number <= 0xFFFF) base = number;
    if (!base) throw RequestError("'" + reference + "' is not a code address");
    const std::int64_t target = static_cast<std::int64_t>(*base) + args.IntegerIn("offset", -kReach, kReach, 0);
    const std::int64_t instructionOffset = args.IntegerIn("instructionOffset", -kReach, kReach, 0);
    if (!args.Find("instructionCount")) throw RequestError("'instructionCount' is missing");
    const std::int64_t count = args.IntegerIn("instructionCount", 0, 0x10000, 0);

    // The listing runs from 0000H, so that the instructions before the
    // target are those the program's own flow lays out; the target and the
    // PC always start an instruction.
    std::set<std::uint16_t> anchors{s.processor().usPC};
    if (target >= 0 && target <= 0xFFFF) anchors.insert(static_cast<std::uint16_t>(target));
    const std::int64_t reach = std::max<std::int64_t>(target, 0) + 3 * std::max<std::int64_t>(0, instructionOffset + count) + 3;
    const auto rows = ListCode(s, 0, static_cast<std::uint32_t>(std::min<std::int64_t>(reach, 0x10000)), anchors);
    std::int64_t index = 0;
    if (target > 0xFFFF) {
        index = static_cast<std::int64_t>(rows.size()) + (target - 0x10000);
    } else if (target >= 0) {
        while (index < static_cast<std::int64_t>(rows.size()) && rows[static_cast<std::size_t>(index)].address < target) ++index;
    } else {
        index = target;
    }

    const DebugInfo* info = s.source().Info();
    nlohmann::json instructions = nlohmann::json::array();
    for (std::int64_t i = index + instructionOffset; i < index + instructionOffset + count; ++i) {
        if (i < 0 || i >= static_cast<std::int64_t>(rows.size())) {
            // Outside code memory: rows the client can show as such.
            const std::int64_t address = i < 0 ? i : 0x10000 + (i - static_cast<std::int64_t>(rows.size()));
            instructions.push_back({{"address", address < 0 ? "-0x" + HexText(static_cast<std::uint32_t>(-address), 4)
                                                            : "0x" + HexText(static_cast<std::uint32_t>(address), 5)},
                                    {"instruction", ""},
                                    {"presentationHint", "invalid"}});
            continue;
        }
        const ListedInstruction& row = rows[static_cast<std::size_t>(i)];
        nlohmann::json instruction = {{"address", "0x" + HexText(row.address, 4)},
                                      {"instructionBytes", row.bytes},
                                      {"instruction", row.text}};
        if (!row.label.empty()) instruction["symbol"] = row.label;
        if (info) {
            const CSourcePosition position = info->PositionAt(row.address);
            if (position.line) {
                const auto path = s.source().SourcePath(position.line->file);
                instruction["location"] = {{"name", path.filename().string()}, {"path", path.string()}};
                instruction["line"] = position.line->line;
            }
        }
        instructions.push_back(std::move(instruction));
    }
    c_.out.Respond(request, {{"instructions", instructions}});
}

}  // namespace tessaly::dap
