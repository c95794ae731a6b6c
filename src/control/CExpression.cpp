#include "control/CExpression.h"

#include <cctype>
#include <optional>

#include "control/CValueText.h"

namespace tessaly {

namespace {

using Result = std::variant<CObject, std::string>;

// A recursive-descent reader over the text:
//   expression := '*' expression | postfix
//   postfix    := primary { '[' number ']' | '.' name | '->' name }
//   primary    := name | '(' expression ')'
// Without a machine and a scope it only reads: every name stands for an
// object of no type, and only the text's form can be wrong.
class Parser {
public:
    Parser(const Processor* p, const CScope* scope, std::string_view text) : p_(p), scope_(scope), text_(text) {}

    Result Whole() {
        Result result = Expression(0);
        if (std::holds_alternative<std::string>(result)) return result;
        Blanks();
        if (at_ != text_.size()) return "Unexpected '" + std::string(text_.substr(at_)) + "' in '" + std::string(text_) + "'";
        return result;
    }

private:
    // Deep nesting is the only way to exhaust the stack; no watch needs it.
    static constexpr int kMaxDepth = 64;

    void Blanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }
    bool Take(std::string_view token) {
        Blanks();
        if (text_.substr(at_, token.size()) != token) return false;
        at_ += token.size();
        return true;
    }
    std::string Name() {
        Blanks();
        const std::size_t start = at_;
        while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_')) ++at_;
        if (start != at_ && std::isdigit(static_cast<unsigned char>(text_[start]))) {
            at_ = start;
            return {};
        }
        return std::string(text_.substr(start, at_ - start));
    }
    std::optional<std::uint64_t> Number() {
        Blanks();
        int base = 10;
        if (text_.substr(at_, 2) == "0x" || text_.substr(at_, 2) == "0X") {
            base = 16;
            at_ += 2;
        }
        const std::size_t start = at_;
        std::uint64_t value = 0;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0) break;
            value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFF) return std::nullopt;
            ++at_;
        }
        if (start == at_) return std::nullopt;
        return value;
    }

    Result Expression(int depth) {
        if (depth > kMaxDepth) return std::string("The expression is nested too deeply");
        if (Take("*")) {
            Result inner = Expression(depth + 1);
            if (auto* object = std::get_if<CObject>(&inner)) return Dereference(*object);
            return inner;
        }
        return Postfix(depth);
    }

    Result Primary(int depth) {
        if (Take("(")) {
            Result inner = Expression(depth + 1);
            if (std::holds_alternative<std::string>(inner)) return inner;
            if (!Take(")")) return "Missing ')' in '" + std::string(text_) + "'";
            return inner;
        }
        const std::string name = Name();
        if (name.empty()) {
            Blanks();
            // A word that starts with a digit: a name mistyped, not a number.
            std::size_t end = at_;
            const auto inWord = [&](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
            while (end < text_.size() && inWord(text_[end])) ++end;
            if (end != at_) return "'" + std::string(text_.substr(at_, end - at_)) + "' is not a C name";
            return "Expected a variable name in '" + std::string(text_) + "'";
        }
        if (!scope_) return CObject{};
        return Variable(name);
    }

    Result Postfix(int depth) {
        Result result = Primary(depth);
        while (std::holds_alternative<CObject>(result)) {
            const CObject object = std::get<CObject>(result);
            if (Take("[")) {
                const auto index = Number();
                if (!index) return "Expected a number in [] in '" + std::string(text_) + "'";
                if (!Take("]")) return "Missing ']' in '" + std::string(text_) + "'";
                result = Element(object, static_cast<std::size_t>(*index));
            } else if (Take("->")) {
                Result target = Dereference(object);
                if (auto* pointee = std::get_if<CObject>(&target)) result = Member(*pointee, Name());
                else result = target;
            } else if (Take(".")) {
                result = Member(object, Name());
            } else {
                break;
            }
        }
        return result;
    }

    Result Variable(const std::string& name) {
        const DebugInfo& info = *scope_->info;
        const CFunction* function = info.FunctionAt(scope_->pc);
        if (function) {
            for (const CSymbol* symbol : info.LocalsAt(*function, scope_->pc)) {
                if (symbol->name == name) return LocateSymbol(*symbol, scope_->frame);
            }
        }
        const CSymbol* global = info.GlobalNamed(name, function ? std::string_view(function->module) : std::string_view());
        if (!global) return "No variable named '" + name + "'";
        return LocateSymbol(*global, scope_->frame);
    }

    Result Element(const CObject& object, std::size_t index) {
        if (!scope_) return object;
        if (!object.Available()) return "<" + object.unavailable + ">";
        if (object.type.kind == CTypeKind::Array) {
            if (index >= object.type.length) {
                return "Index " + std::to_string(index) + " is out of range for " + object.type.Spelling();
            }
            const auto children = ChildrenOf(*scope_->info, object, index + 1);
            if (children.size() <= index) return "The elements of " + object.type.Spelling() + " are unknown";
            return children[index].object;
        }
        if (object.type.kind == CTypeKind::Pointer) {
            Result target = Dereference(object);
            auto* pointee = std::get_if<CObject>(&target);
            if (!pointee) return target;
            pointee->address = Wrapped(*pointee, pointee->address + index * pointee->type.size);
            return *pointee;
        }
        return "'" + object.type.Spelling() + "' is not an array or pointer";
    }

    Result Member(const CObject& object, const std::string& name) {
        if (name.empty()) return "Expected a member name in '" + std::string(text_) + "'";
        if (!scope_) return object;
        if (!object.Available()) return "<" + object.unavailable + ">";
        if (object.type.kind != CTypeKind::Struct) return "'" + object.type.Spelling() + "' is not a struct or union";
        for (const CChild& child : ChildrenOf(*scope_->info, object)) {
            if (child.name == name) return child.object;
        }
        if (!scope_->info->StructOf(object.type)) return "The members of " + object.type.Spelling() + " are unknown";
        return object.type.Spelling() + " has no member '" + name + "'";
    }

    Result Dereference(const CObject& object) {
        if (!scope_) return object;
        if (!object.Available()) return "<" + object.unavailable + ">";
        if (object.type.kind == CTypeKind::Array) return Element(object, 0);
        return DereferenceCPointer(*p_, object, scope_->frame);
    }

    static std::uint16_t Wrapped(const CObject& object, std::size_t address) {
        if (object.memory == CMemory::InternalRAM) return static_cast<std::uint8_t>(address);
        return static_cast<std::uint16_t>(address);
    }

    const Processor* p_;
    const CScope* scope_;
    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::variant<CObject, std::string> DereferenceCPointer(const Processor& p, const CObject& pointer, const CFrame& frame) {
    const CType& type = pointer.type;
    if (type.kind != CTypeKind::Pointer) return "'" + type.Spelling() + "' is not a pointer";
    if (!pointer.Available()) return "<" + pointer.unavailable + ">";
    if (!type.target || type.target->kind == CTypeKind::Void) return std::string("A void pointer cannot be followed");
    if (type.target->kind == CTypeKind::Function) return std::string("A function pointer cannot be followed");
    const auto raw = static_cast<std::uint32_t>(ReadCInteger(p, pointer));
    CObject target;
    target.type = *type.target;
    const auto address = static_cast<std::uint16_t>(raw);
    // C's null pointer; a generic one is null with its tag byte clear too.
    if ((type.pointerSpace == CPointerSpace::Generic ? raw & 0xFFFFFF : address) == 0) {
        return std::string("The pointer is null");
    }
    switch (type.pointerSpace) {
    case CPointerSpace::Data:
    case CPointerSpace::Idata:
        target.memory = CMemory::InternalRAM;
        target.address = static_cast<std::uint8_t>(raw);
        break;
    case CPointerSpace::Pdata:
        target.memory = CMemory::ExternalRAM;
        target.address = static_cast<std::uint16_t>((frame.pdataPage << 8) | (raw & 0xFF));
        break;
    case CPointerSpace::Xdata: target.memory = CMemory::ExternalRAM; target.address = address; break;
    case CPointerSpace::Code: target.memory = CMemory::Code; target.address = address; break;
    case CPointerSpace::Generic: {
        // The tag byte as SDCC's library tells the spaces apart.
        const std::uint8_t tag = static_cast<std::uint8_t>(raw >> 16);
        if (tag >= 0x80) {
            target.memory = CMemory::Code;
            target.address = address;
        } else if (tag >= 0x60) {
            target.memory = CMemory::ExternalRAM;
            target.address = static_cast<std::uint16_t>((frame.pdataPage << 8) | (raw & 0xFF));
        } else if (tag >= 0x40) {
            target.memory = CMemory::InternalRAM;
            target.address = static_cast<std::uint8_t>(raw);
        } else {
            target.memory = CMemory::ExternalRAM;
            target.address = address;
        }
        break;
    }
    case CPointerSpace::Eeprom: return std::string("EEPROM pointers cannot be followed");
    }
    return target;
}

std::variant<CObject, std::string> EvaluateCExpression(const Processor& p, const CScope& scope,
                                                       std::string_view expression) {
    if (!scope.info) return std::string("No C debug information is loaded");
    return Parser(&p, &scope, expression).Whole();
}

std::string CExpressionFormError(std::string_view expression) {
    const auto read = Parser(nullptr, nullptr, expression).Whole();
    const auto* why = std::get_if<std::string>(&read);
    return why ? *why : std::string();
}

}  // namespace tessaly
