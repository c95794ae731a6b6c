#include "cli/RunOptions.h"

#include <algorithm>
#include <cctype>

#include "control/CrystalFrequency.h"
#include "util/IntegerText.h"

namespace tessaly::cli {

namespace {

std::optional<std::uint64_t> ParseCount(const std::string& text) { return ParseUnsigned<std::uint64_t>(text); }

}  // namespace

std::optional<std::uint16_t> ParseHexAddress(const std::string& text) {
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits = digits.substr(2);
    else if (!digits.empty() && (digits.back() == 'H' || digits.back() == 'h')) digits.pop_back();
    if (digits.size() > 4) return std::nullopt;
    return ParseUnsigned<std::uint16_t>(digits, 16);
}

ParsedOptions ParseRunOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    RunOptions& o = parsed.options;
    auto fail = [&](const std::string& message) {
        parsed.error = message;
        return parsed;
    };
    std::optional<RunOptions::BreakExtra> lastBreak;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        auto countOption = [&](std::optional<std::uint64_t>& target) -> bool {
            const auto text = value();
            if (!text) return false;
            target = ParseCount(*text);
            return target.has_value();
        };
        auto textOption = [&](std::string& target) -> bool {
            const auto text = value();
            if (!text || text->empty()) return false;
            target = *text;
            return true;
        };

        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--max-instructions") {
            if (!countOption(o.maxInstructions)) return fail("--max-instructions needs a whole number");
        } else if (arg == "--max-cycles") {
            if (!countOption(o.maxCycles)) return fail("--max-cycles needs a whole number");
        } else if (arg == "--max-time") {
            if (!countOption(o.maxTime)) return fail("--max-time needs a whole number of microseconds");
        } else if (arg == "--break") {
            const auto text = value();
            if (!text || text->empty()) return fail("--break needs a hexadecimal address 0000-FFFF, FILE.c:LINE or a function");
            // A word of hex letters (add, f) is first a function's name; the
            // runner takes it as an address when no function has it.
            const bool word = std::isalpha(static_cast<unsigned char>(text->front())) && text->find(':') == std::string::npos;
            const auto address = text->find(':') == std::string::npos && !word ? ParseHexAddress(*text) : std::nullopt;
            if (address) o.breakPoints.push_back(*address);
            else o.sourceBreakPoints.push_back(*text);
            lastBreak.emplace();
            lastBreak->source = !address;
            lastBreak->index = address ? o.breakPoints.size() - 1 : o.sourceBreakPoints.size() - 1;
        } else if (arg == "--if" || arg == "--hits") {
            std::string text;
            if (!textOption(text)) return fail(arg + (arg == "--if" ? " needs a condition: LOCATION OP VALUE" : " needs a count"));
            if (!lastBreak) return fail(arg + " belongs to the --break before it, and there is none");
            auto extra = std::find_if(o.breakExtras.begin(), o.breakExtras.end(), [&](const RunOptions::BreakExtra& e) {
                return e.source == lastBreak->source && e.index == lastBreak->index;
            });
            if (extra == o.breakExtras.end()) extra = o.breakExtras.insert(o.breakExtras.end(), *lastBreak);
            (arg == "--if" ? extra->condition : extra->hits) = std::move(text);
        } else if (arg == "--step-line") {
            if (!countOption(o.stepLines)) return fail("--step-line needs a whole number");
        } else if (arg == "--watch-write" || arg == "--watch-read" || arg == "--watch-change") {
            std::string location;
            if (!textOption(location)) return fail(arg + " needs a location (30H, X:1234H, CY) or a C variable");
            const DataAccess access = arg == "--watch-read"    ? DataAccess::Read
                                      : arg == "--watch-write" ? DataAccess::Write
                                                               : DataAccess::Change;
            o.watches.push_back({std::move(location), access});
        } else if (arg == "--step-back") {
            if (!countOption(o.stepBack)) return fail("--step-back needs a whole number");
        } else if (arg == "--last-write") {
            if (!textOption(o.lastWrite)) return fail("--last-write needs a location (30H, X:1234H, CY) or a C variable");
        } else if (arg == "--reverse-continue") {
            o.reverseContinue = true;
        } else if (arg == "--history-mb") {
            std::optional<std::uint64_t> megabytes;
            if (!countOption(megabytes) || *megabytes > 65535) {
                return fail("--history-mb needs a whole number of megabytes, 0 to 65535");
            }
            o.historyMegabytes = static_cast<std::uint16_t>(*megabytes);
        } else if (arg == "--stop-on-self-loop") {
            o.stopOnSelfLoop = true;
        } else if (arg == "--crystal") {
            const auto text = value();
            const auto hz = text ? ParseCrystalFrequency(*text) : std::nullopt;
            if (!hz) return fail("--crystal needs a frequency in Hz, with an optional k or M suffix");
            o.crystal = *hz;
        } else if (arg == "--labels") {
            std::string file;
            if (!textOption(file)) return fail("--labels needs a listing or symbol file");
            o.labels.push_back(std::move(file));
        } else if (arg == "--serial-out") {
            if (!textOption(o.serialOut)) return fail("--serial-out needs a file or -");
        } else if (arg == "--trace") {
            if (!textOption(o.trace)) return fail("--trace needs a file or -");
        } else if (arg == "--state") {
            if (!textOption(o.state)) return fail("--state needs a file or -");
        } else if (arg == "--xram") {
            o.xram = true;
        } else if (arg == "--save-snapshot") {
            if (!textOption(o.saveSnapshot)) return fail("--save-snapshot needs a file");
        } else if (arg == "--disassemble") {
            if (!textOption(o.disassemble)) return fail("--disassemble needs a file or -");
        } else if (arg == "--hardware-serial") {
            o.hardwareSerial = true;
        } else if (arg == "--xram-paging") {
            o.xramPaging = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return fail("unknown option " + arg);
        } else if (o.program.empty()) {
            o.program = arg;
        } else {
            return fail("more than one program given: " + arg);
        }
    }
    if (!o.help && o.program.empty()) return fail("no program given");
    return parsed;
}

