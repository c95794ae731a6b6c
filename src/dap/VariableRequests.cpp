#include "dap/VariableRequests.h"

#include "control/CExpression.h"
#include "control/CValueWrite.h"
#include "control/LocationText.h"
#include "core/Interrupts.h"
#include "core/SfrCatalogue.h"
#include "dap/ValueText.h"

namespace tessaly::dap {

namespace {

Location CatalogueRegister(std::string_view name) {
    return {LocationKind::SfrRegister, *CatalogueIndex(LocationKind::SfrRegister, name)};
}

// The direct address of a byte register of the catalogue.
std::uint8_t RegisterAddress(const Location& location) {
    return static_cast<std::uint8_t>(SfrCatalogueRecords()[location.key].address & 0xFF);
}

bool IsByteRegister(const Processor& p, const Location& location) {
    return location.kind == LocationKind::SfrRegister && LocationWidth(p, location) == 8;
}

const char* kInterruptSources[] = {"External interrupt 0", "Timer 0", "External interrupt 1", "Timer 1",
                                   "Serial port", "Timer 2"};

}  // namespace

void VariableRequests::Register(Dispatcher& dispatcher) {
    dispatcher.On("scopes", [this](const Request& r) { Scopes(r); });
    dispatcher.On("variables", [this](const Request& r) { Variables(r); });
    dispatcher.On("setVariable", [this](const Request& r) { SetVariable(r); });
    dispatcher.On("evaluate", [this](const Request& r) { Evaluate(r); });
    dispatcher.On("dataBreakpointInfo", [this](const Request& r) { DataBreakpointInfo(r); });
}

void VariableRequests::Scopes(const Request& request) {
    const Arguments args(request.arguments);
    const std::int64_t frameId = args.Integer("frameId");
    const AdapterFrame& frame = stack_.Frame(frameId);
    const Session& s = c_.session;
    nlohmann::json scopes = nlohmann::json::array();
    const auto scope = [&](const char* name, Container::Kind kind, const char* hint, bool expensive) {
        Container container;
        container.kind = kind;
        container.frameId = frameId;
        container.frame = frame.frame;
        nlohmann::json entry = {{"name", name}, {"variablesReference", handles_.Add(container)}, {"expensive", expensive}};
        if (hint) entry["presentationHint"] = hint;
        scopes.push_back(entry);
    };
    if (frame.position.function) scope("Locals", Container::Kind::Locals, "locals", false);
    if (s.source().Info()) scope("Globals", Container::Kind::Globals, nullptr, false);
    scope("Registers", Container::Kind::Registers, "registers", false);
    scope("SFRs", Container::Kind::Sfrs, nullptr, true);
    scope("Interrupts in progress", Container::Kind::Interrupts, nullptr, false);
    c_.out.Respond(request, {{"scopes", scopes}});
}

VariableRequests::Entry VariableRequests::CEntry(const std::string& name, const CObject& object,
                                                 const std::string& evaluateName, const CFrame& frame, bool hex) {
    const Processor& p = c_.session.processor();
    const DebugInfo& info = *c_.session.source().Info();
    Entry entry;
    entry.object = object;
    entry.json = {{"name", name}, {"value", CValueText(p, info, object, hex)}, {"type", object.type.Spelling()},
                  {"evaluateName", evaluateName}, {"variablesReference", 0}};
    const std::string memory = MemoryReferenceOf(object);
    if (!memory.empty()) entry.json["memoryReference"] = memory;
    Container container;
    container.object = object;
    container.frame = frame;
    container.evaluateName = evaluateName;
    if (HasChildren(info, object)) {
        container.kind = Container::Kind::CChildren;
        entry.json["variablesReference"] = handles_.Add(container);
    } else if (object.type.kind == CTypeKind::Pointer &&
               std::holds_alternative<CObject>(DereferenceCPointer(p, object, frame))) {
        container.kind = Container::Kind::PointerTarget;
        entry.json["variablesReference"] = handles_.Add(container);
    }
    return entry;
}

VariableRequests::Entry VariableRequests::LocationEntry(const std::string& name, const Location& location) {
    const Processor& p = c_.session.processor();
    Entry entry;
    entry.location = location;
    entry.json = {{"name", name}, {"value", LocationValueText(p, location)}, {"variablesReference", 0},
                  {"evaluateName", name}};
    if (IsByteRegister(p, location)) {
        Container container;
        container.kind = Container::Kind::RegisterBits;
        container.location = location;
        entry.json["variablesReference"] = handles_.Add(container);
    }
    return entry;
}

std::vector<VariableRequests::Entry> VariableRequests::BitsOf(const Location& location) {
    const Processor& p = c_.session.processor();
    const std::string& name = SfrCatalogueRecords()[location.key].name;
    const std::uint8_t address = RegisterAddress(location);
    std::vector<Entry> entries;
    for (int bit = 7; bit >= 0; --bit) {
        const std::string position = name + "." + std::to_string(bit);
        if (address % 8 != 0) {
            // Not bit-addressable: the bit is read and written through its byte.
            Entry entry;
            entry.registerBit = bit;
            entry.ofRegister = location;
            entry.json = {{"name", position}, {"value", std::to_string((ReadLocation(p, location) >> bit) & 1)},
                          {"variablesReference", 0}};
            entries.push_back(std::move(entry));
            continue;
        }
        std::string shown = position;
        Location at{LocationKind::BitMemory, static_cast<std::uint16_t>(address + bit)};
        for (std::size_t i = 0; i < SfrCatalogueRecords().size(); ++i) {
            const CatalogueRecord& r = SfrCatalogueRecords()[i];
            if (r.isBit && r.name == position) {
                shown = r.nickName;
                at = {LocationKind::SfrBit, static_cast<std::uint16_t>(i)};
            }
        }
        entries.push_back(LocationEntry(shown, at));
    }
    return entries;
}

std::vector<VariableRequests::Entry> VariableRequests::EntriesOf(const Container& container, bool hex) {
    Session& s = c_.Stopped();
    const Processor& p = s.processor();
    const DebugInfo* info = s.source().Info();
    std::vector<Entry> entries;
    switch (container.kind) {
    case Container::Kind::Locals: {
        const AdapterFrame& frame = stack_.Frame(container.frameId);
        if (!info || !frame.position.function) break;
        for (const CSymbol* symbol : info->LocalsAt(*frame.position.function, frame.pc)) {
            entries.push_back(CEntry(symbol->name, LocateSymbol(*symbol, frame.frame), symbol->name, frame.frame, hex));
        }
        break;
    }
    case Container::Kind::Globals:
        if (!info) break;
        for (const CSymbol& symbol : info->Symbols()) {
            if (symbol.scope == CSymbolScope::Local || symbol.type.kind == CTypeKind::Function ||
                symbol.IsCompilerTemporary()) {
                continue;
            }
            entries.push_back(CEntry(symbol.name, LocateSymbol(symbol, container.frame), symbol.name, container.frame, hex));
        }
        break;
    case Container::Kind::Registers: {
        for (const char* name : {"ACC", "B", "PSW", "SP", "DPTR"}) entries.push_back(LocationEntry(name, CatalogueRegister(name)));
        for (unsigned n = 0; n < 8; ++n) {
            const auto address = static_cast<std::uint16_t>(p.RegisterBankBase() + n);
            entries.push_back(LocationEntry("R" + std::to_string(n), {LocationKind::InternalRAM, address}));
            entries.back().json["evaluateName"] = "R" + std::to_string(n);
        }
        entries.push_back(LocationEntry("PC", CatalogueRegister("PC")));
        break;
    }
    case Container::Kind::Sfrs:
        for (std::size_t i = 0; i < SfrCatalogueRecords().size(); ++i) {
            const CatalogueRecord& record = SfrCatalogueRecords()[i];
            if (record.isBit) continue;
            Entry entry = LocationEntry(record.name, {LocationKind::SfrRegister, static_cast<std::uint16_t>(i)});
            entry.json["type"] = record.description;
            entries.push_back(std::move(entry));
        }
        break;
    case Container::Kind::RegisterBits: entries = BitsOf(container.location); break;
    case Container::Kind::Interrupts:
        for (std::size_t i = 0; i < p.lstInterruptsInProgress.Count(); ++i) {
            const std::string& text = p.lstInterruptsInProgress[i];
            const int source = text.size() == 1 && text[0] >= '0' && text[0] <= '5' ? text[0] - '0' : -1;
            Entry entry;
            entry.json = {{"name", "[" + std::to_string(i) + "]"},
                          {"value", source >= 0 ? std::string(kInterruptSources[source]) + " (" +
                                                      InterruptEnableName(source) + ")"
                                                : text},
                          {"variablesReference", 0}};
            entries.push_back(std::move(entry));
        }
        break;
    case Container::Kind::CChildren:
        if (!info) break;
        for (const CChild& child : ChildrenOf(*info, container.object)) {
            entries.push_back(
                CEntry(child.name, child.object, ChildExpression(container.evaluateName, child), container.frame, hex));
        }
        break;
    case Container::Kind::PointerTarget: {
        const auto target = DereferenceCPointer(p, container.object, container.frame);
        if (const auto* object = std::get_if<CObject>(&target)) {
            entries.push_back(CEntry("*" + container.evaluateName, *object, "*(" + container.evaluateName + ")",
                                     container.frame, hex));
        }
        break;
    }
    }
    return entries;
}

void VariableRequests::Variables(const Request& request) {
    const Arguments args(request.arguments);
    const std::int64_t reference = args.Integer("variablesReference");
    const Container* container = handles_.Find(reference);
    if (!container) throw RequestError("No variables with reference " + std::to_string(reference));
    const bool hex = Arguments(args.Object("format")).Boolean("hex", false);
    const Container copy = *container;  // Add may move the handles
    std::vector<Entry> entries = EntriesOf(copy, hex);
    const auto start = static_cast<std::size_t>(std::max<std::int64_t>(0, args.OptionalInteger("start").value_or(0)));
    const std::int64_t count = args.OptionalInteger("count").value_or(0);
    nlohmann::json variables = nlohmann::json::array();
    for (std::size_t i = start; i < entries.size() && (count <= 0 || static_cast<std::int64_t>(i - start) < count); ++i) {
        variables.push_back(entries[i].json);
    }
    c_.out.Respond(request, {{"variables", variables}});
}

std::string VariableRequests::WriteEntry(const Entry& entry, const std::string& value) {
    Session& s = c_.session;
    if (entry.object) {
        const std::string why = WriteCValue(s.processor(), s.workspace, *entry.object, value);
        s.controller().RefreshViews();
        return why;
    }
    const auto number = ParseTypedNumber(value);
    if (!number) return "'" + value + "' is not a number";
    if (entry.ofRegister) {
        if (*number > 1) return "A bit is 0 or 1";
        const std::uint16_t old = ReadLocation(s.processor(), *entry.ofRegister);
        const auto mask = static_cast<std::uint16_t>(1u << *entry.registerBit);
        s.WriteValue(*entry.ofRegister, static_cast<std::uint16_t>(*number ? old | mask : old & ~mask));
        return {};
    }
    if (!entry.location) return "This value cannot be changed";
    const int width = LocationWidth(s.processor(), *entry.location);
    const std::uint32_t highest = width == 1 ? 1 : width == 8 ? 0xFF : 0xFFFF;
    if (*number > highest) {
        return value + " is out of range (0 to " + std::to_string(highest) + ")";
    }
    s.WriteValue(*entry.location, static_cast<std::uint16_t>(*number));
    return {};
}

void VariableRequests::SetVariable(const Request& request) {
    const Arguments args(request.arguments);
    const std::int64_t reference = args.Integer("variablesReference");
    const std::string name = args.String("name");
    const std::string value = args.String("value");
    const Container* container = handles_.Find(reference);
    if (!container) throw RequestError("No variables with reference " + std::to_string(reference));
    const bool hex = Arguments(args.Object("format")).Boolean("hex", false);
    const Container copy = *container;
    for (const Entry& entry : EntriesOf(copy, hex)) {
        if (entry.json["name"] != name) continue;
        const std::string why = WriteEntry(entry, value);
        if (!why.empty()) throw RequestError(why);
        // Read back what was stored.
        for (const Entry& now : EntriesOf(copy, hex)) {
            if (now.json["name"] != name) continue;
            nlohmann::json body = {{"value", now.json["value"]}, {"variablesReference", now.json["variablesReference"]}};
            if (now.json.contains("type")) body["type"] = now.json["type"];
            c_.out.Respond(request, body);
            return;
        }
    }
    throw RequestError("No variable named '" + name + "' here");
}

void VariableRequests::Evaluate(const Request& request) {
    const Arguments args(request.arguments);
    const std::string expression = args.String("expression");
    Session& s = c_.Stopped();
    const bool hex = Arguments(args.Object("format")).Boolean("hex", false);
    std::string cWhy;
    if (s.source().Info()) {
        const AdapterFrame& frame = stack_.Frame(args.OptionalInteger("frameId"));
        const CScope scope{s.source().Info(), frame.pc, frame.frame};
        auto evaluated = EvaluateCExpression(s.processor(), scope, expression);
        if (const auto* object = std::get_if<CObject>(&evaluated)) {
            const Entry entry = CEntry(expression, *object, expression, frame.frame, hex);
            nlohmann::json body = {{"result", entry.json["value"]},
                                   {"type", entry.json["type"]},
                                   {"variablesReference", entry.json["variablesReference"]}};
            if (entry.json.contains("memoryReference")) body["memoryReference"] = entry.json["memoryReference"];
            c_.out.Respond(request, body);
            return;
        }
        cWhy = std::get<std::string>(evaluated);
    }
    const auto location = ParseLocationText(expression);
    if (const auto* at = std::get_if<Location>(&location)) {
        const Entry entry = LocationEntry(expression, *at);
        c_.out.Respond(request, {{"result", entry.json["value"]}, {"variablesReference", entry.json["variablesReference"]}});
        return;
    }
    throw RequestError(cWhy.empty() ? std::get<std::string>(location) : cWhy);
}

// A variable of a container is watched by the expression that names it; a
// name without a container is an expression or a location name itself.
void VariableRequests::DataBreakpointInfo(const Request& request) {
    const Arguments args(request.arguments);
    const std::string name = args.String("name");
    std::string expression = name;
    if (const auto reference = args.OptionalInteger("variablesReference"); reference && *reference != 0) {
        const Container* container = handles_.Find(*reference);
        if (!container) throw RequestError("No variables are listed under that reference");
        for (const Entry& entry : EntriesOf(*container, false)) {
            if (entry.json.value("name", "") == name) expression = entry.json.value("evaluateName", name);
        }
    }
    const auto value = c_.Stopped().ReadValue(expression);
    if (const std::string* why = std::get_if<std::string>(&value)) {
        c_.out.Respond(request, {{"dataId", nullptr}, {"description", *why}});
        return;
    }
    c_.out.Respond(request, {{"dataId", expression},
                             {"description", expression},
                             {"accessTypes", {"read", "write", "readWrite"}},
                             {"canPersist", true}});
}

}  // namespace tessaly::dap
