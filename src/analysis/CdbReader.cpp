#include "analysis/CdbReader.h"

#include <charconv>
#include <map>
#include <optional>

#include "analysis/CdbName.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

// Stops the reading with a message about one line.
struct RecordError {
    std::string message;
};

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;
    if (text.size() > kShown) return "'" + std::string(text.substr(0, kShown)) + "...'";
    return "'" + std::string(text) + "'";
}

// One symbol's identity, alike in its S: or F: record and its L: record.
std::string IdentityOf(const CdbName& name) {
    return std::string(1, name.scope) + std::string(name.owner) + "$" + std::string(name.name) + "$" +
           std::to_string(name.level.level) + "_" + std::to_string(name.level.subLevel) + "$" +
           std::to_string(name.level.block);
}

// A function's identity without level and block: its start and end labels
// write them differently from its F: record.
std::string FunctionIdentityOf(const CdbName& name) {
    return std::string(1, name.scope) + std::string(name.owner) + "$" + std::string(name.name);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

int Integer(std::string_view text, std::string_view what) {
    const auto value = ParseCdbInteger(text);
    if (!value) throw RecordError{std::string(what) + " " + Quoted(text) + " is not a number"};
    return *value;
}

// "name(chain),space,flag,offset[,more]": a symbol, function or member body.
struct SymbolBody {
    CdbName name;
    std::string identity;
    CType type;
    char space = 'Z';
    bool onStack = false;
    int stackOffset = 0;
    std::vector<std::string_view> more;  // fields after the offset
    std::vector<std::string> registers;
};

SymbolBody ParseBody(std::string_view text, CTypeOwner owner) {
    SymbolBody body;
    const std::size_t open = text.find('(');
    const std::size_t close = open == std::string_view::npos ? open : text.find(')', open);
    if (close == std::string_view::npos) throw RecordError{"the record has no type in parentheses"};
    const auto name = ParseCdbName(text.substr(0, open));
    if (!name) throw RecordError{"the name " + Quoted(text.substr(0, open)) + " is not scope$name$level$block"};
    body.name = *name;
    body.identity = IdentityOf(*name);
    auto type = ParseCType(text.substr(open + 1, close - open - 1), owner);
    if (auto* message = std::get_if<std::string>(&type)) throw RecordError{std::move(*message)};
    body.type = std::move(std::get<CType>(type));

    std::string_view rest = text.substr(close + 1);
    if (rest.size() < 2 || rest[0] != ',') throw RecordError{"the record has no address space after its type"};
    rest.remove_prefix(1);
    // A register variable ends in its register list: "R,0,0,[r0,r1]".
    const std::size_t bracket = rest.find('[');
    std::string_view registers;
    if (bracket != std::string_view::npos) {
        if (rest.back() != ']' || bracket == 0 || rest[bracket - 1] != ',') {
            throw RecordError{"the register list " + Quoted(rest.substr(bracket)) + " is not closed"};
        }
        registers = rest.substr(bracket + 1, rest.size() - bracket - 2);
        rest = rest.substr(0, bracket - 1);
        for (std::string_view reg : Split(registers, ',')) {
            reg = Trim(reg);
            if (!reg.empty()) body.registers.emplace_back(reg);
        }
    }
    const std::vector<std::string_view> fields = Split(rest, ',');
    if (fields.size() < 3 || fields[0].size() != 1) {
        throw RecordError{"the record needs an address space, an on-stack flag and an offset after its type"};
    }
    body.space = fields[0][0];
    const int onStack = Integer(fields[1], "the on-stack flag");
    if (onStack != 0 && onStack != 1) throw RecordError{"the on-stack flag " + Quoted(fields[1]) + " is not 0 or 1"};
    body.onStack = onStack == 1;
    body.stackOffset = Integer(fields[2], "the stack offset");
    body.more.assign(fields.begin() + 3, fields.end());
    return body;
}

// Splits "module.function", the owner of a local.
std::pair<std::string, std::string> LocalOwner(std::string_view owner) {
    const std::size_t dot = owner.rfind('.');
    return {std::string(owner.substr(0, dot)), std::string(owner.substr(dot + 1))};
}

class Reader {
public:
    void Record(std::string_view line) {
        const std::string_view body = line.substr(2);
        switch (line[0]) {
        case 'M':
            if (Trim(body).empty()) throw RecordError{"the module record names no module"};
            module_ = std::string(Trim(body));
            modules_.push_back(module_);
            break;
        case 'F': Function(body); break;
        case 'S': Symbol(body); break;
        case 'T': Struct(body); break;
        default: break;  // other kinds tell nothing a debugger needs
        }
    }

    void Address(std::string_view body) {
        const std::size_t colon = body.rfind(':');
        if (colon == std::string_view::npos || colon == 0) throw RecordError{"the record has no address after a ':'"};
        const std::string_view name = body.substr(0, colon);
        const std::string_view digits = body.substr(colon + 1);
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
            throw RecordError{"the address " + Quoted(digits) + " is not a hexadecimal number"};
        }
        if (value > 0xFFFF) return;
        const auto address = static_cast<std::uint16_t>(value);

        if (name.substr(0, 2) == "C$") return CLine(name.substr(2), address);
        if (name.substr(0, 2) == "A$") return AsmLine(name.substr(2), address);
        const bool isEnd = name.substr(0, 2) == "XG" || name.substr(0, 2) == "XF";
        const std::string_view label = isEnd ? name.substr(1) : name;
        if (label.empty() || (label[0] != 'G' && label[0] != 'F' && label[0] != 'L')) return;
        const auto parsed = ParseCdbName(label);
        if (!parsed) throw RecordError{"the name " + Quoted(label) + " is not scope$name$level$block"};
        const auto function = functionIndex_.find(FunctionIdentityOf(*parsed));
        if (isEnd) {
            if (function != functionIndex_.end()) functions_[function->second].end = address;
            return;
        }
        if (function != functionIndex_.end() && parsed->scope != 'L') {
            functions_[function->second].start = address;
        }
        const auto symbols = symbolIndex_.equal_range(IdentityOf(*parsed));
        for (auto it = symbols.first; it != symbols.second; ++it) symbols_[it->second].address = address;
    }

    DebugInfo Finish() {
        ResolveStructs();
        for (CFunction& function : functions_) {
            for (const CSymbol& symbol : symbols_) {
                if (symbol.scope == CSymbolScope::Local && symbol.onStack && symbol.function == function.name &&
                    (function.module.empty() || symbol.module == function.module)) {
                    function.reentrant = true;
                }
            }
        }
        return DebugInfo(std::move(modules_), std::move(functions_), std::move(symbols_), std::move(structs_),
                         SourceMap(std::move(lines_), std::move(asmLines_)));
    }

private:
    void Function(std::string_view text) {
        SymbolBody body = ParseBody(text, CTypeOwner::Variable);
        if (body.name.scope != 'G' && body.name.scope != 'F') throw RecordError{"a function must be global or static"};
        if (body.type.kind != CTypeKind::Function) throw RecordError{"the type of a function is not a function type"};
        if (body.more.size() < 3) throw RecordError{"the function record needs its interrupt flag, number and bank"};
        CFunction function;
        function.name = std::string(body.name.name);
        function.isStatic = body.name.scope == 'F';
        function.module = function.isStatic ? std::string(body.name.owner) : module_;
        function.type = std::move(body.type);
        function.isInterrupt = Integer(body.more[0], "the interrupt flag") != 0;
        function.interruptNumber = Integer(body.more[1], "the interrupt number");
        function.registerBank = Integer(body.more[2], "the register bank");
        if (function.registerBank < 0 || function.registerBank > 3) {
            throw RecordError{"the register bank " + Quoted(body.more[2]) + " is not 0 to 3"};
        }
        function.reentrant = body.stackOffset != 0;
        // SDCC writes the record of a function with an initialised static
        // local twice, the copies differing at most in the frame size: one
        // function, reentrant when either copy says so.
        const std::string identity = FunctionIdentityOf(body.name);
        if (const auto known = functionIndex_.find(identity); known != functionIndex_.end()) {
            functions_[known->second].reentrant = functions_[known->second].reentrant || function.reentrant;
            return;
        }
        functionIndex_[identity] = functions_.size();
        functions_.push_back(std::move(function));
    }

    void Symbol(std::string_view text) {
        SymbolBody body = ParseBody(text, CTypeOwner::Variable);
        if (body.name.scope == 'S') throw RecordError{"a struct member outside a struct record"};
        CSymbol symbol;
        symbol.scope = body.name.scope == 'G'   ? CSymbolScope::Global
                       : body.name.scope == 'F' ? CSymbolScope::File
                                                : CSymbolScope::Local;
        if (symbol.scope == CSymbolScope::Local) {
            std::tie(symbol.module, symbol.function) = LocalOwner(body.name.owner);
        } else {
            symbol.module = symbol.scope == CSymbolScope::File ? std::string(body.name.owner) : module_;
        }
        symbol.name = std::string(body.name.name);
        symbol.level = body.name.level;
        symbol.type = std::move(body.type);
        symbol.space = AddressSpaceOfLetter(body.space);
        symbol.onStack = body.onStack;
        symbol.stackOffset = body.stackOffset;
        symbol.registers = std::move(body.registers);
        symbolIndex_.emplace(body.identity, symbols_.size());
        symbols_.push_back(std::move(symbol));
    }

    // "F<module>$<tag>[({offset}S:<member>)...]"
    void Struct(std::string_view text) {
        const std::size_t dollar = text.find('$');
        const std::size_t open = text.find('[');
        if (text.empty() || text[0] != 'F' || dollar == std::string_view::npos || open == std::string_view::npos ||
            open < dollar || text.back() != ']') {
            throw RecordError{"the struct record is not F<module>$<tag>[members]"};
        }
        CStruct record;
        record.module = std::string(text.substr(1, dollar - 1));
        record.tag = std::string(text.substr(dollar + 1, open - dollar - 1));
        if (record.tag.empty()) throw RecordError{"the struct record names no tag"};
        std::string_view members = text.substr(open + 1, text.size() - open - 2);
        while (!members.empty()) {
            // "({offset}S:body)", the body holding its type in parentheses.
            if (members.substr(0, 2) != "({") throw RecordError{"a struct member does not start with ({offset}"};
            int depth = 0;
            std::size_t end = 0;
            for (; end < members.size(); ++end) {
                if (members[end] == '(') ++depth;
                if (members[end] == ')' && --depth == 0) break;
            }
            if (end == members.size()) throw RecordError{"a struct member is not closed"};
            const std::string_view member = members.substr(1, end - 1);
            members.remove_prefix(end + 1);
            const std::size_t brace = member.find('}');
            if (brace == std::string_view::npos || member.substr(brace + 1, 2) != "S:") {
                throw RecordError{"a struct member " + Quoted(member) + " has no {offset}S: in front"};
            }
            const int offset = Integer(member.substr(1, brace - 1), "the member offset");
            if (offset < 0) throw RecordError{"the member offset " + std::to_string(offset) + " is negative"};
            SymbolBody body = ParseBody(member.substr(brace + 3), CTypeOwner::Member);
            record.members.push_back({std::string(body.name.name), static_cast<std::size_t>(offset), std::move(body.type)});
        }
        bool allAtZero = true;
        for (const CMember& member : record.members) {
            allAtZero = allAtZero && member.offset == 0;
            record.size = std::max(record.size, member.offset + member.type.size);
        }
        record.isUnion = record.members.size() >= 2 && allAtZero;
        structs_.push_back(std::move(record));
    }

    // file$line$level$block
    void CLine(std::string_view text, std::uint16_t address) {
        const std::vector<std::string_view> parts = Split(text, '$');
        if (parts.size() != 4 || parts[0].empty()) throw RecordError{"the C line record is not C$file$line$level$block"};
        const int line = Integer(parts[1], "the line number");
        const auto level = ParseCScopeLevel(parts[2], parts[3]);
        if (!level || line < 0) throw RecordError{"the C line record's line, level or block is not a number"};
        lines_.push_back({std::string(parts[0]), line, *level, address});
    }

    void AsmLine(std::string_view text, std::uint16_t address) {
        const std::size_t dollar = text.rfind('$');
        if (dollar == std::string_view::npos || dollar == 0) throw RecordError{"the assembler line record is not A$module$line"};
        const int line = Integer(text.substr(dollar + 1), "the line number");
        asmLines_.push_back({std::string(text.substr(0, dollar)), line, address});
    }

    // Gives each struct type its record: the one of its own module, else the
    // first of its tag.
    void ResolveStructs() {
        std::map<std::string, int> byTag;
        std::map<std::pair<std::string, std::string>, int> byModule;
        for (std::size_t i = 0; i < structs_.size(); ++i) {
            byTag.emplace(structs_[i].tag, static_cast<int>(i));
            byModule.emplace(std::make_pair(structs_[i].module, structs_[i].tag), static_cast<int>(i));
        }
        auto resolver = [&](const std::string& module) {
            return [&, module](CType& type) {
                auto found = byModule.find({module, type.tag});
                const int index = found != byModule.end() ? found->second
                                  : byTag.count(type.tag) ? byTag.at(type.tag)
                                                          : -1;
                if (index < 0) return;
                const CStruct& record = structs_[static_cast<std::size_t>(index)];
                type.structIndex = index;
                type.isUnion = record.isUnion;
                if (type.size == 0) type.size = record.size;
            };
        };
        for (CStruct& record : structs_) {
            for (CMember& member : record.members) member.type = member.type.Rebuilt(resolver(record.module));
        }
        for (CSymbol& symbol : symbols_) symbol.type = symbol.type.Rebuilt(resolver(symbol.module));
        for (CFunction& function : functions_) function.type = function.type.Rebuilt(resolver(function.module));
    }

    std::string module_;
    std::vector<std::string> modules_;
    std::vector<CFunction> functions_;
    std::vector<CSymbol> symbols_;
    std::vector<CStruct> structs_;
    std::vector<CSourceLine> lines_;
    std::vector<AsmSourceLine> asmLines_;
    std::map<std::string, std::size_t> functionIndex_;
    std::multimap<std::string, std::size_t> symbolIndex_;
};

}  // namespace

std::variant<DebugInfo, std::string> ReadCdb(const std::vector<std::string>& lines) {
    Reader reader;
    std::size_t number = 0;
    try {
        // Address records name symbols and functions that may come later.
        for (number = 0; number < lines.size(); ++number) {
            const std::string_view line = Trim(lines[number]);
            if (line.empty()) continue;
            if (!IsCdbRecord(line)) throw RecordError{"not a record of a debug file: " + Quoted(line)};
            if (line[0] != 'L') reader.Record(line);
        }
        for (number = 0; number < lines.size(); ++number) {
            const std::string_view line = Trim(lines[number]);
            if (!line.empty() && line[0] == 'L') reader.Address(line.substr(2));
        }
    } catch (const RecordError& error) {
        return "line " + std::to_string(number + 1) + ": " + error.message;
    }
    return reader.Finish();
}

}  // namespace tessaly