std::string UsageText() {
    return "Usage: tessaly-run [options] PROGRAM\n"
           "Runs an 8051 program image (.hex, .ihx, .bin) or resumes a simulation (.slf).\n"
           "\n"
           "Stopping (without any, the run stops after 1000000000 instructions):\n"
           "  --max-instructions N   stop after N instructions of this run\n"
           "  --max-cycles N         stop after N machine cycles of this run\n"
           "  --max-time USEC        stop after USEC simulated microseconds of this run\n"
           "  --break ADDR           stop before executing ADDR (hex: 1234, 0x1234, 1234H); repeatable\n"
           "  --break FILE.c:LINE    stop at a C line, or at the next line with code (needs a .cdb)\n"
           "  --break FUNCTION       stop at a C function, after its prologue (needs a .cdb)\n"
           "                         (a name of hex letters, such as add, names the function\n"
           "                         when there is one, else the address)\n"
           "  --if 'LOC OP VALUE'    the --break before it stops only while the condition\n"
           "                         holds: LOC as --watch-write takes it, OP one of\n"
           "                         == != < <= > >= & (any bit of VALUE set)\n"
           "  --hits N               the --break before it stops on its Nth hit (also ==N,\n"
           "                         >=N, >N, %N: every Nth)\n"
           "  --step-line N          then run N Step Over commands by C line (from the start\n"
           "                         when no break point is given)\n"
           "  --stop-on-self-loop    stop before an instruction that jumps to itself (SJMP $)\n"
           "  --watch-write LOC      stop after an instruction that writes LOC: a location as\n"
           "                         General Read names it (30H, ACC, DPTR, CY, X:1234H), a\n"
           "                         range (X:1000H-10FFH, C:0100H-01FFH) or a C variable;\n"
           "                         repeatable\n"
           "  --watch-read LOC       stop after an instruction that reads LOC (MOVC for C:)\n"
           "  --watch-change LOC     stop after an instruction that changes LOC's value\n"
           "Going back (after the run and the steps; the state is reported from there):\n"
           "  --reverse-continue     back to the previous break point or data break point stop\n"
           "  --last-write LOC       back to just after the instruction that last wrote LOC\n"
           "  --step-back N          then N instructions back\n"
           "  --history-mb N         memory the history recorded for going back may keep\n"
           "                         (default 256; 0: none); without the options above\n"
           "                         nothing is recorded\n"
           "Machine:\n"
           "  --crystal FREQ         crystal in Hz, k or M suffix allowed (11.0592M); default 12M\n"
           "  --hardware-serial      every write of SBUF transmits, every read receives\n"
           "  --xram-paging          MOVX @R0/@R1 take the high address byte from P2\n"
           "  --labels FILE          import labels first from an assembler listing (layouts 1\n"
           "                         and 2, as31) or SDCC's .map, .noi, .cdb or .rst; repeat it\n"
           "                         to merge several files; a .cdb beside the program gives\n"
           "                         the C source positions, call stack and locals in --state\n"
           "Output:\n"
           "  --serial-out FILE|-    the bytes the program transmits, raw\n"
           "  --trace FILE|-         one line per executed instruction\n"
           "  --state FILE|-         the machine state after the run, as JSON\n"
           "  --xram                 add external RAM to the JSON state\n"
           "  --save-snapshot FILE   save the whole simulation after the run (.slf)\n"
           "  --disassemble FILE|-   write the program's disassembly and exit without running\n"
           "  --help                 this text\n"
           "\n"
           "Exit status: 0 stopped at a break point, a data break point, a self-loop or the\n"
           "end of the steps (or went back as asked),\n"
           "1 stopped by a limit,\n"
           "2 the program could not be loaded or the arguments are wrong.\n";
}

}  // namespace tessaly::cli
