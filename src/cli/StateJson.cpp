#include "cli/StateJson.h"

#include <charconv>
#include <cstdio>

#include "core/Diagnostics.h"
#include "util/IntegerText.h"
#include "util/HexText.h"

namespace tessaly::cli {

namespace {

// Most lines of each message list written out; the counts give the totals.
constexpr std::size_t kMessageLinesShown = 1000;

void Hex(std::ostream& out, const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) AppendHexByte(text, bytes[i]);
    out << text;
}

void JsonString(std::ostream& out, const std::string& text) {
    out << '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out << "\\\""; break;
        case '\\': out << "\\\\"; break;
        case '\n': out << "\\n"; break;
        case '\r': out << "\\r"; break;
        case '\t': out << "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
                out << escaped;
            } else {
                out << static_cast<char>(c);
            }
        }
    }
    out << '"';
}

void Lines(std::ostream& out, const TextList& list) {
    out << '[';
    const std::size_t first = list.Count() > kMessageLinesShown ? list.Count() - kMessageLinesShown : 0;
    for (std::size_t i = first; i < list.Count(); ++i) {
        if (i != first) out << ',';
        JsonString(out, list[i]);
    }
    out << ']';
}

}  // namespace

void WriteStateJson(std::ostream& out, const Processor& p, const std::string& stopReason, bool withExternalRam) {
    char pc[8];
    std::snprintf(pc, sizeof pc, "%04X", p.usPC);
    out << "{\"stop\":";
    JsonString(out, stopReason);
    out << ",\"pc\":\"" << pc << '"';
    out << ",\"instructions\":" << p.ullInstructionsExecuted << ",\"cycles\":" << p.ullCyclesExecuted
        << ",\"bytes\":" << p.ullBytesExecuted;
    out << ",\"elapsed\":";
    JsonString(out, ElapsedTimeText(p.ullCyclesExecuted, p.CrystalFrequency()));
    out << ",\"sfr\":{";
    bool first = true;
    for (const auto& definition : kSfrDefinitions) {
        if (!first) out << ',';
        first = false;
        out << '"' << definition.name << "\":\"";
        Hex(out, &p.ucIntRAM[definition.address], 1);
        out << '"';
    }
    out << "},\"direct\":\"";
    Hex(out, p.ucIntRAM.data(), 0x100);
    out << "\",\"upper\":\"";
    Hex(out, p.ucIntRAM.data() + Processor::kUpperRAMOffset, 0x80);
    out << "\",\"tx\":\"";
    Hex(out, p.ucTxLog.data(), static_cast<std::size_t>(p.iTxLogPos));
    out << "\",\"rx\":\"";
    Hex(out, p.ucRxLog.data(), static_cast<std::size_t>(p.iRxLogPos));
    out << "\",\"tx_baud\":" << p.iTxBaudRate << ",\"rx_baud\":" << p.iRxBaudRate;
    out << ",\"interrupts\":[";
    for (std::size_t i = 0; i < p.lstInterruptsInProgress.Count(); ++i) {
        if (i) out << ',';
        const std::string& entry = p.lstInterruptsInProgress[i];
        if (const auto source = ParseUnsigned<unsigned>(entry)) out << *source;
        else JsonString(out, entry);
    }
    out << "],\"errors\":";
    Lines(out, p.lstErrors);
    out << ",\"error_count\":" << p.lstErrors.Count() << ",\"warnings\":";
    Lines(out, p.lstWarnings);
    out << ",\"warning_count\":" << p.lstWarnings.Count();
    if (withExternalRam) {
        out << ",\"xram\":\"";
        Hex(out, p.ucExtRAM.data(), 0x10000);
        out << '"';
    }
    out << "}\n";
}

}  // namespace tessaly::cli
